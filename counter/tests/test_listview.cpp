#include "core/errorvalue.h"
#include "counter/listview/listview.h"

#include <QApplication>
#include <QSignalSpy>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTest>
#include <QTreeView>

#include <functional>

using counter::ListView;
using Misuse = std::function<void(ListView&)>;
Q_DECLARE_METATYPE(Misuse)

namespace {

// A list shaped like the pending-task list: seven columns, check boxes, rows "#1".."#3".
void fill(ListView& list)
{
    for (int row = 1; row <= 3; ++row) {
        list.addRow(QStringLiteral("#%1").arg(row), QStringLiteral("Tarefa %1").arg(row));
    }
}

std::unique_ptr<ListView> taskList()
{
    auto list = std::make_unique<ListView>();
    list->setCheckboxes(true);
    for (int column = 0; column < 7; ++column) {
        list->addColumn(QStringLiteral("C%1").arg(column), Qt::AlignLeft, 2000);
    }
    fill(*list);
    list->resize(700, 300);
    list->show();
    return list;
}

QPoint checkBoxCentre(ListView& list, int row)
{
    QStyleOptionViewItem option;
    option.initFrom(list.viewport());
    option.rect = list.cellRect(row, 0);
    option.features = QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay;
    option.text = list.cellText(row, 0);
    return list.style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, list.viewport()).center();
}

} // namespace

// The keys of the rows, in order.
QStringList keys(const ListView& list)
{
    QStringList found;
    for (int row = 0; row < list.rowCount(); ++row) {
        found << list.key(row);
    }
    return found;
}

