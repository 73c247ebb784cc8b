// The office file goes away under the counting window and comes back: meanwhile the window keeps what the
// database last said and says why; afterwards it catches up by itself, the untick made during the fault included.
#include "counter/tests/outage.h"
#include "testsupport/filefault.h"

#include <optional>

using testsupport::FileFault;

class TestOutage : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void anOutageHealsByItself_data()
    {
        QTest::addColumn<FileFault::Kind>("fault");
        QTest::addColumn<bool>("byACommand");
        QTest::addColumn<bool>("counting"); // or the task is ticked during the fault
        QTest::newRow("moved away and back") << FileFault::Kind::Moved << false << true;
        QTest::newRow("deleted and restored") << FileFault::Kind::Deleted << false << true;
        QTest::newRow("read-only and writable again") << FileFault::Kind::ReadOnly << false << true;
        QTest::newRow("moved back, then a command") << FileFault::Kind::Moved << true << true;
        QTest::newRow("a tick while moved away") << FileFault::Kind::Moved << false << false;
    }
    void anOutageHealsByItself()
    {
        QFETCH(FileFault::Kind, fault);
        QFETCH(bool, byACommand);
        QFETCH(bool, counting);
        WindowFixture f(testsupport::TempDatabase::Place::Disk);
        std::optional<FileFault> during;
        outageHealsByItself(
            f, [&] { during.emplace(f.office.database().path(), fault); }, [&] { during->end(); }, byACommand,
            counting);
    }
};

QTEST_MAIN(TestOutage)
#include "test_outage.moc"
