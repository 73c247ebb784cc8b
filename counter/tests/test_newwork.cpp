#include "testsupport/windowfixture.h"

using testsupport::OfficeFixture;

namespace {

const QString Refill = QStringLiteral("refill");
const QString Work90 = QStringLiteral("SELECT * FROM tbProcessos_Trabalhos WHERE trabalho_id = 90");
const QString CourtCase = QStringLiteral("SELECT * FROM tbProcessos WHERE processo_id = 16");
const QString Pending = QStringLiteral("SELECT COUNT(*) as no FROM tbProcessos_Trabalhos_Tarefas WHERE (closed = 0 OR "
                                       "closed is null) AND trabalho_id = 90");
const QString Running = QStringLiteral(
    "SELECT COUNT(*) as no FROM tbProcessos_Trabalhos_Tarefas_Lancamentos WHERE inprogress <> 0 AND trabalho_id = 90");
// The assignment refuses itself when a count has started on the work item since the check.
const QString Assign =
    QStringLiteral("UPDATE tbProcessos_Trabalhos SET advogado_id = 9 WHERE trabalho_id = 90 AND NOT EXISTS (SELECT * "
                   "FROM tbProcessos_Trabalhos_Tarefas_Lancamentos WHERE closed = 0 AND inprogress <> 0 AND "
                   "trabalho_id = 90)");
const QString AskDates = QStringLiteral(
    "Atribuir Novo Trabalho | question yes/no | O trabalho selecionado é do tipo Judicial, e para poder continuar tem "
    "de indicar a Data Legal e o Prazo de Escritório.\n\r\n\rPretende indicar essas datas agora?");
const QString AskAgain = QStringLiteral(
    "Atribuir Novo Trabalho | question yes/no | As datas de escritório e prazo legal não foram definidas, para "
    "continuar tem de registar estas datas.\n\r\n\rPretende indicar essas datas agora?");
const QString AskTake = QStringLiteral(
    "Atribuir Novo Trabalho | question yes/no | O trabalho selecionado está atribuído a outro advogado.\n\r\n\r"
    "Pretende passá-lo para esta lista de tarefas?");
const QString EditDeadlines =
    QStringLiteral("WorkEditor#1.EditDeadlines(trabalho_id=90, 90, \"\", \"\", null, 0, 0, 0)");

// Court case 16 of client 402, and its work item 90 "Audiência" of lawyer 10 with the given deadline
// flag and dates, holding open task 901.
void addCourtWork(testsupport::TempDatabase& db, const QString& prazos, bool legalDate, bool officeDate)
{
    db.exec(QStringLiteral("INSERT INTO tbProcessos (processo_id, processo_no_completo, contacto_id, judicial) VALUES "
                           "(16, '2009/016', 402, 1)"));
    db.exec(QStringLiteral("INSERT INTO tbProcessos_Trabalhos (trabalho_id, processo_id, descrit, advogado_id, prazos, "
                           "data_legal, data_escritorio) VALUES (90, 16, 'Audiência', 10, %1, %2, %3)")
                .arg(prazos, legalDate ? QStringLiteral("'2010-01-15 00:00:00'") : QStringLiteral("NULL"),
                     officeDate ? QStringLiteral("'2010-01-10 00:00:00'") : QStringLiteral("NULL")));
    db.exec(QStringLiteral("INSERT INTO tbProcessos_Trabalhos_Tarefas (tarefa_id, trabalho_id, descrit, closed, "
                           "escondida) VALUES (901, 90, 'Preparar', 0, 0)"));
}

} // namespace

