#include "admin/commandline.h"
#include "admin/logintext.h"
#include "admin/password.h"
#include "adminrun.h"
#include "data/connection.h"
#include "data/connectiontext.h"
#include "data/office/machinesettings.h"
#include "registry/modregistry.h"
#include "scramble/modencriptserial.h"
#include "session/modcode.h"
#include "testsupport/login.h"
#include "testsupport/officefixture.h"
#include "testsupport/recordedreports.h"
#include "testsupport/tempregistry.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <optional>
#include <sys/stat.h>

using testsupport::TempDatabase;

class TestSettings : public QObject
{
    Q_OBJECT

    std::optional<testsupport::TempRegistry> m_registry;
    std::optional<testsupport::OfficeFixture> m_office;

    static QStringList writeArguments(const QString& dataSource)
    {
        return {"settings",
                "--server",
                "ORVSQL",
                "--user",
                TempDatabase::user(),
                "--catalog",
                TempDatabase::catalog(),
                "--data-source",
                dataSource,
                "--password-stdin"};
    }

    static void loginAgain()
    {
        testsupport::signOut();
        data::Data::SqlServer().close();
    }

private Q_SLOTS:
    void initTestCase() { scramble::modEncriptSerial::VolumeSerial = QStringLiteral("-1234567890"); }

    void init()
    {
        loginAgain();
        m_office.reset();
        m_registry.emplace();
        m_office.emplace();
        data::Data::SqlServer().close();
    }

    void cleanupTestCase()
    {
        loginAgain();
        m_office.reset();
    }

    // What orvadmin writes is what start-up's login reads: the login opens both connections and finds
    // the lawyer. The password is stored scrambled and never shown.
    void settingsAreWhatTheLoginReads()
    {
        testsupport::RecordedReports reports;
        m_office->database().addLogin(QStringLiteral("ana"), QStringLiteral("it's 100%"));
        AdminRun orvadmin;
        orvadmin.input = QStringList{TempDatabase::password()};
        QCOMPARE(orvadmin(writeArguments(m_office->database().path())), 0);

        QVERIFY(orvadmin.out.contains(QStringLiteral("dtPassword                ********")));
        QVERIFY(!orvadmin.out.contains(TempDatabase::password()));
        const auto stored = registry::modRegistry::ObterValorString(data::MachineSettings::serverKey("ORVSQL"),
                                                                    QStringLiteral("dtPassword"));
        QVERIFY(stored && *stored != TempDatabase::password());

        QVERIFY(!session::modCode::Login(QStringLiteral("ana"), QStringLiteral("wrong")));
        QVERIFY(session::modCode::Login(QStringLiteral("ana"), QStringLiteral("it's 100%")));
        QVERIFY(session::modCode::SetAdvogado(QStringLiteral("ana")));
        QCOMPARE(session::modCode::AdvogadoID, testsupport::OfficeFixture::Lawyer);
        QCOMPARE(session::modCode::dtDataSource, m_office->database().path());
        // Only the refused password's cause went to the error log.
        QCOMPARE(reports.procedures(), QStringList{QStringLiteral("Login")});

        // Shown again without options, still masked.
        QCOMPARE(orvadmin({"settings"}), 0);
        QVERIFY(orvadmin.out.contains(QStringLiteral("********")) && !orvadmin.out.contains(TempDatabase::password()));
    }

