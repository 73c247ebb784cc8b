#include "counter/watch/absencecheck.h"

#include "core/clock.h"
#include "core/errorreport.h"
#include "core/messagebox.h"
#include "counter/commands/recordlookup.h"
#include "counter/counterreports.h"
#include "counter/listview/listview.h"
#include "counter/pendingtasks.h"
#include "counter/taskcounting.h"
#include "counter/taskrow.h"
#include "counter/watch/absencequestion.h"
#include "counter/watch/countstatus.h"
#include "counter/watch/idlesource.h"
#include "counter/watch/preferences.h"
#include "data/timeentries/timeentries.h"
#include "data/valuetext.h"

#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

namespace counter {
namespace {

// How often the idle source and the clocks are looked at.
constexpr int PollInterval = 5000;
constexpr qint64 Minute = qint64(60) * 1000;

AbsenceWatch::Monotonic& monotonicSlot()
{
    static AbsenceWatch::Monotonic monotonic;
    return monotonic;
}

qint64 monotonicNow()
{
    if (monotonicSlot()) {
        return monotonicSlot()();
    }
    // CLOCK_MONOTONIC on Linux: it stands still while the machine sleeps.
    static QElapsedTimer clock;
    if (!clock.isValid()) {
        clock.start();
    }
    return clock.elapsed();
}

} // namespace

AbsenceCheck::AbsenceCheck(QWidget& window, ListView& list, TaskCounting& counting, PendingTasks& tasks)
    : QObject(&window)
    , m_window(window)
    , m_list(list)
    , m_counting(counting)
    , m_tasks(tasks)
    , m_source(makeIdleSource())
    , m_watch(*m_source, monotonicNow, 15 * Minute)
    , m_timer(new QTimer(this))
{
    setObjectName(QStringLiteral("AbsenceCheck"));
    m_timer->setInterval(PollInterval);
    connect(m_timer, &QTimer::timeout, this, &AbsenceCheck::poll);
    m_timer->start();
    qint64 threshold = Preferences::load().absenceMinutes * Minute;
    bool given = false;
    const qint64 seconds = qEnvironmentVariable("ORV_ABSENCE_SECONDS").toLongLong(&given);
    if (given && seconds > 0) {
        threshold = seconds * 1000;
    }
    setThreshold(threshold);
}

AbsenceCheck::~AbsenceCheck() = default;

void AbsenceCheck::setMonotonicSource(AbsenceWatch::Monotonic monotonic)
{
    monotonicSlot() = std::move(monotonic);
}

void AbsenceCheck::setThreshold(qint64 milliseconds)
{
    m_enabled = milliseconds > 0;
    m_watch.setThreshold(milliseconds);
}

QList<RunningTask> AbsenceCheck::runningTasks(const ListView& list)
{
    QList<RunningTask> running;
    for (int row : list.checkedRows()) {
        const std::optional<qint64> entry = taskRow::entryOf(list.cellText(row, taskRow::Entry));
        if (!entry) {
            continue;
        }
        const auto start = data::valueText::parseDate(list.cellText(row, taskRow::Start));
        running.append({list.key(row), list.cellText(row, 0), *entry, start.value_or(QDateTime())});
    }
    return running;
}

void AbsenceCheck::poll()
{
    if (m_asking) {
        return;
    }
    const bool counting = m_enabled && !runningTasks(m_list).isEmpty();
    if (const std::optional<Absence> absence = m_watch.poll(counting)) {
        handle(*absence);
    }
}

void AbsenceCheck::handle(const Absence& absence)
{
    const QList<RunningTask> running = runningTasks(m_list);
    AbsenceQuestion question;
    for (const RunningTask& task : running) {
        question.tasks << task.task;
    }
    question.began = absence.began;
    question.minutes = absence.milliseconds() / Minute;
    question.slept = absence.slept;
    settle(question, running);
}

void AbsenceCheck::askForgotten()
{
    if (m_asking) {
        return;
    }
    const Preferences preferences = Preferences::load();
    for (const RunningTask& task : runningTasks(m_list)) {
        const QDateTime now = core::Clock::now();
        if (!task.start.isValid() || task.start.date() >= now.date()) {
            continue;
        }
        AbsenceQuestion question;
        question.tasks << task.task;
        question.countedSince = task.start;
        question.began = countStatus::forgottenEnd(task.start, preferences);
        question.minutes = question.began.secsTo(now) / 60;
        settle(question, {task});
    }
}

void AbsenceCheck::settle(const AbsenceQuestion& question, const QList<RunningTask>& running)
{
    m_asking = true;
    m_window.show();
    m_window.raise();
    m_window.activateWindow();
    AbsenceReply reply = askAbsence(question);
    while (reply.answer == AbsenceAnswer::StopAtChosen && !question.acceptable(reply.chosen)) {
        core::msgBox(QStringLiteral("A hora escolhida deve ficar entre o início da contagem (%1) e agora.")
                         .arg(question.countedSince.toString(QStringLiteral("dd-MM-yyyy HH:mm"))),
                     core::Buttons::Ok, core::Icon::Warning);
        reply = askAbsence(question);
    }
    m_asking = false;
    if (reply.answer == AbsenceAnswer::None || reply.answer == AbsenceAnswer::Keep) {
        return;
    }
    const QDateTime at = reply.answer == AbsenceAnswer::StopAtChosen ? reply.chosen : question.began;
    const bool done = core::trap(reports::window(m_window.objectName(), QStringLiteral("Ausencia")), [&] {
        stopAll(running, at);
        if (reply.answer == AbsenceAnswer::StopAndRestart) {
            restart(running);
        }
    });
    if (!done) {
        m_tasks.fill(0);
    }
}

void AbsenceCheck::stopAll(const QList<RunningTask>& running, const QDateTime& at)
{
    // A count started after that moment has nothing to keep and is deleted, as any count of a minute or less.
    for (const RunningTask& task : running) {
        data::timeEntries::stopAt(task.entry, at);
    }
    m_tasks.fill(running.isEmpty() ? 0 : recordLookup::keyId(running.first().key));
}

void AbsenceCheck::restart(const QList<RunningTask>& running)
{
    for (const RunningTask& task : running) {
        const int row = m_list.findKey(task.key);
        if (row < 0 || m_list.checked(row)) {
            continue;
        }
        m_list.setChecked(row, true);
        m_counting.tickChanged(row);
    }
}

} // namespace counter
