#include "bench/floorwindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTime>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

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

void FloorWindow::tickEverySecond()
{
    auto* timer = new QTimer(this);
    QTreeWidgetItem* first = m_tree->topLevelItem(0);
    QElapsedTimer since;
    since.start();
    connect(timer, &QTimer::timeout, this, [first, since] {
        first->setText(1, QTime(0, 0).addMSecs(static_cast<int>(since.elapsed())).toString(QStringLiteral("mm:ss")));
    });
    timer->start(1000);
}

int runFloorWindow(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const QStringList arguments = QApplication::arguments();
    const int rows =
        arguments.size() > 2 && arguments.at(2) != QStringLiteral("--tick") ? arguments.at(2).toInt() : 1000;
    FloorWindow window(std::max(rows, 1));
    if (arguments.contains(QStringLiteral("--tick"))) {
        window.tickEverySecond();
    }
    window.show();
    return QApplication::exec();
}

} // namespace bench
