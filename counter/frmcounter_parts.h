#pragma once

#include "counter/commands/countercommands.h"
#include "counter/commands/countermenus.h"
#include "counter/commands/editorfields.h"
#include "counter/commands/newwork.h"
#include "counter/commands/recordopening.h"
#include "counter/commands/taskcommands.h"
#include "counter/countercontrols.h"
#include "counter/frmcounter.h"
#include "counter/linkrecovery.h"
#include "counter/livecounter.h"
#include "counter/pendingtasks.h"
#include "counter/statistics/statisticspanel.h"
#include "counter/taskcounting.h"
#include "counter/trayicon.h"
#include "counter/watch/absencecheck.h"
#include "counter/watch/traycount.h"
#include "counter/windowplacement.h"

namespace counter {

// What the counter window is made of. The parts are the window's children; the window deletes them.
// The kept editors go with these fields, while the window is still whole.
struct frmCounter::Parts {
    explicit Parts(frmCounter& window);
    // The window's width with every column of the task list whole.
    int wantedWidth() const;

    CounterControls c;
    CounterMenus menus;
    TrayIcon* tray;
    PendingTasks* tasks;
    LiveCounter* live;
    TaskCounting* counting;
    LinkRecovery* recovery;
    CounterCommands* commands;
    EditorFields editors;
    TaskCommands* taskCommands;
    NewWork* newWork;
    RecordOpening* opening;
    StatisticsPanel* statistics;
    AbsenceCheck* absence;
    TrayCount* trayCount;
    WindowPlacement* placement;
};

} // namespace counter
