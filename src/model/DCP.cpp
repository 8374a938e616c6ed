#include "model/DCP.h"

#include "model/Reel.h"
#include "model/ScriptOwnership.h"
#include "storage/DatabaseManager.h"
#include "storage/Transaction.h"

#include <QDebug>
#include <QThread>

#include <stdexcept>

DCP::DCP(const QString& uuid, const QString& title, const QString& image_url, const QString& download_path,
         DatabaseManager* store)
    : uuid(uuid), title(title), image_url(image_url), download_path(download_path), store(store)
{
    // QML receives DCPs in lists and must never delete one.
    ScriptOwnership::keepOwnedByProgram(this);
}

void DCP::ensureReels() const
{
    if (!reel_loader)
        return;
    // The store connection belongs to the main thread: another thread sees what is loaded.
    if (QThread::currentThread() != thread()) {
        qDebug() << "[DCP] Reels of" << uuid << "asked for off the main thread before they were loaded";
        return;
    }
    const ReelLoader loader = reel_loader;
    loader(const_cast<DCP*>(this));
}

const QList<Asset*>& DCP::getAssets() const
{
    ensureReels();
    return assets;
}

const QList<Reel*>& DCP::getReels() const
{
    ensureReels();
    return reels;
}

void DCP::setDriveConnected(bool value)
{
    if (drive_connected == value) {
        return;
    }
    drive_connected = value;
    emit driveConnectedChanged();
    emit statusChanged();
}

void DCP::addReel(Reel* reel)
{
    ensureReels();
    reels.append(reel);
    reels_by_uuid.insert(reel->getUuid(), reel);
    emit reelsChanged();
    emit finishedChanged();
}

Reel* DCP::getReel(const QString& uuid) const
{
    ensureReels();
    return reels_by_uuid.value(uuid, nullptr);
}

void DCP::removeReel(Reel* reel)
{
    ensureReels();
    {
        // The reel row, its links and its own assets' rows go together or not at all; on
        // failure the in-memory lists stay as they were.
        Transaction transaction(getStore());
        reel->removeFromDb();
        transaction.commit();
    }

    reels.removeOne(reel);
    if (reels_by_uuid.value(reel->getUuid()) == reel) {
        reels_by_uuid.remove(reel->getUuid());
    }
    for (Asset* asset : reel->getAssets()) {
        if (reel->sharesWithAnotherReel(asset)) {
            continue;
        }
        assets.removeOne(asset);
        const AssetKey key = asset->key();
        if (assets_by_key.value(key) == asset) {
            assets_by_key.remove(key);
        }
    }
}

void DCP::announceReelsChanged()
{
    emit reelsChanged();
    emit finishedChanged();
}

void DCP::announceAssetFinished()
{
    emit downloadFinished();
    emit finishedChanged();
}

QList<QObject*> DCP::getReelsQML() const
{
    ensureReels();
    QList<QObject*> list;
    list.reserve(reels.size());
    for (Reel* reel : reels) {
        list.append(reel);
    }
    return list;
}

void DCP::addAsset(Asset* asset)
{
    ensureReels();
    assets.append(asset);
    assets_by_key.insert(AssetKey(asset->getUuid(), uuid), asset);
}

Asset* DCP::getAsset(const QString& asset_uuid) const
{
    ensureReels();
    return assets_by_key.value(AssetKey(asset_uuid, uuid), nullptr);
}

QString DCP::getDCPPath() const
{
    return download_path + QLatin1Char('/') + title;
}

DatabaseManager& DCP::getStore() const
{
    if (!store)
        throw std::runtime_error("The DCP has no store");
    return *store;
}

void DCP::syncToDatabase(DCPManager* catalogue)
{
    qDebug() << "Syncing DCP..." << uuid;
    // All rows of a new DCP commit at once; a failure rolls back before it goes on.
    Transaction transaction(getStore());
    store->insertDcp(this);
    for (Reel* reel : reels) {
        reel->syncToDatabase(catalogue);
    }
    transaction.commit();
}

qulonglong DCP::getTotalSize() const
{
    ensureReels();
    qulonglong total = 0;
    for (const Reel* reel : reels) {
        total += reel->getTotalSize();
    }
    return total;
}

int DCP::getListedReelCount() const
{
    if (reelsLoaded())
        return reels.size();
    if (!hasListedSummary() && summary_loader)
        summary_loader(const_cast<DCP*>(this));
    return qMax(0, listed_reel_count);
}

qulonglong DCP::getListedTotalSize() const
{
    if (reelsLoaded())
        return getTotalSize();
    getListedReelCount();
    return listed_total_size;
}

qulonglong DCP::getDownloadedSize() const
{
    ensureReels();
    qulonglong total = 0;
    for (const Reel* reel : reels) {
        total += reel->getDownloadedSize();
    }
    return total;
}

qulonglong DCP::getDownloadedSizeUI() const
{
    ensureReels();
    qulonglong total = 0;
    for (const Reel* reel : reels) {
        // A reel that is corrupted, verified or fully downloaded shows as full without
        // asking the disk.
        if (reel->isCorrupted() || reel->isChecksummed() || reel->isDownloaded()) {
            total += reel->getTotalSize();
        } else {
            total += reel->getDownloadedSize();
        }
    }
    return total;
}

bool DCP::isFinished() const
{
    ensureReels();
    for (const Reel* reel : reels) {
        if (!reel->isFinished()) {
            return false;
        }
    }
    return true;
}

bool DCP::isDownloaded() const
{
    ensureReels();
    for (const Reel* reel : reels) {
        if (!reel->isDownloaded()) {
            return false;
        }
    }
    return true;
}
