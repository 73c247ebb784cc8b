#pragma once

#include <QString>

namespace bench {

class BenchOffice;
class PrivateServer;

// The PostgreSQL engine's two possible clients side by side on one office of a private server: psqlODBC under
// Qt's ODBC driver (what the engine used before) and the engine's own connection, Qt's PostgreSQL driver over libpq.
// For each: opening a login (as start-up opens two), and the pending list's statement read to its end, each with
// wall-clock and CPU time, and the statements the server logged for one open and one read, listed.
class DriverFigures
{
public:
    DriverFigures(PrivateServer& server, BenchOffice& office, QString serverFolder);
    void run(int pending, int rounds);

private:
    PrivateServer& m_server;
    BenchOffice& m_office;
    QString m_folder;
};

} // namespace bench
