#include "core/clock.h"
#include "counter/taskrow.h"
#include "data/timeentries/timeentries.h"
#include "testsupport/windowfixture.h"

#include <QCheckBox>
#include <QTimer>

using testsupport::OfficeFixture;

namespace {

const QString Insert812 = QStringLiteral(
    "INSERT INTO tbProcessos_Trabalhos_Tarefas_Lancamentos (tarefa_id, trabalho_id, processo_id, contacto_id, data, "
    "data_fim, advogado_id, base_id, unidades, preco_id, preco, inprogress, closed, inprogress_time) VALUES (812, 77, "
    "15, 402, GETDATE(), null, 9, 1, 0, 2, 45.5, 1, 0, GETDATE())");

} // namespace

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
        QTest::newRow("spaces") << "   " << qint64(-1);
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
    // refill follows: the row shows the idle text again, still bold), and the timer stands still.
    void unticking_data()
    {
        QTest::addColumn<int>("serverAheadSeconds");
        QTest::addColumn<int>("elapsedSeconds");
        QTest::addColumn<int>("minutes"); // 0: the entry is deleted
        QTest::newRow("1:20 deleted") << 0 << 80 << 0;
        QTest::newRow("1:30 to the even 2") << 0 << 90 << 2;
        QTest::newRow("1:40") << 0 << 100 << 2;
        QTest::newRow("2:20") << 0 << 140 << 2;
        QTest::newRow("2:30 to the even 2") << 0 << 150 << 2;
        QTest::newRow("2:40") << 0 << 160 << 3;
        QTest::newRow("workstation behind the server") << 600 << 300 << 0;
        QTest::newRow("workstation ahead of the server") << -60 << 60 << 2;
        QTest::newRow("workstation two minutes ahead") << -120 << 60 << 3;
    }
    void unticking()
    {
        QFETCH(int, serverAheadSeconds);
        QFETCH(int, elapsedSeconds);
        QFETCH(int, minutes);
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
                 QStringList{closing + QStringLiteral(" WHERE lancamento_id = ") + entry +
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
    }

    // Another workstation holds the database's write lock: the statement gives up after the engine's busy
    // time-out, the failure is reported once, and the row shows what the database holds: a failed tick is
    // unticked, a failed untick keeps counting.
    void aLockedDatabaseLeavesTheRowTrue_data()
    {
        QTest::addColumn<bool>("unticking");
        QTest::newRow("tick") << false;
        QTest::newRow("untick") << true;
    }
    void aLockedDatabaseLeavesTheRowTrue()
    {
        QFETCH(bool, unticking);
        WindowFixture f;
        f.load();
        if (unticking) {
            f.toggle(OfficeFixture::Task);
            f.clock.advanceSeconds(300);
        }
        {
            const auto otherWorkstation = f.office.database().lockWrites();
            f.toggle(OfficeFixture::Task);
        }

        QCOMPARE(f.reports.reports().size(), 1);
        QCOMPARE(f.office.runningCount(), unticking ? 1 : 0);
        const int row = f.row(OfficeFixture::Task);
        QCOMPARE(f.list().checked(row), unticking);
        QCOMPARE(f.list().cellText(row, 9).trimmed().isEmpty(), !unticking);
    }

    // Another workstation of the lawyer, on a connection of its own, closes the entry with 7 minutes before the
    // untick, or between this window's read of the entry and its close or delete: the entry keeps the other
    // workstation's close, and the list shows it ended.
    void anEntryClosedElsewhereIsNotEndedTwice_data()
    {
        QTest::addColumn<int>("elapsedSeconds");
        QTest::addColumn<bool>("beforeTheUntick");
        QTest::newRow("before the untick") << 600 << true;
        QTest::newRow("meanwhile, a close") << 600 << false;
        QTest::newRow("meanwhile, a delete of a short count") << 80 << false;
    }
    void anEntryClosedElsewhereIsNotEndedTwice()
    {
        QFETCH(int, elapsedSeconds);
        QFETCH(bool, beforeTheUntick);
        WindowFixture f;
        f.load();
        f.toggle(OfficeFixture::Task);
        const qint64 entry = f.list().cellText(f.row(OfficeFixture::Task), 9).toLongLong();
        f.clock.advanceSeconds(elapsedSeconds);
        data::Connection otherWorkstation;
        otherWorkstation.open(f.office.database().connectionText());
        const QString close = data::timeEntries::closeStatement(entry, 7, QStringLiteral("GETDATE()"));
        const QString read =
            QStringLiteral("SELECT * FROM tbProcessos_Trabalhos_Tarefas_Lancamentos WHERE lancamento_id = %1")
                .arg(entry);
        qint64 closedThere = beforeTheUntick ? otherWorkstation.execute(close) : -1;
        data::StatementLog::clear();
        // Otherwise the other workstation closes the entry as soon as this one has read it.
        core::Clock::setSource([&] {
            const QStringList sent = data::StatementLog::statements();
            if (closedThere < 0 && !sent.isEmpty() && sent.last() == read) {
                closedThere = otherWorkstation.execute(close);
            }
            return f.clock.now();
        });
        f.toggle(OfficeFixture::Task);
        core::Clock::setSource([&] { return f.clock.now(); });

        QCOMPARE(closedThere, 1);
        if (beforeTheUntick) {
            QVERIFY(f.sent(QStringLiteral("UPDATE")).isEmpty() && f.sent(QStringLiteral("DELETE")).isEmpty());
        }
        QCOMPARE(f.office.minutesOf(entry).toInt(), 7);
        QCOMPARE(f.office.entryCount(), 1);
        QVERIFY(!f.list().checked(f.row(OfficeFixture::Task)));
        QVERIFY(f.reports.reports().isEmpty());
        // The list was refilled: it shows the other workstation's minutes in "Acumulado", as a refill now does.
        const QString accumulated = f.list().cellText(f.row(OfficeFixture::Task), 2);
        f.refill();
        QCOMPARE(accumulated, f.list().cellText(f.row(OfficeFixture::Task), 2));
    }

    // The lawyer's count on 813 has run a while, started in this window or on another workstation after the list
    // was filled (the list then shows it idle); then 812 is ticked. With a single count the tick ends the other
    // count, in the transaction that starts 812: a start that fails leaves it running.
    void aTickWithASingleCountEndsTheOtherCounts_data()
    {
        QTest::addColumn<bool>("elsewhere");
        QTest::addColumn<bool>("multitasking");
        QTest::addColumn<bool>("startFails");
        QTest::addColumn<int>("seconds");
        QTest::addColumn<QVariant>("minutesOfOther"); // null: its entry was deleted
        QTest::newRow("stopped after 5 minutes") << false << false << false << 300 << QVariant(5);
        // No refill follows a deletion: only the walk itself unticks 813.
        QTest::newRow("deleted after 80 seconds") << false << false << false << 80 << QVariant();
        QTest::newRow("with multitasking both run") << false << true << false << 300 << QVariant(0);
        QTest::newRow("elsewhere, stopped after 5 minutes") << true << false << false << 300 << QVariant(5);
        QTest::newRow("elsewhere, with multitasking both run") << true << true << false << 300 << QVariant(0);
        QTest::newRow("elsewhere, the start fails") << true << false << true << 300 << QVariant(0);
    }
    void aTickWithASingleCountEndsTheOtherCounts()
    {
        QFETCH(bool, elsewhere);
        QFETCH(bool, multitasking);
        QFETCH(bool, startFails);
        QFETCH(int, seconds);
        QFETCH(QVariant, minutesOfOther);
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
        if (!elsewhere || !multitasking) {
            // The list shows what the database holds: the other count ended, or still running.
            QCOMPARE(f.list().checked(f.row(813)), multitasking || startFails);
        }
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

    // Each row damages one record the start looks up, and is named after the field the message names.
    void aStartThatCannotFindItsRecordsIsUndone_data()
    {
        QTest::addColumn<QString>("damage");
        QTest::newRow("TRABALHO_ID") << "UPDATE tbProcessos_Trabalhos_Tarefas SET trabalho_id = NULL";
        QTest::newRow("Processo_ID") << "UPDATE tbProcessos_Trabalhos SET processo_id = NULL";
        QTest::newRow("Contacto_ID") << "UPDATE tbProcessos SET contacto_id = NULL";
        QTest::newRow("Base_ID") << "UPDATE tbProcessos_Trabalhos_Tarefas_Lancamentos_Bases SET counter = 0";
        QTest::newRow("Preco_ID") << "UPDATE tbProcessos_Trabalhos_Tarefas_Lancamentos_Precos SET counter = 0";
    }
    void aStartThatCannotFindItsRecordsIsUndone()
    {
        QFETCH(QString, damage);
        WindowFixture f;
        f.load();
        f.office.database().exec(damage);
        f.toggle(OfficeFixture::Task);

        QCOMPARE(f.boxes.shown().size(), 1);
        const core::Message& shown = f.boxes.shown().first();
        QCOMPARE(shown.text, QStringLiteral("Erro no campo %1. Não foi possível iniciar o registo. Contacto o "
                                            "Administrador do Sistema.")
                                 .arg(QLatin1String(QTest::currentDataTag())));
        QCOMPARE(shown.buttons, core::Buttons::Ok);
        QVERIFY(!f.list().checked(f.row(OfficeFixture::Task)));
        QCOMPARE(f.office.entryCount(), 0);
    }

    // A running task found by the load sets the timer going and shows the time since it started; hiding the window
    // stops the timer and leaves the row as it was, showing it starts it again.
    void aRunningTaskShowsTheTimeSinceItStarted_data()
    {
        QTest::addColumn<qint64>("elapsedSeconds");
        QTest::addColumn<QString>("shown");
        QTest::newRow("5:07") << qint64(5 * 60 + 7) << QStringLiteral("05:07");
        QTest::newRow("59:59") << qint64(59 * 60 + 59) << QStringLiteral("59:59");
        QTest::newRow("one hour") << qint64(3600) << QStringLiteral("01:00:00");
        QTest::newRow("1:02:03") << qint64(3600 + 2 * 60 + 3) << QStringLiteral("01:02:03");
        QTest::newRow("23:59:59") << qint64(24 * 3600 - 1) << QStringLiteral("23:59:59");
        QTest::newRow("a day") << qint64(24 * 3600) << QStringLiteral("24:00:00");
        QTest::newRow("25 hours 5 seconds") << qint64(25 * 3600 + 5) << QStringLiteral("25:00:05");
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
};

QTEST_MAIN(TestCounting)
#include "test_counting.moc"
