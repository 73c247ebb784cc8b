// The idle time on an X11 desktop (and under Xvfb): the MIT-SCREEN-SAVER extension through libXss, on a display
// connection of its own, so that it answers whatever Qt platform plugin the window uses.
#include "counter/watch/idlesource.h"

#include <X11/Xlib.h>
#include <X11/extensions/scrnsaver.h>

namespace counter {
namespace {

class X11IdleSource : public IdleSource
{
public:
    explicit X11IdleSource(Display* display)
        : m_display(display)
        , m_info(XScreenSaverAllocInfo())
    {}
    ~X11IdleSource() override
    {
        XFree(m_info);
        XCloseDisplay(m_display);
    }
    X11IdleSource(const X11IdleSource&) = delete;
    X11IdleSource& operator=(const X11IdleSource&) = delete;

    std::optional<qint64> idleMilliseconds() override
    {
        if (!m_info || XScreenSaverQueryInfo(m_display, DefaultRootWindow(m_display), m_info) == 0) {
            return std::nullopt;
        }
        return static_cast<qint64>(m_info->idle);
    }
    QString name() const override { return QStringLiteral("X11 XScreenSaver"); }

private:
    Display* m_display;
    XScreenSaverInfo* m_info;
};

} // namespace

std::unique_ptr<IdleSource> makeX11IdleSource()
{
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        return nullptr;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        return nullptr;
    }
    int event = 0;
    int error = 0;
    if (!XScreenSaverQueryExtension(display, &event, &error)) {
        XCloseDisplay(display);
        return nullptr;
    }
    return std::make_unique<X11IdleSource>(display);
}

} // namespace counter
