#include "core/program.h"
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
#include <utility>

using namespace session;
using namespace registry::modRegistry;
using scramble::modEncriptSerial::DencriptSerial;
using scramble::modEncriptSerial::EncriptSerial;

namespace {

const QString UserKey = QStringLiteral("HKEY_CURRENT_USER\\Software\\Vorlent");
const QString ServerKey = QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Vorlent\\ORVSQL");
const QString InvalidLogin = QStringLiteral("O nome de utilizador ou palavra-passe fornecidos são inválidos.");
const QString NoLawyer = QStringLiteral("Não existe nenhum Advogado associado ao utilizador indicado.");

// A visible counter window only hides on unload; a hidden one ends the program.
struct FakeCounterWindow : CounterWindowInterface {
    void showWindow() override { visible = true, ++shows; }
    void unloadWindow() override
    {
        ++unloads;
        if (!std::exchange(visible, false)) {
            core::endProgram();
        }
    }
    int shows = 0;
    int unloads = 0;
    bool visible = false;
};

// What the user does in the login dialog, and what the dialog showed when it came up.
struct DialogScript {
    QString user, password;
    std::optional<bool> remember;
    QString button = QStringLiteral("Command1");
    int shown = 0;
    QStringList seen; // user, password, "ticked" or ""
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
    std::unique_ptr<testsupport::TempRegistry> m_registry;
    std::unique_ptr<testsupport::ScriptedMessageBoxes> m_boxes;
    std::unique_ptr<testsupport::RecordedReports> m_reports;
    std::unique_ptr<FakeCounterWindow> m_window;
    int m_windowsLoaded = 0;
    bool m_ended = false;
    DialogScript m_dialog;

