// The record editors and the work assistant the counter opens, each on the small office through the seams the
// counter calls: what each shows, saves and refuses, and the sign-on every one of them asks first.
#include "editors/documentarchive.h"
#include "editors/pickerdialog.h"
#include "editors/recordeditors.h"
#include "editors/workassistant.h"
#include "testsupport/editorfixture.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <algorithm>

using testsupport::OfficeFixture;

Q_DECLARE_METATYPE(std::optional<bool>)

namespace {

const QString CaseTable = QStringLiteral("tbProcessos");
const QString WorkTable = QStringLiteral("tbProcessos_Trabalhos");
const QString TaskTable = QStringLiteral("tbProcessos_Trabalhos_Tarefas");
const QString EntryTable = QStringLiteral("tbProcessos_Trabalhos_Tarefas_Lancamentos");

// A closed entry of lawyer 9 on task 812, 10:00 to 10:45, 45 minutes; returns its identifier.
qint64 addClosedEntry(EditorFixture& f)
{
    f.office.database().exec(
        QStringLiteral(
            "INSERT INTO %1 (tarefa_id, trabalho_id, processo_id, contacto_id, data, data_fim, advogado_id, base_id, "
            "unidades, preco_id, preco, inprogress, closed, descrit) VALUES (812, 77, 15, 402, '2009-11-13 10:00:00', "
            "'2009-11-13 10:45:00', 9, 1, 45, 2, 45.5, 0, 0, 'Reunião')")
            .arg(EntryTable));
    return f.office.database().scalar(QStringLiteral("SELECT MAX(lancamento_id) FROM %1").arg(EntryTable)).toLongLong();
}

QTreeWidget& list(QDialog& dialog)
{
    return *dialog.findChild<QTreeWidget*>(QStringLiteral("ListView1"));
}

// The identifiers of the rows shown, in order.
QList<qint64> shownIds(QDialog& dialog)
{
    QList<qint64> ids;
    for (int i = 0; i < list(dialog).topLevelItemCount(); ++i) {
        if (!list(dialog).topLevelItem(i)->isHidden()) {
            ids << list(dialog).topLevelItem(i)->data(0, Qt::UserRole).toLongLong();
        }
    }
    return ids;
}

// Every row of a list, its cells joined by '|'.
QStringList rowsOf(const QTreeWidget& tree)
{
    QStringList rows;
    for (int i = 0; i < tree.topLevelItemCount(); ++i) {
        QStringList cells;
        for (int c = 0; c < tree.columnCount(); ++c) {
            cells << tree.topLevelItem(i)->text(c);
        }
        rows << cells.join(QLatin1Char('|'));
    }
    return rows;
}

// A second case of another client, with work items of both lawyers and one nobody holds.
void addMoreWork(EditorFixture& f)
{
    auto& db = f.office.database();
    db.exec(QStringLiteral("INSERT INTO tbContactos (contacto_id, nome_union) VALUES (403, 'João Gonçalves, Lda')"));
    db.exec(QStringLiteral("INSERT INTO tbProcessos (processo_id, processo_no_completo, contacto_id, judicial) VALUES "
                           "(16, '2010/100%', 403, 1)"));
    f.office.addWork(80, 16, OfficeFixture::OtherLawyer, QStringLiteral("Penhora"));
    f.office.addWork(81, 16, OfficeFixture::Lawyer, QStringLiteral("Acção executiva"));
    f.office.addTask(820, 80, QStringLiteral("Requerimento"));
    f.office.addTask(821, 81, QStringLiteral("Citação"));
    f.office.addTask(822, 81, QStringLiteral("Alegações"));
}

} // namespace

class TestRecordEditors : public QObject
{
    Q_OBJECT

    QTemporaryDir m_documents;

    // Opens work item 77 in the work editor (the deadlines when deadlines is set) with a script that types legal and
    // office, ticks FXPrazos when exempt differs from it, and presses Enter. Returns EditDeadlines' answer.
    bool editWork(EditorFixture& f, bool deadlines, const QString& legal, const QString& office,
                  std::optional<bool> exempt = std::nullopt)
    {
        f.scripts << [&](QDialog& dialog) {
            hands::type(dialog, QStringLiteral("FXData_Legal"), legal);
            hands::type(dialog, QStringLiteral("FXData_Escritorio"), office);
            if (exempt) {
                dialog.findChild<QCheckBox*>(QStringLiteral("FXPrazos"))->setChecked(*exempt);
            }
            hands::press(dialog, Qt::Key_Return);
        };
        editors::DialogWorkEditor editor;
        f.signedOn(editor);
        if (deadlines) {
            return f.openRecord(editor, &editors::DialogWorkEditor::EditDeadlines, WorkTable,
                                QStringLiteral("trabalho_id"), OfficeFixture::Work, nullptr);
        }
        f.openRecord(editor, &editors::DialogWorkEditor::OpenRecord, WorkTable, QStringLiteral("trabalho_id"),
                     OfficeFixture::Work, &f.owner);
        return false;
    }

    // Task 812, and the given time entry, each opened in an editor of its own signed on as the session's user.
    void openTask(EditorFixture& f)
    {
        editors::DialogTaskEditor editor;
        f.openRecord(f.signedOn(editor), &editors::DialogTaskEditor::OpenRecord, TaskTable, QStringLiteral("tarefa_id"),
                     OfficeFixture::Task, &f.owner);
    }

    void openEntry(EditorFixture& f, qint64 entry)
    {
        editors::DialogTimeEntryEditor editor;
        f.openRecord(f.signedOn(editor), &editors::DialogTimeEntryEditor::OpenRecord, EntryTable,
                     QStringLiteral("lancamento_id"), entry, &f.owner);
    }

