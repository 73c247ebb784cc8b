// Reading connection texts and turning them into ODBC connection strings, without a server.
#include "data/connectiontext.h"
#include "data/odbcconnection.h"

#include <QTest>

using data::ConnectionText;
using data::OdbcConnection;

class TestConnectionText : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void parse_data();
    void parse();
    void namesDatabaseFile_data();
    void namesDatabaseFile();
    void odbcString_data();
    void odbcString();
    void odbcBraces_data();
    void odbcBraces();
    void chooseDriver_data();
    void chooseDriver();
};

void TestConnectionText::parse_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("expected"); // user, password, catalog, source, security info
    QTest::addColumn<int>("timeout");

    QTest::newRow("as the login builds it")
        << "Provider=SQLOLEDB.1;Persist Security Info=False;User ID=jsilva;Password=s3gr3do;"
           "Initial Catalog=Vorlent;Data Source=SRVLEX\\SQL2005;Connect Timeout=15"
        << QStringList{"jsilva", "s3gr3do", "Vorlent", "SRVLEX\\SQL2005", "False"} << 15;
    QTest::newRow("keys in any case, blanks around")
        << " provider = SQLOLEDB.1 ; USER id = ana ;PASSWORD=x; initial CATALOG=Db;DATA SOURCE = srv ;connect timeout=3"
        << QStringList{"ana", "x", "Db", "srv", ""} << 3;
    QTest::newRow("empty values") << "Provider=SQLOLEDB.1;Persist Security Info=;User ID=;Password=;Initial "
                                     "Catalog=;Data Source=srv;Connect Timeout=15"
                                  << QStringList{"", "", "", "srv", ""} << 15;
    QTest::newRow("password holding = and quotes")
        << "User ID=a;Password=p=q'r;Data Source=s" << QStringList{"a", "p=q'r", "", "s", ""} << 15;
    QTest::newRow("quoted value holding ;")
        << "User ID=a;Password=\"x;y\"\"z\";Data Source=s" << QStringList{"a", "x;y\"z", "", "s", ""} << 15;
    QTest::newRow("synonyms") << "UID=u;PWD=p;Database=d;Server=h,1433;Timeout=7"
                              << QStringList{"u", "p", "d", "h,1433", ""} << 7;
    QTest::newRow("bad time-out gives 15")
        << "Data Source=s;Connect Timeout=abc" << QStringList{"", "", "", "s", ""} << 15;
    QTest::newRow("zero time-out gives 15")
        << "Data Source=s;Connect Timeout=0" << QStringList{"", "", "", "s", ""} << 15;
    QTest::newRow("later key wins, junk ignored")
        << ";;junk;User ID=a;User ID=b;Data Source=s;" << QStringList{"b", "", "", "s", ""} << 15;
}

void TestConnectionText::parse()
{
    QFETCH(QString, text);
    QFETCH(QStringList, expected);
    QFETCH(int, timeout);
    const ConnectionText parsed = ConnectionText::parse(text);
    QCOMPARE(parsed.userId, expected.at(0));
    QCOMPARE(parsed.password, expected.at(1));
    QCOMPARE(parsed.initialCatalog, expected.at(2));
    QCOMPARE(parsed.dataSource, expected.at(3));
    QCOMPARE(parsed.persistSecurityInfo, expected.at(4));
    QCOMPARE(parsed.connectTimeout, timeout);
}

void TestConnectionText::namesDatabaseFile_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<bool>("file");

    QTest::newRow("server") << "SRVLEX" << false;
    QTest::newRow("named instance") << "SRVLEX\\SQLEXPRESS" << false;
    QTest::newRow("local instance") << ".\\SQLEXPRESS" << false;
    QTest::newRow("port") << "10.0.0.5,1433" << false;
    QTest::newRow("(local)") << "(local)" << false;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("absolute path") << "/var/lib/orv/office.db" << true;
    QTest::newRow("relative path") << "data/office" << true;
    QTest::newRow("drive path") << "C:\\Orv\\escritorio" << true;
    QTest::newRow("share") << "\\\\fs01\\orv\\escritorio" << true;
    QTest::newRow("bare file name") << "escritorio.sqlite" << true;
    QTest::newRow("extension in capitals") << "ESCRITORIO.DB" << true;
}

void TestConnectionText::namesDatabaseFile()
{
    QFETCH(QString, source);
    QFETCH(bool, file);
    ConnectionText text;
    text.dataSource = source;
    QCOMPARE(text.namesDatabaseFile(), file);
}

