#include "core/program.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <ctime>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace core {
namespace {
std::function<void()>& handlerSlot()
{
    static std::function<void()> handler;
    return handler;
}
bool g_ended = false;
} // namespace

void endProgram()
{
    g_ended = true;
    if (handlerSlot()) {
        handlerSlot()();
        return;
    }
    QCoreApplication::exit(0);
}

bool programEnded()
{
    return g_ended;
}

void setEndProgramHandler(std::function<void()> handler)
{
    handlerSlot() = std::move(handler);
    g_ended = false;
}

} // namespace core

namespace core {

void returnFreedMemory()
{
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}

} // namespace core

namespace core {

void readTimeZoneOnce()
{
#if defined(Q_OS_UNIX)
    const char* const systemZone = "/etc/localtime";
    if (qEnvironmentVariableIsEmpty("TZ") && QFileInfo::exists(QString::fromLatin1(systemZone))) {
        qputenv("TZ", QByteArray(":") + systemZone);
        tzset();
    }
#endif
}

} // namespace core
