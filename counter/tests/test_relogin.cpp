// "Refazer Login" as somebody else: the window must show the new user's world before anything is counted.
#include "core/loginthrottle.h"
#include "counter/statistics/statisticspanel.h"
#include "registry/modregistry.h"
#include "scramble/modencriptserial.h"
#include "session/frmlogin.h"
#include "testsupport/tempregistry.h"
#include "windowfixture.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>

using testsupport::OfficeFixture;

class TestRelogin : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void aReloginAsAnotherLawyerShowsThatLawyersWorld()
    {
        using registry::modRegistry::CriarChave;
        using registry::modRegistry::DefinirValorString;
        scramble::modEncriptSerial::VolumeSerial = QStringLiteral("-1234567890");
        testsupport::TempRegistry registry;
        WindowFixture f;
        testsupport::TempDatabase& db = f.office.database();
        db.addLogin("ana", "pw-ana");
        db.addLogin("bruno", "pw-bruno");
        db.exec("UPDATE tbUsers SET code = 'ANA' WHERE descrit = 'ana'");
        db.exec("INSERT INTO tbUsers (user_id, descrit, contacto_id, code) VALUES (77, 'bruno', 10, 'BRU')");
        db.exec("INSERT INTO tbGroups (group_id, code) VALUES (1, 'LAW')");
        db.exec("INSERT INTO tbGroups_Users_Links (group_id, user_id) SELECT 1, user_id FROM tbUsers");
        db.exec("INSERT INTO tbSecurityPolicies (policy_id, code, users_groups) VALUES (1, '#3101', 'ANA')");
        f.office.addWork(78, OfficeFixture::Case, OfficeFixture::OtherLawyer, QStringLiteral("Recurso"));
        f.office.addTask(900, 78, QStringLiteral("Preparar recurso"));

        const QString out = QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Vorlent\\Shared\\OUT");
        const QString server = QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Vorlent\\ORVSQL");
        QVERIFY(CriarChave(out) && CriarChave(server));
        DefinirValorString(out, "DataServer", "ORVSQL");
        for (const auto& [name, value] :
             {std::pair<QString, QString>{"dtSecurityInfo", "False"},
              {"dtUser", testsupport::TempDatabase::user()},
              {"dtPassword", scramble::modEncriptSerial::EncriptSerial(testsupport::TempDatabase::password())},
              {"dtInitialCatalog", testsupport::TempDatabase::catalog()},
              {"dtDataSource", db.path()}}) {
            QVERIFY(DefinirValorString(server, name, value));
        }
        core::LoginThrottle::setWait([](int) {});

        counter::frmCounter& window = f.load();
        auto* lawyers = window.findChild<QComboBox*>(QStringLiteral("FXAdvogado_ID"));
        QVERIFY(f.part<counter::StatisticsPanel>().lawyerChoiceAllowed());
        QVERIFY(f.row(OfficeFixture::Task) >= 0);

        // While a task of the list is counting, no other login can take the list off the screen.
        f.toggle(OfficeFixture::Task);
        bool asked = false;
        session::frmLogin::setModalRunner([&asked](session::frmLogin&) { asked = true; });
        window.findChild<QAction*>(QStringLiteral("mnLogin"))->trigger();
        QVERIFY(!asked);
        QCOMPARE(session::modCode::UserName, QStringLiteral("ana"));
        QCOMPARE(f.boxes.shown().size(), 1);
        QVERIFY(f.list().checked(f.row(OfficeFixture::Task)));
        f.toggle(OfficeFixture::Task);
        QCOMPARE(f.office.runningCount(), 0);

        session::frmLogin::setModalRunner([](session::frmLogin& dialog) {
            dialog.FXUser()->setText(QStringLiteral("bruno"));
            dialog.FXPassword()->setText(QStringLiteral("pw-bruno"));
            dialog.findChild<QPushButton*>(QStringLiteral("Command1"))->click();
        });
        window.findChild<QAction*>(QStringLiteral("mnLogin"))->trigger();
        session::frmLogin::setModalRunner({});

        QCOMPARE(session::modCode::UserName, QStringLiteral("bruno"));
        QCOMPARE(session::modCode::AdvogadoID, int(OfficeFixture::OtherLawyer));
        QCOMPARE(f.row(OfficeFixture::Task), -1);
        QVERIFY(f.row(900) >= 0);
        QCOMPARE(lawyers->currentText(), QStringLiteral("Bruno Sá"));
        QCOMPARE(window.findChild<QTabBar*>(QStringLiteral("TabStrip1"))->tabText(0),
                 QStringLiteral("Tarefas Pendentes — Bruno Sá"));
        QVERIFY(!f.part<counter::StatisticsPanel>().lawyerChoiceAllowed());

        f.toggle(900);
        QCOMPARE(db.scalar("SELECT COUNT(*) FROM tbProcessos_Trabalhos_Tarefas_Lancamentos WHERE tarefa_id = 900 "
                           "AND advogado_id = 10 AND inprogress = 1")
                     .toInt(),
                 1);
        QCOMPARE(f.office.runningCount(), 1);
        QVERIFY(f.reports.reports().isEmpty());
    }
};

QTEST_MAIN(TestRelogin)
#include "test_relogin.moc"
