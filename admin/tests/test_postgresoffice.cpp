// Offices orvadmin makes on the private PostgreSQL server, reached through start-up's own login.
#include "adminrun.h"
#include "data/connection.h"
#include "data/office/postgresadmin.h"
#include "data/office/postgresoffice.h"
#include "scramble/modencriptserial.h"
#include "session/modcode.h"
#include "testsupport/files.h"
#include "testsupport/recordedreports.h"
#include "testsupport/tempregistry.h"
#include "testsupport/thrown.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

using namespace Qt::StringLiterals;

namespace {

const QString SharedPassword = u"Sh4red 'pw' \"100%\""_s;

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

    qsizetype rolesNamed(const QString& name)
    {
        return m_server.session()
            ->select(u"SELECT 1 FROM pg_roles WHERE rolname = "_s + data::PostgresAdmin::text(name))
            .size();
    }

    qsizetype roleCount() { return m_server.session()->select(u"SELECT 1 FROM pg_roles"_s).size(); }

    // Signs in with psql, which takes the role and password as the server holds them.
    bool psqlLogsIn(const QString& role, const QString& password)
    {
        QProcess psql;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"PGPASSWORD"_s, password);
        environment.insert(u"PGCONNECT_TIMEOUT"_s, u"10"_s);
        psql.setProcessEnvironment(environment);
        psql.start(QStandardPaths::findExecutable(u"psql"_s),
                   {"-h", m_server.server.section(',', 0, 0), "-p", m_server.server.section(',', 1), "-U", role, "-d",
                    "postgres", "-w", "-tA", "-c", "SELECT current_user"});
        return psql.waitForFinished(30000) && psql.exitCode() == 0 &&
               QString::fromUtf8(psql.readAllStandardOutput()) == role + QLatin1Char('\n');
    }

