#pragma once

#include <utility>
#include <windows.h>

namespace core::com {

// Holds one reference to a COM object and releases it when it goes. Copies add a reference; moves hand it on.
template <typename T> class ComRef
{
public:
    ComRef() = default;
    ComRef(const ComRef& other)
        : m_object(other.m_object)
    {
        if (m_object) {
            m_object->AddRef();
        }
    }
    ComRef(ComRef&& other) noexcept
        : m_object(std::exchange(other.m_object, nullptr))
    {}
    ~ComRef() { reset(); }

    ComRef& operator=(ComRef other) noexcept
    {
        std::swap(m_object, other.m_object);
        return *this;
    }

    // Takes over a reference the caller already owns (an out-parameter's, a new object's).
    static ComRef adopt(T* object)
    {
        ComRef ref;
        ref.m_object = object;
        return ref;
    }
    // Adds a reference of its own to an object someone else holds.
    static ComRef share(T* object)
    {
        if (object) {
            object->AddRef();
        }
        return adopt(object);
    }

    T* get() const { return m_object; }
    T* operator->() const { return m_object; }
    explicit operator bool() const { return m_object != nullptr; }

    // The slot an API call writes a new reference into; whatever was held is released first.
    T** out()
    {
        reset();
        return &m_object;
    }
    void reset()
    {
        if (T* object = std::exchange(m_object, nullptr)) {
            object->Release();
        }
    }
    // Hands the reference to the caller, who releases it.
    T* detach() { return std::exchange(m_object, nullptr); }

    // The object's interface iid, held as its own reference; empty when the object does not have it.
    template <typename U> ComRef<U> query(REFIID iid) const
    {
        ComRef<U> result;
        if (m_object) {
            m_object->QueryInterface(iid, reinterpret_cast<void**>(result.out()));
        }
        return result;
    }

private:
    T* m_object = nullptr;
};

} // namespace core::com
