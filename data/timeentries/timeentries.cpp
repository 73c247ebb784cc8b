#include "data/timeentries/timeentries.h"

#include "core/clock.h"
#include "core/errorvalue.h"
#include "data/binding/modcontrolfill.h"
#include "data/connection.h"
#include "data/moddata.h"
#include "data/valuetext.h"

#include <QStringList>

#include <functional>

namespace data::timeEntries {

qint64 lookUpWhole(const QString& statement, const QString& field)
{
    auto records = Data::SqlServer().openRecordset(statement);
    qint64 value = 0;
    if (!records->eof()) {
        const QVariant found = records->value(field);
        value = found.isNull() ? 0 : valueText::toLong(found);
    }
    records->close();
    return value;
}

qint64 workOfTask(qint64 task)
{
    return lookUpWhole(QStringLiteral("SELECT trabalho_id FROM tbProcessos_Trabalhos_Tarefas WHERE tarefa_id = ") +
                           QString::number(task),
                       QStringLiteral("trabalho_id"));
}

qint64 caseOfWork(qint64 work)
{
    return lookUpWhole(QStringLiteral("SELECT Processo_ID FROM tbProcessos_Trabalhos WHERE trabalho_id = ") +
                           QString::number(work),
                       QStringLiteral("Processo_ID"));
}

qint64 clientOfCase(qint64 caseId)
{
    return lookUpWhole(QStringLiteral("SELECT Contacto_ID FROM tbProcessos WHERE Processo_ID = ") +
                           QString::number(caseId),
                       QStringLiteral("Contacto_ID"));
}

qint64 countingBasis()
{
    return lookUpWhole(
        QStringLiteral("SELECT Base_ID FROM tbProcessos_Trabalhos_Tarefas_Lancamentos_Bases WHERE counter <> 0"),
        QStringLiteral("Base_ID"));
}

qint64 priceRule()
{
    return lookUpWhole(
        QStringLiteral("SELECT Preco_ID FROM tbProcessos_Trabalhos_Tarefas_Lancamentos_Precos WHERE counter <> 0"),
        QStringLiteral("Preco_ID"));
}

float lawyerPrice(qint32 lawyer)
{
    auto records = Data::SqlServer().openRecordset(QStringLiteral("SELECT * FROM tbAdvogados WHERE contacto_id = ") +
                                                   QString::number(lawyer));
    float price = 0;
    if (!records->eof()) {
        const QVariant value = records->value(QStringLiteral("preco"));
        price = value.isNull() ? 0.0f : value.toFloat();
    }
    records->close();
    return price;
}

QString missingFieldText(const QString& field)
{
    return QStringLiteral("Erro no campo %1. Não foi possível iniciar o registo. Contacto o Administrador do Sistema.")
        .arg(field);
}

QString lookUpOwners(qint64 task, NewEntry& entry)
{
    entry.task = task;
    entry.work = workOfTask(task);
    if (entry.work == 0) {
        return QStringLiteral("TRABALHO_ID");
    }
    entry.caseId = caseOfWork(entry.work);
    if (entry.caseId == 0) {
        return QStringLiteral("Processo_ID");
    }
    entry.client = clientOfCase(entry.caseId);
    if (entry.client == 0) {
        return QStringLiteral("Contacto_ID");
    }
    return QString();
}

QString lookUpNewEntry(qint64 task, qint32 lawyer, NewEntry& entry)
{
    const QString missing = lookUpOwners(task, entry);
    if (!missing.isEmpty()) {
        return missing;
    }
    entry.lawyer = lawyer;
    entry.basis = countingBasis();
    if (entry.basis == 0) {
        return QStringLiteral("Base_ID");
    }
    entry.priceRule = priceRule();
    if (entry.priceRule == 0) {
        return QStringLiteral("Preco_ID");
    }
    entry.price = lawyerPrice(lawyer);
    return QString();
}

QString insertStatement(const NewEntry& entry)
{
    using modData::SqlLiteral;
    namespace literal = modData::literal;
    const bool running = !entry.start.has_value();
    QString columns = QStringLiteral("tarefa_id, trabalho_id, processo_id, contacto_id, data, data_fim, advogado_id, "
                                     "base_id, unidades, preco_id, preco, inprogress, closed, inprogress_time");
    QStringList values{QString::number(entry.task),
                       QString::number(entry.work),
                       QString::number(entry.caseId),
                       QString::number(entry.client),
                       running ? QStringLiteral("GETDATE()") : SqlLiteral(*entry.start, literal::Date),
                       entry.end ? SqlLiteral(*entry.end, literal::Date) : QStringLiteral("null"),
                       QString::number(entry.lawyer),
                       QString::number(entry.basis),
                       running ? QStringLiteral("0") : SqlLiteral(entry.minutes, literal::Number),
                       QString::number(entry.priceRule),
                       SqlLiteral(QVariant::fromValue(entry.price), literal::Number),
                       running ? QStringLiteral("1") : QStringLiteral("0"),
                       QStringLiteral("0"),
                       QStringLiteral("GETDATE()")};
    if (entry.note) {
        columns += QStringLiteral(", descrit");
        values << SqlLiteral(*entry.note, literal::Text);
    }
    return QStringLiteral("INSERT INTO tbProcessos_Trabalhos_Tarefas_Lancamentos (") + columns +
           QStringLiteral(") VALUES (") + values.join(QStringLiteral(", ")) + QLatin1Char(')');
}

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

namespace {

const QString StillRunning = QStringLiteral(" AND inprogress <> 0 AND data_fim IS NULL");
const QString ServerNow = QStringLiteral("GETDATE()");

} // namespace

QString closeStatement(qint64 entry, qint64 minutes, const QString& end)
{
    return QStringLiteral("UPDATE tbProcessos_Trabalhos_Tarefas_Lancamentos SET data_fim = ") + end +
           QStringLiteral(", inprogress = 0, unidades = ") + modData::SqlLiteral(minutes, modData::literal::Number) +
           QStringLiteral(" WHERE lancamento_id = ") + QString::number(entry) + StillRunning;
}

QString dropStatement(qint64 entry)
{
    return QStringLiteral("DELETE FROM tbProcessos_Trabalhos_Tarefas_Lancamentos WHERE lancamento_id = ") +
           QString::number(entry) + StillRunning;
}

bool close(qint64 entry, qint64 minutes, const QString& end)
{
    return Data::SqlServer().execute(closeStatement(entry, minutes, end)) > 0;
}

bool drop(qint64 entry)
{
    return Data::SqlServer().execute(dropStatement(entry)) > 0;
}

namespace {

// The server's time of a moment of the workstation's clock now past, as the statement's date: the server's clock
// now less the time gone by since. GETDATE() when the server's clock cannot be read.
QString serverTimeOf(const QDateTime& past)
{
    const QDateTime serverNow = modControlFill::ServerDate();
    if (serverNow.date() == QDate(1900, 1, 1)) {
        return ServerNow;
    }
    return modData::SqlLiteral(serverNow.addMSecs(-past.msecsTo(core::Clock::now())), modData::literal::Date);
}

// The start of entry while it runs (in progress, no data_fim); none when it is closed, not in progress or gone.
std::optional<QDateTime> runningSince(qint64 entry)
{
    auto record = Data::SqlServer().openRecordset(
        QStringLiteral("SELECT * FROM tbProcessos_Trabalhos_Tarefas_Lancamentos WHERE lancamento_id = ") +
        QString::number(entry));
    const bool gone = record->eof();
    const QVariant inProgress = gone ? QVariant() : record->value(QStringLiteral("inprogress"));
    const bool running = !gone && record->value(QStringLiteral("data_fim")).isNull() && !inProgress.isNull() &&
                         inProgress.toDouble() != 0;
    const QDateTime started = running ? record->value(QStringLiteral("data")).toDateTime() : QDateTime();
    record->close();
    return running ? std::optional<QDateTime>(started) : std::nullopt;
}

// Ends entry as counted from its start up to end (none: the clock's now, read after the entry), when it still runs:
// closed with those minutes and data_fim = endText() (asked only for a close), or deleted when they are
// ShortestEntry or fewer.
Untick endRunning(qint64 entry, const std::optional<QDateTime>& end, const std::function<QString()>& endText)
{
    const std::optional<QDateTime> started = runningSince(entry);
    if (!started) {
        return Untick::NotRunning;
    }
    const qint64 minutes = countedMinutes(*started, end.value_or(core::Clock::now()));
    if (minutes <= ShortestEntry) {
        return drop(entry) ? Untick::Deleted : Untick::NotRunning;
    }
    return close(entry, minutes, endText()) ? Untick::Closed : Untick::NotRunning;
}

} // namespace

Untick untick(qint64 entry, const std::optional<QDateTime>& at)
{
    return endRunning(entry, at, [&] { return at ? serverTimeOf(*at) : ServerNow; });
}

StopAt stopAt(qint64 entry, const QDateTime& end)
{
    return endRunning(entry, end, [&] { return modData::SqlLiteral(end, modData::literal::Date); });
}

qint64 insertAlone(const NewEntry& entry, const QDateTime& at, QList<qint64>& closedTasks)
{
    Connection& connection = Data::SqlServer();
    Transaction transaction(connection);
    const QString lawyer = QString::number(entry.lawyer);
    connection.execute(QStringLiteral("UPDATE tbAdvogados SET preco = preco WHERE contacto_id = ") + lawyer);
    auto running = connection.openRecordset(
        QStringLiteral("SELECT lancamento_id, tarefa_id, data FROM tbProcessos_Trabalhos_Tarefas_Lancamentos WHERE "
                       "advogado_id = ") +
        lawyer + StillRunning + QStringLiteral(" ORDER BY lancamento_id"));
    QList<qint64> closed;
    for (; !running->eof(); running->moveNext()) {
        const qint64 id = running->value(QStringLiteral("lancamento_id")).toLongLong();
        const qint64 minutes = countedMinutes(running->value(QStringLiteral("data")).toDateTime(), at);
        if (minutes > ShortestEntry) {
            if (close(id, minutes, ServerNow)) {
                closed << running->value(QStringLiteral("tarefa_id")).toLongLong();
            }
        } else {
            drop(id);
        }
    }
    running->close();
    const qint64 id = insert(entry);
    transaction.commit();
    closedTasks = closed;
    return id;
}

qint64 insert(const NewEntry& entry)
{
    Data::SqlServer().execute(insertStatement(entry));
    auto identity = Data::SqlServer().openRecordset(QStringLiteral("SELECT @@Identity as last"));
    if (identity->eof()) {
        throw core::standardError(core::errc::NoCurrentRecord);
    }
    const qint64 id = identity->value(QStringLiteral("last")).toLongLong();
    identity->close();
    return id;
}

} // namespace data::timeEntries
