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

    // Start of the floor window; prints its time and resident memory, and returns the time in ms.
    double floor();
    // Start at `pending` tasks (median of three starts), and resident memory when memory is asked for.
    void counter(int pending, double floorMs, bool memory);
    // CPU time over `seconds` with the window shown and a task counting, then hidden (closed to the tray).
    void cpu(int pending, int seconds);

private:
    struct Started;
    Started start(const QString& program, const QStringList& arguments);

    XWatcher& m_watcher;
    BenchOffice& m_office;
    QString m_self;
    int m_runs = 0;
};

} // namespace bench
