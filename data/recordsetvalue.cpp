#include "data/recordsetvalue.h"

#include "data/engines/embedded.h"

#include <QDateTime>

namespace data {

namespace {

QVariant plainValue(const QVariant& raw)
{
    switch (raw.typeId()) {
    case QMetaType::Bool:
        return qlonglong(raw.toBool() ? 1 : 0);
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        return raw.toLongLong();
    case QMetaType::Float:
    case QMetaType::Double:
        return raw.toDouble();
    case QMetaType::QDate:
        return QDateTime(raw.toDate(), QTime(0, 0));
    default:
        return raw;
    }
}

// A server number delivered as exact text (or, by some drivers, as a number).
QVariant serverNumber(const QVariant& raw, bool whole)
{
    const QString text = raw.toString().trimmed();
    bool ok = false;
    if (whole) {
        const qlonglong number = text.toLongLong(&ok);
        if (ok) {
            return number;
        }
    }
    const double number = text.toDouble(&ok);
    if (!ok) {
        return raw;
    }
    if (whole && number == double(qlonglong(number))) {
        return qlonglong(number);
    }
    return number;
}

} // namespace

ColumnKind columnKindFromDeclaredType(const QString& declaredType)
{
    if (declaredType.isEmpty()) {
        return ColumnKind::Expression;
    }
    if (declaredType.contains(QLatin1String("DATE"), Qt::CaseInsensitive) ||
        declaredType.contains(QLatin1String("TIME"), Qt::CaseInsensitive)) {
        return ColumnKind::Date;
    }
    return ColumnKind::Plain;
}

QVariant recordsetValue(const QVariant& raw, ColumnKind kind)
{
    if (raw.isNull()) {
        return QVariant();
    }
    if (kind == ColumnKind::WholeNumber || kind == ColumnKind::Number) {
        return serverNumber(raw, kind == ColumnKind::WholeNumber);
    }
    if (raw.typeId() != QMetaType::QString) {
        return plainValue(raw);
    }
    const QString text = raw.toString();
    if (kind == ColumnKind::Date || kind == ColumnKind::Expression) {
        const QDateTime date = kind == ColumnKind::Date ? embedded::fromStorage(text) : embedded::fromStoredForm(text);
        if (date.isValid()) {
            return date;
        }
    }
    return text;
}

} // namespace data
