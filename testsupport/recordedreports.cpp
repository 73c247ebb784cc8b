#include "testsupport/recordedreports.h"

#include "core/errorreporting.h"

#include <QStringList>

#include <stdexcept>

namespace testsupport {
namespace {
class RecordingComponent : public core::ErrorReporting
{
public:
    RecordingComponent(QList<testsupport::Report>& sink, bool failing)
        : m_sink(sink)
        , m_failing(failing)
    {}
    void Report(const QString& application, const QString& project, const QString& owner, const QString& procedure,
                const QString& text) override
    {
        if (m_failing) {
            throw std::runtime_error("component failed");
        }
        m_sink.append({application, project, owner, procedure, text});
    }

private:
    QList<testsupport::Report>& m_sink;
    bool m_failing;
};
} // namespace

RecordedReports::RecordedReports()
{
    core::setErrorReportingFactory([this]() -> std::unique_ptr<core::ErrorReporting> {
        return std::make_unique<RecordingComponent>(m_reports, m_failing);
    });
}

RecordedReports::~RecordedReports()
{
    core::setErrorReportingFactory({});
}

QStringList RecordedReports::procedures() const
{
    QStringList labels;
    for (const auto& report : m_reports) {
        labels << report.procedure;
    }
    return labels;
}

} // namespace testsupport
