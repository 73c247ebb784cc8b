// Every editor on the demo office, as a lawyer sees it: each fits a 1366x768 screen, names every field
// for assistive technology, and leaves its picture in build/screenshots/editors/demo-<dialog>.png.
#include "data/connection.h"
#include "data/connectiontext.h"
#include "editors/editorseams.h"
#include "editors/recordeditors.h"
#include "scramble/modencriptserial.h"
#include "session/modcode.h"
#include "testsupport/recordedreports.h"
#include "testsupport/scriptedmessageboxes.h"
#include "tools/demooffice.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDialog>
#include <QDir>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

namespace {

// The first value of the first row of statement on the shared connection.
qint64 first(const QString& statement)
{
    auto records = data::Data::SqlServer().openRecordset(statement);
    const qint64 value = records->eof() ? 0 : records->value(records->fieldNames().first()).toLongLong();
    records->close();
    return value;
}

} // namespace

class TestEditorScreens : public QObject
{
    Q_OBJECT

    QTemporaryDir m_folder;
    testsupport::ScriptedMessageBoxes m_boxes;
    testsupport::RecordedReports m_reports;
    editors::DialogComponentFactory m_factory;
    QStringList m_pictures;
    QStringList m_faults;

    template <typename Component> std::unique_ptr<Component> signedOn(std::unique_ptr<Component> component)
    {
        QString name = session::modCode::UserName;
        QString password = scramble::modEncriptSerial::EncriptSerial(session::modCode::UserPassword);
        component->SignOn(name, password);
        return component;
    }

    template <typename Component, typename Open>
    void open(Component& component, Open call, const QString& table, const QString& key, qint64 id)
    {
        QVERIFY2(id != 0, qPrintable(table));
        auto record = data::Data::SqlServer().openRecordset(
            QStringLiteral("SELECT * FROM %1 WHERE %2 = %3").arg(table, key).arg(id));
        QVariant ID = id;
        QString t1, t2;
        int n1 = 0, n2 = 0, n3 = 0;
        (component.*call)(*record, ID, t1, t2, nullptr, n1, n2, n3);
        record->close();
    }

private Q_SLOTS:
    void initTestCase()
    {
        const QString path = m_folder.filePath(QStringLiteral("orvdemo.db"));
        tools::DemoOffice(QDate(2009, 11, 16)).build(path);
        data::Data::SqlServer().open(
            data::ConnectionText::forLogin(QStringLiteral("False"), tools::DemoOffice::sharedUser(),
                                           tools::DemoOffice::sharedPassword(), tools::DemoOffice::catalog(), path));
        session::modCode::UserName = QStringLiteral("mferreira");
        session::modCode::UserPassword = QStringLiteral("demo");
        session::modCode::Connected = true;
        session::modCode::AdvogadoID =
            static_cast<qint32>(first(QStringLiteral("SELECT contacto_id FROM tbUsers WHERE descrit = 'mferreira'")));
        qputenv("ORV_DOCUMENTS_DIR", m_folder.filePath(QStringLiteral("Documentos")).toUtf8());
        editors::setFolderOpener([](const QUrl&) { return true; });
        editors::setDialogRunner([this](QDialog& dialog) {
            dialog.show();
            const QString name = QStringLiteral("demo-") + dialog.objectName();
            const QString folder =
                QCoreApplication::applicationDirPath() + QStringLiteral("/../../screenshots/editors");
            QDir().mkpath(folder);
            if (dialog.grab().save(folder + QLatin1Char('/') + name + QStringLiteral(".png"))) {
                m_pictures << dialog.objectName();
            }
            if (dialog.width() > 1366 || dialog.height() > 728) {
                m_faults
                    << QStringLiteral("%1 is %2x%3").arg(dialog.objectName()).arg(dialog.width()).arg(dialog.height());
            }
            const auto unnamed = [&](QWidget* input) {
                if (input->accessibleName().trimmed().isEmpty()) {
                    m_faults << dialog.objectName() + QLatin1Char('.') + input->objectName();
                }
            };
            for (QWidget* input : dialog.findChildren<QLineEdit*>()) {
                unnamed(input);
            }
            for (QWidget* input : dialog.findChildren<QCheckBox*>()) {
                unnamed(input);
            }
            for (QWidget* input : dialog.findChildren<QTreeWidget*>()) {
                unnamed(input);
            }
            dialog.reject();
            return dialog.result();
        });
    }

