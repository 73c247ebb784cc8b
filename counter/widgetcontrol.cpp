// The adapter base and the kinds without entries: text box, date picker, check box, option button,
// label, and any other widget.
#include "counter/widgetcontrol.h"

#include "core/errorvalue.h"
#include "counter/widgetkinds.h"
#include "data/valuetext.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>

namespace counter {
namespace {

const char* const TagProperty = "Tag";

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

class CheckBoxControl final : public WidgetControl
{
public:
    explicit CheckBoxControl(QCheckBox* box)
        : WidgetControl(box, Kind::CheckBox)
    {}
    // 1 ticked, 0 not, 2 half-ticked.
    QVariant Value() const override
    {
        switch (as<QCheckBox>()->checkState()) {
        case Qt::Checked:
            return 1;
        case Qt::PartiallyChecked:
            return 2;
        case Qt::Unchecked:
            break;
        }
        return 0;
    }
    void setValue(const QVariant& value) override
    {
        const double state = data::valueText::toNumber(value);
        as<QCheckBox>()->setCheckState(state == 2.0   ? Qt::PartiallyChecked
                                       : state != 0.0 ? Qt::Checked
                                                      : Qt::Unchecked);
    }
};

class OptionButtonControl final : public WidgetControl
{
public:
    explicit OptionButtonControl(QRadioButton* button)
        : WidgetControl(button, Kind::OptionButton)
    {}
    QVariant Value() const override { return as<QRadioButton>()->isChecked() ? 1 : 0; }
    // A chosen button of an exclusive group refuses to be unchosen unless taken out of it.
    void setValue(const QVariant& value) override
    {
        auto* button = as<QRadioButton>();
        const bool exclusive = button->autoExclusive();
        button->setAutoExclusive(false);
        button->setChecked(data::valueText::toNumber(value) != 0.0);
        button->setAutoExclusive(exclusive);
    }
};

class LabelControl final : public WidgetControl
{
public:
    explicit LabelControl(QLabel* label)
        : WidgetControl(label, Kind::Label)
    {}
    QString Caption() const override { return as<QLabel>()->text(); }
    void setCaption(const QString& caption) override { as<QLabel>()->setText(caption); }
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
        return widgetKinds::comboBox(combo);
    }
    if (auto* picker = qobject_cast<QDateTimeEdit*>(widget)) {
        return std::make_unique<DatePickerControl>(picker);
    }
    if (auto* button = qobject_cast<QRadioButton*>(widget)) {
        return std::make_unique<OptionButtonControl>(button);
    }
    if (auto* box = qobject_cast<QCheckBox*>(widget)) {
        return std::make_unique<CheckBoxControl>(box);
    }
    if (auto* label = qobject_cast<QLabel*>(widget)) {
        return std::make_unique<LabelControl>(label);
    }
    if (auto* list = qobject_cast<QListWidget*>(widget)) {
        return widgetKinds::listBox(list);
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

} // namespace counter
