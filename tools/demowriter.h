#pragma once

#include <QLatin1StringView>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <initializer_list>
#include <memory>
#include <vector>

class QSqlQuery;

namespace tools {

// Loads rows into an embedded database file in one transaction with prepared inserts, straight
// through the file (the engine's own connection is not needed for a bulk load).
class DemoWriter
{
public:
    // Opens the file and begins the transaction. Throws core::Error when the file cannot be opened.
    explicit DemoWriter(const QString& path);
    // Rolls back what was not committed and closes the file.
    ~DemoWriter();
    DemoWriter(const DemoWriter&) = delete;
    DemoWriter& operator=(const DemoWriter&) = delete;

    // Prepares an insert of the given columns; returns the number insert() takes. Throws core::Error.
    int prepare(QLatin1StringView table, const QStringList& columns);
    // Inserts one row, values in the order of the prepared columns; a null QVariant writes null.
    // Throws core::Error.
    void insert(int statement, std::initializer_list<QVariant> values);
    // Commits the transaction. Throws core::Error.
    void commit();

private:
    QString m_connectionName;
    std::vector<std::unique_ptr<QSqlQuery>> m_statements;
    bool m_open = false;
};

} // namespace tools
