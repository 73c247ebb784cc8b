#pragma once

#include "counter/listview/listview.h"

#include <QTreeView>

namespace counter {

// The tree a ListView draws its rows in. It hands the user's clicks and key presses to the list, which
// raises its own events from them; nothing outside the list reaches it.
class ListView::Tree : public QTreeView
{
public:
    explicit Tree(ListView& owner);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    // The menu key, or Shift+F10: the list's menu for the selected row, at that row.
    void menuKey();

    ListView& m_owner;
    // X11 sends the menu key twice, as a context-menu event and then as the key itself: the key that
    // follows an event already handled is let go.
    bool m_menuKeyHandled = false;
};

} // namespace counter
