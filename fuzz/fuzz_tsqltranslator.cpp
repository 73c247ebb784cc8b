// Any statement translates in time, never moving where quotes, quoted names and comments begin and end.
#include "data/engines/tsqltranslator.h"
#include "fuzz/fuzzsupport.h"

#include <algorithm>
#include <iterator>

namespace {

// What a statement can end inside, by the server's rules (which nest block comments; the engine does not): each
// opening text with its closing one, and whether a closing one written twice stands for itself.
struct Delimiters {
    QStringView open;
    QStringView close;
    bool doubledIsLiteral;
};
constexpr Delimiters Quoted[] = {
    {u"'", u"'", true}, {u"\"", u"\"", true}, {u"[", u"]", true}, {u"--", u"\n", false}, {u"/*", u"*/", false}};

// The index in Quoted of what the statement ends inside, or -1 when it ends outside them all.
int openAtEnd(const QString& sql)
{
    int open = -1;
    for (qsizetype i = 0; i < sql.size();) {
        const QStringView rest = QStringView(sql).mid(i);
        if (open < 0) {
            const auto found = std::find_if(std::begin(Quoted), std::end(Quoted),
                                            [&rest](const Delimiters& quoted) { return rest.startsWith(quoted.open); });
            open = found == std::end(Quoted) ? -1 : int(found - std::begin(Quoted));
            i += open < 0 ? 1 : Quoted[open].open.size();
        } else if (rest.startsWith(Quoted[open].close)) {
            const qsizetype length = Quoted[open].close.size();
            const bool literal = Quoted[open].doubledIsLiteral && rest.mid(length).startsWith(Quoted[open].close);
            i += literal ? 2 * length : length;
            open = literal ? open : -1;
        } else {
            ++i;
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
    const int before = openAtEnd(sql);
    const int after = openAtEnd(translated);
    if (before != after) {
        fuzz::broken("quoted text, quoted names and comments keep their ends", sql, QString::number(before),
                     QString::number(after) + QStringLiteral(": ") + translated);
    }
    return 0;
}
