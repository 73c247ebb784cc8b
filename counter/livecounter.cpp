#include "counter/livecounter.h"

#include "core/clock.h"
#include "core/errorreport.h"
#include "core/errorvalue.h"
#include "counter/counterreports.h"
#include "counter/listview/listview.h"
#include "counter/taskrow.h"
#include "data/valuetext.h"

#include <QEvent>
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
    m_window.installEventFilter(this);
    connect(&m_list, &ListView::checkedRowsChanged, this, &LiveCounter::wake);
}

void LiveCounter::restart()
{
    m_timer->start(Interval);
}

void LiveCounter::wake()
{
    if (!m_timer->isActive() && m_window.isVisible() && (!m_shown.isEmpty() || !m_list.checkedRows().isEmpty())) {
        m_timer->start(Interval);
    }
}

bool LiveCounter::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == &m_window) {
        if (event->type() == QEvent::Show) {
            wake();
        } else if (event->type() == QEvent::Hide) {
            m_timer->stop();
        }
    }
    return QObject::eventFilter(watched, event);
}

QString LiveCounter::elapsedText(qint64 milliseconds)
{
    constexpr qint64 Minute = 60;
    constexpr qint64 Hour = 60 * Minute;
    const qint64 seconds = milliseconds <= 0 ? 0 : (milliseconds + 500) / 1000;
    const auto twoDigits = [](qint64 value) { return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0')); };
    const QString minutesAndSeconds =
        twoDigits((seconds % Hour) / Minute) + QLatin1Char(':') + twoDigits(seconds % Minute);
    // A count forgotten over a day shows every hour it has run, not the time of day it wrapped to.
    return seconds >= Hour ? twoDigits(seconds / Hour) + QLatin1Char(':') + minutesAndSeconds : minutesAndSeconds;
}

void LiveCounter::tick()
{
    // A failure that repeats every second is reported once, until a tick goes through again.
    try {
        refresh();
        m_lastFailure.reset();
    } catch (...) {
        reports::reportChanged(reports::lists(m_window.objectName(), QStringLiteral("Timer1_Timer")),
                               core::currentError(), m_lastFailure);
    }
}

void LiveCounter::refresh()
{
    if (!m_window.isVisible()) {
        m_timer->stop();
        return;
    }
    const QList<int> ticked = m_list.checkedRows();
    const QStringList shown = std::exchange(m_shown, {});
    for (int row : ticked) {
        m_shown << m_list.key(row);
    }
    for (const QString& key : shown) {
        const int row = m_list.findKey(key);
        if (row >= 0 && !m_list.checked(row) && m_list.cellText(row, taskRow::Counter) != taskRow::idleCounter()) {
            m_list.setCellText(row, taskRow::Counter, taskRow::idleCounter());
        }
    }
    if (ticked.isEmpty()) {
        m_timer->stop();
        return;
    }
    const QDateTime now = core::Clock::now();
    for (int row : ticked) {
        const auto started = data::valueText::parseDate(m_list.cellText(row, taskRow::Start));
        if (!started) {
            throw core::standardError(core::errc::TypeMismatch);
        }
        m_list.setCellText(row, taskRow::Counter, elapsedText(started->msecsTo(now)));
        m_list.setCellBold(row, taskRow::Counter, true);
    }
}

} // namespace counter
