#pragma once

#include "data/boundcontrol.h"
#include "data/listcontrol.h"

#include <QPointer>
#include <QWidget>

namespace counter {

// A Qt widget seen as a bound control and a list control, by its class:
//   QLineEdit text box, QComboBox combo box (Style 2 when not editable; ItemData in Qt::UserRole),
//   QDateEdit / QDateTimeEdit date picker, QCheckBox check box, QRadioButton option button,
//   QLabel label, QListWidget list box (ItemData in Qt::UserRole); any other widget is Other.
// "Tag" and "NewIndex" are kept on the widget as dynamic properties, so any adapter of the same
// widget sees them. A property the widget lacks throws core::Error 438; an entry position out of
// range throws core::Error 381.
// The adapter does not own the widget; a widget destroyed meanwhile counts as Other.
class WidgetControl : public data::BoundControl, public data::ListControl
{
public:
    explicit WidgetControl(QWidget* widget);

    Kind kind() const override;

    QString Text() const override;
    void setText(const QString& text) override;
    QString Tag() const override;
    void setTag(const QString& tag) override;
    int Style() const override;
    int ListIndex() const override;
    void setListIndex(int index) override;
    int ListCount() const override;
    qint32 ItemData(int index) const override;
    // Date picker: a QDateTime. Check box and option button: 1 or 0 (a half-ticked box is 2).
    QVariant Value() const override;
    // Date picker: also sets its minimum to 1 January 1900, so that the no-date value can show.
    void setValue(const QVariant& value) override;
    QString Caption() const override;
    void setCaption(const QString& caption) override;

    void Clear() override;
    void AddItem(const QString& text) override;
    int NewIndex() const override;
    void setItemData(int index, qint32 value) override;

private:
    QPointer<QWidget> m_widget;
};

} // namespace counter
