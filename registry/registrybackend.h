#pragma once

#include "core/errorvalue.h"

#include <QString>

#include <memory>

namespace registry {

// A key opened by the backend.
using KeyHandle = quintptr;

// Result codes of the platform calls, numbered as Windows numbers them.
namespace result {
constexpr qint32 Success = 0;
constexpr qint32 FileNotFound = 2; // no such key or value
constexpr qint32 AccessDenied = 5;
constexpr qint32 InvalidHandle = 6;
constexpr qint32 InvalidData = 13; // the value is not a string
constexpr qint32 InvalidParameter = 87;
constexpr qint32 BadPathname = 161;
constexpr qint32 MoreData = 234; // the value does not fit the buffer
constexpr qint32 KeyDeleted = 1018;
} // namespace result

// Error numbers of the store itself (BadDatabase, IoFailed), thrown as core::Error because no result
// code can carry them; kept in core's table.
namespace errc = core::errc;

// Access masks of openKey.
constexpr quint32 KeyRead = 0x20019;
constexpr quint32 KeyWrite = 0x20006;

// The five registry calls of the system: RegOpenKeyExA, RegCreateKeyA, RegSetValueExA, RegQueryValueExA and
// RegCloseKey. Each returns a result code (Success is 0); a store that cannot be read or written at all throws
// core::Error instead (errc above). Key and value names compare case-insensitively.
class RegistryBackend
{
public:
    virtual ~RegistryBackend() = default;

    // Opens an existing key of a root. FileNotFound when it does not exist, AccessDenied when the access
    // cannot be granted. An empty subKey opens the root key itself.
    virtual qint32 openKey(quint32 root, const QString& subKey, quint32 access, KeyHandle& key) = 0;
    // Opens a key with full access, creating it and its missing parents first.
    virtual qint32 createKey(quint32 root, const QString& subKey, KeyHandle& key) = 0;
    // Writes a string value into a key opened with write access.
    virtual qint32 setStringValue(KeyHandle key, const QString& name, const QString& value) = 0;
    // Reads a string value. On Success the value and its terminating zero fill the start of buffer and length is
    // their count; MoreData, with length set to the count needed, when that count exceeds length.
    virtual qint32 queryValue(KeyHandle key, const QString& name, QString& buffer, qint32& length) = 0;
    virtual qint32 closeKey(KeyHandle key) = 0;
};

// The backend of this platform, created on first use.
RegistryBackend& backend();

// Defined by the platform's implementation file.
std::unique_ptr<RegistryBackend> createPlatformBackend();

} // namespace registry
