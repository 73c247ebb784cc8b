#include "counter/taskcounting.h"

#include "core/clock.h"
#include "core/errorvalue.h"
#include "core/messagebox.h"
#include "counter/commands/recordlookup.h"
#include "counter/counterreports.h"
#include "counter/listview/listview.h"
#include "counter/livecounter.h"
#include "counter/pendingtasks.h"
#include "counter/taskrow.h"
#include "data/connection.h"
#include "data/displayformat.h"
#include "data/timeentries/timeentries.h"
#include "session/modcode.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <QWidget>

#include <optional>

namespace counter {
namespace {

namespace timeEntries = data::timeEntries;

} // namespace

TaskCounting::TaskCounting(QWidget& window, ListView& list, QCheckBox& multitasking, LiveCounter& live,
                           PendingTasks& tasks)
    : QObject(&window)
    , m_window(window)
    , m_list(list)
    , m_multitasking(multitasking)
    , m_live(live)
    , m_tasks(tasks)
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
            m_tasks.fill(recordLookup::taskToSelect(key));
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
    const std::optional<qint64> entry = taskRow::entryOf(m_list.cellText(row, taskRow::Entry));
    if (!entry || deferredUntick(*entry)) {
        return;
    }
    m_deferred.append({key, *entry, at});
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
    const std::optional<qint64> parsed = taskRow::entryOf(E);
    if (!parsed) {
        throw core::standardError(core::errc::TypeMismatch);
    }
    const qint64 entry = *parsed;
    const int K = recordLookup::keyId(m_list.key(row));
    // An untick the database could not take before ends the count at that untick. An entry another workstation
    // of the same lawyer closed or removed is neither counted again nor deleted, and the list shows what the
    // database holds.
    const timeEntries::Untick done = timeEntries::untick(entry, deferredUntick(entry));
    forget(entry);
    if (done == timeEntries::Untick::Deleted) {
        return;
    }
    m_tasks.fill(K);
    if (done == timeEntries::Untick::Closed && m_window.isVisible()) {
        m_list.setFocus();
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
        timeEntries::untick(deferred.entry, deferred.at);
        forget(deferred.entry);
    }
}

void TaskCounting::start(int row)
{
    const QString key = m_list.key(row);
    const qint64 K = recordLookup::keyId(key);

    timeEntries::NewEntry entry;
    const QString missing = timeEntries::lookUpNewEntry(K, session::modCode::AdvogadoID, entry);
    if (!missing.isEmpty()) {
        recordLookup::missingField(missing);
        setTick(key, false);
        return;
    }
    if (m_multitasking.isChecked()) {
        markRunning(key, timeEntries::insert(entry));
        m_live.restart();
        return;
    }
    QList<qint64> closedTasks;
    const qint64 N = timeEntries::insertAlone(entry, core::Clock::now(), closedTasks);
    if (!closedTasks.isEmpty()) {
        m_tasks.fill(static_cast<int>(closedTasks.last()));
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
