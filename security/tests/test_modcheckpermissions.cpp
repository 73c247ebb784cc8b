#include "data/connection.h"
#include "security/modcheckpermissions.h"
#include "testsupport/recordedreports.h"
#include "testsupport/tempdatabase.h"

#include <QTest>

#include <memory>

using security::modCheckPermissions::CheckSecurityPolicy;

// A small office. JS is in ADM and SEC; AN, NOCODE (no code of his own), O'Brien and the user with the
// injection-shaped name are in FIN; SOLO has no group link; GHOST's and NULLONLY's only link names a group
// that does not exist, and NULLONLY has no code either.
class TestModCheckPermissions : public QObject
{
    Q_OBJECT

    std::unique_ptr<testsupport::TempDatabase> m_db;

private Q_SLOTS:
    void initTestCase()
    {
        m_db = std::make_unique<testsupport::TempDatabase>();
        m_db->openShared();
        m_db->exec("INSERT INTO tbUsers (user_id, descrit, code) VALUES (1, 'JS', 'JS'), (2, 'AN', 'AN'), "
                   "(3, 'ANA', 'ANA'), (4, 'SOLO', 'SO'), (5, 'GHOST', 'GH'), (6, 'NOCODE', NULL), "
                   "(7, 'NULLONLY', NULL), (8, 'O''Brien', 'OB'), (9, 'x'' OR ''1''=''1', 'XQ')");
        m_db->exec("INSERT INTO tbGroups (group_id, code) VALUES (1, 'ADM'), (2, 'SEC'), (3, 'FIN')");
        m_db->exec("INSERT INTO tbGroups_Users_Links (group_id, user_id) VALUES (1, 1), (2, 1), (3, 2), (99, 5), "
                   "(3, 6), (99, 7), (3, 8), (3, 9)");
        m_db->exec("INSERT INTO tbSecurityPolicies (policy_id, code, users_groups) VALUES (1, '#3101', 'ANA;ADM'), "
                   "(2, '#3102', 'FIN')");
    }

    void cleanupTestCase() { m_db.reset(); }

    void init()
    {
        data::StatementLog::clear();
        data::StatementFailures::clear();
    }

    void policyApplies_data()
    {
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("policy");
        QTest::addColumn<bool>("applies");

        QTest::newRow("through group ADM") << "JS"
                                           << "#3101" << true;
        QTest::newRow("not named") << "JS"
                                   << "#3102" << false;
        QTest::newRow("AN matched inside ANA") << "AN"
                                               << "#3101" << true;
        QTest::newRow("no group links: any policy") << "SOLO"
                                                    << "#3102" << true;
        QTest::newRow("no policy row") << "SOLO"
                                       << "#9999" << false;
        QTest::newRow("missing group adds no clause") << "GHOST"
                                                      << "#3101" << false;
        QTest::newRow("null own code matches nothing") << "NOCODE"
                                                       << "#3101" << false;
        QTest::newRow("no code at all matches nothing") << "NULLONLY"
                                                        << "#3101" << false;
        QTest::newRow("apostrophe: foreign policy") << "O'Brien"
                                                    << "#3101" << false;
        QTest::newRow("break-out attempt") << "x' OR '1'='1"
                                           << "#3101" << false;
    }

    void policyApplies()
    {
        QFETCH(QString, user);
        QFETCH(QString, policy);
        QFETCH(bool, applies);
        testsupport::RecordedReports reports;
        QCOMPARE(CheckSecurityPolicy(user, policy), applies);
        QCOMPARE(reports.reports().size(), 0);
    }

    void counterWindowStatements()
    {
        QVERIFY(CheckSecurityPolicy("JS", "#3101"));
        QCOMPARE(
            data::StatementLog::statements(),
            QStringList({"SELECT tbGroups_Users_Links.*, tbGroups.code, tbUsers.code as user_code FROM "
                         "tbGroups_Users_Links LEFT OUTER JOIN tbGroups ON tbGroups_Users_Links.group_id = "
                         "tbGroups.group_id LEFT JOIN tbUsers ON tbGroups_Users_Links.user_id = tbUsers.user_id "
                         "WHERE tbUsers.descrit = 'JS'",
                         "SELECT tbSecurityPolicies.* FROM tbSecurityPolicies WHERE code = '#3101' AND ( "
                         "(users_groups Like '%JS%'  OR users_groups LIKE '%ADM%'  OR users_groups LIKE '%SEC%' ) )"}));
    }

    // SOLO, without group links, holds #3102; a failed read of the links must not pass for "no links".
    void failures_data()
    {
        QTest::addColumn<QString>("fragment");
        QTest::addColumn<QString>("procedure");
        QTest::newRow("group links") << "tbGroups_Users_Links"
                                     << "ReadPermitionsDef";
        QTest::newRow("policy") << "FROM tbSecurityPolicies"
                                << "CheckSecurityPolicy";
    }

    void failures()
    {
        QFETCH(QString, fragment);
        QFETCH(QString, procedure);
        testsupport::RecordedReports reports;
        data::StatementFailures::failNext({-2147217900, "Invalid object name"}, fragment);
        QVERIFY(!CheckSecurityPolicy("SOLO", "#3102"));
        QCOMPARE(reports.procedures(), QStringList{procedure});
    }
};

QTEST_GUILESS_MAIN(TestModCheckPermissions)
#include "test_modcheckpermissions.moc"
