#include "core/errorvalue.h"
#include "counter/listview/listview.h"
#include "counter/listview/sortkey.h"
#include "counter/widgetcontrol.h"
#include "data/binding/modcontrols.h"
#include "testsupport/thrown.h"
#include "testsupport/windowfixture.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QHeaderView>
#include <QSignalSpy>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTest>
#include <QTreeView>

#include <functional>

using counter::ListView;
using counter::SortAs;
using counter::WidgetControl;
using Misuse = std::function<void(ListView&)>;

// A key pressed on a list with or without a row selected, the menus and openings it asked for, and the row selected
// after.
struct KeyPress {
    int key, modifiers;
    bool selected;
    int menus, opened, selectedAfter;
};

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

// A one-column list holding the cells in order, rows keyed "#0", "#1", ...
std::unique_ptr<ListView> listOf(const QStringList& cells, SortAs kind)
{
    auto list = std::make_unique<ListView>();
    list->addColumn(QStringLiteral("Coluna"), Qt::AlignLeft, 2000);
    list->setColumnSortAs(0, kind);
    for (int row = 0; row < cells.size(); ++row) {
        list->addRow(QStringLiteral("#%1").arg(row), cells[row]);
    }
    return list;
}

QStringList column(const ListView& list)
{
    QStringList cells;
    for (int row = 0; row < list.rowCount(); ++row) {
        cells << list.cellText(row, 0);
    }
    return cells;
}

QTreeView& tree(ListView& list)
{
    return *list.findChild<QTreeView*>();
}

} // namespace

