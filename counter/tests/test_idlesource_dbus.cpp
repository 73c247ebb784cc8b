#include "counter/watch/idlesource.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusUnixFileDescriptor>
#include <QProcess>
#include <QTest>
#include <QThread>

#include <atomic>
#include <unistd.h>

// The desktop's idle time and the session's lock and sleep over a private bus (standing for both the session and
// the system bus), served by stand-ins of GNOME's idle monitor, the freedesktop screen saver and logind from a
// thread of their own (a call blocks the thread that makes it).
namespace {

class IdleMonitor : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.gnome.Mutter.IdleMonitor")

public Q_SLOTS:
    quint64 GetIdletime() { return 4200; }
};

class ScreenSaver : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.ScreenSaver")

public Q_SLOTS:
    uint GetSessionIdleTime() { return 4300; }
};

const QString SessionPath = QStringLiteral("/org/freedesktop/login1/session/_31");

class LoginManager : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.login1.Manager")

public:
    std::atomic<int> inhibitors = 0;

public Q_SLOTS:
    QDBusObjectPath GetSessionByPID(uint /*pid*/) { return QDBusObjectPath(SessionPath); }
    QDBusUnixFileDescriptor Inhibit(const QString& /*what*/, const QString& /*who*/, const QString& /*why*/,
                                    const QString& /*mode*/)
    {
        ++inhibitors;
        int ends[2];
        if (pipe(ends) != 0) {
            return {};
        }
        QDBusUnixFileDescriptor held(ends[0]);
        close(ends[0]);
        close(ends[1]);
        return held;
    }
};

class LoginSession : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.login1.Session")
    Q_PROPERTY(bool LockedHint READ lockedHint)

public:
    bool lockedHint() const { return false; }
};

const QString MutterName = QStringLiteral("org.gnome.Mutter.IdleMonitor");
const QString ScreenSaverName = QStringLiteral("org.freedesktop.ScreenSaver");

} // namespace

class TestIdleSourceDBus : public QObject
{
    Q_OBJECT

    QProcess m_bus;
    QThread m_thread;
    IdleMonitor m_monitor;
    ScreenSaver m_screenSaver;
    LoginManager m_manager;
    LoginSession m_session;

    static void signal(const QString& path, const QString& interface, const QString& name, const QVariantList& values)
    {
        QDBusMessage message = QDBusMessage::createSignal(path, interface, name);
        message.setArguments(values);
        QDBusConnection(QStringLiteral("served")).send(message);
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_bus.start(QStringLiteral("dbus-daemon"),
                    {QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--print-address")});
        if (!m_bus.waitForStarted() || !m_bus.waitForReadyRead()) {
            QSKIP("no dbus-daemon");
        }
        const QByteArray address = m_bus.readLine().trimmed();
        qputenv("DBUS_SESSION_BUS_ADDRESS", address);
        qputenv("DBUS_SYSTEM_BUS_ADDRESS", address);
        m_thread.start();
        for (QObject* served : std::initializer_list<QObject*>{&m_monitor, &m_screenSaver, &m_manager, &m_session}) {
            served->moveToThread(&m_thread);
        }
        QDBusConnection served = QDBusConnection::connectToBus(QString::fromUtf8(address), QStringLiteral("served"));
        QVERIFY(served.registerObject(QStringLiteral("/org/gnome/Mutter/IdleMonitor/Core"), &m_monitor,
                                      QDBusConnection::ExportAllSlots));
        QVERIFY(served.registerObject(QStringLiteral("/ScreenSaver"), &m_screenSaver, QDBusConnection::ExportAllSlots));
        QVERIFY(served.registerObject(QStringLiteral("/org/freedesktop/login1"), &m_manager,
                                      QDBusConnection::ExportAllSlots));
        QVERIFY(served.registerObject(SessionPath, &m_session, QDBusConnection::ExportAllProperties));
        QVERIFY(served.registerService(QStringLiteral("org.freedesktop.login1")));
    }
    void cleanupTestCase()
    {
        QDBusConnection::disconnectFromBus(QStringLiteral("served"));
        m_thread.quit();
        m_thread.wait();
        m_bus.kill();
        m_bus.waitForFinished();
    }

    // In a Wayland session the compositor's answer is taken, or none; elsewhere X11 comes first (no display
    // here) and the session bus after it.
    void theDesktopAnswers_data()
    {
        QTest::addColumn<QString>("session");
        QTest::addColumn<QStringList>("services");
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<qint64>("idle");
        QTest::newRow("GNOME on Wayland")
            << "wayland" << QStringList{MutterName, ScreenSaverName} << "GNOME Mutter IdleMonitor" << qint64(4200);
        QTest::newRow("KDE") << "wayland" << QStringList{ScreenSaverName} << "freedesktop ScreenSaver" << qint64(4300);
        QTest::newRow("neither") << "wayland" << QStringList{} << "nenhuma" << qint64(-1);
        QTest::newRow("GNOME on X11 without a display")
            << "x11" << QStringList{MutterName} << "GNOME Mutter IdleMonitor" << qint64(4200);
    }
    void theDesktopAnswers()
    {
        QFETCH(QString, session);
        QFETCH(QStringList, services);
        QFETCH(QString, chosen);
        QFETCH(qint64, idle);
        QDBusConnection served(QStringLiteral("served"));
        for (const QString& name : {MutterName, ScreenSaverName}) {
            served.unregisterService(name);
        }
        for (const QString& name : services) {
            QVERIFY(served.registerService(name));
        }
        qputenv("XDG_SESSION_TYPE", session.toUtf8());
        qunsetenv("DISPLAY");
        qunsetenv("WAYLAND_DISPLAY");
        const auto source = counter::firstAnswering(counter::platformIdleSources());
        QCOMPARE(source->name(), chosen);
        QCOMPARE(source->idleMilliseconds().value_or(-1), idle);
    }

    // logind's lock and sleep make the user idle from that moment until they end; a sleep is held back until noted.
    void theSessionsLockAndSleep()
    {
        counter::AwayIdleSource source(std::make_unique<counter::NoIdleSource>());
        const std::unique_ptr<QObject> events = counter::watchSession(source);
        QVERIFY(!source.idleMilliseconds());

        for (const bool on : {true, false}) {
            signal(SessionPath, QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("PropertiesChanged"),
                   {QStringLiteral("org.freedesktop.login1.Session"), QVariantMap{{QStringLiteral("LockedHint"), on}},
                    QStringList()});
            QTRY_COMPARE(source.idleMilliseconds().has_value(), on);
        }
        for (const bool on : {true, false}) {
            signal(QStringLiteral("/org/freedesktop/login1"), QStringLiteral("org.freedesktop.login1.Manager"),
                   QStringLiteral("PrepareForSleep"), {on});
            QTRY_COMPARE(source.idleMilliseconds().has_value(), on);
        }
        QCOMPARE(m_manager.inhibitors.load(), 2);
    }
};

QTEST_GUILESS_MAIN(TestIdleSourceDBus)
#include "test_idlesource_dbus.moc"
