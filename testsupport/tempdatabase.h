#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <QTemporaryDir>
#include <QVariant>

#include <functional>

namespace testsupport {

// A fresh embedded database file in a temporary folder (in memory under /dev/shm when there is one), with catalog
// "OrvTest", the login "sa_test"/"secret" and, when the data library carries it, the schema script
// ":/data/sql/embedded.sql". Its destructor closes the shared connection if it is open on this file and restores the
// engine's clock. The constructor throws core::Error when the file cannot be made.
class TempDatabase
{
public:
    TempDatabase();
    ~TempDatabase();
    TempDatabase(const TempDatabase&) = delete;
    TempDatabase& operator=(const TempDatabase&) = delete;

    static QString catalog() { return QStringLiteral("OrvTest"); }
    static QString user() { return QStringLiteral("sa_test"); }
    static QString password() { return QStringLiteral("secret"); }

    QString path() const { return m_path; }
    // True when the schema script was there and ran.
    bool hasSchema() const { return m_hasSchema; }

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
    QVariant scalar(const QString& sql);

    // The time GETDATE() answers from now on (until this fixture ends).
    void setServerClock(const QDateTime& now);
    void setServerClock(std::function<QDateTime()> clock);

private:
    QTemporaryDir m_dir;
    QString m_path;
    bool m_hasSchema = false;
};

} // namespace testsupport