private Q_SLOTS:
    void initTestCase()
    {
        scramble::modEncriptSerial::VolumeSerial = u"-1234567890"_s;
        const QString port = serverFile(u"port"_s);
        QVERIFY2(!port.isEmpty(),
                 "no private PostgreSQL server: ORV_TEST_PG_DIR must name scripts/pg-server.sh's folder");
        m_adminFile = qEnvironmentVariable("ORV_TEST_PG_DIR") + u"/adminpw"_s;
        m_server = {u"127.0.0.1,"_s + port,
                    u"orvadmin"_s,
                    serverFile(u"adminpw"_s),
                    u"Escritorio_%1"_s.arg(QCoreApplication::applicationPid()),
                    {false, false}};
        m_shared = u"Conta_%1"_s.arg(QCoreApplication::applicationPid());
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
            testsupport::thrown([&] { server->dropLogin(role); });
        }
    }

    // The whole administration of a new office on the server, then a lawyer's login as start-up makes it.
    void officeTakesALawyerThroughStartUp()
    {
        AdminRun run;
        QCOMPARE(run({"lawyer", "add", "--contact", "501", "--name", "Maria Ferreira", "--price", "45,5"}), 0);
        QCOMPARE(run({"user", "add", "mferreira", "--contact", "501", "--code", "MF", "--group", "ADV"}), 0);
        m_roles << u"mferreira"_s;
        // The settings name the server: the login commands need no --postgres.
        const QStringList onServer = {"--admin", m_server.admin, "--admin-password-file", m_adminFile};
        QCOMPARE(run(QStringList{"login", "add", "MFerreira", "--password-stdin"} + onServer, {"first"}), 0);

        QVERIFY(!logsIn(u"mferreira"_s, u"wrong"_s));
        QVERIFY(logsIn(u"mferreira"_s, u"first"_s));
        // orvadmin check walks the same login on the engine the settings name, not SQL Server's driver.
        QCOMPARE(run({"check", "--user", "mferreira", "--password-stdin"}, {"first"}), 0);
        QVERIFY2(run.out.contains(u"ok: PostgreSQL, servidor "_s + m_server.server) &&
                     run.out.contains(u"ok: QPSQL (libpq)"_s),
                 qPrintable(run.out));
        QCOMPARE(run({"check", "--user", "mferreira", "--password-stdin"}, {"wrong"}), 14);
        QVERIFY(session::modCode::SetAdvogado(u"mferreira"_s));
        QCOMPARE(session::modCode::AdvogadoID, 501);
        QCOMPARE(session::modCode::dtDataSource, m_server.server);
        // A new time entry takes the counting basis and the price rule the office was made with.
        auto rule = data::Data::SqlServer().openRecordset(
            u"SELECT b.Base_ID, p.Preco_ID FROM tbProcessos_Trabalhos_Tarefas_Lancamentos_Bases b, "
            "tbProcessos_Trabalhos_Tarefas_Lancamentos_Precos p WHERE b.counter <> 0 AND p.counter <> 0"_s);
        QCOMPARE(QList<int>({rule->value(u"base_id"_s).toInt(), rule->value(u"preco_id"_s).toInt()}),
                 QList<int>({1, 1}));

        QCOMPARE(run(QStringList{"login", "add", "mferreira", "--password-stdin"} + onServer, {"again"}), 1);
        QVERIFY(run.err.contains(u"já existe"_s));
        QCOMPARE(run(QStringList{"login", "password", "mferreira", "--password-stdin"} + onServer, {"second"}), 0);
        QVERIFY(!logsIn(u"mferreira"_s, u"first"_s));
        QVERIFY(logsIn(u"mferreira"_s, u"second"_s));
        QCOMPARE(run(QStringList{"login", "remove", "mferreira"} + onServer), 0);
        QVERIFY(!logsIn(u"mferreira"_s, u"second"_s));
        QCOMPARE(run(QStringList{"login", "remove", "mferreira"} + onServer), 1);
        QVERIFY(run.err.contains(u"Não existe"_s));
    }

    // A stock server's administrator may create roles and databases, no superuser, and makes a working office.
    void officeMadeByARoleThatIsNoSuperuser()
    {
        const QString setup = u"orvsetup_%1"_s.arg(QCoreApplication::applicationPid());
        const QString catalog = u"escritorio_setup_%1"_s.arg(QCoreApplication::applicationPid());
        const QString shared = u"conta_setup_%1"_s.arg(QCoreApplication::applicationPid());
        m_roles << setup << shared;
        QVERIFY(m_server.session()->setLogin(setup, u"setup-pw"_s, data::PostgresAdmin::LoginExpected::New));
        m_server.session()->exec(u"ALTER ROLE "_s + data::PostgresAdmin::name(setup) + u" CREATEDB CREATEROLE"_s);
        QTemporaryDir dir;
        const QString passwordFile = dir.filePath(u"setup.pw"_s);
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

    // What exists is never taken over: the database, or a role (here the admin's own).
    void officeCreateRefusesWhatExists_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("message");
        QTest::newRow("database exists") << QStringList{"--catalog", m_server.catalog, "--user", "outra_conta"} << 1
                                         << u"já existe"_s;
        QTest::newRow("role exists") << QStringList{"--catalog", "nova_base", "--user", "ORVADMIN"} << 1
                                     << u"orvadmin já existe"_s;
        QTest::newRow("a file and a server")
            << QStringList{"/tmp/office.db", "--catalog", "nova_base"} << 2 << u"não os dois"_s;
    }

    void officeCreateRefusesWhatExists()
    {
        QFETCH(QStringList, arguments);
        AdminRun run;
        QTEST(
            run(QStringList{"office", "create", "--password-stdin"} + arguments + serverArguments(), {u"taken over"_s}),
            "code");
        QFETCH(QString, message);
        QVERIFY2(run.err.contains(message), qPrintable(run.err));
        QCOMPARE(rolesNamed(u"outra_conta"_s), 0);
        QVERIFY(m_server.session()->select("SELECT 1 FROM pg_database WHERE datname = 'nova_base'").isEmpty());
        // Both existing accounts still sign in with their own passwords.
        QVERIFY(psqlLogsIn(u"orvadmin"_s, m_server.adminPassword));
        QVERIFY(logsIn(m_shared, SharedPassword));
    }

    // Names and passwords are data: a NUL is refused before anything is sent, anything else logs in, through
    // start-up's login and through psql, which takes the role and password as the server holds them.
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
        row("plus and what reads as an escape", "plus", "a+b %2B c", "plus");
        row("backslashes", "c:\\dir\\", "\\' OR '1'='1", "c:\\dir\\");
        row("blanks around the name", "  rita  ", "pass word", "rita");
        row("outside Windows-1252", u"Łukasz 日本"_s, u"пароль 🔑"_s, u"łukasz 日本"_s);
        row("10,000-character password", "longpass", QString(5000, u'\'') + QString(5000, u'"'), "longpass");
        row("63-byte name", longest, "x", longest);
        row("64-byte name", QString(64, u'b'), "x", "");
        row("63 characters in 64 bytes", QString(62, u'c') + u"ç"_s, "x", "");
        row("braces and percent", "q{%}", "{%};", "q{%}");
        row("what ends a connection value in the password", "semi", "a;b' host=x {y} \\", "semi");
        row("blanks around the password", "blank", "  pw  ", "blank");
        row("NUL in the password", "nul", QStringLiteral("a") + QChar(0) + QStringLiteral("b"), "");
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
        QCOMPARE(code, role.isEmpty() ? 1 : 0);
        if (role.isEmpty()) {
            QCOMPARE(roleCount(), before);
            return;
        }
        QCOMPARE(rolesNamed(role), 1);
        // Start-up drops the blanks around a typed name before it logs in.
        QVERIFY(logsIn(name.trimmed(), password));
        QVERIFY(!logsIn(name.trimmed(), password + u"x"_s));
        QVERIFY(psqlLogsIn(role, password));
        QVERIFY(psqlLogsIn(u"orvadmin"_s, m_server.adminPassword));
        QVERIFY(m_server.session()->dropLogin(role));
        QCOMPARE(rolesNamed(role), 0);
    }

    // The office's dates are wall-clock times: a date copied to a server whose sessions keep another zone is
    // stored as the office wrote it, not moved into the server's zone.
    void aCopiedDateKeepsItsWallClock()
    {
        const std::optional<QByteArray> zone =
            qEnvironmentVariableIsSet("PGTZ") ? std::optional(qgetenv("PGTZ")) : std::nullopt;
        const auto restore = qScopeGuard([&] { zone ? qputenv("PGTZ", *zone) : qunsetenv("PGTZ"); });
        qputenv("PGTZ", "Pacific/Chatham");
        const auto office = m_server.session(m_server.catalog);
        office->insertRows(u"tbProcessos_Trabalhos"_s, {u"trabalho_id"_s, u"data_legal"_s},
                           {{99001, QDateTime(QDate(2009, 11, 16), QTime(9, 30))}});
        const auto stored = office->select(u"SELECT to_char(data_legal, 'YYYY-MM-DD HH24:MI'), "
                                           "current_setting('TimeZone') FROM tbProcessos_Trabalhos "
                                           "WHERE trabalho_id = 99001"_s);
        office->exec(u"DELETE FROM tbProcessos_Trabalhos WHERE trabalho_id = 99001"_s);
        QCOMPARE(stored, (QList<QVariantList>{{u"2009-11-16 09:30"_s, u"Pacific/Chatham"_s}}));
    }
};

QTEST_MAIN(TestPostgresOffice)
#include "test_postgresoffice.moc"
