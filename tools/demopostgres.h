#pragma once

#include "data/office/postgresoffice.h"

#include <QString>

namespace tools {

// Copies the demo office of an embedded file into a new database of the server, owned by the shared account;
// the shared account and every demo login become roles with their demo passwords. An existing database of that
// name is replaced only when replace is set. Throws core::Error (the new database is dropped again then).
void copyToPostgres(const QString& file, const data::PostgresTarget& target, bool replace);

} // namespace tools
