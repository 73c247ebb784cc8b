#pragma once

#include "data/displayformat.h"

#include <QString>
#include <QVariant>

namespace data {

class Recordset;

namespace modData {

// The kinds of SqlLiteral; 5 is taken as a date too.
namespace literal {
constexpr int Date = 1;
constexpr int Number = 2;
constexpr int Text = 3;
constexpr int TextNeverNull = 4;
constexpr int Like = 6;
} // namespace literal

// The SQL Server literal of a value, ready to be concatenated into a statement:
//   1, 5  date:  "CONVERT(DATETIME,'yyyy-mm-dd hh:mm:ss',102)"; "null" for null, blank text,
//                "- - -", no valid date, or 1 January 1900 at 00:00:00. Text dates are read day
//                first ("05-03-2009 14:07:09").
//   2     number: the value's text with every "," made "."; "null" for null, blank text or no number.
//   3     text:  "'" + Trtf(trimmed text) + "'"; "null" for null or blank text.
//   4     text:  as 3, but "''" for null or blank text.
//   6     LIKE:  "'%" + Trtf(trimmed text, inner blanks made "%") + "%'"; "'%%'" for null or blank.
//   other kinds give empty text.
// Traps nothing: throws core::Error 13 for a value that has no text form.
QString SqlLiteral(const QVariant& value, int kind);

// The text literal of text exactly as it is: "'" + Trtf(text) + "'", blanks kept and "''" for empty text
// (SqlLiteral trims and gives "null" for blank text). Traps nothing.
QString ExactText(const QString& text);

// Replaces, in place, every apostrophe of text by "' + CHAR(39) + '" and returns the result.
// Reports its own errors (owner "modCode") and then returns empty text.
QString Trtf(QString& text);

// A LIKE operand, quotes included, that matches any text holding `text` exactly: '%', '_' and '[' inside
// it match themselves and an apostrophe goes through Trtf. When the text holds one of those wildcards,
// every wildcard and '!' is preceded by '!' and " ESCAPE '!'" follows the closing quote (both engines
// understand it); otherwise the operand is just "'%" + text + "%'".
QString LikeContaining(const QString& text);

// As LikeContaining, with the pattern pieces before and after (wildcards and separators, taken as they are)
// around text, which matches only itself: LikeOperand("%;", "ADM", "") matches "SEC;ADM" and not "SEC;XADM".
QString LikeOperand(const QString& before, const QString& text, const QString& after);

// The current record's field in display code (displayFormat::listCode, see displayFormat::ListText). The field name
// is matched without regard to letter case; a missing field or a null value gives one blank.
// Reports its errors (no current record, a closed connection) and then returns empty text.
QString ListField(const Recordset& recordset, const QString& field, int code);

} // namespace modData
} // namespace data
