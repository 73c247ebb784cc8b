#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

struct sqlite3;

namespace data::embedded {

// A database file of the embedded engine opened directly, without the connection layer: for
// creating and maintaining the file and for test fixtures. The engine's functions and collation
// are installed on it. Every failure throws core::Error with the engine's message.
class EmbeddedFile
{
public:
    enum class Mode { Existing, Create };

    // Existing fails when the file is missing; Create fails when it exists.
    EmbeddedFile(const QString& path, Mode mode);
    ~EmbeddedFile();
    EmbeddedFile(const EmbeddedFile&) = delete;
    EmbeddedFile& operator=(const EmbeddedFile&) = delete;

    sqlite3* handle() const { return m_db; }

    // Runs every statement of the text in order. The error names the line where the failing
    // statement starts.
    void exec(const QString& script);
    // Runs one statement whose '?' placeholders take the given texts.
    void exec(const QString& sql, const QStringList& values);
    // The rows of one query, values read as a recordset reads them; names receives the columns.
    QList<QVariantList> select(const QString& sql, QStringList* names = nullptr);

private:
    [[noreturn]] void fail(const QString& context) const;

    QString m_path;
    sqlite3* m_db = nullptr;
};

} // namespace data::embedded
