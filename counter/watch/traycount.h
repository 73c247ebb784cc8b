#pragma once

#include "counter/watch/preferences.h"

#include <QDateTime>
#include <QObject>
#include <QSet>

class QAction;
class QLabel;
class QTimer;

namespace counter {

class ListView;
class TrayIcon;

// Keeps the notification area saying whether anything counts (countStatus::tray), soon after the ticked rows
// change and at every beat of the window's watch (the absence check's timer, a few seconds apart); flags each long
// or forgotten count once with a notification, and says so in the window (warning) for as long as it runs; and, in
// working hours with nothing counted for a while, reminds once until something counts again. The menu command
// reminder is ticked while that reminder is on, and a click on it turns it off or on again in the preferences.
class TrayCount : public QObject
{
    Q_OBJECT

public:
    TrayCount(QObject& window, ListView& list, TrayIcon& tray, QLabel& warning, QAction& reminder, QTimer& beat);

    void update();
    void setPreferences(const Preferences& preferences);

private:
    // The reminder's command: silentMinutes 0 in the stored preferences, or the default again.
    void remindWhenSilent(bool on);

    ListView& m_list;
    TrayIcon& m_tray;
    QLabel& m_warning;
    QAction& m_reminder;
    Preferences m_preferences;
    // The entries already flagged as long.
    QSet<qint64> m_flagged;
    // Since when nothing has counted, and whether that was reminded of.
    QDateTime m_quietSince;
    bool m_reminded = false;
    bool m_counting = false;
};

} // namespace counter
