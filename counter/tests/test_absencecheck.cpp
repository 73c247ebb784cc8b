#include "counter/watch/absencecheck.h"
#include "counter/watch/absencequestion.h"
#include "counter/watch/idlesource.h"
#include "counter/watch/preferencesdialog.h"
#include "counter/watch/traycount.h"
#include "testsupport/windowfixture.h"

#include <QLabel>
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
    // Replies given in turn before answer.
    QList<counter::AbsenceReply> replies;
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
            return replies.isEmpty() ? counter::AbsenceReply(answer) : replies.takeFirst();
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
};

const QDateTime Nine(QDate(2009, 11, 16), QTime(9, 0, 0));
// The Friday before, at ten.
const QDateTime Friday(QDate(2009, 11, 13), QTime(10, 0, 0));

struct Booked {
    AbsenceAnswer answer;
    QDateTime start;
    int entries, running;
    QVariant minutes;
    QDateTime end;
};

struct OneQuestion {
    QString whileAsked;
    AbsenceAnswer answer;
    int asked, running;
    QVariant minutes; // null: no entry
};

struct Forgotten {
    QDateTime start;
    QList<counter::AbsenceReply> replies;
    int asked, refused, running;
    QDateTime end;
};

} // namespace

class TestAbsenceCheck : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Counting since start, the lawyer's last input at 9:10, back at 9:41 after 30 minutes away.
    void eachAnswerBooksItsMinutes_data()
    {
        QTest::addColumn<Booked>("row");
        const QDateTime nineTen = Nine.addSecs(10 * Minute);
        QTest::newRow("no answer") << Booked{AbsenceAnswer::None, Nine, 1, 1, 0, {}};
        QTest::newRow("keep") << Booked{AbsenceAnswer::Keep, Nine, 1, 1, 0, {}};
        QTest::newRow("stop when it began") << Booked{AbsenceAnswer::Stop, Nine, 1, 0, 10, nineTen};
        QTest::newRow("stop then, count again now") << Booked{AbsenceAnswer::StopAndRestart, Nine, 2, 1, 10, nineTen};
        QTest::newRow("stop then, 2:30 kept as 2")
            << Booked{AbsenceAnswer::Stop, nineTen.addSecs(-150), 1, 0, 2, nineTen};
        QTest::newRow("stop then, 1:20 is too short to keep")
            << Booked{AbsenceAnswer::Stop, nineTen.addSecs(-80), 0, 0, {}, {}};
    }
    void eachAnswerBooksItsMinutes()
    {
        QFETCH(Booked, row);
        const auto& [answer, start, entries, running, minutes, end] = row;
        AbsenceFixture f;
        f.answer = answer;
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
        QCOMPARE(f.office.minutesOf(entry), minutes);
        QCOMPARE(f.entryColumn(entry, "data_fim").toDateTime(), end);
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

    // Nothing counted, nothing asked, however long the absence. While the question is open another workstation
    // closes the entry (its minutes stay as they were booked), or the lawyer walks away and back again (one
    // question, not a second over it).
    void oneQuestionAboutACount_data()
    {
        QTest::addColumn<OneQuestion>("row");
        QTest::newRow("nothing counted") << OneQuestion{"", AbsenceAnswer::Stop, 0, 0, {}};
        QTest::newRow("the entry closed elsewhere") << OneQuestion{"closed", AbsenceAnswer::Stop, 1, 0, 21};
        QTest::newRow("away and back again") << OneQuestion{"away", AbsenceAnswer::None, 1, 1, 0};
    }
    void oneQuestionAboutACount()
    {
        QFETCH(OneQuestion, row);
        const auto& [whileAsked, answer, asked, running, minutes] = row;
        AbsenceFixture f;
        f.answer = answer;
        const qint64 entry = whileAsked.isEmpty() ? 0 : f.office.addRunningEntry(OfficeFixture::Task, Nine);
        f.load();
        f.look(0, 0);
        f.look(20 * Minute, 20 * Minute);
        f.whileAsked = [&] {
            if (whileAsked == QStringLiteral("closed")) {
                f.office.database().exec(QStringLiteral("UPDATE tbProcessos_Trabalhos_Tarefas_Lancamentos SET "
                                                        "inprogress = 0, unidades = 21, data_fim = '2009-11-16 "
                                                        "09:21:00' WHERE lancamento_id = %1")
                                             .arg(entry));
            } else {
                f.look(20 * Minute, 20 * Minute);
                f.look(Minute, 0);
            }
        };
        f.look(Minute, 0);
        QCOMPARE(f.asked.size(), asked);
        QCOMPARE(f.office.runningCount(), running);
        QCOMPARE(f.office.minutesOf(entry), minutes);
        if (whileAsked == QStringLiteral("closed")) {
            QCOMPARE(f.entryColumn(entry, "data_fim").toDateTime(), Nine.addSecs(21 * Minute));
        }
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
        QTest::newRow("since yesterday evening") << Nine.addSecs(-9 * Hour - 50 * Minute) << "09:50:00" << 1;
    }
    void theTrayShowsTheCount()
    {
        QFETCH(QDateTime, start);
        QFETCH(QString, time);
        QFETCH(int, notified);
        AbsenceFixture f;
        f.recordNotifications();
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
        f.recordNotifications();
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
            QVERIFY(f.asked.first().text().contains(QStringLiteral("13-11-2009 10:00")));
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

QTEST_MAIN(TestAbsenceCheck)
#include "test_absencecheck.moc"
