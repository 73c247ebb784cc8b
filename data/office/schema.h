#pragma once

#include <QLatin1StringView>
#include <QString>
#include <QStringList>

// The schema of the case database as far as the counter needs it: the names of the tables and views
// that its creation scripts make (the demo office writes its rows through them), and the scripts
// themselves, for the embedded engine and in T-SQL for SQL Server. The system's statements spell
// table and column names in their own text; nothing here builds SQL.
namespace data::schema {

// Tables.
inline constexpr QLatin1StringView tbProcessos{"tbProcessos"};
inline constexpr QLatin1StringView tbProcessos_Trabalhos{"tbProcessos_Trabalhos"};
inline constexpr QLatin1StringView tbProcessos_Trabalhos_Tarefas{"tbProcessos_Trabalhos_Tarefas"};
inline constexpr QLatin1StringView tbProcessos_Trabalhos_Tarefas_Lancamentos{
    "tbProcessos_Trabalhos_Tarefas_Lancamentos"};
inline constexpr QLatin1StringView tbProcessos_Trabalhos_Tarefas_Lancamentos_Bases{
    "tbProcessos_Trabalhos_Tarefas_Lancamentos_Bases"};
inline constexpr QLatin1StringView tbProcessos_Trabalhos_Tarefas_Lancamentos_Precos{
    "tbProcessos_Trabalhos_Tarefas_Lancamentos_Precos"};
inline constexpr QLatin1StringView tbAdvogados{"tbAdvogados"};
inline constexpr QLatin1StringView tbUsers{"tbUsers"};
inline constexpr QLatin1StringView tbContactos{"tbContactos"};
inline constexpr QLatin1StringView tbSecurityPolicies{"tbSecurityPolicies"};
inline constexpr QLatin1StringView tbGroups_Users_Links{"tbGroups_Users_Links"};
inline constexpr QLatin1StringView tbGroups{"tbGroups"};

// Views.
inline constexpr QLatin1StringView vwAdvogados{"vwAdvogados"};
inline constexpr QLatin1StringView vwProcessos_Trabalhos_Tarefas{"vwProcessos_Trabalhos_Tarefas"};
inline constexpr QLatin1StringView vwProcessos_Trabalhos_Tarefas_Lancamentos{
    "vwProcessos_Trabalhos_Tarefas_Lancamentos"};

// The dialects of the scripts that create the tables, views and indexes above in an empty database.
enum class Dialect {
    Embedded,  // the embedded engine: statements separated by ';' at line ends
    SqlServer, // T-SQL, batches separated by GO lines
};

// The creation script of a dialect, as shipped with the library.
// Throws core::Error when the script is missing from the build.
QString script(Dialect dialect);

// Creates the tables, views and indexes in an embedded database file made by
// embedded::createDatabase. Throws core::Error (from the engine) when a statement fails,
// for example when the tables exist already.
void create(const QString& databasePath);

// The names of the tables and views the scripts create, in creation order.
QStringList tableNames();
QStringList viewNames();

} // namespace data::schema
