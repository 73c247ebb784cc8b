#include "core/loginthrottle.h"
#include "counter/counterreports.h"
#include "counter/statistics/statisticspanel.h"
#include "counter/trayicon.h"
#include "counter/watch/absencequestion.h"
#include "counter/windowplacement.h"
#include "data/office/machinesettings.h"
#include "scramble/modencriptserial.h"
#include "session/frmlogin.h"
#include "testsupport/tempregistry.h"
#include "testsupport/windowfixture.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QFontMetrics>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScopeGuard>
#include <QScreen>
#include <QSystemTrayIcon>
#include <QTabBar>
#include <QToolButton>
#include <QTreeView>

using testsupport::OfficeFixture;

class TestFrmCounter : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The pickers start at the server's moment, and the selector shows the logged-in lawyer, even one that is not
    // first in the list. (Whether it may change is the statistics' and the re-login's matter.)
    void theLoadPreparesTheWindow_data()
    {
        QTest::addColumn<int>("lawyer");
        QTest::addColumn<QString>("shown");
        QTest::newRow("the first lawyer") << int(OfficeFixture::Lawyer) << QStringLiteral("Ana Lopes");
        QTest::newRow("a lawyer second in the list") << int(OfficeFixture::OtherLawyer) << QStringLiteral("Bruno Sá");
    }
    void theLoadPreparesTheWindow()
    {
        QFETCH(int, lawyer);
        QFETCH(QString, shown);
        WindowFixture f;
        session::modCode::AdvogadoID = lawyer;
        const QDateTime serverNow(QDate(2009, 11, 20), QTime(14, 30));
        f.clock.set(serverNow.addSecs(20));
        f.office.database().setServerClock(serverNow);
        counter::frmCounter& window = f.load(false);

        for (const char* name : {"FXData_Inicio", "FXData_Fim"}) {
            QCOMPARE(window.findChild<QDateTimeEdit*>(QLatin1String(name))->dateTime(), serverNow);
        }
        auto* lawyers = window.findChild<QComboBox*>(QStringLiteral("FXAdvogado_ID"));
        QCOMPARE(lawyers->count(), 2);
        QCOMPARE(lawyers->currentText(), shown);
        QVERIFY(!lawyers->isHidden());
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
        // A second start of the program brings the hidden window back.
        window.showWindow();
        QVERIFY(window.isVisible() && !window.isMinimized());
        window.close();
        QVERIFY(!window.isVisible());
        QVERIFY(f.part<counter::TrayIcon>().added());
        QVERIFY(f.boxes.shown().isEmpty());
        auto* sair = window.findChild<QAction*>(QStringLiteral("mnSair"));
        QVERIFY(window.findChild<QSystemTrayIcon*>()->contextMenu()->actions().contains(sair));
        f.boxes.setNextAnswers({answer});
        sair->trigger();

        QCOMPARE(f.boxes.shown().size(), counting ? 1 : 0);
        if (counting) {
            const core::Message& question = f.boxes.shown().first();
            // The parts are joined by line feed, carriage return, line feed, carriage return.
            QCOMPARE(question.text,
                     QStringLiteral("Atenção: Tem tarefas em progresso.\n\r\n\rTem a certeza que pretende "
                                    "fechar a aplicação?\n\r\n\rNota: mesmo com a aplicação terminada "
                                    "o contador continuará activo para as tarefas selecionadas."));
            QCOMPARE(question.title, QStringLiteral("Fechar Aplicação"));
            QCOMPARE(question.buttons, core::Buttons::YesNo);
        }
        QCOMPARE(f.programEnds, ends ? 1 : 0);
        QCOMPARE(f.part<counter::TrayIcon>().added(), !ends);
        QCOMPARE(f.office.runningCount(), counting ? 1 : 0);
    }

    // Without a notification area the window offers the tray menu itself, the close box minimises it so the
    // task bar still reaches it, and "Sair" ends as from a hidden window. An area that appears later gets
    // the icon and takes the menu back.
    void withoutANotificationArea()
    {
        WindowFixture f;
        bool available = false;
        counter::TrayIcon::setAvailabilityProbe([&available] { return available; });
        counter::frmCounter& window = f.load();
        auto* button = window.findChild<QToolButton*>(QStringLiteral("MenuButton"));
        QVERIFY(button && button->isVisible());
        // Every input of the window, the menu button included, has a name a screen reader can say.
        int named = 0;
        for (QWidget* input : window.findChildren<QWidget*>()) {
            const bool isInput = qobject_cast<QAbstractButton*>(input) || qobject_cast<QComboBox*>(input) ||
                                 qobject_cast<QAbstractSpinBox*>(input) || qobject_cast<QLineEdit*>(input) ||
                                 qobject_cast<QTabBar*>(input) || input->inherits("counter::ListView");
            // Inner parts of a control (a date picker's editor, a list's scroll bars) carry no name of ours.
            if (isInput && !input->objectName().isEmpty() && !input->objectName().startsWith(QLatin1String("qt_"))) {
                QVERIFY2(!input->accessibleName().isEmpty(), qPrintable(input->objectName()));
                ++named;
            }
        }
        QVERIFY(named >= 10);
        QStringList entries;
        for (QAction* action : button->menu()->actions()) {
            if (!action->isSeparator()) {
                entries << action->objectName();
            }
        }
        QCOMPARE(entries,
                 QStringList({"mnContador", "mnNovaTarefa", "mnPreferencias", "mnLembrete", "mnLogin", "mnSair"}));
        testsupport::keepScreenshot(window, QStringLiteral("counter-without-tray"));
        button->menu()->adjustSize();
        testsupport::keepScreenshot(*button->menu(), QStringLiteral("counter-without-tray-menu"));

        window.close();
        QVERIFY(window.isVisible() && window.isMinimized());
        window.findChild<QAction*>(QStringLiteral("mnContador"))->trigger();
        QVERIFY(window.isVisible() && !window.isMinimized());
        window.close();

        f.toggle(OfficeFixture::Task);
        f.boxes.setNextAnswers({core::Answer::Yes});
        window.findChild<QAction*>(QStringLiteral("mnSair"))->trigger();
        QCOMPARE(f.boxes.shown().size(), 1);
        QCOMPARE(f.boxes.shown().first().title, QStringLiteral("Fechar Aplicação"));
        QCOMPARE(f.programEnds, 1);

        WindowFixture g;
        counter::TrayIcon::setAvailabilityProbe([&available] { return available; });
        counter::frmCounter& second = g.load();
        available = true;
        g.part<counter::TrayIcon>().checkAvailability();
        QVERIFY(g.part<counter::TrayIcon>().inTray());
        QVERIFY(second.findChild<QToolButton*>(QStringLiteral("MenuButton"))->isHidden());
        second.close();
        QVERIFY(!second.isVisible());
    }

    void theEditorsAskForARefill_data()
    {
        QTest::addColumn<int>("flag");
        QTest::addColumn<int>("selected");
        QTest::addColumn<QString>("focused");
        QTest::newRow("a task saved selects it") << 4003 << 813 << "ListView1";
        QTest::newRow("a time entry saved, pending tab") << 4004 << 0 << "FXMultitarefa";
        QTest::newRow("anything else") << 1 << 0 << "ListView1";
        QTest::newRow("no flag") << 0 << 0 << "ListView1";
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
        // The list hands its focus to the tree inside it.
        const QWidget* target = window.findChild<QWidget*>(focused);
        QVERIFY(window.focusWidget() == target || target->isAncestorOf(window.focusWidget()));
    }

    // The icon shows image Image_Index of ImageList1 with the tip, cut to 63 characters, or "Orvel".
    void theEditorsSetTheTrayIcon_data()
    {
        QTest::addColumn<int>("image");
        QTest::addColumn<QString>("tip");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("reports");
        QTest::newRow("a tip") << 2 << QStringLiteral("A contar") << QStringLiteral("A contar") << 0;
        QTest::newRow("no tip") << 3 << QString() << QStringLiteral("Orvel") << 0;
        QTest::newRow("a long tip") << 1 << QString(70, u'x') << QString(63, u'x') << 0;
        QTest::newRow("no such image") << 4 << QStringLiteral("Nada") << QStringLiteral("Orvel") << 1;
    }
    void theEditorsSetTheTrayIcon()
    {
        QFETCH(int, image);
        QFETCH(QString, tip);
        QFETCH(QString, shown);
        QFETCH(int, reports);
        WindowFixture f;
        counter::frmCounter& window = f.load();
        window.SetTrayIcon(image, tip);
        const counter::TrayIcon& tray = f.part<counter::TrayIcon>();
        QCOMPARE(tray.tip(), shown);
        const int expectedImage = reports == 0 ? image : 1;
        QCOMPARE(tray.icon().pixmap(16).toImage(), tray.images().image(expectedImage).pixmap(16).toImage());
        QCOMPARE(f.reports.procedures(), reports == 0 ? QStringList() : QStringList{QStringLiteral("SetTrayIcon")});
    }

    // "Refazer Login" as somebody else shows the new user's world before anything is counted: the pending
    // list, the selector and whether it may change, and on the statistics tab the new lawyer's entries and
    // total from the server's day, never the last user's, and the new user's count left running since an earlier
    // day is asked about as at start-up. While a task counts no other login is offered.
    void aReloginAsAnotherLawyerShowsThatLawyersWorld()
    {
        scramble::modEncriptSerial::VolumeSerial = QStringLiteral("-1234567890");
        testsupport::TempRegistry registry;
        WindowFixture f;
        testsupport::TempDatabase& db = f.office.database();
        db.addLogin("ana", "pw-ana");
        db.addLogin("bruno", "pw-bruno");
        db.exec("UPDATE tbUsers SET code = 'ANA' WHERE descrit = 'ana'");
        db.exec("INSERT INTO tbUsers (user_id, descrit, contacto_id, code) VALUES (77, 'bruno', 10, 'BRU')");
        f.grantChoice(QStringLiteral("ANA"));
        f.office.addWork(78, OfficeFixture::Case, OfficeFixture::OtherLawyer, QStringLiteral("Recurso"));
        f.office.addTask(900, 78, QStringLiteral("Preparar recurso"));
        const QString today = f.clock.now().toString(QStringLiteral("yyyy-MM-dd"));
        f.addEntries({QStringLiteral("1, '%1 08:00:00', '%1 09:00:00', 9, 1, 30, 402, 0").arg(today),
                      QStringLiteral("2, '%1 08:00:00', '%1 09:00:00', 10, 1, 50, 402, 0").arg(today)});
        data::MachineSettings{"ORVSQL", "False", db.user(), db.password(), db.catalog(), db.path(), {}, {}}.write();
        core::LoginThrottle::setWait([](int) {});

        counter::frmCounter& window = f.load();
        auto* lawyers = &f.child<QComboBox>("FXAdvogado_ID");
        auto* tabs = &f.child<QTabBar>("TabStrip1");
        auto& entries = f.child<counter::ListView>("ListView2");
        auto* total = &f.child<QLineEdit>("FXTotal");
        auto* start = &f.child<QDateTimeEdit>("FXData_Inicio");
        QVERIFY(f.part<counter::StatisticsPanel>().lawyerChoiceAllowed());
        tabs->setCurrentIndex(2);
        tabs->setCurrentIndex(1);
        QCOMPARE(entries.rowCount(), 1);
        QCOMPARE(total->text(), QStringLiteral("0,50"));
        start->setDate(start->date().addDays(-3));

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
        db.exec(
            QStringLiteral("INSERT INTO tbProcessos_Trabalhos_Tarefas_Lancamentos (lancamento_id, data, advogado_id, "
                           "base_id, unidades, contacto_id, inprogress, tarefa_id, trabalho_id, processo_id, closed) "
                           "VALUES (3, '%1 10:00:00', 10, 1, 0, 402, 1, 900, 78, 15, 0)")
                .arg(f.clock.now().addDays(-3).toString(QStringLiteral("yyyy-MM-dd"))));
        QList<counter::AbsenceQuestion> forgotten;
        counter::setAbsenceAsker([&forgotten](const counter::AbsenceQuestion& question) {
            forgotten << question;
            return counter::AbsenceReply(counter::AbsenceAnswer::Stop);
        });
        const QScopeGuard noAsker([] { counter::setAbsenceAsker({}); });

        session::frmLogin::setModalRunner([](session::frmLogin& dialog) {
            dialog.FXUser()->setText(QStringLiteral("bruno"));
            dialog.FXPassword()->setText(QStringLiteral("pw-bruno"));
            dialog.findChild<QPushButton*>(QStringLiteral("Command1"))->click();
        });
        window.findChild<QAction*>(QStringLiteral("mnLogin"))->trigger();
        session::frmLogin::setModalRunner({});

        QCOMPARE(session::modCode::UserName, QStringLiteral("bruno"));
        QCOMPARE(forgotten.size(), 1);
        QCOMPARE(forgotten.first().tasks, QStringList{QStringLiteral("Preparar recurso")});
        QVERIFY(!f.entryColumn(3, "data_fim").isNull());
        QCOMPARE(session::modCode::AdvogadoID, int(OfficeFixture::OtherLawyer));
        QCOMPARE(lawyers->currentText(), QStringLiteral("Bruno Sá"));
        QVERIFY(!f.part<counter::StatisticsPanel>().lawyerChoiceAllowed());
        QCOMPARE(start->date(), f.clock.now().date());
        QCOMPARE(entries.rowCount(), 1);
        QCOMPARE(entries.key(0), QStringLiteral("#2"));
        QCOMPARE(total->text(), QStringLiteral("0,83"));
        // The pending list is the new lawyer's, so that a tick books to that lawyer.
        tabs->setCurrentIndex(0);
        QCOMPARE(tabs->tabText(0), QStringLiteral("Tarefas Pendentes — Bruno Sá"));
        QCOMPARE(f.row(OfficeFixture::Task), -1);
        QVERIFY(f.row(900) >= 0);
        QVERIFY(f.reports.reports().isEmpty());
    }

    // The list events (timer, tabs, entry lists, RemoteKey) report under rule C: neither a closed
    // connection nor an error without description; the window's own handlers report every error.
    void errorsAreReportedByGroup_data()
    {
        QTest::addColumn<bool>("lists");
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("description");
        QTest::addColumn<bool>("reported");
        QTest::newRow("lists: described") << true << 91 << QStringLiteral("Sem objecto") << true;
        QTest::newRow("lists: closed connection") << true << 3709 << QStringLiteral("Ligação fechada") << false;
        QTest::newRow("lists: blank description") << true << 91 << QStringLiteral("  ") << false;
        QTest::newRow("window: closed connection") << false << 3709 << QStringLiteral("Ligação fechada") << true;
        QTest::newRow("window: blank description") << false << 91 << QStringLiteral("  ") << true;
    }
    void errorsAreReportedByGroup()
    {
        QFETCH(bool, lists);
        QFETCH(int, number);
        QFETCH(QString, description);
        QFETCH(bool, reported);
        testsupport::RecordedReports recorded;
        const core::ReportLabels labels =
            lists ? counter::reports::lists(QStringLiteral("frmCounter"), QStringLiteral("Timer1_Timer"))
                  : counter::reports::window(QStringLiteral("frmCounter"), QStringLiteral("Startup"));
        core::trap(labels, [&] { throw core::Error(number, description); });
        QCOMPARE(recorded.reports().size(), reported ? 1 : 0);
        if (reported) {
            const testsupport::Report& report = recorded.reports().first();
            QCOMPARE(QStringList({report.application, report.project}),
                     lists ? QStringList({"Orv Software", "Orv_Counter"}) : QStringList({"Orv Counter", "orvcounter"}));
        }
    }

    // The frame ends on the bottom right corner of the available area, and the window is never larger
    // than the area less its frame.
    void theFrameSitsInTheCorner_data()
    {
        QTest::addColumn<QRect>("area");
        QTest::addColumn<QSize>("wanted");
        QTest::addColumn<QMargins>("frame");
        QTest::addColumn<QRect>("placed");
        QTest::newRow("room enough, no frame")
            << QRect(0, 0, 1920, 1080) << QSize(1000, 460) << QMargins() << QRect(920, 620, 1000, 460);
        QTest::newRow("a frame and a panel on top")
            << QRect(0, 30, 1280, 770) << QSize(1000, 460) << QMargins(4, 24, 4, 4) << QRect(276, 336, 1000, 460);
        QTest::newRow("wider than the screen")
            << QRect(0, 0, 800, 600) << QSize(1020, 460) << QMargins(3, 20, 3, 3) << QRect(3, 137, 794, 460);
        QTest::newRow("taller than the screen")
            << QRect(0, 0, 1024, 400) << QSize(900, 460) << QMargins(2, 20, 2, 2) << QRect(122, 20, 900, 378);
        QTest::newRow("a second screen on the left")
            << QRect(-1280, 0, 1280, 1024) << QSize(1000, 460) << QMargins() << QRect(-1000, 564, 1000, 460);
    }
    void theFrameSitsInTheCorner()
    {
        QFETCH(QRect, area);
        QFETCH(QSize, wanted);
        QFETCH(QMargins, frame);
        QFETCH(QRect, placed);
        QCOMPARE(counter::WindowPlacement::placed(area, wanted, frame), placed);
    }

    // On a screen narrower than the task list wants (the offscreen screen is 800 pixels wide), the window
    // is as wide as the screen and sits in its corner; the descriptions give up room, and the case number, the key
    // a lawyer reads, shows whole however long. A larger window (the user's doing) is fitted again when the
    // available area changes.
    void aSmallScreenHoldsTheWholeWindow()
    {
        WindowFixture f;
        const QString number = QStringLiteral("LX-2009/000015-JUDICIAL-CIVEL-LISBOA-3.ª SECÇÃO");
        f.office.database().exec(QStringLiteral("UPDATE tbProcessos SET processo_no_completo = '") + number +
                                 QStringLiteral("' WHERE processo_id = 15"));
        counter::frmCounter& window = f.load();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QRect area = window.screen()->availableGeometry();
        QVERIFY2(area.width() < f.list().columnsWidth(), "the screen should be narrower than the list");
        QVERIFY(area.contains(window.frameGeometry()));
        QCOMPARE(window.frameGeometry().right(), area.right());
        QCOMPARE(window.frameGeometry().bottom(), area.bottom());
        QVERIFY(window.width() >= area.width() - 60);

        f.refill();
        QVERIFY(area.contains(window.frameGeometry()));
        auto& view = *f.list().findChild<QTreeView*>();
        QVERIFY(view.columnWidth(5) > QFontMetrics(view.font()).horizontalAdvance(number));
        QVERIFY(view.columnWidth(0) < counter::ListView::pixelsFromHundredthsMm(7761));
        testsupport::keepScreenshot(window, QStringLiteral("counter-800x600"));

        window.setGeometry(area.adjusted(-100, 0, 0, 0));
        Q_EMIT window.screen()->availableGeometryChanged(area);
        QVERIFY(area.contains(window.frameGeometry()));
    }

    // A right click on a task pops up the list menu with every command offered, the hide command named for what it
    // will do. The menu key on a selected task does the same; with no task selected the task commands are not
    // offered ("Esconder" included), and Escape or Delete change nothing.
    void theListMenu_data()
    {
        QTest::addColumn<bool>("rightClick");
        QTest::addColumn<bool>("hidden");
        QTest::addColumn<bool>("offered");
        QTest::newRow("right click on a visible task") << true << false << true;
        QTest::newRow("right click on a hidden task") << true << true << true;
        QTest::newRow("menu key on a selected task") << false << false << true;
        QTest::newRow("menu key, none selected") << false << false << false;
    }
    void theListMenu()
    {
        QFETCH(bool, rightClick);
        QFETCH(bool, hidden);
        QFETCH(bool, offered);
        WindowFixture f;
        f.office.database().exec(
            QStringLiteral("UPDATE tbProcessos_Trabalhos_Tarefas SET escondida = %1").arg(hidden ? 1 : 0));
        counter::frmCounter& window = f.load();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        auto& view = *f.list().findChild<QTreeView*>();
        if (rightClick) {
            QTest::mouseClick(f.list().viewport(), Qt::RightButton, {}, f.list().cellRect(0, 4).center());
        } else {
            if (offered) {
                f.list().selectRow(f.row(OfficeFixture::Task));
            } else {
                view.clearSelection();
            }
            for (const Qt::Key harmless : {Qt::Key_Escape, Qt::Key_Delete}) {
                QTest::keyClick(&view, harmless);
            }
            QVERIFY(f.popups.isEmpty());
            QTest::keyClick(&view, Qt::Key_Menu);
        }
        QCOMPARE(f.popups, QStringList{QStringLiteral("mnList")});
        for (const char* name : {"mnListAbrir", "mnEsconder", "mnListTerminar", "mnListRemover"}) {
            QCOMPARE(window.findChild<QAction*>(QLatin1String(name))->isEnabled(), offered);
        }
        QCOMPARE(window.findChild<QMenu*>(QStringLiteral("mnListAbrirRelated"))->menuAction()->isEnabled(), offered);
        if (offered) {
            for (QAction* action : window.findChild<QMenu*>(QStringLiteral("mnList"))->findChildren<QAction*>()) {
                QVERIFY2(action->isEnabled() && action->isVisible(), qPrintable(action->objectName()));
            }
            QCOMPARE(window.findChild<QAction*>(QStringLiteral("mnEsconder"))->text().remove(u'&'),
                     hidden ? QStringLiteral("Tornar visível") : QStringLiteral("Esconder"));
        }
        QVERIFY(window.isVisible());
        QCOMPARE(f.office.entryCount(), 0);
        QCOMPARE(f.sent(QStringLiteral("UPDATE")).size() + f.sent(QStringLiteral("DELETE")).size(), 0);
        QVERIFY(f.reports.reports().isEmpty());
    }
};

QTEST_MAIN(TestFrmCounter)
#include "test_frmcounter.moc"
