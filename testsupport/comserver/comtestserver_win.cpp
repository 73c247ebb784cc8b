// orvcomtest.dll: the test component, an in-process COM server that stands for the office's components. Its
// classes record the calls they receive in logs the test reads through orvComTestLog (the DLL is loaded once in
// the test process, which creates its objects).
#include "core/com/bstr_win.h"
#include "core/com/comobject_win.h"
#include "core/com/dispatcher_win.h"
#include "core/com/variant_win.h"
#include "external/com/adointerfaces_win.h"
#include "external/com/officeinterfaces_win.h"
#include "testsupport/comcomponent_win.h"

#include <QHash>

namespace {

// {6F1D5C2A-3B4E-4A7F-9C10-2D8E5B7A9C01}: ErrorReporting.General; ...02: the task editor; ...03: its interface;
// ...04: OrvTest.Recorder, a probe of the dispatcher.
constexpr CLSID ReportingClass = {0x6F1D5C2A, 0x3B4E, 0x4A7F, {0x9C, 0x10, 0x2D, 0x8E, 0x5B, 0x7A, 0x9C, 0x01}};
constexpr CLSID RecorderClass = {0x6F1D5C2A, 0x3B4E, 0x4A7F, {0x9C, 0x10, 0x2D, 0x8E, 0x5B, 0x7A, 0x9C, 0x04}};
constexpr CLSID TaskEditorClass = {0x6F1D5C2A, 0x3B4E, 0x4A7F, {0x9C, 0x10, 0x2D, 0x8E, 0x5B, 0x7A, 0x9C, 0x02}};
constexpr IID TaskEditorInterface = {0x6F1D5C2A, 0x3B4E, 0x4A7F, {0x9C, 0x10, 0x2D, 0x8E, 0x5B, 0x7A, 0x9C, 0x03}};

HMODULE self = nullptr;

testsupport::ComComponentLog& logOf(const QString& name)
{
    static QHash<QString, testsupport::ComComponentLog> logs;
    return logs[name];
}

// The task editor: the office's custom interface, recording each call.
class TaskEditor final : public core::com::AutomationObject<external::com::IOfficeTaskEditor>
{
public:
    TaskEditor()
    {
        ++log().created;
        ++log().alive;
    }
    ~TaskEditor() override { --log().alive; }

