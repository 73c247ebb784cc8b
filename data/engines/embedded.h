#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <functional>

namespace data::embedded {

// The embedded engine that stands in for SQL Server: a SQLite file that knows its catalog name
// and its logins (passwords stored as Argon2id hashes).
//
// What the engine adds to SQLite on every connection it opens (data::Connection, and the three
// maintenance functions below):
// - the collation Latin1_General_CI_AS (case-insensitive, accent-sensitive, Portuguese order), which
//   text columns declare so that "=", ORDER BY and GROUP BY treat letter case as the server does;
// - LIKE ignoring letter case for every letter, with the server's wildcards % _ [set] [^set];
// - getdate(), the engine clock as stored-date text, for defaults and views;
// - a WAL journal and a 5-second busy time-out, so that several counters share one file;
// - a page cache of up to CacheKibibytes (data::Connection only);
// Statements sent through data::Connection are translated from the server's dialect first
// (TsqlTranslator); scripts run by runScript are in the engine's own dialect.
//
// Dates: stored as text "yyyy-MM-dd HH:mm:ss" (local time), which compares and sorts as dates.
// A result column is read back as QDateTime when its declared type (through tables and views)
// contains DATE or TIME, or when it is an expression without a declared type (GETDATE(), MAX(data),
// a date literal) whose text has exactly that pattern.

constexpr int CacheKibibytes = 16 * 1024;

// Creates an empty database file for the catalog (replacing none: fails when the file exists).
// Throws core::Error.
void createDatabase(const QString& path, const QString& initialCatalog);
// Adds or replaces a login of the database file. Throws core::Error.
void addLogin(const QString& path, const QString& user, const QString& password);
// Runs a script of statements separated by ';' at line ends, in the engine's own dialect, as one
// transaction (all or nothing; the script holds no BEGIN or COMMIT of its own).
// Throws core::Error naming the line of the statement that failed.
void runScript(const QString& path, const QString& script);

// The engine's clock, which GETDATE() answers. Tests set it; an empty function restores local time.
void setServerClock(std::function<QDateTime()> clock);
QDateTime serverNow();
// True while a test holds the clock: a server engine's GETDATE() then answers it too, so that tests read
// the same times on every engine.
bool serverClockSet();

// Dates are stored as ISO text "yyyy-MM-dd HH:mm:ss"; these convert both ways.
// toStorage gives a null text for an invalid date; fromStorage also reads "yyyy-MM-dd",
// "yyyy-MM-dd HH:mm", fractions of seconds and a "T" between date and time, and gives an invalid
// date for any other text.
QString toStorage(const QDateTime& value);
QDateTime fromStorage(const QString& text);
// The stored form "yyyy-MM-dd HH:mm:ss" alone, read directly (nearly every date has it; fromStorage tries
// several formats, each with a time-zone look-up); an invalid date for any other text.
QDateTime fromStoredForm(QStringView text);

// How many password hashes this thread has verified: a login checks the shared account's on another thread while
// it checks the user's (data::Connection::checkLoginAhead).
int passwordChecksOnThisThread();
// How many this process has verified, on every thread.
int passwordChecks();

// A remembered login keeps its password in the user's settings, scrambled but not hashed. Beside it the session keeps
// checksPassed: a digest of each password check the login passed, with the hash it was checked against. Given back
// at the next start (rememberChecks), a check with the same stored hash and password takes that answer instead of
// the slow verification. It tells nothing the remembered password does not, and a password changed or a login
// removed since (another hash, or none) is checked again. Digests that are not such are ignored, and so is any
// past the fourth.
void rememberChecks(const QStringList& checks);
// The digests of the checks passed in this process, the last four, oldest first (hex texts).
QStringList checksPassed();

// How much work addLogin puts into each password hash. Interactive, the default, is OWASP's Argon2id
// minimum (19 MiB, 2 passes); Minimal makes test fixtures fast. Existing hashes keep the cost they were
// made with.
enum class HashCost { Interactive, Minimal };
void setLoginHashCost(HashCost cost);

} // namespace data::embedded
