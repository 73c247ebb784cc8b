// The office server goes away in the middle of a session and comes back: the counter keeps what the database last
// said, says the database is away, and catches up by itself once it is back.
// The test runs a PostgreSQL server of its own, since stopping the one the other tests share would fail them.
#include "counter/tests/outage.h"

#include <QProcess>

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
        outageHealsByItself(
            f, [this] { QVERIFY(serverScript(QStringLiteral("halt"), m_folder)); },
            [this] { QVERIFY(serverScript(QStringLiteral("start"), m_folder)); });
    }
};

QTEST_MAIN(TestServerOutage)
#include "test_serveroutage.moc"
