#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QMap>
#include <QString>

#include <optional>

namespace registry {

// The keys and values of one root key, held as the Windows registry editor exports them:
//
//     Windows Registry Editor Version 5.00
//
//     [HKEY_CURRENT_USER\Software\Vorlent]
//     "Username"="João"
//     "Path"="C:\\Orv \"main\""
//
// Key and value names compare case-insensitively and keep the spelling they were first given. Values of other
// types (dword:, hex:...) are kept as written but cannot be read as strings. Keys are held as a tree, one name per
// level, so that reading and adding keys costs time in proportion to the text, however deep the keys go.
class RegFile
{
public:
    struct Value {
        QString name; // empty for the key's default value ("@")
        QString data; // the string, or the text after "=" for a value of another type
        bool isString = true;
    };

    // The limits of the Windows registry: a key name of at most 255 characters, at most 512 levels below the root.
    static constexpr qsizetype MaxNameLength = 255;
    static constexpr qsizetype MaxDepth = 512;

    explicit RegFile(const QString& rootName);

    // Replaces the keys with those of an exported text (UTF-8, or UTF-16 with its byte order mark). An empty text
    // holds no keys. Throws core::Error (errc::BadDatabase) naming source, the line that cannot be read and why: a
    // key past the limits above and a NUL inside a value are refused, never left out or cut short.
    void parse(const QByteArray& bytes, const QString& source);
    // The keys as the registry editor writes them, UTF-8, lines ended by CR LF, parents before children; null when
    // the text would be longer than maxBytes.
    std::optional<QByteArray> toText(qsizetype maxBytes) const;

    // The root key itself ("") always exists.
    bool hasKey(const QString& path) const;
    // Adds a key and its missing parents.
    void addKey(const QString& path);
    // The value of an existing key, or nullptr.
    const Value* value(const QString& path, const QString& name) const;
    // Sets a string value of an existing key.
    void setValue(const QString& path, const QString& name, const QString& data);

    // A key path of non-empty names without NUL separated by "\" within the limits above, or "" for the root key.
    static bool validPath(const QString& path);

    // How many key levels every RegFile has walked through since the program started: the work of finding and
    // adding keys, for the tests that check it grows in proportion to the depth.
    static quint64 levelsWalked();

private:
    struct Key {
        QString name;
        QList<Value> values;                  // in the order they were added
        QHash<QString, qsizetype> valueIndex; // position in values by case-folded name
        QMap<QString, Key> children;          // by case-folded name: the order in which the file lists them
    };

    const Key* find(const QString& path) const;
    Key& make(const QString& path);
    static void store(Key& key, const Value& value);
    Key& parseSection(const QString& line);
    void parseValue(const QStringList& lines, qsizetype& index, Key* current);
    static bool appendSections(const Key& key, const QString& path, QString& text, qsizetype maxChars);

    QString m_root;
    Key m_top; // the root key, named ""
};

} // namespace registry
