#include "data/displayformat.h"
#include "windowfixture.h"

#include <QCheckBox>

using testsupport::OfficeFixture;

namespace {

const QColor Blue(0x30, 0x5C, 0xAF);
const QColor DarkGrey(0x3F, 0x3F, 0x3F);
const QColor Red(0xC0, 0, 0);
const QColor LightGrey(0xC0, 0xC0, 0xC0);

// Replaces the pending view by a plain table, so that a test lists exactly the records it wants.
// They are listed in the order of their office deadlines in December 2009 (order = day).
void pendingRecordsByHand(testsupport::TempDatabase& database)
{
    database.exec(QStringLiteral("DROP VIEW vwProcessos_Trabalhos_Tarefas"));
    database.exec(QStringLiteral(
        "CREATE TABLE vwProcessos_Trabalhos_Tarefas (tarefa_id INTEGER, descrit TEXT, cliente TEXT, total_tempo REAL, "
        "data_legal DATETIME, trabalho TEXT, processo_no_completo TEXT, data_escritorio DATETIME, data_inicio "
        "DATETIME, "
        "inprogress INTEGER, lancamento_id INTEGER, escondida INTEGER, trabalho_id INTEGER, data DATETIME, "
        "closed INTEGER, advogado_id INTEGER, processo_id INTEGER, contacto_id INTEGER)"));
    // A connection that read the old schema must not see the table in the view's place.
    database.openShared();
}

void addPending(testsupport::TempDatabase& database, int taskId, const QString& workId, int order,
                const QString& hidden = QStringLiteral("0"))
{
    database.exec(
        QStringLiteral(
            "INSERT INTO vwProcessos_Trabalhos_Tarefas (tarefa_id, descrit, trabalho_id, "
            "data_escritorio, escondida, closed, advogado_id) VALUES (%1, 'T%1', %2, '2009-12-%3 00:00:00', %4, 0, 9)")
            .arg(taskId)
            .arg(workId)
            .arg(order, 2, 10, QLatin1Char('0'))
            .arg(hidden));
}

QList<QColor> rowColours(counter::ListView& list, int row)
{
    QList<QColor> colours;
    for (int cell = 0; cell <= 6; ++cell) {
        colours << list.cellForeColor(row, cell);
    }
    return colours;
}

} // namespace

