// The adapter base and the three kinds the window binds: text box, combo box and date picker.
#include "counter/widgetcontrol.h"

#include "core/errorvalue.h"
#include "data/binding/modcontrolfill.h"
#include "data/binding/modcontrols.h"
#include "data/valuetext.h"

#include <QComboBox>
#include <QDateTimeEdit>
#include <QLineEdit>

namespace counter {
namespace {

const char* const TagProperty = "Tag";
const char* const NewIndexProperty = "NewIndex";

class TextBoxControl final : public WidgetControl
{
public:
    explicit TextBoxControl(QLineEdit* edit)
        : WidgetControl(edit, Kind::TextBox)
    {}
    QString Text() const override { return as<QLineEdit>()->text(); }
    void setText(const QString& text) override { as<QLineEdit>()->setText(text); }
};

class DatePickerControl final : public WidgetControl
{
public:
    explicit DatePickerControl(QDateTimeEdit* picker)
        : WidgetControl(picker, Kind::DatePicker)
    {}
    QVariant Value() const override { return as<QDateTimeEdit>()->dateTime(); }
    // The minimum drops to the no-date value, so that it can show.
    void setValue(const QVariant& value) override
    {
        const QDateTime when = data::valueText::toDateTime(value);
        as<QDateTimeEdit>()->setMinimumDateTime(data::valueText::noDate());
        as<QDateTimeEdit>()->setDateTime(when);
    }
};

// The entries of a combo box, each with its whole number kept in Qt::UserRole.
class ComboBoxControl final : public WidgetControl
{
public:
    explicit ComboBoxControl(QComboBox* combo)
        : WidgetControl(combo, Kind::ComboBox)
    {}

    QString Text() const override { return combo()->currentText(); }
    // A combo box that can be typed in takes the text; a choose-only one chooses the entry of that text.
    void setText(const QString& text) override
    {
        if (combo()->isEditable()) {
            combo()->setEditText(text);
        } else {
            combo()->setCurrentIndex(combo()->findText(text, Qt::MatchFixedString));
        }
    }
    int Style() const override { return combo()->isEditable() ? 0 : 2; }
    int ListCount() const override { return combo()->count(); }
    int ListIndex() const override { return combo()->currentIndex(); }
    void setListIndex(int index) override
    {
        if (index < -1 || index >= combo()->count()) {
            throw core::standardError(core::errc::InvalidPropertyValue);
        }
        combo()->setCurrentIndex(index);
    }
    qint32 ItemData(int index) const override { return combo()->itemData(checked(index), Qt::UserRole).toInt(); }
    void setItemData(int index, qint32 value) override { combo()->setItemData(checked(index), value, Qt::UserRole); }

    void Clear() override
    {
        combo()->clear();
        combo()->setProperty(NewIndexProperty, -1);
    }
    void AddItem(const QString& text) override
    {
        combo()->addItem(text);
        combo()->setProperty(NewIndexProperty, combo()->count() - 1);
    }
    int NewIndex() const override
    {
        const QVariant position = combo()->property(NewIndexProperty);
        return position.isValid() ? position.toInt() : -1;
    }

private:
    QComboBox* combo() const { return as<QComboBox>(); }
    int checked(int index) const
    {
        if (index < 0 || index >= combo()->count()) {
            throw core::standardError(core::errc::InvalidPropertyArrayIndex);
        }
        return index;
    }
};

class OtherControl final : public WidgetControl
{
public:
    explicit OtherControl(QWidget* widget)
        : WidgetControl(widget, Kind::Other)
    {}
};

} // namespace

std::unique_ptr<WidgetControl> WidgetControl::of(QWidget* widget)
{
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        return std::make_unique<TextBoxControl>(edit);
    }
    if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        return std::make_unique<ComboBoxControl>(combo);
    }
    if (auto* picker = qobject_cast<QDateTimeEdit*>(widget)) {
        return std::make_unique<DatePickerControl>(picker);
    }
    return std::make_unique<OtherControl>(widget);
}

WidgetControl::WidgetControl(QWidget* widget, Kind kind)
    : m_widget(widget)
    , m_kind(kind)
{}

QWidget* WidgetControl::alive() const
{
    if (!m_widget) {
        throw core::standardError(core::errc::NotSupported);
    }
    return m_widget.data();
}

WidgetControl::Kind WidgetControl::kind() const
{
    return m_widget ? m_kind : Kind::Other;
}

QString WidgetControl::Tag() const
{
    return alive()->property(TagProperty).toString();
}

void WidgetControl::setTag(const QString& tag)
{
    alive()->setProperty(TagProperty, tag);
}

void WidgetControl::Clear()
{
    throw core::standardError(core::errc::NotSupported);
}

void WidgetControl::AddItem(const QString&)
{
    throw core::standardError(core::errc::NotSupported);
}

int WidgetControl::NewIndex() const
{
    throw core::standardError(core::errc::NotSupported);
}

void WidgetControl::setItemData(int, qint32)
{
    throw core::standardError(core::errc::NotSupported);
}

void SetControlValue(QWidget* widget, const QVariant& value, int code)
{
    data::modControls::SetControlValue(*WidgetControl::of(widget), value, code);
}

void ControlFill(QWidget* widget, const QString& sql, const QString& displayField, const QString& idField)
{
    data::modControlFill::ControlFill(*WidgetControl::of(widget), sql, displayField, idField);
}

} // namespace counter
