#include "counter/commands/recordopening.h"

#include "counter/commands/editorfields.h"
#include "counter/commands/recordlookup.h"
#include "counter/counterreports.h"
#include "counter/listview/listview.h"
#include "data/connection.h"
#include "data/timeentries/timeentries.h"
#include "data/valuetext.h"
#include "session/modcode.h"

#include <QWidget>

namespace counter {
namespace {

std::unique_ptr<data::Recordset> open(const QString& statement, qint64 id)
{
    return data::Data::SqlServer().openRecordset(statement + QString::number(id));
}

// The whole number in field of the first record, 0 without a record. Throws core::Error 94 when the
// value is null.
qint32 idOrZero(const QString& statement, qint64 id, const QString& field)
{
    auto record = open(statement, id);
    const qint32 found = record->eof() ? 0 : data::valueText::toLong(record->value(field));
    record->close();
    return found;
}

qint32 workOfTask(qint32 task)
{
    return idOrZero(QStringLiteral("SELECT * FROM tbProcessos_Trabalhos_Tarefas WHERE tarefa_id = "), task,
                    QStringLiteral("trabalho_id"));
}

} // namespace

RecordOpening::RecordOpening(QWidget& window, external::EditorOwner& owner, ListView& tasks, ListView& entries,
                             EditorFields& editors)
    : QObject(&window)
    , m_window(window)
    , m_owner(owner)
    , m_tasks(tasks)
    , m_entries(entries)
    , m_editors(editors)
{}

qint32 RecordOpening::selectedId(const ListView& list)
{
    const int row = list.rowCount() == 0 ? -1 : list.selectedRow();
    return row < 0 ? 0 : recordLookup::keyId(list.key(row));
}

void RecordOpening::openTask()
{
    core::trap(reports::command(m_window.objectName(), QStringLiteral("mnListAbrir_Click")), [&] {
        const qint32 task = selectedId(m_tasks);
        if (task == 0) {
            return;
        }
        auto record = open(QStringLiteral("SELECT * FROM tbProcessos_Trabalhos_Tarefas WHERE tarefa_id = "), task);
        if (!record->eof()) {
            auto editor = renew(m_editors.task, external::componentFactory().createTaskEditor(), "TaskEditor");
            handRecord(*editor, &external::TaskEditor::OpenRecord, *record, record->value(QStringLiteral("tarefa_id")),
                       &m_owner);
        }
        record->close();
    });
}

void RecordOpening::openWork()
{
    core::trap(reports::command(m_window.objectName(), QStringLiteral("mnListAbrirTrabalho_Click")), [&] {
        const qint32 task = selectedId(m_tasks);
        if (task == 0) {
            return;
        }
        const qint32 work = workOfTask(task);
        auto record = open(QStringLiteral("SELECT * FROM tbProcessos_Trabalhos WHERE trabalho_id = "), work);
        if (!record->eof()) {
            auto editor = renew(m_editors.work, external::componentFactory().createWorkEditor(), "WorkEditor");
            handRecord(*editor, &external::WorkEditor::OpenRecord, *record, work, &m_owner);
        }
        record->close();
    });
}

void RecordOpening::openCase()
{
    openCaseAs(QStringLiteral("mnListAbrirProcesso_Click"), CaseView::Record);
}

void RecordOpening::openDocumentArchive()
{
    openCaseAs(QStringLiteral("mnListAbrirArquivoDocumental_Click"), CaseView::DocumentArchive);
}

void RecordOpening::openCaseAs(const QString& procedure, CaseView view)
{
    core::trap(reports::command(m_window.objectName(), procedure), [&] {
        const qint32 task = selectedId(m_tasks);
        if (task == 0) {
            return;
        }
        const qint32 work = workOfTask(task);
        const qint32 caseId = idOrZero(QStringLiteral("SELECT * FROM tbProcessos_Trabalhos WHERE trabalho_id = "), work,
                                       QStringLiteral("Processo_ID"));
        auto record = open(QStringLiteral("SELECT * FROM tbProcessos WHERE processo_id = "), caseId);
        if (!record->eof()) {
            auto editor = renew(m_editors.caseFile, external::componentFactory().createCaseEditor(), "CaseEditor");
            handRecord(*editor,
                       view == CaseView::Record ? &external::CaseEditor::OpenRecord
                                                : &external::CaseEditor::OpenDocumentArchive,
                       *record, caseId, &m_owner);
        }
        record->close();
    });
}

void RecordOpening::newEntry()
{
    core::trap(reports::command(m_window.objectName(), QStringLiteral("mnListLancamento_Click")), [&] {
        const qint32 task = selectedId(m_tasks);
        if (task == 0) {
            return;
        }
        data::timeEntries::NewEntry owners;
        const QString missing = data::timeEntries::lookUpOwners(task, owners);
        if (!missing.isEmpty()) {
            recordLookup::missingField(missing);
            return;
        }
        auto editor =
            renew(m_editors.newEntry, external::componentFactory().createTimeEntryEditor(), "TimeEntryEditor");
        int contacto_id = static_cast<int>(owners.client);
        int processo_id = static_cast<int>(owners.caseId);
        int tarefa_id = task;
        int AdvogadoID = session::modCode::AdvogadoID;
        editor->NewEntry(contacto_id, processo_id, tarefa_id, AdvogadoID, &m_owner);
    });
}

void RecordOpening::newEntryWizard()
{
    core::trap(reports::command(m_window.objectName(), QStringLiteral("mnLancamentoNovo_Click")), [&] {
        signedOn(external::componentFactory().createWorkAssistant(), "WorkAssistant")->NewEntryWizard();
    });
}

void RecordOpening::openEntry()
{
    core::trap(reports::lists(m_window.objectName(), QStringLiteral("ListView2_DblClick")), [&] {
        const qint32 entry = selectedId(m_entries);
        if (entry == 0) {
            return;
        }
        auto record = open(
            QStringLiteral("SELECT * FROM tbProcessos_Trabalhos_Tarefas_lancamentos WHERE lancamento_id = "), entry);
        if (!record->eof()) {
            auto editor = signedOn(external::componentFactory().createTimeEntryEditor(), "TimeEntryEditor");
            handRecord(*editor, &external::TimeEntryEditor::OpenRecord, *record,
                       record->value(QStringLiteral("lancamento_id")), &m_owner);
        }
        record->close();
    });
}

} // namespace counter
