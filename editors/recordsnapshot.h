#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace data {
class Recordset;
}

namespace editors {

// A record's columns as an editor loaded them. The editor saves with one conditional UPDATE that changes
// the record only while every loaded column still holds what was loaded, so that a record another user
// changed meanwhile (in letter case only, too) is never overwritten, whatever happens between statements.
class RecordSnapshot
{
public:
    enum class Outcome {
        Saved,   // the record was as loaded and is written
        Changed, // another user changed it: nothing written
        Gone,    // it no longer exists: nothing written
        Refused, // it was as loaded, but the extra condition of the save did not hold: nothing written
    };

    // The record of table whose key column holds id; columns are the ones the editor shows or writes.
    RecordSnapshot(const QString& table, const QString& key, qint64 id, const QStringList& columns);

    // Takes the values from record, open on this record as the caller handed it over (a column the record
    // lacks is read as null); when it has no current row, reads them from the database. Throws core::Error
    // (3021 when the record does not exist).
    void load(const data::Recordset& record);
    // Reads the values again from the database; false when the record is gone. Throws core::Error.
    bool reload();
    // Sends "UPDATE table SET assignments WHERE key = id" + the loaded values as conditions + condition
    // (empty, or " AND …"); when no row changed, reads the record to tell why. Texts compare exactly (letter
    // case and accents, whatever the column's collation), dates to the second, numbers by value, nulls as
    // null. Throws core::Error.
    Outcome save(const QString& assignments, const QString& condition = QString());

    qint64 id() const { return m_id; }
    QVariant value(const QString& column) const { return m_values.value(column); }
    // The statement that reads the record: "SELECT * FROM table WHERE key = id".
    QString selectStatement() const;

private:
    QHash<QString, QVariant> read(const data::Recordset& record) const;
    // " AND column <comparison>" for every loaded column.
    QString asLoaded() const;

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
