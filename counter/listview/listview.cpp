#include "counter/listview/listview.h"

#include "core/errorvalue.h"
#include "counter/listview/listview_rows.h"
#include "counter/listview/listview_tree.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <numeric>

namespace counter {

ListView::ListView(QWidget* parent)
    : QWidget(parent)
    , m_rows(new Rows(*this))
    , m_tree(new Tree(*this))
    , m_foreColor(m_tree->palette().color(QPalette::Text))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_tree);
    setFocusProxy(m_tree);

    m_tree->setModel(m_rows);
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
    listFont.setBold(true);
    m_rows->setBoldFont(listFont);

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
    m_rows->addColumn(header, alignment);
    m_sortAs.append(SortAs::Text);
    // Never narrower than its own header, so every caption stays readable.
    const int headerWidth = QFontMetrics(m_tree->header()->font()).horizontalAdvance(header) + 14;
    m_headerWidths.append(headerWidth);
    m_widths.append(std::max(pixelsFromHundredthsMm(widthHundredthsMm), headerWidth));
    m_shares.append(false);
    shareRoom();
}

int ListView::columnCount() const
{
    return m_rows->columnCount();
}

int ListView::columnsWidth() const
{
    return std::accumulate(m_widths.cbegin(), m_widths.cend(), 0);
}

void ListView::setColumnShares(int column, bool shares)
{
    if (column >= 0 && column < m_shares.size()) {
        m_shares[column] = shares;
        shareRoom();
    }
}

bool ListView::columnShares(int column) const
{
    return column >= 0 && column < m_shares.size() && m_shares.at(column);
}

void ListView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    shareRoom();
}

void ListView::shareRoom()
{
    // The room inside the list's frame, less a vertical scroll bar, which may come with the next rows.
    const int room = width() - 2 * m_tree->frameWidth() - m_tree->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    // What the sharing columns can give up: their width above their header's.
    int spare = 0;
    for (int column = 0; column < columnCount(); ++column) {
        if (m_shares.at(column)) {
            spare += m_widths.at(column) - m_headerWidths.at(column);
        }
    }
    // Each gives up its part of what is missing, in proportion to what it can spare.
    const int excess = std::clamp(columnsWidth() - room, 0, spare);
    for (int column = 0; column < columnCount(); ++column) {
        int width = m_widths.at(column);
        if (m_shares.at(column) && excess > 0) {
            width -= static_cast<int>(static_cast<qint64>(excess) * (width - m_headerWidths.at(column)) / spare);
        }
        m_tree->setColumnWidth(column, width);
    }
}

void ListView::fitColumnToCells(int column)
{
    // The same texts come back with every refill: each is measured once.
    constexpr qsizetype MostRemembered = 50000;
    if (m_textWidths.size() > MostRemembered) {
        m_textWidths.clear();
    }
    const QFontMetrics metrics(m_tree->font());
    int widest = 0;
    for (int row = 0; row < rowCount(); ++row) {
        const QString& text = m_rows->at(row).cells[static_cast<size_t>(column)];
        auto known = m_textWidths.constFind(text);
        if (known == m_textWidths.cend()) {
            known = m_textWidths.insert(text, metrics.horizontalAdvance(text));
        }
        widest = std::max(widest, *known);
    }
    // Room for the cell's margins on both sides, as the view draws them.
    const int needed = widest + 2 * m_tree->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, m_tree) + 12;
    if (needed > m_widths.at(column)) {
        m_widths[column] = needed;
        shareRoom();
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
    return m_rows->size();
}

int ListView::addRow(const QString& key, const QString& label)
{
    const int row = m_rows->append(key, label, m_checkboxes);
    if (m_sorted && m_sortKey >= 0 && m_sortKey < columnCount()) {
        return m_rows->sortBy(m_sortKey, m_sortAs.at(m_sortKey), m_sortOrder, row);
    }
    return row;
}

void ListView::removeRow(int row)
{
    m_rows->remove(row);
}

void ListView::clearRows()
{
    m_userTicks.clear();
    m_rows->clear();
}

void ListView::reserveRows(int rows)
{
    m_rows->reserve(rows);
}

int ListView::findKey(const QString& key) const
{
    return m_rows->find(key);
}

QString ListView::key(int row) const
{
    return m_rows->at(row).key;
}

QString ListView::cellText(int row, int cell) const
{
    checkCell(cell);
    return m_rows->at(row).cells[static_cast<size_t>(cell)];
}

void ListView::setCellText(int row, int cell, const QString& text)
{
    checkCell(cell);
    m_rows->setText(row, cell, text);
    if (cell == m_sortKey) {
        sortNow();
    }
}

void ListView::setCellForeColor(int row, int cell, quint32 bgr)
{
    checkCell(cell);
    m_rows->at(row);
    if (isShown(cell)) {
        m_rows->setColour(row, cell, bgr);
    }
}

QColor ListView::cellForeColor(int row, int cell) const
{
    checkCell(cell);
    const Rows::Row& item = m_rows->at(row);
    if (!isShown(cell) || !(item.coloured & (1U << cell))) {
        return m_foreColor;
    }
    return colorFromBgr(item.colours[static_cast<size_t>(cell)]);
}

void ListView::setCellBold(int row, int cell, bool bold)
{
    checkCell(cell);
    m_rows->at(row);
    if (isShown(cell)) {
        m_rows->setBold(row, cell, bold);
    }
}

bool ListView::cellBold(int row, int cell) const
{
    checkCell(cell);
    return isShown(cell) && (m_rows->at(row).bold & (1U << cell));
}

void ListView::setRowToolTip(int row, const QString& text)
{
    m_rows->setToolTip(row, text);
}

QString ListView::rowToolTip(int row) const
{
    return m_rows->at(row).toolTip;
}

void ListView::setRowIcon(int row, const QIcon& icon)
{
    m_rows->setIcon(row, icon);
}

bool ListView::checked(int row) const
{
    return m_rows->at(row).checked;
}

QList<int> ListView::checkedRows() const
{
    const std::set<int>& ticked = m_rows->ticked();
    return QList<int>(ticked.begin(), ticked.end());
}

void ListView::setChecked(int row, bool on)
{
    m_rows->setChecked(row, on);
}

void ListView::selectRow(int row)
{
    m_rows->at(row);
    m_rows->announce();
    const QModelIndex index = m_rows->index(row, 0);
    m_tree->setCurrentIndex(index);
    m_tree->scrollTo(index);
}

int ListView::selectedRow() const
{
    const QModelIndexList rows = m_tree->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void ListView::setColumnSortAs(int column, SortAs kind)
{
    if (column >= 0 && column < m_sortAs.size()) {
        m_sortAs[column] = kind;
    }
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

void ListView::sortByColumn(int column, Qt::SortOrder order)
{
    m_sortKey = column;
    m_sortOrder = order;
    m_sorted = true;
    m_tree->header()->setSortIndicatorShown(true);
    m_tree->header()->setSortIndicator(column, order);
    sortNow();
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
        m_rows->sortBy(m_sortKey, m_sortAs.at(m_sortKey), m_sortOrder);
    }
}

QWidget* ListView::viewport() const
{
    return m_tree->viewport();
}

QRect ListView::cellRect(int row, int column) const
{
    m_rows->at(row);
    m_rows->announce();
    return m_tree->visualRect(m_rows->index(row, column));
}

} // namespace counter
