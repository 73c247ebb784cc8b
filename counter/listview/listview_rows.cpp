#include "counter/listview/listview_rows.h"

#include "core/errorvalue.h"

#include <algorithm>
#include <numeric>

namespace counter {
namespace {

// The short texts most cells hold (a blank for no value, the idle counter, a zero) are kept once for
// every row instead of once per cell.
QString shared(const QString& text)
{
    static const std::array<QString, 4> common{QString(), QStringLiteral(" "), QStringLiteral("..."),
                                               QStringLiteral("0")};
    if (text.size() <= 3) {
        for (const QString& one : common) {
            if (one == text) {
                return one;
            }
        }
    }
    return text;
}

quint16 bit(int cell)
{
    return static_cast<quint16>(1U << cell);
}

} // namespace

ListView::Rows::Rows(ListView& owner)
    : QAbstractTableModel(&owner)
    , m_owner(owner)
{}

void ListView::Rows::addColumn(const QString& header, Qt::Alignment alignment)
{
    const int column = static_cast<int>(m_headers.size());
    beginInsertColumns(QModelIndex(), column, column);
    m_headers.append(header);
    m_alignments.append(alignment);
    endInsertColumns();
}

ListView::Rows::Row& ListView::Rows::at(int row)
{
    if (row < 0 || row >= size()) {
        throw core::standardError(core::errc::IndexOutOfBounds);
    }
    return m_rows[static_cast<size_t>(row)];
}

const ListView::Rows::Row& ListView::Rows::at(int row) const
{
    return const_cast<Rows*>(this)->at(row);
}

int ListView::Rows::append(const QString& key, const QString& label, bool checkable)
{
    if (!key.isEmpty() && m_keys.contains(key)) {
        throw core::standardError(core::errc::KeyNotUnique);
    }
    const int row = size();
    Row& added = m_rows.emplace_back();
    added.key = key;
    added.cells[0] = shared(label);
    added.checkable = checkable;
    if (!key.isEmpty()) {
        m_keys.insert(key, row);
    }
    announceLater();
    return row;
}

void ListView::Rows::announce()
{
    if (size() > m_announced) {
        beginInsertRows(QModelIndex(), m_announced, size() - 1);
        m_announced = size();
        endInsertRows();
    }
}

void ListView::Rows::announceLater()
{
    if (!m_announcing) {
        m_announcing = true;
        QMetaObject::invokeMethod(
            this,
            [this] {
                m_announcing = false;
                announce();
            },
            Qt::QueuedConnection);
    }
}

void ListView::Rows::remove(int row)
{
    at(row);
    announce();
    beginRemoveRows(QModelIndex(), row, row);
    m_keys.remove(m_rows[static_cast<size_t>(row)].key);
    m_rows.erase(m_rows.begin() + row);
    --m_announced;
    reindexFrom(row);
    endRemoveRows();
}

void ListView::Rows::clear()
{
    beginResetModel();
    m_rows.clear();
    m_rows.shrink_to_fit();
    m_keys.clear();
    m_ticked.clear();
    m_announced = 0;
    endResetModel();
}

void ListView::Rows::reserve(int rows)
{
    m_rows.reserve(static_cast<size_t>(std::max(rows, 0)));
    m_keys.reserve(std::max(rows, 0));
}

void ListView::Rows::reindexFrom(int row)
{
    for (int position = row; position < size(); ++position) {
        const QString& key = m_rows[static_cast<size_t>(position)].key;
        if (!key.isEmpty()) {
            m_keys[key] = position;
        }
    }
    m_ticked.clear();
    for (int position = 0; position < size(); ++position) {
        if (m_rows[static_cast<size_t>(position)].checked) {
            m_ticked.insert(position);
        }
    }
}

void ListView::Rows::changed(int row, int cell, int role)
{
    if (row < m_announced && cell < columnCount()) {
        const QModelIndex where = index(row, cell);
        Q_EMIT dataChanged(where, where, {role});
    }
}

void ListView::Rows::setText(int row, int cell, const QString& text)
{
    QString& current = at(row).cells[static_cast<size_t>(cell)];
    if (current.isSharedWith(text) || current == text) {
        return;
    }
    current = shared(text);
    changed(row, cell, Qt::DisplayRole);
}

void ListView::Rows::setColour(int row, int cell, quint32 bgr)
{
    Row& target = at(row);
    if ((target.coloured & bit(cell)) && target.colours[static_cast<size_t>(cell)] == bgr) {
        return;
    }
    target.colours[static_cast<size_t>(cell)] = bgr;
    target.coloured |= bit(cell);
    changed(row, cell, Qt::ForegroundRole);
}

void ListView::Rows::setBold(int row, int cell, bool bold)
{
    Row& target = at(row);
    const quint16 now = bold ? (target.bold | bit(cell)) : (target.bold & ~bit(cell));
    if (now != target.bold) {
        target.bold = now;
        changed(row, cell, Qt::FontRole);
    }
}

void ListView::Rows::setToolTip(int row, const QString& text)
{
    at(row).toolTip = text;
}

void ListView::Rows::setIcon(int row, const QIcon& icon)
{
    at(row).icon = icon;
    changed(row, 0, Qt::DecorationRole);
}

void ListView::Rows::setChecked(int row, bool on)
{
    Row& target = at(row);
    if (target.checked == on) {
        return;
    }
    target.checked = on;
    if (on) {
        m_ticked.insert(row);
    } else {
        m_ticked.erase(row);
    }
    changed(row, 0, Qt::CheckStateRole);
    Q_EMIT m_owner.checkedRowsChanged();
}

int ListView::Rows::sortBy(int column, SortAs kind, Qt::SortOrder order, int follow)
{
    announce();
    const QList<QPersistentModelIndex> parents;
    Q_EMIT layoutAboutToBeChanged(parents, QAbstractItemModel::VerticalSortHint);
    std::vector<QString> cells;
    cells.reserve(m_rows.size());
    for (const Row& row : m_rows) {
        cells.push_back(row.cells[static_cast<size_t>(column)]);
    }
    const std::vector<int> byValue = sortKey::order(cells, kind, order);
    std::vector<int> newPlace(m_rows.size());
    std::vector<Row> sorted;
    sorted.reserve(m_rows.size());
    for (size_t place = 0; place < byValue.size(); ++place) {
        newPlace[static_cast<size_t>(byValue[place])] = static_cast<int>(place);
        sorted.push_back(std::move(m_rows[static_cast<size_t>(byValue[place])]));
    }
    m_rows = std::move(sorted);
    reindexFrom(0);
    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex& old : before) {
        after << index(newPlace[static_cast<size_t>(old.row())], old.column());
    }
    changePersistentIndexList(before, after);
    Q_EMIT layoutChanged(parents, QAbstractItemModel::VerticalSortHint);
    return follow >= 0 && follow < size() ? newPlace[static_cast<size_t>(follow)] : -1;
}

