// The machine's sleep on Windows: the power broadcast every top-level window receives, seen through a native event
// filter. PBT_APMSUSPEND comes before the sleep (with time to note it), a resume after it.
#include "counter/watch/idlesource.h"

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>

#include <windows.h>

namespace counter {
namespace {

class PowerEvents : public QObject, public QAbstractNativeEventFilter
{
public:
    explicit PowerEvents(AwayIdleSource& source)
        : m_source(source)
    {
        QCoreApplication::instance()->installNativeEventFilter(this);
    }
    ~PowerEvents() override { QCoreApplication::instance()->removeNativeEventFilter(this); }
    PowerEvents(const PowerEvents&) = delete;
    PowerEvents& operator=(const PowerEvents&) = delete;

    bool nativeEventFilter(const QByteArray& type, void* message, qintptr* /*result*/) override
    {
        if (type != "windows_generic_MSG") {
            return false;
        }
        const MSG* msg = static_cast<const MSG*>(message);
        if (msg->message == WM_POWERBROADCAST) {
            if (msg->wParam == PBT_APMSUSPEND) {
                m_source.setAway(AwayIdleSource::Asleep, true);
            } else if (msg->wParam == PBT_APMRESUMESUSPEND || msg->wParam == PBT_APMRESUMEAUTOMATIC) {
                m_source.setAway(AwayIdleSource::Asleep, false);
            }
        }
        // Seen, never taken: Qt and the window handle it as before.
        return false;
    }

private:
    AwayIdleSource& m_source;
};

} // namespace

std::unique_ptr<QObject> watchSession(AwayIdleSource& source)
{
    if (!QCoreApplication::instance()) {
        return nullptr;
    }
    return std::make_unique<PowerEvents>(source);
}

} // namespace counter
