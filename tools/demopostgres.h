#pragma once

#include "data/odbcconnection.h"

#include <QString>

namespace tools {

// Where a demo office goes on a PostgreSQL server: the server ("host,port"), a role that may create roles and
// databases, and the database's name.
struct PostgresTarget {
    QString server;
    QString admin;
    QString adminPassword;
    QString catalog;
    data::OdbcConnection::TransportSecurity security;
};

// Copies the demo office of an embedded file into a new database of the server, owned by the shared account;
// the shared account and every demo login become roles with their demo passwords. An existing database of that
// name is replaced only when replace is set. Throws core::Error (the new database is dropped again then).
void copyToPostgres(const QString& file, const PostgresTarget& target, bool replace);

} // namespace tools
