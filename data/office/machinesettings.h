#pragma once

#include "data/connection.h"
#include "data/engines/odbcconnection.h"

#include <QString>

namespace data {

// The machine settings that point the counter at its database: the server subkey named by
// HKEY_LOCAL_MACHINE\SOFTWARE\Vorlent\Shared\OUT "DataServer", and under it the connection values,
// the shared account's password scrambled with this workstation's key.
struct MachineSettings {
    QString server; // the name of the server subkey
    QString securityInfo;
    QString user;
    QString password; // plain here; scrambled in the registry
    QString catalog;
    QString dataSource;
    // "dtEngine": empty for SQL Server, else "PostgreSQL" or "Embedded" (a Data Source naming a file always opens
    // the file). "dtEncrypt" = "0" and "dtTrustServerCertificate" = "1" weaken the link's protection.
    QString engine;
    OdbcConnection::TransportSecurity security;

    static QString sharedKey();
    // The key of a server subkey, e.g. HKEY_LOCAL_MACHINE\SOFTWARE\Vorlent\DEMO.
    static QString serverKey(const QString& server);
    // The per-user key: the remembered login ("Remember", "Username", "Password") and, under it, the
    // reminder preferences.
    static QString userKey();

    // Writes "DataServer" and the server subkey's "dtSecurityInfo", "dtUser", "dtPassword" (scrambled),
    // "dtInitialCatalog", "dtDataSource", "dtEngine" (only when one is named), "dtEncrypt" and
    // "dtTrustServerCertificate" ("1" or "0"). Throws core::Error naming the first key or value that could
    // not be written, or when the password would not come back from its scrambled form on this machine.
    void write() const;

    // Reads the settings in the order the login reads them, unscrambling the password. Throws core::Error
    // naming the first missing key or value, or an engine no connection knows. Without any settings at all
    // (no "DataServer"), the error says the machine has none yet.
    static MachineSettings read();

    // True when the machine has a "DataServer" value, whatever else it holds.
    static bool exist();

    // The engine a connection from these settings opens: the file's when the Data Source names one.
    Connection::Engine connectionEngine() const;
    // Makes the engine and the link's protection the process's, as the login does before it connects.
    void apply() const;
};

// Registry writes that throw core::Error naming the key or value instead of returning false.
namespace settingsio {
void createKey(const QString& key);
void setValue(const QString& key, const QString& name, const QString& value);
// The password scrambled for this machine. Throws core::Error when it cannot be scrambled or would
// not unscramble to the same text.
QString scrambled(const QString& password);
} // namespace settingsio

} // namespace data
