// The demo office: the same day gives the same office, the office holds what the counter's
// screens are tried on, and the machine settings written for it let a user log in.

#include "core/errorvalue.h"
#include "data/connection.h"
#include "data/schema.h"
#include "registry/modregistry.h"
#include "scramble/modencriptserial.h"
#include "testsupport/tempregistry.h"
#include "tools/demooffice.h"
#include "tools/demosettings.h"
#include "tools/demostaff.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <memory>
#include <optional>

namespace {

const QDate Day(2009, 11, 16);

QString connectionText(const QString& path, const QString& user, const QString& password)
{
    return QStringLiteral("Provider=SQLOLEDB.1;Persist Security Info=False;User ID=") + user +
           QStringLiteral(";Password=") + password + QStringLiteral(";Initial Catalog=") +
           tools::DemoOffice::catalog() + QStringLiteral(";Data Source=") + path +
           QStringLiteral(";Connect Timeout=15");
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

// Every row of every table, as text.
QStringList dump(const QString& path)
{
    data::Connection connection;
    connection.open(connectionText(path, tools::DemoOffice::sharedUser(), tools::DemoOffice::sharedPassword()));
    QStringList lines;
    for (const QString& table : data::schema::tableNames()) {
        std::unique_ptr<data::Recordset> records =
            connection.openRecordset(QStringLiteral("SELECT * FROM ") + table + QStringLiteral(" ORDER BY 1, 2"));
        const QStringList fields = records->fieldNames();
        for (; !records->eof(); records->moveNext()) {
            QStringList values{table};
            for (const QString& field : fields) {
                values.append(records->value(field).toString());
            }
            lines.append(values.join(QLatin1Char('|')));
        }
    }
    return lines;
}

} // namespace

class TestDemoOffice : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_office;
    data::Connection m_connection;

    qlonglong count(const QString& sql)
    {
        return read(m_connection, sql, {QStringLiteral("no")}).value(0).value(0).toLongLong();
    }

private Q_SLOTS:
    void initTestCase()
    {
        scramble::modEncriptSerial::VolumeSerial = QStringLiteral("-1234567890");
        m_office = m_dir.filePath(QStringLiteral("office.db"));
        tools::DemoOffice(Day).build(m_office);
        m_connection.open(
            connectionText(m_office, tools::DemoOffice::sharedUser(), tools::DemoOffice::sharedPassword()));
    }

    void cleanupTestCase() { m_connection.close(); }

    void sameDayGivesSameOffice();
    void pendingListsHoldTheMix();
    void everyPendingTaskCanStartACounter();
    void onlyTheSupervisorHoldsTheLawyerBoxPolicy();
    void loginsLeadToLawyers();
    void settingsLetAUserLogIn();
    void sizeOutOfRangeIsRefused();
};

void TestDemoOffice::sameDayGivesSameOffice()
{
    const QString again = m_dir.filePath(QStringLiteral("again.db"));
    const QString nextDay = m_dir.filePath(QStringLiteral("nextday.db"));
    tools::DemoOffice(Day).build(again);
    tools::DemoOffice(Day.addDays(1)).build(nextDay);

    const QStringList office = dump(m_office);
    QVERIFY(office.size() > 1000);
    QCOMPARE(dump(again), office);
    QVERIFY(dump(nextDay) != office);
}

