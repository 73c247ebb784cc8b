#pragma once

#include "data/binding/boundcontrol.h"

#include <QVariant>

namespace data::modControls {

// Puts a value into a control by the control's kind; for a text box the display code (bindingCode) chooses
// the shown form and whether the raw value is kept in "Tag" (displayFormat::BindingText):
//   text box  null clears "Text" and "Tag"; AsIs keeps a number's text in "Tag"; Date and OwnText clear
//             "Tag"; Whole keeps the value and shows it whole; Number, Money, Percent, Money3 and Number3
//             keep it and FormatFromTag.
//   combo box typed-in (Style not 2): "Text" becomes the value's text. Choose-only (Style 2): null or no
//             number chooses nothing; otherwise the first entry whose "ItemData" equals the value is
//             chosen; when none does the choice stays.
//   date picker  the value as a date-time; null or no date gives 1 January 1900.
// Other controls and other codes are left untouched.
// Traps nothing: throws core::Error for a value without a text form, or a property the control lacks.
void SetControlValue(BoundControl& control, const QVariant& value, int code);

// When the text box's "Tag" is not empty, rewrites its "Text" from the "Tag" in the form of code Number,
// Money, Percent, Money3 or Number3; other codes change nothing. Traps nothing.
void FormatFromTag(BoundControl& control, int code);

} // namespace data::modControls
