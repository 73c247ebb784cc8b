#pragma once

#include <QString>

#include <optional>

// What text the office database holds faithfully, checked before anything is written: by the record
// editors for what a person types and by the imports for what a file brings.
namespace data::storableText {

// The longest text a description, a name or a note may hold.
constexpr int TextLimit = 255;

// Why text cannot be stored, naming the field by label: blank when required, longer than TextLimit, or
// holding a control character (NUL included) or a character the database's code page (Windows-1252)
// does not have. Nothing when it can.
std::optional<QString> textProblem(const QString& label, const QString& text, bool required);

} // namespace data::storableText
