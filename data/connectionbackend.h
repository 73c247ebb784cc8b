#pragma once

#include "core/errorvalue.h"
#include "data/connectiontext.h"
#include "data/recordsetvalue.h"

#include <QList>
#include <QSqlError>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <optional>

class QSqlDatabase;

class QSqlQuery;

namespace data {

// A whole result: its field names as the query gave them, and its rows.
struct ResultRows {
    QStringList names;
    QList<QVariantList> rows;
};

// What differs between the two kinds of database a connection text can name: SQL Server through
// ODBC (OdbcConnection) and the embedded engine (EmbeddedConnection).
class ConnectionBackend
{
public:
    virtual ~ConnectionBackend() = default;

    // The Qt SQL driver name ("QODBC", "QSQLITE").
    virtual QString driverName() const = 0;
    // Opens db (already made with driverName) as the text says. Throws core::Error when the server,
    // the file or the login refuses; db is closed again then.
    virtual void open(QSqlDatabase& db, const ConnectionText& text) = 0;
    // The statement as this database understands it.
    virtual QString translate(const QString& sql) const = 0;
    // How each column of the active query is read on the Qt driver's path; by default as the driver types it.
    virtual QList<ColumnKind> columnKinds(const QSqlQuery& query) const;
    // Runs a translated query on db and reads every row into `into`, values in the recordset's form.
    // Returns the error when the statement fails. This one reads through the Qt driver.
    virtual std::optional<QSqlError> select(const QSqlDatabase& db, const QString& sql, ResultRows& into) const;
    // Begins a transaction on db; returns the error when the database refuses. By default the driver's own.
    virtual std::optional<QSqlError> begin(QSqlDatabase& db) const;
    // The error a failed statement or open gives its caller.
    virtual core::ErrorValue errorValue(const QSqlError& error) const = 0;
    // True when the error says the link to the database is gone, so the connection is broken.
    virtual bool linkLost(const QSqlError& error) const = 0;
    // Asked before every statement: true when the database behind the open db is no longer the one
    // that was opened (a database file deleted, renamed or replaced), so that nothing is written where
    // nobody will read it again.
    virtual bool movedAway(const QSqlDatabase& /*db*/) const { return false; }
};

} // namespace data