void TestDemoOffice::pendingListsHoldTheMix()
{
    const QString sql =
        QStringLiteral("SELECT * FROM vwProcessos_Trabalhos_Tarefas WHERE closed = 0 AND advogado_id = %1 "
                       "ORDER BY escondida, data_escritorio, trabalho_id, data, processo_no_completo");
    const QDateTime today(Day, QTime(0, 0));
    int overdue = 0;
    int tomorrow = 0;
    int hidden = 0;
    int running = 0;
    for (const tools::DemoPerson& lawyer : tools::DemoStaff::countingLawyers()) {
        const QList<QVariantList> rows = read(m_connection, sql.arg(lawyer.contactoId),
                                              {QStringLiteral("data_escritorio"), QStringLiteral("escondida"),
                                               QStringLiteral("inprogress"), QStringLiteral("data_inicio")});
        QVERIFY2(rows.size() >= 30 && rows.size() <= 60, qPrintable(lawyer.login));
        int runningHere = 0;
        for (const QVariantList& row : rows) {
            const QDateTime office = row.at(0).toDateTime();
            overdue += !row.at(0).isNull() && office < today;
            tomorrow += !row.at(0).isNull() && office.date() == Day.addDays(1);
            hidden += row.at(1).toString() != QLatin1String("0");
            if (!row.at(2).isNull() && row.at(2).toLongLong() != 0) {
                ++runningHere;
                QCOMPARE(row.at(3).toDateTime().date(), Day);
                QCOMPARE(row.at(1).toString(), QStringLiteral("0"));
            }
        }
        QVERIFY2(runningHere <= 1, qPrintable(lawyer.login));
        running += runningHere;
    }
    QVERIFY(overdue > 0);
    QVERIFY(tomorrow > 0);
    QVERIFY(hidden > 0);
    QVERIFY(running > 0);
    QVERIFY(count(QStringLiteral("SELECT COUNT(*) as no FROM tbProcessos_Trabalhos_Tarefas WHERE closed = 1")) > 0);
    QVERIFY(count(QStringLiteral("SELECT COUNT(*) as no FROM tbProcessos_Trabalhos WHERE advogado_id is null")) > 0);
}

// The lookups made before a counter starts find a value for every task on a lawyer's list.
void TestDemoOffice::everyPendingTaskCanStartACounter()
{
    QCOMPARE(
        read(m_connection,
             QStringLiteral("SELECT Base_ID FROM tbProcessos_Trabalhos_Tarefas_Lancamentos_Bases WHERE counter <> 0"),
             {QStringLiteral("Base_ID")}),
        (QList<QVariantList>{{1LL}}));
    QCOMPARE(
        read(m_connection,
             QStringLiteral("SELECT Preco_ID FROM tbProcessos_Trabalhos_Tarefas_Lancamentos_Precos WHERE counter <> 0"),
             {QStringLiteral("Preco_ID")})
            .size(),
        1);
    const QString missing = QStringLiteral(
        "SELECT COUNT(*) as no FROM vwProcessos_Trabalhos_Tarefas WHERE closed = 0 AND advogado_id is not null AND "
        "(trabalho_id is null OR processo_id is null OR contacto_id is null)");
    QCOMPARE(count(missing), 0LL);
}

void TestDemoOffice::onlyTheSupervisorHoldsTheLawyerBoxPolicy()
{
    const QString links = QStringLiteral(
        "SELECT tbGroups_Users_Links.*, tbGroups.code, tbUsers.code as user_code FROM tbGroups_Users_Links LEFT OUTER "
        "JOIN tbGroups ON tbGroups_Users_Links.group_id = tbGroups.group_id LEFT JOIN tbUsers ON "
        "tbGroups_Users_Links.user_id = tbUsers.user_id WHERE tbUsers.descrit = '%1'");
    int holders = 0;
    for (const tools::DemoPerson& person : tools::DemoStaff::people()) {
        if (person.login.isEmpty()) {
            continue;
        }
        const QList<QVariantList> rows =
            read(m_connection, links.arg(person.login), {QStringLiteral("code"), QStringLiteral("user_code")});
        // Without group links every policy would apply: every user has some.
        QVERIFY2(!rows.isEmpty(), qPrintable(person.login));
        QString condition =
            QStringLiteral("( (users_groups Like '%") + rows.first().at(1).toString() + QStringLiteral("%' ");
        for (const QVariantList& row : rows) {
            if (!row.at(0).isNull()) {
                condition += QStringLiteral(" OR users_groups LIKE '%") + row.at(0).toString() + QStringLiteral("%' ");
            }
        }
        condition += QStringLiteral(") )");
        const QString policy =
            QStringLiteral("SELECT tbSecurityPolicies.* FROM tbSecurityPolicies WHERE code = '#3101' AND ") + condition;
        const bool holds = !read(m_connection, policy, {QStringLiteral("code")}).isEmpty();
        QCOMPARE(holds, person.supervisor);
        holders += holds;
    }
    QCOMPARE(holders, 1);
}

