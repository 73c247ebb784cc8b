#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>

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
// types (dword:, hex:...) are kept as written but cannot be read as strings.
class RegFile
{
public:
    struct Value {
        QString name; // empty for the key's default value ("@")
        QString data; // the string, or the text after "=" for a value of another type
        bool isString = true;
    };

    explicit RegFile(const QString& rootName);

    // Replaces the keys with those of an exported text (UTF-8, or UTF-16 with its byte order mark). An empty text
    // holds no keys. Throws core::Error (errc::BadDatabase) naming source and the line that cannot be read.
    void parse(const QByteArray& bytes, const QString& source);
    // The keys as the registry editor writes them, UTF-8, lines ended by CR LF, parents before children.
    QByteArray toText() const;

    // The root key itself ("") always exists.
    bool hasKey(const QString& path) const;
    // Adds a key and its missing parents.
    void addKey(const QString& path);
    // The value of an existing key, or nullptr.
    const Value* value(const QString& path, const QString& name) const;
    // Sets a string value of an existing key.
    void setValue(const QString& path, const QString& name, const QString& data);

    // A key path of non-empty names separated by "\", or "" for the root key.
    static bool validPath(const QString& path);

private:
    struct Key {
        QString path;
        QList<Value> values;
    };

    void parseSection(const QString& line, QString& current);
    void parseValue(const QStringList& lines, qsizetype& index, const QString& current);

    QString m_root;
    QMap<QString, Key> m_keys; // by mapKey(path): tree order
};

} // namespace registry
