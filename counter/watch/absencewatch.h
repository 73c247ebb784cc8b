#pragma once

#include <QDateTime>

#include <functional>
#include <optional>

namespace counter {

class IdleSource;

// An absence from the workstation: from the last input (or the moment the machine went to sleep) to the return.
struct Absence {
    QDateTime began;
    QDateTime ended;
    bool slept = false;
    qint64 milliseconds() const { return began.msecsTo(ended); }
};

// Notices the absences the user comes back from while a count runs. It is looked at every few seconds (poll) and
// knows of the user only what the idle source says, and of the machine's sleep only the gap between the wall clock
// (core::Clock) and a monotonic clock that stands still while the machine sleeps. It holds no window and sends no
// statement, so tests drive it with a scripted source and clocks.
class AbsenceWatch
{
public:
    // Milliseconds of a clock that does not move while the machine sleeps nor when the wall clock is set.
    using Monotonic = std::function<qint64()>;

    AbsenceWatch(IdleSource& source, Monotonic monotonic, qint64 thresholdMilliseconds);

    void setThreshold(qint64 milliseconds) { m_threshold = milliseconds; }
    qint64 threshold() const { return m_threshold; }

    // One look at the user and the clocks; counting tells whether any count runs now. Returns the absence the
    // user has just come back from, when it lasted at least the threshold and counts ran all along; once only.
    // An absence the user is still in, or one during which nothing was counted, returns nothing.
    std::optional<Absence> poll(bool counting);

    // The wall clock moved this much more than the monotonic one between two looks: the machine slept.
    static constexpr qint64 SleepGap = qint64(60) * 1000;

private:
    IdleSource& m_source;
    Monotonic m_monotonic;
    qint64 m_threshold;
    // The previous look: wall clock, monotonic clock and the last input then known.
    struct Look {
        QDateTime wall;
        qint64 monotonic = 0;
        std::optional<QDateTime> lastInput;
    };
    std::optional<Look> m_last;
    // The absence under way, when one is.
    std::optional<QDateTime> m_began;
    bool m_slept = false;
};

} // namespace counter
