#pragma once

#include "editors/signon.h"
#include "external/recordeditors.h"

namespace editors {

// The work assistant: picks a work item to take on, and the new-entry wizard (a task of the lawyer's
// work items, then a new time entry for it).
class DialogWorkAssistant final : public external::WorkAssistant
{
public:
    bool SignOn(QString& UserName, QString& Password) override;
    // Every work item with its case, client, lawyer and pending tasks; 0 when nothing was chosen.
    int SelectWork() override;
    // The tasks of the work items of the lawyer the counter acts for (AdvogadoID); true when an entry
    // was registered.
    bool NewEntryWizard() override;

private:
    SignOnCheck m_signOn;
};

} // namespace editors
