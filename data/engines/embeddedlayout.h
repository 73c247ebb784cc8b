#pragma once

#include <QString>

struct sqlite3;

namespace data::embedded {

// The layout of the office files this engine makes, kept in the file as PRAGMA user_version. Layout 1 keeps each
// task's recorded time in a table of its own as the entries change (data/sql/embedded-layout1.sql); a file of
// layout 0 summed every task's entries at each read of the pending tasks' view.
inline constexpr int FileLayout = 1;

// A script shipped with the library, by its resource path. Throws core::Error when it is missing from the build.
QString readScript(const QString& resource);

// What a new office file runs after the tables of embedded.sql, and what brings a file of layout 0 to layout 1.
QString layoutScript();

// Brings the office file open on db to FileLayout in one write transaction. Does nothing when the file has that
// layout or a later one, holds no office (no time entries table), or stays locked by another workstation's write
// for the busy time-out. Throws core::Error with the engine's words when the file cannot be changed.
void upgradeLayout(sqlite3* db);

} // namespace data::embedded
