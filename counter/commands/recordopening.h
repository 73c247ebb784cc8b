#pragma once

#include <QObject>

class QWidget;

namespace external {
class EditorOwner;
}

namespace counter {

class ListView;
struct EditorFields;

// Opening records in the office's editors: the selected task, its work item, its case or the case's
// document archive, a new time entry for the task, the new-entry wizard, and a time entry of the
// entries list. Each looks up what it needs, takes a fresh editor from the factory, signs it on and
// hands it the record with the window as owner. A look-up that finds no record ends the command
// silently; every command but the wizard does nothing on an empty list or without a selected row.
// No list is refreshed afterwards: an editor that saves asks the owner (RemoteKey). Errors, the
// editors' own included, end the command and are reported under its name; what an editor did before
// stays done.
class RecordOpening : public QObject
{
    Q_OBJECT

public:
    RecordOpening(QWidget& window, external::EditorOwner& owner, ListView& tasks, ListView& entries,
                  EditorFields& editors);

    // Each reports under the window's name of its command (mnListAbrir_Click, …).
    void openTask();
    void openWork();
    void openCase();
    void openDocumentArchive();
    // Shows which of the task's work item, case and client is missing before any editor is made.
    void newEntry();
    // Needs no row: runs on an empty list too.
    void newEntryWizard();
    // The entry selected in ListView2.
    void openEntry();

private:
    enum class CaseView { Record, DocumentArchive };
    void openCaseAs(const QString& procedure, CaseView view);
    // The selected row's identifier, 0 when the list is empty or nothing is selected.
    static qint32 selectedId(const ListView& list);

    QWidget& m_window;
    external::EditorOwner& m_owner;
    ListView& m_tasks;
    ListView& m_entries;
    EditorFields& m_editors;
};

} // namespace counter
