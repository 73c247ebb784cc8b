#pragma once

#include "counter/imagelist.h"

#include <QObject>

class QMenu;
class QSystemTrayIcon;
class QWidget;

namespace counter {

// The counter window's icon in the notification area, carrying the tray menu. Its images are
// ImageList1 (1 the normal icon). Where the desktop has no notification area the icon is kept but
// not shown, and everything else still works. Errors are reported under the window's name.
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
    // not exist is reported ("SetTrayIcon") and changes nothing.
    void set(int index, const QString& tip);

    // True while the icon is in the notification area.
    bool added() const { return m_added; }
    QIcon icon() const;
    QString tip() const;
    const ImageList& images() const { return m_images; }

private:
    QWidget& m_window;
    ImageList m_images;
    QSystemTrayIcon* m_tray;
    bool m_added = false;
};

} // namespace counter
