#pragma once

#include <QString>
#include <QVariant>

namespace data {

// How the values of one result column are read into the forms a recordset gives: a null QVariant
// for a database null, QDateTime for dates, qlonglong for whole numbers, double for fractional
// numbers, QString for text.
enum class ColumnKind {
    Plain,       // by the driver's own value type
    Date,        // stored date text of the embedded engine, or a driver date
    Expression,  // an embedded expression without a declared type: stored-date text becomes a date
    WholeNumber, // a server decimal without a fractional part (delivered as exact text)
    Number,      // a server decimal with a fractional part, or a server float (delivered as exact text)
};

// The kind of an embedded column from its declared type (empty for expressions).
ColumnKind columnKindFromDeclaredType(const QString& declaredType);

// The value in the recordset's form.
QVariant recordsetValue(const QVariant& raw, ColumnKind kind);

} // namespace data
