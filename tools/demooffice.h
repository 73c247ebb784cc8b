#pragma once

#include "tools/demohistory.h"
#include "tools/demorandom.h"
#include "tools/demostaff.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QVariant>

namespace tools {

class DemoWriter;

// What a demo office holds, for the summary printed after a build.
struct DemoSummary {
    int clients = 0;
    int cases = 0;
    int workItems = 0;
    int tasks = 0;
    int pendingTasks = 0; // open tasks of work items assigned to a lawyer
    int entries = 0;      // closed time entries
    int running = 0;      // entries still counting
};

// A law office to try the counter on: five lawyers with pending tasks spread around a given day
// (overdue, due tomorrow, hidden, finished, some being counted), their clients, court and other
// cases, work items with and without deadlines, and some weeks of time entries. The same day and
// size always give the same office.
class DemoOffice
{
public:
    static constexpr int DefaultSize = 250;
    static constexpr int MinSize = 100;
    static constexpr int MaxSize = 10000;

    // size is the number of tasks, from MinSize to MaxSize.
    explicit DemoOffice(const QDate& day, int size = DefaultSize);

    // The database catalog and the shared account the counter's settings name.
    static QString catalog();
    static QString sharedUser();
    static QString sharedPassword();

    // Creates the database file, its logins and its tables, and fills it.
    // Throws core::Error when the file exists already, the size is out of range or a statement fails.
    DemoSummary build(const QString& path);

private:
    struct CaseRow {
        int processoId = 0;
        int contactoId = 0;
        bool judicial = false;
    };

    void addLogins(const QString& file);
    void fill(const QString& file);
    void addClients(DemoWriter& writer);
    void addCases(DemoWriter& writer);
    void addWork(DemoWriter& writer);
    void addWorkItem(DemoWriter& writer, int statement, int trabalhoId, const CaseRow& row, int lawyer, int ordinal);
    void addTasks(DemoWriter& writer, int statement, int trabalhoId, const CaseRow& row, int lawyer, int ordinal,
                  int count, const QDate& created);
    QDate deadline(int ordinal, bool judicial);

    QDate m_day;
    int m_size;
    DemoRandom m_random;
    DemoSummary m_summary;
    int m_clientCount = 0;
    int m_taskStatement = -1;
    QList<DemoPerson> m_lawyers; // the lawyers who count time
    QList<CaseRow> m_cases;
    QList<QList<DemoTask>> m_tasksByLawyer; // by position in m_lawyers
};

} // namespace tools
