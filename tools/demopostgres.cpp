#include "tools/demopostgres.h"

#include "core/errorvalue.h"
#include "data/embeddedfile.h"
#include "data/postgresadmin.h"
#include "data/schema.h"
#include "tools/demooffice.h"
#include "tools/demostaff.h"

namespace tools {

namespace {

void copyTables(const QString& file, data::PostgresAdmin& office)
{
    data::embedded::EmbeddedFile source(file, data::embedded::EmbeddedFile::Mode::Existing);
    office.begin();
    for (const QString& table : data::schema::tableNames()) {
        QStringList columns;
        const QList<QVariantList> rows = source.select(QStringLiteral("SELECT * FROM ") + table, &columns);
        office.insertRows(table, columns, rows);
    }
    // Entries counted from now on are numbered after the copied ones.
    office.exec(QStringLiteral("SELECT setval(pg_get_serial_sequence('tbprocessos_trabalhos_tarefas_lancamentos', "
                               "'lancamento_id'), COALESCE(MAX(lancamento_id), 0) + 1, false) "
                               "FROM tbprocessos_trabalhos_tarefas_lancamentos"));
    office.commit();
}

} // namespace

void copyToPostgres(const QString& file, const PostgresTarget& target, bool replace)
{
    data::PostgresAdmin server(target.server, target.admin, target.adminPassword, QStringLiteral("postgres"),
                               target.security);
    const QList<QVariantList> existing = server.select(QStringLiteral("SELECT 1 FROM pg_database WHERE datname = ") +
                                                       data::PostgresAdmin::text(target.catalog));
    if (!existing.isEmpty()) {
        if (!replace) {
            throw core::Error(core::errc::InvalidProcedureCall,
                              QStringLiteral("A base de dados %1 já existe no servidor").arg(target.catalog));
        }
        server.dropOffice(target.catalog);
    }
    server.setLogin(DemoOffice::sharedUser(), DemoOffice::sharedPassword());
    for (const DemoLogin& login : DemoStaff::logins()) {
        server.setLogin(login.user, login.password);
    }
    server.createOffice(target.catalog, DemoOffice::sharedUser().toLower());
    try {
        data::PostgresAdmin office(target.server, target.admin, target.adminPassword, target.catalog, target.security);
        copyTables(file, office);
    } catch (const core::Error&) {
        server.dropOffice(target.catalog);
        throw;
    }
}

} // namespace tools
