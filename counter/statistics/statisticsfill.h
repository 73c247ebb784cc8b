#pragma once

#include <QDateTime>
#include <QIcon>
#include <QString>

namespace counter {

struct CounterControls;

// The fills of the two statistics lists: ListView2 (a lawyer's time entries whose start lies between
// the two dates) and ListView3 (their minutes summed per client, case, work item and task), each
// followed by the hour total in FXTotal.
namespace statisticsFill {

// The first and the last second of the days the two date pickers show, whatever their time of day.
struct Bounds {
    QDateTime start;
    QDateTime end;
};
Bounds bounds(const QDateTime& startDay, const QDateTime& endDay);

// The statements as sent, for lawyer and bounds; a start on 1 January 1900 becomes "null".
QString entriesStatement(qint32 lawyer, const Bounds& bounds);
QString totalsStatement(qint32 lawyer, const Bounds& bounds);

// Cells kept with each row beside the shown ones: the minutes unformatted (decimal comma, no
// grouping; empty for a null), for a spreadsheet to read as a number.
constexpr int EntriesRawMinutes = 6;
constexpr int TotalsRawMinutes = 5;

// The hours shown for a sum of minutes: two decimals, a half going to the even digit.
double hoursOf(double minutes);

// Refills ListView2 for AdvogadoID and the pickers' dates, selecting and showing entry L (0: none), then
// FXTotal. Errors are reported ("FillLancamentos"): rows added so far stay and the total is not updated.
void entries(const CounterControls& controls, const QIcon& rowIcon, const QString& owner, int L);
// Refills ListView3 and FXTotal in the same way.
void totals(const CounterControls& controls, const QIcon& rowIcon, const QString& owner);

} // namespace statisticsFill
} // namespace counter
