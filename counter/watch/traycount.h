#pragma once

#include "counter/watch/preferences.h"

#include <QDateTime>
#include <QObject>
#include <QSet>

class QTimer;

namespace counter {

class ListView;
class TrayIcon;

// Keeps the notification area saying whether anything counts (countStatus::tray), soon after the ticked rows
// change and every half minute; flags each long or forgotten count once with a notification; and, in working hours
// with nothing counted for a while, reminds once until something counts again.
class TrayCount : public QObject
{
    Q_OBJECT

public:
    TrayCount(QObject& window, ListView& list, TrayIcon& tray);

    void update();
    void setPreferences(const Preferences& preferences) { m_preferences = preferences; }
    QTimer* timer() const { return m_timer; }

private:
    ListView& m_list;
    TrayIcon& m_tray;
    Preferences m_preferences;
    QTimer* m_timer;
    // The entries already flagged as long.
    QSet<qint64> m_flagged;
    // Since when nothing has counted, and whether that was reminded of.
    QDateTime m_quietSince;
    bool m_reminded = false;
    bool m_counting = false;
};

} // namespace counter
