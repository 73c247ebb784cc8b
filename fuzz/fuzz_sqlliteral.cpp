// A text literal, read back by the server's rules and by SQLite after translation, gives the typed text
// trimmed; number and date literals hold only what a number or a date is written with.
#include "data/engines/tsqltranslator.h"
#include "data/moddata.h"
#include "data/valuetext.h"
#include "fuzz/fuzzsupport.h"

#include <QRegularExpression>

#include <array>
#include <optional>
#include <sqlite3.h>

namespace {

using namespace data::modData;

// A literal of string literals joined by "+ CHAR(39) +", read by the server's rules; else nullopt.
std::optional<QString> readTextLiteral(const QString& sql)
{
    static const QRegularExpression piece(QStringLiteral("'((?:[^']++|'')*+)'( *\\+ *CHAR *\\( *39 *\\) *\\+ *)?"),
                                          QRegularExpression::CaseInsensitiveOption);
    QString value;
    qsizetype pos = 0;
    for (bool joined = true; joined;) {
        const QRegularExpressionMatch match =
            piece.match(sql, pos, QRegularExpression::NormalMatch, QRegularExpression::AnchorAtOffsetMatchOption);
        if (!match.hasMatch()) {
            return std::nullopt;
        }
        value += match.captured(1).replace(QStringLiteral("''"), QStringLiteral("'"));
        joined = match.capturedLength(2) > 0;
        if (joined) {
            value += u'\''; // the joint's CHAR(39)
        }
        pos = match.capturedEnd();
    }
    return pos == sql.size() ? std::optional(value) : std::nullopt;
}

// The value SQLite gives for "SELECT <expression>", or nullopt unless one statement of one column.
std::optional<QString> sqliteValue(const QString& expression)
{
    static sqlite3* db = [] {
        sqlite3* opened = nullptr;
        sqlite3_open(":memory:", &opened);
        return opened;
    }();
    const QString sql = QStringLiteral("SELECT ") + expression;
    sqlite3_stmt* statement = nullptr;
    const void* tail = nullptr;
    const int rc = sqlite3_prepare16_v2(db, sql.utf16(), int(sql.size() * 2), &statement, &tail);
    std::optional<QString> value;
    const bool whole = tail == sql.utf16() + sql.size();
    if (rc == SQLITE_OK && statement != nullptr && whole && sqlite3_column_count(statement) == 1 &&
        sqlite3_step(statement) == SQLITE_ROW) {
        const auto* text = static_cast<const char16_t*>(sqlite3_column_text16(statement, 0));
        value = QString::fromUtf16(text, sqlite3_column_bytes16(statement, 0) / 2);
    }
    sqlite3_finalize(statement);
    return value;
}

void checkText(const QString& input, int kind)
{
    const QString literal = SqlLiteral(input, kind);
    QString trimmed = data::valueText::trimBlanks(input);
    if (trimmed.isEmpty()) {
        const QString empty = kind == literal::Text   ? QStringLiteral("null")
                              : kind == literal::Like ? QStringLiteral("'%%'")
                                                      : QStringLiteral("''");
        if (literal != empty) {
            fuzz::broken("a blank text gives the empty literal", input, empty, literal);
        }
        return;
    }
    const QString expected = kind == literal::Like ? u'%' + trimmed.replace(u' ', u'%') + u'%' : trimmed;
    const std::optional<QString> read = readTextLiteral(literal);
    if (read != expected) {
        fuzz::broken("the text stays inside its quotes", input, expected, literal);
    }
    if (input.contains(QChar(0))) {
        return; // SQLite reads a statement only up to its first NUL
    }
    static const QDateTime now(QDate(2009, 3, 5), QTime(14, 7, 9));
    const QString translated = data::TsqlTranslator::toEmbedded(literal, now);
    if (sqliteValue(translated) != expected) {
        fuzz::broken("the embedded engine reads the literal as the text", input, expected, translated);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::quietReports();
    if (size == 0) {
        return 0;
    }
    const QString input = fuzz::text(data + 1, size - 1);
    static const QRegularExpression number(QStringLiteral("\\A *[+-]?(\\d+\\.?\\d*|\\.\\d+) *\\n?\\z"));
    static const QRegularExpression date(
        QStringLiteral("\\ACONVERT\\(DATETIME,'\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d',102\\)\\z"));
    const int choice = data[0] % 5;
    if (choice < 3) {
        checkText(input, std::array{literal::Text, literal::TextNeverNull, literal::Like}[choice]);
    } else {
        // A number or date literal is null or has its shape, nothing more.
        const QString sql = SqlLiteral(input, choice == 3 ? literal::Number : literal::Date);
        const QRegularExpression& shape = choice == 3 ? number : date;
        if (sql != QStringLiteral("null") && !shape.match(sql).hasMatch()) {
            fuzz::broken("a number or date literal holds only a number or a date", input, shape.pattern(), sql);
        }
    }
    return 0;
}
