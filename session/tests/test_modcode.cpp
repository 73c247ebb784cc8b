#include "core/loginthrottle.h"
#include "data/connection.h"
#include "data/engines/embedded.h"
#include "registry/modregistry.h"
#include "scramble/modencriptserial.h"
#include "session/frmlogin.h"
#include "session/modcode.h"
#include "testsupport/login.h"
#include "testsupport/recordedreports.h"
#include "testsupport/scriptedmessageboxes.h"
#include "testsupport/tempdatabase.h"
#include "testsupport/tempregistry.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTcpServer>
#include <QTest>

#include <memory>
#include <optional>

using namespace Qt::StringLiterals;

using namespace session;
using namespace registry::modRegistry;
using scramble::modEncriptSerial::EncriptSerial;

namespace {

const QString UserKey = u"HKEY_CURRENT_USER\\Software\\Vorlent"_s;
const QString ServerKey = u"HKEY_LOCAL_MACHINE\\SOFTWARE\\Vorlent\\ORVSQL"_s;
const QString InvalidLogin = u"O nome de utilizador ou palavra-passe fornecidos são inválidos."_s;
const QString NoLawyer = u"Não existe nenhum Advogado associado ao utilizador indicado."_s;

struct FakeCounterWindow : CounterWindowInterface {
    void showWindow() override { ++shows; }
    void unloadWindow() override { ++unloads; }
    int shows = 0, unloads = 0;
};

// One refused login: what the user types, what is wrong around it, and how start-up ends.
struct Refusal {
    QString user, password;
    QString setting = {}; // a machine setting left out ("name") or changed ("name=value")
    QString cause = {};   // when set, in the last report: why the server refused
    QString message = InvalidLogin;
    QStringList reported = {"Login", "Login"}; // the procedures that report an error
    QString failing = {};                      // a statement that fails once
};

// Remember before (null: none; "<no key>"), name typed, box ticked; dialogs shown, Username|Password|Remember.
struct Start {
    QString remember, typed;
    bool tick;
    int dialogs;
    QString after;
};

QString userValue(const QString& name)
{
    return ObterValorString(UserKey, name).value_or(u"<null>"_s);
}

// The field a key is pressed in (the key unknown: the close box), whether Cancelar was pressed before, whether
// the dialog hides and Cancelado after.
struct Keys {
    QString field;
    Qt::Key key;
    bool cancelledBefore, hides, cancelado;
};

} // namespace

class TestModCode : public QObject
{
    Q_OBJECT

    std::unique_ptr<testsupport::TempDatabase> m_db;
    std::unique_ptr<testsupport::TempDatabase> m_otherOffice; // where MR's password is "x"
    QList<int> m_waits;                                       // the throttle's waits, in seconds
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

    // A fresh registry with the machine's settings; setting "name" leaves one out, "name=value" changes it.
    void freshRegistry(const QString& setting = QString())
    {
        m_registry.emplace();
        const QString out = u"HKEY_LOCAL_MACHINE\\SOFTWARE\\Vorlent\\Shared\\OUT"_s;
        QVERIFY(CriarChave(out) && CriarChave(ServerKey));
        QStringList settings{"DataServer=ORVSQL",
                             "dtSecurityInfo=False",
                             "dtUser=orv_app",
                             "dtPassword=" + EncriptSerial("app-secret"),
                             "dtInitialCatalog=" + m_db->databaseName(),
                             "dtDataSource=" + m_db->dataSource()};
        if (!m_db->engineSetting().isEmpty()) {
            // The private test server has no certificate.
            settings << "dtEngine=" + m_db->engineSetting() << "dtEncrypt=0";
        }
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
        if (!remember.isNull()) {
            DefinirValorString(UserKey, u"Remember"_s, remember);
        }
        DefinirValorString(UserKey, u"Username"_s, user);
        DefinirValorString(UserKey, u"Password"_s, EncriptSerial(password));
    }

