#include "testsupport/mockclock.h"

#include "core/clock.h"

namespace testsupport {

MockClock::MockClock(const QDateTime& start)
    : m_now(start)
{
    core::Clock::setSource([this] { return m_now; });
}

MockClock::~MockClock()
{
    core::Clock::setSource({});
}

} // namespace testsupport
