// The statistics tabs: a lawyer's time entries and their totals between two dates, the lawyer selector
// and the date pickers that refill them, and the plans the embedded engine runs their statements by.
#include "counter/statistics/statisticspanel.h"
#include "data/engines/tsqltranslator.h"
#include "testsupport/windowfixture.h"

#include <QComboBox>
#include <QDateTimeEdit>
#include <QLineEdit>
#include <QTabBar>
#include <QTimer>

using testsupport::OfficeFixture;

namespace {

using Rows = QList<QStringList>;

const QString Entries = QStringLiteral("SELECT * FROM vwProcessos_Trabalhos_Tarefas_Lancamentos");
const QString Totals = QStringLiteral("SELECT tbContactos.nome_union");

Rows rowsOf(counter::ListView& list)
{
    Rows rows;
    for (int row = 0; row < list.rowCount(); ++row) {
        QStringList cells;
        for (int cell = 0; cell < list.columnCount(); ++cell) {
            cells << list.cellText(row, cell);
        }
        rows << cells;
    }
    return rows;
}

// The window over the small office with the given entries and, with policy, "#3101" for ana (group ADM).
struct Window : WindowFixture {
    explicit Window(const QStringList& entryRows = {}, bool policy = false)
    {
        addEntries(entryRows);
        if (policy) {
            grantChoice(QStringLiteral("SEC;ADM"));
        }
        load();
    }
    QTabBar& tabs() { return child<QTabBar>("TabStrip1"); }
    QComboBox& lawyers() { return child<QComboBox>("FXAdvogado_ID"); }
    QDateTimeEdit& start() { return child<QDateTimeEdit>("FXData_Inicio"); }
    QLineEdit& total() { return child<QLineEdit>("FXTotal"); }
    counter::ListView& entries() { return child<counter::ListView>("ListView2"); }
    counter::ListView& totals() { return child<counter::ListView>("ListView3"); }

    void setDays(const QDate& first, const QDate& last)
    {
        start().setDateTime(QDateTime(first, QTime(15, 42, 7)));
        child<QDateTimeEdit>("FXData_Fim").setDateTime(QDateTime(last, QTime(8, 5, 1)));
    }
    void chooseLawyer(int lawyer) { lawyers().setCurrentIndex(lawyers().findData(lawyer)); }
};

const QDate November1(2009, 11, 1);
const QDate November30(2009, 11, 30);

} // namespace

