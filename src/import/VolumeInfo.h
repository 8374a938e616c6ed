#pragma once

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

private:
    std::function<qint64(const QString&)> availableOverride;
    std::function<QByteArray(const QString&)> typeOverride;
};
