#include "core/clock.h"
#include "data/connection.h"
#include "data/timeentries/timeentries.h"
#include "testsupport/officefixture.h"

#include <QTest>

using data::timeEntries::StopAt;
using testsupport::OfficeFixture;

namespace {

const QDateTime Nine(QDate(2009, 11, 16), QTime(9, 0, 0));

// What another workstation does to entry: "DELETE", or the assignments of an UPDATE ("SET ...").
QString elsewhere(qint64 entry, const QString& change)
{
    const QString table = QStringLiteral("tbProcessos_Trabalhos_Tarefas_Lancamentos ");
    const QString where = QStringLiteral(" WHERE lancamento_id = %1").arg(entry);
    return change == QLatin1String("DELETE") ? "DELETE FROM " + table + where : "UPDATE " + table + change + where;
}

} // namespace

class TestTimeEntryStop : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // An entry started at 9:00 and stopped later: what is booked, or nothing when already closed elsewhere.
    void stopAtAPastMoment_data()
    {
        QTest::addColumn<QString>("change"); // what happened to the entry before the stop, elsewhere
        QTest::addColumn<qint64>("endSeconds");
        QTest::addColumn<int>("result");
        QTest::addColumn<QVariant>("minutes");
        const auto row = [](const char* name, const QString& change, qint64 endSeconds, StopAt result,
                            const QVariant& minutes) {
            QTest::newRow(name) << change << endSeconds << int(result) << minutes;
        };
        const QString ended = QStringLiteral("SET data_fim = '2009-11-16 09:33:00'");
        row("2:30 goes to 2", {}, 150, StopAt::Closed, 2);
        row("3:30 goes to 4", {}, 210, StopAt::Closed, 4);
        row("1:29 is deleted", {}, 89, StopAt::Deleted, {});
        row("before its start is deleted", {}, -300, StopAt::Deleted, {});
        row("closed elsewhere", ended + ", inprogress = 0, unidades = 33", 600, StopAt::NotRunning, 33);
        row("an end but still in progress", ended, 600, StopAt::NotRunning, 0);
        row("no end but not in progress", QStringLiteral("SET inprogress = 0"), 600, StopAt::NotRunning, 0);
        row("removed elsewhere", QStringLiteral("DELETE"), 600, StopAt::NotRunning, {});
    }
    void stopAtAPastMoment()
    {
        QFETCH(QString, change);
        QFETCH(qint64, endSeconds);
        QFETCH(int, result);
        OfficeFixture office;
        const qint64 entry = office.addRunningEntry(OfficeFixture::Task, Nine);
        if (!change.isEmpty()) {
            office.database().exec(elsewhere(entry, change));
        }
        QCOMPARE(int(data::timeEntries::stopAt(entry, Nine.addSecs(endSeconds))), result);
        QTEST(office.minutesOf(entry), "minutes");
        if (result == int(StopAt::Closed)) {
            const QString end =
                "SELECT data_fim FROM tbProcessos_Trabalhos_Tarefas_Lancamentos WHERE lancamento_id = %1";
            QCOMPARE(office.database().scalar(end.arg(entry)).toDateTime(), Nine.addSecs(endSeconds));
            QCOMPARE(office.runningCount(), 0);
        }
    }

    // Another workstation closing the entry first makes this close change nothing, and say so.
    void anEntryClosedAfterTheReadIsNotRunning_data()
    {
        QTest::addColumn<QString>("change");
        QTest::newRow("an end set") << QStringLiteral("SET data_fim = '2009-11-16 09:05:00', unidades = 7");
        QTest::newRow("no longer in progress") << QStringLiteral("SET inprogress = 0, unidades = 7");
    }
    void anEntryClosedAfterTheReadIsNotRunning()
    {
        QFETCH(QString, change);
        OfficeFixture office;
        const qint64 entry = office.addRunningEntry(OfficeFixture::Task, Nine);
        data::StatementLog::clear();
        bool closedElsewhere = false;
        // An untick without a moment reads the clock for its minutes once it has read the entry.
        core::Clock::setSource([&] {
            const QStringList sent = data::StatementLog::statements();
            if (!closedElsewhere && !sent.isEmpty() && sent.last().startsWith(QLatin1String("SELECT"))) {
                office.database().exec(elsewhere(entry, change));
                closedElsewhere = true;
            }
            return Nine.addSecs(600);
        });
        const data::timeEntries::Untick done = data::timeEntries::untick(entry, std::nullopt);
        core::Clock::setSource({});

        QVERIFY(closedElsewhere);
        QCOMPARE(int(done), int(data::timeEntries::Untick::NotRunning));
        QCOMPARE(office.minutesOf(entry), QVariant(7));
    }
};

QTEST_GUILESS_MAIN(TestTimeEntryStop)
#include "test_timeentrystop.moc"
