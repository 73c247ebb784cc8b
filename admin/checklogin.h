#pragma once

#include "data/connection.h"

#include <QList>
#include <QString>

#include <functional>
#include <optional>

namespace admin {

// One step of the login as the check runs it.
struct CheckStep {
    enum class Status { Passed, Failed, Skipped };
    int number = 0;
    QString name;
    Status status = Status::Skipped;
    QString detail; // why it failed or was skipped, or what it found
};

// Whether a server answers on a TCP port.
struct Reach {
    enum class Result { Reached, Refused, TimedOut };
    Result result = Result::Reached;
    QString message;
};

// What the check asks of the machine, replaceable in tests.
struct CheckProbes {
    // The driver a connection to the engine would load (an ODBC driver for SQL Server, Qt's PostgreSQL driver);
    // empty when none is installed.
    std::function<QString(data::Connection::Engine)> driver;
    std::function<Reach(const QString& host, quint16 port, int seconds)> reach;
};
CheckProbes machineProbes();

// Where a Data Source that names a server is reached. SQL Server: "host", "host\instance", "host,port",
// "tcp:host,port", "(local)", "."; the port is 0 for a named instance without one (the server's
// browser service tells it). PostgreSQL: "host", "host,port" or "host:port" (5432 when none); the port is 0 when it
// is no number.
struct ServerAddress {
    QString host;
    quint16 port = 1433;
};
ServerAddress serverAddress(const QString& dataSource,
                            data::Connection::Engine engine = data::Connection::Engine::SqlServer);

// Does what the login does, step by step, and stops at the first step that fails; the steps after it
// are listed as skipped. The steps are numbered the same every time:
//   1 machine settings (and the engine they name: every step follows it), 2 ODBC driver of that engine (or the
//   database file, which this user must be able to write, with its folder), 3 server reachable, 4 the user's login and
//   catalog, 5 the shared account, 6 tables and views, 7 the lawyer behind the user.
// Without a user (no value), steps 4 and 7 are skipped. A refused user's login counts as a failed login and
// waits as the window's does (core::LoginThrottle); a good one forgets the failures. Never throws; never
// shows a password.
QList<CheckStep> checkLogin(const std::optional<QString>& user, const QString& password, const CheckProbes& probes);

// The number of the first failed step, 0 when none failed.
int failedStep(const QList<CheckStep>& steps);

} // namespace admin
