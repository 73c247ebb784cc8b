#include "data/connection.h"
#include "security/modcheckpermissions.h"
#include "testsupport/recordedreports.h"
#include "testsupport/tempdatabase.h"

#include <QTest>

#include <memory>

using security::modCheckPermissions::CheckSecurityPolicy;

// JS is in ADM and SEC; AN and the injection-shaped name in FIN; SOLO has no link;
// GHOST and NULLONLY (no code) link to a missing group; G_AD, G_A, G_M, G_DM, G_ADMX, G_ADM each in the one named.
class TestModCheckPermissions : public QObject
{
    Q_OBJECT

    std::unique_ptr<testsupport::TempDatabase> m_db;

private Q_SLOTS:
    void initTestCase()
    {
        m_db = std::make_unique<testsupport::TempDatabase>();
        m_db->openShared();
        // Codes are data: each user's own code (users H100 to H108, in group NOBODY) must match only itself.
        m_db->exec("INSERT INTO tbUsers (user_id, descrit, code) VALUES (1, 'JS', 'JS'), (2, 'AN', 'AN'), "
                   "(3, 'ANA', 'ANA'), (4, 'SOLO', 'SO'), (5, 'GHOST', 'GH'), (7, 'NULLONLY', NULL), "
                   "(9, 'x'' OR ''1''=''1', 'XQ'), (20, 'G_AD', 'Z20'), (21, 'G_A', 'Z21'), (22, 'G_M', 'Z22'), "
                   "(23, 'G_DM', 'Z23'), (24, 'G_ADMX', 'Z24'), (25, 'G_ADM', 'Z25'), "
                   "(100, 'H100', 'JPC'' OR 1=1 OR users_groups LIKE '''), (101, 'H101', '%'), (102, 'H102', 'A_A'), "
                   "(103, 'H103', '[A]NA'), (104, 'H104', 'R50%_[!'), (105, 'H105', 'O''K'), (106, 'H106', ' '), "
                   "(107, 'H107', ''), (108, 'H108', 'ANA;ADM')");
        m_db->exec("INSERT INTO tbGroups (group_id, code) VALUES (1, 'ADM'), (2, 'SEC'), (3, 'FIN'), (4, 'NOBODY'), "
                   "(10, 'AD'), (11, 'A'), (12, 'M'), (13, 'DM'), (14, 'ADMX')");
        m_db->exec("INSERT INTO tbGroups_Users_Links (group_id, user_id) VALUES (1, 1), (2, 1), (3, 2), (99, 5), "
                   "(99, 7), (3, 9), (10, 20), (11, 21), (12, 22), (13, 23), (14, 24), (1, 25), (4, 100), (4, 101), "
                   "(4, 102), (4, 103), (4, 104), (4, 105), (4, 106), (4, 107), (4, 108)");
        m_db->exec("INSERT INTO tbSecurityPolicies (policy_id, code, users_groups) VALUES (1, '#3101', 'ANA;ADM'), "
                   "(2, '#3102', 'FIN'), (3, '#3103', 'R50%_[!;O''K'), (4, '#3104', 'A B'), (5, '#3105', 'ADM'), "
                   "(6, '#3106', 'SEC;ADM;FIN'), (7, '#3107', 'ADM;SEC'), (8, '#3108', 'SEC;ADM'), "
                   "(9, '#3109', 'XADM;ADMX;ADM2'), (10, '#3110', 'AD M;A;M'), (11, '#3111', 'ADM1'), "
                   "(12, '#3112', 'ADM1;SEC2'), (13, '#3113', 'ADM12'), (14, '#3114', 'FIN;ADM1;JS1'), "
                   "(15, '#3115', 'ADM1;JS2'), (16, '#3116', 'JS1;SEC2'), (17, '#3117', 'SEC2;ADM2'), "
                   "(18, '#3118', 'JS1;ADM1'), (19, '#3119', 'ADM1;SEC22')");
    }

    void init() { data::StatementFailures::clear(); }

