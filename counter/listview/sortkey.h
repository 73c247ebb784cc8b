#pragma once

#include <QList>
#include <QString>

#include <optional>
#include <vector>

namespace counter {

// How a list column's cells compare when the list is sorted by it: as the numbers, dates or words they
// show, never as characters ("100,00" after "11,00", "02-12-2026" after "01-01-2027").
enum class SortAs { Text, Number, Date };

namespace sortKey {

// A number as the lists show it: thousands grouped by a blank (or "."), a decimal comma, a negative sign
// "- " or "-" ("- 1 234,50"). Nothing for a blank cell or one that is no number.
std::optional<double> number(const QString& shown);
// A date shown "dd-mm-yyyy", with or without a time after it, as a day count; nothing for a blank cell.
std::optional<qint64> date(const QString& shown);

// The positions of cells in sorted order (a stable sort: equal cells keep their order). A blank cell,
// or one that does not read as its column's kind, comes before every value going up and after every
// value going down. Text follows Portuguese collation (letter case and accents second, digits as numbers).
std::vector<int> order(const std::vector<QString>& cells, SortAs kind, Qt::SortOrder direction);

} // namespace sortKey
} // namespace counter
