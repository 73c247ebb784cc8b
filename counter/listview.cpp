#include "counter/listview.h"

#include "core/errorvalue.h"
#include "counter/listview_tree.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QScopedValueRollback>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace counter {

ListView::ListView(QWidget* parent)
    : QWidget(parent)
    , m_tree(new Tree(*this))
    , m_foreColor(m_tree->palette().color(QPalette::Text))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_tree);
    setFocusProxy(m_tree);

    m_tree->setColumnCount(0);
    m_tree->setRootIsDecorated(false);
    m_tree->setItemsExpandable(false);
    m_tree->setUniformRowHeights(true);
    m_tree->setSelectionMode(QAbstractItemView::SingleSelection);
    m_tree->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_tree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_tree->setAllColumnsShowFocus(true);
    m_tree->header()->setSectionsClickable(true);
    m_tree->header()->setStretchLastSection(false);
    m_tree->header()->setSectionsMovable(false);
    // The column widths were laid out for an 8-point interface font; a larger desktop font would cut
    // dates and counters short.
    QFont listFont = m_tree->font();
    listFont.setPointSizeF(std::min(listFont.pointSizeF(), 8.0));
    m_tree->setFont(listFont);

    connect(m_tree, &QTreeWidget::itemChanged, this, &ListView::onItemChanged);
    connect(m_tree->header(), &QHeaderView::sectionClicked, this, &ListView::ColumnClick);
}

ListView::~ListView() = default;

QColor ListView::colorFromBgr(quint32 bgr)
{
    return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                  static_cast<int>((bgr >> 16) & 0xFF));
}

int ListView::pixelsFromHundredthsMm(int width)
{
    return static_cast<int>(std::lround(width * 96.0 / 2540.0));
}

void ListView::addColumn(const QString& header, Qt::Alignment alignment, int widthHundredthsMm)
{
    const int column = columnCount();
    m_tree->setColumnCount(column + 1);
    m_tree->headerItem()->setText(column, header);
    m_tree->headerItem()->setTextAlignment(column, alignment | Qt::AlignVCenter);
    // Never narrower than its own header, so every caption stays readable.
    const int headerWidth = QFontMetrics(m_tree->header()->font()).horizontalAdvance(header) + 14;
    m_tree->setColumnWidth(column, std::max(pixelsFromHundredthsMm(widthHundredthsMm), headerWidth));
    m_alignments.append(alignment);
}

int ListView::columnCount() const
{
    return m_tree->columnCount();
}

int ListView::columnsWidth() const
{
    int width = 0;
    for (int column = 0; column < columnCount(); ++column) {
        width += m_tree->columnWidth(column);
    }
    return width;
}

void ListView::fitColumnToCells(int column)
{
    const QFontMetrics metrics(m_tree->font());
    int widest = 0;
    for (int row = 0; row < rowCount(); ++row) {
        widest = std::max(widest, metrics.horizontalAdvance(cellText(row, column)));
    }
    // Room for the cell's margins on both sides, as the view draws them.
    const int needed = widest + 2 * m_tree->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, m_tree) + 12;
    if (needed > m_tree->columnWidth(column)) {
        m_tree->setColumnWidth(column, needed);
    }
}

void ListView::setCheckboxes(bool on)
{
    m_checkboxes = on;
}

void ListView::setForeColor(quint32 bgr)
{
    m_foreColor = colorFromBgr(bgr);
    QPalette colours = m_tree->palette();
    colours.setColor(QPalette::Text, m_foreColor);
    m_tree->setPalette(colours);
}

int ListView::rowCount() const
{
    return m_tree->topLevelItemCount();
}

int ListView::addRow(const QString& key, const QString& label)
{
    if (!key.isEmpty() && m_keys.contains(key)) {
        throw core::standardError(core::errc::KeyNotUnique);
    }
    const QScopedValueRollback fromCode(m_fromCode, m_fromCode + 1);
    auto* item = new QTreeWidgetItem;
    item->setFlags((item->flags() | Qt::ItemIsUserCheckable) & ~Qt::ItemIsEditable);
    item->setData(0, KeyRole, key);
    item->setText(0, label);
    for (int column = 0; column < m_alignments.size(); ++column) {
        item->setTextAlignment(column, m_alignments[column] | Qt::AlignVCenter);
    }
    if (m_checkboxes) {
        item->setCheckState(0, Qt::Unchecked);
        item->setData(0, KnownTickRole, false);
    }
    m_tree->addTopLevelItem(item);
    if (!key.isEmpty()) {
        m_keys.insert(key, item);
    }
    sortNow();
    return m_tree->indexOfTopLevelItem(item);
}

void ListView::removeRow(int row)
{
    QTreeWidgetItem* item = rowItem(row);
    const QScopedValueRollback fromCode(m_fromCode, m_fromCode + 1);
    m_keys.remove(item->data(0, KeyRole).toString());
    delete m_tree->takeTopLevelItem(row);
}

void ListView::clearRows()
{
    const QScopedValueRollback fromCode(m_fromCode, m_fromCode + 1);
    m_keys.clear();
    m_userTicks.clear();
    m_tree->clear();
}

