#pragma once

#include <QLatin1StringView>
#include <QString>
#include <QStringList>

// The tables, views and columns of the case database that the counter touches, by the names its
// statements use. Some names are written in two letter cases by the statements (Processo_ID and
// processo_id, the time-entry table with a lower-case l); both spellings are declared so that a
// statement is built with the exact text it sends. The database compares names without regard to
// letter case, and fields are read by name without regard to letter case.
namespace data::schema {

// Tables.
inline constexpr QLatin1StringView tbProcessos{"tbProcessos"};
inline constexpr QLatin1StringView tbProcessos_Trabalhos{"tbProcessos_Trabalhos"};
inline constexpr QLatin1StringView tbProcessos_Trabalhos_Tarefas{"tbProcessos_Trabalhos_Tarefas"};
inline constexpr QLatin1StringView tbProcessos_Trabalhos_Tarefas_Lancamentos{
    "tbProcessos_Trabalhos_Tarefas_Lancamentos"};
// The same table as written by the time-entry editor's lookup.
inline constexpr QLatin1StringView tbProcessos_Trabalhos_Tarefas_lancamentos{
    "tbProcessos_Trabalhos_Tarefas_lancamentos"};
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

// Columns of the tables and views.
namespace col {
// Identifiers (whole numbers, spliced as decimal text).
inline constexpr QLatin1StringView processo_id{"processo_id"};
inline constexpr QLatin1StringView Processo_ID{"Processo_ID"};
inline constexpr QLatin1StringView trabalho_id{"trabalho_id"};
inline constexpr QLatin1StringView tarefa_id{"tarefa_id"};
inline constexpr QLatin1StringView lancamento_id{"lancamento_id"};
inline constexpr QLatin1StringView contacto_id{"contacto_id"};
inline constexpr QLatin1StringView Contacto_ID{"Contacto_ID"};
// The lawyer identifier: the lawyer's contacto_id.
inline constexpr QLatin1StringView advogado_id{"advogado_id"};
inline constexpr QLatin1StringView base_id{"base_id"};
inline constexpr QLatin1StringView Base_ID{"Base_ID"};
inline constexpr QLatin1StringView preco_id{"preco_id"};
inline constexpr QLatin1StringView Preco_ID{"Preco_ID"};
inline constexpr QLatin1StringView user_id{"user_id"};
inline constexpr QLatin1StringView group_id{"group_id"};

// Flags (numbers compared with 0).
inline constexpr QLatin1StringView closed{"closed"};
inline constexpr QLatin1StringView escondida{"escondida"};
inline constexpr QLatin1StringView inprogress{"inprogress"};
inline constexpr QLatin1StringView counter{"counter"};
inline constexpr QLatin1StringView judicial{"judicial"};
inline constexpr QLatin1StringView prazos{"prazos"};
inline constexpr QLatin1StringView activo{"activo"};

// Dates.
inline constexpr QLatin1StringView data{"data"};
inline constexpr QLatin1StringView data_fim{"data_fim"};
inline constexpr QLatin1StringView data_inicio{"data_inicio"};
inline constexpr QLatin1StringView data_legal{"data_legal"};
inline constexpr QLatin1StringView data_escritorio{"data_escritorio"};
inline constexpr QLatin1StringView inprogress_time{"inprogress_time"};

// Numbers.
inline constexpr QLatin1StringView unidades{"unidades"};
inline constexpr QLatin1StringView preco{"preco"};
inline constexpr QLatin1StringView total_tempo{"total_tempo"};

// Texts.
inline constexpr QLatin1StringView descrit{"descrit"};
inline constexpr QLatin1StringView code{"code"};
inline constexpr QLatin1StringView nome_union{"nome_union"};
inline constexpr QLatin1StringView processo_no_completo{"processo_no_completo"};
inline constexpr QLatin1StringView advogado_descrit{"advogado_descrit"};
inline constexpr QLatin1StringView cliente{"cliente"};
inline constexpr QLatin1StringView trabalho{"trabalho"};
inline constexpr QLatin1StringView tarefa{"tarefa"};
inline constexpr QLatin1StringView users_groups{"users_groups"};
} // namespace col

// Result columns named by the statements themselves.
namespace result {
inline constexpr QLatin1StringView no{"no"};
inline constexpr QLatin1StringView last{"last"};
inline constexpr QLatin1StringView total{"total"};
inline constexpr QLatin1StringView user_code{"user_code"};
// "SELECT GETDATE() AS DATE", read back as "date".
inline constexpr QLatin1StringView DATE{"DATE"};
inline constexpr QLatin1StringView date{"date"};
} // namespace result

// The scripts that create the tables, views and indexes above in an empty database.
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