// The lists as a user meets them: rows found where they are, sorted by the values shown, worked from the keyboard,
// and their columns sharing a narrow window. The row colours and the click order the window relies on are checked
// through the window itself. And how the adapter carries the control rules onto real widgets (the rules themselves
// are tested over a stand-in control with the data layer).
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
        QCOMPARE(keysOf(*list), order);
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
        QTest::newRow("key taken") << Misuse([](ListView& l) { l.addRow(QStringLiteral("#2"), QString()); }) << 35602;
    }
    void misuseRaisesTheListsErrors()
    {
        QFETCH(Misuse, misuse);
        QFETCH(int, number);
        auto list = taskList();
        QCOMPARE(testsupport::thrown([&] { misuse(*list); }).number, number);
        QCOMPARE(list->rowCount() >= 2, true);
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

    // The view hears of every change in the model interface's order, checked by Qt's own model tester: appends told
    // in batches (a second batch after the first was told), a row removed before the view heard of it, a sort.
    void theViewHearsEveryChange()
    {
        auto list = taskList();
        QAbstractItemModel& model = *tree(*list).model();
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        QCoreApplication::processEvents();
        QCOMPARE(model.rowCount(), 3);
        list->addRow(QStringLiteral("#4"), QStringLiteral("Tarefa 4"));
        list->addRow(QStringLiteral("#5"), QStringLiteral("Tarefa 5"));
        list->removeRow(3);
        QCoreApplication::processEvents();
        QCOMPARE(model.rowCount(), 4);
        list->addRow(QStringLiteral("#6"), QStringLiteral("Tarefa 6"));
        QCoreApplication::processEvents();
        QCOMPARE(model.rowCount(), 5);
        list->sortByColumn(0, Qt::DescendingOrder);
        QCOMPARE(model.index(0, 0).data().toString(), QStringLiteral("Tarefa 6"));
    }

    // Only the user's ticks are raised, by a click on the box or Space: not the program's, nor a click on the label.
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

        // Ticking a task refills the whole list from inside the tick handler.
        connect(list.get(), &ListView::ItemCheck, this, [&](int) {
            list->clearRows();
            fill(*list);
            list->setChecked(1, true);
        });
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, checkBoxCentre(*list, 1));
        QCoreApplication::processEvents();
        QCOMPARE(ticks.count(), 3);
        QCOMPARE(list->rowCount(), 3);
        QVERIFY(list->checked(1));
    }

    // Numbers as numbers, dates as dates, words in Portuguese order; blanks first going up, last going down.
    void rowsSortByTheValueShown_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QStringList>("cells");
        QTest::addColumn<QStringList>("ascending");
        QTest::newRow("minutes") << int(SortAs::Number)
                                 << QStringList{"100,00", "1 234,50", "11,00", " ", "10,00", "999,00"}
                                 << QStringList{" ", "10,00", "11,00", "100,00", "999,00", "1 234,50"};
        QTest::newRow("grouped by points")
            << int(SortAs::Number) << QStringList{"1.234,50", "999,00"} << QStringList{"999,00", "1.234,50"};
        QTest::newRow("negative numbers") << int(SortAs::Number) << QStringList{"5,00", "- 1 000,00", "-2,00", "0,00"}
                                          << QStringList{"- 1 000,00", "-2,00", "0,00", "5,00"};
        QTest::newRow("dates over months and years")
            << int(SortAs::Date) << QStringList{"02-12-2026", "15-11-2026", " ", "01-01-2027", "31-10-2025"}
            << QStringList{" ", "31-10-2025", "15-11-2026", "02-12-2026", "01-01-2027"};
        QTest::newRow("words with accents and capitals")
            << int(SortAs::Text) << QStringList{"Óscar", "bruno", "Álvaro", "Eduarda", "alberto"}
            << QStringList{"alberto", "Álvaro", "bruno", "Eduarda", "Óscar"};
        QTest::newRow("words and a blank")
            << int(SortAs::Text) << QStringList{"bruno", " ", "alberto"} << QStringList{" ", "alberto", "bruno"};
        QTest::newRow("case numbers") << int(SortAs::Text) << QStringList{"2009-100", "2009-15", "2009-2"}
                                      << QStringList{"2009-2", "2009-15", "2009-100"};
        QTest::newRow("numbers inside words")
            << int(SortAs::Text) << QStringList{"Apenso 10-A", "apenso 9-b", "Apenso 9-a", "Apenso 09-c"}
            << QStringList{"Apenso 9-a", "apenso 9-b", "Apenso 09-c", "Apenso 10-A"};
    }
    void rowsSortByTheValueShown()
    {
        QFETCH(int, kind);
        QFETCH(QStringList, cells);
        QFETCH(QStringList, ascending);
        auto list = listOf(cells, SortAs(kind));
        list->sortByColumn(0, Qt::AscendingOrder);
        QCOMPARE(column(*list), ascending);
        list->sortByColumn(0, Qt::DescendingOrder);
        std::reverse(ascending.begin(), ascending.end());
        QCOMPARE(column(*list), ascending);
    }

    // The menu key and Shift+F10 ask for the selected row's menu at that row; without a selection at the
    // list's corner. Enter opens the selected row as a double click does; Delete does nothing. Typing the start of a
    // task finds it.
    void keysOnTheList_data()
    {
        QTest::addColumn<KeyPress>("press");
        QTest::newRow("menu key") << KeyPress{Qt::Key_Menu, 0, true, 1, 0, 2};
        QTest::newRow("shift+F10") << KeyPress{Qt::Key_F10, Qt::ShiftModifier, true, 1, 0, 2};
        QTest::newRow("menu key, nothing selected") << KeyPress{Qt::Key_Menu, 0, false, 1, 0, -1};
        QTest::newRow("F10 alone") << KeyPress{Qt::Key_F10, 0, true, 0, 0, 2};
        QTest::newRow("Enter") << KeyPress{Qt::Key_Return, 0, true, 0, 1, 2};
        QTest::newRow("keypad Enter") << KeyPress{Qt::Key_Enter, 0, true, 0, 1, 2};
        QTest::newRow("Enter, nothing selected") << KeyPress{Qt::Key_Return, 0, false, 0, 0, -1};
        QTest::newRow("Delete") << KeyPress{Qt::Key_Delete, 0, true, 0, 0, 2};
        QTest::newRow("a task's first letter") << KeyPress{Qt::Key_R, 0, false, 0, 0, 1};
    }
    void keysOnTheList()
    {
        QFETCH(KeyPress, press);
        const auto& [key, modifiers, selected, menus, opened, selectedAfter] = press;
        auto list = listOf({"Preparar recurso", "Rever contrato", "Telefonar ao cliente"}, SortAs::Text);
        list->resize(400, 200);
        list->show();
        QVERIFY(QTest::qWaitForWindowExposed(list.get()));
        if (selected) {
            list->selectRow(2);
        }
        QSignalSpy menu(list.get(), &ListView::MenuKey);
        QSignalSpy open(list.get(), &ListView::DblClick);
        QTest::keyClick(&tree(*list), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QCOMPARE(menu.size(), menus);
        QCOMPARE(open.size(), opened);
        QCOMPARE(list->rowCount(), 3);
        QCOMPARE(list->selectedRow(), selectedAfter);
        if (menus > 0) {
            const int row = menu.first().at(0).toInt();
            const QPoint at = menu.first().at(1).toPoint();
            QCOMPARE(row, selected ? 2 : -1);
            if (selected) {
                // Under the row's label, where a right click on it would have opened the menu.
                const QRect label = list->cellRect(2, 0);
                QVERIFY2(at.y() >= label.top() && at.y() <= label.bottom() + 1 && label.contains(at.x(), label.top()),
                         qPrintable(QStringLiteral("%1,%2").arg(at.x()).arg(at.y())));
            } else {
                QCOMPARE(at, QPoint(0, 0));
            }
        }
    }

    // In a list narrower than its columns the long texts give up room; the others keep their width, and
    // nothing goes below its header (a scroll bar shows the rest).
    void narrowListsShrinkTheLongTexts_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<QString>("expected"); // "whole", "shared" or "headers"
        QTest::newRow("room for all") << 1200 << "whole";
        QTest::newRow("narrower") << 600 << "shared";
        QTest::newRow("far too narrow") << 150 << "headers";
    }
    void narrowListsShrinkTheLongTexts()
    {
        QFETCH(int, width);
        QFETCH(QString, expected);
        ListView list;
        const QStringList headers{"Tarefas", "Dossier", "Trabalho", "Total"};
        list.addColumn(headers[0], Qt::AlignLeft, 7761);
        list.addColumn(headers[1], Qt::AlignLeft, 2029);
        list.addColumn(headers[2], Qt::AlignLeft, 5468);
        list.addColumn(headers[3], Qt::AlignRight, 2205);
        list.setColumnShares(0, true);
        list.setColumnShares(2, true);
        list.addRow(QString(), QStringLiteral("Uma tarefa"));
        list.setCellText(0, 1, QStringLiteral("129/25.4TYLSB-A.L1"));
        list.fitColumnToCells(1);
        const int wanted = list.columnsWidth();
        QTreeView& view = tree(list);
        QList<int> natural;
        for (int c = 0; c < 4; ++c) {
            natural << view.columnWidth(c);
        }
        list.resize(width, 200);
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        QCOMPARE(view.columnWidth(1), natural[1]);
        QCOMPARE(view.columnWidth(3), natural[3]);
        QCOMPARE(list.columnsWidth(), wanted);
        const int shown = view.columnWidth(0) + view.columnWidth(1) + view.columnWidth(2) + view.columnWidth(3);
        const QFontMetrics metrics(view.header()->font());
        for (int c : {0, 2}) {
            QVERIFY(view.columnWidth(c) >= metrics.horizontalAdvance(headers[c]));
        }
        if (expected == QStringLiteral("whole")) {
            QCOMPARE(shown, wanted);
        } else if (expected == QStringLiteral("shared")) {
            QVERIFY(view.columnWidth(0) < natural[0] && view.columnWidth(2) < natural[2]);
            QVERIFY2(shown <= view.viewport()->width(), qPrintable(QString::number(shown)));
        } else {
            QCOMPARE(view.columnWidth(0), metrics.horizontalAdvance(headers[0]) + 14);
            QCOMPARE(view.columnWidth(2), metrics.horizontalAdvance(headers[2]) + 14);
        }
    }

    // A choose-only combo box is chosen by its entries' identifiers (the counter's lawyer selector shows the lawyer
    // so); a value that is no number clears the choice. "No date" lies before any minimum the form gave the picker.
    void theAdapterCarriesTheRules()
    {
        QComboBox combo;
        const auto control = WidgetControl::of(&combo);
        for (int id : {11, 22, 33}) {
            control->AddItem(QStringLiteral("Advogado %1").arg(id));
            control->setItemData(control->NewIndex(), id);
        }
        data::modControls::SetControlValue(*control, 33, 0);
        QCOMPARE(combo.currentIndex(), 2);
        data::modControls::SetControlValue(*control, QStringLiteral("abc"), 0);
        QCOMPARE(combo.currentIndex(), -1);

        QDateTimeEdit picker;
        picker.setMinimumDate(QDate(2000, 1, 1));
        data::modControls::SetControlValue(*WidgetControl::of(&picker), QVariant(), 0);
        QCOMPARE(picker.dateTime(), QDateTime(QDate(1900, 1, 1), QTime(0, 0)));
    }
};

QTEST_MAIN(TestListView)
#include "test_listview.moc"