    // A fresh registry with the machine's database settings, all but the one named by skip.
    void freshRegistry(const QString& skip = QString())
    {
        m_registry.reset(); // gives the environment back before the next one takes it
        m_registry = std::make_unique<testsupport::TempRegistry>();
        const QString out = QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Vorlent\\Shared\\OUT");
        QVERIFY(CriarChave(out) && CriarChave(ServerKey));
        if (skip != QStringLiteral("DataServer")) {
            DefinirValorString(out, QStringLiteral("DataServer"), QStringLiteral("ORVSQL"));
        }
        const QStringList names{"dtSecurityInfo", "dtUser", "dtPassword", "dtInitialCatalog", "dtDataSource"};
        const QStringList values{"False", "orv_app", EncriptSerial("app-secret"), "OrvTest", m_db->path()};
        for (qsizetype i = 0; i < names.size(); ++i) {
            if (names[i] != skip) {
                QVERIFY(DefinirValorString(ServerKey, names[i], values[i]));
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
        m_dialog.user = user;
        m_dialog.password = password;
        m_dialog.button = button;
        modCode::main();
    }

    void expectOneLoginMessage(const QString& text)
    {
        QCOMPARE(m_boxes->shown().size(), 1);
        const core::Message& message = m_boxes->shown().first();
        QCOMPARE(message.text, text);
        QCOMPARE(message.title, QStringLiteral("Login"));
        QVERIFY(message.buttons == core::Buttons::Ok && message.icon == core::Icon::Critical);
        QCOMPARE(m_windowsLoaded, 0);
    }

    void expectLoggedInAs(const QString& user, const QString& password, qint32 lawyer)
    {
        QCOMPARE(QStringList({modCode::UserName, modCode::UserPassword}), QStringList({user, password}));
        QCOMPARE(modCode::AdvogadoID, lawyer);
        QVERIFY(modCode::Connected && data::Data::SqlServer().isOpen());
        QVERIFY(m_window && m_window->visible);
        QCOMPARE(m_boxes->shown().size(), 0);
        QCOMPARE(m_reports->reports().size(), 0);
    }

private Q_SLOTS:
    void initTestCase()
    {
        scramble::modEncriptSerial::VolumeSerial = QStringLiteral("-1234567890");
        m_db = std::make_unique<testsupport::TempDatabase>();
        for (const char* user : {"NULLC", "ZERO", "NOADV", "NOROW"}) {
            m_db->addLogin(QString::fromLatin1(user), QStringLiteral("x"));
        }
        m_db->addLogin(QStringLiteral("orv_app"), QStringLiteral("app-secret"));
        m_db->addLogin(QStringLiteral("JS"), QStringLiteral("js-pass"));
        m_db->addLogin(QStringLiteral("MR"), QStringLiteral("mr-pass"));
        m_db->exec(QStringLiteral("INSERT INTO tbUsers (user_id, descrit, contacto_id) VALUES (1, 'JS', 10), "
                                  "(2, 'MR', 20), (3, 'NULLC', NULL), (4, 'ZERO', 0), (5, 'NOADV', 30)"));
        m_db->exec(QStringLiteral("INSERT INTO tbAdvogados (contacto_id) VALUES (10), (20)"));
    }

    void init()
    {
        data::Data::SqlServer().close();
        data::StatementLog::clear();
        modCode::Connected = false;
        modCode::AdvogadoID = 0;
        modCode::UserName.clear();
        modCode::CounterWindow = nullptr;
        m_windowsLoaded = 0;
        m_dialog = DialogScript();
        freshRegistry();
        // Each seam fixture gives its seam back when it ends: the old one goes before the new one comes.
        m_boxes.reset();
        m_reports.reset();
        m_boxes = std::make_unique<testsupport::ScriptedMessageBoxes>();
        m_reports = std::make_unique<testsupport::RecordedReports>();
        modCode::setCounterWindowFactory([this]() -> CounterWindowInterface* {
            ++m_windowsLoaded;
            m_window = std::make_unique<FakeCounterWindow>();
            return m_window.get();
        });
        m_ended = false;
        core::setEndProgramHandler([this] { m_ended = true; });
        frmLogin::setModalRunner([this](frmLogin& dialog) {
            ++m_dialog.shown;
            dialog.show();
            m_dialog.seen = QStringList{dialog.FXUser()->text(), dialog.FXPassword()->text(),
                                        dialog.FXRecord()->isChecked() ? "ticked" : ""};
            dialog.FXUser()->setText(m_dialog.user);
            dialog.FXPassword()->setText(m_dialog.password);
            dialog.FXRecord()->setChecked(m_dialog.remember.value_or(dialog.FXRecord()->isChecked()));
            dialog.findChild<QPushButton*>(m_dialog.button)->click();
        });
    }

    void cleanup()
    {
        data::StatementFailures::clear();
        core::setEndProgramHandler({});
        // Start-up unloads the login dialog for real on every way out.
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            QVERIFY(widget->objectName() != QStringLiteral("frmLogin"));
        }
    }

    void rememberedLoginNeedsNoDialog()
    {
        rememberLogin("1", "JS", "js-pass");
        General().Run();
        QCOMPARE(m_dialog.shown, 0);
        expectLoggedInAs("JS", "js-pass", 10);
        QCOMPARE(data::Data::SqlServer().connectionString(),
                 "Provider=SQLOLEDB.1;Persist Security Info=False;User ID=orv_app;Password=app-secret;"
                 "Initial Catalog=OrvTest;Data Source=" +
                     m_db->path() + ";Connect Timeout=15");
        QCOMPARE(data::StatementLog::statements(), QStringList({"SELECT * FROM tbUsers WHERE descrit = 'JS'",
                                                                "SELECT * FROM tbAdvogados WHERE contacto_id = 10"}));
        QCOMPARE(userValue("Remember"), "1");
    }

    // Once logged in, Login answers true without the registry and without checking name or password.
    void loginWhileConnectedAnswersAtOnce()
    {
        QVERIFY(modCode::Login("JS", "js-pass"));
        QVERIFY(QFile::remove(m_registry->file("HKEY_LOCAL_MACHINE")));
        QVERIFY(modCode::Login("NOBODY", "wrong"));
        QCOMPARE(modCode::UserName, "JS");
        modCode::Connected = false;
        QVERIFY(!modCode::Login("JS", "js-pass"));
    }

    // The dialog comes up empty unless a remembered login is set; the choice is written after the login,
    // into the per-user key only when ticked creates it.
    void rememberChoice_data()
    {
        QTest::addColumn<bool>("keyExists");
        QTest::addColumn<bool>("tick");
        QTest::addColumn<QStringList>("after"); // Username, Password unscrambled, Remember

        QTest::newRow("first start, not ticked") << false << false << QStringList{"<null>", "<null>", "<null>"};
        QTest::newRow("first start, ticked") << false << true << QStringList{"JS", "js-pass", "1"};
        QTest::newRow("ticked") << true << true << QStringList{"JS", "js-pass", "1"};
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
        m_dialog.remember = tick;
        runMain("JS", "js-pass");

        QCOMPARE(m_dialog.seen, QStringList({"", "", ""}));
        expectLoggedInAs("JS", "js-pass", 10);
        const QString stored = userValue("Password");
        QVERIFY(stored != "js-pass");
        const QString password = stored.isEmpty() || stored == "<null>" ? stored : DencriptSerial(stored);
        QCOMPARE(QStringList({userValue("Username"), password, userValue("Remember")}), after);
    }

    // A refused remembered login brings the dialog up filled; cancelling it writes Remember "0" and shows
    // no message.
    void cancelAfterRefusedRememberedLogin()
    {
        rememberLogin("1", "JS", "old-pass");
        runMain("JS", "js-pass", "Command2");
        QCOMPARE(m_dialog.shown, 1);
        QCOMPARE(m_dialog.seen, QStringList({"JS", "old-pass", "ticked"}));
        QCOMPARE(userValue("Remember"), "0");
        QCOMPARE(m_boxes->shown().size() + m_windowsLoaded, 0);
        QVERIFY(!modCode::Connected && !m_ended);
    }

    // Every way a login can fail ends in the one message, with Remember "0".
    void failedLogin_data()
    {
        QTest::addColumn<QStringList>("login"); // name, password typed; a machine setting and its value
        QTest::addColumn<QStringList>("reported");

        QTest::newRow("wrong password") << QStringList{"JS", "bad", "", ""} << QStringList();
        QTest::newRow("unknown login") << QStringList{"NOBODY", "js-pass", "", ""} << QStringList();
        for (const char* name :
             {"DataServer", "dtSecurityInfo", "dtUser", "dtPassword", "dtInitialCatalog", "dtDataSource"}) {
            QTest::addRow("no %s", name) << QStringList{"JS", "js-pass", name, "<missing>"} << QStringList();
        }
        QTest::newRow("unreachable server")
            << QStringList{"JS", "js-pass", "dtDataSource", "/nonexistent/orvtest.db"} << QStringList();
        // The user's own login works, the shared account is refused: that one is reported.
        QTest::newRow("shared account refused")
            << QStringList{"JS", "js-pass", "dtPassword", EncriptSerial("not-it")} << QStringList{"Login"};
    }

    void failedLogin()
    {
        QFETCH(QStringList, login);
        QFETCH(QStringList, reported);
        const bool missing = login[3] == "<missing>";
        freshRegistry(missing ? login[2] : QString());
        if (!missing && !login[2].isEmpty()) {
            DefinirValorString(ServerKey, login[2], login[3]);
        }
        rememberLogin("1", "JS", "old-pass");
        runMain(login[0], login[1]);

        expectOneLoginMessage(InvalidLogin);
        QCOMPARE(userValue("Remember"), "0");
        QVERIFY(!modCode::Connected);
        QCOMPARE(m_reports->procedures(), reported);
    }

    // No lawyer behind the login, or a failed lookup: the remembered login is forgotten. Lookup errors
    // are reported under rule B (a closed connection is not).
    void noLawyer_data()
    {
        QTest::addColumn<QString>("user");
        QTest::addColumn<int>("failure");
        QTest::addColumn<QString>("failing");
        QTest::addColumn<bool>("reported");

        QTest::newRow("contacto_id null") << "NULLC" << 0 << "" << false;
        QTest::newRow("contacto_id 0") << "ZERO" << 0 << "" << false;
        QTest::newRow("contact not a lawyer") << "NOADV" << 0 << "" << false;
        QTest::newRow("no tbUsers row") << "NOROW" << 0 << "" << false;
        QTest::newRow("users read fails") << "JS" << -2147217900 << "FROM tbUsers" << true;
        QTest::newRow("lawyers read fails") << "JS" << -2147217900 << "FROM tbAdvogados" << true;
        QTest::newRow("closed connection") << "JS" << 3709 << "FROM tbUsers" << false;
    }

    void noLawyer()
    {
        QFETCH(QString, user);
        QFETCH(int, failure);
        QFETCH(QString, failing);
        QFETCH(bool, reported);
        rememberLogin("1", user, user == "JS" ? "js-pass" : "x");
        if (failure != 0) {
            data::StatementFailures::failNext({failure, "Query timeout expired"}, failing);
        }
        modCode::main();

        QCOMPARE(m_dialog.shown, 0);
        expectOneLoginMessage(NoLawyer);
        QCOMPARE(userValue("Remember"), "0");
        QCOMPARE(modCode::AdvogadoID, 0);
        QCOMPARE(m_reports->reports().size(), reported ? 1 : 0);
        if (reported) {
            const testsupport::Report& r = m_reports->reports().first();
            QCOMPARE(
                QStringList({r.application, r.project, r.owner, r.procedure, r.text}),
                QStringList({"Orv Counter Software", "modCode", "modCode", "SetAdvogado", "Query timeout expired"}));
        }
    }

    // The re-login keeps the shared connection (a changed shared password would refuse a new one),
    // takes the new user's values and shows the same counter window again.
    void reLoginReusesSharedConnection()
    {
        runMain("JS", "js-pass");
        const QString sharedText = data::Data::SqlServer().connectionString();
        DefinirValorString(ServerKey, "dtPassword", EncriptSerial("changed"));
        modCode::Connected = false;
        runMain("MR", "mr-pass");

        QCOMPARE(m_dialog.shown, 2);
        expectLoggedInAs("MR", "mr-pass", 20);
        QCOMPARE(data::Data::SqlServer().connectionString(), sharedText);
        QCOMPARE(m_windowsLoaded, 1);
        QCOMPARE(m_window->shows, 2);
    }

    // A cancelled re-login unloads the counter window: visible, it hides; hidden, the program ends.
    void cancelledReLoginUnloadsCounterWindow_data()
    {
        QTest::addColumn<bool>("visible");
        QTest::newRow("window visible") << true;
        QTest::newRow("window hidden") << false;
    }

    void cancelledReLoginUnloadsCounterWindow()
    {
        QFETCH(bool, visible);
        runMain("JS", "js-pass");
        m_window->visible = visible;
        modCode::Connected = false;
        runMain("MR", "mr-pass", "Command2");

        QCOMPARE(m_window->unloads, 1);
        QVERIFY(!m_window->visible);
        QCOMPARE(m_ended, !visible);
    }
};

QTEST_MAIN(TestModCode)
#include "test_modcode.moc"
