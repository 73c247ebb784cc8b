#include "data/engines/postgresconnection.h"

#include "data/engines/embedded.h"
#include "data/engines/tsqltranslator.h"

#include <QSqlDatabase>
#include <QSqlError>

#include <algorithm>

namespace data {

namespace {

QString carried(const QString& value)
{
    if (!PostgresConnection::carries(value)) {
        throw core::Error(core::errc::ProviderError,
                          QStringLiteral("A connection value holds a NUL character, which the PostgreSQL client "
                                         "library cannot carry."));
    }
    return value;
}

} // namespace

bool PostgresConnection::driverAvailable()
{
    return QSqlDatabase::isDriverAvailable(QStringLiteral("QPSQL"));
}

bool PostgresConnection::carries(const QString& value)
{
    return !value.contains(QChar(0));
}

void PostgresConnection::prepare(QSqlDatabase& db, const ConnectionText& text,
                                 const OdbcConnection::TransportSecurity& security)
{
    QString host = text.dataSource.trimmed();
    QString port = QStringLiteral("5432");
    const qsizetype separator = std::max(host.lastIndexOf(QLatin1Char(',')), host.lastIndexOf(QLatin1Char(':')));
    if (separator >= 0) {
        port = host.mid(separator + 1).trimmed();
        host = host.left(separator).trimmed();
    }
    if (host.isEmpty() || host == QLatin1String("(local)") || host == QLatin1String(".")) {
        host = QStringLiteral("localhost");
    }
    bool numeric = false;
    const int portNumber = port.toInt(&numeric);
    if (!numeric || portNumber <= 0 || portNumber > 65535) {
        throw core::Error(core::errc::ProviderError, QStringLiteral("The server's port is not a number."));
    }
    db.setHostName(carried(host));
    db.setPort(portNumber);
    db.setDatabaseName(carried(text.initialCatalog));
    db.setUserName(carried(text.userId.toLower()));
    db.setPassword(carried(text.password));
    const QString sslMode = !security.encrypt                 ? QStringLiteral("prefer")
                            : security.trustServerCertificate ? QStringLiteral("require")
                                                              : QStringLiteral("verify-full");
    // Options are the driver's own words, never a typed value. A row another workstation holds locked fails the
    // statement after two seconds, as the embedded engine's busy time-out does, instead of freezing the window until
    // the other transaction ends: set at the login, without a statement of its own.
    db.setConnectOptions(QStringLiteral("connect_timeout=%1;sslmode=%2;options='-c lock_timeout=%3'")
                             .arg(std::max(1, text.connectTimeout))
                             .arg(sslMode)
                             .arg(LockTimeoutMs));
}

QString PostgresConnection::driverName() const
{
    return QStringLiteral("QPSQL");
}

void PostgresConnection::open(QSqlDatabase& db, const ConnectionText& text)
{
    if (!db.isValid()) {
        throw core::Error(core::errc::ProviderError,
                          QStringLiteral("Qt's PostgreSQL driver (QPSQL) is not installed."));
    }
    // With no name or no password the client library would take them from the system's user, its password file or
    // the environment: a login gives both, or is refused as the server refuses a wrong one.
    if (text.userId.trimmed().isEmpty() || text.password.isEmpty()) {
        throw core::Error(core::errc::ProviderError,
                          QStringLiteral("A login to the PostgreSQL server needs a name and a password."));
    }
    prepare(db, text);
    if (!db.open()) {
        const core::ErrorValue error = errorValue(db.lastError());
        db.close();
        throw core::Error(error);
    }
}

QString PostgresConnection::translate(const QString& sql) const
{
    return TsqlTranslator::toPostgres(sql, embedded::serverClockSet() ? embedded::serverNow() : QDateTime());
}

core::ErrorValue PostgresConnection::errorValue(const QSqlError& error) const
{
    // The server's words, without the client library's severity prefix and the state code the driver appends.
    QString description = error.databaseText().isEmpty() ? error.text() : error.databaseText();
    if (!error.nativeErrorCode().isEmpty() &&
        description.endsWith(QLatin1Char('(') + error.nativeErrorCode() + QLatin1Char(')'))) {
        description.chop(error.nativeErrorCode().size() + 2);
    }
    for (const QLatin1String prefix : {QLatin1String("ERROR:"), QLatin1String("FATAL:")}) {
        if (description.startsWith(prefix)) {
            description = description.mid(prefix.size());
        }
    }
    return {core::errc::ProviderError, description.trimmed()};
}

bool PostgresConnection::linkLost(const QSqlError& error) const
{
    // The server's states for a link that went (class 08, and an administrator's or the server's shut-down),
    // and the client library's texts for a socket that closed, which carry no state.
    const QString state = error.nativeErrorCode();
    if (state.startsWith(QLatin1String("08")) || state == QLatin1String("57P01") || state == QLatin1String("57P02") ||
        state == QLatin1String("57P03")) {
        return true;
    }
    static const QStringList lost = {
        QStringLiteral("server closed the connection"), QStringLiteral("terminating connection"),
        QStringLiteral("no connection to the server"),  QStringLiteral("connection to server was lost"),
        QStringLiteral("could not receive data"),       QStringLiteral("could not send data"),
        QStringLiteral("connection not open")};
    const QString text = error.databaseText() + QLatin1Char(' ') + error.driverText();
    return std::any_of(lost.cbegin(), lost.cend(),
                       [&](const QString& fragment) { return text.contains(fragment, Qt::CaseInsensitive); });
}

} // namespace data