void TestConnectionText::odbcString_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("driver");
    QTest::addColumn<QString>("expected");

    const QString ms = OdbcConnection::msDriver18();
    QTest::newRow("ms host") << "SRVLEX" << ms
                             << "Driver={ODBC Driver 18 for SQL Server};Server=SRVLEX;Encrypt=no;"
                                "TrustServerCertificate=yes;Database=Vorlent;UID=jsilva;PWD=s3gr3do;";
    QTest::newRow("ms instance") << "SRVLEX\\SQL2005" << ms
                                 << "Driver={ODBC Driver 18 for SQL Server};Server=SRVLEX\\SQL2005;Encrypt=no;"
                                    "TrustServerCertificate=yes;Database=Vorlent;UID=jsilva;PWD=s3gr3do;";
    QTest::newRow("ms tcp port") << "tcp:10.0.0.5, 1433" << ms
                                 << "Driver={ODBC Driver 18 for SQL Server};Server=10.0.0.5,1433;Encrypt=no;"
                                    "TrustServerCertificate=yes;Database=Vorlent;UID=jsilva;PWD=s3gr3do;";
    QTest::newRow("freetds port") << "10.0.0.5,1433"
                                  << "FreeTDS"
                                  << "Driver={FreeTDS};Server=10.0.0.5;Port=1433;TDS_Version=7.4;"
                                     "ClientCharset=UTF-8;Database=Vorlent;UID=jsilva;PWD=s3gr3do;";
    QTest::newRow("freetds local instance") << ".\\SQLEXPRESS" << OdbcConnection::freeTdsLibrary()
                                            << "Driver=/usr/lib/x86_64-linux-gnu/odbc/libtdsodbc.so;"
                                               "Server=localhost\\SQLEXPRESS;TDS_Version=7.4;ClientCharset=UTF-8;"
                                               "Database=Vorlent;UID=jsilva;PWD=s3gr3do;";
    QTest::newRow("freetds (local)") << "(local)"
                                     << "FreeTDS"
                                     << "Driver={FreeTDS};Server=localhost;TDS_Version=7.4;ClientCharset=UTF-8;"
                                        "Database=Vorlent;UID=jsilva;PWD=s3gr3do;";
}

void TestConnectionText::odbcString()
{
    QFETCH(QString, source);
    QFETCH(QString, driver);
    QFETCH(QString, expected);
    ConnectionText text;
    text.dataSource = source;
    text.initialCatalog = QStringLiteral("Vorlent");
    text.userId = QStringLiteral("jsilva");
    text.password = QStringLiteral("s3gr3do");
    QCOMPARE(OdbcConnection::connectionString(text, driver), expected);
}

void TestConnectionText::odbcBraces_data()
{
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("piece");

    QTest::newRow("plain") << "s3gr3do"
                           << ";PWD=s3gr3do;";
    QTest::newRow("semicolon") << "a;b"
                               << ";PWD={a;b};";
    QTest::newRow("closing brace doubled") << "x}y"
                                           << ";PWD={x}}y};";
    QTest::newRow("opening brace") << "{x"
                                   << ";PWD={{x};";
    QTest::newRow("outer blank kept") << " p "
                                      << ";PWD={ p };";
    QTest::newRow("equals needs nothing") << "a=b"
                                          << ";PWD=a=b;";
}

void TestConnectionText::odbcBraces()
{
    QFETCH(QString, password);
    QFETCH(QString, piece);
    ConnectionText text;
    text.dataSource = QStringLiteral("srv");
    text.userId = QStringLiteral("u;1");
    text.password = password;
    const QString result = OdbcConnection::connectionString(text, QStringLiteral("FreeTDS"));
    QVERIFY2(result.endsWith(piece), qPrintable(result));
    QVERIFY(result.contains(QLatin1String(";UID={u;1};")));
}

void TestConnectionText::chooseDriver_data()
{
    using Drivers = QList<QPair<QString, QString>>;
    QTest::addColumn<Drivers>("installed");
    QTest::addColumn<bool>("tdsLibrary");
    QTest::addColumn<QString>("expected");

    const QPair<QString, QString> ms17{"ODBC Driver 17 for SQL Server",
                                       "/opt/microsoft/msodbcsql17/lib64/libmsodbcsql-17.so"};
    const QPair<QString, QString> ms18{"ODBC Driver 18 for SQL Server",
                                       "/opt/microsoft/msodbcsql18/lib64/libmsodbcsql-18.so"};
    const QPair<QString, QString> tds{"FreeTDS", "libtdsodbc.so"};
    const QPair<QString, QString> renamedTds{"SQL Server (TDS)", "/usr/lib/x86_64-linux-gnu/odbc/libtdsodbc.so"};
    const QPair<QString, QString> postgres{"PostgreSQL Unicode", "psqlodbcw.so"};
    QTest::newRow("18 before 17 and FreeTDS") << Drivers{tds, ms17, ms18} << true << ms18.first;
    QTest::newRow("17 before FreeTDS") << Drivers{tds, ms17} << true << ms17.first;
    QTest::newRow("FreeTDS by library") << Drivers{postgres, renamedTds} << true << renamedTds.first;
    QTest::newRow("unregistered FreeTDS by path") << Drivers{postgres} << true << OdbcConnection::freeTdsLibrary();
    QTest::newRow("none") << Drivers{postgres} << false << QString();
}

void TestConnectionText::chooseDriver()
{
    using Drivers = QList<QPair<QString, QString>>;
    QFETCH(Drivers, installed);
    QFETCH(bool, tdsLibrary);
    QFETCH(QString, expected);
    QCOMPARE(OdbcConnection::chooseDriver(installed, tdsLibrary), expected);
}

QTEST_GUILESS_MAIN(TestConnectionText)
#include "test_connectiontext.moc"
