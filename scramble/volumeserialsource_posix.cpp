// Without drive letters, the volume that holds "/" stands for drive C:, and its file system identifier for the
// serial number: it stays the same across runs and reboots for as long as that file system exists.
#include "scramble/volumeserialsource.h"

#include <sys/statvfs.h>

namespace scramble {
namespace {

class PosixVolumeSerial final : public VolumeSerialSource
{
public:
    std::optional<qint32> serialNumber(const QString& /*rootPath*/) override
    {
        struct statvfs info {
        };
        if (::statvfs("/", &info) != 0) {
            return std::nullopt;
        }
        // Folded into the 32 bits a volume serial number has.
        const auto id = static_cast<quint64>(info.f_fsid);
        return static_cast<qint32>(static_cast<quint32>(id ^ (id >> 32)));
    }
};

} // namespace

std::unique_ptr<VolumeSerialSource> createPlatformVolumeSerialSource()
{
    return std::make_unique<PosixVolumeSerial>();
}

} // namespace scramble