    void policyApplies_data()
    {
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("policy");
        QTest::addColumn<bool>("applies");
        const auto add = [](const char* name, const QString& user, const QString& policy, bool applies) {
            QTest::newRow(name) << user << policy << applies;
        };

        add("through group ADM", "JS", "#3101", true);
        add("not named", "JS", "#3102", false);
        add("AN not matched inside ANA", "AN", "#3101", false);
        add("no group links: no policy", "SOLO", "#3102", false);
        add("no policy row", "SOLO", "#9999", false);
        add("missing group adds no clause", "GHOST", "#3101", false);
        add("no code at all matches nothing", "NULLONLY", "#3101", false);
        add("break-out attempt", "x' OR '1'='1", "#3101", false);
        add("code closing the literal", "H100", "#3101", false);
        add("code %", "H101", "#3101", false);
        add("code A_A is not ANA", "H102", "#3101", false);
        add("code [A]NA is not ANA", "H103", "#3101", false);
        add("wildcards match themselves", "H104", "#3103", true);
        add("apostrophe matches itself", "H105", "#3103", true);
        add("blank code grants nothing", "H106", "#3104", false);
        add("empty code grants nothing", "H107", "#3104", false);
        add("code holding the separator grants nothing", "H108", "#3101", false);
        // Whole codes only: a shorter or longer code is never found inside ADM, wherever ADM stands.
        const struct {
            const char* user;
            const char* policy;
            bool applies;
        } whole[] = {
            {"G_ADM", "#3105", true},  {"G_ADM", "#3106", true},   {"G_ADM", "#3107", true},  {"G_ADM", "#3108", true},
            {"G_ADM", "#3109", false}, {"G_AD", "#3105", false},   {"G_A", "#3105", false},   {"G_M", "#3105", false},
            {"G_DM", "#3105", false},  {"G_AD", "#3106", false},   {"G_A", "#3106", false},   {"G_M", "#3107", false},
            {"G_AD", "#3108", false},  {"G_ADMX", "#3105", false}, {"G_ADMX", "#3109", true}, {"G_AD", "#3110", false},
            {"G_A", "#3110", true},    {"G_M", "#3110", true},
        };
        for (const auto& row : whole) {
            QTest::addRow("%s in %s", row.user, row.policy) << row.user << row.policy << row.applies;
        }
    }

    void policyApplies()
    {
        QFETCH(QString, user);
        QFETCH(QString, policy);
        testsupport::RecordedReports reports;
        QTEST(CheckSecurityPolicy(user, policy), "applies");
        QCOMPARE(reports.reports().size(), 0);
    }

    // A code grants only as a whole "<code>1" entry, and any whole "2" entry of the user's codes denies.
    void grantAndDeny()
    {
        const QString condition = security::modCheckPermissions::ReadPermitionsDef("JS", "users_groups", true, "", "");
        QCOMPARE(m_db->select("SELECT code FROM tbSecurityPolicies WHERE code LIKE '#311%' AND " + condition +
                              " ORDER BY code"),
                 (QList<QVariantList>{{"#3111"}, {"#3114"}, {"#3118"}, {"#3119"}}));
    }

    // JS holds #3101 through ADM; a failed read of the links, or of the policy, must not grant or pass for "no links".
    void failures()
    {
        for (const auto& [fragment, procedure] : {std::pair{"tbGroups_Users_Links", "ReadPermitionsDef"},
                                                  std::pair{"FROM tbSecurityPolicies", "CheckSecurityPolicy"}}) {
            testsupport::RecordedReports reports;
            data::StatementFailures::failNext({-2147217900, "Invalid object name"}, QString::fromLatin1(fragment));
            QVERIFY(!CheckSecurityPolicy("JS", "#3101"));
            QCOMPARE(reports.procedures(), QStringList{QString::fromLatin1(procedure)});
        }
    }
};

QTEST_GUILESS_MAIN(TestModCheckPermissions)
#include "test_modcheckpermissions.moc"
