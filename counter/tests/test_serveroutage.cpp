// The office server goes away in the middle of a session and comes back: the counter reports the lost
// connection, stays usable, and the next command after the server's return reconnects and works.
// The test runs a PostgreSQL server of its own, since stopping the one the other tests share would fail them.
#include "windowfixture.h"

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

    void serverStoppedAndStartedAgain()
    {
        WindowFixture f;
        f.load();
        f.toggle(OfficeFixture::Task);
        const QString entry = f.list().cellText(f.row(OfficeFixture::Task), 9).trimmed();
        QVERIFY(!entry.isEmpty());
        f.clock.advanceMinutes(10);

        QVERIFY(serverScript(QStringLiteral("halt"), m_folder));
        // Each command while the server is away reports the closed connection: the untick, the list's refill after
        // it, and the window's "Contador" command, which refills the list again.
        f.toggle(OfficeFixture::Task);
        const qsizetype afterUntick = f.reports.reports().size();
        QVERIFY(afterUntick > 0);
        f.window->mnContador_Click();
        QVERIFY(f.reports.reports().size() > afterUntick);
        for (const auto& report : f.reports.reports()) {
            QVERIFY2(report.text.startsWith(ClosedConnection), qPrintable(report.text));
        }
        QVERIFY(f.window->isVisible());

        // Back again: the next command reconnects; the entry is still running and the untick closes it.
        QVERIFY(serverScript(QStringLiteral("start"), m_folder));
        const qsizetype reported = f.reports.reports().size();
        f.window->mnContador_Click();
        QCOMPARE(f.reports.reports().size(), reported);
        QVERIFY(f.list().checked(f.row(OfficeFixture::Task)));
        QCOMPARE(f.list().cellText(f.row(OfficeFixture::Task), 9).trimmed(), entry);
        f.toggle(OfficeFixture::Task);
        QCOMPARE(f.reports.reports().size(), reported);
        QVERIFY(!f.list().checked(f.row(OfficeFixture::Task)));
        QCOMPARE(f.office.runningCount(), 0);
        QCOMPARE(f.office.minutesOf(entry.toLongLong()).toInt(), 10);
    }
};

QTEST_MAIN(TestServerOutage)
#include "test_serveroutage.moc"
