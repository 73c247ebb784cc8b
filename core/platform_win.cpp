// The program's platform pieces on Windows.
#include "core/platform.h"
#include "core/program.h"

#include <QDir>

#include <malloc.h>
#include <shlobj.h>
#include <windows.h>

namespace core {

QString platformStateDirectory()
{
    wchar_t* folder = nullptr;
    QString base;
    if (SHGetKnownFolderPath(FOLDERID_LocalAppData, KF_FLAG_CREATE, nullptr, &folder) == S_OK) {
        base = QDir::fromNativeSeparators(QString::fromWCharArray(folder));
    }
    CoTaskMemFree(folder);
    if (base.isEmpty()) {
        base = QDir::homePath() + QStringLiteral("/AppData/Local");
    }
    return base + QStringLiteral("/orvcounter");
}

void returnFreedMemory()
{
    // The C runtime's heap hands its free blocks back to Windows.
    _heapmin();
}

void readTimeZoneOnce()
{
    // The C runtime takes the zone from Windows itself, read once per process.
}

} // namespace core
