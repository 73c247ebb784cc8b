#include "session/automationserver_win.h"

#include "core/com/apartment_win.h"
#include "core/com/comobject_win.h"
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
class General final : public core::com::AutomationObject<>
{
public:
    explicit General(const std::function<void()>& onRun)
        : m_onRun(onRun)
    {}

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
};

} // namespace

class AutomationServer::Factory final : public core::com::ClassFactory
{
public:
    explicit Factory(std::function<void()> onRun)
        : m_onRun(std::move(onRun))
    {}

protected:
    IUnknown* make() override { return new General(m_onRun); }

private:
    std::function<void()> m_onRun;
};

AutomationServer::AutomationServer(std::function<void()> onRun)
    : m_factory(new Factory(std::move(onRun)))
{
    core::com::enterApartment();
    DWORD cookie = 0;
    const HRESULT result =
        CoRegisterClassObject(GeneralClass, m_factory, CLSCTX_LOCAL_SERVER, REGCLS_MULTIPLEUSE, &cookie);
    if (FAILED(result)) {
        m_factory->Release();
        throw core::Error(int(result),
                          QStringLiteral("General could not be served: %1").arg(core::com::describeResult(result)));
    }
    m_cookie = cookie;
}

AutomationServer::~AutomationServer()
{
    CoRevokeClassObject(m_cookie);
    m_factory->Release();
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
