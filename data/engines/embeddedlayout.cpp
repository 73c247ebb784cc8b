#include "data/engines/embeddedlayout.h"

#include "core/errorvalue.h"

#include <QFile>

#include <sqlite3.h>

namespace data::embedded {

namespace {

[[noreturn]] void fail(sqlite3* db)
{
    throw core::Error(core::errc::ProviderError, QStringLiteral("The office file cannot be brought to layout %1: %2")
                                                     .arg(FileLayout)
                                                     .arg(QString::fromUtf8(sqlite3_errmsg(db))));
}

void run(sqlite3* db, const QByteArray& script)
{
    if (sqlite3_exec(db, script.constData(), nullptr, nullptr, nullptr) != SQLITE_OK) {
        fail(db);
    }
}

// The whole number the statement's first row starts with; 0 when it gives no row.
int number(sqlite3* db, const char* sql)
{
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &statement, nullptr) != SQLITE_OK) {
        fail(db);
    }
    const int rc = sqlite3_step(statement);
    const int value = rc == SQLITE_ROW ? sqlite3_column_int(statement, 0) : 0;
    sqlite3_finalize(statement);
    if (rc != SQLITE_ROW && rc != SQLITE_DONE) {
        fail(db);
    }
    return value;
}

bool needsUpgrade(sqlite3* db)
{
    return number(db, "PRAGMA user_version") < FileLayout &&
           number(db, "SELECT COUNT(*) FROM sqlite_master WHERE type = 'table' AND "
                      "name = 'tbProcessos_Trabalhos_Tarefas_Lancamentos' COLLATE NOCASE") > 0;
}

} // namespace

QString readScript(const QString& resource)
{
    QFile file(resource);
    if (!file.open(QIODevice::ReadOnly)) {
        throw core::Error(core::errc::InvalidProcedureCall,
                          QStringLiteral("Script de criação em falta: %1").arg(file.fileName()));
    }
    return QString::fromUtf8(file.readAll());
}

QString layoutScript()
{
    return readScript(QStringLiteral(":/data/sql/embedded-layout1.sql"));
}

void upgradeLayout(sqlite3* db)
{
    if (!needsUpgrade(db)) {
        return;
    }
    // While another workstation writes for longer than the busy time-out, the file keeps its layout, whose view
    // answers the same totals the slow way; the next connection tries again. A login never fails for this.
    const int begun = sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
    if (begun == SQLITE_BUSY) {
        return;
    }
    if (begun != SQLITE_OK) {
        fail(db);
    }
    try {
        // Another workstation may have brought the file up while this one waited for the write.
        if (needsUpgrade(db)) {
            run(db, layoutScript().toUtf8());
        }
        run(db, "COMMIT");
    } catch (...) {
        sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
}

} // namespace data::embedded
