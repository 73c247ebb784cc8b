#include "data/storabletext.h"

#include "scramble/cp1252.h"

namespace data::storableText {
namespace {

bool storable(QChar c)
{
    return c.unicode() >= 32 && (c == QLatin1Char('?') || scramble::cp1252::code(c) != '?');
}

} // namespace

std::optional<QString> textProblem(const QString& label, const QString& text, bool required)
{
    if (required && text.trimmed().isEmpty()) {
        return QStringLiteral("O campo «%1» não pode ficar vazio.").arg(label);
    }
    if (text.size() > TextLimit) {
        return QStringLiteral("O campo «%1» tem %2 caracteres; o máximo é %3.")
            .arg(label)
            .arg(text.size())
            .arg(TextLimit);
    }
    for (const QChar c : text) {
        if (!storable(c)) {
            return QStringLiteral("O campo «%1» tem caracteres que a base de dados não guarda (por exemplo «%2»).")
                .arg(label,
                     c.unicode() < 32 ? QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0')) : QString(c));
        }
    }
    return std::nullopt;
}

} // namespace data::storableText
