#include "counter/commands/countermenus.h"
#include "scramble/modencriptserial.h"
#include "testsupport/windowfixture.h"

using counter::CounterCommands;
using testsupport::OfficeFixture;

namespace {

const QString Refill = QStringLiteral("refill");
const QString TaskRecord = QStringLiteral("SELECT * FROM tbProcessos_Trabalhos_Tarefas WHERE tarefa_id = 812");
const QString RunningOn77 = QStringLiteral("SELECT COUNT(*) as no FROM tbProcessos_Trabalhos_Tarefas_Lancamentos WHERE "
                                           "closed = 0 AND inprogress <> 0 AND trabalho_id = 77");
const QString NoneRunningOn812 =
    QStringLiteral(" AND NOT EXISTS (SELECT * FROM tbProcessos_Trabalhos_Tarefas_Lancamentos "
                   "WHERE closed = 0 AND inprogress <> 0 AND tarefa_id = 812)");
const QString NoneRunningOn77 =
    QStringLiteral(" AND NOT EXISTS (SELECT * FROM tbProcessos_Trabalhos_Tarefas_Lancamentos "
                   "WHERE closed = 0 AND inprogress <> 0 AND trabalho_id = 77)");
const QString FinishQuestion = QStringLiteral("Terminar Tarefa | question yes/no | Deseja registar esta tarefa como "
                                              "concluída?");
const QString GiveBackQuestion = QStringLiteral("Retirar Trabalho | question yes/no | Deseja retirar o trabalho "
                                                "'Contestação' das minhas tarefas pendentes?");
const QString RefuseFinish = QStringLiteral(
    "Contador de Tarefas | info | Não pode finalizar esta tarefa sem primeiro terminar o contador activo.");
const QString RunningRefusal =
    QStringLiteral("Orv_Couter | info | O trabalho selecionado tem tarefas em curso.\n\r\n\rOs trabalhos com tarefas "
                   "em produção não podem ser "
                   "removidos das suas tarefas.\n\r\n\rFinalize primeiro as tarefas em produção.");

// Task 813 of work item 77 listed after 812, and work item 78 "Recurso" of lawyer 9 with task 820.
void addTasks(OfficeFixture& office)
{
    office.addTask(813, OfficeFixture::Work, QStringLiteral("Preparar audiência"), false,
                   QDateTime(QDate(2009, 1, 1), QTime(0, 0)));
    office.addWork(78, OfficeFixture::Case, OfficeFixture::Lawyer, QStringLiteral("Recurso"));
    office.addTask(820, 78, QStringLiteral("Alegações"));
}

// A command run with task 812 selected, and what it did.
struct Command {
    QString before, after, command; // statements run before and after the list is filled
    QStringList answers, statements, messages, rowsAfter;
    QString selectedAfter; // "*": whichever the list chooses
};

const QStringList TaskCommands{"mnListAbrir", "mnListLancamento", "mnEsconder", "mnListRemover", "mnListTerminar"};

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

// "Atribuir novo Trabalho" over work item 90 as a row's changes leave it, and what it did.
struct NewWork {
    QString setup;
    int chosen;
    QStringList answers;
    QList<bool> settles; // EditDeadlines' answers in turn
    QStringList statements, messages, editorCalls;
    bool assigned;
};

// Court case 16 of client 402, and its work item 90 "Audiência" of lawyer 10, deadlines asked for and neither date
// set, holding open task 901; then the changes a row names.
void addCourtWork(testsupport::TempDatabase& db, const QString& changes)
{
    db.exec(QStringLiteral("INSERT INTO tbProcessos (processo_id, processo_no_completo, contacto_id, judicial) VALUES "
                           "(16, '2009/016', 402, 1)"));
    db.exec(QStringLiteral("INSERT INTO tbProcessos_Trabalhos (trabalho_id, processo_id, descrit, advogado_id, prazos) "
                           "VALUES (90, 16, 'Audiência', 10, 0)"));
    db.exec(QStringLiteral("INSERT INTO tbProcessos_Trabalhos_Tarefas (tarefa_id, trabalho_id, descrit, closed, "
                           "escondida) VALUES (901, 90, 'Preparar', 0, 0)"));
    const QString notJudicial = QStringLiteral("UPDATE tbProcessos SET judicial = 0");
    const QString noDeadlines = QStringLiteral("UPDATE tbProcessos_Trabalhos SET prazos = 1");
    const QHash<QString, QStringList> statements{
        {"prazos null", {"UPDATE tbProcessos_Trabalhos SET prazos = NULL"}},
        {"prazos 1", {noDeadlines}},
        {"not judicial", {notJudicial}},
        {"both dates",
         {"UPDATE tbProcessos_Trabalhos SET data_legal = '2010-01-15 00:00:00', data_escritorio = "
          "'2010-01-10 00:00:00'"}},
        {"office date only", {"UPDATE tbProcessos_Trabalhos SET data_escritorio = '2010-01-10 00:00:00'"}},
        {"nobody's", {"UPDATE tbProcessos_Trabalhos SET advogado_id = NULL", notJudicial}},
        {"all finished", {"UPDATE tbProcessos_Trabalhos_Tarefas SET closed = 1 WHERE trabalho_id = 90", noDeadlines}},
        {"running elsewhere",
         {noDeadlines, "INSERT INTO tbProcessos_Trabalhos_Tarefas_Lancamentos (tarefa_id, trabalho_id, advogado_id, "
                       "inprogress, closed) VALUES (901, 90, 10, 1, 0)"}},
        {"no case", {"UPDATE tbProcessos_Trabalhos SET processo_id = NULL"}},
    };
    for (const QString& statement : statements.value(changes)) {
        db.exec(statement);
    }
}

// The log of one fresh object: made, signed on with the scrambled password, then the calls.
QStringList fresh(const QString& object, const QStringList& calls)
{
    QStringList log{QStringLiteral("new ") + object,
                    object + QStringLiteral(".SignOn(ana, ") +
                        scramble::modEncriptSerial::EncriptSerial(QStringLiteral("segredo")) + QLatin1Char(')')};
    for (const QString& call : calls) {
        log << object + QLatin1Char('.') + call;
    }
    return log;
}

// Runs a command of the menus, or "ListView2_DblClick": the user's double click on the entry, selected in the
// statistics list below another entry (none: on an empty list).
void run(CommandFixture& f, const QString& command, qint64 entry)
{
    if (command != QStringLiteral("ListView2_DblClick")) {
        f.run(command);
        return;
    }
    auto& entries = f.child<counter::ListView>("ListView2");
    if (entry != 0) {
        entries.addRow(QStringLiteral("#%1").arg(entry + 1), QStringLiteral("outra"));
        entries.selectRow(entries.addRow(QStringLiteral("#%1").arg(entry), QStringLiteral("entrada")));
    }
    Q_EMIT entries.DblClick();
}

// A command run on task 812 (with a running entry) and what it showed, made and reported. The setup is a statement
// run after the list was filled, or "empty list".
struct Opening {
    QString setup, command;
    QStringList messages, log;
    QString reported;
};

// Changes to the database after the list was filled.
const QString NoWorkItem = QStringLiteral("UPDATE tbProcessos_Trabalhos_Tarefas SET trabalho_id = NULL");
const QString WorkItemGone = QStringLiteral("UPDATE tbProcessos_Trabalhos_Tarefas SET trabalho_id = 999");
const QString NoCase = QStringLiteral("UPDATE tbProcessos_Trabalhos SET processo_id = NULL");

} // namespace

