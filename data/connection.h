#pragma once

#include "core/errorvalue.h"

#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>
#include <memory>
#include <optional>

class QSqlQuery;

namespace data {

// A forward-only result set on a connection. Fields are found by name ignoring letter case.
// Every failure throws core::Error (3709 when the connection is closed or broken).
// The rows are read to the end when the set is opened and the statement is released at once, so
// that other statements on the same connection never wait for an open set (SQL Server's ODBC drivers
// run one statement at a time per connection; the embedded engine would keep its read snapshot).
class Recordset
{
public:
    ~Recordset();
    Recordset(const Recordset&) = delete;
    Recordset& operator=(const Recordset&) = delete;

    // True when there is no current record (no rows, or moved past the last one).
    bool eof() const;
    // The number of rows of the set, all read when it was opened (0 after close).
    qsizetype rowCount() const;
    void moveNext();
    // The field names exactly as the query returned them, in order.
    QStringList fieldNames() const;
    bool hasField(const QString& name) const;
    // The current record's value: a null QVariant for a database null; dates as QDateTime,
    // whole numbers as qlonglong, fractional numbers as double, text as QString.
    // Throws core::Error 3265 when no field has that name, 3021 when there is no current record,
    // 3704 after close and 3709 once its connection was closed.
    QVariant value(const QString& name) const;
    // The same value read in place, or nullptr when no field has that name (no error 3265 then).
    const QVariant* find(const QString& name) const;
    void close();
    bool isOpen() const;

private:
    friend class Connection;
    struct Impl;
    explicit Recordset(std::unique_ptr<Impl> impl);
    // Throws 3709 when the connection this set came from was closed since.
    void checkConnection() const;
    // The column of a field name in any letter case, -1 when none has it. Throws 3704 after close.
    qsizetype columnOf(const QString& name) const;
    qsizetype lookUp(const QString& name) const;
    std::unique_ptr<Impl> m_impl;
};

// A database connection opened from an OLE DB style connection text, as the login builds it:
// "Provider=SQLOLEDB.1;Persist Security Info=…;User ID=…;Password=…;Initial Catalog=…;Data Source=…;
// Connect Timeout=15".
// A Data Source that names a database file opens the embedded engine; any other opens the server engine
// that setEngine chose (SQL Server or PostgreSQL through ODBC, or the embedded engine). Each connection has a database
// session of its own. When its link is lost (the server went away; the database file was deleted, renamed or replaced),
// the statement fails with 3709 and the next statement tries to open the connection again from its text.
class Connection
{
public:
    // The engine a connection text that names no database file opens. Start-up sets it from the machine
    // settings before the first connection; SQL Server until then.
    enum class Engine { SqlServer, PostgreSQL, Embedded };
    static void setEngine(Engine engine);
    static Engine engine();
    // The engine a machine setting names: empty = SQL Server, "SQLServer", "PostgreSQL", "Embedded" (any letter
    // case, blanks at either end ignored); nothing for any other text.
    static std::optional<Engine> engineNamed(const QString& name);

    Connection();
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // The connection text; set before open, or given to open.
    QString connectionString() const;
    void setConnectionString(const QString& text);

    // Starts checking the login of a connection text on another thread, so that an open of the same text later
    // takes the answer instead of working it out then: the login checks the shared account's password while it
    // opens the user's test connection. Only the embedded engine checks passwords itself; on a server this does
    // nothing. Never throws: whatever is wrong is found again, and told, by the open.
    static void checkLoginAhead(const QString& connectionText);

    // Opens with the connection text set before. Throws core::Error when the server or the login refuses
    // (or 3705 when already open).
    void open();
    void open(const QString& connectionText);
    bool isOpen() const;
    void close();

    // Runs a statement that returns no rows; returns the number of rows it changed (-1 when the database does
    // not say). Throws core::Error.
    qint64 execute(const QString& sql);
    // Opens a forward-only result set positioned on its first record. Throws core::Error.
    std::unique_ptr<Recordset> openRecordset(const QString& sql);

    // A transaction: the statements between begin and commit take effect together or not at all. On the embedded
    // engine begin also takes the file's write lock, so two workstations' transactions take turns. Each is logged
    // as "BEGIN TRANSACTION", "COMMIT TRANSACTION", "ROLLBACK TRANSACTION". Throw core::Error.
    void begin();
    void commit();
    void rollback();

    // True from a lost link until a statement opens the connection again.
    bool linkLost() const;
    // Told false when the link is lost and true when a statement has opened it again; called in the middle of
    // that statement, so it must not send statements of its own. An empty function removes it.
    void setLinkObserver(std::function<void(bool up)> observer);

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

// A transaction on a connection for the life of this object: begun at construction, rolled back at destruction
// unless commit() was called (a rollback that fails then is dropped: the database ends it with the session).
class Transaction
{
public:
    explicit Transaction(Connection& connection);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    void commit();

private:
    Connection& m_connection;
    bool m_done = false;
};

// The data environment: its connection SqlServer is the shared connection of the whole process,
// made on first use and never closed by the system.
class Data
{
public:
    static Connection& SqlServer();
};

// The most recent statement texts exactly as sent (at most Capacity of them, oldest dropped first, so
// a process that runs for weeks does not grow), on any connection, for tests and diagnostics.
// Connection texts are never logged.
// A statement is logged as the caller gave it (before any translation), also when it then fails,
// is refused because the connection is closed, or meets an injected failure.
class StatementLog
{
public:
    static constexpr qsizetype Capacity = 2000;
    static QStringList statements();
    static void clear();

private:
    friend class Connection;
    static void append(const QString& sql);
};

// Seam for tests: a failure injected here is thrown instead of sending the next statement
// (or every statement while failAll is set) whose text contains the given fragment (empty = any).
// Fragments match ignoring letter case; one-shot failures are used first, in the order given.
class StatementFailures
{
public:
    static void failNext(const core::ErrorValue& error, const QString& fragment = QString());
    static void failAll(const core::ErrorValue& error, const QString& fragment = QString());
    static void clear();

private:
    friend class Connection;
    // Throws the injected failure that matches sql, if any.
    static void check(const QString& sql);
};

} // namespace data
