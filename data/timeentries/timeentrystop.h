#pragma once

#include <QDateTime>

// Ending a running time entry at a moment already past (the beginning of an absence): the entry is booked with
// exactly the minutes from its start up to that moment and ends at that moment.
namespace data::timeEntries {

enum class StopAt {
    Closed,     // data_fim = the moment, unidades = the minutes up to it, inprogress 0
    Deleted,    // it had counted a minute or less by then, and is removed as any such stop removes it
    NotRunning, // already closed or removed (by another workstation): nothing changed
};

// Ends running entry at end (the workstation's time): closed with countedMinutes(its data, end) and data_fim = end,
// or deleted when those are 1 or fewer. Each statement changes the entry only while it still runs (inprogress set,
// data_fim null). Throws core::Error when a statement fails.
StopAt stopAt(qint64 entry, const QDateTime& end);

} // namespace data::timeEntries
