#include "data/connectiontext.h"

#include "core/errorvalue.h"

#include <QSet>

namespace data {

namespace {

[[noreturn]] void malformed(const char* what)
{
    throw core::Error(core::errc::ProviderError,
                      QStringLiteral("The connection text is malformed: %1.").arg(QLatin1String(what)));
}

bool isBlank(QChar c)
{
    return c.isSpace();
}

void skipBlanks(const QString& text, qsizetype& pos)
{
    while (pos < text.size() && isBlank(text.at(pos))) {
        ++pos;
    }
}

// Reads one value starting at pos (just after '='); leaves pos just after the ';' that ends it, or at the end.
QString readValue(const QString& text, qsizetype& pos)
{
    skipBlanks(text, pos);
    if (pos < text.size() && (text.at(pos) == QLatin1Char('"') || text.at(pos) == QLatin1Char('\''))) {
        const QChar quote = text.at(pos++);
        QString value;
        for (;;) {
            if (pos >= text.size()) {
                malformed("a quote is not closed");
            }
            if (text.at(pos) == quote) {
                if (pos + 1 < text.size() && text.at(pos + 1) == quote) {
                    value += quote;
                    pos += 2;
                    continue;
                }
                ++pos;
                break;
            }
            value += text.at(pos++);
        }
        skipBlanks(text, pos);
        if (pos < text.size() && text.at(pos) != QLatin1Char(';')) {
            malformed("text follows a closing quote");
        }
        ++pos;
        return value;
    }
    const qsizetype end = text.indexOf(QLatin1Char(';'), pos);
    const qsizetype stop = end < 0 ? text.size() : end;
    const QString value = text.mid(pos, stop - pos).trimmed();
    pos = stop + 1;
    return value;
}

// The key a name stands for: its synonyms read as one.
QString canonicalKey(const QString& key)
{
    static const QMap<QString, QString> synonyms = {
        {QStringLiteral("uid"), QStringLiteral("user id")},
        {QStringLiteral("user"), QStringLiteral("user id")},
        {QStringLiteral("pwd"), QStringLiteral("password")},
        {QStringLiteral("database"), QStringLiteral("initial catalog")},
        {QStringLiteral("server"), QStringLiteral("data source")},
        {QStringLiteral("address"), QStringLiteral("data source")},
        {QStringLiteral("connection timeout"), QStringLiteral("connect timeout")},
        {QStringLiteral("timeout"), QStringLiteral("connect timeout")},
    };
    return synonyms.value(key, key);
}

} // namespace

ConnectionText ConnectionText::parse(const QString& text)
{
    ConnectionText result;
    QSet<QString> seen;
    qsizetype pos = 0;
    while (pos < text.size()) {
        skipBlanks(text, pos);
        if (pos >= text.size()) {
            break;
        }
        if (text.at(pos) == QLatin1Char(';')) {
            ++pos;
            continue;
        }
        const qsizetype equals = text.indexOf(QLatin1Char('='), pos);
        const qsizetype semicolon = text.indexOf(QLatin1Char(';'), pos);
        if (equals < 0 || (semicolon >= 0 && semicolon < equals)) {
            malformed("a piece has no '='");
        }
        const QString key = canonicalKey(text.mid(pos, equals - pos).simplified().toLower());
        if (key.isEmpty()) {
            malformed("a value has no key");
        }
        if (seen.contains(key)) {
            malformed("a key comes twice");
        }
        seen.insert(key);
        pos = equals + 1;
        const QString value = readValue(text, pos);
        if (key == QLatin1String("provider")) {
            result.provider = value;
        } else if (key == QLatin1String("persist security info")) {
            result.persistSecurityInfo = value;
        } else if (key == QLatin1String("user id")) {
            result.userId = value;
        } else if (key == QLatin1String("password")) {
            result.password = value;
        } else if (key == QLatin1String("initial catalog")) {
            result.initialCatalog = value;
        } else if (key == QLatin1String("data source")) {
            result.dataSource = value;
        } else if (key == QLatin1String("connect timeout")) {
            bool ok = false;
            const int seconds = value.toInt(&ok);
            result.connectTimeout = ok && seconds > 0 ? seconds : 15;
        } else {
            result.others.insert(key, value);
        }
    }
    return result;
}

QString ConnectionText::quoted(const QString& value)
{
    static const QString special = QStringLiteral(";'\"=");
    bool needsQuotes = !value.isEmpty() && (isBlank(value.front()) || isBlank(value.back()));
    for (qsizetype i = 0; !needsQuotes && i < value.size(); ++i) {
        needsQuotes = special.contains(value.at(i));
    }
    if (!needsQuotes) {
        return value;
    }
    QString inner = value;
    inner.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + inner + QLatin1Char('"');
}

QString ConnectionText::forLogin(const QString& securityInfo, const QString& user, const QString& password,
                                 const QString& catalog, const QString& dataSource)
{
    return QStringLiteral("Provider=SQLOLEDB.1;Persist Security Info=") + quoted(securityInfo) +
           QStringLiteral(";User ID=") + quoted(user) + QStringLiteral(";Password=") + quoted(password) +
           QStringLiteral(";Initial Catalog=") + quoted(catalog) + QStringLiteral(";Data Source=") +
           quoted(dataSource) + QStringLiteral(";Connect Timeout=15");
}

bool ConnectionText::namesDatabaseFile() const
{
    const QString source = dataSource.trimmed();
    if (source.isEmpty()) {
        return false;
    }
    if (source.contains(QLatin1Char('/')) || source.startsWith(QLatin1String("\\\\"))) {
        return true;
    }
    if (source.size() >= 3 && source.at(0).isLetter() && source.at(1) == QLatin1Char(':') &&
        source.at(2) == QLatin1Char('\\')) {
        return true;
    }
    const QString lower = source.toLower();
    return lower.endsWith(QLatin1String(".db")) || lower.endsWith(QLatin1String(".sqlite")) ||
           lower.endsWith(QLatin1String(".sqlite3"));
}

} // namespace data
