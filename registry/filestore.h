#pragma once

#include "registry/regfile.h"

#include <QString>

#include <functional>
#include <memory>
#include <optional>

// The registry kept in files where there is no Windows registry (registrybackend_file.cpp).
namespace registry::filestore {

// A store file larger than this is reported and not read, and no write makes one.
constexpr qint64 MaxFileBytes = qint64(4) * 1024 * 1024;

// A file changed less than this long before it was read may still be changing within the file system's timestamp
// resolution, so it is read again at the next access even when it looks the same.
constexpr qint64 SettleMs = 2000;

// How many times this program has read a store file from disk: a file that has not changed is read once.
quint64 fileReads();

// Seam: called with the new file's name after it has been written in full beside the store file and before it takes
// that file's place. Tests stop the program there to play a crash. An empty function removes it.
void setBeforeReplace(std::function<void(const QString& newFile)> hook);

// The file holding one root key.
struct Store {
    QString rootName;
    QString file;
    bool perUser = false; // the file holds the user's remembered password: readable by the user alone
};

// The store of a root key handle; null for a handle that names no root.
std::optional<Store> storeOf(quint32 root);

// The keys of a store as its file holds them now; a missing file is a root without keys. Success, or AccessDenied
// when the file cannot be opened. Throws core::Error (errc::BadDatabase) for a file larger than MaxFileBytes, which
// is not read, or one that is not registry text.
qint32 load(const Store& store, std::shared_ptr<const RegFile>& keys);

// Whether the store's file can be written, or created (with its directory) where it is missing.
bool canWrite(const Store& store);

// Applies change to the keys as the file holds them, under the store's lock, and writes the result back when
// change sets its second argument. change returns a result code; any other than Success leaves the file as it was.
// A new file is written in full beside the old one and renamed over it, so the old file stays whole until then.
// Throws core::Error (errc::IoFailed) when the lock cannot be had, the file cannot be written or would grow past
// MaxFileBytes.
qint32 update(const Store& store, const std::function<qint32(RegFile& keys, bool& changed)>& change);

} // namespace registry::filestore
