// The program's platform pieces on Unix (glibc's heap, the C library's time zone, XDG folders).
#include "core/platform.h"
#include "core/program.h"

#include <QDir>
#include <QFileInfo>

#include <ctime>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace core {

QString platformStateDirectory()
{
    QString base = qEnvironmentVariable("XDG_STATE_HOME");
    if (base.isEmpty()) {
        base = QDir::homePath() + QStringLiteral("/.local/state");
    }
    return base + QStringLiteral("/orvcounter");
}

void returnFreedMemory()
{
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}

void readTimeZoneOnce()
{
    const char* const systemZone = "/etc/localtime";
    if (qEnvironmentVariableIsEmpty("TZ") && QFileInfo::exists(QString::fromLatin1(systemZone))) {
        qputenv("TZ", QByteArray(":") + systemZone);
        tzset();
    }
}

} // namespace core
