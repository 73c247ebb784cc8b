#pragma once

#include "data/connectionbackend.h"

namespace data {

// A connection to a database file of the embedded engine: the file must exist, the login and the
// catalog are checked as a server checks them, and statements are translated from the server's
// dialect. Engine errors carry core::errc::ProviderError, since the engine's own codes mean nothing
// to callers written for the server.
class EmbeddedConnection : public ConnectionBackend
{
public:
    QString driverName() const override;
    // Opens the file for reading and writing or not at all: the engine would otherwise open a write-protected file
    // read-only without a word, and every later write would fail.
    void open(QSqlDatabase& db, const ConnectionText& text) override;
    QString translate(const QString& sql) const override;
    // Reads the engine's statement directly: no row cache and no UTF-16 copy of every text on the way.
    std::optional<QSqlError> select(const QSqlDatabase& db, const QString& sql, ResultRows& into) const override;
    // Takes the file's write lock at once (BEGIN IMMEDIATE): two transactions never both read and then both wait to
    // write, and the second waits for the first within the busy time-out.
    std::optional<QSqlError> begin(QSqlDatabase& db) const override;
    core::ErrorValue errorValue(const QSqlError& error) const override;
    // The file can no longer be written or read where it was opened: a read-only or I/O answer, a file that cannot
    // be opened or that moved.
    bool linkLost(const QSqlError& error) const override;
    // True when the file was deleted, renamed or replaced since it was opened. A file deleted (not renamed) leaves
    // its journal files behind, which the engine would read into a file restored under the same name and find it
    // malformed: they belong to no file anyone can reach, and go.
    bool movedAway(const QSqlDatabase& db) const override;

private:
    // The file's path as the system resolves it, to find the engine's own descriptor of it.
    QString m_canonicalPath;
};

} // namespace data
