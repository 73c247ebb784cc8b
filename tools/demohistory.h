#pragma once

#include "tools/demorandom.h"
#include "tools/demostaff.h"

#include <QDate>
#include <QList>
#include <QString>

#include <vector>

namespace tools {

class DemoWriter;

// A task of the demo office as its time entries need it.
struct DemoTask {
    int tarefaId = 0;
    int trabalhoId = 0;
    int processoId = 0;
    int contactoId = 0;
    bool open = false;    // not finished
    bool visible = false; // not hidden
};

// The time entries of the demo office: closed entries on the working days before the day, on the
// lawyers' own tasks, and entries still counting since the morning of the day for the first three
// lawyers (at most one each, on a visible open task).
class DemoHistory
{
public:
    DemoHistory(const QDate& day, int size, DemoRandom& random);

    // The closed entries of a size (a number of tasks): the square of the size over 100, from 625
    // at the default size to a million at the largest.
    static int entryCount(int size);
    // The calendar days before the day over which they are spread: three weeks at the default
    // size, growing with the size.
    static int historyDays(int size);

    // Writes the entries of the lawyers' tasks, tasksByLawyer being in the order of lawyers.
    // Throws core::Error.
    void write(DemoWriter& writer, const QList<DemoPerson>& lawyers, const QList<QList<DemoTask>>& tasksByLawyer);

    int entries() const { return m_entries; }
    int running() const { return m_running; }

private:
    QString stamp(int daysBefore, int minuteOfDay);
    void writeRunning(DemoWriter& writer, int statement, const QList<DemoPerson>& lawyers,
                      const QList<QList<DemoTask>>& tasksByLawyer);

    QDate m_day;
    int m_size;
    DemoRandom& m_random;
    int m_entries = 0;
    int m_running = 0;
    std::vector<QString> m_dayTexts;    // by days before the day
    std::vector<QString> m_minuteTexts; // by minute of the day
};

} // namespace tools
