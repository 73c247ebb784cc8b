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
    // The platform's own answer: the widget hears of a new frame only when the window also moves.
    if (const QWindow* handle = m_window.windowHandle()) {
        return handle->frameMargins();
    }
    return {};
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

void WindowPlacement::placeForNewFrame()
{
    if (m_window.isVisible() && frameMargins() != m_placedFrame) {
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
            if (QWindow* handle = m_window.windowHandle(); handle && handle != m_handle) {
                m_handle = handle;
                connect(handle, &QWindow::screenChanged, this, &WindowPlacement::place);
                handle->installEventFilter(this);
            }
            break;
        case QEvent::Move:
        case QEvent::Resize:
            placeForNewFrame();
            break;
        default:
            break;
        }
    } else if (watched == m_handle && event->type() == QEvent::Expose) {
        // The window manager frames a window before it shows it: the frame is known once it is exposed.
        placeForNewFrame();
    }
    return QObject::eventFilter(watched, event);
}

} // namespace counter