    // Runs NewEntry for task 812 with a script that types start, minutes and note and presses Enter.
    void registerEntry(EditorFixture& f, const QString& start, const QString& minutes, const QString& note)
    {
        f.scripts << [=](QDialog& dialog) {
            hands::type(dialog, QStringLiteral("FXData_Inicio"), start);
            hands::paste(dialog, QStringLiteral("FXDescrit"), note);
            hands::type(dialog, QStringLiteral("FXUnidades"), minutes);
            hands::press(dialog, Qt::Key_Return);
        };
        editors::DialogTimeEntryEditor editor;
        f.signedOn(editor);
        int client = OfficeFixture::Client, caseId = OfficeFixture::Case, task = OfficeFixture::Task,
            lawyer = OfficeFixture::Lawyer;
        editor.NewEntry(client, caseId, task, lawyer, &f.owner);
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_documents.isValid());
        qputenv("ORV_DOCUMENTS_DIR", m_documents.path().toUtf8());
    }

    // Every call of every editor object whose sign-on failed refuses with the message and touches nothing:
    // no dialog, no statement that writes, no folder, no call back to the owner.
    void onlyTheSessionsOwnUserIsServed_data()
    {
        QTest::addColumn<bool>("signs");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("password"); // given unscrambled; the call scrambles it unless plain is set
        QTest::addColumn<bool>("plain");
        QTest::addColumn<bool>("connected");
        QTest::addColumn<bool>("accepted");
        const auto row = [](const char* tag, bool signs, const QString& name, const QString& password, bool plain,
                            bool connected, bool accepted) {
            QTest::newRow(tag) << signs << name << password << plain << connected << accepted;
        };
        row("the session's user", true, QStringLiteral("ana"), QStringLiteral("segredo"), false, true, true);
        row("never signed on", false, QString(), QString(), false, true, false);
        row("another name", true, QStringLiteral("bruno"), QStringLiteral("segredo"), false, true, false);
        row("the name with a blank", true, QStringLiteral("ana "), QStringLiteral("segredo"), false, true, false);
        row("a wrong password", true, QStringLiteral("ana"), QStringLiteral("segredo1"), false, true, false);
        row("the password not scrambled", true, QStringLiteral("ana"), QStringLiteral("segredo"), true, true, false);
        row("no session", true, QStringLiteral("ana"), QStringLiteral("segredo"), false, false, false);
    }
    void onlyTheSessionsOwnUserIsServed()
    {
        QFETCH(bool, signs);
        QFETCH(QString, name);
        QFETCH(QString, password);
        QFETCH(bool, plain);
        QFETCH(bool, connected);
        QFETCH(bool, accepted);
        EditorFixture f;
        session::modCode::Connected = connected;
        QString scrambled = plain ? password : scramble::modEncriptSerial::EncriptSerial(password);

        editors::DialogTaskEditor task;
        editors::DialogWorkEditor work;
        editors::DialogCaseEditor caseEditor;
        editors::DialogTimeEntryEditor entry;
        editors::DialogWorkAssistant assistant;
        QList<external::Component*> components{&task, &work, &caseEditor, &entry, &assistant};
        if (signs) {
            for (external::Component* component : components) {
                QString n = name;
                QString p = scrambled;
                QCOMPARE(component->SignOn(n, p), accepted);
            }
        }
        if (accepted) {
            return;
        }
        const qint64 running = f.office.addRunningEntry(OfficeFixture::Task, f.clock.now());
        const QString workKey = QStringLiteral("trabalho_id"), caseKey = QStringLiteral("processo_id");
        f.openRecord(task, &editors::DialogTaskEditor::OpenRecord, TaskTable, "tarefa_id", OfficeFixture::Task,
                     &f.owner);
        f.openRecord(work, &editors::DialogWorkEditor::OpenRecord, WorkTable, workKey, OfficeFixture::Work, &f.owner);
        f.openRecord(work, &editors::DialogWorkEditor::EditDeadlines, WorkTable, workKey, OfficeFixture::Work, nullptr);
        f.openRecord(caseEditor, &editors::DialogCaseEditor::OpenRecord, CaseTable, caseKey, OfficeFixture::Case,
                     &f.owner);
        f.openRecord(caseEditor, &editors::DialogCaseEditor::OpenDocumentArchive, CaseTable, caseKey,
                     OfficeFixture::Case, &f.owner);
        f.openRecord(entry, &editors::DialogTimeEntryEditor::OpenRecord, EntryTable, "lancamento_id", running,
                     &f.owner);
        int client = OfficeFixture::Client, caseId = OfficeFixture::Case, taskId = OfficeFixture::Task,
            lawyer = OfficeFixture::Lawyer;
        entry.NewEntry(client, caseId, taskId, lawyer, &f.owner);
        QCOMPARE(assistant.SelectWork(), 0);
        QCOMPARE(assistant.NewEntryWizard(), false);

        QVERIFY(f.dialogsRun.isEmpty());
        QVERIFY(EditorFixture::writes().isEmpty());
        QVERIFY(f.foldersOpened.isEmpty());
        QVERIFY(f.owner.remoteKeys.isEmpty());
        QCOMPARE(f.boxes.shown().size(), 9);
        for (const core::Message& refusal : f.boxes.shown()) {
            QVERIFY(refusal.text.startsWith(QStringLiteral("O editor não reconheceu o utilizador da sessão")));
            QCOMPARE(refusal.icon, core::Icon::Critical);
        }
    }

    void showsTheCaseAndItsWork()
    {
        EditorFixture f;
        f.office.addWork(78, OfficeFixture::Case, OfficeFixture::OtherLawyer, QStringLiteral("Recurso"),
                         QDate(2010, 2, 1));
        f.office.database().exec(QStringLiteral("UPDATE tbProcessos SET judicial = 1"));
        // A lawyer's name longer than a column's default width.
        f.office.database().exec(QStringLiteral("UPDATE tbContactos SET nome_union = 'Bruno Sá de Albuquerque e "
                                                "Vasconcelos' WHERE contacto_id = %1")
                                     .arg(OfficeFixture::OtherLawyer));
        QStringList work;
        f.scripts << [&](QDialog& dialog) {
            QCOMPARE(hands::field(dialog, QStringLiteral("FXProcesso_No")).text(), QStringLiteral("2009/015"));
            QCOMPARE(hands::field(dialog, QStringLiteral("FXCliente")).text(), QStringLiteral("Cliente Alfa"));
            QCOMPARE(hands::field(dialog, QStringLiteral("FXJudicial")).text(), QStringLiteral("Sim"));
            auto* list = dialog.findChild<QTreeWidget*>(QStringLiteral("ListTrabalhos"));
            // Every column but the work item's own text is whole, its title and its values.
            for (int c = 1; c < list->columnCount(); ++c) {
                int widest = list->header()->sectionSizeHint(c);
                for (int i = 0; i < list->topLevelItemCount(); ++i) {
                    widest = std::max(widest, list->fontMetrics().horizontalAdvance(list->topLevelItem(i)->text(c)));
                }
                QVERIFY2(list->columnWidth(c) >= widest, qPrintable(list->headerItem()->text(c)));
            }
            work = rowsOf(*list);
            hands::press(dialog, Qt::Key_Return);
        };
        editors::DialogCaseEditor editor;
        f.openRecord(f.signedOn(editor), &editors::DialogCaseEditor::OpenRecord, CaseTable,
                     QStringLiteral("processo_id"), OfficeFixture::Case, &f.owner);
        QCOMPARE(work, (QStringList{QStringLiteral("Contestação|Ana Lopes| | |1"),
                                    QStringLiteral("Recurso|Bruno Sá de Albuquerque e Vasconcelos| |01-02-2010|0")}));
        QVERIFY(EditorFixture::writes().isEmpty());
    }

    // The case number comes from the database: whatever it holds, the folder is one plain name inside the
    // documents folder, and two numbers made alike still get folders of their own.
    void folderNames_data()
    {
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("folder");
        QTest::newRow("slashes") << QStringLiteral("2009/015") << QStringLiteral("2009-015 (15)");
        QTest::newRow("climbing out") << QStringLiteral("../../etc") << QStringLiteral("-..-etc (15)");
        QTest::newRow("Windows' reserved characters")
            << QStringLiteral("a:b*c?d\"e<f>g|h\\i") << QStringLiteral("a-b-c-d-e-f-g-h-i (15)");
        QTest::newRow("blanks, dots and a control character")
            << QStringLiteral("  .Proc\n2010. ") << QStringLiteral("Proc-2010 (15)");
        QTest::newRow("apostrophes, semicolons and percent")
            << QStringLiteral("O'Neil; 50%") << QStringLiteral("O'Neil; 50% (15)");
        QTest::newRow("blank") << QStringLiteral("   ") << QStringLiteral("Dossier (15)");
        QTest::newRow("only dots") << QStringLiteral("..") << QStringLiteral("Dossier (15)");
        QTest::newRow("80 characters, the most kept")
            << QString(80, QLatin1Char('9')) << QString(80, QLatin1Char('9')) + QStringLiteral(" (15)");
        QTest::newRow("one past") << QString(80, QLatin1Char('9')) + QLatin1Char('x')
                                  << QString(80, QLatin1Char('9')) + QStringLiteral(" (15)");
        QTest::newRow("outside Windows-1252") << QStringLiteral("案件 7") << QStringLiteral("案件 7 (15)");
    }
    void folderNames()
    {
        QFETCH(QString, number);
        QTEST(editors::documentArchive::folderName(number, OfficeFixture::Case), "folder");
    }

    void theArchiveIsTheCasesOwnFolder()
    {
        EditorFixture f;
        f.office.database().exec(QStringLiteral("UPDATE tbProcessos SET processo_no_completo = '../2009/015'"));
        editors::DialogCaseEditor editor;
        f.openRecord(f.signedOn(editor), &editors::DialogCaseEditor::OpenDocumentArchive, CaseTable,
                     QStringLiteral("processo_id"), OfficeFixture::Case, &f.owner);
        const QString expected = m_documents.filePath(QStringLiteral("-2009-015 (15)"));
        QCOMPARE(f.foldersOpened, QList<QUrl>{QUrl::fromLocalFile(expected)});
        QVERIFY(QFileInfo(expected).isDir());
        QCOMPARE(QDir(m_documents.path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot),
                 QStringList{QStringLiteral("-2009-015 (15)")});
        QVERIFY(f.boxes.shown().isEmpty());

        // Again: the folder is there already and opens as it is; the case dialog's button opens it too.
        f.scripts << [](QDialog& dialog) {
            dialog.findChild<QPushButton*>(QStringLiteral("cmdArquivo"))->click();
            hands::press(dialog, Qt::Key_Escape);
        };
        f.openRecord(editor, &editors::DialogCaseEditor::OpenRecord, CaseTable, QStringLiteral("processo_id"),
                     OfficeFixture::Case, &f.owner);
        QCOMPARE(f.foldersOpened.size(), 2);
        QCOMPARE(f.foldersOpened.last(), QUrl::fromLocalFile(expected));
    }

    // A folder the desktop cannot open, or one that cannot be made (a file stands where the documents folder
    // would be), is said, and the second is never offered to the desktop.
    void aFolderThatCannotBeOpenedIsSaid_data()
    {
        QTest::addColumn<bool>("blocked");
        QTest::addColumn<QString>("message");
        QTest::newRow("the desktop refuses it") << false << QStringLiteral("O ambiente de trabalho não abriu");
        QTest::newRow("it cannot be made") << true << QStringLiteral("Não foi possível criar a pasta");
    }
    void aFolderThatCannotBeOpenedIsSaid()
    {
        QFETCH(bool, blocked);
        EditorFixture f;
        f.folderOpens = false;
        QTemporaryDir parent;
        QFile blocker(parent.filePath(QStringLiteral("ficheiro")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        if (blocked) {
            qputenv("ORV_DOCUMENTS_DIR", blocker.fileName().toUtf8());
        }
        editors::DialogCaseEditor editor;
        f.openRecord(f.signedOn(editor), &editors::DialogCaseEditor::OpenDocumentArchive, CaseTable,
                     QStringLiteral("processo_id"), OfficeFixture::Case, &f.owner);
        qputenv("ORV_DOCUMENTS_DIR", m_documents.path().toUtf8());
        QCOMPARE(f.foldersOpened.size(), blocked ? 0 : 1);
        QCOMPARE(f.boxes.shown().size(), 1);
        QFETCH(QString, message);
        QVERIFY(f.boxes.shown().first().text.startsWith(message));
    }

    // One write, and the work item holds the dates typed; prazos is written only when the lawyer changes it,
    // so a null flag stays null.
    void savesTheDeadlines_data()
    {
        QTest::addColumn<bool>("deadlines");
        QTest::addColumn<QString>("legal");
        QTest::addColumn<QString>("office");
        QTest::addColumn<QString>("prazos");
        QTest::addColumn<std::optional<bool>>("ticked");
        QTest::addColumn<QString>("stored");
        const auto row = [](const char* name, bool deadlines, const QString& legal, const QString& office,
                            const QString& prazos, const std::optional<bool>& ticked, const QString& stored) {
            QTest::newRow(name) << deadlines << legal << office << prazos << ticked << stored;
        };
        row("both dates, asked for them", true, "15-03-2010", "10-03-2010", "NULL", std::optional<bool>(),
            "2010-03-15 00:00:00|2010-03-10 00:00:00|");
        row("the same day, slashes and blanks", true, " 15/03/2010 ", "15-03-2010", "NULL", std::optional<bool>(),
            "2010-03-15 00:00:00|2010-03-15 00:00:00|");
        row("both cleared, null exemption left alone", false, "", "", "NULL", std::optional<bool>(false), "||");
        row("exemption 0 ticked", false, "", "", "0", std::optional<bool>(true), "||1");
        row("exemption 1 unticked", false, "", "", "1", std::optional<bool>(false), "||0");
    }
    void savesTheDeadlines()
    {
        QFETCH(bool, deadlines);
        QFETCH(QString, legal);
        QFETCH(QString, office);
        QFETCH(QString, prazos);
        QFETCH(std::optional<bool>, ticked);
        QFETCH(QString, stored);
        EditorFixture f;
        f.office.database().exec(
            QStringLiteral("UPDATE %1 SET prazos = %2 WHERE trabalho_id = 77").arg(WorkTable, prazos));
        QCOMPARE(editWork(f, deadlines, legal, office, ticked), deadlines);
        QCOMPARE(EditorFixture::writes().size(), 1);
        QCOMPARE(f.stored(QStringLiteral("SELECT data_legal, data_escritorio, prazos FROM %1").arg(WorkTable)), stored);
        QVERIFY(f.boxes.shown().isEmpty());
        // Asked for the deadlines there is no owner; opened from the list, the owner refills it.
        const QList<QPair<int, int>> expected = deadlines ? QList<QPair<int, int>>{} : QList<QPair<int, int>>{{77, 0}};
        QCOMPARE(f.owner.remoteKeys, expected);
    }

    void refusesDatesThatCannotBe_data()
    {
        QTest::addColumn<bool>("deadlines");
        QTest::addColumn<QString>("legal");
        QTest::addColumn<QString>("office");
        QTest::addColumn<QString>("message");
        QTest::newRow("no such day") << false << QStringLiteral("31-02-2010") << QString()
                                     << QStringLiteral("«Data Legal» não tem uma data válida");
        QTest::newRow("words") << false << QString() << QStringLiteral("amanhã")
                               << QStringLiteral("«Prazo de Escritório» não tem uma data válida");
        QTest::newRow("an apostrophe") << false << QStringLiteral("01-03-2010'") << QString()
                                       << QStringLiteral("«Data Legal» não tem uma data válida");
        QTest::newRow("the no-date day") << false << QStringLiteral("01-01-1900") << QString()
                                         << QStringLiteral("«Data Legal» não tem uma data válida");
        QTest::newRow("office after legal") << false << QStringLiteral("10-03-2010") << QStringLiteral("11-03-2010")
                                            << QStringLiteral("não pode ser depois da Data Legal");
        QTest::newRow("asked for both, one missing") << true << QStringLiteral("10-03-2010") << QString()
                                                     << QStringLiteral("Indique a data no campo «Prazo de Escritório»");
    }
    void refusesDatesThatCannotBe()
    {
        QFETCH(bool, deadlines);
        QFETCH(QString, legal);
        QFETCH(QString, office);
        QFETCH(QString, message);
        EditorFixture f;
        QCOMPARE(editWork(f, deadlines, legal, office), false);
        QVERIFY(EditorFixture::writes().isEmpty());
        QCOMPARE(f.boxes.shown().size(), 1);
        QVERIFY2(f.boxes.shown().first().text.contains(message), qPrintable(f.boxes.shown().first().text));
        QVERIFY(f.owner.remoteKeys.isEmpty());
    }

    void workDatesChangedElsewhereAreNeverOverwritten()
    {
        EditorFixture f;
        f.boxes.setNextAnswers({core::Answer::Yes});
        QString legalShown;
        f.scripts << [&](QDialog& dialog) {
            hands::type(dialog, QStringLiteral("FXData_Legal"), QStringLiteral("20-05-2010"));
            f.office.database().exec(
                QStringLiteral("UPDATE %1 SET data_legal = '2010-04-30 00:00:00' WHERE trabalho_id = 77")
                    .arg(WorkTable));
            hands::press(dialog, Qt::Key_Return);
            legalShown = hands::field(dialog, QStringLiteral("FXData_Legal")).text();
        };
        editors::DialogWorkEditor editor;
        f.openRecord(f.signedOn(editor), &editors::DialogWorkEditor::OpenRecord, WorkTable,
                     QStringLiteral("trabalho_id"), OfficeFixture::Work, &f.owner);
        QCOMPARE(EditorFixture::writes().size(), 1);
        QCOMPARE(f.stored(QStringLiteral("SELECT data_legal FROM %1").arg(WorkTable)),
                 QStringLiteral("2010-04-30 00:00:00"));
        QCOMPARE(legalShown, QStringLiteral("30-04-2010"));
        QVERIFY(f.owner.remoteKeys.isEmpty());
    }

    void cancellingLeavesTheDatesUnsettled()
    {
        EditorFixture f;
        f.office.database().exec(
            QStringLiteral("UPDATE %1 SET data_legal = '2010-04-30 00:00:00', data_escritorio = '2010-04-20 00:00:00'")
                .arg(WorkTable));
        f.scripts << [](QDialog& dialog) { hands::press(dialog, Qt::Key_Escape); };
        editors::DialogWorkEditor editor;
        QCOMPARE(f.openRecord(f.signedOn(editor), &editors::DialogWorkEditor::EditDeadlines, WorkTable,
                              QStringLiteral("trabalho_id"), OfficeFixture::Work, nullptr),
                 false);
        QVERIFY(EditorFixture::writes().isEmpty());
    }

    // Enter: one write, and the task holds what was typed, blanks at either end left out, whatever its quotes.
    // Esc: nothing written.
    void savesWithOneUpdate_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("hide");
        QTest::addColumn<bool>("finish");
        QTest::addColumn<Qt::Key>("key");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("counted"); // an entry of the task is running
        QTest::newRow("plain") << "Rever contestação" << false << false << Qt::Key_Return << "Rever contestação|0|0"
                               << false;
        QTest::newRow("renamed while counted") << "Rever" << false << false << Qt::Key_Return << "Rever|0|0" << true;
        QTest::newRow("apostrophes and a semicolon, hidden")
            << "d'Ávila; DROP TABLE tbUsers --" << true << false << Qt::Key_Return
            << "d'Ávila; DROP TABLE tbUsers --|1|0" << false;
        QTest::newRow("blanks at either end, quotes and percent, finished")
            << "  50% \"urgente\"  " << false << true << Qt::Key_Return << "50% \"urgente\"|0|1" << false;
        QTest::newRow("255 characters, the most a description holds")
            << QString(255, u'é') << false << false << Qt::Key_Return << QString(255, u'é') + QStringLiteral("|0|0")
            << false;
        QTest::newRow("Esc cancels") << "Não gravar" << true << true << Qt::Key_Escape << "Redigir contestação|0|0"
                                     << false;
    }
    void savesWithOneUpdate()
    {
        QFETCH(QString, typed);
        QFETCH(bool, hide);
        QFETCH(bool, finish);
        QFETCH(Qt::Key, key);
        QFETCH(QString, stored);
        QFETCH(bool, counted);
        EditorFixture f;
        if (counted) {
            f.office.addRunningEntry(OfficeFixture::Task, QDateTime(QDate(2009, 11, 10), QTime(14, 0)));
        }
        f.scripts << [&](QDialog& dialog) {
            QCOMPARE(hands::field(dialog, QStringLiteral("FXDossier")).text(), QStringLiteral("2009/015"));
            QCOMPARE(hands::field(dialog, QStringLiteral("FXCliente")).text(), QStringLiteral("Cliente Alfa"));
            QCOMPARE(hands::field(dialog, QStringLiteral("FXTrabalho")).text(), QStringLiteral("Contestação"));
            QCOMPARE(hands::field(dialog, QStringLiteral("FXDescrit")).text(), QStringLiteral("Redigir contestação"));
            hands::paste(dialog, QStringLiteral("FXDescrit"), typed);
            dialog.findChild<QCheckBox*>(QStringLiteral("FXEscondida"))->setChecked(hide);
            dialog.findChild<QCheckBox*>(QStringLiteral("FXClosed"))->setChecked(finish);
            hands::press(dialog, key);
        };
        openTask(f);
        const bool saved = key == Qt::Key_Return;
        QCOMPARE(f.dialogsRun, QStringList{QStringLiteral("frmTarefa")});
        QCOMPARE(EditorFixture::writes().size(), saved ? 1 : 0);
        QCOMPARE(
            f.stored(QStringLiteral("SELECT descrit, escondida, closed FROM %1 WHERE tarefa_id = 812").arg(TaskTable)),
            stored);
        QCOMPARE(f.owner.remoteKeys, (saved ? QList<QPair<int, int>>{{812, 4003}} : QList<QPair<int, int>>()));
        QVERIFY(f.boxes.shown().isEmpty());
    }

    // A description the database cannot hold is refused with a message naming the field: nothing is sent
    // and the dialog stays open for a correction. A task whose time is being counted (here or on another
    // workstation) is never finished from the editor: the entry would stay running with nothing to stop it.
    void refusesWhatCannotBeStored_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("finishCounted");
        QTest::addColumn<QString>("message");
        QTest::newRow("blank") << QStringLiteral("   ") << false << QStringLiteral("não pode ficar vazio");
        QTest::newRow("256 characters, one past the most")
            << QString(256, QLatin1Char('x')) << false << QStringLiteral("tem 256 caracteres; o máximo é 255");
        QTest::newRow("outside Windows-1252") << QStringLiteral("Prazo 期限") << false << QStringLiteral("não guarda");
        QTest::newRow("a control character") << QStringLiteral("a\tb") << false << QStringLiteral("não guarda");
        QTest::newRow("finishing a counted task")
            << QStringLiteral("Rever") << true
            << QStringLiteral("Não pode finalizar esta tarefa sem primeiro terminar o contador activo.");
    }
    void refusesWhatCannotBeStored()
    {
        QFETCH(QString, typed);
        QFETCH(bool, finishCounted);
        QFETCH(QString, message);
        EditorFixture f;
        if (finishCounted) {
            f.office.addRunningEntry(OfficeFixture::Task, QDateTime(QDate(2009, 11, 10), QTime(14, 0)));
        }
        bool stayedOpen = false;
        f.scripts << [&](QDialog& dialog) {
            hands::paste(dialog, QStringLiteral("FXDescrit"), typed);
            dialog.findChild<QCheckBox*>(QStringLiteral("FXClosed"))->setChecked(finishCounted);
            hands::press(dialog, Qt::Key_Return);
            stayedOpen = dialog.isVisible();
            hands::press(dialog, Qt::Key_Escape);
        };
        openTask(f);
        QVERIFY(stayedOpen);
        QCOMPARE(f.boxes.shown().size(), 1);
        QVERIFY2(f.boxes.shown().first().text.contains(message), qPrintable(f.boxes.shown().first().text));
        QVERIFY(finishCounted || f.boxes.shown().first().text.contains(QStringLiteral("«Descrição»")));
        QVERIFY(finishCounted || EditorFixture::writes().isEmpty()); // the finish is refused by its own condition
        QCOMPARE(f.stored(QStringLiteral("SELECT descrit, closed FROM %1").arg(TaskTable)),
                 QStringLiteral("Redigir contestação|0"));
        QVERIFY(f.owner.remoteKeys.isEmpty());
    }

    // Another user changed the task after the dialog loaded it: the save says so, writes nothing and, on
    // request, shows the task as it is now.
    void aTaskChangedElsewhereIsNeverOverwritten_data()
    {
        QTest::addColumn<QString>("otherChange");
        QTest::addColumn<core::Answer>("reload");
        QTest::newRow("description, reloaded")
            << QStringLiteral("UPDATE tbProcessos_Trabalhos_Tarefas SET descrit = 'Outro texto' WHERE tarefa_id = 812")
            << core::Answer::Yes;
        QTest::newRow("finished, kept as typed")
            << QStringLiteral("UPDATE tbProcessos_Trabalhos_Tarefas SET closed = 1 WHERE tarefa_id = 812")
            << core::Answer::No;
        QTest::newRow("letter case only")
            << QStringLiteral("UPDATE tbProcessos_Trabalhos_Tarefas SET descrit = 'REDIGIR contestação' WHERE "
                              "tarefa_id = 812")
            << core::Answer::Yes;
    }
    void aTaskChangedElsewhereIsNeverOverwritten()
    {
        QFETCH(QString, otherChange);
        QFETCH(core::Answer, reload);
        EditorFixture f;
        f.boxes.setNextAnswers({reload});
        const auto before = [&] {
            return f.office.database().select(QStringLiteral("SELECT * FROM %1").arg(TaskTable));
        };
        QString shownAfter;
        QList<QVariantList> afterOther;
        f.scripts << [&](QDialog& dialog) {
            hands::type(dialog, QStringLiteral("FXDescrit"), QStringLiteral("Minha versão"));
            f.office.database().exec(otherChange);
            afterOther = before();
            hands::press(dialog, Qt::Key_Return);
            shownAfter = hands::field(dialog, QStringLiteral("FXDescrit")).text();
        };
        openTask(f);
        QCOMPARE(EditorFixture::writes().size(), 1); // the one conditional statement, which changed nothing
        QCOMPARE(before(), afterOther);
        QCOMPARE(f.boxes.shown().size(), 1);
        QVERIFY(f.boxes.shown().first().text.startsWith(QStringLiteral("Outro utilizador alterou")));
        QCOMPARE(shownAfter,
                 reload == core::Answer::Yes
                     ? f.office.database().scalar(QStringLiteral("SELECT descrit FROM %1").arg(TaskTable)).toString()
                     : QStringLiteral("Minha versão"));
        QVERIFY(f.owner.remoteKeys.isEmpty());
    }

    void aDeletedTaskClosesTheDialog()
    {
        EditorFixture f;
        f.scripts << [&](QDialog& dialog) {
            f.office.database().exec(QStringLiteral("DELETE FROM %1 WHERE tarefa_id = 812").arg(TaskTable));
            hands::press(dialog, Qt::Key_Return);
            QVERIFY(!dialog.isVisible());
        };
        openTask(f);
        QCOMPARE(EditorFixture::writes().size(), 1);
        QVERIFY(f.shownTexts().first().contains(QStringLiteral("apagado por outro utilizador")));
        QVERIFY(f.owner.remoteKeys.isEmpty());
    }

    // A save whose statement fails is reported; the dialog stays open and the owner is not called.
    void aFailedSaveIsReported()
    {
        EditorFixture f;
        data::StatementFailures::failNext({-2147217900, QStringLiteral("Tabela bloqueada")},
                                          QStringLiteral("UPDATE tbProcessos_Trabalhos_Tarefas"));
        bool stayedOpen = false;
        f.scripts << [&](QDialog& dialog) {
            hands::press(dialog, Qt::Key_Return);
            stayedOpen = dialog.isVisible();
        };
        openTask(f);
        data::StatementFailures::clear();
        QVERIFY(stayedOpen);
        QCOMPARE(f.reports.procedures(), QStringList{QStringLiteral("cmdGravar_Click")});
        QVERIFY(f.owner.remoteKeys.isEmpty());
    }

    // Minutes typed move the end with them: the entry lasts what it counts.
    void correctsAClosedEntry()
    {
        EditorFixture f;
        const qint64 entry = addClosedEntry(f);
        QString endShown;
        f.scripts << [&endShown](QDialog& dialog) {
            QCOMPARE(hands::field(dialog, QStringLiteral("FXTarefa")).text(), QStringLiteral("Redigir contestação"));
            QCOMPARE(hands::field(dialog, QStringLiteral("FXData_Inicio")).text(), QStringLiteral("13-11-2009 10:00"));
            hands::type(dialog, QStringLiteral("FXUnidades"), QStringLiteral("75"));
            endShown = hands::field(dialog, QStringLiteral("FXData_Fim")).text();
            hands::type(dialog, QStringLiteral("FXDescrit"), QStringLiteral("Reunião c/ cliente d'Ávila"));
            hands::press(dialog, Qt::Key_Return);
        };
        openEntry(f, entry);
        QCOMPARE(endShown, QStringLiteral("13-11-2009 11:15"));
        QCOMPARE(EditorFixture::writes().size(), 1);
        QCOMPARE(f.stored(QStringLiteral("SELECT data, data_fim, unidades, descrit FROM %1").arg(EntryTable)),
                 QStringLiteral("2009-11-13 10:00:00|2009-11-13 11:15:00|75|Reunião c/ cliente d'Ávila"));
        QCOMPARE(f.owner.remoteKeys, (QList<QPair<int, int>>{{int(entry), 4004}}));
    }

    void refusesWhatCannotBeAnEntry_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("message");
        QTest::newRow("no start") << QStringLiteral("FXData_Inicio") << QString() << QStringLiteral("«Início»");
        QTest::newRow("no date") << QStringLiteral("FXData_Fim") << QStringLiteral("32-11-2009 10:00")
                                 << QStringLiteral("«Fim» não tem uma data válida");
        QTest::newRow("end before start") << QStringLiteral("FXData_Fim") << QStringLiteral("13-11-2009 09:59")
                                          << QStringLiteral("tem de ser depois do início");
        QTest::newRow("end at start") << QStringLiteral("FXData_Fim") << QStringLiteral("13-11-2009 10:00")
                                      << QStringLiteral("tem de ser depois do início");
        QTest::newRow("negative minutes")
            << QStringLiteral("FXUnidades") << QStringLiteral("-5") << QStringLiteral("minutos inteiros de 0 a 1440");
        QTest::newRow("more than a day") << QStringLiteral("FXUnidades") << QStringLiteral("1441")
                                         << QStringLiteral("minutos inteiros de 0 a 1440");
        QTest::newRow("huge minutes") << QStringLiteral("FXUnidades") << QStringLiteral("99999999999999999999")
                                      << QStringLiteral("minutos inteiros de 0 a 1440");
        QTest::newRow("a fraction") << QStringLiteral("FXUnidades") << QStringLiteral("12,5")
                                    << QStringLiteral("minutos inteiros de 0 a 1440");
        QTest::newRow("SQL in the minutes") << QStringLiteral("FXUnidades") << QStringLiteral("1; DELETE FROM tbUsers")
                                            << QStringLiteral("minutos inteiros de 0 a 1440");
        QTest::newRow("a note one past 255 characters") << QStringLiteral("FXDescrit") << QString(256, QLatin1Char('n'))
                                                        << QStringLiteral("«Nota» tem 256 caracteres");
    }
    void refusesWhatCannotBeAnEntry()
    {
        QFETCH(QString, field);
        QFETCH(QString, typed);
        QFETCH(QString, message);
        EditorFixture f;
        const qint64 entry = addClosedEntry(f);
        f.scripts << [&](QDialog& dialog) {
            hands::paste(dialog, field, typed);
            hands::press(dialog, Qt::Key_Return);
            QVERIFY(dialog.isVisible());
        };
        openEntry(f, entry);
        QVERIFY(EditorFixture::writes().isEmpty());
        QCOMPARE(f.boxes.shown().size(), 1);
        QVERIFY2(f.boxes.shown().first().text.contains(message), qPrintable(f.boxes.shown().first().text));
        QVERIFY(f.owner.remoteKeys.isEmpty());
    }

    // A running entry is shown but cannot be changed: nothing to type into, no save, Enter only closes.
    void aRunningEntryIsOnlyShown()
    {
        EditorFixture f;
        const qint64 entry = f.office.addRunningEntry(OfficeFixture::Task, f.clock.now().addSecs(-600));
        f.scripts << [](QDialog& dialog) {
            QVERIFY(hands::field(dialog, QStringLiteral("FXData_Inicio")).isReadOnly());
            QVERIFY(hands::field(dialog, QStringLiteral("FXUnidades")).isReadOnly());
            QVERIFY(dialog.findChild<QPushButton*>(QStringLiteral("cmdGravar")) == nullptr);
            hands::paste(dialog, QStringLiteral("FXUnidades"), QStringLiteral("30"));
            hands::press(dialog, Qt::Key_Return);
        };
        openEntry(f, entry);
        QVERIFY(EditorFixture::writes().isEmpty());
        QVERIFY(f.owner.remoteKeys.isEmpty());
    }

    void anEntryChangedElsewhereIsNeverOverwritten()
    {
        EditorFixture f;
        const qint64 entry = addClosedEntry(f);
        f.scripts << [&](QDialog& dialog) {
            hands::type(dialog, QStringLiteral("FXUnidades"), QStringLiteral("50"));
            f.office.database().exec(QStringLiteral("UPDATE %1 SET unidades = 40").arg(EntryTable));
            hands::press(dialog, Qt::Key_Return);
        };
        openEntry(f, entry);
        QCOMPARE(EditorFixture::writes().size(), 1);
        QCOMPARE(f.office.minutesOf(entry).toInt(), 40);
        QVERIFY(f.shownTexts().first().startsWith(QStringLiteral("Outro utilizador alterou")));
    }

    // A new entry carries what a started count carries: the task's work item, case and client, the counting
    // basis and price rule with counter set, the lawyer's price; closed, with its minutes and note. The start
    // offered is now: left as it is, the minutes typed end now rather than an hour from now.
    void registersANewEntry_data()
    {
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("note");
        QTest::addColumn<QString>("stored");
        const auto row = [](const char* name, const QString& start, const QString& note, const QString& stored) {
            QTest::newRow(name) << start << note << stored;
        };
        const QString carried = QStringLiteral("812|77|15|402|9|1|30|2|45.5|0|0|1|");
        row("with a note", "16-11-2009 08:30", " Telefonema c/ O'Neil ",
            "2009-11-16 08:30:00|2009-11-16 09:00:00|" + carried + "Telefonema c/ O'Neil");
        row("without", "16-11-2009 08:30", "  ", "2009-11-16 08:30:00|2009-11-16 09:00:00|" + carried);
        row("the start offered", "16-11-2009 09:00", "", "2009-11-16 08:30:00|2009-11-16 09:00:00|" + carried);
        row("a note of 255 characters", "16-11-2009 08:30", QString(255, u'n'),
            "2009-11-16 08:30:00|2009-11-16 09:00:00|" + carried + QString(255, u'n'));
    }
    void registersANewEntry()
    {
        QFETCH(QString, start);
        QFETCH(QString, note);
        QFETCH(QString, stored);
        EditorFixture f;
        registerEntry(f, start, QStringLiteral("30"), note);
        QCOMPARE(EditorFixture::writes().size(), 1);
        QCOMPARE(f.stored(QStringLiteral("SELECT data, data_fim, tarefa_id, trabalho_id, processo_id, contacto_id, "
                                         "advogado_id, base_id, unidades, preco_id, preco, inprogress, closed, "
                                         "inprogress_time IS NOT NULL, descrit FROM %1")
                              .arg(EntryTable)),
                 stored);
        const qint64 entry = f.office.database()
                                 .scalar(QStringLiteral("SELECT MAX(lancamento_id) FROM %1").arg(EntryTable))
                                 .toLongLong();
        QCOMPARE(f.owner.remoteKeys, (QList<QPair<int, int>>{{int(entry), 4004}}));
    }

    void refusesANewEntryThatCannotBe_data()
    {
        QTest::addColumn<QString>("setUp");
        QTest::addColumn<QString>("minutes");
        QTest::addColumn<QString>("message");
        QTest::newRow("no minutes") << QString() << QStringLiteral("0") << QStringLiteral("de 1 a 1440");
        QTest::newRow("more than a day") << QString() << QStringLiteral("1500") << QStringLiteral("de 1 a 1440");
        QTest::newRow("ending after now") << QString() << QStringLiteral("45") << QStringLiteral("depois de agora");
        QTest::newRow("no counting basis")
            << QStringLiteral("UPDATE tbProcessos_Trabalhos_Tarefas_Lancamentos_Bases SET counter = 0")
            << QStringLiteral("30") << QStringLiteral("Erro no campo Base_ID");
        QTest::newRow("no price rule") << QStringLiteral(
                                              "UPDATE tbProcessos_Trabalhos_Tarefas_Lancamentos_Precos SET counter = 0")
                                       << QStringLiteral("30") << QStringLiteral("Erro no campo Preco_ID");
        QTest::newRow("a task without its work item")
            << QStringLiteral("UPDATE tbProcessos_Trabalhos_Tarefas SET trabalho_id = NULL") << QStringLiteral("30")
            << QStringLiteral("Erro no campo TRABALHO_ID");
    }
    void refusesANewEntryThatCannotBe()
    {
        QFETCH(QString, setUp);
        QFETCH(QString, minutes);
        QFETCH(QString, message);
        EditorFixture f;
        if (!setUp.isEmpty()) {
            f.office.database().exec(setUp);
        }
        registerEntry(f, QStringLiteral("16-11-2009 08:30"), minutes, QString());
        QVERIFY(EditorFixture::writes().isEmpty());
        QCOMPARE(f.office.entryCount(), 0);
        QVERIFY2(f.shownTexts().value(0).contains(message), qPrintable(f.shownTexts().join(QLatin1Char('/'))));
        QVERIFY(f.owner.remoteKeys.isEmpty());
    }

    // The filter keeps a row when every word typed is in its case number, client or description, whatever
    // the letter case and accents; typed text is only compared, never sent.
    void theFilterNarrowsAsOneTypes_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QList<qint64>>("shown");
        QTest::newRow("nothing") << QString() << QList<qint64>{77, 80, 81};
        QTest::newRow("accents and case ignored") << QStringLiteral("CONTESTACAO") << QList<qint64>{77};
        QTest::newRow("accented typed, plain stored") << QStringLiteral("acção") << QList<qint64>{81};
        QTest::newRow("the client") << QStringLiteral("joao") << QList<qint64>{80, 81};
        QTest::newRow("two words in two columns") << QStringLiteral("gonçalves penhora") << QList<qint64>{80};
        QTest::newRow("the case number with its percent") << QStringLiteral("100%") << QList<qint64>{80, 81};
        QTest::newRow("an apostrophe matches nothing") << QStringLiteral("'") << QList<qint64>{};
        QTest::newRow("the lawyer's name is not searched") << QStringLiteral("Bruno") << QList<qint64>{};
    }
    void theFilterNarrowsAsOneTypes()
    {
        QFETCH(QString, typed);
        EditorFixture f;
        addMoreWork(f);
        QList<qint64> seen;
        f.scripts << [&](QDialog& dialog) {
            hands::typeInto(*dialog.findChild<QLineEdit*>(QStringLiteral("FXFiltro")), typed);
            seen = shownIds(dialog);
        };
        editors::DialogWorkAssistant assistant;
        data::StatementLog::clear();
        QCOMPARE(f.signedOn(assistant).SelectWork(), 0);
        QTEST(seen, "shown");
        for (const QString& statement : data::StatementLog::statements()) {
            QVERIFY(typed.isEmpty() || !statement.contains(typed));
        }
    }

    void choosingAWorkItem_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("downs");
        QTest::addColumn<Qt::Key>("key");
        QTest::addColumn<int>("chosen");
        QTest::newRow("Enter on the first shown") << QStringLiteral("joão") << 0 << Qt::Key_Return << 80;
        QTest::newRow("down from the filter box, then Enter") << QStringLiteral("joão") << 1 << Qt::Key_Enter << 81;
        QTest::newRow("Esc") << QString() << 0 << Qt::Key_Escape << 0;
        QTest::newRow("Enter with nothing shown chooses nothing") << QStringLiteral("zzz") << 0 << Qt::Key_Return << 0;
    }
    void choosingAWorkItem()
    {
        QFETCH(QString, typed);
        QFETCH(int, downs);
        QFETCH(Qt::Key, key);
        EditorFixture f;
        addMoreWork(f);
        f.scripts << [&](QDialog& dialog) {
            auto* filter = dialog.findChild<QLineEdit*>(QStringLiteral("FXFiltro"));
            filter->setFocus();
            hands::typeInto(*filter, typed);
            for (int i = 0; i < downs; ++i) {
                QTest::keyClick(filter, Qt::Key_Down);
            }
            QTest::keyClick(filter, key);
        };
        editors::DialogWorkAssistant assistant;
        QTEST(f.signedOn(assistant).SelectWork(), "chosen");
        QVERIFY(EditorFixture::writes().isEmpty());
    }

    // Every work item with a pending task is listed; a double click chooses the row.
    void listsEveryWorkItemWithItsPendingTasks()
    {
        EditorFixture f;
        addMoreWork(f);
        f.office.database().exec(
            QStringLiteral("UPDATE tbProcessos_Trabalhos_Tarefas SET closed = 1 WHERE tarefa_id = 822"));
        QStringList rows;
        f.scripts << [&](QDialog& dialog) {
            rows = rowsOf(list(dialog));
            QTreeWidgetItem* item = list(dialog).topLevelItem(2);
            list(dialog).setCurrentItem(item);
            Q_EMIT list(dialog).itemDoubleClicked(item, 0);
        };
        editors::DialogWorkAssistant assistant;
        QCOMPARE(f.signedOn(assistant).SelectWork(), 81);
        QCOMPARE(rows, (QStringList{QStringLiteral("2009/015|Cliente Alfa|Contestação|Ana Lopes|1"),
                                    QStringLiteral("2010/100%|João Gonçalves, Lda|Penhora|Bruno Sá|1"),
                                    QStringLiteral("2010/100%|João Gonçalves, Lda|Acção executiva|Ana Lopes|1")}));
    }

    // The wizard offers the open tasks of the lawyer's work items (a finished one is not open; one whose flag
    // was never set is) and then registers an entry for the one chosen, with the case and client of that task.
    void theWizardRegistersAnEntryForTheTaskChosen()
    {
        EditorFixture f;
        addMoreWork(f);
        f.office.addTask(823, 81, QStringLiteral("Alegações finais"));
        f.office.addTask(824, 81, QStringLiteral("Custas"));
        f.office.database().exec(
            QStringLiteral("UPDATE tbProcessos_Trabalhos_Tarefas SET closed = 1 WHERE tarefa_id = 823"));
        f.office.database().exec(
            QStringLiteral("UPDATE tbProcessos_Trabalhos_Tarefas SET closed = NULL WHERE tarefa_id = 824"));
        editors::DialogWorkAssistant assistant;
        f.scripts << [](QDialog& dialog) { hands::press(dialog, Qt::Key_Escape); };
        QVERIFY(!f.signedOn(assistant).NewEntryWizard());
        QCOMPARE(f.dialogsRun, QStringList{QStringLiteral("frmTarefas")});
        QVERIFY(EditorFixture::writes().isEmpty());
        QList<qint64> offered;
        f.scripts << [&](QDialog& dialog) {
            offered = shownIds(dialog);
            hands::typeInto(*dialog.findChild<QLineEdit*>(QStringLiteral("FXFiltro")), QStringLiteral("alegacoes"));
            hands::press(dialog, Qt::Key_Return);
        };
        f.scripts << [](QDialog& dialog) {
            QCOMPARE(hands::field(dialog, QStringLiteral("FXTarefa")).text(), QStringLiteral("Alegações"));
            hands::type(dialog, QStringLiteral("FXUnidades"), QStringLiteral("20"));
            hands::press(dialog, Qt::Key_Return);
        };
        QVERIFY(assistant.NewEntryWizard());
        QCOMPARE(offered, (QList<qint64>{812, 821, 822, 824}));
        QCOMPARE(f.dialogsRun, (QStringList{"frmTarefas", "frmTarefas", "frmLancamentoNovo"}));
        QCOMPARE(EditorFixture::writes().size(), 1);
        QCOMPARE(
            f.stored(QStringLiteral("SELECT tarefa_id, trabalho_id, processo_id, contacto_id, advogado_id, base_id, "
                                    "unidades, preco_id, preco, inprogress, closed FROM "
                                    "tbProcessos_Trabalhos_Tarefas_Lancamentos")),
            QStringLiteral("822|81|16|403|9|1|20|2|45.5|0|0"));
    }
};

QTEST_MAIN(TestRecordEditors)
#include "test_recordeditors.moc"
