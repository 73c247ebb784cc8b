#include "data/moddata.h"

#include "core/errorreport.h"
#include "data/connection.h"
#include "data/displayformat.h"
#include "data/valuetext.h"

#include <algorithm>

namespace data::modData {

namespace {

const QString Null = QStringLiteral("null");

QString quoted(const QString& text)
{
    QString copy = text;
    return QLatin1Char('\'') + Trtf(copy) + QLatin1Char('\'');
}

QString dateLiteral(const QVariant& value)
{
    if (valueText::isNull(value)) {
        return Null;
    }
    const QString trimmed = valueText::trimBlanks(valueText::text(value));
    if (trimmed.isEmpty() || trimmed == QStringLiteral("- - -") || !valueText::isDate(value)) {
        return Null;
    }
    const QDateTime date = valueText::toDateTime(value);
    if (date == valueText::noDate()) {
        return Null;
    }
    return QStringLiteral("CONVERT(DATETIME,'%1',102)").arg(date.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
}

QString numberLiteral(const QVariant& value)
{
    if (valueText::isNull(value)) {
        return Null;
    }
    const QString text = valueText::text(value).replace(QLatin1Char(','), QLatin1Char('.'));
    if (valueText::trimBlanks(text).isEmpty() || !valueText::parseNumber(text)) {
        return Null;
    }
    return text;
}

QString textLiteral(const QVariant& value, const QString& whenEmpty, bool like)
{
    if (valueText::isNull(value)) {
        return whenEmpty;
    }
    QString trimmed = valueText::trimBlanks(valueText::text(value));
    if (trimmed.isEmpty()) {
        return whenEmpty;
    }
    if (!like) {
        return quoted(trimmed);
    }
    trimmed.replace(QLatin1Char(' '), QLatin1Char('%'));
    return quoted(QLatin1Char('%') + trimmed + QLatin1Char('%'));
}

// The handlers of this module, and the quote escaping that start-up shares with it.
core::ReportLabels reportLabels(const QString& owner, const QString& procedure)
{
    return {QStringLiteral("Orv Software"), QStringLiteral("Orv_Counter"), owner, procedure, core::Rule::C,
            core::TextForm::Number};
}

} // namespace

QString SqlLiteral(const QVariant& value, int kind)
{
    switch (kind) {
    case literal::Date:
    case 5:
        return dateLiteral(value);
    case literal::Number:
        return numberLiteral(value);
    case literal::Text:
        return textLiteral(value, Null, false);
    case literal::TextNeverNull:
        return textLiteral(value, QStringLiteral("''"), false);
    case literal::Like:
        return textLiteral(value, QStringLiteral("'%%'"), true);
    default:
        return QString();
    }
}

QString Trtf(QString& text)
{
    QString result;
    core::trap(reportLabels(QStringLiteral("modCode"), QStringLiteral("Trtf")), [&] {
        text.replace(QLatin1Char('\''), QStringLiteral("' + CHAR(39) + '"), Qt::CaseInsensitive);
        result = text;
    });
    return result;
}

QString ExactText(const QString& text)
{
    return quoted(text);
}

QString LikeContaining(const QString& text)
{
    return LikeOperand(QStringLiteral("%"), text, QStringLiteral("%"));
}

QString LikeOperand(const QString& before, const QString& text, const QString& after)
{
    static const QString wildcards = QStringLiteral("%_[");
    const bool needsEscape = std::any_of(text.cbegin(), text.cend(), [](QChar c) { return wildcards.contains(c); });
    QString pattern;
    pattern.reserve(text.size() + 8);
    for (const QChar c : text) {
        if (needsEscape && (wildcards.contains(c) || c == QLatin1Char('!'))) {
            pattern += QLatin1Char('!');
        }
        pattern += c;
    }
    QString literal = QLatin1Char('\'') + before + Trtf(pattern) + after + QLatin1Char('\'');
    if (needsEscape) {
        literal += QStringLiteral(" ESCAPE '!'");
    }
    return literal;
}

QString ListField(const Recordset& recordset, const QString& field, int code)
{
    QString result;
    core::trap(reportLabels(QStringLiteral("modData"), QStringLiteral("ListField")), [&] {
        const QVariant* value = recordset.find(field);
        result = value ? displayFormat::ListText(*value, code) : QStringLiteral(" ");
    });
    return result;
}

} // namespace data::modData
