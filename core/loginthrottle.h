#pragma once

#include <functional>

namespace core {

// Slows repeated failed logins from one workstation, in the counter and in orvadmin's check alike: after
// the n-th failure in a row the refusal waits n seconds, at most five. The count is kept in the program's
// state folder, so starting the program again does not reset it; a good login forgets it.
class LoginThrottle
{
public:
    static constexpr int MaxWaitSeconds = 5;

    // Counts one more failure and waits for the count in seconds (capped).
    static void failed();
    // Forgets the failures counted so far.
    static void succeeded();
    // Failed logins since the last good one (0 when the count cannot be read).
    static int failuresInARow();

    // Seam for tests: how a wait of so many seconds is spent. By default the event loop keeps running
    // meanwhile, so the windows still repaint.
    using Wait = std::function<void(int seconds)>;
    static void setWait(Wait wait);
};

} // namespace core
