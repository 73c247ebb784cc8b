#include "admin/commandline.h"
#include "admin/password.h"
#include "adminrun.h"
#include "data/connection.h"
#include "data/office/componentsettings.h"
#include "data/office/machinesettings.h"
#include "registry/modregistry.h"
#include "scramble/modencriptserial.h"
#include "session/modcode.h"
#include "testsupport/files.h"
#include "testsupport/officefixture.h"
#include "testsupport/recordedreports.h"
#include "testsupport/tempregistry.h"
#include "testsupport/thrown.h"

#include <QDir>
#include <QScopeGuard>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>

#include <optional>
#include <sys/stat.h>

using namespace Qt::StringLiterals;

using testsupport::TempDatabase;

namespace {

// Machine settings naming an engine and a server, what steps 1 and 2 say, and the address step 3 tries.
struct EngineCheck {
    QString engine{}, dataSource{};
    bool encrypt = true, trust = false;
    QString settingsLine{}, driverLine{}, reached{};
};

// A change to a good office, who logs in, and the step that fails (0: none) with what it says.
struct Step {
    QString change;
    int step;
    QString reason, user = u"ana"_s, password = u"it's 100%"_s;
};

} // namespace

// The machine settings orvadmin writes, and the check that walks start-up's login over them step by step.
class TestSettings : public QObject
{
    Q_OBJECT

    std::optional<testsupport::TempRegistry> m_registry;
    std::optional<testsupport::OfficeFixture> m_office;

    static QStringList writeArguments(const QString& dataSource)
    {
        const QStringList database{"--user", TempDatabase::user(), "--catalog", TempDatabase::catalog()};
        return QStringList{"settings", "--server", "ORVSQL"} + database +
               QStringList{"--data-source", dataSource, "--password-stdin"};
    }

private Q_SLOTS:
    void initTestCase() { scramble::modEncriptSerial::VolumeSerial = u"-1234567890"_s; }

    void init()
    {
        loginAgain();
        m_office.reset();
        m_registry.emplace();
        m_office.emplace();
        m_office->database().addLogin(u"ana"_s, u"it's 100%"_s);
        m_office->database().addLogin(u"cmourao"_s, u"sec-pw"_s);
        m_office->database().addLogin(u"ghost"_s, u"ghost-pw"_s);
        m_office->database().exec(u"INSERT INTO tbUsers (user_id, descrit, contacto_id, code) "
                                  "VALUES (30, 'cmourao', NULL, 'CM')"_s);
        data::Data::SqlServer().close();
    }

    void cleanupTestCase()
    {
        loginAgain();
        m_office.reset();
    }

    // What orvadmin writes is what start-up's login reads; the files it makes are private to their owner.
    void settingsAreWhatTheLoginReads()
    {
        testsupport::RecordedReports reports;
        AdminRun orvadmin;
        const QString previous = QDir::currentPath();
        QDir::setCurrent(QFileInfo(m_office->database().path()).absolutePath());
#ifndef Q_OS_WIN
        QTemporaryDir root;
        const QString folder = root.path() + u"/etc/orvcounter"_s;
        const QByteArray saved = qgetenv("ORV_REGISTRY_MACHINE_DIR");
        qputenv("ORV_REGISTRY_MACHINE_DIR", folder.toUtf8());
        const auto restored = qScopeGuard([&] { qputenv("ORV_REGISTRY_MACHINE_DIR", saved); });
        const mode_t mask = ::umask(0);
#endif
        const int code =
            orvadmin(writeArguments(QFileInfo(m_office->database().path()).fileName()), {TempDatabase::password()});
        QDir::setCurrent(previous);
#ifndef Q_OS_WIN
        ::umask(mask);
        QCOMPARE(testsupport::modeOf(root.path() + u"/etc"_s), 0755);
        QCOMPARE(testsupport::modeOf(folder), 0755);
        QCOMPARE(testsupport::modeOf(folder + u"/HKEY_LOCAL_MACHINE.reg"_s), 0644);
#endif
        QCOMPARE(code, 0);

        QVERIFY(orvadmin.out.contains(u"dtPassword                ********"_s));
        QVERIFY(!orvadmin.out.contains(TempDatabase::password()));
        // Stored scrambled: read back plain, the shared account would be refused.
        QVERIFY(!session::modCode::Login(u"ana"_s, u"wrong"_s));
        QVERIFY(session::modCode::Login(u"ana"_s, u"it's 100%"_s));
        QVERIFY(session::modCode::SetAdvogado(u"ana"_s));
        QCOMPARE(session::modCode::AdvogadoID, testsupport::OfficeFixture::Lawyer);
        QCOMPARE(session::modCode::dtDataSource, m_office->database().path());
        // Only the refused password's cause went to the error log.
        QCOMPARE(reports.procedures(), QStringList{u"Login"_s});
    }

