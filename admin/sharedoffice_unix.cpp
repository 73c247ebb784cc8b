#include "admin/sharedoffice.h"
#include "core/errorvalue.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

namespace admin::sharedoffice {

namespace {

constexpr mode_t FolderMode = S_ISGID | 0775;
constexpr mode_t FileMode = 0664;

[[noreturn]] void refuse(const QString& text)
{
    throw core::Error(core::errc::InvalidProcedureCall, text);
}

gid_t groupId(const QString& group)
{
    const QByteArray name = group.toLocal8Bit();
    const struct group* entry = getgrnam(name.constData());
    if (entry == nullptr) {
        refuse(QStringLiteral("O grupo \"%1\" não existe nesta máquina: crie-o (sudo groupadd %1) e junte-lhe os "
                              "utilizadores do contador (sudo usermod -aG %1 NOME), ou indique outro com --group")
                   .arg(group));
    }
    return entry->gr_gid;
}

// The owner stays; the group and the mode change. Both are set explicitly, so the umask of whoever runs this does
// not matter.
void hand(const QString& path, gid_t gid, mode_t mode)
{
    const QByteArray native = QFile::encodeName(path);
    if (chown(native.constData(), uid_t(-1), gid) != 0 || chmod(native.constData(), mode) != 0) {
        refuse(QStringLiteral("Não foi possível dar %1 ao grupo do escritório: %2")
                   .arg(path, QString::fromLocal8Bit(strerror(errno))));
    }
}

} // namespace

void prepareFolder(const QString& file, const QString& group)
{
    const gid_t gid = groupId(group);
    const QString folder = QFileInfo(file).absolutePath();
    const QDir dir(folder);
    if (!dir.exists()) {
        if (!QDir().mkpath(folder)) {
            refuse(QStringLiteral("Não foi possível criar a pasta %1").arg(folder));
        }
        hand(folder, gid, FolderMode);
        return;
    }
    struct stat info {
    };
    const QByteArray native = QFile::encodeName(folder);
    if (stat(native.constData(), &info) != 0) {
        refuse(QStringLiteral("Não foi possível ler a pasta %1").arg(folder));
    }
    const bool groupsAlready = info.st_gid == gid && (info.st_mode & FolderMode) == FolderMode;
    if (groupsAlready) {
        return;
    }
    if (!dir.isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System)) {
        refuse(QStringLiteral("A pasta %1 já tem outros ficheiros e não é do grupo \"%2\" com escrita: os "
                              "utilizadores do contador precisam de escrever na pasta do ficheiro. Use uma pasta só "
                              "para o escritório (por exemplo /srv/orv)")
                   .arg(folder, group));
    }
    hand(folder, gid, FolderMode);
}

void shareFile(const QString& file, const QString& group)
{
    const gid_t gid = groupId(group);
    for (const char* suffix : {"", "-journal", "-wal", "-shm"}) {
        const QString path = file + QLatin1String(suffix);
        if (QFileInfo::exists(path)) {
            hand(path, gid, FileMode);
        }
    }
}

} // namespace admin::sharedoffice
