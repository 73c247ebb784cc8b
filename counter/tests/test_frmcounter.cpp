#include "windowfixture.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QScreen>
#include <QSystemTrayIcon>
#include <QTabBar>

using testsupport::OfficeFixture;

namespace {

const QString ExitQuestion = QStringLiteral(
    "Atenção: Tem tarefas em progresso.\n\r\n\rTem a certeza que pretende fechar a aplicação?\n\r\n\rNota: mesmo com a "
    "aplicação terminada o contador continuará activo para as tarefas selecionadas.");

} // namespace

class TestFrmCounter : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void theLoadPreparesTheWindow_data()
    {
        QTest::addColumn<bool>("policy");
        QTest::newRow("without #3101 the selector is locked") << false;
        QTest::newRow("with #3101 the selector can be changed") << true;
    }
    void theLoadPreparesTheWindow()
    {
        QFETCH(bool, policy);
        WindowFixture f;
        const QDateTime serverNow(QDate(2009, 11, 20), QTime(14, 30));
        f.office.database().setServerClock(serverNow);
        if (policy) {
            f.office.database().exec(QStringLiteral(
                "INSERT INTO tbSecurityPolicies (policy_id, code, users_groups) VALUES (1, '#3101', '')"));
        }
        counter::frmCounter& window = f.load(false);

        for (const char* name : {"FXData_Inicio", "FXData_Fim"}) {
            QCOMPARE(window.findChild<QDateTimeEdit*>(QLatin1String(name))->dateTime(), serverNow);
        }
        auto* lawyers = window.findChild<QComboBox*>(QStringLiteral("FXAdvogado_ID"));
        QCOMPARE(lawyers->count(), 2);
        QCOMPARE(lawyers->itemText(1), QStringLiteral("Bruno Sá"));
        QCOMPARE(lawyers->currentText(), QStringLiteral("Ana Lopes"));
        QCOMPARE(lawyers->isEnabled(), policy);
        QCOMPARE(f.list().rowCount(), 1);
        QVERIFY(window.hasTrayIcon());
        QCOMPARE(window.trayTip(), QStringLiteral("Orvel"));
        QCOMPARE(session::modCode::CounterWindow, static_cast<session::CounterWindowInterface*>(&window));
        QVERIFY(f.reports.reports().isEmpty());
    }

    void theWindowSitsInTheLowerRightCorner()
    {
        WindowFixture f;
        counter::frmCounter window;
        window.resize(300, 200);
        window.Form_Load();
        const QRect area = window.screen()->availableGeometry();
        QVERIFY(window.x() + window.width() <= area.x() + area.width());
        QVERIFY(window.x() + window.width() >= area.x() + area.width() - 20);
        QVERIFY(window.y() + window.height() <= area.y() + area.height());
        QVERIFY(window.y() > area.y() + area.height() / 2);
    }

    void closingHidesAndExitingWhileHiddenEnds_data()
    {
        QTest::addColumn<bool>("counting");
        QTest::addColumn<core::Answer>("answer");
        QTest::addColumn<bool>("ends");
        QTest::newRow("nothing counted: no question") << false << core::Answer::No << true;
        QTest::newRow("counting, No") << true << core::Answer::No << false;
        QTest::newRow("counting, Yes") << true << core::Answer::Yes << true;
    }
    void closingHidesAndExitingWhileHiddenEnds()
    {
        QFETCH(bool, counting);
        QFETCH(core::Answer, answer);
        QFETCH(bool, ends);
        WindowFixture f;
        counter::frmCounter& window = f.load();
        if (counting) {
            f.toggle(OfficeFixture::Task);
        }
        window.close();
        QVERIFY(!window.isVisible());
        QVERIFY(window.hasTrayIcon());
        QVERIFY(f.boxes.shown().isEmpty());
        f.boxes.setNextAnswers({answer});
        window.findChild<QAction*>(QStringLiteral("mnSair"))->trigger();

        QCOMPARE(f.boxes.shown().size(), counting ? 1 : 0);
        if (counting) {
            const core::Message& asked = f.boxes.shown().first();
            QCOMPARE(asked.text, ExitQuestion);
            QCOMPARE(asked.title, QStringLiteral("Fechar Aplicação"));
            QCOMPARE(asked.buttons, core::Buttons::YesNo);
            QCOMPARE(asked.icon, core::Icon::Question);
        }
        QCOMPARE(f.programEnds, ends ? 1 : 0);
        QCOMPARE(window.hasTrayIcon(), !ends);
        QCOMPARE(f.office.runningCount(), counting ? 1 : 0);
    }

    void theEditorsChangeTheTrayIcon()
    {
        WindowFixture f;
        counter::frmCounter& window = f.load();
        const qint64 normal = window.trayIcon().cacheKey();
        int image = 2;
        window.SetTrayIcon(image, QStringLiteral("A registar"));
        QVERIFY(window.trayIcon().cacheKey() != normal);
        QCOMPARE(window.trayTip(), QStringLiteral("A registar"));
        image = 1;
        window.SetTrayIcon(image);
        QCOMPARE(window.trayIcon().cacheKey(), normal);
        QCOMPARE(window.trayTip(), QStringLiteral("Orvel"));
        image = 9;
        window.SetTrayIcon(image, QStringLiteral("nunca"));
        QCOMPARE(window.trayTip(), QStringLiteral("Orvel"));
        QCOMPARE(f.reports.procedures(), QStringList{QStringLiteral("SetTrayIcon")});
        QVERIFY(window.findChild<QSystemTrayIcon*>()->contextMenu() ==
                window.findChild<QMenu*>(QStringLiteral("mnMenu")));
    }

    void theEditorsAskForARefill_data()
    {
        QTest::addColumn<int>("flag");
        QTest::addColumn<int>("selected");
        QTest::addColumn<QString>("focused");
        QTest::newRow("a task saved selects it") << 4003 << 813 << "ListView1";
        QTest::newRow("a time entry saved, pending tab") << 4004 << 0 << "FXMultitarefa";
        QTest::newRow("anything else") << 1 << 0 << "ListView1";
    }
    void theEditorsAskForARefill()
    {
        QFETCH(int, flag);
        QFETCH(int, selected);
        QFETCH(QString, focused);
        WindowFixture f;
        counter::frmCounter& window = f.load();
        window.findChild<QCheckBox*>(QStringLiteral("FXMultitarefa"))->setFocus();
        f.office.addTask(813, OfficeFixture::Work, QStringLiteral("Nova"), false, f.clock.now());
        window.RemoteKey(813, flag);
        QCOMPARE(f.list().rowCount(), 2);
        QCOMPARE(f.list().selectedRow(), selected == 0 ? -1 : f.row(selected));
        QCOMPARE(window.focusWidget()->objectName(), focused);
    }
};

QTEST_MAIN(TestFrmCounter)
#include "test_frmcounter.moc"
