#pragma once

#include "data/boundcontrol.h"

#include <QVariant>

namespace data::modControls {

// Puts a value into a control by the control's kind; for text boxes and labels the binding code
// chooses the shown form and whether the raw value is kept in "Tag" (displayFormat::BindingText):
//   text box  null clears "Text" and "Tag"; 0 keeps a number's text in "Tag"; 1 and 3 clear "Tag";
//             6 keeps the value and shows it whole; 2, 4, 5, 7, 8 keep it and FormatFromTag.
//   label     as the text box on "Caption"; null clears only "Caption"; 2, 4, 5, 7, 8 format the
//             "Tag" just stored even when it is empty.
//   combo box typed-in (Style not 2): "Text" becomes the value's text. Choose-only (Style 2) and
//             list box: null or no number chooses nothing; otherwise the first entry whose
//             "ItemData" equals the value is chosen; when none does the choice stays.
//   date picker  the value as a date-time; null or no date gives 1 January 1900.
//   check box, option button  1 for a number other than 0, otherwise 0.
// Other controls and other codes are left untouched.
// Traps nothing: throws core::Error for a value without a text form, or a property the control lacks.
void SetControlValue(BoundControl& control, const QVariant& value, int code);

// When the text box's "Tag" is not empty, rewrites its "Text" from the "Tag" in the form of
// code 2, 4, 5, 7 or 8; other codes change nothing. Traps nothing.
void FormatFromTag(BoundControl& control, int code);

} // namespace data::modControls
