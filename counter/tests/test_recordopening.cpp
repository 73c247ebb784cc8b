#include "editors/recordeditors.h"
#include "scramble/modencriptserial.h"
#include "testsupport/editorfixture.h"
#include "testsupport/windowfixture.h"

using testsupport::OfficeFixture;

namespace {

QString missing(const char* field)
{
    return QStringLiteral("Orv_Couter | critical | Erro no campo %1. Não foi possível iniciar o registo. Contacto o "
                          "Administrador do Sistema.")
        .arg(QLatin1String(field));
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
// statistics list (none: on an empty list).
void run(CommandFixture& f, const QString& command, qint64 entry)
{
    if (command != QStringLiteral("ListView2_DblClick")) {
        f.run(command);
        return;
    }
    auto& entries = f.child<counter::ListView>("ListView2");
    if (entry != 0) {
        entries.selectRow(entries.addRow(QStringLiteral("#%1").arg(entry), QStringLiteral("entrada")));
    }
    Q_EMIT entries.DblClick();
}

// Changes to the database after the list was filled.
const QString NoWorkItem = QStringLiteral("UPDATE tbProcessos_Trabalhos_Tarefas SET trabalho_id = NULL");
const QString WorkItemGone = QStringLiteral("UPDATE tbProcessos_Trabalhos_Tarefas SET trabalho_id = 999");
const QString NoCase = QStringLiteral("UPDATE tbProcessos_Trabalhos SET processo_id = NULL");

struct Saved {
    QString command, field, typed;
    int column;
    QString shown;
    bool selected;
};

} // namespace

// Opening records in the editors: what each command looks up, which editor it makes and what it hands it.
class TestRecordOpening : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { scramble::modEncriptSerial::VolumeSerial = QStringLiteral("-1234567890"); }

    void opening_data()
    {
        QTest::addColumn<QString>("setup"); // a statement run after the list was filled, or "empty list"
        QTest::addColumn<QString>("command");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<QStringList>("log");
        QTest::addColumn<QString>("reported");
        const auto row = [](const char* name, const QString& setup, const QString& command, const QStringList& messages,
                            const QStringList& log, const QString& reported) {
            QTest::newRow(name) << setup << command << messages << log << reported;
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

        row("registering, no work item: stops there", NoWorkItem, "mnListLancamento",
            QStringList{missing("TRABALHO_ID")}, {}, "");
        for (const char* command : {"mnListAbrirTrabalho", "mnListAbrirProcesso", "mnListAbrirArquivoDocumental"}) {
            QTest::addRow("%s, no work item: reported", command)
                << NoWorkItem << command << QStringList() << QStringList()
                << QString::fromLatin1(command) + QStringLiteral("_Click");
        }
        row("registering, the work item gone: stops at the case", WorkItemGone, "mnListLancamento",
            QStringList{missing("Processo_ID")}, {}, "");
        row("the work item gone: nothing opens", WorkItemGone, "mnListAbrirTrabalho", {}, {}, "");
        row("the work item gone: no case opens", WorkItemGone, "mnListAbrirProcesso", {}, {}, "");
        row("registering, a work item without case", NoCase, "mnListLancamento", QStringList{missing("Processo_ID")},
            {}, "");
        row("a work item without case: reported", NoCase, "mnListAbrirArquivoDocumental", {}, {},
            "mnListAbrirArquivoDocumental_Click");
        row("registering, a case without client", QStringLiteral("UPDATE tbProcessos SET contacto_id = NULL"),
            "mnListLancamento", QStringList{missing("Contacto_ID")}, {}, "");
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
        QFETCH(QString, setup);
        QFETCH(QString, command);
        QFETCH(QStringList, messages);
        QFETCH(QStringList, log);
        QFETCH(QString, reported);
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
        QTest::newRow("task twice") << QStringList{"mnListAbrir", "mnListAbrir"}
                                    << QStringList{"new TaskEditor#1", "new TaskEditor#2", "delete TaskEditor#1"};
        QTest::newRow("work item twice") << QStringList{"mnListAbrirTrabalho", "mnListAbrirTrabalho"}
                                         << QStringList{"new WorkEditor#1", "new WorkEditor#2", "delete WorkEditor#1"};
        QTest::newRow("registering twice")
            << QStringList{"mnListLancamento", "mnListLancamento"}
            << QStringList{"new TimeEntryEditor#1", "new TimeEntryEditor#2", "delete TimeEntryEditor#1"};
        QTest::newRow("new work twice") << QStringList{"mnNovaTarefa", "mnNovaTarefa"}
                                        << QStringList{"new WorkAssistant#1", "new WorkAssistant#2",
                                                       "delete WorkAssistant#1"};
        QTest::newRow("the wizard twice") << QStringList{"mnLancamentoNovo", "mnLancamentoNovo"}
                                          << QStringList{"new WorkAssistant#1", "delete WorkAssistant#1",
                                                         "new WorkAssistant#2", "delete WorkAssistant#2"};
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
        const auto lifeOf = [&f] {
            QStringList seen;
            for (const QString& entry : f.components.log()) {
                if (entry.startsWith(QStringLiteral("new ")) || entry.startsWith(QStringLiteral("delete "))) {
                    seen << entry;
                }
            }
            return seen;
        };
        QCOMPARE(lifeOf(), lives);
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

    // With the real editors behind the commands, a save in one shows in the pending list at once: the task
    // renamed and selected, or the minutes registered added to its total (the list refilled, nothing selected).
    void aSaveInARealEditorShowsInTheList_data()
    {
        QTest::addColumn<Saved>("saved");
        QTest::newRow("the task renamed")
            << Saved{"mnListAbrir", "FXDescrit", "Rever a contestação", 0, "Rever a contestação", true};
        QTest::newRow("thirty minutes registered") << Saved{"mnListLancamento", "FXUnidades", "30", 2, "75,00", false};
    }
    void aSaveInARealEditorShowsInTheList()
    {
        QFETCH(Saved, saved);
        const auto& [command, field, typed, column, shown, selected] = saved;
        WindowFixture f;
        const auto previous = external::installComponentFactory(std::make_shared<editors::DialogComponentFactory>());
        DialogScripts dialogs;
        f.office.database().exec(QStringLiteral(
            "INSERT INTO tbProcessos_Trabalhos_Tarefas_Lancamentos (tarefa_id, trabalho_id, processo_id, contacto_id, "
            "data, data_fim, advogado_id, base_id, unidades, preco_id, inprogress, closed) VALUES (812, 77, 15, 402, "
            "'2009-11-13 10:00:00', '2009-11-13 10:45:00', 9, 1, 45, 2, 0, 0)"));
        f.office.addTask(813, OfficeFixture::Work, QStringLiteral("Alegações"));
        f.load();
        QCOMPARE(f.list().cellText(f.row(OfficeFixture::Task), 2), QStringLiteral("45,00"));
        f.list().selectRow(f.row(OfficeFixture::Task));
        dialogs.scripts << [&](QDialog& dialog) {
            hands::paste(dialog, field, typed);
            hands::press(dialog, Qt::Key_Return);
        };
        f.window->findChild<QAction*>(command)->trigger();
        external::installComponentFactory(previous);

        QCOMPARE(dialogs.dialogsRun.size(), 1);
        const int row = f.row(OfficeFixture::Task);
        QCOMPARE(f.list().cellText(row, column), shown);
        QCOMPARE(f.list().selectedRow(), selected ? row : -1);
        QVERIFY(f.boxes.shown().isEmpty());
        QVERIFY(f.reports.reports().isEmpty());
    }
};

QTEST_MAIN(TestRecordOpening)
#include "test_recordopening.moc"
