#pragma once

#include <QColor>
#include <QHash>
#include <QPersistentModelIndex>
#include <QWidget>

class QTreeWidgetItem;

namespace counter {

// A report-style list with check boxes, rows found by key or by position, a label and text cells
// ("sub-items") per row. Cell 0 is the row's label; cells 1 up to the number of columns minus one are
// shown in the columns; higher cells (up to MaxCell) are kept with the row and never shown.
// Rows stay in the order they were added unless sorting is switched on. Labels are never edited.
// The tree underneath is private, so rows change only through this class and its key index.
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
    // The width of every column together, in pixels.
    int columnsWidth() const;
    // Widens the column, never narrowing it, so that its widest cell shows whole.
    void fitColumnToCells(int column);
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
    // Sets the tick from code: raises no ItemCheck.
    void setChecked(int row, bool on);
    // Changes the tick as a user's click on the check box does, raising ItemCheck.
    void userToggle(int row);

    // Selects the row alone and scrolls it into view.
    void selectRow(int row);
    // The selected row, -1 when none is.
    int selectedRow() const;

    // Sorting by the shown text of the sort key's column, in the configured direction.
    void setSortKey(int column);
    int sortKey() const { return m_sortKey; }
    void setSortOrder(Qt::SortOrder order);
    void setSorted(bool on);
    bool sorted() const { return m_sorted; }

    // The area the rows are drawn in (mouse positions are given in it), and a shown cell's place there.
    QWidget* viewport() const;
    QRect cellRect(int row, int column) const;

Q_SIGNALS:
    // The user changed the tick of the row.
    void ItemCheck(int row);
    // A press of either button on a row, raised before the release of the same click.
    void ItemClick(int row, Qt::MouseButton button);
    // A button released over the list, at a position in the list's viewport.
    void MouseUp(Qt::MouseButton button, const QPoint& position);
    void DblClick();
    // A click on a column header.
    void ColumnClick(int column);

private:
    class Tree;
    friend class Tree;

    static constexpr int KeyRole = Qt::UserRole;
    // The tick as the list last knew it: a change the list did not make itself is the user's.
    static constexpr int KnownTickRole = Qt::UserRole + 1;
    // Cells that are kept but not shown live in column 0 under one role each.
    static constexpr int KeptCellRole = Qt::UserRole + 16;

    QTreeWidgetItem* rowItem(int row) const;
    static void checkCell(int cell);
    bool isShown(int cell) const { return cell < columnCount(); }
    void onItemChanged(QTreeWidgetItem* item, int column);
    void raiseUserTicks();
    void sortNow();

    Tree* m_tree;
    bool m_checkboxes = false;
    // Depth of the list's own changes, which are never the user's.
    int m_fromCode = 0;
    // Depth of the user's input being handled by Qt.
    int m_inUserInput = 0;
    QList<QPersistentModelIndex> m_userTicks;
    QHash<QString, QTreeWidgetItem*> m_keys;
    QList<Qt::Alignment> m_alignments;
    int m_sortKey = 0;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
    bool m_sorted = false;
    QColor m_foreColor;
};

} // namespace counter
