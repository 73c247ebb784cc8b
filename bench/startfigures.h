#pragma once

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

    // Start of the floor window; prints its time and memory, and returns the time in ms.
    double floor();
    // Start at `pending` tasks (median of three starts), beside the floor, and resident and peak memory.
    void counter(int pending, double floorMs);
    // The floor's CPU time over `seconds` with one cell rewritten every second; returns it in ms.
    double floorCpu(int rows, int seconds);
    // CPU time over `seconds` at `pending` tasks: shown with one task counting, shown with none, and
    // hidden (closed to the tray) with one counting.
    void cpu(int pending, int seconds, double floorMs);

private:
    struct Started;
    Started start(const QString& program, const QStringList& arguments);
    // CPU time of the started process over `seconds`, after it settled.
    static double cpuOver(const Started& started, int seconds);

    XWatcher& m_watcher;
    BenchOffice& m_office;
    QString m_self;
    int m_runs = 0;
};

} // namespace bench
