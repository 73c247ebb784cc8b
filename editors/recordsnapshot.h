#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace data {
class Recordset;
}

namespace editors {

// A record's columns as an editor loaded them. At save time the editor compares them with what the
// database holds now, so that a record another user changed meanwhile is never overwritten.
class RecordSnapshot
{
public:
    enum class State { Unchanged, Changed, Gone };

    // The record of table whose key column holds id; columns are the ones the editor shows or writes.
    RecordSnapshot(const QString& table, const QString& key, qint64 id, const QStringList& columns);

    // Takes the values from record, open on this record as the caller handed it over (a column the record
    // lacks is read as null); when it has no current row, reads them from the database. Throws core::Error
    // (3021 when the record does not exist).
    void load(const data::Recordset& record);
    // Reads the values again from the database; false when the record is gone. Throws core::Error.
    bool reload();
    // Compares the database's values with the loaded ones: dates to the second, numbers by value, texts
    // exactly. Throws core::Error.
    State check() const;

    qint64 id() const { return m_id; }
    QVariant value(const QString& column) const { return m_values.value(column); }
    // The statement that reads the record: "SELECT * FROM table WHERE key = id".
    QString selectStatement() const;

private:
    QHash<QString, QVariant> read(const data::Recordset& record) const;

    QString m_table;
    QString m_key;
    qint64 m_id;
    QStringList m_columns;
    QHash<QString, QVariant> m_values;
};

// True when two values of a record are the same as far as an editor can tell: both null, dates within
// the same second, equal numbers, or equal texts.
bool sameValue(const QVariant& a, const QVariant& b);

} // namespace editors
