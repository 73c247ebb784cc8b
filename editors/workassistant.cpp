#include "editors/workassistant.h"

#include "data/connection.h"
#include "data/timeentries/timeentries.h"
#include "editors/editorseams.h"
#include "editors/entries/entryregistration.h"
#include "editors/pickerdialog.h"
#include "editors/workcontext.h"
#include "session/modcode.h"

namespace editors {
namespace {

// The rows of statement: the identifier in its first field, the texts of the others in order.
QList<PickerDialog::Row> readRows(const QString& statement, const QStringList& fields)
{
    QList<PickerDialog::Row> rows;
    auto records = data::Data::SqlServer().openRecordset(statement);
    for (; !records->eof(); records->moveNext()) {
        PickerDialog::Row row;
        row.id = records->value(fields.first()).toLongLong();
        for (qsizetype i = 1; i < fields.size(); ++i) {
            row.texts << fieldText(*records, fields.at(i));
        }
        rows << row;
    }
    records->close();
    return rows;
}

// The counter window as the owner editors call back, when it is one.
external::EditorOwner* counterWindow()
{
    return dynamic_cast<external::EditorOwner*>(session::modCode::CounterWindow);
}

} // namespace

bool DialogWorkAssistant::SignOn(QString& UserName, QString& Password)
{
    return m_signOn.signOn(UserName, Password);
}

int DialogWorkAssistant::SelectWork()
{
    const QString title = QStringLiteral("Atribuir Novo Trabalho");
    if (!m_signOn.admitted(title)) {
        return 0;
    }
    PickerDialog picker(QStringLiteral("frmTrabalhos"), title,
                        {QStringLiteral("Dossier"), QStringLiteral("Cliente"), QStringLiteral("Trabalho"),
                         QStringLiteral("Advogado"), QStringLiteral("Pendentes")},
                        {0, 1, 2});
    picker.setRows(readRows(
        QStringLiteral("SELECT w.trabalho_id AS trabalho_id, p.processo_no_completo AS processo_no_completo, "
                       "c.nome_union AS cliente, w.descrit AS trabalho, a.nome_union AS advogado, (SELECT COUNT(*) "
                       "FROM tbProcessos_Trabalhos_Tarefas t WHERE t.trabalho_id = w.trabalho_id AND (t.closed = 0 "
                       "OR t.closed IS NULL)) AS pendentes FROM tbProcessos_Trabalhos w LEFT JOIN tbProcessos p ON "
                       "p.processo_id = w.processo_id LEFT JOIN tbContactos c ON c.contacto_id = p.contacto_id LEFT "
                       "JOIN tbContactos a ON a.contacto_id = w.advogado_id ORDER BY p.processo_no_completo, "
                       "w.trabalho_id"),
        {QStringLiteral("trabalho_id"), QStringLiteral("processo_no_completo"), QStringLiteral("cliente"),
         QStringLiteral("trabalho"), QStringLiteral("advogado"), QStringLiteral("pendentes")}));
    if (runDialog(picker) != QDialog::Accepted) {
        return 0;
    }
    return static_cast<int>(picker.chosen());
}

bool DialogWorkAssistant::NewEntryWizard()
{
    const QString title = QStringLiteral("Assistente de Novo Lançamento");
    if (!m_signOn.admitted(title)) {
        return false;
    }
    PickerDialog picker(
        QStringLiteral("frmTarefas"), title,
        {QStringLiteral("Dossier"), QStringLiteral("Cliente"), QStringLiteral("Trabalho"), QStringLiteral("Tarefa")},
        {0, 1, 2, 3});
    picker.setRows(readRows(
        QStringLiteral("SELECT t.tarefa_id AS tarefa_id, p.processo_no_completo AS processo_no_completo, c.nome_union "
                       "AS cliente, w.descrit AS trabalho, t.descrit AS tarefa FROM tbProcessos_Trabalhos_Tarefas t "
                       "INNER JOIN tbProcessos_Trabalhos w ON w.trabalho_id = t.trabalho_id LEFT JOIN tbProcessos p "
                       "ON p.processo_id = w.processo_id LEFT JOIN tbContactos c ON c.contacto_id = p.contacto_id "
                       "WHERE (t.closed = 0 OR t.closed IS NULL) AND w.advogado_id = ") +
            QString::number(session::modCode::AdvogadoID) +
            QStringLiteral(" ORDER BY p.processo_no_completo, t.tarefa_id"),
        {QStringLiteral("tarefa_id"), QStringLiteral("processo_no_completo"), QStringLiteral("cliente"),
         QStringLiteral("trabalho"), QStringLiteral("tarefa")}));
    if (runDialog(picker) != QDialog::Accepted || picker.chosen() == 0) {
        return false;
    }
    NewEntryDialog::Target target;
    target.task = picker.chosen();
    target.caseId = data::timeEntries::caseOfWork(data::timeEntries::workOfTask(target.task));
    target.client = target.caseId == 0 ? 0 : data::timeEntries::clientOfCase(target.caseId);
    target.lawyer = session::modCode::AdvogadoID;
    return registerEntry(target, counterWindow());
}

} // namespace editors
