#pragma once

#include "counter/listview.h"

#include <QTreeWidget>

namespace counter {

// The tree a ListView draws its rows in. It hands the user's clicks and key presses to the list, which
// raises its own events from them; nothing outside the list reaches it.
class ListView::Tree : public QTreeWidget
{
public:
    explicit Tree(ListView& owner);

    QModelIndex modelIndex(QTreeWidgetItem* item) const { return indexFromItem(item, 0); }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    ListView& m_owner;
};

} // namespace counter
