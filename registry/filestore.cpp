// One file per root key, in the text the Windows registry editor exports and imports. The per-user root lives in the
// user's configuration directory, readable by the user alone; the other roots in a machine-wide directory.
// ORV_REGISTRY_USER_DIR and ORV_REGISTRY_MACHINE_DIR move them. Every change re-reads its file under a lock and
// renames a complete new file into place, so concurrent writers lose nothing and readers never see half a file.
#include "registry/filestore.h"

#include "core/clock.h"
#include "core/errorvalue.h"
#include "registry/registrybackend.h"
#include "registry/rootkeys.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QLockFile>
#include <QStandardPaths>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace registry::filestore {
namespace {

constexpr int LockTimeoutMs = 10000;

constexpr QFileDevice::Permissions OwnerOnly =
    QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser | QFileDevice::WriteUser;
constexpr QFileDevice::Permissions ReadableByAll = OwnerOnly | QFileDevice::ReadGroup | QFileDevice::ReadOther;

// One version of a file: rewriting it in place or renaming another file over it changes at least one of these.
struct Version {
    quint64 device = 0;
    quint64 inode = 0;
    qint64 size = 0;
    qint64 modifiedNs = 0;
    qint64 changedNs = 0;
    bool operator==(const Version&) const = default;
};

Version versionOf(const struct stat& info)
{
    const auto ns = [](const timespec& time) { return qint64(time.tv_sec) * 1'000'000'000 + time.tv_nsec; };
    return {quint64(info.st_dev), quint64(info.st_ino), qint64(info.st_size), ns(info.st_mtim), ns(info.st_ctim)};
}

// Whether no change can still hide behind the version's timestamps: a later write within the same timestamp tick
// would leave them as they are.
bool settled(const Version& version)
{
    const qint64 nowNs = core::Clock::now().toMSecsSinceEpoch() * 1'000'000;
    return std::max(version.modifiedNs, version.changedNs) < nowNs - SettleMs * 1'000'000;
}

struct Cached {
    Version version;
    std::shared_ptr<const RegFile> keys;
};

// The keys of each store file last read, by file name; only settled versions are kept.
QHash<QString, Cached>& cache()
{
    static QHash<QString, Cached> files;
    return files;
}

quint64 reads = 0;

std::function<void(const QString&)>& beforeReplace()
{
    static std::function<void(const QString&)> hook;
    return hook;
}

QString directory(const char* variable, const QString& fallback)
{
    const QString moved = qEnvironmentVariable(variable);
    return moved.isEmpty() ? fallback : moved;
}

core::Error tooLarge(const Store& store)
{
    return core::Error(errc::BadDatabase, QStringLiteral("The registry file %1 is larger than %2 bytes and is not read")
                                              .arg(store.file)
                                              .arg(MaxFileBytes));
}

void save(const Store& store, const RegFile& keys)
{
    const std::optional<QByteArray> text = keys.toText(MaxFileBytes);
    if (!text) {
        throw core::Error(errc::IoFailed,
                          QStringLiteral("The registry file %1 would grow past %2 bytes and is left as it was")
                              .arg(store.file)
                              .arg(MaxFileBytes));
    }
    // A writer that stopped before the rename left this behind; nobody reads it.
    const QString newFile = store.file + QStringLiteral(".new");
    QFile::remove(newFile);
    QFile file(newFile);
    bool written = file.open(QIODevice::WriteOnly | QIODevice::NewOnly) &&
                   file.setPermissions(store.perUser ? OwnerOnly : ReadableByAll) &&
                   file.write(*text) == text->size() && file.flush() && ::fsync(file.handle()) == 0;
    QString reason = file.errorString();
    file.close();
    if (written && beforeReplace()) {
        beforeReplace()(newFile);
    }
    if (written && std::rename(QFile::encodeName(newFile).constData(), QFile::encodeName(store.file).constData())) {
        written = false;
        reason = QString::fromLocal8Bit(std::strerror(errno));
    }
    if (!written) {
        QFile::remove(newFile);
        throw core::Error(errc::IoFailed,
                          QStringLiteral("The registry file %1 cannot be written: %2").arg(store.file, reason));
    }
}

} // namespace

quint64 fileReads()
{
    return reads;
}

void setBeforeReplace(std::function<void(const QString&)> hook)
{
    beforeReplace() = std::move(hook);
}

std::optional<Store> storeOf(quint32 root)
{
    const QString name = rootKeyName(root);
    if (name.isEmpty()) {
        return std::nullopt;
    }
    const bool perUser = root == CurrentUserRoot;
    const QString dir = perUser ? directory("ORV_REGISTRY_USER_DIR",
                                            QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                                                QStringLiteral("/orvcounter"))
                                : directory("ORV_REGISTRY_MACHINE_DIR", QStringLiteral("/etc/orvcounter"));
    return Store{name, dir + u'/' + name + QStringLiteral(".reg"), perUser};
}

qint32 load(const Store& store, std::shared_ptr<const RegFile>& keys)
{
    QFile file(store.file);
    struct stat info {
    };
    if (!file.open(QIODevice::ReadOnly) || ::fstat(file.handle(), &info) != 0) {
        cache().remove(store.file);
        if (file.exists()) {
            return result::AccessDenied;
        }
        keys = std::make_shared<const RegFile>(store.rootName);
        return result::Success;
    }
    const Version version = versionOf(info);
    const auto cached = cache().constFind(store.file);
    if (cached != cache().cend() && cached->version == version) {
        keys = cached->keys;
        return result::Success;
    }
    cache().remove(store.file);
    if (version.size > MaxFileBytes) {
        throw tooLarge(store);
    }
    ++reads;
    const QByteArray bytes = file.read(MaxFileBytes + 1);
    if (bytes.size() > MaxFileBytes) { // it grew after it was measured
        throw tooLarge(store);
    }
    auto parsed = std::make_shared<RegFile>(store.rootName);
    parsed->parse(bytes, store.file);
    if (settled(version)) {
        cache().insert(store.file, {version, parsed});
    }
    keys = std::move(parsed);
    return result::Success;
}

bool canWrite(const Store& store)
{
    QFileInfo info(store.file);
    if (info.exists() && !info.isWritable()) {
        return false;
    }
    do {
        info = QFileInfo(info.absolutePath());
    } while (!info.exists() && !info.isRoot());
    return info.isWritable();
}

// Makes the folder and any missing parent with fixed modes, whatever the umask: 0755, so that nobody else
// can put a file there that every counter reads; the per-user root's own folder 0700. True when it exists.
bool makeFolders(const QString& dir, bool perUser)
{
    QStringList missing;
    for (QFileInfo level(dir); !level.exists() && !level.isRoot(); level = QFileInfo(level.absolutePath())) {
        missing.prepend(level.absoluteFilePath());
    }
    const QFileDevice::Permissions everyoneReads =
        ReadableByAll | QFileDevice::ExeOwner | QFileDevice::ExeUser | QFileDevice::ExeGroup | QFileDevice::ExeOther;
    for (const QString& level : missing) {
        const bool last = level == missing.last();
        const QFileDevice::Permissions mode =
            perUser && last ? OwnerOnly | QFileDevice::ExeOwner | QFileDevice::ExeUser : everyoneReads;
        if (QDir().mkdir(level)) {
            if (!QFile::setPermissions(level, mode)) {
                return false;
            }
        } else if (!QFileInfo(level).isDir()) { // not made by another writer at the same moment either
            return false;
        }
    }
    return QFileInfo(dir).isDir();
}

qint32 update(const Store& store, const std::function<qint32(RegFile&, bool&)>& change)
{
    if (!canWrite(store)) {
        return result::AccessDenied;
    }
    if (!makeFolders(QFileInfo(store.file).absolutePath(), store.perUser)) {
        return result::AccessDenied;
    }
    QLockFile lock(store.file + QStringLiteral(".lock"));
    if (!lock.tryLock(LockTimeoutMs)) {
        throw core::Error(errc::IoFailed, QStringLiteral("The registry file %1 is locked").arg(store.file));
    }
    std::shared_ptr<const RegFile> read;
    qint32 code = load(store, read);
    if (code != result::Success) {
        return code;
    }
    RegFile keys = *read; // the cached keys stay as the file holds them
    bool changed = false;
    code = change(keys, changed);
    if (code == result::Success && changed) {
        save(store, keys);
    }
    return code;
}

} // namespace registry::filestore
