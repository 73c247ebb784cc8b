#pragma once

#include "counter/absencecheck.h"
#include "counter/countercommands.h"
#include "counter/countercontrols.h"
#include "counter/countermenus.h"
#include "counter/editorfields.h"
#include "counter/frmcounter.h"
#include "counter/linkrecovery.h"
#include "counter/livecounter.h"
#include "counter/newwork.h"
#include "counter/pendingtasks.h"
#include "counter/recordopening.h"
#include "counter/statisticspanel.h"
#include "counter/taskcommands.h"
#include "counter/taskcounting.h"
#include "counter/traycount.h"
#include "counter/trayicon.h"
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
