#pragma once

#include "data/odbcconnection.h"

#include <QList>
#include <QString>
#include <QVariant>

namespace data {

// Set-up of office databases on a PostgreSQL server, through a role that may create roles and databases
// (the cluster's superuser in tests and in the demo generator). Statements go straight to the server, in its
// own dialect and outside the statement log.
class PostgresAdmin
{
public:
    // Opens a session as admin on database (of the server "host,port"). Throws core::Error when refused.
    PostgresAdmin(const QString& server, const QString& admin, const QString& password, const QString& database,
                  const OdbcConnection::TransportSecurity& security);
    ~PostgresAdmin();
    PostgresAdmin(const PostgresAdmin&) = delete;
    PostgresAdmin& operator=(const PostgresAdmin&) = delete;

    // Runs one statement. Throws core::Error with the server's text.
    void exec(const QString& sql);
    // Runs a script of statements separated by ';' at line ends; '--' lines are comments. Throws core::Error
    // naming the statement's first line.
    void runScript(const QString& script);
    // A transaction of this session: statements run in it until commit or rollback. Throw core::Error.
    void begin();
    void commit();
    void rollback();
    // Inserts rows into table, values in the order of columns (a null QVariant writes null), through one
    // prepared statement: every value travels bound, never in the statement's text. Throws core::Error.
    void insertRows(const QString& table, const QStringList& columns, const QList<QVariantList>& rows);
    // The rows of a query, values as a recordset gives them; names receives the column names.
    QList<QVariantList> select(const QString& sql, QStringList* names = nullptr);

    // Creates the login role (its name in lower case), or gives an existing one this password. Throws core::Error.
    void setLogin(const QString& role, const QString& password);
    // Creates the database, owned by owner, and fills it with the schema script (":/data/sql/postgres.sql");
    // owner may then read and write every table. Throws core::Error (nothing is left behind then).
    void createOffice(const QString& catalog, const QString& owner);
    // Drops the database, ending its sessions first. Never fails.
    void dropOffice(const QString& catalog);

    // A name or a text as the server reads it: "name" / 'text', quotes doubled.
    static QString name(const QString& value);
    static QString text(const QString& value);

private:
    QString m_connectionName;
    QString m_server;
    QString m_admin;
    QString m_password;
    OdbcConnection::TransportSecurity m_security;
};

} // namespace data
