// SQL Server through ODBC, without a server: a refused or silent server fails within the time-out,
// and the server's values arrive in the recordset's forms.
#include "core/errorvalue.h"
#include "data/connection.h"
#include "data/recordsetvalue.h"

#include <QElapsedTimer>
#include <QTest>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

using data::ColumnKind;

namespace {

// A TCP port on 127.0.0.1 that accepts connections (the system completes them) and never answers.
class SilentServer
{
public:
    SilentServer()
    {
        m_socket = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof(address);
        if (m_socket >= 0 && ::bind(m_socket, reinterpret_cast<sockaddr*>(&address), size) == 0 &&
            ::listen(m_socket, 4) == 0 && ::getsockname(m_socket, reinterpret_cast<sockaddr*>(&address), &size) == 0) {
            m_port = ntohs(address.sin_port);
        }
    }
    ~SilentServer()
    {
        if (m_socket >= 0) {
            ::close(m_socket);
        }
    }
    int port() const { return m_port; }

private:
    int m_socket = -1;
    int m_port = 0;
};

QString serverText(const QString& source, int timeout)
{
    return QStringLiteral("Provider=SQLOLEDB.1;Persist Security Info=False;User ID=orv;Password=Pa55-odbc;"
                          "Initial Catalog=Vorlent;Data Source=%1;Connect Timeout=%2")
        .arg(source)
        .arg(timeout);
}

} // namespace

class TestConnectionOdbc : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void unreachableServerFailsInTime_data();
    void unreachableServerFailsInTime();
    void serverValues_data();
    void serverValues();
};

void TestConnectionOdbc::unreachableServerFailsInTime_data()
{
    QTest::addColumn<QString>("source");

    QTest::newRow("closed port") << "127.0.0.1,1";
    QTest::newRow("server that never answers") << "SILENT";
}

void TestConnectionOdbc::unreachableServerFailsInTime()
{
    QFETCH(QString, source);
    SilentServer silent;
    if (source == QLatin1String("SILENT")) {
        QVERIFY(silent.port() > 0);
        source = QStringLiteral("127.0.0.1,%1").arg(silent.port());
    }
    constexpr int TimeoutSeconds = 2;
    data::StatementLog::clear();
    data::Connection connection;
    QElapsedTimer timer;
    timer.start();
    try {
        connection.open(serverText(source, TimeoutSeconds));
        QFAIL("opened a connection to nothing");
    } catch (const core::Error& error) {
        QVERIFY(error.number() != 0);
        QVERIFY(error.number() != core::errc::ClosedConnection);
        QVERIFY(!error.description().trimmed().isEmpty());
        QVERIFY2(!error.description().contains(QLatin1String("Pa55-odbc")), qPrintable(error.description()));
    }
    QVERIFY2(timer.elapsed() < (TimeoutSeconds + 8) * 1000, qPrintable(QString::number(timer.elapsed())));
    QVERIFY(!connection.isOpen());
    QVERIFY(data::StatementLog::statements().isEmpty());
    try {
        connection.execute(QStringLiteral("SELECT 1"));
        QFAIL("a statement ran on a connection that never opened");
    } catch (const core::Error& error) {
        QCOMPARE(error.number(), core::errc::ClosedConnection);
    }
}

void TestConnectionOdbc::serverValues_data()
{
    QTest::addColumn<QVariant>("raw");
    QTest::addColumn<ColumnKind>("kind");
    QTest::addColumn<QVariant>("expected");

    QTest::newRow("identity as decimal(38,0)")
        << QVariant(QStringLiteral("1234")) << ColumnKind::WholeNumber << QVariant(qlonglong(1234));
    QTest::newRow("money") << QVariant(QStringLiteral("45.5000")) << ColumnKind::Number << QVariant(45.5);
    QTest::newRow("whole float stays fractional kind")
        << QVariant(QStringLiteral("45")) << ColumnKind::Number << QVariant(45.0);
    QTest::newRow("identity as a number") << QVariant(1234.0) << ColumnKind::WholeNumber << QVariant(qlonglong(1234));
    QTest::newRow("int") << QVariant(int(812)) << ColumnKind::Plain << QVariant(qlonglong(812));
    QTest::newRow("bit") << QVariant(true) << ColumnKind::Plain << QVariant(qlonglong(1));
    QTest::newRow("real") << QVariant(float(12.5)) << ColumnKind::Plain << QVariant(12.5);
    QTest::newRow("date only") << QVariant(QDate(2009, 11, 16)) << ColumnKind::Plain
                               << QVariant(QDateTime(QDate(2009, 11, 16), QTime(0, 0)));
    QTest::newRow("text untouched") << QVariant(QStringLiteral("2009-11-16 09:00:00")) << ColumnKind::Plain
                                    << QVariant(QStringLiteral("2009-11-16 09:00:00"));
    QTest::newRow("null") << QVariant() << ColumnKind::Number << QVariant();
}

void TestConnectionOdbc::serverValues()
{
    QFETCH(QVariant, raw);
    QFETCH(ColumnKind, kind);
    QFETCH(QVariant, expected);
    const QVariant value = data::recordsetValue(raw, kind);
    QCOMPARE(value.typeId(), expected.typeId());
    QCOMPARE(value, expected);
}

QTEST_GUILESS_MAIN(TestConnectionOdbc)
#include "test_connectionodbc.moc"
