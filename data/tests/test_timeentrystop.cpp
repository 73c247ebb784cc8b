#include "core/clock.h"
#include "data/connection.h"
#include "data/timeentries/timeentries.h"
#include "testsupport/officefixture.h"

#include <QTest>

using data::timeEntries::StopAt;
using testsupport::OfficeFixture;

namespace {
const QDateTime Nine(QDate(2009, 11, 16), QTime(9, 0, 0));
}

class TestTimeEntryStop : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // An entry started at 9:00 and stopped at a past moment: what is booked, and the statements sent (each
    // conditional on the entry still running, so one closed by another workstation in between stays as it was).
    void stopAtAPastMoment_data()
    {
        QTest::addColumn<QString>("change"); // what happened to the entry before the stop, elsewhere
        QTest::addColumn<qint64>("endSeconds");
        QTest::addColumn<int>("result");
        QTest::addColumn<QVariant>("minutes");
        QTest::addColumn<QString>("statement");
        const QString update =
            QStringLiteral("UPDATE tbProcessos_Trabalhos_Tarefas_Lancamentos SET data_fim = "
                           "CONVERT(DATETIME,'2009-11-16 %1',102), "
                           "inprogress = 0, unidades = %2 WHERE lancamento_id = %3 AND inprogress <> 0 AND data_fim IS "
                           "NULL");
        const QString drop = QStringLiteral("DELETE FROM tbProcessos_Trabalhos_Tarefas_Lancamentos WHERE lancamento_id "
                                            "= %3 AND inprogress <> 0 AND data_fim IS NULL");
        const QString ended = QStringLiteral("SET data_fim = '2009-11-16 09:33:00'");
        QTest::newRow("10 minutes") << "" << qint64(600) << int(StopAt::Closed) << QVariant(10)
                                    << update.arg(QStringLiteral("09:10:00"), QStringLiteral("10"));
        QTest::newRow("2:30 goes to 2") << "" << qint64(150) << int(StopAt::Closed) << QVariant(2)
                                        << update.arg(QStringLiteral("09:02:30"), QStringLiteral("2"));
        QTest::newRow("3:30 goes to 4") << "" << qint64(210) << int(StopAt::Closed) << QVariant(4)
                                        << update.arg(QStringLiteral("09:03:30"), QStringLiteral("4"));
        QTest::newRow("1:29 is deleted") << "" << qint64(89) << int(StopAt::Deleted) << QVariant() << drop;
        QTest::newRow("before its start is deleted")
            << "" << qint64(-300) << int(StopAt::Deleted) << QVariant() << drop;
        QTest::newRow("closed elsewhere") << ended + ", inprogress = 0, unidades = 33" << qint64(600)
                                          << int(StopAt::NotRunning) << QVariant(33) << QString();
        // Half-closed rows, as an older client or a hand edit leaves them: either mark alone means the count is over.
        QTest::newRow("an end but still in progress")
            << ended << qint64(600) << int(StopAt::NotRunning) << QVariant(0) << QString();
        QTest::newRow("no end but not in progress")
            << "SET inprogress = 0" << qint64(600) << int(StopAt::NotRunning) << QVariant(0) << QString();
        QTest::newRow("removed elsewhere")
            << "DELETE" << qint64(600) << int(StopAt::NotRunning) << QVariant() << QString();
    }
    void stopAtAPastMoment()
    {
        QFETCH(QString, change);
        QFETCH(qint64, endSeconds);
        QFETCH(int, result);
        QFETCH(QString, statement);
        OfficeFixture office;
        const qint64 entry = office.addRunningEntry(OfficeFixture::Task, Nine);
        const QString where = QStringLiteral(" WHERE lancamento_id = %1").arg(entry);
        if (!change.isEmpty()) {
            const QString table = QStringLiteral("tbProcessos_Trabalhos_Tarefas_Lancamentos ");
            office.database().exec(change == QLatin1String("DELETE") ? "DELETE FROM " + table + where
                                                                     : "UPDATE " + table + change + where);
        }
        data::StatementLog::clear();

        QCOMPARE(int(data::timeEntries::stopAt(entry, Nine.addSecs(endSeconds))), result);

        QStringList changes;
        for (const QString& sent : data::StatementLog::statements()) {
            if (!sent.startsWith(QLatin1String("SELECT"))) {
                changes << sent;
            }
        }
        QCOMPARE(changes, statement.isEmpty() ? QStringList() : QStringList{statement.arg(entry)});
        QTEST(office.minutesOf(entry), "minutes");
        if (result == int(StopAt::Closed)) {
            QCOMPARE(
                office.database()
                    .scalar(QStringLiteral("SELECT data_fim FROM tbProcessos_Trabalhos_Tarefas_Lancamentos") + where)
                    .toDateTime(),
                Nine.addSecs(endSeconds));
            QCOMPARE(office.runningCount(), 0);
        }
    }

    // Another workstation closes the entry after this one has read it and before this one's close: the close,
    // conditional on the entry still running, changes nothing and says so.
    void anEntryClosedAfterTheReadIsNotRunning()
    {
        OfficeFixture office;
        const qint64 entry = office.addRunningEntry(OfficeFixture::Task, Nine);
        data::StatementLog::clear();
        bool closedElsewhere = false;
        // An untick without a moment reads the clock for its minutes once it has read the entry.
        core::Clock::setSource([&] {
            const QStringList sent = data::StatementLog::statements();
            if (!closedElsewhere && !sent.isEmpty() && sent.last().startsWith(QLatin1String("SELECT"))) {
                office.database().exec(data::timeEntries::closeStatement(entry, 7, QStringLiteral("GETDATE()")));
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
