#pragma once

#include <QString>
#include <QVariant>

#include <functional>
#include <memory>

namespace data {
class Recordset;
}

namespace external {

// The window a record editor was given as its owner: what an editor may call back after a save.
// The counter window implements it; external/ links no window.
class EditorOwner
{
public:
    // Tells the observer onOwnerGone installed, so that a component holding on to this owner reaches nothing.
    virtual ~EditorOwner();
    // Tray image Image_Index with tip strMsg.
    virtual void SetTrayIcon(int& Image_Index, const QString& strMsg) = 0;
    // Flag (ownerFlag) TaskSaved refills the task list selecting task ID, EntrySaved the time entries
    // selecting entry ID, anything else refills the task list.
    virtual void RemoteKey(int ID, int Flag) = 0;
};

// Called with each owner as it goes (one observer: the COM layer's, on Windows).
void onOwnerGone(std::function<void(const EditorOwner*)> observer);

// What an editor asks its owner to show after a save (EditorOwner::RemoteKey's Flag).
namespace ownerFlag {
// The task list refilled, with the task selected.
constexpr int TaskSaved = 4003;
// The time entries refilled, with the entry selected.
constexpr int EntrySaved = 4004;
// The task list refilled.
constexpr int ListChanged = 0;
} // namespace ownerFlag

// The record editors of the office's main application, called early bound in method order with every
// argument by reference. Every fresh object first receives SignOn with the user's name and the
// scrambled password; its result is a flag nobody examines. An implementation reports its own
// failures by throwing core::Error, which the calling command's handler reports.
class Component
{
public:
    virtual ~Component() = default;
    virtual bool SignOn(QString& UserName, QString& Password) = 0;
};

// OpenRecord and its kin: Record is open on the record, ID holds its identifier, both texts are empty,
// Owner is the counter window (null for EditDeadlines), the three numbers are 0.
class TimeEntryEditor : public Component
{
public:
    virtual void OpenRecord(data::Recordset& Record, QVariant& ID, QString& Text1, QString& Text2, EditorOwner* Owner,
                            int& Number1, int& Number2, int& Number3) = 0;
    // Registers a new time entry for the task; AdvogadoID is the lawyer it is recorded for.
    virtual void NewEntry(int& contacto_id, int& processo_id, int& tarefa_id, int& AdvogadoID, EditorOwner* Owner) = 0;
};

class WorkAssistant : public Component
{
public:
    // The chosen work item's identifier, 0 when nothing was chosen.
    virtual int SelectWork() = 0;
    // Chooses a task and registers a time entry for it; the result is ignored.
    virtual bool NewEntryWizard() = 0;
};

class TaskEditor : public Component
{
public:
    virtual void OpenRecord(data::Recordset& Record, QVariant& ID, QString& Text1, QString& Text2, EditorOwner* Owner,
                            int& Number1, int& Number2, int& Number3) = 0;
};

class CaseEditor : public Component
{
public:
    virtual void OpenRecord(data::Recordset& Record, QVariant& ID, QString& Text1, QString& Text2, EditorOwner* Owner,
                            int& Number1, int& Number2, int& Number3) = 0;
    virtual void OpenDocumentArchive(data::Recordset& Record, QVariant& ID, QString& Text1, QString& Text2,
                                     EditorOwner* Owner, int& Number1, int& Number2, int& Number3) = 0;
};

class WorkEditor : public Component
{
public:
    virtual void OpenRecord(data::Recordset& Record, QVariant& ID, QString& Text1, QString& Text2, EditorOwner* Owner,
                            int& Number1, int& Number2, int& Number3) = 0;
    // True when the work item's dates are settled.
    virtual bool EditDeadlines(data::Recordset& Record, QVariant& ID, QString& Text1, QString& Text2,
                               EditorOwner* Owner, int& Number1, int& Number2, int& Number3) = 0;
};

// Makes a fresh object of each kind, or null when the workstation has no component of that kind.
class ComponentFactory
{
public:
    virtual ~ComponentFactory() = default;
    virtual std::unique_ptr<TimeEntryEditor> createTimeEntryEditor() = 0;
    virtual std::unique_ptr<WorkAssistant> createWorkAssistant() = 0;
    virtual std::unique_ptr<TaskEditor> createTaskEditor() = 0;
    virtual std::unique_ptr<CaseEditor> createCaseEditor() = 0;
    virtual std::unique_ptr<WorkEditor> createWorkEditor() = 0;
};

// The factory the commands create their objects through: installed by the executable, replaced by
// tests. Until one is installed, a factory that has no component of any kind.
ComponentFactory& componentFactory();
// Installs factory (null: back to the one with no components) and returns the one it replaces.
std::shared_ptr<ComponentFactory> installComponentFactory(std::shared_ptr<ComponentFactory> factory);

// Error 429, "ActiveX component can't create object", naming the kind: what a command raises when
// the factory has no component of the kind it needs.
[[noreturn]] void throwNoComponent(const QString& kind);

} // namespace external
