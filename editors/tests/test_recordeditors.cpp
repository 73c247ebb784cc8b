// The record editors and the work assistant, on the small office through the seams the counter calls.
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

using namespace Qt::StringLiterals;

using testsupport::OfficeFixture;

namespace {

const QString CaseTable = u"tbProcessos"_s;
const QString WorkTable = u"tbProcessos_Trabalhos"_s;
const QString TaskTable = u"tbProcessos_Trabalhos_Tarefas"_s;
const QString EntryTable = u"tbProcessos_Trabalhos_Tarefas_Lancamentos"_s;

using RemoteKeys = QList<QPair<int, int>>; // the owner's calls back: record and flag

// A closed entry of lawyer 9 on task 812, 10:00 to 10:45, 45 minutes; returns its identifier.
qint64 addClosedEntry(EditorFixture& f)
{
    f.office.database().exec(
        u"INSERT INTO %1 (tarefa_id, trabalho_id, processo_id, contacto_id, data, data_fim, advogado_id, base_id, "
        "unidades, preco_id, preco, inprogress, closed, descrit) VALUES (812, 77, 15, 402, '2009-11-13 10:00:00', "
        "'2009-11-13 10:45:00', 9, 1, 45, 2, 45.5, 0, 0, 'Reunião')"_s.arg(EntryTable));
    return f.office.database().scalar(u"SELECT MAX(lancamento_id) FROM %1"_s.arg(EntryTable)).toLongLong();
}

QTreeWidget& list(QDialog& dialog)
{
    return *dialog.findChild<QTreeWidget*>(u"ListView1"_s);
}

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
    db.exec(u"INSERT INTO tbContactos (contacto_id, nome_union) VALUES (403, 'João Gonçalves, Lda')"_s);
    db.exec(u"INSERT INTO tbProcessos (processo_id, processo_no_completo, contacto_id, judicial) VALUES "
            "(16, '2010/100%', 403, 1)"_s);
    f.office.addWork(80, 16, OfficeFixture::OtherLawyer, u"Penhora"_s);
    f.office.addWork(81, 16, OfficeFixture::Lawyer, u"Acção executiva"_s);
    f.office.addTask(820, 80, u"Requerimento"_s);
    f.office.addTask(821, 81, u"Citação"_s);
    f.office.addTask(822, 81, u"Alegações"_s);
}

// A sign-on the editors refuse; the password is scrambled unless plain is set.
struct SignOn {
    bool signs = true;
    QString name = u"ana"_s, password = u"segredo"_s;
    bool plain = false, connected = true;
};

// Work item before, dates typed, exemption ticked, key; stored data_legal|data_escritorio|prazos or refusal.
struct Dates {
    bool deadlines = false; // asked for the deadlines rather than opened from the list
    QString before{}, legal{}, office{};
    std::optional<bool> ticked{};
    QString stored{}, refusal{};
    Qt::Key key = Qt::Key_Return;
};

// What is done in the task editor, and the task after (descrit|escondida|closed) or the refusal said.
struct TaskEdit {
    QString typed{};
    bool hide = false, finish = false, counted = false; // counted: an entry of the task is running
    bool fails = false;                                 // the database refuses the save's statement
    Qt::Key key = Qt::Key_Return;
    QString stored = u"Redigir contestação|0|0"_s, refusal = {};
};

enum class Editor { Task, Work, Entry };

// Another user's change after typing, the answer to reloading, and what is said and shown after.
struct Elsewhere {
    Editor editor;
    QString field, typed, change;
    core::Answer reload;
    QString shownAfter, said = u"Outro utilizador alterou"_s;
};

// A field of a closed entry and what is typed into it: the end shown|data|data_fim|unidades|descrit after, or the
// refusal; neither when the entry is running, and nothing is saved.
struct Correction {
    QString field, typed, stored{}, message{};
};

// A new entry of task 812 after a set-up statement: stored data|data_fim|...|descrit, or the refusal.
struct NewEntry {
    QString setUp{}, start = u"16-11-2009 08:30"_s, minutes = u"30"_s, note{}, stored{}, refusal{};
};

// Typed in the assistant's filter, the items shown, arrow-downs and key (unknown: a double click), and the item
// chosen.
struct Pick {
    QString typed{};
    QList<qint64> shown{};
    int downs = 0;
    Qt::Key key = Qt::Key_Escape;
    int chosen = 0;
};

} // namespace

class TestRecordEditors : public QObject
{
    Q_OBJECT

    QTemporaryDir m_documents;

