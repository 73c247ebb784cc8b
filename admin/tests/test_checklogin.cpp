#include "adminrun.h"
#include "data/office/machinesettings.h"
#include "registry/modregistry.h"
#include "scramble/modencriptserial.h"
#include "testsupport/officefixture.h"
#include "testsupport/tempregistry.h"

#include <QTcpServer>
#include <QTest>

#include <optional>

using testsupport::OfficeFixture;
using testsupport::TempDatabase;

namespace {

// A local port on which nothing listens: taken from the system, then given back.
quint16 closedPort()
{
    QTcpServer server;
    server.listen(QHostAddress::LocalHost, 0);
    const quint16 port = server.serverPort();
    server.close();
    return port;
}

} // namespace

class TestCheckLogin : public QObject
{
    Q_OBJECT

    std::optional<testsupport::TempRegistry> m_registry;
    std::optional<OfficeFixture> m_office;

    data::MachineSettings settings() { return settingsFor(m_office->database()); }

private Q_SLOTS:
    void initTestCase() { scramble::modEncriptSerial::VolumeSerial = QStringLiteral("-1234567890"); }

    void init()
    {
        m_office.reset();
        m_registry.emplace();
        m_office.emplace();
        m_office->database().addLogin(QStringLiteral("ana"), QStringLiteral("ana-pw"));
        m_office->database().addLogin(QStringLiteral("cmourao"), QStringLiteral("sec-pw"));
        m_office->database().addLogin(QStringLiteral("ghost"), QStringLiteral("ghost-pw"));
        m_office->database().exec(QStringLiteral("INSERT INTO tbUsers (user_id, descrit, contacto_id, code) "
                                                 "VALUES (30, 'cmourao', NULL, 'CM')"));
    }

    void cleanupTestCase()
    {
        m_office.reset();
        m_registry.reset();
    }

    // Each cause of a refused login is named by the step that meets it, with the exit code 10 + step.
    void namesTheFailingStep_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("password");
        QTest::addColumn<int>("step");
        QTest::addColumn<QString>("reason");

