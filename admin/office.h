#pragma once

#include <QString>

namespace admin {

// An empty office on the embedded engine: the schema, one counting basis and one price rule with their
// counter set (new time entries take them), and the shared account's login.
struct NewOffice {
    QString path;
    QString catalog;
    QString sharedUser;
    QString sharedPassword;
};
// Throws core::Error when the file exists or a step fails; nothing of the file stays then.
void createOffice(const NewOffice& office);

// The logins of an embedded office file (the names people type at login; stored trimmed, letter case ignored).
enum class LoginChange { Add, Password, Remove };
// Add fails when the login exists; Password and Remove fail when it does not. Throws core::Error.
void changeLogin(const QString& file, LoginChange change, const QString& name, const QString& password = QString());

} // namespace admin
