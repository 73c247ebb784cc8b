#include "counter/watch/traycount.h"

#include "core/clock.h"
#include "counter/listview/listview.h"
#include "counter/trayicon.h"
#include "counter/watch/absencecheck.h"
#include "counter/watch/countstatus.h"

#include <QTimer>

namespace counter {
namespace {
constexpr int UpdateInterval = 30000;
}

TrayCount::TrayCount(QObject& window, ListView& list, TrayIcon& tray)
    : QObject(&window)
    , m_list(list)
    , m_tray(tray)
    , m_preferences(Preferences::load())
    , m_timer(new QTimer(this))
    , m_quietSince(core::Clock::now())
{
    setObjectName(QStringLiteral("TrayCount"));
    m_timer->setInterval(UpdateInterval);
    connect(m_timer, &QTimer::timeout, this, &TrayCount::update);
    // Queued: a tick is announced before its entry is made, and the row counts only once it has one.
    connect(&m_list, &ListView::checkedRowsChanged, this, &TrayCount::update, Qt::QueuedConnection);
    m_timer->start();
}

void TrayCount::update()
{
    const QDateTime now = core::Clock::now();
    const QList<RunningTask> running = AbsenceCheck::runningTasks(m_list);
    const countStatus::Tray status = countStatus::tray(running, now);
    m_tray.showStatus(status.image, status.tip);
    for (const RunningTask& task : running) {
        if (!m_flagged.contains(task.entry) && countStatus::isLong(task, now, m_preferences)) {
            m_flagged.insert(task.entry);
            m_tray.notify(QStringLiteral("Contagem longa"), countStatus::longText(task, now));
        }
    }
    if (!running.isEmpty() || m_counting) {
        // Counting, or the count has just ended: the quiet starts now.
        m_quietSince = now;
        m_reminded = false;
        m_counting = !running.isEmpty();
    } else if (!m_reminded && countStatus::silentTooLong(m_quietSince, now, m_preferences)) {
        m_reminded = true;
        m_tray.notify(QStringLiteral("Contador de Tarefas"), countStatus::silentText(m_preferences));
    }
}

} // namespace counter
