#include "data/displayformat.h"

#include "data/valuetext.h"

#include <algorithm>
#include <cmath>

namespace data::displayFormat {

namespace {

QString grouped(const QString& digits)
{
    QString result;
    result.reserve(digits.size() + digits.size() / 3);
    for (qsizetype i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) {
            result += thousandsSeparator();
        }
        result += digits.at(i);
    }
    return result;
}

// The absolute value with the given decimals, grouped or not, and whether it is below zero once
// rounded (so that -0.001 shows as zero, without a sign).
QString magnitude(double value, int decimals, bool group, bool* negative)
{
    QString plain = QString::number(std::fabs(value), 'f', decimals);
    const qsizetype point = plain.indexOf(QLatin1Char('.'));
    QString whole = point < 0 ? plain : plain.left(point);
    QString fraction = point < 0 ? QString() : plain.mid(point + 1);
    *negative = value < 0 && std::any_of(plain.cbegin(), plain.cend(),
                                         [](QChar c) { return c >= QLatin1Char('1') && c <= QLatin1Char('9'); });
    if (group) {
        whole = grouped(whole);
    }
    return fraction.isEmpty() ? whole : whole + QLatin1Char(',') + fraction;
}

// "dd-MM-yyyy", with " HH:mm:ss" when asked, written digit by digit: a list fill writes thousands.
QString dayFirst(const QDateTime& value, bool withTime)
{
    if (!value.isValid()) {
        return QString();
    }
    const QDate date = value.date();
    if (date.year() < 0 || date.year() > 9999) {
        return value.toString(withTime ? QStringLiteral("dd-MM-yyyy HH:mm:ss") : QStringLiteral("dd-MM-yyyy"));
    }
    QString text(withTime ? 19 : 10, QLatin1Char('-'));
    const auto put = [&text](qsizetype at, int number, int width) {
        for (qsizetype i = at + width - 1; i >= at; --i) {
            text[i] = QChar(u'0' + number % 10);
            number /= 10;
        }
    };
    put(0, date.day(), 2);
    put(3, date.month(), 2);
    put(6, date.year(), 4);
    if (withTime) {
        const QTime time = value.time();
        text[10] = QLatin1Char(' ');
        put(11, time.hour(), 2);
        text[13] = QLatin1Char(':');
        put(14, time.minute(), 2);
        text[16] = QLatin1Char(':');
        put(17, time.second(), 2);
    }
    return text;
}

enum class Pattern { Date, DateTime, Number2, Number3, Money2, Money3, Percent, WholeGrouped, WholePlain, Own };

QString apply(const QVariant& value, Pattern pattern)
{
    switch (pattern) {
    case Pattern::Date:
    case Pattern::DateTime:
        if (!valueText::isDate(value)) {
            return valueText::text(value);
        }
        return pattern == Pattern::Date ? dateText(valueText::toDateTime(value))
                                        : dateTimeText(valueText::toDateTime(value));
    case Pattern::Own:
        return valueText::text(value);
    default:
        break;
    }
    if (!valueText::isNumeric(value)) {
        return valueText::text(value);
    }
    const double number = valueText::toNumber(value);
    switch (pattern) {
    case Pattern::Number2:
        return numberText(number, 2);
    case Pattern::Number3:
        return numberText(number, 3);
    case Pattern::Money2:
        return moneyText(number, 2);
    case Pattern::Money3:
        return moneyText(number, 3);
    case Pattern::Percent:
        return percentText(number);
    case Pattern::WholeGrouped:
        return wholeText(number, true);
    default:
        return wholeText(number, false);
    }
}

} // namespace

QChar thousandsSeparator()
{
    return QLatin1Char(' ');
}

QString dateText(const QDateTime& value)
{
    return dayFirst(value, false);
}

QString dateTimeText(const QDateTime& value)
{
    return dayFirst(value, true);
}

QString numberText(double value, int decimals)
{
    bool negative = false;
    const QString digits = magnitude(value, decimals, true, &negative);
    return negative ? QStringLiteral("- ") + digits : digits;
}

QString moneyText(double value, int decimals)
{
    bool negative = false;
    const QString digits = magnitude(value, decimals, true, &negative);
    return (negative ? QStringLiteral("€ -") : QStringLiteral("€ ")) + digits;
}

QString percentText(double value)
{
    bool negative = false;
    const QString digits = magnitude(value * 100.0, 2, false, &negative);
    return (negative ? QStringLiteral("-") : QString()) + digits + QStringLiteral(" %");
}

QString wholeText(double value, bool group)
{
    bool negative = false;
    const QString digits = magnitude(valueText::roundHalfEven(value), 0, group, &negative);
    return negative ? QStringLiteral("-") + digits : digits;
}

QString ListText(const QVariant& value, int code)
{
    if (valueText::isNull(value)) {
        return QStringLiteral(" ");
    }
    switch (code) {
    case listCode::Date:
        return apply(value, Pattern::Date);
    case listCode::Number:
        return apply(value, Pattern::Number2);
    case listCode::OwnText:
        return apply(value, Pattern::Own);
    case listCode::Money:
        return apply(value, Pattern::Money2);
    case listCode::Percent:
        return apply(value, Pattern::Percent);
    case listCode::WholeGrouped:
        return apply(value, Pattern::WholeGrouped);
    case listCode::DateTime:
        return apply(value, Pattern::DateTime);
    default:
        return QString();
    }
}

QString BindingText(const QVariant& value, int code)
{
    if (valueText::isNull(value)) {
        return QString();
    }
    switch (code) {
    case bindingCode::AsIs:
    case bindingCode::OwnText:
        return apply(value, Pattern::Own);
    case bindingCode::Date:
        return apply(value, Pattern::Date);
    case bindingCode::Number:
        return apply(value, Pattern::Number2);
    case bindingCode::Money:
        return apply(value, Pattern::Money2);
    case bindingCode::Percent:
        return apply(value, Pattern::Percent);
    case bindingCode::Whole:
        return apply(value, Pattern::WholePlain);
    case bindingCode::Money3:
        return apply(value, Pattern::Money3);
    case bindingCode::Number3:
        return apply(value, Pattern::Number3);
    default:
        return QString();
    }
}

} // namespace data::displayFormat