// Taking on new work: the picker, the deadlines a court case asks for, the refusals, the assignment.
class TestNewWork : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void newWork_data()
    {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<int>("chosen");
        QTest::addColumn<QStringList>("answers");
        QTest::addColumn<QString>("settles"); // EditDeadlines' answers in turn, "1" true and "0" false
        QTest::addColumn<QStringList>("statements");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<QStringList>("editorCalls");
        QTest::addColumn<bool>("assigned");
        const auto row = [](const char* name, const QString& setup, int chosen, const QStringList& answers,
                            const QString& settles, const QStringList& statements, const QStringList& messages,
                            const QStringList& editorCalls, bool assigned) {
            QTest::newRow(name) << setup << chosen << answers << settles << statements << messages << editorCalls
                                << assigned;
        };

        const QStringList taken{Work90, CourtCase, Pending, Running, Assign, Refill};
        row("the picker chooses nothing", "prazos 0", 0, {}, "", {}, {}, {}, false);
        row("a work item without a record is assigned unchecked", "prazos 0", 999, {}, "",
            QStringList{"SELECT * FROM tbProcessos_Trabalhos WHERE trabalho_id = 999",
                        "UPDATE tbProcessos_Trabalhos SET advogado_id = 9 WHERE trabalho_id = 999 AND NOT EXISTS "
                        "(SELECT * FROM tbProcessos_Trabalhos_Tarefas_Lancamentos WHERE closed = 0 AND inprogress "
                        "<> 0 AND trabalho_id = 999)",
                        "SELECT * FROM tbProcessos_Trabalhos_Tarefas_Lancamentos WHERE closed = 0 AND inprogress "
                        "<> 0 AND trabalho_id = 999",
                        Refill},
            QStringList(), {}, false);
        // Work item 90 is lawyer 10's: taking it asks first.
        row("no court case", "not judicial", 90, QStringList{"Yes"}, "", taken, QStringList{AskTake}, {}, true);
        row("deadlines not asked for (null)", "prazos null", 90, QStringList{"Yes"}, "", taken, QStringList{AskTake},
            QStringList(), true);
        row("deadlines not asked for (1)", "prazos 1", 90, QStringList{"Yes"}, "", taken, QStringList{AskTake},
            QStringList(), true);
        row("both dates set", "both dates", 90, QStringList{"Yes"}, "", taken, QStringList{AskTake}, {}, true);
        row("another lawyer's work, declined", "both dates", 90, QStringList{"No"}, "",
            QStringList{Work90, CourtCase, Pending, Running}, QStringList{AskTake}, {}, false);
        row("nobody's work, taken without a question", "nobody's", 90, {}, "", taken, {}, QStringList(), true);
        row("dates asked for, declined", "prazos 0", 90, QStringList{"No"}, "", QStringList{Work90, CourtCase},
            QStringList{AskDates}, {}, false);
        row("only the legal date missing, declined", "office date only", 90, QStringList{"No"}, "",
            QStringList{Work90, CourtCase}, QStringList{AskDates}, {}, false);
        row("dates set in the editor", "prazos 0", 90, QStringList{"Yes", "Yes"}, "1", taken,
            QStringList{AskDates, AskTake}, QStringList{EditDeadlines}, true);
        row("dates not settled, declined the second time", "prazos 0", 90, QStringList{"Yes", "No"}, "0",
            QStringList{Work90, CourtCase}, QStringList{AskDates, AskAgain}, QStringList{EditDeadlines}, false);
        row("dates settled the second time, in the same editor", "prazos 0", 90, QStringList{"Yes", "Yes", "Yes"}, "01",
            taken, QStringList{AskDates, AskAgain, AskTake}, QStringList{EditDeadlines, EditDeadlines}, true);
        row("no pending task", "all finished", 90, {}, "", QStringList{Work90, CourtCase, Pending},
            QStringList{"Orv_Couter | info | O trabalho selecionado não tem tarefas pendentes."}, {}, false);
        row("an entry running for another lawyer", "running elsewhere", 90, {}, "",
            QStringList{Work90, CourtCase, Pending, Running},
            QStringList{"Orv_Couter | info | O trabalho selecionado tem tarefas em curso.\n\r\n\rAs tarefas em "
                        "produção "
                        "devem ser terminadas antes de as adicionar à sua lista."},
            QStringList(), false);
        row("a work item without a case: reported before anything is written", "no case", 90, {}, "",
            QStringList{Work90}, {}, {}, false);
        // The failure is reported under the command; the dates the editor set stay set.
        row("the deadlines editor failing half-way: not taken", "editor fails", 90, QStringList{"Yes"}, "",
            QStringList{Work90, CourtCase}, QStringList{AskDates}, QStringList{EditDeadlines}, false);
    }
    void newWork()
    {
        QFETCH(QString, setup);
        QFETCH(int, chosen);
        QFETCH(QStringList, answers);
        QFETCH(QString, settles);
        QFETCH(QStringList, statements);
        QFETCH(QStringList, messages);
        QFETCH(QStringList, editorCalls);
        QFETCH(bool, assigned);
        CommandFixture f;
        testsupport::TempDatabase& db = f.office.database();
        addCourtWork(db,
                     setup == QStringLiteral("prazos null") ? QStringLiteral("NULL")
                     : setup == QStringLiteral("prazos 1")  ? QStringLiteral("1")
                                                            : QStringLiteral("0"),
                     setup == QStringLiteral("both dates"),
                     setup == QStringLiteral("both dates") || setup == QStringLiteral("office date only"));
        if (setup == QStringLiteral("not judicial")) {
            db.exec(QStringLiteral("UPDATE tbProcessos SET judicial = 0 WHERE processo_id = 16"));
        } else if (setup == QStringLiteral("all finished")) {
            db.exec(QStringLiteral("UPDATE tbProcessos_Trabalhos_Tarefas SET closed = 1 WHERE trabalho_id = 90"));
        } else if (setup == QStringLiteral("nobody's")) {
            db.exec(QStringLiteral("UPDATE tbProcessos_Trabalhos SET advogado_id = NULL WHERE trabalho_id = 90"));
            db.exec(QStringLiteral("UPDATE tbProcessos SET judicial = 0 WHERE processo_id = 16"));
        } else if (setup == QStringLiteral("no case")) {
            db.exec(QStringLiteral("UPDATE tbProcessos_Trabalhos SET processo_id = NULL WHERE trabalho_id = 90"));
        }
        if (setup == QStringLiteral("running elsewhere") || setup == QStringLiteral("all finished")) {
            db.exec(QStringLiteral("UPDATE tbProcessos_Trabalhos SET prazos = 1 WHERE trabalho_id = 90"));
        }
        if (setup == QStringLiteral("running elsewhere")) {
            db.exec(QStringLiteral("UPDATE tbProcessos_Trabalhos_Tarefas_Lancamentos SET advogado_id = 10 WHERE "
                                   "lancamento_id = %1")
                        .arg(f.office.addRunningEntry(901, f.clock.now())));
        }
        if (setup == QStringLiteral("editor fails")) {
            f.components.onCall(QStringLiteral("EditDeadlines"), [&db](external::EditorOwner*) {
                db.exec(QStringLiteral("UPDATE tbProcessos_Trabalhos SET data_legal = '2010-02-01 00:00:00' WHERE "
                                       "trabalho_id = 90"));
            });
            f.components.failNext(QStringLiteral("EditDeadlines"), {5, QStringLiteral("O editor falhou")});
        }
        f.components.setSelectWork({chosen});
        QList<bool> settled;
        for (const QChar answer : settles) {
            settled << (answer == QLatin1Char('1'));
        }
        f.components.setEditDeadlines(settled);
        f.load();
        f.answer(answers);
        f.run(QStringLiteral("mnNovaTarefa"));

        QCOMPARE(f.statements(), statements);
        QCOMPARE(f.messages(), messages);
        QCOMPARE(f.components.calls(QStringLiteral("EditDeadlines")), editorCalls);
        QCOMPARE(db.scalar(QStringLiteral("SELECT advogado_id FROM tbProcessos_Trabalhos WHERE trabalho_id = 90")),
                 assigned                              ? QVariant(OfficeFixture::Lawyer)
                 : setup == QStringLiteral("nobody's") ? QVariant()
                                                       : QVariant(OfficeFixture::OtherLawyer));
        QCOMPARE(f.row(901) >= 0, assigned);
        const bool fails = setup == QStringLiteral("no case") || setup == QStringLiteral("editor fails");
        QCOMPARE(f.reports.procedures(), fails ? QStringList{QStringLiteral("mnNovaTarefa_Click")} : QStringList());
        QCOMPARE(
            db.scalar(QStringLiteral("SELECT data_legal FROM tbProcessos_Trabalhos WHERE trabalho_id = 90")).isNull(),
            setup != QStringLiteral("editor fails") && setup != QStringLiteral("both dates"));
        // The work-item editor lives only while the command runs.
        QCOMPARE(f.components.calls(QStringLiteral("new")).size() - f.components.calls(QStringLiteral("delete")).size(),
                 1);
    }
};

QTEST_MAIN(TestNewWork)
#include "test_newwork.moc"
