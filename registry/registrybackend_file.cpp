// The registry where there is no Windows registry: one file per root key, in the text the Windows registry editor
// exports and imports. The per-user root lives in the user's configuration directory, readable by the user alone;
// the other roots in a machine-wide directory. ORV_REGISTRY_USER_DIR and ORV_REGISTRY_MACHINE_DIR move them.
// Every change re-reads its file under a lock and renames a complete new file into place, so concurrent writers
// lose nothing and readers never see half a file.
#include "core/errorvalue.h"
#include "registry/regfile.h"
#include "registry/registrybackend.h"
#include "registry/rootkeys.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QLockFile>
#include <QSaveFile>
#include <QStandardPaths>

namespace registry {
namespace {

using namespace result;

constexpr quint32 KeyQueryValue = 0x0001;
constexpr quint32 KeySetValue = 0x0002;
constexpr quint32 KeyAllAccess = 0xF003F;
constexpr int LockTimeoutMs = 10000;

constexpr QFileDevice::Permissions OwnerOnly =
    QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser | QFileDevice::WriteUser;
constexpr QFileDevice::Permissions ReadableByAll = OwnerOnly | QFileDevice::ReadGroup | QFileDevice::ReadOther;

QString directory(const char* variable, const QString& fallback)
{
    const QString moved = qEnvironmentVariable(variable);
    return moved.isEmpty() ? fallback : moved;
}

// The file holding one root key.
struct Store {
    QString rootName;
    QString file;
    bool perUser = false;
};

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

// Reads the keys of a store; a missing file is a root without keys. Throws when the file is not registry text.
qint32 load(const Store& store, RegFile& keys)
{
    keys = RegFile(store.rootName);
    QFile file(store.file);
    if (!file.exists()) {
        return Success;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        return AccessDenied;
    }
    keys.parse(file.readAll(), store.file);
    return Success;
}

// Whether the store's file can be written, or created (with its directory) where it is missing.
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

void save(const Store& store, const RegFile& keys)
{
    QSaveFile file(store.file);
    const bool saved = file.open(QIODevice::WriteOnly) &&
                       file.setPermissions(store.perUser ? OwnerOnly : ReadableByAll) &&
                       file.write(keys.toText()) >= 0 && file.commit();
    if (!saved) {
        throw core::Error(
            errc::IoFailed,
            QStringLiteral("The registry file %1 cannot be written: %2").arg(store.file, file.errorString()));
    }
}

// Applies change to a fresh read of the store under its lock and writes the result back when change reports that
// something changed. change(RegFile&, bool& changed) returns a result code; any other code leaves the file as it was.
template <typename Change> qint32 update(const Store& store, Change&& change)
{
    if (!canWrite(store)) {
        return AccessDenied;
    }
    const QString dir = QFileInfo(store.file).absolutePath();
    if (!QDir(dir).exists()) {
        if (!QDir().mkpath(dir)) {
            return AccessDenied;
        }
        if (store.perUser) {
            QFile::setPermissions(dir, OwnerOnly | QFileDevice::ExeOwner | QFileDevice::ExeUser);
        }
    }
    QLockFile lock(store.file + QStringLiteral(".lock"));
    if (!lock.tryLock(LockTimeoutMs)) {
        throw core::Error(errc::IoFailed, QStringLiteral("The registry file %1 is locked").arg(store.file));
    }
    RegFile keys(store.rootName);
    bool changed = false;
    qint32 code = load(store, keys);
    if (code == Success) {
        code = change(keys, changed);
    }
    if (code == Success && changed) {
        save(store, keys);
    }
    return code;
}

// Texts that fit on one line of the file.
bool storable(const QString& text)
{
    return !text.contains(u'\n') && !text.contains(u'\r') && !text.contains(QChar(0));
}

class FileBackend final : public RegistryBackend
{
public:
    qint32 openKey(quint32 root, const QString& subKey, quint32 access, KeyHandle& key) override
    {
        const auto store = storeOf(root);
        if (!store) {
            return InvalidHandle;
        }
        if (!RegFile::validPath(subKey)) {
            return BadPathname;
        }
        RegFile keys(store->rootName);
        if (const qint32 code = load(*store, keys); code != Success) {
            return code;
        }
        if (!keys.hasKey(subKey)) {
            return FileNotFound;
        }
        if ((access & KeySetValue) && !canWrite(*store)) {
            return AccessDenied;
        }
        key = remember({*store, subKey, access});
        return Success;
    }

    qint32 createKey(quint32 root, const QString& subKey, KeyHandle& key) override
    {
        const auto store = storeOf(root);
        if (!store) {
            return InvalidHandle;
        }
        if (!RegFile::validPath(subKey) || !storable(subKey)) {
            return BadPathname;
        }
        const qint32 code = update(*store, [&](RegFile& keys, bool& changed) {
            changed = !keys.hasKey(subKey);
            keys.addKey(subKey);
            return Success;
        });
        if (code == Success) {
            key = remember({*store, subKey, KeyAllAccess});
        }
        return code;
    }

    qint32 setStringValue(KeyHandle key, const QString& name, const QString& value) override
    {
        const auto open = m_open.constFind(key);
        if (open == m_open.cend()) {
            return InvalidHandle;
        }
        if (!(open->access & KeySetValue)) {
            return AccessDenied;
        }
        if (!storable(name) || !storable(value)) {
            return InvalidParameter;
        }
        const QString path = open->path;
        return update(open->store, [&](RegFile& keys, bool& changed) {
            if (!keys.hasKey(path)) {
                return KeyDeleted;
            }
            keys.setValue(path, name, value);
            changed = true;
            return Success;
        });
    }

    qint32 queryValue(KeyHandle key, const QString& name, QString& buffer, qint32& length) override
    {
        const auto open = m_open.constFind(key);
        if (open == m_open.cend()) {
            return InvalidHandle;
        }
        if (!(open->access & KeyQueryValue)) {
            return AccessDenied;
        }
        RegFile keys(open->store.rootName);
        if (const qint32 code = load(open->store, keys); code != Success) {
            return code;
        }
        if (!keys.hasKey(open->path)) {
            return KeyDeleted;
        }
        const RegFile::Value* value = keys.value(open->path, name);
        if (!value) {
            return FileNotFound;
        }
        if (!value->isString) {
            return InvalidData;
        }
        const auto needed = qint32(value->data.size() + 1);
        if (needed > length) {
            length = needed;
            return MoreData;
        }
        buffer.replace(0, needed, value->data + QChar(0));
        length = needed;
        return Success;
    }

    qint32 closeKey(KeyHandle key) override { return m_open.remove(key) ? Success : InvalidHandle; }

private:
    struct OpenKey {
        Store store;
        QString path;
        quint32 access;
    };

    KeyHandle remember(const OpenKey& open)
    {
        m_open.insert(++m_lastHandle, open);
        return m_lastHandle;
    }

    QHash<KeyHandle, OpenKey> m_open;
    KeyHandle m_lastHandle = 0;
};

} // namespace

std::unique_ptr<RegistryBackend> createPlatformBackend()
{
    return std::make_unique<FileBackend>();
}

} // namespace registry
