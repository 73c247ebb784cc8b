// The office server goes away in the middle of a session and comes back: the counter keeps what the database last
// said, says the database is away, and catches up by itself once it is back.
// The test runs a PostgreSQL server of its own, since stopping the one the other tests share would fail them.
#include "counter/linkrecovery.h"
#include "testsupport/windowfixture.h"

#include <QLabel>
#include <QProcess>

using testsupport::OfficeFixture;

namespace {

// Runs the private server's script; true when it succeeded.
bool serverScript(const QString& command, const QString& folder)
{
    QProcess script;
    script.start(QStringLiteral("bash"), {QStringLiteral(ORV_PG_SERVER_SCRIPT), command, folder});
    if (!script.waitForFinished(90000) || script.exitStatus() != QProcess::NormalExit || script.exitCode() != 0) {
        qWarning("%s", script.readAllStandardError().constData());
        return false;
    }
    return true;
}

const QString ClosedConnection = QStringLiteral("The connection cannot be used to perform this operation.");

} // namespace

class TestServerOutage : public QObject
{
    Q_OBJECT

    QString m_folder;

private Q_SLOTS:
    void initTestCase()
    {
        m_folder = QDir::tempPath() + QStringLiteral("/orv-outage-%1").arg(QCoreApplication::applicationPid());
        QVERIFY(serverScript(QStringLiteral("start"), m_folder));
        qputenv("ORV_TEST_ENGINE", "postgres");
        qputenv("ORV_TEST_PG_DIR", m_folder.toUtf8());
    }

    void cleanupTestCase() { serverScript(QStringLiteral("stop"), m_folder); }

    // A task counts for ten minutes, the server stops and the lawyer unticks: the list keeps the task counting and
    // every row, one message says the stop waits, the window says the database is away. When the server is back, the
    // next try of the back-off, with no click, closes the entry once with the ten minutes up to the untick.
    void serverStoppedAndStartedAgain()
    {
        WindowFixture f;
        f.load();
        f.toggle(OfficeFixture::Task);
        const QString entry = f.list().cellText(f.row(OfficeFixture::Task), 9).trimmed();
        QVERIFY(!entry.isEmpty());
        f.clock.advanceMinutes(10);
        const QDateTime untick = f.clock.now();
        auto& recovery = f.part<counter::LinkRecovery>();
        auto* line = f.window->findChild<QLabel*>(QStringLiteral("LinkStatus"));

        QVERIFY(serverScript(QStringLiteral("halt"), m_folder));
        f.toggle(OfficeFixture::Task);
        QCOMPARE(f.list().rowCount(), 1);
        QVERIFY(f.list().checked(f.row(OfficeFixture::Task)));
        QVERIFY(recovery.outage());
        QVERIFY(line->isVisibleTo(f.window.get()));
        QCOMPARE(f.part<counter::TrayIcon>().tip(), counter::LinkRecovery::trayTip());
        QCOMPARE(f.boxes.shown().size(), 1);
        // The tries while the server is away, and a refill asked for, keep the rows.
        for (const int seconds : {1, 2, 4}) {
            f.clock.advanceSeconds(seconds);
            recovery.tick();
            QVERIFY(recovery.outage());
        }
        f.window->mnContador_Click();
        QVERIFY(f.list().checked(f.row(OfficeFixture::Task)));
        for (const auto& report : f.reports.reports()) {
            QVERIFY2(report.text.startsWith(ClosedConnection), qPrintable(report.text));
        }

        QVERIFY(serverScript(QStringLiteral("start"), m_folder));
        f.clock.advanceSeconds(counter::LinkRecovery::LongestDelayMs / 1000);
        recovery.tick();
        QVERIFY(!recovery.outage());
        QVERIFY(!line->isVisibleTo(f.window.get()));
        QVERIFY(!f.list().checked(f.row(OfficeFixture::Task)));
        QCOMPARE(f.office.runningCount(), 0);
        QCOMPARE(f.office.entryCount(), 1);
        QCOMPARE(f.office.minutesOf(entry.toLongLong()).toInt(), 10);
        QCOMPARE(f.entryColumn(entry.toLongLong(), "data_fim").toDateTime(), untick);
        QCOMPARE(f.boxes.shown().size(), 1);
    }
};

QTEST_MAIN(TestServerOutage)
#include "test_serveroutage.moc"
