#include "data/timeentries/timeentrystop.h"

#include "data/connection.h"
#include "data/moddata.h"
#include "data/timeentries/timeentries.h"

namespace data::timeEntries {

StopAt stopAt(qint64 entry, const QDateTime& end)
{
    using modData::SqlLiteral;
    namespace literal = modData::literal;
    const QString id = QString::number(entry);
    auto records = Data::SqlServer().openRecordset(
        QStringLiteral("SELECT data, inprogress, data_fim FROM tbProcessos_Trabalhos_Tarefas_Lancamentos WHERE "
                       "lancamento_id = ") +
        id);
    const bool running = !records->eof() && records->value(QStringLiteral("data_fim")).isNull() &&
                         !records->value(QStringLiteral("inprogress")).isNull() &&
                         records->value(QStringLiteral("inprogress")).toDouble() != 0;
    const QDateTime started = running ? records->value(QStringLiteral("data")).toDateTime() : QDateTime();
    records->close();
    if (!running) {
        return StopAt::NotRunning;
    }
    const qint64 minutes = countedMinutes(started, end);
    if (minutes <= ShortestEntry) {
        return drop(entry) ? StopAt::Deleted : StopAt::NotRunning;
    }
    return close(entry, minutes, SqlLiteral(end, literal::Date)) ? StopAt::Closed : StopAt::NotRunning;
}

} // namespace data::timeEntries
