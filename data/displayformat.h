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

// The display codes of a list cell:
// 1 date, 2 number, 3 own text, 4 money, 5 percentage, 6 whole number (half to even, grouped),
// 7 date and time. A null value gives one blank whatever the code; any other code gives empty
// text. A value of the wrong type for a date or number code shows as its own text.
// Throws core::Error 13 for a value without a text form.
QString ListText(const QVariant& value, int code);

// The binding codes of a text box or label ("Text" or "Caption"):
// 0 and 3 own text, 1 date, 2 number, 4 money, 5 percentage, 6 whole number (half to even, no
// grouping), 7 money with three decimals, 8 number with three decimals. A null value gives empty
// text; any other code gives empty text. Wrong types show as their own text, as in ListText.
// Throws core::Error 13 for a value without a text form.
QString BindingText(const QVariant& value, int code);

} // namespace data::displayFormat
