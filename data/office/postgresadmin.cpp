#include "data/office/postgresadmin.h"

#include "data/connectiontext.h"
#include "data/engines/postgresconnection.h"
#include "data/recordsetvalue.h"

#include <QDateTime>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

#include <atomic>

namespace data {

namespace {

core::Error serverError(const QSqlError& error)
{
    return core::Error(PostgresConnection().errorValue(error));
}

} // namespace

PostgresAdmin::PostgresAdmin(const QString& server, const QString& admin, const QString& password,
                             const QString& database, const OdbcConnection::TransportSecurity& security)
    : m_server(server)
    , m_admin(admin)
    , m_password(password)
    , m_security(security)
{
    static std::atomic<int> counter = 0;
    m_connectionName = QStringLiteral("orv_pgadmin_%1").arg(++counter);
    ConnectionText text;
    text.userId = admin;
    text.password = password;
    text.initialCatalog = database;
    text.dataSource = server;
    QSqlDatabase db = QSqlDatabase::addDatabase(PostgresConnection().driverName(), m_connectionName);
    try {
        PostgresConnection::prepare(db, text, security);
        if (!db.open()) {
            throw serverError(db.lastError());
        }
    } catch (...) {
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_connectionName);
        throw;
    }
}

PostgresAdmin::~PostgresAdmin()
{
    QSqlDatabase::database(m_connectionName, false).close();
    QSqlDatabase::removeDatabase(m_connectionName);
}

void PostgresAdmin::exec(const QString& sql)
{
    QSqlQuery query(QSqlDatabase::database(m_connectionName, false));
    if (!query.exec(sql)) {
        throw serverError(query.lastError());
    }
}

void PostgresAdmin::runScript(const QString& script)
{
    QString statement;
    for (const QString& line : script.split(QLatin1Char('\n'))) {
        if (line.trimmed().startsWith(QLatin1String("--")) || (statement.isEmpty() && line.trimmed().isEmpty())) {
            continue;
        }
        statement += line + QLatin1Char('\n');
        if (line.trimmed().endsWith(QLatin1Char(';'))) {
            try {
                exec(statement);
            } catch (const core::Error& error) {
                throw core::Error(error.value().number, error.value().description + QStringLiteral(" (in: ") +
                                                            statement.section(QLatin1Char('\n'), 0, 0) +
                                                            QLatin1Char(')'));
            }
            statement.clear();
        }
    }
}

