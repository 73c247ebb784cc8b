#include "external/com/ownerdispatch_win.h"

#include "core/com/bstr_win.h"
#include "core/com/variant_win.h"
#include "core/errorvalue.h"

#include <QHash>

namespace external::com {
namespace {

enum Member : DISPID { SetTrayIcon = 1, RemoteKey = 2 };

class OwnerDispatch;
// The live objects by owner; an object leaves when its last reference goes or its owner goes.
QHash<const EditorOwner*, OwnerDispatch*>& live()
{
    static QHash<const EditorOwner*, OwnerDispatch*> objects;
    return objects;
}

class OwnerDispatch final : public IDispatch
{
public:
    explicit OwnerDispatch(EditorOwner* owner)
        : m_owner(owner)
    {
        live().insert(owner, this);
    }
    void forget() { m_owner = nullptr; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override
    {
        if (!object) {
            return E_POINTER;
        }
        if (iid == IID_IUnknown || iid == IID_IDispatch) {
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
            if (m_owner) {
                live().remove(m_owner);
            }
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
            if (i == 0 && name.compare(QLatin1String("SetTrayIcon"), Qt::CaseInsensitive) == 0) {
                ids[i] = SetTrayIcon;
            } else if (i == 0 && name.compare(QLatin1String("RemoteKey"), Qt::CaseInsensitive) == 0) {
                ids[i] = RemoteKey;
            } else {
                ids[i] = DISPID_UNKNOWN;
                result = DISP_E_UNKNOWNNAME;
            }
        }
        return result;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID, LCID, WORD, DISPPARAMS* parameters, VARIANT*,
                                     EXCEPINFO* raised, UINT*) override
    {
        if (member != SetTrayIcon && member != RemoteKey) {
            return DISP_E_MEMBERNOTFOUND;
        }
        if (!parameters || parameters->cArgs != 2 || parameters->cNamedArgs != 0) {
            return DISP_E_BADPARAMCOUNT;
        }
        // Arguments come last first.
        VARIANT& first = parameters->rgvarg[1];
        VARIANT& second = parameters->rgvarg[0];
        try {
            if (!m_owner) {
                return S_OK;
            }
            bool converted = false;
            int number = core::com::Variant::toQVariant(first).toInt(&converted);
            if (!converted) {
                return DISP_E_TYPEMISMATCH;
            }
            if (member == SetTrayIcon) {
                m_owner->SetTrayIcon(number, core::com::Variant::toQVariant(second).toString());
                if (V_VT(&first) == (VT_I4 | VT_BYREF)) {
                    *V_I4REF(&first) = number;
                }
            } else {
                const int flag = core::com::Variant::toQVariant(second).toInt(&converted);
                if (!converted) {
                    return DISP_E_TYPEMISMATCH;
                }
                m_owner->RemoteKey(number, flag);
            }
            return S_OK;
        } catch (const core::Error& error) {
            if (raised) {
                *raised = EXCEPINFO{};
                raised->scode = E_FAIL;
                raised->bstrSource = core::com::Bstr(QStringLiteral("frmCounter")).detach();
                raised->bstrDescription = core::com::Bstr(error.description()).detach();
            }
            return DISP_E_EXCEPTION;
        }
    }

private:
    EditorOwner* m_owner;
    ULONG m_references = 0;
};

} // namespace

core::com::ComRef<IDispatch> ownerDispatch(EditorOwner* owner)
{
    if (!owner) {
        return {};
    }
    static const bool observing = [] {
        onOwnerGone([](const EditorOwner* gone) {
            if (OwnerDispatch* object = live().take(gone)) {
                object->forget();
            }
        });
        return true;
    }();
    (void)observing;
    OwnerDispatch* object = live().value(owner);
    return core::com::ComRef<IDispatch>::share(object ? object : new OwnerDispatch(owner));
}

} // namespace external::com
