#pragma once

#include "core/errorreporting.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <stdexcept>

namespace testsupport {

// One Report call as the component received it.
struct Report {
    QString application;
    QString project;
    QString owner;
    QString procedure;
    QString text;
};

// Installs an error-reporting factory that records every report for its lifetime.
// With failing set, the component throws from Report, as a broken component would.
class RecordedReports
{
public:
    RecordedReports()
    {
        core::setErrorReportingFactory([this]() -> std::unique_ptr<core::ErrorReporting> {
            return std::make_unique<Component>(m_reports, m_failing);
        });
    }
    ~RecordedReports() { core::setErrorReportingFactory({}); }

    const QList<Report>& reports() const { return m_reports; }
    void clear() { m_reports.clear(); }
    void setFailing(bool failing) { m_failing = failing; }
    // The procedure labels reported so far, in order.
    QStringList procedures() const
    {
        QStringList labels;
        for (const auto& report : m_reports) {
            labels << report.procedure;
        }
        return labels;
    }

private:
    struct Component : core::ErrorReporting {
        Component(QList<testsupport::Report>& sink, bool failing)
            : sink(sink)
            , failing(failing)
        {}
        void Report(const QString& application, const QString& project, const QString& owner, const QString& procedure,
                    const QString& text) override
        {
            if (failing) {
                throw std::runtime_error("component failed");
            }
            sink.append({application, project, owner, procedure, text});
        }
        QList<testsupport::Report>& sink;
        bool failing;
    };
    QList<Report> m_reports;
    bool m_failing = false;
};

} // namespace testsupport
