// SQL Server through ODBC, without a server: time-outs, and the server's values in the recordset's forms.
#include "core/errorvalue.h"
#include "data/connection.h"
#include "data/recordsetvalue.h"
#include "testsupport/thrown.h"

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
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof(address);
        auto* any = reinterpret_cast<sockaddr*>(&address);
        if (m_socket >= 0 && ::bind(m_socket, any, size) == 0 && ::listen(m_socket, 4) == 0 &&
            ::getsockname(m_socket, any, &size) == 0) {
            port = ntohs(address.sin_port);
        }
    }
    ~SilentServer() { ::close(m_socket); }
    int port = 0;

private:
    int m_socket = ::socket(AF_INET, SOCK_STREAM, 0);
};

} // namespace

class TestConnectionOdbc : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // A refused or silent server fails within the time-out, without the password, and stays closed.
    void unreachableServerFailsInTime_data()
    {
        QTest::addColumn<bool>("silent");
        QTest::newRow("closed port") << false;
        QTest::newRow("server that never answers") << true;
    }

    void unreachableServerFailsInTime()
    {
        QFETCH(bool, silent);
        SilentServer server;
        QVERIFY(!silent || server.port > 0);
        constexpr int TimeoutSeconds = 2;
        const QString text = QStringLiteral("Provider=SQLOLEDB.1;Persist Security Info=False;User ID=orv;"
                                            "Password=Pa55-odbc;Initial Catalog=Vorlent;Data Source=127.0.0.1,%1;"
                                            "Connect Timeout=%2")
                                 .arg(silent ? server.port : 1)
                                 .arg(TimeoutSeconds);
        data::StatementLog::clear();
        data::Connection connection;
        QElapsedTimer timer;
        timer.start();
        const core::ErrorValue error = testsupport::thrown([&] { connection.open(text); });
        QVERIFY(error.number != 0 && error.number != core::errc::ClosedConnection);
        QVERIFY(!error.description.trimmed().isEmpty());
        QVERIFY2(!error.description.contains(QLatin1String("Pa55-odbc")), qPrintable(error.description));
        QVERIFY2(timer.elapsed() < (TimeoutSeconds + 8) * qint64(1000), qPrintable(QString::number(timer.elapsed())));
        QVERIFY(!connection.isOpen() && data::StatementLog::statements().isEmpty());
        QCOMPARE(testsupport::thrown([&] { connection.execute(QStringLiteral("SELECT 1")); }).number,
                 core::errc::ClosedConnection);
    }

    // The server's values arrive in the forms the recordset gives them.
    void serverValues_data()
    {
        QTest::addColumn<QVariant>("raw");
        QTest::addColumn<ColumnKind>("kind");
        QTest::addColumn<QVariant>("expected");
        const auto row = [](const char* name, const QVariant& raw, ColumnKind kind, const QVariant& expected) {
            QTest::newRow(name) << raw << kind << expected;
        };

        row("identity as decimal(38,0)", QStringLiteral("1234"), ColumnKind::WholeNumber, qlonglong(1234));
        row("identity as a number", 1234.0, ColumnKind::WholeNumber, qlonglong(1234));
        row("money", QStringLiteral("45.5000"), ColumnKind::Number, 45.5);
        row("whole float stays fractional kind", QStringLiteral("45"), ColumnKind::Number, 45.0);
        row("int", int(812), ColumnKind::Plain, qlonglong(812));
        row("bit", true, ColumnKind::Plain, qlonglong(1));
        row("real", float(12.5), ColumnKind::Plain, 12.5);
        row("date only", QDate(2009, 11, 16), ColumnKind::Plain, QDateTime(QDate(2009, 11, 16), QTime(0, 0)));
        row("text untouched", QStringLiteral("2009-11-16 09:00:00"), ColumnKind::Plain,
            QStringLiteral("2009-11-16 09:00:00"));
        row("null", QVariant(), ColumnKind::Number, QVariant());
    }

    void serverValues()
    {
        QFETCH(QVariant, raw);
        QFETCH(ColumnKind, kind);
        QFETCH(QVariant, expected);
        const QVariant value = data::recordsetValue(raw, kind);
        QCOMPARE(value.typeId(), expected.typeId());
        QCOMPARE(value, expected);
    }
};

QTEST_GUILESS_MAIN(TestConnectionOdbc)
#include "test_connectionodbc.moc"