int ListView::findKey(const QString& key) const
{
    QTreeWidgetItem* item = m_keys.value(key);
    return item ? m_tree->indexOfTopLevelItem(item) : -1;
}

QString ListView::key(int row) const
{
    return rowItem(row)->data(0, KeyRole).toString();
}

QString ListView::cellText(int row, int cell) const
{
    checkCell(cell);
    QTreeWidgetItem* item = rowItem(row);
    return isShown(cell) ? item->text(cell) : item->data(0, KeptCellRole + cell).toString();
}

void ListView::setCellText(int row, int cell, const QString& text)
{
    checkCell(cell);
    QTreeWidgetItem* item = rowItem(row);
    const QScopedValueRollback fromCode(m_fromCode, m_fromCode + 1);
    if (isShown(cell)) {
        item->setText(cell, text);
    } else {
        item->setData(0, KeptCellRole + cell, text);
    }
    if (cell == m_sortKey) {
        sortNow();
    }
}

void ListView::setCellForeColor(int row, int cell, quint32 bgr)
{
    checkCell(cell);
    QTreeWidgetItem* item = rowItem(row);
    if (isShown(cell)) {
        const QScopedValueRollback fromCode(m_fromCode, m_fromCode + 1);
        item->setForeground(cell, colorFromBgr(bgr));
    }
}

QColor ListView::cellForeColor(int row, int cell) const
{
    checkCell(cell);
    QTreeWidgetItem* item = rowItem(row);
    if (!isShown(cell) || !item->data(cell, Qt::ForegroundRole).isValid()) {
        return m_foreColor;
    }
    return item->foreground(cell).color();
}

void ListView::setCellBold(int row, int cell, bool bold)
{
    checkCell(cell);
    QTreeWidgetItem* item = rowItem(row);
    if (isShown(cell)) {
        const QScopedValueRollback fromCode(m_fromCode, m_fromCode + 1);
        QFont cellFont = item->data(cell, Qt::FontRole).isValid() ? item->font(cell) : m_tree->font();
        cellFont.setBold(bold);
        item->setFont(cell, cellFont);
    }
}

bool ListView::cellBold(int row, int cell) const
{
    checkCell(cell);
    QTreeWidgetItem* item = rowItem(row);
    return isShown(cell) && item->data(cell, Qt::FontRole).isValid() && item->font(cell).bold();
}

void ListView::setRowToolTip(int row, const QString& text)
{
    QTreeWidgetItem* item = rowItem(row);
    const QScopedValueRollback fromCode(m_fromCode, m_fromCode + 1);
    for (int column = 0; column < columnCount(); ++column) {
        item->setToolTip(column, text);
    }
}

QString ListView::rowToolTip(int row) const
{
    return rowItem(row)->toolTip(0);
}

void ListView::setRowIcon(int row, const QIcon& icon)
{
    QTreeWidgetItem* item = rowItem(row);
    const QScopedValueRollback fromCode(m_fromCode, m_fromCode + 1);
    item->setIcon(0, icon);
}

bool ListView::checked(int row) const
{
    return rowItem(row)->checkState(0) == Qt::Checked;
}

void ListView::setChecked(int row, bool on)
{
    QTreeWidgetItem* item = rowItem(row);
    const QScopedValueRollback fromCode(m_fromCode, m_fromCode + 1);
    item->setCheckState(0, on ? Qt::Checked : Qt::Unchecked);
    item->setData(0, KnownTickRole, on);
}

void ListView::selectRow(int row)
{
    QTreeWidgetItem* item = rowItem(row);
    m_tree->setCurrentItem(item);
    m_tree->scrollToItem(item);
}

int ListView::selectedRow() const
{
    const QList<QTreeWidgetItem*> items = m_tree->selectedItems();
    return items.isEmpty() ? -1 : m_tree->indexOfTopLevelItem(items.first());
}

void ListView::setSortKey(int column)
{
    m_sortKey = column;
    sortNow();
}

void ListView::setSortOrder(Qt::SortOrder order)
{
    m_sortOrder = order;
    sortNow();
}

void ListView::setSorted(bool on)
{
    m_sorted = on;
    sortNow();
}

QTreeWidgetItem* ListView::rowItem(int row) const
{
    QTreeWidgetItem* item = row >= 0 ? m_tree->topLevelItem(row) : nullptr;
    if (!item) {
        throw core::standardError(core::errc::IndexOutOfBounds);
    }
    return item;
}

void ListView::checkCell(int cell)
{
    if (cell < 0 || cell > MaxCell) {
        throw core::standardError(core::errc::IndexOutOfBounds);
    }
}

void ListView::sortNow()
{
    if (m_sorted && m_sortKey >= 0 && m_sortKey < columnCount()) {
        const QScopedValueRollback fromCode(m_fromCode, m_fromCode + 1);
        m_tree->sortItems(m_sortKey, m_sortOrder);
    }
}

QWidget* ListView::viewport() const
{
    return m_tree->viewport();
}

QRect ListView::cellRect(int row, int column) const
{
    rowItem(row);
    return m_tree->visualRect(m_tree->model()->index(row, column));
}

} // namespace counter
