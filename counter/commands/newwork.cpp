#include "counter/commands/newwork.h"

#include "core/messagebox.h"
#include "counter/commands/editorfields.h"
#include "counter/commands/recordlookup.h"
#include "counter/counterreports.h"
#include "counter/pendingtasks.h"
#include "data/connection.h"
#include "data/timeentries/runningentries.h"
#include "data/valuetext.h"
#include "session/modcode.h"

#include <QWidget>

namespace counter {
namespace {

const QString Title = QStringLiteral("Atribuir Novo Trabalho");

bool isSet(const QVariant& value)
{
    return !data::valueText::isNull(value) && data::valueText::toNumber(value) != 0;
}

bool askForDates(const QString& why)
{
    return core::msgBox(why + core::messageBreak() + QStringLiteral("Pretende indicar essas datas agora?"),
                        core::Buttons::YesNo, core::Icon::Question, Title) == core::Answer::Yes;
}

} // namespace

NewWork::NewWork(QWidget& window, EditorFields& editors, PendingTasks& tasks)
    : QObject(&window)
    , m_window(window)
    , m_editors(editors)
    , m_tasks(tasks)
{}

void NewWork::assign()
{
    core::trap(reports::command(m_window.objectName(), QStringLiteral("mnNovaTarefa_Click")), [&] {
        const auto assistant =
            renew(m_editors.newWork, external::componentFactory().createWorkAssistant(), "WorkAssistant");
        const int chosen = assistant->SelectWork();
        if (chosen == 0) {
            return;
        }
        const QString work = QString::number(chosen);
        data::Connection& db = data::Data::SqlServer();
        auto record =
            db.openRecordset(QStringLiteral("SELECT * FROM tbProcessos_Trabalhos WHERE trabalho_id = ") + work);
        // A chosen identifier without a record is assigned unchecked: the update then changes nothing.
        if (!record->eof() && !(deadlinesSettled(*record) && mayBeTaken(work) &&
                                mayLeaveItsLawyer(record->value(QStringLiteral("advogado_id"))))) {
            record->close();
            return;
        }
        record->close();
        // A count started on the work item since the check keeps it with its lawyer: the statement refuses.
        if (db.execute(QStringLiteral("UPDATE tbProcessos_Trabalhos SET advogado_id = ") +
                       QString::number(session::modCode::AdvogadoID) + QStringLiteral(" WHERE trabalho_id = ") + work +
                       data::runningEntries::noneRunning(QStringLiteral("trabalho_id"), chosen)) == 0 &&
            data::runningEntries::anyRunning(QStringLiteral("trabalho_id"), chosen)) {
            showRunning();
            return;
        }
        m_tasks.fill(0);
    });
}

bool NewWork::deadlinesSettled(data::Recordset& work)
{
    auto caseRecord =
        data::Data::SqlServer().openRecordset(QStringLiteral("SELECT * FROM tbProcessos WHERE processo_id = ") +
                                              recordLookup::identifier(work.value(QStringLiteral("processo_id"))));
    const bool courtCase = !caseRecord->eof() && isSet(caseRecord->value(QStringLiteral("judicial")));
    caseRecord->close();

    const QVariant deadlines = work.value(QStringLiteral("prazos"));
    const bool asksForDates = !data::valueText::isNull(deadlines) && data::valueText::toNumber(deadlines) == 0;
    const bool datesMissing = data::valueText::isNull(work.value(QStringLiteral("data_escritorio"))) ||
                              data::valueText::isNull(work.value(QStringLiteral("data_legal")));
    if (!courtCase || !asksForDates || !datesMissing) {
        return true;
    }
    if (!askForDates(QStringLiteral("O trabalho selecionado é do tipo Judicial, e para poder continuar tem de indicar "
                                    "a Data Legal e o Prazo de Escritório."))) {
        return false;
    }
    auto editor = signedOn(external::componentFactory().createWorkEditor(), "WorkEditor");
    for (;;) {
        if (handRecord(*editor, &external::WorkEditor::EditDeadlines, work, work.value(QStringLiteral("trabalho_id")),
                       nullptr)) {
            return true;
        }
        if (!askForDates(QStringLiteral("As datas de escritório e prazo legal não foram definidas, para continuar tem "
                                        "de registar estas datas."))) {
            return false;
        }
    }
}

bool NewWork::mayLeaveItsLawyer(const QVariant& lawyer)
{
    if (!isSet(lawyer) || data::valueText::toNumber(lawyer) == session::modCode::AdvogadoID) {
        return true;
    }
    // Another lawyer's work leaves that lawyer's list: not without the user's word.
    return core::msgBox(QStringLiteral("O trabalho selecionado está atribuído a outro advogado.") +
                            core::messageBreak() + QStringLiteral("Pretende passá-lo para esta lista de tarefas?"),
                        core::Buttons::YesNo, core::Icon::Question,
                        QStringLiteral("Atribuir Novo Trabalho")) == core::Answer::Yes;
}

void NewWork::showRunning()
{
    core::msgBox(QStringLiteral("O trabalho selecionado tem tarefas em curso.") + core::messageBreak() +
                     QStringLiteral("As tarefas em produção devem ser terminadas antes de as adicionar à sua lista."),
                 core::Buttons::Ok, core::Icon::Information);
}

bool NewWork::mayBeTaken(const QString& work)
{
    data::Connection& db = data::Data::SqlServer();
    auto pending = db.openRecordset(QStringLiteral("SELECT COUNT(*) as no FROM tbProcessos_Trabalhos_Tarefas WHERE "
                                                   "(closed = 0 OR closed is null) AND trabalho_id = ") +
                                    work);
    if (!pending->eof() && pending->value(QStringLiteral("no")).toLongLong() == 0) {
        core::msgBox(QStringLiteral("O trabalho selecionado não tem tarefas pendentes."), core::Buttons::Ok,
                     core::Icon::Information);
        pending->close();
        return false;
    }
    pending->close();
    auto running =
        db.openRecordset(QStringLiteral("SELECT COUNT(*) as no FROM tbProcessos_Trabalhos_Tarefas_Lancamentos "
                                        "WHERE inprogress <> 0 AND trabalho_id = ") +
                         work);
    const bool anyRunning = !running->eof() && running->value(QStringLiteral("no")).toLongLong() != 0;
    running->close();
    if (anyRunning) {
        showRunning();
        return false;
    }
    return true;
}

} // namespace counter
