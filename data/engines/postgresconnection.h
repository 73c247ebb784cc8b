#pragma once

#include "data/connectionbackend.h"
#include "data/engines/odbcconnection.h"

namespace data {

// A connection to a PostgreSQL server through Qt's PostgreSQL driver (QPSQL) over the server's own client library,
// libpq. The login is the server's: User ID (in lower case, as SQL Server's logins ignore letter case and roles are
// made in lower case) and Password name a role, Initial Catalog the database. Statements are translated from SQL
// Server's dialect (TsqlTranslator::toPostgres); a dropped server is a lost link.
class PostgresConnection : public ConnectionBackend
{
public:
    // How long a statement waits for a row or table another session holds locked before it fails.
    static constexpr int LockTimeoutMs = 2000;

    // True when Qt's PostgreSQL driver can be loaded here (Debian's libqt6sql6-psql).
    static bool driverAvailable();

    // Sets db (made with driverName) to log in as the text says. Data Source is "host", "host,port" or "host:port"
    // (5432 when none; "(local)", "." and nothing are this machine). Qt's driver quotes every value for libpq, so
    // nothing typed adds a keyword; the options this sets are the connect time-out, the lock time-out and the link's
    // protection: encrypted with the server's certificate checked (verify-full), or only encrypted (require) when
    // the certificate is trusted, or as the server offers (prefer) when encryption is off. Throws core::Error when a
    // value holds a NUL character (the client library's texts end there), or the port is not a number.
    // db then holds the password: never log its settings.
    static void prepare(QSqlDatabase& db, const ConnectionText& text,
                        const OdbcConnection::TransportSecurity& security = OdbcConnection::transportSecurity());

    // True when a connection value can be carried: it holds no NUL character.
    static bool carries(const QString& value);

    QString driverName() const override;
    void open(QSqlDatabase& db, const ConnectionText& text) override;
    QString translate(const QString& sql) const override;
    core::ErrorValue errorValue(const QSqlError& error) const override;
    bool linkLost(const QSqlError& error) const override;
};

} // namespace data
