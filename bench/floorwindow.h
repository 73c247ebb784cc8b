#pragma once

#include <QWidget>

#include <memory>

class QTreeWidget;

namespace bench {

// The floor every window figure is compared with: a bare Qt window holding a checkable tree, built and
// filled with plain Qt calls, nothing of the counter in it.
class FloorWindow : public QWidget
{
public:
    explicit FloorWindow(int rows);
    // Refills the tree with `rows` checkable rows of four columns.
    void fill(int rows);

private:
    QTreeWidget* m_tree;
};

// The floor as a program of its own (orvbench --floor-window): shows the window and runs until killed.
int runFloorWindow(int argc, char* argv[]);

} // namespace bench
