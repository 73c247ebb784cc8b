#pragma once

#include "core/clock.h"

#include <QDateTime>

namespace testsupport {

// Replaces the workstation's clock for its lifetime; time moves only when the test moves it.
class MockClock
{
public:
    explicit MockClock(const QDateTime& start = QDateTime(QDate(2009, 11, 16), QTime(9, 0, 0)))
        : m_now(start)
    {
        core::Clock::setSource([this] { return m_now; });
    }
    ~MockClock() { core::Clock::setSource({}); }

    QDateTime now() const { return m_now; }
    void set(const QDateTime& now) { m_now = now; }
    void advanceSeconds(qint64 seconds) { m_now = m_now.addSecs(seconds); }
    void advanceMinutes(qint64 minutes) { m_now = m_now.addSecs(minutes * 60); }

private:
    QDateTime m_now;
};

} // namespace testsupport
