#pragma once

#include "import/DriveProbe.h"

#include <QByteArray>
#include <QString>

#include <functional>

// What the importer needs to know about the volume a folder lives on. Tests replace the
// answers, since a full or FAT-formatted drive cannot be conjured up on every machine.
class VolumeInfo
{
public:
    qint64 availableBytes(const QString& path) const;
    QByteArray fileSystemType(const QString& path) const;
    // FAT file systems (vfat, msdos, fat) cannot hold a file of 4 GiB or more.
    bool isFat(const QString& path) const;
    static constexpr quint64 FatFileSizeLimit = Q_UINT64_C(4294967296);

    // An empty function restores the real answer.
    void setAvailableBytesOverride(std::function<qint64(const QString&)> probe)
    {
        availableOverride = std::move(probe);
    }
    void setFileSystemTypeOverride(std::function<QByteArray(const QString&)> probe)
    {
        typeOverride = std::move(probe);
    }

    // Where the drive check reads the mount table, sysfs and devices; tests point it at
    // fixtures, since drives cannot be mounted in tests.
    const DriveProbe::Roots& driveRoots() const { return roots; }
    void setDriveRoots(const DriveProbe::Roots& value) { roots = value; }

private:
    DriveProbe::Roots roots;
    std::function<qint64(const QString&)> availableOverride;
    std::function<QByteArray(const QString&)> typeOverride;
};
