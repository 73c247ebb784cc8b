// The counter window on a desktop: whole on a screen smaller than it would like, brought back from
// wherever it went, and its task list worked from the keyboard.
#include "counter/windowplacement.h"
#include "testsupport/windowfixture.h"

#include <QAction>
#include <QScreen>
#include <QTreeView>

using testsupport::OfficeFixture;

class TestDesktop : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The frame ends on the bottom right corner of the available area, and the window is never larger
    // than the area less its frame.
    void theFrameSitsInTheCorner_data()
    {
        QTest::addColumn<QRect>("area");
        QTest::addColumn<QSize>("wanted");
        QTest::addColumn<QMargins>("frame");
        QTest::addColumn<QRect>("placed");
        QTest::newRow("room enough, no frame")
            << QRect(0, 0, 1920, 1080) << QSize(1000, 460) << QMargins() << QRect(920, 620, 1000, 460);
        QTest::newRow("a frame and a panel on top")
            << QRect(0, 30, 1280, 770) << QSize(1000, 460) << QMargins(4, 24, 4, 4) << QRect(276, 336, 1000, 460);
        QTest::newRow("wider than the screen")
            << QRect(0, 0, 800, 600) << QSize(1020, 460) << QMargins(3, 20, 3, 3) << QRect(3, 137, 794, 460);
        QTest::newRow("taller than the screen")
            << QRect(0, 0, 1024, 400) << QSize(900, 460) << QMargins(2, 20, 2, 2) << QRect(122, 20, 900, 378);
        QTest::newRow("a second screen on the left")
            << QRect(-1280, 0, 1280, 1024) << QSize(1000, 460) << QMargins() << QRect(-1000, 564, 1000, 460);
    }
    void theFrameSitsInTheCorner()
    {
        QFETCH(QRect, area);
        QFETCH(QSize, wanted);
        QFETCH(QMargins, frame);
        QFETCH(QRect, placed);
        const QRect geometry = counter::WindowPlacement::placed(area, wanted, frame);
        QCOMPARE(geometry, placed);
        QVERIFY(area.contains(geometry.marginsAdded(frame)));
    }

    // On a screen narrower than the task list wants (the offscreen screen is 800 pixels wide), the window
    // is as wide as the screen and sits in its corner; the case numbers and dates keep their width and
    // the descriptions give up room. A task whose case number is long widens its column, not the window.
    void aSmallScreenHoldsTheWholeWindow()
    {
        WindowFixture f;
        f.office.database().exec(QStringLiteral(
            "UPDATE tbProcessos SET processo_no_completo = '129/25.4TYLSB-A.L1.S1.P2' WHERE processo_id = 15"));
        counter::frmCounter& window = f.load();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QRect area = window.screen()->availableGeometry();
        QVERIFY2(area.width() < f.list().columnsWidth(), "the screen should be narrower than the list");
        QVERIFY(area.contains(window.frameGeometry()));
        QCOMPARE(window.frameGeometry().right(), area.right());
        QCOMPARE(window.frameGeometry().bottom(), area.bottom());

        int none = 0;
        window.Fill_Tarefas(none);
        QVERIFY(area.contains(window.frameGeometry()));
        auto& view = *f.list().findChild<QTreeView*>();
        const QString dossier = f.list().cellText(0, 5);
        QVERIFY(view.columnWidth(5) > QFontMetrics(view.font()).horizontalAdvance(dossier));
        QVERIFY(view.columnWidth(0) < counter::ListView::pixelsFromHundredthsMm(7761));
        testsupport::keepScreenshot(window, QStringLiteral("counter-800x600"));

        // A larger window (the user's doing) is fitted again when the available area changes.
        window.setGeometry(area.adjusted(-100, 0, 0, 0));
        Q_EMIT window.screen()->availableGeometryChanged(area);
        QVERIFY(area.contains(window.frameGeometry()));
    }

    // "Abrir contador" and a second start bring the window back, hidden or minimised.
    void theWindowComesBackFromAnywhere_data()
    {
        QTest::addColumn<bool>("tray");
        QTest::addColumn<QString>("command");
        QTest::newRow("tray, Abrir contador") << true << "mnContador";
        QTest::newRow("tray, second start") << true << "second start";
        QTest::newRow("no tray, Abrir contador") << false << "mnContador";
        QTest::newRow("no tray, second start") << false << "second start";
    }
    void theWindowComesBackFromAnywhere()
    {
        QFETCH(bool, tray);
        QFETCH(QString, command);
        WindowFixture f;
        counter::TrayIcon::setAvailabilityProbe([tray] { return tray; });
        counter::frmCounter& window = f.load();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.close();
        QCOMPARE(window.isVisible(), !tray);
        QCOMPARE(window.isMinimized(), !tray);
        QCOMPARE(window.accessibleName(), QStringLiteral("Contador de Tarefas"));
        if (command == QStringLiteral("mnContador")) {
            window.findChild<QAction*>(command)->trigger();
        } else {
            window.showWindow();
        }
        QVERIFY(window.isVisible());
        QVERIFY(!window.isMinimized());
    }

    // The menu key on a selected task offers the task commands, as a right click on it does; with no task
    // selected they are not offered ("Esconder" included), and Escape or Delete change nothing.
    void theMenuKeyOnTheTaskList_data()
    {
        QTest::addColumn<bool>("selected");
        QTest::newRow("a task selected") << true;
        QTest::newRow("none selected") << false;
    }
    void theMenuKeyOnTheTaskList()
    {
        QFETCH(bool, selected);
        WindowFixture f;
        counter::frmCounter& window = f.load();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        auto& view = *f.list().findChild<QTreeView*>();
        if (selected) {
            f.list().selectRow(f.row(OfficeFixture::Task));
        } else {
            view.clearSelection();
        }
        for (const Qt::Key harmless : {Qt::Key_Escape, Qt::Key_Delete}) {
            QTest::keyClick(&view, harmless);
        }
        QVERIFY(f.popups.isEmpty());
        QTest::keyClick(&view, Qt::Key_Menu);
        QCOMPARE(f.popups, QStringList{QStringLiteral("mnList")});
        for (const char* name : {"mnListAbrir", "mnEsconder", "mnListTerminar", "mnListRemover"}) {
            QCOMPARE(window.findChild<QAction*>(QLatin1String(name))->isEnabled(), selected);
        }
        QVERIFY(window.isVisible());
        QCOMPARE(f.office.entryCount(), 0);
        QCOMPARE(f.sent(QStringLiteral("UPDATE")).size() + f.sent(QStringLiteral("DELETE")).size(), 0);
    }
};

QTEST_MAIN(TestDesktop)
#include "test_desktop.moc"
