#pragma once

#include <QString>
#include <QVariant>

namespace counter {

class ListView;

// Reading the identifiers the list commands act on. Every identifier that goes into a statement passes
// through here as a whole number, so a row key or a database value that is no number never becomes
// statement text.
namespace recordLookup {

// The whole number a row key stands for: the key without its one-character prefix.
// Throws core::Error 13 when the rest is no number, 6 when it does not fit.
qint32 keyId(const QString& key);

// A database value going into a statement as a whole number.
// Throws core::Error 94 for a null value, 13 for one that is no number.
QString identifier(const QVariant& value);

// The work item W, its case P and the case's client C of task K, looked up in that order; the first
// that is 0 is shown as "Erro no campo …" (OK, critical icon) and ends the look-up with false, before
// any later look-up is made. Throws core::Error when a statement fails.
bool taskOwners(qint64 K, qint64& W, qint64& P, qint64& C);

// Shows that field could not be found for a new time entry.
void missingField(const QString& field);

} // namespace recordLookup
} // namespace counter
