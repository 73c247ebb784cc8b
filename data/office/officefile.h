#pragma once

#include <QString>

#include <functional>

namespace data::schema {

// Creates an embedded office database: the file with its catalog, the tables and views of the schema,
// then whatever fill adds (logins, rows), given the file's absolute path. When any step throws, nothing
// of the file stays (journal and WAL included) and the error is passed on. Fails when the file exists.
// Throws core::Error.
void createOffice(const QString& path, const QString& catalog, const std::function<void(const QString&)>& fill);

// Removes an embedded database file with its journal and WAL files; false when one stays.
bool removeOffice(const QString& path);

} // namespace data::schema
