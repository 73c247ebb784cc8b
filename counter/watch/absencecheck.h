#pragma once

#include "counter/watch/absencewatch.h"

#include <QObject>
#include <QStringList>

#include <memory>

class QTimer;
class QWidget;

namespace counter {

class IdleSource;
struct AbsenceQuestion;
class ListView;
class PendingTasks;
class TaskCounting;

// A row of the task list whose entry runs: key, task, entry and its start as the row shows it.
struct RunningTask {
    QString key;
    QString task;
    qint64 entry = 0;
    QDateTime start;
};

// The counter window's watch over absences: every few seconds (timer) it asks the idle source and the clocks
// whether the lawyer came back from an absence of at least the threshold while tasks were counted, and then
// brings the window forward and asks what to do with that time (askAbsence): keep it, end the counts at the
// moment the absence began, or end them then and count the same tasks again from now. Nothing changes without
// an answer. Errors are reported ("Ausencia") and end the handling where it stood; the list is then refilled.
class AbsenceCheck : public QObject
{
    Q_OBJECT

public:
    AbsenceCheck(QWidget& window, ListView& list, TaskCounting& counting, PendingTasks& tasks);
    ~AbsenceCheck() override;

    // One look (the timer's); does nothing while its question is open.
    void poll();
    // At start-up: each count begun on an earlier day is asked about as an absence from the end of that day's
    // working hours (countStatus::forgottenEnd), with one more answer, a moment of the lawyer's choosing; a
    // moment before the count's start or after now is refused with a message and asked again.
    void askForgotten();
    // The threshold; 0 stops asking. At construction: the preference "AusenciaMinutos", or ORV_ABSENCE_SECONDS
    // when that environment variable holds a positive number (test runs that cannot wait a quarter of an hour).
    void setThreshold(qint64 milliseconds);
    const IdleSource& source() const { return *m_source; }
    QTimer* timer() const { return m_timer; }

    // The ticked rows of the list with an entry.
    static QList<RunningTask> runningTasks(const ListView& list);

    // Seam for tests: the monotonic clock (by default one that stands still while the machine sleeps); an empty
    // function restores it. Takes effect for checks made afterwards.
    static void setMonotonicSource(AbsenceWatch::Monotonic monotonic);

private:
    void handle(const Absence& absence);
    // Asks about the running tasks and does what the answer says.
    void settle(const AbsenceQuestion& question, const QList<RunningTask>& running);
    void stopAll(const QList<RunningTask>& running, const QDateTime& at);
    void restart(const QList<RunningTask>& running);

    QWidget& m_window;
    ListView& m_list;
    TaskCounting& m_counting;
    PendingTasks& m_tasks;
    std::unique_ptr<IdleSource> m_source;
    AbsenceWatch m_watch;
    QTimer* m_timer;
    bool m_enabled = true;
    bool m_asking = false;
};

} // namespace counter
