// The Windows registry itself, through the ANSI calls of advapi32.
#ifdef _WIN32

#include "registry/registrybackend.h"

#include <windows.h>

namespace registry {
namespace {

// Root handles are 32-bit values sign-extended to the width of a handle (HKEY_CURRENT_USER is (HKEY)(LONG)0x80000001).
HKEY rootHandle(quint32 root)
{
    return reinterpret_cast<HKEY>(static_cast<LONG_PTR>(static_cast<LONG>(root)));
}

HKEY keyHandle(KeyHandle key)
{
    return reinterpret_cast<HKEY>(key);
}

class WindowsBackend final : public RegistryBackend
{
public:
    qint32 openKey(quint32 root, const QString& subKey, quint32 access, KeyHandle& key) override
    {
        HKEY opened = nullptr;
        const LONG code = RegOpenKeyExA(rootHandle(root), subKey.toLocal8Bit().constData(), 0, access, &opened);
        key = reinterpret_cast<KeyHandle>(opened);
        return code;
    }

    qint32 createKey(quint32 root, const QString& subKey, KeyHandle& key) override
    {
        HKEY created = nullptr;
        const LONG code = RegCreateKeyA(rootHandle(root), subKey.toLocal8Bit().constData(), &created);
        key = reinterpret_cast<KeyHandle>(created);
        return code;
    }

    qint32 setStringValue(KeyHandle key, const QString& name, const QString& value) override
    {
        // The data handed over carries its terminating zero.
        const QByteArray data = value.toLocal8Bit();
        return RegSetValueExA(keyHandle(key), name.toLocal8Bit().constData(), 0, REG_SZ,
                              reinterpret_cast<const BYTE*>(data.constData()), DWORD(data.size() + 1));
    }

    qint32 queryValue(KeyHandle key, const QString& name, QString& buffer, qint32& length) override
    {
        QByteArray data(length, ' ');
        DWORD size = DWORD(length);
        const LONG code = RegQueryValueExA(keyHandle(key), name.toLocal8Bit().constData(), nullptr, nullptr,
                                           reinterpret_cast<BYTE*>(data.data()), &size);
        if (code == ERROR_SUCCESS) {
            // The text ends at its first zero, which is not always stored (the registry keeps what the writer gave,
            // and a value written through the wide calls may come back through the ANSI ones without it): the text
            // handed back always carries exactly one.
            const QString text = QString::fromLocal8Bit(data.constData(), qstrnlen(data.constData(), size)) + QChar();
            if (text.size() > length) {
                length = qint32(text.size());
                return ERROR_MORE_DATA;
            }
            buffer.replace(0, text.size(), text);
            length = qint32(text.size());
        } else {
            length = qint32(size);
        }
        return code;
    }

    qint32 closeKey(KeyHandle key) override { return RegCloseKey(keyHandle(key)); }
};

} // namespace

std::unique_ptr<RegistryBackend> createPlatformBackend()
{
    return std::make_unique<WindowsBackend>();
}

} // namespace registry

#endif // _WIN32
