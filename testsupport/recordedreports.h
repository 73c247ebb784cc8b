#pragma once

#include <QList>
#include <QString>

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
    RecordedReports();
    ~RecordedReports();

    const QList<Report>& reports() const { return m_reports; }
    void clear() { m_reports.clear(); }
    void setFailing(bool failing) { m_failing = failing; }
    // The procedure labels reported so far, in order.
    QStringList procedures() const;

private:
    QList<Report> m_reports;
    bool m_failing = false;
};

} // namespace testsupport
