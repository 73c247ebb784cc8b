#pragma once

#include "editors/signon.h"
#include "external/recordeditors.h"

// The record editors of our own, as dialogs on the shared connection. Each object answers only after a
// successful SignOn; otherwise every call shows the refusal and writes nothing. Errors while loading a
// record are thrown (core::Error) for the calling command to report; errors while saving are reported by
// the dialog, which stays open.
namespace editors {

// The task editor: after a save the owner refills its task list on the task (RemoteKey(task, 4003)).
class DialogTaskEditor final : public external::TaskEditor
{
public:
    bool SignOn(QString& UserName, QString& Password) override;
    void OpenRecord(data::Recordset& Record, QVariant& ID, QString& Text1, QString& Text2, external::EditorOwner* Owner,
                    int& Number1, int& Number2, int& Number3) override;

private:
    SignOnCheck m_signOn;
};

// The work-item editor: after a save the owner refills its task list (RemoteKey(work item, 0)).
// EditDeadlines answers true only when a save left both deadlines set.
class DialogWorkEditor final : public external::WorkEditor
{
public:
    bool SignOn(QString& UserName, QString& Password) override;
    void OpenRecord(data::Recordset& Record, QVariant& ID, QString& Text1, QString& Text2, external::EditorOwner* Owner,
                    int& Number1, int& Number2, int& Number3) override;
    bool EditDeadlines(data::Recordset& Record, QVariant& ID, QString& Text1, QString& Text2,
                       external::EditorOwner* Owner, int& Number1, int& Number2, int& Number3) override;

private:
    bool edit(data::Recordset& Record, QVariant& ID, external::EditorOwner* Owner, bool deadlines);

    SignOnCheck m_signOn;
};

// The case viewer and the case's document archive.
class DialogCaseEditor final : public external::CaseEditor
{
public:
    bool SignOn(QString& UserName, QString& Password) override;
    void OpenRecord(data::Recordset& Record, QVariant& ID, QString& Text1, QString& Text2, external::EditorOwner* Owner,
                    int& Number1, int& Number2, int& Number3) override;
    void OpenDocumentArchive(data::Recordset& Record, QVariant& ID, QString& Text1, QString& Text2,
                             external::EditorOwner* Owner, int& Number1, int& Number2, int& Number3) override;

private:
    SignOnCheck m_signOn;
};

// The time-entry editor: after a save the owner refills its entries on the entry (RemoteKey(entry, 4004)).
class DialogTimeEntryEditor final : public external::TimeEntryEditor
{
public:
    bool SignOn(QString& UserName, QString& Password) override;
    void OpenRecord(data::Recordset& Record, QVariant& ID, QString& Text1, QString& Text2, external::EditorOwner* Owner,
                    int& Number1, int& Number2, int& Number3) override;
    void NewEntry(int& contacto_id, int& processo_id, int& tarefa_id, int& AdvogadoID,
                  external::EditorOwner* Owner) override;

private:
    SignOnCheck m_signOn;
};

// Makes the dialogs above and the work assistant.
class DialogComponentFactory final : public external::ComponentFactory
{
public:
    std::unique_ptr<external::TimeEntryEditor> createTimeEntryEditor() override;
    std::unique_ptr<external::WorkAssistant> createWorkAssistant() override;
    std::unique_ptr<external::TaskEditor> createTaskEditor() override;
    std::unique_ptr<external::CaseEditor> createCaseEditor() override;
    std::unique_ptr<external::WorkEditor> createWorkEditor() override;
};

// Makes these dialogs the components the counter's commands create.
void installDialogComponents();

} // namespace editors
