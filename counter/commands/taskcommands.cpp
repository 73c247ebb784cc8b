#include "counter/commands/taskcommands.h"

#include "core/messagebox.h"
#include "counter/commands/recordlookup.h"
#include "counter/counterreports.h"
#include "counter/listview/listview.h"
#include "counter/pendingtasks.h"
#include "counter/taskrow.h"
#include "data/connection.h"
#include "data/timeentries/runningentries.h"

#include <QWidget>

namespace counter {
namespace {

QString whereTask(qint32 task)
{
    return QStringLiteral(" WHERE tarefa_id = ") + QString::number(task);
}

} // namespace

TaskCommands::TaskCommands(QWidget& window, ListView& list, PendingTasks& tasks)
    : QObject(&window)
    , m_window(window)
    , m_list(list)
    , m_tasks(tasks)
{}

void TaskCommands::refuseFinish()
{
    core::msgBox(data::runningEntries::finishRefusal(), core::Buttons::Ok, core::Icon::Information,
                 m_window.windowTitle());
}

int TaskCommands::selectedRow() const
{
    return m_list.rowCount() == 0 ? -1 : m_list.selectedRow();
}

void TaskCommands::hideOrShow()
{
    core::trap(reports::command(m_window.objectName(), QStringLiteral("mnEsconder_Click")), [&] {
        const int row = selectedRow();
        if (row < 0) {
            return;
        }
        int task = recordLookup::keyId(m_list.key(row));
        if (m_list.cellText(row, taskRow::Hidden) == taskRow::visibleMarker()) {
            data::Data::SqlServer().execute(QStringLiteral("UPDATE tbProcessos_Trabalhos_Tarefas SET escondida = 1") +
                                            whereTask(task));
            m_tasks.fill(0);
            m_list.selectRow(0);
        } else {
            data::Data::SqlServer().execute(QStringLiteral("UPDATE tbProcessos_Trabalhos_Tarefas SET escondida = 0") +
                                            whereTask(task));
            m_tasks.fill(task);
        }
    });
}

void TaskCommands::finish()
{
    core::trap(reports::command(m_window.objectName(), QStringLiteral("mnListTerminar_Click")), [&] {
        const int row = selectedRow();
        if (row < 0) {
            return;
        }
        if (m_list.checked(row)) {
            refuseFinish();
            return;
        }
        const QString key = m_list.key(row);
        const qint32 task = recordLookup::keyId(key);
        if (core::msgBox(QStringLiteral("Deseja registar esta tarefa como concluída?"), core::Buttons::YesNo,
                         core::Icon::Question, QStringLiteral("Terminar Tarefa")) != core::Answer::Yes) {
            return;
        }
        // Another workstation may be counting on the task: the statement itself refuses then.
        if (data::Data::SqlServer().execute(
                QStringLiteral("UPDATE tbProcessos_Trabalhos_Tarefas SET closed = 1") + whereTask(task) +
                data::runningEntries::noneRunning(QStringLiteral("tarefa_id"), task)) == 0) {
            refuseFinish();
            m_tasks.fill(0);
            return;
        }
        // The list may have been rebuilt while the question was open (an editor's save): the row goes
        // by its key, never by a position that may now hold another task.
        const int finished = m_list.findKey(key);
        if (finished >= 0) {
            m_list.removeRow(finished);
        }
    });
}

void TaskCommands::giveBack()
{
    core::trap(reports::command(m_window.objectName(), QStringLiteral("mnListRemover_Click")), [&] {
        const int row = selectedRow();
        if (row < 0) {
            return;
        }
        const qint32 task = recordLookup::keyId(m_list.key(row));
        const QString question = QStringLiteral("Deseja retirar o trabalho '") + m_list.cellText(row, taskRow::Work) +
                                 QStringLiteral("' das minhas tarefas pendentes?");
        if (core::msgBox(question, core::Buttons::YesNo, core::Icon::Question, QStringLiteral("Retirar Trabalho")) !=
            core::Answer::Yes) {
            return;
        }
        data::Connection& db = data::Data::SqlServer();
        auto taskRecord =
            db.openRecordset(QStringLiteral("SELECT * FROM tbProcessos_Trabalhos_Tarefas") + whereTask(task));
        if (taskRecord->eof()) {
            taskRecord->close();
            return;
        }
        const QString work = recordLookup::identifier(taskRecord->value(QStringLiteral("trabalho_id")));
        auto running = db.openRecordset(QStringLiteral("SELECT COUNT(*) as no FROM "
                                                       "tbProcessos_Trabalhos_Tarefas_Lancamentos WHERE closed = 0 "
                                                       "AND inprogress <> 0 AND trabalho_id = ") +
                                        work);
        const bool anyRunning = !running->eof() && running->value(QStringLiteral("no")).toLongLong() != 0;
        running->close();
        // A count started elsewhere after the check above still keeps the work item: the statement refuses.
        if (anyRunning ||
            db.execute(QStringLiteral("UPDATE tbProcessos_Trabalhos SET advogado_id = null WHERE trabalho_id = ") +
                       work + data::runningEntries::noneRunning(QStringLiteral("trabalho_id"), work.toLongLong())) ==
                0) {
            core::msgBox(QStringLiteral("O trabalho selecionado tem tarefas em curso.") + core::messageBreak() +
                             QStringLiteral("Os trabalhos com tarefas em produção não podem ser removidos das suas "
                                            "tarefas.") +
                             core::messageBreak() + QStringLiteral("Finalize primeiro as tarefas em produção."),
                         core::Buttons::Ok, core::Icon::Information);
            taskRecord->close();
            return;
        }
        m_tasks.fill(0);
        taskRecord->close();
    });
}

} // namespace counter
