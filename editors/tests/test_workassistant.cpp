#include "editors/pickerdialog.h"
#include "editors/workassistant.h"
#include "testsupport/editorfixture.h"

#include <QTreeWidget>

using testsupport::OfficeFixture;

namespace {

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

class TestWorkAssistant : public QObject
{
    Q_OBJECT

private Q_SLOTS:
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
        QFETCH(QList<qint64>, shown);
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
        QCOMPARE(seen, shown);
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
        QFETCH(int, chosen);
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
        QCOMPARE(f.signedOn(assistant).SelectWork(), chosen);
        QVERIFY(EditorFixture::writes().isEmpty());
    }

    void aDoubleClickChooses()
    {
        EditorFixture f;
        addMoreWork(f);
        f.scripts << [&](QDialog& dialog) {
            QTreeWidgetItem* item = list(dialog).topLevelItem(2);
            list(dialog).setCurrentItem(item);
            Q_EMIT list(dialog).itemDoubleClicked(item, 0);
        };
        editors::DialogWorkAssistant assistant;
        QCOMPARE(f.signedOn(assistant).SelectWork(), 81);
    }

    void listsEveryWorkItemWithItsPendingTasks()
    {
        EditorFixture f;
        addMoreWork(f);
        f.office.database().exec(
            QStringLiteral("UPDATE tbProcessos_Trabalhos_Tarefas SET closed = 1 WHERE tarefa_id = 822"));
        QStringList rows;
        f.scripts << [&](QDialog& dialog) {
            for (int i = 0; i < list(dialog).topLevelItemCount(); ++i) {
                QStringList cells;
                for (int c = 0; c < list(dialog).columnCount(); ++c) {
                    cells << list(dialog).topLevelItem(i)->text(c);
                }
                rows << cells.join(QLatin1Char('|'));
            }
        };
        editors::DialogWorkAssistant assistant;
        f.signedOn(assistant).SelectWork();
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
        editors::DialogWorkAssistant assistant;
        QVERIFY(f.signedOn(assistant).NewEntryWizard());
        QCOMPARE(offered, (QList<qint64>{812, 821, 822, 824}));
        QCOMPARE(f.dialogsRun, (QStringList{QStringLiteral("frmTarefas"), QStringLiteral("frmLancamentoNovo")}));
        QCOMPARE(EditorFixture::writes().size(), 1);
        QCOMPARE(
            f.stored(QStringLiteral("SELECT tarefa_id, trabalho_id, processo_id, contacto_id, advogado_id, base_id, "
                                    "unidades, preco_id, preco, inprogress, closed FROM "
                                    "tbProcessos_Trabalhos_Tarefas_Lancamentos")),
            QStringLiteral("822|81|16|403|9|1|20|2|45.5|0|0"));
    }

    void cancellingTheWizardWritesNothing()
    {
        EditorFixture f;
        f.scripts << [](QDialog& dialog) { hands::press(dialog, Qt::Key_Escape); };
        editors::DialogWorkAssistant assistant;
        QVERIFY(!f.signedOn(assistant).NewEntryWizard());
        QCOMPARE(f.dialogsRun, QStringList{QStringLiteral("frmTarefas")});
        QVERIFY(EditorFixture::writes().isEmpty());
    }
};

QTEST_MAIN(TestWorkAssistant)
#include "test_workassistant.moc"
