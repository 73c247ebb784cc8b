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
// The password's verification takes the answer of checkLoginAhead when one was started for the same stored hash
// and password.
void checkLogin(sqlite3* db, const QString& user, const QString& password, const QString& catalog);

// Starts verifying the password of a login of the file at path against its stored hash, on a thread of its own,
// for checkLogin to take later. Keeps one such answer (the latest), under a digest of hash and password rather
// than the password. Does nothing when the file or the login cannot be read; never throws.
void checkLoginAhead(const QString& path, const QString& user, const QString& password);

} // namespace data::embedded
