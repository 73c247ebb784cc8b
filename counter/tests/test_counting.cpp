#include "counter/taskrow.h"
#include "counter/watch/absencecheck.h"
#include "counter/watch/absencequestion.h"
#include "counter/watch/absencewatch.h"
#include "counter/watch/countstatus.h"
#include "counter/watch/idlesource.h"
#include "counter/watch/preferencesdialog.h"
#include "counter/watch/traycount.h"
#include "data/timeentries/timeentries.h"
#include "testsupport/windowfixture.h"

#include <QCheckBox>
#include <QLabel>
#include <QSpinBox>
#include <QTimer>

using counter::Absence;
using counter::AbsenceAnswer;
using counter::AbsenceQuestion;
using counter::AbsenceWatch;
using counter::Preferences;
using counter::RunningTask;
namespace countStatus = counter::countStatus;
using testsupport::OfficeFixture;

namespace {

const QString Insert812 = QStringLiteral(
    "INSERT INTO tbProcessos_Trabalhos_Tarefas_Lancamentos (tarefa_id, trabalho_id, processo_id, contacto_id, data, "
    "data_fim, advogado_id, base_id, unidades, preco_id, preco, inprogress, closed, inprogress_time) VALUES (812, 77, "
    "15, 402, GETDATE(), null, 9, 1, 0, 2, 45.5, 1, 0, GETDATE())");

constexpr qint64 Minute = 60;
constexpr qint64 Hour = 3600;
// Monday, nine in the morning.
const QDateTime Nine(QDate(2009, 11, 16), QTime(9, 0, 0));
const QDateTime LateEvening(QDate(2009, 11, 16), QTime(23, 50, 0));

struct ScriptedIdle : counter::IdleSource {
    std::optional<qint64> idle;
    std::optional<qint64> idleMilliseconds() override { return idle; }
    QString name() const override { return QStringLiteral("scripted"); }
};

// A step of the session: the clock moves by seconds, the source says idle seconds (-1: it cannot tell), then the
// session event happens; expected: the idle seconds answered then (-1: none).
enum Event { NoEvent, Lock, Unlock, Sleep, Wake };
struct Step {
    qint64 seconds;
    qint64 idle;
    Event event;
    qint64 expected;
};

// One look: the wall clock and the monotonic clock move by these seconds, the source says idleSeconds (-1: it
// cannot tell), and counting says whether a count runs. Expected: an absence from began to ended, in seconds
// after the scenario's start, or none (began -1).
struct Look {
    qint64 wall;
    qint64 monotonic;
    qint64 idleSeconds;
    bool counting;
    qint64 began;
    qint64 ended;
    bool slept;
};

constexpr qint64 None = -1;

Look awake(qint64 seconds, qint64 idle, qint64 began = None, qint64 ended = None, bool counting = true)
{
    return {seconds, seconds, idle, counting, began, ended, false};
}

RunningTask task(const QString& name, const QDateTime& start)
{
    return {QStringLiteral("#812"), name, 1, start};
}

// The counter window with the idle source, the monotonic clock and the absence question scripted. The machine
// never sleeps here unless a test moves the wall clock alone.
struct AbsenceFixture : WindowFixture {
    ScriptedIdle* source = nullptr;
    qint64 monotonic = 0;
    AbsenceAnswer answer = AbsenceAnswer::None;
    // Replies given in turn before answer.
    QList<counter::AbsenceReply> replies;
    QList<AbsenceQuestion> asked;
    std::function<void()> whileAsked;
    // The notifications shown beside the tray icon.
    QStringList notifications;

    AbsenceFixture()
    {
        counter::setIdleSourceFactory([this] {
            auto made = std::make_unique<ScriptedIdle>();
            made->idle = 0;
            source = made.get();
            return made;
        });
        counter::AbsenceCheck::setMonotonicSource([this] { return monotonic * 1000; });
        counter::setAbsenceAsker([this](const AbsenceQuestion& question) {
            asked << question;
            if (whileAsked) {
                whileAsked();
            }
            return replies.isEmpty() ? counter::AbsenceReply(answer) : replies.takeFirst();
        });
        counter::TrayIcon::setNotifier([this](const QString&, const QString& text) { notifications << text; });
    }
    ~AbsenceFixture()
    {
        counter::setIdleSourceFactory({});
        counter::AbsenceCheck::setMonotonicSource({});
        counter::setAbsenceAsker({});
        counter::TrayIcon::setNotifier({});
        counter::frmPreferencias::setRunner({});
    }

    // Time passes by seconds with the user idle for idle seconds, then the window looks.
    void look(qint64 seconds, std::optional<qint64> idle)
    {
        clock.advanceSeconds(seconds);
        monotonic += seconds;
        source->idle = idle ? std::optional<qint64>(*idle * 1000) : std::nullopt;
        part<counter::AbsenceCheck>().poll();
    }
};

// The Friday before, at ten.
const QDateTime Friday(QDate(2009, 11, 13), QTime(10, 0, 0));

// A count on 813 (started here or elsewhere) before 812 is ticked, seconds later; the other count's minutes after
// (null: its entry was deleted).
struct Tick {
    bool elsewhere, multitasking, startFails;
    int seconds;
    QVariant minutesOfOther;
};

struct Booked {
    AbsenceAnswer answer;
    bool asleep;        // with no idle source
    QString whileAsked; // "closed" elsewhere, or "away" and back again
    int entries, running;
    QVariant minutes;
    QDateTime end;
};

struct Forgotten {
    QDateTime start;
    QList<counter::AbsenceReply> replies;
    int asked, refused, running;
    QDateTime end;
};

} // namespace

