#pragma once

#include <QString>

namespace admin {

// An office file every member of a group of the machine may use: its folder belongs to the group, group-writable
// with the set-group-ID bit (so the journal and shared-memory files the engine makes beside the file belong to the
// group too), and the file group-writable. The engine gives those files the database file's mode.
namespace sharedoffice {

// The group the README tells the administrator to put the lawyers in; the Debian package makes it.
inline QString defaultGroup()
{
    return QStringLiteral("orvcounter");
}

// Makes the folder of a new office file when absent and hands it to the group. A folder that already exists is
// used when it is empty or already the group's and writable by it; any other (a folder shared with other files)
// is refused rather than opened up. Throws core::Error naming the folder, or a group that does not exist.
void prepareFolder(const QString& file, const QString& group);

// Hands the file and the files the engine keeps beside it to the group, readable and writable by it (0664).
void shareFile(const QString& file, const QString& group);

} // namespace sharedoffice

} // namespace admin
