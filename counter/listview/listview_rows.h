#pragma once

#include "counter/listview/listview.h"

#include <QAbstractTableModel>
#include <QFont>
#include <QIcon>

#include <array>
#include <set>
#include <vector>

namespace counter {

// The rows of a ListView, held by value in one array and shown through Qt's model interface. A row
// costs its texts and a few flags; a row is appended in constant time, found by key through a hash of
// positions, and the ticked rows are known without a walk over the others.
class ListView::Rows : public QAbstractTableModel
{
public:
    explicit Rows(ListView& owner);

    struct Row {
        QString key;
        QString toolTip;
        QIcon icon;
        std::array<QString, MaxCell + 1> cells;
        std::array<quint32, MaxCell + 1> colours{};
        quint16 coloured = 0; // one bit per cell given a colour
        quint16 bold = 0;     // one bit per bold cell
        bool checkable = false;
        bool checked = false;
    };

    void addColumn(const QString& header, Qt::Alignment alignment);

    int size() const { return static_cast<int>(m_rows.size()); }
    // The row at a position; throws core::Error 35600 when none is there.
    Row& at(int row);
    const Row& at(int row) const;
    int find(const QString& key) const { return m_keys.value(key, -1); }
    const std::set<int>& ticked() const { return m_ticked; }

    // Throws core::Error 35602 when another row has the key. The view hears of appended rows together,
    // when control returns to the event loop or at the next call of announce().
    int append(const QString& key, const QString& label, bool checkable);
    // Tells the view of the rows appended since it last heard.
    void announce();
    void remove(int row);
    void clear();
    // Room for `rows` rows and their keys, so that appending that many moves no row and rehashes no key.
    void reserve(int rows);

    void setText(int row, int cell, const QString& text);
    void setColour(int row, int cell, quint32 bgr);
    void setBold(int row, int cell, bool bold);
    void setToolTip(int row, const QString& text);
    void setIcon(int row, const QIcon& icon);
    void setChecked(int row, bool on);
    void setBoldFont(const QFont& font) { m_boldFont = font; }
    // Stable sort by a column's cells compared as `kind`, keeping keys, ticks and the view's indexes with
    // their rows. Returns the new position of the row that was at `follow` (-1 for none).
    int sortBy(int column, SortAs kind, Qt::SortOrder order, int follow = -1);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // Only the view calls this, for the user's own tick of a check box.
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

private:
    void changed(int row, int cell, int role);
    void reindexFrom(int row);
    void announceLater();

    ListView& m_owner;
    std::vector<Row> m_rows;
    // The rows the view knows of: the first m_announced.
    int m_announced = 0;
    bool m_announcing = false;
    QHash<QString, int> m_keys;
    std::set<int> m_ticked;
    QStringList m_headers;
    QList<Qt::Alignment> m_alignments;
    QFont m_boldFont;
};

} // namespace counter
