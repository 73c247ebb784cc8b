#include "counter/linkrecovery.h"

#include "core/clock.h"
#include "core/errorreport.h"
#include "counter/counterreports.h"
#include "counter/trayicon.h"
#include "data/connection.h"

#include <QLabel>
#include <QTimer>
#include <QWidget>

#include <algorithm>

namespace counter {
namespace {

// How often LinkTimer looks whether a try is due: the catch-up comes at most this late.
constexpr int TimerMs = 250;

} // namespace

LinkRecovery::LinkRecovery(QWidget& window, QLabel& status, TrayIcon& tray, CatchUp catchUp)
    : QObject(&window)
    , m_window(window)
    , m_status(status)
    , m_tray(tray)
    , m_catchUp(std::move(catchUp))
    , m_timer(new QTimer(&window))
{
    setObjectName(QStringLiteral("LinkRecovery"));
    m_timer->setObjectName(QStringLiteral("LinkTimer"));
    m_timer->setInterval(TimerMs);
    connect(m_timer, &QTimer::timeout, this, &LinkRecovery::tick);
    data::Data::SqlServer().setLinkObserver([this](bool up) { linkChanged(up); });
}

LinkRecovery::~LinkRecovery()
{
    data::Data::SqlServer().setLinkObserver({});
}

QString LinkRecovery::statusText()
{
    return QStringLiteral("Base de dados inacessível — a tentar de novo…");
}

QString LinkRecovery::trayTip()
{
    return QStringLiteral("Orvel: base de dados inacessível — a tentar de novo…");
}

void LinkRecovery::linkChanged(bool up)
{
    // Told in the middle of a statement: only the state and the screen change here, never the database.
    if (up) {
        if (m_outage && !m_trying) {
            m_next = core::Clock::now();
        }
        return;
    }
    if (m_outage) {
        return;
    }
    m_outage = true;
    m_delayMs = FirstDelayMs;
    m_next = core::Clock::now().addMSecs(m_delayMs);
    m_status.setText(statusText());
    m_status.show();
    m_tipBefore = m_tray.tip();
    m_tray.setTip(trayTip());
    m_timer->start();
}

void LinkRecovery::tick()
{
    if (!m_outage) {
        m_timer->stop();
        return;
    }
    if (!m_trying && core::Clock::now() >= m_next) {
        tryAgain();
    }
}

void LinkRecovery::tryAgain()
{
    m_trying = true;
    try {
        m_catchUp();
        m_trying = false;
        end();
        return;
    } catch (...) {
        reports::reportChanged(reports::lists(m_window.objectName(), QStringLiteral("LinkTimer_Timer")),
                               core::currentError(), m_lastFailure);
    }
    m_trying = false;
    if (!data::Data::SqlServer().linkLost()) {
        // The database answered, with an error of another kind: the link is back.
        end();
        return;
    }
    m_delayMs = std::min(m_delayMs * 2, LongestDelayMs);
    m_next = core::Clock::now().addMSecs(m_delayMs);
}

void LinkRecovery::end()
{
    m_outage = false;
    m_lastFailure.reset();
    m_timer->stop();
    m_status.hide();
    if (m_tray.tip() == trayTip()) {
        m_tray.setTip(m_tipBefore);
    }
}

} // namespace counter
