#pragma once

#include <QString>

namespace tools {

// The machine settings that point the counter at a database: the server subkey named by
// HKEY_LOCAL_MACHINE\SOFTWARE\Vorlent\Shared\OUT "DataServer", and under it the connection values,
// the shared account's password scrambled for this workstation.
class DemoSettings
{
public:
    static QString sharedKey();
    // The key of a server subkey, e.g. HKEY_LOCAL_MACHINE\SOFTWARE\Vorlent\DEMO.
    static QString serverKey(const QString& server);

    // Writes "DataServer" = server and the server subkey's "dtSecurityInfo" ("False"), "dtUser",
    // "dtPassword" (scrambled), "dtInitialCatalog" and "dtDataSource" (the database file's absolute path).
    // Throws core::Error naming the first key or value that could not be written.
    static void write(const QString& server, const QString& databasePath, const QString& catalog, const QString& user,
                      const QString& password);

    // Remembers a login for this user account, as ticking "Recordar a palavra-passe" does:
    // "Username", "Password" (scrambled) and "Remember" = "1" under HKEY_CURRENT_USER\Software\Vorlent.
    // Throws core::Error when a value cannot be written.
    static void remember(const QString& user, const QString& password);
};

} // namespace tools
