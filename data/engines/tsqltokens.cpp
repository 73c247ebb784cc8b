#include "data/engines/tsqltokens.h"

namespace data::tsqlTokens {
namespace {

bool isWordStart(QChar c)
{
    return c.isLetter() || c == QLatin1Char('_') || c == QLatin1Char('@') || c == QLatin1Char('#');
}

bool isWordPart(QChar c)
{
    return isWordStart(c) || c.isDigit() || c == QLatin1Char('$');
}

bool isTwoCharacterSymbol(const QString& text)
{
    static const QStringList symbols = {QStringLiteral("<>"), QStringLiteral("<="), QStringLiteral(">="),
                                        QStringLiteral("!="), QStringLiteral("||")};
    return symbols.contains(text);
}

// The position just after a run closed by `close`, where a doubled `close` stands for itself.
qsizetype quotedEnd(const QString& sql, qsizetype pos, QChar close)
{
    ++pos;
    while (pos < sql.size()) {
        if (sql.at(pos) == close) {
            if (pos + 1 < sql.size() && sql.at(pos + 1) == close) {
                pos += 2;
                continue;
            }
            return pos + 1;
        }
        ++pos;
    }
    return pos;
}

} // namespace

QList<Token> tokenize(const QString& sql)
{
    QList<Token> tokens;
    qsizetype pos = 0;
    while (pos < sql.size()) {
        const QChar c = sql.at(pos);
        const QChar next = pos + 1 < sql.size() ? sql.at(pos + 1) : QChar();
        qsizetype end = pos + 1;
        Token::Kind kind = Token::Symbol;
        if (c.isSpace()) {
            kind = Token::Blank;
            while (end < sql.size() && sql.at(end).isSpace()) {
                ++end;
            }
        } else if (c == QLatin1Char('-') && next == QLatin1Char('-')) {
            kind = Token::Comment;
            end = sql.indexOf(QLatin1Char('\n'), pos);
            end = end < 0 ? sql.size() : end;
        } else if (c == QLatin1Char('/') && next == QLatin1Char('*')) {
            kind = Token::Comment;
            end = sql.indexOf(QLatin1String("*/"), pos + 2);
            end = end < 0 ? sql.size() : end + 2;
        } else if (c == QLatin1Char('\'')) {
            kind = Token::Text;
            end = quotedEnd(sql, pos, c);
        } else if (c == QLatin1Char('"') || c == QLatin1Char('[')) {
            kind = Token::Name;
            end = quotedEnd(sql, pos, c == QLatin1Char('"') ? c : QLatin1Char(']'));
        } else if (c.isDigit() || (c == QLatin1Char('.') && next.isDigit())) {
            kind = Token::Number;
            while (end < sql.size() && (sql.at(end).isLetterOrNumber() || sql.at(end) == QLatin1Char('.'))) {
                ++end;
            }
        } else if (isWordStart(c)) {
            kind = Token::Word;
            while (end < sql.size() && isWordPart(sql.at(end))) {
                ++end;
            }
        } else if (isTwoCharacterSymbol(sql.mid(pos, 2))) {
            end = pos + 2;
        }
        tokens.append({kind, sql.mid(pos, end - pos)});
        pos = end;
    }
    return tokens;
}

bool significant(const Token& token)
{
    return token.kind != Token::Blank && token.kind != Token::Comment;
}

// Index of the next significant token after i, or -1.
qsizetype nextSignificant(const QList<Token>& tokens, qsizetype i)
{
    for (++i; i < tokens.size(); ++i) {
        if (significant(tokens.at(i))) {
            return i;
        }
    }
    return -1;
}

qsizetype previousSignificant(const QList<Token>& tokens, qsizetype i)
{
    for (--i; i >= 0; --i) {
        if (significant(tokens.at(i))) {
            return i;
        }
    }
    return -1;
}

// The indexes of the significant tokens from `from` on that match `expected`, or an empty list.
// Each expected piece is a word, a symbol, "'" for any string literal or "9" for any number.
QList<qsizetype> match(const QList<Token>& tokens, qsizetype from, std::initializer_list<const char*> expected)
{
    QList<qsizetype> found;
    qsizetype i = from;
    for (const char* piece : expected) {
        if (i < 0) {
            return {};
        }
        const Token& token = tokens.at(i);
        const QLatin1String text(piece);
        const bool ok = text == QLatin1String("'")       ? token.kind == Token::Text
                        : text == QLatin1String("9")     ? token.kind == Token::Number
                        : QChar(text.front()).isLetter() ? token.isWord(text)
                                                         : token.isSymbol(text);
        if (!ok) {
            return {};
        }
        found.append(i);
        i = nextSignificant(tokens, i);
    }
    return found;
}

} // namespace data::tsqlTokens
