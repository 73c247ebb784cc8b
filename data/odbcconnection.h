#pragma once

#include "data/connectionbackend.h"

#include <QStringList>

namespace data {

// A connection to SQL Server through Qt's ODBC driver and unixODBC. Statements go to the server
// unchanged; errors carry the server's native number when it gives one.
class OdbcConnection : public ConnectionBackend
{
public:
    // How the link to the server is protected: the machine settings choose it (start-up sets it before the
    // first connection). By default the link is encrypted and the server's certificate is checked.
    struct TransportSecurity {
        bool encrypt = true;
        bool trustServerCertificate = false;
    };
    static void setTransportSecurity(const TransportSecurity& security);
    static TransportSecurity transportSecurity();

    // The SQL Server drivers this class can use, best first.
    static QString msDriver18() { return QStringLiteral("ODBC Driver 18 for SQL Server"); }
    static QString msDriver17() { return QStringLiteral("ODBC Driver 17 for SQL Server"); }
    static QString freeTdsLibrary() { return QStringLiteral("/usr/lib/x86_64-linux-gnu/odbc/libtdsodbc.so"); }

    // The driver names registered with unixODBC (odbcinst.ini sections), with the library each loads.
    // Never fails: unreadable files give no drivers.
    static QList<QPair<QString, QString>> installedDrivers();
    // The driver to use: Microsoft's 18, then 17, then a registered FreeTDS, else the FreeTDS
    // library by its path. Empty when none is there (tdsLibraryPresent false and none registered).
    static QString chooseDriver(const QList<QPair<QString, QString>>& installed, bool tdsLibraryPresent);
    // True when the driver chosen is FreeTDS, which takes the port and protocol in keys of its own.
    static bool isFreeTds(const QString& driver);

    // The ODBC connection string for the text and driver. Data Source may be "host", "host\instance",
    // "host,port", "tcp:host,port", "(local)" or "."; every value goes in braces with '}' doubled, so nothing in
    // a value can add a keyword. Throws core::Error when a value holds a NUL character, which would cut the
    // string short. The password is part of the result: never log it.
    static QString connectionString(const ConnectionText& text, const QString& driver,
                                    const TransportSecurity& security = transportSecurity());

    // A value of an ODBC connection string: in braces with '}' doubled, so nothing in it can add a keyword.
    // Throws core::Error when it holds a NUL character, which would cut the string short.
    static QString braced(const QString& value);

    QString driverName() const override;
    void open(QSqlDatabase& db, const ConnectionText& text) override;
    QString translate(const QString& sql) const override;
    QList<ColumnKind> columnKinds(const QSqlQuery& query) const override;
    core::ErrorValue errorValue(const QSqlError& error) const override;
    bool linkLost(const QSqlError& error) const override;

protected:
    // Opens db with an ODBC connection string, giving up after the time-out. Throws core::Error (this class's
    // errorValue) when refused; db is closed again then.
    void openWith(QSqlDatabase& db, const QString& odbcText, int timeoutSeconds) const;
};

} // namespace data
