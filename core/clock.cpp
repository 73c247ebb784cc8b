#include "core/clock.h"

namespace core {
namespace {
std::function<QDateTime()>& sourceSlot()
{
    static std::function<QDateTime()> source;
    return source;
}
} // namespace

QDateTime Clock::now()
{
    return sourceSlot() ? sourceSlot()() : QDateTime::currentDateTime();
}

void Clock::setSource(std::function<QDateTime()> source)
{
    sourceSlot() = std::move(source);
}

} // namespace core
