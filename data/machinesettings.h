#pragma once

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

    static QString sharedKey();
    // The key of a server subkey, e.g. HKEY_LOCAL_MACHINE\SOFTWARE\Vorlent\DEMO.
    static QString serverKey(const QString& server);

    // Writes "DataServer" and the server subkey's "dtSecurityInfo", "dtUser", "dtPassword" (scrambled),
    // "dtInitialCatalog" and "dtDataSource". Throws core::Error naming the first key or value that could
    // not be written, or when the password would not come back from its scrambled form on this machine.
    void write() const;

    // Reads the settings in the order the login reads them, unscrambling the password. Throws core::Error
    // naming the first missing key or value.
    static MachineSettings read();
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