class TestTarefas : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void aRowCarriesTheTaskInItsCells()
    {
        WindowFixture f;
        f.office.database().exec(
            QStringLiteral("UPDATE tbProcessos_Trabalhos SET data_legal = '2009-12-01 00:00:00', data_escritorio = "
                           "'2009-11-25 00:00:00' WHERE trabalho_id = 77"));
        f.office.database().exec(QStringLiteral(
            "INSERT INTO tbProcessos_Trabalhos_Tarefas_Lancamentos (tarefa_id, trabalho_id, advogado_id, data, "
            "unidades, inprogress, closed) VALUES (812, 77, 9, '2009-11-02 10:00:00', 1234.5, 0, 0)"));
        f.load();
        counter::ListView& list = f.list();

        QCOMPARE(list.rowCount(), 1);
        QCOMPARE(list.key(0), QStringLiteral("#812"));
        QCOMPARE(list.cellText(0, 0), QStringLiteral("Redigir contestação"));
        QCOMPARE(list.rowToolTip(0), QStringLiteral("Cliente Alfa"));
        QStringList cells;
        for (int cell = 1; cell <= 10; ++cell) {
            cells << list.cellText(0, cell);
        }
        const QString total =
            QStringLiteral("1") + data::displayFormat::thousandsSeparator() + QStringLiteral("234,50");
        const QStringList expected{QStringLiteral("..."),        total,
                                   QStringLiteral("01-12-2009"), QStringLiteral("Contestação"),
                                   QStringLiteral("2009/015"),   QStringLiteral("25-11-2009"),
                                   QStringLiteral(" "),          QStringLiteral(" "),
                                   QStringLiteral(" "),          QStringLiteral("0")};
        QCOMPARE(cells, expected);
        QVERIFY(!list.checked(0));
        QCOMPARE(list.selectedRow(), -1);
    }

    void aRunningTaskIsTickedWithItsEntry()
    {
        WindowFixture f;
        const qint64 entry =
            f.office.addRunningEntry(OfficeFixture::Task, QDateTime(QDate(2009, 11, 16), QTime(8, 5, 9)));
        f.load();
        const int row = f.row(OfficeFixture::Task);
        QVERIFY(f.list().checked(row));
        QCOMPARE(f.list().cellText(row, 7), QStringLiteral("16-11-2009 08:05:09"));
        QCOMPARE(f.list().cellText(row, 8), QStringLiteral("1"));
        QCOMPARE(f.list().cellText(row, 9), QString::number(entry));
        QCOMPARE(f.list().selectedRow(), row);
        QVERIFY(f.sent(QStringLiteral("INSERT")).isEmpty());
    }

    void rowsAreBandedByWorkItem()
    {
        WindowFixture f;
        pendingRecordsByHand(f.office.database());
        addPending(f.office.database(), 1, QStringLiteral("NULL"), 1);
        addPending(f.office.database(), 2, QStringLiteral("30"), 2);
        addPending(f.office.database(), 3, QStringLiteral("30"), 3);
        addPending(f.office.database(), 4, QStringLiteral("31"), 4);
        addPending(f.office.database(), 5, QStringLiteral("NULL"), 5);
        addPending(f.office.database(), 6, QStringLiteral("32"), 6);
        f.load();
        const QList<QColor> expected{DarkGrey, Blue, Blue, DarkGrey, DarkGrey, Blue};
        for (int row = 0; row < expected.size(); ++row) {
            QCOMPARE(f.list().key(row), QStringLiteral("#%1").arg(row + 1));
            QCOMPARE(rowColours(f.list(), row), QList<QColor>(7, expected[row]));
        }
        QVERIFY(f.reports.reports().isEmpty());
    }

    void theOfficeDeadlineTurnsRedFromTheDayBefore_data()
    {
        QTest::addColumn<int>("daysAhead");
        QTest::addColumn<QColor>("colour");
        QTest::newRow("past") << -3 << Red;
        QTest::newRow("today") << 0 << Red;
        QTest::newRow("tomorrow") << 1 << Red;
        QTest::newRow("day after tomorrow") << 2 << Blue;
    }
    void theOfficeDeadlineTurnsRedFromTheDayBefore()
    {
        QFETCH(int, daysAhead);
        QFETCH(QColor, colour);
        WindowFixture f;
        f.office.database().exec(QStringLiteral("UPDATE tbProcessos_Trabalhos SET data_escritorio = '%1 00:00:00'")
                                     .arg(f.clock.now().date().addDays(daysAhead).toString(Qt::ISODate)));
        f.load();
        QCOMPARE(rowColours(f.list(), 0), QList<QColor>(7, colour));
    }

    void hiddenTasksComeLastAndGreyUnlessShown()
    {
        WindowFixture f;
        f.office.addWork(78, OfficeFixture::Case, OfficeFixture::Lawyer, QStringLiteral("Recurso"),
                         f.clock.now().date().addDays(-1));
        f.office.addTask(813, 78, QStringLiteral("Escondida"), true);
        f.load();
        QCOMPARE(f.list().key(1), QStringLiteral("#813"));
        QCOMPARE(f.list().cellText(1, 10), QStringLiteral("1"));
        QCOMPARE(rowColours(f.list(), 1), QList<QColor>(7, LightGrey));

        f.window->findChild<QCheckBox*>(QStringLiteral("FXEscondidas"))->click();
        QCOMPARE(f.list().key(1), QStringLiteral("#813"));
        QCOMPARE(rowColours(f.list(), 1), QList<QColor>(7, Red));
        QCOMPARE(rowColours(f.list(), 0), QList<QColor>(7, Blue));
    }

    void theRefillSelectsTheTaskAskedFor_data()
    {
        QTest::addColumn<int>("asked");
        QTest::addColumn<int>("selected");
        QTest::newRow("a listed task") << 814 << 814;
        QTest::newRow("none: the last running task") << 0 << 813;
        QTest::newRow("a task not listed") << 999 << -1;
    }
    void theRefillSelectsTheTaskAskedFor()
    {
        QFETCH(int, asked);
        QFETCH(int, selected);
        WindowFixture f;
        for (int task : {813, 814}) {
            f.office.addTask(task, OfficeFixture::Work, QStringLiteral("T%1").arg(task), false,
                             f.clock.now().addDays(task - 812));
        }
        f.office.addRunningEntry(OfficeFixture::Task, f.clock.now());
        f.office.addRunningEntry(813, f.clock.now());
        f.load();
        f.window->Fill_Tarefas(asked);
        QCOMPARE(f.list().selectedRow(), selected < 0 ? -1 : f.row(selected));
        QCOMPARE(f.list().selectedItems().size(), selected < 0 ? 0 : 1);
    }

    void aFailingRefillKeepsTheRowsAlreadyAdded()
    {
        WindowFixture f;
        pendingRecordsByHand(f.office.database());
        addPending(f.office.database(), 1, QStringLiteral("30"), 1);
        addPending(f.office.database(), 2, QStringLiteral("30"), 2);
        addPending(f.office.database(), 1, QStringLiteral("30"), 3);
        addPending(f.office.database(), 3, QStringLiteral("30"), 4);
        f.load();
        QCOMPARE(f.list().rowCount(), 2);
        QCOMPARE(f.reports.procedures(), QStringList{QStringLiteral("Startup")});
        QCOMPARE(f.reports.reports().first().owner, QStringLiteral("frmCounter"));
    }
};

QTEST_MAIN(TestTarefas)
#include "test_tarefas.moc"
