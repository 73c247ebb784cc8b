#pragma once

#include <oaidl.h>
#include <type_traits>
#include <windows.h>

namespace core::com {

// The IUnknown of a COM object of ours implementing Interface: QueryInterface answers IUnknown, IDispatch when
// Interface is one, and the identifiers the object names in accepts(); one reference count from 1, and the object
// deleted when it reaches 0.
template <typename Interface> class ComObject : public Interface
{
public:
    ComObject() = default;
    ComObject(const ComObject&) = delete;
    ComObject& operator=(const ComObject&) = delete;
    virtual ~ComObject() = default;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override
    {
        if (!object) {
            return E_POINTER;
        }
        if (iid == IID_IUnknown || (std::is_base_of_v<IDispatch, Interface> && iid == IID_IDispatch) || accepts(iid)) {
            *object = static_cast<Interface*>(this);
            this->AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ULONG(InterlockedIncrement(&m_references)); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const LONG left = InterlockedDecrement(&m_references);
        if (left == 0) {
            delete this;
        }
        return ULONG(left);
    }

protected:
    // Another interface identifier this object answers to (its class factory's, its custom interface's).
    virtual bool accepts(REFIID) const { return false; }

private:
    LONG m_references = 1;
};

// An automation object of ours without a type library: its names are found by GetIDsOfNames alone.
template <typename Interface = IDispatch> class AutomationObject : public ComObject<Interface>
{
public:
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override
    {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
};

// A class object of ours: each CreateInstance makes a fresh object with make() and hands out the interface asked for.
class ClassFactory : public ComObject<IClassFactory>
{
public:
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** object) override
    {
        if (outer) {
            return CLASS_E_NOAGGREGATION;
        }
        IUnknown* made = make();
        const HRESULT result = made->QueryInterface(iid, object);
        made->Release();
        return result;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }

protected:
    bool accepts(REFIID iid) const override { return iid == IID_IClassFactory; }
    // A new object holding its one reference, which CreateInstance hands on or releases.
    virtual IUnknown* make() = 0;
};

} // namespace core::com
