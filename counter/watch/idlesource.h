#pragma once

#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace counter {

// How long the user has not touched the keyboard or the mouse, as the platform tells it. One implementation per
// platform, in its own file; which one answers is found at run time.
class IdleSource
{
public:
    virtual ~IdleSource() = default;
    // Milliseconds since the last input; nothing when the platform cannot tell at this moment.
    virtual std::optional<qint64> idleMilliseconds() = 0;
    // What answers, for the error log and the preferences ("X11 XScreenSaver"); "nenhuma" for none.
    virtual QString name() const = 0;
};

// The state without a source: it never answers, so only a sleep of the machine is noticed.
class NoIdleSource : public IdleSource
{
public:
    std::optional<qint64> idleMilliseconds() override { return std::nullopt; }
    QString name() const override { return QStringLiteral("nenhuma"); }
};

using IdleSourceFactory = std::function<std::unique_ptr<IdleSource>()>;

// The platform's sources, most precise first; each is made only when it can answer on this desktop (implemented
// once per platform: idlesource_x11.cpp, idlesource_win.cpp).
std::vector<IdleSourceFactory> platformIdleSources();

// The first platform source that answers now, or a NoIdleSource. ORV_IDLE_SOURCE=none chooses none.
std::unique_ptr<IdleSource> makeIdleSource();

// Seam for tests: makeIdleSource returns what factory makes; an empty factory restores the platform's.
void setIdleSourceFactory(IdleSourceFactory factory);

} // namespace counter
