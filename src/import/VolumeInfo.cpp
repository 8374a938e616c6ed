#include "import/VolumeInfo.h"

#include <QStorageInfo>

qint64 VolumeInfo::availableBytes(const QString& path) const
{
    if (availableOverride)
        return availableOverride(path);
    return QStorageInfo(path).bytesAvailable();
}

QByteArray VolumeInfo::fileSystemType(const QString& path) const
{
    if (typeOverride)
        return typeOverride(path);
    return QStorageInfo(path).fileSystemType();
}

bool VolumeInfo::isFat(const QString& path) const
{
    const QByteArray type = fileSystemType(path).toLower();
    return type == "vfat" || type == "msdos" || type == "fat";
}
