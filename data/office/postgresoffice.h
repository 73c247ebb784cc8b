#pragma once

#include "data/engines/odbcconnection.h"

#include <QString>

#include <functional>
#include <memory>
#include <optional>

namespace data {

class PostgresAdmin;
struct MachineSettings;

// Where an office goes on a PostgreSQL server: the server ("host,port"), a role that may create roles and
// databases with its password, the office database's name and the link's protection.
struct PostgresTarget {
    QString server;
    QString admin;
    QString adminPassword;
    QString catalog;
    OdbcConnection::TransportSecurity security;

    // A session as the admin on database (the server's own "postgres" when empty). Throws core::Error.
    std::unique_ptr<PostgresAdmin> session(const QString& database = QString()) const;
};

namespace postgresoffice {

// What create may do with what the server holds already: drop a database of the office's name, and give an
// existing role of the shared account's name the new password. Each is refused when not allowed: an existing role
// may be another office's account, or the admin's own.
struct Replacing {
    bool database = false;
    bool sharedRole = false;
};

// Makes the shared account a login role with this password, then the office database owned by it with the schema,
// then runs fill on a session of the new database. Throws core::Error; the new database is dropped again then.
void create(const PostgresTarget& target, const QString& sharedUser, const QString& sharedPassword, Replacing replacing,
            const std::function<void(PostgresAdmin& office)>& fill);

// The counting basis and the price rule of a new office, both with their counter set: new time entries take them.
void addCountingRules(PostgresAdmin& office);

// Copies every table of an embedded office file into the office, in one transaction; entries counted from then
// on are numbered after the copied ones. Throws core::Error.
void copyOfficeFile(const QString& file, PostgresAdmin& office);

// Writes the machine settings that point the counter at the office: those of MachineSettings with the server as
// Data Source, "dtEngine" = "PostgreSQL", and "dtEncrypt" = "0" for a link without encryption. Throws
// core::Error naming the first value that could not be written.
void writeSettings(const QString& serverName, const PostgresTarget& target, const QString& sharedUser,
                   const QString& sharedPassword);

// The office that machine settings point at when their "dtEngine" names PostgreSQL: the server, the catalog and
// the link's protection ("dtEncrypt", "dtTrustServerCertificate"), without an admin; nothing for another engine.
std::optional<PostgresTarget> readSettings(const MachineSettings& settings);

} // namespace postgresoffice

} // namespace data
