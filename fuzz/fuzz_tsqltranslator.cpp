// Any statement translates in time, never moving where quotes, quoted names and comments begin and end.
#include "data/engines/tsqltranslator.h"
#include "fuzz/fuzzsupport.h"

namespace {

// What a statement ends inside, by the server's rules (which nest block comments; the engine does not).
enum class Open { Nothing, Text, QuotedName, BracketName, LineComment, BlockComment };

Open openAtEnd(const QString& sql)
{
    Open open = Open::Nothing;
    for (qsizetype i = 0; i < sql.size(); ++i) {
        const QChar c = sql.at(i);
        const QChar next = i + 1 < sql.size() ? sql.at(i + 1) : QChar();
        switch (open) {
        case Open::Nothing:
            if (c == u'\'') {
                open = Open::Text;
            } else if (c == u'"') {
                open = Open::QuotedName;
            } else if (c == u'[') {
                open = Open::BracketName;
            } else if (c == u'-' && next == u'-') {
                open = Open::LineComment;
                ++i;
            } else if (c == u'/' && next == u'*') {
                open = Open::BlockComment;
                ++i;
            }
            break;
        case Open::Text:
        case Open::QuotedName:
        case Open::BracketName: {
            const QChar close = open == Open::Text ? u'\'' : open == Open::QuotedName ? u'"' : u']';
            if (c == close) {
                if (next == close) {
                    ++i;
                } else {
                    open = Open::Nothing;
                }
            }
            break;
        }
        case Open::LineComment:
            if (c == u'\n') {
                open = Open::Nothing;
            }
            break;
        case Open::BlockComment:
            if (c == u'*' && next == u'/') {
                open = Open::Nothing;
                ++i;
            }
            break;
        }
    }
    return open;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const QDateTime now(QDate(2009, 3, 5), QTime(14, 7, 9));
    const QString sql = fuzz::text(data, size);
    const QString translated = data::TsqlTranslator::toEmbedded(sql, now);
    const Open before = openAtEnd(sql);
    const Open after = openAtEnd(translated);
    if (before != after) {
        fuzz::broken("quoted text, quoted names and comments keep their ends", sql, QString::number(int(before)),
                     QString::number(int(after)) + QStringLiteral(": ") + translated);
    }
    return 0;
}
