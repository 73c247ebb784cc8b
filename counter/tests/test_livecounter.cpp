#include "testsupport/windowfixture.h"

#include <QTimer>

using testsupport::OfficeFixture;

class TestLiveCounter : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void aRunningTaskShowsTheTimeSinceItStarted_data()
    {
        QTest::addColumn<qint64>("elapsedSeconds");
        QTest::addColumn<QString>("shown");
        QTest::newRow("5:07") << qint64(5 * 60 + 7) << QStringLiteral("05:07");
        QTest::newRow("59:59") << qint64(59 * 60 + 59) << QStringLiteral("59:59");
        QTest::newRow("one hour") << qint64(3600) << QStringLiteral("01:00:00");
        QTest::newRow("1:02:03") << qint64(3600 + 2 * 60 + 3) << QStringLiteral("01:02:03");
        QTest::newRow("23:59:59") << qint64(24 * 3600 - 1) << QStringLiteral("23:59:59");
        QTest::newRow("a day") << qint64(24 * 3600) << QStringLiteral("24:00:00");
        QTest::newRow("25 hours 5 seconds") << qint64(25 * 3600 + 5) << QStringLiteral("25:00:05");
        QTest::newRow("a forgotten week") << qint64(7 * 24 * 3600 + 61) << QStringLiteral("168:01:01");
    }
    void aRunningTaskShowsTheTimeSinceItStarted()
    {
        QFETCH(qint64, elapsedSeconds);
        QFETCH(QString, shown);
        WindowFixture f;
        f.load();
        f.toggle(OfficeFixture::Task);
        f.clock.advanceSeconds(elapsedSeconds);
        f.window->Timer1_Timer();
        const int row = f.row(OfficeFixture::Task);
        QCOMPARE(f.list().cellText(row, 1), shown);
        QVERIFY(f.list().cellBold(row, 1));
    }

    void nothingIsUpdatedWhileTheWindowIsHidden()
    {
        WindowFixture f;
        f.office.addRunningEntry(OfficeFixture::Task, f.clock.now());
        f.load(false);
        f.clock.advanceSeconds(65);
        f.window->Timer1_Timer();
        const int row = f.row(OfficeFixture::Task);
        QCOMPARE(f.list().cellText(row, 1), QStringLiteral("..."));

        f.window->show();
        f.window->Timer1_Timer();
        QCOMPARE(f.list().cellText(row, 1), QStringLiteral("01:05"));
    }

    // A row unticked without a refill (its entry was deleted) goes back to the idle text, still bold;
    // with nothing counting the timer stands still until a row is ticked again.
    void theCounterFollowsTheTickedRows()
    {
        WindowFixture f;
        f.office.addTask(813, OfficeFixture::Work, QStringLiteral("Segunda"), false, f.clock.now());
        f.load();
        auto* timer = f.window->findChild<QTimer*>(QStringLiteral("Timer1"));
        QVERIFY(!timer->isActive());

        f.toggle(OfficeFixture::Task);
        QVERIFY(timer->isActive());
        f.clock.advanceSeconds(65);
        f.window->Timer1_Timer();
        const int row = f.row(OfficeFixture::Task);
        QCOMPARE(f.list().cellText(row, 1), QStringLiteral("01:05"));
        QCOMPARE(f.list().cellText(f.row(813), 1), QStringLiteral("..."));
        QVERIFY(!f.list().cellBold(f.row(813), 1));

        f.toggle(OfficeFixture::Task);
        QCOMPARE(f.office.entryCount(), 0);
        f.window->Timer1_Timer();
        QCOMPARE(f.list().cellText(row, 1), QStringLiteral("..."));
        QVERIFY(f.list().cellBold(row, 1));
        QVERIFY(!timer->isActive());
    }

    // A running task found by the load sets the timer going; hiding the window stops it, showing it
    // starts it again.
    void theTimerRestsWhileTheWindowIsHidden()
    {
        WindowFixture f;
        f.office.addRunningEntry(OfficeFixture::Task, f.clock.now());
        f.load();
        auto* timer = f.window->findChild<QTimer*>(QStringLiteral("Timer1"));
        QVERIFY(timer->isActive());
        f.window->hide();
        QVERIFY(!timer->isActive());
        f.window->show();
        QVERIFY(timer->isActive());
    }

    void aStartThatIsNoDateEndsTheTickWithAReport()
    {
        WindowFixture f;
        f.office.addTask(813, OfficeFixture::Work, QStringLiteral("Segunda"), false, f.clock.now());
        f.office.addRunningEntry(OfficeFixture::Task, QDateTime());
        f.office.addRunningEntry(813, f.clock.now());
        f.load();
        f.clock.advanceSeconds(10);
        f.window->Timer1_Timer();

        QCOMPARE(f.reports.procedures(), QStringList{QStringLiteral("Timer1_Timer")});
        QCOMPARE(f.reports.reports().first().owner, QStringLiteral("frmCounter"));
        QCOMPARE(f.list().cellText(f.row(813), 1), QStringLiteral("..."));
        // The same failure every second is reported once, not once a second.
        for (int second = 0; second < 5; ++second) {
            f.clock.advanceSeconds(1);
            f.window->Timer1_Timer();
        }
        QCOMPARE(f.reports.reports().size(), 1);
    }
};

QTEST_MAIN(TestLiveCounter)
#include "test_livecounter.moc"
