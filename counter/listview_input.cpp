// How the user's own input reaches the list's handlers: clicks and key presses on the tree, and the
// ticks they change, raised only once Qt has finished with the event.
#include "counter/listview.h"
#include "counter/listview_tree.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QScopedValueRollback>

namespace counter {

ListView::Tree::Tree(ListView& owner)
    : QTreeWidget(&owner)
    , m_owner(owner)
{}

void ListView::Tree::mousePressEvent(QMouseEvent* event)
{
    {
        const QScopedValueRollback userInput(m_owner.m_inUserInput, m_owner.m_inUserInput + 1);
        QTreeWidget::mousePressEvent(event);
    }
    if (QTreeWidgetItem* item = itemAt(event->position().toPoint())) {
        Q_EMIT m_owner.ItemClick(indexOfTopLevelItem(item), event->button());
    }
}

void ListView::Tree::mouseReleaseEvent(QMouseEvent* event)
{
    {
        const QScopedValueRollback userInput(m_owner.m_inUserInput, m_owner.m_inUserInput + 1);
        QTreeWidget::mouseReleaseEvent(event);
    }
    m_owner.raiseUserTicks();
    Q_EMIT m_owner.MouseUp(event->button(), event->position().toPoint());
}

void ListView::Tree::mouseDoubleClickEvent(QMouseEvent* event)
{
    {
        const QScopedValueRollback userInput(m_owner.m_inUserInput, m_owner.m_inUserInput + 1);
        QTreeWidget::mouseDoubleClickEvent(event);
    }
    m_owner.raiseUserTicks();
    Q_EMIT m_owner.DblClick();
}

void ListView::Tree::keyPressEvent(QKeyEvent* event)
{
    {
        const QScopedValueRollback userInput(m_owner.m_inUserInput, m_owner.m_inUserInput + 1);
        QTreeWidget::keyPressEvent(event);
    }
    m_owner.raiseUserTicks();
}

void ListView::userToggle(int row)
{
    setChecked(row, !checked(row));
    Q_EMIT ItemCheck(row);
}

void ListView::onItemChanged(QTreeWidgetItem* item, int column)
{
    if (m_fromCode > 0 || column != 0 || !m_checkboxes) {
        return;
    }
    const bool ticked = item->checkState(0) == Qt::Checked;
    if (ticked == item->data(0, KnownTickRole).toBool()) {
        return;
    }
    {
        const QScopedValueRollback fromCode(m_fromCode, m_fromCode + 1);
        item->setData(0, KnownTickRole, ticked);
    }
    // Qt is still inside the item's own update: the handlers run once it has returned.
    m_userTicks.append(QPersistentModelIndex(m_tree->modelIndex(item)));
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
