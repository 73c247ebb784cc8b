// The editors with the counter window as their owner: a save shows in the pending list at once.
#include "counter/tests/windowfixture.h"
#include "editors/editorseams.h"
#include "editors/recordeditors.h"
#include "scramble/modencriptserial.h"

#include <QDialog>
#include <QLineEdit>

using testsupport::OfficeFixture;

namespace {

// The counter window as the editors' owner. Until the window's commands create the editors themselves,
// the test hands the window's RemoteKey to them as a command would.
struct CounterOwner final : external::EditorOwner {
    explicit CounterOwner(counter::frmCounter& window)
        : m_window(window)
    {}
    void SetTrayIcon(int& image, const QString& tip) override { m_window.SetTrayIcon(image, tip); }
    void RemoteKey(int ID, int Flag) override { m_window.RemoteKey(ID, Flag); }
    counter::frmCounter& m_window;
};

template <typename Component> Component& signedOn(Component& component)
{
    session::modCode::UserPassword = QStringLiteral("segredo");
    session::modCode::Connected = true;
    QString name = session::modCode::UserName;
    QString password = scramble::modEncriptSerial::EncriptSerial(session::modCode::UserPassword);
    component.SignOn(name, password);
    return component;
}

void runDialogsWith(const std::function<void(QDialog&)>& script)
{
    editors::setDialogRunner([script](QDialog& dialog) {
        dialog.show();
        script(dialog);
        if (dialog.isVisible()) {
            dialog.reject();
        }
        return dialog.result();
    });
}

} // namespace

class TestEditorsOnCounter : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { editors::setDialogRunner({}); }

    void aTaskSavedInItsEditorIsShownSelected()
    {
        WindowFixture f;
        f.office.addWork(78, OfficeFixture::Case, OfficeFixture::Lawyer, QStringLiteral("Recurso"));
        f.office.addTask(813, 78, QStringLiteral("Alegações"));
        f.load();
        f.list().selectRow(f.row(813));
        runDialogsWith([](QDialog& dialog) {
            auto* description = dialog.findChild<QLineEdit*>(QStringLiteral("FXDescrit"));
            description->setText(QStringLiteral("Rever a contestação"));
            QTest::keyClick(description, Qt::Key_Return);
        });
        CounterOwner owner(*f.window);
        editors::DialogTaskEditor editor;
        auto record = data::Data::SqlServer().openRecordset(
            QStringLiteral("SELECT * FROM tbProcessos_Trabalhos_Tarefas WHERE tarefa_id = 812"));
        QVariant id = record->value(QStringLiteral("tarefa_id"));
        QString t1, t2;
        int n1 = 0, n2 = 0, n3 = 0;
        signedOn(editor).OpenRecord(*record, id, t1, t2, &owner, n1, n2, n3);
        record->close();

        const int row = f.row(OfficeFixture::Task);
        QCOMPARE(f.list().cellText(row, 0), QStringLiteral("Rever a contestação"));
        QCOMPARE(f.list().selectedRow(), row);
    }

    void thirtyMinutesRegisteredGrowTheTasksTotal()
    {
        WindowFixture f;
        f.office.database().exec(QStringLiteral(
            "INSERT INTO tbProcessos_Trabalhos_Tarefas_Lancamentos (tarefa_id, trabalho_id, processo_id, contacto_id, "
            "data, data_fim, advogado_id, base_id, unidades, preco_id, inprogress, closed) VALUES (812, 77, 15, 402, "
            "'2009-11-13 10:00:00', '2009-11-13 10:45:00', 9, 1, 45, 2, 0, 0)"));
        f.load();
        const QString before = f.list().cellText(f.row(OfficeFixture::Task), 2);
        runDialogsWith([](QDialog& dialog) {
            auto* minutes = dialog.findChild<QLineEdit*>(QStringLiteral("FXUnidades"));
            minutes->setText(QStringLiteral("30"));
            QTest::keyClick(minutes, Qt::Key_Return);
        });
        CounterOwner owner(*f.window);
        editors::DialogTimeEntryEditor editor;
        int client = OfficeFixture::Client, caseId = OfficeFixture::Case, task = OfficeFixture::Task,
            lawyer = OfficeFixture::Lawyer;
        signedOn(editor).NewEntry(client, caseId, task, lawyer, &owner);

        QCOMPARE(before, QStringLiteral("45,00"));
        QCOMPARE(f.list().cellText(f.row(OfficeFixture::Task), 2), QStringLiteral("75,00"));
        QVERIFY(f.boxes.shown().isEmpty());
    }
};

QTEST_MAIN(TestEditorsOnCounter)
#include "test_editorsoncounter.moc"
