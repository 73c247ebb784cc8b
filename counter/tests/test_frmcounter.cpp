#include "core/loginthrottle.h"
#include "counter/counterreports.h"
#include "counter/pendingtasks.h"
#include "counter/statistics/statisticspanel.h"
#include "counter/trayicon.h"
#include "counter/watch/absencequestion.h"
#include "counter/windowplacement.h"
#include "data/engines/tsqltranslator.h"
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
#include <QTimer>
#include <QToolButton>
#include <QTreeView>

using testsupport::OfficeFixture;

namespace {

using Rows = QList<QStringList>;

const QString Entries = QStringLiteral("SELECT * FROM vwProcessos_Trabalhos_Tarefas_Lancamentos");
const QString Totals = QStringLiteral("SELECT tbContactos.nome_union");

// The rows' cells, the hidden ones too when asked for.
Rows rowsOf(counter::ListView& list, int cellCount = 0)
{
    Rows rows;
    for (int row = 0; row < list.rowCount(); ++row) {
        QStringList cells;
        for (int cell = 0; cell < std::max(cellCount, list.columnCount()); ++cell) {
            cells << list.cellText(row, cell);
        }
        rows << cells;
    }
    return rows;
}

// The window over the small office with the given entries and, with policy, "#3101" for ana (group ADM).
struct Window : WindowFixture {
    explicit Window(const QStringList& entryRows = {}, bool policy = false)
    {
        addEntries(entryRows);
        if (policy) {
            // Through group ADM, which holds user 1 (ana).
            office.database().exec(QStringLiteral("INSERT INTO tbGroups (group_id, code) VALUES (1, 'ADM')"));
            office.database().exec(
                QStringLiteral("INSERT INTO tbGroups_Users_Links (group_id, user_id) VALUES (1, 1)"));
            office.database().exec(QStringLiteral(
                "INSERT INTO tbSecurityPolicies (policy_id, code, users_groups) VALUES (1, '#3101', 'SEC;ADM')"));
        }
        load();
    }
    QTabBar& tabs() { return child<QTabBar>("TabStrip1"); }
    QComboBox& lawyers() { return child<QComboBox>("FXAdvogado_ID"); }
    QDateTimeEdit& start() { return child<QDateTimeEdit>("FXData_Inicio"); }
    QLineEdit& total() { return child<QLineEdit>("FXTotal"); }
    counter::ListView& entries() { return child<counter::ListView>("ListView2"); }
    counter::ListView& totals() { return child<counter::ListView>("ListView3"); }

    void setDays(const QDate& first, const QDate& last)
    {
        start().setDateTime(QDateTime(first, QTime(15, 42, 7)));
        child<QDateTimeEdit>("FXData_Fim").setDateTime(QDateTime(last, QTime(8, 5, 1)));
    }
    void chooseLawyer(int lawyer) { lawyers().setCurrentIndex(lawyers().findData(lawyer)); }
};

const QDate November1(2009, 11, 1);
const QDate November30(2009, 11, 30);

const QColor Blue(0x30, 0x5C, 0xAF);
const QColor DarkGrey(0x3F, 0x3F, 0x3F);
const QColor Red(0xC0, 0, 0);
const QColor LightGrey(0xC0, 0xC0, 0xC0);

using Pending = QList<std::pair<const char*, int>>;

// An editor's call back on the tab shown, and the list it refilled (if any), whether that selected the key, and which
// widget has the focus after.
struct CallBack {
    int tab, key, flag;
    QString refilled;
    bool selected;
    QString focused;
};

QList<QColor> coloursOf(counter::ListView& list, int row)
{
    QList<QColor> colours;
    for (int cell = 0; cell <= 6; ++cell) {
        colours << list.cellForeColor(row, cell);
    }
    return colours;
}

} // namespace

