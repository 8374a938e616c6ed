#include "download/DownloadDrives.h"

#include "core/FileManager.h"
#include "download/DownloadOrder.h"
#include "download/DownloadPrompts.h"
#include "download/DriveWatch.h"
#include "model/Asset.h"
#include "model/DCP.h"

#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <sys/statvfs.h>

DownloadDrives::DownloadDrives(DatabaseManager& store, const DownloadOrder& order, QObject* parent)
    : QObject(parent), order(order), spaces(store)
{
}

void DownloadDrives::follow(DriveWatch* drives)
{
    watch = drives;
    connect(drives, &DriveWatch::driveLost, this, &DownloadDrives::driveChanged, Qt::QueuedConnection);
    connect(drives, &DriveWatch::driveBack, this, &DownloadDrives::driveChanged, Qt::QueuedConnection);
}

bool DownloadDrives::isGone(DCP* dcp) const
{
    return watch && dcp && watch->isGone(dcp);
}

bool DownloadDrives::hasRoomFor(const Asset* asset)
{
    // Room is needed only for what the file still lacks.
    const qint64 size =
        qMax<qint64>(0, qint64(asset->getSize()) - FileManager::getFileSize(asset->getFullPath()));
    const QString path = asset->getDCP()->getDCPPath();
    qDebug() << "[DownloadManager] Asset size:" << size;
    if (!QFileInfo(path).isDir()) {
        qDebug() << "[DownloadManager] Download folder is missing:" << path;
        DownloadPrompts::missingFolder(path);
        return false;
    }
    const qint64 available = freeSpace(path);
    qDebug() << "[DownloadManager] Available Disk space" << path << ":" << available;
    if (available > size)
        return true;
    DownloadPrompts::notEnoughDiskSpace();
    return false;
}

qint64 DownloadDrives::freeSpace(const QString& path) const
{
    if (freeSpaceProbe)
        return freeSpaceProbe(path);
    // Asked before every file: statvfs alone, where QStorageInfo would also read the mount
    // table and resolve the device's links each time.
    struct statvfs fs;
    if (::statvfs(QFile::encodeName(path).constData(), &fs) != 0)
        return -1;
    return qint64(fs.f_bavail) * qint64(fs.f_frsize);
}

void DownloadDrives::setFreeSpaceProbe(std::function<qint64(const QString&)> probe)
{
    spaces.setFreeSpaceOverride(probe);
    freeSpaceProbe = std::move(probe);
}

bool DownloadDrives::update(const QList<DCP*>& ordered)
{
    QList<DCP*> queued;
    QSet<const DCP*> shortBefore;
    for (DCP* dcp : ordered) {
        if (!dcp->isListedComplete() && !order.isPaused(dcp))
            queued.append(dcp);
        if (spaces.shortfall(dcp) > 0)
            shortBefore.insert(dcp);
    }
    if (!spaces.update(queued))
        return false;
    bool joinedOrLeft = false;
    for (DCP* dcp : ordered) {
        if (shortBefore.contains(dcp) != (spaces.shortfall(dcp) > 0)) {
            joinedOrLeft = true;
            dcp->announceStatus();
        }
    }
    qDebug() << "[DownloadManager] Room on the drives:" << spaces.firstWarning(ordered);
    emit roomChanged();
    return joinedOrLeft;
}