// The ticks that count, and the watch over counts left running: absences asked about on return, counts forgotten since
// an earlier day, the tray that says what counts.
class TestCounting : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The Entry cell as the untick, the deferred untick and the absence check read it: a whole number, blanks
    // around it allowed; a blank cell or anything else names no entry.
    void theEntryCellNamesItsEntry_data()
    {
        QTest::addColumn<QString>("cell");
        QTest::addColumn<qint64>("entry"); // -1: none
        QTest::newRow("a number") << "812" << qint64(812);
        QTest::newRow("blanks around it") << " 812 " << qint64(812);
        QTest::newRow("blank") << "" << qint64(-1);
        QTest::newRow("a number and more") << "81a" << qint64(-1);
        QTest::newRow("a fraction") << "8.5" << qint64(-1);
    }
    void theEntryCellNamesItsEntry()
    {
        QFETCH(QString, cell);
        QFETCH(qint64, entry);
        QCOMPARE(counter::taskRow::entryOf(cell).value_or(-1), entry);
    }

    // The tick sets the counter going on its row alone; the untick closes the entry, or deletes a count too short (no
    // refill follows: the row shows the idle text again, still bold), and the timer stands still. Another
    // workstation of the lawyer may have closed the entry before the untick: the entry keeps that close, and the list
    // shows it ended. (A close between the untick's read of the entry and its own close or delete is the time
    // entries' matter.)
    void unticking_data()
    {
        QTest::addColumn<int>("serverAheadSeconds");
        QTest::addColumn<int>("elapsedSeconds");
        QTest::addColumn<int>("minutes");          // 0: the entry is deleted
        QTest::addColumn<bool>("closedElsewhere"); // with those minutes
        QTest::newRow("1:20 deleted") << 0 << 80 << 0 << false;
        QTest::newRow("1:30 to the even 2") << 0 << 90 << 2 << false;
        QTest::newRow("workstation behind the server") << 600 << 300 << 0 << false;
        QTest::newRow("workstation ahead of the server") << -60 << 60 << 2 << false;
        QTest::newRow("workstation two minutes ahead") << -120 << 60 << 3 << false;
        QTest::newRow("closed elsewhere with 7 minutes") << 0 << 600 << 7 << true;
    }
    void unticking()
    {
        QFETCH(int, serverAheadSeconds);
        QFETCH(int, elapsedSeconds);
        QFETCH(int, minutes);
        QFETCH(bool, closedElsewhere);
        WindowFixture f;
        f.office.database().setServerClock([&] { return f.clock.now().addSecs(serverAheadSeconds); });
        f.office.addTask(813, OfficeFixture::Work, QStringLiteral("Segunda"), false, f.clock.now());
        f.load();
        auto& timer = f.child<QTimer>("Timer1");
        QVERIFY(!timer.isActive());
        f.toggle(OfficeFixture::Task);
        QVERIFY(timer.isActive());
        const QString entry = f.list().cellText(f.row(OfficeFixture::Task), 9);
        f.clock.advanceSeconds(elapsedSeconds);
        f.window->Timer1_Timer();
        if (serverAheadSeconds == 0) {
            QCOMPARE(f.list().cellText(f.row(OfficeFixture::Task), 1),
                     QTime(0, 0).addSecs(elapsedSeconds).toString(QStringLiteral("mm:ss")));
        }
        QCOMPARE(f.list().cellText(f.row(813), 1), QStringLiteral("..."));
        QVERIFY(!f.list().cellBold(f.row(813), 1));
        if (closedElsewhere) {
            data::Data::SqlServer().execute(
                data::timeEntries::closeStatement(entry.toLongLong(), minutes, QStringLiteral("GETDATE()")));
        }
        data::StatementLog::clear();
        f.toggle(OfficeFixture::Task);
        f.window->Timer1_Timer();
        QVERIFY(!timer.isActive());

        const int row = f.row(OfficeFixture::Task);
        QCOMPARE(f.list().cellText(row, 1), QStringLiteral("..."));
        const QString closing =
            minutes == 0 ? QStringLiteral("DELETE FROM tbProcessos_Trabalhos_Tarefas_Lancamentos")
                         : QStringLiteral("UPDATE tbProcessos_Trabalhos_Tarefas_Lancamentos SET data_fim = GETDATE(), "
                                          "inprogress = 0, unidades = %1")
                               .arg(minutes);
        QCOMPARE(f.sent(QStringLiteral("UPDATE")) + f.sent(QStringLiteral("DELETE")),
                 closedElsewhere ? QStringList()
                                 : QStringList{closing + QStringLiteral(" WHERE lancamento_id = ") + entry +
                                               QStringLiteral(" AND inprogress <> 0 AND data_fim IS NULL")});
        QCOMPARE(f.office.entryCount(), minutes == 0 ? 0 : 1);
        QCOMPARE(f.office.runningCount(), 0);
        QVERIFY(!f.list().checked(row));
        // Only the clocks' skew, when above a minute, is reported (once, at load).
        QCOMPARE(f.reports.reports().size(), std::abs(serverAheadSeconds) > 60 ? 1 : 0);
        if (minutes == 0) {
            QVERIFY(f.list().cellBold(row, 1));
        } else {
            QCOMPARE(f.office.minutesOf(entry.toLongLong()).toInt(), minutes);
            QCOMPARE(f.list().selectedRow(), row);
            QCOMPARE(f.list().cellText(row, 9), QStringLiteral(" "));
        }
        // The list shows the minutes booked in "Acumulado", as a refill now does.
        const QString accumulated = f.list().cellText(row, 2);
        f.refill();
        QCOMPARE(f.list().cellText(f.row(OfficeFixture::Task), 2), accumulated);
    }

    // The lawyer's count on 813 has run a while, started in this window or on another workstation after the list
    // was filled (the list then shows it idle); then 812 is ticked. With a single count the tick ends the other
    // count, in the transaction that starts 812: a start that fails leaves it running.
    void aTickWithASingleCountEndsTheOtherCounts_data()
    {
        QTest::addColumn<Tick>("tick");
        QTest::newRow("stopped after 5 minutes") << Tick{false, false, false, 300, 5};
        // No refill follows a deletion: only the walk itself unticks 813.
        QTest::newRow("deleted after 80 seconds") << Tick{false, false, false, 80, {}};
        QTest::newRow("with multitasking both run") << Tick{false, true, false, 300, 0};
        QTest::newRow("elsewhere, stopped after 5 minutes") << Tick{true, false, false, 300, 5};
        QTest::newRow("elsewhere, the start fails") << Tick{true, false, true, 300, 0};
    }
    void aTickWithASingleCountEndsTheOtherCounts()
    {
        QFETCH(Tick, tick);
        const auto& [elsewhere, multitasking, startFails, seconds, minutesOfOther] = tick;
        WindowFixture f;
        f.office.addTask(813, OfficeFixture::Work, QStringLiteral("Juntar documentos"), false, f.clock.now());
        f.load();
        f.window->findChild<QCheckBox*>(QStringLiteral("FXMultitarefa"))->setChecked(multitasking);
        qint64 other = 0;
        if (elsewhere) {
            other = f.office.addRunningEntry(813, f.clock.now());
        } else {
            f.toggle(813);
            other = f.list().cellText(f.row(813), 9).toLongLong();
        }
        f.clock.advanceSeconds(seconds);
        if (startFails) {
            data::StatementFailures::failNext({core::errc::ProviderError, QStringLiteral("refused")},
                                              QStringLiteral("INSERT INTO tbProcessos_Trabalhos_Tarefas_Lancamentos"));
        }
        f.toggle(OfficeFixture::Task);
        data::StatementFailures::clear();

        QCOMPARE(f.office.runningCount(), multitasking && !startFails ? 2 : 1);
        QCOMPARE(f.office.entryCount(), (startFails ? 0 : 1) + (minutesOfOther.isNull() ? 0 : 1));
        QCOMPARE(f.office.minutesOf(other), minutesOfOther);
        const int row = f.row(OfficeFixture::Task);
        QCOMPARE(f.list().checked(row), !startFails);
        // The list shows what the database holds: the other count ended, or still running.
        QCOMPARE(f.list().checked(f.row(813)), multitasking || startFails);
        if (!elsewhere && minutesOfOther.toInt() > 0) {
            QCOMPARE(f.list().selectedRow(), f.row(813));
        }
        if (!startFails) {
            QCOMPARE(f.sent(QStringLiteral("INSERT")).last(), Insert812);
            QCOMPARE(f.list().cellText(row, 7),
                     QStringLiteral("16-11-2009 ") + QTime(9, 0).addSecs(seconds).toString(QStringLiteral("HH:mm:ss")));
            const QString entryOf812 = QStringLiteral(
                "SELECT lancamento_id FROM tbProcessos_Trabalhos_Tarefas_Lancamentos WHERE tarefa_id = 812");
            QCOMPARE(f.list().cellText(row, 9), f.office.database().scalar(entryOf812).toString());
            QVERIFY(f.boxes.shown().isEmpty());
        }
    }

    // Each row damages one record the start looks up, and is named after the field the message names. (The records
    // a task belongs to are looked up as for a new entry, whose command shows the same message.)
    void aStartThatCannotFindItsRecordsIsUndone_data()
    {
        QTest::addColumn<QString>("damage");
        QTest::newRow("Base_ID") << "UPDATE tbProcessos_Trabalhos_Tarefas_Lancamentos_Bases SET counter = 0";
        QTest::newRow("Preco_ID") << "UPDATE tbProcessos_Trabalhos_Tarefas_Lancamentos_Precos SET counter = 0";
    }
    void aStartThatCannotFindItsRecordsIsUndone()
    {
        QFETCH(QString, damage);
        CommandFixture f;
        f.load();
        f.office.database().exec(damage);
        f.toggle(OfficeFixture::Task);

        QCOMPARE(f.messages(), QStringList{missing(QTest::currentDataTag())});
        QVERIFY(!f.list().checked(f.row(OfficeFixture::Task)));
        QCOMPARE(f.office.entryCount(), 0);
    }

    // A running task found by the load sets the timer going and shows the time since it started; hiding the window
    // stops the timer and leaves the row as it was, showing it starts it again.
    void aRunningTaskShowsTheTimeSinceItStarted_data()
    {
        QTest::addColumn<qint64>("elapsedSeconds");
        QTest::addColumn<QString>("shown");
        QTest::newRow("59:59") << qint64(59 * 60 + 59) << QStringLiteral("59:59");
        QTest::newRow("one hour") << qint64(3600) << QStringLiteral("01:00:00");
        QTest::newRow("a forgotten week") << qint64(7 * 24 * 3600 + 61) << QStringLiteral("168:01:01");
    }
    void aRunningTaskShowsTheTimeSinceItStarted()
    {
        QFETCH(qint64, elapsedSeconds);
        QFETCH(QString, shown);
        WindowFixture f;
        f.office.addRunningEntry(OfficeFixture::Task, f.clock.now());
        f.load();
        auto& timer = f.child<QTimer>("Timer1");
        QVERIFY(timer.isActive());
        const int row = f.row(OfficeFixture::Task);
        const QString before = f.list().cellText(row, 1);
        f.window->hide();
        QVERIFY(!timer.isActive());
        f.clock.advanceSeconds(elapsedSeconds);
        f.window->Timer1_Timer();
        QCOMPARE(f.list().cellText(row, 1), before);

        f.window->show();
        QVERIFY(timer.isActive());
        f.window->Timer1_Timer();
        QCOMPARE(f.list().cellText(row, 1), shown);
        QVERIFY(f.list().cellBold(row, 1));
    }

    void aStartThatIsNoDateEndsTheTickWithAReport()
    {
        WindowFixture f;
        f.office.addTask(813, OfficeFixture::Work, QStringLiteral("Segunda"), false, f.clock.now());
        f.office.addRunningEntry(OfficeFixture::Task, QDateTime());
        f.office.addRunningEntry(813, f.clock.now());
        f.load();
        f.clock.advanceSeconds(10);
        f.window->Timer1_Timer();

        QCOMPARE(f.reports.procedures(), QStringList{QStringLiteral("Timer1_Timer")});
        QCOMPARE(f.reports.reports().first().owner, QStringLiteral("frmCounter"));
        QCOMPARE(f.list().cellText(f.row(813), 1), QStringLiteral("..."));
        // The same failure every second is reported once, not once a second.
        for (int second = 0; second < 5; ++second) {
            f.clock.advanceSeconds(1);
            f.window->Timer1_Timer();
        }
        QCOMPARE(f.reports.reports().size(), 1);
    }

    void absencesAreAskedAboutOnReturn_data()
    {
        QTest::addColumn<QDateTime>("start");
        QTest::addColumn<QList<Look>>("looks");
        const qint64 T = 15 * Minute;
        // Back after 20 minutes: the absence began at the last input and ends at the return's first input.
        QTest::newRow("back after 20 idle minutes") << Nine
                                                    << QList<Look>{awake(0, 0), awake(20 * Minute, 20 * Minute),
                                                                   awake(Minute, 2, 0, 21 * Minute - 2), awake(5, 7)};
        QTest::newRow("14 minutes is under the threshold")
            << Nine << QList<Look>{awake(0, 0), awake(14 * Minute, 14 * Minute), awake(5, 0)};
        QTest::newRow("exactly the threshold") << Nine << QList<Look>{awake(0, 0), awake(T, T), awake(1, 0, 0, T + 1)};
        QTest::newRow("still away is not asked yet")
            << Nine << QList<Look>{awake(0, 0), awake(T, T), awake(Minute, T + Minute), awake(Minute, T + 2 * Minute)};
        QTest::newRow("nothing counted") << Nine
                                         << QList<Look>{awake(0, 0, None, None, false),
                                                        awake(20 * Minute, 20 * Minute, None, None, false),
                                                        awake(5, 0, None, None, false)};
        QTest::newRow("the count ended during the absence")
            << Nine
            << QList<Look>{awake(0, 0), awake(20 * Minute, 20 * Minute), awake(5, 0, None, None, false), awake(5, 0)};
        // The monotonic clock stood still while the wall clock went on: asleep from the look before.
        QTest::newRow("sleep, no idle source")
            << Nine << QList<Look>{awake(0, -1), {40 * Minute, 5, -1, true, 0, 40 * Minute, true}, awake(5, -1)};
        QTest::newRow("sleep, then back with the source")
            << Nine << QList<Look>{awake(0, 0), {40 * Minute, 5, 3, true, 0, 40 * Minute - 3, true}};
        QTest::newRow("idle, then asleep: from the last input")
            << Nine
            << QList<Look>{
                   awake(0, 0), awake(5 * Minute, 5 * Minute), {30 * Minute, 5, 1, true, 0, 35 * Minute - 1, true}};
        QTest::newRow("a sleep under the threshold")
            << Nine << QList<Look>{awake(0, -1), {10 * Minute, 5, -1, true, None, None, false}};
        QTest::newRow("the wall clock set back is no absence")
            << Nine << QList<Look>{awake(0, -1), {-Minute * 60, 5, -1, true, None, None, false}, awake(5, -1)};
        QTest::newRow("no idle source and no sleep asks nothing")
            << Nine << QList<Look>{awake(0, -1), awake(480 * Minute, -1), awake(5, -1)};
        QTest::newRow("across midnight") << LateEvening
                                         << QList<Look>{awake(0, 0), awake(40 * Minute, 30 * Minute),
                                                        awake(5, 0, 10 * Minute, 40 * Minute + 5)};
    }
    void absencesAreAskedAboutOnReturn()
    {
        QFETCH(QDateTime, start);
        QFETCH(QList<Look>, looks);
        testsupport::MockClock clock(start);
        ScriptedIdle idle;
        qint64 monotonic = 1000;
        AbsenceWatch watch(
            idle, [&] { return monotonic; }, 15 * Minute * 1000);
        int n = 0;
        for (const Look& look : looks) {
            clock.advanceSeconds(look.wall);
            monotonic += look.monotonic * 1000;
            idle.idle = look.idleSeconds < 0 ? std::nullopt : std::optional<qint64>(look.idleSeconds * 1000);
            const std::optional<Absence> absence = watch.poll(look.counting);
            const QByteArray where = "look " + QByteArray::number(n++);
            QVERIFY2(absence.has_value() == (look.began != None), where.constData());
            if (absence) {
                QCOMPARE(absence->began, start.addSecs(look.began));
                QCOMPARE(absence->ended, start.addSecs(look.ended));
                QCOMPARE(absence->slept, look.slept);
            }
        }
    }

    // A locked screen or a sleeping machine is idle from then on, whatever the source sees; then the source again.
    void theSessionAwayIsIdle_data()
    {
        QTest::addColumn<QList<Step>>("steps");
        QTest::newRow("locked, the lock screen woken meanwhile")
            << QList<Step>{{0, 3, Lock, 3}, {10 * Minute, 1, NoEvent, 10 * Minute + 3}, {Minute, 0, Unlock, 0}};
        QTest::newRow("no source: idle only while locked") << QList<Step>{
            {0, -1, NoEvent, -1}, {0, -1, Lock, 0}, {15 * Minute, -1, NoEvent, 15 * Minute}, {5, -1, Unlock, -1}};
        QTest::newRow("asleep, then locked until the password") << QList<Step>{{0, 2, Sleep, 2},
                                                                               {0, 2, Lock, 2},
                                                                               {60 * Minute, 0, Wake, 60 * Minute + 2},
                                                                               {Minute, 0, NoEvent, 61 * Minute + 2},
                                                                               {5, 0, Unlock, 0}};
    }
    void theSessionAwayIsIdle()
    {
        QFETCH(QList<Step>, steps);
        testsupport::MockClock clock(Nine);
        auto scripted = std::make_unique<ScriptedIdle>();
        ScriptedIdle& idle = *scripted;
        counter::AwayIdleSource source(std::move(scripted));
        for (const Step& step : steps) {
            clock.advanceSeconds(step.seconds);
            idle.idle = step.idle < 0 ? std::nullopt : std::optional<qint64>(step.idle * 1000);
            if (step.event != NoEvent) {
                source.setAway(step.event == Lock || step.event == Unlock ? counter::AwayIdleSource::Locked
                                                                          : counter::AwayIdleSource::Asleep,
                               step.event == Lock || step.event == Sleep);
            }
            const std::optional<qint64> answered = source.idleMilliseconds();
            QCOMPARE(answered.value_or(-1000), step.expected * 1000);
        }
    }

    // ORV_IDLE_SOURCE=none gives the state without a source, whatever the desktop offers. (Which source answers is
    // chosen over the desktop's bus.)
    void noIdleSourceWhenToldSo()
    {
        qputenv("ORV_IDLE_SOURCE", "none");
        const auto source = counter::makeIdleSource();
        qunsetenv("ORV_IDLE_SOURCE");
        QCOMPARE(source->name(), QStringLiteral("nenhuma"));
        QVERIFY(!source->idleMilliseconds());
    }

    // Two tasks counting show the longer time (nothing or a single task: the counter window's tray test).
    void theTraySaysWhatCounts()
    {
        const QDateTime now = Nine.addSecs(3 * Hour);
        const countStatus::Tray tray = countStatus::tray(
            {task(QStringLiteral("A"), now.addSecs(-300)), task(QStringLiteral("B"), now.addSecs(-754))}, now);
        QCOMPARE(tray.image, 2);
        QCOMPARE(tray.tip, QStringLiteral("A contar 2 tarefas (12:34)"));
    }

    void longAndForgottenCounts_data()
    {
        QTest::addColumn<QDateTime>("start");
        QTest::addColumn<QDateTime>("now");
        QTest::addColumn<int>("limitHours");
        QTest::addColumn<bool>("flagged");
        QTest::newRow("3:59") << Nine << Nine.addSecs(4 * Hour - 60) << 4 << false;
        QTest::newRow("4 hours") << Nine << Nine.addSecs(4 * Hour) << 4 << true;
        QTest::newRow("across midnight, 15 minutes")
            << Nine.addSecs(14 * Hour + 50 * Minute) << Nine.addSecs(15 * Hour + 5 * Minute) << 4 << true;
        QTest::newRow("no limit, same day") << Nine << Nine.addSecs(10 * Hour) << 0 << false;
        QTest::newRow("no limit, a day before") << Nine.addDays(-1) << Nine << 0 << true;
    }
    void longAndForgottenCounts()
    {
        QFETCH(QDateTime, start);
        QFETCH(QDateTime, now);
        QFETCH(int, limitHours);
        QFETCH(bool, flagged);
        Preferences preferences;
        preferences.longCountHours = limitHours;
        QCOMPARE(countStatus::isLong(task(QStringLiteral("A"), start), now, preferences), flagged);
    }

    void silentWorkingHours_data()
    {
        QTest::addColumn<QDateTime>("quietSince");
        QTest::addColumn<QDateTime>("now");
        QTest::addColumn<int>("silentMinutes");
        QTest::addColumn<bool>("reminded");
        const QDateTime ten = Nine.addSecs(3600);
        QTest::newRow("20 minutes quiet") << ten.addSecs(-20 * Minute) << ten << 30 << false;
        QTest::newRow("exactly 30") << ten.addSecs(-30 * Minute) << ten << 30 << true;
        QTest::newRow("Saturday") << Nine.addDays(5) << ten.addDays(5) << 30 << false;
        QTest::newRow("before nine") << Nine.addSecs(-3600) << Nine.addSecs(-60) << 30 << false;
        QTest::newRow("at seven in the evening") << Nine << Nine.addSecs(10 * Hour) << 30 << false;
        QTest::newRow("quiet since yesterday, 9:29") << Nine.addDays(-1) << Nine.addSecs(29 * Minute) << 30 << false;
        QTest::newRow("quiet since yesterday, 9:30") << Nine.addDays(-1) << Nine.addSecs(30 * Minute) << 30 << true;
        QTest::newRow("turned off") << Nine << ten << 0 << false;
    }
    void silentWorkingHours()
    {
        QFETCH(QDateTime, quietSince);
        QFETCH(QDateTime, now);
        QFETCH(int, silentMinutes);
        QFETCH(bool, reminded);
        Preferences preferences;
        preferences.silentMinutes = silentMinutes;
        QCOMPARE(countStatus::silentTooLong(quietSince, now, preferences), reminded);
    }

    // Counting since nine, the lawyer's last input at 9:10, back at 9:41 after 30 minutes away. A sleep of the
    // machine, noticed without any idle source, is asked about from its start in the same way. Nothing counted,
    // nothing asked, however long the absence. While the question is open another workstation closes the entry (its
    // minutes stay as they were booked), or the lawyer walks away and back again (one question, not a second over it).
    void eachAnswerBooksItsMinutes_data()
    {
        QTest::addColumn<Booked>("row");
        const QDateTime nineTen = Nine.addSecs(10 * Minute);
        QTest::newRow("no answer") << Booked{AbsenceAnswer::None, false, "", 1, 1, 0, {}};
        QTest::newRow("keep") << Booked{AbsenceAnswer::Keep, false, "", 1, 1, 0, {}};
        QTest::newRow("stop when it began") << Booked{AbsenceAnswer::Stop, false, "", 1, 0, 10, nineTen};
        QTest::newRow("stop then, count again now")
            << Booked{AbsenceAnswer::StopAndRestart, false, "", 2, 1, 10, nineTen};
        QTest::newRow("asleep, stop when it began") << Booked{AbsenceAnswer::Stop, true, "", 1, 0, 10, nineTen};
        QTest::newRow("nothing counted") << Booked{AbsenceAnswer::Stop, false, "", 0, 0, {}, {}};
        QTest::newRow("the entry closed elsewhere")
            << Booked{AbsenceAnswer::Stop, false, "closed", 1, 0, 21, Nine.addSecs(21 * Minute)};
        QTest::newRow("away and back again") << Booked{AbsenceAnswer::None, false, "away", 1, 1, 0, {}};
    }
    void eachAnswerBooksItsMinutes()
    {
        QFETCH(Booked, row);
        const auto& [answer, asleep, whileAsked, entries, running, minutes, end] = row;
        AbsenceFixture f;
        f.answer = answer;
        const qint64 entry = entries == 0 ? 0 : f.office.addRunningEntry(OfficeFixture::Task, Nine);
        f.load(false);
        f.clock.set(Nine.addSecs(10 * Minute));
        f.whileAsked = [&] {
            if (whileAsked == QStringLiteral("closed")) {
                f.office.database().exec(data::timeEntries::closeStatement(entry, 21, "'2009-11-16 09:21:00'"));
            } else if (whileAsked == QStringLiteral("away")) {
                f.look(20 * Minute, 20 * Minute);
                f.look(Minute, 0);
            }
        };
        if (asleep) {
            f.look(0, std::nullopt);
            f.clock.advanceSeconds(30 * Minute);
            f.look(0, std::nullopt);
        } else {
            f.look(0, 0);
            f.look(30 * Minute, 30 * Minute);
            f.look(Minute, 1);
        }

        QCOMPARE(f.asked.size(), entries == 0 ? 0 : 1);
        QCOMPARE(f.office.entryCount(), entries);
        QCOMPARE(f.office.runningCount(), running);
        QCOMPARE(f.office.minutesOf(entry), minutes);
        QCOMPARE(f.entryColumn(entry, "data_fim").toDateTime(), end);
        if (entries == 0) {
            return;
        }
        QCOMPARE(f.asked.first().tasks, QStringList{QStringLiteral("Redigir contestação")});
        QCOMPARE(f.asked.first().began, Nine.addSecs(10 * Minute));
        QCOMPARE(f.asked.first().minutes, 30);
        QCOMPARE(f.asked.first().slept, asleep);
        QVERIFY(f.asked.first().text().contains(QStringLiteral("09:10")));
        QVERIFY(f.window->isVisible());
        if (answer == AbsenceAnswer::StopAndRestart) {
            // The task counts again from the return, and its row shows it.
            const QString running =
                QStringLiteral("SELECT data FROM tbProcessos_Trabalhos_Tarefas_Lancamentos WHERE inprogress = 1");
            QCOMPARE(f.office.database().scalar(running).toDateTime(), f.clock.now());
            QVERIFY(f.list().checked(f.row(OfficeFixture::Task)));
        }
        if (answer == AbsenceAnswer::None || answer == AbsenceAnswer::Keep) {
            QVERIFY(f.sent(QStringLiteral("UPDATE")).isEmpty() && f.sent(QStringLiteral("DELETE")).isEmpty());
        }
        QVERIFY(f.reports.reports().isEmpty());
    }

    // The tray says what counts and for how long, and an editor's icon holds until it gives it back. A count past
    // four hours, or begun on an earlier day, is flagged once, and the window says so above the list for as long as
    // the count runs.
    void theTrayShowsTheCount_data()
    {
        QTest::addColumn<QDateTime>("start");
        QTest::addColumn<QString>("time");
        QTest::addColumn<int>("notified");
        QTest::newRow("1:25") << Nine.addSecs(-85 * Minute) << "01:25:00" << 0;
        QTest::newRow("4 hours") << Nine.addSecs(-4 * Hour) << "04:00:00" << 1;
    }
    void theTrayShowsTheCount()
    {
        QFETCH(QDateTime, start);
        QFETCH(QString, time);
        QFETCH(int, notified);
        AbsenceFixture f;
        f.office.addRunningEntry(OfficeFixture::Task, start);
        counter::frmCounter& window = f.load();
        auto& trayCount = f.part<counter::TrayCount>();
        const counter::TrayIcon& tray = f.part<counter::TrayIcon>();
        trayCount.update();
        trayCount.update();
        QCOMPARE(tray.tip(), QStringLiteral("A contar: Redigir contestação (%1)").arg(time));
        QVERIFY(f.trayShows(2));
        QCOMPARE(f.notifications.size(), notified);
        const auto* warning = window.findChild<QLabel*>(QStringLiteral("CountWarning"));
        QCOMPARE(warning->isVisible(), notified == 1);
        if (notified) {
            QVERIFY(f.notifications.first().contains(QStringLiteral("Redigir contestação")));
            QCOMPARE(warning->text(), f.notifications.first());
        }

        int saving = 3;
        window.SetTrayIcon(saving, QStringLiteral("A gravar"));
        trayCount.update();
        QCOMPARE(tray.tip(), QStringLiteral("A gravar"));
        int normal = 1;
        window.SetTrayIcon(normal);
        trayCount.update();
        QVERIFY(f.trayShows(2));

        f.clock.advanceSeconds(Minute);
        f.toggle(OfficeFixture::Task);
        QCoreApplication::processEvents();
        QCOMPARE(tray.tip(), QStringLiteral("Orvel"));
        QVERIFY(f.trayShows(1));
        QVERIFY(!warning->isVisible());
    }

    // Working hours with nothing counted for half an hour: one reminder, until something counts again. One click on
    // "Lembrar quando nada conta" turns the reminder off in the preferences; another turns it on.
    void aSilentDayIsRemindedOnce()
    {
        AbsenceFixture f;
        f.load();
        auto& trayCount = f.part<counter::TrayCount>();
        auto* reminder = f.window->findChild<QAction*>(QStringLiteral("mnLembrete"));
        QVERIFY(reminder->isChecked());
        reminder->trigger();
        QCOMPARE(counter::Preferences::load().silentMinutes, 0);
        f.clock.advanceSeconds(30 * Minute);
        trayCount.update();
        QVERIFY(f.notifications.isEmpty());

        reminder->trigger();
        QVERIFY(reminder->isChecked());
        QCOMPARE(counter::Preferences::load().silentMinutes, 30);
        trayCount.update();
        trayCount.update();
        QCOMPARE(f.notifications.size(), 1);
        QVERIFY(f.notifications.first().startsWith(QStringLiteral("Nada está a ser contado há 30 minutos.")));

        f.toggle(OfficeFixture::Task);
        QCoreApplication::processEvents();
        f.clock.advanceSeconds(5 * Minute);
        f.toggle(OfficeFixture::Task);
        QCoreApplication::processEvents();
        f.clock.advanceSeconds(29 * Minute);
        trayCount.update();
        QCOMPARE(f.notifications.size(), 1);
        f.clock.advanceSeconds(Minute);
        trayCount.update();
        QCOMPARE(f.notifications.size(), 2);
    }

    // "Preferências" keeps the lawyer's threshold and applies it at once; Cancel keeps nothing.
    void thePreferencesApplyAtOnce_data()
    {
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<int>("asked");
        QTest::newRow("OK") << true << 1;
        QTest::newRow("Cancel") << false << 0;
    }
    void thePreferencesApplyAtOnce()
    {
        QFETCH(bool, accepted);
        QFETCH(int, asked);
        AbsenceFixture f;
        f.office.addRunningEntry(OfficeFixture::Task, Nine);
        counter::frmCounter& window = f.load();
        counter::frmPreferencias::setRunner([accepted](counter::frmPreferencias& dialog) {
            dialog.findChild<QSpinBox*>(QStringLiteral("FXAusencia"))->setValue(5);
            return accepted ? QDialog::Accepted : QDialog::Rejected;
        });
        window.findChild<QAction*>(QStringLiteral("mnPreferencias"))->trigger();
        QCOMPARE(counter::Preferences::load().absenceMinutes, accepted ? 5 : 15);

        f.look(0, 0);
        f.look(6 * Minute, 6 * Minute);
        f.look(5, 0);
        QCOMPARE(f.asked.size(), asked);
        if (accepted) {
            counter::Preferences defaults;
            QVERIFY(defaults.save());
        }
    }

    // At start-up a count left running since Friday 10:00 is asked about, as an absence from the end of Friday's
    // working hours (19:00) or from a moment the lawyer chooses; a moment outside the count is refused.
    void aForgottenCountIsAskedAtStartUp_data()
    {
        QTest::addColumn<Forgotten>("row");
        const auto at = [](int hour, int minute) { return QDateTime(Friday.date(), QTime(hour, minute)); };
        QTest::newRow("begun today") << Forgotten{Nine.addSecs(-Hour), {}, 0, 0, 1, {}};
        QTest::newRow("no answer") << Forgotten{Friday, {{}}, 1, 0, 1, {}};
        QTest::newRow("keep") << Forgotten{Friday, {AbsenceAnswer::Keep}, 1, 0, 1, {}};
        QTest::newRow("stop at the day's end") << Forgotten{Friday, {AbsenceAnswer::Stop}, 1, 0, 0, at(19, 0)};
        QTest::newRow("begun after hours, stop at midnight")
            << Forgotten{at(20, 0), {AbsenceAnswer::Stop}, 1, 0, 0, QDateTime(Friday.date().addDays(1), QTime(0, 0))};
        QTest::newRow("stop then, count again now")
            << Forgotten{Friday, {AbsenceAnswer::StopAndRestart}, 1, 0, 1, at(19, 0)};
        QTest::newRow("a moment chosen") << Forgotten{Friday,    {{AbsenceAnswer::StopAtChosen, at(12, 30)}}, 1, 0, 0,
                                                      at(12, 30)};
        QTest::newRow("before the start, then no answer")
            << Forgotten{Friday, {{AbsenceAnswer::StopAtChosen, at(9, 59)}, {}}, 2, 1, 1, {}};
        QTest::newRow("in the future, then now") << Forgotten{
            Friday, {{AbsenceAnswer::StopAtChosen, Nine.addSecs(60)}, {AbsenceAnswer::StopAtChosen, Nine}}, 2, 1, 0,
            Nine};
    }
    void aForgottenCountIsAskedAtStartUp()
    {
        QFETCH(Forgotten, row);
        const auto& [start, replies, asked, refused, running, end] = row;
        AbsenceFixture f;
        f.replies = replies;
        const qint64 entry = f.office.addRunningEntry(OfficeFixture::Task, start);
        f.load(false);
        QVERIFY(f.asked.isEmpty());
        QCoreApplication::processEvents();

        QCOMPARE(f.asked.size(), asked);
        QCOMPARE(f.boxes.shown().size(), refused);
        QCOMPARE(f.office.runningCount(), running);
        if (asked > 0) {
            QVERIFY(f.asked.first().text().contains(start.toString(QStringLiteral("dd-MM-yyyy HH:mm"))));
            QCOMPARE(f.asked.first().answers().size(), 4);
            QVERIFY(f.window->isVisible());
        }
        QCOMPARE(f.entryColumn(entry, "data_fim").toDateTime(), end);
        if (end.isValid()) {
            QCOMPARE(f.office.minutesOf(entry).toLongLong(), start.secsTo(end) / Minute);
        }
        QVERIFY(f.reports.reports().isEmpty());
    }
};

QTEST_MAIN(TestCounting)
#include "test_counting.moc"