        const auto row = [](const char* name, const char* change, const char* user, const char* password, int step,
                            const char* reason) {
            QTest::newRow(name) << QString::fromUtf8(change) << QString::fromUtf8(user) << QString::fromUtf8(password)
                                << step << QString::fromUtf8(reason);
        };
        row("every step passes", "", "ana", "ana-pw", 0, "");
        row("settings missing", "no server subkey", "ana", "ana-pw", 1, "dtSecurityInfo");
        row("database file missing", "no file", "ana", "ana-pw", 2, "não existe");
        row("no ODBC driver", "no driver", "ana", "ana-pw", 2, "controlador ODBC");
        row("closed local port", "closed port", "ana", "ana-pw", 3, "não responde");
        row("server time-out", "time-out", "ana", "ana-pw", 3, "tempo esgotado");
        row("wrong password", "", "ana", "wrong", 4, "recusou o login de \"ana\"");
        row("unknown login", "", "nobody", "pw-of-nobody-7Q", 4, "recusou o login");
        row("catalog refused", "catalog", "ana", "ana-pw", 4, "catálogo \"OutroCatalogo\"");
        row("shared account refused", "shared password", "ana", "ana-pw", 5, "conta \"sa_test\"");
        row("missing view", "drop view", "ana", "ana-pw", 6, "vwProcessos_Trabalhos_Tarefas");
        row("missing table", "drop table", "ana", "ana-pw", 6, "tbGroups");
        row("user without a contact", "", "cmourao", "sec-pw", 7, "não tem contacto_id");
        row("login without a user row", "", "ghost", "ghost-pw", 7, "não está em tbUsers");
    }

    void namesTheFailingStep()
    {
        QFETCH(QString, change);
        QFETCH(QString, user);
        QFETCH(QString, password);
        QFETCH(int, step);
        QFETCH(QString, reason);

        AdminRun orvadmin;
        orvadmin.probes.odbcDriver = [](data::Connection::Engine) { return QStringLiteral("FreeTDS"); };
        data::MachineSettings values = settings();
        if (change == "no file") {
            values.dataSource = m_office->database().path() + QStringLiteral(".gone.db");
        } else if (change == "no driver") {
            values.dataSource = QStringLiteral("127.0.0.1,1433");
            orvadmin.probes.odbcDriver = [](data::Connection::Engine) { return QString(); };
        } else if (change == "closed port") {
            values.dataSource = QStringLiteral("127.0.0.1,%1").arg(closedPort());
        } else if (change == "time-out") {
            values.dataSource = QStringLiteral("tcp:192.0.2.1,1433");
            orvadmin.probes.reach = [](const QString&, quint16, int) {
                return admin::Reach{admin::Reach::Result::TimedOut, QString()};
            };
        } else if (change == "catalog") {
            values.catalog = QStringLiteral("OutroCatalogo");
        } else if (change == "shared password") {
            values.password = QStringLiteral("not-the-secret");
        } else if (change == "drop view") {
            m_office->database().exec(QStringLiteral("DROP VIEW vwProcessos_Trabalhos_Tarefas"));
        } else if (change == "drop table") {
            m_office->database().exec(QStringLiteral("DROP TABLE tbGroups"));
        }
        values.write();
        if (change == "no server subkey") {
            registry::modRegistry::DefinirValorString(data::MachineSettings::sharedKey(), QStringLiteral("DataServer"),
                                                      QStringLiteral("NOWHERE"));
        }

        orvadmin.input = QStringList{password};
        const int code = orvadmin({"check", "--user", user, "--password-stdin"});

        QCOMPARE(code, step == 0 ? 0 : 10 + step);
        const QStringList lines = orvadmin.out.split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), step == 0 ? 8 : 7);
        for (int n = 1; n <= 7; ++n) {
            const QString& line = lines.at(n - 1);
            QVERIFY2(line.startsWith(QString::number(n) + QStringLiteral(". ")), qPrintable(line));
            QCOMPARE(line.contains(QStringLiteral("FALHOU")), n == step);
            if (step != 0 && n > step) {
                QVERIFY2(line.contains(QStringLiteral("não verificado")), qPrintable(line));
            }
        }
        if (step != 0) {
            QVERIFY2(lines.at(step - 1).contains(reason), qPrintable(orvadmin.out));
            QVERIFY2(orvadmin.err.contains(QStringLiteral("o passo %1").arg(step)), qPrintable(orvadmin.err));
        }
        for (const QString& secret : {password, values.password}) {
            QVERIFY(!orvadmin.out.contains(secret) && !orvadmin.err.contains(secret));
        }
        QVERIFY(orvadmin.prompts.isEmpty());
    }

    // Guessing passwords through the check is as slow as through the window, on the same count: each
    // refusal in a row waits a second more; a good login forgets them.
    void aRefusedCheckWaitsLikeTheLogin()
    {
        settings().write();
        core::LoginThrottle::succeeded();
        AdminRun orvadmin;
        for (const char* password : {"wrong-1", "wrong-2", "wrong-3"}) {
            orvadmin.input = QStringList{QLatin1String(password)};
            QCOMPARE(orvadmin({"check", "--user", "ana", "--password-stdin"}), 14);
        }
        QCOMPARE(orvadmin.waits, (QList<int>{1, 2, 3}));
        QCOMPARE(core::LoginThrottle::failuresInARow(), 3);
        orvadmin.input = QStringList{"ana-pw"};
        QCOMPARE(orvadmin({"check", "--user", "ana", "--password-stdin"}), 0);
        orvadmin.input = QStringList{"wrong-4"};
        QCOMPARE(orvadmin({"check", "--user", "ana", "--password-stdin"}), 14);
        QCOMPARE(orvadmin.waits, (QList<int>{1, 2, 3, 1}));
        core::LoginThrottle::succeeded();
    }

    void withoutUserChecksTheSharedAccountOnly()
    {
        settings().write();
        AdminRun orvadmin;
        QCOMPARE(orvadmin({"check"}), 0);
        QVERIFY(orvadmin.out.contains(QStringLiteral("4. Login do utilizador")));
        QCOMPARE(orvadmin.out.count(QStringLiteral("não verificado: sem --user")), 2);
    }

    // Every step follows the engine and the link's protection the settings name, as the counter's login does.
    void followsTheEngine_data()
    {
        QTest::addColumn<QString>("engine");
        QTest::addColumn<QString>("dataSource");
        QTest::addColumn<bool>("encrypt");
        QTest::addColumn<bool>("trust");
        QTest::addColumn<QString>("settingsLine"); // what step 1 says
        QTest::addColumn<QString>("driverLine");   // what step 2 says
        QTest::addColumn<QString>("reached");      // the address step 3 tries; empty when it does not get there
        const auto row = [](const char* name, const QString& engine, const QString& dataSource, bool encrypt,
                            bool trust, const QString& settingsLine, const QString& driverLine,
                            const QString& reached) {
            QTest::newRow(name) << engine << dataSource << encrypt << trust << settingsLine << driverLine << reached;
        };
        row("SQL Server, certificate checked", "", "sql01", true, false,
            "SQL Server, servidor sql01, catálogo Escritorio, ligação "
            "cifrada com o certificado do servidor verificado",
            "FreeTDS", "sql01:1433");
        row("SQL Server, certificate trusted", "SQLServer", "sql01,1500", true, true,
            "ligação cifrada sem verificar o certificado", "FreeTDS", "sql01:1500");
        row("SQL Server, no encryption", "", "sql01", false, false, "ligação sem cifra", "FreeTDS", "sql01:1433");
        row("PostgreSQL, default port", "PostgreSQL", "pg01", true, false, "PostgreSQL, servidor pg01",
            "PostgreSQL Unicode", "pg01:5432");
        row("PostgreSQL, host:port", "postgresql", "pg01:6543", false, false, "ligação sem cifra", "PostgreSQL Unicode",
            "pg01:6543");
        row("PostgreSQL, port no number", "PostgreSQL", "pg01,x", true, false, "PostgreSQL", "PostgreSQL Unicode", "");
        row("engine nobody knows", "Oracle", "ora01", true, false, "não nomeia um motor conhecido", "", "");
    }

    void followsTheEngine()
    {
        QFETCH(QString, engine);
        QFETCH(QString, dataSource);
        QFETCH(bool, encrypt);
        QFETCH(bool, trust);
        QFETCH(QString, settingsLine);
        QFETCH(QString, driverLine);
        QFETCH(QString, reached);
        data::MachineSettings values = settings();
        values.catalog = QStringLiteral("Escritorio");
        values.dataSource = dataSource;
        values.engine = engine;
        values.security = {encrypt, trust};
        values.write();
        AdminRun orvadmin;
        orvadmin.probes.odbcDriver = [](data::Connection::Engine asked) {
            return asked == data::Connection::Engine::PostgreSQL ? QStringLiteral("PostgreSQL Unicode")
                                                                 : QStringLiteral("FreeTDS");
        };
        QString tried;
        orvadmin.probes.reach = [&tried](const QString& host, quint16 port, int) {
            tried = host + QLatin1Char(':') + QString::number(port);
            return admin::Reach{admin::Reach::Result::Refused, QStringLiteral("recusado")};
        };
        orvadmin({"check"});
        const QStringList lines = orvadmin.out.split(u'\n', Qt::SkipEmptyParts);
        QVERIFY2(lines.size() >= 3 && lines.at(0).contains(settingsLine), qPrintable(orvadmin.out));
        QVERIFY2(driverLine.isEmpty() || lines.at(1).contains(QStringLiteral("ok: ") + driverLine),
                 qPrintable(orvadmin.out));
        QCOMPARE(tried, reached);
        QVERIFY(!orvadmin.out.contains(values.password));
    }

    void serverAddress_data()
    {
        QTest::addColumn<QString>("dataSource");
        QTest::addColumn<QString>("host");
        QTest::addColumn<int>("port");
        const auto row = [](const char* name, const QString& dataSource, const QString& host, int port) {
            QTest::newRow(name) << dataSource << host << port;
        };
        row("host", "sql01", "sql01", 1433);
        row("host and port", "sql01,1500", "sql01", 1500);
        row("tcp prefix", "tcp:10.0.0.5, 1501", "10.0.0.5", 1501);
        row("named instance", "sql01\\OFFICE", "sql01", 0);
        row("instance and port", "sql01\\OFFICE,1600", "sql01", 1600);
        row("(local)", "(local)", "localhost", 1433);
        row("dot", ".", "localhost", 1433);
        row("port is no number", "sql01,abc", "sql01", 0);
    }

    void serverAddress()
    {
        QFETCH(QString, dataSource);
        const admin::ServerAddress address = admin::serverAddress(dataSource);
        QTEST(address.host, "host");
        QTEST(int(address.port), "port");
    }
};

QTEST_GUILESS_MAIN(TestCheckLogin)
#include "test_checklogin.moc"