    static testsupport::ComComponentLog& log() { return logOf(QStringLiteral("TaskEditor")); }

    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override
    {
        return DISP_E_UNKNOWNNAME;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override
    {
        return DISP_E_MEMBERNOTFOUND;
    }

    HRESULT STDMETHODCALLTYPE SignOn(BSTR* UserName, BSTR* Password, VARIANT_BOOL* result) override
    {
        log().calls.append({QStringLiteral("SignOn"),
                            {VT_BSTR | VT_BYREF, VT_BSTR | VT_BYREF},
                            {core::com::Bstr::toQString(*UserName), core::com::Bstr::toQString(*Password)}});
        *result = VARIANT_TRUE;
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE OpenRecord(IDispatch** Record, VARIANT* ID, BSTR* Text1, BSTR* Text2, IDispatch** Owner,
                                         LONG* Number1, LONG* Number2, LONG* Number3) override
    {
        try {
            // Read as a component compiled against ADO reads it: Record.Fields("tarefa_id").Value, early bound.
            auto* record = static_cast<external::com::AdoRecordset*>(*Record);
            core::com::ComRef<external::com::AdoFields> fields;
            core::com::ComRef<external::com::AdoField> field;
            core::com::Variant name(QVariant(QStringLiteral("tarefa_id")));
            core::com::Variant value;
            if (FAILED(record->get_Fields(fields.out())) || FAILED(fields->get_Item(*name.get(), field.out())) ||
                FAILED(field->get_Value(value.get()))) {
                return E_FAIL;
            }
            const QVariant task = value.toQVariant();
            const QVariant id = core::com::Variant::toQVariant(*ID);
            log().calls.append({QStringLiteral("OpenRecord"),
                                {V_VT(ID)},
                                {task, id, core::com::Bstr::toQString(*Text1), core::com::Bstr::toQString(*Text2),
                                 *Owner != nullptr, int(*Number1), int(*Number2), int(*Number3)}});
            if (*Owner) {
                core::com::Dispatcher(core::com::ComRef<IDispatch>::share(*Owner))
                    .call(QStringLiteral("RemoteKey"), {id, 4003});
                core::com::Dispatcher(core::com::ComRef<IDispatch>::share(*Owner))
                    .call(QStringLiteral("setTrayIcon"), {2, QStringLiteral("Aberta no editor")});
            }
            return S_OK;
        } catch (const std::exception&) {
            return E_FAIL;
        }
    }

protected:
    bool accepts(REFIID iid) const override { return iid == TaskEditorInterface; }
};

class Factory final : public core::com::ClassFactory
{
public:
    explicit Factory(const CLSID& made)
        : m_made(made)
    {}

protected:
    IUnknown* make() override
    {
        if (m_made == TaskEditorClass) {
            return new TaskEditor;
        }
        if (m_made == RecorderClass) {
            return testsupport::newRecordingObject(logOf(QStringLiteral("OrvTest.Recorder")),
                                                   {QStringLiteral("Report"), QStringLiteral("Answer")});
        }
        return testsupport::newRecordingObject(logOf(QStringLiteral("ErrorReporting.General")),
                                               {QStringLiteral("Report")});
    }

private:
    CLSID m_made;
};

QString text(const GUID& id)
{
    wchar_t buffer[64];
    StringFromGUID2(id, buffer, 64);
    return QString::fromWCharArray(buffer);
}

bool setDefault(const QString& key, const QString& name, const QString& value)
{
    HKEY opened = nullptr;
    if (RegCreateKeyExW(HKEY_CLASSES_ROOT, reinterpret_cast<const wchar_t*>(key.utf16()), 0, nullptr, 0, KEY_WRITE,
                        nullptr, &opened, nullptr) != ERROR_SUCCESS) {
        return false;
    }
    const LONG code =
        RegSetValueExW(opened, name.isEmpty() ? nullptr : reinterpret_cast<const wchar_t*>(name.utf16()), 0, REG_SZ,
                       reinterpret_cast<const BYTE*>(value.utf16()), DWORD((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(opened);
    return code == ERROR_SUCCESS;
}

bool registerClass(const CLSID& id)
{
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(self, path, MAX_PATH);
    const QString server = QStringLiteral("CLSID\\") + text(id) + QStringLiteral("\\InprocServer32");
    return length > 0 && setDefault(server, {}, QString::fromWCharArray(path, int(length))) &&
           setDefault(server, QStringLiteral("ThreadingModel"), QStringLiteral("Apartment"));
}

} // namespace

extern "C" {

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
        self = instance;
    }
    return TRUE;
}

HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID id, REFIID iid, void** object)
{
    if (id != ReportingClass && id != TaskEditorClass && id != RecorderClass) {
        return CLASS_E_CLASSNOTAVAILABLE;
    }
    auto* factory = new Factory(id);
    const HRESULT result = factory->QueryInterface(iid, object);
    factory->Release();
    return result;
}

// The test process keeps the module loaded to its end (ComTestServer): COM may never unload it.
HRESULT STDAPICALLTYPE DllCanUnloadNow()
{
    return S_FALSE;
}

HRESULT STDAPICALLTYPE DllRegisterServer()
{
    const bool done = registerClass(ReportingClass) && registerClass(TaskEditorClass) && registerClass(RecorderClass) &&
                      setDefault(QStringLiteral("ErrorReporting.General\\CLSID"), {}, text(ReportingClass)) &&
                      setDefault(QStringLiteral("OrvTest.Recorder\\CLSID"), {}, text(RecorderClass));
    return done ? S_OK : E_FAIL;
}

HRESULT STDAPICALLTYPE DllUnregisterServer()
{
    for (const QString& key :
         {QStringLiteral("CLSID\\") + text(ReportingClass), QStringLiteral("CLSID\\") + text(TaskEditorClass),
          QStringLiteral("CLSID\\") + text(RecorderClass), QStringLiteral("ErrorReporting.General"),
          QStringLiteral("OrvTest.Recorder")}) {
        RegDeleteTreeW(HKEY_CLASSES_ROOT, reinterpret_cast<const wchar_t*>(key.utf16()));
    }
    return S_OK;
}

testsupport::ComComponentLog* orvComTestLog(const wchar_t* className)
{
    return &logOf(QString::fromWCharArray(className));
}

} // extern "C"
