// Any connection text reads or is refused; a login's values read back exactly, adding or changing no key.
#include "core/errorvalue.h"
#include "data/connectiontext.h"
#include "fuzz/fuzzsupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    try {
        data::ConnectionText::parse(fuzz::text(data, size));
    } catch (const core::Error&) {
    }

    const QStringList values = fuzz::fields(data, size, 5);
    const QString text =
        data::ConnectionText::forLogin(values.at(0), values.at(1), values.at(2), values.at(3), values.at(4));
    data::ConnectionText read;
    try {
        read = data::ConnectionText::parse(text);
    } catch (const core::Error& error) {
        fuzz::broken("a written login text reads", text, QStringLiteral("no error"), error.description());
    }
    const QStringList back{read.persistSecurityInfo, read.userId, read.password, read.initialCatalog, read.dataSource};
    if (back != values || read.provider != QStringLiteral("SQLOLEDB.1") || read.connectTimeout != 15 ||
        !read.others.isEmpty()) {
        fuzz::broken("a written login text reads back the same values", text, values.join(u'|'),
                     back.join(u'|') + QStringLiteral(" others: ") + QStringList(read.others.keys()).join(u','));
    }
    return 0;
}
