#pragma once

#include "data/connectionbackend.h"

#include <QStringList>

namespace data {

// A connection to SQL Server through Qt's ODBC driver and the platform's driver manager (unixODBC, or Windows'
// own odbc32). Statements go to the server
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

    // The driver names registered with the driver manager, with the library each loads where the manager tells it
    // (unixODBC's odbcinst.ini sections; Windows' list of installed drivers). Never fails: none read gives none.
    // One implementation per platform.
    static QList<QPair<QString, QString>> installedDrivers();
    // The drivers for SQL Server by name, best first: Microsoft's 18 and 17, and on Windows then the ones that
    // ship with it ("SQL Server Native Client 11.0", "SQL Server").
    static QStringList preferredDrivers();
    // The driver to use: the first of preferredDrivers installed, then a registered FreeTDS, else the FreeTDS
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
