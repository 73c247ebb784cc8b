#include "registry/regfile.h"

#include "core/errorvalue.h"
#include "registry/registrybackend.h"

#include <QRegularExpression>
#include <QStringDecoder>
#include <QStringTokenizer>

#include <algorithm>

namespace registry {
namespace {

QString header()
{
    return QStringLiteral("Windows Registry Editor Version 5.00");
}

quint64 walked = 0;

QString lineEnd()
{
    return QStringLiteral("\r\n");
}

// Names compare case-insensitively.
QString folded(QStringView name)
{
    return name.toString().toCaseFolded();
}

bool isHexDigit(QChar c)
{
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
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

// Why a key path breaks the platform's limits (see RegFile::validPath), or empty text when it keeps them.
QString limitBroken(const QString& path)
{
    if (path.isEmpty()) {
        return QString();
    }
    qsizetype depth = 0;
    for (const QStringView name : qTokenize(path, u'\\')) {
        if (name.isEmpty()) {
            return QStringLiteral("an empty key name");
        }
        if (name.size() > RegFile::MaxNameLength) {
            return QStringLiteral("a key name longer than %1 characters").arg(RegFile::MaxNameLength);
        }
        if (name.contains(QChar(0))) {
            return QStringLiteral("a NUL character in a key name");
        }
        if (++depth > RegFile::MaxDepth) {
            return QStringLiteral("a key deeper than %1 levels").arg(RegFile::MaxDepth);
        }
    }
    return QString();
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
{}

quint64 RegFile::levelsWalked()
{
    return walked;
}

void RegFile::parse(const QByteArray& bytes, const QString& source)
{
    m_top = Key();
    if (bytes.isEmpty()) {
        return;
    }
    // Stateless: a character cut off at the end of the file is an error, not left waiting for more bytes.
    QStringDecoder decoder(bytes.startsWith("\xFF\xFE") ? QStringConverter::Utf16LE : QStringConverter::Utf8,
                           QStringConverter::Flag::Stateless);
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
        Key* current = nullptr; // the key the value lines belong to
        for (++index; index < lines.size(); ++index) {
            const QString line = lines.at(index).trimmed();
            if (line.isEmpty() || line.startsWith(u';')) {
                continue;
            }
            if (line.startsWith(u'[')) {
                current = &parseSection(line);
            } else {
                parseValue(lines, index, current);
            }
        }
    } catch (const LineError& error) {
        m_top = Key();
        throw core::Error(errc::BadDatabase, QStringLiteral("The registry file %1 cannot be read (line %2: %3)")
                                                 .arg(source)
                                                 .arg(index + 1)
                                                 .arg(error.reason));
    }
}

RegFile::Key& RegFile::parseSection(const QString& line)
{
    if (!line.endsWith(u']') || line.startsWith(QStringLiteral("[-"))) {
        throw LineError{QStringLiteral("not a key")};
    }
    const QString name = line.mid(1, line.size() - 2);
    const qsizetype separator = name.indexOf(u'\\');
    const QString path = separator < 0 ? QStringLiteral("") : name.mid(separator + 1);
    if (name.left(separator).compare(m_root, Qt::CaseInsensitive) != 0) {
        throw LineError{QStringLiteral("not a key of %1").arg(m_root)};
    }
    if (const QString broken = limitBroken(path); !broken.isEmpty()) {
        throw LineError{broken};
    }
    return make(path);
}

void RegFile::parseValue(const QStringList& lines, qsizetype& index, Key* current)
{
    static const QRegularExpression otherType(QStringLiteral("^(dword|hex(\\([0-9a-f]+\\))?):"),
                                              QRegularExpression::CaseInsensitiveOption);
    const QString line = lines.at(index).trimmed();
    if (!current) {
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
        // The platform's strings end at a NUL: what follows it would be read by nobody, or by someone else.
        if (value.name.contains(QChar(0)) || value.data.contains(QChar(0))) {
            throw LineError{QStringLiteral("a NUL character inside a value")};
        }
    } else {
        value.isString = false;
        value.data = line.mid(pos);
        while (value.data.endsWith(u'\\')) { // hex data continues on the next line, if there is one
            value.data.chop(1);
            if (index + 1 < lines.size()) {
                value.data += lines.at(++index).trimmed();
            }
        }
        const QRegularExpressionMatch type = otherType.match(value.data);
        if (!type.hasMatch()) {
            throw LineError{QStringLiteral("unknown value type")};
        }
        const QStringView digits = QStringView(value.data).mid(type.capturedEnd());
        if (!std::all_of(digits.begin(), digits.end(), [](QChar c) { return c == u',' || isHexDigit(c); })) {
            throw LineError{QStringLiteral("not hexadecimal data")};
        }
    }
    store(*current, value);
}

std::optional<QByteArray> RegFile::toText(qsizetype maxBytes) const
{
    QString text = header() + lineEnd() + lineEnd();
    // UTF-8 takes at least one byte for each UTF-16 unit, so a text longer than maxBytes units is too long.
    bool fits = true;
    if (!m_top.values.isEmpty()) {
        fits = appendSections(m_top, m_root, text, maxBytes);
    } else {
        for (auto child = m_top.children.cbegin(); fits && child != m_top.children.cend(); ++child) {
            fits = appendSections(*child, m_root + u'\\' + child->name, text, maxBytes);
        }
    }
    QByteArray bytes = text.toUtf8();
    if (!fits || bytes.size() > maxBytes) {
        return std::nullopt;
    }
    return bytes;
}

bool RegFile::appendSections(const Key& key, const QString& path, QString& text, qsizetype maxChars)
{
    text += u'[' + path + u']' + lineEnd();
    for (const Value& value : key.values) {
        text += (value.name.isEmpty() ? QStringLiteral("@") : quoted(value.name)) + u'=' +
                (value.isString ? quoted(value.data) : value.data) + lineEnd();
    }
    text += lineEnd();
    for (const auto& child : key.children) {
        if (text.size() > maxChars || !appendSections(child, path + u'\\' + child.name, text, maxChars)) {
            return false;
        }
    }
    return text.size() <= maxChars;
}

const RegFile::Key* RegFile::find(const QString& path) const
{
    const Key* key = &m_top;
    if (path.isEmpty()) {
        return key;
    }
    for (const QStringView name : qTokenize(path, u'\\')) {
        ++walked;
        const auto child = key->children.constFind(folded(name));
        if (child == key->children.cend()) {
            return nullptr;
        }
        key = &*child;
    }
    return key;
}

RegFile::Key& RegFile::make(const QString& path)
{
    Key* key = &m_top;
    if (path.isEmpty()) {
        return *key;
    }
    for (const QStringView name : qTokenize(path, u'\\')) {
        ++walked;
        Key& child = key->children[folded(name)];
        if (child.name.isEmpty()) {
            child.name = name.toString();
        }
        key = &child;
    }
    return *key;
}

void RegFile::store(Key& key, const Value& value)
{
    const QString name = folded(value.name);
    const auto known = key.valueIndex.constFind(name);
    if (known != key.valueIndex.cend()) {
        key.values[*known] = value;
        return;
    }
    key.valueIndex.insert(name, key.values.size());
    key.values.append(value);
}

bool RegFile::hasKey(const QString& path) const
{
    return find(path) != nullptr;
}

void RegFile::addKey(const QString& path)
{
    make(path);
}

const RegFile::Value* RegFile::value(const QString& path, const QString& name) const
{
    const Key* key = find(path);
    if (!key) {
        return nullptr;
    }
    const auto known = key->valueIndex.constFind(folded(name));
    return known == key->valueIndex.cend() ? nullptr : &key->values.at(*known);
}

void RegFile::setValue(const QString& path, const QString& name, const QString& data)
{
    store(make(path), {name, data, true});
}

bool RegFile::validPath(const QString& path)
{
    return limitBroken(path).isEmpty();
}

} // namespace registry
