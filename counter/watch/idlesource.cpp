#include "counter/watch/idlesource.h"

#include "core/clock.h"

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

AwayIdleSource::AwayIdleSource(std::unique_ptr<IdleSource> source)
    : m_source(std::move(source))
{}

void AwayIdleSource::keep(std::unique_ptr<QObject> events)
{
    m_events = std::move(events);
}

void AwayIdleSource::setAway(Reason reason, bool away)
{
    const bool before = m_reasons != 0;
    m_reasons = away ? m_reasons | reason : m_reasons & ~reason;
    if (!before && m_reasons != 0) {
        const QDateTime now = core::Clock::now();
        const std::optional<qint64> idle = m_source->idleMilliseconds();
        m_since = idle ? now.addMSecs(-*idle) : now;
    }
}

std::optional<qint64> AwayIdleSource::idleMilliseconds()
{
    const std::optional<qint64> idle = m_source->idleMilliseconds();
    if (m_reasons == 0) {
        return idle;
    }
    return std::max(idle.value_or(0), m_since.msecsTo(core::Clock::now()));
}

std::unique_ptr<IdleSource> firstAnswering(const std::vector<IdleSourceFactory>& sources)
{
    for (const IdleSourceFactory& make : sources) {
        if (std::unique_ptr<IdleSource> source = make(); source && source->idleMilliseconds()) {
            return source;
        }
    }
    return std::make_unique<NoIdleSource>();
}

std::unique_ptr<IdleSource> makeIdleSource()
{
    if (factorySlot()) {
        return factorySlot()();
    }
    if (qEnvironmentVariable("ORV_IDLE_SOURCE") == QLatin1String("none")) {
        return std::make_unique<NoIdleSource>();
    }
    auto source = std::make_unique<AwayIdleSource>(firstAnswering(platformIdleSources()));
    source->keep(watchSession(*source));
    return source;
}

} // namespace counter
