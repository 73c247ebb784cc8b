#include "fuzz/fuzzsupport.h"

#include "core/errorreporting.h"

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace fuzz {
namespace {

class QuietReports : public core::ErrorReporting
{
public:
    void Report(const QString&, const QString&, const QString&, const QString&, const QString&) override {}
};

// Control characters and everything outside ASCII shown as \u escapes, so the output stays readable.
QByteArray visible(const QString& text)
{
    QByteArray out;
    for (const QChar c : text) {
        if (c.unicode() >= 0x20 && c.unicode() < 0x7F) {
            out += char(c.unicode());
        } else {
            out += "\\u" + QByteArray::number(c.unicode(), 16).rightJustified(4, '0');
        }
    }
    return out;
}

} // namespace

void quietReports()
{
    core::setErrorReportingFactory([] { return std::make_unique<QuietReports>(); });
}

void broken(const char* property, const QString& input, const QString& expected, const QString& actual)
{
    std::fprintf(stderr, "Property broken: %s\n  input:    %s\n  expected: %s\n  actual:   %s\n", property,
                 visible(input).constData(), visible(expected).constData(), visible(actual).constData());
    std::abort();
}

QString text(const std::uint8_t* data, std::size_t size)
{
    return QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
}

QStringList fields(const std::uint8_t* data, std::size_t size, int count)
{
    QList<QByteArray> parts = QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)).split('\0');
    QStringList out;
    for (int i = 0; i < count - 1; ++i) {
        out << QString::fromUtf8(parts.value(i));
    }
    return out << QString::fromUtf8(parts.mid(count - 1).join('\0'));
}

} // namespace fuzz
