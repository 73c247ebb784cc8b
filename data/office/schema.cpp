#include "data/office/schema.h"

#include "data/engines/embedded.h"
#include "data/engines/embeddedlayout.h"

namespace data::schema {

namespace {

QString resourcePath(Dialect dialect)
{
    switch (dialect) {
    case Dialect::Embedded:
        return QStringLiteral(":/data/sql/embedded.sql");
    case Dialect::SqlServer:
        return QStringLiteral(":/data/sql/sqlserver.sql");
    }
    return QString();
}

} // namespace

QString script(Dialect dialect)
{
    const QString script = embedded::readScript(resourcePath(dialect));
    return dialect == Dialect::Embedded ? script + QStringLiteral("\n") + embedded::layoutScript() : script;
}

void create(const QString& databasePath)
{
    embedded::runScript(databasePath, script(Dialect::Embedded));
}

QStringList tableNames()
{
    return {
        tbContactos,
        tbAdvogados,
        tbUsers,
        tbGroups,
        tbGroups_Users_Links,
        tbSecurityPolicies,
        tbProcessos,
        tbProcessos_Trabalhos,
        tbProcessos_Trabalhos_Tarefas,
        tbProcessos_Trabalhos_Tarefas_Lancamentos_Bases,
        tbProcessos_Trabalhos_Tarefas_Lancamentos_Precos,
        tbProcessos_Trabalhos_Tarefas_Lancamentos,
    };
}

QStringList viewNames()
{
    return {vwAdvogados, vwProcessos_Trabalhos_Tarefas, vwProcessos_Trabalhos_Tarefas_Lancamentos};
}

} // namespace data::schema
