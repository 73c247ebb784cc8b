#pragma once

#include "data/office/postgresoffice.h"

#include <QString>

namespace bench {

// A PostgreSQL server of the benchmark's own (scripts/pg-server.sh): a cluster in folder, started by the
// constructor and stopped, with its folder removed, by the destructor, also when a figure fails.
class PrivateServer
{
public:
    // Throws core::Error when the server does not start (its log is on stderr).
    explicit PrivateServer(QString folder);
    ~PrivateServer();
    PrivateServer(const PrivateServer&) = delete;
    PrivateServer& operator=(const PrivateServer&) = delete;

    // The server as its superuser reaches it, over a link without encryption (it has no certificate).
    data::PostgresTarget target() const { return m_target; }

private:
    QString m_folder;
    data::PostgresTarget m_target;
};

} // namespace bench
