#include "external/com/ownerdispatch_win.h"

#include "core/com/bstr_win.h"
#include "core/com/comobject_win.h"
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

class OwnerDispatch final : public core::com::AutomationObject<>
{
public:
    explicit OwnerDispatch(EditorOwner* owner)
        : m_owner(owner)
    {
        live().insert(owner, this);
    }
    void forget() { m_owner = nullptr; }

    ~OwnerDispatch() override
    {
        if (m_owner) {
            live().remove(m_owner);
        }
    }

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
    return object ? core::com::ComRef<IDispatch>::share(object)
                  : core::com::ComRef<IDispatch>::adopt(new OwnerDispatch(owner));
}

} // namespace external::com
