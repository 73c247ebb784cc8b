#pragma once

#include "data/binding/boundcontrol.h"
#include "data/binding/listcontrol.h"

#include <QPointer>
#include <QWidget>

#include <memory>

namespace counter {

// A Qt widget seen as a bound control and a list control, through one small adapter per kind the window
// binds: QLineEdit text box, QComboBox combo box (Style 2 when not editable; ItemData in Qt::UserRole),
// QDateEdit / QDateTimeEdit date picker; any other widget is Other.
// "Tag" and "NewIndex" are kept on the widget as dynamic properties, so any adapter of the same
// widget sees them. A property the kind lacks throws core::Error 438; an entry position out of
// range throws core::Error 381 (380 when choosing it).
// The adapter does not own the widget; a widget destroyed meanwhile counts as Other.
class WidgetControl : public data::BoundControl, public data::ListControl
{
public:
    // The adapter of the widget's kind.
    static std::unique_ptr<WidgetControl> of(QWidget* widget);

    Kind kind() const final;
    QString Tag() const final;
    void setTag(const QString& tag) final;

    // The list control of a combo box; the other kinds throw core::Error 438.
    void Clear() override;
    void AddItem(const QString& text) override;
    int NewIndex() const override;
    void setItemData(int index, qint32 value) override;

protected:
    WidgetControl(QWidget* widget, Kind kind);
    // The widget as its adapter's class. Throws core::Error 438 when it was destroyed.
    template <typename Widget> Widget* as() const { return static_cast<Widget*>(alive()); }

private:
    QWidget* alive() const;

    QPointer<QWidget> m_widget;
    Kind m_kind;
};

// The window's entry points to the binding procedures of data/: the widget's adapter made and handed on.
// SetControlValue's code is a displayFormat::bindingCode; ControlFill fills a combo box.
void SetControlValue(QWidget* widget, const QVariant& value, int code);
void ControlFill(QWidget* widget, const QString& sql, const QString& displayField, const QString& idField);

} // namespace counter
