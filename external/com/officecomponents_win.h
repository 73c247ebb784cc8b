#pragma once

#include "external/recordeditors.h"

#include <QSet>

#include <memory>

namespace external::com {

// The record editors of the office's main application, reached over COM: each kind the machine settings name
// (data::ComponentIdentifiers) is created afresh by its class identifier, asked for its custom interface and
// called in method order (officeinterfaces_win.h), the record handed over as an ADO recordset (adorecord_win.h)
// and the owner as an automation object (ownerdispatch_win.h). A kind that is not configured, not registered or
// cannot be created comes from fallback instead. The first time each kind is asked for, the log says which was
// chosen, and why the office's was not.
class OfficeComponentFactory final : public ComponentFactory
{
public:
    explicit OfficeComponentFactory(std::shared_ptr<ComponentFactory> fallback);

    std::unique_ptr<TimeEntryEditor> createTimeEntryEditor() override;
    std::unique_ptr<WorkAssistant> createWorkAssistant() override;
    std::unique_ptr<TaskEditor> createTaskEditor() override;
    std::unique_ptr<CaseEditor> createCaseEditor() override;
    std::unique_ptr<WorkEditor> createWorkEditor() override;

private:
    // A fresh object of kind's component as its interface (AddRef'd; the caller adopts it), or null.
    void* create(const QString& kind);
    void note(const QString& kind, const QString& used, const QString& unused);

    std::shared_ptr<ComponentFactory> m_fallback;
    QSet<QString> m_noted;
};

// Puts an OfficeComponentFactory in front of the factory installed now (the counter's own editors).
void installOfficeComponents();

} // namespace external::com
