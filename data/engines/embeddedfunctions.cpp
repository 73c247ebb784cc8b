#include "data/engines/embeddedfunctions.h"

#include "core/errorvalue.h"
#include "data/engines/embedded.h"

#include <QCollator>
#include <QLocale>

#include <algorithm>
#include <cstring>
#include <sqlite3.h>

namespace data::embedded {

namespace {

// Matches one bracket set at pattern[p] (just after '[') against c; moves p past the ']'.
// Returns false for a set without its closing ']', which then counts as a literal '['.
bool matchSet(const QString& pattern, qsizetype& p, QChar c, bool& matched)
{
    qsizetype i = p;
    const bool negated = i < pattern.size() && pattern.at(i) == QLatin1Char('^');
    if (negated) {
        ++i;
    }
    bool found = false;
    const qsizetype first = i;
    while (i < pattern.size() && (pattern.at(i) != QLatin1Char(']') || i == first)) {
        if (i + 2 < pattern.size() && pattern.at(i + 1) == QLatin1Char('-') && pattern.at(i + 2) != QLatin1Char(']')) {
            found = found || (c >= pattern.at(i) && c <= pattern.at(i + 2));
            i += 3;
        } else {
            found = found || c == pattern.at(i);
            ++i;
        }
    }
    if (i >= pattern.size()) {
        return false;
    }
    p = i + 1;
    matched = found != negated;
    return true;
}

// escape, when not null, makes the character after it match itself (ESCAPE clause).
bool likeFolded(const QString& pattern, const QString& text, QChar escape)
{
    qsizetype p = 0;
    qsizetype t = 0;
    qsizetype starP = -1;
    qsizetype starT = 0;
    while (t < text.size()) {
        if (p < pattern.size() && pattern.at(p) == QLatin1Char('%')) {
            starP = ++p;
            starT = t;
            continue;
        }
        bool step = false;
        if (p < pattern.size()) {
            const QChar pc = pattern.at(p);
            qsizetype next = p + 1;
            bool matched = false;
            if (!escape.isNull() && pc == escape && p + 1 < pattern.size()) {
                next = p + 2;
                matched = pattern.at(p + 1) == text.at(t);
            } else if (pc == QLatin1Char('_')) {
                matched = true;
            } else if (pc == QLatin1Char('[') && matchSet(pattern, next, text.at(t), matched)) {
                // matched set by matchSet
            } else {
                next = p + 1;
                matched = pc == text.at(t);
            }
            if (matched) {
                p = next;
                ++t;
                step = true;
            }
        }
        if (!step) {
            if (starP < 0) {
                return false;
            }
            p = starP;
            t = ++starT;
        }
    }
    while (p < pattern.size() && pattern.at(p) == QLatin1Char('%')) {
        ++p;
    }
    return p == pattern.size();
}

QString argumentText(sqlite3_value* value)
{
    return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_value_text(value)), sqlite3_value_bytes(value));
}

void likeFunction(sqlite3_context* context, int argc, sqlite3_value** argv)
{
    for (int i = 0; i < argc && i < 2; ++i) {
        if (sqlite3_value_type(argv[i]) == SQLITE_NULL) {
            sqlite3_result_null(context);
            return;
        }
    }
    QChar escape;
    if (argc > 2 && sqlite3_value_type(argv[2]) != SQLITE_NULL) {
        const QString escapeText = argumentText(argv[2]);
        if (escapeText.size() != 1) {
            sqlite3_result_error(context, "ESCAPE expression must be a single character", -1);
            return;
        }
        escape = escapeText.at(0).toCaseFolded();
    }
    sqlite3_result_int(context, likeMatches(argumentText(argv[0]), argumentText(argv[1]), escape) ? 1 : 0);
}

void getdateFunction(sqlite3_context* context, int, sqlite3_value**)
{
    const QByteArray text = toStorage(serverNow()).toUtf8();
    sqlite3_result_text(context, text.constData(), int(text.size()), SQLITE_TRANSIENT);
}

int compareCaseInsensitive(void*, int size1, const void* text1, int size2, const void* text2)
{
    thread_local const QCollator collator = [] {
        QCollator c(QLocale(QLocale::Portuguese, QLocale::Portugal));
        c.setCaseSensitivity(Qt::CaseInsensitive);
        return c;
    }();
    return collator.compare(QString::fromUtf8(static_cast<const char*>(text1), size1),
                            QString::fromUtf8(static_cast<const char*>(text2), size2));
}

int compareBytes(void*, int size1, const void* text1, int size2, const void* text2)
{
    const int common = std::min(size1, size2);
    const int order = common == 0 ? 0 : std::memcmp(text1, text2, size_t(common));
    return order != 0 ? order : size1 - size2;
}

void check(sqlite3* db, int rc)
{
    if (rc != SQLITE_OK) {
        throw core::Error(core::errc::ProviderError, QString::fromUtf8(sqlite3_errmsg(db)));
    }
}

} // namespace

bool likeMatches(const QString& pattern, const QString& text, QChar escape)
{
    return likeFolded(pattern.toCaseFolded(), text.toCaseFolded(), escape);
}

void installFunctions(sqlite3* db)
{
    const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    check(db, sqlite3_create_function_v2(db, "like", 2, flags, nullptr, likeFunction, nullptr, nullptr, nullptr));
    check(db, sqlite3_create_function_v2(db, "like", 3, flags, nullptr, likeFunction, nullptr, nullptr, nullptr));
    check(db, sqlite3_create_function_v2(db, "getdate", 0, SQLITE_UTF8, nullptr, getdateFunction, nullptr, nullptr,
                                         nullptr));
    check(db, sqlite3_create_collation_v2(db, collationName().toUtf8().constData(), SQLITE_UTF8, nullptr,
                                          compareCaseInsensitive, nullptr));
    check(db, sqlite3_create_collation_v2(db, binaryCollationName().toUtf8().constData(), SQLITE_UTF8, nullptr,
                                          compareBytes, nullptr));
}

} // namespace data::embedded
