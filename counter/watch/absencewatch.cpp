#include "counter/watch/absencewatch.h"

#include "core/clock.h"
#include "counter/watch/idlesource.h"

namespace counter {

AbsenceWatch::AbsenceWatch(IdleSource& source, Monotonic monotonic, qint64 thresholdMilliseconds)
    : m_source(source)
    , m_monotonic(std::move(monotonic))
    , m_threshold(thresholdMilliseconds)
{}

std::optional<Absence> AbsenceWatch::poll(bool counting)
{
    const QDateTime now = core::Clock::now();
    const qint64 monotonic = m_monotonic();
    std::optional<QDateTime> sleptAt;
    if (m_last) {
        const qint64 awake = monotonic - m_last->monotonic;
        if (m_last->wall.msecsTo(now) - awake > SleepGap) {
            // The machine went to sleep some time after the previous look: the absence is taken from the last
            // input known then, or from that look.
            sleptAt = m_last->lastInput.value_or(m_last->wall);
        }
    }
    const std::optional<qint64> idle = m_source.idleMilliseconds();
    m_last = Look{now, monotonic, idle ? std::optional<QDateTime>(now.addMSecs(-*idle)) : std::nullopt};

    if (!counting) {
        m_began.reset();
        m_slept = false;
        return std::nullopt;
    }
    if (sleptAt) {
        m_began = m_began ? std::min(*m_began, *sleptAt) : *sleptAt;
        m_slept = true;
    }
    if (idle && *idle >= m_threshold) {
        const QDateTime lastInput = now.addMSecs(-*idle);
        m_began = m_began ? std::min(*m_began, lastInput) : lastInput;
        return std::nullopt;
    }
    if (!m_began) {
        return std::nullopt;
    }
    // Back: the return is the last input the source saw, or now when it cannot tell.
    Absence absence{*m_began, std::max(*m_began, idle ? now.addMSecs(-*idle) : now), m_slept};
    m_began.reset();
    m_slept = false;
    if (absence.milliseconds() < m_threshold) {
        return std::nullopt;
    }
    return absence;
}

} // namespace counter