    // Every value the login reads can be set, and what is stored is what the login reads back.
    void everyValueTheLoginReadsCanBeSet_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("engine"); // dtEngine as stored; "-" when none is stored
        QTest::addColumn<QString>("encrypt");
        QTest::addColumn<QString>("trust");
        const auto row = [](const char* name, const QStringList& options, int code, const QString& engine,
                            const QString& encrypt, const QString& trust) {
            QTest::newRow(name) << options << code << engine << encrypt << trust;
        };
        row("defaults: SQL Server, encrypted, certificate checked", QStringList{}, 0, "-", "1", "0");
        row("PostgreSQL without encryption", QStringList{"--engine", "PostgreSQL", "--encrypt", "não"}, 0, "PostgreSQL",
            "0", "0");
        row("SQL Server trusting its certificate",
            QStringList{"--engine", "SQLServer", "--trust-server-certificate", "SIM"}, 0, "SQLServer", "1", "1");
        row("engine nobody knows", QStringList{"--engine", "Oracle"}, 2, "", "", "");
        row("yes or no only", QStringList{"--encrypt", "talvez"}, 2, "", "", "");
    }

    void everyValueTheLoginReadsCanBeSet()
    {
        QFETCH(QStringList, options);
        QFETCH(int, code);
        AdminRun orvadmin;
        orvadmin.input = QStringList{TempDatabase::password()};
        QCOMPARE(orvadmin(writeArguments(QStringLiteral("sql01")) + options), code);
        const QString key = data::MachineSettings::serverKey(QStringLiteral("ORVSQL"));
        const auto stored = [&](const char* name) {
            return registry::modRegistry::ObterValorString(key, QString::fromLatin1(name))
                .value_or(QStringLiteral("-"));
        };
        if (code != 0) {
            QVERIFY(!data::MachineSettings::exist());
            return;
        }
        QTEST(stored("dtEngine"), "engine");
        QTEST(stored("dtEncrypt"), "encrypt");
        QTEST(stored("dtTrustServerCertificate"), "trust");
        const data::MachineSettings read = data::MachineSettings::read();
        QCOMPARE(read.security.encrypt, stored("dtEncrypt") == QLatin1String("1"));
        QCOMPARE(read.security.trustServerCertificate, stored("dtTrustServerCertificate") == QLatin1String("1"));
        QVERIFY(orvadmin.out.contains(QStringLiteral("dtTrustServerCertificate  ")));
    }

    void withoutSettingsSaysSo()
    {
        AdminRun orvadmin;
        QCOMPARE(orvadmin({"settings"}), 0);
        QVERIFY2(orvadmin.out.contains(QStringLiteral("ainda não tem definições")), qPrintable(orvadmin.out));
        QVERIFY(!orvadmin.out.contains(QStringLiteral("HKEY_")) && orvadmin.err.isEmpty());
        QCOMPARE(orvadmin({"check"}), 11);
        QVERIFY2(orvadmin.out.contains(QStringLiteral("ainda não tem definições")), qPrintable(orvadmin.out));
    }

    // Under umask 000 the folders the settings make are 0755 and the file 0644: nobody else can put a file
    // there that every counter of the machine reads, nor change the one that is.
    void theSettingsFolderIsWritableByItsOwnerOnly()
    {
#ifdef Q_OS_WIN
        QSKIP("On Windows the machine settings are in the registry, whose access list the administrator owns, not in a "
              "folder");
#endif
        QTemporaryDir root;
        const QString folder = root.path() + QStringLiteral("/etc/orvcounter");
        const QByteArray saved = qgetenv("ORV_REGISTRY_MACHINE_DIR");
        qputenv("ORV_REGISTRY_MACHINE_DIR", folder.toUtf8());
        const mode_t before = ::umask(0);
        AdminRun orvadmin;
        orvadmin.input = QStringList{TempDatabase::password()};
        const int code = orvadmin(writeArguments(m_office->database().path()));
        ::umask(before);
        qputenv("ORV_REGISTRY_MACHINE_DIR", saved);
        QCOMPARE(code, 0);
        const auto mode = [](const QString& path) {
            struct stat info {
            };
            return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? int(info.st_mode & 07777) : -1;
        };
        QCOMPARE(mode(root.path() + QStringLiteral("/etc")), 0755);
        QCOMPARE(mode(folder), 0755);
        QCOMPARE(mode(folder + QStringLiteral("/HKEY_LOCAL_MACHINE.reg")), 0644);
    }

    void relativeDatabaseFileIsStoredAbsolute()
    {
        const QString previous = QDir::currentPath();
        QDir::setCurrent(QFileInfo(m_office->database().path()).absolutePath());
        AdminRun orvadmin;
        orvadmin.input = QStringList{TempDatabase::password()};
        const int code = orvadmin(writeArguments(QFileInfo(m_office->database().path()).fileName()));
        QDir::setCurrent(previous);
        QCOMPARE(code, 0);
        QCOMPARE(data::MachineSettings::read().dataSource, m_office->database().path());
    }

    // A password that would not come back from its scrambled form is refused before anything is written.
    void refusesWhatCannotBeStored_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("password");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("message");
        const QStringList good = writeArguments(QStringLiteral("/srv/office.db"));
        QTest::newRow("password beyond the scrambling")
            << good << QStringLiteral("Canção") << 1 << QStringLiteral("não pode ser guardada");
        QTest::newRow("password that would come back changed")
            << good << QStringLiteral("Ñandu") << 1 << QStringLiteral("não pode ser guardada");
        QTest::newRow("catalog missing") << QStringList(good.mid(0, 5) + good.mid(7)) << QStringLiteral("x") << 2
                                         << QStringLiteral("falta --catalog");
        QTest::newRow("server subkey with a backslash")
            << QStringList{"settings",  "--server", "A\\B",          "--user", "u",
                           "--catalog", "c",        "--data-source", "s",      "--password-stdin"}
            << QStringLiteral("x") << 1 << QStringLiteral("Nome de servidor inválido");
        QTest::newRow("unknown option") << QStringList{"settings", "--colour", "blue"} << QString() << 2
                                        << QStringLiteral("colour");
    }

    void refusesWhatCannotBeStored()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, password);
        AdminRun orvadmin;
        orvadmin.input = QStringList{password};
        QTEST(orvadmin(arguments), "code");
        QFETCH(QString, message);
        QVERIFY2(orvadmin.err.contains(message), qPrintable(orvadmin.err));
        QVERIFY(!registry::modRegistry::ObterValorString(data::MachineSettings::sharedKey(), "DataServer"));
        QVERIFY(!orvadmin.err.contains(QStringLiteral("Canção")));
    }

    // The text the login's connections open with reads back as the values it was built from.
    void connectionTextKeepsEveryValue_data()
    {
        QTest::addColumn<QString>("value");
        QTest::newRow("plain") << QStringLiteral("secret");
        QTest::newRow("apostrophes") << QStringLiteral("O'Brien's");
        QTest::newRow("semicolon and equals") << QStringLiteral("a;b=c;");
        QTest::newRow("double quotes") << QStringLiteral("\"quoted\" \"\"twice\"\"");
        QTest::newRow("leading apostrophe") << QStringLiteral("'start");
        QTest::newRow("blanks at both ends") << QStringLiteral("  padded  ");
        QTest::newRow("percent") << QStringLiteral("100%;%1");
        QTest::newRow("outside Windows-1252") << QStringLiteral("Ωμέγα 漢字 ✓");
        QTest::newRow("10,000 characters") << QString(10000, u';');
    }

    void connectionTextKeepsEveryValue()
    {
        QFETCH(QString, value);
        const data::MachineSettings settings{QStringLiteral("S"), value, value, value, value, value, QString(), {}};
        const data::ConnectionText parsed =
            data::ConnectionText::parse(admin::loginConnectionText(settings, value, value));
        QCOMPARE(parsed.provider, QStringLiteral("SQLOLEDB.1"));
        QCOMPARE(parsed.persistSecurityInfo, value);
        QCOMPARE(parsed.userId, value);
        QCOMPARE(parsed.password, value);
        QCOMPARE(parsed.initialCatalog, value);
        QCOMPARE(parsed.dataSource, value);
        QCOMPARE(parsed.connectTimeout, 15);
        QVERIFY(parsed.others.isEmpty());
    }
    // A password given in a file, or on standard input, is the line as typed: its line end (LF, CR LF or
    // none) goes, blanks and everything else stay.
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
        QFile file(folder.filePath(QStringLiteral("admin.pw")));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(line) == line.size());
        file.close();
        QCommandLineParser parser;
        parser.addOptions(admin::serverOptions(QString()));
        QVERIFY(parser.parse({QStringLiteral("orvadmin"), QStringLiteral("--admin-password-file"), file.fileName()}));
        QCOMPARE(admin::withAdmin({}, parser).adminPassword, password);
        // Standard input is read a line at a time, without its line feed.
        QCOMPARE(
            admin::withoutLineEnd(line.left(line.indexOf('\n') < 0 ? line.size() : line.indexOf('\n')).toStdString()),
            password);
    }
};

QTEST_MAIN(TestSettings)
#include "test_settings.moc"
