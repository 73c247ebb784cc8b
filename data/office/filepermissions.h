#pragma once

#include <QString>

namespace data {

// Why this process could not use an office database file for writing, in words for the administrator: which file or
// folder, which user, what is missing, and who owns it with which mode. The engine writes the file itself, and beside
// it the journal and shared-memory files (made in the folder when absent). Empty when nothing is missing, or when the
// file does not exist (that is another failure, told by whoever opens it).
QString writeProblem(const QString& databaseFile);

} // namespace data
