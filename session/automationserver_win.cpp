#include "session/automationserver_win.h"

#include "core/com/apartment_win.h"
#include "core/com/dispatcher_win.h"
#include "core/errorvalue.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QStringList>

#include <windows.h>

namespace session {
namespace {

// {5E0C2F1B-8D4A-4C6B-A1F2-7B3E9D5C4A10}
constexpr CLSID GeneralClass = {0x5E0C2F1B, 0x8D4A, 0x4C6B, {0xA1, 0xF2, 0x7B, 0x3E, 0x9D, 0x5C, 0x4A, 0x10}};
constexpr DISPID RunMember = 1;

// General: one method, Run, late bound by name in any letter case.
class General final : public IDispatch
{
public:
    explicit General(const std::function<void()>& onRun)
        : m_onRun(onRun)
    {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override
    {
        if (iid == IID_IUnknown || iid == IID_IDispatch) {
            *object = static_cast<IDispatch*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&m_references); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const ULONG left = InterlockedDecrement(&m_references);
        if (left == 0) {
            delete this;
        }
        return left;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override
    {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override
    {
        if (count == 1 && QString::fromWCharArray(names[0]).compare(QLatin1String("Run"), Qt::CaseInsensitive) == 0) {
            ids[0] = RunMember;
            return S_OK;
        }
        for (UINT i = 0; i < count; ++i) {
            ids[i] = DISPID_UNKNOWN;
        }
        return DISP_E_UNKNOWNNAME;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID, LCID, WORD, DISPPARAMS* parameters, VARIANT*, EXCEPINFO*,
                                     UINT*) override
    {
        if (member != RunMember) {
            return DISP_E_MEMBERNOTFOUND;
        }
        if (parameters && parameters->cArgs != 0) {
            return DISP_E_BADPARAMCOUNT;
        }
        QMetaObject::invokeMethod(QCoreApplication::instance(), m_onRun, Qt::QueuedConnection);
        return S_OK;
    }

private:
    std::function<void()> m_onRun;
    LONG m_references = 1;
};

} // namespace

class AutomationServer::Factory final : public IClassFactory
{
public:
    explicit Factory(std::function<void()> onRun)
        : m_onRun(std::move(onRun))
    {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override
    {
        if (iid == IID_IUnknown || iid == IID_IClassFactory) {
            *object = static_cast<IClassFactory*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    // The server owns its class object; COM's references only keep count.
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** object) override
    {
        if (outer) {
            return CLASS_E_NOAGGREGATION;
        }
        auto* made = new General(m_onRun);
        const HRESULT result = made->QueryInterface(iid, object);
        made->Release();
        return result;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }

private:
    std::function<void()> m_onRun;
};

const QString AutomationServer::ProgId = QStringLiteral("OrvCounter.General");
const QString AutomationServer::ClassId = QStringLiteral("{5E0C2F1B-8D4A-4C6B-A1F2-7B3E9D5C4A10}");

AutomationServer::AutomationServer(std::function<void()> onRun)
    : m_factory(new Factory(std::move(onRun)))
{
    core::com::enterApartment();
    DWORD cookie = 0;
    const HRESULT result =
        CoRegisterClassObject(GeneralClass, m_factory, CLSCTX_LOCAL_SERVER, REGCLS_MULTIPLEUSE, &cookie);
    if (FAILED(result)) {
        delete m_factory;
        throw core::Error(int(result),
                          QStringLiteral("General could not be served: %1").arg(core::com::describeResult(result)));
    }
    m_cookie = cookie;
}

AutomationServer::~AutomationServer()
{
    CoRevokeClassObject(m_cookie);
    delete m_factory;
}

bool AutomationServer::startedByCom(const QStringList& arguments)
{
    for (const QString& argument : arguments) {
        if (argument.compare(QLatin1String("/Automation"), Qt::CaseInsensitive) == 0 ||
            argument.compare(QLatin1String("-Embedding"), Qt::CaseInsensitive) == 0 ||
            argument.compare(QLatin1String("/Embedding"), Qt::CaseInsensitive) == 0) {
            return true;
        }
    }
    return false;
}

} // namespace session
