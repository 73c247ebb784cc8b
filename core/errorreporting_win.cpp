// The office's error-reporting component, reached over COM.
#include "core/com/dispatcher_win.h"
#include "core/errorreporting.h"
#include "core/fallbackerrorreporting.h"

#include <atomic>

namespace core {
namespace {

const QString& componentProgId()
{
    static const QString progId = QStringLiteral("ErrorReporting.General");
    return progId;
}

// "ErrorReporting.General" created afresh for the one report, called late bound, released at once.
class AutomationErrorReporting : public ErrorReporting
{
public:
    void Report(const QString& application, const QString& project, const QString& owner, const QString& procedure,
                const QString& text) override
    {
        com::Dispatcher component = com::Dispatcher::create(componentProgId());
        component.call(QStringLiteral("Report"), {application, project, owner, procedure, text});
    }
};

} // namespace

std::unique_ptr<ErrorReporting> platformErrorReporting()
{
    // The log says once per process why the component was not used.
    static std::atomic_bool noticeGiven{false};
    return std::make_unique<FallbackErrorReporting>(
        componentProgId(), [] { return std::make_unique<AutomationErrorReporting>(); }, noticeGiven);
}

} // namespace core
