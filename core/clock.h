#pragma once

#include <QDateTime>

#include <functional>

namespace core {

// The workstation's clock. Tests replace it (testsupport's MockClock) so that no test waits for time to pass.
class Clock
{
public:
    static QDateTime now();
    // Seam: an empty function restores the system clock.
    static void setSource(std::function<QDateTime()> source);
};

} // namespace core
