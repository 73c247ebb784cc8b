#pragma once

#include <QString>

#include <array>

namespace registry {

// A root key of the registry: the name a key path begins with and the handle the platform knows it by.
struct RootKey {
    const char16_t* name;
    quint32 handle;
};

inline constexpr quint32 CurrentUserRoot = 0x80000001;

// Every root a path may name. Names compare exactly, case included.
inline constexpr std::array<RootKey, 7> RootKeys{{
    {u"HKEY_CLASSES_ROOT", 0x80000000},
    {u"HKEY_CURRENT_USER", CurrentUserRoot},
    {u"HKEY_LOCAL_MACHINE", 0x80000002},
    {u"HKEY_USERS", 0x80000003},
    {u"HKEY_PERFORMANCE_DATA", 0x80000004},
    {u"HKEY_CURRENT_CONFIG", 0x80000005},
    {u"HKEY_DYN_DATA", 0x80000006},
}};

// The name of a root handle; empty for a handle that is no root.
inline QString rootKeyName(quint32 handle)
{
    for (const RootKey& root : RootKeys) {
        if (root.handle == handle) {
            return QString::fromUtf16(root.name);
        }
    }
    return {};
}

} // namespace registry
