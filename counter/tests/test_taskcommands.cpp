#include "counter/commands/countermenus.h"
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
    QString setup, command;
    QStringList answers, statements, messages, rowsAfter;
    QString selectedAfter; // "*": whichever the list chooses
};

const QStringList TaskCommands{"mnListAbrir", "mnListLancamento", "mnEsconder", "mnListRemover", "mnListTerminar"};

} // namespace

// Hiding, finishing and giving back the selected task, read from the statements sent and the boxes shown.
class TestTaskCommands : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void commands_data()
    {
        QTest::addColumn<Command>("row");
        const auto add = [](const char* name, const QString& setup, const QString& command, const QStringList& answers,
                            const QStringList& statements, const QStringList& messages, const QStringList& rowsAfter,
                            const QString& selectedAfter) {
            QTest::newRow(name) << Command{setup, command, answers, statements, messages, rowsAfter, selectedAfter};
        };

        const QStringList all{"#812", "#813", "#820"};
        add("hide: the list starts again at its first row", "", "mnEsconder", {},
            QStringList{"UPDATE tbProcessos_Trabalhos_Tarefas SET escondida = 1 WHERE tarefa_id = 812", Refill},
            QStringList(), QStringList{"#813", "#820", "#812"}, "#813");
        add("show: the task stays selected", "812 hidden", "mnEsconder", {},
            QStringList{"UPDATE tbProcessos_Trabalhos_Tarefas SET escondida = 0 WHERE tarefa_id = 812", Refill},
            QStringList(), all, "#812");
        add("finish a counted task: refused, titled with the window's caption", "812 running", "mnListTerminar",
            QStringList(), {}, QStringList{RefuseFinish}, all, "#812");
        add("finish, No", "", "mnListTerminar", QStringList{"No"}, {}, QStringList{FinishQuestion}, all, "#812");
        add("finish, Yes: that row alone leaves the list", "", "mnListTerminar", QStringList{"Yes"},
            QStringList{"UPDATE tbProcessos_Trabalhos_Tarefas SET closed = 1 WHERE tarefa_id = 812" + NoneRunningOn812},
            QStringList{FinishQuestion}, QStringList{"#813", "#820"}, "*");
        add("finish a task counted elsewhere: the statement refuses, the list is refilled",
            "812 started elsewhere after the refill", "mnListTerminar", QStringList{"Yes"},
            QStringList{"UPDATE tbProcessos_Trabalhos_Tarefas SET closed = 1 WHERE tarefa_id = 812" + NoneRunningOn812,
                        Refill},
            QStringList{FinishQuestion, RefuseFinish}, all, "*");
        add("give back, No", "", "mnListRemover", QStringList{"No"}, {}, QStringList{GiveBackQuestion}, all, "#812");
        add("give back, Yes: the work item's tasks leave the list", "", "mnListRemover", QStringList{"Yes"},
            QStringList{TaskRecord, RunningOn77,
                        "UPDATE tbProcessos_Trabalhos SET advogado_id = null WHERE trabalho_id = 77" + NoneRunningOn77,
                        Refill},
            QStringList{GiveBackQuestion}, QStringList{"#820"}, "");
        add("give back a work item another lawyer counts on: refused", "813 running for lawyer 10", "mnListRemover",
            QStringList{"Yes"}, QStringList{TaskRecord, RunningOn77}, QStringList{GiveBackQuestion, RunningRefusal},
            all, "#812");
        add("give back a task deleted meanwhile: nothing more", "812 deleted", "mnListRemover", QStringList{"Yes"},
            QStringList{TaskRecord}, QStringList{GiveBackQuestion}, all, "#812");
        add("give back a task without a work item: reported, nothing written", "812 without work item", "mnListRemover",
            QStringList{"Yes"}, QStringList{TaskRecord}, QStringList{GiveBackQuestion}, all, "#812");
        add("the other list entry takes new work", "", "mnListTrabalho", {}, {}, QStringList(), all, "#812");
    }
    void commands()
    {
        QFETCH(Command, row);
        const auto& [setup, command, answers, statements, messages, rowsAfter, selectedAfter] = row;
        CommandFixture f;
        testsupport::TempDatabase& db = f.office.database();
        addTasks(f.office);
        if (setup == QStringLiteral("812 hidden")) {
            db.exec(QStringLiteral("UPDATE tbProcessos_Trabalhos_Tarefas SET escondida = 1 WHERE tarefa_id = 812"));
        } else if (setup == QStringLiteral("812 running")) {
            f.office.addRunningEntry(812, f.clock.now());
        } else if (setup.endsWith(QStringLiteral(" running for lawyer 10"))) {
            db.exec(QStringLiteral("UPDATE tbProcessos_Trabalhos_Tarefas_Lancamentos SET advogado_id = 10 WHERE "
                                   "lancamento_id = %1")
                        .arg(f.office.addRunningEntry(setup.left(3).toInt(), f.clock.now())));
        }
        f.load();
        if (setup == QStringLiteral("812 started elsewhere after the refill")) {
            f.office.addRunningEntry(812, f.clock.now());
        } else if (setup == QStringLiteral("812 deleted")) {
            db.exec(QStringLiteral("DELETE FROM tbProcessos_Trabalhos_Tarefas WHERE tarefa_id = 812"));
        } else if (setup == QStringLiteral("812 without work item")) {
            db.exec(
                QStringLiteral("UPDATE tbProcessos_Trabalhos_Tarefas SET trabalho_id = NULL WHERE tarefa_id = 812"));
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
        QCOMPARE(f.reports.procedures(), setup == QStringLiteral("812 without work item")
                                             ? QStringList{QStringLiteral("mnListRemover_Click")}
                                             : QStringList());
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
        QCOMPARE(list.rowCount(), rows == QStringLiteral("none") ? 0 : 1);
        QCOMPARE(list.selectedRow(), -1);
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

    // What the database holds reaches the question as text, whole, and never a statement.
    void aWorkItemsDescriptionIsText_data()
    {
        QTest::addColumn<QString>("description");
        QTest::newRow("apostrophes") << "Parecer d'Ávila e O''Neil'";
        QTest::newRow("quotes and a statement") << "\"Recurso\"; DROP TABLE tbProcessos; --";
        QTest::newRow("line breaks") << "linha 1\nlinha 2\r\nlinha 3";
        QTest::newRow("wildcards") << "100% [a-z]_x";
        QTest::newRow("outside Windows-1252") << "Ação ✓ 日本語 😀";
        QTest::newRow("10,000 characters") << QString(10000, QLatin1Char('\''));
    }
    void aWorkItemsDescriptionIsText()
    {
        QFETCH(QString, description);
        CommandFixture f;
        QString literal = description;
        literal.replace(QLatin1Char('\''), QStringLiteral("''"));
        f.office.database().exec(QStringLiteral("UPDATE tbProcessos_Trabalhos SET descrit = '%1'").arg(literal));
        f.load();
        f.select(OfficeFixture::Task);
        f.answer({QStringLiteral("Yes")});
        f.run(QStringLiteral("mnListRemover"));
        QCOMPARE(f.messages(), QStringList{QStringLiteral("Retirar Trabalho | question yes/no | Deseja retirar o "
                                                          "trabalho '") +
                                           description + QStringLiteral("' das minhas tarefas pendentes?")});
        for (const QString& statement : f.statements()) {
            QVERIFY(!statement.contains(description));
        }
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

    // The menus' commands over a bare window: which entries are offered, and when.
    // The task commands and the "Abrir" submenu follow the last press: on a
    // row they are offered, anywhere else not. The other commands keep their state.
    // The hide command names what it will do: only the visible marker "0" is a visible task.
    void taskCommandsFollowThePress_data()
    {
        // "row" a press on a row, "hidden row" one on a hidden row, "left"/"right" a release
        QTest::addColumn<QStringList>("events");
        QTest::addColumn<QString>("hiddenCell"); // of the row pressed
        QTest::addColumn<bool>("offered");
        QTest::addColumn<QString>("caption");
        const QStringList onARow{"row", "right"};
        QTest::newRow("right click on a visible row") << onARow << "0" << true << "Esconder";
        QTest::newRow("right click on a hidden row") << onARow << "1" << true << "Tornar visível";
        QTest::newRow("a visible row after a hidden one")
            << QStringList{"hidden row", "left", "row", "right"} << "0" << true << "Esconder";
        QTest::newRow("blank marker") << onARow << " " << true << "Tornar visível";
        QTest::newRow("hidden by another office's value") << onARow << "-1" << true << "Tornar visível";
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
    }

    // Every command is reached from the keyboard: each caption has a mnemonic, and no two entries of one
    // menu share a letter (Qt would then only move between them instead of running one).
    void everyCommandHasItsOwnMnemonic()
    {
        QWidget window;
        counter::CounterMenus menus(&window);
        CounterCommands commands(window, menus);
        for (const QString& caption : {QStringLiteral("0"), QStringLiteral("1")}) {
            commands.itemClicked(caption);
            for (QMenu* menu : {menus.mnMenu(), menus.mnList(), menus.mnListAbrirRelated()}) {
                QSet<QChar> letters;
                for (QAction* action : menu->actions()) {
                    if (action->isSeparator()) {
                        continue;
                    }
                    const qsizetype amp = action->text().indexOf(u'&');
                    QVERIFY2(amp >= 0 && amp + 1 < action->text().size(), qPrintable(action->text()));
                    const QChar letter = action->text().at(amp + 1).toLower();
                    QVERIFY2(!letters.contains(letter), qPrintable(action->text()));
                    letters << letter;
                }
            }
        }
    }
};

QTEST_MAIN(TestTaskCommands)
#include "test_taskcommands.moc"
