#include "data/connection.h"
#include "registry/modregistry.h"
#include "scramble/modencriptserial.h"
#include "session/frmlogin.h"
#include "session/modcode.h"
#include "testsupport/recordedreports.h"
#include "testsupport/scriptedmessageboxes.h"
#include "testsupport/tempdatabase.h"
#include "testsupport/tempregistry.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <memory>
#include <optional>

using namespace session;
using namespace registry::modRegistry;
using scramble::modEncriptSerial::EncriptSerial;

namespace {

const QString UserKey = QStringLiteral("HKEY_CURRENT_USER\\Software\\Vorlent");
const QString ServerKey = QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Vorlent\\ORVSQL");
const QString InvalidLogin = QStringLiteral("O nome de utilizador ou palavra-passe fornecidos são inválidos.");
const QString NoLawyer = QStringLiteral("Não existe nenhum Advogado associado ao utilizador indicado.");

struct FakeCounterWindow : CounterWindowInterface {
    void showWindow() override { ++shows; }
    void unloadWindow() override { ++unloads; }
    int shows = 0;
    int unloads = 0;
};

// One refused login: what the user types, what is wrong around it, and how start-up ends.
struct Refusal {
    QString user, password;
    QString setting; // a machine setting left out ("name") or changed ("name=value")
    QString failing; // a statement that fails once
    QString message;
    QStringList reported; // the procedures that report an error
};

QString userValue(const QString& name)
{
    return ObterValorString(UserKey, name).value_or(QStringLiteral("<null>"));
}

} // namespace

class TestModCode : public QObject
{
    Q_OBJECT

    std::unique_ptr<testsupport::TempDatabase> m_db;
    // emplace ends the old fixture, giving its seam back, before the new one takes it.
    std::optional<testsupport::TempRegistry> m_registry;
    std::optional<testsupport::ScriptedMessageBoxes> m_boxes;
    std::optional<testsupport::RecordedReports> m_reports;
    std::unique_ptr<FakeCounterWindow> m_window; // null until start-up loads the counter window
    // What the user does in the login dialog, and what the dialog showed when it came up.
    QString m_user, m_password, m_button;
    bool m_tick = false;
    int m_shown = 0;
    QStringList m_seen; // FXUser, FXPassword, "ticked" or ""

    // A fresh registry with the machine's database settings. setting "name" leaves that one out,
    // "name=value" gives it another value.
    void freshRegistry(const QString& setting = QString())
    {
        m_registry.emplace();
        const QString out = QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Vorlent\\Shared\\OUT");
        QVERIFY(CriarChave(out) && CriarChave(ServerKey));
        const QStringList settings{"DataServer=ORVSQL",        "dtSecurityInfo=False",
                                   "dtUser=orv_app",           "dtPassword=" + EncriptSerial("app-secret"),
                                   "dtInitialCatalog=OrvTest", "dtDataSource=" + m_db->path()};
        for (QString entry : settings) {
            const QString name = entry.section(u'=', 0, 0);
            if (name == setting.section(u'=', 0, 0)) {
                entry = setting;
            }
            if (entry.contains(u'=')) {
                QVERIFY(DefinirValorString(name == "DataServer" ? out : ServerKey, name, entry.section(u'=', 1)));
            }
        }
    }

    void rememberLogin(const QString& remember, const QString& user, const QString& password)
    {
        QVERIFY(CriarChave(UserKey));
        DefinirValorString(UserKey, QStringLiteral("Remember"), remember);
        DefinirValorString(UserKey, QStringLiteral("Username"), user);
        DefinirValorString(UserKey, QStringLiteral("Password"), EncriptSerial(password));
    }

    void runMain(const QString& user, const QString& password, const QString& button = QStringLiteral("Command1"))
    {
        m_user = user;
        m_password = password;
        m_button = button;
        modCode::main();
    }

