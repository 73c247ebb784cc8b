// Offices that orvadmin makes on the private PostgreSQL server (ORV_TEST_PG_DIR, started by the test command):
// the office and its logins as roles of the server, reached through start-up's own login.
#include "adminrun.h"
#include "data/connection.h"
#include "data/office/postgresadmin.h"
#include "data/office/postgresoffice.h"
#include "scramble/modencriptserial.h"
#include "session/modcode.h"
#include "testsupport/files.h"
#include "testsupport/recordedreports.h"
#include "testsupport/tempregistry.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

namespace {

const QString SharedPassword = QStringLiteral("Sh4red 'pw' \"100%\"");

QString serverFile(const QString& name)
{
    QFile file(qEnvironmentVariable("ORV_TEST_PG_DIR") + QLatin1Char('/') + name);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()).trimmed() : QString();
}

// Start-up's login with this name and password: both connections open.
bool logsIn(const QString& name, const QString& password)
{
    loginAgain();
    testsupport::RecordedReports reports;
    return session::modCode::Login(name, password);
}

} // namespace

class TestPostgresOffice : public QObject
{
    Q_OBJECT

    std::optional<testsupport::TempRegistry> m_registry;
    data::PostgresTarget m_server;
    QString m_adminFile;
    QString m_shared;
    QStringList m_roles; // every role a test may have made, dropped at the end

    QStringList serverArguments() const
    {
        return {"--postgres", m_server.server, "--admin", m_server.admin, "--admin-password-file",
                m_adminFile,  "--plain-link"};
    }

    QStringList rolesLike(const QString& name)
    {
        QStringList found;
        for (const QVariantList& row : m_server.session()->select(
                 QStringLiteral("SELECT rolname FROM pg_roles WHERE rolname = ") + data::PostgresAdmin::text(name))) {
            found << row.value(0).toString();
        }
        return found;
    }

    qsizetype roleCount() { return m_server.session()->select(QStringLiteral("SELECT 1 FROM pg_roles")).size(); }

    // Signs in with psql, which takes the role and password as they are: what the server holds, not what our
    // connection can carry.
    bool psqlLogsIn(const QString& role, const QString& password)
    {
        QProcess psql;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("PGPASSWORD"), password);
        environment.insert(QStringLiteral("PGCONNECT_TIMEOUT"), QStringLiteral("10"));
        psql.setProcessEnvironment(environment);
        psql.start(QStandardPaths::findExecutable(QStringLiteral("psql")),
                   {"-h", m_server.server.section(',', 0, 0), "-p", m_server.server.section(',', 1), "-U", role, "-d",
                    "postgres", "-w", "-tA", "-c", "SELECT current_user"});
        return psql.waitForFinished(30000) && psql.exitCode() == 0 &&
               QString::fromUtf8(psql.readAllStandardOutput()) == role + QLatin1Char('\n');
    }

