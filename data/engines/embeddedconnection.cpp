#include "data/engines/embeddedconnection.h"

#include "data/engines/embedded.h"
#include "data/engines/embeddedfunctions.h"
#include "data/engines/embeddedlayout.h"
#include "data/engines/embeddedlogins.h"
#include "data/engines/tsqltranslator.h"
#include "data/office/filepermissions.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>

#include <algorithm>
#include <sqlite3.h>
#ifdef Q_OS_LINUX
#include <unistd.h>
#endif

namespace data {

namespace {

// True when this process holds open a file that was at path and has been deleted: Linux names such a descriptor
// with " (deleted)" after the path it had, where a renamed file's names its new path. A second descriptor of our own
// would not do: closing it would drop the engine's locks on the file, which POSIX keeps per process.
bool deletedWhileOpen(const QString& path)
{
#ifdef Q_OS_LINUX
    if (path.isEmpty()) {
        return false;
    }
    const QByteArray deleted = QFile::encodeName(path) + " (deleted)";
    const QDir descriptors(QStringLiteral("/proc/self/fd"));
    for (const QString& name : descriptors.entryList(QDir::System | QDir::Files | QDir::NoDotAndDotDot)) {
        char target[4096];
        const ssize_t size =
            ::readlink(QFile::encodeName(descriptors.filePath(name)).constData(), target, sizeof target);
        if (size == deleted.size() && QByteArray(target, size) == deleted) {
            return true;
        }
    }
#else
    Q_UNUSED(path);
#endif
    return false;
}

sqlite3* databaseHandle(const QSqlDatabase& db)
{
    const QVariant handle = db.driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0) {
        return nullptr;
    }
    return *static_cast<sqlite3* const*>(handle.constData());
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
        if (sqlite3_db_readonly(handle, "main") != 0) {
            // Told as the missing permission when that is the cause (a file of another user or group).
            const QString problem = writeProblem(text.dataSource.trimmed());
            throw core::Error(
                core::errc::ProviderError,
                problem.isEmpty()
                    ? QStringLiteral("The database file '%1' cannot be written.").arg(text.dataSource.trimmed())
                    : problem);
        }
        embedded::installFunctions(handle);
        embedded::checkLogin(handle, text.userId, text.password, text.initialCatalog);
        QSqlQuery journal(db);
        if (!journal.exec(QStringLiteral("PRAGMA journal_mode=WAL"))) {
            throw core::Error(errorValue(journal.lastError()));
        }
        // The pending list sums each task's entries from their index; in a large office that touches a page of the
        // index per task, and SQLite's default cache (2 MiB) would read them from the file again at every refill.
        // A cache that holds them costs memory only as pages are read. (Not a mapping of the file: there a disk
        // read error stops the program instead of failing the statement.)
        QSqlQuery cache(db);
        if (!cache.exec(QStringLiteral("PRAGMA cache_size=-%1").arg(embedded::CacheKibibytes))) {
            throw core::Error(errorValue(cache.lastError()));
        }
        // An office file made before the tasks' totals were kept gets them at its first connection (the pragmas'
        // answers read and done with first: a commit waits for no statement).
        journal.finish();
        cache.finish();
        embedded::upgradeLayout(handle);
        m_canonicalPath = file.canonicalFilePath();
    } catch (...) {
        db.close();
        throw;
    }
}

QString EmbeddedConnection::translate(const QString& sql) const
{
    return TsqlTranslator::toEmbedded(sql, embedded::serverNow());
}

namespace {

struct StatementEnd {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};

QSqlError engineError(sqlite3* handle, int code)
{
    return QSqlError(QStringLiteral("Unable to execute statement"), QString::fromUtf8(sqlite3_errmsg(handle)),
                     QSqlError::StatementError, QString::number(code));
}

// A column's value as the engine holds it: whole numbers as qlonglong, fractional ones as double,
// text as QString, a null as a null QVariant.
QVariant engineValue(sqlite3_stmt* statement, int column)
{
    switch (sqlite3_column_type(statement, column)) {
    case SQLITE_NULL:
        return {};
    case SQLITE_INTEGER:
        return qlonglong(sqlite3_column_int64(statement, column));
    case SQLITE_FLOAT:
        return sqlite3_column_double(statement, column);
    case SQLITE_BLOB:
        return QByteArray(static_cast<const char*>(sqlite3_column_blob(statement, column)),
                          sqlite3_column_bytes(statement, column));
    default: {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
        return QString::fromUtf8(text, sqlite3_column_bytes(statement, column));
    }
    }
}

} // namespace