    // Task 812, work item 77 or the entry opened in its editor from the list, or the work item's deadlines asked
    // for; returns EditDeadlines' answer.
    bool open(EditorFixture& f, Editor editor, qint64 entry = 0, bool deadlines = false)
    {
        editors::DialogTaskEditor task;
        editors::DialogWorkEditor work;
        editors::DialogTimeEntryEditor time;
        if (editor == Editor::Task) {
            f.openRecord(f.signedOn(task), &editors::DialogTaskEditor::OpenRecord, TaskTable, OfficeFixture::Task,
                         &f.owner);
        } else if (deadlines) {
            return f.openRecord(f.signedOn(work), &editors::DialogWorkEditor::EditDeadlines, WorkTable,
                                OfficeFixture::Work, nullptr);
        } else if (editor == Editor::Work) {
            f.openRecord(f.signedOn(work), &editors::DialogWorkEditor::OpenRecord, WorkTable, OfficeFixture::Work,
                         &f.owner);
        } else {
            f.openRecord(f.signedOn(time), &editors::DialogTimeEntryEditor::OpenRecord, EntryTable, entry, &f.owner);
        }
        return false;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_documents.isValid());
        qputenv("ORV_DOCUMENTS_DIR", m_documents.path().toUtf8());
    }

    // An editor whose sign-on failed refuses every call and touches nothing.
    void onlyTheSessionsOwnUserIsServed_data()
    {
        QTest::addColumn<SignOn>("row");
        QTest::newRow("never signed on") << SignOn{.signs = false};
        QTest::newRow("another name") << SignOn{.name = u"bruno"_s};
        QTest::newRow("the name with a blank") << SignOn{.name = u"ana "_s};
        QTest::newRow("a wrong password") << SignOn{.password = u"segredo1"_s};
        QTest::newRow("the password not scrambled") << SignOn{.plain = true};
        QTest::newRow("no session") << SignOn{.connected = false};
    }
    void onlyTheSessionsOwnUserIsServed()
    {
        QFETCH(SignOn, row);
        const auto [signs, name, password, plain, connected] = row;
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
                QString n = name, p = scrambled;
                QVERIFY(!component->SignOn(n, p));
            }
        }
        const qint64 running = f.office.addRunningEntry(OfficeFixture::Task, f.clock.now());
        f.openRecord(task, &editors::DialogTaskEditor::OpenRecord, TaskTable, OfficeFixture::Task, &f.owner);
        f.openRecord(work, &editors::DialogWorkEditor::OpenRecord, WorkTable, OfficeFixture::Work, &f.owner);
        f.openRecord(work, &editors::DialogWorkEditor::EditDeadlines, WorkTable, OfficeFixture::Work, nullptr);
        f.openRecord(caseEditor, &editors::DialogCaseEditor::OpenRecord, CaseTable, OfficeFixture::Case, &f.owner);
        f.openRecord(caseEditor, &editors::DialogCaseEditor::OpenDocumentArchive, CaseTable, OfficeFixture::Case,
                     &f.owner);
        f.openRecord(entry, &editors::DialogTimeEntryEditor::OpenRecord, EntryTable, running, &f.owner);
        int client = OfficeFixture::Client, caseId = OfficeFixture::Case, taskId = OfficeFixture::Task,
            lawyer = OfficeFixture::Lawyer;
        entry.NewEntry(client, caseId, taskId, lawyer, &f.owner);
        QCOMPARE(assistant.SelectWork(), 0);
        QCOMPARE(assistant.NewEntryWizard(), false);

        QVERIFY(f.dialogsRun.isEmpty() && EditorFixture::writes().isEmpty() && f.foldersOpened.isEmpty() &&
                f.owner.remoteKeys.isEmpty());
        QCOMPARE(f.boxes.shown().size(), 9);
        for (const core::Message& refusal : f.boxes.shown()) {
            QVERIFY(refusal.text.startsWith(u"O editor não reconheceu o utilizador da sessão"_s));
            QCOMPARE(refusal.icon, core::Icon::Critical);
        }
    }

    void showsTheCaseAndItsWork()
    {
        EditorFixture f;
        f.office.addWork(78, OfficeFixture::Case, OfficeFixture::OtherLawyer, u"Recurso"_s, QDate(2010, 2, 1));
        f.office.database().exec(u"UPDATE tbProcessos SET judicial = 1"_s);
        // A lawyer's name longer than a column's default width.
        f.office.database().exec(u"UPDATE tbContactos SET nome_union = 'Bruno Sá de Albuquerque e "
                                 "Vasconcelos' WHERE contacto_id = %1"_s.arg(OfficeFixture::OtherLawyer));
        QStringList work;
        f.scripts << [&](QDialog& dialog) {
            QCOMPARE(hands::field(dialog, u"FXProcesso_No"_s).text(), u"2009/015"_s);
            QCOMPARE(hands::field(dialog, u"FXCliente"_s).text(), u"Cliente Alfa"_s);
            QCOMPARE(hands::field(dialog, u"FXJudicial"_s).text(), u"Sim"_s);
            auto* list = dialog.findChild<QTreeWidget*>(u"ListTrabalhos"_s);
            // Every column but the work item's own text is whole, its title and its values.
            for (int c = 1; c < list->columnCount(); ++c) {
                int widest = list->header()->sectionSizeHint(c);
                for (int i = 0; i < list->topLevelItemCount(); ++i) {
                    widest = std::max(widest, list->fontMetrics().horizontalAdvance(list->topLevelItem(i)->text(c)));
                }
                QVERIFY2(list->columnWidth(c) >= widest, qPrintable(list->headerItem()->text(c)));
            }
            work = rowsOf(*list);
            dialog.findChild<QPushButton*>(u"cmdArquivo"_s)->click();
            hands::press(dialog, Qt::Key_Return);
        };
        editors::DialogCaseEditor editor;
        f.openRecord(f.signedOn(editor), &editors::DialogCaseEditor::OpenRecord, CaseTable, OfficeFixture::Case,
                     &f.owner);
        QCOMPARE(work, (QStringList{u"Contestação|Ana Lopes| | |1"_s,
                                    u"Recurso|Bruno Sá de Albuquerque e Vasconcelos| |01-02-2010|0"_s}));
        QVERIFY(EditorFixture::writes().isEmpty());
        // The archive button opens the case's own folder.
        QCOMPARE(f.foldersOpened, QList<QUrl>{QUrl::fromLocalFile(m_documents.filePath(u"2009-015 (15)"_s))});
    }

    // Whatever the case number holds, its folder is one plain name of its own inside the documents folder.
    void folderNames_data()
    {
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("folder");
        QTest::newRow("climbing out") << u"../../etc"_s << u"-..-etc (15)"_s;
        QTest::newRow("Windows' reserved characters") << u"a:b*c?d\"e<f>g|h\\i"_s << u"a-b-c-d-e-f-g-h-i (15)"_s;
        QTest::newRow("blanks, dots and a control character") << u"  .Proc\n2010. "_s << u"Proc-2010 (15)"_s;
        QTest::newRow("apostrophes, semicolons and percent") << u"O'Neil; 50%"_s << u"O'Neil; 50% (15)"_s;
        QTest::newRow("blank") << u"   "_s << u"Dossier (15)"_s;
        QTest::newRow("only dots") << u".."_s << u"Dossier (15)"_s;
        QTest::newRow("80 characters, the most kept")
            << QString(80, QLatin1Char('9')) << QString(80, QLatin1Char('9')) + u" (15)"_s;
        QTest::newRow("one past") << QString(80, QLatin1Char('9')) + QLatin1Char('x')
                                  << QString(80, QLatin1Char('9')) + u" (15)"_s;
        QTest::newRow("outside Windows-1252") << u"案件 7"_s << u"案件 7 (15)"_s;
    }
    void folderNames()
    {
        QFETCH(QString, number);
        QTEST(editors::documentArchive::folderName(number, OfficeFixture::Case), "folder");
    }

    // The case's folder is made and opened; a folder not opened or not made is said.
    void theArchiveIsTheCasesOwnFolder_data()
    {
        QTest::addColumn<bool>("opens");
        QTest::addColumn<bool>("blocked");
        QTest::addColumn<QString>("message");
        QTest::newRow("made and opened") << true << false << QString();
        QTest::newRow("the desktop refuses it") << false << false << u"O ambiente de trabalho não abriu"_s;
        QTest::newRow("it cannot be made") << false << true << u"Não foi possível criar a pasta"_s;
    }
    void theArchiveIsTheCasesOwnFolder()
    {
        QFETCH(bool, opens);
        QFETCH(bool, blocked);
        QFETCH(QString, message);
        EditorFixture f;
        f.folderOpens = opens;
        f.office.database().exec(u"UPDATE tbProcessos SET processo_no_completo = '../2009/015'"_s);
        if (blocked) {
            qputenv("ORV_DOCUMENTS_DIR", QCoreApplication::applicationFilePath().toUtf8());
        }
        editors::DialogCaseEditor editor;
        f.openRecord(f.signedOn(editor), &editors::DialogCaseEditor::OpenDocumentArchive, CaseTable,
                     OfficeFixture::Case, &f.owner);
        qputenv("ORV_DOCUMENTS_DIR", m_documents.path().toUtf8());
        const QString expected = m_documents.filePath(u"-2009-015 (15)"_s);
        QCOMPARE(f.foldersOpened, blocked ? QList<QUrl>() : QList<QUrl>{QUrl::fromLocalFile(expected)});
        QCOMPARE(f.boxes.shown().size(), opens ? 0 : 1);
        QVERIFY(f.shownTexts().value(0).startsWith(message));
        QVERIFY(!opens || QDir(expected).exists());
    }

    // One write of the dates typed; prazos only when changed; impossible dates are refused.
    void savesTheDeadlines_data()
    {
        QTest::addColumn<Dates>("row");
        const QString noDate = u"«Data Legal» não tem uma data válida"_s, none = u"prazos = NULL"_s;
        QTest::newRow("both dates, asked for them")
            << Dates{true, none, u"15-03-2010"_s, u"10-03-2010"_s, {}, u"2010-03-15 00:00:00|2010-03-10 00:00:00|"_s};
        QTest::newRow("the same day, slashes and blanks")
            << Dates{true, none, u" 15/03/2010 "_s, u"15-03-2010"_s, {}, u"2010-03-15 00:00:00|2010-03-15 00:00:00|"_s};
        QTest::newRow("both cleared, null exemption left alone") << Dates{false, none, {}, {}, false, u"||"_s};
        QTest::newRow("exemption 0 ticked") << Dates{false, u"prazos = 0"_s, {}, {}, true, u"||1"_s};
        QTest::newRow("exemption 1 unticked") << Dates{false, u"prazos = 1"_s, {}, {}, false, u"||0"_s};
        // Cancelled: the dates are not settled, even those the work item already had.
        QTest::newRow("asked for them, cancelled")
            << Dates{.deadlines = true,
                     .before = u"data_legal = '2010-04-30', data_escritorio = '2010-04-20'"_s,
                     .key = Qt::Key_Escape};
        QTest::newRow("no such day") << Dates{.legal = u"31-02-2010"_s, .refusal = noDate};
        QTest::newRow("words") << Dates{.office = u"amanhã"_s,
                                        .refusal = u"«Prazo de Escritório» não tem uma data válida"_s};
        QTest::newRow("the no-date day") << Dates{.legal = u"01-01-1900"_s, .refusal = noDate};
        QTest::newRow("office after legal") << Dates{
            .legal = u"10-03-2010"_s, .office = u"11-03-2010"_s, .refusal = u"não pode ser depois da Data Legal"_s};
        QTest::newRow("asked for both, one missing")
            << Dates{true, {}, u"10-03-2010"_s, {}, {}, {}, u"Indique a data no campo «Prazo de Escritório»"_s};
    }
    void savesTheDeadlines()
    {
        QFETCH(Dates, row);
        EditorFixture f;
        if (!row.before.isEmpty()) {
            f.office.database().exec(u"UPDATE %1 SET %2 WHERE trabalho_id = 77"_s.arg(WorkTable, row.before));
        }
        f.scripts << [&](QDialog& dialog) {
            hands::type(dialog, u"FXData_Legal"_s, row.legal);
            hands::type(dialog, u"FXData_Escritorio"_s, row.office);
            if (row.ticked) {
                dialog.findChild<QCheckBox*>(u"FXPrazos"_s)->setChecked(*row.ticked);
            }
            hands::press(dialog, row.key);
        };
        const bool saved = row.refusal.isEmpty() && row.key == Qt::Key_Return;
        QCOMPARE(open(f, Editor::Work, 0, row.deadlines), row.deadlines && saved);
        QCOMPARE(EditorFixture::writes().size(), saved ? 1 : 0);
        QCOMPARE(f.boxes.shown().size(), row.refusal.isEmpty() ? 0 : 1);
        QVERIFY2(f.shownTexts().value(0).contains(row.refusal), qPrintable(f.shownTexts().join(u'/')));
        if (saved) {
            QCOMPARE(f.stored(u"SELECT data_legal, data_escritorio, prazos FROM %1"_s.arg(WorkTable)), row.stored);
        }
        // Asked for the deadlines there is no owner; opened from the list, the owner refills it after a save.
        QCOMPARE(f.owner.remoteKeys, (saved && !row.deadlines ? RemoteKeys{{77, 0}} : RemoteKeys{}));
    }

    // One write of the task typed, trimmed; too long, blank or finishing a counted task is refused. A save whose
    // statement fails is reported; the dialog stays open and the owner is not called.
    void savesWithOneUpdate_data()
    {
        QTest::addColumn<TaskEdit>("row");
        QTest::newRow("renamed while counted")
            << TaskEdit{.typed = u"Rever"_s, .counted = true, .stored = u"Rever|0|0"_s};
        const QString hostile = u"d'Ávila; DROP TABLE tbUsers --"_s;
        QTest::newRow("apostrophes and a semicolon, hidden")
            << TaskEdit{.typed = hostile, .hide = true, .stored = hostile + u"|1|0"_s};
        QTest::newRow("blanks at either end, quotes and percent, finished")
            << TaskEdit{.typed = u"  50% \"urgente\"  "_s, .finish = true, .stored = u"50% \"urgente\"|0|1"_s};
        QTest::newRow("255 characters, the most a description holds")
            << TaskEdit{.typed = QString(255, u'é'), .stored = QString(255, u'é') + u"|0|0"_s};
        QTest::newRow("Esc cancels") << TaskEdit{
            .typed = u"Não gravar"_s, .hide = true, .finish = true, .key = Qt::Key_Escape};
        QTest::newRow("blank") << TaskEdit{.typed = u"   "_s, .refusal = u"«Descrição» não pode ficar vazio"_s};
        QTest::newRow("256 characters, one past the most")
            << TaskEdit{.typed = QString(256, u'x'), .refusal = u"«Descrição» tem 256 caracteres; o máximo é 255"_s};
        QTest::newRow("finishing a counted task") << TaskEdit{
            .typed = u"Rever"_s, .finish = true, .counted = true, .refusal = u"terminar o contador activo"_s};
        QTest::newRow("the save fails") << TaskEdit{.typed = u"Rever"_s, .fails = true};
    }
    void savesWithOneUpdate()
    {
        QFETCH(TaskEdit, row);
        EditorFixture f;
        if (row.counted) {
            f.office.addRunningEntry(OfficeFixture::Task, QDateTime(QDate(2009, 11, 10), QTime(14, 0)));
        }
        if (row.fails) {
            data::StatementFailures::failNext({-2147217900, u"Tabela bloqueada"_s}, u"UPDATE %1"_s.arg(TaskTable));
        }
        bool stayedOpen = false;
        f.scripts << [&](QDialog& dialog) {
            QCOMPARE(hands::field(dialog, u"FXDossier"_s).text(), u"2009/015"_s);
            QCOMPARE(hands::field(dialog, u"FXCliente"_s).text(), u"Cliente Alfa"_s);
            QCOMPARE(hands::field(dialog, u"FXTrabalho"_s).text(), u"Contestação"_s);
            QCOMPARE(hands::field(dialog, u"FXDescrit"_s).text(), u"Redigir contestação"_s);
            hands::paste(dialog, u"FXDescrit"_s, row.typed);
            dialog.findChild<QCheckBox*>(u"FXEscondida"_s)->setChecked(row.hide);
            dialog.findChild<QCheckBox*>(u"FXClosed"_s)->setChecked(row.finish);
            hands::press(dialog, row.key);
            stayedOpen = dialog.isVisible();
            if (stayedOpen) {
                hands::press(dialog, Qt::Key_Escape);
            }
        };
        open(f, Editor::Task);
        data::StatementFailures::clear();
        const bool saved = row.key == Qt::Key_Return && row.refusal.isEmpty() && !row.fails;
        QCOMPARE(f.dialogsRun, QStringList{u"frmTarefa"_s});
        QCOMPARE(stayedOpen, !row.refusal.isEmpty() || row.fails);
        QCOMPARE(f.reports.procedures(), row.fails ? QStringList{u"cmdGravar_Click"_s} : QStringList());
        // A refused finish is the one conditional statement, which changes nothing; a failed save is sent once.
        QCOMPARE(EditorFixture::writes().size(), saved || row.fails || (row.counted && row.finish) ? 1 : 0);
        QCOMPARE(f.stored(u"SELECT descrit, escondida, closed FROM %1 WHERE tarefa_id = 812"_s.arg(TaskTable)),
                 row.stored);
        QCOMPARE(f.owner.remoteKeys, (saved ? RemoteKeys{{812, 4003}} : RemoteKeys()));
        QCOMPARE(f.boxes.shown().size(), row.refusal.isEmpty() ? 0 : 1);
        QVERIFY2(f.shownTexts().value(0).contains(row.refusal), qPrintable(f.shownTexts().join(u'/')));
    }

    // A record changed or deleted elsewhere is never overwritten; the editor says so and may reload it.
    void aRecordChangedElsewhereIsNeverOverwritten_data()
    {
        QTest::addColumn<Elsewhere>("row");
        const auto row = [](const char* name, const Elsewhere& elsewhere) { QTest::newRow(name) << elsewhere; };
        const QString task = u"UPDATE tbProcessos_Trabalhos_Tarefas SET %1 WHERE tarefa_id = 812"_s;
        row("task described, reloaded", {Editor::Task, "FXDescrit", "Minha versão",
                                         task.arg(u"descrit = 'Outro texto'"_s), core::Answer::Yes, "Outro texto"});
        row("task finished, kept as typed",
            {Editor::Task, "FXDescrit", "Minha versão", task.arg(u"closed = 1"_s), core::Answer::No, "Minha versão"});
        row("task deleted",
            {Editor::Task, "FXDescrit", "Minha versão", u"DELETE FROM %1 WHERE tarefa_id = 812"_s.arg(TaskTable),
             core::Answer::No, "", "apagado por outro utilizador"});
        row("work dates, reloaded",
            {Editor::Work, "FXData_Legal", "20-05-2010",
             u"UPDATE %1 SET data_legal = '2010-04-30 00:00:00'"_s.arg(WorkTable), core::Answer::Yes, "30-04-2010"});
        row("entry minutes, kept as typed", {Editor::Entry, "FXUnidades", "50",
                                             u"UPDATE %1 SET unidades = 40"_s.arg(EntryTable), core::Answer::No, "50"});
    }
    void aRecordChangedElsewhereIsNeverOverwritten()
    {
        QFETCH(Elsewhere, row);
        EditorFixture f;
        const qint64 entry = addClosedEntry(f);
        f.boxes.setNextAnswers({row.reload});
        const QString table = QStringList{TaskTable, WorkTable, EntryTable}.at(int(row.editor));
        const auto stored = [&] { return f.office.database().select(u"SELECT * FROM %1"_s.arg(table)); };
        QList<QVariantList> afterOther;
        QString shownAfter;
        f.scripts << [&](QDialog& dialog) {
            hands::type(dialog, row.field, row.typed);
            f.office.database().exec(row.change);
            afterOther = stored();
            hands::press(dialog, Qt::Key_Return);
            shownAfter = dialog.isVisible() ? hands::field(dialog, row.field).text() : QString();
        };
        open(f, row.editor, entry);
        QCOMPARE(EditorFixture::writes().size(), 1);
        QCOMPARE(stored(), afterOther);
        QCOMPARE(f.boxes.shown().size(), 1);
        QVERIFY2(f.boxes.shown().first().text.contains(row.said), qPrintable(f.boxes.shown().first().text));
        QCOMPARE(shownAfter, row.shownAfter);
        QVERIFY(f.owner.remoteKeys.isEmpty());
    }

    // Minutes typed move the end; what cannot be an entry is refused, nothing written. A running entry is shown but
    // cannot be changed: nothing to type into, no save, Enter only closes.
    void correctsAClosedEntry_data()
    {
        QTest::addColumn<Correction>("row");
        const auto row = [](const char* name, const Correction& correction) { QTest::newRow(name) << correction; };
        row("minutes",
            {u"FXUnidades"_s, u"75"_s, u"13-11-2009 11:15|2009-11-13 10:00:00|2009-11-13 11:15:00|75|Reunião"_s});
        row("a note with an apostrophe",
            {u"FXDescrit"_s, u"Reunião c/ cliente d'Ávila"_s,
             u"13-11-2009 10:45|2009-11-13 10:00:00|2009-11-13 10:45:00|45|Reunião c/ cliente d'Ávila"_s});
        row("no start", {u"FXData_Inicio"_s, {}, {}, u"«Início»"_s});
        row("no date", {u"FXData_Fim"_s, u"32-11-2009 10:00"_s, {}, u"«Fim» não tem uma data válida"_s});
        row("end before start", {u"FXData_Fim"_s, u"13-11-2009 09:59"_s, {}, u"tem de ser depois do início"_s});
        row("end at start", {u"FXData_Fim"_s, u"13-11-2009 10:00"_s, {}, u"tem de ser depois do início"_s});
        for (const char* minutes : {"-5", "1441", "99999999999999999999", "12,5", "1; DELETE FROM tbUsers"}) {
            QTest::addRow("minutes %s", minutes)
                << Correction{u"FXUnidades"_s, QString::fromUtf8(minutes), {}, u"minutos inteiros de 0 a 1440"_s};
        }
        row("a note one past 255 characters",
            {u"FXDescrit"_s, QString(256, QLatin1Char('n')), {}, u"«Nota» tem 256 caracteres"_s});
        row("running", {u"FXUnidades"_s, u"30"_s});
    }
    void correctsAClosedEntry()
    {
        QFETCH(Correction, row);
        const auto [field, typed, stored, message] = row;
        EditorFixture f;
        const qint64 entry = addClosedEntry(f);
        const bool running = stored.isEmpty() && message.isEmpty();
        if (running) {
            f.office.database().exec(u"UPDATE %1 SET inprogress = 1"_s.arg(EntryTable));
        }
        QString endShown;
        bool stayedOpen = false;
        f.scripts << [&](QDialog& dialog) {
            QCOMPARE(hands::field(dialog, u"FXTarefa"_s).text(), u"Redigir contestação"_s);
            QCOMPARE(hands::field(dialog, u"FXData_Inicio"_s).text(), u"13-11-2009 10:00"_s);
            QCOMPARE(hands::field(dialog, u"FXData_Inicio"_s).isReadOnly(), running);
            QCOMPARE(hands::field(dialog, field).isReadOnly(), running);
            QCOMPARE(dialog.findChild<QPushButton*>(u"cmdGravar"_s) == nullptr, running);
            (stored.isEmpty() ? hands::paste : hands::type)(dialog, field, typed);
            endShown = hands::field(dialog, u"FXData_Fim"_s).text();
            hands::press(dialog, Qt::Key_Return);
            stayedOpen = dialog.isVisible();
        };
        open(f, Editor::Entry, entry);
        QCOMPARE(stayedOpen, !message.isEmpty());
        QCOMPARE(EditorFixture::writes().size(), stored.isEmpty() ? 0 : 1);
        QCOMPARE(f.boxes.shown().size(), message.isEmpty() ? 0 : 1);
        QVERIFY2(f.shownTexts().value(0).contains(message), qPrintable(f.shownTexts().join(u'/')));
        if (!stored.isEmpty()) {
            QCOMPARE(endShown + u'|' + f.stored(u"SELECT data, data_fim, unidades, descrit FROM %1"_s.arg(EntryTable)),
                     stored);
        }
        QCOMPARE(f.owner.remoteKeys, (stored.isEmpty() ? RemoteKeys() : RemoteKeys{{int(entry), 4004}}));
    }

    // A new entry carries what a started count carries, ends no later than now, or is refused.
    void registersANewEntry_data()
    {
        QTest::addColumn<NewEntry>("row");
        const QString stored = u"2009-11-16 08:30:00|2009-11-16 09:00:00|812|77|15|402|9|1|30|2|45.5|0|0|1|"_s;
        QTest::newRow("with a note") << NewEntry{.note = u" Telefonema c/ O'Neil "_s,
                                                 .stored = stored + u"Telefonema c/ O'Neil"_s};
        QTest::newRow("without") << NewEntry{.note = u"  "_s, .stored = stored};
        QTest::newRow("the start offered") << NewEntry{.start = u"16-11-2009 09:00"_s, .stored = stored};
        QTest::newRow("a note of 255 characters")
            << NewEntry{.note = QString(255, u'n'), .stored = stored + QString(255, u'n')};
        QTest::newRow("no minutes") << NewEntry{.minutes = u"0"_s, .refusal = u"de 1 a 1440"_s};
        QTest::newRow("more than a day") << NewEntry{.minutes = u"1500"_s, .refusal = u"de 1 a 1440"_s};
        QTest::newRow("ending after now") << NewEntry{.minutes = u"45"_s, .refusal = u"depois de agora"_s};
        const QString none = u"UPDATE %1_%2 SET counter = 0"_s;
        QTest::newRow("no counting basis")
            << NewEntry{.setUp = none.arg(EntryTable, u"Bases"_s), .refusal = u"Erro no campo Base_ID"_s};
        QTest::newRow("no price rule") << NewEntry{.setUp = none.arg(EntryTable, u"Precos"_s),
                                                   .refusal = u"Erro no campo Preco_ID"_s};
        QTest::newRow("a task without its work item") << NewEntry{
            .setUp = u"UPDATE %1 SET trabalho_id = NULL"_s.arg(TaskTable), .refusal = u"Erro no campo TRABALHO_ID"_s};
    }
    void registersANewEntry()
    {
        QFETCH(NewEntry, row);
        EditorFixture f;
        if (!row.setUp.isEmpty()) {
            f.office.database().exec(row.setUp);
        }
        f.scripts << [&](QDialog& dialog) {
            hands::type(dialog, u"FXData_Inicio"_s, row.start);
            hands::paste(dialog, u"FXDescrit"_s, row.note);
            hands::type(dialog, u"FXUnidades"_s, row.minutes);
            hands::press(dialog, Qt::Key_Return);
        };
        editors::DialogTimeEntryEditor editor;
        int client = OfficeFixture::Client, caseId = OfficeFixture::Case, task = OfficeFixture::Task,
            lawyer = OfficeFixture::Lawyer;
        f.signedOn(editor).NewEntry(client, caseId, task, lawyer, &f.owner);
        QCOMPARE(EditorFixture::writes().size(), row.refusal.isEmpty() ? 1 : 0);
        QVERIFY2(f.shownTexts().value(0).contains(row.refusal), qPrintable(f.shownTexts().join(u'/')));
        // Refused, there is no entry: nothing is read back.
        QCOMPARE(f.stored(u"SELECT data, data_fim, tarefa_id, trabalho_id, processo_id, contacto_id, advogado_id, "
                          "base_id, unidades, preco_id, preco, inprogress, closed, inprogress_time IS NOT NULL, "
                          "descrit FROM %1"_s.arg(EntryTable)),
                 row.stored);
        // The owner is told the new entry, the office's first.
        QCOMPARE(f.owner.remoteKeys, (row.refusal.isEmpty() ? RemoteKeys{{1, 4004}} : RemoteKeys()));
    }

    // The filter matches every word, ignoring case and accents, never sent; Enter chooses, Esc does not.
    void choosingAWorkItem_data()
    {
        QTest::addColumn<Pick>("row");
        QTest::newRow("nothing") << Pick{{}, {77, 80, 81}};
        QTest::newRow("accents and case ignored") << Pick{u"CONTESTACAO"_s, {77}};
        QTest::newRow("accented typed, plain stored") << Pick{u"acção"_s, {81}};
        QTest::newRow("two words in two columns") << Pick{u"gonçalves penhora"_s, {80}};
        QTest::newRow("the case number with its percent") << Pick{u"100%"_s, {80, 81}};
        QTest::newRow("an apostrophe matches nothing") << Pick{u"'"_s, {}};
        QTest::newRow("the lawyer's name is not searched") << Pick{u"Bruno"_s, {}};
        QTest::newRow("Enter on the first shown") << Pick{u"joão"_s, {80, 81}, 0, Qt::Key_Return, 80};
        QTest::newRow("down from the filter box, then Enter") << Pick{u"joão"_s, {80, 81}, 1, Qt::Key_Enter, 81};
        QTest::newRow("Enter with nothing shown chooses nothing") << Pick{u"zzz"_s, {}, 0, Qt::Key_Return};
        QTest::newRow("a double click on the third") << Pick{{}, {77, 80, 81}, 2, Qt::Key_unknown, 81};
    }
    void choosingAWorkItem()
    {
        QFETCH(Pick, row);
        EditorFixture f;
        addMoreWork(f);
        f.office.database().exec(u"UPDATE tbProcessos_Trabalhos_Tarefas SET closed = 1 WHERE tarefa_id = 822"_s);
        QList<qint64> seen;
        QStringList rows;
        f.scripts << [&](QDialog& dialog) {
            auto* filter = dialog.findChild<QLineEdit*>(u"FXFiltro"_s);
            filter->setFocus();
            hands::typeInto(*filter, row.typed);
            seen = shownIds(dialog);
            rows = rowsOf(list(dialog));
            for (int i = 0; i < row.downs; ++i) {
                QTest::keyClick(filter, Qt::Key_Down);
            }
            if (row.key == Qt::Key_unknown) {
                Q_EMIT list(dialog).itemDoubleClicked(list(dialog).currentItem(), 0);
            } else {
                QTest::keyClick(filter, row.key);
            }
        };
        editors::DialogWorkAssistant assistant;
        data::StatementLog::clear();
        QCOMPARE(f.signedOn(assistant).SelectWork(), row.chosen);
        QCOMPARE(seen, row.shown);
        // Every work item with a pending task is listed, the filter only hiding rows.
        QCOMPARE(rows, (QStringList{u"2009/015|Cliente Alfa|Contestação|Ana Lopes|1"_s,
                                    u"2010/100%|João Gonçalves, Lda|Penhora|Bruno Sá|1"_s,
                                    u"2010/100%|João Gonçalves, Lda|Acção executiva|Ana Lopes|1"_s}));
        QVERIFY(row.typed.isEmpty() || data::StatementLog::statements().filter(row.typed).isEmpty());
        QVERIFY(EditorFixture::writes().isEmpty());
    }

    // The wizard offers the lawyer's open tasks and registers an entry for the one chosen.
    void theWizardRegistersAnEntryForTheTaskChosen()
    {
        EditorFixture f;
        addMoreWork(f);
        f.office.addTask(823, 81, u"Alegações finais"_s);
        f.office.addTask(824, 81, u"Custas"_s);
        f.office.database().exec(u"UPDATE tbProcessos_Trabalhos_Tarefas SET closed = 1 WHERE tarefa_id = 823"_s);
        f.office.database().exec(u"UPDATE tbProcessos_Trabalhos_Tarefas SET closed = NULL WHERE tarefa_id = 824"_s);
        editors::DialogWorkAssistant assistant;
        f.scripts << [](QDialog& dialog) { hands::press(dialog, Qt::Key_Escape); };
        QVERIFY(!f.signedOn(assistant).NewEntryWizard());
        QCOMPARE(f.dialogsRun, QStringList{u"frmTarefas"_s});
        QVERIFY(EditorFixture::writes().isEmpty());
        QList<qint64> offered;
        f.scripts << [&](QDialog& dialog) {
            offered = shownIds(dialog);
            hands::typeInto(*dialog.findChild<QLineEdit*>(u"FXFiltro"_s), u"alegacoes"_s);
            hands::press(dialog, Qt::Key_Return);
        };
        f.scripts << [](QDialog& dialog) {
            QCOMPARE(hands::field(dialog, u"FXTarefa"_s).text(), u"Alegações"_s);
            hands::type(dialog, u"FXUnidades"_s, u"20"_s);
            hands::press(dialog, Qt::Key_Return);
        };
        QVERIFY(assistant.NewEntryWizard());
        QCOMPARE(offered, (QList<qint64>{812, 821, 822, 824}));
        QCOMPARE(f.dialogsRun, (QStringList{"frmTarefas", "frmTarefas", "frmLancamentoNovo"}));
        QCOMPARE(EditorFixture::writes().size(), 1);
        QCOMPARE(f.stored(u"SELECT tarefa_id, trabalho_id, processo_id, contacto_id, advogado_id, base_id, "
                          "unidades, preco_id, preco, inprogress, closed FROM "
                          "tbProcessos_Trabalhos_Tarefas_Lancamentos"_s),
                 u"822|81|16|403|9|1|20|2|45.5|0|0"_s);
    }
};

QTEST_MAIN(TestRecordEditors)
#include "test_recordeditors.moc"
