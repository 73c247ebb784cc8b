#pragma once

#include <QObject>

class QWidget;

namespace counter {

class ListView;
class PendingTasks;

// The commands of the task list's menu that change the selected task or its work item: hide or show
// it, finish it, give its work item back. Each does nothing, and shows nothing, when the list has no
// rows or none is selected. Errors end the command and are reported under its own name; statements
// sent before the error stay done.
class TaskCommands : public QObject
{
    Q_OBJECT

public:
    TaskCommands(QWidget& window, ListView& list, PendingTasks& tasks);

    // A visible task (hidden cell "0") is hidden and the list starts again at its first row; a hidden
    // one is shown and stays selected.
    void hideOrShow();
    // A counted task is refused, titled with the window's caption; otherwise, on Yes, the task is
    // closed and its row alone leaves the list. A task counted from another workstation meanwhile is
    // refused the same way by the statement itself, and the list is refilled.
    void finish();
    // On Yes, the work item leaves the lawyer (advogado_id null) and the list is refilled, unless any
    // lawyer has an entry running on it, also one started after the check, which is refused with a message.
    void giveBack();

private:
    // The selected row, or -1 when the list is empty or nothing is selected.
    int selectedRow() const;
    // Says that a task being counted cannot be finished, titled with the window's caption.
    void refuseFinish();

    QWidget& m_window;
    ListView& m_list;
    PendingTasks& m_tasks;
};

} // namespace counter
