#include "editors/recordeditors.h"

#include "core/errorvalue.h"
#include "data/connection.h"
#include "data/valuetext.h"
#include "editors/casedialog.h"
#include "editors/documentarchive.h"
#include "editors/editorseams.h"
#include "editors/entries/entrydialog.h"
#include "editors/entries/entryregistration.h"
#include "editors/taskdialog.h"
#include "editors/workassistant.h"
#include "editors/workdialog.h"

namespace editors {
namespace {

// The record's identifier: ID when it holds one, else the key field of the record's current row.
// Throws 3021 when there is neither.
qint64 recordId(const QVariant& ID, const data::Recordset& Record, const QString& key)
{
    qint64 id = data::valueText::isNull(ID) ? 0 : ID.toLongLong();
    if (id == 0 && Record.isOpen() && !Record.eof()) {
        const QVariant field = Record.value(key);
        id = data::valueText::isNull(field) ? 0 : field.toLongLong();
    }
    if (id == 0) {
        throw core::standardError(core::errc::NoCurrentRecord);
    }
    return id;
}

} // namespace

bool DialogTaskEditor::SignOn(QString& UserName, QString& Password)
{
    return m_signOn.signOn(UserName, Password);
}

void DialogTaskEditor::OpenRecord(data::Recordset& Record, QVariant& ID, QString&, QString&,
                                  external::EditorOwner* Owner, int&, int&, int&)
{
    if (!m_signOn.admitted(QStringLiteral("Tarefa"))) {
        return;
    }
    const qint64 id = recordId(ID, Record, QStringLiteral("tarefa_id"));
    TaskDialog dialog(id, Record);
    if (runDialog(dialog) == QDialog::Accepted && Owner != nullptr) {
        Owner->RemoteKey(static_cast<int>(id), external::ownerFlag::TaskSaved);
    }
}

bool DialogWorkEditor::SignOn(QString& UserName, QString& Password)
{
    return m_signOn.signOn(UserName, Password);
}

void DialogWorkEditor::OpenRecord(data::Recordset& Record, QVariant& ID, QString&, QString&,
                                  external::EditorOwner* Owner, int&, int&, int&)
{
    edit(Record, ID, Owner, false);
}

bool DialogWorkEditor::EditDeadlines(data::Recordset& Record, QVariant& ID, QString&, QString&,
                                     external::EditorOwner* Owner, int&, int&, int&)
{
    return edit(Record, ID, Owner, true);
}

bool DialogWorkEditor::edit(data::Recordset& Record, QVariant& ID, external::EditorOwner* Owner, bool deadlines)
{
    if (!m_signOn.admitted(deadlines ? QStringLiteral("Prazos do Trabalho") : QStringLiteral("Trabalho"))) {
        return false;
    }
    const qint64 id = recordId(ID, Record, QStringLiteral("trabalho_id"));
    WorkDialog dialog(id, Record, deadlines);
    if (runDialog(dialog) != QDialog::Accepted) {
        return false;
    }
    if (Owner != nullptr) {
        Owner->RemoteKey(static_cast<int>(id), external::ownerFlag::ListChanged);
    }
    return dialog.datesSettled();
}

bool DialogCaseEditor::SignOn(QString& UserName, QString& Password)
{
    return m_signOn.signOn(UserName, Password);
}

void DialogCaseEditor::OpenRecord(data::Recordset& Record, QVariant& ID, QString&, QString&, external::EditorOwner*,
                                  int&, int&, int&)
{
    if (!m_signOn.admitted(QStringLiteral("Dossier"))) {
        return;
    }
    CaseDialog dialog(recordId(ID, Record, QStringLiteral("processo_id")), Record);
    runDialog(dialog);
}

void DialogCaseEditor::OpenDocumentArchive(data::Recordset& Record, QVariant& ID, QString&, QString&,
                                           external::EditorOwner*, int&, int&, int&)
{
    const QString title = QStringLiteral("Arquivo Documental");
    if (!m_signOn.admitted(title)) {
        return;
    }
    const qint64 id = recordId(ID, Record, QStringLiteral("processo_id"));
    QString number;
    if (Record.isOpen() && !Record.eof() && Record.hasField(QStringLiteral("processo_no_completo"))) {
        number = data::valueText::text(Record.value(QStringLiteral("processo_no_completo")));
    }
    documentArchive::open(number, id, title);
}

bool DialogTimeEntryEditor::SignOn(QString& UserName, QString& Password)
{
    return m_signOn.signOn(UserName, Password);
}

void DialogTimeEntryEditor::OpenRecord(data::Recordset& Record, QVariant& ID, QString&, QString&,
                                       external::EditorOwner* Owner, int&, int&, int&)
{
    if (!m_signOn.admitted(QStringLiteral("Lançamento"))) {
        return;
    }
    const qint64 id = recordId(ID, Record, QStringLiteral("lancamento_id"));
    EntryDialog dialog(id, Record);
    if (runDialog(dialog) == QDialog::Accepted && !dialog.running() && Owner != nullptr) {
        Owner->RemoteKey(static_cast<int>(id), external::ownerFlag::EntrySaved);
    }
}

void DialogTimeEntryEditor::NewEntry(int& contacto_id, int& processo_id, int& tarefa_id, int& AdvogadoID,
                                     external::EditorOwner* Owner)
{
    if (!m_signOn.admitted(QStringLiteral("Registar Lançamento"))) {
        return;
    }
    NewEntryDialog::Target target;
    target.client = contacto_id;
    target.caseId = processo_id;
    target.task = tarefa_id;
    target.lawyer = AdvogadoID;
    registerEntry(target, Owner);
}

std::unique_ptr<external::TimeEntryEditor> DialogComponentFactory::createTimeEntryEditor()
{
    return std::make_unique<DialogTimeEntryEditor>();
}

std::unique_ptr<external::WorkAssistant> DialogComponentFactory::createWorkAssistant()
{
    return std::make_unique<DialogWorkAssistant>();
}

std::unique_ptr<external::TaskEditor> DialogComponentFactory::createTaskEditor()
{
    return std::make_unique<DialogTaskEditor>();
}

std::unique_ptr<external::CaseEditor> DialogComponentFactory::createCaseEditor()
{
    return std::make_unique<DialogCaseEditor>();
}

std::unique_ptr<external::WorkEditor> DialogComponentFactory::createWorkEditor()
{
    return std::make_unique<DialogWorkEditor>();
}

void installDialogComponents()
{
    external::installComponentFactory(std::make_shared<DialogComponentFactory>());
}

} // namespace editors
