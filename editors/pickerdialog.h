#pragma once

#include <QDialog>
#include <QList>
#include <QStringList>

class QLineEdit;
class QTreeWidget;

namespace editors {

// A list to choose one row from, with a filter box that narrows it as one types: a row stays when every
// word typed appears in its filtered columns, letter case and accents ignored. Enter or a double click
// chooses the current row; Esc chooses nothing.
class PickerDialog : public QDialog
{
    Q_OBJECT

public:
    struct Row {
        qint64 id = 0;
        QStringList texts; // one per column
    };

    // filtered: the columns the filter looks at.
    PickerDialog(const QString& name, const QString& title, const QStringList& headers, const QList<int>& filtered,
                 QWidget* parent = nullptr);

    void setRows(const QList<Row>& rows);
    // The identifier of the row chosen, 0 when none was.
    qint64 chosen() const { return m_chosen; }
    int shownRows() const;

    void accept() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void applyFilter(const QString& text);

    QList<int> m_filtered;
    QLineEdit* m_filter;
    QTreeWidget* m_list;
    qint64 m_chosen = 0;
};

// The text as the filter compares it: accents dropped, letter case folded.
QString folded(const QString& text);

} // namespace editors
