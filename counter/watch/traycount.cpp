#include "counter/watch/traycount.h"

#include "core/clock.h"
#include "counter/listview/listview.h"
#include "counter/trayicon.h"
#include "counter/watch/absencecheck.h"
#include "counter/watch/countstatus.h"

#include <QAction>
#include <QLabel>
#include <QTimer>

namespace counter {

TrayCount::TrayCount(QObject& window, ListView& list, TrayIcon& tray, QLabel& warning, QAction& reminder, QTimer& beat)
    : QObject(&window)
    , m_list(list)
    , m_tray(tray)
    , m_warning(warning)
    , m_reminder(reminder)
    , m_quietSince(core::Clock::now())
{
    setObjectName(QStringLiteral("TrayCount"));
    setPreferences(Preferences::load());
    connect(&beat, &QTimer::timeout, this, &TrayCount::update);
    // Queued: a tick is announced before its entry is made, and the row counts only once it has one.
    connect(&m_list, &ListView::checkedRowsChanged, this, &TrayCount::update, Qt::QueuedConnection);
    // triggered, not toggled: only the lawyer's click changes the preferences.
    connect(&m_reminder, &QAction::triggered, this, &TrayCount::remindWhenSilent);
}

void TrayCount::setPreferences(const Preferences& preferences)
{
    m_preferences = preferences;
    m_reminder.setChecked(preferences.silentMinutes > 0);
}

void TrayCount::remindWhenSilent(bool on)
{
    Preferences stored = Preferences::load();
    stored.silentMinutes = on ? Preferences().silentMinutes : 0;
    // A value the registry could not write was reported there; the command then shows what still holds.
    setPreferences(stored.save() ? stored : m_preferences);
}

void TrayCount::update()
{
    const QDateTime now = core::Clock::now();
    const QList<RunningTask> running = AbsenceCheck::runningTasks(m_list);
    const countStatus::Tray status = countStatus::tray(running, now);
    m_tray.showStatus(status.image, status.tip);
    QStringList warnings;
    for (const RunningTask& task : running) {
        if (!countStatus::isLong(task, now, m_preferences)) {
            continue;
        }
        warnings << countStatus::longText(task, now);
        if (!m_flagged.contains(task.entry)) {
            m_flagged.insert(task.entry);
            m_tray.notify(QStringLiteral("Contagem longa"), warnings.last());
        }
    }
    m_warning.setText(warnings.join(QLatin1Char('\n')));
    m_warning.setVisible(!warnings.isEmpty());
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