private Q_SLOTS:
    void initTestCase()
    {
        scramble::modEncriptSerial::VolumeSerial = QStringLiteral("-1234567890");
        const QString port = serverFile(QStringLiteral("port"));
        QVERIFY2(!port.isEmpty(),
                 "no private PostgreSQL server: ORV_TEST_PG_DIR must name scripts/pg-server.sh's folder");
        m_adminFile = qEnvironmentVariable("ORV_TEST_PG_DIR") + QStringLiteral("/adminpw");
        m_server = {QStringLiteral("127.0.0.1,") + port,
                    QStringLiteral("orvadmin"),
                    serverFile(QStringLiteral("adminpw")),
                    QStringLiteral("Escritorio_%1").arg(QCoreApplication::applicationPid()),
                    {false, false}};
        m_shared = QStringLiteral("Conta_%1").arg(QCoreApplication::applicationPid());
        m_roles << m_shared.toLower();
        m_registry.emplace();

        AdminRun run;
        QCOMPARE(run(QStringList{"office", "create", "--catalog", m_server.catalog, "--user", m_shared, "--server",
                                 "ORVPG", "--password-stdin"} +
                         serverArguments(),
                     {SharedPassword}),
                 0);
        QVERIFY(!run.out.contains(SharedPassword));
    }

    void cleanupTestCase()
    {
        loginAgain();
        const auto server = m_server.session();
        server->dropOffice(m_server.catalog);
        for (const QString& role : std::as_const(m_roles)) {
            try {
                server->dropLogin(role);
            } catch (const core::Error&) {
            }
        }
    }

    // The whole administration of a new office on the server, then a lawyer's login as start-up makes it.
    void officeTakesALawyerThroughStartUp()
    {
        AdminRun run;
        QCOMPARE(run({"lawyer", "add", "--contact", "501", "--name", "Maria Ferreira", "--price", "45,5"}), 0);
        QCOMPARE(run({"user", "add", "mferreira", "--contact", "501", "--code", "MF", "--group", "ADV"}), 0);
        m_roles << QStringLiteral("mferreira");
        // The settings name the server: the login commands need no --postgres.
        const QStringList onServer = {"--admin", m_server.admin, "--admin-password-file", m_adminFile};
        QCOMPARE(run(QStringList{"login", "add", "MFerreira", "--password-stdin"} + onServer, {"first"}), 0);

        QVERIFY(!logsIn(QStringLiteral("mferreira"), QStringLiteral("wrong")));
        QVERIFY(logsIn(QStringLiteral("mferreira"), QStringLiteral("first")));
        // orvadmin check walks the same login on the engine the settings name, not SQL Server's driver.
        QCOMPARE(run({"check", "--user", "mferreira", "--password-stdin"}, {"first"}), 0);
        QVERIFY2(run.out.contains(QStringLiteral("ok: PostgreSQL, servidor ") + m_server.server) &&
                     (run.out.contains(QStringLiteral("ok: PostgreSQL Unicode")) ||
                      run.out.contains(QStringLiteral("psqlodbcw.so"))),
                 qPrintable(run.out));
        QCOMPARE(run({"check", "--user", "mferreira", "--password-stdin"}, {"wrong"}), 14);
        QVERIFY(session::modCode::SetAdvogado(QStringLiteral("mferreira")));
        QCOMPARE(session::modCode::AdvogadoID, 501);
        QCOMPARE(session::modCode::dtDataSource, m_server.server);
        // A new time entry takes the counting basis and the price rule the office was made with.
        auto basis = data::Data::SqlServer().openRecordset(
            QStringLiteral("SELECT Base_ID FROM tbProcessos_Trabalhos_Tarefas_Lancamentos_Bases WHERE counter <> 0"));
        QCOMPARE(basis->value(QStringLiteral("base_id")).toInt(), 1);
        auto price = data::Data::SqlServer().openRecordset(
            QStringLiteral("SELECT Preco_ID FROM tbProcessos_Trabalhos_Tarefas_Lancamentos_Precos WHERE counter <> 0"));
        QCOMPARE(price->value(QStringLiteral("preco_id")).toInt(), 1);

        QCOMPARE(run(QStringList{"login", "add", "mferreira", "--password-stdin"} + onServer, {"again"}), 1);
        QVERIFY(run.err.contains(QStringLiteral("já existe")));
        QCOMPARE(run(QStringList{"login", "password", "mferreira", "--password-stdin"} + onServer, {"second"}), 0);
        QVERIFY(!logsIn(QStringLiteral("mferreira"), QStringLiteral("first")));
        QVERIFY(logsIn(QStringLiteral("mferreira"), QStringLiteral("second")));
        QCOMPARE(run(QStringList{"login", "remove", "mferreira"} + onServer), 0);
        QVERIFY(!logsIn(QStringLiteral("mferreira"), QStringLiteral("second")));
        QCOMPARE(run(QStringList{"login", "remove", "mferreira"} + onServer), 1);
        QVERIFY(run.err.contains(QStringLiteral("Não existe")));
    }

    // The administrator a stock server is given for the counter: a role that may create roles and databases, no
    // superuser. It makes an office whose shared account then logs in.
    void officeMadeByARoleThatIsNoSuperuser()
    {
        const QString setup = QStringLiteral("orvsetup_%1").arg(QCoreApplication::applicationPid());
        const QString catalog = QStringLiteral("escritorio_setup_%1").arg(QCoreApplication::applicationPid());
        const QString shared = QStringLiteral("conta_setup_%1").arg(QCoreApplication::applicationPid());
        m_roles << setup << shared;
        QVERIFY(
            m_server.session()->setLogin(setup, QStringLiteral("setup-pw"), data::PostgresAdmin::LoginExpected::New));
        m_server.session()->exec(QStringLiteral("ALTER ROLE ") + data::PostgresAdmin::name(setup) +
                                 QStringLiteral(" CREATEDB CREATEROLE"));
        QTemporaryDir dir;
        const QString passwordFile = dir.filePath(QStringLiteral("setup.pw"));
        QVERIFY(testsupport::writeFile(passwordFile, "setup-pw\n"));
        AdminRun run;
        const int code =
            run({"office", "create", "--catalog", catalog, "--user", shared, "--password-stdin", "--postgres",
                 m_server.server, "--admin", setup, "--admin-password-file", passwordFile, "--plain-link"},
                {SharedPassword});
        const auto cleanup = qScopeGuard([&] { m_server.session()->dropOffice(catalog); });
        QCOMPARE(code, 0);
        QVERIFY(psqlLogsIn(shared, SharedPassword));
    }

    // What exists is never taken over: the database, or a role (here the admin's own, whose password a
    // careless --user would otherwise have changed).
    void officeCreateRefusesWhatExists_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("message");
        QTest::newRow("database exists") << QStringList{"--catalog", m_server.catalog, "--user", "outra_conta"} << 1
                                         << QStringLiteral("já existe");
        QTest::newRow("role exists") << QStringList{"--catalog", "nova_base", "--user", "ORVADMIN"} << 1
                                     << QStringLiteral("orvadmin já existe");
        QTest::newRow("a file and a server")
            << QStringList{"/tmp/office.db", "--catalog", "nova_base"} << 2 << QStringLiteral("não os dois");
    }

    void officeCreateRefusesWhatExists()
    {
        QFETCH(QStringList, arguments);
        AdminRun run;
        QTEST(run(QStringList{"office", "create", "--password-stdin"} + arguments + serverArguments(),
                  {QStringLiteral("taken over")}),
              "code");
        QFETCH(QString, message);
        QVERIFY2(run.err.contains(message), qPrintable(run.err));
        QVERIFY(rolesLike(QStringLiteral("outra_conta")).isEmpty());
        QVERIFY(m_server.session()->select("SELECT 1 FROM pg_database WHERE datname = 'nova_base'").isEmpty());
        // Both existing accounts still sign in with their own passwords.
        QVERIFY(psqlLogsIn(QStringLiteral("orvadmin"), m_server.adminPassword));
        QVERIFY(logsIn(m_shared, SharedPassword));
    }

    // Names and passwords are data to the server. What start-up's connection could not carry is refused before
    // anything is sent; everything else becomes a role that start-up logs in with.
    void hostileLogins_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("role"); // empty: refused
        const auto row = [](const char* tag, const QString& name, const QString& password, const QString& role) {
            QTest::newRow(tag) << name << password << role;
        };
        const QString longest = QString(63, u'a');
        row("apostrophes", "O'Neil", "it's ''quoted''", "o'neil");
        row("double quotes", "ana \"x\"", "say \"hi\"\"", "ana \"x\"");
        row("percent and underscore", "100%_", "%_%", "100%_");
        row("plus and what reads as an escape", "plus", "a+b %2B c", "plus");
        row("backslashes", "c:\\dir\\", "\\' OR '1'='1", "c:\\dir\\");
        row("blanks around the name", "  rita  ", "pass word", "rita");
        row("outside Windows-1252", QStringLiteral("Łukasz 日本"), QStringLiteral("пароль 🔑"),
            QStringLiteral("łukasz 日本"));
        row("10,000-character password", "longpass", QString(10000, u'\''), "longpass");
        row("63-byte name", longest, "x", longest);
        row("64-byte name", QString(64, u'b'), "x", "");
        row("63 characters in 64 bytes", QString(62, u'c') + QStringLiteral("ç"), "x", "");
        row("10,000-character name", QString(10000, u'n'), "x", "");
        row("semicolon in the name", "x; DROP ROLE orvadmin", "x", "");
        row("semicolon in the password", "semi", "a;b", "");
        row("brace in the password", "brace", "{x}", "");
        row("blank at the password's end", "blank", "pw ", "");
        row("empty password", "empty", "", "");
    }

    void hostileLogins()
    {
        QFETCH(QString, name);
        QFETCH(QString, password);
        QFETCH(QString, role);
        m_roles << name.trimmed().toLower().left(data::PostgresAdmin::MaxRoleBytes);
        const qsizetype before = roleCount();
        AdminRun run;
        const int code = run(QStringList{"login", "add", name, "--password-stdin"} + serverArguments(), {password});
        if (role.isEmpty()) {
            QCOMPARE(code, 1);
            QCOMPARE(roleCount(), before);
            return;
        }
        QCOMPARE(code, 0);
        QCOMPARE(rolesLike(role), QStringList{role});
        // Start-up drops the blanks around a typed name before it logs in.
        QVERIFY(logsIn(name.trimmed(), password));
        QVERIFY(!logsIn(name.trimmed(), password + QStringLiteral("x")));
    }

    // The server's own quoting, for what the administration command refuses: every name and password still
    // reaches the server as one value, checked by signing in with psql.
    void serverTakesValuesAsData_data()
    {
        QTest::addColumn<QString>("role");
        QTest::addColumn<QString>("password");
        QTest::newRow("statement in the name") << QStringLiteral("q\"; drop role orvadmin; --") << QStringLiteral("pw");
        QTest::newRow("statement in the password")
            << QStringLiteral("qpass") << QStringLiteral("x'; ALTER ROLE orvadmin PASSWORD 'y'; --");
        QTest::newRow("blanks at either end") << QStringLiteral(" qblank ") << QStringLiteral("  spaced  ");
        QTest::newRow("braces and percent") << QStringLiteral("q{%}") << QStringLiteral("{%};");
        QTest::newRow("10,000 characters") << "qlong" << QString(5000, u';') + QString(5000, u'"');
    }

    void serverTakesValuesAsData()
    {
        QFETCH(QString, role);
        QFETCH(QString, password);
        m_roles << role;
        const auto server = m_server.session();
        QVERIFY(server->setLogin(role, password, data::PostgresAdmin::LoginExpected::New));
        QCOMPARE(rolesLike(role), QStringList{role});
        QVERIFY(psqlLogsIn(role, password));
        QVERIFY(!psqlLogsIn(role, password + QStringLiteral("x")));
        QVERIFY(psqlLogsIn(QStringLiteral("orvadmin"), m_server.adminPassword));
        QVERIFY(server->dropLogin(role));
        QVERIFY(rolesLike(role).isEmpty());
    }
};

QTEST_MAIN(TestPostgresOffice)
#include "test_postgresoffice.moc"
