// The office file goes away under the counting window and comes back: meanwhile the window keeps what the
// database last said and says why; afterwards it catches up by itself, the untick made during the fault included.
#include "counter/linkrecovery.h"
#include "testsupport/filefault.h"
#include "testsupport/windowfixture.h"

#include <QLabel>

using testsupport::FileFault;
using testsupport::OfficeFixture;

namespace {

constexpr int OtherTask = 813;

// Whether the line above the list says the database is away.
bool lineShown(WindowFixture& f)
{
    const auto& line = f.child<QLabel>("LinkStatus");
    return line.isVisibleTo(f.window.get()) && line.text() == counter::LinkRecovery::statusText();
}

const QString ClosedConnection = QStringLiteral("The connection cannot be used to perform this operation.");

} // namespace

class TestOutage : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void anOutageHealsByItself_data()
    {
        QTest::addColumn<FileFault::Kind>("fault");
        QTest::addColumn<bool>("byACommand");
        QTest::addColumn<bool>("counting"); // or the task is ticked during the fault
        QTest::newRow("moved away and back") << FileFault::Kind::Moved << false << true;
        QTest::newRow("deleted and restored") << FileFault::Kind::Deleted << false << true;
        QTest::newRow("read-only and writable again") << FileFault::Kind::ReadOnly << false << true;
        QTest::newRow("moved back, then a command") << FileFault::Kind::Moved << true << true;
        QTest::newRow("a tick while moved away") << FileFault::Kind::Moved << false << false;
    }

    // A task counts for ten minutes, the fault comes, the lawyer unticks: the list keeps every row and the task
    // counting, one message says the stop waits, the window and the tray say the database is away. When the file is
    // back, the next try, with no click, closes the entry once, with the ten minutes up to the untick. A command that
    // opens the link again brings that try forward: the deferred untick does not wait for the back-off. A tick the
    // database cannot take is shown as not done, with one message, and nothing is started later.
    void anOutageHealsByItself()
    {
        QFETCH(FileFault::Kind, fault);
        QFETCH(bool, byACommand);
        QFETCH(bool, counting);
        WindowFixture f(testsupport::TempDatabase::Place::Disk);
        f.office.addTask(OtherTask, OfficeFixture::Work, QStringLiteral("Juntar documentos"), false, f.clock.now());
        f.load();
        if (counting) {
            f.toggle(OfficeFixture::Task);
        }
        const qint64 entry = f.list().cellText(f.row(OfficeFixture::Task), 9).toLongLong();
        QCOMPARE(entry > 0, counting);
        f.clock.advanceMinutes(10);
        const QDateTime untick = f.clock.now();
        const QStringList rows = keysOf(f.list());
        auto& recovery = f.part<counter::LinkRecovery>();
        {
            FileFault during(f.office.database().path(), fault);
            f.toggle(OfficeFixture::Task);

            QCOMPARE(keysOf(f.list()), rows);
            QCOMPARE(f.list().checked(f.row(OfficeFixture::Task)), counting);
            QVERIFY(recovery.outage());
            QVERIFY(lineShown(f));
            QCOMPARE(f.part<counter::TrayIcon>().tip(), counter::LinkRecovery::trayTip());
            QCOMPARE(f.boxes.shown().size(), 1);
            QVERIFY(f.boxes.shown().first().text.contains(QStringLiteral("Redigir contestação")));

            // The tries on the back-off fail without a word; a refill asked for meanwhile keeps the rows.
            for (const int seconds : {1, 2, 4, 8, 8}) {
                f.clock.advanceSeconds(seconds);
                recovery.tick();
                QVERIFY(recovery.outage());
            }
            f.window->mnContador_Click();
            QCOMPARE(keysOf(f.list()), rows);
            QCOMPARE(f.list().checked(f.row(OfficeFixture::Task)), counting);
            QCOMPARE(f.office.database().path().isEmpty(), false);
        }
        if (byACommand) {
            f.window->mnContador_Click();
            QVERIFY(recovery.outage());
            QVERIFY(recovery.nextTry() <= f.clock.now());
        } else {
            f.clock.advanceSeconds(counter::LinkRecovery::LongestDelayMs / 1000);
        }
        recovery.tick();

        QVERIFY(!recovery.outage());
        QVERIFY(!lineShown(f));
        QCOMPARE(f.part<counter::TrayIcon>().tip(), QStringLiteral("Orvel"));
        QCOMPARE(keysOf(f.list()), rows);
        QVERIFY(!f.list().checked(f.row(OfficeFixture::Task)));
        QCOMPARE(f.office.runningCount(), 0);
        QCOMPARE(f.office.entryCount(), counting ? 1 : 0);
        if (counting) {
            QCOMPARE(f.office.minutesOf(entry).toInt(), 10);
            QCOMPARE(f.entryColumn(entry, "data_fim").toDateTime(), untick);
        }
        QCOMPARE(f.boxes.shown().size(), 1);
        for (const auto& report : f.reports.reports()) {
            QVERIFY2(report.text.startsWith(ClosedConnection), qPrintable(report.text));
        }
    }
};

QTEST_MAIN(TestOutage)
#include "test_outage.moc"
