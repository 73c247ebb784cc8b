// The counter window's icon in the notification area. The icon carries the tray menu; where the
// desktop has no notification area the icon is kept but not shown, and everything else still works.
#include "counter/counterreports.h"
#include "counter/frmcounter.h"

#include <QSystemTrayIcon>

namespace counter {
namespace {

const QString DefaultTip = QStringLiteral("Orvel");
// The tip holds at most 63 characters (64 with its terminating zero).
constexpr int TipLength = 63;

} // namespace

void frmCounter::addTrayIcon()
{
    m_tray->setIcon(m_ImageList1.image(1));
    m_tray->setToolTip(DefaultTip);
    if (QSystemTrayIcon::isSystemTrayAvailable()) {
        m_tray->show();
    }
    m_trayIconAdded = true;
}

void frmCounter::RemoveTrayIcon()
{
    core::trap(reports::window(objectName(), QStringLiteral("RemoveTrayIcon")), [&] {
        m_tray->hide();
        m_trayIconAdded = false;
    });
}

void frmCounter::SetTrayIcon(int& Image_Index, const QString& strMsg)
{
    core::trap(reports::window(objectName(), QStringLiteral("SetTrayIcon")), [&] {
        m_tray->setIcon(m_ImageList1.image(Image_Index));
        m_tray->setToolTip(strMsg.isEmpty() ? DefaultTip : strMsg.left(TipLength));
    });
}

QIcon frmCounter::trayIcon() const
{
    return m_tray->icon();
}

QString frmCounter::trayTip() const
{
    return m_tray->toolTip();
}

} // namespace counter
