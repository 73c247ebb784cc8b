#include "counter/watch/absencewatch.h"
#include "counter/watch/countstatus.h"
#include "counter/watch/idlesource.h"
#include "testsupport/mockclock.h"

#include <QTest>

using counter::Absence;
using counter::AbsenceWatch;
using counter::Preferences;
using counter::RunningTask;
namespace countStatus = counter::countStatus;

namespace {

constexpr qint64 Minute = 60;
constexpr qint64 Hour = 3600;
// Monday, nine in the morning.
const QDateTime Start(QDate(2009, 11, 16), QTime(9, 0, 0));
const QDateTime LateEvening(QDate(2009, 11, 16), QTime(23, 50, 0));

struct ScriptedIdle : counter::IdleSource {
    explicit ScriptedIdle(QString name = QStringLiteral("scripted"), std::optional<qint64> idle = std::nullopt)
        : idle(idle)
        , m_name(std::move(name))
    {}
    std::optional<qint64> idle;
    std::optional<qint64> idleMilliseconds() override { return idle; }
    QString name() const override { return m_name; }
    QString m_name;
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

Look awake(qint64 seconds, qint64 idle, qint64 began = None, qint64 ended = None)
{
    return {seconds, seconds, idle, true, began, ended, false};
}

RunningTask task(const QString& name, const QDateTime& start)
{
    return {QStringLiteral("#812"), name, 1, start};
}

} // namespace

class TestAbsenceWatch : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void absencesAreAskedAboutOnReturn_data()
    {
        QTest::addColumn<QDateTime>("start");
        QTest::addColumn<QList<Look>>("looks");
        const qint64 T = 15 * Minute;
        // Back after 20 minutes: the absence began at the last input and ends at the return's first input.
        QTest::newRow("back after 20 idle minutes") << Start
                                                    << QList<Look>{awake(0, 0), awake(20 * Minute, 20 * Minute),
                                                                   awake(Minute, 2, 0, 21 * Minute - 2), awake(5, 7)};
        QTest::newRow("14 minutes is under the threshold")
            << Start << QList<Look>{awake(0, 0), awake(14 * Minute, 14 * Minute), awake(5, 0)};
        QTest::newRow("exactly the threshold") << Start << QList<Look>{awake(0, 0), awake(T, T), awake(1, 0, 0, T + 1)};
        QTest::newRow("still away is not asked yet")
            << Start << QList<Look>{awake(0, 0), awake(T, T), awake(Minute, T + Minute), awake(Minute, T + 2 * Minute)};
        QTest::newRow("nothing counted") << Start
                                         << QList<Look>{
                                                {0, 0, 0, false, None, None, false},
                                                {20 * Minute, 20 * Minute, 20 * Minute, false, None, None, false},
                                                {5, 5, 0, false, None, None, false}};
        QTest::newRow("the count ended during the absence")
            << Start
            << QList<Look>{
                   awake(0, 0), awake(20 * Minute, 20 * Minute), {5, 5, 0, false, None, None, false}, awake(5, 0)};
        // The monotonic clock stood still while the wall clock went on: asleep from the look before.
        QTest::newRow("sleep, no idle source")
            << Start << QList<Look>{awake(0, -1), {40 * Minute, 5, -1, true, 0, 40 * Minute, true}, awake(5, -1)};
        QTest::newRow("sleep, then back with the source")
            << Start << QList<Look>{awake(0, 0), {40 * Minute, 5, 3, true, 0, 40 * Minute - 3, true}};
        QTest::newRow("idle, then asleep: from the last input")
            << Start
            << QList<Look>{
                   awake(0, 0), awake(5 * Minute, 5 * Minute), {30 * Minute, 5, 1, true, 0, 35 * Minute - 1, true}};
        QTest::newRow("a sleep under the threshold")
            << Start << QList<Look>{awake(0, -1), {10 * Minute, 5, -1, true, None, None, false}};
        QTest::newRow("the wall clock set back is no absence")
            << Start << QList<Look>{awake(0, -1), {-Minute * 60, 5, -1, true, None, None, false}, awake(5, -1)};
        QTest::newRow("no idle source and no sleep asks nothing")
            << Start << QList<Look>{awake(0, -1), awake(480 * Minute, -1), awake(5, -1)};
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
        testsupport::MockClock clock(Start);
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

