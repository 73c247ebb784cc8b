// The serial number Windows gives the volume, as the DIR command shows it.
#ifdef _WIN32

#include "scramble/volumeserialsource.h"

#include <windows.h>

namespace scramble {
namespace {

class WindowsVolumeSerial final : public VolumeSerialSource
{
public:
    std::optional<qint32> serialNumber(const QString& rootPath) override
    {
        char volumeName[255] = {};
        char fileSystemName[255] = {};
        DWORD serial = 0;
        DWORD maximumComponentLength = 0;
        DWORD fileSystemFlags = 0;
        if (!GetVolumeInformationA(rootPath.toLocal8Bit().constData(), volumeName, sizeof volumeName, &serial,
                                   &maximumComponentLength, &fileSystemFlags, fileSystemName, sizeof fileSystemName)) {
            return std::nullopt;
        }
        return static_cast<qint32>(serial);
    }
};

} // namespace

std::unique_ptr<VolumeSerialSource> createPlatformVolumeSerialSource()
{
    return std::make_unique<WindowsVolumeSerial>();
}

} // namespace scramble

#endif // _WIN32
