#pragma once

#include <QHash>
#include <QString>
#include <QtGlobal>

#include <optional>

struct xcb_connection_t;

namespace bench {

// Watches the X display for top-level windows being mapped and unmapped, as a window manager does, so
// that the start of another process can be timed up to the moment its window appears, without that
// process's help.
class XWatcher
{
public:
    // Connects to $DISPLAY. Throws core::Error when there is no display.
    XWatcher();
    ~XWatcher();
    XWatcher(const XWatcher&) = delete;
    XWatcher& operator=(const XWatcher&) = delete;

    // The first top-level window of process pid mapped within timeoutMs, or nullopt.
    std::optional<quint32> waitForMap(qint64 pid, int timeoutMs);
    // Asks the window to close, as a click on its title bar's close button does; true when it was
    // unmapped within timeoutMs.
    bool closeAndWaitForUnmap(quint32 window, int timeoutMs);

private:
    quint32 atom(const char* name);
    std::optional<qint64> windowPid(quint32 window);

    xcb_connection_t* m_connection = nullptr;
    quint32 m_root = 0;
};

// Resident memory of a process in MiB, from /proc; -1 when unknown.
double residentMiB(qint64 pid);
// The part of the resident memory that is pages of database files (*.db) the process maps: the page cache's,
// shared with every process reading the file and given back under pressure. In MiB; -1 when unknown.
double mappedDatabaseMiB(qint64 pid);
// The most resident memory the process has had so far, in MiB; -1 when unknown.
double peakResidentMiB(qint64 pid);
// CPU time of each thread of a process so far, in milliseconds, by thread id, from /proc (nanosecond counts).
QHash<QString, double> threadCpuMilliseconds(qint64 pid);
// CPU time the threads alive now used since `before` was read. A thread that ended meanwhile is left
// out rather than subtracted: a process's total would drop by all it had used.
double cpuMillisecondsSince(const QHash<QString, double>& before, qint64 pid);

} // namespace bench