    // The first source that answers is chosen: one that cannot be made, or cannot tell now, is passed over.
    void theFirstSourceThatAnswers()
    {
        const counter::IdleSourceFactory none = [] { return nullptr; };
        const counter::IdleSourceFactory silent = [] {
            return std::make_unique<ScriptedIdle>(QStringLiteral("silent"));
        };
        const counter::IdleSourceFactory answering = [] {
            return std::make_unique<ScriptedIdle>(QStringLiteral("answering"), 0);
        };
        QCOMPARE(counter::firstAnswering({none, silent, answering})->name(), QStringLiteral("answering"));
        QCOMPARE(counter::firstAnswering({none, silent})->name(), QStringLiteral("nenhuma"));
        // ORV_IDLE_SOURCE=none gives the state without a source, whatever the desktop offers.
        qputenv("ORV_IDLE_SOURCE", "none");
        const auto source = counter::makeIdleSource();
        qunsetenv("ORV_IDLE_SOURCE");
        QCOMPARE(source->name(), QStringLiteral("nenhuma"));
        QVERIFY(!source->idleMilliseconds());
    }

    // Two tasks counting show the longer time (nothing or a single task: the counter window's tray test).
    void theTraySaysWhatCounts()
    {
        const QDateTime now = Start.addSecs(3 * Hour);
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
        QTest::newRow("3:59") << Start << Start.addSecs(4 * Hour - 60) << 4 << false;
        QTest::newRow("4 hours") << Start << Start.addSecs(4 * Hour) << 4 << true;
        QTest::newRow("across midnight, 15 minutes")
            << Start.addSecs(14 * Hour + 50 * Minute) << Start.addSecs(15 * Hour + 5 * Minute) << 4 << true;
        QTest::newRow("no limit, same day") << Start << Start.addSecs(10 * Hour) << 0 << false;
        QTest::newRow("no limit, a day before") << Start.addDays(-1) << Start << 0 << true;
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

    void aForgottenCountIsOfferedToEndWithTheDay_data()
    {
        QTest::addColumn<QDateTime>("start");
        QTest::addColumn<QDateTime>("end");
        QTest::newRow("begun in working hours") << Start << Start.addSecs(10 * Hour);
        QTest::newRow("begun after them") << Start.addSecs(11 * Hour) << Start.addSecs(15 * Hour);
    }
    void aForgottenCountIsOfferedToEndWithTheDay()
    {
        QFETCH(QDateTime, start);
        QFETCH(QDateTime, end);
        QCOMPARE(countStatus::forgottenEnd(start, Preferences()), end);
    }

    void silentWorkingHours_data()
    {
        QTest::addColumn<QDateTime>("quietSince");
        QTest::addColumn<QDateTime>("now");
        QTest::addColumn<int>("silentMinutes");
        QTest::addColumn<bool>("reminded");
        const QDateTime ten = Start.addSecs(3600);
        QTest::newRow("an hour quiet") << Start << ten << 30 << true;
        QTest::newRow("20 minutes quiet") << ten.addSecs(-20 * Minute) << ten << 30 << false;
        QTest::newRow("exactly 30") << ten.addSecs(-30 * Minute) << ten << 30 << true;
        QTest::newRow("Saturday") << Start.addDays(5) << ten.addDays(5) << 30 << false;
        QTest::newRow("before nine") << Start.addSecs(-3600) << Start.addSecs(-60) << 30 << false;
        QTest::newRow("at seven in the evening") << Start << Start.addSecs(10 * Hour) << 30 << false;
        QTest::newRow("quiet since yesterday, 9:29") << Start.addDays(-1) << Start.addSecs(29 * Minute) << 30 << false;
        QTest::newRow("quiet since yesterday, 9:30") << Start.addDays(-1) << Start.addSecs(30 * Minute) << 30 << true;
        QTest::newRow("turned off") << Start << ten << 0 << false;
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
};

QTEST_GUILESS_MAIN(TestAbsenceWatch)
#include "test_absencewatch.moc"
