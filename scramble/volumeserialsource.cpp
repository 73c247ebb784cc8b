#include "scramble/volumeserialsource.h"

namespace scramble {
namespace {
std::unique_ptr<VolumeSerialSource>& installed()
{
    static std::unique_ptr<VolumeSerialSource> source;
    return source;
}
} // namespace

VolumeSerialSource& volumeSerialSource()
{
    if (!installed()) {
        installed() = createPlatformVolumeSerialSource();
    }
    return *installed();
}

void setVolumeSerialSource(std::unique_ptr<VolumeSerialSource> source)
{
    installed() = std::move(source);
}

} // namespace scramble
