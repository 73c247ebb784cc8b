// The Windows registry of a test: this process's HKEY_CURRENT_USER and HKEY_LOCAL_MACHINE redirected to two new keys
// (RegOverridePredefKey), so the registry calls run for real and no test touches the machine's settings.
#include "testsupport/tempregistry.h"

#include <QUuid>

#include <windows.h>

namespace testsupport {

namespace {

HKEY createKey(const QString& path)
{
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, reinterpret_cast<const wchar_t*>(path.utf16()), 0, nullptr, 0,
                        KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS) {
        qFatal("TempRegistry: cannot create %s", qPrintable(path));
    }
    return key;
}

HKEY rootKey(const QString& rootName)
{
    return rootName == u"HKEY_CURRENT_USER" ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
}

// The latest write time of the key and every key under it.
quint64 latestWrite(HKEY key)
{
    DWORD subKeys = 0;
    FILETIME written{};
    if (RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                         &written) != ERROR_SUCCESS) {
        return 0;
    }
    quint64 latest = (quint64(written.dwHighDateTime) << 32) | written.dwLowDateTime;
    for (DWORD i = 0; i < subKeys; ++i) {
        wchar_t name[256];
        DWORD length = 256;
        HKEY child = nullptr;
        if (RegEnumKeyExW(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS &&
            RegOpenKeyExW(key, name, 0, KEY_READ, &child) == ERROR_SUCCESS) {
            latest = std::max(latest, latestWrite(child));
            RegCloseKey(child);
        }
    }
    return latest;
}

} // namespace

QString redirectRootKeys()
{
    const QString path = QStringLiteral("Software\\OrvTests\\") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    const HKEY user = createKey(path + QStringLiteral("\\user"));
    const HKEY machine = createKey(path + QStringLiteral("\\machine"));
    if (RegOverridePredefKey(HKEY_CURRENT_USER, user) != ERROR_SUCCESS ||
        RegOverridePredefKey(HKEY_LOCAL_MACHINE, machine) != ERROR_SUCCESS) {
        qFatal("TempRegistry: the root keys cannot be redirected");
    }
    RegCloseKey(user);
    RegCloseKey(machine);
    return path;
}

void restoreRootKeys(const QString& redirection)
{
    RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
    RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
    RegDeleteTreeW(HKEY_CURRENT_USER, reinterpret_cast<const wchar_t*>(redirection.utf16()));
}

QByteArray TempRegistry::rootStamp(const QString& rootName) const
{
    return QByteArray::number(latestWrite(rootKey(rootName)));
}

void TempRegistry::clearRoot(const QString& rootName) const
{
    RegDeleteTreeW(rootKey(rootName), nullptr);
}

} // namespace testsupport
