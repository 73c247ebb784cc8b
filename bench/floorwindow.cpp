#include "bench/floorwindow.h"

#include <QApplication>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace bench {

FloorWindow::FloorWindow(int rows)
    : m_tree(new QTreeWidget(this))
{
    setWindowTitle(QStringLiteral("floor"));
    resize(760, 420);
    m_tree->setAccessibleName(QStringLiteral("floor rows"));
    m_tree->setColumnCount(4);
    m_tree->setHeaderLabels(
        {QStringLiteral("Tarefa"), QStringLiteral("Contador"), QStringLiteral("Acumulado"), QStringLiteral("Prazo")});
    m_tree->setRootIsDecorated(false);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tree);
    fill(rows);
}

void FloorWindow::fill(int rows)
{
    m_tree->clear();
    QList<QTreeWidgetItem*> items;
    items.reserve(rows);
    for (int i = 0; i < rows; ++i) {
        auto* item = new QTreeWidgetItem({QStringLiteral("Tarefa %1").arg(i), QStringLiteral("00:00"),
                                          QStringLiteral("%1,00").arg(i % 97), QStringLiteral("05-03-2009")});
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(0, Qt::Unchecked);
        items << item;
    }
    m_tree->addTopLevelItems(items);
}

int runFloorWindow(int argc, char* argv[])
{
    QApplication app(argc, argv);
    FloorWindow window(1000);
    window.show();
    return QApplication::exec();
}

} // namespace bench
