#pragma once

#include <QString>

#include <memory>
#include <optional>

namespace scramble {

// Where the scrambling key comes from: the serial number of a volume. One implementation per platform.
class VolumeSerialSource
{
public:
    virtual ~VolumeSerialSource() = default;
    // The serial number of the volume whose root is rootPath ("C:\"); nullopt when it cannot be read.
    // The same volume gives the same number on every run.
    virtual std::optional<qint32> serialNumber(const QString& rootPath) = 0;
};

// The source in use: the platform's, unless a test installed another.
VolumeSerialSource& volumeSerialSource();

// Seam: installs a source; nullptr puts the platform's back.
void setVolumeSerialSource(std::unique_ptr<VolumeSerialSource> source);

// Defined by the platform's implementation file.
std::unique_ptr<VolumeSerialSource> createPlatformVolumeSerialSource();

} // namespace scramble
