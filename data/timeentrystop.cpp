#include "data/timeentrystop.h"

#include "data/connection.h"
#include "data/moddata.h"

namespace data::timeEntries {
namespace {

// An entry must have counted more than this many minutes to be kept.
constexpr qint64 ShortestEntry = 1;

const QString StillRunning = QStringLiteral(" AND inprogress <> 0 AND data_fim IS NULL");

} // namespace

qint64 countedMinutes(const QDateTime& start, const QDateTime& end)
{
    constexpr qint64 Minute = 60000;
    const qint64 elapsed = start.msecsTo(end);
    qint64 minutes = elapsed / Minute;
    qint64 rest = elapsed % Minute;
    if (rest < 0) {
        minutes -= 1;
        rest += Minute;
    }
    if (2 * rest > Minute || (2 * rest == Minute && minutes % 2 != 0)) {
        minutes += 1;
    }
    return minutes;
}

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
        Data::SqlServer().execute(
            QStringLiteral("DELETE FROM tbProcessos_Trabalhos_Tarefas_Lancamentos WHERE lancamento_id = ") + id +
            StillRunning);
        return StopAt::Deleted;
    }
    Data::SqlServer().execute(QStringLiteral("UPDATE tbProcessos_Trabalhos_Tarefas_Lancamentos SET data_fim = ") +
                              SqlLiteral(end, literal::Date) + QStringLiteral(", inprogress = 0, unidades = ") +
                              SqlLiteral(minutes, literal::Number) + QStringLiteral(" WHERE lancamento_id = ") + id +
                              StillRunning);
    return StopAt::Closed;
}

} // namespace data::timeEntries
