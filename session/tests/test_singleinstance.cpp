#include "session/singleinstance.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

using session::SingleInstance;

// Two starts of the counter for the same user, as two claims on one state directory.
class TestSingleInstance : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // A second start shows the running counter and ends; once it is gone, the next start is the counter.
    void aSecondStartShowsTheFirst()
    {
        QTemporaryDir dir;
        std::optional<SingleInstance> running(std::in_place, dir.path() + "/state");
        QVERIFY(running->claim());
        QSignalSpy shows(&*running, &SingleInstance::showRequested);

        SingleInstance second(dir.path() + "/state");
        QElapsedTimer clock;
        clock.start();
        QVERIFY(!second.claim());
        QVERIFY2(clock.elapsed() < 1000, "the second start waited for the lock");
        QVERIFY(shows.wait(5000));
        QCOMPARE(shows.count(), 1);
        QSignalSpy secondShows(&second, &SingleInstance::showRequested);

        // A third start asks again; the first still answers.
        SingleInstance third(dir.path() + "/state");
        QVERIFY(!third.claim());
        QVERIFY(shows.wait(5000));
        QCOMPARE(secondShows.count(), 0);

        running.reset();
        SingleInstance next(dir.path() + "/state");
        QVERIFY(next.claim());
    }
};

QTEST_GUILESS_MAIN(TestSingleInstance)
#include "test_singleinstance.moc"
