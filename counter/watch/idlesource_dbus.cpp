// The idle time from the desktop's session bus, where X11's screen-saver extension cannot see it: in a Wayland
// session only the compositor sees all the input. GNOME's idle monitor (Mutter) and the freedesktop screen saver
// (KDE's, on X11). Also the order in which a free desktop's sources are tried.
#include "counter/watch/idlesource.h"

#include <QDBusConnection>
#include <QDBusMessage>

namespace counter {
namespace {

// A call that takes longer is no answer: the absence check must never hold the window up.
constexpr int CallTimeout = 500;

class DBusIdleSource : public IdleSource
{
public:
    DBusIdleSource(QString service, QString path, QString interface, QString method, QString name)
        : m_service(std::move(service))
        , m_path(std::move(path))
        , m_interface(std::move(interface))
        , m_method(std::move(method))
        , m_name(std::move(name))
    {}

    // Both methods answer milliseconds as an unsigned number.
    std::optional<qint64> idleMilliseconds() override
    {
        QDBusMessage call = QDBusMessage::createMethodCall(m_service, m_path, m_interface, m_method);
        call.setAutoStartService(false);
        const QDBusMessage reply = QDBusConnection::sessionBus().call(call, QDBus::Block, CallTimeout);
        if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().size() != 1) {
            return std::nullopt;
        }
        bool ok = false;
        const qint64 idle = reply.arguments().constFirst().toLongLong(&ok);
        return ok && idle >= 0 ? std::optional<qint64>(idle) : std::nullopt;
    }
    QString name() const override { return m_name; }

private:
    QString m_service;
    QString m_path;
    QString m_interface;
    QString m_method;
    QString m_name;
};

} // namespace

std::unique_ptr<IdleSource> makeMutterIdleSource()
{
    if (!QDBusConnection::sessionBus().isConnected()) {
        return nullptr;
    }
    return std::make_unique<DBusIdleSource>(QStringLiteral("org.gnome.Mutter.IdleMonitor"),
                                            QStringLiteral("/org/gnome/Mutter/IdleMonitor/Core"),
                                            QStringLiteral("org.gnome.Mutter.IdleMonitor"),
                                            QStringLiteral("GetIdletime"), QStringLiteral("GNOME Mutter IdleMonitor"));
}

std::unique_ptr<IdleSource> makeScreenSaverIdleSource()
{
    if (!QDBusConnection::sessionBus().isConnected()) {
        return nullptr;
    }
    return std::make_unique<DBusIdleSource>(
        QStringLiteral("org.freedesktop.ScreenSaver"), QStringLiteral("/ScreenSaver"),
        QStringLiteral("org.freedesktop.ScreenSaver"), QStringLiteral("GetSessionIdleTime"),
        QStringLiteral("freedesktop ScreenSaver"));
}

std::vector<IdleSourceFactory> platformIdleSources()
{
    // In a Wayland session the X11 server (XWayland) sees the input of its own clients only, and would call a
    // lawyer typing elsewhere idle: there the compositor answers, or nothing does. Elsewhere X11 comes first, as it
    // needs no round trip to another process.
    if (qEnvironmentVariable("XDG_SESSION_TYPE") == QLatin1String("wayland") ||
        !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        return {makeMutterIdleSource, makeScreenSaverIdleSource};
    }
    return {makeX11IdleSource, makeMutterIdleSource, makeScreenSaverIdleSource};
}

} // namespace counter
