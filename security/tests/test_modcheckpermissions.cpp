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
                   "(2, '#3102', 'FIN'), (3, '#3103', 'R50%_[!;O''K'), (4, '#3104', 'A B')");
        // Codes held in the database are data: each of these users is linked to a group no policy names, so
        // only their own code could match, and it must match only itself.
        const QStringList hostile{
            "JPC' OR 1=1 OR users_groups LIKE '", "%", "_", "A_A", "[A]NA", "' OR 1=1 --", "R50%_[!", "O'K", " ", ""};
        m_db->exec("INSERT INTO tbGroups (group_id, code) VALUES (4, 'NOBODY')");
        for (int i = 0; i < hostile.size(); ++i) {
            QString code = hostile.at(i);
            code.replace(u'\'', QStringLiteral("''"));
            m_db->exec(QStringLiteral("INSERT INTO tbUsers (user_id, descrit, code) VALUES (%1, 'H%1', '%2')")
                           .arg(100 + i)
                           .arg(code));
            m_db->exec(
                QStringLiteral("INSERT INTO tbGroups_Users_Links (group_id, user_id) VALUES (4, %1)").arg(100 + i));
        }
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
        // Users H100.. carry the hostile codes above, in order.
        QTest::newRow("code closing the literal") << "H100"
                                                  << "#3101" << false;
        QTest::newRow("code %") << "H101"
                                << "#3101" << false;
        QTest::newRow("code _") << "H102"
                                << "#3101" << false;
        QTest::newRow("code A_A is not ANA") << "H103"
                                             << "#3101" << false;
        QTest::newRow("code [A]NA is not ANA") << "H104"
                                               << "#3101" << false;
        QTest::newRow("code with a comment") << "H105"
                                             << "#3101" << false;
        QTest::newRow("wildcards match themselves") << "H106"
                                                    << "#3103" << true;
        QTest::newRow("apostrophe matches itself") << "H107"
                                                   << "#3103" << true;
        QTest::newRow("blank code grants nothing") << "H108"
                                                   << "#3104" << false;
        QTest::newRow("empty code grants nothing") << "H109"
                                                   << "#3104" << false;
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

    // A code with wildcards is escaped; one without keeps the plain form above.
    void wildcardCodeStatement()
    {
        QVERIFY(CheckSecurityPolicy("H106", "#3103"));
        QCOMPARE(data::StatementLog::statements().last(),
                 "SELECT tbSecurityPolicies.* FROM tbSecurityPolicies WHERE code = '#3103' AND ( "
                 "(users_groups Like '%R50!%!_![!!%' ESCAPE '!'  OR users_groups LIKE '%NOBODY%' ) )");
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
