#pragma once

#include <QDateTime>
#include <QString>
#include <QVariant>

namespace data::displayFormat {

// The display patterns of the system, in the Portuguese display locale: decimal comma and
// thousands grouped by a blank ("1 234,50"). Rounding to the shown decimals goes to the nearest
// value of the stored number, an exact half away from zero; the whole-number forms round a half
// to the even neighbour.

// The character between groups of thousands.
QChar thousandsSeparator();

// "dd-mm-yyyy".
QString dateText(const QDateTime& value);
// "dd-mm-yyyy Hh:Nn:Ss".
QString dateTimeText(const QDateTime& value);
// "#,##0.00;- #,##0.00" (decimals 2) and "#,##0.000;- #,##0.000" (decimals 3): a negative number
// is "- " and its absolute value; zero is "0,00".
QString numberText(double value, int decimals);
// "€ #,##0.00;€ -#,##0.00" (decimals 2) and the three-decimal form.
QString moneyText(double value, int decimals);
// "0.00 %": 0.125 gives "12,50 %".
QString percentText(double value);
// The value as a whole number, half to even; "#,##0" when grouped, plain digits otherwise.
QString wholeText(double value, bool grouped);

// The display codes of a list cell, the numbers the system's procedures pass (ListText, modData::ListField).
namespace listCode {
enum Code : int {
    Date = 1,         // "dd-mm-yyyy"
    Number = 2,       // two decimals
    OwnText = 3,      // the value's own text
    Money = 4,        // euros, two decimals
    Percent = 5,      // "12,50 %"
    WholeGrouped = 6, // whole number, half to even, thousands grouped
    DateTime = 7,     // "dd-mm-yyyy Hh:Nn:Ss"
};
} // namespace listCode

// A list cell's text in display code (listCode). A null value gives one blank whatever the code; any other
// code gives empty text. A value of the wrong type for a date or number code shows as its own text.
// Throws core::Error 13 for a value without a text form.
QString ListText(const QVariant& value, int code);

// The display codes of a bound text box ("Text"), the numbers the system's procedures pass (BindingText,
// modControls::SetControlValue). 0 and 3 both show the value's own text; they differ in what the binding
// keeps in "Tag".
namespace bindingCode {
enum Code : int {
    AsIs = 0,    // own text; a number's text kept in "Tag"
    Date = 1,    // "dd-mm-yyyy"
    Number = 2,  // two decimals
    OwnText = 3, // own text, nothing kept
    Money = 4,   // euros, two decimals
    Percent = 5, // "12,50 %"
    Whole = 6,   // whole number, half to even, no grouping
    Money3 = 7,  // euros, three decimals
    Number3 = 8, // three decimals
};
} // namespace bindingCode

// A bound text box's text in display code (bindingCode). A null value gives empty text; any other code gives
// empty text. Wrong types show as their own text, as in ListText.
// Throws core::Error 13 for a value without a text form.
QString BindingText(const QVariant& value, int code);

} // namespace data::displayFormat
