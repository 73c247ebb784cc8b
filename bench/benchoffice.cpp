#include "bench/benchoffice.h"

#include "core/errorvalue.h"
#include "data/connection.h"
#include "data/engines/embedded.h"
#include "data/office/postgresadmin.h"
#include "tools/demooffice.h"
#include "tools/demosettings.h"
#include "tools/demostaff.h"

#include <QDateTime>
#include <QDir>
#include <QFile>

#include <algorithm>
#include <cmath>

namespace bench {
namespace {

// Every table the lawyer's pending list reads, by the view the counter fills it from.
const QString Pending = QStringLiteral("SELECT t.tarefa_id FROM tbProcessos_Trabalhos_Tarefas t "
                                       "JOIN tbProcessos_Trabalhos w ON w.trabalho_id = t.trabalho_id "
                                       "WHERE t.closed = 0 AND w.advogado_id = %1");

} // namespace

QString BenchOffice::lawyerLogin()
{
    return QStringLiteral("mferreira");
}

int BenchOffice::lawyerId()
{
    return 1;
}

QString BenchOffice::password()
{
    return tools::DemoStaff::password();
}

BenchOffice::BenchOffice(double officeScale)
    : m_scale(officeScale)
    , m_day(QDate::currentDate())
{
    if (!m_dir.isValid()) {
        throw core::Error(core::errc::InvalidProcedureCall, QStringLiteral("No temporary folder for the offices"));
    }
    qputenv("ORV_REGISTRY_USER_DIR", QFile::encodeName(m_dir.filePath(QStringLiteral("user"))));
    qputenv("ORV_REGISTRY_MACHINE_DIR", QFile::encodeName(m_dir.filePath(QStringLiteral("machine"))));
    qputenv("ORV_STATE_DIR", QFile::encodeName(m_dir.filePath(QStringLiteral("state"))));
}

QString BenchOffice::baseOffice(int generatorSize)
{
    if (!m_bases.contains(generatorSize)) {
        const QString path = m_dir.filePath(QStringLiteral("base-%1.db").arg(generatorSize));
        tools::DemoOffice(m_day, generatorSize).build(path);
        data::embedded::setLoginHashCost(data::embedded::HashCost::Interactive);
        data::embedded::addLogin(path, tools::DemoOffice::sharedUser(), tools::DemoOffice::sharedPassword());
        data::embedded::addLogin(path, lawyerLogin(), password());
        m_bases.insert(generatorSize, path);
    }
    return m_bases.value(generatorSize);
}

void BenchOffice::useServer(const data::PostgresTarget& server)
{
    const auto session = server.session();
    for (const tools::DemoLogin& login : tools::DemoStaff::logins()) {
        session->setLogin(login.user, login.password);
    }
    data::Connection::setEngine(data::Connection::Engine::PostgreSQL);
    data::OdbcConnection::setTransportSecurity(server.security);
    m_server = server;
}

QString BenchOffice::sizeLabel(int pending) const
{
    return QStringLiteral("%L1 tasks").arg(pending) + (m_server ? QStringLiteral(", PostgreSQL") : QString());
}

QString BenchOffice::sizeLabel(int pending, int officeTasks) const
{
    return sizeLabel(pending) + QStringLiteral(", office %L1").arg(officeSize(pending, officeTasks));
}

int BenchOffice::officeSize(int pending, int officeTasks) const
{
    return std::clamp(officeTasks > 0 ? officeTasks : int(std::lround(pending * m_scale)), tools::DemoOffice::MinSize,
                      tools::DemoOffice::MaxSize);
}

QString BenchOffice::make(int pending, int running, int officeTasks)
{
    const QString file = makeFile(pending, running, officeTasks);
    if (!m_server) {
        return file;
    }
    data::PostgresTarget target = *m_server;
    target.catalog = QStringLiteral("bench_%1").arg(m_made);
    data::postgresoffice::create(
        target, tools::DemoOffice::sharedUser(), tools::DemoOffice::sharedPassword(), {true, true},
        [&](data::PostgresAdmin& office) { data::postgresoffice::copyOfficeFile(file, office); });
    return target.catalog;
}

QString BenchOffice::makeFile(int pending, int running, int officeTasks)
{
    const int generatorSize = officeSize(pending, officeTasks);
    const QString path = m_dir.filePath(QStringLiteral("office-%1.db").arg(++m_made));
    if (!QFile::copy(baseOffice(generatorSize), path)) {
        throw core::Error(core::errc::InvalidProcedureCall, QStringLiteral("Cannot copy the office to %1").arg(path));
    }
    const QString mine = Pending.arg(lawyerId());
    // Never on an earlier day: the counter would ask about such a count at start-up.
    const QDateTime now = QDateTime::currentDateTime();
    const QString start = data::embedded::toStorage(std::max(now.addSecs(-3600), QDateTime(now.date(), QTime(0, 0))));
    // Copies of her open tasks double the list until it is long enough; then the newest beyond the
    // size are closed. Running entries are made afresh on her first tasks.
    QString script;
    for (int round = 0; round < 16; ++round) {
        script += QStringLiteral("INSERT INTO tbProcessos_Trabalhos_Tarefas (trabalho_id, descrit, data, closed, "
                                 "escondida) SELECT trabalho_id, descrit || ' (cópia)', data, 0, escondida "
                                 "FROM tbProcessos_Trabalhos_Tarefas WHERE tarefa_id IN (%1) "
                                 "AND (SELECT COUNT(*) FROM (%1)) < %2;\n")
                      .arg(mine)
                      .arg(pending);
    }
    script += QStringLiteral("UPDATE tbProcessos_Trabalhos_Tarefas SET closed = 1 WHERE tarefa_id IN "
                             "(%1 ORDER BY t.tarefa_id DESC LIMIT max(0, (SELECT COUNT(*) FROM (%1)) - %2));\n")
                  .arg(mine)
                  .arg(pending);
    script += QStringLiteral("DELETE FROM tbProcessos_Trabalhos_Tarefas_Lancamentos WHERE inprogress <> 0;\n");
    script += QStringLiteral("INSERT INTO tbProcessos_Trabalhos_Tarefas_Lancamentos (tarefa_id, trabalho_id, "
                             "processo_id, advogado_id, data, base_id, unidades, preco_id, inprogress, closed, "
                             "inprogress_time) SELECT t.tarefa_id, t.trabalho_id, w.processo_id, %1, '%2', %3, 0, "
                             "%4, 1, 0, '%2' FROM tbProcessos_Trabalhos_Tarefas t JOIN tbProcessos_Trabalhos w ON "
                             "w.trabalho_id = t.trabalho_id WHERE t.tarefa_id IN (%5 ORDER BY t.tarefa_id LIMIT %6);\n")
                  .arg(lawyerId())
                  .arg(start)
                  .arg(tools::DemoStaff::CounterBaseId)
                  .arg(tools::DemoStaff::CurrentPrecoId)
                  .arg(mine)
                  .arg(running);
    data::embedded::runScript(path, script);
    return path;
}

void BenchOffice::pointSettingsAt(const QString& database)
{
    if (m_server) {
        data::PostgresTarget target = *m_server;
        target.catalog = database;
        data::postgresoffice::writeSettings(QStringLiteral("DEMO"), target, tools::DemoOffice::sharedUser(),
                                            tools::DemoOffice::sharedPassword());
    } else {
        tools::DemoSettings::write(QStringLiteral("DEMO"), database, tools::DemoOffice::catalog(),
                                   tools::DemoOffice::sharedUser(), tools::DemoOffice::sharedPassword());
    }
    tools::DemoSettings::remember(lawyerLogin(), password());
}

QString BenchOffice::connectionText(const QString& database, const QString& user, const QString& password) const
{
    // On the server the database is the catalog; an embedded office is the file the Data Source names.
    return QStringLiteral("Provider=SQLOLEDB.1;Persist Security Info=False;User ID=%1;Password=%2;"
                          "Initial Catalog=%3;Data Source=%4;Connect Timeout=15")
        .arg(user.isEmpty() ? tools::DemoOffice::sharedUser() : user,
             user.isEmpty() ? tools::DemoOffice::sharedPassword() : password,
             m_server ? database : tools::DemoOffice::catalog(), m_server ? m_server->server : database);
}

} // namespace bench
