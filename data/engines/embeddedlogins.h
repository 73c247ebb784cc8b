#pragma once

#include "data/engines/embedded.h"

#include <QString>

struct sqlite3;

namespace data::embedded {

// The engine's own tables in every database file: the catalog name and the logins.
QString catalogTablesScript();

// An Argon2id hash of the password in libsodium's string form. Throws core::Error when out of memory.
QString hashPassword(const QString& password, HashCost cost);

// Checks what a server checks at login: the user is a login of the file with that password, and a
// non-empty catalog names the file's catalog (letter case ignored). Throws core::Error with the
// server's message ("Login failed for user '…'.", "Cannot open database …") otherwise.
void checkLogin(sqlite3* db, const QString& user, const QString& password, const QString& catalog);

} // namespace data::embedded
