#pragma once

#include <QString>
#include <QVariant>

namespace counter {

// Reading the identifiers the list commands act on. Every identifier that goes into a statement passes
// through here as a whole number, so a row key or a database value that is no number never becomes
// statement text.
namespace recordLookup {

// The whole number a row key stands for: the key without its one-character prefix ("#15" is task 15).
// Throws core::Error 13 when the rest is no number, 6 when it does not fit.
qint32 keyId(const QString& key);
// The same for the task to select after a refill: 0 (none) when the key stands for no number.
int taskToSelect(const QString& key) noexcept;

// A database value going into a statement as a whole number.
// Throws core::Error 94 for a null value, 13 for one that is no number.
QString identifier(const QVariant& value);

// Shows that field could not be found for a new time entry ("Erro no campo …", OK, critical icon).
void missingField(const QString& field);

} // namespace recordLookup
} // namespace counter
