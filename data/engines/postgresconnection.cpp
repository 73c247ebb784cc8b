#include "data/engines/postgresconnection.h"

#include "data/engines/embedded.h"
#include "data/engines/tsqltranslator.h"

#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include <algorithm>

namespace data {

namespace {

// psqlODBC reads a connection string up to each ';' and keeps braces as part of a value, so a value cannot be
// quoted: one it cannot carry is refused, and nothing typed adds a keyword.
QString plain(const QString& value)
{
    if (!PostgresConnection::carries(value)) {
        throw core::Error(core::errc::ProviderError,
                          QStringLiteral("A connection value holds ';', a brace or a NUL character, or blanks at "
                                         "either end, which the PostgreSQL ODBC driver cannot carry."));
    }
    return value;
}

// psqlODBC decodes the password it is given as a form field: '+' becomes a blank and "%XX" the character XX.
// Those two characters go encoded, so the password reaches the server as typed.
QString decodedAsIs(QString password)
{
    password.replace(QLatin1Char('%'), QLatin1String("%25"));
    password.replace(QLatin1Char('+'), QLatin1String("%2B"));
    return password;
}

} // namespace

bool PostgresConnection::carries(const QString& value)
{
    static const QString refused = QStringLiteral(";{}") + QChar(0);
    return value == value.trimmed() &&
           std::none_of(value.cbegin(), value.cend(), [](const QChar c) { return refused.contains(c); });
}

QString PostgresConnection::chooseDriver(const QList<QPair<QString, QString>>& installed, bool libraryPresent)
{
    for (const auto& driver : installed) {
        if (driver.first.compare(unicodeDriver(), Qt::CaseInsensitive) == 0 ||
            driver.second.contains(QLatin1String("psqlodbcw"))) {
            return driver.first;
        }
    }
    return libraryPresent ? driverLibrary() : QString();
}

QString PostgresConnection::connectionString(const ConnectionText& text, const QString& driver,
                                             const TransportSecurity& security)
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
    const QString sslMode = !security.encrypt                 ? QStringLiteral("prefer")
                            : security.trustServerCertificate ? QStringLiteral("require")
                                                              : QStringLiteral("verify-full");
    QStringList parts;
    parts << QStringLiteral("Driver=") +
                 (driver.startsWith(QLatin1Char('/')) ? driver : QLatin1Char('{') + driver + QLatin1Char('}'));
    // The port goes to the server's library as it is: only digits are taken.
    bool numeric = false;
    const int portNumber = port.toInt(&numeric);
    if (!numeric || portNumber <= 0 || portNumber > 65535) {
        throw core::Error(core::errc::ProviderError, QStringLiteral("The server's port is not a number."));
    }
    parts << QStringLiteral("Server=") + plain(host) << QStringLiteral("Port=%1").arg(portNumber);
    if (!text.initialCatalog.isEmpty()) {
        parts << QStringLiteral("Database=") + plain(text.initialCatalog);
    }
    parts << QStringLiteral("UID=") + plain(text.userId.toLower())
          << QStringLiteral("PWD=") + decodedAsIs(plain(text.password));
    parts << QStringLiteral("SSLmode=") + sslMode;
    parts << QStringLiteral("pqopt={connect_timeout=%1}").arg(text.connectTimeout);
    return parts.join(QLatin1Char(';')) + QLatin1Char(';');
}

void PostgresConnection::open(QSqlDatabase& db, const ConnectionText& text)
{
    const QString driver = chooseDriver(installedDrivers(), QFileInfo::exists(driverLibrary()));
    if (driver.isEmpty()) {
        throw core::Error(core::errc::ProviderError, QStringLiteral("No PostgreSQL ODBC driver is installed."));
    }
    openWith(db, connectionString(text, driver), text.connectTimeout);
    // A row another workstation holds locked fails the statement after two seconds, as the embedded engine's busy
    // time-out does, instead of freezing the window until the other transaction ends.
    QSqlQuery session(db);
    if (!session.exec(QStringLiteral("SET lock_timeout = %1").arg(LockTimeoutMs))) {
        const core::ErrorValue error = errorValue(session.lastError());
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
    // psqlODBC's native numbers are its own, not the server's: callers get the provider error and the text.
    const QString description = error.databaseText().isEmpty() ? error.text() : error.databaseText();
    return {core::errc::ProviderError, description};
}

bool PostgresConnection::linkLost(const QSqlError& error) const
{
    // psqlODBC's texts for a server that went away or a socket that closed under it.
    static const QStringList lost = {
        QStringLiteral("connection dead"),        QStringLiteral("server closed the connection"),
        QStringLiteral("terminating connection"), QStringLiteral("no connection to the server"),
        QStringLiteral("Could not send Query"),   QStringLiteral("connection to server was lost"),
        QStringLiteral("could not receive data")};
    const QString text = error.databaseText() + QLatin1Char(' ') + error.driverText();
    for (const QString& fragment : lost) {
        if (text.contains(fragment, Qt::CaseInsensitive)) {
            return true;
        }
    }
    return false;
}

} // namespace data
