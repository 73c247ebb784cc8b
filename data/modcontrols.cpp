#include "data/modcontrols.h"

#include "data/displayformat.h"
#include "data/valuetext.h"

namespace data::modControls {

namespace {

using Kind = BoundControl::Kind;

bool formatsFromTag(int code)
{
    return code == 2 || code == 4 || code == 5 || code == 7 || code == 8;
}

// Text box and label share the rules; shown is "Text" for one and "Caption" for the other.
template <typename Show> void bindText(BoundControl& control, const QVariant& value, int code, Show show)
{
    if (code == 0) {
        const QString text = valueText::text(value);
        if (valueText::isNumeric(value)) {
            control.setTag(text);
        }
        show(text);
    } else if (code == 1 || code == 3) {
        const QString shown = displayFormat::BindingText(value, code);
        control.setTag(QString());
        show(shown);
    } else if (code == 6) {
        control.setTag(valueText::text(value));
        show(displayFormat::BindingText(value, code));
    } else if (formatsFromTag(code)) {
        control.setTag(valueText::text(value));
        if (control.kind() == Kind::Label) {
            show(displayFormat::BindingText(control.Tag(), code));
        } else {
            FormatFromTag(control, code);
        }
    }
}

void bindTextBox(BoundControl& control, const QVariant& value, int code)
{
    if (valueText::isNull(value)) {
        control.setText(QString());
        control.setTag(QString());
        return;
    }
    bindText(control, value, code, [&](const QString& text) { control.setText(text); });
}

void bindLabel(BoundControl& control, const QVariant& value, int code)
{
    if (valueText::isNull(value)) {
        control.setCaption(QString());
        return;
    }
    bindText(control, value, code, [&](const QString& text) { control.setCaption(text); });
}

void chooseByItemData(BoundControl& control, const QVariant& value)
{
    if (!valueText::isNumeric(value)) {
        control.setListIndex(-1);
        return;
    }
    const double wanted = valueText::toNumber(value);
    const int count = control.ListCount();
    for (int i = 0; i < count; ++i) {
        if (control.ItemData(i) == wanted) {
            control.setListIndex(i);
            return;
        }
    }
}

void bindComboBox(BoundControl& control, const QVariant& value)
{
    if (control.Style() == 2) {
        chooseByItemData(control, value);
    } else {
        control.setText(valueText::text(value));
    }
}

void bindDatePicker(BoundControl& control, const QVariant& value)
{
    if (valueText::isNull(value) || !valueText::isDate(value)) {
        control.setValue(valueText::noDate());
        return;
    }
    control.setValue(valueText::toDateTime(value));
}

void bindChoice(BoundControl& control, const QVariant& value)
{
    const bool chosen = valueText::isNumeric(value) && valueText::toNumber(value) != 0.0;
    control.setValue(chosen ? 1 : 0);
}

} // namespace

void SetControlValue(BoundControl& control, const QVariant& value, int code)
{
    switch (control.kind()) {
    case Kind::TextBox:
        bindTextBox(control, value, code);
        break;
    case Kind::ComboBox:
        bindComboBox(control, value);
        break;
    case Kind::DatePicker:
        bindDatePicker(control, value);
        break;
    case Kind::OptionButton:
    case Kind::CheckBox:
        bindChoice(control, value);
        break;
    case Kind::Label:
        bindLabel(control, value, code);
        break;
    case Kind::ListBox:
        chooseByItemData(control, value);
        break;
    case Kind::Other:
        break;
    }
}

void FormatFromTag(BoundControl& control, int code)
{
    const QString tag = control.Tag();
    if (tag.isEmpty() || !formatsFromTag(code)) {
        return;
    }
    control.setText(displayFormat::BindingText(tag, code));
}

} // namespace data::modControls
