#pragma once

#include "bench/figures.h"

#include <memory>

namespace counter {
class frmCounter;
class ListView;
} // namespace counter

namespace bench {

class BenchOffice;

// The figures of the counter window inside this process, on the embedded engine: the window is
// created and loaded as start-up does, and driven through its public procedures and its task list
// (ListView1) as a user's click drives it. Each timing includes the repaint that follows the call.
class WindowFigures
{
public:
    explicit WindowFigures(BenchOffice& office);
    ~WindowFigures();

    // Fill_Tarefas at `pending` tasks in an office of officeTasks tasks (0: by the office's scale), in rounds of
    // a refill of the floor (the bare window's tree with as many rows) followed by a fill; prints both with
    // wall-clock and CPU time and returns the fill's medians.
    Sample fill(int pending, int officeTasks = 0);
    // Fill_Tarefas `runs` times at `pending` tasks, for a profiler; prints only their spread at the end.
    void profileFill(int pending, int runs);
    // One Timer1 tick over `pending` rows with `running` tasks counting.
    void timerTick(int pending, int running);
    // A tick that opens a time entry, and the untick that closes it and refills the list.
    void tickAndUntick(int pending);
    // Resident memory before and after `cycles` tick/untick cycles.
    void cycles(int pending, int cycles);
    // One login checked by the embedded engine against its password hash.
    void login();

private:
    counter::frmCounter& open(int pending, int running, int officeTasks = 0);
    counter::ListView& list();

    BenchOffice& m_office;
    std::unique_ptr<counter::frmCounter> m_window;
};

} // namespace bench
