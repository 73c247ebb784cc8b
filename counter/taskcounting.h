#pragma once

#include <QDateTime>
#include <QList>
#include <QObject>

#include <optional>

class QCheckBox;
class QWidget;

namespace counter {

class ListView;
class LiveCounter;
class PendingTasks;

// Counting time on the tasks of the list: ticking a row opens a time entry stamped with the server's
// clock (unless FXMultitarefa is ticked, ending every other running entry of the lawyer in the same
// transaction); unticking it closes the entry with the minutes counted by the workstation's clock and
// refills the list, or deletes the entry when it ran less than a minute and a half. An entry is closed or
// deleted only while it still runs, so one closed elsewhere is never closed again.
// While the database cannot be reached, a row keeps what the database last said: a failed tick is
// unticked again and a failed untick keeps counting, each said once in a message; the stop is then
// deferred and made, with the minutes up to the untick, as soon as the database answers.
class TaskCounting : public QObject
{
    Q_OBJECT

public:
    // tasks refills the list after a change the rows cannot show by themselves.
    TaskCounting(QWidget& window, ListView& list, QCheckBox& multitasking, LiveCounter& live, PendingTasks& tasks);

    // The user changed the tick of row: start or stop its count. A start whose records cannot be
    // found shows which field is missing and unticks the row; other errors are reported
    // ("ListView1_ItemClick") and the list shows again what the database holds.
    void tickChanged(int row);

    // A stop the database could not take when the lawyer unticked: the entry, its row's key and the
    // workstation's time of the untick.
    struct DeferredStop {
        QString key;
        qint64 entry = 0;
        QDateTime at;
    };
    const QList<DeferredStop>& deferredStops() const { return m_deferred; }
    // Makes the deferred stops, each ending its entry as counted up to its untick (an entry that no longer
    // runs is left as it is). Throws core::Error when a statement fails; the stops not made stay deferred.
    void makeDeferredStops();

private:
    void start(int row);
    void stop(int row);
    void markRunning(const QString& key, qint64 entry);
    void setTick(const QString& key, bool on);
    std::optional<QDateTime> deferredUntick(qint64 entry) const;
    void forget(qint64 entry);
    // The database could not be reached during a tick or an untick of the row with key: says so once.
    void notReached(const QString& key, bool ticked, const QDateTime& at);

    QWidget& m_window;
    ListView& m_list;
    QCheckBox& m_multitasking;
    LiveCounter& m_live;
    PendingTasks& m_tasks;
    QList<DeferredStop> m_deferred;
};

} // namespace counter
