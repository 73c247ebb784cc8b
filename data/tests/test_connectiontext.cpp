// Reading connection texts and turning them into ODBC connection strings and PostgreSQL logins, without a server.
#include "core/errorvalue.h"
#include "data/connectiontext.h"
#include "data/engines/odbcconnection.h"
#include "data/engines/postgresconnection.h"
#include "testsupport/thrown.h"

#include <QScopeGuard>
#include <QSqlDatabase>
#include <QSqlError>
#include <QTest>

using data::ConnectionText;
using data::OdbcConnection;
using Drivers = QList<QPair<QString, QString>>;

class TestConnectionText : public QObject
{
    Q_OBJECT

    // The values a login gives a connection.
    static ConnectionText login(const QString& source, const QString& user = QString(),
                                const QString& password = QString(), const QString& catalog = QStringLiteral("Vorlent"))
    {
        ConnectionText text;
        text.dataSource = source;
        text.userId = user;
        text.password = password;
        text.initialCatalog = catalog;
        return text;
    }

private Q_SLOTS:
    // A text that could carry a key smuggled in a value is refused as a whole, never read half-way.
    void parse_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected"); // user|password|catalog|source|security info|time-out; null: refused

        const auto row = [](const char* name, const char* text, const char* expected) {
            QTest::newRow(name) << QString::fromUtf8(text) << (expected ? QString::fromUtf8(expected) : QString());
        };
        row("as the login builds it",
            "Provider=SQLOLEDB.1;Persist Security Info=False;User ID=jsilva;Password=s3gr3do;Initial Catalog=Vorlent;"
            "Data Source=SRVLEX\\SQL2005;Connect Timeout=15",
            "jsilva|s3gr3do|Vorlent|SRVLEX\\SQL2005|False|15");
        row("keys in any case, blanks around",
            " USER id = ana ;PASSWORD=x; initial CATALOG=Db;DATA SOURCE = srv ;connect timeout=3", "ana|x|Db|srv||3");
        row("password holding = and quotes", "User ID=a;Password=p=q'r;Data Source=s", "a|p=q'r||s||15");
        row("quoted value holding ;", "User ID=a;Password=\"x;y\"\"z\";Data Source=s", "a|x;y\"z||s||15");
        row("synonyms", "UID=u;PWD=p;Database=d;Server=h,1433;Timeout=7", "u|p|d|h,1433||7");
        row("time-out 0 gives 15", "Data Source=s;Connect Timeout=0", "|||s||15");
        row("empty pieces skipped", ";;User ID=b;; Data Source=s;", "b|||s||15");
        row("single quotes, outer blanks kept", "User ID=' a ';Password= 'it''s' ;Data Source=s", " a |it's||s||15");
        row("synonym of an earlier key", "User ID=a;UID=b;Data Source=s", nullptr);
        row("unterminated double quote", "User ID=a;Password=\"x;Data Source=s", nullptr);
        row("unterminated single quote", "User ID=a;Password=x;Data Source=s;X='", nullptr);
        row("text after a closing quote", "User ID=\"a\"b;Data Source=s", nullptr);
        row("piece without =", "junk;User ID=a", nullptr);
        row("value without key", "=a;User ID=b", nullptr);
    }

    void parse()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        if (expected.isNull()) {
            const core::ErrorValue error = testsupport::thrown([&] { ConnectionText::parse(text); });
            QVERIFY(error.number != 0 && !error.description.contains(QLatin1String("Data Source")));
            return;
        }
        const ConnectionText parsed = ConnectionText::parse(text);
        const QStringList values{parsed.userId, parsed.password, parsed.initialCatalog, parsed.dataSource,
                                 parsed.persistSecurityInfo};
        QCOMPARE(values.join(QLatin1Char('|')) + QLatin1Char('|') + QString::number(parsed.connectTimeout), expected);
    }

    void plainLoginTextIsTheUsualOne()
    {
        QCOMPARE(ConnectionText::forLogin("False", "jsilva", "s3gr3do", "Vorlent", "SRVLEX\\SQL2005"),
                 "Provider=SQLOLEDB.1;Persist Security Info=False;User ID=jsilva;Password=s3gr3do;"
                 "Initial Catalog=Vorlent;Data Source=SRVLEX\\SQL2005;Connect Timeout=15");
        QCOMPARE(ConnectionText::forLogin("False", "j silva", "a\"b", "Vorlent", "s"),
                 "Provider=SQLOLEDB.1;Persist Security Info=False;User ID=j silva;Password=\"a\"\"b\";"
                 "Initial Catalog=Vorlent;Data Source=s;Connect Timeout=15");
        // Whatever else a value holds comes back as written (fuzz/corpus/connectiontext); a NUL too.
        const QString nul = QStringLiteral("nul") + QChar(0) + QStringLiteral("byte");
        const ConnectionText read = ConnectionText::parse(ConnectionText::forLogin(nul, nul, nul, nul, nul));
        QCOMPARE(QStringList({read.userId, read.password, read.dataSource}), QStringList(3, nul));
    }

    // A data source names either a database file (the embedded engine) or a server (ODBC).
    void namesDatabaseFile_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<bool>("file");

        for (const char* server : {"SRVLEX", ".\\SQLEXPRESS", "10.0.0.5,1433", "(local)", ""}) {
            QTest::addRow("server %s", server) << QString::fromUtf8(server) << false;
        }
        for (const char* file : {"/var/lib/orv/office.db", "data/office", "C:\\Orv\\escritorio",
                                 "\\\\fs01\\orv\\escritorio", "escritorio.sqlite", "ESCRITORIO.DB"}) {
            QTest::addRow("file %s", file) << QString::fromUtf8(file) << true;
        }
    }

    void namesDatabaseFile()
    {
        QFETCH(QString, source);
        QTEST(login(source).namesDatabaseFile(), "file");
    }

    void odbcString_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("driver");
        QTest::addColumn<QString>("expected");

        const auto row = [](const char* name, const char* source, const char* password, const QString& driver,
                            const QString& expected) {
            QTest::newRow(name) << QString::fromUtf8(source) << QString::fromUtf8(password) << driver << expected;
        };
        const QString ms = OdbcConnection::msDriver18(), freeTds = QStringLiteral("FreeTDS");
        // Server, then password, as each driver's string carries them.
        const QString msText = "Driver={ODBC Driver 18 for SQL Server};Server={%1};Encrypt=yes;"
                               "TrustServerCertificate=no;Database={Vorlent};UID={u;1};PWD={%2};";
        const QString tdsText = "Driver=%1;Server={%2};TDS_Version=7.4;ClientCharset=UTF-8;Encryption=require;"
                                "Database={Vorlent};UID={u;1};PWD={%3};";
        row("ms instance", "SRVLEX\\SQL2005", "s3gr3do", ms, msText.arg("SRVLEX\\SQL2005", "s3gr3do"));
        row("ms tcp port", "tcp:10.0.0.5, 1433", "s3gr3do", ms, msText.arg("10.0.0.5,1433", "s3gr3do"));
        row("freetds port, ; in braces", "10.0.0.5,1433", "a;b", freeTds,
            "Driver={FreeTDS};Server={10.0.0.5};Port={1433};TDS_Version=7.4;ClientCharset=UTF-8;"
            "Encryption=require;Database={Vorlent};UID={u;1};PWD={a;b};");
        row("freetds by path, local instance, } doubled", ".\\SQLEXPRESS", "x}y", OdbcConnection::freeTdsLibrary(),
            tdsText.arg("/usr/lib/x86_64-linux-gnu/odbc/libtdsodbc.so", "localhost\\SQLEXPRESS", "x}}y"));
        row("freetds (local), outer blanks kept", "(local)", " p ", freeTds,
            tdsText.arg("{FreeTDS}", "localhost", " p "));
        row("a typed keyword stays inside its braces", "SRV", "x};Server=evil;PWD={y", ms,
            msText.arg("SRV", "x}};Server=evil;PWD={y"));
    }

    void odbcString()
    {
        QFETCH(QString, source);
        QFETCH(QString, password);
        QFETCH(QString, driver);
        QTEST(OdbcConnection::connectionString(login(source, QStringLiteral("u;1"), password), driver), "expected");
    }

    // Encryption may be turned off or the certificate trusted; a NUL in a value is refused.
    void odbcTransportAndNul()
    {
        ConnectionText text = login(QStringLiteral("SRV"), QStringLiteral("u"), QStringLiteral("p"), QString());
        const QString ms = OdbcConnection::msDriver18();
        QVERIFY(OdbcConnection::connectionString(text, ms, {false, true})
                    .contains(";Encrypt=no;TrustServerCertificate=yes;"));
        QVERIFY(OdbcConnection::connectionString(text, "FreeTDS", {false, false}).contains(";Encryption=off;"));
        text.password = QStringLiteral("p") + QChar(0) + QStringLiteral(";UID=sa");
        QVERIFY_THROWS_EXCEPTION(core::Error, OdbcConnection::connectionString(text, ms));
    }

    // A PostgreSQL login's values as typed, the role lower-cased; a NUL or a port that is no number is refused.
    void postgresSettings_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("password");
        QTest::addColumn<bool>("encrypt");
        QTest::addColumn<bool>("trust");
        QTest::addColumn<QString>("expected"); // host|port|database|user|password|options; null: refused
        const auto row = [](const char* name, const QString& source, const QString& password, bool encrypt, bool trust,
                            const QString& expected) {
            QTest::newRow(name) << source << password << encrypt << trust << expected;
        };
        const QString options = QStringLiteral("connect_timeout=15;sslmode=%1;options='-c lock_timeout=2000'");
        const QString checked = options.arg("verify-full");
        row("host and port, certificate checked", " db.office.pt , 6432 ", "pw", true, false,
            "db.office.pt|6432|Vorlent|ana maria|pw|" + checked);
        row("host:port, certificate trusted", "10.0.0.5:5433", "pw", true, true,
            "10.0.0.5|5433|Vorlent|ana maria|pw|" + options.arg("require"));
        row("this machine, no encryption", "(local)", "pw", false, false,
            "localhost|5432|Vorlent|ana maria|pw|" + options.arg("prefer"));
        row("nothing is this machine", "", "pw", true, false, "localhost|5432|Vorlent|ana maria|pw|" + checked);
        row("what libpq reads as syntax stays in the password", "srv", "a' host=evil sslmode=disable \\ ;{x} ", true,
            false, "srv|5432|Vorlent|ana maria|a' host=evil sslmode=disable \\ ;{x} |" + checked);
        row("port not a number", "srv,54x2", "pw", true, false, QString());
        row("port 0", "srv,0", "pw", true, false, QString());
        row("port 65536", "srv,65536", "pw", true, false, QString());
        row("NUL in the password", "srv", QStringLiteral("p") + QChar(0) + QStringLiteral("x"), true, false, QString());
    }

    void postgresSettings()
    {
        if (!data::PostgresConnection::driverAvailable()) {
            QSKIP("Qt's PostgreSQL driver is not part of this build (the Windows build has none)");
        }
        QFETCH(QString, source);
        QFETCH(QString, password);
        QFETCH(bool, encrypt);
        QFETCH(bool, trust);
        QFETCH(QString, expected);
        const ConnectionText text = login(source, QStringLiteral("Ana Maria"), password);
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), QStringLiteral("settings"));
        const auto removed = qScopeGuard([&db] {
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(QStringLiteral("settings"));
        });
        if (testsupport::thrown([&] { data::PostgresConnection::prepare(db, text, {encrypt, trust}); }).number != 0) {
            QVERIFY(expected.isNull());
            return;
        }
        QCOMPARE(QStringList({db.hostName(), QString::number(db.port()), db.databaseName(), db.userName(),
                              db.password(), db.connectOptions()})
                     .join(QLatin1Char('|')),
                 expected);
    }

    // The driver's answers keep the server's words; a lost link is told by its state, else its words.
    void postgresAnswers_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("state");
        QTest::addColumn<QString>("description");
        QTest::addColumn<bool>("lost");
        const auto row = [](const char* name, const char* text, const char* state, const char* description, bool lost) {
            QTest::newRow(name) << QString::fromUtf8(text) << QString::fromUtf8(state) << QString::fromUtf8(description)
                                << lost;
        };
        row("a statement refused", "ERROR:  relation \"x\" does not exist\n(42P01)", "42P01",
            "relation \"x\" does not exist", false);
        row("a lock waited for too long", "ERROR:  canceling statement due to lock timeout\n(55P03)", "55P03",
            "canceling statement due to lock timeout", false);
        row("the server shut down", "FATAL:  terminating connection due to administrator command\n(57P01)", "57P01",
            "terminating connection due to administrator command", true);
        row("a link failure state", "could not connect(08006)", "08006", "could not connect", true);
        const char* closed = "server closed the connection unexpectedly\n\tThis probably means the server terminated "
                             "abnormally";
        row("a socket closed, no state", closed, "", closed, true);
        row("a state code inside the words stays", "value (42P01) is odd", "22000", "value (42P01) is odd", false);
    }

    void postgresAnswers()
    {
        QFETCH(QString, text);
        QFETCH(QString, state);
        const QSqlError error(QStringLiteral("QPSQL: Unable to create query"), text, QSqlError::StatementError, state);
        const data::PostgresConnection connection;
        QTEST(connection.errorValue(error).description, "description");
        QTEST(connection.linkLost(error), "lost");
    }

    void chooseDriver_data()
    {
        QTest::addColumn<Drivers>("installed");
        QTest::addColumn<bool>("tdsLibrary");
        QTest::addColumn<QString>("expected");

        const QPair<QString, QString> ms17{"ODBC Driver 17 for SQL Server", "libmsodbcsql-17.so"};
        const QPair<QString, QString> ms18{"ODBC Driver 18 for SQL Server", "libmsodbcsql-18.so"};
        const QPair<QString, QString> tds{"FreeTDS", "libtdsodbc.so"};
        const QPair<QString, QString> renamedTds{"SQL Server (TDS)", "/usr/lib/x86_64-linux-gnu/odbc/libtdsodbc.so"};
        const QPair<QString, QString> postgres{"PostgreSQL Unicode", "psqlodbcw.so"};
        QTest::newRow("18 before 17 and FreeTDS") << Drivers{tds, ms17, ms18} << true << ms18.first;
        QTest::newRow("FreeTDS by library") << Drivers{postgres, renamedTds} << true << renamedTds.first;
        QTest::newRow("unregistered FreeTDS by path") << Drivers{postgres} << true << OdbcConnection::freeTdsLibrary();
        QTest::newRow("none") << Drivers{postgres} << false << QString();
    }

    void chooseDriver()
    {
        QFETCH(Drivers, installed);
        QFETCH(bool, tdsLibrary);
        QTEST(OdbcConnection::chooseDriver(installed, tdsLibrary), "expected");
    }
};

QTEST_GUILESS_MAIN(TestConnectionText)
#include "test_connectiontext.moc"