void PostgresAdmin::insertRows(const QString& table, const QStringList& columns, const QList<QVariantList>& rows)
{
    if (rows.isEmpty()) {
        return;
    }
    QStringList names;
    QStringList marks;
    for (const QString& column : columns) {
        names << name(column.toLower());
        marks << QStringLiteral("?");
    }
    QSqlQuery query(QSqlDatabase::database(m_connectionName, false));
    if (!query.prepare(QStringLiteral("INSERT INTO ") + name(table.toLower()) + QStringLiteral(" (") +
                       names.join(QStringLiteral(", ")) + QStringLiteral(") VALUES (") +
                       marks.join(QStringLiteral(", ")) + QLatin1Char(')'))) {
        throw serverError(query.lastError());
    }
    for (const QVariantList& row : rows) {
        for (qsizetype i = 0; i < columns.size(); ++i) {
            // A date goes as the wall-clock text the office's columns hold: the driver would send it as a moment in
            // UTC, which the server turns into its own zone's wall clock.
            const QVariant value = row.value(i);
            query.bindValue(int(i),
                            value.typeId() == QMetaType::QDateTime
                                ? QVariant(value.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz")))
                                : value);
        }
        if (!query.exec()) {
            throw serverError(query.lastError());
        }
    }
}

QList<QVariantList> PostgresAdmin::select(const QString& sql, QStringList* names)
{
    QSqlQuery query(QSqlDatabase::database(m_connectionName, false));
    query.setForwardOnly(true);
    if (!query.exec(sql)) {
        throw serverError(query.lastError());
    }
    const QSqlRecord record = query.record();
    if (names) {
        names->clear();
        for (int i = 0; i < record.count(); ++i) {
            names->append(record.fieldName(i));
        }
    }
    const QList<ColumnKind> kinds = PostgresConnection().columnKinds(query);
    QList<QVariantList> rows;
    while (query.next()) {
        QVariantList row;
        for (int i = 0; i < record.count(); ++i) {
            row.append(query.isNull(i) ? QVariant() : recordsetValue(query.value(i), kinds.value(i)));
        }
        rows.append(row);
    }
    return rows;
}

QString PostgresAdmin::roleName(const QString& login)
{
    // Made in lower case: the connection asks for the role in lower case, so a login ignores letter case.
    const QString role = login.toLower();
    if (role.isEmpty() || role.toUtf8().size() > MaxRoleBytes) {
        throw core::Error(core::errc::InvalidProcedureCall,
                          QStringLiteral("O nome de um papel do servidor tem de 1 a %1 bytes").arg(MaxRoleBytes));
    }
    return role;
}

bool PostgresAdmin::setLogin(const QString& login, const QString& password, LoginExpected expected)
{
    const QString role = roleName(login);
    return lockedRoleChange(role, [&](bool found) {
        if ((expected == LoginExpected::New && found) || (expected == LoginExpected::Existing && !found)) {
            return false;
        }
        exec((found ? QStringLiteral("ALTER ROLE ") : QStringLiteral("CREATE ROLE ")) + name(role) +
             QStringLiteral(" LOGIN PASSWORD ") + text(password));
        return true;
    });
}

bool PostgresAdmin::dropLogin(const QString& login)
{
    const QString role = roleName(login);
    return lockedRoleChange(role, [&](bool found) {
        if (found) {
            exec(QStringLiteral("DROP ROLE ") + name(role));
        }
        return found;
    });
}

bool PostgresAdmin::lockedRoleChange(const QString& role, const std::function<bool(bool found)>& change)
{
    // Roles are the cluster's, shared by every database: two set-ups at once would both create the role, or both
    // rewrite its row ("tuple concurrently updated"). One transaction-level lock makes them take turns.
    begin();
    bool changed = false;
    try {
        exec(QStringLiteral("SELECT pg_advisory_xact_lock(7331)"));
        changed = change(!select(QStringLiteral("SELECT 1 FROM pg_roles WHERE rolname = ") + text(role)).isEmpty());
    } catch (const core::Error&) {
        rollback();
        throw;
    }
    commit();
    return changed;
}

void PostgresAdmin::begin()
{
    QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
    if (!db.transaction()) {
        throw serverError(db.lastError());
    }
}

void PostgresAdmin::commit()
{
    QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
    if (!db.commit()) {
        throw serverError(db.lastError());
    }
}

void PostgresAdmin::rollback()
{
    QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
    if (!db.rollback()) {
        throw serverError(db.lastError());
    }
}

void PostgresAdmin::createOffice(const QString& catalog, const QString& owner)
{
    QFile schema(QStringLiteral(":/data/sql/postgres.sql"));
    if (!schema.open(QIODevice::ReadOnly)) {
        throw core::Error(core::errc::ProviderError, QStringLiteral("The PostgreSQL schema script is missing."));
    }
    // A role that may create roles and databases without being a superuser (as a stock server's administrator is
    // told to make one) may give a database only to a role it is a member of.
    exec(QStringLiteral("GRANT ") + name(owner) + QStringLiteral(" TO CURRENT_USER"));
    // Portuguese order (ICU): citext columns sort "Álvaro" before "bruno", as SQL Server's collation does.
    exec(QStringLiteral("CREATE DATABASE ") + name(catalog) + QStringLiteral(" OWNER ") + name(owner) +
         QStringLiteral(" ENCODING 'UTF8' TEMPLATE template0 LOCALE_PROVIDER icu ICU_LOCALE 'pt-PT' LOCALE 'C.UTF-8'"));
    try {
        PostgresAdmin office(m_server, m_admin, m_password, catalog, m_security);
        office.runScript(QString::fromUtf8(schema.readAll()));
        office.exec(QStringLiteral("GRANT ALL ON ALL TABLES IN SCHEMA public TO ") + name(owner));
        office.exec(QStringLiteral("GRANT ALL ON ALL SEQUENCES IN SCHEMA public TO ") + name(owner));
        // Tables and views the admin adds later are the owner's to use as well.
        office.exec(QStringLiteral("ALTER DEFAULT PRIVILEGES IN SCHEMA public GRANT ALL ON TABLES TO ") + name(owner));
        office.exec(QStringLiteral("ALTER DEFAULT PRIVILEGES IN SCHEMA public GRANT ALL ON SEQUENCES TO ") +
                    name(owner));
    } catch (const core::Error&) {
        dropOffice(catalog);
        throw;
    }
}

void PostgresAdmin::dropOffice(const QString& catalog)
{
    try {
        exec(QStringLiteral("DROP DATABASE IF EXISTS ") + name(catalog) + QStringLiteral(" WITH (FORCE)"));
    } catch (const core::Error&) {
    }
}

QString PostgresAdmin::name(const QString& value)
{
    QString escaped = value;
    escaped.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + escaped + QLatin1Char('"');
}

QString PostgresAdmin::text(const QString& value)
{
    QString escaped = value;
    escaped.replace(QLatin1Char('\''), QLatin1String("''"));
    return QLatin1Char('\'') + escaped + QLatin1Char('\'');
}

} // namespace data
