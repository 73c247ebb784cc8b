#include "data/connectiontext.h"

namespace data {

namespace {

// Reads one value starting at pos (just after '='); leaves pos on the ';' that ends it or at the end.
QString readValue(const QString& text, qsizetype& pos)
{
    while (pos < text.size() && text.at(pos) == QLatin1Char(' ')) {
        ++pos;
    }
    if (pos < text.size() && (text.at(pos) == QLatin1Char('"') || text.at(pos) == QLatin1Char('\''))) {
        const QChar quote = text.at(pos++);
        QString value;
        while (pos < text.size()) {
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
        while (pos < text.size() && text.at(pos) != QLatin1Char(';')) {
            ++pos;
        }
        return value;
    }
    const qsizetype end = text.indexOf(QLatin1Char(';'), pos);
    const qsizetype stop = end < 0 ? text.size() : end;
    const QString value = text.mid(pos, stop - pos).trimmed();
    pos = stop;
    return value;
}

} // namespace

ConnectionText ConnectionText::parse(const QString& text)
{
    ConnectionText result;
    qsizetype pos = 0;
    while (pos < text.size()) {
        const qsizetype equals = text.indexOf(QLatin1Char('='), pos);
        const qsizetype semicolon = text.indexOf(QLatin1Char(';'), pos);
        if (equals < 0 || (semicolon >= 0 && semicolon < equals)) {
            if (semicolon < 0) {
                break;
            }
            pos = semicolon + 1;
            continue;
        }
        const QString key = text.mid(pos, equals - pos).simplified().toLower();
        pos = equals + 1;
        const QString value = readValue(text, pos);
        ++pos;
        if (key == QLatin1String("provider")) {
            result.provider = value;
        } else if (key == QLatin1String("persist security info")) {
            result.persistSecurityInfo = value;
        } else if (key == QLatin1String("user id") || key == QLatin1String("uid") || key == QLatin1String("user")) {
            result.userId = value;
        } else if (key == QLatin1String("password") || key == QLatin1String("pwd")) {
            result.password = value;
        } else if (key == QLatin1String("initial catalog") || key == QLatin1String("database")) {
            result.initialCatalog = value;
        } else if (key == QLatin1String("data source") || key == QLatin1String("server") ||
                   key == QLatin1String("address")) {
            result.dataSource = value;
        } else if (key == QLatin1String("connect timeout") || key == QLatin1String("connection timeout") ||
                   key == QLatin1String("timeout")) {
            bool ok = false;
            const int seconds = value.toInt(&ok);
            result.connectTimeout = ok && seconds > 0 ? seconds : 15;
        } else if (!key.isEmpty()) {
            result.others.insert(key, value);
        }
    }
    return result;
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
