#include "editors/recordeditors.h"
#include "testsupport/editorfixture.h"

#include <QCheckBox>

using testsupport::OfficeFixture;

namespace {

const QString Table = QStringLiteral("tbProcessos_Trabalhos_Tarefas");

} // namespace

class TestTaskEditor : public QObject
{
    Q_OBJECT

    void open(EditorFixture& f, editors::DialogTaskEditor& editor)
    {
        f.openRecord(editor, &editors::DialogTaskEditor::OpenRecord, Table, QStringLiteral("tarefa_id"),
                     OfficeFixture::Task, &f.owner);
    }

private Q_SLOTS:
    // One write, and the task holds what was typed, blanks at either end left out, whatever its quotes.
    void savesWithOneUpdate_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("hide");
        QTest::addColumn<bool>("finish");
        QTest::addColumn<QString>("stored");
        QTest::newRow("plain") << "Rever contestação" << false << false << "Rever contestação|0|0";
        QTest::newRow("apostrophes and a semicolon, hidden")
            << "d'Ávila; DROP TABLE tbUsers --" << true << false << "d'Ávila; DROP TABLE tbUsers --|1|0";
        QTest::newRow("blanks at either end, quotes and percent, finished")
            << "  50% \"urgente\"  " << false << true << "50% \"urgente\"|0|1";
        QTest::newRow("255 characters, the most a description holds")
            << QString(255, u'é') << false << false << QString(255, u'é') + QStringLiteral("|0|0");
    }
    void savesWithOneUpdate()
    {
        QFETCH(QString, typed);
        QFETCH(bool, hide);
        QFETCH(bool, finish);
        QFETCH(QString, stored);
        EditorFixture f;
        f.scripts << [&](QDialog& dialog) {
            QCOMPARE(hands::field(dialog, QStringLiteral("FXDossier")).text(), QStringLiteral("2009/015"));
            QCOMPARE(hands::field(dialog, QStringLiteral("FXCliente")).text(), QStringLiteral("Cliente Alfa"));
            QCOMPARE(hands::field(dialog, QStringLiteral("FXTrabalho")).text(), QStringLiteral("Contestação"));
            QCOMPARE(hands::field(dialog, QStringLiteral("FXDescrit")).text(), QStringLiteral("Redigir contestação"));
            hands::paste(dialog, QStringLiteral("FXDescrit"), typed);
            dialog.findChild<QCheckBox*>(QStringLiteral("FXEscondida"))->setChecked(hide);
            dialog.findChild<QCheckBox*>(QStringLiteral("FXClosed"))->setChecked(finish);
            hands::press(dialog, Qt::Key_Return);
        };
        editors::DialogTaskEditor editor;
        open(f, f.signedOn(editor));
        QCOMPARE(EditorFixture::writes().size(), 1);
        QCOMPARE(f.stored(QStringLiteral("SELECT descrit, escondida, closed FROM %1 WHERE tarefa_id = 812").arg(Table)),
                 stored);
        QCOMPARE(f.owner.remoteKeys, (QList<QPair<int, int>>{{812, 4003}}));
        QVERIFY(f.boxes.shown().isEmpty());
    }

    // A description the database cannot hold is refused with a message naming the field: nothing is sent
    // and the dialog stays open for a correction.
    void refusesWhatCannotBeStored_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("message");
        QTest::newRow("blank") << QStringLiteral("   ") << QStringLiteral("não pode ficar vazio");
        QTest::newRow("256 characters, one past the most")
            << QString(256, QLatin1Char('x')) << QStringLiteral("tem 256 caracteres; o máximo é 255");
        QTest::newRow("outside Windows-1252") << QStringLiteral("Prazo 期限") << QStringLiteral("não guarda");
        QTest::newRow("a control character") << QStringLiteral("a\tb") << QStringLiteral("não guarda");
    }
    void refusesWhatCannotBeStored()
    {
        QFETCH(QString, typed);
        QFETCH(QString, message);
        EditorFixture f;
        bool stayedOpen = false;
        f.scripts << [&](QDialog& dialog) {
            hands::paste(dialog, QStringLiteral("FXDescrit"), typed);
            hands::press(dialog, Qt::Key_Return);
            stayedOpen = dialog.isVisible();
            hands::press(dialog, Qt::Key_Escape);
        };
        editors::DialogTaskEditor editor;
        open(f, f.signedOn(editor));
        QVERIFY(stayedOpen);
        QCOMPARE(f.boxes.shown().size(), 1);
        QVERIFY2(f.boxes.shown().first().text.contains(message), qPrintable(f.boxes.shown().first().text));
        QVERIFY(f.boxes.shown().first().text.contains(QStringLiteral("«Descrição»")));
        QVERIFY(EditorFixture::writes().isEmpty());
        QVERIFY(f.owner.remoteKeys.isEmpty());
    }

    // Another user changed the task after the dialog loaded it: the save says so, writes nothing and, on
    // request, shows the task as it is now.
    void aConcurrentChangeIsNeverOverwritten_data()
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
    void aConcurrentChangeIsNeverOverwritten()
    {
        QFETCH(QString, otherChange);
        QFETCH(core::Answer, reload);
        EditorFixture f;
        f.boxes.setNextAnswers({reload});
        const auto before = [&] { return f.office.database().select(QStringLiteral("SELECT * FROM %1").arg(Table)); };
        QString shownAfter;
        QList<QVariantList> afterOther;
        f.scripts << [&](QDialog& dialog) {
            hands::type(dialog, QStringLiteral("FXDescrit"), QStringLiteral("Minha versão"));
            f.office.database().exec(otherChange);
            afterOther = before();
            hands::press(dialog, Qt::Key_Return);
            shownAfter = hands::field(dialog, QStringLiteral("FXDescrit")).text();
        };
        editors::DialogTaskEditor editor;
        open(f, f.signedOn(editor));
        QCOMPARE(EditorFixture::writes().size(), 1); // the one conditional statement, which changed nothing
        QCOMPARE(before(), afterOther);
        QCOMPARE(f.boxes.shown().size(), 1);
        QVERIFY(f.boxes.shown().first().text.startsWith(QStringLiteral("Outro utilizador alterou")));
        QCOMPARE(shownAfter,
                 reload == core::Answer::Yes
                     ? f.office.database().scalar(QStringLiteral("SELECT descrit FROM %1").arg(Table)).toString()
                     : QStringLiteral("Minha versão"));
        QVERIFY(f.owner.remoteKeys.isEmpty());
    }

    // A task whose time is being counted (here or on another workstation) is never finished from the editor:
    // the entry would stay running with nothing left to stop it. The refusal is the list command's; other
    // changes to the task are saved as usual.
    void refusesToFinishACountedTask_data()
    {
        QTest::addColumn<bool>("finish");
        QTest::addColumn<bool>("saved");
        QTest::newRow("finished") << true << false;
        QTest::newRow("only renamed") << false << true;
    }
    void refusesToFinishACountedTask()
    {
        QFETCH(bool, finish);
        QFETCH(bool, saved);
        EditorFixture f;
        f.office.addRunningEntry(OfficeFixture::Task, QDateTime(QDate(2009, 11, 10), QTime(14, 0)));
        bool stayedOpen = false;
        f.scripts << [&](QDialog& dialog) {
            hands::type(dialog, QStringLiteral("FXDescrit"), QStringLiteral("Rever"));
            dialog.findChild<QCheckBox*>(QStringLiteral("FXClosed"))->setChecked(finish);
            hands::press(dialog, Qt::Key_Return);
            stayedOpen = dialog.isVisible();
            if (stayedOpen) {
                hands::press(dialog, Qt::Key_Escape);
            }
        };
        editors::DialogTaskEditor editor;
        open(f, f.signedOn(editor));
        QCOMPARE(stayedOpen, !saved);
        QCOMPARE(f.office.database().scalar(QStringLiteral("SELECT closed FROM %1").arg(Table)).toInt(), 0);
        QCOMPARE(f.office.database().scalar(QStringLiteral("SELECT descrit FROM %1").arg(Table)).toString(),
                 saved ? QStringLiteral("Rever") : QStringLiteral("Redigir contestação"));
        QCOMPARE(f.shownTexts(), saved
                                     ? QStringList()
                                     : QStringList{QStringLiteral(
                                           "Não pode finalizar esta tarefa sem primeiro terminar o contador activo.")});
    }

    void aDeletedTaskClosesTheDialog()
    {
        EditorFixture f;
        f.scripts << [&](QDialog& dialog) {
            f.office.database().exec(QStringLiteral("DELETE FROM %1 WHERE tarefa_id = 812").arg(Table));
            hands::press(dialog, Qt::Key_Return);
            QVERIFY(!dialog.isVisible());
        };
        editors::DialogTaskEditor editor;
        open(f, f.signedOn(editor));
        QCOMPARE(EditorFixture::writes().size(), 1);
        QVERIFY(f.shownTexts().first().contains(QStringLiteral("apagado por outro utilizador")));
        QVERIFY(f.owner.remoteKeys.isEmpty());
    }

    void escCancels()
    {
        EditorFixture f;
        f.scripts << [&](QDialog& dialog) {
            hands::type(dialog, QStringLiteral("FXDescrit"), QStringLiteral("Não gravar"));
            hands::press(dialog, Qt::Key_Escape);
        };
        editors::DialogTaskEditor editor;
        open(f, f.signedOn(editor));
        QCOMPARE(f.dialogsRun, QStringList{QStringLiteral("frmTarefa")});
        QVERIFY(EditorFixture::writes().isEmpty());
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
        editors::DialogTaskEditor editor;
        open(f, f.signedOn(editor));
        data::StatementFailures::clear();
        QVERIFY(stayedOpen);
        QCOMPARE(f.reports.procedures(), QStringList{QStringLiteral("cmdGravar_Click")});
        QVERIFY(f.owner.remoteKeys.isEmpty());
    }
};

QTEST_MAIN(TestTaskEditor)
#include "test_taskeditor.moc"
