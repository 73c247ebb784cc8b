// The office's own components on Windows, reached over COM: the test component orvcomtest.dll, registered in the
// test's Wine prefix with regsvr32 as an office registers its components, opens the task; where the machine settings
// name no registered component, the counter's own editor opens it. Built only for Windows.
#include "core/com/dispatcher_win.h"
#include "core/com/variant_win.h"
#include "data/office/componentsettings.h"
#include "external/com/officecomponents_win.h"
#include "external/com/ownerdispatch_win.h"
#include "scramble/modencriptserial.h"
#include "testsupport/comcomponent_win.h"
#include "testsupport/files.h"
#include "testsupport/tempregistry.h"
#include "testsupport/thrown.h"
#include "testsupport/windowfixture.h"

#include <QFile>
#include <QTemporaryDir>

using testsupport::ComTestServer;
using testsupport::OfficeFixture;

namespace {

// The open command on task 812 of a window whose factory puts the office's components before the recording ones,
// with TaskEditor's identifiers as given; the task renamed behind the window's back first.
struct OfficeWindow : CommandFixture {
    testsupport::TempRegistry registry;

    explicit OfficeWindow(const QString& taskEditorIds)
    {
        data::ComponentIdentifiers::write("TaskEditor", data::ComponentIdentifiers::parse(taskEditorIds));
        external::com::installOfficeComponents();
        load();
        office.database().exec(
            QStringLiteral("UPDATE tbProcessos_Trabalhos_Tarefas SET descrit = 'Renomeada' WHERE tarefa_id = 812"));
        select(OfficeFixture::Task);
        run(QStringLiteral("mnListAbrir"));
    }
};

} // namespace

class TestOfficeComponents : public QObject
{
    Q_OBJECT

    std::optional<ComTestServer> m_server;
    QTemporaryDir m_state;

private Q_SLOTS:
    void initTestCase()
    {
        scramble::modEncriptSerial::VolumeSerial = QStringLiteral("-1234567890");
        QVERIFY(m_state.isValid());
        qputenv("ORV_STATE_DIR", m_state.path().toUtf8());
        m_server.emplace();
    }
    void cleanupTestCase()
    {
        m_server.reset();
        qunsetenv("ORV_STATE_DIR");
    }

    // The task opens in the office's editor: signed on with the scrambled password, then OpenRecord with the record
    // open on the task, its identifier, two empty texts, the window as owner and three zeros; the editor's RemoteKey
    // back into the window refills the list, and its SetTrayIcon sets the tray's tip. The counter's own editor is not
    // made.
    void theTaskOpensInTheOfficesEditor()
    {
        testsupport::ComComponentLog& log = m_server->log(QStringLiteral("TaskEditor"));
        log.calls.clear();
        OfficeWindow f(ComTestServer::TaskEditorIds);

        QVERIFY2(f.reports.reports().isEmpty(), qPrintable(f.reports.reports().value(0).text));
        QCOMPARE(log.calls.size(), 2);
        QCOMPARE(log.calls.at(0).method, QStringLiteral("SignOn"));
        QCOMPARE(log.calls.at(0).arguments,
                 QVariantList({"ana", scramble::modEncriptSerial::EncriptSerial("segredo")}));
        QCOMPARE(log.calls.at(1).method, QStringLiteral("OpenRecord"));
        QCOMPARE(log.calls.at(1).types, QList<VARTYPE>{VT_I4});
        QCOMPARE(log.calls.at(1).arguments, QVariantList({812, 812, "", "", true, 0, 0, 0}));
        QCOMPARE(log.alive, 1); // the window keeps its task editor until the next replaces it
        QVERIFY(f.components.log().isEmpty());
        QCOMPARE(f.list().cellText(f.row(OfficeFixture::Task), 0), QStringLiteral("Renomeada")); // the task's text
        QCOMPARE(f.list().selectedRow(), f.row(OfficeFixture::Task));
        QCOMPARE(f.part<counter::TrayIcon>().tip(), QStringLiteral("Aberta no editor"));
        const QList<QJsonObject> noted = testsupport::errorLog(m_state.path());
        QVERIFY(std::any_of(noted.cbegin(), noted.cend(), [](const QJsonObject& entry) {
            return entry.value(QStringLiteral("used")).toString().contains(ComTestServer::TaskEditorIds);
        }));
    }

    // The window as the components see it: both methods by name in any letter case, the tray's image handed back
    // through a reference, a call with an argument missing refused, and nothing reached once the window is gone.
    void theOwnerIsReachedByNameUntilItGoes()
    {
        struct Owner : external::EditorOwner {
            QStringList& calls;
            explicit Owner(QStringList& log)
                : calls(log)
            {}
            void SetTrayIcon(int& image, const QString& tip) override
            {
                calls << QStringLiteral("SetTrayIcon(%1, %2)").arg(image).arg(tip);
                image = 1;
            }
            void RemoteKey(int id, int flag) override
            {
                calls << QStringLiteral("RemoteKey(%1, %2)").arg(id).arg(flag);
            }
        };
        QStringList calls;
        auto owner = std::make_unique<Owner>(calls);
        core::com::ComRef<IDispatch> object = external::com::ownerDispatch(owner.get());
        core::com::Dispatcher byName(object);
        byName.call(QStringLiteral("remotekey"), {812, 4003});
        QCOMPARE(testsupport::thrown([&] { byName.call("RemoteKey", {812}); }).number, int(DISP_E_BADPARAMCOUNT));

        // SetTrayIcon(image by reference, tip): arguments come last first.
        LONG image = 2;
        const core::com::Variant tip(QVariant(QStringLiteral("A contar")));
        VARIANT arguments[2] = {*tip.get()};
        V_VT(&arguments[1]) = VT_I4 | VT_BYREF;
        V_I4REF(&arguments[1]) = &image;
        DISPPARAMS parameters{arguments, nullptr, 2, 0};
        LPOLESTR name[] = {const_cast<LPOLESTR>(L"SetTrayIcon")};
        DISPID member = DISPID_UNKNOWN;
        QCOMPARE(object->GetIDsOfNames(IID_NULL, name, 1, LOCALE_USER_DEFAULT, &member), S_OK);
        QCOMPARE(object->Invoke(member, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &parameters, nullptr, nullptr,
                                nullptr),
                 S_OK);
        QCOMPARE(image, LONG(1));

        owner.reset();
        byName.call(QStringLiteral("RemoteKey"), {1, 2});
        QCOMPARE(calls, QStringList({"RemoteKey(812, 4003)", "SetTrayIcon(2, A contar)"}));
    }

    // A class nobody registered leaves the task to the counter's own editor, and the log says why once.
    void anUnregisteredComponentFallsBackToOurEditor()
    {
        QFile::remove(m_state.filePath(QStringLiteral("errors.log")));
        testsupport::ComComponentLog& log = m_server->log(QStringLiteral("TaskEditor"));
        log.calls.clear();
        OfficeWindow f(ComTestServer::UnregisteredIds);
        f.run(QStringLiteral("mnListAbrir"));

        QVERIFY(log.calls.isEmpty());
        QCOMPARE(f.components.calls(QStringLiteral("OpenRecord")).size(), 2);
        const QList<QJsonObject> noted = testsupport::errorLog(m_state.path());
        QCOMPARE(noted.size(), 1);
        QCOMPARE(noted.first().value(QStringLiteral("component")).toString(), QStringLiteral("TaskEditor"));
        QVERIFY(noted.first().contains(QStringLiteral("unused")));
    }
};

QTEST_MAIN(TestOfficeComponents)
#include "test_officecomponents_win.moc"
