#pragma once

#include "core/errorreporting.h"

#include <atomic>

namespace core {

// Hands each report to a component; when the component cannot be made or its Report fails, writes the report
// to the log instead (LogFileErrorReporting) and, the first time notice has not yet been given, a line saying
// why the component was not used. Throws only when the log itself cannot be written.
class FallbackErrorReporting : public ErrorReporting
{
public:
    // component makes the component, throwing when it cannot; notice is shared by every report of the process.
    FallbackErrorReporting(QString componentName, ErrorReportingFactory component, std::atomic_bool& notice);

    void Report(const QString& application, const QString& project, const QString& owner, const QString& procedure,
                const QString& text) override;

private:
    QString m_componentName;
    ErrorReportingFactory m_component;
    std::atomic_bool& m_notice;
};

} // namespace core