std::optional<QSqlError> EmbeddedConnection::select(const QSqlDatabase& db, const QString& sql, ResultRows& into) const
{
    sqlite3* handle = databaseHandle(db);
    if (!handle) {
        return QSqlError(QStringLiteral("Unable to execute statement"),
                         QStringLiteral("The embedded engine gave no handle."), QSqlError::ConnectionError);
    }
    const QByteArray text = sql.toUtf8();
    sqlite3_stmt* prepared = nullptr;
    const char* tail = nullptr;
    const int prepareCode = sqlite3_prepare_v2(handle, text.constData(), int(text.size()), &prepared, &tail);
    const std::unique_ptr<sqlite3_stmt, StatementEnd> statement(prepared);
    if (prepareCode != SQLITE_OK) {
        return engineError(handle, prepareCode);
    }
    // One statement at a time, as through the driver: what follows the first one is refused, not run.
    if (tail && !QByteArrayView(tail).trimmed().isEmpty()) {
        return QSqlError(QStringLiteral("Unable to execute statement"),
                         QStringLiteral("Unable to execute multiple statements at a time"), QSqlError::StatementError,
                         QString::number(SQLITE_MISUSE));
    }
    if (!statement) {
        return std::nullopt;
    }
    const int columns = sqlite3_column_count(statement.get());
    QList<ColumnKind> kinds;
    kinds.reserve(columns);
    for (int i = 0; i < columns; ++i) {
        into.names.append(QString::fromUtf8(sqlite3_column_name(statement.get(), i)).remove(u'"'));
        kinds.append(columnKindFromDeclaredType(QString::fromUtf8(sqlite3_column_decltype(statement.get(), i))));
    }
    int code = SQLITE_ROW;
    while ((code = sqlite3_step(statement.get())) == SQLITE_ROW) {
        QVariantList row;
        row.reserve(columns);
        for (int i = 0; i < columns; ++i) {
            row.append(recordsetValue(engineValue(statement.get(), i), kinds.at(i)));
        }
        into.rows.append(std::move(row));
    }
    if (code != SQLITE_DONE) {
        return engineError(handle, code);
    }
    return std::nullopt;
}

core::ErrorValue EmbeddedConnection::errorValue(const QSqlError& error) const
{
    const QString description = error.databaseText().isEmpty() ? error.text() : error.databaseText();
    return {core::errc::ProviderError, description};
}

std::optional<QSqlError> EmbeddedConnection::begin(QSqlDatabase& db) const
{
    QSqlQuery begin(db);
    if (!begin.exec(QStringLiteral("BEGIN IMMEDIATE"))) {
        return begin.lastError();
    }
    return std::nullopt;
}

bool EmbeddedConnection::linkLost(const QSqlError& error) const
{
    // The engine's primary result codes (the low byte of an extended one) for a file that can no longer be written
    // or read where it was opened; its texts for the same, for an answer that carries no code.
    static const QList<int> lostCodes = {SQLITE_READONLY, SQLITE_IOERR, SQLITE_CANTOPEN};
    bool numeric = false;
    const int code = error.nativeErrorCode().trimmed().toInt(&numeric);
    if (numeric && lostCodes.contains(code & 0xff)) {
        return true;
    }
    static const QStringList lostTexts = {QStringLiteral("disk I/O error"),
                                          QStringLiteral("attempt to write a readonly database"),
                                          QStringLiteral("unable to open database file")};
    const QString text = error.databaseText();
    return std::any_of(lostTexts.cbegin(), lostTexts.cend(),
                       [&text](const QString& lost) { return text.contains(lost, Qt::CaseInsensitive); });
}

bool EmbeddedConnection::movedAway(const QSqlDatabase& db) const
{
    sqlite3* handle = databaseHandle(db);
    if (!handle) {
        return false;
    }
    int moved = 0;
    if (sqlite3_file_control(handle, "main", SQLITE_FCNTL_HAS_MOVED, &moved) != SQLITE_OK || moved == 0) {
        return false;
    }
    // The file as the engine holds it open has no name left, and none is at its path: the write-ahead log and its
    // index there are the deleted file's. (Windows deletes no file that is open.)
    if (deletedWhileOpen(m_canonicalPath) && !QFileInfo::exists(m_canonicalPath)) {
        QFile::remove(m_canonicalPath + QStringLiteral("-wal"));
        QFile::remove(m_canonicalPath + QStringLiteral("-shm"));
    }
    return true;
}

} // namespace data
