#pragma once

#include <QString>

namespace testsupport {

// A fault of an embedded database file under an open connection, as an administrator, a backup tool or a failing
// disk makes it, lasting until end() or the destructor:
// - Moved: renamed aside, then renamed back;
// - Deleted: deleted (a copy of what it held kept first, as a backup), then restored from that copy;
// - ReadOnly: the file and its write-ahead log made immutable, so that nothing writes them, not even through a
//   handle opened before, nor opens them for writing; then writable again.
// The constructor throws core::Error when the fault cannot be made (ReadOnly needs a disk file system that keeps
// the immutable flag and the right to set it).
class FileFault
{
public:
    enum class Kind { Moved, Deleted, ReadOnly };

    FileFault(const QString& path, Kind kind);
    ~FileFault();
    FileFault(const FileFault&) = delete;
    FileFault& operator=(const FileFault&) = delete;

    void end();

private:
    QString m_path;
    Kind m_kind;
    bool m_ended = false;
};

} // namespace testsupport
