#pragma once

#include <QObject>
#include <QVariant>

class QWidget;

namespace data {
class Recordset;
}

namespace counter {

struct EditorFields;
class PendingTasks;

// "Atribuir novo Trabalho": the lawyer picks a work item in the work assistant and takes it on. A work
// item of a court case that asks for deadlines is taken only once both are set in the work-item
// editor; one without pending tasks, or with an entry running for any lawyer, is refused with a
// message. The work item then belongs to the lawyer shown (AdvogadoID) and the list is refilled.
// Errors end the command and are reported; what was written or set in an editor before stays.
class NewWork : public QObject
{
    Q_OBJECT

public:
    NewWork(QWidget& window, EditorFields& editors, PendingTasks& tasks);

    void assign();

private:
    // Whether the work item of the open record may be taken as far as its deadlines go: true when no
    // deadline is asked for or the editor settled them, false when the lawyer declined.
    bool deadlinesSettled(data::Recordset& work);
    // Whether the work item has pending tasks and none running; shows why not.
    static bool mayBeTaken(const QString& work);
    // Whether a work item assigned to another lawyer (not to AdvogadoID) may leave that lawyer's list: asks.
    static bool mayLeaveItsLawyer(const QVariant& lawyer);
    // Says that a work item with a running count cannot be taken.
    static void showRunning();

    QWidget& m_window;
    EditorFields& m_editors;
    PendingTasks& m_tasks;
};

} // namespace counter
