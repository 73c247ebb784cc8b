#include "adminrun.h"
#include "data/connection.h"
#include "scramble/modencriptserial.h"
#include "session/modcode.h"
#include "testsupport/recordedreports.h"
#include "testsupport/tempregistry.h"

#include <QTemporaryDir>
#include <QTest>

namespace {

bool logsIn(const QString& user, const QString& password)
{
    loginAgain();
    return session::modCode::Login(user, password) && session::modCode::SetAdvogado(user);
}

} // namespace

// An office without SQL Server set up from nothing with orvadmin alone, as the README tells (what its import
// writes: test_csvimport).
class TestOfficeFlow : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    testsupport::TempRegistry m_registry;

private Q_SLOTS:
    void initTestCase() { scramble::modEncriptSerial::VolumeSerial = "-1234567890"; }

    void cleanupTestCase() { loginAgain(); }

    void createdOfficeLogsInItsLawyer()
    {
        testsupport::RecordedReports reports;
        AdminRun orvadmin;
        const QString db = m_dir.filePath("escritorio.db");
        QCOMPARE(orvadmin({"office", "create", db, "--catalog", "Escritório Sá", "--server", "ESC", "--group", "",
                           "--password-stdin"},
                          {"shared-pw"}),
                 0);
        QVERIFY(orvadmin.out.contains("dtPassword                ********"));
        QCOMPARE(orvadmin({"office", "create", db, "--group", "", "--password-stdin"}, {"shared-pw"}),
                 1); // never over an existing office
        QVERIFY(orvadmin.err.contains("já existe"));

        QCOMPARE(orvadmin({"login", "add", " mlopes ", "--password-stdin"}, {"pw-maria"}), 0);
        QCOMPARE(orvadmin({"login", "add", "MLOPES", "--password-stdin"}, {"other"}), 1);
        QVERIFY(orvadmin.err.contains("já existe"));

        QCOMPARE(orvadmin({"lawyer", "add", "--contact", "501", "--name", "Maria d'Orey Lopes", "--price", "45,5"}), 0);
        QCOMPARE(orvadmin({"lawyer", "add", "--contact", "501", "--name", "Again"}), 1);
        QCOMPARE(orvadmin({"lawyer", "add", "--contact", "502", "--name", "Rui Sousa", "--price", "muito"}), 1);
        QCOMPARE(orvadmin({"lawyer", "add", "--contact", "502", "--name", "Rui Sousa"}), 0);
        QCOMPARE(orvadmin({"user", "add", "mlopes", "--contact", "501", "--code", "ML", "--group", "ADV"}), 0);
        QCOMPARE(orvadmin({"user", "add", "mlopes", "--contact", "501", "--no-group"}), 1);
        QCOMPARE(orvadmin({"user", "add", "secretaria", "--contact", "999", "--no-group"}), 1);

        QCOMPARE(orvadmin({"check", "--user", "mlopes", "--password-stdin"}, {"pw-maria"}), 0);

        QVERIFY(logsIn("mlopes", "pw-maria"));
        QCOMPARE(session::modCode::AdvogadoID, 501);
        QVERIFY(reports.reports().isEmpty());
    }

    // A user without groups would hold no policy: orvadmin asks for a group, or to be told so.
    void userWithoutGroupOnlyWhenToldSo()
    {
        AdminRun orvadmin;
        QCOMPARE(orvadmin({"user", "add", "novo", "--contact", "502", "--code", "NVO"}), 2);
        QVERIFY(orvadmin.err.contains("--no-group"));
        QCOMPARE(orvadmin({"user", "add", "novo", "--contact", "502", "--group", "A;DM"}), 1);
        QCOMPARE(orvadmin({"user", "add", "novo", "--contact", "502", "--group", "ADV", "--no-group"}), 2);

        QCOMPARE(orvadmin({"user", "add", "novo", "--contact", "502", "--code", "NVO", "--no-group"}), 0);
        QVERIFY2(orvadmin.out.contains("não tem nenhuma política"), qPrintable(orvadmin.out));
        auto links = data::Data::SqlServer().openRecordset(
            "SELECT COUNT(*) AS n FROM tbGroups_Users_Links l JOIN tbUsers u ON u.user_id = l.user_id "
            "WHERE u.descrit = 'novo'");
        QCOMPARE(links->value("n").toInt(), 0);
    }

    void loginPasswordAndRemoval()
    {
        AdminRun orvadmin;
        QCOMPARE(orvadmin({"login", "password", "mlopes", "--password-stdin"}, {"new-pw"}), 0);
        QVERIFY(!logsIn("mlopes", "pw-maria"));
        QVERIFY(logsIn("mlopes", "new-pw"));

        QCOMPARE(orvadmin({"login", "remove", "mlopes"}), 0);
        QVERIFY(!logsIn("mlopes", "new-pw"));
        QCOMPARE(orvadmin({"login", "remove", "mlopes"}), 1);
        QVERIFY(orvadmin.err.contains("Não existe o login \"mlopes\""));
        QCOMPARE(orvadmin({"login", "password", "nobody", "--password-stdin"}, {"x"}), 1);

        // On a terminal a new password is typed twice; two different texts store nothing.
        orvadmin.typed = QStringList{"first", "second"};
        QCOMPARE(orvadmin({"login", "add", "typed"}), 1);
        QVERIFY(orvadmin.err.contains("não coincidem") && !orvadmin.err.contains("first"));
        QCOMPARE(orvadmin.prompts, QStringList({"Palavra-passe de typed: ", "Repita a palavra-passe: "}));
        orvadmin.typed = QStringList{"same", "same"};
        QCOMPARE(orvadmin({"login", "add", "typed"}), 0);
        QVERIFY(logsIn("typed", "same") == false); // a login, but no user row
        QCOMPARE(session::modCode::UserName, "typed");
    }

    void everyCommandAnswersHelp()
    {
        AdminRun orvadmin;
        for (const char* command : {"settings", "check", "office create", "login add", "login password", "login remove",
                                    "lawyer add", "user add", "import"}) {
            QCOMPARE(orvadmin(QString::fromLatin1(command).split(u' ') + QStringList{"--help"}), 0);
            QVERIFY2(orvadmin.out.contains(QStringLiteral("orvadmin ") + QLatin1String(command)),
                     qPrintable(orvadmin.out));
        }
        QCOMPARE(orvadmin({"--help"}), 0);
        QCOMPARE(orvadmin({"office", "delete"}), 2);
        QCOMPARE(orvadmin({"login", "add"}), 2);
        // A group's help lists that group's commands, and only them.
        QCOMPARE(orvadmin({"login", "--help"}), 0);
        QVERIFY2(orvadmin.out.contains("login add") && orvadmin.out.contains("login remove") &&
                     !orvadmin.out.contains("office create"),
                 qPrintable(orvadmin.out));
        QCOMPARE(orvadmin({"office", "-h"}), 0);
        QVERIFY(orvadmin.out.contains("office create FILE"));
        QCOMPARE(orvadmin({"office"}), 2);
        QCOMPARE(orvadmin({"nothing", "--help"}), 2);
    }
};

QTEST_MAIN(TestOfficeFlow)
#include "test_officeflow.moc"
