#pragma once

#include "core/errorreport.h"

#include <optional>

namespace counter::reports {

// The labels under which the counter window's handlers report, by group. The owner is the window's
// name read at run time.

// Load, activation, unload, tray icon, task list, lawyer selector and "Abrir contador": rule A.
core::ReportLabels window(const QString& owner, const QString& procedure);
// The other commands of the menus: "Orv Counter" twice, rule A.
core::ReportLabels command(const QString& owner, const QString& procedure);
// Tabs, entry lists, the timer and RemoteKey: rule C.
core::ReportLabels lists(const QString& owner, const QString& procedure);

// For a failure that comes back at every tick of a timer: reports it under labels unless it is the one reported
// last (the same number and text), and remembers it in last.
void reportChanged(const core::ReportLabels& labels, const core::ErrorValue& failure,
                   std::optional<core::ErrorValue>& last);

} // namespace counter::reports
