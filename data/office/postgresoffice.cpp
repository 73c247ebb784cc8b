#include "data/office/postgresoffice.h"

#include "core/errorvalue.h"
#include "data/connection.h"
#include "data/engines/embeddedfile.h"
#include "data/office/machinesettings.h"
#include "data/office/postgresadmin.h"
#include "data/office/schema.h"

namespace data {

std::unique_ptr<PostgresAdmin> PostgresTarget::session(const QString& database) const
{
    return std::make_unique<PostgresAdmin>(server, admin, adminPassword,
                                           database.isEmpty() ? QStringLiteral("postgres") : database, security);
}

namespace postgresoffice {

void create(const PostgresTarget& target, const QString& sharedUser, const QString& sharedPassword, Replacing replacing,
            const std::function<void(PostgresAdmin& office)>& fill)
{
    const auto server = target.session();
    const bool exists = !server
                             ->select(QStringLiteral("SELECT 1 FROM pg_database WHERE datname = ") +
                                      PostgresAdmin::text(target.catalog))
                             .isEmpty();
    if (exists) {
        if (!replacing.database) {
            throw core::Error(core::errc::InvalidProcedureCall,
                              QStringLiteral("A base de dados %1 já existe no servidor").arg(target.catalog));
        }
        server->dropOffice(target.catalog);
    }
    if (!server->setLogin(sharedUser, sharedPassword,
                          replacing.sharedRole ? PostgresAdmin::LoginExpected::Any
                                               : PostgresAdmin::LoginExpected::New)) {
        throw core::Error(core::errc::InvalidProcedureCall,
                          QStringLiteral("O papel %1 já existe no servidor").arg(sharedUser.toLower()));
    }
    server->createOffice(target.catalog, sharedUser.toLower());
    try {
        fill(*target.session(target.catalog));
    } catch (const core::Error&) {
        server->dropOffice(target.catalog);
        throw;
    }
}

void addCountingRules(PostgresAdmin& office)
{
    const QStringList columns{QStringLiteral("base_id"), QStringLiteral("descrit"), QStringLiteral("counter")};
    office.insertRows(schema::tbProcessos_Trabalhos_Tarefas_Lancamentos_Bases, columns,
                      {{1, QStringLiteral("Tempo"), 1}});
    office.insertRows(schema::tbProcessos_Trabalhos_Tarefas_Lancamentos_Precos,
                      {QStringLiteral("preco_id"), QStringLiteral("descrit"), QStringLiteral("counter")},
                      {{1, QStringLiteral("Tabela de honorários"), 1}});
}

void copyOfficeFile(const QString& file, PostgresAdmin& office)
{
    embedded::EmbeddedFile source(file, embedded::EmbeddedFile::Mode::Existing);
    office.begin();
    try {
        for (const QString& table : schema::tableNames()) {
            QStringList columns;
            const QList<QVariantList> rows = source.select(QStringLiteral("SELECT * FROM ") + table, &columns);
            office.insertRows(table, columns, rows);
        }
        office.exec(QStringLiteral("SELECT setval(pg_get_serial_sequence('tbprocessos_trabalhos_tarefas_lancamentos', "
                                   "'lancamento_id'), COALESCE(MAX(lancamento_id), 0) + 1, false) "
                                   "FROM tbprocessos_trabalhos_tarefas_lancamentos"));
    } catch (const core::Error&) {
        office.rollback();
        throw;
    }
    office.commit();
}

void writeSettings(const QString& serverName, const PostgresTarget& target, const QString& sharedUser,
                   const QString& sharedPassword)
{
    const MachineSettings settings{
        serverName,    QStringLiteral("False"),      sharedUser,     sharedPassword, target.catalog,
        target.server, QStringLiteral("PostgreSQL"), target.security};
    settings.write();
}

std::optional<PostgresTarget> readSettings(const MachineSettings& settings)
{
    if (Connection::engineNamed(settings.engine) != Connection::Engine::PostgreSQL) {
        return std::nullopt;
    }
    PostgresTarget target;
    target.server = settings.dataSource;
    target.catalog = settings.catalog;
    target.security = settings.security;
    return target;
}

} // namespace postgresoffice

} // namespace data
