#pragma once

#include <QObject>

#include <functional>

class QCheckBox;
class QWidget;

namespace counter {

class ListView;
class LiveCounter;

// Counting time on the tasks of the list: ticking a row opens a time entry stamped with the server's
// clock (first stopping every other running row unless FXMultitarefa is ticked); unticking it closes
// the entry with the minutes counted by the workstation's clock and refills the list, or deletes the
// entry when it ran less than a minute and a half.
class TaskCounting : public QObject
{
    Q_OBJECT

public:
    // refill rebuilds the list selecting the given task (the window's Fill_Tarefas).
    using Refill = std::function<void(int& task)>;

    TaskCounting(QWidget& window, ListView& list, QCheckBox& multitasking, LiveCounter& live, Refill refill);

    // The user changed the tick of row: start or stop its count. A start whose records cannot be
    // found shows which field is missing and unticks the row; other errors are reported
    // ("ListView1_ItemClick") and end the handling where it stood.
    void tickChanged(int row);

private:
    void start(int row);
    void stop(int row);
    void stopOthers(const QString& key);
    bool lookUpForStart(const QString& K, qint64& W, qint64& P, qint64& C, qint64& B, qint64& Q);
    void markRunning(const QString& key, qint64 entry);
    void untick(const QString& key);

    QWidget& m_window;
    ListView& m_list;
    QCheckBox& m_multitasking;
    LiveCounter& m_live;
    Refill m_refill;
};

} // namespace counter