class TestStatistics : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void bothTabsListAndTotalTheSameEntries_data()
    {
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QDate>("first");
        QTest::addColumn<QDate>("last");
        QTest::addColumn<Rows>("listed");
        QTest::addColumn<Rows>("summed");
        QTest::addColumn<QString>("hours");

        const QString task = QStringLiteral("Redigir contestação");
        const QString work = QStringLiteral("Contestação");
        const QString dossier = QStringLiteral("2009/015");
        const QString client = QStringLiteral("Cliente Alfa");
        QTest::newRow("a start after the end")
            << QStringList{"1, '2009-11-10 14:00:00', '2009-11-10 14:30:00', 9, 1, 30, 402, 0"} << November30
            << November1 << Rows{} << Rows{} << QStringLiteral("0,00");
        QTest::newRow("a running entry") << QStringList{"1, '2009-11-16 08:30:00', NULL, 9, 1, 0, 402, 1"} << November1
                                         << November30 << Rows{{"16-11-2009", " ", task, work, dossier, "0,00"}}
                                         << Rows{{client, dossier, work, task, "0,00"}} << QStringLiteral("0,00");
        QTest::newRow("null minutes")
            << QStringList{"1, '2009-11-16 08:30:00', '2009-11-16 09:00:00', 9, 1, NULL, 402, 0",
                           "2, '2009-11-17 08:30:00', '2009-11-17 09:00:00', 9, 1, 30, 402, 0"}
            << November1 << November30
            << Rows{{"16-11-2009", "16-11-2009", task, work, dossier, " "},
                    {"17-11-2009", "17-11-2009", task, work, dossier, "30,00"}}
            << Rows{{client, dossier, work, task, "30,00"}} << QStringLiteral("0,50");
        QTest::newRow("a client without a contact row")
            << QStringList{"1, '2009-11-16 08:30:00', '2009-11-16 09:15:00', 9, 1, 45, 999, 0"} << November1
            << November30 << Rows{{"16-11-2009", "16-11-2009", task, work, dossier, "45,00"}}
            << Rows{{" ", dossier, work, task, "45,00"}} << QStringLiteral("0,75");
        QTest::newRow("13 minutes are 0,22 hours, the sum rounded once")
            << QStringList{"1, '2009-11-02 09:00:00', '2009-11-02 09:10:00', 9, 1, 10, 402, 0",
                           "2, '2009-11-03 09:00:00', '2009-11-03 09:01:00', 9, 1, 1, 402, 0",
                           "3, '2009-11-04 09:00:00', '2009-11-04 09:01:00', 9, 1, 1, 402, 0",
                           "4, '2009-11-05 09:00:00', '2009-11-05 09:01:00', 9, 1, 1, 402, 0"}
            << November1 << November30
            << Rows{{"02-11-2009", "02-11-2009", task, work, dossier, "10,00"},
                    {"03-11-2009", "03-11-2009", task, work, dossier, "1,00"},
                    {"04-11-2009", "04-11-2009", task, work, dossier, "1,00"},
                    {"05-11-2009", "05-11-2009", task, work, dossier, "1,00"}}
            << Rows{{client, dossier, work, task, "13,00"}} << QStringLiteral("0,22");
        QTest::newRow("only the lawyer's counted entries within the days")
            << QStringList{"1, '2009-10-31 23:59:59', '2009-11-01 00:09:59', 9, 1, 10, 402, 0",
                           "2, '2009-11-01 00:00:00', '2009-11-01 00:10:00', 9, 1, 10, 402, 0",
                           "3, '2009-11-30 23:59:59', '2009-12-01 00:19:59', 9, 1, 20, 402, 0",
                           "4, '2009-12-01 00:00:00', '2009-12-01 00:20:00', 9, 1, 20, 402, 0",
                           "5, '2009-11-10 10:00:00', '2009-11-10 11:00:00', 10, 1, 60, 402, 0",
                           "6, '2009-11-10 10:00:00', '2009-11-10 11:00:00', 9, 2, 60, 402, 0"}
            << November1 << November30
            << Rows{{"01-11-2009", "01-11-2009", task, work, dossier, "10,00"},
                    {"30-11-2009", "01-12-2009", task, work, dossier, "20,00"}}
            << Rows{{client, dossier, work, task, "30,00"}} << QStringLiteral("0,50");
    }
    void bothTabsListAndTotalTheSameEntries()
    {
        QFETCH(QStringList, entries);
        QFETCH(QDate, first);
        QFETCH(QDate, last);
        QFETCH(Rows, listed);
        QFETCH(Rows, summed);
        QFETCH(QString, hours);
        Window w(entries);
        w.setDays(first, last);

        w.tabs().setCurrentIndex(1);
        QCOMPARE(rowsOf(w.entries()), listed);
        QCOMPARE(w.total().text(), hours);
        QVERIFY(!w.entries().isHidden() && w.totals().isHidden() && w.list().isHidden());

        w.tabs().setCurrentIndex(2);
        QCOMPARE(rowsOf(w.totals()), summed);
        QCOMPARE(w.total().text(), hours);
        QVERIFY(w.entries().isHidden() && !w.totals().isHidden());

        w.tabs().setCurrentIndex(0);
        QVERIFY(w.entries().isHidden() && w.totals().isHidden() && !w.list().isHidden());
        QVERIFY(w.window->findChild<QWidget*>(QStringLiteral("Frame3"))->isHidden());
        QVERIFY(w.reports.reports().isEmpty());
    }

    // The editors' "entry saved" selects and shows the entry on the entries tab, and leaves the list alone
    // while another tab is shown.
    void aSavedEntryIsSelectedAndShown_data()
    {
        QTest::addColumn<int>("tab");
        QTest::addColumn<int>("entry");
        QTest::addColumn<bool>("refilled");
        QTest::addColumn<bool>("selected");
        QTest::newRow("a listed entry") << 1 << 150 << true << true;
        QTest::newRow("no entry") << 1 << 0 << true << false;
        QTest::newRow("an entry not listed") << 1 << 5000 << true << false;
        QTest::newRow("on the totals tab") << 2 << 150 << false << false;
    }
    void aSavedEntryIsSelectedAndShown()
    {
        QFETCH(int, tab);
        QFETCH(int, entry);
        QFETCH(bool, refilled);
        QFETCH(bool, selected);
        QStringList many;
        for (int id = 1; id <= 200; ++id) {
            many << QStringLiteral("%1, '2009-11-16 08:00:00', '2009-11-16 08:30:00', 9, 1, 30, 402, 0").arg(id);
        }
        Window w(many);
        w.setDays(November1, November30);
        w.tabs().setCurrentIndex(tab);
        data::StatementLog::clear();

        w.window->RemoteKey(entry, 4004);
        QCOMPARE(w.sent(Entries).size(), refilled ? 1 : 0);
        const int row = w.entries().findKey(QStringLiteral("#%1").arg(entry));
        QCOMPARE(w.entries().selectedRow(), selected ? row : -1);
        if (selected) {
            QVERIFY(w.entries().viewport()->rect().intersects(w.entries().cellRect(row, 0)));
        }
    }

    // A supervisor's choice refills only the tab shown, for the chosen lawyer, and everything after acts for
    // that lawyer: the other tabs, the pending list and a tick. While that count runs the list cannot change hands.
    // Anyone else's selector, and an entry that names no lawyer, stay on the lawyer shown.
    void theSelectorChoosesWhoseRecordsAreShown_data()
    {
        QTest::addColumn<bool>("policy");
        QTest::addColumn<int>("chosen");
        QTest::addColumn<int>("tab");
        QTest::addColumn<int>("shown");
        const int other = OfficeFixture::OtherLawyer;
        QTest::newRow("with #3101, on the entries tab") << true << other << 1 << other;
        QTest::newRow("with #3101, on the totals tab") << true << other << 2 << other;
        QTest::newRow("with #3101, on the tasks tab") << true << other << 0 << other;
        QTest::newRow("without #3101") << false << other << 1 << int(OfficeFixture::Lawyer);
        QTest::newRow("an entry without a lawyer") << true << 0 << 1 << int(OfficeFixture::Lawyer);
    }
    void theSelectorChoosesWhoseRecordsAreShown()
    {
        QFETCH(bool, policy);
        QFETCH(int, chosen);
        QFETCH(int, tab);
        QFETCH(int, shown);
        const bool changed = shown != OfficeFixture::Lawyer;
        Window w({"1, '2009-11-10 10:00:00', '2009-11-10 10:30:00', 9, 1, 30, 402, 0",
                  "2, '2009-11-11 10:00:00', '2009-11-11 11:00:00', 10, 1, 60, 402, 0"},
                 policy);
        w.office.addWork(78, OfficeFixture::Case, OfficeFixture::OtherLawyer, QStringLiteral("Recurso"));
        w.office.addTask(900, 78, QStringLiteral("Preparar recurso"));
        QCOMPARE(w.lawyers().isEnabled(), policy);
        w.setDays(November1, November30);
        w.tabs().setCurrentIndex(tab);
        data::StatementLog::clear();

        if (chosen == 0) {
            w.lawyers().addItem(QStringLiteral("Sem número"));
            w.lawyers().setCurrentIndex(w.lawyers().count() - 1);
        } else {
            w.chooseLawyer(chosen);
        }
        QCOMPARE(session::modCode::AdvogadoID, shown);
        QCOMPARE(w.lawyers().currentData().toInt(), shown);
        QCOMPARE(w.sent(Entries).size(), changed && tab == 1 ? 1 : 0);
        QCOMPARE(w.sent(Totals).size(), changed && tab == 2 ? 1 : 0);
        w.tabs().setCurrentIndex(1);
        QCOMPARE(w.entries().key(0), changed ? QStringLiteral("#2") : QStringLiteral("#1"));
        QCOMPARE(w.total().text(), changed ? QStringLiteral("1,00") : QStringLiteral("0,50"));
        w.tabs().setCurrentIndex(2);
        QCOMPARE(w.totals().cellText(0, 4), changed ? QStringLiteral("60,00") : QStringLiteral("30,00"));
        // Back on the tasks tab the pending list is the chosen lawyer's, and its tab says whose it is.
        w.tabs().setCurrentIndex(0);
        QCOMPARE(w.row(OfficeFixture::Task), changed ? -1 : 0);
        QCOMPARE(w.tabs().tabText(0), changed ? QStringLiteral("Tarefas Pendentes — Bruno Sá")
                                              : QStringLiteral("Tarefas Pendentes — Ana Lopes"));
        QVERIFY(w.reports.reports().isEmpty());
        if (!changed) {
            return;
        }
        w.toggle(900);
        auto booked = w.office.database().select(
            "SELECT advogado_id, tarefa_id FROM tbProcessos_Trabalhos_Tarefas_Lancamentos WHERE inprogress <> 0");
        QCOMPARE(booked, (QList<QVariantList>{{qlonglong(OfficeFixture::OtherLawyer), qlonglong(900)}}));
        // The selector stays and says why.
        w.boxes.clear();
        w.chooseLawyer(OfficeFixture::Lawyer);
        QCOMPARE(w.lawyers().currentData().toInt(), int(OfficeFixture::OtherLawyer));
        QCOMPARE(session::modCode::AdvogadoID, int(OfficeFixture::OtherLawyer));
        QVERIFY(w.row(900) >= 0 && w.list().checked(w.row(900)));
        QCOMPARE(w.boxes.shown().size(), 1);
    }

    // The pickers refill the statistics tab shown once the dates stand still: arrow steps in a row on
    // either picker cost one fill. On the tasks tab they send nothing.
    void aDateRefillsTheTabShownOnceSettled_data()
    {
        QTest::addColumn<int>("tab");
        QTest::addColumn<int>("entries");
        QTest::addColumn<int>("totals");
        QTest::newRow("tasks") << 0 << 0 << 0;
        QTest::newRow("entries") << 1 << 1 << 0;
        QTest::newRow("totals") << 2 << 0 << 1;
    }
    void aDateRefillsTheTabShownOnceSettled()
    {
        QFETCH(int, tab);
        QFETCH(int, entries);
        QFETCH(int, totals);
        Window w;
        w.tabs().setCurrentIndex(tab);
        auto& settle = w.child<QTimer>("DatesSettle");
        data::StatementLog::clear();
        for (QDateTimeEdit* picker : {&w.start(), &w.child<QDateTimeEdit>("FXData_Fim"), &w.start()}) {
            picker->setFocus();
            picker->setSelectedSection(QDateTimeEdit::DaySection);
            for (int step = 0; step < 4; ++step) {
                QTest::keyClick(picker, Qt::Key_Down);
            }
        }
        QCOMPARE(w.start().date(), w.clock.now().date().addDays(-8));
        QCOMPARE(w.sent(Entries).size() + w.sent(Totals).size(), 0);
        QCOMPARE(settle.isActive(), tab != 0);
        // The moment of stillness passes at once.
        settle.setInterval(0);
        QTRY_COMPARE(w.sent(Entries).size() + w.sent(Totals).size(), entries + totals);
        QCoreApplication::processEvents();
        QCOMPARE(w.sent(Entries).size(), entries);
        QCOMPARE(w.sent(Totals).size(), totals);
        if (entries > 0) {
            QVERIFY(w.sent(Entries).first().contains(
                QStringLiteral("'%1 00:00:00'").arg(w.start().date().toString(Qt::ISODate))));
        }
    }

    // A date typed whole into a picker, with or without separators, is taken on Enter and refills the tab; one that
    // does not exist leaves the date, and the tab, as they were.
    void aTypedDateRefillsTheTab_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QDate>("taken");
        QTest::newRow("with separators") << "01-11-2009" << November1;
        QTest::newRow("slashes, short year") << "1/11/09" << November1;
        QTest::newRow("digits only") << "01112009" << November1;
        QTest::newRow("a day of the month shown") << "3" << QDate(2009, 11, 3);
        QTest::newRow("no such day") << "31022009" << QDate(2009, 11, 16);
    }
    void aTypedDateRefillsTheTab()
    {
        QFETCH(QString, typed);
        QFETCH(QDate, taken);
        Window w;
        w.tabs().setCurrentIndex(1);
        auto& settle = w.child<QTimer>("DatesSettle");
        settle.setInterval(0);
        QDateTimeEdit& start = w.start();
        data::StatementLog::clear();
        start.setFocus();
        start.setSelectedSection(QDateTimeEdit::DaySection);
        QTest::keyClicks(&start, typed);
        QCOMPARE(start.text(), typed);
        QTest::keyClick(&start, Qt::Key_Return);
        QCOMPARE(start.date(), taken);
        QCOMPARE(start.text(), taken.toString(QStringLiteral("dd-MM-yyyy")));
        QTRY_VERIFY(!settle.isActive());
        QCOMPARE(w.sent(Entries).size(), taken == w.clock.now().date() ? 0 : 1);
    }

    // A header click sorts by that column's values, a second click on it turns the order round; the rows
    // keep that order through later refills, and the entry asked for stays selected.
    void aHeaderSortsByValueAndASecondClickReverses()
    {
        Window w({"1, '2009-11-10 10:00:00', '2009-11-10 10:30:00', 9, 1, 30, 402, 0",
                  "2, '2009-12-02 10:00:00', '2009-12-02 11:40:00', 9, 1, 100, 402, 0",
                  "3, '2009-11-03 10:00:00', '2009-11-03 10:05:00', 9, 1, 5, 402, 0",
                  "4, '2010-01-01 10:00:00', '2010-01-01 10:11:00', 9, 1, 11, 402, 0"});
        w.setDays(November1, QDate(2010, 1, 31));
        w.tabs().setCurrentIndex(1);
        Q_EMIT w.entries().ColumnClick(0);
        QCOMPARE(keysOf(w.entries()), QStringList({"#3", "#1", "#2", "#4"}));
        Q_EMIT w.entries().ColumnClick(0);
        QCOMPARE(keysOf(w.entries()), QStringList({"#4", "#2", "#1", "#3"}));
        Q_EMIT w.entries().ColumnClick(5);
        QCOMPARE(keysOf(w.entries()), QStringList({"#3", "#4", "#1", "#2"}));
        Q_EMIT w.entries().ColumnClick(5);
        QCOMPARE(keysOf(w.entries()), QStringList({"#2", "#1", "#4", "#3"}));

        w.window->RemoteKey(3, 4004);
        QCOMPARE(keysOf(w.entries()), QStringList({"#2", "#1", "#4", "#3"}));
        QCOMPARE(w.entries().selectedRow(), 3);
    }

    // A fill that fails keeps the rows it added and the total shown before, and is reported.
    void aFailedFillKeepsTheTotal()
    {
        Window w({"1, '2009-11-10 10:00:00', '2009-11-10 10:30:00', 9, 1, 30, 402, 0"});
        w.setDays(November1, November30);
        w.tabs().setCurrentIndex(2);
        QCOMPARE(w.total().text(), QStringLiteral("0,50"));
        data::StatementFailures::failNext({core::errc::ProviderError, QStringLiteral("Tempo limite expirado")},
                                          QStringLiteral("vwProcessos_Trabalhos_Tarefas_Lancamentos WHERE"));
        w.tabs().setCurrentIndex(1);
        QCOMPARE(w.entries().rowCount(), 0);
        QCOMPARE(w.total().text(), QStringLiteral("0,50"));
        QCOMPARE(w.reports.procedures(), QStringList{QStringLiteral("FillLancamentos")});
    }

    // The index on a lawyer's entries by date serves both statements: the engine searches it and scans no table.
    void theIndexesServeBothStatements()
    {
        Window w;
        w.setDays(November1, November30);
        w.tabs().setCurrentIndex(1);
        w.tabs().setCurrentIndex(2);
        for (const QString& prefix : {Entries, Totals}) {
            const QString translated = data::TsqlTranslator::toEmbedded(w.sent(prefix).first(), w.clock.now());
            QStringList plan;
            for (const QVariantList& step :
                 w.office.database().select(QStringLiteral("EXPLAIN QUERY PLAN ") + translated)) {
                plan << step.last().toString();
            }
            QVERIFY2(plan.contains(QStringLiteral(
                         "SEARCH l USING INDEX ix_tbLancamentos_advogado (advogado_id=? AND data>? AND data<?)")),
                     qPrintable(plan.join(u'\n')));
            for (const QString& step : plan) {
                QVERIFY2(!step.startsWith(QStringLiteral("SCAN")), qPrintable(step));
            }
        }
    }
};

QTEST_MAIN(TestStatistics)
#include "test_statistics.moc"
