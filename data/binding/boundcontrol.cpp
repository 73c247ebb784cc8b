#include "data/binding/boundcontrol.h"

#include "core/errorvalue.h"

namespace data {

namespace {

[[noreturn]] void notSupported()
{
    throw core::standardError(core::errc::NotSupported);
}

} // namespace

QString BoundControl::Text() const
{
    notSupported();
}

void BoundControl::setText(const QString&)
{
    notSupported();
}

QString BoundControl::Tag() const
{
    notSupported();
}

void BoundControl::setTag(const QString&)
{
    notSupported();
}

int BoundControl::Style() const
{
    notSupported();
}

int BoundControl::ListIndex() const
{
    notSupported();
}

void BoundControl::setListIndex(int)
{
    notSupported();
}

int BoundControl::ListCount() const
{
    notSupported();
}

qint32 BoundControl::ItemData(int) const
{
    notSupported();
}

QVariant BoundControl::Value() const
{
    notSupported();
}

void BoundControl::setValue(const QVariant&)
{
    notSupported();
}

} // namespace data
