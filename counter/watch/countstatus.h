#pragma once

#include "counter/watch/absencecheck.h"
#include "counter/watch/preferences.h"

#include <QDateTime>
#include <QList>
#include <QString>

// What the notification area says about the counts, decided from the running rows, the clock and the lawyer's
// preferences alone, so that tests give the moments.
namespace counter::countStatus {

// ImageList1's image and the tip: image 1 and "Orvel" while nothing counts; image 2 and the task with the time it
// has counted ("A contar: Redigir contestação (01:25)"), or how many tasks and the longest time.
struct Tray {
    int image = 1;
    QString tip;
};
Tray tray(const QList<RunningTask>& running, const QDateTime& now);

// A count to flag: running longer than preferences.longCountHours (0: never), or begun on an earlier day than now.
bool isLong(const RunningTask& task, const QDateTime& now, const Preferences& preferences);
// The text of the notification for a long count.
QString longText(const RunningTask& task, const QDateTime& now);

// Where a count forgotten since an earlier day is offered to end: at the end of the working hours of the day it
// began (preferences.dayEnd), or at that day's midnight when it began after them.
QDateTime forgottenEnd(const QDateTime& start, const Preferences& preferences);

// True when now is in working hours (Monday to Friday, dayStart up to dayEnd) and nothing has counted since
// quietSince for at least silentMinutes (0: never).
bool silentTooLong(const QDateTime& quietSince, const QDateTime& now, const Preferences& preferences);
QString silentText(const Preferences& preferences);

} // namespace counter::countStatus
