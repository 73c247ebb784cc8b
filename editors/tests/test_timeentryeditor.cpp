#include "editors/recordeditors.h"
#include "testsupport/editorfixture.h"

#include <QPushButton>

using testsupport::OfficeFixture;

namespace {

const QString Table = QStringLiteral("tbProcessos_Trabalhos_Tarefas_Lancamentos");

// A closed entry of lawyer 9 on task 812, 10:00 to 10:45, 45 minutes; returns its identifier.
qint64 addClosedEntry(EditorFixture& f)
{
    f.office.database().exec(
        QStringLiteral(
            "INSERT INTO %1 (tarefa_id, trabalho_id, processo_id, contacto_id, data, data_fim, advogado_id, base_id, "
            "unidades, preco_id, preco, inprogress, closed, descrit) VALUES (812, 77, 15, 402, '2009-11-13 10:00:00', "
            "'2009-11-13 10:45:00', 9, 1, 45, 2, 45.5, 0, 0, 'Reunião')")
            .arg(Table));
    return f.office.database().scalar(QStringLiteral("SELECT MAX(lancamento_id) FROM %1").arg(Table)).toLongLong();
}

} // namespace

class TestTimeEntryEditor : public QObject
{
    Q_OBJECT

    void open(EditorFixture& f, editors::DialogTimeEntryEditor& editor, qint64 entry)
    {
        f.openRecord(f.signedOn(editor), &editors::DialogTimeEntryEditor::OpenRecord, Table,
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
    void correctsAClosedEntry()
    {
        EditorFixture f;
        const qint64 entry = addClosedEntry(f);
        f.scripts << [](QDialog& dialog) {
            QCOMPARE(hands::field(dialog, QStringLiteral("FXTarefa")).text(), QStringLiteral("Redigir contestação"));
            QCOMPARE(hands::field(dialog, QStringLiteral("FXData_Inicio")).text(), QStringLiteral("13-11-2009 10:00"));
            hands::type(dialog, QStringLiteral("FXData_Fim"), QStringLiteral("13-11-2009 11:15"));
            hands::type(dialog, QStringLiteral("FXUnidades"), QStringLiteral("75"));
            hands::type(dialog, QStringLiteral("FXDescrit"), QStringLiteral("Reunião c/ cliente d'Ávila"));
            hands::press(dialog, Qt::Key_Return);
        };
        editors::DialogTimeEntryEditor editor;
        open(f, editor, entry);
        QCOMPARE(EditorFixture::writes().size(), 1);
        QCOMPARE(f.stored(QStringLiteral("SELECT data, data_fim, unidades, descrit FROM %1").arg(Table)),
                 QStringLiteral("2009-11-13 10:00:00|2009-11-13 11:15:00|75|Reunião c/ cliente d'Ávila"));
        QCOMPARE(f.owner.remoteKeys, (QList<QPair<int, int>>{{int(entry), 4004}}));
    }

    // Minutes typed move the end with them: the entry lasts what it counts.
    void theMinutesMoveTheEnd()
    {
        EditorFixture f;
        const qint64 entry = addClosedEntry(f);
        QString endShown;
        f.scripts << [&endShown](QDialog& dialog) {
            hands::type(dialog, QStringLiteral("FXUnidades"), QStringLiteral("90"));
            endShown = hands::field(dialog, QStringLiteral("FXData_Fim")).text();
            hands::press(dialog, Qt::Key_Return);
        };
        editors::DialogTimeEntryEditor editor;
        open(f, editor, entry);
        QCOMPARE(endShown, QStringLiteral("13-11-2009 11:30"));
        QCOMPARE(f.stored(QStringLiteral("SELECT data_fim, unidades FROM %1").arg(Table)),
                 QStringLiteral("2009-11-13 11:30:00|90"));
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
        editors::DialogTimeEntryEditor editor;
        open(f, editor, entry);
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
        editors::DialogTimeEntryEditor editor;
        open(f, editor, entry);
        QVERIFY(EditorFixture::writes().isEmpty());
        QVERIFY(f.owner.remoteKeys.isEmpty());
    }

    void aConcurrentChangeIsNeverOverwritten()
    {
        EditorFixture f;
        const qint64 entry = addClosedEntry(f);
        f.scripts << [&](QDialog& dialog) {
            hands::type(dialog, QStringLiteral("FXUnidades"), QStringLiteral("50"));
            f.office.database().exec(QStringLiteral("UPDATE %1 SET unidades = 40").arg(Table));
            hands::press(dialog, Qt::Key_Return);
        };
        editors::DialogTimeEntryEditor editor;
        open(f, editor, entry);
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
                              .arg(Table)),
                 stored);
        const qint64 entry =
            f.office.database().scalar(QStringLiteral("SELECT MAX(lancamento_id) FROM %1").arg(Table)).toLongLong();
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
};

QTEST_MAIN(TestTimeEntryEditor)
#include "test_timeentryeditor.moc"
