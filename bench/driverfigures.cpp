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

// The statements among the lines logged since `from`.
int statementsSince(const QString& folder, qsizetype from)
{
    QFile log(folder + QStringLiteral("/server.log"));
    if (!log.open(QIODevice::ReadOnly)) {
        return -1;
    }
    const QList<QByteArray> lines = log.readAll().split('\n');
    int statements = 0;
    for (qsizetype i = from; i < lines.size(); ++i) {
        statements += lines.at(i).contains("LOG:  statement: ") || lines.at(i).contains("LOG:  execute ") ? 1 : 0;
    }
    return statements;
}

class NativeLink
{
public:
    NativeLink(const data::PostgresTarget& server, const QString& database)
    {
        const QStringList hostAndPort = server.server.split(QLatin1Char(','));
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), Name);
        db.setHostName(hostAndPort.value(0));
        db.setPort(hostAndPort.value(1).toInt());
        db.setDatabaseName(database);
        db.setUserName(tools::DemoOffice::sharedUser().toLower());
        db.setPassword(tools::DemoOffice::sharedPassword());
        db.setConnectOptions(QStringLiteral("connect_timeout=15"));
        if (!db.open()) {
            throw core::Error(core::errc::ProviderError, db.lastError().text());
        }
        QSqlQuery session(db);
        session.exec(QStringLiteral("SET lock_timeout = 2000"));
    }
    ~NativeLink()
    {
        QSqlDatabase::database(Name, false).close();
        QSqlDatabase::removeDatabase(Name);
    }
    NativeLink(const NativeLink&) = delete;
    NativeLink& operator=(const NativeLink&) = delete;

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
    static inline const QString Name = QStringLiteral("bench-native");
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
    int odbcStatements[2] = {0, 0};
    int nativeStatements[2] = {0, 0};
    for (int round = 0; round < rounds; ++round) {
        {
            qsizetype mark = loggedLines(m_folder);
            data::Connection odbc;
            odbcOpens << measure([&] { odbc.open(text); });
            odbcStatements[0] = statementsSince(m_folder, mark);
            mark = loggedLines(m_folder);
            odbcFills << measure([&] {
                auto records = odbc.openRecordset(pendingList());
                if (records->rowCount() != pending) {
                    throw core::Error(core::errc::InvalidProcedureCall, QStringLiteral("Not the whole list"));
                }
            });
            odbcStatements[1] = statementsSince(m_folder, mark);
        }
        {
            qsizetype mark = loggedLines(m_folder);
            std::unique_ptr<NativeLink> native;
            nativeOpens << measure([&] { native = std::make_unique<NativeLink>(m_server.target(), database); });
            nativeStatements[0] = statementsSince(m_folder, mark);
            mark = loggedLines(m_folder);
            nativeFills << measure([&] {
                if (native->rows(translated) != pending) {
                    throw core::Error(core::errc::InvalidProcedureCall, QStringLiteral("Not the whole list"));
                }
            });
            nativeStatements[1] = statementsSince(m_folder, mark);
        }
    }
    const QString size = QStringLiteral("%L1 tasks, PostgreSQL").arg(pending);
    printSamples(QStringLiteral("psqlODBC: open a login"), size, odbcOpens,
                 QStringLiteral("(%1 statements logged)").arg(odbcStatements[0]));
    printSamples(QStringLiteral("libpq (QPSQL): open a login"), size, nativeOpens,
                 QStringLiteral("(%1 statements logged)").arg(nativeStatements[0]));
    printSamples(QStringLiteral("psqlODBC: pending list read"), size, odbcFills,
                 QStringLiteral("(%1 statements logged)").arg(odbcStatements[1]));
    printSamples(QStringLiteral("libpq (QPSQL): pending list read"), size, nativeFills,
                 QStringLiteral("(%1 statements logged)").arg(nativeStatements[1]));
}

} // namespace bench
