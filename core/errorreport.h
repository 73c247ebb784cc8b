#pragma once

#include "core/errorvalue.h"

#include <QString>

namespace core {

// When a trapped error is reported. A: number is not 0. B: A and not 3709. C: B and a non-blank description.
enum class Rule { A, B, C };

// What the fifth text carries: the description alone, or "Error Number = N | Description = D".
enum class TextForm { Description, Number };

// The fixed texts of one handler: application and project labels, owner, procedure label, rule and form.
struct ReportLabels {
    QString application;
    QString project;
    QString owner;
    QString procedure;
    Rule rule = Rule::A;
    TextForm form = TextForm::Description;
};

bool ruleAllows(Rule rule, const ErrorValue& error);
QString reportText(TextForm form, const ErrorValue& error);

// The one reporting path. Applies the rule, creates a fresh error-reporting component and hands it
// the five texts. Never throws: a component that cannot be created or fails is written to stderr.
void reportError(const ReportLabels& labels, const ErrorValue& error);

// Runs body; an exception that escapes it is reported under labels and swallowed.
// Returns true when body ran to its end.
template <typename Body> bool trap(const ReportLabels& labels, Body&& body)
{
    try {
        body();
        return true;
    } catch (...) {
        reportError(labels, currentError());
        return false;
    }
}

} // namespace core
