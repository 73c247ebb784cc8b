#pragma once

#include "data/engines/odbcconnection.h"

#include <QList>
#include <QString>
#include <QVariant>

#include <functional>

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

    // Which logins setLogin may touch: any, only a new one, or only an existing one.
    enum class LoginExpected { Any, New, Existing };
    // Roles have at most this many bytes (UTF-8) in their name; the server would cut a longer one.
    static constexpr int MaxRoleBytes = 63;
    // Creates the login role (its name in lower case), or gives an existing one this password. Returns false, and
    // changes nothing, when the role's existence is not as expected. Throws core::Error when the server refuses
    // or the name is empty or longer than MaxRoleBytes: two longer names would share one role.
    bool setLogin(const QString& role, const QString& password, LoginExpected expected = LoginExpected::Any);
    // Drops the login role (its name in lower case). Returns false when there is none. Throws core::Error when
    // the server refuses (a role that owns a database).
    bool dropLogin(const QString& role);
    // Creates the database, owned by owner, and fills it with the schema script (":/data/sql/postgres.sql");
    // owner may then read and write every table. Throws core::Error (nothing is left behind then).
    void createOffice(const QString& catalog, const QString& owner);
    // Drops the database, ending its sessions first. Never fails.
    void dropOffice(const QString& catalog);

    // A name or a text as the server reads it: "name" / 'text', quotes doubled.
    static QString name(const QString& value);
    static QString text(const QString& value);

private:
    // The role's name as made on the server. Throws core::Error when it cannot be one.
    static QString roleName(const QString& login);
    // Runs change(whether the role exists) in a transaction that holds the cluster's role lock; returns its answer.
    bool lockedRoleChange(const QString& role, const std::function<bool(bool found)>& change);

    QString m_connectionName;
    QString m_server;
    QString m_admin;
    QString m_password;
    OdbcConnection::TransportSecurity m_security;
};

} // namespace data
