// The windows on the demo office, each pictured under build/screenshots/, fitting 1366x768, fields named.
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

using namespace Qt::StringLiterals;

namespace {

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

private Q_SLOTS:
    void initTestCase()
    {
        const QString path = m_folder.filePath(u"orvdemo.db"_s);
        tools::DemoOffice(m_day).build(path);
        data::Data::SqlServer().open(data::ConnectionText::forLogin(u"False"_s, tools::DemoOffice::sharedUser(),
                                                                    tools::DemoOffice::sharedPassword(),
                                                                    tools::DemoOffice::catalog(), path));
        testsupport::signIn(
            u"mferreira"_s,
            static_cast<qint32>(first(u"SELECT contacto_id FROM tbUsers WHERE descrit = 'mferreira'"_s)), u"demo"_s);
        qputenv("ORV_DOCUMENTS_DIR", m_folder.filePath(u"Documentos"_s).toUtf8());
        editors::setFolderOpener([](const QUrl&) { return true; });
        editors::setDialogRunner([this](QDialog& dialog) {
            dialog.show();
            if (testsupport::keepScreenshot(dialog, u"editors/demo-"_s + dialog.objectName())) {
                m_pictures << dialog.objectName();
            }
            if (dialog.width() > 1366 || dialog.height() > 728) {
                m_faults << u"%1 is %2x%3"_s.arg(dialog.objectName()).arg(dialog.width()).arg(dialog.height());
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
        const qint64 task = first(u"SELECT tarefa_id FROM vwProcessos_Trabalhos_Tarefas WHERE "
                                  "advogado_id = %1 AND closed = 0 ORDER BY tarefa_id"_s.arg(lawyer));
        const qint64 work = first(u"SELECT w.trabalho_id FROM tbProcessos_Trabalhos w INNER JOIN "
                                  "tbProcessos p ON p.processo_id = w.processo_id WHERE p.judicial <> 0 "
                                  "ORDER BY w.trabalho_id"_s);
        const qint64 caseId =
            first(u"SELECT processo_id FROM tbProcessos_Trabalhos WHERE trabalho_id = %1"_s.arg(work));
        const qint64 entry = first(u"SELECT lancamento_id FROM tbProcessos_Trabalhos_Tarefas_Lancamentos "
                                   "WHERE inprogress = 0 AND advogado_id = %1 ORDER BY lancamento_id"_s.arg(lawyer));

        auto taskEditor = m_factory.createTaskEditor();
        EditorFixture::openRecord(EditorFixture::signedOn(*taskEditor), &external::TaskEditor::OpenRecord,
                                  u"tbProcessos_Trabalhos_Tarefas"_s, task, nullptr);
        auto workEditor = m_factory.createWorkEditor();
        EditorFixture::openRecord(EditorFixture::signedOn(*workEditor), &external::WorkEditor::EditDeadlines,
                                  u"tbProcessos_Trabalhos"_s, work, nullptr);
        auto caseEditor = m_factory.createCaseEditor();
        EditorFixture::openRecord(EditorFixture::signedOn(*caseEditor), &external::CaseEditor::OpenRecord,
                                  u"tbProcessos"_s, caseId, nullptr);
        auto entryEditor = m_factory.createTimeEntryEditor();
        EditorFixture::openRecord(EditorFixture::signedOn(*entryEditor), &external::TimeEntryEditor::OpenRecord,
                                  u"tbProcessos_Trabalhos_Tarefas_Lancamentos"_s, entry, nullptr);
        int client = int(first(u"SELECT contacto_id FROM tbProcessos WHERE processo_id = %1"_s.arg(caseId))),
            caseNumber = int(caseId), taskId = int(task), advogado = lawyer;
        entryEditor->NewEntry(client, caseNumber, taskId, advogado, nullptr);
        auto assistant = m_factory.createWorkAssistant();
        EditorFixture::signedOn(*assistant).SelectWork();
        assistant->NewEntryWizard();

        QCOMPARE(m_pictures, (QStringList{u"frmTarefa"_s, u"frmTrabalho"_s, u"frmDossier"_s, u"frmLancamento"_s,
                                          u"frmLancamentoNovo"_s, u"frmTrabalhos"_s, u"frmTarefas"_s}));
        QCOMPARE(m_faults, QStringList{});
        QVERIFY(m_boxes.shown().isEmpty() && m_reports.reports().isEmpty());
    }

    // Both statistics tabs over the supervisor's last month.
    void statisticsTabs()
    {
        counter::TrayIcon::setAvailabilityProbe([] { return true; });
        {
            counter::frmCounter window;
            window.Form_Load();
            window.resize(1100, 520);
            window.show();
            window.findChild<QDateTimeEdit*>(u"FXData_Inicio"_s)->setDate(m_day.addMonths(-1));
            window.findChild<QDateTimeEdit*>(u"FXData_Fim"_s)->setDate(m_day);
            auto* tabs = window.findChild<QTabBar*>(u"TabStrip1"_s);
            tabs->setCurrentIndex(1);
            QVERIFY(window.findChild<counter::ListView*>(u"ListView2"_s)->rowCount() > 10);
            QVERIFY(testsupport::keepScreenshot(window, u"statistics-entries"_s));
            tabs->setCurrentIndex(2);
            QVERIFY(window.findChild<counter::ListView*>(u"ListView3"_s)->rowCount() > 1);
            QVERIFY(testsupport::keepScreenshot(window, u"statistics-totals"_s));
        }
        counter::TrayIcon::setAvailabilityProbe({});
        QVERIFY(m_reports.reports().isEmpty());
    }
};

QTEST_MAIN(TestScreens)
#include "test_screens.moc"
