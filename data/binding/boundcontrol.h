#pragma once

#include <QString>
#include <QVariant>

namespace data {

// A form control as the binding procedures see it, by the names of its properties. The data layer
// has no widgets: the window layer adapts its widgets to this interface.
// A property the control does not have throws core::Error 438 (the default of every accessor).
class BoundControl
{
public:
    enum class Kind { TextBox, ComboBox, DatePicker, Other };

    virtual ~BoundControl() = default;

    virtual Kind kind() const = 0;

    // Text box, and the text part of a combo box.
    virtual QString Text() const;
    virtual void setText(const QString& text);
    // The spare text property every control has.
    virtual QString Tag() const;
    virtual void setTag(const QString& tag);
    // Combo box: 2 for a choose-only list, 0 when the text part can be typed in.
    virtual int Style() const;
    // Combo box: the position chosen, -1 for none; the number of entries; the whole number kept with
    // the entry at a position.
    virtual int ListIndex() const;
    virtual void setListIndex(int index);
    virtual int ListCount() const;
    virtual qint32 ItemData(int index) const;
    // Date picker: a date-time.
    virtual QVariant Value() const;
    virtual void setValue(const QVariant& value);
};

} // namespace data
