// Reading connection texts and turning them into ODBC connection strings, without a server.
#include "core/errorvalue.h"
#include "data/connectiontext.h"
#include "data/engines/odbcconnection.h"

#include <QTest>

using data::ConnectionText;
using data::OdbcConnection;
using Drivers = QList<QPair<QString, QString>>;

class TestConnectionText : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // A text is read key by key; one that could carry a key smuggled in a value is refused as a whole, never read
    // half-way.
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
        row("later key", "User ID=a;Password=p;User ID=b;Data Source=s", nullptr);
        row("synonym of an earlier key", "User ID=a;UID=b;Data Source=s", nullptr);
        row("later data source", "Data Source=/srv/a.db;Password=x;Data Source=/srv/b.db", nullptr);
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
            try {
                ConnectionText::parse(text);
                QFAIL("read");
            } catch (const core::Error& error) {
                QVERIFY(!error.description().contains(QLatin1String("Data Source")));
            }
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
        ConnectionText text;
        text.dataSource = source;
        QTEST(text.namesDatabaseFile(), "file");
    }

    void odbcString_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("driver");
        QTest::addColumn<QString>("expected");

        const auto row = [](const char* name, const char* source, const char* password, const QString& driver,
                            const char* expected) {
            QTest::newRow(name) << QString::fromUtf8(source) << QString::fromUtf8(password) << driver
                                << QString::fromUtf8(expected);
        };
        const QString ms = OdbcConnection::msDriver18();
        const QString freeTds = QStringLiteral("FreeTDS");
        row("ms instance", "SRVLEX\\SQL2005", "s3gr3do", ms,
            "Driver={ODBC Driver 18 for SQL Server};Server={SRVLEX\\SQL2005};Encrypt=yes;TrustServerCertificate=no;"
            "Database={Vorlent};UID={u;1};PWD={s3gr3do};");
        row("ms tcp port", "tcp:10.0.0.5, 1433", "s3gr3do", ms,
            "Driver={ODBC Driver 18 for SQL Server};Server={10.0.0.5,1433};Encrypt=yes;TrustServerCertificate=no;"
            "Database={Vorlent};UID={u;1};PWD={s3gr3do};");
        row("freetds port, ; in braces", "10.0.0.5,1433", "a;b", freeTds,
            "Driver={FreeTDS};Server={10.0.0.5};Port={1433};TDS_Version=7.4;ClientCharset=UTF-8;"
            "Encryption=require;Database={Vorlent};UID={u;1};PWD={a;b};");
        row("freetds by path, local instance, } doubled", ".\\SQLEXPRESS", "x}y", OdbcConnection::freeTdsLibrary(),
            "Driver=/usr/lib/x86_64-linux-gnu/odbc/libtdsodbc.so;Server={localhost\\SQLEXPRESS};TDS_Version=7.4;"
            "ClientCharset=UTF-8;Encryption=require;Database={Vorlent};UID={u;1};PWD={x}}y};");
        row("freetds (local), outer blanks kept", "(local)", " p ", freeTds,
            "Driver={FreeTDS};Server={localhost};TDS_Version=7.4;ClientCharset=UTF-8;Encryption=require;"
            "Database={Vorlent};UID={u;1};PWD={ p };");
        row("a typed keyword stays inside its braces", "SRV", "x};Server=evil;PWD={y", ms,
            "Driver={ODBC Driver 18 for SQL Server};Server={SRV};Encrypt=yes;TrustServerCertificate=no;"
            "Database={Vorlent};UID={u;1};PWD={x}};Server=evil;PWD={y};");
    }

    void odbcString()
    {
        QFETCH(QString, source);
        QFETCH(QString, password);
        QFETCH(QString, driver);
        ConnectionText text;
        text.dataSource = source;
        text.initialCatalog = QStringLiteral("Vorlent");
        text.userId = QStringLiteral("u;1");
        text.password = password;
        QTEST(OdbcConnection::connectionString(text, driver), "expected");
    }

    // The machine settings may turn encryption off or trust the server's certificate; a NUL in a value
    // would cut the ODBC string short and is refused.
    void odbcTransportAndNul()
    {
        ConnectionText text;
        text.dataSource = QStringLiteral("SRV");
        text.userId = QStringLiteral("u");
        text.password = QStringLiteral("p");
        const QString ms = OdbcConnection::msDriver18();
        QVERIFY(OdbcConnection::connectionString(text, ms, {false, true})
                    .contains(QLatin1String(";Encrypt=no;TrustServerCertificate=yes;")));
        QVERIFY(OdbcConnection::connectionString(text, QStringLiteral("FreeTDS"), {false, false})
                    .contains(QLatin1String(";Encryption=off;")));
        text.password = QStringLiteral("p") + QChar(0) + QStringLiteral(";UID=sa");
        QVERIFY_THROWS_EXCEPTION(core::Error, OdbcConnection::connectionString(text, ms));
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
