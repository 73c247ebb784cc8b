#include "registry/regfile.h"

#include "core/errorvalue.h"
#include "registry/registrybackend.h"

#include <QRegularExpression>
#include <QStringDecoder>

#include <algorithm>

namespace registry {
namespace {

QString header()
{
    return QStringLiteral("Windows Registry Editor Version 5.00");
}

// Case-folded, with "\" turned into a character that sorts below any name, so that the map lists every key
// right after its parent.
QString mapKey(const QString& path)
{
    QString key = path.toCaseFolded();
    key.replace(u'\\', QChar(1));
    return key;
}

// The failure of one line, thrown as a store that cannot be read.
struct LineError {
    QString reason;
};

// Reads a quoted text starting at text[pos] ("), undoing the \\ and \" escapes; pos ends after the closing quote.
QString readQuoted(const QString& text, qsizetype& pos)
{
    QString out;
    for (++pos; pos < text.size(); ++pos) {
        const QChar c = text.at(pos);
        if (c == u'"') {
            ++pos;
            return out;
        }
        if (c == u'\\') {
            if (++pos == text.size() || (text.at(pos) != u'\\' && text.at(pos) != u'"')) {
                throw LineError{QStringLiteral("unknown escape")};
            }
        }
        out += text.at(pos);
    }
    throw LineError{QStringLiteral("missing closing quote")};
}

QString quoted(QString text)
{
    text.replace(u'\\', QStringLiteral("\\\\"));
    text.replace(u'"', QStringLiteral("\\\""));
    return u'"' + text + u'"';
}

} // namespace

RegFile::RegFile(const QString& rootName)
    : m_root(rootName)
{
    addKey(QString());
}

void RegFile::parse(const QByteArray& bytes, const QString& source)
{
    m_keys.clear();
    addKey(QString());
    if (bytes.isEmpty()) {
        return;
    }
    QStringDecoder decoder(bytes.startsWith("\xFF\xFE") ? QStringConverter::Utf16LE : QStringConverter::Utf8);
    const QString text = decoder.decode(bytes);
    const QStringList lines = text.split(u'\n');
    qsizetype index = 0;
    try {
        if (decoder.hasError()) {
            throw LineError{QStringLiteral("not UTF-8 text")};
        }
        while (index < lines.size() && lines.at(index).trimmed().isEmpty()) {
            ++index;
        }
        if (index == lines.size() || lines.at(index).trimmed() != header()) {
            throw LineError{QStringLiteral("no \"%1\" header").arg(header())};
        }
        QString current; // the key the value lines belong to; null before the first section
        for (++index; index < lines.size(); ++index) {
            const QString line = lines.at(index).trimmed();
            if (line.isEmpty() || line.startsWith(u';')) {
                continue;
            }
            if (line.startsWith(u'[')) {
                parseSection(line, current);
            } else {
                parseValue(lines, index, current);
            }
        }
    } catch (const LineError& error) {
        throw core::Error(errc::BadDatabase, QStringLiteral("The registry file %1 cannot be read (line %2: %3)")
                                                 .arg(source)
                                                 .arg(index + 1)
                                                 .arg(error.reason));
    }
}

void RegFile::parseSection(const QString& line, QString& current)
{
    if (!line.endsWith(u']') || line.startsWith(QStringLiteral("[-"))) {
        throw LineError{QStringLiteral("not a key")};
    }
    const QString name = line.mid(1, line.size() - 2);
    const qsizetype separator = name.indexOf(u'\\');
    const QString path = separator < 0 ? QStringLiteral("") : name.mid(separator + 1);
    if (name.left(separator).compare(m_root, Qt::CaseInsensitive) != 0 || !validPath(path)) {
        throw LineError{QStringLiteral("not a key of %1").arg(m_root)};
    }
    addKey(path);
    current = path;
}

void RegFile::parseValue(const QStringList& lines, qsizetype& index, const QString& current)
{
    static const QRegularExpression otherType(QStringLiteral("^(dword|hex(\\([0-9a-f]+\\))?):"),
                                              QRegularExpression::CaseInsensitiveOption);
    const QString line = lines.at(index).trimmed();
    if (current.isNull()) {
        throw LineError{QStringLiteral("a value outside any key")};
    }
    Value value;
    qsizetype pos = 1;
    if (line.startsWith(u'"')) {
        pos = 0;
        value.name = readQuoted(line, pos);
    } else if (!line.startsWith(u'@')) {
        throw LineError{QStringLiteral("neither a key nor a value")};
    }
    if (line.mid(pos, 1) != u"=") {
        throw LineError{QStringLiteral("\"=\" missing")};
    }
    ++pos;
    if (line.mid(pos, 1) == u"\"") {
        value.data = readQuoted(line, pos);
        if (pos != line.size()) {
            throw LineError{QStringLiteral("text after the value")};
        }
    } else {
        value.isString = false;
        value.data = line.mid(pos);
        while (value.data.endsWith(u'\\') && index + 1 < lines.size()) { // hex data continues on the next line
            value.data.chop(1);
            value.data += lines.at(++index).trimmed();
        }
        if (!otherType.match(value.data).hasMatch()) {
            throw LineError{QStringLiteral("unknown value type")};
        }
    }
    Key& key = m_keys[mapKey(current)];
    for (Value& old : key.values) {
        if (old.name.compare(value.name, Qt::CaseInsensitive) == 0) {
            old = value;
            return;
        }
    }
    key.values.append(value);
}

QByteArray RegFile::toText() const
{
    const QString lineEnd = QStringLiteral("\r\n");
    QString text = header() + lineEnd + lineEnd;
    for (const Key& key : m_keys) {
        if (key.path.isEmpty() && key.values.isEmpty()) {
            continue;
        }
        text += u'[' + m_root + (key.path.isEmpty() ? QString() : u'\\' + key.path) + u']' + lineEnd;
        for (const Value& value : key.values) {
            text += (value.name.isEmpty() ? QStringLiteral("@") : quoted(value.name)) + u'=' +
                    (value.isString ? quoted(value.data) : value.data) + lineEnd;
        }
        text += lineEnd;
    }
    return text.toUtf8();
}

bool RegFile::hasKey(const QString& path) const
{
    return m_keys.contains(mapKey(path));
}

void RegFile::addKey(const QString& path)
{
    for (qsizetype end = path.indexOf(u'\\'); end >= 0; end = path.indexOf(u'\\', end + 1)) {
        addKey(path.left(end));
    }
    Key& key = m_keys[mapKey(path)];
    if (key.path.isNull()) {
        key.path = path.isNull() ? QStringLiteral("") : path;
    }
}

const RegFile::Value* RegFile::value(const QString& path, const QString& name) const
{
    const auto key = m_keys.constFind(mapKey(path));
    if (key == m_keys.cend()) {
        return nullptr;
    }
    for (const Value& value : key->values) {
        if (value.name.compare(name, Qt::CaseInsensitive) == 0) {
            return &value;
        }
    }
    return nullptr;
}

void RegFile::setValue(const QString& path, const QString& name, const QString& data)
{
    Key& key = m_keys[mapKey(path)];
    for (Value& value : key.values) {
        if (value.name.compare(name, Qt::CaseInsensitive) == 0) {
            value.data = data;
            value.isString = true;
            return;
        }
    }
    key.values.append({name, data, true});
}

bool RegFile::validPath(const QString& path)
{
    if (path.isEmpty()) {
        return true;
    }
    const QStringList names = path.split(u'\\');
    return std::none_of(names.cbegin(), names.cend(), [](const QString& name) { return name.isEmpty(); });
}

} // namespace registry
