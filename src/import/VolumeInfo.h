#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

// What the importer needs to know about the volume a folder lives on. Tests replace the
// answers, since a full or FAT-formatted drive cannot be conjured up on every machine.
class VolumeInfo
{
public:
    VolumeInfo() = delete;

    static qint64 availableBytes(const QString& path);
    static QByteArray fileSystemType(const QString& path);
    // FAT file systems (vfat, msdos, fat) cannot hold a file of 4 GiB or more.
    static bool isFat(const QString& path);
    static constexpr quint64 FatFileSizeLimit = Q_UINT64_C(4294967296);

    // Tests: an empty function restores the real answer.
    static void setAvailableBytesOverride(std::function<qint64(const QString&)> probe);
    static void setFileSystemTypeOverride(std::function<QByteArray(const QString&)> probe);
};
