#include "testsupport/windowfixture.h"

#include <QCheckBox>

using testsupport::OfficeFixture;

namespace {

const QColor Blue(0x30, 0x5C, 0xAF);
const QColor DarkGrey(0x3F, 0x3F, 0x3F);
const QColor Red(0xC0, 0, 0);
const QColor LightGrey(0xC0, 0xC0, 0xC0);

// Replaces the pending view by a plain table listing exactly these rows, in this order: task n+1 of
// the given work item with its office deadline the given number of days after the server's date.
void listPending(WindowFixture& f, const QList<std::pair<const char*, int>>& rows)
{
    testsupport::TempDatabase& database = f.office.database();
    database.exec(QStringLiteral("DROP VIEW vwProcessos_Trabalhos_Tarefas"));
    database.exec(QStringLiteral(
        "CREATE TABLE vwProcessos_Trabalhos_Tarefas (tarefa_id INTEGER, descrit TEXT, cliente TEXT, total_tempo REAL, "
        "data_legal DATETIME, trabalho TEXT, processo_no_completo TEXT, data_escritorio DATETIME, data_inicio "
        "DATETIME, inprogress INTEGER, lancamento_id INTEGER, escondida INTEGER, trabalho_id INTEGER, data DATETIME, "
        "closed INTEGER, advogado_id INTEGER, processo_id INTEGER, contacto_id INTEGER)"));
    // A connection that read the old schema must not see the table in the view's place.
    database.openShared();
    for (int n = 0; n < rows.size(); ++n) {
        database.exec(QStringLiteral("INSERT INTO vwProcessos_Trabalhos_Tarefas (tarefa_id, descrit, trabalho_id, "
                                     "data_escritorio, escondida, closed, advogado_id) VALUES (%1, 'T%1', %2, "
                                     "'%3 00:00:00', 0, 0, 9)")
                          .arg(n + 1)
                          .arg(QLatin1String(rows[n].first))
                          .arg(f.clock.now().date().addDays(rows[n].second).toString(Qt::ISODate)));
    }
}

QList<QColor> coloursOf(counter::ListView& list, int row)
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
        QCOMPARE(cells,
                 QStringList({QStringLiteral("..."), QStringLiteral("1 234,50"), QStringLiteral("01-12-2009"),
                              QStringLiteral("Contestação"), QStringLiteral("2009/015"), QStringLiteral("25-11-2009"),
                              QStringLiteral(" "), QStringLiteral(" "), QStringLiteral(" "), QStringLiteral("0")}));
        QVERIFY(!list.checked(0));
        QCOMPARE(list.selectedRow(), -1);
    }

    // Rows are banded by work item, a null one keeping the band above; the office deadline turns a
    // row red from the day before. Another office's view may give a null escondida: the task is visible.
    void rowsAreBandedByWorkItemAndRedNearTheirDeadline()
    {
        WindowFixture f;
        listPending(f, {{"NULL", -3}, {"30", 0}, {"30", 1}, {"NULL", 2}, {"31", 3}, {"NULL", 4}, {"32", 5}});
        f.office.database().exec(
            QStringLiteral("UPDATE vwProcessos_Trabalhos_Tarefas SET escondida = NULL WHERE tarefa_id = 1"));
        f.load();
        QCOMPARE(f.list().cellText(0, 10), QStringLiteral("0"));
        const QList<QColor> expected{Red, Red, Red, Blue, DarkGrey, DarkGrey, Blue};
        for (int row = 0; row < expected.size(); ++row) {
            QCOMPARE(f.list().key(row), QStringLiteral("#%1").arg(row + 1));
            QCOMPARE(coloursOf(f.list(), row), QList<QColor>(7, expected[row]));
        }
        QVERIFY(f.reports.reports().isEmpty());
    }

    // Even overdue, a hidden task is grey unless hidden tasks are shown; either way it comes last.
    void hiddenTasksComeLastAndGreyUnlessShown()
    {
        WindowFixture f;
        f.office.addWork(78, OfficeFixture::Case, OfficeFixture::Lawyer, QStringLiteral("Recurso"),
                         f.clock.now().date().addDays(-1));
        f.office.addTask(813, 78, QStringLiteral("Escondida"), true);
        f.load();
        QCOMPARE(f.list().key(1), QStringLiteral("#813"));
        QCOMPARE(coloursOf(f.list(), 1), QList<QColor>(7, LightGrey));

        f.window->findChild<QCheckBox*>(QStringLiteral("FXEscondidas"))->click();
        QCOMPARE(f.list().key(1), QStringLiteral("#813"));
        QCOMPARE(coloursOf(f.list(), 1), QList<QColor>(7, Red));
        QCOMPARE(coloursOf(f.list(), 0), QList<QColor>(7, Blue));
    }

    // 812 and 813 are running; the refill ticks them with their entries, inserts nothing, and
    // selects the task asked for, or with none asked for the last running one.
    void aRefillTicksTheRunningTasksAndSelects_data()
    {
        QTest::addColumn<int>("asked");
        QTest::addColumn<int>("selected");
        QTest::newRow("a listed task") << 814 << 814;
        QTest::newRow("none: the last running task") << 0 << 813;
        QTest::newRow("a task not listed") << 999 << -1;
    }
    void aRefillTicksTheRunningTasksAndSelects()
    {
        QFETCH(int, asked);
        QFETCH(int, selected);
        WindowFixture f;
        for (int task : {813, 814}) {
            f.office.addTask(task, OfficeFixture::Work, QStringLiteral("T%1").arg(task), false,
                             f.clock.now().addDays(task - 812));
        }
        const qint64 entry =
            f.office.addRunningEntry(OfficeFixture::Task, QDateTime(QDate(2009, 11, 16), QTime(8, 5, 9)));
        f.office.addRunningEntry(813, f.clock.now());
        f.load();
        f.window->Fill_Tarefas(asked);

        const int row = f.row(OfficeFixture::Task);
        QVERIFY(f.list().checked(row) && f.list().checked(f.row(813)) && !f.list().checked(f.row(814)));
        QCOMPARE(f.list().cellText(row, 7), QStringLiteral("16-11-2009 08:05:09"));
        QCOMPARE(f.list().cellText(row, 9), QString::number(entry));
        QVERIFY(f.sent(QStringLiteral("INSERT")).isEmpty());
        QCOMPARE(f.list().selectedRow(), selected < 0 ? -1 : f.row(selected));
    }

    // A refill reads the view once and the server's date once, for any number of rows with a deadline.
    void aFillSendsTheQueryAndOneServerDate_data()
    {
        QTest::addColumn<int>("rows");
        QTest::addColumn<QStringList>("statements");
        const QString query = QStringLiteral(
            "SELECT * FROM vwProcessos_Trabalhos_Tarefas WHERE closed = 0 AND advogado_id = 9 ORDER BY escondida, "
            "data_escritorio, trabalho_id, data, processo_no_completo");
        const QString serverDate = QStringLiteral("SELECT GETDATE() AS DATE");
        QTest::newRow("no task") << 0 << QStringList{query};
        QTest::newRow("one task") << 1 << QStringList{query, serverDate};
        QTest::newRow("three tasks") << 3 << QStringList{query, serverDate};
    }
    void aFillSendsTheQueryAndOneServerDate()
    {
        QFETCH(int, rows);
        QFETCH(QStringList, statements);
        WindowFixture f;
        QList<std::pair<const char*, int>> pending;
        for (int n = 0; n < rows; ++n) {
            pending.append({"30", n});
        }
        listPending(f, pending);
        f.load();
        f.refill();
        QCOMPARE(data::StatementLog::statements(), statements);
        QCOMPARE(f.list().rowCount(), rows);
    }
};

QTEST_MAIN(TestTarefas)
#include "test_tarefas.moc"
