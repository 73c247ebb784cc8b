#include "data/embeddedconnection.h"

#include "data/embedded.h"
#include "data/embeddedfunctions.h"
#include "data/embeddedlogins.h"
#include "data/tsqltranslator.h"

#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QSqlResult>
#include <QUrl>

#include <sqlite3.h>

namespace data {

namespace {

sqlite3* databaseHandle(const QSqlDatabase& db)
{
    const QVariant handle = db.driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0) {
        return nullptr;
    }
    return *static_cast<sqlite3* const*>(handle.constData());
}

sqlite3_stmt* statementHandle(const QSqlQuery& query)
{
    const QVariant handle = query.result() ? query.result()->handle() : QVariant();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3_stmt*") != 0) {
        return nullptr;
    }
    return *static_cast<sqlite3_stmt* const*>(handle.constData());
}

} // namespace

QString EmbeddedConnection::driverName() const
{
    return QStringLiteral("QSQLITE");
}

void EmbeddedConnection::open(QSqlDatabase& db, const ConnectionText& text)
{
    const QFileInfo file(text.dataSource.trimmed());
    if (!file.isFile()) {
        throw core::Error(core::errc::ProviderError,
                          QStringLiteral("The database file '%1' does not exist or access is denied.")
                              .arg(text.dataSource.trimmed()));
    }
    // Opened as a URI in read-write mode so that a wrong path never creates an empty file.
    db.setDatabaseName(QUrl::fromLocalFile(file.absoluteFilePath()).toString(QUrl::FullyEncoded) +
                       QStringLiteral("?mode=rw"));
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=2000"));
    if (!db.open()) {
        const core::ErrorValue error = errorValue(db.lastError());
        db.close();
        throw core::Error(error);
    }
    try {
        sqlite3* handle = databaseHandle(db);
        if (!handle) {
            throw core::Error(core::errc::ProviderError, QStringLiteral("The embedded engine gave no handle."));
        }
        embedded::installFunctions(handle);
        embedded::checkLogin(handle, text.userId, text.password, text.initialCatalog);
        QSqlQuery journal(db);
        if (!journal.exec(QStringLiteral("PRAGMA journal_mode=WAL"))) {
            throw core::Error(errorValue(journal.lastError()));
        }
    } catch (...) {
        db.close();
        throw;
    }
}

QString EmbeddedConnection::translate(const QString& sql) const
{
    return TsqlTranslator::toEmbedded(sql, embedded::serverNow());
}

QList<ColumnKind> EmbeddedConnection::columnKinds(const QSqlQuery& query) const
{
    QList<ColumnKind> kinds;
    sqlite3_stmt* statement = statementHandle(query);
    const int columns = query.record().count();
    for (int i = 0; i < columns; ++i) {
        const char* declared = statement ? sqlite3_column_decltype(statement, i) : nullptr;
        kinds.append(columnKindFromDeclaredType(QString::fromUtf8(declared)));
    }
    return kinds;
}

core::ErrorValue EmbeddedConnection::errorValue(const QSqlError& error) const
{
    const QString description = error.databaseText().isEmpty() ? error.text() : error.databaseText();
    return {core::errc::ProviderError, description};
}

bool EmbeddedConnection::linkLost(const QSqlError& error) const
{
    // The file can no longer be read or written where it was opened.
    return error.databaseText().contains(QLatin1String("disk I/O error"), Qt::CaseInsensitive);
}

bool EmbeddedConnection::movedAway(const QSqlDatabase& db) const
{
    sqlite3* handle = databaseHandle(db);
    if (!handle) {
        return false;
    }
    int moved = 0;
    return sqlite3_file_control(handle, "main", SQLITE_FCNTL_HAS_MOVED, &moved) == SQLITE_OK && moved != 0;
}

} // namespace data
