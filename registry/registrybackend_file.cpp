// The registry calls over the store files of filestore.h: a key handle remembers its store and path, and every call
// reads the file as it is now, so changes made by other programs are seen at once.
#include "registry/filestore.h"
#include "registry/regfile.h"
#include "registry/registrybackend.h"

#include <QHash>

namespace registry {
namespace {

using namespace result;
using filestore::Store;

constexpr quint32 KeyQueryValue = 0x0001;
constexpr quint32 KeySetValue = 0x0002;
constexpr quint32 KeyAllAccess = 0xF003F;

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
        const auto store = filestore::storeOf(root);
        if (!store) {
            return InvalidHandle;
        }
        if (!RegFile::validPath(subKey)) {
            return BadPathname;
        }
        std::shared_ptr<const RegFile> keys;
        if (const qint32 code = filestore::load(*store, keys); code != Success) {
            return code;
        }
        if (!keys->hasKey(subKey)) {
            return FileNotFound;
        }
        if ((access & KeySetValue) && !filestore::canWrite(*store)) {
            return AccessDenied;
        }
        key = remember({*store, subKey, access});
        return Success;
    }

    qint32 createKey(quint32 root, const QString& subKey, KeyHandle& key) override
    {
        const auto store = filestore::storeOf(root);
        if (!store) {
            return InvalidHandle;
        }
        if (!RegFile::validPath(subKey) || !storable(subKey)) {
            return BadPathname;
        }
        const qint32 code = filestore::update(*store, [&](RegFile& keys, bool& changed) {
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
        return filestore::update(open->store, [&](RegFile& keys, bool& changed) {
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
        std::shared_ptr<const RegFile> keys;
        if (const qint32 code = filestore::load(open->store, keys); code != Success) {
            return code;
        }
        if (!keys->hasKey(open->path)) {
            return KeyDeleted;
        }
        const RegFile::Value* value = keys->value(open->path, name);
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
