#include "counter/taskcounting.h"

#include "core/clock.h"
#include "core/errorvalue.h"
#include "core/messagebox.h"
#include "counter/counterreports.h"
#include "counter/listview.h"
#include "counter/livecounter.h"
#include "counter/recordlookup.h"
#include "counter/taskrow.h"
#include "data/connection.h"
#include "data/displayformat.h"
#include "data/modcontrolfill.h"
#include "data/moddata.h"
#include "data/timeentries.h"
#include "data/timeentrystop.h"
#include "session/modcode.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <QWidget>

#include <optional>

namespace counter {
namespace {

namespace timeEntries = data::timeEntries;

const QString ServerNow = QStringLiteral("GETDATE()");

// The entry identifier a row's cell holds. Throws core::Error 13 when it is no whole number.
qint64 entryOf(const QString& cell)
{
    bool number = false;
    const qint64 entry = cell.trimmed().toLongLong(&number);
    if (!number) {
        throw core::standardError(core::errc::TypeMismatch);
    }
    return entry;
}

// The server's time of a moment of the workstation's clock now past, as the statement's date: the server's clock
// now less the time gone by since. GETDATE() when the server's clock cannot be read.
QString serverTimeOf(const QDateTime& past)
{
    const QDateTime serverNow = data::modControlFill::ServerDate();
    if (serverNow.date() == QDate(1900, 1, 1)) {
        return ServerNow;
    }
    return data::modData::SqlLiteral(serverNow.addMSecs(-past.msecsTo(core::Clock::now())),
                                     data::modData::literal::Date);
}

} // namespace

TaskCounting::TaskCounting(QWidget& window, ListView& list, QCheckBox& multitasking, LiveCounter& live, Refill refill)
    : QObject(&window)
    , m_window(window)
    , m_list(list)
    , m_multitasking(multitasking)
    , m_live(live)
    , m_refill(std::move(refill))
{}

void TaskCounting::tickChanged(int row)
{
    // A locked database makes a statement wait (at most the engine's busy time-out): show that the
    // window is busy meanwhile.
    QGuiApplication::setOverrideCursor(Qt::BusyCursor);
    const QString key = m_list.key(row);
    const bool ticked = m_list.checked(row);
    const QDateTime at = core::Clock::now();
    const bool done = core::trap(reports::window(m_window.objectName(), QStringLiteral("ListView1_ItemClick")), [&] {
        if (ticked) {
            start(row);
        } else {
            stop(row);
        }
    });
    const bool unreached = !done && data::Data::SqlServer().linkLost();
    if (!done) {
        // A statement failed half-way: the row shows again what the database last said, a failed tick unticked
        // and a failed untick counting; the refill then shows what it holds, when it answers.
        setTick(key, !ticked);
        if (!unreached) {
            int K = key.mid(1).toInt();
            m_refill(K);
        }
    }
    QGuiApplication::restoreOverrideCursor();
    if (unreached) {
        notReached(key, ticked, at);
    }
}

void TaskCounting::notReached(const QString& key, bool ticked, const QDateTime& at)
{
    const int row = m_list.findKey(key);
    if (row < 0) {
        return;
    }
    const QString task = m_list.cellText(row, 0);
    if (ticked) {
        core::msgBox(
            QStringLiteral("A base de dados está inacessível: a contagem da tarefa «%1» não foi iniciada.").arg(task),
            core::Buttons::Ok, core::Icon::Warning);
        return;
    }
    bool number = false;
    const qint64 entry = m_list.cellText(row, taskRow::Entry).trimmed().toLongLong(&number);
    if (!number || deferredUntick(entry)) {
        return;
    }
    m_deferred.append({key, entry, at});
    core::msgBox(QStringLiteral("A base de dados está inacessível. A contagem da tarefa «%1» termina às %2 e fica "
                                "registada logo que a base de dados responda.")
                     .arg(task, at.toString(QStringLiteral("HH:mm:ss"))),
                 core::Buttons::Ok, core::Icon::Warning);
}

void TaskCounting::stop(int row)
{
    const QString E = m_list.cellText(row, taskRow::Entry);
    if (E.trimmed().isEmpty()) {
        return;
    }
    const qint64 entry = entryOf(E);
    int K = m_list.key(row).mid(1).toInt();
    auto record = data::Data::SqlServer().openRecordset(
        QStringLiteral("SELECT * FROM tbProcessos_Trabalhos_Tarefas_Lancamentos WHERE lancamento_id = ") +
        QString::number(entry));
    const bool gone = record->eof();
    const QDateTime started = gone ? QDateTime() : record->value(QStringLiteral("data")).toDateTime();
    const QVariant running = gone ? QVariant() : record->value(QStringLiteral("inprogress"));
    const bool closedElsewhere =
        gone || !record->value(QStringLiteral("data_fim")).isNull() || running.isNull() || running.toDouble() == 0;
    record->close();
    // An untick the database could not take before ends the count at that untick.
    const std::optional<QDateTime> untick = deferredUntick(entry);
    if (closedElsewhere) {
        // Another workstation of the same lawyer closed or removed the entry: it is neither counted again
        // nor deleted, and the list shows what the database holds.
        forget(entry);
        m_refill(K);
        return;
    }

    if (timeEntries::countedMinutes(started, untick.value_or(core::Clock::now())) > timeEntries::ShortestEntry) {
        const qint64 M = timeEntries::countedMinutes(started, untick.value_or(core::Clock::now()));
        timeEntries::close(entry, M, untick ? serverTimeOf(*untick) : ServerNow);
        forget(entry);
        m_refill(K);
        if (m_window.isVisible()) {
            m_list.setFocus();
        }
        return;
    }
    const bool dropped = timeEntries::drop(entry);
    forget(entry);
    if (!dropped) {
        // Closed elsewhere since it was read: the list shows how.
        m_refill(K);
    }
}

std::optional<QDateTime> TaskCounting::deferredUntick(qint64 entry) const
{
    for (const DeferredStop& stop : m_deferred) {
        if (stop.entry == entry) {
            return stop.at;
        }
    }
    return std::nullopt;
}

void TaskCounting::forget(qint64 entry)
{
    m_deferred.removeIf([entry](const DeferredStop& stop) { return stop.entry == entry; });
}

void TaskCounting::makeDeferredStops()
{
    const QList<DeferredStop> deferredStops = m_deferred;
    for (const DeferredStop& deferred : deferredStops) {
        const int row = m_list.findKey(deferred.key);
        if (row >= 0 && m_list.cellText(row, taskRow::Entry).trimmed() == QString::number(deferred.entry)) {
            stop(row);
            continue;
        }
        // The row no longer shows the entry: it is ended as its row would have ended it.
        auto record = data::Data::SqlServer().openRecordset(
            QStringLiteral("SELECT * FROM tbProcessos_Trabalhos_Tarefas_Lancamentos WHERE lancamento_id = ") +
            QString::number(deferred.entry));
        const bool running = !record->eof() && record->value(QStringLiteral("data_fim")).isNull();
        const QDateTime started = running ? record->value(QStringLiteral("data")).toDateTime() : QDateTime();
        record->close();
        if (running) {
            const qint64 M = timeEntries::countedMinutes(started, deferred.at);
            if (M > timeEntries::ShortestEntry) {
                timeEntries::close(deferred.entry, M, serverTimeOf(deferred.at));
            } else {
                timeEntries::drop(deferred.entry);
            }
        }
        forget(deferred.entry);
    }
}

void TaskCounting::start(int row)
{
    const QString key = m_list.key(row);
    const qint64 K = recordLookup::keyId(key);

    qint64 W = 0, P = 0, C = 0, B = 0, Q = 0;
    if (!lookUpForStart(key, W, P, C, B, Q)) {
        setTick(key, false);
        return;
    }
    timeEntries::NewEntry entry;
    entry.task = K;
    entry.work = W;
    entry.caseId = P;
    entry.client = C;
    entry.lawyer = session::modCode::AdvogadoID;
    entry.basis = B;
    entry.priceRule = Q;
    entry.price = timeEntries::lawyerPrice(session::modCode::AdvogadoID);
    if (m_multitasking.isChecked()) {
        markRunning(key, timeEntries::insert(entry));
        m_live.restart();
        return;
    }
    QList<qint64> closedTasks;
    const qint64 N = timeEntries::insertAlone(entry, core::Clock::now(), closedTasks);
    if (!closedTasks.isEmpty()) {
        int T = static_cast<int>(closedTasks.last());
        m_refill(T);
        if (m_window.isVisible()) {
            m_list.setFocus();
        }
    } else {
        // The lawyer's other counts were only deleted (too short): no refill, their rows are unticked.
        for (int other : m_list.checkedRows()) {
            if (m_list.key(other) != key) {
                m_list.setChecked(other, false);
            }
        }
    }
    markRunning(key, N);
    m_live.restart();
}

bool TaskCounting::lookUpForStart(const QString& key, qint64& W, qint64& P, qint64& C, qint64& B, qint64& Q)
{
    if (!recordLookup::taskOwners(recordLookup::keyId(key), W, P, C)) {
        return false;
    }
    B = timeEntries::countingBasis();
    if (B == 0) {
        recordLookup::missingField(QStringLiteral("Base_ID"));
        return false;
    }
    Q = timeEntries::priceRule();
    if (Q == 0) {
        recordLookup::missingField(QStringLiteral("Preco_ID"));
        return false;
    }
    return true;
}

void TaskCounting::markRunning(const QString& key, qint64 entry)
{
    const int row = m_list.findKey(key);
    if (row < 0) {
        return;
    }
    m_list.setChecked(row, true);
    m_list.setCellText(row, taskRow::Start, data::displayFormat::dateTimeText(core::Clock::now()));
    m_list.setCellText(row, taskRow::Entry, QString::number(entry));
}

void TaskCounting::setTick(const QString& key, bool on)
{
    const int row = m_list.findKey(key);
    if (row >= 0) {
        m_list.setChecked(row, on);
    }
}

} // namespace counter
