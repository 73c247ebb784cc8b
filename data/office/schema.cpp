#include "data/office/schema.h"

#include "core/errorvalue.h"
#include "data/engines/embedded.h"

#include <QFile>

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
    QFile file(resourcePath(dialect));
    if (!file.open(QIODevice::ReadOnly)) {
        throw core::Error(core::errc::InvalidProcedureCall,
                          QStringLiteral("Script de criação em falta: %1").arg(file.fileName()));
    }
    return QString::fromUtf8(file.readAll());
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
