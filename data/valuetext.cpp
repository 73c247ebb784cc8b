#include "data/valuetext.h"

#include "core/errorvalue.h"

#include <QRegularExpression>

#include <cmath>
#include <limits>

namespace data::valueText {

namespace {

core::Error typeMismatch()
{
    return core::standardError(core::errc::TypeMismatch);
}

core::Error invalidUseOfNull()
{
    return core::standardError(core::errc::InvalidUseOfNull);
}

bool isNumberType(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
    case QMetaType::Double:
    case QMetaType::Float:
        return true;
    default:
        return false;
    }
}

bool isTextType(const QVariant& value)
{
    const int type = value.typeId();
    return type == QMetaType::QString || type == QMetaType::QByteArray || type == QMetaType::QChar;
}

QString fractionalText(double number, int significant)
{
    QString result = QString::number(number, 'g', significant);
    if (result.contains(QLatin1Char('e'))) {
        result = QString::number(number, 'f', QLocale::FloatingPointShortest);
    }
    return result.replace(QLatin1Char('.'), QLatin1Char(','));
}

QDateTime midnight(const QDate& date)
{
    return QDateTime(date, QTime(0, 0));
}

} // namespace

QDateTime noDate()
{
    return midnight(QDate(1900, 1, 1));
}

bool isNull(const QVariant& value)
{
    return !value.isValid() || value.isNull();
}

QString trimBlanks(const QString& text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text.at(first) == QLatin1Char(' ')) {
        ++first;
    }
    while (last > first && text.at(last - 1) == QLatin1Char(' ')) {
        --last;
    }
    return text.mid(first, last - first);
}

QString text(const QVariant& value)
{
    if (isNull(value)) {
        return QString();
    }
    if (isTextType(value)) {
        return value.toString();
    }
    switch (value.typeId()) {
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    case QMetaType::Double:
        return fractionalText(value.toDouble(), 15);
    case QMetaType::Float:
        return fractionalText(value.toDouble(), 7);
    case QMetaType::QDate:
        return value.toDate().toString(QStringLiteral("dd-MM-yyyy"));
    case QMetaType::QTime:
        return value.toTime().toString(QStringLiteral("HH:mm:ss"));
    case QMetaType::QDateTime: {
        const QDateTime dt = value.toDateTime();
        if (dt.time() == QTime(0, 0)) {
            return dt.toString(QStringLiteral("dd-MM-yyyy"));
        }
        return dt.toString(QStringLiteral("dd-MM-yyyy HH:mm:ss"));
    }
    default:
        break;
    }
    if (isNumberType(value)) {
        return value.toString();
    }
    throw typeMismatch();
}

std::optional<double> parseNumber(const QString& text)
{
    static const QRegularExpression number(QStringLiteral("^ *([+-]?)(\\d+[.,]?\\d*|[.,]\\d+) *$"));
    const QRegularExpressionMatch match = number.match(text);
    if (!match.hasMatch()) {
        return std::nullopt;
    }
    QString plain = match.captured(1) + match.captured(2);
    plain.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double result = plain.toDouble(&ok);
    return ok ? std::optional<double>(result) : std::nullopt;
}

std::optional<QDateTime> parseDate(const QString& text)
{
    static const QString time = QStringLiteral("(?: +(\\d{1,2}):(\\d{2})(?::(\\d{2}))?)?");
    static const QRegularExpression dayFirst(QStringLiteral("^(\\d{1,2})[-/](\\d{1,2})[-/](\\d{4})") + time +
                                             QLatin1Char('$'));
    static const QRegularExpression yearFirst(QStringLiteral("^(\\d{4})-(\\d{1,2})-(\\d{1,2})") + time +
                                              QLatin1Char('$'));
    const QString trimmed = trimBlanks(text);
    QRegularExpressionMatch match = dayFirst.match(trimmed);
    int day = 1;
    int year = 3;
    if (!match.hasMatch()) {
        match = yearFirst.match(trimmed);
        if (!match.hasMatch()) {
            return std::nullopt;
        }
        std::swap(day, year);
    }
    const QDate date(match.captured(year).toInt(), match.captured(2).toInt(), match.captured(day).toInt());
    const QTime clock(match.captured(4).toInt(), match.captured(5).toInt(), match.captured(6).toInt());
    if (!date.isValid() || !clock.isValid()) {
        return std::nullopt;
    }
    return QDateTime(date, clock);
}

bool isNumeric(const QVariant& value)
{
    if (isNull(value)) {
        return false;
    }
    if (isNumberType(value) || value.typeId() == QMetaType::Bool) {
        return true;
    }
    return isTextType(value) && parseNumber(value.toString()).has_value();
}

double toNumber(const QVariant& value)
{
    if (isNull(value)) {
        throw invalidUseOfNull();
    }
    if (value.typeId() == QMetaType::Bool) {
        return value.toBool() ? -1.0 : 0.0;
    }
    if (isNumberType(value)) {
        return value.toDouble();
    }
    if (isTextType(value)) {
        if (const auto number = parseNumber(value.toString())) {
            return *number;
        }
    }
    throw typeMismatch();
}

bool isDate(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::QDate:
        return value.toDate().isValid();
    case QMetaType::QDateTime:
        return value.toDateTime().isValid();
    default:
        return !isNull(value) && isTextType(value) && parseDate(value.toString()).has_value();
    }
}

QDateTime toDateTime(const QVariant& value)
{
    if (isNull(value)) {
        throw invalidUseOfNull();
    }
    if (!isDate(value)) {
        throw typeMismatch();
    }
    switch (value.typeId()) {
    case QMetaType::QDate:
        return midnight(value.toDate());
    case QMetaType::QDateTime:
        return value.toDateTime();
    default:
        return *parseDate(value.toString());
    }
}

qint32 toLong(const QVariant& value)
{
    const double rounded = roundHalfEven(toNumber(value));
    if (!(rounded >= std::numeric_limits<qint32>::min() && rounded <= std::numeric_limits<qint32>::max())) {
        throw core::standardError(core::errc::Overflow);
    }
    return static_cast<qint32>(rounded);
}

double roundHalfEven(double value)
{
    const double below = std::floor(value);
    const double rest = value - below;
    if (rest > 0.5) {
        return below + 1.0;
    }
    if (rest < 0.5) {
        return below;
    }
    return std::fmod(below, 2.0) == 0.0 ? below : below + 1.0;
}

} // namespace data::valueText
