#include "data/timeentries/runningentries.h"

#include "data/connection.h"

namespace data::runningEntries {
namespace {

QString runningOn(const QString& column, qint64 id)
{
    return QStringLiteral("SELECT * FROM tbProcessos_Trabalhos_Tarefas_Lancamentos WHERE closed = 0 AND "
                          "inprogress <> 0 AND ") +
           column + QStringLiteral(" = ") + QString::number(id);
}

} // namespace

QString noneRunning(const QString& column, qint64 id)
{
    return QStringLiteral(" AND NOT EXISTS (") + runningOn(column, id) + QLatin1Char(')');
}

QString finishRefusal()
{
    return QStringLiteral("Não pode finalizar esta tarefa sem primeiro terminar o contador activo.");
}

bool anyRunning(const QString& column, qint64 id)
{
    auto running = Data::SqlServer().openRecordset(runningOn(column, id));
    const bool found = !running->eof();
    running->close();
    return found;
}

} // namespace data::runningEntries
