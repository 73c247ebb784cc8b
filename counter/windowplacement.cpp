#include "counter/windowplacement.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include <algorithm>

namespace counter {

WindowPlacement::WindowPlacement(QWidget& window, std::function<int()> wantedWidth)
    : QObject(&window)
    , m_window(window)
    , m_wantedWidth(std::move(wantedWidth))
{
    setObjectName(QStringLiteral("WindowPlacement"));
    m_window.installEventFilter(this);
}

QRect WindowPlacement::placed(const QRect& area, const QSize& wanted, const QMargins& frame)
{
    const QRect inner = area.marginsRemoved(frame);
    const int width = std::clamp(wanted.width(), 1, std::max(1, inner.width()));
    const int height = std::clamp(wanted.height(), 1, std::max(1, inner.height()));
    return {inner.right() + 1 - width, inner.bottom() + 1 - height, width, height};
}

QMargins WindowPlacement::frameMargins() const
{
    const QRect inner = m_window.geometry();
    const QRect outer = m_window.frameGeometry();
    return {inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
            outer.bottom() - inner.bottom()};
}

void WindowPlacement::place()
{
    QScreen* screen = m_window.screen() ? m_window.screen() : QGuiApplication::primaryScreen();
    if (!screen) {
        return;
    }
    watchScreen(screen);
    m_placedFrame = frameMargins();
    m_placedWidth = m_wantedWidth();
    const QSize wanted(std::max(m_placedWidth, m_window.minimumSizeHint().width()), m_window.height());
    m_window.setGeometry(placed(screen->availableGeometry(), wanted, m_placedFrame));
}

void WindowPlacement::wantedWidthChanged()
{
    if (m_wantedWidth() != m_placedWidth) {
        place();
    }
}

void WindowPlacement::watchScreen(QScreen* screen)
{
    if (screen == m_watched) {
        return;
    }
    if (m_watched) {
        disconnect(m_watched, nullptr, this, nullptr);
    }
    m_watched = screen;
    connect(screen, &QScreen::availableGeometryChanged, this, &WindowPlacement::place);
    connect(screen, &QObject::destroyed, this, [this] { m_watched = nullptr; });
}

bool WindowPlacement::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == &m_window) {
        switch (event->type()) {
        case QEvent::Show:
            place();
            if (QWindow* handle = m_window.windowHandle()) {
                connect(handle, &QWindow::screenChanged, this, &WindowPlacement::place, Qt::UniqueConnection);
            }
            break;
        case QEvent::Move:
        case QEvent::Resize:
            // The window manager framed the window, or changed its frame: the frame's size is known now.
            if (m_window.isVisible() && frameMargins() != m_placedFrame) {
                place();
            }
            break;
        default:
            break;
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace counter
