#pragma once

#include "data/engines/embedded.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QTemporaryDir>
#include <QVariant>

#include <functional>
#include <memory>

namespace testsupport {

// With ORV_TEST_ENGINE=postgres the database is instead a fresh database of the private PostgreSQL server
// whose folder ORV_TEST_PG_DIR names (scripts/pg-server.sh: files "port" and "adminpw"), made from
// ":/data/sql/postgres.sql" and owned by the role "sa_test"; the engine setting of data::Connection points at
// that server while the fixture lives, and the database is dropped at the end. The constructor throws
// core::Error when the server cannot be reached: the tests fail, they never skip.
//
// A fresh embedded database file in a temporary folder (in memory under /dev/shm when there is one), with catalog
// "OrvTest", the login "sa_test"/"secret" and the office's tables and views (data::schema::create). Its destructor
// closes the shared connection if it is open on this file and restores the engine's clock. The constructor throws
// core::Error when the file cannot be made.
class TempDatabase
{
public:
    // Where the embedded file lives: in memory when the system offers it, or on the disk of the temporary folder
    // (for faults a memory file system does not have, such as a file made immutable under an open connection).
    enum class Place { Memory, Disk };

    explicit TempDatabase(Place place = Place::Memory);
    ~TempDatabase();

    static QString catalog() { return QStringLiteral("OrvTest"); }
    static QString user() { return QStringLiteral("sa_test"); }
    static QString password() { return QStringLiteral("secret"); }

    QString path() const { return m_path; }
    // True on the PostgreSQL server (ORV_TEST_ENGINE=postgres).
    static bool onPostgres();
    // What the login's settings name: the database ("OrvTest", or its name on the server), the Data Source
    // (the file, or "127.0.0.1,port") and "dtEngine" (empty, or "PostgreSQL").
    QString databaseName() const { return m_databaseName; }
    QString dataSource() const { return m_dataSource; }
    QString engineSetting() const { return m_server ? QStringLiteral("PostgreSQL") : QString(); }

    // "Provider=SQLOLEDB.1;Persist Security Info=False;User ID=…;Password=…;Initial Catalog=OrvTest;
    // Data Source=<path>;Connect Timeout=15".
    QString connectionText(const QString& user = TempDatabase::user(),
                           const QString& password = TempDatabase::password()) const;
    // Opens data::Data::SqlServer() on this file with the fixture's login, closing it first if open.
    // Throws core::Error.
    void openShared();
    // Adds a login of the file (cheap hash).
    void addLogin(const QString& user, const QString& password);

    // Runs set-up statements in the engine's dialect (dates as 'yyyy-MM-dd HH:mm:ss' text), outside
    // the statement log. Throws core::Error.
    void exec(const QString& sql);
    // Reads rows for checks, outside the statement log, values as a recordset gives them.
    QList<QVariantList> select(const QString& sql, QStringList* names = nullptr);
    // The first value of the first row; a null QVariant when no row.
    QVariant scalar(const QString& sql) { return select(sql).value(0).value(0); }

    // Another workstation's write transaction: while the returned object lives, statements that write the time
    // entries wait for it and fail after the engine's lock time-out; reads go on. Throws core::Error.
    class WriteLock
    {
    public:
        virtual ~WriteLock() = default;
    };
    std::unique_ptr<WriteLock> lockWrites();

    // The time GETDATE() answers from now on (until this fixture ends).
    void setServerClock(const QDateTime& now)
    {
        setServerClock([now] { return now; });
    }
    void setServerClock(std::function<QDateTime()> clock) { data::embedded::setServerClock(std::move(clock)); }

private:
    struct Server;
    QTemporaryDir m_dir;
    QString m_path;
    QString m_databaseName;
    QString m_dataSource;
    std::shared_ptr<Server> m_server;
};

} // namespace testsupport
