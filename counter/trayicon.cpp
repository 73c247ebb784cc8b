#include "counter/trayicon.h"

#include "counter/counterart.h"
#include "counter/counterreports.h"

#include <QMenu>
#include <QSystemTrayIcon>

namespace counter {
namespace {

const QString DefaultTip = QStringLiteral("Orvel");
// The tip holds at most 63 characters (64 with its terminating zero).
constexpr int TipLength = 63;

} // namespace

TrayIcon::TrayIcon(QWidget& window, QMenu* menu)
    : QObject(&window)
    , m_window(window)
    , m_images(CounterArt::trayImages())
    , m_tray(new QSystemTrayIcon(this))
{
    m_tray->setContextMenu(menu);
}

void TrayIcon::add()
{
    m_tray->setIcon(m_images.image(1));
    m_tray->setToolTip(DefaultTip);
    if (QSystemTrayIcon::isSystemTrayAvailable()) {
        m_tray->show();
    }
    m_added = true;
}

void TrayIcon::remove()
{
    core::trap(reports::window(m_window.objectName(), QStringLiteral("RemoveTrayIcon")), [&] {
        m_tray->hide();
        m_added = false;
    });
}

void TrayIcon::set(int index, const QString& tip)
{
    core::trap(reports::window(m_window.objectName(), QStringLiteral("SetTrayIcon")), [&] {
        m_tray->setIcon(m_images.image(index));
        m_tray->setToolTip(tip.isEmpty() ? DefaultTip : tip.left(TipLength));
    });
}

QIcon TrayIcon::icon() const
{
    return m_tray->icon();
}

QString TrayIcon::tip() const
{
    return m_tray->toolTip();
}

} // namespace counter
