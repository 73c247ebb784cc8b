#pragma once

#include <QString>

struct sqlite3;

namespace data::embedded {

// The name text columns declare to compare as the server's default collation does.
inline QString collationName()
{
    return QStringLiteral("Latin1_General_CI_AS");
}

// The server's binary collation: texts compare by their bytes, letter case and accents included.
inline QString binaryCollationName()
{
    return QStringLiteral("Latin1_General_BIN2");
}

// Installs the engine's SQL functions (like, getdate) and collations on an open database handle.
// Throws core::Error when the engine refuses one of them.
void installFunctions(sqlite3* db);

// The server's LIKE: % any text, _ one character, [abc] [a-c] [^abc] one of (or none of) a set;
// letters compared ignoring case. A non-null escape makes the character after it match itself.
bool likeMatches(const QString& pattern, const QString& text, QChar escape = QChar());

} // namespace data::embedded
