#include "counter/trayicon.h"

#include "counter/counterart.h"
#include "counter/counterreports.h"

#include <QMenu>
#include <QSystemTrayIcon>
#include <QTimer>

namespace counter {
namespace {

const QString DefaultTip = QStringLiteral("Orvel");
// The tip holds at most 63 characters (64 with its terminating zero).
constexpr int TipLength = 63;
// How often a desktop without a notification area is asked again.
constexpr int ProbeInterval = 30000;

std::function<bool()>& probeSlot()
{
    static std::function<bool()> probe;
    return probe;
}

std::function<void(const QString&, const QString&)>& notifierSlot()
{
    static std::function<void(const QString&, const QString&)> notifier;
    return notifier;
}

bool trayAvailable()
{
    return probeSlot() ? probeSlot()() : QSystemTrayIcon::isSystemTrayAvailable();
}

} // namespace

TrayIcon::TrayIcon(QWidget& window, QMenu* menu)
    : QObject(&window)
    , m_window(window)
    , m_images(CounterArt::trayImages())
    , m_tray(new QSystemTrayIcon(this))
    , m_probeTimer(new QTimer(this))
{
    m_tray->setContextMenu(menu);
    m_probeTimer->setInterval(ProbeInterval);
    connect(m_probeTimer, &QTimer::timeout, this, &TrayIcon::checkAvailability);
}

void TrayIcon::setAvailabilityProbe(std::function<bool()> probe)
{
    probeSlot() = std::move(probe);
}

void TrayIcon::add()
{
    m_tray->setIcon(m_images.image(1));
    m_image = 1;
    m_tray->setToolTip(DefaultTip);
    m_added = true;
    m_shown = false;
    checkAvailability();
    if (!m_shown) {
        Q_EMIT inTrayChanged(false);
    }
}

void TrayIcon::checkAvailability()
{
    if (!m_added || m_shown) {
        m_probeTimer->stop();
        return;
    }
    if (!trayAvailable()) {
        m_probeTimer->start();
        return;
    }
    m_probeTimer->stop();
    m_tray->show();
    m_shown = true;
    Q_EMIT inTrayChanged(true);
}

void TrayIcon::remove()
{
    core::trap(reports::window(m_window.objectName(), QStringLiteral("RemoveTrayIcon")), [&] {
        m_tray->hide();
        m_probeTimer->stop();
        m_added = false;
        m_shown = false;
    });
}

void TrayIcon::set(int index, const QString& tip)
{
    core::trap(reports::window(m_window.objectName(), QStringLiteral("SetTrayIcon")), [&] {
        m_tray->setIcon(m_images.image(index));
        m_image = index;
        m_tray->setToolTip(tip.isEmpty() ? DefaultTip : tip.left(TipLength));
        m_held = index != 1 || !tip.isEmpty();
    });
}

void TrayIcon::setTip(const QString& tip)
{
    m_linkTip = tip.left(TipLength);
    m_tray->setToolTip(tip.isEmpty() ? DefaultTip : m_linkTip);
}

void TrayIcon::showStatus(int index, const QString& tip)
{
    if (m_held) {
        return;
    }
    core::trap(reports::window(m_window.objectName(), QStringLiteral("SetTrayIcon")), [&] {
        if (index != m_image) {
            m_tray->setIcon(m_images.image(index));
            m_image = index;
        }
        m_tray->setToolTip(!m_linkTip.isEmpty() ? m_linkTip : tip.isEmpty() ? DefaultTip : tip.left(TipLength));
    });
}

void TrayIcon::setNotifier(std::function<void(const QString&, const QString&)> notifier)
{
    notifierSlot() = std::move(notifier);
}

void TrayIcon::notify(const QString& title, const QString& text)
{
    if (notifierSlot()) {
        notifierSlot()(title, text);
    } else if (inTray()) {
        m_tray->showMessage(title, text, m_images.image(1));
    }
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
