#pragma once

#include "counter/countercommands.h"
#include "counter/countercontrols.h"
#include "counter/countermenus.h"
#include "counter/frmcounter.h"
#include "counter/livecounter.h"
#include "counter/pendingtasks.h"
#include "counter/statisticspanel.h"
#include "counter/taskcounting.h"
#include "counter/trayicon.h"

namespace counter {

// What the counter window is made of. The parts are the window's children; the window deletes them.
struct frmCounter::Parts {
    explicit Parts(frmCounter& window);

    CounterControls c;
    CounterMenus menus;
    TrayIcon* tray;
    PendingTasks* tasks;
    LiveCounter* live;
    TaskCounting* counting;
    CounterCommands* commands;
    StatisticsPanel* statistics;
};

} // namespace counter
