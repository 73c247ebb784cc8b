#include "windowfixture.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QSystemTrayIcon>

using testsupport::OfficeFixture;

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
        QCOMPARE(lawyers->currentText(), QStringLiteral("Ana Lopes"));
        QCOMPARE(lawyers->isEnabled(), policy);
        QCOMPARE(session::modCode::CounterWindow, static_cast<session::CounterWindowInterface*>(&window));
        QVERIFY(f.reports.reports().isEmpty());
    }

    // The close box only hides; "Sair", from the tray icon's menu, asks first while a task is counted,
    // and a task left counting keeps running after the exit.
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
        auto* sair = window.findChild<QAction*>(QStringLiteral("mnSair"));
        QVERIFY(window.findChild<QSystemTrayIcon*>()->contextMenu()->actions().contains(sair));
        f.boxes.setNextAnswers({answer});
        sair->trigger();

        QCOMPARE(f.boxes.shown().size(), counting ? 1 : 0);
        if (counting) {
            QCOMPARE(f.boxes.shown().first().buttons, core::Buttons::YesNo);
        }
        QCOMPARE(f.programEnds, ends ? 1 : 0);
        QCOMPARE(window.hasTrayIcon(), !ends);
        QCOMPARE(f.office.runningCount(), counting ? 1 : 0);
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