    // Every value the login reads can be set; a bad one is refused before anything is written.
    void storesWhatTheLoginReads_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("password");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("result"); // dtEngine|dtEncrypt|dtTrustServerCertificate ("-": none), or the refusal
        const QStringList good = writeArguments(u"sql01"_s);
        const auto row = [](const char* name, const QStringList& arguments, const QString& password, int code,
                            const QString& result) { QTest::newRow(name) << arguments << password << code << result; };
        const QString pw = TempDatabase::password();
        row("defaults: SQL Server, encrypted, certificate checked", good, pw, 0, u"-|1|0"_s);
        row("PostgreSQL without encryption", good + QStringList{"--engine", "PostgreSQL", "--encrypt", "não"}, pw, 0,
            u"PostgreSQL|0|0"_s);
        row("SQL Server trusting its certificate",
            good + QStringList{"--engine", "SQLServer", "--trust-server-certificate", "SIM"}, pw, 0,
            u"SQLServer|1|1"_s);
        row("engine nobody knows", good + QStringList{"--engine", "Oracle"}, pw, 2, u"--engine aceita"_s);
        row("yes or no only", good + QStringList{"--encrypt", "talvez"}, pw, 2, u"--encrypt aceita"_s);
        row("password beyond the scrambling", good, u"Canção"_s, 1, u"não pode ser guardada"_s);
        row("password that would come back changed", good, u"Ñandu"_s, 1, u"não pode ser guardada"_s);
        row("catalog missing", good.mid(0, 5) + good.mid(7), u"x"_s, 2, u"falta --catalog"_s);
        row("server subkey with a backslash",
            {"settings", "--server", "A\\B", "--user", "u", "--catalog", "c", "--data-source", "s", "--password-stdin"},
            u"x"_s, 1, u"Nome de servidor inválido"_s);
        row("unknown option", {"settings", "--colour", "blue"}, QString(), 2, u"colour"_s);
    }

    void storesWhatTheLoginReads()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, password);
        QFETCH(QString, result);
        AdminRun orvadmin;
        QTEST(orvadmin(arguments, {password}), "code");
        const auto stored = [](const char* name) {
            return registry::modRegistry::ObterValorString(data::MachineSettings::serverKey(u"ORVSQL"_s),
                                                           QString::fromLatin1(name))
                .value_or(u"-"_s);
        };
        if (!data::MachineSettings::exist()) {
            QVERIFY2(orvadmin.err.contains(result), qPrintable(orvadmin.err));
            QVERIFY(!orvadmin.err.contains(u"Canção"_s));
            return;
        }
        QCOMPARE(QStringList({stored("dtEngine"), stored("dtEncrypt"), stored("dtTrustServerCertificate")}).join(u'|'),
                 result);
        // What the login reads of the link's protection: followsTheEngine.
        QVERIFY(orvadmin.out.contains(u"dtTrustServerCertificate  "_s));
    }

    void withoutSettingsSaysSo()
    {
        AdminRun orvadmin;
        QCOMPARE(orvadmin({"settings"}), 0);
        QVERIFY2(orvadmin.out.contains(u"ainda não tem definições"_s), qPrintable(orvadmin.out));
        QVERIFY(!orvadmin.out.contains(u"HKEY_"_s) && orvadmin.err.isEmpty());
        QCOMPARE(orvadmin({"check"}), 11);
        QVERIFY2(orvadmin.out.contains(u"ainda não tem definições"_s), qPrintable(orvadmin.out));
    }

    // A password from a file or standard input is the line as typed, without its line end.
    void aPasswordLineLosesOnlyItsLineEnd_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QString>("password");
        QTest::newRow("LF") << QByteArray("se;gr\"edo\n") << "se;gr\"edo";
        QTest::newRow("CR LF") << QByteArray("segredo\r\n") << "segredo";
        QTest::newRow("no line end") << QByteArray("segredo") << "segredo";
        QTest::newRow("blanks at either end") << QByteArray(" segredo \t\n") << " segredo \t";
        QTest::newRow("beyond ASCII") << QByteArray("pa\xC3\xA7o\r\n") << "paço";
    }
    void aPasswordLineLosesOnlyItsLineEnd()
    {
        QFETCH(QByteArray, line);
        QFETCH(QString, password);
        QTemporaryDir folder;
        const QString file = folder.filePath(u"admin.pw"_s);
        QVERIFY(testsupport::writeFile(file, line));
        QCommandLineParser parser;
        parser.addOptions(admin::serverOptions(QString()));
        QVERIFY(parser.parse({u"orvadmin"_s, u"--admin-password-file"_s, file}));
        QCOMPARE(admin::withAdmin({}, parser).adminPassword, password);
        // Standard input is read a line at a time, without its line feed.
        QCOMPARE(admin::withoutLineEnd(line.split('\n').first().toStdString()), password);
    }

    // Each cause of a refused login is named by the step that meets it, with the exit code 10 + step.
    void namesTheFailingStep_data()
    {
        QTest::addColumn<Step>("row");
        const auto row = [](const char* name, const Step& step) { QTest::newRow(name) << step; };
        row("every step passes", {"", 0, ""});
        row("settings missing", {"no server subkey", 1, "dtSecurityInfo"});
        row("database file missing", {"no file", 2, "não existe"});
        row("no ODBC driver", {"no driver", 2, "controlador ODBC"});
        row("closed local port", {"closed port", 3, "não responde"});
        row("server time-out", {"time-out", 3, "tempo esgotado"});
        row("wrong password", {"", 4, "recusou o login de \"ana\"", "ana", "wrong"});
        row("catalog refused", {"catalog", 4, "catálogo \"OutroCatalogo\""});
        row("shared account refused", {"shared password", 5, "conta \"sa_test\""});
        row("missing table and view", {"drop", 6, "tbGroups, vwProcessos_Trabalhos_Tarefas"});
        row("user without a contact", {"", 7, "não tem contacto_id", "cmourao", "sec-pw"});
        row("login without a user row", {"", 7, "não está em tbUsers", "ghost", "ghost-pw"});
    }

    void namesTheFailingStep()
    {
        QFETCH(Step, row);
        const auto [change, step, reason, user, password] = row;

        AdminRun orvadmin;
        orvadmin.probes.driver = [](data::Connection::Engine) { return u"FreeTDS"_s; };
        data::MachineSettings values = settingsFor(m_office->database());
        if (change == "no file") {
            values.dataSource = m_office->database().path() + u".gone.db"_s;
        } else if (change == "no driver") {
            values.dataSource = u"127.0.0.1,1433"_s;
            orvadmin.probes.driver = [](data::Connection::Engine) { return QString(); };
        } else if (change == "closed port") {
            QTcpServer taken; // its port is given back at once, with nothing listening
            taken.listen(QHostAddress::LocalHost);
            values.dataSource = u"127.0.0.1,%1"_s.arg(taken.serverPort());
        } else if (change == "time-out") {
            values.dataSource = u"tcp:192.0.2.1,1433"_s;
            orvadmin.probes.reach = [](const QString&, quint16, int) {
                return admin::Reach{admin::Reach::Result::TimedOut, QString()};
            };
        } else if (change == "catalog") {
            values.catalog = u"OutroCatalogo"_s;
        } else if (change == "shared password") {
            values.password = u"not-the-secret"_s;
        } else if (change == "drop") {
            m_office->database().exec(u"DROP VIEW vwProcessos_Trabalhos_Tarefas"_s);
            m_office->database().exec(u"DROP TABLE tbGroups"_s);
        }
        values.write();
        if (change == "no server subkey") {
            registry::modRegistry::DefinirValorString(data::MachineSettings::sharedKey(), u"DataServer"_s,
                                                      u"NOWHERE"_s);
        }

        const int code = orvadmin({"check", "--user", user, "--password-stdin"}, {password});

        QCOMPARE(code, step == 0 ? 0 : 10 + step);
        const QStringList lines = orvadmin.out.split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), step == 0 ? 8 : 7);
        for (int n = 1; n <= 7; ++n) {
            const QString& line = lines.at(n - 1);
            QVERIFY2(line.startsWith(QString::number(n) + u". "_s), qPrintable(line));
            QCOMPARE(line.contains(u"FALHOU"_s), n == step);
            if (step != 0 && n > step) {
                QVERIFY2(line.contains(u"não verificado"_s), qPrintable(line));
            }
        }
        if (step != 0) {
            QVERIFY2(lines.at(step - 1).contains(reason), qPrintable(orvadmin.out));
            QVERIFY2(orvadmin.err.contains(u"o passo %1"_s.arg(step)), qPrintable(orvadmin.err));
        }
        const QString said = orvadmin.out + orvadmin.err;
        QVERIFY(!said.contains(password) && !said.contains(values.password));
        QVERIFY(orvadmin.prompts.isEmpty());
    }

    // Guessing passwords through the check is as slow as through the window, on the same count.
    void aRefusedCheckWaitsLikeTheLogin()
    {
        settingsFor(m_office->database()).write();
        core::LoginThrottle::succeeded();
        AdminRun orvadmin;
        for (const char* password : {"wrong-1", "wrong-2", "wrong-3"}) {
            QCOMPARE(orvadmin({"check", "--user", "ana", "--password-stdin"}, {QLatin1String(password)}), 14);
        }
        QCOMPARE(orvadmin.waits, (QList<int>{1, 2, 3}));
        QCOMPARE(core::LoginThrottle::failuresInARow(), 3);
        QCOMPARE(orvadmin({"check", "--user", "ana", "--password-stdin"}, {"it's 100%"}), 0);
        QCOMPARE(orvadmin({"check", "--user", "ana", "--password-stdin"}, {"wrong-4"}), 14);
        QCOMPARE(orvadmin.waits, (QList<int>{1, 2, 3, 1}));
        core::LoginThrottle::succeeded();
        // Without a user only the shared account is checked.
        QCOMPARE(orvadmin({"check"}), 0);
        QVERIFY(orvadmin.out.contains(u"4. Login do utilizador"_s));
        QCOMPARE(orvadmin.out.count(u"não verificado: sem --user"_s), 2);
    }

    // Every step follows the engine and the link's protection the settings name, as the counter's login does.
    void followsTheEngine_data()
    {
        QTest::addColumn<EngineCheck>("row");
        const auto row = [](const char* name, const EngineCheck& check) { QTest::newRow(name) << check; };
        const QString whole = u"SQL Server, servidor sql01, catálogo Escritorio, ligação cifrada com o certificado "
                              "do servidor verificado"_s;
        row("SQL Server, certificate checked", {{}, u"sql01"_s, true, false, whole, u"FreeTDS"_s, u"sql01:1433"_s});
        row("SQL Server, certificate trusted",
            {u"SQLServer"_s, u"sql01,1500"_s, true, true, u"ligação cifrada sem verificar o certificado"_s,
             u"FreeTDS"_s, u"sql01:1500"_s});
        row("SQL Server, no encryption",
            {{}, u"sql01"_s, false, false, u"ligação sem cifra"_s, u"FreeTDS"_s, u"sql01:1433"_s});
        row("PostgreSQL, default port", {u"PostgreSQL"_s, u"pg01"_s, true, false, u"PostgreSQL, servidor pg01"_s,
                                         u"PostgreSQL Unicode"_s, u"pg01:5432"_s});
        row("PostgreSQL, host:port", {u"postgresql"_s, u"pg01:6543"_s, false, false, u"ligação sem cifra"_s,
                                      u"PostgreSQL Unicode"_s, u"pg01:6543"_s});
        row("PostgreSQL, port no number",
            {u"PostgreSQL"_s, u"pg01,x"_s, true, false, u"PostgreSQL"_s, u"PostgreSQL Unicode"_s, {}});
        row("engine nobody knows", {u"Oracle"_s, u"ora01"_s, true, false, u"não nomeia um motor conhecido"_s});
        // No address is tried for a named instance without a port, or a port that is no number.
        const auto address = [](const char* name, const char* dataSource, const char* reached) {
            QTest::newRow(name) << EngineCheck{
                {},           QString::fromUtf8(dataSource), true, false, u"SQL Server"_s,
                u"FreeTDS"_s, QString::fromUtf8(reached)};
        };
        address("tcp prefix", "tcp:10.0.0.5, 1501", "10.0.0.5:1501");
        address("named instance", "sql01\\OFFICE", "");
        address("instance and port", "sql01\\OFFICE,1600", "sql01:1600");
        address("(local)", "(local)", "localhost:1433");
        address("dot", ".", "localhost:1433");
        address("port is no number", "sql01,abc", "");
    }

    void followsTheEngine()
    {
        QFETCH(EngineCheck, row);
        data::MachineSettings values = settingsFor(m_office->database());
        values.catalog = u"Escritorio"_s;
        values.dataSource = row.dataSource;
        values.engine = row.engine;
        values.security = {row.encrypt, row.trust};
        values.write();
        AdminRun orvadmin;
        orvadmin.probes.driver = [](data::Connection::Engine asked) {
            return asked == data::Connection::Engine::PostgreSQL ? u"PostgreSQL Unicode"_s : u"FreeTDS"_s;
        };
        QString tried;
        orvadmin.probes.reach = [&tried](const QString& host, quint16 port, int) {
            tried = host + QLatin1Char(':') + QString::number(port);
            return admin::Reach{admin::Reach::Result::Refused, u"recusado"_s};
        };
        orvadmin({"check"});
        const QStringList lines = orvadmin.out.split(u'\n', Qt::SkipEmptyParts);
        QVERIFY2(lines.size() >= 3 && lines.at(0).contains(row.settingsLine), qPrintable(orvadmin.out));
        QVERIFY2(row.driverLine.isEmpty() || lines.at(1).contains(u"ok: "_s + row.driverLine),
                 qPrintable(orvadmin.out));
        QCOMPARE(tried, row.reached);
        QVERIFY(!orvadmin.out.contains(values.password));
    }

    // Each --component writes one value in one form; a bad kind or identifier writes nothing.
    void componentsAreOneValueEach_data()
    {
        QTest::addColumn<QStringList>("components");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("task"); // TaskEditor's value afterwards; "-" when there is none
        QTest::addColumn<QString>("work");
        const QString ids = u"{0A1B2C3D-4E5F-6071-8293-A4B5C6D7E8F9};{11111111-2222-3333-4444-555555555555}"_s;
        const QString other = u"{99999999-2222-3333-4444-555555555555};{11111111-2222-3333-4444-555555555555}"_s;
        const auto row = [&](const char* name, const QStringList& components, int code, const QString& task,
                             const QString& work) { QTest::newRow(name) << components << code << task << work; };
        row("as stored", {"TaskEditor=" + ids}, 0, ids, "-");
        row("lower case, no braces, a comma and blanks",
            {"TaskEditor= 0a1b2c3d-4e5f-6071-8293-a4b5c6d7e8f9 , 11111111-2222-3333-4444-555555555555"}, 0, ids, "-");
        row("two kinds, the later of one kind wins", {"TaskEditor=" + other, "WorkEditor=" + ids, "TaskEditor=" + ids},
            0, ids, ids);
        row("emptied", {"TaskEditor=" + ids, "TaskEditor="}, 0, "-", "-");
        row("a kind in another letter case", {"WorkEditor=" + ids, "taskeditor=" + ids}, 2, "-", "-");
        row("no equals sign", {"WorkEditor=" + ids, "TaskEditor"}, 2, "-", "-");
        row("one identifier", {"WorkEditor=" + ids, "TaskEditor={0A1B2C3D-4E5F-6071-8293-A4B5C6D7E8F9}"}, 2, "-", "-");
        row("a brace on one side", {"TaskEditor={0A1B2C3D-4E5F-6071-8293-A4B5C6D7E8F9;" + ids.mid(39)}, 2, "-", "-");
        row("a digit short", {"TaskEditor={0A1B2C3D-4E5F-6071-8293-A4B5C6D7E8F};" + ids.mid(39)}, 2, "-", "-");
        row("three identifiers", {"TaskEditor=" + ids + ";" + ids.left(38)}, 2, "-", "-");
    }
    void componentsAreOneValueEach()
    {
        QFETCH(QStringList, components);
        QStringList arguments{"settings"};
        for (const QString& component : components) {
            arguments << "--component" << component;
        }
        AdminRun orvadmin;
        QTEST(orvadmin(arguments), "code");
        const auto stored = [](const QString& kind) {
            const auto ids = data::ComponentIdentifiers::read(kind);
            return ids ? ids->text() : u"-"_s;
        };
        QTEST(stored(u"TaskEditor"_s), "task");
        QTEST(stored(u"WorkEditor"_s), "work");
        QCOMPARE(stored(u"CaseEditor"_s), u"-"_s);
    }

    // A value someone typed into the registry by hand that is not two identifiers is named when the counter reads it.
    void aMalformedComponentValueIsNamed()
    {
        data::settingsio::createKey(data::MachineSettings::sharedKey());
        data::settingsio::setValue(data::MachineSettings::sharedKey(), "CaseEditor", "{0A1B2C3D}\";{x}");
        const QString said = testsupport::thrown([] { data::ComponentIdentifiers::read(u"CaseEditor"_s); }).description;
        QVERIFY2(said.contains(u"CaseEditor"_s), qPrintable(said));
        // A name that is a kind only in another letter case writes nothing (the registry's names ignore letter case).
        QVERIFY_THROWS_EXCEPTION(core::Error, data::ComponentIdentifiers::write(u"caseeditor"_s, std::nullopt));
        QCOMPARE(registry::modRegistry::ValorString(data::MachineSettings::sharedKey(), u"CaseEditor"_s),
                 std::optional<QString>(u"{0A1B2C3D}\";{x}"_s));
    }
};

QTEST_MAIN(TestSettings)
#include "test_settings.moc"
