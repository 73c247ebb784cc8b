#include "counter/watch/idlesource.h"

namespace counter {
namespace {

IdleSourceFactory& factorySlot()
{
    static IdleSourceFactory factory;
    return factory;
}

} // namespace

void setIdleSourceFactory(IdleSourceFactory factory)
{
    factorySlot() = std::move(factory);
}

std::unique_ptr<IdleSource> makeIdleSource()
{
    if (factorySlot()) {
        return factorySlot()();
    }
    if (qEnvironmentVariable("ORV_IDLE_SOURCE") != QLatin1String("none")) {
        for (const IdleSourceFactory& make : platformIdleSources()) {
            if (std::unique_ptr<IdleSource> source = make(); source && source->idleMilliseconds()) {
                return source;
            }
        }
    }
    return std::make_unique<NoIdleSource>();
}

} // namespace counter
