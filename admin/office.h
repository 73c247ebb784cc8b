#pragma once

#include <QString>

namespace data {
struct PostgresTarget;
}

namespace admin {

// An empty office on the embedded engine: the schema, one counting basis and one price rule with their
// counter set (new time entries take them), and the shared account's login. With a group, the folder is made when
// absent and the folder and the file are handed to the group (sharedoffice), so that every member may count.
struct NewOffice {
    QString path;
    QString catalog;
    QString sharedUser;
    QString sharedPassword;
    QString group; // empty: the file stays as the engine made it, for this user alone
};
// Throws core::Error when the file exists, the folder cannot be used by the group, or a step fails; nothing of the
// file stays then.
void createOffice(const NewOffice& office);

// An empty office on a PostgreSQL server: the shared account as a role with its password (a role of that name
// must not exist yet), the database owned by it with the schema, the counting basis and the price rule.
// Throws core::Error when a name or the password could not be used at login, the database or role exists, or
// the server refuses; no database stays then.
void createServerOffice(const data::PostgresTarget& target, const QString& sharedUser, const QString& sharedPassword);

// The logins of an embedded office file (the names people type at login; stored trimmed, letter case ignored).
enum class LoginChange { Add, Password, Remove };
// Add fails when the login exists; Password and Remove fail when it does not. Throws core::Error.
void changeLogin(const QString& file, LoginChange change, const QString& name, const QString& password = QString());
// The same on a PostgreSQL server, where every login is a role of the server (its name in lower case, at most 63
// bytes). A name or password the counter's connection could not carry (';', a brace, blanks at either end) or
// an empty password is refused before anything is sent.
void changeRole(const data::PostgresTarget& server, LoginChange change, const QString& name,
                const QString& password = QString());

} // namespace admin
