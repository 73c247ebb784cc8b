#pragma once

#include "counter/listview/sortkey.h"

#include <QColor>
#include <QHash>
#include <QList>
#include <QPersistentModelIndex>
#include <QWidget>

namespace counter {

// A report-style list with check boxes, rows found by key or by position, a label and text cells
// ("sub-items") per row. Cell 0 is the row's label; cells 1 up to the number of columns minus one are
// shown in the columns; higher cells (up to MaxCell) are kept with the row and never shown.
// Rows stay in the order they were added unless sorting is switched on. Labels are never edited.
// The rows and the tree that shows them are private, so rows change only through this class. Adding a
// row, finding one by key and listing the ticked rows take the same time at any length of the list.
//
// Positions are counted from 0. Every accessor given a position that holds no row, or a cell outside
// 0..MaxCell, throws core::Error 35600 ("Index out of bounds"), as the windows' handlers expect.
//
// ItemCheck is raised only when the user changes a tick (mouse or keyboard) and after Qt has finished
// handling that input, so a handler may clear and rebuild the list. Ticks set from code raise nothing.
class ListView : public QWidget
{
    Q_OBJECT

public:
    static constexpr int MaxCell = 10;

    explicit ListView(QWidget* parent = nullptr);
    ~ListView() override;

    // A colour written &HBBGGRR (blue, green, red), as the system gives them.
    static QColor colorFromBgr(quint32 bgr);
    // A width in hundredths of a millimetre, as pixels at 96 dots per inch (nearest whole pixel).
    static int pixelsFromHundredthsMm(int width);

    // Appends a column with its header, the alignment of its cells and header, and its width.
    void addColumn(const QString& header, Qt::Alignment alignment, int widthHundredthsMm);
    int columnCount() const;
    // The width every column wants together, in pixels: each its own width, widened to its cells.
    int columnsWidth() const;
    // Widens the column, never narrowing it, so that its widest cell shows whole.
    void fitColumnToCells(int column);
    // Marks a column of long text (a description, a name) that gives up room when the list is narrower
    // than its columns, so that the others (numbers, dates, case numbers) stay whole. Without such
    // columns, or once they are down to their headers, a horizontal scroll bar shows the rest.
    void setColumnShares(int column, bool shares);
    bool columnShares(int column) const;
    // Shows a check box on every row added from now on.
    void setCheckboxes(bool on);
    bool checkboxes() const { return m_checkboxes; }
    // The text colour of cells that were given none.
    void setForeColor(quint32 bgr);

    int rowCount() const;
    // Appends a row; returns its position. An empty key adds a row without key.
    // Throws core::Error 35602 when another row has the same key.
    int addRow(const QString& key, const QString& label);
    void removeRow(int row);
    // Removes every row.
    void clearRows();
    // Makes room for `rows` rows, as a fill that knows its length does before it adds them.
    void reserveRows(int rows);

    // The position of the row with that key, -1 when none has it.
    int findKey(const QString& key) const;
    QString key(int row) const;

    // A cell's text; a cell never written gives empty text.
    QString cellText(int row, int cell) const;
    void setCellText(int row, int cell, const QString& text);
    // Colour and bold of a shown cell; on a cell that is kept but not shown they do nothing.
    void setCellForeColor(int row, int cell, quint32 bgr);
    QColor cellForeColor(int row, int cell) const;
    void setCellBold(int row, int cell, bool bold);
    bool cellBold(int row, int cell) const;

    void setRowToolTip(int row, const QString& text);
    QString rowToolTip(int row) const;
    void setRowIcon(int row, const QIcon& icon);

    bool checked(int row) const;
    // The positions of the ticked rows, in order.
    QList<int> checkedRows() const;
    // Sets the tick from code: raises no ItemCheck.
    void setChecked(int row, bool on);
    // Changes the tick as a user's click on the check box does, raising ItemCheck.
    void userToggle(int row);

    // Selects the row alone and scrolls it into view.
    void selectRow(int row);
    // The selected row, -1 when none is.
    int selectedRow() const;

    // Sorting by the sort key's column, in the configured direction, comparing its cells as the column's
    // kind says (text unless set).
    void setColumnSortAs(int column, SortAs kind);
    void setSortKey(int column);
    int sortKey() const { return m_sortKey; }
    void setSortOrder(Qt::SortOrder order);
    Qt::SortOrder sortOrder() const { return m_sortOrder; }
    void setSorted(bool on);
    // Sorts by the column in that direction at once and marks the column's header with the direction.
    void sortByColumn(int column, Qt::SortOrder order);
    bool sorted() const { return m_sorted; }

    // The area the rows are drawn in (mouse positions are given in it), and a shown cell's place there.
    QWidget* viewport() const;
    QRect cellRect(int row, int column) const;

protected:
    void resizeEvent(QResizeEvent* event) override;

Q_SIGNALS:
    // The user changed the tick of the row.
    void ItemCheck(int row);
    // A press of either button on a row, raised before the release of the same click.
    void ItemClick(int row, Qt::MouseButton button);
    // A button released over the list, at a position in the list's viewport.
    void MouseUp(Qt::MouseButton button, const QPoint& position);
    // A double click on the list, or Enter on a selected row.
    void DblClick();
    // The menu key or Shift+F10: the selected row (-1 for none) and where its menu goes, in the viewport
    // (under the row's label, or the list's top left corner without a row).
    void MenuKey(int row, const QPoint& position);
    // A click on a column header.
    void ColumnClick(int column);
    // A row was ticked or unticked, by the user or from code.
    void checkedRowsChanged();

private:
    class Tree;
    class Rows;
    friend class Tree;
    friend class Rows;

    static void checkCell(int cell);
    bool isShown(int cell) const { return cell < columnCount(); }
    // The user changed the tick of the row: ItemCheck is raised once Qt has finished with the input.
    void userTicked(int row);
    void raiseUserTicks();
    // Gives the columns their widths within the room the list has (see setColumnShares).
    void shareRoom();
    void sortNow();

    Rows* m_rows;
    Tree* m_tree;
    bool m_checkboxes = false;
    // Depth of the user's input being handled by Qt.
    int m_inUserInput = 0;
    QList<QPersistentModelIndex> m_userTicks;
    int m_sortKey = 0;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
    bool m_sorted = false;
    QList<SortAs> m_sortAs;
    QColor m_foreColor;
    // Each column's own width (as given, widened to its header and cells) and whether it shares room.
    QList<int> m_widths;
    QList<int> m_headerWidths;
    QList<bool> m_shares;
    // Widths of texts already measured in the list's font.
    QHash<QString, int> m_textWidths;
};

} // namespace counter
