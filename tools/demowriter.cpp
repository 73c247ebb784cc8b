#include "tools/demowriter.h"

#include "core/errorvalue.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include <atomic>

namespace tools {

namespace {

std::atomic<int> s_connections{0};

[[noreturn]] void fail(const QString& what, const QSqlError& error)
{
    throw core::Error(core::errc::ProviderError, what + QStringLiteral(": ") + error.text());
}

} // namespace

DemoWriter::DemoWriter(const QString& path)
    : m_connectionName(QStringLiteral("orvdemo-%1").arg(++s_connections))
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connectionName);
    db.setDatabaseName(path);
    if (!db.open()) {
        const QSqlError error = db.lastError();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_connectionName);
        fail(QStringLiteral("Não foi possível abrir %1").arg(path), error);
    }
    m_open = true;
    // A bulk load needs neither the shared journal nor a flush per page; the journal is put back on
    // commit. A failed load leaves a file the caller throws away.
    QSqlQuery pragma(db);
    for (const char* setting :
         {"PRAGMA journal_mode = MEMORY", "PRAGMA synchronous = OFF", "PRAGMA cache_size = -131072"}) {
        pragma.exec(QString::fromLatin1(setting));
    }
    if (!db.transaction()) {
        fail(QStringLiteral("Não foi possível iniciar a transacção"), db.lastError());
    }
}

DemoWriter::~DemoWriter()
{
    m_statements.clear();
    {
        QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
        if (m_open && db.isOpen()) {
            db.rollback();
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(m_connectionName);
}

int DemoWriter::prepare(QLatin1StringView table, const QStringList& columns)
{
    QStringList marks;
    for (qsizetype i = 0; i < columns.size(); ++i) {
        marks.append(QStringLiteral("?"));
    }
    auto query = std::make_unique<QSqlQuery>(QSqlDatabase::database(m_connectionName, false));
    const QString sql = QStringLiteral("INSERT INTO ") + table + QStringLiteral(" (") +
                        columns.join(QStringLiteral(", ")) + QStringLiteral(") VALUES (") +
                        marks.join(QStringLiteral(", ")) + QStringLiteral(")");
    if (!query->prepare(sql)) {
        fail(sql, query->lastError());
    }
    m_statements.push_back(std::move(query));
    return int(m_statements.size()) - 1;
}

void DemoWriter::insert(int statement, std::initializer_list<QVariant> values)
{
    QSqlQuery& query = *m_statements.at(std::size_t(statement));
    int position = 0;
    for (const QVariant& value : values) {
        query.bindValue(position++, value);
    }
    if (!query.exec()) {
        fail(query.lastQuery(), query.lastError());
    }
}

void DemoWriter::commit()
{
    QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
    if (!db.commit()) {
        fail(QStringLiteral("Não foi possível gravar os dados"), db.lastError());
    }
    m_open = false;
    m_statements.clear();
    QSqlQuery pragma(db);
    if (!pragma.exec(QStringLiteral("PRAGMA journal_mode = WAL"))) {
        fail(QStringLiteral("Não foi possível repor o diário partilhado"), pragma.lastError());
    }
}

} // namespace tools
