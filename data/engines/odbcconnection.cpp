#include "data/engines/odbcconnection.h"

#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>

namespace data {

namespace {

// ODBC's type codes (sql.h) as QSqlField::typeID reports them: exact decimals and floats, which
// Qt's driver delivers as exact text.
constexpr int SqlNumeric = 2;
constexpr int SqlDecimal = 3;
constexpr int SqlFloat = 6;
constexpr int SqlReal = 7;
constexpr int SqlDouble = 8;

OdbcConnection::TransportSecurity& securitySlot()
{
    static OdbcConnection::TransportSecurity security;
    return security;
}

} // namespace

QString OdbcConnection::braced(const QString& value)
{
    if (value.contains(QChar(0))) {
        throw core::Error(core::errc::ProviderError,
                          QStringLiteral("A connection value holds a NUL character, which ODBC cannot carry."));
    }
    QString escaped = value;
    escaped.replace(QLatin1Char('}'), QLatin1String("}}"));
    return QLatin1Char('{') + escaped + QLatin1Char('}');
}

void OdbcConnection::setTransportSecurity(const TransportSecurity& security)
{
    securitySlot() = security;
}

OdbcConnection::TransportSecurity OdbcConnection::transportSecurity()
{
    return securitySlot();
}

QString OdbcConnection::chooseDriver(const QList<QPair<QString, QString>>& installed, bool tdsLibraryPresent)
{
    for (const QString& preferred : preferredDrivers()) {
        for (const auto& driver : installed) {
            if (driver.first.compare(preferred, Qt::CaseInsensitive) == 0) {
                return driver.first;
            }
        }
    }
    for (const auto& driver : installed) {
        if (driver.first.contains(QLatin1String("FreeTDS"), Qt::CaseInsensitive) ||
            driver.second.contains(QLatin1String("libtdsodbc"))) {
            return driver.first;
        }
    }
    return tdsLibraryPresent ? freeTdsLibrary() : QString();
}

bool OdbcConnection::isFreeTds(const QString& driver)
{
    return driver.contains(QLatin1String("FreeTDS"), Qt::CaseInsensitive) || driver.contains(QLatin1String("libtds"));
}

QString OdbcConnection::connectionString(const ConnectionText& text, const QString& driver,
                                         const TransportSecurity& security)
{
    QString server = text.dataSource.trimmed();
    if (server.startsWith(QLatin1String("tcp:"), Qt::CaseInsensitive)) {
        server = server.mid(4);
    }
    QString port;
    const qsizetype comma = server.lastIndexOf(QLatin1Char(','));
    if (comma >= 0) {
        port = server.mid(comma + 1).trimmed();
        server = server.left(comma).trimmed();
    }
    QString host = server.section(QLatin1Char('\\'), 0, 0);
    const QString instance = server.contains(QLatin1Char('\\')) ? server.section(QLatin1Char('\\'), 1) : QString();
    if (host == QLatin1String("(local)") || host == QLatin1String(".") || host.isEmpty()) {
        host = QStringLiteral("localhost");
    }
    const QString hostAndInstance = instance.isEmpty() ? host : host + QLatin1Char('\\') + instance;

    QStringList parts;
    parts << QStringLiteral("Driver=") +
                 (driver.startsWith(QLatin1Char('/')) ? driver : QLatin1Char('{') + driver + QLatin1Char('}'));
    const bool freeTds = isFreeTds(driver);
    if (freeTds) {
        parts << QStringLiteral("Server=") + braced(hostAndInstance);
        if (!port.isEmpty()) {
            parts << QStringLiteral("Port=") + braced(port);
        }
        parts << QStringLiteral("TDS_Version=7.4") << QStringLiteral("ClientCharset=UTF-8");
        parts << (security.encrypt ? QStringLiteral("Encryption=require") : QStringLiteral("Encryption=off"));
    } else {
        parts << QStringLiteral("Server=") +
                     braced(port.isEmpty() ? hostAndInstance : hostAndInstance + QLatin1Char(',') + port);
        parts << (security.encrypt ? QStringLiteral("Encrypt=yes") : QStringLiteral("Encrypt=no"));
        parts << (security.trustServerCertificate ? QStringLiteral("TrustServerCertificate=yes")
                                                  : QStringLiteral("TrustServerCertificate=no"));
    }
    if (!text.initialCatalog.isEmpty()) {
        parts << QStringLiteral("Database=") + braced(text.initialCatalog);
    }
    parts << QStringLiteral("UID=") + braced(text.userId) << QStringLiteral("PWD=") + braced(text.password);
    return parts.join(QLatin1Char(';')) + QLatin1Char(';');
}

QString OdbcConnection::driverName() const
{
    return QStringLiteral("QODBC");
}

void OdbcConnection::open(QSqlDatabase& db, const ConnectionText& text)
{
    const QString driver = chooseDriver(installedDrivers(), QFileInfo::exists(freeTdsLibrary()));
    if (driver.isEmpty()) {
        throw core::Error(core::errc::ProviderError, QStringLiteral("No SQL Server ODBC driver is installed."));
    }
    openWith(db, connectionString(text, driver), text.connectTimeout);
}

void OdbcConnection::openWith(QSqlDatabase& db, const QString& odbcText, int timeoutSeconds) const
{
    db.setDatabaseName(odbcText);
    db.setConnectOptions(QStringLiteral("SQL_ATTR_LOGIN_TIMEOUT=%1").arg(timeoutSeconds));
    if (!db.open()) {
        const core::ErrorValue error = errorValue(db.lastError());
        db.close();
        throw core::Error(error);
    }
}

QString OdbcConnection::translate(const QString& sql) const
{
    return sql;
}

QList<ColumnKind> OdbcConnection::columnKinds(const QSqlQuery& query) const
{
    QList<ColumnKind> kinds;
    const QSqlRecord record = query.record();
    for (int i = 0; i < record.count(); ++i) {
        const QSqlField field = record.field(i);
        const int type = field.typeID();
        if ((type == SqlNumeric || type == SqlDecimal) && field.precision() == 0) {
            kinds.append(ColumnKind::WholeNumber);
        } else if (type == SqlNumeric || type == SqlDecimal || type == SqlFloat || type == SqlReal ||
                   type == SqlDouble) {
            kinds.append(ColumnKind::Number);
        } else {
            kinds.append(ColumnKind::Plain);
        }
    }
    return kinds;
}

core::ErrorValue OdbcConnection::errorValue(const QSqlError& error) const
{
    bool numeric = false;
    const int native = error.nativeErrorCode().section(QLatin1Char(';'), 0, 0).trimmed().toInt(&numeric);
    const QString description = error.databaseText().isEmpty() ? error.text() : error.databaseText();
    return {numeric && native != 0 ? native : core::errc::ProviderError, description};
}

bool OdbcConnection::linkLost(const QSqlError& error) const
{
    // Native numbers of a dropped link: Microsoft's driver (TCP reset, aborted, no process at the
    // other end) and FreeTDS (read or write failed, unexpected end of data).
    static const QStringList lost = {QStringLiteral("10053"), QStringLiteral("10054"), QStringLiteral("233"),
                                     QStringLiteral("20004"), QStringLiteral("20006"), QStringLiteral("20017")};
    return lost.contains(error.nativeErrorCode().trimmed()) ||
           error.databaseText().contains(QLatin1String("Communication link failure"), Qt::CaseInsensitive);
}

} // namespace data