    void expectLoggedInAs(const QString& user, const QString& password, qint32 lawyer)
    {
        QCOMPARE(QStringList({modCode::UserName, modCode::UserPassword}), QStringList({user, password}));
        QCOMPARE(modCode::AdvogadoID, lawyer);
        QVERIFY(modCode::Connected && data::Data::SqlServer().isOpen());
        QVERIFY(m_window && m_window->shows > 0);
        QVERIFY(m_boxes->shown().isEmpty() && m_reports->reports().isEmpty());
    }

private Q_SLOTS:
    void initTestCase()
    {
        scramble::modEncriptSerial::VolumeSerial = QStringLiteral("-1234567890");
        m_db = std::make_unique<testsupport::TempDatabase>();
        const QStringList logins{"NULLC:x",    "ZERO:x",    "NOADV:x", "NOROW:x", "orv_app:app-secret",
                                 "JS:js-pass", "MR:mr-pass"};
        for (const QString& login : logins) {
            m_db->addLogin(login.section(u':', 0, 0), login.section(u':', 1));
        }
        m_db->exec(QStringLiteral("INSERT INTO tbUsers (user_id, descrit, contacto_id) VALUES (1, 'JS', 10), "
                                  "(2, 'MR', 20), (3, 'NULLC', NULL), (4, 'ZERO', 0), (5, 'NOADV', 30)"));
        m_db->exec(QStringLiteral("INSERT INTO tbAdvogados (contacto_id) VALUES (10), (20)"));
        modCode::setCounterWindowFactory([this]() -> CounterWindowInterface* {
            m_window = std::make_unique<FakeCounterWindow>();
            return m_window.get();
        });
        frmLogin::setModalRunner([this](frmLogin& dialog) {
            ++m_shown;
            dialog.show();
            m_seen = QStringList{dialog.FXUser()->text(), dialog.FXPassword()->text(),
                                 dialog.FXRecord()->isChecked() ? "ticked" : ""};
            dialog.FXUser()->setText(m_user);
            dialog.FXPassword()->setText(m_password);
            dialog.FXRecord()->setChecked(m_tick);
            dialog.findChild<QPushButton*>(m_button)->click();
        });
    }

    void init()
    {
        data::Data::SqlServer().close();
        data::StatementLog::clear();
        modCode::Connected = false;
        modCode::AdvogadoID = 0;
        modCode::UserName.clear();
        modCode::CounterWindow = nullptr;
        m_window.reset();
        m_shown = 0;
        m_tick = false;
        freshRegistry();
        m_boxes.emplace();
        m_reports.emplace();
    }

