#include "download/KeptFiles.h"

#include "core/FileManager.h"
#include "download/ChecksumVerdicts.h"
#include "download/DownloadPrompts.h"
#include "model/Asset.h"
#include "model/DCP.h"
#include "model/Reel.h"
#include "storage/DatabaseManager.h"

#include <QDebug>
#include <QFile>

namespace {

// Each reel of the assets once, in the order they come.
QList<Reel*> reelsOf(const QList<Asset*>& assets)
{
    QList<Reel*> reels;
    for (const Asset* asset : assets)
        for (Reel* reel : asset->getReels())
            if (!reels.contains(reel))
                reels.append(reel);
    return reels;
}

} // namespace

KeptFiles::KeptFiles(DatabaseManager& store, ReelEventSink events, ChecksumVerdicts& verdicts,
                     std::function<void(Asset*)> redownload)
    : store(store), events(std::move(events)), verdicts(verdicts), redownload(std::move(redownload))
{
}

void KeptFiles::keep(const QList<Asset*>& assets)
{
    try {
        for (Asset* asset : assets) {
            asset->setDownloadStarted(true);
            asset->setDownloadFinished(true);
            store.updateAssetDownloadFields(asset);
            kept.insert(asset);
        }
        // The portal follows a kept reel as it follows a downloaded one. A reel with files still
        // to fetch is reported by their transfer.
        for (Reel* reel : reelsOf(assets)) {
            if (!reel->isDownloaded())
                continue;
            events(reel, NotificationType::DownloadStarted);
            events(reel, NotificationType::DownloadFinished);
        }
    } catch (const std::exception& e) {
        DownloadPrompts::failure(QT_TR_NOOP("Unable to keep the files found on the drive."), tr, e);
    }
}

QList<Asset*> KeptFiles::uncheckedOf(const DCP* dcp) const
{
    QList<Asset*> assets;
    if (!dcp || kept.isEmpty() || !dcp->reelsLoaded())
        return assets;
    for (Asset* asset : dcp->getAssets())
        if (kept.contains(asset) && asset->getDownloadFinished() && !asset->getDownloadChecksummed() &&
            !asset->getDownloadCorrupted())
            assets.append(asset);
    return assets;
}

bool KeptFiles::stopChecking(const DCP* dcp)
{
    const int count = unchecked(dcp);
    if (count == 0 || !DownloadPrompts::stopCheckingKept(count))
        return false;
    // Asked again: verification went on while the box was open.
    const QList<Asset*> assets = uncheckedOf(dcp);
    if (assets.isEmpty())
        return false;
    const QList<Reel*> reels = reelsOf(assets);
    // Nothing read so far is applied or reported; downloaded files of these reels stay finished
    // and are verified with the rest once the kept ones are down.
    for (Reel* reel : reels)
        verdicts.withdraw(reel);
    try {
        for (Asset* asset : assets) {
            kept.remove(asset);
            QFile file(asset->getFullPath());
            if (!file.resize(0))
                FileManager::removeFile(asset->getFullPath());
            asset->setDownloadFinished(false);
            store.updateAssetDownloadFields(asset);
            qDebug() << "[DownloadManager] Kept file not checked, downloading it instead:"
                     << asset->getFullPath();
            redownload(asset);
        }
    } catch (const std::exception& e) {
        DownloadPrompts::failure(QT_TR_NOOP("Unable to download the kept files instead."), tr, e);
    }
    for (Reel* reel : reels)
        reel->announceRequeued();
    return true;
}
