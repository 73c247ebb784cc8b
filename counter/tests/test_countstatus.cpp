#include "counter/watch/countstatus.h"

#include <QTest>

using counter::Preferences;
using counter::RunningTask;
namespace countStatus = counter::countStatus;

namespace {
constexpr qint64 Minute = 60;
constexpr qint64 Hour = 3600;
// A Monday.
const QDateTime Monday(QDate(2009, 11, 16), QTime(9, 0, 0));

RunningTask task(const QString& name, const QDateTime& start)
{
    return {QStringLiteral("#812"), name, 1, start};
}
} // namespace

Q_DECLARE_METATYPE(QList<counter::RunningTask>)

class TestCountStatus : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void theTraySaysWhatCounts_data()
    {
        QTest::addColumn<QList<RunningTask>>("running");
        QTest::addColumn<int>("image");
        QTest::addColumn<QString>("tip");
        const QDateTime now = Monday.addSecs(3 * Hour);
        QTest::newRow("nothing") << QList<RunningTask>{} << 1 << QStringLiteral("Orvel");
        QTest::newRow("one task") << QList<RunningTask>{task(QStringLiteral("Redigir contestação"),
                                                             now.addSecs(-85 * Minute))}
                                  << 2 << QStringLiteral("A contar: Redigir contestação (01:25:00)");
        QTest::newRow("two tasks, the longest time") << QList<RunningTask>{task(QStringLiteral("A"), now.addSecs(-300)),
                                                                           task(QStringLiteral("B"), now.addSecs(-754))}
                                                     << 2 << QStringLiteral("A contar 2 tarefas (12:34)");
    }
    void theTraySaysWhatCounts()
    {
        QFETCH(QList<RunningTask>, running);
        QFETCH(int, image);
        QFETCH(QString, tip);
        const countStatus::Tray tray = countStatus::tray(running, Monday.addSecs(3 * Hour));
        QCOMPARE(tray.image, image);
        QCOMPARE(tray.tip, tip);
    }

    void longAndForgottenCounts_data()
    {
        QTest::addColumn<QDateTime>("start");
        QTest::addColumn<QDateTime>("now");
        QTest::addColumn<int>("limitHours");
        QTest::addColumn<bool>("flagged");
        QTest::newRow("3:59") << Monday << Monday.addSecs(4 * Hour - 60) << 4 << false;
        QTest::newRow("4 hours") << Monday << Monday.addSecs(4 * Hour) << 4 << true;
        QTest::newRow("across midnight, 15 minutes")
            << Monday.addSecs(14 * Hour + 50 * Minute) << Monday.addSecs(15 * Hour + 5 * Minute) << 4 << true;
        QTest::newRow("no limit, same day") << Monday << Monday.addSecs(10 * Hour) << 0 << false;
        QTest::newRow("no limit, a day before") << Monday.addDays(-1) << Monday << 0 << true;
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
        QTest::newRow("begun in working hours") << Monday << Monday.addSecs(10 * Hour);
        QTest::newRow("begun after them") << Monday.addSecs(11 * Hour) << Monday.addSecs(15 * Hour);
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
        const QDateTime ten = Monday.addSecs(3600);
        QTest::newRow("an hour quiet") << Monday << ten << 30 << true;
        QTest::newRow("20 minutes quiet") << ten.addSecs(-20 * Minute) << ten << 30 << false;
        QTest::newRow("exactly 30") << ten.addSecs(-30 * Minute) << ten << 30 << true;
        QTest::newRow("Saturday") << Monday.addDays(5) << ten.addDays(5) << 30 << false;
        QTest::newRow("before nine") << Monday.addSecs(-3600) << Monday.addSecs(-60) << 30 << false;
        QTest::newRow("at seven in the evening") << Monday << Monday.addSecs(10 * Hour) << 30 << false;
        QTest::newRow("quiet since yesterday, 9:29")
            << Monday.addDays(-1) << Monday.addSecs(29 * Minute) << 30 << false;
        QTest::newRow("quiet since yesterday, 9:30") << Monday.addDays(-1) << Monday.addSecs(30 * Minute) << 30 << true;
        QTest::newRow("turned off") << Monday << ten << 0 << false;
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

QTEST_GUILESS_MAIN(TestCountStatus)
#include "test_countstatus.moc"
