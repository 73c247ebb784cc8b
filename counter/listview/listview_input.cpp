// How the user's own input reaches the list's handlers: clicks and key presses on the tree (Enter as a
// double click, the menu key and Shift+F10 as the list's menu), and the ticks they change, raised only
// once Qt has finished with the event.
#include "counter/listview/listview.h"
#include "counter/listview/listview_rows.h"
#include "counter/listview/listview_tree.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScopedValueRollback>

#include <utility>

namespace counter {

ListView::Tree::Tree(ListView& owner)
    : QTreeView(&owner)
    , m_owner(owner)
{}

void ListView::Tree::mousePressEvent(QMouseEvent* event)
{
    {
        const QScopedValueRollback userInput(m_owner.m_inUserInput, m_owner.m_inUserInput + 1);
        QTreeView::mousePressEvent(event);
    }
    const QModelIndex pressed = indexAt(event->position().toPoint());
    if (pressed.isValid()) {
        Q_EMIT m_owner.ItemClick(pressed.row(), event->button());
    }
}

void ListView::Tree::mouseReleaseEvent(QMouseEvent* event)
{
    {
        const QScopedValueRollback userInput(m_owner.m_inUserInput, m_owner.m_inUserInput + 1);
        QTreeView::mouseReleaseEvent(event);
    }
    m_owner.raiseUserTicks();
    Q_EMIT m_owner.MouseUp(event->button(), event->position().toPoint());
}

void ListView::Tree::mouseDoubleClickEvent(QMouseEvent* event)
{
    {
        const QScopedValueRollback userInput(m_owner.m_inUserInput, m_owner.m_inUserInput + 1);
        QTreeView::mouseDoubleClickEvent(event);
    }
    m_owner.raiseUserTicks();
    Q_EMIT m_owner.DblClick();
}

void ListView::Tree::keyPressEvent(QKeyEvent* event)
{
    const bool menu =
        event->key() == Qt::Key_Menu || (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier);
    if (menu) {
        if (!std::exchange(m_menuKeyHandled, false) || event->key() != Qt::Key_Menu) {
            menuKey();
        }
        event->accept();
        return;
    }
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && event->modifiers() == Qt::NoModifier) {
        event->accept();
        if (m_owner.selectedRow() >= 0) {
            Q_EMIT m_owner.DblClick();
        }
        return;
    }
    {
        const QScopedValueRollback userInput(m_owner.m_inUserInput, m_owner.m_inUserInput + 1);
        QTreeView::keyPressEvent(event);
    }
    m_owner.raiseUserTicks();
}

void ListView::Tree::contextMenuEvent(QContextMenuEvent* event)
{
    if (event->reason() != QContextMenuEvent::Keyboard) {
        QTreeView::contextMenuEvent(event);
        return;
    }
    event->accept();
    m_menuKeyHandled = true;
    menuKey();
}

void ListView::Tree::menuKey()
{
    const int row = m_owner.selectedRow();
    QPoint position(0, 0);
    if (row >= 0) {
        const QModelIndex label = m_owner.m_rows->index(row, 0);
        scrollTo(label);
        // Just under the row's label, as a right click on it would place the menu.
        const QRect cell = visualRect(label);
        position = QPoint(cell.left() + cell.height(), cell.bottom());
    }
    Q_EMIT m_owner.MenuKey(row, position);
}

void ListView::userToggle(int row)
{
    setChecked(row, !checked(row));
    Q_EMIT ItemCheck(row);
}

void ListView::userTicked(int row)
{
    if (!m_checkboxes) {
        return;
    }
    // Qt is still inside the view's own update: the handlers run once it has returned.
    m_userTicks.append(QPersistentModelIndex(m_rows->index(row, 0)));
    if (m_inUserInput == 0) {
        QMetaObject::invokeMethod(this, &ListView::raiseUserTicks, Qt::QueuedConnection);
    }
}

void ListView::raiseUserTicks()
{
    const QList<QPersistentModelIndex> ticks = std::exchange(m_userTicks, {});
    for (const QPersistentModelIndex& tick : ticks) {
        if (tick.isValid()) {
            Q_EMIT ItemCheck(tick.row());
        }
    }
}

} // namespace counter
