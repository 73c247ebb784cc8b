#pragma once

#include <QMargins>
#include <QObject>
#include <QRect>

#include <functional>

class QScreen;
class QWidget;
class QWindow;

namespace counter {

// Keeps the counter window whole on the screen it is on: as wide as its task list wants but never wider
// than the screen's available area (the task bar and panels left out), its frame (the window manager's
// border and title) flush with that area's bottom right corner. It places the window when asked, when
// the window is shown, when the window manager's frame arrives or changes, and when the screen or its
// available area changes. A window moved by the user stays where it was put until one of those happens.
class WindowPlacement : public QObject
{
    Q_OBJECT

public:
    // wantedWidth: the width the window would have with every column of its list whole.
    WindowPlacement(QWidget& window, std::function<int()> wantedWidth);

    // The window's own geometry (frame excluded) for a wanted size inside area, with the frame's margins
    // around it: no larger than the area less the frame, and the frame's bottom right corner on the area's.
    static QRect placed(const QRect& area, const QSize& wanted, const QMargins& frame);

    // Sizes and moves the window as above, now.
    void place();
    // Places the window again when its wanted width changed since it was last placed.
    void wantedWidthChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QMargins frameMargins() const;
    // Places the window again when the window manager's frame changed since it was last placed.
    void placeForNewFrame();
    void watchScreen(QScreen* screen);

    QWidget& m_window;
    std::function<int()> m_wantedWidth;
    int m_placedWidth = -1;
    QMargins m_placedFrame;
    QScreen* m_watched = nullptr;
    QWindow* m_handle = nullptr;
};

} // namespace counter