    void cleanup()
    {
        data::StatementFailures::clear();
        // Start-up unloads the login dialog for real on every way out.
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            QVERIFY(widget->objectName() != QStringLiteral("frmLogin"));
        }
    }

    // A good remembered login needs no dialog. main then logs in a second time, which answers at once:
    // while connected, Login needs neither the registry nor a right name or password.
    void rememberedLoginNeedsNoDialog()
    {
        rememberLogin("1", "JS", "js-pass");
        General().Run();
        QCOMPARE(m_shown, 0);
        expectLoggedInAs("JS", "js-pass", 10);
        QCOMPARE(data::Data::SqlServer().connectionString(), m_db->connectionText("orv_app", "app-secret"));
        QCOMPARE(data::StatementLog::statements(), QStringList({"SELECT * FROM tbUsers WHERE descrit = 'JS'",
                                                                "SELECT * FROM tbAdvogados WHERE contacto_id = 10"}));
        QCOMPARE(userValue("Remember"), "1");

        QVERIFY(QFile::remove(m_registry->file("HKEY_LOCAL_MACHINE")));
        QVERIFY(modCode::Login("NOBODY", "wrong"));
        QCOMPARE(modCode::UserName, "JS");
        modCode::Connected = false;
        QVERIFY(!modCode::Login("JS", "js-pass"));
    }

    // Any "Remember" but "0" logs in without the dialog; "0", or none at all, shows it.
    void rememberedValue_data()
    {
        QTest::addColumn<QString>("remember"); // null: no value
        QTest::addColumn<int>("dialogs");
        QTest::newRow("1") << "1" << 0;
        QTest::newRow("another word") << "sim" << 0;
        QTest::newRow("-1") << "-1" << 0;
        QTest::newRow("a blank") << " " << 0;
        QTest::newRow("0") << "0" << 1;
        QTest::newRow("none") << QString() << 1;
    }
    void rememberedValue()
    {
        QFETCH(QString, remember);
        QFETCH(int, dialogs);
        QVERIFY(CriarChave(UserKey));
        DefinirValorString(UserKey, QStringLiteral("Username"), QStringLiteral("JS"));
        DefinirValorString(UserKey, QStringLiteral("Password"), EncriptSerial("js-pass"));
        if (!remember.isNull()) {
            DefinirValorString(UserKey, QStringLiteral("Remember"), remember);
        }
        runMain("JS", "js-pass");
        QCOMPARE(m_shown, dialogs);
        expectLoggedInAs("JS", "js-pass", 10);
    }

    // The dialog comes up empty unless a login is remembered. After the login a ticked box remembers it,
    // creating the per-user key; an unticked one blanks the remembered login.
    void rememberChoice_data()
    {
        QTest::addColumn<bool>("keyExists");
        QTest::addColumn<bool>("tick");
        QTest::addColumn<QStringList>("after"); // Username, Password as stored, Remember

        QTest::newRow("first start, not ticked") << false << false << QStringList{"<null>", "<null>", "<null>"};
        QTest::newRow("first start, ticked") << false << true << QStringList{"JS", EncriptSerial("js-pass"), "1"};
        QTest::newRow("not ticked blanks the login") << true << false << QStringList{"", "", "0"};
    }

    void rememberChoice()
    {
        QFETCH(bool, keyExists);
        QFETCH(bool, tick);
        QFETCH(QStringList, after);
        if (keyExists) {
            rememberLogin("0", "OLD", "old-pass");
        }
        m_tick = tick;
        runMain("JS", "js-pass");

        QCOMPARE(m_seen, QStringList({"", "", ""}));
        expectLoggedInAs("JS", "js-pass", 10);
        QCOMPARE(QStringList({userValue("Username"), userValue("Password"), userValue("Remember")}), after);
    }

    // A refused remembered login brings the dialog up filled; cancelling it writes Remember "0" and ends
    // start-up without a message.
    void cancelAfterRefusedRememberedLogin()
    {
        rememberLogin("1", "JS", "old-pass");
        runMain("JS", "js-pass", "Command2");
        QCOMPARE(m_shown, 1);
        QCOMPARE(m_seen, QStringList({"JS", "old-pass", "ticked"}));
        QCOMPARE(userValue("Remember"), "0");
        QCOMPARE(m_boxes->shown().size(), 0);
        QVERIFY(!modCode::Connected && !m_window);
    }

    // Every refused login ends in one "Login" message and forgets the remembered login. The remembered
    // password is wrong, so the dialog comes up and the user types the row's name and password.
    void refusedLogin_data()
    {
        QTest::addColumn<Refusal>("refusal");
        QTest::newRow("wrong password") << Refusal{"JS", "bad", "", "", InvalidLogin, {}};
        for (const char* name :
             {"DataServer", "dtSecurityInfo", "dtUser", "dtPassword", "dtInitialCatalog", "dtDataSource"}) {
            QTest::addRow("no %s", name) << Refusal{"JS", "js-pass", name, "", InvalidLogin, {}};
        }
        QTest::newRow("unreachable server")
            << Refusal{"JS", "js-pass", "dtDataSource=/nonexistent/orvtest.db", "", InvalidLogin, {}};
        // The user's own login works but the shared account is refused: that one is reported.
        QTest::newRow("shared account refused")
            << Refusal{"JS", "js-pass", "dtPassword=" + EncriptSerial("not-it"), "", InvalidLogin, {"Login"}};
        QTest::newRow("contacto_id null") << Refusal{"NULLC", "x", "", "", NoLawyer, {}};
        QTest::newRow("contacto_id 0") << Refusal{"ZERO", "x", "", "", NoLawyer, {}};
        QTest::newRow("contact not a lawyer") << Refusal{"NOADV", "x", "", "", NoLawyer, {}};
        QTest::newRow("no tbUsers row") << Refusal{"NOROW", "x", "", "", NoLawyer, {}};
        QTest::newRow("users read fails") << Refusal{"JS", "js-pass", "", "FROM tbUsers", NoLawyer, {"SetAdvogado"}};
        QTest::newRow("lawyers read fails")
            << Refusal{"JS", "js-pass", "", "FROM tbAdvogados", NoLawyer, {"SetAdvogado"}};
    }

    void refusedLogin()
    {
        QFETCH(Refusal, refusal);
        freshRegistry(refusal.setting);
        rememberLogin("1", refusal.user, "old-pass");
        if (!refusal.failing.isEmpty()) {
            data::StatementFailures::failNext({-2147217900, "Query timeout expired"}, refusal.failing);
        }
        runMain(refusal.user, refusal.password);

        QCOMPARE(m_boxes->shown().size(), 1);
        QCOMPARE(m_boxes->shown().first().text, refusal.message);
        QCOMPARE(m_boxes->shown().first().title, "Login");
        QVERIFY(!m_window);
        QCOMPARE(userValue("Remember"), "0");
        QCOMPARE(modCode::AdvogadoID, 0);
        // The lawyer is looked up only after a good login; a refused one must not count as connected.
        QCOMPARE(modCode::Connected, refusal.message == NoLawyer);
        QCOMPARE(m_reports->procedures(), refusal.reported);
    }

    // A re-login keeps the shared connection (a changed shared password would refuse a new one), takes the
    // new user's values and shows the same counter window again; a cancelled one unloads that window.
    void reLoginReusesSharedConnection()
    {
        runMain("JS", "js-pass");
        const QString sharedText = data::Data::SqlServer().connectionString();
        DefinirValorString(ServerKey, "dtPassword", EncriptSerial("changed"));
        modCode::Connected = false;
        runMain("MR", "mr-pass");

        QCOMPARE(m_shown, 2);
        expectLoggedInAs("MR", "mr-pass", 20);
        QCOMPARE(data::Data::SqlServer().connectionString(), sharedText);
        QCOMPARE(m_window->shows, 2); // loaded once, shown twice

        modCode::Connected = false;
        runMain("JS", "js-pass", "Command2");
        QCOMPARE(m_window->unloads, 1);
    }
};

QTEST_MAIN(TestModCode)
#include "test_modcode.moc"
