// The windows on the demo office, as a lawyer sees them, each leaving its picture under build/screenshots/:
// every editor (editors/demo-<dialog>.png), which also fits a 1366x768 screen and names every field for
// assistive technology; and both statistics tabs.
#include "counter/frmcounter.h"
#include "counter/listview/listview.h"
#include "counter/trayicon.h"
#include "data/connection.h"
#include "data/connectiontext.h"
#include "editors/editorseams.h"
#include "editors/recordeditors.h"
#include "testsupport/editorfixture.h"
#include "testsupport/login.h"
#include "testsupport/recordedreports.h"
#include "testsupport/screenshots.h"
#include "testsupport/scriptedmessageboxes.h"
#include "tools/demooffice.h"

#include <QCheckBox>
#include <QDateTimeEdit>
#include <QDialog>
#include <QLineEdit>
#include <QTabBar>
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

class TestScreens : public QObject
{
    Q_OBJECT

    const QDate m_day{2009, 11, 16};
    QTemporaryDir m_folder;
    testsupport::ScriptedMessageBoxes m_boxes;
    testsupport::RecordedReports m_reports;
    editors::DialogComponentFactory m_factory;
    QStringList m_pictures;
    QStringList m_faults;

    // Opens the record of table whose key is id in a component signed on as the session's user.
    template <typename Component, typename Open>
    void open(Component& component, Open call, const QString& table, const QString& key, qint64 id)
    {
        QVERIFY2(id != 0, qPrintable(table));
        EditorFixture::openRecord(EditorFixture::signedOn(component), call, table, key, id, nullptr);
    }

private Q_SLOTS:
    void initTestCase()
    {
        const QString path = m_folder.filePath(QStringLiteral("orvdemo.db"));
        tools::DemoOffice(m_day).build(path);
        data::Data::SqlServer().open(
            data::ConnectionText::forLogin(QStringLiteral("False"), tools::DemoOffice::sharedUser(),
                                           tools::DemoOffice::sharedPassword(), tools::DemoOffice::catalog(), path));
        testsupport::signIn(
            QStringLiteral("mferreira"),
            static_cast<qint32>(first(QStringLiteral("SELECT contacto_id FROM tbUsers WHERE descrit = 'mferreira'"))),
            QStringLiteral("demo"));
        qputenv("ORV_DOCUMENTS_DIR", m_folder.filePath(QStringLiteral("Documentos")).toUtf8());
        editors::setFolderOpener([](const QUrl&) { return true; });
        editors::setDialogRunner([this](QDialog& dialog) {
            dialog.show();
            if (testsupport::keepScreenshot(dialog, QStringLiteral("editors/demo-") + dialog.objectName())) {
                m_pictures << dialog.objectName();
            }
            if (dialog.width() > 1366 || dialog.height() > 728) {
                m_faults
                    << QStringLiteral("%1 is %2x%3").arg(dialog.objectName()).arg(dialog.width()).arg(dialog.height());
            }
            for (QWidget* input : dialog.findChildren<QWidget*>()) {
                const bool field = qobject_cast<QLineEdit*>(input) || qobject_cast<QCheckBox*>(input) ||
                                   qobject_cast<QTreeWidget*>(input);
                if (field && input->accessibleName().trimmed().isEmpty()) {
                    m_faults << dialog.objectName() + QLatin1Char('.') + input->objectName();
                }
            }
            dialog.reject();
            return dialog.result();
        });
    }

    void cleanupTestCase()
    {
        editors::setDialogRunner({});
        editors::setFolderOpener({});
        testsupport::signOut();
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

        auto taskEditor = m_factory.createTaskEditor();
        open(*taskEditor, &external::TaskEditor::OpenRecord, QStringLiteral("tbProcessos_Trabalhos_Tarefas"),
             QStringLiteral("tarefa_id"), task);
        auto workEditor = m_factory.createWorkEditor();
        open(*workEditor, &external::WorkEditor::EditDeadlines, QStringLiteral("tbProcessos_Trabalhos"),
             QStringLiteral("trabalho_id"), work);
        auto caseEditor = m_factory.createCaseEditor();
        open(*caseEditor, &external::CaseEditor::OpenRecord, QStringLiteral("tbProcessos"),
             QStringLiteral("processo_id"), caseId);
        auto entryEditor = m_factory.createTimeEntryEditor();
        open(*entryEditor, &external::TimeEntryEditor::OpenRecord,
             QStringLiteral("tbProcessos_Trabalhos_Tarefas_Lancamentos"), QStringLiteral("lancamento_id"), entry);
        int client = static_cast<int>(
            first(QStringLiteral("SELECT contacto_id FROM tbProcessos WHERE processo_id = %1").arg(caseId)));
        int caseNumber = static_cast<int>(caseId);
        int taskId = static_cast<int>(task);
        int advogado = lawyer;
        entryEditor->NewEntry(client, caseNumber, taskId, advogado, nullptr);
        auto assistant = m_factory.createWorkAssistant();
        EditorFixture::signedOn(*assistant).SelectWork();
        assistant->NewEntryWizard();

        QCOMPARE(m_pictures,
                 (QStringList{QStringLiteral("frmTarefa"), QStringLiteral("frmTrabalho"), QStringLiteral("frmDossier"),
                              QStringLiteral("frmLancamento"), QStringLiteral("frmLancamentoNovo"),
                              QStringLiteral("frmTrabalhos"), QStringLiteral("frmTarefas")}));
        QCOMPARE(m_faults, QStringList{});
        QVERIFY(m_boxes.shown().isEmpty());
        QVERIFY(m_reports.reports().isEmpty());
    }

    // Both statistics tabs over the last month of the supervisor, who has entries on most working days of the
    // three weeks before the office's day.
    void statisticsTabs()
    {
        counter::TrayIcon::setAvailabilityProbe([] { return true; });
        {
            counter::frmCounter window;
            window.Form_Load();
            window.resize(1100, 520);
            window.show();
            window.findChild<QDateTimeEdit*>(QStringLiteral("FXData_Inicio"))->setDate(m_day.addMonths(-1));
            window.findChild<QDateTimeEdit*>(QStringLiteral("FXData_Fim"))->setDate(m_day);
            auto* tabs = window.findChild<QTabBar*>(QStringLiteral("TabStrip1"));
            tabs->setCurrentIndex(1);
            QVERIFY(window.findChild<counter::ListView*>(QStringLiteral("ListView2"))->rowCount() > 10);
            QVERIFY(testsupport::keepScreenshot(window, QStringLiteral("statistics-entries")));
            tabs->setCurrentIndex(2);
            QVERIFY(window.findChild<counter::ListView*>(QStringLiteral("ListView3"))->rowCount() > 1);
            QVERIFY(testsupport::keepScreenshot(window, QStringLiteral("statistics-totals")));
        }
        counter::TrayIcon::setAvailabilityProbe({});
        QVERIFY(m_reports.reports().isEmpty());
    }
};

QTEST_MAIN(TestScreens)
#include "test_screens.moc"
