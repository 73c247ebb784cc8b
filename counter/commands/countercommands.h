#pragma once

#include <QObject>

#include <functional>

class QMenu;
class QPoint;
class QWidget;

namespace counter {

class CounterMenus;

// The commands of the two menus and the task list's context menu: the task commands are offered only after
// a right click on a row, and every pop-up menu of the window shows through popup.
class CounterCommands : public QObject
{
    Q_OBJECT

public:
    // Shows a pop-up menu at a global position; the default runs it until it closes.
    using PopupMenu = std::function<void(QMenu& menu, const QPoint& globalPosition)>;

    CounterCommands(QWidget& window, CounterMenus& menus);

    // A press on a row: the hide command reads "Esconder" for a visible task (hidden cell "0") and
    // "Tornar visível" for a hidden one, and the release that follows counts as on a row.
    void itemClicked(const QString& hiddenCell);
    // A release over the list: the right button offers the task commands only when the press was on a
    // row, then pops up mnList at globalPosition.
    void mouseUp(Qt::MouseButton button, const QPoint& globalPosition);
    // Pops up a menu of the window through the seam below.
    void popup(QMenu& menu, const QPoint& globalPosition) { m_popupMenu(menu, globalPosition); }
    // Seam: how menus pop up (tests install one that only records).
    void setPopupMenu(PopupMenu popup) { m_popupMenu = std::move(popup); }

private:
    QWidget& m_window;
    CounterMenus& m_menus;
    bool m_itemClicked = false;
    PopupMenu m_popupMenu;
};

} // namespace counter
