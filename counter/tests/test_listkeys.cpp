// The lists as a user meets them: sorted by the values shown, worked from the keyboard, and their columns
// sharing a narrow window.
#include "counter/listview/listview.h"
#include "counter/listview/sortkey.h"

#include <QHeaderView>
#include <QSignalSpy>
#include <QTest>
#include <QTreeView>

using counter::ListView;
using counter::SortAs;

namespace {

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

class TestListKeys : public QObject
{
    Q_OBJECT

private Q_SLOTS:
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
        // Keys travel with their rows.
        for (int row = 0; row < list->rowCount(); ++row) {
            QCOMPARE(list->cellText(list->findKey(list->key(row)), 0), list->cellText(row, 0));
        }
    }

    // The menu key and Shift+F10 ask for the selected row's menu at that row; without a selection at the
    // list's corner. Enter opens the selected row as a double click does; Delete and Escape do nothing.
    void keysOnTheList_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<bool>("selected");
        QTest::addColumn<int>("menus");
        QTest::addColumn<int>("opened");
        QTest::newRow("menu key") << int(Qt::Key_Menu) << 0 << true << 1 << 0;
        QTest::newRow("shift+F10") << int(Qt::Key_F10) << int(Qt::ShiftModifier) << true << 1 << 0;
        QTest::newRow("menu key, nothing selected") << int(Qt::Key_Menu) << 0 << false << 1 << 0;
        QTest::newRow("F10 alone") << int(Qt::Key_F10) << 0 << true << 0 << 0;
        QTest::newRow("Enter") << int(Qt::Key_Return) << 0 << true << 0 << 1;
        QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << 0 << true << 0 << 1;
        QTest::newRow("Enter, nothing selected") << int(Qt::Key_Return) << 0 << false << 0 << 0;
        QTest::newRow("Delete") << int(Qt::Key_Delete) << 0 << true << 0 << 0;
        QTest::newRow("Escape") << int(Qt::Key_Escape) << 0 << true << 0 << 0;
    }
    void keysOnTheList()
    {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(bool, selected);
        QFETCH(int, menus);
        QFETCH(int, opened);
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
        QCOMPARE(list->selectedRow(), selected ? 2 : -1);
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

    // Typing the start of a task finds it.
    void typingFindsARow()
    {
        auto list = listOf({"Preparar recurso", "Rever contrato", "Telefonar ao cliente"}, SortAs::Text);
        list->show();
        QVERIFY(QTest::qWaitForWindowExposed(list.get()));
        list->selectRow(0);
        QTest::keyClicks(&tree(*list), QStringLiteral("tel"));
        QCOMPARE(list->selectedRow(), 2);
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
};

QTEST_MAIN(TestListKeys)
#include "test_listkeys.moc"
