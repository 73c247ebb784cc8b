#pragma once

#include <QList>
#include <QString>

#include <initializer_list>

// The pieces a T-SQL statement is read into before it is translated for another engine: words, numbers,
// string literals, names in brackets or quotes, symbols, blanks and comments, in their order, so that the
// statement is joined again from them unchanged where nothing is translated.
namespace data::tsqlTokens {

struct Token {
    enum Kind { Blank, Comment, Word, Number, Text, DateText, Name, Symbol };
    Kind kind;
    QString text;

    bool isWord(QLatin1String word) const { return kind == Word && text.compare(word, Qt::CaseInsensitive) == 0; }
    bool isSymbol(QLatin1String symbol) const { return kind == Symbol && text == symbol; }
};

// The statement's tokens in order; joined they give the statement back.
QList<Token> tokenize(const QString& sql);
// Neither a blank nor a comment.
bool significant(const Token& token);
// Index of the next significant token after i, or -1; of the one before i, or -1.
qsizetype nextSignificant(const QList<Token>& tokens, qsizetype i);
qsizetype previousSignificant(const QList<Token>& tokens, qsizetype i);
// The indexes of the significant tokens from `from` on that match `expected`, or an empty list.
// Each expected piece is a word, a symbol, "'" for any string literal or "9" for any number.
QList<qsizetype> match(const QList<Token>& tokens, qsizetype from, std::initializer_list<const char*> expected);

} // namespace data::tsqlTokens
