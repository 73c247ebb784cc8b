#pragma once

#include <QDateTime>
#include <QString>
#include <QVariant>

#include <optional>

namespace data::valueText {

// How the system reads a variant value: as a record field or a control hands it over.
// The display locale is Portuguese: decimal comma, dates day first.

// 1 January 1900 at 00:00:00: the value that stands for no date.
QDateTime noDate();

// True for the database null: an invalid variant or one that holds no value.
bool isNull(const QVariant& value);

// The text with leading and trailing space characters removed (tabs and line breaks stay).
QString trimBlanks(const QString& text);

// The value's own text: text as it is; numbers in plain form, decimal comma, no grouping
// (7.5 gives "7,5"); dates "dd-mm-yyyy", followed by " HH:mm:ss" when the time is not midnight;
// null gives empty text. Throws core::Error 13 for a value without a text form (a list, an object).
QString text(const QVariant& value);

// A number read from text: blanks around, an optional sign, digits with at most one decimal
// separator (comma or point). Anything else (grouping, exponents, currency signs) is no number.
std::optional<double> parseNumber(const QString& text);

// A date read from text: "dd-mm-yyyy" day first ("-" or "/"), or "yyyy-mm-dd", each with an
// optional time "H:mm" or "H:mm:ss". Gives nothing when the text is no real calendar date.
std::optional<QDateTime> parseDate(const QString& text);

// True when the value is a number, a boolean, or text that parseNumber reads. Null is no number.
bool isNumeric(const QVariant& value);
// The value as a number (true is -1). Throws core::Error 94 on null, 13 when it is not numeric.
double toNumber(const QVariant& value);

// True when the value is a date, a date-time, or text that parseDate reads.
bool isDate(const QVariant& value);
// The value as a date-time (a date alone at midnight). Throws core::Error 94 on null, 13 when it is no date.
QDateTime toDateTime(const QVariant& value);

// The value as a 32-bit whole number, halves going to the even neighbour.
// Throws core::Error 94 on null, 13 when it is not numeric, 6 when it does not fit.
qint32 toLong(const QVariant& value);

// Nearest whole number; an exact half goes to the even neighbour (2.5 gives 2, 3.5 gives 4).
double roundHalfEven(double value);

} // namespace data::valueText
