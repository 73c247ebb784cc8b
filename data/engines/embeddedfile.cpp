#include "data/engines/embeddedfile.h"

#include "core/errorvalue.h"
#include "data/engines/embeddedfunctions.h"
#include "data/recordsetvalue.h"

#include <QFileInfo>

#include <sqlite3.h>

namespace data::embedded {

namespace {

constexpr int BusyTimeoutMs = 5000;

// Finalizes a prepared statement when it leaves scope.
struct Statement {
    sqlite3_stmt* handle = nullptr;
    ~Statement() { sqlite3_finalize(handle); }
};

QVariant rawValue(sqlite3_stmt* statement, int column)
{
    switch (sqlite3_column_type(statement, column)) {
    case SQLITE_INTEGER:
        return qlonglong(sqlite3_column_int64(statement, column));
    case SQLITE_FLOAT:
        return sqlite3_column_double(statement, column);
    case SQLITE_TEXT:
        return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, column)),
                                 sqlite3_column_bytes(statement, column));
    case SQLITE_BLOB:
        return QByteArray(static_cast<const char*>(sqlite3_column_blob(statement, column)),
                          sqlite3_column_bytes(statement, column));
    default:
        return QVariant();
    }
}

// "line N" for the first non-blank character at or after start.
QString lineOf(const QByteArray& text, const char* start)
{
    const char* const end = text.constData() + text.size();
    while (start < end && QChar::isSpace(uchar(*start))) {
        ++start;
    }
    return QStringLiteral("line %1").arg(QByteArray(text.constData(), start - text.constData()).count('\n') + 1);
}

} // namespace

EmbeddedFile::EmbeddedFile(const QString& path, Mode mode)
    : m_path(path)
{
    const bool exists = QFileInfo::exists(path);
    if (mode == Mode::Create && exists) {
        throw core::Error(core::errc::ProviderError,
                          QStringLiteral("The database file '%1' already exists.").arg(path));
    }
    if (mode == Mode::Existing && !exists) {
        throw core::Error(core::errc::ProviderError,
                          QStringLiteral("The database file '%1' does not exist or access is denied.").arg(path));
    }
    const int flags = SQLITE_OPEN_READWRITE | (mode == Mode::Create ? SQLITE_OPEN_CREATE : 0);
    if (sqlite3_open_v2(path.toUtf8().constData(), &m_db, flags, nullptr) != SQLITE_OK) {
        const QString message = m_db ? QString::fromUtf8(sqlite3_errmsg(m_db)) : QStringLiteral("out of memory");
        sqlite3_close(m_db);
        m_db = nullptr;
        throw core::Error(core::errc::ProviderError, QStringLiteral("Cannot open '%1': %2").arg(path, message));
    }
    sqlite3_busy_timeout(m_db, BusyTimeoutMs);
    try {
        installFunctions(m_db);
    } catch (...) {
        sqlite3_close(m_db);
        throw;
    }
}

EmbeddedFile::~EmbeddedFile()
{
    sqlite3_close(m_db);
}

void EmbeddedFile::fail(const QString& context) const
{
    const QString message = QString::fromUtf8(sqlite3_errmsg(m_db));
    throw core::Error(core::errc::ProviderError,
                      context.isEmpty() ? message : context + QStringLiteral(": ") + message);
}

void EmbeddedFile::exec(const QString& script)
{
    const QByteArray text = script.toUtf8();
    const char* next = text.constData();
    const char* const end = next + text.size();
    while (next < end) {
        Statement statement;
        const char* start = next;
        if (sqlite3_prepare_v2(m_db, start, int(end - start), &statement.handle, &next) != SQLITE_OK) {
            fail(lineOf(text, start));
        }
        if (!statement.handle) {
            continue;
        }
        int rc = SQLITE_ROW;
        while (rc == SQLITE_ROW) {
            rc = sqlite3_step(statement.handle);
        }
        if (rc != SQLITE_DONE) {
            fail(lineOf(text, start));
        }
    }
}

void EmbeddedFile::exec(const QString& sql, const QStringList& values)
{
    Statement statement;
    if (sqlite3_prepare_v2(m_db, sql.toUtf8().constData(), -1, &statement.handle, nullptr) != SQLITE_OK) {
        fail(QString());
    }
    for (int i = 0; i < values.size(); ++i) {
        const QByteArray value = values.at(i).toUtf8();
        sqlite3_bind_text(statement.handle, i + 1, value.constData(), int(value.size()), SQLITE_TRANSIENT);
    }
    int rc = SQLITE_ROW;
    while (rc == SQLITE_ROW) {
        rc = sqlite3_step(statement.handle);
    }
    if (rc != SQLITE_DONE) {
        fail(QString());
    }
}

QList<QVariantList> EmbeddedFile::select(const QString& sql, QStringList* names)
{
    Statement statement;
    if (sqlite3_prepare_v2(m_db, sql.toUtf8().constData(), -1, &statement.handle, nullptr) != SQLITE_OK) {
        fail(QString());
    }
    const int columns = sqlite3_column_count(statement.handle);
    QList<ColumnKind> kinds;
    for (int i = 0; i < columns; ++i) {
        kinds.append(columnKindFromDeclaredType(QString::fromUtf8(sqlite3_column_decltype(statement.handle, i))));
        if (names) {
            names->append(QString::fromUtf8(sqlite3_column_name(statement.handle, i)));
        }
    }
    QList<QVariantList> rows;
    int rc = SQLITE_ROW;
    while ((rc = sqlite3_step(statement.handle)) == SQLITE_ROW) {
        QVariantList row;
        for (int i = 0; i < columns; ++i) {
            row.append(recordsetValue(rawValue(statement.handle, i), kinds.at(i)));
        }
        rows.append(row);
    }
    if (rc != SQLITE_DONE) {
        fail(QString());
    }
    return rows;
}

} // namespace data::embedded
