// The session's lock and the machine's sleep from systemd-logind on the system bus: the session's LockedHint,
// which the desktop's screen locker sets, and the manager's PrepareForSleep. A "delay" inhibitor taken while awake
// holds the sleep back until its moment is noted (logind waits InhibitDelayMaxSec at most, 5 s by default).
#include "counter/watch/idlesource.h"

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusUnixFileDescriptor>
#include <QDBusVariant>

namespace counter {
namespace {

const QString Login1 = QStringLiteral("org.freedesktop.login1");
const QString ManagerPath = QStringLiteral("/org/freedesktop/login1");
const QString Manager = QStringLiteral("org.freedesktop.login1.Manager");
const QString Session = QStringLiteral("org.freedesktop.login1.Session");
const QString Properties = QStringLiteral("org.freedesktop.DBus.Properties");
const QString LockedHint = QStringLiteral("LockedHint");
constexpr int CallTimeout = 1000;

// The reply's first argument, or an invalid value when the call failed.
QVariant call(const QString& path, const QString& interface, const QString& method, const QVariantList& arguments)
{
    QDBusMessage message = QDBusMessage::createMethodCall(Login1, path, interface, method);
    message.setArguments(arguments);
    // Where logind does not run, nothing is started for it.
    message.setAutoStartService(false);
    const QDBusMessage reply = QDBusConnection::systemBus().call(message, QDBus::Block, CallTimeout);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
        return {};
    }
    return reply.arguments().constFirst();
}

class LogindEvents : public QObject
{
    Q_OBJECT

public:
    explicit LogindEvents(AwayIdleSource& source)
        : m_source(source)
    {
        QDBusConnection bus = QDBusConnection::systemBus();
        bus.connect(Login1, ManagerPath, Manager, QStringLiteral("PrepareForSleep"), this, SLOT(prepareForSleep(bool)));
        holdSleep();
        const QVariant session = call(ManagerPath, Manager, QStringLiteral("GetSessionByPID"),
                                      {static_cast<uint>(QCoreApplication::applicationPid())});
        m_session = qdbus_cast<QDBusObjectPath>(session).path();
        if (m_session.isEmpty()) {
            return;
        }
        bus.connect(Login1, m_session, Properties, QStringLiteral("PropertiesChanged"), this,
                    SLOT(propertiesChanged(QString, QVariantMap, QStringList)));
        readLock();
    }

private Q_SLOTS:
    void prepareForSleep(bool sleeping)
    {
        m_source.setAway(AwayIdleSource::Asleep, sleeping);
        if (sleeping) {
            // Noted: the machine may sleep now.
            m_inhibitor = QDBusUnixFileDescriptor();
        } else {
            holdSleep();
        }
    }

    void propertiesChanged(const QString& interface, const QVariantMap& changed, const QStringList& invalidated)
    {
        if (interface != Session) {
            return;
        }
        if (changed.contains(LockedHint)) {
            m_source.setAway(AwayIdleSource::Locked, changed.value(LockedHint).toBool());
        } else if (invalidated.contains(LockedHint)) {
            readLock();
        }
    }

private:
    void readLock()
    {
        const QVariant locked = call(m_session, Properties, QStringLiteral("Get"), {Session, LockedHint});
        m_source.setAway(AwayIdleSource::Locked, qdbus_cast<QDBusVariant>(locked).variant().toBool());
    }

    void holdSleep()
    {
        const QVariant held = call(ManagerPath, Manager, QStringLiteral("Inhibit"),
                                   {QStringLiteral("sleep"), QStringLiteral("Contador de Tarefas"),
                                    QStringLiteral("Notar a hora da suspensão"), QStringLiteral("delay")});
        m_inhibitor = qdbus_cast<QDBusUnixFileDescriptor>(held);
    }

    AwayIdleSource& m_source;
    QString m_session;
    QDBusUnixFileDescriptor m_inhibitor;
};

} // namespace

std::unique_ptr<QObject> watchSession(AwayIdleSource& source)
{
    if (!QDBusConnection::systemBus().isConnected()) {
        return nullptr;
    }
    return std::make_unique<LogindEvents>(source);
}

} // namespace counter

#include "sessionevents_logind.moc"
