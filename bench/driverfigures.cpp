#include "bench/driverfigures.h"

#include "bench/benchoffice.h"
#include "bench/figures.h"
#include "bench/privateserver.h"
#include "core/errorvalue.h"
#include "data/connection.h"
#include "data/engines/tsqltranslator.h"
#include "data/office/postgresadmin.h"
#include "tools/demooffice.h"

#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTextStream>

namespace bench {
namespace {

QString pendingList()
{
    return QStringLiteral("SELECT * FROM vwProcessos_Trabalhos_Tarefas WHERE closed = 0 AND advogado_id = %1 ORDER "
                          "BY escondida, data_escritorio, trabalho_id, data, processo_no_completo")
        .arg(BenchOffice::lawyerId());
}

// The lines the server has logged so far.
qsizetype loggedLines(const QString& folder)
{
    QFile log(folder + QStringLiteral("/server.log"));
    return log.open(QIODevice::ReadOnly) ? log.readAll().count('\n') : 0;
}

// The statements among the lines logged since `from`, as the server logged them.
QStringList statementsSince(const QString& folder, qsizetype from)
{
    QFile log(folder + QStringLiteral("/server.log"));
    QStringList statements;
    if (!log.open(QIODevice::ReadOnly)) {
        return statements;
    }
    const QList<QByteArray> lines = log.readAll().split('\n');
    for (qsizetype i = from; i < lines.size(); ++i) {
        for (const char* mark : {"LOG:  statement: ", "LOG:  execute "}) {
            const qsizetype at = lines.at(i).indexOf(mark);
            if (at >= 0) {
                statements << QString::fromUtf8(lines.at(i).mid(at + qsizetype(qstrlen(mark)))).left(70);
            }
        }
    }
    return statements;
}

// A session through psqlODBC under Qt's ODBC driver, as the engine opened one before it used libpq: the lock
// time-out set by a statement of its own.
class OdbcLink
{
public:
    OdbcLink(const data::PostgresTarget& server, const QString& database)
    {
        const QStringList hostAndPort = server.server.split(QLatin1Char(','));
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), Name);
        db.setDatabaseName(QStringLiteral("Driver={PostgreSQL Unicode};Server=%1;Port=%2;Database=%3;UID=%4;PWD=%5;"
                                          "SSLmode=prefer;pqopt={connect_timeout=15};")
                               .arg(hostAndPort.value(0), hostAndPort.value(1), database,
                                    tools::DemoOffice::sharedUser().toLower(), tools::DemoOffice::sharedPassword()));
        if (!db.open()) {
            throw core::Error(core::errc::ProviderError, db.lastError().text());
        }
        QSqlQuery session(db);
        session.exec(QStringLiteral("SET lock_timeout = 2000"));
    }
    ~OdbcLink()
    {
        QSqlDatabase::database(Name, false).close();
        QSqlDatabase::removeDatabase(Name);
    }
    OdbcLink(const OdbcLink&) = delete;
    OdbcLink& operator=(const OdbcLink&) = delete;

    // The rows of a statement read to the end, each value copied out as the engine's recordsets do.
    int rows(const QString& sql)
    {
        QSqlQuery query(QSqlDatabase::database(Name, false));
        query.setForwardOnly(true);
        if (!query.exec(sql)) {
            throw core::Error(core::errc::ProviderError, query.lastError().text());
        }
        const int columns = query.record().count();
        QList<QVariantList> rows;
        while (query.next()) {
            QVariantList row;
            row.reserve(columns);
            for (int i = 0; i < columns; ++i) {
                row.append(query.value(i));
            }
            rows.append(std::move(row));
        }
        return int(rows.size());
    }

private:
    static inline const QString Name = QStringLiteral("bench-odbc");
};

} // namespace

DriverFigures::DriverFigures(PrivateServer& server, BenchOffice& office, QString serverFolder)
    : m_server(server)
    , m_office(office)
    , m_folder(std::move(serverFolder))
{}

void DriverFigures::run(int pending, int rounds)
{
    m_office.useServer(m_server.target());
    const QString database = m_office.make(pending, 1);
    {
        const auto admin = m_server.target().session();
        admin->exec(QStringLiteral("ALTER SYSTEM SET log_statement = 'all'"));
        admin->select(QStringLiteral("SELECT pg_reload_conf()"));
    }
    const QString text = m_office.connectionText(database);
    const QString translated = data::TsqlTranslator::toPostgres(pendingList());
    QList<Sample> odbcOpens;
    QList<Sample> odbcFills;
    QList<Sample> nativeOpens;
    QList<Sample> nativeFills;
    QStringList odbcStatements[2];
    QStringList nativeStatements[2];
    const auto check = [pending](int rows) {
        if (rows != pending) {
            throw core::Error(core::errc::InvalidProcedureCall, QStringLiteral("Not the whole list"));
        }
    };
    for (int round = 0; round < rounds; ++round) {
        {
            qsizetype mark = loggedLines(m_folder);
            std::unique_ptr<OdbcLink> odbc;
            odbcOpens << measure([&] { odbc = std::make_unique<OdbcLink>(m_server.target(), database); });
            odbcStatements[0] = statementsSince(m_folder, mark);
            mark = loggedLines(m_folder);
            odbcFills << measure([&] { check(odbc->rows(translated)); });
            odbcStatements[1] = statementsSince(m_folder, mark);
        }
        {
            // The engine's own connection, which goes through libpq.
            qsizetype mark = loggedLines(m_folder);
            data::Connection native;
            nativeOpens << measure([&] { native.open(text); });
            nativeStatements[0] = statementsSince(m_folder, mark);
            mark = loggedLines(m_folder);
            nativeFills << measure([&] { check(native.openRecordset(pendingList())->rowCount()); });
            nativeStatements[1] = statementsSince(m_folder, mark);
        }
    }
    const QString size = QStringLiteral("%L1 tasks, PostgreSQL").arg(pending);
    const auto logged = [](const QStringList& statements) {
        return QStringLiteral("(%1 statements logged)").arg(statements.size());
    };
    printSamples(QStringLiteral("psqlODBC: open a login"), size, odbcOpens, logged(odbcStatements[0]));
    printSamples(QStringLiteral("libpq (the engine): open a login"), size, nativeOpens, logged(nativeStatements[0]));
    printSamples(QStringLiteral("psqlODBC: pending list read"), size, odbcFills, logged(odbcStatements[1]));
    printSamples(QStringLiteral("libpq (the engine): pending list read"), size, nativeFills,
                 logged(nativeStatements[1]));
    QTextStream out(stdout);
    const auto list = [&out](const QString& title, const QStringList& statements) {
        out << title << Qt::endl;
        for (const QString& statement : statements) {
            out << "    " << statement << Qt::endl;
        }
    };
    list(QStringLiteral("statements of one open and one read, psqlODBC:"), odbcStatements[0] + odbcStatements[1]);
    list(QStringLiteral("statements of one open and one read, libpq:"), nativeStatements[0] + nativeStatements[1]);
}

} // namespace bench
