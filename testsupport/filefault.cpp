#include "testsupport/filefault.h"

#include "core/errorvalue.h"
#include "data/engines/embeddedfile.h"

#include <QFile>
#include <QStringList>

#ifdef Q_OS_LINUX
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>
#endif

namespace testsupport {
namespace {

QString aside(const QString& path)
{
    return path + QStringLiteral(".aside");
}

// The database file and its write-ahead log. Not the shared-memory index: the engine writes it through a mapping,
// where an immutable file ends the process (SIGBUS) instead of failing a write.
QStringList filesOf(const QString& path)
{
    QStringList files;
    for (const QString& suffix : {QString(), QStringLiteral("-wal")}) {
        if (QFile::exists(path + suffix)) {
            files << path + suffix;
        }
    }
    return files;
}

// Sets or clears the immutable flag of a file; false when the file system or the rights refuse, and on systems
// without the flag (Windows' read-only attribute does not stop a handle opened before).
bool setImmutable([[maybe_unused]] const QString& file, [[maybe_unused]] bool on)
{
#ifdef Q_OS_LINUX
    const int fd = ::open(QFile::encodeName(file).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    int flags = 0;
    bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (done) {
        flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        done = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    ::close(fd);
    return done;
#else
    return false;
#endif
}

[[noreturn]] void cannot(const QString& what)
{
    throw core::Error(core::errc::IoFailed, QStringLiteral("The database file could not be %1.").arg(what));
}

} // namespace

FileFault::FileFault(const QString& path, Kind kind)
    : m_path(path)
    , m_kind(kind)
{
    switch (kind) {
    case Kind::Moved:
        if (!QFile::rename(path, aside(path))) {
            cannot(QStringLiteral("moved"));
        }
        break;
    case Kind::Deleted:
        data::embedded::EmbeddedFile(path, data::embedded::EmbeddedFile::Mode::Existing)
            .exec(QStringLiteral("VACUUM INTO ?"), {aside(path)});
        if (!QFile::remove(path)) {
            cannot(QStringLiteral("deleted"));
        }
        break;
    case Kind::ReadOnly:
        for (const QString& file : filesOf(path)) {
            if (!setImmutable(file, true)) {
                end();
                cannot(QStringLiteral("made immutable (a disk file system and the right to set the flag are needed)"));
            }
        }
        if (QFile probe(path); probe.open(QIODevice::WriteOnly | QIODevice::Append)) {
            end();
            cannot(QStringLiteral("made read-only"));
        }
        break;
    }
}

FileFault::~FileFault()
{
    end();
}

void FileFault::end()
{
    if (m_ended) {
        return;
    }
    m_ended = true;
    switch (m_kind) {
    case Kind::Moved:
        QFile::rename(aside(m_path), m_path);
        break;
    case Kind::Deleted:
        QFile::copy(aside(m_path), m_path);
        QFile::remove(aside(m_path));
        break;
    case Kind::ReadOnly:
        for (const QString& file : filesOf(m_path)) {
            setImmutable(file, false);
        }
        break;
    }
}

} // namespace testsupport
