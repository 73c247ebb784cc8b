#include "core/errorreport.h"

#include "core/errorreporting.h"

#include <cstdio>

namespace core {

bool ruleAllows(Rule rule, const ErrorValue& error)
{
    if (error.number == 0) {
        return false;
    }
    if (rule == Rule::A) {
        return true;
    }
    if (error.number == errc::ClosedConnection) {
        return false;
    }
    if (rule == Rule::B) {
        return true;
    }
    return !error.description.trimmed().isEmpty();
}

QString reportText(TextForm form, const ErrorValue& error)
{
    if (form == TextForm::Number) {
        return QStringLiteral("Error Number = %1 | Description = %2").arg(error.number).arg(error.description);
    }
    return error.description;
}

void reportError(const ReportLabels& labels, const ErrorValue& error)
{
    if (!ruleAllows(labels.rule, error)) {
        return;
    }
    const QString text = reportText(labels.form, error);
    try {
        auto component = createErrorReporting();
        if (!component) {
            throw std::runtime_error("ErrorReporting.General could not be created");
        }
        component->Report(labels.application, labels.project, labels.owner, labels.procedure, text);
    } catch (...) {
        // The report must never escape the handler; stderr is the last resort.
        const QString line = QStringLiteral("unreported error [%1 | %2 | %3 | %4]: %5")
                                 .arg(labels.application, labels.project, labels.owner, labels.procedure, text);
        std::fprintf(stderr, "%s\n", line.toLocal8Bit().constData());
    }
}

} // namespace core
