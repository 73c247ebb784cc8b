#pragma once

#include <QDateTime>
#include <QObject>
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

// A source with the session's own word added: while the screen is locked or the machine asleep, the user is idle
// since then (or since the last input before, when that was earlier), whatever input the source sees meanwhile
// (a lock screen woken by the mouse). Afterwards the source answers as it would alone. The platform's session
// events (watchSession) tell it; the moments are the workstation clock's (core::Clock).
class AwayIdleSource : public IdleSource
{
public:
    enum Reason { Locked = 1, Asleep = 2 };

    explicit AwayIdleSource(std::unique_ptr<IdleSource> source);

    std::optional<qint64> idleMilliseconds() override;
    QString name() const override { return m_source->name(); }
    // The screen was locked or unlocked, the machine is going to sleep or woke up.
    void setAway(Reason reason, bool away);
    // Keeps what tells it of the session for as long as it lives.
    void keep(std::unique_ptr<QObject> events);

private:
    std::unique_ptr<IdleSource> m_source;
    std::unique_ptr<QObject> m_events; // holds a reference to this source; goes before it
    int m_reasons = 0;
    QDateTime m_since;
};

using IdleSourceFactory = std::function<std::unique_ptr<IdleSource>()>;

// The platform's sources in the order they are tried; each is made only when it can answer on this desktop
// (implemented once per platform: idlesource_dbus.cpp with idlesource_x11.cpp, idlesource_win.cpp).
std::vector<IdleSourceFactory> platformIdleSources();

// Tells source when the session is locked or the machine sleeps, for as long as the returned object lives; nothing
// when the platform cannot tell (logind over D-Bus: sessionevents_logind.cpp; Windows: sessionevents_win.cpp).
std::unique_ptr<QObject> watchSession(AwayIdleSource& source);

// A free desktop's sources, each made only when it answers: X11's screen-saver extension (idlesource_x11.cpp),
// GNOME's idle monitor and the freedesktop screen saver over the session bus (idlesource_dbus.cpp).
std::unique_ptr<IdleSource> makeX11IdleSource();
std::unique_ptr<IdleSource> makeMutterIdleSource();
std::unique_ptr<IdleSource> makeScreenSaverIdleSource();

// The first source made that answers now, or a NoIdleSource.
std::unique_ptr<IdleSource> firstAnswering(const std::vector<IdleSourceFactory>& sources);

// The first platform source that answers now (or none), told of the session's lock and sleep.
// ORV_IDLE_SOURCE=none chooses none and no session events.
std::unique_ptr<IdleSource> makeIdleSource();

// Seam for tests: makeIdleSource returns what factory makes; an empty factory restores the platform's.
void setIdleSourceFactory(IdleSourceFactory factory);

} // namespace counter
