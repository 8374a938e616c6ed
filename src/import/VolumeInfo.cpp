#include "import/VolumeInfo.h"

#include <QStorageInfo>

namespace {
std::function<qint64(const QString&)>& availableOverride()
{
    static std::function<qint64(const QString&)> probe;
    return probe;
}

std::function<QByteArray(const QString&)>& typeOverride()
{
    static std::function<QByteArray(const QString&)> probe;
    return probe;
}
} // namespace

qint64 VolumeInfo::availableBytes(const QString& path)
{
    if (availableOverride())
        return availableOverride()(path);
    return QStorageInfo(path).bytesAvailable();
}

QByteArray VolumeInfo::fileSystemType(const QString& path)
{
    if (typeOverride())
        return typeOverride()(path);
    return QStorageInfo(path).fileSystemType();
}

bool VolumeInfo::isFat(const QString& path)
{
    const QByteArray type = fileSystemType(path).toLower();
    return type == "vfat" || type == "msdos" || type == "fat";
}

void VolumeInfo::setAvailableBytesOverride(std::function<qint64(const QString&)> probe)
{
    availableOverride() = std::move(probe);
}

void VolumeInfo::setFileSystemTypeOverride(std::function<QByteArray(const QString&)> probe)
{
    typeOverride() = std::move(probe);
}