// The commands of the menus, read from the statements they send, the boxes they show and the components they make.
class TestCommands : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { scramble::modEncriptSerial::VolumeSerial = QStringLiteral("-1234567890"); }

    void opening_data()
    {
        QTest::addColumn<Opening>("row");
        const auto row = [](const char* name, const QString& setup, const QString& command, const QStringList& messages,
                            const QStringList& log, const QString& reported) {
            QTest::newRow(name) << Opening{setup, command, messages, log, reported};
        };

        const QString ToWindow = QStringLiteral("\"\", \"\", frmCounter, 0, 0, 0)");
        row("the task", "", "mnListAbrir", {}, fresh("TaskEditor#1", {"OpenRecord(tarefa_id=812, 812, " + ToWindow}),
            "");
        row("its work item", "", "mnListAbrirTrabalho", {},
            fresh("WorkEditor#1", {"OpenRecord(trabalho_id=77, 77, " + ToWindow}), "");
        row("its case", "", "mnListAbrirProcesso", {},
            fresh("CaseEditor#1", {"OpenRecord(processo_id=15, 15, " + ToWindow}), "");
        row("the case's archive", "", "mnListAbrirArquivoDocumental", {},
            fresh("CaseEditor#1", {"OpenDocumentArchive(processo_id=15, 15, " + ToWindow}), "");
        row("a new entry for the task", "", "mnListLancamento", {},
            fresh("TimeEntryEditor#1", {"NewEntry(402, 15, 812, 9, frmCounter)"}), "");
        const QStringList wizard =
            fresh("WorkAssistant#1", {"NewEntryWizard()"}) + QStringList{"delete WorkAssistant#1"};
        row("the wizard", "", "mnLancamentoNovo", {}, wizard, "");
        row("the wizard needs no row", "empty list", "mnLancamentoNovo", {}, wizard, "");

        row("registering, no work item: stops there", NoWorkItem, "mnListLancamento", {missing("TRABALHO_ID")}, {}, "");
        for (const char* command : {"mnListAbrirTrabalho", "mnListAbrirProcesso", "mnListAbrirArquivoDocumental"}) {
            QTest::addRow("%s, no work item: reported", command)
                << Opening{NoWorkItem, command, {}, {}, QString::fromLatin1(command) + QStringLiteral("_Click")};
        }
        row("registering, the work item gone: stops at the case", WorkItemGone, "mnListLancamento",
            {missing("Processo_ID")}, {}, "");
        row("the work item gone: nothing opens", WorkItemGone, "mnListAbrirTrabalho", {}, {}, "");
        row("the work item gone: no case opens", WorkItemGone, "mnListAbrirProcesso", {}, {}, "");
        row("registering, a work item without case", NoCase, "mnListLancamento", {missing("Processo_ID")}, {}, "");
        row("a work item without case: reported", NoCase, "mnListAbrirArquivoDocumental", {}, {},
            "mnListAbrirArquivoDocumental_Click");
        row("registering, a case without client", QStringLiteral("UPDATE tbProcessos SET contacto_id = NULL"),
            "mnListLancamento", {missing("Contacto_ID")}, {}, "");
        row("the task gone: nothing opens", QStringLiteral("DELETE FROM tbProcessos_Trabalhos_Tarefas"), "mnListAbrir",
            {}, {}, "");
        // A double click in the entries list opens the entry in an editor of its own, released at once.
        row("an entry of the statistics", "", "ListView2_DblClick", {},
            fresh("TimeEntryEditor#1", {"OpenRecord(lancamento_id=1, 1, " + ToWindow}) +
                QStringList{"delete TimeEntryEditor#1"},
            "");
        row("an entry deleted meanwhile", "DELETE FROM tbProcessos_Trabalhos_Tarefas_Lancamentos", "ListView2_DblClick",
            {}, {}, "");
        row("an empty list of entries", "empty list", "ListView2_DblClick", {}, {}, "");
    }
    void opening()
    {
        QFETCH(Opening, row);
        const auto& [setup, command, messages, log, reported] = row;
        CommandFixture f;
        const qint64 entry = f.office.addRunningEntry(OfficeFixture::Task, f.clock.now());
        f.load();
        if (setup == QStringLiteral("empty list")) {
            f.list().clearRows();
        } else if (!setup.isEmpty()) {
            f.office.database().exec(setup);
        }
        if (f.list().rowCount() > 0) {
            f.select(OfficeFixture::Task);
        }
        run(f, command, setup == QStringLiteral("empty list") ? 0 : entry);
        QCOMPARE(f.messages(), messages);
        QCOMPARE(f.components.log(), log);
        QCOMPARE(f.reports.procedures(), reported.isEmpty() ? QStringList() : QStringList{reported});
    }

    // Which objects a run of commands makes and releases: the kept ones are replaced by the next of their
    // use, the others go when their command ends, and the window releases the kept ones when it goes.
    void objectsLiveAsLongAsTheirUse_data()
    {
        QTest::addColumn<QStringList>("commands");
        QTest::addColumn<QStringList>("lives");
        QTest::newRow("case, then archive: one field")
            << QStringList{"mnListAbrirProcesso", "mnListAbrirArquivoDocumental"}
            << QStringList{"new CaseEditor#1", "new CaseEditor#2", "delete CaseEditor#1"};
        QTest::newRow("work item twice") << QStringList{"mnListAbrirTrabalho", "mnListAbrirTrabalho"}
                                         << QStringList{"new WorkEditor#1", "new WorkEditor#2", "delete WorkEditor#1"};
        QTest::newRow("registering twice")
            << QStringList{"mnListLancamento", "mnListLancamento"}
            << QStringList{"new TimeEntryEditor#1", "new TimeEntryEditor#2", "delete TimeEntryEditor#1"};
        QTest::newRow("new work twice") << QStringList{"mnNovaTarefa", "mnNovaTarefa"}
                                        << QStringList{"new WorkAssistant#1", "new WorkAssistant#2",
                                                       "delete WorkAssistant#1"};
        QTest::newRow("task, case, task: two fields")
            << QStringList{"mnListAbrir", "mnListAbrirProcesso", "mnListAbrir"}
            << QStringList{"new TaskEditor#1", "new CaseEditor#1", "new TaskEditor#2", "delete TaskEditor#1"};
    }
    void objectsLiveAsLongAsTheirUse()
    {
        QFETCH(QStringList, commands);
        QFETCH(QStringList, lives);
        CommandFixture f;
        f.load();
        f.select(OfficeFixture::Task);
        for (const QString& command : commands) {
            f.run(command);
        }
        QCOMPARE(f.components.log().filter(QRegularExpression(QStringLiteral("^(new|delete) "))), lives);
        f.window.reset();
        QCOMPARE(f.components.calls(QStringLiteral("delete")).size(), f.components.calls(QStringLiteral("new")).size());
    }

    // An editor's window leaves the tray menu working, so the same command may run again inside its call:
    // the object the second run replaces goes only once its own call has returned.
    void aCommandRunAgainWhileItsEditorIsOpen()
    {
        CommandFixture f;
        f.load();
        bool again = true;
        f.components.onCall(QStringLiteral("SelectWork"), [&](external::EditorOwner*) {
            if (std::exchange(again, false)) {
                f.run(QStringLiteral("mnNovaTarefa"));
            }
        });
        f.run(QStringLiteral("mnNovaTarefa"));
        QCOMPARE(f.components.log(), fresh("WorkAssistant#1", {"SelectWork()"}) +
                                         fresh("WorkAssistant#2", {"SelectWork()"}) +
                                         QStringList{"delete WorkAssistant#1"});
        QCOMPARE(f.reports.procedures(), QStringList());
    }

    // A component that fails is reported under the command's own labels, and what it did before stays done. A
    // workstation without a component of the kind: the command ends with a report naming it.
    void aFailingComponent_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("method");  // the call that fails
        QTest::addColumn<QString>("missing"); // or the kind of component the workstation lacks
        QTest::addColumn<QString>("application");
        const auto row = [](const char* name, const QString& command, const QString& method, const QString& missing,
                            const QString& application) {
            QTest::newRow(name) << command << method << missing << application;
        };
        row("opening the task", "mnListAbrir", "OpenRecord", "", "Orv Counter");
        row("signing on for the case", "mnListAbrirProcesso", "SignOn", "", "Orv Counter");
        row("opening the archive", "mnListAbrirArquivoDocumental", "OpenDocumentArchive", "", "Orv Counter");
        row("registering an entry", "mnListLancamento", "NewEntry", "", "Orv Counter");
        row("the wizard", "mnLancamentoNovo", "NewEntryWizard", "", "Orv Counter");
        row("choosing new work", "mnNovaTarefa", "SelectWork", "", "Orv Counter");
        row("an entry of the statistics", "ListView2_DblClick", "OpenRecord", "", "Orv Software");
        row("no task editor", "mnListAbrir", "", "TaskEditor", "Orv Counter");
        row("no work item editor", "mnListAbrirTrabalho", "", "WorkEditor", "Orv Counter");
        row("no case editor", "mnListAbrirProcesso", "", "CaseEditor", "Orv Counter");
        row("no time entry editor", "mnListLancamento", "", "TimeEntryEditor", "Orv Counter");
        row("no wizard", "mnLancamentoNovo", "", "WorkAssistant", "Orv Counter");
        row("no work assistant", "mnNovaTarefa", "", "WorkAssistant", "Orv Counter");
    }
    void aFailingComponent()
    {
        QFETCH(QString, command);
        QFETCH(QString, method);
        QFETCH(QString, missing);
        QFETCH(QString, application);
        CommandFixture f;
        const qint64 entry = f.office.addRunningEntry(OfficeFixture::Task, f.clock.now());
        testsupport::TempDatabase& db = f.office.database();
        if (missing.isEmpty()) {
            f.components.onCall(method, [&db](external::EditorOwner*) {
                db.exec(QStringLiteral("UPDATE tbProcessos SET descrit = 'guardado' WHERE processo_id = 15"));
            });
            f.components.failNext(method, {-2147467259, QStringLiteral("O componente falhou")});
        } else {
            f.components.setMissing(missing);
        }
        f.load();
        f.select(OfficeFixture::Task);
        run(f, command, entry);
        QCOMPARE(f.reports.reports().size(), 1);
        const testsupport::Report& report = f.reports.reports().constFirst();
        QCOMPARE(QStringList({report.application, report.owner, report.procedure}),
                 QStringList({application, "frmCounter",
                              command.endsWith(QStringLiteral("_DblClick")) ? command : command + "_Click"}));
        if (missing.isEmpty()) {
            QCOMPARE(report.text, QStringLiteral("O componente falhou"));
            QCOMPARE(db.scalar(QStringLiteral("SELECT descrit FROM tbProcessos WHERE processo_id = 15")),
                     QVariant(QStringLiteral("guardado")));
        } else {
            QVERIFY(report.text.contains(missing));
            QCOMPARE(f.components.log(), QStringList());
        }
        QVERIFY(f.window->isVisible());
    }

    void commands_data()
    {
        QTest::addColumn<Command>("row");
        const auto add = [](const char* name, const QString& before, const QString& after, const QString& command,
                            const QStringList& answers, const QStringList& statements, const QStringList& messages,
                            const QStringList& rowsAfter, const QString& selectedAfter) {
            QTest::newRow(name) << Command{before,     after,    command,   answers,
                                           statements, messages, rowsAfter, selectedAfter};
        };
        const auto running = [](int task, int lawyer) {
            return QStringLiteral("INSERT INTO tbProcessos_Trabalhos_Tarefas_Lancamentos (tarefa_id, trabalho_id, "
                                  "advogado_id, data, inprogress, closed) VALUES (%1, 77, %2, '2009-11-16', 1, 0)")
                .arg(task)
                .arg(lawyer);
        };

        const QString hide =
            QStringLiteral("UPDATE tbProcessos_Trabalhos_Tarefas SET escondida = 1 WHERE tarefa_id = 812");
        const QStringList all{"#812", "#813", "#820"};
        add("hide: the list starts again at its first row", "", "", "mnEsconder", {}, {hide, Refill}, {},
            {"#813", "#820", "#812"}, "#813");
        add("show: the task stays selected", hide, "", "mnEsconder", {},
            {"UPDATE tbProcessos_Trabalhos_Tarefas SET escondida = 0 WHERE tarefa_id = 812", Refill}, {}, all, "#812");
        add("finish a counted task: refused, titled with the window's caption", running(812, 9), "", "mnListTerminar",
            {}, {}, {RefuseFinish}, all, "#812");
        add("finish, No", "", "", "mnListTerminar", {"No"}, {}, {FinishQuestion}, all, "#812");
        add("finish, Yes: that row alone leaves the list", "", "", "mnListTerminar", {"Yes"},
            {"UPDATE tbProcessos_Trabalhos_Tarefas SET closed = 1 WHERE tarefa_id = 812" + NoneRunningOn812},
            {FinishQuestion}, {"#813", "#820"}, "*");
        add("finish a task counted elsewhere: the statement refuses, the list is refilled", "", running(812, 9),
            "mnListTerminar", {"Yes"},
            {"UPDATE tbProcessos_Trabalhos_Tarefas SET closed = 1 WHERE tarefa_id = 812" + NoneRunningOn812, Refill},
            {FinishQuestion, RefuseFinish}, all, "*");
        add("give back, No", "", "", "mnListRemover", {"No"}, {}, {GiveBackQuestion}, all, "#812");
        add("give back, Yes: the work item's tasks leave the list", "", "", "mnListRemover", {"Yes"},
            {TaskRecord, RunningOn77,
             "UPDATE tbProcessos_Trabalhos SET advogado_id = null WHERE trabalho_id = 77" + NoneRunningOn77, Refill},
            {GiveBackQuestion}, {"#820"}, "");
        add("give back a work item another lawyer counts on: refused", running(813, 10), "", "mnListRemover", {"Yes"},
            {TaskRecord, RunningOn77}, {GiveBackQuestion, RunningRefusal}, all, "#812");
        add("give back a task deleted meanwhile: nothing more", "",
            "DELETE FROM tbProcessos_Trabalhos_Tarefas WHERE tarefa_id = 812", "mnListRemover", {"Yes"}, {TaskRecord},
            {GiveBackQuestion}, all, "#812");
        add("give back a task without a work item: reported, nothing written", "", NoWorkItem, "mnListRemover", {"Yes"},
            {TaskRecord}, {GiveBackQuestion}, all, "#812");
        add("the other list entry takes new work", "", "", "mnListTrabalho", {}, {}, {}, all, "#812");
    }
    void commands()
    {
        QFETCH(Command, row);
        const auto& [before, after, command, answers, statements, messages, rowsAfter, selectedAfter] = row;
        CommandFixture f;
        testsupport::TempDatabase& db = f.office.database();
        addTasks(f.office);
        if (!before.isEmpty()) {
            db.exec(before);
        }
        f.load();
        if (!after.isEmpty()) {
            db.exec(after);
        }
        f.select(OfficeFixture::Task);
        f.answer(answers);
        f.run(command);

        QCOMPARE(f.statements(), statements);
        QCOMPARE(f.messages(), messages);
        QCOMPARE(keysOf(f.list()), rowsAfter);
        const int selected = f.list().selectedRow();
        if (selectedAfter != QStringLiteral("*")) {
            QCOMPARE(selected < 0 ? QString() : f.list().key(selected), selectedAfter);
        }
        QCOMPARE(f.reports.procedures(),
                 after == NoWorkItem ? QStringList{QStringLiteral("mnListRemover_Click")} : QStringList());
        QCOMPARE(
            db.scalar(QStringLiteral("SELECT COUNT(*) FROM tbProcessos_Trabalhos_Tarefas WHERE closed = 1")).toInt(),
            rowsAfter.size() == 2 && command == QStringLiteral("mnListTerminar") ? 1 : 0);
        QCOMPARE(
            db.scalar(QStringLiteral("SELECT COUNT(*) FROM tbProcessos_Trabalhos WHERE advogado_id IS NULL")).toInt(),
            command == QStringLiteral("mnListRemover") && statements.size() > 2 ? 1 : 0);
        // "Atribuir novo Trabalho" opens the work assistant, which here chooses nothing.
        QCOMPARE(f.components.calls(QStringLiteral("SelectWork")).size(),
                 command == QStringLiteral("mnListTrabalho") ? 1 : 0);
    }

    // Without a row to act on, no command of the list sends, shows or makes anything. A row key is spliced into
    // statements only as the whole number it stands for: any other key ends the command, reported under its name,
    // before a statement or a question.
    void nothingToActOn_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("rows");
        for (const char* command : {"mnEsconder", "mnListTerminar", "mnListRemover", "mnListAbrir", "mnListLancamento",
                                    "mnListAbrirProcesso", "mnListAbrirTrabalho", "mnListAbrirArquivoDocumental"}) {
            QTest::addRow("%s, empty list", command) << command << "none";
            QTest::addRow("%s, no row selected", command) << command << "unselected";
            QTest::addRow("%s, a key that is no number", command) << command << "bad key";
        }
    }
    void nothingToActOn()
    {
        QFETCH(QString, command);
        QFETCH(QString, rows);
        CommandFixture f;
        if (rows == QStringLiteral("none")) {
            f.office.database().exec(QStringLiteral("UPDATE tbProcessos_Trabalhos_Tarefas SET closed = 1"));
        }
        f.load();
        counter::ListView& list = f.list();
        const bool badKey = rows == QStringLiteral("bad key");
        if (badKey) {
            const int row = list.addRow(QStringLiteral("#812 OR 1=1; DELETE FROM tbProcessos_Trabalhos_Tarefas"),
                                        QStringLiteral("x"));
            list.setCellText(row, 10, QStringLiteral("0"));
            list.selectRow(row);
        }
        f.answer({QStringLiteral("Yes")});
        f.run(command);
        QCOMPARE(f.statements(), QStringList());
        QCOMPARE(f.messages(), QStringList());
        QCOMPARE(f.reports.procedures(), badKey ? QStringList{command + QStringLiteral("_Click")} : QStringList());
        QCOMPARE(f.components.log(), QStringList());
    }

    // What the database holds reaches the question as text, whole. (The statements name the work item by number.)
    void aWorkItemsDescriptionIsText_data()
    {
        QTest::addColumn<QString>("description");
        QTest::newRow("apostrophes") << "Parecer d'Ávila e O''Neil'";
        QTest::newRow("line breaks") << "linha 1\nlinha 2\r\nlinha 3";
        QTest::newRow("outside Windows-1252") << "Ação ✓ 日本語 😀";
        QTest::newRow("10,000 characters") << QString(10000, QLatin1Char('\''));
    }
    void aWorkItemsDescriptionIsText()
    {
        QFETCH(QString, description);
        CommandFixture f;
        f.office.database().exec(QStringLiteral("UPDATE tbProcessos_Trabalhos SET descrit = ") +
                                 testsupport::sqlText(description));
        f.load();
        f.select(OfficeFixture::Task);
        f.answer({QStringLiteral("Yes")});
        f.run(QStringLiteral("mnListRemover"));
        QCOMPARE(f.messages(),
                 QStringList{QString(GiveBackQuestion).replace(QStringLiteral("Contestação"), description)});
        QCOMPARE(f.list().rowCount(), 0);
    }

    // The list is rebuilt while the question is open (an editor saved and asked for it): the finished
    // task's row leaves the list, not the one that now stands where it stood.
    void finishingRemovesTheTaskNotItsPosition()
    {
        CommandFixture f;
        addTasks(f.office);
        f.load();
        f.select(813);
        core::setMessageBoxPresenter([&f](const core::Message&) {
            f.office.database().exec(
                QStringLiteral("UPDATE tbProcessos_Trabalhos_Tarefas SET escondida = 1 WHERE tarefa_id = 812"));
            f.window->RemoteKey(0, 4003);
            return core::Answer::Yes;
        });
        f.run(QStringLiteral("mnListTerminar"));
        QCOMPARE(keysOf(f.list()), (QStringList{"#820", "#812"}));
        QCOMPARE(f.office.database().scalar(QStringLiteral("SELECT tarefa_id FROM tbProcessos_Trabalhos_Tarefas "
                                                           "WHERE closed = 1")),
                 QVariant(813));
    }

    // The menus' commands over a bare window: which entries are offered, and when, every one reached from the
    // keyboard. The task commands and the "Abrir" submenu follow the last press: on a row they are offered, anywhere
    // else not. The other commands keep their state. The hide command names what it will do: only the visible marker
    // "0" is a visible task.
    void taskCommandsFollowThePress_data()
    {
        // "row" a press on a row, "hidden row" one on a hidden row, "left"/"right" a release
        QTest::addColumn<QStringList>("events");
        QTest::addColumn<QString>("hiddenCell"); // of the row pressed
        QTest::addColumn<bool>("offered");
        QTest::addColumn<QString>("caption");
        QTest::newRow("a visible row after a hidden one")
            << QStringList{"hidden row", "left", "row", "right"} << "0" << true << "Esconder";
        QTest::newRow("blank marker") << QStringList{"row", "right"} << " " << true << "Tornar visível";
        QTest::newRow("right click on empty space") << QStringList{"right"} << "" << false << "";
        QTest::newRow("left click on a row, then right on empty space")
            << QStringList{"row", "left", "right"} << "0" << false << "";
        QTest::newRow("right click on a row after one on empty space")
            << QStringList{"right", "row", "right"} << "1" << true << "Tornar visível";
    }
    void taskCommandsFollowThePress()
    {
        QFETCH(QStringList, events);
        QFETCH(QString, hiddenCell);
        QFETCH(bool, offered);
        QFETCH(QString, caption);
        QWidget window;
        counter::CounterMenus menus(&window);
        CounterCommands commands(window, menus);
        QStringList popups;
        commands.setPopupMenu([&](QMenu& menu, const QPoint&) { popups << menu.objectName(); });
        for (const QString& event : events) {
            if (event == QStringLiteral("row")) {
                commands.itemClicked(hiddenCell);
            } else if (event == QStringLiteral("hidden row")) {
                commands.itemClicked(QStringLiteral("1"));
            } else {
                commands.mouseUp(event == QStringLiteral("left") ? Qt::LeftButton : Qt::RightButton, QPoint());
            }
        }
        QCOMPARE(popups, QStringList(events.count(QStringLiteral("right")), QStringLiteral("mnList")));
        for (const QString& name : TaskCommands) {
            QCOMPARE(menus.command(name)->isEnabled(), offered);
        }
        QCOMPARE(menus.mnListAbrirRelated()->menuAction()->isEnabled(), offered);
        for (const char* name : {"mnListTrabalho", "mnLancamentoNovo"}) {
            QVERIFY(menus.command(QLatin1String(name))->isEnabled());
        }
        if (!caption.isEmpty()) {
            QCOMPARE(menus.command(QStringLiteral("mnEsconder"))->text().remove(u'&'), caption);
        }
        // Each caption has a mnemonic, and no two entries of a menu share a letter (Qt would then only move between
        // them instead of running one).
        for (QMenu* menu : {menus.mnMenu(), menus.mnList(), menus.mnListAbrirRelated()}) {
            QSet<QChar> letters;
            for (QAction* action : menu->actions()) {
                const QString text = action->text();
                const qsizetype amp = text.indexOf(u'&');
                if (!action->isSeparator()) {
                    QVERIFY2(amp >= 0 && amp + 1 < text.size() && !letters.contains(text.at(amp + 1).toLower()),
                             qPrintable(text));
                    letters << text.at(amp + 1).toLower();
                }
            }
        }
    }

    void newWork_data()
    {
        QTest::addColumn<NewWork>("row");
        const auto row = [](const char* name, const QString& setup, int chosen, const QStringList& answers,
                            const QList<bool>& settles, const QStringList& statements, const QStringList& messages,
                            const QStringList& editorCalls, bool assigned) {
            QTest::newRow(name) << NewWork{setup,      chosen,   answers,     settles,
                                           statements, messages, editorCalls, assigned};
        };

        const QStringList taken{Work90, CourtCase, Pending, Running, Assign, Refill};
        row("the picker chooses nothing", "prazos 0", 0, {}, {}, {}, {}, {}, false);
        const auto on999 = [](QString statement) { return statement.replace("trabalho_id = 90", "trabalho_id = 999"); };
        row("a work item without a record is assigned unchecked", "prazos 0", 999, {}, {},
            {on999(Work90), on999(Assign),
             "SELECT * FROM tbProcessos_Trabalhos_Tarefas_Lancamentos WHERE closed = 0 AND inprogress <> 0 AND "
             "trabalho_id = 999",
             Refill},
            {}, {}, false);
        // Work item 90 is lawyer 10's: taking it asks first.
        row("no court case", "not judicial", 90, {"Yes"}, {}, taken, {AskTake}, {}, true);
        row("deadlines not asked for (null)", "prazos null", 90, {"Yes"}, {}, taken, {AskTake}, {}, true);
        row("deadlines not asked for (1)", "prazos 1", 90, {"Yes"}, {}, taken, {AskTake}, {}, true);
        row("both dates set", "both dates", 90, {"Yes"}, {}, taken, {AskTake}, {}, true);
        row("another lawyer's work, declined", "both dates", 90, {"No"}, {}, {Work90, CourtCase, Pending, Running},
            {AskTake}, {}, false);
        row("nobody's work, taken without a question", "nobody's", 90, {}, {}, taken, {}, {}, true);
        row("dates asked for, declined", "prazos 0", 90, {"No"}, {}, {Work90, CourtCase}, {AskDates}, {}, false);
        row("only the legal date missing, declined", "office date only", 90, {"No"}, {}, {Work90, CourtCase},
            {AskDates}, {}, false);
        row("dates set in the editor", "prazos 0", 90, {"Yes", "Yes"}, {true}, taken, {AskDates, AskTake},
            {EditDeadlines}, true);
        row("dates not settled, declined the second time", "prazos 0", 90, {"Yes", "No"}, {false}, {Work90, CourtCase},
            {AskDates, AskAgain}, {EditDeadlines}, false);
        row("dates settled the second time, in the same editor", "prazos 0", 90, {"Yes", "Yes", "Yes"}, {false, true},
            taken, {AskDates, AskAgain, AskTake}, {EditDeadlines, EditDeadlines}, true);
        row("no pending task", "all finished", 90, {}, {}, {Work90, CourtCase, Pending},
            {"Orv_Couter | info | O trabalho selecionado não tem tarefas pendentes."}, {}, false);
        row("an entry running for another lawyer", "running elsewhere", 90, {}, {},
            {Work90, CourtCase, Pending, Running},
            {"Orv_Couter | info | O trabalho selecionado tem tarefas em curso.\n\r\n\rAs tarefas em produção devem ser "
             "terminadas antes de as adicionar à sua lista."},
            {}, false);
        row("a work item without a case: reported before anything is written", "no case", 90, {}, {}, {Work90}, {}, {},
            false);
        // The failure is reported under the command; the dates the editor set stay set.
        row("the deadlines editor failing half-way: not taken", "editor fails", 90, {"Yes"}, {}, {Work90, CourtCase},
            {AskDates}, {EditDeadlines}, false);
    }
    void newWork()
    {
        QFETCH(NewWork, row);
        const auto& [setup, chosen, answers, settles, statements, messages, editorCalls, assigned] = row;
        CommandFixture f;
        testsupport::TempDatabase& db = f.office.database();
        addCourtWork(db, setup);
        const QString owner = QStringLiteral("SELECT advogado_id FROM tbProcessos_Trabalhos WHERE trabalho_id = 90");
        const QVariant ownerBefore = db.scalar(owner);
        if (setup == QStringLiteral("editor fails")) {
            f.components.onCall(QStringLiteral("EditDeadlines"), [&db](external::EditorOwner*) {
                db.exec(QStringLiteral("UPDATE tbProcessos_Trabalhos SET data_legal = '2010-02-01 00:00:00' WHERE "
                                       "trabalho_id = 90"));
            });
            f.components.failNext(QStringLiteral("EditDeadlines"), {5, QStringLiteral("O editor falhou")});
        }
        f.components.setSelectWork({chosen});
        f.components.setEditDeadlines(settles);
        f.load();
        f.answer(answers);
        f.run(QStringLiteral("mnNovaTarefa"));

        QCOMPARE(f.statements(), statements);
        QCOMPARE(f.messages(), messages);
        QCOMPARE(f.components.calls(QStringLiteral("EditDeadlines")), editorCalls);
        QCOMPARE(db.scalar(owner), assigned ? QVariant(OfficeFixture::Lawyer) : ownerBefore);
        QCOMPARE(f.row(901) >= 0, assigned);
        const bool fails = setup == QStringLiteral("no case") || setup == QStringLiteral("editor fails");
        QCOMPARE(f.reports.procedures(), fails ? QStringList{QStringLiteral("mnNovaTarefa_Click")} : QStringList());
        QCOMPARE(
            db.scalar(QStringLiteral("SELECT data_legal FROM tbProcessos_Trabalhos WHERE trabalho_id = 90")).isNull(),
            setup != QStringLiteral("editor fails") && setup != QStringLiteral("both dates"));
    }
};

QTEST_MAIN(TestCommands)
#include "test_commands.moc"