    void cleanupTestCase()
    {
        editors::setDialogRunner({});
        editors::setFolderOpener({});
        session::modCode::Connected = false;
        data::Data::SqlServer().close();
    }

    void everyDialog()
    {
        const qint32 lawyer = session::modCode::AdvogadoID;
        const qint64 task = first(QStringLiteral("SELECT tarefa_id FROM vwProcessos_Trabalhos_Tarefas WHERE "
                                                 "advogado_id = %1 AND closed = 0 ORDER BY tarefa_id")
                                      .arg(lawyer));
        const qint64 work = first(QStringLiteral("SELECT w.trabalho_id FROM tbProcessos_Trabalhos w INNER JOIN "
                                                 "tbProcessos p ON p.processo_id = w.processo_id WHERE p.judicial <> 0 "
                                                 "ORDER BY w.trabalho_id"));
        const qint64 caseId =
            first(QStringLiteral("SELECT processo_id FROM tbProcessos_Trabalhos WHERE trabalho_id = %1").arg(work));
        const qint64 entry = first(QStringLiteral("SELECT lancamento_id FROM tbProcessos_Trabalhos_Tarefas_Lancamentos "
                                                  "WHERE inprogress = 0 AND advogado_id = %1 ORDER BY lancamento_id")
                                       .arg(lawyer));

        auto taskEditor = signedOn(m_factory.createTaskEditor());
        open(*taskEditor, &external::TaskEditor::OpenRecord, QStringLiteral("tbProcessos_Trabalhos_Tarefas"),
             QStringLiteral("tarefa_id"), task);
        auto workEditor = signedOn(m_factory.createWorkEditor());
        open(*workEditor, &external::WorkEditor::EditDeadlines, QStringLiteral("tbProcessos_Trabalhos"),
             QStringLiteral("trabalho_id"), work);
        auto caseEditor = signedOn(m_factory.createCaseEditor());
        open(*caseEditor, &external::CaseEditor::OpenRecord, QStringLiteral("tbProcessos"),
             QStringLiteral("processo_id"), caseId);
        auto entryEditor = signedOn(m_factory.createTimeEntryEditor());
        open(*entryEditor, &external::TimeEntryEditor::OpenRecord,
             QStringLiteral("tbProcessos_Trabalhos_Tarefas_Lancamentos"), QStringLiteral("lancamento_id"), entry);
        int client = static_cast<int>(
            first(QStringLiteral("SELECT contacto_id FROM tbProcessos WHERE processo_id = %1").arg(caseId)));
        int caseNumber = static_cast<int>(caseId);
        int taskId = static_cast<int>(task);
        int advogado = lawyer;
        entryEditor->NewEntry(client, caseNumber, taskId, advogado, nullptr);
        auto assistant = signedOn(m_factory.createWorkAssistant());
        assistant->SelectWork();
        assistant->NewEntryWizard();

        QCOMPARE(m_pictures,
                 (QStringList{QStringLiteral("frmTarefa"), QStringLiteral("frmTrabalho"), QStringLiteral("frmDossier"),
                              QStringLiteral("frmLancamento"), QStringLiteral("frmLancamentoNovo"),
                              QStringLiteral("frmTrabalhos"), QStringLiteral("frmTarefas")}));
        QCOMPARE(m_faults, QStringList{});
        QVERIFY(m_boxes.shown().isEmpty());
        QVERIFY(m_reports.reports().isEmpty());
    }
};

QTEST_MAIN(TestEditorScreens)
#include "test_editorscreens.moc"
