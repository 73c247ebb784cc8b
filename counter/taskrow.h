#pragma once

#include <QString>

#include <optional>

// The row layout of the pending-task list: the contract between the refill, the counting, the live
// counter and the task commands. A row has the key "#" + tarefa_id, the label descrit, the tool tip
// cliente, cells 1 to 6 shown in the columns and cells 7 to 10 kept but never shown.
namespace counter::taskRow {

constexpr int Counter = 1;    // "Contador": the idle text, or the time since the entry started
constexpr int Work = 4;       // "Trabalho": the work item's description
constexpr int Dossier = 5;    // "Dossier": the case's full number
constexpr int LastShown = 6;  // cells 1 to 6: Contador, Acumulado, P. Legal, Trabalho, Dossier, D. Escritório
constexpr int Start = 7;      // start of the running entry, "dd-mm-yyyy Hh:Nn:Ss"
constexpr int InProgress = 8; // inprogress as the last refill read it
constexpr int Entry = 9;      // lancamento_id of the running entry; blank when none runs
constexpr int Hidden = 10;    // escondida; the visible marker for a task that is not hidden

// The running entry an Entry cell names; none when it is blank or holds no whole number.
inline std::optional<qint64> entryOf(const QString& cell)
{
    bool number = false;
    const qint64 entry = cell.toLongLong(&number); // blanks around the number are allowed
    return number ? std::optional<qint64>(entry) : std::nullopt;
}

// What the counter cell shows while no entry runs.
inline QString idleCounter()
{
    return QStringLiteral("...");
}

// The hidden cell of a visible task.
inline QString visibleMarker()
{
    return QStringLiteral("0");
}

} // namespace counter::taskRow
