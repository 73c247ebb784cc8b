#include "windowfixture.h"

#include <QAction>
#include <QCheckBox>
#include <QTimer>

using testsupport::OfficeFixture;

namespace {

const QString Insert812 = QStringLiteral(
    "INSERT INTO tbProcessos_Trabalhos_Tarefas_Lancamentos (tarefa_id, trabalho_id, processo_id, contacto_id, data, "
    "data_fim, advogado_id, base_id, unidades, preco_id, preco, inprogress, closed, inprogress_time) VALUES (812, 77, "
    "15, 402, GETDATE(), null, 9, 1, 0, 2, 45.5, 1, 0, GETDATE())");

QString startFailure(const char* field)
{
    return QStringLiteral("Erro no campo %1. Não foi possível iniciar o registo. Contacto o Administrador do Sistema.")
        .arg(QLatin1String(field));
}

} // namespace

class TestCounting : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void tickingATaskOpensAnEntry()
    {
        WindowFixture f;
        f.load();
        f.clock.advanceSeconds(7);
        f.toggle(OfficeFixture::Task);

        QCOMPARE(f.sent(QStringLiteral("INSERT")), QStringList{Insert812});
        QCOMPARE(f.sent(QStringLiteral("SELECT @@Identity")), QStringList{QStringLiteral("SELECT @@Identity as last")});
        const qint64 entry = f.office.database()
                                 .scalar(QStringLiteral("SELECT lancamento_id FROM tbProcessos_Trabalhos_Tarefas_"
                                                        "Lancamentos WHERE inprogress = 1 AND tarefa_id = 812"))
                                 .toLongLong();
        const int row = f.row(OfficeFixture::Task);
        QVERIFY(f.list().checked(row));
        QCOMPARE(f.list().cellText(row, 7), QStringLiteral("16-11-2009 09:00:07"));
        QCOMPARE(f.list().cellText(row, 9), QString::number(entry));
        QVERIFY(f.window->findChild<QTimer*>(QStringLiteral("Timer1"))->isActive());
        QVERIFY(f.boxes.shown().isEmpty());
    }

    void unticking_data()
    {
        QTest::addColumn<int>("serverAheadSeconds");
        QTest::addColumn<int>("elapsedSeconds");
        QTest::addColumn<int>("minutes"); // 0: the entry is deleted
        QTest::newRow("1:20 deleted") << 0 << 80 << 0;
        QTest::newRow("1:30 to the even 2") << 0 << 90 << 2;
        QTest::newRow("1:40") << 0 << 100 << 2;
        QTest::newRow("2:20") << 0 << 140 << 2;
        QTest::newRow("2:30 to the even 2") << 0 << 150 << 2;
        QTest::newRow("2:40") << 0 << 160 << 3;
        QTest::newRow("workstation behind the server") << 600 << 300 << 0;
        QTest::newRow("workstation ahead of the server") << -60 << 60 << 2;
    }
    void unticking()
    {
        QFETCH(int, serverAheadSeconds);
        QFETCH(int, elapsedSeconds);
        QFETCH(int, minutes);
        WindowFixture f;
        f.office.database().setServerClock([&] { return f.clock.now().addSecs(serverAheadSeconds); });
        f.load();
        f.toggle(OfficeFixture::Task);
        const QString entry = f.list().cellText(f.row(OfficeFixture::Task), 9);
        f.clock.advanceSeconds(elapsedSeconds);
        data::StatementLog::clear();
        f.toggle(OfficeFixture::Task);

        const QString where = QStringLiteral(" WHERE lancamento_id = ") + entry;
        if (minutes == 0) {
            QCOMPARE(f.office.entryCount(), 0);
            QCOMPARE(f.sent(QStringLiteral("DELETE")),
                     QStringList{QStringLiteral("DELETE FROM tbProcessos_Trabalhos_Tarefas_Lancamentos") + where});
            QVERIFY(!f.list().checked(f.row(OfficeFixture::Task)));
        } else {
            QCOMPARE(f.sent(QStringLiteral("UPDATE")),
                     QStringList{QStringLiteral("UPDATE tbProcessos_Trabalhos_Tarefas_Lancamentos SET data_fim = "
                                                "GETDATE(), inprogress = 0, unidades = %1")
                                     .arg(minutes) +
                                 where});
            QCOMPARE(f.office.minutesOf(entry.toLongLong()).toInt(), minutes);
            QCOMPARE(f.office.runningCount(), 0);
            const int row = f.row(OfficeFixture::Task);
            QVERIFY(!f.list().checked(row));
            QCOMPARE(f.list().selectedRow(), row);
            QCOMPARE(f.list().cellText(row, 9), QStringLiteral(" "));
        }
        QVERIFY(f.reports.reports().isEmpty());
    }

    void tickingASecondTask_data()
    {
        QTest::addColumn<bool>("multitasking");
        QTest::newRow("without multitasking the first task stops") << false;
        QTest::newRow("with multitasking both run") << true;
    }
    void tickingASecondTask()
    {
        QFETCH(bool, multitasking);
        WindowFixture f;
        f.office.addTask(813, OfficeFixture::Work, QStringLiteral("Juntar documentos"), false, f.clock.now());
        f.load();
        f.window->findChild<QCheckBox*>(QStringLiteral("FXMultitarefa"))->setChecked(multitasking);
        f.toggle(OfficeFixture::Task);
        const qint64 first = f.list().cellText(f.row(OfficeFixture::Task), 9).toLongLong();
        f.clock.advanceMinutes(5);
        f.toggle(813);

        QCOMPARE(f.office.runningCount(), multitasking ? 2 : 1);
        QCOMPARE(f.office.minutesOf(first).toInt(), multitasking ? 0 : 5);
        QCOMPARE(f.list().checked(f.row(OfficeFixture::Task)), multitasking);
        if (!multitasking) {
            QCOMPARE(f.list().selectedRow(), f.row(OfficeFixture::Task));
        }
        const int b = f.row(813);
        QVERIFY(f.list().checked(b));
        QCOMPARE(f.list().cellText(b, 7), QStringLiteral("16-11-2009 09:05:00"));
        const QVariant second = f.office.database().scalar(QStringLiteral(
            "SELECT lancamento_id FROM tbProcessos_Trabalhos_Tarefas_Lancamentos WHERE tarefa_id = 813"));
        QCOMPARE(f.list().cellText(b, 9), second.toString());
    }

    void aStartThatCannotFindItsRecordsIsUndone_data()
    {
        QTest::addColumn<QString>("damage");
        QTest::addColumn<QString>("message");
        QTest::newRow("task without work item")
            << "UPDATE tbProcessos_Trabalhos_Tarefas SET trabalho_id = NULL" << startFailure("TRABALHO_ID");
        QTest::newRow("work item without case")
            << "UPDATE tbProcessos_Trabalhos SET processo_id = NULL" << startFailure("Processo_ID");
        QTest::newRow("case without client")
            << "UPDATE tbProcessos SET contacto_id = NULL" << startFailure("Contacto_ID");
        QTest::newRow("no counting basis")
            << "UPDATE tbProcessos_Trabalhos_Tarefas_Lancamentos_Bases SET counter = 0" << startFailure("Base_ID");
        QTest::newRow("no price rule") << "UPDATE tbProcessos_Trabalhos_Tarefas_Lancamentos_Precos SET counter = 0"
                                       << startFailure("Preco_ID");
    }
    void aStartThatCannotFindItsRecordsIsUndone()
    {
        QFETCH(QString, damage);
        QFETCH(QString, message);
        WindowFixture f;
        f.load();
        f.office.database().exec(damage);
        f.toggle(OfficeFixture::Task);

        QCOMPARE(f.boxes.shown().size(), 1);
        const core::Message& shown = f.boxes.shown().first();
        QCOMPARE(shown.text, message);
        QCOMPARE(shown.title, QStringLiteral("Orv_Couter"));
        QCOMPARE(shown.buttons, core::Buttons::Ok);
        QCOMPARE(shown.icon, core::Icon::Critical);
        QVERIFY(!f.list().checked(f.row(OfficeFixture::Task)));
        QVERIFY(f.sent(QStringLiteral("INSERT")).isEmpty());
        QCOMPARE(f.office.entryCount(), 0);
    }

    void theTaskCommandsAreOfferedOnlyForARow_data()
    {
        QTest::addColumn<QList<int>>("clicks"); // a row, or -1 for empty space; the last click is the right one
        QTest::addColumn<bool>("enabled");
        QTest::newRow("right click on a row") << QList<int>{0} << true;
        QTest::newRow("right click on empty space") << QList<int>{-1} << false;
        QTest::newRow("left click on a row, then right on empty space") << QList<int>{0, -1} << false;
    }
    void theTaskCommandsAreOfferedOnlyForARow()
    {
        QFETCH(QList<int>, clicks);
        QFETCH(bool, enabled);
        WindowFixture f;
        f.load();
        QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
        counter::ListView& list = f.list();
        for (int i = 0; i < clicks.size(); ++i) {
            const QPoint where = clicks[i] < 0 ? QPoint(20, list.viewport()->height() - 5)
                                               : list.visualRect(list.model()->index(clicks[i], 4)).center();
            QTest::mouseClick(list.viewport(), i + 1 == clicks.size() ? Qt::RightButton : Qt::LeftButton, {}, where);
        }
        QCOMPARE(f.popups, QStringList{QStringLiteral("mnList")});
        for (const char* name : {"mnListAbrir", "mnListLancamento", "mnListRemover", "mnListTerminar"}) {
            QCOMPARE(f.window->findChild<QAction*>(QLatin1String(name))->isEnabled(), enabled);
        }
        QCOMPARE(f.window->findChild<QMenu*>(QStringLiteral("mnListAbrirRelated"))->menuAction()->isEnabled(), enabled);
        for (const char* name : {"mnEsconder", "mnListTrabalho", "mnLancamentoNovo"}) {
            QVERIFY(f.window->findChild<QAction*>(QLatin1String(name))->isEnabled());
        }
    }

    void theHideCommandNamesWhatItWillDo()
    {
        WindowFixture f;
        f.office.addTask(813, OfficeFixture::Work, QStringLiteral("Escondida"), true);
        f.load();
        auto* command = f.window->findChild<QAction*>(QStringLiteral("mnEsconder"));
        Q_EMIT f.list().ItemClick(f.row(813), Qt::LeftButton);
        QCOMPARE(command->text(), QStringLiteral("Tornar visível"));
        Q_EMIT f.list().ItemClick(f.row(OfficeFixture::Task), Qt::RightButton);
        QCOMPARE(command->text(), QStringLiteral("Esconder"));
    }
};

QTEST_MAIN(TestCounting)
#include "test_counting.moc"