void TestDemoOffice::loginsLeadToLawyers()
{
    const QList<tools::DemoPerson>& people = tools::DemoStaff::people();
    for (const tools::DemoLogin& login : tools::DemoStaff::logins()) {
        data::Connection test;
        test.open(connectionText(m_office, login.user, login.password));
        test.close();

        const QList<QVariantList> user =
            read(m_connection, QStringLiteral("SELECT * FROM tbUsers WHERE descrit = '%1'").arg(login.user),
                 {QStringLiteral("contacto_id")});
        QCOMPARE(user.size(), 1);
        const qlonglong contacto = user.first().first().toLongLong();
        const bool lawyer =
            !read(m_connection, QStringLiteral("SELECT * FROM tbAdvogados WHERE contacto_id = %1").arg(contacto),
                  {QStringLiteral("preco")})
                 .isEmpty();
        const auto person = std::find_if(people.begin(), people.end(),
                                         [&](const tools::DemoPerson& p) { return p.login == login.user; });
        QVERIFY(person != people.end());
        QCOMPARE(lawyer, person->lawyer);
    }
    QVERIFY_THROWS_EXCEPTION(core::Error,
                             data::Connection().open(connectionText(m_office, tools::DemoStaff::logins().first().user,
                                                                    QStringLiteral("errada"))));
}

// The values written are the ones the login reads: they open the database with the shared account.
void TestDemoOffice::settingsLetAUserLogIn()
{
    testsupport::TempRegistry registry;
    for (int run = 0; run < 2; ++run) {
        tools::DemoSettings::write(QStringLiteral("DEMO"), m_office, tools::DemoOffice::catalog(),
                                   tools::DemoOffice::sharedUser(), tools::DemoOffice::sharedPassword());
    }
    namespace reg = registry::modRegistry;
    const std::optional<QString> server =
        reg::ObterValorString(tools::DemoSettings::sharedKey(), QStringLiteral("DataServer"));
    QCOMPARE(server, std::optional<QString>(QStringLiteral("DEMO")));
    const QString key = QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Vorlent\\") + *server;
    const auto value = [&](const char* name) {
        return reg::ObterValorString(key, QString::fromLatin1(name)).value_or(QStringLiteral("<null>"));
    };
    QCOMPARE(value("dtSecurityInfo"), QStringLiteral("False"));
    QVERIFY(value("dtPassword") != tools::DemoOffice::sharedPassword());

    const QString text = QStringLiteral("Provider=SQLOLEDB.1;Persist Security Info=") + value("dtSecurityInfo") +
                         QStringLiteral(";User ID=") + value("dtUser") + QStringLiteral(";Password=") +
                         scramble::modEncriptSerial::DencriptSerial(value("dtPassword")) +
                         QStringLiteral(";Initial Catalog=") + value("dtInitialCatalog") +
                         QStringLiteral(";Data Source=") + value("dtDataSource") +
                         QStringLiteral(";Connect Timeout=15");
    data::Connection shared;
    shared.open(text);
    QVERIFY(shared.isOpen());
}

void TestDemoOffice::sizeOutOfRangeIsRefused()
{
    const QString path = m_dir.filePath(QStringLiteral("small.db"));
    QVERIFY_THROWS_EXCEPTION(core::Error, tools::DemoOffice(Day, tools::DemoOffice::MinSize - 1).build(path));
    QVERIFY(!QFile::exists(path));
    QVERIFY_THROWS_EXCEPTION(core::Error, tools::DemoOffice(Day).build(m_office));
}

QTEST_GUILESS_MAIN(TestDemoOffice)
#include "test_demooffice.moc"
