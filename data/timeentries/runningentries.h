#pragma once

#include <QString>

// The one condition every write that closes a task, gives back or takes a work item carries, so that no
// time entry is left running on work that has left its lawyer's list, whatever another workstation did
// between a check and the write.
namespace data::runningEntries {

// " AND NOT EXISTS (…)": true while no time entry is running (closed = 0 AND inprogress <> 0) whose column
// ("tarefa_id" or "trabalho_id") holds id. Appended to the WHERE clause of an UPDATE of that task or work item.
QString noneRunning(const QString& column, qint64 id);

// What a command or an editor says when it refuses to finish a task whose time is being counted.
QString finishRefusal();

// True when a time entry is running on the task or work item. Throws core::Error.
bool anyRunning(const QString& column, qint64 id);

} // namespace data::runningEntries
