// Any bytes read or are refused in time; what reads writes back and reads again the same.
#include "core/errorvalue.h"
#include "fuzz/fuzzsupport.h"
#include "registry/regfile.h"

#include <limits>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    registry::RegFile file(QStringLiteral("HKEY_CURRENT_USER"));
    try {
        file.parse(bytes, QStringLiteral("fuzz.reg"));
    } catch (const core::Error&) {
        return 0;
    }
    constexpr qsizetype Unlimited = std::numeric_limits<qsizetype>::max();
    const QByteArray written = file.toText(Unlimited).value_or(QByteArray());
    registry::RegFile again(QStringLiteral("HKEY_CURRENT_USER"));
    try {
        again.parse(written, QStringLiteral("written.reg"));
    } catch (const core::Error& error) {
        fuzz::broken("a written file reads back", QString::fromUtf8(bytes), QStringLiteral("no error"),
                     error.description());
    }
    const QByteArray rewritten = again.toText(Unlimited).value_or(QByteArray());
    if (rewritten != written) {
        fuzz::broken("a written file reads back to the same keys and values", QString::fromUtf8(bytes),
                     QString::fromUtf8(written), QString::fromUtf8(rewritten));
    }
    return 0;
}