    void runMain(const QString& user, const QString& password, const QString& button = u"Command1"_s)
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
        scramble::modEncriptSerial::VolumeSerial = u"-1234567890"_s;
        m_db = std::make_unique<testsupport::TempDatabase>();
        const QStringList logins{"NULLC:x",    "ZERO:x",     "NOADV:x",        "NOROW:x", "orv_app:app-secret",
                                 "JS:js-pass", "MR:mr-pass", "QP:pa;ss \"x\" "};
        for (const QString& login : logins) {
            m_db->addLogin(login.section(u':', 0, 0), login.section(u':', 1));
        }
        m_db->exec(u"INSERT INTO tbUsers (user_id, descrit, contacto_id) VALUES (1, 'JS', 10), "
                   "(2, 'MR', 20), (3, 'NULLC', NULL), (4, 'ZERO', 0), (5, 'NOADV', 30), (6, 'QP', 40)"_s);
        m_db->exec(u"INSERT INTO tbAdvogados (contacto_id) VALUES (10), (20), (40)"_s);
        m_otherOffice = std::make_unique<testsupport::TempDatabase>();
        m_otherOffice->addLogin("MR", "x");
        if (testsupport::TempDatabase::onPostgres()) {
            // A database whose doors are open to its owner only.
            m_otherOffice->exec(u"REVOKE CONNECT ON DATABASE \"%1\" FROM PUBLIC"_s.arg(m_otherOffice->databaseName()));
        }
        core::LoginThrottle::setWait([this](int seconds) { m_waits.append(seconds); });
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
        testsupport::signOut();
        m_window.reset();
        m_shown = 0;
        m_tick = false;
        m_waits.clear();
        core::LoginThrottle::succeeded();
        freshRegistry();
        m_boxes.emplace();
        m_reports.emplace();
    }

    void cleanup()
    {
        data::StatementFailures::clear();
        // Start-up unloads the login dialog for real on every way out.
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            QVERIFY(widget->objectName() != u"frmLogin"_s);
        }
    }

    // A good remembered login needs no dialog; while connected, Login answers at once.
    void rememberedLoginNeedsNoDialog()
    {
        rememberLogin("1", "JS", "js-pass");
        const int checks = data::embedded::passwordChecksOnThisThread();
        General().Run();
        // The embedded engine checks the shared account's password on another thread.
        QCOMPARE(data::embedded::passwordChecksOnThisThread() - checks,
                 testsupport::TempDatabase::onPostgres() ? 0 : 1);
        expectLoggedInAs("JS", "js-pass", 10);
        QCOMPARE(data::Data::SqlServer().connectionString(), m_db->connectionText("orv_app", "app-secret"));
        QCOMPARE(data::StatementLog::statements(), QStringList({"SELECT * FROM tbUsers WHERE descrit = 'JS'",
                                                                "SELECT * FROM tbAdvogados WHERE contacto_id = 10"}));

        m_registry->clearRoot("HKEY_LOCAL_MACHINE");
        QVERIFY(modCode::Login("NOBODY", "wrong"));
        QCOMPARE(modCode::UserName, "JS");
        modCode::Connected = false;
        QVERIFY(!modCode::Login("JS", "js-pass"));
    }

    // Each password check of a remembered login runs once, again only when a hash changes.
    void aRememberedLoginIsVerifiedOnce()
    {
        if (testsupport::TempDatabase::onPostgres()) {
            QSKIP("The server checks the passwords itself");
        }
        rememberLogin("1", "JS", "js-pass");
        const auto startAgain = [&] {
            const int before = data::embedded::passwordChecks();
            modCode::Connected = false;
            data::Data::SqlServer().close();
            General().Run();
            return data::embedded::passwordChecks() - before;
        };
        QCOMPARE(startAgain(), 2);
        QCOMPARE(userValue("Verified").split(u';').size(), 2);
        const auto written = m_registry->rootStamp("HKEY_CURRENT_USER");
        QCOMPARE(startAgain(), 0);
        expectLoggedInAs("JS", "js-pass", 10);
        QCOMPARE(m_registry->rootStamp("HKEY_CURRENT_USER"), written);
        // Answers past the fourth, and text that is no answer, are not taken.
        const QString kept = userValue("Verified");
        DefinirValorString(UserKey, "Verified", QStringList(4, QString(64, u'0')).join(u';') + ";x;" + kept);
        QCOMPARE(startAgain(), 2);

        m_db->addLogin("orv_app", "app-secret");
        QCOMPARE(startAgain(), 1);
        QCOMPARE(userValue("Verified").split(u';').size(), 3);

        // A wrong remembered password is verified and refused; a login not remembered keeps no answers.
        rememberLogin("1", "JS", "wrong");
        m_user = "JS";
        m_password = "js-pass";
        QCOMPARE(startAgain(), 1);
        QCOMPARE(m_shown, 1);
        QVERIFY(modCode::Connected && modCode::UserPassword == "js-pass");
        QCOMPARE(userValue("Verified"), QString());
    }

    // Any Remember but "0" skips the dialog; a ticked box remembers the normalised name, unticked blanks it.
    void rememberedLogin_data()
    {
        QTest::addColumn<Start>("row");
        const QString js = "JS|" + EncriptSerial("js-pass") + "|";
        // Remember "1" is the good remembered login above.
        QTest::newRow("a blank") << Start{" ", "JS", false, 0, js + "1"};
        QTest::newRow("0, not ticked") << Start{"0", "JS", false, 1, "||0"};
        QTest::newRow("none, not ticked") << Start{QString(), "JS", false, 1, "||0"};
        QTest::newRow("first start, not ticked") << Start{"<no key>", "JS", false, 1, "<null>|<null>|<null>"};
        for (const char* typed : {"JS", " JS", "JS ", "js", "  jS  "}) {
            QTest::addRow("first start, '%s' ticked", typed) << Start{"<no key>", typed, true, 1, js + "1"};
        }
    }
    void rememberedLogin()
    {
        QFETCH(Start, row);
        if (row.remember != "<no key>") {
            rememberLogin(row.remember, "JS", "js-pass");
        }
        m_tick = row.tick;
        runMain(row.typed, "js-pass");
        QCOMPARE(m_shown, row.dialogs);
        QVERIFY(row.dialogs == 0 || m_seen == QStringList({"", "", ""}));
        expectLoggedInAs("JS", "js-pass", 10);
        QCOMPARE(QStringList({userValue("Username"), userValue("Password"), userValue("Remember")}).join(u'|'),
                 row.after);
    }

    // Cancelling the dialog after a refused remembered login writes Remember "0" and ends quietly. The dialog came
    // up with the remembered login, its password unscrambled or, when it cannot be, left out.
    void cancelAfterRefusedRememberedLogin_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("shown");
        QTest::newRow("scrambled") << EncriptSerial("old-pass") << "old-pass";
        // Code 1 minus any key character is below 0: not scrambled on this machine.
        QTest::newRow("not unscrambled") << QString(QChar(1)) << "";
    }
    void cancelAfterRefusedRememberedLogin()
    {
        QFETCH(QString, stored);
        QFETCH(QString, shown);
        rememberLogin("1", "JS", "old-pass");
        DefinirValorString(UserKey, u"Password"_s, stored);
        runMain("JS", "js-pass", "Command2");
        QCOMPARE(m_shown, 1);
        QCOMPARE(m_seen, QStringList({"JS", shown, "ticked"}));
        QCOMPARE(userValue("Remember"), "0");
        QVERIFY(m_boxes->shown().isEmpty() && !modCode::Connected && !m_window);
    }

    // Every refused login ends in one "Login" message and forgets the remembered login.
    void refusedLogin_data()
    {
        QTest::addColumn<Refusal>("refusal");
        const auto add = [](const char* name, const Refusal& refusal) { QTest::newRow(name) << refusal; };
        // The user sees one message; the causes, the remembered login's too, go to the error log.
        add("wrong password", {"JS", "bad"});
        for (const char* name :
             {"DataServer", "dtSecurityInfo", "dtUser", "dtPassword", "dtInitialCatalog", "dtDataSource"}) {
            QTest::addRow("no %s", name) << Refusal{"JS", "js-pass", name};
        }
        add("unreachable server", {"JS", "js-pass", "dtDataSource=/nonexistent/orvtest.db"});
        add("catalog refused", {"JS", "js-pass", "dtInitialCatalog=Other"});
        add("shared account refused", {"JS", "js-pass", "dtPassword=" + EncriptSerial("not-it")});
        add("contacto_id null", {"NULLC", "x", "", "", NoLawyer, {"Login"}});
        add("contacto_id 0", {"ZERO", "x", "", "", NoLawyer, {"Login"}});
        add("contact not a lawyer", {"NOADV", "x", "", "", NoLawyer, {"Login"}});
        add("no tbUsers row", {"NOROW", "x", "", "", NoLawyer, {"Login"}});
        add("users read fails", {"JS", "js-pass", "", "", NoLawyer, {"Login", "SetAdvogado"}, "SELECT * FROM tbUsers"});
        // What is typed as a password is a value: it can neither name another login nor another file.
        add("password naming another user", {"MR", "js-pass;User ID=JS"});
        add("password naming another file", {"MR", "x;Data Source=" + m_otherOffice->path() + ";X='"});
        add("apostrophe in the name", {"J'S", "js-pass"});
        add("a password typed as the name", {"Xy7-segredo", "js-pass"});
        if (testsupport::TempDatabase::onPostgres()) {
            QTcpServer taken; // its port is given back at once, with nothing listening
            taken.listen(QHostAddress::LocalHost);
            add("server: wrong password", {"JS", "bad", "", "password authentication failed"});
            add("server: database closed to the role",
                {"JS", "js-pass", "dtInitialCatalog=" + m_otherOffice->databaseName(), "permission denied"});
            add("server: no such database", {"JS", "js-pass", "dtInitialCatalog=orv_no_such_office", "does not exist"});
            add("server: nothing listens",
                {"JS", "js-pass", u"dtDataSource=127.0.0.1,%1"_s.arg(taken.serverPort()), "Connection refused"});
        }
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
        if (refusal.message == InvalidLogin && !refusal.setting.startsWith("dtPassword")) {
            QCOMPARE(modCode::UserName, QString()); // the user's own credentials were refused
        }
        // The typed login is tried last; its cause is the last report.
        QVERIFY2(m_reports->reports().last().text.contains(refusal.cause),
                 qPrintable(m_reports->reports().last().text));
        // A name the office does not know is left out of the log; a known one is kept.
        const bool known = !QStringList{"NOROW", "J'S", "Xy7-segredo"}.contains(refusal.user);
        for (const auto& report : m_reports->reports()) {
            if (!known && report.procedure == u"Login"_s) {
                QVERIFY2(!report.text.contains(refusal.user, Qt::CaseInsensitive), qPrintable(report.text));
            }
            QVERIFY(!report.text.contains(QLatin1String("Password=")));
            QVERIFY2(!report.text.contains(refusal.password) && !report.text.contains("old-pass") &&
                         !report.text.contains("app-secret"),
                     qPrintable(report.text));
        }
    }

    // A server that never answers is given up after the 15-second time-out, the cause logged.
    void silentServerIsGivenUpWithinTheTimeOut()
    {
        if (!testsupport::TempDatabase::onPostgres()) {
            QSKIP("the embedded engine has no server to wait for");
        }
        QTcpServer silent;
        QVERIFY(silent.listen(QHostAddress::LocalHost));
        freshRegistry(u"dtDataSource=127.0.0.1,%1"_s.arg(silent.serverPort()));
        QElapsedTimer timer;
        timer.start();
        QVERIFY(!modCode::Login("JS", "js-pass"));
        QVERIFY2(timer.elapsed() >= 14000 && timer.elapsed() < 20000, qPrintable(QString::number(timer.elapsed())));
        QCOMPARE(m_reports->procedures(), QStringList{"Login"});
        QVERIFY2(m_reports->reports().first().text.contains(QLatin1String("timeout"), Qt::CaseInsensitive),
                 qPrintable(m_reports->reports().first().text));
    }

    // Failures in a row wait a second more each, up to five; a failed re-login keeps the old user.
    void repeatedFailuresAreSlowed()
    {
        for (int i = 0; i < 6; ++i) {
            runMain("JS", "bad");
        }
        QCOMPARE(m_waits, QList<int>({1, 2, 3, 4, 5, 5}));
        runMain("JS", "js-pass");
        QCOMPARE(m_waits.size(), 6);
        const qsizetype refusals = m_boxes->shown().size();
        modCode::Connected = false;
        runMain("MR", "wrong");
        QCOMPARE(m_waits.last(), 1);
        QCOMPARE(m_boxes->shown().size(), refusals + 1);
        QCOMPARE(modCode::UserName, "JS");
        QCOMPARE(modCode::AdvogadoID, 10);
        QCOMPARE(m_window->unloads, 1);
    }

    // An empty password is no password: the server's client library would otherwise take one from the environment.
    void anEmptyPasswordIsRefused()
    {
        qputenv("PGPASSWORD", "js-pass");
        const bool loggedIn = modCode::Login("JS", "");
        qunsetenv("PGPASSWORD");
        QVERIFY(!loggedIn);
    }

    // A re-login keeps the shared connection and the counter window (a failed one unloads it: see above).
    void reLoginReusesSharedConnection()
    {
        runMain("JS", "js-pass");
        const QString sharedText = data::Data::SqlServer().connectionString();
        DefinirValorString(ServerKey, "dtPassword", EncriptSerial("changed"));
        modCode::Connected = false;
        m_tick = true;
        runMain("QP", "pa;ss \"x\" ");

        QCOMPARE(m_shown, 2);
        expectLoggedInAs("QP", "pa;ss \"x\" ", 40);
        QCOMPARE(userValue("Password"), EncriptSerial("pa;ss \"x\" "));
        QCOMPARE(data::Data::SqlServer().connectionString(), sharedText);
        QCOMPARE(m_window->shows, 2); // loaded once, shown twice
    }

    // Enter in the password or on a button hides the dialog; in the user field, or Escape, nothing.
    void dialogKeys_data()
    {
        QTest::addColumn<Keys>("row");
        const auto row = [](const char* name, const Keys& keys) { QTest::newRow(name) << keys; };
        row("Return in FXUser", {"FXUser", Qt::Key_Return, false, false, false});
        row("Escape", {"FXUser", Qt::Key_Escape, false, false, false});
        row("keypad Enter in FXPassword", {"FXPassword", Qt::Key_Enter, false, true, false});
        row("Return in FXPassword after Cancelar", {"FXPassword", Qt::Key_Return, true, true, true});
        row("Return on focused OK", {"Command1", Qt::Key_Return, true, true, false});
        // The close box only hides the visible dialog, refusing the unload and keeping Cancelado.
        row("the close box after Cancelar", {"", Qt::Key_unknown, true, true, true});
    }

    void dialogKeys()
    {
        QFETCH(Keys, row);
        const auto [field, key, cancelledBefore, hides, cancelado] = row;

        frmLogin dialog;
        QCOMPARE(dialog.FXPassword()->echoMode(), QLineEdit::Password);
        dialog.show();
        if (cancelledBefore) {
            dialog.findChild<QPushButton*>("Command2")->click();
            dialog.show();
        }
        if (key == Qt::Key_unknown) {
            QVERIFY(!dialog.close());
        } else {
            QWidget* target = dialog.findChild<QWidget*>(field);
            target->setFocus();
            QTest::keyClick(target, key);
        }
        QCOMPARE(dialog.isVisible(), !hides);
        QCOMPARE(dialog.Cancelado(), cancelado);
        // Once hidden, the unload goes through.
        QVERIFY(!hides || dialog.Unload());
    }
};

QTEST_MAIN(TestModCode)
#include "test_modcode.moc"
