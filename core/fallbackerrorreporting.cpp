#include "core/fallbackerrorreporting.h"

#include "core/errorvalue.h"

namespace core {

FallbackErrorReporting::FallbackErrorReporting(QString componentName, ErrorReportingFactory component,
                                               std::atomic_bool& notice)
    : m_componentName(std::move(componentName))
    , m_component(std::move(component))
    , m_notice(notice)
{}

void FallbackErrorReporting::Report(const QString& application, const QString& project, const QString& owner,
                                    const QString& procedure, const QString& text)
{
    QString why;
    try {
        std::unique_ptr<ErrorReporting> component = m_component();
        if (!component) {
            throw standardError(errc::CannotCreateObject);
        }
        component->Report(application, project, owner, procedure, text);
        return;
    } catch (...) {
        const ErrorValue error = currentError();
        why = QStringLiteral("%1 (error %2)").arg(error.description).arg(error.number);
    }
    LogFileErrorReporting log;
    if (!m_notice.exchange(true)) {
        log.noteComponentUnused(m_componentName, why);
    }
    log.Report(application, project, owner, procedure, text);
}

} // namespace core
