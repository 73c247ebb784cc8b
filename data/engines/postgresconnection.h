#pragma once

#include "data/engines/odbcconnection.h"

namespace data {

// A connection to a PostgreSQL server through Qt's ODBC driver and the server's ODBC driver (psqlODBC).
// The login is the server's: User ID (in lower case, as SQL Server's logins ignore letter case and roles are
// made in lower case) and Password name a role, Initial Catalog the database. Statements
// are translated from SQL Server's dialect (TsqlTranslator::toPostgres); a dropped server is a lost link.
class PostgresConnection : public OdbcConnection
{
public:
    // How long a statement waits for a row or table another session holds locked before it fails.
    static constexpr int LockTimeoutMs = 2000;

    static QString unicodeDriver() { return QStringLiteral("PostgreSQL Unicode"); }
    static QString driverLibrary() { return QStringLiteral("/usr/lib/x86_64-linux-gnu/odbc/psqlodbcw.so"); }

    // The registered Unicode driver, else the library by its path; empty when neither is there.
    static QString chooseDriver(const QList<QPair<QString, QString>>& installed, bool libraryPresent);

    // The ODBC connection string. Data Source is "host", "host,port" or "host:port" (5432 when none); the
    // connect time-out is the text's. psqlODBC takes no quoting, so a value holding ';', '{', '}', a NUL or blanks
    // at either end is refused (core::Error), and a port that is not a number too. The link is encrypted with the
    // server's certificate checked (verify-full), or only encrypted (require) when the certificate is trusted,
    // or as the server offers (prefer) when encryption is off.
    // Holds the password: never log it.
    static QString connectionString(const ConnectionText& text, const QString& driver,
                                    const TransportSecurity& security = transportSecurity());

    // True when a connection value can be carried as it is: no ';', brace or NUL, no blanks at either end.
    static bool carries(const QString& value);

    void open(QSqlDatabase& db, const ConnectionText& text) override;
    QString translate(const QString& sql) const override;
    core::ErrorValue errorValue(const QSqlError& error) const override;
    bool linkLost(const QSqlError& error) const override;
};

} // namespace data
