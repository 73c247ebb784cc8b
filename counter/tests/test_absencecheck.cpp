#include "counter/watch/absencecheck.h"
#include "counter/watch/absencequestion.h"
#include "counter/watch/idlesource.h"
#include "counter/watch/preferencesdialog.h"
#include "counter/watch/traycount.h"
#include "testsupport/windowfixture.h"

#include <QSpinBox>

using counter::AbsenceAnswer;
using counter::AbsenceQuestion;
using testsupport::OfficeFixture;

namespace {

constexpr qint64 Minute = 60;
constexpr qint64 Hour = 3600;

// The counter window with the idle source, the monotonic clock and the absence question scripted. The machine
// never sleeps here unless a test moves the wall clock alone.
struct AbsenceFixture : WindowFixture {
    std::optional<qint64> idleSeconds = 0;
    qint64 monotonic = 0;
    AbsenceAnswer answer = AbsenceAnswer::None;
    QList<AbsenceQuestion> asked;
    std::function<void()> whileAsked;

    struct Scripted : counter::IdleSource {
        explicit Scripted(AbsenceFixture& f)
            : f(f)
        {}
        std::optional<qint64> idleMilliseconds() override
        {
            return f.idleSeconds ? std::optional<qint64>(*f.idleSeconds * 1000) : std::nullopt;
        }
        QString name() const override { return QStringLiteral("scripted"); }
        AbsenceFixture& f;
    };

    AbsenceFixture()
    {
        counter::setIdleSourceFactory([this] { return std::make_unique<Scripted>(*this); });
        counter::AbsenceCheck::setMonotonicSource([this] { return monotonic * 1000; });
        counter::setAbsenceAsker([this](const AbsenceQuestion& question) {
            asked << question;
            if (whileAsked) {
                whileAsked();
            }
            return answer;
        });
    }
    ~AbsenceFixture()
    {
        counter::setIdleSourceFactory({});
        counter::AbsenceCheck::setMonotonicSource({});
        counter::setAbsenceAsker({});
        counter::TrayIcon::setNotifier({});
        counter::frmPreferencias::setRunner({});
    }

    // The notifications shown beside the tray icon, from now on.
    QStringList notifications;
    void recordNotifications()
    {
        counter::TrayIcon::setNotifier([this](const QString&, const QString& text) { notifications << text; });
    }

    bool trayShows(int image)
    {
        const counter::TrayIcon& tray = part<counter::TrayIcon>();
        return tray.icon().pixmap(16).toImage() == tray.images().image(image).pixmap(16).toImage();
    }

    // Time passes by seconds with the user idle for idle seconds, then the window looks.
    void look(qint64 seconds, std::optional<qint64> idle)
    {
        clock.advanceSeconds(seconds);
        monotonic += seconds;
        idleSeconds = idle;
        part<counter::AbsenceCheck>().poll();
    }

    QVariant column(qint64 entry, const QString& name)
    {
        return office.database().scalar(
            QStringLiteral("SELECT %1 FROM tbProcessos_Trabalhos_Tarefas_Lancamentos WHERE lancamento_id = %2")
                .arg(name)
                .arg(entry));
    }
};

const QDateTime Nine(QDate(2009, 11, 16), QTime(9, 0, 0));

} // namespace

