#include "counter/listview.h"

#include <QApplication>
#include <QSignalSpy>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTest>

using counter::ListView;

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

// The row colours and the click order the window relies on are checked through the window itself.
class TestListView : public QObject
{
    Q_OBJECT

private Q_SLOTS:
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
