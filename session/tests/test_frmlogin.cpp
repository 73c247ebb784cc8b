#include "registry/modregistry.h"
#include "scramble/modencriptserial.h"
#include "session/frmlogin.h"
#include "testsupport/tempregistry.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using scramble::modEncriptSerial::EncriptSerial;
using session::frmLogin;

class TestFrmLogin : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { scramble::modEncriptSerial::VolumeSerial = QStringLiteral("-1234567890"); }

    void controlsCarryTheirTexts()
    {
        frmLogin dialog;
        QCOMPARE(dialog.windowTitle(), "Login Orv Counter");
        const QList<std::pair<const char*, QString>> controls{{"Label1", "Orvel"},
                                                              {"Label2", "LOGIN - Autenticação"},
                                                              {"Label3", "Nome utilizador:"},
                                                              {"Label4", "Palavra-passe:"},
                                                              {"FXRecord", "Recordar a palavra-passe"},
                                                              {"Command1", "OK"},
                                                              {"Command2", "Cancelar"},
                                                              {"FXUser", ""},
                                                              {"FXPassword", ""},
                                                              {"Image2", ""},
                                                              {"Frame1", ""},
                                                              {"Frame2", ""}};
        for (const auto& [name, text] : controls) {
            const QWidget* control = dialog.findChild<QWidget*>(name);
            QVERIFY2(control, name);
            QCOMPARE(control->property("text").toString(), text);
        }
        QCOMPARE(dialog.FXPassword()->echoMode(), QLineEdit::Password);
    }

    // Only a Remember other than "0" fills the remembered values and ticks the box. Null columns are values
    // not written; Password holds the stored (scrambled) text.
    void load_data()
    {
        QTest::addColumn<bool>("keyExists");
        QTest::addColumn<QString>("remember");
        QTest::addColumn<QString>("username");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QStringList>("shown"); // FXUser, FXPassword, "ticked" or ""

        const QString none;
        const QString scrambled = EncriptSerial("segredo");
        QTest::newRow("no per-user key") << false << none << none << none << QStringList{"", "", ""};
        QTest::newRow("Remember missing") << true << none << "JS" << scrambled << QStringList{"", "", ""};
        QTest::newRow("Remember 0") << true << "0"
                                    << "JS" << scrambled << QStringList{"", "", ""};
        QTest::newRow("Remember 1") << true << "1"
                                    << "João" << scrambled << QStringList{"João", "segredo", "ticked"};
        QTest::newRow("Remember other") << true << "yes"
                                        << "JS" << scrambled << QStringList{"JS", "segredo", "ticked"};
        QTest::newRow("no Username") << true << "1" << none << scrambled << QStringList{"", "segredo", "ticked"};
        QTest::newRow("no Password") << true << "1"
                                     << "JS" << none << QStringList{"JS", "", "ticked"};
        // Code 1 minus any key character is below 0: not scrambled on this machine.
        QTest::newRow("Password not unscrambled") << true << "1"
                                                  << "JS" << QString(QChar(1)) << QStringList{"JS", "", "ticked"};
    }

    void load()
    {
        QFETCH(bool, keyExists);
        QFETCH(QString, remember);
        QFETCH(QString, username);
        QFETCH(QString, password);
        QFETCH(QStringList, shown);

        testsupport::TempRegistry registry;
        const QString key = QStringLiteral("HKEY_CURRENT_USER\\Software\\Vorlent");
        QVERIFY(!keyExists || registry::modRegistry::CriarChave(key));
        const QList<std::pair<const char*, QString>> values{
            {"Remember", remember}, {"Username", username}, {"Password", password}};
        for (const auto& [name, value] : values) {
            QVERIFY(value.isNull() || registry::modRegistry::DefinirValorString(key, name, value));
        }
        frmLogin dialog;
        dialog.Form_Load();
        QCOMPARE(QStringList({dialog.FXUser()->text(), dialog.FXPassword()->text(),
                              dialog.FXRecord()->isChecked() ? "ticked" : ""}),
                 shown);
        QVERIFY(!dialog.isVisible() && !dialog.Cancelado());
    }

    // Enter hides the dialog from the password field without changing Cancelado; in the user field it does
    // nothing; on a focused button it presses that button. Escape does nothing.
    void keys_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("cancelledBefore");
        QTest::addColumn<bool>("hides");
        QTest::addColumn<bool>("cancelado");

        QTest::newRow("Return in FXUser") << "FXUser" << int(Qt::Key_Return) << false << false << false;
        QTest::newRow("Escape") << "FXUser" << int(Qt::Key_Escape) << false << false << false;
        QTest::newRow("Return in FXPassword") << "FXPassword" << int(Qt::Key_Return) << false << true << false;
        QTest::newRow("keypad Enter in FXPassword") << "FXPassword" << int(Qt::Key_Enter) << false << true << false;
        QTest::newRow("Return in FXPassword after Cancelar")
            << "FXPassword" << int(Qt::Key_Return) << true << true << true;
        QTest::newRow("Return on focused OK") << "Command1" << int(Qt::Key_Return) << true << true << false;
    }

    void keys()
    {
        QFETCH(QString, field);
        QFETCH(int, key);
        QFETCH(bool, cancelledBefore);
        QFETCH(bool, hides);
        QFETCH(bool, cancelado);

        frmLogin dialog;
        dialog.show();
        if (cancelledBefore) {
            dialog.findChild<QPushButton*>("Command2")->click();
            dialog.show();
        }
        QWidget* target = dialog.findChild<QWidget*>(field);
        target->setFocus();
        QTest::keyClick(target, Qt::Key(key));
        QCOMPARE(dialog.isVisible(), !hides);
        QCOMPARE(dialog.Cancelado(), cancelado);
    }

    // Every way out only hides the visible dialog (the close box refuses the unload and keeps Cancelado);
    // once hidden, the unload goes through.
    void waysOut_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<bool>("cancelado");
        QTest::newRow("OK") << QStringList{"Command1"} << false;
        QTest::newRow("Cancelar") << QStringList{"Command2"} << true;
        QTest::newRow("close box") << QStringList{"close"} << false;
        QTest::newRow("Cancelar then close box") << QStringList{"Command2", "close"} << true;
    }

    void waysOut()
    {
        QFETCH(QStringList, steps);
        QFETCH(bool, cancelado);

        frmLogin dialog;
        for (const QString& step : steps) {
            dialog.show();
            if (step == "close") {
                QVERIFY(!dialog.close());
            } else {
                dialog.findChild<QPushButton*>(step)->click();
            }
            QVERIFY(!dialog.isVisible());
        }
        QCOMPARE(dialog.Cancelado(), cancelado);
        QVERIFY(dialog.Unload());
    }
};

QTEST_MAIN(TestFrmLogin)
#include "test_frmlogin.moc"
