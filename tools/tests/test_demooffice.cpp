// The demo office: the same day gives the same office, which the counter's screens and settings open.

#include "core/errorvalue.h"
#include "data/connection.h"
#include "data/connectiontext.h"
#include "data/office/machinesettings.h"
#include "data/office/schema.h"
#include "scramble/modencriptserial.h"
#include "security/modcheckpermissions.h"
#include "testsupport/tempregistry.h"
#include "tools/demooffice.h"
#include "tools/demosettings.h"
#include "tools/demostaff.h"

#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <optional>

namespace {

const QDate Day(2009, 11, 16);

QString connectionText(const QString& path, const QString& user, const QString& password)
{
    return data::ConnectionText::forLogin("False", user, password, tools::DemoOffice::catalog(), path);
}

QList<QVariantList> read(data::Connection& connection, const QString& sql, const QStringList& fields)
{
    std::unique_ptr<data::Recordset> records = connection.openRecordset(sql);
    QList<QVariantList> rows;
    for (; !records->eof(); records->moveNext()) {
        QVariantList row;
        for (const QString& field : fields) {
            row.append(records->value(field));
        }
        rows.append(row);
    }
    return rows;
}

QStringList dump(const QString& path)
{
    data::Connection connection;
    connection.open(connectionText(path, tools::DemoOffice::sharedUser(), tools::DemoOffice::sharedPassword()));
    QStringList lines;
    for (const QString& table : data::schema::tableNames()) {
        const QString sql = "SELECT * FROM " + table + " ORDER BY 1, 2";
        for (const QVariantList& row : read(connection, sql, connection.openRecordset(sql)->fieldNames())) {
            lines.append(table + QLatin1Char('|') + QVariant(row).toStringList().join(QLatin1Char('|')));
        }
    }
    return lines;
}

} // namespace

class TestDemoOffice : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_office;

private Q_SLOTS:
    void initTestCase()
    {
        scramble::modEncriptSerial::VolumeSerial = "-1234567890";
        m_office = m_dir.filePath("office.db");
        tools::DemoOffice(Day).build(m_office);
        data::Data::SqlServer().open(
            connectionText(m_office, tools::DemoOffice::sharedUser(), tools::DemoOffice::sharedPassword()));
    }

    void cleanupTestCase() { data::Data::SqlServer().close(); }

    void sameDayGivesSameOffice()
    {
        const QString again = m_dir.filePath("again.db"), nextDay = m_dir.filePath("nextday.db");
        tools::DemoOffice(Day).build(again);
        tools::DemoOffice(Day.addDays(1)).build(nextDay);
        const QStringList office = dump(m_office);
        QVERIFY(office.size() > 1000);
        QCOMPARE(dump(again), office);
        QVERIFY(dump(nextDay) != office);
        // An existing database is never overwritten.
        QVERIFY_THROWS_EXCEPTION(core::Error, tools::DemoOffice(Day).build(m_office));
    }

    // Pending tasks overdue, due tomorrow, hidden and counted, each with what a count looks up.
    void pendingTasksHoldTheMix()
    {
        const auto count = [&](const QString& condition) {
            const QString sql = QStringLiteral("SELECT COUNT(*) as no FROM vwProcessos_Trabalhos_Tarefas "
                                               "WHERE closed = 0 AND advogado_id is not null AND ");
            return read(data::Data::SqlServer(), sql + condition, {"no"}).value(0).value(0).toInt();
        };
        QVERIFY(count("data_escritorio < '2009-11-16'") > 0);
        QVERIFY(count("data_escritorio >= '2009-11-17' AND data_escritorio < '2009-11-18'") > 0);
        QVERIFY(count("escondida <> 0") > 0);
        const int running = count("inprogress <> 0");
        QVERIFY(running > 0);
        // Started before noon of a demo of another day: none in the future.
        QCOMPARE(
            count("inprogress <> 0 AND data_inicio >= '2009-11-16 11:00:00' AND data_inicio < '2009-11-16 12:00:00'"),
            running);
        // Nobody counts two tasks at once.
        QCOMPARE(count("inprogress <> 0 GROUP BY advogado_id HAVING COUNT(*) > 1"), 0);
        QCOMPARE(count("(trabalho_id is null OR processo_id is null OR contacto_id is null)"), 0);
    }

    // Each user logs in with the demo password; the lawyer box's policy applies to the supervisor alone.
    void usersLogInAndOnlyTheSupervisorOpensTheLawyerBox()
    {
        int holders = 0;
        for (const tools::DemoPerson& person : tools::DemoStaff::people()) {
            if (person.login.isEmpty()) {
                continue;
            }
            data::Connection own;
            own.open(connectionText(m_office, person.login, tools::DemoStaff::password()));
            const QString user = QStringLiteral("SELECT * FROM tbUsers WHERE descrit = '%1'").arg(person.login);
            QCOMPARE(read(data::Data::SqlServer(), user, {"contacto_id"}),
                     (QList<QVariantList>{{qlonglong(person.contactoId)}}));
            const QString lawyer = "SELECT * FROM tbAdvogados WHERE contacto_id = %1";
            QCOMPARE(read(data::Data::SqlServer(), lawyer.arg(person.contactoId), {"preco"}).size(),
                     person.lawyer ? 1 : 0);
            const bool holds = security::modCheckPermissions::CheckSecurityPolicy(person.login, "#3101");
            QCOMPARE(holds, person.supervisor);
            holders += holds;
        }
        QCOMPARE(holders, 1);
    }

    // The values written are the ones the login reads: they open the database with the shared account.
    void settingsLetTheSharedAccountOpenTheDatabase()
    {
        testsupport::TempRegistry registry;
        for (int run = 0; run < 2; ++run) {
            tools::DemoSettings::write("DEMO", m_office, tools::DemoOffice::catalog(), tools::DemoOffice::sharedUser(),
                                       tools::DemoOffice::sharedPassword());
        }
        // The password is stored scrambled: read as it stands, it would open nothing.
        const data::MachineSettings read = data::MachineSettings::read();
        QCOMPARE(read.server, "DEMO");
        data::Connection shared;
        shared.open(
            data::ConnectionText::forLogin(read.securityInfo, read.user, read.password, read.catalog, read.dataSource));
    }
};

QTEST_GUILESS_MAIN(TestDemoOffice)
#include "test_demooffice.moc"
