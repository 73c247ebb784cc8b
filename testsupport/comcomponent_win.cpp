#include "testsupport/comcomponent_win.h"

#include "core/com/apartment_win.h"

#include <stdexcept>

namespace testsupport {
namespace {

QVariant rawValue(const VARIANT& value)
{
    switch (V_VT(&value)) {
    case VT_BSTR:
        return QString::fromWCharArray(V_BSTR(&value), int(SysStringLen(V_BSTR(&value))));
    case VT_I4:
        return int(V_I4(&value));
    case VT_BOOL:
        return int(V_BOOL(&value));
    case VT_DATE:
        return double(V_DATE(&value));
    default:
        return QVariant();
    }
}

void setRawValue(VARIANT* target, const QVariant& value)
{
    if (!target) {
        return;
    }
    VariantInit(target);
    if (value.typeId() == QMetaType::QString) {
        const QString text = value.toString();
        V_VT(target) = VT_BSTR;
        V_BSTR(target) = SysAllocStringLen(reinterpret_cast<const OLECHAR*>(text.utf16()), UINT(text.size()));
    } else if (value.typeId() == QMetaType::Bool) {
        V_VT(target) = VT_BOOL;
        V_BOOL(target) = value.toBool() ? VARIANT_TRUE : VARIANT_FALSE;
    } else if (value.typeId() == QMetaType::Int) {
        V_VT(target) = VT_I4;
        V_I4(target) = value.toInt();
    }
}

class RecordingDispatch : public IDispatch
{
public:
    RecordingDispatch(ComComponentLog& log, const QStringList& methods)
        : m_log(log)
        , m_methods(methods)
    {
        ++m_log.created;
        ++m_log.alive;
    }
    virtual ~RecordingDispatch() { --m_log.alive; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override
    {
        if (!object) {
            return E_POINTER;
        }
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch)) {
            *object = static_cast<IDispatch*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_references; }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const ULONG left = --m_references;
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
        HRESULT result = S_OK;
        for (UINT i = 0; i < count; ++i) {
            const QString name = QString::fromWCharArray(names[i]);
            ids[i] = DISPID_UNKNOWN;
            for (qsizetype m = 0; m < m_methods.size(); ++m) {
                if (m_methods.at(m).compare(name, Qt::CaseInsensitive) == 0) {
                    ids[i] = DISPID(m + 1);
                }
            }
            if (ids[i] == DISPID_UNKNOWN) {
                result = DISP_E_UNKNOWNNAME;
            }
        }
        return result;
    }

    HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID, LCID, WORD flags, DISPPARAMS* parameters, VARIANT* result,
                                     EXCEPINFO* raised, UINT*) override
    {
        if (member < 1 || member > DISPID(m_methods.size())) {
            return DISP_E_MEMBERNOTFOUND;
        }
        if (!(flags & DISPATCH_METHOD) || parameters->cNamedArgs != 0) {
            return DISP_E_PARAMNOTFOUND;
        }
        ComCall call{m_methods.at(member - 1), {}, {}};
        // rgvarg holds the last argument first.
        for (UINT i = parameters->cArgs; i-- > 0;) {
            call.types.append(V_VT(&parameters->rgvarg[i]));
            call.arguments.append(rawValue(parameters->rgvarg[i]));
        }
        m_log.calls.append(call);
        if (m_log.raise != S_OK) {
            if (raised) {
                *raised = EXCEPINFO{};
                raised->scode = m_log.raise;
                raised->bstrDescription =
                    SysAllocString(reinterpret_cast<const OLECHAR*>(m_log.raisedDescription.utf16()));
            }
            return DISP_E_EXCEPTION;
        }
        setRawValue(result, m_log.result);
        return S_OK;
    }

private:
    ComComponentLog& m_log;
    QStringList m_methods;
    ULONG m_references = 1;
};

} // namespace

class ComTestComponent::Factory : public IClassFactory
{
public:
    explicit Factory(ComTestComponent& component)
        : m_component(component)
    {}
    virtual ~Factory() = default;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override
    {
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory)) {
            *object = static_cast<IClassFactory*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    // The component owns the class object; COM's references only keep count.
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_references; }
    ULONG STDMETHODCALLTYPE Release() override { return --m_references; }

    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** object) override
    {
        if (outer) {
            return CLASS_E_NOAGGREGATION;
        }
        IDispatch* made = m_component.newObject();
        const HRESULT result = made->QueryInterface(iid, object);
        made->Release();
        return result;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }

private:
    ComTestComponent& m_component;
    ULONG m_references = 1;
};

namespace {

QString classKey(const QString& progId)
{
    return progId + QStringLiteral("\\CLSID");
}

bool writeDefault(HKEY root, const QString& key, const QString& value)
{
    HKEY opened = nullptr;
    if (RegCreateKeyExW(root, reinterpret_cast<const wchar_t*>(key.utf16()), 0, nullptr, 0, KEY_WRITE, nullptr, &opened,
                        nullptr) != ERROR_SUCCESS) {
        return false;
    }
    const LONG code = RegSetValueExW(opened, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.utf16()),
                                     DWORD((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(opened);
    return code == ERROR_SUCCESS;
}

QString perUserKey(const QString& progId)
{
    return QStringLiteral("Software\\Classes\\") + progId;
}

} // namespace

ComTestComponent::ComTestComponent(const QString& progId, const QStringList& methods)
    : m_progId(progId)
    , m_methods(methods)
{
    core::com::enterApartment();
    if (m_progId.isEmpty()) {
        return;
    }
    if (FAILED(CoCreateGuid(&m_class))) {
        throw std::runtime_error("no class identifier");
    }
    m_factory = new Factory(*this);
    if (FAILED(CoRegisterClassObject(m_class, m_factory, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &m_cookie))) {
        throw std::runtime_error("the class object was not registered");
    }
    wchar_t text[64];
    StringFromGUID2(m_class, text, 64);
    const QString classText = QString::fromWCharArray(text);
    writeDefault(HKEY_CURRENT_USER, classKey(perUserKey(m_progId)), classText);
    if (!registered() && !writeDefault(HKEY_CLASSES_ROOT, classKey(m_progId), classText)) {
        throw std::runtime_error("the ProgID was not registered");
    }
}

ComTestComponent::~ComTestComponent()
{
    if (m_progId.isEmpty()) {
        return;
    }
    CoRevokeClassObject(m_cookie);
    RegDeleteTreeW(HKEY_CURRENT_USER, reinterpret_cast<const wchar_t*>(perUserKey(m_progId).utf16()));
    RegDeleteTreeW(HKEY_CLASSES_ROOT, reinterpret_cast<const wchar_t*>(m_progId.utf16()));
    delete m_factory;
}

IDispatch* newRecordingObject(ComComponentLog& log, const QStringList& methods)
{
    return new RecordingDispatch(log, methods);
}

IDispatch* ComTestComponent::newObject()
{
    return newRecordingObject(m_log, m_methods);
}

bool ComTestComponent::registered() const
{
    CLSID found{};
    return SUCCEEDED(CLSIDFromProgID(reinterpret_cast<const wchar_t*>(m_progId.utf16()), &found)) &&
           IsEqualCLSID(found, m_class);
}

} // namespace testsupport
