#pragma once

#include <QDateTime>
#include <QString>

namespace data {

// Turns a statement in the server's dialect into the embedded engine's, token by token, so that
// nothing inside a string literal, a quoted name or a comment is ever touched. It covers the server
// forms the system sends:
// - GETDATE()                       -> the engine clock's time as a stored-date literal;
// - CONVERT(DATETIME,'…',102)       -> the date as a stored-date literal (left as it is, for the
//                                      engine to refuse, when the text is no date);
// - @@IDENTITY                      -> last_insert_rowid();
// - text + text                     -> text || text, where an operand of '+' is a string literal
//                                      or CHAR(…);
// - an alias after AS that the engine reserves ("COUNT(*) as no") -> quoted.
// Everything else goes through unchanged: the engine already ignores letter case in names and,
// with its own like(), in LIKE. Never fails: a statement it cannot read is passed on as it is and
// the engine reports the error.
class TsqlTranslator
{
public:
    // now is what GETDATE() stands for in this statement (one reading for the whole statement, as
    // the server evaluates it once per statement).
    static QString toEmbedded(const QString& sql, const QDateTime& now);

    // The same statement for PostgreSQL, whose text columns ignore letter case themselves (citext):
    // - GETDATE()                  -> LOCALTIMESTAMP(0), the server's clock; TIMESTAMP '…' of fixedNow when valid;
    // - CONVERT(DATETIME,'…',102)  -> TIMESTAMP '…' (left as it is when the text is no date);
    // - @@IDENTITY                 -> lastval(), the session's last generated number;
    // - text + text                -> text || text, as above, and CHAR(n) -> chr(n);
    // - [name] and "Name"          -> "name": names are folded to lower case as the server folds unquoted
    //                                 ones, so a quoted name still matches without regard to case.
    // - x COLLATE Latin1_General_BIN2 -> x::text COLLATE "C": compared byte by byte, letter case included;
    // - ORDER BY items              -> NULLS FIRST (ascending) or NULLS LAST (DESC), where SQL Server puts nulls;
    // Aliases need no quoting: PostgreSQL takes any word after AS.
    static QString toPostgres(const QString& sql, const QDateTime& fixedNow = QDateTime());
};

} // namespace data
