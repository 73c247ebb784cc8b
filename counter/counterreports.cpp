#include "counter/counterreports.h"

namespace counter::reports {

core::ReportLabels window(const QString& owner, const QString& procedure)
{
    return {QStringLiteral("Orv Counter"), QStringLiteral("orvcounter"), owner, procedure, core::Rule::A,
            core::TextForm::Description};
}

core::ReportLabels command(const QString& owner, const QString& procedure)
{
    return {QStringLiteral("Orv Counter"), QStringLiteral("Orv Counter"), owner, procedure, core::Rule::A,
            core::TextForm::Description};
}

core::ReportLabels lists(const QString& owner, const QString& procedure)
{
    return {QStringLiteral("Orv Software"), QStringLiteral("Orv_Counter"), owner, procedure, core::Rule::C,
            core::TextForm::Description};
}

void reportChanged(const core::ReportLabels& labels, const core::ErrorValue& failure,
                   std::optional<core::ErrorValue>& last)
{
    if (!last || last->number != failure.number || last->description != failure.description) {
        core::reportError(labels, failure);
    }
    last = failure;
}

} // namespace counter::reports