// The row colours and the click order the window relies on are checked through the window itself.
class TestListView : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Rows keep their key, tick and cells through removals and sorting: positions follow the rows.
    void rowsAreFoundWhereTheyAre_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QStringList>("order");
        QTest::addColumn<QList<int>>("ticked");
        const QStringList added{QStringLiteral("#1"), QStringLiteral("#2"), QStringLiteral("#3")};
        QTest::newRow("as added") << QString() << added << QList<int>{0, 2};
        QTest::newRow("first removed") << QStringLiteral("remove 0") << QStringList{added[1], added[2]}
                                       << QList<int>{1};
        QTest::newRow("middle removed") << QStringLiteral("remove 1") << QStringList{added[0], added[2]}
                                        << QList<int>{0, 1};
        QTest::newRow("sorted down by label")
            << QStringLiteral("sort") << QStringList{added[2], added[1], added[0]} << QList<int>{0, 2};
    }
    void rowsAreFoundWhereTheyAre()
    {
        QFETCH(QString, change);
        QFETCH(QStringList, order);
        QFETCH(QList<int>, ticked);
        auto list = taskList();
        list->setChecked(0, true);
        list->setChecked(2, true);
        for (int row = 0; row < 3; ++row) {
            list->setCellText(row, 9, QStringLiteral("entry of %1").arg(list->key(row)));
        }
        if (change.startsWith(QStringLiteral("remove"))) {
            list->removeRow(change.back().digitValue());
        } else if (change == QStringLiteral("sort")) {
            list->setSortKey(0);
            list->setSortOrder(Qt::DescendingOrder);
            list->setSorted(true);
        }
        QCOMPARE(keys(*list), order);
        QCOMPARE(list->checkedRows(), ticked);
        for (int row = 0; row < list->rowCount(); ++row) {
            QCOMPARE(list->findKey(order[row]), row);
            QCOMPARE(list->cellText(row, 9), QStringLiteral("entry of %1").arg(order[row]));
        }
        QCOMPARE(list->findKey(QStringLiteral("#gone")), -1);
    }

    // What the windows' handlers expect of a bad position, cell or key.
    void misuseRaisesTheListsErrors_data()
    {
        QTest::addColumn<Misuse>("misuse");
        QTest::addColumn<int>("number");
        QTest::newRow("row past the end") << Misuse([](ListView& l) { l.cellText(3, 1); }) << 35600;
        QTest::newRow("negative row") << Misuse([](ListView& l) { l.setChecked(-1, true); }) << 35600;
        QTest::newRow("cell past the last") << Misuse([](ListView& l) { l.setCellText(0, 11, QString()); }) << 35600;
        QTest::newRow("removed row") << Misuse([](ListView& l) {
            l.removeRow(2);
            l.key(2);
        }) << 35600;
        QTest::newRow("key taken") << Misuse([](ListView& l) { l.addRow(QStringLiteral("#2"), QString()); }) << 35602;
    }
    void misuseRaisesTheListsErrors()
    {
        QFETCH(Misuse, misuse);
        QFETCH(int, number);
        auto list = taskList();
        try {
            misuse(*list);
            QFAIL("no error");
        } catch (const core::Error& error) {
            QCOMPARE(error.number(), number);
        }
        QCOMPARE(list->rowCount() >= 2, true);
    }

    // Colours and bold belong to shown cells; a kept cell has the list's colour, whatever is asked.
    void onlyShownCellsTakeColourAndBold()
    {
        auto list = taskList();
        list->setForeColor(0x3F3F3F);
        list->setCellForeColor(1, 6, 0xC0);
        list->setCellForeColor(1, 7, 0xC0);
        list->setCellBold(1, 1, true);
        list->setCellBold(1, 8, true);
        QCOMPARE(list->cellForeColor(1, 6), QColor(0xC0, 0, 0));
        QCOMPARE(list->cellForeColor(1, 7), QColor(0x3F, 0x3F, 0x3F));
        QCOMPARE(list->cellForeColor(0, 6), QColor(0x3F, 0x3F, 0x3F));
        QVERIFY(list->cellBold(1, 1));
        QVERIFY(!list->cellBold(1, 8));
        list->setCellBold(1, 1, false);
        QVERIFY(!list->cellBold(1, 1));
    }

    // Rows appended while the list is on screen are drawn with their texts once the window repaints.
    void appendedRowsReachTheScreen()
    {
        auto list = taskList();
        QVERIFY(QTest::qWaitForWindowExposed(list.get()));
        list->clearRows();
        for (int row = 0; row < 500; ++row) {
            list->addRow(QStringLiteral("#%1").arg(row), QStringLiteral("Tarefa %1").arg(row));
            list->setCellText(row, 5, QStringLiteral("Dossier %1").arg(row));
        }
        list->selectRow(499);
        QCoreApplication::processEvents();
        auto* tree = list->findChild<QTreeView*>();
        QCOMPARE(tree->model()->rowCount(), 500);
        QCOMPARE(tree->model()->index(499, 5).data().toString(), QStringLiteral("Dossier 499"));
        QVERIFY(tree->visualRect(tree->model()->index(499, 0)).intersects(tree->viewport()->rect()));
        QCOMPARE(list->selectedRow(), 499);
    }

    void onlyTheUsersTicksAreRaised()
    {
        auto list = taskList();
        QVERIFY(QTest::qWaitForWindowExposed(list.get()));
        QSignalSpy ticks(list.get(), &ListView::ItemCheck);
        list->setChecked(0, true);
        list->setChecked(0, false);
        list->setCellForeColor(1, 0, 0xC0);
        QCoreApplication::processEvents();
        QCOMPARE(ticks.count(), 0);

        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, checkBoxCentre(*list, 1));
        QCOMPARE(ticks.count(), 1);
        QCOMPARE(ticks.at(0).at(0).toInt(), 1);
        QVERIFY(list->checked(1));

        const QPoint label = list->cellRect(2, 4).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, label);
        QCOMPARE(ticks.count(), 1);

        list->selectRow(1);
        list->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
        QCOMPARE(ticks.count(), 2);
        QVERIFY(!list->checked(1));
    }

    // Ticking a task refills the whole list from inside the tick handler.
    void aTickHandlerMayRebuildTheList()
    {
        auto list = taskList();
        QVERIFY(QTest::qWaitForWindowExposed(list.get()));
        int handled = 0;
        connect(list.get(), &ListView::ItemCheck, this, [&](int) {
            ++handled;
            list->clearRows();
            fill(*list);
            list->setChecked(1, true);
        });
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, checkBoxCentre(*list, 1));
        QCoreApplication::processEvents();
        QCOMPARE(handled, 1);
        QCOMPARE(list->rowCount(), 3);
        QVERIFY(list->checked(1));
    }
};

QTEST_MAIN(TestListView)
#include "test_listview.moc"
