#include "counter/livecounter.h"

#include "core/clock.h"
#include "core/errorreport.h"
#include "core/errorvalue.h"
#include "counter/counterreports.h"
#include "counter/listview.h"
#include "counter/taskrow.h"
#include "data/valuetext.h"

#include <QTime>
#include <QTimer>
#include <QWidget>

namespace counter {
namespace {

constexpr int Interval = 1000;

} // namespace

LiveCounter::LiveCounter(QWidget& window, ListView& list)
    : QObject(&window)
    , m_window(window)
    , m_list(list)
    , m_timer(new QTimer(&window))
{
    m_timer->setObjectName(QStringLiteral("Timer1"));
    m_timer->setInterval(Interval);
    m_timer->start();
}

void LiveCounter::restart()
{
    m_timer->start(Interval);
}

QString LiveCounter::elapsedText(qint64 milliseconds)
{
    constexpr qint64 Hour = 3600;
    constexpr qint64 Day = 24 * Hour;
    const qint64 seconds = milliseconds <= 0 ? 0 : (milliseconds + 500) / 1000;
    const QTime timeOfDay = QTime(0, 0).addSecs(static_cast<int>(seconds % Day));
    return timeOfDay.toString(seconds >= Hour ? QStringLiteral("HH:mm:ss") : QStringLiteral("mm:ss"));
}

void LiveCounter::tick()
{
    // A failure that repeats every second is reported once, until a tick goes through again.
    try {
        refresh();
        m_lastFailure.reset();
    } catch (...) {
        const core::ErrorValue failure = core::currentError();
        if (!m_lastFailure || m_lastFailure->number != failure.number ||
            m_lastFailure->description != failure.description) {
            core::reportError(reports::lists(m_window.objectName(), QStringLiteral("Timer1_Timer")), failure);
        }
        m_lastFailure = failure;
    }
}

void LiveCounter::refresh()
{
    if (!m_window.isVisible()) {
        return;
    }
    const int N = m_list.rowCount();
    for (int row = 0; row < N; ++row) {
        if (!m_list.checked(row)) {
            if (m_list.cellText(row, taskRow::Counter) != taskRow::idleCounter()) {
                m_list.setCellText(row, taskRow::Counter, taskRow::idleCounter());
            }
            continue;
        }
        const auto started = data::valueText::parseDate(m_list.cellText(row, taskRow::Start));
        if (!started) {
            throw core::standardError(core::errc::TypeMismatch);
        }
        m_list.setCellText(row, taskRow::Counter, elapsedText(started->msecsTo(core::Clock::now())));
        m_list.setCellBold(row, taskRow::Counter, true);
    }
}

} // namespace counter
