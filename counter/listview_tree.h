#pragma once

#include "counter/listview.h"

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

private:
    ListView& m_owner;
};

} // namespace counter
