// The connection text: any text either reads or is refused with core::Error; and the values a login
// puts into the text (security info, user, password, catalog, data source) read back exactly as they
// were written, whatever they hold, so that no typed value adds or changes a key.
#include "core/errorvalue.h"
#include "data/connectiontext.h"
#include "fuzz/fuzzsupport.h"

namespace {

// The data layer's own writer, once it has one.
template <typename T>
concept WritesLoginText = requires(const QString& s)
{
    {
        T::forLogin(s, s, s, s, s)
        } -> std::convertible_to<QString>;
};

// Until then: OLE DB's quoting as the reader documents it. A value holding ';', a quote, '=' or blanks
// at either end goes in double quotes with each double quote doubled.
QString quotedValue(const QString& value)
{
    const bool plain = !value.contains(u';') && !value.contains(u'\'') && !value.contains(u'"') &&
                       !value.contains(u'=') && value == value.trimmed();
    if (plain) {
        return value;
    }
    QString inner = value;
    inner.replace(u'"', QStringLiteral("\"\""));
    return u'"' + inner + u'"';
}

template <typename T> QString loginText(const QStringList& v)
{
    if constexpr (WritesLoginText<T>) {
        return T::forLogin(v.at(0), v.at(1), v.at(2), v.at(3), v.at(4));
    } else {
        return QStringLiteral("Provider=SQLOLEDB.1;Persist Security Info=%1;User ID=%2;Password=%3;"
                              "Initial Catalog=%4;Data Source=%5;Connect Timeout=15")
            .arg(quotedValue(v.at(0)), quotedValue(v.at(1)), quotedValue(v.at(2)), quotedValue(v.at(3)),
                 quotedValue(v.at(4)));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    try {
        data::ConnectionText::parse(fuzz::text(data, size));
    } catch (const core::Error&) {
    }

    const QStringList values = fuzz::fields(data, size, 5);
    const QString text = loginText<data::ConnectionText>(values);
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
