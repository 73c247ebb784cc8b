#include "counter/listview/sortkey.h"

#include <QCollator>
#include <QDate>
#include <QLocale>

#include <algorithm>
#include <numeric>

namespace counter::sortKey {
namespace {

// The positions 0..count-1 in a stable order by `before`, turned round going down.
template <typename Before> std::vector<int> sortedBy(size_t count, Before before, Qt::SortOrder direction)
{
    std::vector<int> positions(count);
    std::iota(positions.begin(), positions.end(), 0);
    if (direction == Qt::AscendingOrder) {
        std::stable_sort(positions.begin(), positions.end(), before);
    } else {
        std::stable_sort(positions.begin(), positions.end(), [&](int a, int b) { return before(b, a); });
    }
    return positions;
}

// Every cell's key is worked out once, not at every comparison; std::optional puts "no value" first.
template <typename Key> std::vector<int> sortedByKey(const std::vector<Key>& keys, Qt::SortOrder direction)
{
    return sortedBy(
        keys.size(), [&](int a, int b) { return keys[static_cast<size_t>(a)] < keys[static_cast<size_t>(b)]; },
        direction);
}

// Digits compare as numbers ("2009-2" before "2009-15"): every run of them is padded with zeros to one width
// before collating. The platforms' own numeric collation is not in every platform's sort keys (Windows' are
// plain), padded digits collate alike everywhere.
QString digitsAsNumbers(const QString& cell)
{
    constexpr qsizetype Width = 20;
    QString padded;
    padded.reserve(cell.size() + Width);
    const auto isDigit = [](QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); };
    for (qsizetype i = 0; i < cell.size();) {
        qsizetype end = i;
        while (end < cell.size() && isDigit(cell[end])) {
            ++end;
        }
        if (end == i) {
            padded += cell[i++];
            continue;
        }
        padded += QString(std::max<qsizetype>(0, Width - (end - i)), QLatin1Char('0'));
        padded += QStringView(cell).mid(i, end - i);
        i = end;
    }
    return padded;
}

} // namespace

std::optional<double> number(const QString& shown)
{
    QString digits = shown.trimmed();
    const bool negative = digits.startsWith(QLatin1Char('-'));
    if (negative) {
        digits = digits.mid(1).trimmed();
    }
    // Groups of thousands are set apart by a blank (or a point); the decimals by a comma.
    digits.remove(QLatin1Char('.'));
    digits.remove(QLatin1Char(' '));
    digits.remove(QChar(0xA0));
    digits.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double value = digits.toDouble(&ok);
    if (!ok || digits.isEmpty()) {
        return std::nullopt;
    }
    return negative ? -value : value;
}

std::optional<qint64> date(const QString& shown)
{
    const QDate day = QDate::fromString(shown.trimmed().left(10), QStringLiteral("dd-MM-yyyy"));
    if (!day.isValid()) {
        return std::nullopt;
    }
    return day.toJulianDay();
}

std::vector<int> order(const std::vector<QString>& cells, SortAs kind, Qt::SortOrder direction)
{
    switch (kind) {
    case SortAs::Number: {
        std::vector<std::optional<double>> keys;
        keys.reserve(cells.size());
        std::transform(cells.begin(), cells.end(), std::back_inserter(keys), number);
        return sortedByKey(keys, direction);
    }
    case SortAs::Date: {
        std::vector<std::optional<qint64>> keys;
        keys.reserve(cells.size());
        std::transform(cells.begin(), cells.end(), std::back_inserter(keys), date);
        return sortedByKey(keys, direction);
    }
    case SortAs::Text:
        break;
    }
    QCollator collator(QLocale(QLocale::Portuguese, QLocale::Portugal));
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::vector<std::pair<bool, QCollatorSortKey>> keys;
    keys.reserve(cells.size());
    for (const QString& cell : cells) {
        const bool blank = cell.trimmed().isEmpty();
        keys.emplace_back(!blank, collator.sortKey(blank ? QString() : digitsAsNumbers(cell)));
    }
    const auto before = [&](int a, int b) {
        const auto& [valueA, keyA] = keys[static_cast<size_t>(a)];
        const auto& [valueB, keyB] = keys[static_cast<size_t>(b)];
        if (valueA != valueB) {
            return valueB;
        }
        return valueA && keyA.compare(keyB) < 0;
    };
    return sortedBy(keys.size(), before, direction);
}

} // namespace counter::sortKey
