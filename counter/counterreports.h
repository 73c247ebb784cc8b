#pragma once

#include "core/errorreport.h"

namespace counter::reports {

// The labels under which the counter window's handlers report, by group. The owner is the window's
// name read at run time.

// Load, activation, unload, tray icon, task list, lawyer selector and "Abrir contador": rule A.
core::ReportLabels window(const QString& owner, const QString& procedure);
// The other commands of the menus: "Orv Counter" twice, rule A.
core::ReportLabels command(const QString& owner, const QString& procedure);
// Tabs, entry lists, the timer and RemoteKey: rule C.
core::ReportLabels lists(const QString& owner, const QString& procedure);

} // namespace counter::reports
