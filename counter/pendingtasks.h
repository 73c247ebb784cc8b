#pragma once

#include <QObject>
#include <QTimer>

class QCheckBox;
class QWidget;

namespace counter {

class ListView;

// The pending-task list ListView1: one row per open task of the lawyer AdvogadoID, rebuilt from the
// database in the row layout of taskrow.h, banded by work item, red from the day before the office
// deadline, light grey when hidden unless FXEscondidas is ticked. Running tasks come back ticked.
class PendingTasks : public QObject
{
    Q_OBJECT

public:
    PendingTasks(QWidget& window, ListView& list, QCheckBox& showHidden);

    // Rebuilds the list and selects task T (0: the last running task, if any), then says filled. Errors are
    // reported ("Startup"); the rows stay as they were when the query fails, and those added so far after.
    void fill(int T);
    // The same without the signal, its errors thrown (core::Error): a query that fails leaves every row as it was.
    void rebuild(int T);
    // True when some row is ticked: a task is being counted.
    bool anyRunning() const;

Q_SIGNALS:
    // After every fill: the columns' widths and whose list it is may have changed.
    void filled();

private:
    QWidget& m_window;
    ListView& m_list;
    QCheckBox& m_showHidden;
    // Hands the memory a rebuild freed back to the system, once the list is drawn and refills have settled.
    QTimer m_returnMemory;
};

} // namespace counter
