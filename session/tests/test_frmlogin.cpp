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

// The empty first start, a remembered login and the OK and Cancelar buttons are covered through start-up
// in test_modcode.
class TestFrmLogin : public QObject
{
    Q_OBJECT

    // Shows the dialog, after "Cancelar" when cancelled is set.
    static void show(frmLogin& dialog, bool cancelled)
    {
        dialog.show();
        if (cancelled) {
            dialog.findChild<QPushButton*>("Command2")->click();
            dialog.show();
        }
    }

private Q_SLOTS:
    void initTestCase() { scramble::modEncriptSerial::VolumeSerial = QStringLiteral("-1234567890"); }

    // Any Remember but "0" fills the remembered values and ticks the box; a null Remember is no login.
    // Password holds the stored (scrambled) text.
    void load_data()
    {
        QTest::addColumn<QString>("remember");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QStringList>("shown"); // FXUser, FXPassword, "ticked" or ""

        const QString scrambled = EncriptSerial("segredo");
        QTest::newRow("Remember missing") << QString() << scrambled << QStringList{"", "", ""};
        QTest::newRow("Remember other") << "yes" << scrambled << QStringList{"João", "segredo", "ticked"};
        // Code 1 minus any key character is below 0: not scrambled on this machine.
        QTest::newRow("Password not unscrambled") << "1" << QString(QChar(1)) << QStringList{"João", "", "ticked"};
    }

    void load()
    {
        QFETCH(QString, remember);
        QFETCH(QString, password);
        QFETCH(QStringList, shown);

        testsupport::TempRegistry registry;
        using namespace registry::modRegistry;
        const QString key = QStringLiteral("HKEY_CURRENT_USER\\Software\\Vorlent");
        QVERIFY(CriarChave(key) && DefinirValorString(key, "Username", "João"));
        QVERIFY(DefinirValorString(key, "Password", password));
        QVERIFY(remember.isNull() || DefinirValorString(key, "Remember", remember));
        frmLogin dialog;
        dialog.Form_Load();
        QCOMPARE(QStringList({dialog.FXUser()->text(), dialog.FXPassword()->text(),
                              dialog.FXRecord()->isChecked() ? "ticked" : ""}),
                 shown);
        QCOMPARE(dialog.FXPassword()->echoMode(), QLineEdit::Password);
        QVERIFY(!dialog.isVisible() && !dialog.Cancelado());
    }

    // Enter in the password field hides the dialog as OK does, but leaves Cancelado as it was; in the user
    // field it does nothing; on a focused button it presses that button. Escape does nothing.
    void keys_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("cancelledBefore");
        QTest::addColumn<bool>("hides");
        QTest::addColumn<bool>("cancelado");

        QTest::newRow("Return in FXUser") << "FXUser" << int(Qt::Key_Return) << false << false << false;
        QTest::newRow("Escape") << "FXUser" << int(Qt::Key_Escape) << false << false << false;
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
        show(dialog, cancelledBefore);
        QWidget* target = dialog.findChild<QWidget*>(field);
        target->setFocus();
        QTest::keyClick(target, Qt::Key(key));
        QCOMPARE(dialog.isVisible(), !hides);
        QCOMPARE(dialog.Cancelado(), cancelado);
    }

    // The close box only hides the visible dialog, refusing the unload and keeping Cancelado; once hidden,
    // the unload goes through.
    void closeBoxOnlyHides()
    {
        frmLogin dialog;
        show(dialog, true);
        QVERIFY(!dialog.close());
        QVERIFY(!dialog.isVisible() && dialog.Cancelado());
        QVERIFY(dialog.Unload());
    }
};

QTEST_MAIN(TestFrmLogin)
#include "test_frmlogin.moc"