class TestAbsenceCheck : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Counting since start, the lawyer's last input at 9:10, back at 9:41 after 30 minutes away.
    void eachAnswerBooksItsMinutes_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<QDateTime>("start");
        QTest::addColumn<int>("entries");
        QTest::addColumn<int>("running");
        QTest::addColumn<QVariant>("minutes");
        QTest::addColumn<QDateTime>("end");
        QTest::newRow("no answer") << int(AbsenceAnswer::None) << Nine << 1 << 1 << QVariant(0) << QDateTime();
        QTest::newRow("keep") << int(AbsenceAnswer::Keep) << Nine << 1 << 1 << QVariant(0) << QDateTime();
        QTest::newRow("stop when it began")
            << int(AbsenceAnswer::Stop) << Nine << 1 << 0 << QVariant(10) << Nine.addSecs(10 * Minute);
        QTest::newRow("stop then, count again now")
            << int(AbsenceAnswer::StopAndRestart) << Nine << 2 << 1 << QVariant(10) << Nine.addSecs(10 * Minute);
        QTest::newRow("stop then, 2:30 kept as 2") << int(AbsenceAnswer::Stop) << Nine.addSecs(7 * Minute + 30) << 1
                                                   << 0 << QVariant(2) << Nine.addSecs(10 * Minute);
        QTest::newRow("stop then, 1:20 is too short to keep")
            << int(AbsenceAnswer::Stop) << Nine.addSecs(8 * Minute + 40) << 0 << 0 << QVariant() << QDateTime();
    }
    void eachAnswerBooksItsMinutes()
    {
        QFETCH(int, answer);
        QFETCH(QDateTime, start);
        QFETCH(int, entries);
        QFETCH(int, running);
        QFETCH(QVariant, minutes);
        QFETCH(QDateTime, end);
        AbsenceFixture f;
        f.answer = AbsenceAnswer(answer);
        const qint64 entry = f.office.addRunningEntry(OfficeFixture::Task, start);
        f.load(false);
        f.clock.set(Nine.addSecs(10 * Minute));
        f.look(0, 0);
        f.look(30 * Minute, 30 * Minute);
        QVERIFY(f.asked.isEmpty());
        f.look(Minute, 1);

        QCOMPARE(f.asked.size(), 1);
        QCOMPARE(f.asked.first().tasks, QStringList{QStringLiteral("Redigir contestação")});
        QCOMPARE(f.asked.first().began, Nine.addSecs(10 * Minute));
        QCOMPARE(f.asked.first().minutes, 30);
        QVERIFY(f.asked.first().text().contains(QStringLiteral("09:10")));
        QVERIFY(f.window->isVisible());

        QCOMPARE(f.office.entryCount(), entries);
        QCOMPARE(f.office.runningCount(), running);
        QCOMPARE(f.office.minutesOf(entry).isNull(), minutes.isNull());
        if (!minutes.isNull()) {
            QCOMPARE(f.office.minutesOf(entry).toInt(), minutes.toInt());
        }
        if (end.isValid()) {
            QCOMPARE(f.column(entry, QStringLiteral("data_fim")).toDateTime(), end);
        } else if (entries > 0) {
            QVERIFY(f.column(entry, QStringLiteral("data_fim")).isNull());
        }
        if (answer == int(AbsenceAnswer::StopAndRestart)) {
            // The task counts again from the return, and its row shows it.
            QCOMPARE(f.office.database()
                         .scalar(QStringLiteral("SELECT data FROM tbProcessos_Trabalhos_Tarefas_Lancamentos WHERE "
                                                "inprogress = 1"))
                         .toDateTime(),
                     f.clock.now());
            QVERIFY(f.list().checked(f.row(OfficeFixture::Task)));
        }
        if (answer == int(AbsenceAnswer::None) || answer == int(AbsenceAnswer::Keep)) {
            QVERIFY(f.sent(QStringLiteral("UPDATE")).isEmpty());
            QVERIFY(f.sent(QStringLiteral("DELETE")).isEmpty());
        }
        QVERIFY(f.reports.reports().isEmpty());
    }

    // Another workstation closed the entry while the question was open: its minutes stay as they were booked.
    void anEntryClosedMeanwhileIsLeftAlone()
    {
        AbsenceFixture f;
        f.answer = AbsenceAnswer::Stop;
        const qint64 entry = f.office.addRunningEntry(OfficeFixture::Task, Nine);
        f.load();
        f.look(0, 0);
        f.look(20 * Minute, 20 * Minute);
        f.whileAsked = [&] {
            f.office.database().exec(
                QStringLiteral("UPDATE tbProcessos_Trabalhos_Tarefas_Lancamentos SET inprogress = 0, unidades = 21, "
                               "data_fim = '2009-11-16 09:21:00' WHERE lancamento_id = %1")
                    .arg(entry));
        };
        f.look(Minute, 0);
        QCOMPARE(f.asked.size(), 1);
        QCOMPARE(f.office.minutesOf(entry).toInt(), 21);
        QCOMPARE(f.column(entry, QStringLiteral("data_fim")).toDateTime(), Nine.addSecs(21 * Minute));
    }

    // While the question is open the lawyer walks away and back again: one question, not a second over it.
    void oneQuestionAtATime()
    {
        AbsenceFixture f;
        f.office.addRunningEntry(OfficeFixture::Task, Nine);
        f.load();
        f.look(0, 0);
        f.look(20 * Minute, 20 * Minute);
        f.whileAsked = [&] {
            f.look(20 * Minute, 20 * Minute);
            f.look(Minute, 0);
        };
        f.look(Minute, 0);
        QCOMPARE(f.asked.size(), 1);
        QCOMPARE(f.office.runningCount(), 1);
    }

    // A sleep of the machine while counting, noticed without any idle source, is asked about from its start.
    void aSleepIsAnAbsenceWithoutIdleSource()
    {
        AbsenceFixture f;
        f.answer = AbsenceAnswer::Stop;
        const qint64 entry = f.office.addRunningEntry(OfficeFixture::Task, Nine);
        f.load();
        f.look(10 * Minute, std::nullopt);
        f.clock.advanceSeconds(60 * Minute);
        f.look(5, std::nullopt);
        QCOMPARE(f.asked.size(), 1);
        QVERIFY(f.asked.first().slept);
        QCOMPARE(f.office.minutesOf(entry).toInt(), 10);
    }

    // The tray says whether anything counts and for how long; an editor's icon holds until it gives it back.
    void theTrayShowsTheCount()
    {
        AbsenceFixture f;
        f.office.addRunningEntry(OfficeFixture::Task, Nine);
        counter::frmCounter& window = f.load();
        auto& trayCount = f.part<counter::TrayCount>();
        f.clock.advanceSeconds(85 * Minute);
        trayCount.update();
        QCOMPARE(f.part<counter::TrayIcon>().tip(), QStringLiteral("A contar: Redigir contestação (01:25:00)"));
        QVERIFY(f.trayShows(2));

        int saving = 3;
        window.SetTrayIcon(saving, QStringLiteral("A gravar"));
        trayCount.update();
        QCOMPARE(f.part<counter::TrayIcon>().tip(), QStringLiteral("A gravar"));
        int normal = 1;
        window.SetTrayIcon(normal);
        trayCount.update();
        QVERIFY(f.trayShows(2));

        f.clock.advanceSeconds(Minute);
        f.toggle(OfficeFixture::Task);
        QCoreApplication::processEvents();
        QCOMPARE(f.part<counter::TrayIcon>().tip(), QStringLiteral("Orvel"));
        QVERIFY(f.trayShows(1));
    }

    // A count past four hours, or begun on an earlier day, is flagged once.
    void longCountsAreFlaggedOnce_data()
    {
        QTest::addColumn<QDateTime>("start");
        QTest::addColumn<int>("notified");
        QTest::newRow("3:59") << Nine.addSecs(-4 * Hour + 61) << 0;
        QTest::newRow("4 hours") << Nine.addSecs(-4 * Hour) << 1;
        QTest::newRow("since yesterday evening") << Nine.addSecs(-9 * Hour - 50 * Minute) << 1;
    }
    void longCountsAreFlaggedOnce()
    {
        QFETCH(QDateTime, start);
        QFETCH(int, notified);
        AbsenceFixture f;
        f.recordNotifications();
        f.office.addRunningEntry(OfficeFixture::Task, start);
        f.load();
        f.part<counter::TrayCount>().update();
        f.part<counter::TrayCount>().update();
        QCOMPARE(f.notifications.size(), notified);
        if (notified) {
            QVERIFY(f.notifications.first().contains(QStringLiteral("Redigir contestação")));
        }
    }

    // Working hours with nothing counted for half an hour: one reminder, until something counts again.
    void aSilentDayIsRemindedOnce()
    {
        AbsenceFixture f;
        f.recordNotifications();
        f.load();
        auto& trayCount = f.part<counter::TrayCount>();
        f.clock.advanceSeconds(29 * Minute);
        trayCount.update();
        QVERIFY(f.notifications.isEmpty());
        f.clock.advanceSeconds(Minute);
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

    // Nothing counted, nothing asked, however long the absence.
    void nothingCountedNothingAsked()
    {
        AbsenceFixture f;
        f.load();
        f.look(0, 0);
        f.look(180 * Minute, 180 * Minute);
        f.look(5, 0);
        QVERIFY(f.asked.isEmpty());
    }
};

QTEST_MAIN(TestAbsenceCheck)
#include "test_absencecheck.moc"
