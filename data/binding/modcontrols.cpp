#include "data/binding/modcontrols.h"

#include "data/displayformat.h"
#include "data/valuetext.h"

namespace data::modControls {

namespace {

using Kind = BoundControl::Kind;
namespace code = displayFormat::bindingCode;

bool formatsFromTag(int display)
{
    return display == code::Number || display == code::Money || display == code::Percent || display == code::Money3 ||
           display == code::Number3;
}

void bindTextBox(BoundControl& control, const QVariant& value, int display)
{
    if (valueText::isNull(value)) {
        control.setText(QString());
        control.setTag(QString());
        return;
    }
    if (display == code::AsIs) {
        const QString text = valueText::text(value);
        if (valueText::isNumeric(value)) {
            control.setTag(text);
        }
        control.setText(text);
    } else if (display == code::Date || display == code::OwnText) {
        const QString shown = displayFormat::BindingText(value, display);
        control.setTag(QString());
        control.setText(shown);
    } else if (display == code::Whole) {
        control.setTag(valueText::text(value));
        control.setText(displayFormat::BindingText(value, display));
    } else if (formatsFromTag(display)) {
        control.setTag(valueText::text(value));
        FormatFromTag(control, display);
    }
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
