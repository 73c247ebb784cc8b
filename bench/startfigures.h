#pragma once

#include "bench/figures.h"

#include <QProcessEnvironment>
#include <QString>

namespace bench {

class BenchOffice;
class XWatcher;

// The figures of the real program, started as a person starts it: the executable on the X display,
// logged in from a remembered login, timed from the start of the process to its first window being
// mapped. The counter loads and fills its list before it shows the window, so the window appears
// filled. The floor is this benchmark started the same way with --floor-window.
class StartFigures
{
public:
    StartFigures(XWatcher& watcher, BenchOffice& office, QString self);

    // Starts at `pending` tasks in `rounds` rounds, each a start of the floor with as many rows followed by a
    // start of the counter, so that both meet the same load; prints each with its wall-clock and CPU time from
    // exec to the window mapped (min / median / max), the ratio of the two per round, and the counter's resident
    // and peak memory (from one more start). Returns the counter's medians.
    Sample interleaved(int pending, int rounds);
    // The floor's CPU time over `seconds` with one cell rewritten every second; returns it in ms.
    double floorCpu(int rows, int seconds);
    // CPU time over `seconds` at `pending` tasks: shown with one task counting, shown with none, and
    // hidden (closed to the tray) with one counting.
    void cpu(int pending, int seconds, double floorMs);

private:
    struct Started;
    Started start(const QString& program, const QStringList& arguments);
    // A start timed to its window mapped: the process is then killed and its CPU time (every thread's, ended
    // ones included) read from its end.
    Sample timedStart(const QString& program, const QStringList& arguments);
    QProcessEnvironment environment();
    // CPU time of the started process over `seconds`, after it settled.
    static double cpuOver(const Started& started, int seconds);

    XWatcher& m_watcher;
    BenchOffice& m_office;
    QString m_self;
    int m_runs = 0;
};

} // namespace bench
