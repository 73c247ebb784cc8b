#include "core/com/variant_win.h"

#include "core/com/bstr_win.h"
#include "core/errorvalue.h"

#include <QDateTime>

#include <cmath>
#include <cstring>
#include <limits>

namespace core::com {
namespace {

constexpr qint64 msecsPerDay = 86400000;

QDate dateEpoch()
{
    return QDate(1899, 12, 30);
}

bool isWholeNumber(int typeId)
{
    switch (typeId) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
        return true;
    default:
        return false;
    }
}

LONG toLong(const QVariant& value)
{
    if (value.typeId() == QMetaType::ULongLong || value.typeId() == QMetaType::ULong) {
        const qulonglong number = value.toULongLong();
        if (number > qulonglong(std::numeric_limits<LONG>::max())) {
            throw standardError(errc::Overflow);
        }
        return LONG(number);
    }
    const qlonglong number = value.toLongLong();
    if (number < std::numeric_limits<LONG>::min() || number > std::numeric_limits<LONG>::max()) {
        throw standardError(errc::Overflow);
    }
    return LONG(number);
}

} // namespace

Variant::Variant()
{
    VariantInit(&m_value);
}

Variant::Variant(const QVariant& value)
    : Variant()
{
    if (!value.isValid()) {
        return;
    }
    const int type = value.typeId();
    if (value.isNull()) {
        V_VT(&m_value) = VT_NULL;
    } else if (type == QMetaType::QString) {
        V_BSTR(&m_value) = Bstr(value.toString()).detach();
        V_VT(&m_value) = VT_BSTR;
    } else if (type == QMetaType::Bool) {
        V_BOOL(&m_value) = value.toBool() ? VARIANT_TRUE : VARIANT_FALSE;
        V_VT(&m_value) = VT_BOOL;
    } else if (isWholeNumber(type)) {
        V_I4(&m_value) = toLong(value);
        V_VT(&m_value) = VT_I4;
    } else if (type == QMetaType::Double || type == QMetaType::Float) {
        V_R8(&m_value) = value.toDouble();
        V_VT(&m_value) = VT_R8;
    } else if (type == QMetaType::QDateTime || type == QMetaType::QDate) {
        V_DATE(&m_value) = toDate(value.toDateTime());
        V_VT(&m_value) = VT_DATE;
    } else {
        throw standardError(errc::TypeMismatch);
    }
}

Variant::Variant(Variant&& other) noexcept
{
    std::memcpy(&m_value, &other.m_value, sizeof m_value);
    VariantInit(&other.m_value);
}

Variant::~Variant()
{
    VariantClear(&m_value);
}

QVariant Variant::toQVariant(const VARIANT& value)
{
    if (V_VT(&value) & VT_BYREF) {
        Variant direct;
        if (FAILED(VariantCopyInd(direct.get(), const_cast<VARIANT*>(&value)))) {
            throw standardError(errc::TypeMismatch);
        }
        return direct.toQVariant();
    }
    switch (V_VT(&value)) {
    case VT_EMPTY:
        return QVariant();
    case VT_NULL:
        return QVariant::fromValue(nullptr);
    case VT_BSTR:
        return Bstr::toQString(V_BSTR(&value));
    case VT_I4:
        return int(V_I4(&value));
    case VT_INT:
        return int(V_INT(&value));
    case VT_I2:
        return int(V_I2(&value));
    case VT_R8:
        return V_R8(&value);
    case VT_R4:
        return double(V_R4(&value));
    case VT_UI1:
        return int(V_UI1(&value));
    case VT_BOOL:
        return V_BOOL(&value) != VARIANT_FALSE;
    case VT_DATE:
        return fromDate(V_DATE(&value));
    default:
        throw standardError(errc::TypeMismatch);
    }
}

double Variant::toDate(const QDateTime& moment)
{
    const qint64 days = dateEpoch().daysTo(moment.date());
    const double fraction = double(moment.time().msecsSinceStartOfDay()) / double(msecsPerDay);
    return days >= 0 ? double(days) + fraction : double(days) - fraction;
}

QDateTime Variant::fromDate(double date)
{
    double whole = 0;
    const double fraction = std::fabs(std::modf(date, &whole));
    qint64 days = qint64(whole);
    qint64 msecs = std::llround(fraction * double(msecsPerDay));
    if (msecs >= msecsPerDay) {
        ++days;
        msecs = 0;
    }
    return QDateTime(dateEpoch().addDays(days), QTime::fromMSecsSinceStartOfDay(int(msecs)));
}

} // namespace core::com
