// The editors' save: one UPDATE that changes the record only while it holds what the editor loaded.
#include "data/connection.h"
#include "data/timeentries/runningentries.h"
#include "editors/recordsnapshot.h"
#include "testsupport/officefixture.h"

#include <QTest>

using editors::RecordSnapshot;
using testsupport::OfficeFixture;

namespace {

const QString Loaded = QStringLiteral("d'Ávila «50%_»");

QString otherTask(const QString& assignment)
{
    return QStringLiteral("UPDATE tbProcessos_Trabalhos_Tarefas SET %1 WHERE tarefa_id = 812").arg(assignment);
}

QString otherDescription(const QString& text)
{
    return otherTask(QStringLiteral("descrit = ") + testsupport::sqlText(text));
}

} // namespace

class TestRecordSnapshot : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void savesOnlyWhatIsStillAsLoaded_data()
    {
        QTest::addColumn<QString>("otherChange");
        QTest::addColumn<bool>("withCondition");
        QTest::addColumn<RecordSnapshot::Outcome>("outcome");
        using O = RecordSnapshot::Outcome;
        QTest::newRow("nobody else") << QString() << false << O::Saved;
        QTest::newRow("rewritten as it was") << otherDescription(Loaded) << false << O::Saved;
        QTest::newRow("one letter's case")
            << otherDescription("d'Ávila «50%_»").replace("Ávila", "ávila") << false << O::Changed;
        QTest::newRow("accent only") << otherDescription("d'Avila «50%_»") << false << O::Changed;
        QTest::newRow("a blank added") << otherDescription(Loaded + " ") << false << O::Changed;
        QTest::newRow("wildcards of the text are data") << otherDescription("d'Ávila «50xx»") << false << O::Changed;
        QTest::newRow("a flag") << otherTask("escondida = 1") << false << O::Changed;
        QTest::newRow("a null given a value") << otherTask("closed = NULL") << false << O::Changed;
        QTest::newRow("a date one second on") << otherTask("data = '2009-11-10 14:00:01'") << false << O::Changed;
        QTest::newRow("a date within its second") << otherTask("data = '2009-11-10 14:00:00.900'") << false << O::Saved;
        QTest::newRow("deleted") << "DELETE FROM tbProcessos_Trabalhos_Tarefas WHERE tarefa_id = 812" << false
                                 << O::Gone;
        QTest::newRow("as loaded, condition holds") << QString() << true << O::Saved;
        QTest::newRow("as loaded, a count started")
            << "INSERT INTO tbProcessos_Trabalhos_Tarefas_Lancamentos (lancamento_id, tarefa_id, trabalho_id, "
               "advogado_id, data, closed, inprogress) VALUES (1, 812, 77, 9, '2009-11-10 15:00:00', 0, 1)"
            << true << O::Refused;
    }
    void savesOnlyWhatIsStillAsLoaded()
    {
        QFETCH(QString, otherChange);
        QFETCH(bool, withCondition);
        QFETCH(RecordSnapshot::Outcome, outcome);
        OfficeFixture office;
        office.database().exec(otherDescription(Loaded));
        office.database().exec(otherTask("data = '2009-11-10 14:00:00.400'"));
        RecordSnapshot snapshot("tbProcessos_Trabalhos_Tarefas", "tarefa_id", OfficeFixture::Task,
                                {"trabalho_id", "descrit", "data", "escondida", "closed"});
        snapshot.load(*data::Data::SqlServer().openRecordset(snapshot.selectStatement()));
        if (!otherChange.isEmpty()) {
            office.database().exec(otherChange);
        }
        const auto stored = [&] {
            return office.database().select("SELECT descrit, escondida, closed FROM tbProcessos_Trabalhos_Tarefas");
        };
        const QList<QVariantList> before = stored();

        const QString condition =
            withCondition ? data::runningEntries::noneRunning("tarefa_id", OfficeFixture::Task) : QString();
        QCOMPARE(snapshot.save("descrit = 'Minha versão', escondida = 1", condition), outcome);
        QCOMPARE(stored(), (outcome == RecordSnapshot::Outcome::Saved
                                ? QList<QVariantList>{{"Minha versão", qlonglong(1), before.first().at(2)}}
                                : before));
    }
};

QTEST_GUILESS_MAIN(TestRecordSnapshot)
#include "test_recordsnapshot.moc"
