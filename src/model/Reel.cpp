#include "model/Reel.h"

#include "model/DCP.h"
#include "model/ScriptOwnership.h"
#include "storage/DatabaseManager.h"

#include <QDebug>

#include <stdexcept>

Reel::Reel(const QString& uuid, const QString& main_picture_id, const QString& main_sound_id,
           const QString& main_subtitle_id, unsigned reel_number)
    : uuid(uuid), main_picture_id(main_picture_id), main_sound_id(main_sound_id),
      main_subtitle_id(main_subtitle_id), reel_number(reel_number)
{
    // Reels are handed to QML in lists; the catalogue, not the QML engine, owns them.
    ScriptOwnership::keepOwnedByProgram(this);
}

Reel::Reel(const QString& uuid, unsigned reel_number)
    : Reel(uuid, QString(), QString(), QString(), reel_number)
{
}

void Reel::addAsset(Asset* asset)
{
    const AssetKey key = asset->key();
    if (assets_by_key.contains(key)) {
        return;
    }
    assets.append(asset);
    assets_by_key.insert(key, asset);
    retry_hash_known = false;
}

bool Reel::removeAsset(Asset* asset)
{
    if (!assets.removeOne(asset)) {
        return false;
    }
    retry_hash_known = false;
    const AssetKey key = asset->key();
    if (assets_by_key.value(key) == asset) {
        assets_by_key.remove(key);
    }
    return true;
}

bool Reel::replaceAsset(Asset* current, Asset* replacement)
{
    const int index = assets.indexOf(current);
    if (index < 0) {
        return false;
    }
    retry_hash_known = false;
    const AssetKey old_key = current->key();
    if (assets_by_key.value(old_key) == current) {
        assets_by_key.remove(old_key);
    }
    const AssetKey new_key = replacement->key();
    if (assets_by_key.contains(new_key)) {
        // Already listed: keep the one entry.
        assets.removeAt(index);
        return true;
    }
    assets[index] = replacement;
    assets_by_key.insert(new_key, replacement);
    return true;
}

QString Reel::getAssetsRetryHash() const
{
    // Read before the attempts: a change while they are read leaves the signature stale.
    const quint64 epoch = Asset::attemptsEpoch();
    if (retry_hash_known && retry_hash_epoch == epoch) {
        return retry_hash;
    }
    // QMap iterates in ascending key order, which is the order the signature needs.
    QMap<QString, QString> attempts_by_uuid;
    for (const Asset* asset : assets) {
        attempts_by_uuid.insert(asset->getUuid(), QString::number(asset->getDownloadAttempts()));
    }
    QString signature;
    for (auto it = attempts_by_uuid.cbegin(); it != attempts_by_uuid.cend(); ++it) {
        signature += it.key() + it.value();
    }
    retry_hash = signature;
    retry_hash_epoch = epoch;
    retry_hash_known = true;
    return signature;
}

DatabaseManager& Reel::store() const
{
    if (!dcp)
        throw std::runtime_error("The reel belongs to no DCP");
    return dcp->getStore();
}

void Reel::syncToDatabase(DCPManager* catalogue)
{
    qDebug() << "Syncing Reel... " << uuid;
    store().insertReel(this);
    for (Asset* asset : assets) {
        asset->syncToDatabase(catalogue);
    }
}

void Reel::removeFromDb()
{
    qDebug() << "Removing Reel... " << uuid;
    store().removeReel(this);
    for (Asset* asset : assets) {
        // The other reel still needs the file: its row stays, or the next start would
        // load that reel without it and call it complete.
        if (!sharesWithAnotherReel(asset)) {
            asset->removeFromDb();
        }
    }
}

bool Reel::sharesWithAnotherReel(const Asset* asset) const
{
    for (const Reel* other : asset->getReels()) {
        if (other != this && dcp && dcp->getReel(other->getUuid()) == other) {
            return true;
        }
    }
    return false;
}

qulonglong Reel::getTotalSize() const
{
    qulonglong total = 0;
    for (const Asset* asset : assets) {
        total += asset->getSize();
    }
    return total;
}

qulonglong Reel::getDownloadedSize() const
{
    qulonglong total = 0;
    for (const Asset* asset : assets) {
        total += asset->getDownloadedSize();
    }
    return total;
}

bool Reel::isSynced() const
{
    // Files still under their hidden names cannot be ingested: not synced, whatever the
    // journal says, until they are revealed.
    for (const Asset* asset : assets) {
        if (asset->isHidden()) {
            return false;
        }
    }
    // Called from QML: a store failure must not unwind through the event loop.
    try {
        if (unacknowledged_events < 0)
            unacknowledged_events = store().getUnsyncedReelNotificationsCount(uuid);
        return unacknowledged_events == 0;
    } catch (const std::exception& e) {
        qDebug() << "[Reel] Unable to read notification state of reel" << uuid << e.what();
        return false;
    }
}

bool Reel::isFinished() const
{
    for (const Asset* asset : assets) {
        if (!asset->isComplete()) {
            return false;
        }
    }
    return true;
}

bool Reel::isDownloaded() const
{
    for (const Asset* asset : assets) {
        if (!asset->getDownloadFinished()) {
            return false;
        }
    }
    return true;
}

bool Reel::isChecksummed() const
{
    for (const Asset* asset : assets) {
        if (!asset->getDownloadChecksummed()) {
            return false;
        }
    }
    return true;
}

bool Reel::isCorrupted() const
{
    for (const Asset* asset : assets) {
        if (asset->getDownloadCorrupted()) {
            return true;
        }
    }
    return false;
}

void Reel::announceDCPStatus()
{
    if (dcp) {
        dcp->announceStatus();
    }
}

void Reel::announcePaused()
{
    emit downloadPaused();
    announceDCPStatus();
}

void Reel::announceCheckingChecksum()
{
    emit downloadCheckingChecksum();
    announceDCPStatus();
}

void Reel::announceRequeued()
{
    emit downloadQueuedForRedownload();
    announceDCPStatus();
}

void Reel::announceCorrupted()
{
    emit downloadCorrupted();
    announceDCPStatus();
}

void Reel::announceChecksummed()
{
    emit downloadChecksummed();
    announceDCPStatus();
}

void Reel::announceSynced()
{
    emit downloadSynced();
    announceDCPStatus();
}

void Reel::announceProgress(qulonglong speed)
{
    emit downloadProgress(speed);
    if (dcp) {
        dcp->announceProgress();
    }
}

void Reel::setCheckProgress(double value)
{
    if (value == check_progress) {
        return;
    }
    check_progress = value;
    emit checkProgressChanged();
    announceDCPStatus();
}
