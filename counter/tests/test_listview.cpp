#include "counter/listview.h"

#include <QSignalSpy>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTest>

using counter::ListView;

namespace {

// A list shaped like the pending-task list: seven columns, check boxes, rows "#1".."#n".
std::unique_ptr<ListView> taskList(int rows)
{
    auto list = std::make_unique<ListView>();
    list->setCheckboxes(true);
    for (int column = 0; column < 7; ++column) {
        list->addColumn(QStringLiteral("C%1").arg(column), Qt::AlignLeft, 2000);
    }
    for (int row = 1; row <= rows; ++row) {
        list->addRow(QStringLiteral("#%1").arg(row), QStringLiteral("Tarefa %1").arg(row));
    }
    list->resize(700, 300);
    list->show();
    return list;
}

QPoint checkBoxCentre(ListView& list, int row)
{
    QStyleOptionViewItem option;
    option.initFrom(list.viewport());
    option.rect = list.visualItemRect(list.topLevelItem(row));
    option.features = QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay;
    option.text = list.cellText(row, 0);
    return list.style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, &list).center();
}

QPoint labelPoint(ListView& list, int row)
{
    const QRect cell = list.visualRect(list.model()->index(row, 4));
    return cell.center();
}

} // namespace

class TestListView : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void coloursAreReadBlueGreenRed_data()
    {
        QTest::addColumn<quint32>("bgr");
        QTest::addColumn<QColor>("shown");
        QTest::newRow("band blue") << quint32(0xAF5C30) << QColor(0x30, 0x5C, 0xAF);
        QTest::newRow("dark grey") << quint32(0x3F3F3F) << QColor(0x3F, 0x3F, 0x3F);
        QTest::newRow("overdue red") << quint32(0xC0) << QColor(0xC0, 0, 0);
        QTest::newRow("hidden grey") << quint32(0xC0C0C0) << QColor(0xC0, 0xC0, 0xC0);
    }
    void coloursAreReadBlueGreenRed()
    {
        QFETCH(quint32, bgr);
        QFETCH(QColor, shown);
        auto list = taskList(1);
        list->setCellForeColor(0, 3, bgr);
        QCOMPARE(list->cellForeColor(0, 3), shown);
        QCOMPARE(list->topLevelItem(0)->foreground(3).color(), shown);
    }

    void onlyTheUsersTicksAreRaised()
    {
        auto list = taskList(3);
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

        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, labelPoint(*list, 2));
        QCOMPARE(ticks.count(), 1);

        list->selectRow(1);
        QTest::keyClick(list.get(), Qt::Key_Space);
        QCOMPARE(ticks.count(), 2);
        QVERIFY(!list->checked(1));
    }

    void aTickHandlerMayRebuildTheList()
    {
        auto list = taskList(3);
        QVERIFY(QTest::qWaitForWindowExposed(list.get()));
        int handled = 0;
        connect(list.get(), &ListView::ItemCheck, this, [&](int) {
            ++handled;
            list->clearRows();
            for (int row = 1; row <= 3; ++row) {
                list->addRow(QStringLiteral("#%1").arg(row), QStringLiteral("Tarefa %1").arg(row));
                list->setChecked(row - 1, row == 2);
            }
        });
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, checkBoxCentre(*list, 1));
        QCoreApplication::processEvents();
        QCOMPARE(handled, 1);
        QCOMPARE(list->rowCount(), 3);
        QVERIFY(list->checked(1));
    }

    void theItemClickComesBeforeTheRelease()
    {
        auto list = taskList(2);
        QVERIFY(QTest::qWaitForWindowExposed(list.get()));
        QStringList events;
        connect(list.get(), &ListView::ItemClick, this,
                [&](int row, Qt::MouseButton button) { events << QStringLiteral("click %1 %2").arg(row).arg(button); });
        connect(list.get(), &ListView::MouseUp, this,
                [&](Qt::MouseButton button, const QPoint&) { events << QStringLiteral("up %1").arg(button); });

        QTest::mouseClick(list->viewport(), Qt::RightButton, {}, labelPoint(*list, 1));
        QCOMPARE(list->selectedRow(), 1);
        const QPoint emptySpace(20, list->viewport()->height() - 5);
        QTest::mouseClick(list->viewport(), Qt::RightButton, {}, emptySpace);

        const QStringList expected{QStringLiteral("click 1 %1").arg(Qt::RightButton),
                                   QStringLiteral("up %1").arg(Qt::RightButton),
                                   QStringLiteral("up %1").arg(Qt::RightButton)};
        QCOMPARE(events, expected);
    }
};

QTEST_MAIN(TestListView)
#include "test_listview.moc"