int ListView::Rows::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_announced;
}

int ListView::Rows::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_headers.size());
}

QVariant ListView::Rows::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= size()) {
        return {};
    }
    const Row& row = m_rows[static_cast<size_t>(index.row())];
    const int cell = index.column();
    switch (role) {
    case Qt::DisplayRole:
        return row.cells[static_cast<size_t>(cell)];
    case Qt::ToolTipRole:
        return row.toolTip.isEmpty() ? QVariant() : QVariant(row.toolTip);
    case Qt::ForegroundRole:
        return (row.coloured & bit(cell)) ? QVariant(colorFromBgr(row.colours[static_cast<size_t>(cell)])) : QVariant();
    case Qt::FontRole:
        return (row.bold & bit(cell)) ? QVariant(m_boldFont) : QVariant();
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(m_alignments[cell] | Qt::AlignVCenter);
    case Qt::CheckStateRole:
        return cell == 0 && row.checkable ? QVariant(row.checked ? Qt::Checked : Qt::Unchecked) : QVariant();
    case Qt::DecorationRole:
        return cell == 0 && !row.icon.isNull() ? QVariant(row.icon) : QVariant();
    default:
        return {};
    }
}

QVariant ListView::Rows::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount()) {
        return {};
    }
    if (role == Qt::DisplayRole) {
        return m_headers[section];
    }
    if (role == Qt::TextAlignmentRole) {
        return QVariant::fromValue(m_alignments[section] | Qt::AlignVCenter);
    }
    return {};
}

Qt::ItemFlags ListView::Rows::flags(const QModelIndex& index) const
{
    // The root (the invalid index) is no item: nothing to select or enable there.
    if (!index.isValid()) {
        return Qt::NoItemFlags;
    }
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (index.column() == 0 && index.row() < size() && m_rows[static_cast<size_t>(index.row())].checkable) {
        flags |= Qt::ItemIsUserCheckable;
    }
    return flags;
}

bool ListView::Rows::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::CheckStateRole || !index.isValid() || index.column() != 0 ||
        !m_rows[static_cast<size_t>(index.row())].checkable) {
        return false;
    }
    const bool on = static_cast<Qt::CheckState>(value.toInt()) == Qt::Checked;
    if (on == m_rows[static_cast<size_t>(index.row())].checked) {
        return false;
    }
    setChecked(index.row(), on);
    m_owner.userTicked(index.row());
    return true;
}

} // namespace counter
