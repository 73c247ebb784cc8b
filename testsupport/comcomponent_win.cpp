#include "testsupport/comcomponent_win.h"

#include "core/com/comobject_win.h"

namespace testsupport {

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
    case VT_R8:
        return double(V_R8(&value));
    default:
        return QVariant();
    }
}

namespace {

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

class RecordingDispatch final : public core::com::AutomationObject<>
{
public:
    RecordingDispatch(ComComponentLog& log, const QStringList& methods)
        : m_log(log)
        , m_methods(methods)
    {
        ++m_log.created;
        ++m_log.alive;
    }
    ~RecordingDispatch() override { --m_log.alive; }

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
};

} // namespace

IDispatch* newRecordingObject(ComComponentLog& log, const QStringList& methods)
{
    return new RecordingDispatch(log, methods);
}

} // namespace testsupport
