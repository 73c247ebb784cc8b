#pragma once

#include "testsupport/tempdatabase.h"

#include <QDate>
#include <QDateTime>
#include <QVariant>

namespace testsupport {

// text as an SQL string literal, quoted by the standard rule both engines follow: in apostrophes, each of its own
// doubled.
inline QString sqlText(QString text)
{
    return QLatin1Char('\'') + text.replace(QLatin1Char('\''), QStringLiteral("''")) + QLatin1Char('\'');
}

// A small law office in a fresh embedded database, opened as the shared connection:
//   lawyers 9 "Ana Lopes" (price 45.5) and 10 "Bruno Sá" (no price), user "ana" behind lawyer 9;
//   client contact 402 and case 15 ("2009/015") of that client;
//   work item 77 "Contestação" of case 15, assigned to lawyer 9, with task 812 "Redigir contestação";
//   counting basis 1 and price rule 2, both with counter set.
// Tests add what else they need with the helpers or with database().exec.
class OfficeFixture
{
public:
    static constexpr int Lawyer = 9;
    static constexpr int OtherLawyer = 10;
    static constexpr int Client = 402;
    static constexpr int Case = 15;
    static constexpr int Work = 77;
    static constexpr int Task = 812;

    // Throws core::Error when the database cannot be made or opened.
    explicit OfficeFixture(TempDatabase::Place place = TempDatabase::Place::Memory);

    TempDatabase& database() { return m_database; }

    // A work item of case caseId (null for a null caseId) assigned to lawyerId, with an office
    // deadline when officeDeadline is valid.
    void addWork(int workId, const QVariant& caseId, int lawyerId, const QString& name,
                 const QDate& officeDeadline = QDate());
    // An open task of workId (null for a null workId); hidden sets escondida, ordering sets data.
    void addTask(int taskId, const QVariant& workId, const QString& name, bool hidden = false,
                 const QDateTime& ordering = QDateTime());
    // A running entry of lawyer 9 on the task, as if started by the server at start; returns its id.
    qint64 addRunningEntry(int taskId, const QDateTime& start);

    // The number of time entries, and of those still running.
    int entryCount();
    int runningCount();
    // unidades of an entry, null when it does not exist.
    QVariant minutesOf(qint64 entryId);

private:
    TempDatabase m_database;
};

} // namespace testsupport