// The counter window: its load, its frame and tray, the pending list and its menu, the editors' calls back, the
// re-login; and the statistics tabs: a lawyer's time entries and their totals between two dates, the lawyer
// selector and the date pickers that refill them, and the plans the embedded engine runs their statements by.
class TestFrmCounter : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Rows are banded by work item, a null one keeping the band above; the office deadline turns a
    // row red from the day before. Another office's view may give a null escondida: the task is visible.
    // A refill reads the view once and the server's date once, for any number of rows with a deadline.
    void rowsAreBandedByWorkItemAndRedNearTheirDeadline_data()
    {
        QTest::addColumn<Pending>("pending");
        QTest::addColumn<QList<QColor>>("colours");
        QTest::newRow("no task") << Pending() << QList<QColor>();
        QTest::newRow("seven tasks") << Pending{{"NULL", -3}, {"30", 0},   {"30", 1}, {"NULL", 2},
                                                {"31", 3},    {"NULL", 4}, {"32", 5}}
                                     << QList<QColor>{Red, Red, Red, Blue, DarkGrey, DarkGrey, Blue};
    }
    void rowsAreBandedByWorkItemAndRedNearTheirDeadline()
    {
        QFETCH(Pending, pending);
        QFETCH(QList<QColor>, colours);
        WindowFixture f;
        // The pending view becomes a plain table listing exactly these rows, in this order: task n+1 of the given work
        // item with its office deadline the given number of days after the server's date.
        testsupport::TempDatabase& database = f.office.database();
        database.exec(QStringLiteral("DROP VIEW vwProcessos_Trabalhos_Tarefas"));
        database.exec(QStringLiteral(
            "CREATE TABLE vwProcessos_Trabalhos_Tarefas (tarefa_id INTEGER, descrit TEXT, cliente TEXT, total_tempo "
            "REAL, data_legal DATETIME, trabalho TEXT, processo_no_completo TEXT, data_escritorio DATETIME, "
            "data_inicio DATETIME, inprogress INTEGER, lancamento_id INTEGER, escondida INTEGER, trabalho_id INTEGER, "
            "data DATETIME, closed INTEGER, advogado_id INTEGER, processo_id INTEGER, contacto_id INTEGER)"));
        // A connection that read the old schema must not see the table in the view's place.
        database.openShared();
        for (int n = 0; n < pending.size(); ++n) {
            database.exec(QStringLiteral("INSERT INTO vwProcessos_Trabalhos_Tarefas (tarefa_id, descrit, trabalho_id, "
                                         "data_escritorio, escondida, closed, advogado_id) VALUES (%1, 'T%1', %2, "
                                         "'%3 00:00:00', %4, 0, 9)")
                              .arg(n + 1)
                              .arg(QLatin1String(pending[n].first))
                              .arg(f.clock.now().date().addDays(pending[n].second).toString(Qt::ISODate))
                              .arg(n == 0 ? QStringLiteral("NULL") : QStringLiteral("0")));
        }
        f.load();
        f.refill();
        QStringList statements{QStringLiteral(
            "SELECT * FROM vwProcessos_Trabalhos_Tarefas WHERE closed = 0 AND advogado_id = 9 ORDER BY escondida, "
            "data_escritorio, trabalho_id, data, processo_no_completo")};
        if (!pending.isEmpty()) {
            statements << QStringLiteral("SELECT GETDATE() AS DATE");
            QCOMPARE(f.list().cellText(0, 10), QStringLiteral("0"));
        }
        QCOMPARE(data::StatementLog::statements(), statements);
        QCOMPARE(f.list().rowCount(), colours.size());
        for (int row = 0; row < colours.size(); ++row) {
            QCOMPARE(f.list().key(row), QStringLiteral("#%1").arg(row + 1));
            QCOMPARE(coloursOf(f.list(), row), QList<QColor>(7, colours[row]));
        }
        QVERIFY(f.reports.reports().isEmpty());
    }

    // Even overdue, a hidden task is grey unless hidden tasks are shown; either way it comes last.
    void hiddenTasksComeLastAndGreyUnlessShown()
    {
        WindowFixture f;
        f.office.addWork(78, OfficeFixture::Case, OfficeFixture::Lawyer, QStringLiteral("Recurso"),
                         f.clock.now().date().addDays(-1));
        f.office.addTask(813, 78, QStringLiteral("Escondida"), true);
        f.load();
        QCOMPARE(f.list().key(1), QStringLiteral("#813"));
        QCOMPARE(coloursOf(f.list(), 1), QList<QColor>(7, LightGrey));

        f.window->findChild<QCheckBox*>(QStringLiteral("FXEscondidas"))->click();
        QCOMPARE(f.list().key(1), QStringLiteral("#813"));
        QCOMPARE(coloursOf(f.list(), 1), QList<QColor>(7, Red));
        QCOMPARE(coloursOf(f.list(), 0), QList<QColor>(7, Blue));
    }

    // 812 and 813 are running; the refill ticks them with their entries, inserts nothing, and selects the task asked
    // for, or with none asked for the last running one. A row carries its task in its cells, its client as its tip.
    void aRefillTicksTheRunningTasksAndSelects_data()
    {
        QTest::addColumn<int>("asked");
        QTest::addColumn<int>("selected");
        QTest::newRow("a listed task") << 814 << 814;
        QTest::newRow("none: the last running task") << 0 << 813;
        QTest::newRow("a task not listed") << 999 << -1;
    }
    void aRefillTicksTheRunningTasksAndSelects()
    {
        QFETCH(int, asked);
        QFETCH(int, selected);
        WindowFixture f;
        f.office.database().exec(
            QStringLiteral("UPDATE tbProcessos_Trabalhos SET data_legal = '2009-12-01 00:00:00', data_escritorio = "
                           "'2009-11-25 00:00:00' WHERE trabalho_id = 77"));
        f.addEntries({QStringLiteral("1, '2009-11-02 10:00:00', NULL, 9, 1, 1234.5, 402, 0")});
        for (int task : {813, 814}) {
            f.office.addTask(task, OfficeFixture::Work, QStringLiteral("T%1").arg(task), false,
                             f.clock.now().addDays(task - 812));
        }
        const qint64 entry =
            f.office.addRunningEntry(OfficeFixture::Task, QDateTime(QDate(2009, 11, 16), QTime(8, 5, 9)));
        f.office.addRunningEntry(813, f.clock.now());
        f.load();
        f.window->Fill_Tarefas(asked);

        const int row = f.row(OfficeFixture::Task);
        QVERIFY(f.list().checked(row) && f.list().checked(f.row(813)) && !f.list().checked(f.row(814)));
        QCOMPARE(rowsOf(f.list(), 11).at(row),
                 QStringList({"Redigir contestação", "...", "1 234,50", "01-12-2009", "Contestação", "2009/015",
                              "25-11-2009", "16-11-2009 08:05:09", "1", QString::number(entry), "0"}));
        QCOMPARE(f.list().rowToolTip(row), QStringLiteral("Cliente Alfa"));
        QCOMPARE(f.list().cellText(f.row(814), 9), QStringLiteral(" "));
        QVERIFY(f.sent(QStringLiteral("INSERT")).isEmpty());
        QCOMPARE(f.list().selectedRow(), selected < 0 ? -1 : f.row(selected));
        // The memory a refill freed goes back to the system once refills settle, not inside the refill, and once.
        const auto* returnMemory = f.part<counter::PendingTasks>().findChild<QTimer*>(QStringLiteral("ReturnMemory"));
        QVERIFY(returnMemory->isActive() && returnMemory->isSingleShot());
    }

    // The pickers start at the server's moment, and the selector shows the logged-in lawyer, here not the first in
    // the list. (Whether it may change is the statistics' and the re-login's matter.)
    void theLoadPreparesTheWindow()
    {
        WindowFixture f;
        session::modCode::AdvogadoID = OfficeFixture::OtherLawyer;
        const QDateTime serverNow(QDate(2009, 11, 20), QTime(14, 30));
        f.clock.set(serverNow.addSecs(20));
        f.office.database().setServerClock(serverNow);
        counter::frmCounter& window = f.load(false);

        for (const char* name : {"FXData_Inicio", "FXData_Fim"}) {
            QCOMPARE(window.findChild<QDateTimeEdit*>(QLatin1String(name))->dateTime(), serverNow);
        }
        auto* lawyers = window.findChild<QComboBox*>(QStringLiteral("FXAdvogado_ID"));
        QCOMPARE(lawyers->count(), 2);
        QCOMPARE(lawyers->currentText(), QStringLiteral("Bruno Sá"));
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
        CommandFixture f;
        counter::frmCounter& window = f.load();
        if (counting) {
            f.toggle(OfficeFixture::Task);
        }
        window.close();
        // A second start of the program brings the hidden window back.
        window.showWindow();
        QVERIFY(window.isVisible() && !window.isMinimized());
        window.close();
        QVERIFY(!window.isVisible());
        auto* sair = window.findChild<QAction*>(QStringLiteral("mnSair"));
        QVERIFY(window.findChild<QSystemTrayIcon*>()->contextMenu()->actions().contains(sair));
        f.boxes.setNextAnswers({answer});
        sair->trigger();

        // The parts are joined by line feed, carriage return, line feed, carriage return.
        const QString question = QStringLiteral(
            "Fechar Aplicação | question yes/no | Atenção: Tem tarefas em progresso.\n\r\n\rTem a certeza que pretende "
            "fechar a aplicação?\n\r\n\rNota: mesmo com a aplicação terminada o contador continuará activo para as "
            "tarefas selecionadas.");
        QCOMPARE(f.messages(), counting ? QStringList{question} : QStringList());
        QCOMPARE(f.programEnds, ends ? 1 : 0);
        QCOMPARE(f.part<counter::TrayIcon>().added(), !ends);
        QCOMPARE(f.office.runningCount(), counting ? 1 : 0);
    }

    // Without a notification area the window offers the tray menu itself, the close box minimises it so the
    // task bar still reaches it, and "Sair" ends. An area that appears later gets the icon and takes the menu back.
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
        QStringList entries; // a separator has no name
        for (QAction* action : button->menu()->actions()) {
            entries << action->objectName();
        }
        QCOMPARE(entries, QStringList({"mnContador", "", "mnNovaTarefa", "", "mnPreferencias", "mnLembrete", "",
                                       "mnLogin", "", "mnSair"}));
        testsupport::keepScreenshot(window, QStringLiteral("counter-without-tray"));
        button->menu()->adjustSize();
        testsupport::keepScreenshot(*button->menu(), QStringLiteral("counter-without-tray-menu"));

        window.close();
        QVERIFY(window.isVisible() && window.isMinimized());
        window.findChild<QAction*>(QStringLiteral("mnContador"))->trigger();
        QVERIFY(window.isVisible() && !window.isMinimized());
        window.findChild<QAction*>(QStringLiteral("mnSair"))->trigger();
        QCOMPARE(f.programEnds, 1);

        WindowFixture g;
        counter::TrayIcon::setAvailabilityProbe([&available] { return available; });
        counter::frmCounter& second = g.load();
        available = true;
        g.part<counter::TrayIcon>().checkAvailability();
        QVERIFY(second.findChild<QToolButton*>(QStringLiteral("MenuButton"))->isHidden());
        second.close();
        QVERIFY(!second.isVisible());
    }

    // The editors' calls back: a saved task refills the pending list and selects the task; a saved entry refills the
    // list shown, selecting and showing the entry on the entries tab, and leaves the totals alone; anything else
    // refills the pending list. The list refilled takes the focus, except the pending list after an entry saved.
    void theEditorsAskForARefill_data()
    {
        QTest::addColumn<CallBack>("callBack");
        QTest::newRow("a task saved selects it") << CallBack{0, 813, 4003, "ListView1", true, "ListView1"};
        QTest::newRow("a time entry saved, pending tab") << CallBack{0, 813, 4004, "ListView1", false, "FXMultitarefa"};
        QTest::newRow("anything else") << CallBack{0, 813, 1, "ListView1", false, "ListView1"};
        QTest::newRow("a listed entry") << CallBack{1, 150, 4004, "ListView2", true, "ListView2"};
        QTest::newRow("the first listed entry") << CallBack{1, 1, 4004, "ListView2", true, "ListView2"};
        QTest::newRow("an entry not listed") << CallBack{1, 5000, 4004, "ListView2", false, "ListView2"};
        QTest::newRow("an entry, on the totals tab") << CallBack{2, 150, 4004, "", false, ""};
    }
    void theEditorsAskForARefill()
    {
        QFETCH(CallBack, callBack);
        const auto& [tab, key, flag, refilled, selected, focused] = callBack;
        QStringList many;
        for (int id = 1; id <= 200; ++id) {
            many << QStringLiteral("%1, '2009-11-16 08:00:00', '2009-11-16 08:30:00', 9, 1, 30, 402, 0").arg(id);
        }
        Window w(many);
        w.setDays(November1, November30);
        w.tabs().setCurrentIndex(tab);
        w.child<QCheckBox>("FXMultitarefa").setFocus();
        w.office.addTask(813, OfficeFixture::Work, QStringLiteral("Nova"), false, w.clock.now());
        data::StatementLog::clear();

        w.window->RemoteKey(key, flag);
        QCOMPARE(w.list().rowCount(), refilled == QStringLiteral("ListView1") ? 2 : 1);
        QCOMPARE(w.sent(Entries).size(), refilled == QStringLiteral("ListView2") ? 1 : 0);
        if (refilled.isEmpty()) {
            return;
        }
        auto& list = *w.window->findChild<counter::ListView*>(refilled);
        const int row = list.findKey(QStringLiteral("#%1").arg(key));
        QCOMPARE(list.selectedRow(), selected ? row : -1);
        if (selected) {
            QVERIFY(list.viewport()->rect().intersects(list.cellRect(row, 0)));
        }
        // The list hands its focus to the tree inside it.
        const QWidget* target = w.window->findChild<QWidget*>(focused);
        QVERIFY(w.window->focusWidget() == target || target->isAncestorOf(w.window->focusWidget()));
    }

    // The icon shows image Image_Index of ImageList1 with the tip, cut to 63 characters, or "Orvel"; an image that does
    // not exist is reported and changes nothing.
    void theEditorsSetTheTrayIcon()
    {
        WindowFixture f;
        counter::frmCounter& window = f.load();
        const counter::TrayIcon& tray = f.part<counter::TrayIcon>();
        int image = 3;
        window.SetTrayIcon(image);
        QCOMPARE(tray.tip(), QStringLiteral("Orvel"));
        QVERIFY(f.trayShows(3));
        image = 4;
        window.SetTrayIcon(image, QStringLiteral("Nada"));
        QCOMPARE(tray.tip(), QStringLiteral("Orvel"));
        QVERIFY(f.trayShows(3));
        QCOMPARE(f.reports.procedures(), QStringList{QStringLiteral("SetTrayIcon")});
        image = 1;
        window.SetTrayIcon(image, QString(70, u'x'));
        QCOMPARE(tray.tip(), QString(63, u'x'));
        QVERIFY(f.trayShows(1));
    }

    // "Refazer Login" as somebody else shows the new user's world before anything is counted: the pending
    // list, the selector and whether it may change, and on the statistics tab the new lawyer's entries and
    // total from the server's day, never the last user's, and the new user's count left running since an earlier
    // day is asked about as at start-up. While a task counts no other login is offered.
    void aReloginAsAnotherLawyerShowsThatLawyersWorld()
    {
        scramble::modEncriptSerial::VolumeSerial = QStringLiteral("-1234567890");
        testsupport::TempRegistry registry;
        Window f({"1, '2009-11-16 08:00:00', '2009-11-16 09:00:00', 9, 1, 30, 402, 0",
                  "2, '2009-11-16 08:00:00', '2009-11-16 09:00:00', 10, 1, 50, 402, 0"},
                 true);
        testsupport::TempDatabase& db = f.office.database();
        db.addLogin("ana", "pw-ana");
        db.addLogin("bruno", "pw-bruno");
        db.exec("INSERT INTO tbUsers (user_id, descrit, contacto_id, code) VALUES (77, 'bruno', 10, 'BRU')");
        f.office.addWork(78, OfficeFixture::Case, OfficeFixture::OtherLawyer, QStringLiteral("Recurso"));
        f.office.addTask(900, 78, QStringLiteral("Preparar recurso"));
        data::MachineSettings{"ORVSQL", "False", db.user(), db.password(), db.catalog(), db.path(), {}, {}}.write();
        core::LoginThrottle::setWait([](int) {});
        QVERIFY(f.part<counter::StatisticsPanel>().lawyerChoiceAllowed());
        f.tabs().setCurrentIndex(2);
        f.tabs().setCurrentIndex(1);
        f.start().setDate(f.start().date().addDays(-3));

        f.toggle(OfficeFixture::Task);
        bool asked = false;
        session::frmLogin::setModalRunner([&asked](session::frmLogin&) { asked = true; });
        f.child<QAction>("mnLogin").trigger();
        QVERIFY(!asked);
        QCOMPARE(f.boxes.shown().size(), 1);
        // Unticked, the count no longer holds the login back.
        f.toggle(OfficeFixture::Task);
        const qint64 left = f.office.addRunningEntry(900, QDateTime(f.clock.now().date().addDays(-3), QTime(10, 0)));
        db.exec(QStringLiteral(
            "UPDATE tbProcessos_Trabalhos_Tarefas_Lancamentos SET advogado_id = 10 WHERE tarefa_id = 900"));
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
        f.child<QAction>("mnLogin").trigger();
        session::frmLogin::setModalRunner({});

        QCOMPARE(session::modCode::UserName, QStringLiteral("bruno"));
        QCOMPARE(forgotten.size(), 1);
        QCOMPARE(forgotten.first().tasks, QStringList{QStringLiteral("Preparar recurso")});
        QVERIFY(!f.entryColumn(left, "data_fim").isNull());
        QCOMPARE(session::modCode::AdvogadoID, int(OfficeFixture::OtherLawyer));
        QCOMPARE(f.lawyers().currentText(), QStringLiteral("Bruno Sá"));
        QVERIFY(!f.part<counter::StatisticsPanel>().lawyerChoiceAllowed());
        QCOMPARE(f.start().date(), f.clock.now().date());
        QCOMPARE(keysOf(f.entries()), QStringList{QStringLiteral("#2")});
        QCOMPARE(f.total().text(), QStringLiteral("0,83"));
        // The pending list is the new lawyer's, so that a tick books to that lawyer.
        f.tabs().setCurrentIndex(0);
        QCOMPARE(f.tabs().tabText(0), QStringLiteral("Tarefas Pendentes — Bruno Sá"));
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
    // offered ("Esconder" included).
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
        QVERIFY(f.reports.reports().isEmpty());
    }

    void bothTabsListAndTotalTheSameEntries_data()
    {
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QDate>("first");
        QTest::addColumn<QDate>("last");
        QTest::addColumn<Rows>("listed");
        QTest::addColumn<Rows>("summed");
        QTest::addColumn<QString>("hours");

        const QString task = QStringLiteral("Redigir contestação");
        const QString work = QStringLiteral("Contestação");
        const QString dossier = QStringLiteral("2009/015");
        const QString client = QStringLiteral("Cliente Alfa");
        QTest::newRow("a start after the end")
            << QStringList{"1, '2009-11-10 14:00:00', '2009-11-10 14:30:00', 9, 1, 30, 402, 0"} << November30
            << November1 << Rows{} << Rows{} << QStringLiteral("0,00");
        QTest::newRow("a running entry") << QStringList{"1, '2009-11-16 08:30:00', NULL, 9, 1, 0, 402, 1"} << November1
                                         << November30 << Rows{{"16-11-2009", " ", task, work, dossier, "0,00"}}
                                         << Rows{{client, dossier, work, task, "0,00"}} << QStringLiteral("0,00");
        QTest::newRow("null minutes")
            << QStringList{"1, '2009-11-16 08:30:00', '2009-11-16 09:00:00', 9, 1, NULL, 402, 0",
                           "2, '2009-11-17 08:30:00', '2009-11-17 09:00:00', 9, 1, 30, 402, 0"}
            << November1 << November30
            << Rows{{"16-11-2009", "16-11-2009", task, work, dossier, " "},
                    {"17-11-2009", "17-11-2009", task, work, dossier, "30,00"}}
            << Rows{{client, dossier, work, task, "30,00"}} << QStringLiteral("0,50");
        QTest::newRow("a client without a contact row")
            << QStringList{"1, '2009-11-16 08:30:00', '2009-11-16 09:15:00', 9, 1, 45, 999, 0"} << November1
            << November30 << Rows{{"16-11-2009", "16-11-2009", task, work, dossier, "45,00"}}
            << Rows{{" ", dossier, work, task, "45,00"}} << QStringLiteral("0,75");
        QTest::newRow("13 minutes are 0,22 hours, the sum rounded once")
            << QStringList{"1, '2009-11-02 09:00:00', '2009-11-02 09:10:00', 9, 1, 10, 402, 0",
                           "2, '2009-11-03 09:00:00', '2009-11-03 09:01:00', 9, 1, 1, 402, 0",
                           "3, '2009-11-04 09:00:00', '2009-11-04 09:01:00', 9, 1, 1, 402, 0",
                           "4, '2009-11-05 09:00:00', '2009-11-05 09:01:00', 9, 1, 1, 402, 0"}
            << November1 << November30
            << Rows{{"02-11-2009", "02-11-2009", task, work, dossier, "10,00"},
                    {"03-11-2009", "03-11-2009", task, work, dossier, "1,00"},
                    {"04-11-2009", "04-11-2009", task, work, dossier, "1,00"},
                    {"05-11-2009", "05-11-2009", task, work, dossier, "1,00"}}
            << Rows{{client, dossier, work, task, "13,00"}} << QStringLiteral("0,22");
        QTest::newRow("only the lawyer's counted entries within the days")
            << QStringList{"1, '2009-10-31 23:59:59', '2009-11-01 00:09:59', 9, 1, 10, 402, 0",
                           "2, '2009-11-01 00:00:00', '2009-11-01 00:10:00', 9, 1, 10, 402, 0",
                           "3, '2009-11-30 23:59:59', '2009-12-01 00:19:59', 9, 1, 20, 402, 0",
                           "4, '2009-12-01 00:00:00', '2009-12-01 00:20:00', 9, 1, 20, 402, 0",
                           "5, '2009-11-10 10:00:00', '2009-11-10 11:00:00', 10, 1, 60, 402, 0",
                           "6, '2009-11-10 10:00:00', '2009-11-10 11:00:00', 9, 2, 60, 402, 0"}
            << November1 << November30
            << Rows{{"01-11-2009", "01-11-2009", task, work, dossier, "10,00"},
                    {"30-11-2009", "01-12-2009", task, work, dossier, "20,00"}}
            << Rows{{client, dossier, work, task, "30,00"}} << QStringLiteral("0,50");
    }
    void bothTabsListAndTotalTheSameEntries()
    {
        QFETCH(QStringList, entries);
        QFETCH(QDate, first);
        QFETCH(QDate, last);
        QFETCH(Rows, listed);
        QFETCH(Rows, summed);
        QFETCH(QString, hours);
        Window w(entries);
        w.setDays(first, last);

        w.tabs().setCurrentIndex(1);
        QCOMPARE(rowsOf(w.entries()), listed);
        QCOMPARE(w.total().text(), hours);
        QVERIFY(!w.entries().isHidden() && w.totals().isHidden() && w.list().isHidden());

        w.tabs().setCurrentIndex(2);
        QCOMPARE(rowsOf(w.totals()), summed);
        QCOMPARE(w.total().text(), hours);
        QVERIFY(w.entries().isHidden() && !w.totals().isHidden());

        w.tabs().setCurrentIndex(0);
        QVERIFY(w.entries().isHidden() && w.totals().isHidden() && !w.list().isHidden());
        QVERIFY(w.window->findChild<QWidget*>(QStringLiteral("Frame3"))->isHidden());
        QVERIFY(w.reports.reports().isEmpty());
    }

    // A supervisor's choice refills only the tab shown, for the chosen lawyer, and everything after acts for
    // that lawyer: the other tabs, the pending list and a tick. While that count runs the list cannot change hands.
    // Anyone else's selector, and an entry that names no lawyer, stay on the lawyer shown.
    void theSelectorChoosesWhoseRecordsAreShown_data()
    {
        QTest::addColumn<bool>("policy");
        QTest::addColumn<int>("chosen");
        QTest::addColumn<int>("tab");
        QTest::addColumn<int>("shown");
        const int other = OfficeFixture::OtherLawyer;
        QTest::newRow("with #3101, on the entries tab") << true << other << 1 << other;
        QTest::newRow("with #3101, on the totals tab") << true << other << 2 << other;
        QTest::newRow("with #3101, on the tasks tab") << true << other << 0 << other;
        QTest::newRow("without #3101") << false << other << 1 << int(OfficeFixture::Lawyer);
        QTest::newRow("an entry without a lawyer") << true << 0 << 1 << int(OfficeFixture::Lawyer);
    }
    void theSelectorChoosesWhoseRecordsAreShown()
    {
        QFETCH(bool, policy);
        QFETCH(int, chosen);
        QFETCH(int, tab);
        QFETCH(int, shown);
        const bool changed = shown != OfficeFixture::Lawyer;
        Window w({"1, '2009-11-10 10:00:00', '2009-11-10 10:30:00', 9, 1, 30, 402, 0",
                  "2, '2009-11-11 10:00:00', '2009-11-11 11:00:00', 10, 1, 60, 402, 0"},
                 policy);
        w.office.addWork(78, OfficeFixture::Case, OfficeFixture::OtherLawyer, QStringLiteral("Recurso"));
        w.office.addTask(900, 78, QStringLiteral("Preparar recurso"));
        QCOMPARE(w.lawyers().isEnabled(), policy);
        w.setDays(November1, November30);
        w.tabs().setCurrentIndex(tab);
        data::StatementLog::clear();

        if (chosen == 0) {
            w.lawyers().addItem(QStringLiteral("Sem número"));
            w.lawyers().setCurrentIndex(w.lawyers().count() - 1);
        } else {
            w.chooseLawyer(chosen);
        }
        QCOMPARE(session::modCode::AdvogadoID, shown);
        QCOMPARE(w.lawyers().currentData().toInt(), shown);
        QCOMPARE(w.sent(Entries).size(), changed && tab == 1 ? 1 : 0);
        QCOMPARE(w.sent(Totals).size(), changed && tab == 2 ? 1 : 0);
        w.tabs().setCurrentIndex(1);
        QCOMPARE(w.entries().key(0), changed ? QStringLiteral("#2") : QStringLiteral("#1"));
        QCOMPARE(w.total().text(), changed ? QStringLiteral("1,00") : QStringLiteral("0,50"));
        w.tabs().setCurrentIndex(2);
        QCOMPARE(w.totals().cellText(0, 4), changed ? QStringLiteral("60,00") : QStringLiteral("30,00"));
        // Back on the tasks tab the pending list is the chosen lawyer's, and its tab says whose it is.
        w.tabs().setCurrentIndex(0);
        QCOMPARE(w.row(OfficeFixture::Task), changed ? -1 : 0);
        QCOMPARE(w.tabs().tabText(0), changed ? QStringLiteral("Tarefas Pendentes — Bruno Sá")
                                              : QStringLiteral("Tarefas Pendentes — Ana Lopes"));
        QVERIFY(w.reports.reports().isEmpty());
        if (!changed) {
            return;
        }
        w.toggle(900);
        auto booked = w.office.database().select(
            "SELECT advogado_id, tarefa_id FROM tbProcessos_Trabalhos_Tarefas_Lancamentos WHERE inprogress <> 0");
        QCOMPARE(booked, (QList<QVariantList>{{qlonglong(OfficeFixture::OtherLawyer), qlonglong(900)}}));
        // The selector stays and says why.
        w.boxes.clear();
        w.chooseLawyer(OfficeFixture::Lawyer);
        QCOMPARE(w.lawyers().currentData().toInt(), int(OfficeFixture::OtherLawyer));
        QCOMPARE(session::modCode::AdvogadoID, int(OfficeFixture::OtherLawyer));
        QVERIFY(w.row(900) >= 0 && w.list().checked(w.row(900)));
        QCOMPARE(w.boxes.shown().size(), 1);
    }

    // The pickers refill the statistics tab shown once the dates stand still: arrow steps in a row on either picker
    // cost one fill, and on the tasks tab they send nothing. A date typed whole into a picker, with or without
    // separators, is taken on Enter; one that does not exist leaves the date, and the tab, as they were.
    void aDateRefillsTheTabShownOnceSettled_data()
    {
        QTest::addColumn<int>("tab");
        QTest::addColumn<QString>("typed"); // none: four steps down on each picker in turn
        QTest::addColumn<QDate>("taken");
        const QDate eightDaysBefore(2009, 11, 8);
        QTest::newRow("arrows, tasks") << 0 << "" << eightDaysBefore;
        QTest::newRow("arrows, entries") << 1 << "" << eightDaysBefore;
        QTest::newRow("arrows, totals") << 2 << "" << eightDaysBefore;
        QTest::newRow("typed with separators") << 1 << "01-11-2009" << November1;
        QTest::newRow("slashes, short year") << 1 << "1/11/09" << November1;
        QTest::newRow("digits only") << 1 << "01112009" << November1;
        QTest::newRow("a day of the month shown") << 1 << "3" << QDate(2009, 11, 3);
        QTest::newRow("no such day") << 1 << "31022009" << QDate(2009, 11, 16);
    }
    void aDateRefillsTheTabShownOnceSettled()
    {
        QFETCH(int, tab);
        QFETCH(QString, typed);
        QFETCH(QDate, taken);
        const int entries = tab == 1 && taken != QDate(2009, 11, 16) ? 1 : 0;
        const int totals = tab == 2 ? 1 : 0;
        Window w;
        w.tabs().setCurrentIndex(tab);
        auto& settle = w.child<QTimer>("DatesSettle");
        QDateTimeEdit& start = w.start();
        data::StatementLog::clear();
        if (typed.isEmpty()) {
            for (QDateTimeEdit* picker : {&start, &w.child<QDateTimeEdit>("FXData_Fim"), &start}) {
                picker->setFocus();
                picker->setSelectedSection(QDateTimeEdit::DaySection);
                for (int step = 0; step < 4; ++step) {
                    QTest::keyClick(picker, Qt::Key_Down);
                }
            }
        } else {
            start.setFocus();
            start.setSelectedSection(QDateTimeEdit::DaySection);
            QTest::keyClicks(&start, typed);
            QCOMPARE(start.text(), typed);
            QTest::keyClick(&start, Qt::Key_Return);
            QCOMPARE(start.text(), taken.toString(QStringLiteral("dd-MM-yyyy")));
        }
        QCOMPARE(start.date(), taken);
        QCOMPARE(w.sent(Entries).size() + w.sent(Totals).size(), 0);
        QCOMPARE(settle.isActive(), entries + totals > 0);
        // The moment of stillness passes at once.
        settle.setInterval(0);
        QTRY_COMPARE(w.sent(Entries).size() + w.sent(Totals).size(), entries + totals);
        QCoreApplication::processEvents();
        QCOMPARE(w.sent(Entries).size(), entries);
        QCOMPARE(w.sent(Totals).size(), totals);
        if (entries > 0) {
            QVERIFY(w.sent(Entries).first().contains(QStringLiteral("'%1 00:00:00'").arg(taken.toString(Qt::ISODate))));
        }
    }

    // On the entries tab a header click sorts by that column's values, a second click on it turns the order round;
    // the rows keep that order through later refills, and the entry asked for stays selected. The index on a lawyer's
    // entries by date serves both tabs' statements: the engine searches it and scans no table. A fill that fails
    // keeps the rows it added and the total shown before, and is reported.
    void theEntriesTabSortsAndKeepsItsTotal()
    {
        Window w({"1, '2009-11-10 10:00:00', '2009-11-10 10:30:00', 9, 1, 30, 402, 0",
                  "2, '2009-12-02 10:00:00', '2009-12-02 11:40:00', 9, 1, 100, 402, 0",
                  "3, '2009-11-03 10:00:00', '2009-11-03 10:05:00', 9, 1, 5, 402, 0",
                  "4, '2010-01-01 10:00:00', '2010-01-01 10:11:00', 9, 1, 11, 402, 0"});
        w.setDays(November1, QDate(2010, 1, 31));
        w.tabs().setCurrentIndex(1);
        Q_EMIT w.entries().ColumnClick(0);
        QCOMPARE(keysOf(w.entries()), QStringList({"#3", "#1", "#2", "#4"}));
        Q_EMIT w.entries().ColumnClick(0);
        QCOMPARE(keysOf(w.entries()), QStringList({"#4", "#2", "#1", "#3"}));
        Q_EMIT w.entries().ColumnClick(5);
        QCOMPARE(keysOf(w.entries()), QStringList({"#3", "#4", "#1", "#2"}));
        Q_EMIT w.entries().ColumnClick(5);
        QCOMPARE(keysOf(w.entries()), QStringList({"#2", "#1", "#4", "#3"}));

        w.window->RemoteKey(3, 4004);
        QCOMPARE(keysOf(w.entries()), QStringList({"#2", "#1", "#4", "#3"}));
        QCOMPARE(w.entries().selectedRow(), 3);

        w.tabs().setCurrentIndex(2);
        for (const QString& prefix : {Entries, Totals}) {
            const QString translated = data::TsqlTranslator::toEmbedded(w.sent(prefix).first(), w.clock.now());
            QStringList plan;
            for (const QVariantList& step :
                 w.office.database().select(QStringLiteral("EXPLAIN QUERY PLAN ") + translated)) {
                plan << step.last().toString();
            }
            QVERIFY2(plan.contains(QStringLiteral(
                         "SEARCH l USING INDEX ix_tbLancamentos_advogado (advogado_id=? AND data>? AND data<?)")),
                     qPrintable(plan.join(u'\n')));
            for (const QString& step : plan) {
                QVERIFY2(!step.startsWith(QStringLiteral("SCAN")), qPrintable(step));
            }
        }

        data::StatementFailures::failNext({core::errc::ProviderError, QStringLiteral("Tempo limite expirado")},
                                          QStringLiteral("vwProcessos_Trabalhos_Tarefas_Lancamentos WHERE"));
        w.tabs().setCurrentIndex(1);
        QCOMPARE(w.entries().rowCount(), 0);
        QCOMPARE(w.total().text(), QStringLiteral("2,43"));
        QCOMPARE(w.reports.procedures(), QStringList{QStringLiteral("FillLancamentos")});
    }
};

QTEST_MAIN(TestFrmCounter)
#include "test_frmcounter.moc"
