#include "download/DriveRoom.h"

#include "core/FileManager.h"
#include "model/Asset.h"
#include "model/DCP.h"
#include "storage/DatabaseManager.h"

#include <QLocale>
#include <QStorageInfo>

#include <cmath>

DriveRoom::DriveRoom(DatabaseManager& store, QObject* parent) : QObject(parent), store(store)
{
    timer.setInterval(30000);
    connect(&timer, &QTimer::timeout, this, &DriveRoom::lookAgain);
}

DriveSpace DriveRoom::probe(const QString& path)
{
    DriveSpace space;
    const QStorageInfo info(path);
    if (!info.isValid())
        return space;
    space.id = info.rootPath();
    space.name = info.name().isEmpty() ? info.rootPath() : info.name();
    space.free = info.bytesAvailable();
    return space;
}

DriveSpace DriveRoom::driveOf(const QString& path) const
{
    if (probeOverride)
        return probeOverride(path);
    DriveSpace space = probe(path);
    if (freeOverride && space.free >= 0)
        space.free = freeOverride(path);
    return space;
}

QString DriveRoom::sizeText(quint64 bytes, bool roundUp)
{
    constexpr double mega = 1024.0 * 1024.0;
    constexpr double giga = mega * 1024.0;
    const auto round = [roundUp](double value) {
        return roundUp ? std::ceil(value) : std::floor(value);
    };
    // The language's decimal sign and unit ("1,5 Go" in French).
    const QLocale locale;
    if (bytes < quint64(giga))
        return tr("%1 MB").arg(locale.toString(round(double(bytes) / mega), 'f', 0));
    const double gb = double(bytes) / giga;
    if (gb < 10)
        return tr("%1 GB").arg(locale.toString(round(gb * 10) / 10, 'f', 1));
    return tr("%1 GB").arg(locale.toString(round(gb), 'f', 0));
}

quint64 DriveRoom::remainingBytes(const DCP* dcp) const
{
    if (dcp->isListedNotStarted()) {
        // Nothing of it is on the drive yet; its size comes from the store, not its reels.
        const auto it = listedSizes.constFind(dcp->getUuid());
        if (it != listedSizes.constEnd())
            return *it;
        const quint64 size = store.getDCPAssetsSize(dcp->getUuid());
        listedSizes.insert(dcp->getUuid(), size);
        return size;
    }
    quint64 remaining = 0;
    for (const Asset* asset : dcp->getAssets()) {
        if (asset->isComplete())
            continue;
        const qint64 onDisk = FileManager::getFileSize(asset->getFullPath());
        remaining += quint64(qMax<qint64>(0, qint64(asset->getSize()) - qMax<qint64>(0, onDisk)));
    }
    return remaining;
}

bool DriveRoom::update(const QList<DCP*>& queued)
{
    QHash<const DCP*, Shortfall> found;
    QHash<QString, DriveSpace> drives; // by the DCP's folder
    QHash<QString, qint64> left;       // drive id -> free bytes not yet given to a DCP
    for (const DCP* dcp : queued) {
        const QString folder = dcp->getDownloadPath();
        if (!drives.contains(folder))
            drives.insert(folder, driveOf(folder));
        const DriveSpace& drive = drives[folder];
        if (drive.free < 0)
            continue; // unknown: the write's own check is the guard
        if (!left.contains(drive.id))
            left.insert(drive.id, drive.free);
        const quint64 wanted = remainingBytes(dcp);
        const qint64 room = left.value(drive.id);
        if (wanted <= quint64(room)) {
            left[drive.id] = room - qint64(wanted);
            continue;
        }
        Shortfall shortfall;
        shortfall.bytes = wanted - quint64(room);
        shortfall.drive = drive.name;
        found.insert(dcp, shortfall);
    }
    if (found.isEmpty())
        timer.stop();
    else if (!timer.isActive())
        timer.start();
    if (found == shortfalls)
        return false;
    shortfalls = found;
    return true;
}

QString DriveRoom::warning(const DCP* dcp) const
{
    const auto it = shortfalls.constFind(dcp);
    if (it == shortfalls.constEnd())
        return QString();
    const QString title = dcp->getFriendlyTitle().isEmpty() ? dcp->getTitle() : dcp->getFriendlyTitle();
    return tr("%1 needs %2 more than the drive %3 holds").arg(title, sizeText(it->bytes), it->drive);
}

QString DriveRoom::firstWarning(const QList<DCP*>& order) const
{
    for (const DCP* dcp : order)
        if (shortfalls.contains(dcp))
            return warning(dcp);
    return QString();
}

QString DriveRoom::needed(const DCP* dcp) const
{
    const quint64 lacking = shortfall(dcp);
    return lacking ? tr("Needs %1 more").arg(sizeText(lacking)) : QString();
}

QString DriveRoom::describe(const DCP* dcp) const
{
    if (!dcp)
        return QString();
    const DriveSpace drive = driveOf(dcp->getDownloadPath());
    if (drive.free < 0)
        return QString();
    const QString where = drive.name == drive.id ? drive.id : tr("%1 (%2)").arg(drive.name, drive.id);
    return tr("On %1: %2 free").arg(where, sizeText(quint64(drive.free), false));
}
