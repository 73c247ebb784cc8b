#pragma once

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
// CPU time of all threads of a process so far, in milliseconds, from /proc (nanosecond counts).
double cpuMilliseconds(qint64 pid);

} // namespace bench
