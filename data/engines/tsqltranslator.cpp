#include "data/engines/tsqltranslator.h"

#include "data/engines/embedded.h"
#include "data/engines/tsqltokens.h"

#include <QList>
#include <QStringList>

#include <sqlite3.h>

namespace data {

namespace {

using namespace tsqlTokens;

QString literal(const QString& text)
{
    QString escaped = text;
    escaped.replace(QLatin1Char('\''), QLatin1String("''"));
    return QLatin1Char('\'') + escaped + QLatin1Char('\'');
}

QString unquoted(const QString& literalText)
{
    return literalText.mid(1, literalText.size() - 2).replace(QLatin1String("''"), QLatin1String("'"));
}

// The stored form of a date literal given to CONVERT; empty when it is no date.
QString convertedDate(const QString& literalText)
{
    QString date = unquoted(literalText);
    for (qsizetype i = 0; i < date.size() && i < 10; ++i) {
        if (date.at(i) == QLatin1Char('.') || date.at(i) == QLatin1Char('/')) {
            date[i] = QLatin1Char('-');
        }
    }
    const QDateTime value = embedded::fromStorage(date);
    return value.isValid() ? literal(embedded::toStorage(value)) : QString();
}

// How a dialect writes the server's functions.
struct Dialect {
    // What GETDATE() becomes.
    QString now;
    // A date literal from its stored form ('yyyy-MM-dd HH:mm:ss' quoted).
    QString datePrefix;
    QString identity;
};

// Replaces the server's functions by the engine's forms.
QList<Token> replaceFunctions(const QList<Token>& tokens, const Dialect& dialect)
{
    QList<Token> out;
    for (qsizetype i = 0; i < tokens.size(); ++i) {
        const QList<qsizetype> getdate = match(tokens, i, {"GETDATE", "(", ")"});
        if (!getdate.isEmpty()) {
            out.append({Token::DateText, dialect.now});
            i = getdate.last();
            continue;
        }
        QList<qsizetype> convert = match(tokens, i, {"CONVERT", "(", "DATETIME", ",", "'", ",", "9", ")"});
        if (convert.isEmpty()) {
            convert = match(tokens, i, {"CONVERT", "(", "DATETIME", ",", "'", ")"});
        }
        const QString date = convert.isEmpty() ? QString() : convertedDate(tokens.at(convert.at(4)).text);
        if (!date.isEmpty()) {
            out.append({Token::DateText, dialect.datePrefix + date});
            i = convert.last();
        } else if (tokens.at(i).isWord(QLatin1String("@@IDENTITY"))) {
            out.append({Token::Word, dialect.identity});
        } else {
            out.append(tokens.at(i));
        }
    }
    return out;
}

// True when the token at i ends a CHAR(…) call.
bool endsCharCall(const QList<Token>& tokens, qsizetype i)
{
    if (i < 0 || !tokens.at(i).isSymbol(QLatin1String(")"))) {
        return false;
    }
    int depth = 0;
    for (qsizetype j = i; j >= 0; --j) {
        if (tokens.at(j).isSymbol(QLatin1String(")"))) {
            ++depth;
        } else if (tokens.at(j).isSymbol(QLatin1String("(")) && --depth == 0) {
            const qsizetype function = previousSignificant(tokens, j);
            return function >= 0 && tokens.at(function).isWord(QLatin1String("CHAR"));
        }
    }
    return false;
}

bool startsText(const QList<Token>& tokens, qsizetype i)
{
    if (i < 0) {
        return false;
    }
    if (tokens.at(i).kind == Token::Text) {
        return true;
    }
    const qsizetype open = nextSignificant(tokens, i);
    return tokens.at(i).isWord(QLatin1String("CHAR")) && open >= 0 && tokens.at(open).isSymbol(QLatin1String("("));
}

bool endsText(const QList<Token>& tokens, qsizetype i)
{
    return i >= 0 && (tokens.at(i).kind == Token::Text || endsCharCall(tokens, i));
}

bool reservedByEngine(const QString& word)
{
    const QByteArray bytes = word.toUtf8();
    return sqlite3_keyword_check(bytes.constData(), int(bytes.size())) != 0;
}

// '+' between texts becomes '||'.
void concatenateTexts(QList<Token>& tokens)
{
    for (qsizetype i = 0; i < tokens.size(); ++i) {
        if (tokens.at(i).isSymbol(QLatin1String("+")) &&
            (endsText(tokens, previousSignificant(tokens, i)) || startsText(tokens, nextSignificant(tokens, i)))) {
            tokens[i].text = QStringLiteral("||");
        }
    }
}

bool endsOrderBy(const Token& token)
{
    for (const char* word : {"LIMIT", "OFFSET", "FOR", "UNION", "EXCEPT", "INTERSECT", "FETCH"}) {
        if (token.isWord(QLatin1String(word))) {
            return true;
        }
    }
    return token.isSymbol(QLatin1String(";"));
}

// Null sorts first in ascending order on SQL Server and last on PostgreSQL: each ORDER BY item says where.
QList<Token> nullsAsServer(const QList<Token>& tokens)
{
    QList<Token> out;
    int depth = 0;
    int orderDepth = -1;
    QString lastWord;
    const auto closeItem = [&] {
        if (lastWord.compare(QLatin1String("NULLS"), Qt::CaseInsensitive) != 0 &&
            lastWord.compare(QLatin1String("FIRST"), Qt::CaseInsensitive) != 0 &&
            lastWord.compare(QLatin1String("LAST"), Qt::CaseInsensitive) != 0) {
            const bool descending = lastWord.compare(QLatin1String("DESC"), Qt::CaseInsensitive) == 0;
            // Right after the item, before the blanks that follow it.
            qsizetype at = out.size();
            while (at > 0 && !significant(out.at(at - 1))) {
                --at;
            }
            out.insert(at, {Token::Word, descending ? QStringLiteral(" NULLS LAST") : QStringLiteral(" NULLS FIRST")});
        }
    };
    for (qsizetype i = 0; i < tokens.size(); ++i) {
        const Token& token = tokens.at(i);
        if (orderDepth >= 0 && depth == orderDepth &&
            (token.isSymbol(QLatin1String(",")) || token.isSymbol(QLatin1String(")")) || endsOrderBy(token))) {
            closeItem();
            orderDepth = token.isSymbol(QLatin1String(",")) ? orderDepth : -1;
        }
        if (token.isSymbol(QLatin1String("("))) {
            ++depth;
        } else if (token.isSymbol(QLatin1String(")"))) {
            --depth;
        }
        if (significant(token)) {
            lastWord = token.kind == Token::Word ? token.text : QString();
        }
        const qsizetype by = nextSignificant(tokens, i);
        if (orderDepth < 0 && token.isWord(QLatin1String("ORDER")) && by >= 0 &&
            tokens.at(by).isWord(QLatin1String("BY"))) {
            out.append(token);
            for (qsizetype j = i + 1; j <= by; ++j) {
                out.append(tokens.at(j));
            }
            i = by;
            orderDepth = depth;
            lastWord.clear();
            continue;
        }
        out.append(token);
    }
    if (orderDepth >= 0) {
        closeItem();
    }
    return out;
}

QString joined(const QList<Token>& tokens, qsizetype sizeHint)
{
    QString out;
    out.reserve(sizeHint + 16);
    for (const Token& token : tokens) {
        out += token.text;
    }
    return out;
}

} // namespace

QString TsqlTranslator::toPostgres(const QString& sql, const QDateTime& fixedNow)
{
    const Dialect dialect{fixedNow.isValid() ? QStringLiteral("TIMESTAMP ") + literal(embedded::toStorage(fixedNow))
                                             : QStringLiteral("LOCALTIMESTAMP(0)"),
                          QStringLiteral("TIMESTAMP "), QStringLiteral("lastval()")};
    QList<Token> tokens = nullsAsServer(replaceFunctions(tokenize(sql), dialect));
    concatenateTexts(tokens);
    for (qsizetype i = 0; i < tokens.size(); ++i) {
        const qsizetype open = nextSignificant(tokens, i);
        if (tokens.at(i).isWord(QLatin1String("CHAR")) && open >= 0 && tokens.at(open).isSymbol(QLatin1String("("))) {
            tokens[i].text = QStringLiteral("chr");
        }
    }
    for (qsizetype i = 0; i < tokens.size(); ++i) {
        // citext compares ignoring case under any collation: a binary comparison reads the column as text.
        const qsizetype name = nextSignificant(tokens, i);
        if (tokens.at(i).isWord(QLatin1String("COLLATE")) && name >= 0 &&
            tokens.at(name).isWord(QLatin1String("Latin1_General_BIN2"))) {
            tokens[i].text = QStringLiteral("::text COLLATE");
            tokens[name] = {Token::Word, QStringLiteral("\"C\"")}; // not folded as a quoted name is
        }
    }
    for (Token& token : tokens) {
        const QChar close = token.text.startsWith(QLatin1Char('[')) ? QLatin1Char(']') : QLatin1Char('"');
        if (token.kind == Token::Name && token.text.size() >= 2 && token.text.endsWith(close)) {
            QString name = token.text.mid(1, token.text.size() - 2);
            if (token.text.startsWith(QLatin1Char('['))) {
                name.replace(QLatin1String("]]"), QLatin1String("]"));
            } else {
                name.replace(QLatin1String("\"\""), QLatin1String("\""));
            }
            name = name.toLower();
            name.replace(QLatin1Char('"'), QLatin1String("\"\""));
            token.text = QLatin1Char('"') + name + QLatin1Char('"');
        }
    }
    return joined(tokens, sql.size());
}

QString TsqlTranslator::toEmbedded(const QString& sql, const QDateTime& now)
{
    const Dialect dialect{literal(embedded::toStorage(now)), QString(), QStringLiteral("last_insert_rowid()")};
    QList<Token> tokens = replaceFunctions(tokenize(sql), dialect);
    concatenateTexts(tokens);
    for (qsizetype i = 0; i < tokens.size(); ++i) {
        if (tokens.at(i).isWord(QLatin1String("AS"))) {
            const qsizetype alias = nextSignificant(tokens, i);
            if (alias >= 0 && tokens.at(alias).kind == Token::Word && reservedByEngine(tokens.at(alias).text)) {
                tokens[alias] = {Token::Name, QLatin1Char('"') + tokens.at(alias).text + QLatin1Char('"')};
            }
        }
    }
    return joined(tokens, sql.size());
}

} // namespace data
