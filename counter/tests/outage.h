#pragma once

#include "counter/linkrecovery.h"
#include "testsupport/windowfixture.h"

#include <QLabel>

#include <functional>

// A task counts for ten minutes (with counting false it is ticked during the fault), breakLink takes the database
// away and the lawyer unticks: the list keeps every row and the task counting, one message says the stop waits, the
// window and the tray say the database is away, and the tries on the back-off fail without a word. Once mendLink has
// brought the database back, the next try, with no click, closes the entry once with the ten minutes up to the
// untick; a command that opens the link again (byACommand) brings that try forward. A tick the database could not
// take is shown as not done, with one message, and nothing is started later.
inline void outageHealsByItself(WindowFixture& f, const std::function<void()>& breakLink,
                                const std::function<void()>& mendLink, bool byACommand = false, bool counting = true)
{
    using testsupport::OfficeFixture;
    const auto lineShown = [&f] {
        const auto& line = f.child<QLabel>("LinkStatus");
        return line.isVisibleTo(f.window.get()) && line.text() == counter::LinkRecovery::statusText();
    };
    f.office.addTask(813, OfficeFixture::Work, QStringLiteral("Juntar documentos"), false, f.clock.now());
    f.load();
    if (counting) {
        f.toggle(OfficeFixture::Task);
    }
    const qint64 entry = f.list().cellText(f.row(OfficeFixture::Task), 9).toLongLong();
    f.clock.advanceMinutes(10);
    const QDateTime untick = f.clock.now();
    const QStringList rows = keysOf(f.list());
    auto& recovery = f.part<counter::LinkRecovery>();
    breakLink();
    f.toggle(OfficeFixture::Task);
    QCOMPARE(keysOf(f.list()), rows);
    QCOMPARE(f.list().checked(f.row(OfficeFixture::Task)), counting);
    QVERIFY(recovery.outage());
    QVERIFY(lineShown());
    QCOMPARE(f.part<counter::TrayIcon>().tip(), counter::LinkRecovery::trayTip());
    QCOMPARE(f.boxes.shown().size(), 1);
    QVERIFY(f.boxes.shown().first().text.contains(QStringLiteral("Redigir contestação")));
    for (const int seconds : {1, 2, 4, 8, 8}) {
        f.clock.advanceSeconds(seconds);
        recovery.tick();
        QVERIFY(recovery.outage());
    }
    f.window->mnContador_Click();
    QCOMPARE(keysOf(f.list()), rows);
    QCOMPARE(f.list().checked(f.row(OfficeFixture::Task)), counting);
    mendLink();
    if (byACommand) {
        f.window->mnContador_Click();
        QVERIFY(recovery.outage());
        QVERIFY(recovery.nextTry() <= f.clock.now());
    } else {
        f.clock.advanceSeconds(counter::LinkRecovery::LongestDelayMs / 1000);
    }
    recovery.tick();

    QVERIFY(!recovery.outage());
    QVERIFY(!lineShown());
    QCOMPARE(f.part<counter::TrayIcon>().tip(), QStringLiteral("Orvel"));
    QCOMPARE(keysOf(f.list()), rows);
    QVERIFY(!f.list().checked(f.row(OfficeFixture::Task)));
    QCOMPARE(f.office.runningCount(), 0);
    QCOMPARE(f.office.entryCount(), counting ? 1 : 0);
    if (counting) {
        QCOMPARE(f.office.minutesOf(entry).toInt(), 10);
        QCOMPARE(f.entryColumn(entry, "data_fim").toDateTime(), untick);
    }
    QCOMPARE(f.boxes.shown().size(), 1);
    for (const auto& report : f.reports.reports()) {
        QVERIFY2(report.text.startsWith(QStringLiteral("The connection cannot be used to perform this operation.")),
                 qPrintable(report.text));
    }
}
