#pragma once

#include "counter/imagelist.h"

#include <QObject>

#include <functional>

class QMenu;
class QSystemTrayIcon;
class QTimer;
class QWidget;

namespace counter {

// The counter window's icon in the notification area, carrying the tray menu. Its images are
// ImageList1 (1 the normal icon). Where the desktop has no notification area the icon is kept but
// not shown, the desktop is asked again every half minute, and the icon appears as soon as an area
// does (inTrayChanged). Errors are reported under the window's name.
class TrayIcon : public QObject
{
    Q_OBJECT

public:
    TrayIcon(QWidget& window, QMenu* menu);

    // Puts the icon in the notification area: image 1, tip "Orvel".
    void add();
    // Takes it out again ("RemoveTrayIcon").
    void remove();
    // Image index of ImageList1 and tip (at most 63 characters; "Orvel" when empty). An image that does
    // not exist is reported ("SetTrayIcon") and changes nothing. Any image but 1 with the default tip holds the icon
    // against showStatus until image 1 is set again so.
    void set(int index, const QString& tip);
    // The link's state in the tip, the image kept (at most 63 characters; "Orvel" when empty): while it is set,
    // showStatus keeps it in place of its own tip, so that a lost database is never hidden by the count.
    void setTip(const QString& tip);
    // Whether anything counts: image and tip as set does, unless an editor holds the icon.
    void showStatus(int index, const QString& tip);
    // A notification beside the icon (through the seam below when one is set).
    void notify(const QString& title, const QString& text);
    static void setNotifier(std::function<void(const QString& title, const QString& text)> notifier);

    // True while the icon is in the notification area.
    bool added() const { return m_added; }
    // True when the icon is added and the desktop shows it: the tray menu is then reachable from it.
    bool inTray() const { return m_added && m_shown; }
    // Asks the desktop again whether it has a notification area; shows the icon when one appeared.
    void checkAvailability();

    // Seam for tests: whether the desktop has a notification area (by default
    // QSystemTrayIcon::isSystemTrayAvailable). An empty probe restores the default.
    static void setAvailabilityProbe(std::function<bool()> probe);

    QIcon icon() const;
    QString tip() const;
    const ImageList& images() const { return m_images; }

Q_SIGNALS:
    void inTrayChanged(bool inTray);

private:
    QWidget& m_window;
    ImageList m_images;
    QSystemTrayIcon* m_tray;
    QTimer* m_probeTimer;
    bool m_added = false;
    bool m_shown = false;
    bool m_held = false;
    int m_image = 0;   // the image shown, so that a status already shown is not drawn again
    QString m_linkTip; // the lost link's tip while it lasts
};

} // namespace counter
