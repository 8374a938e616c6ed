#include "download/TransferOutcomes.h"

#include "download/DownloadDrives.h"
#include "download/DownloadManager.h"
#include "download/DownloadPrompts.h"
#include "model/Asset.h"
#include "model/DCP.h"
#include "model/Reel.h"
#include "storage/DatabaseManager.h"

#include <QDebug>
#include <QFileInfo>

TransferOutcomes::TransferOutcomes(DownloadManager& engine, DownloadDrives& drives, DatabaseManager& store,
                                   ReelEventSink events)
    : engine(engine), drives(drives), store(store), events(std::move(events))
{
}

void TransferOutcomes::progress(Asset* asset, bool firstData, double speed)
{
    try {
        if (!asset->getDownloadStarted()) {
            asset->setDownloadStarted(true);
            store.updateAssetDownloadFields(asset);
        }
        const QList<Reel*> reels = asset->getReels();
        // Raised with the first data and at every sample; the queue keeps one per reel anyway.
        if (firstData || speed >= 0)
            for (Reel* reel : reels)
                events(reel, NotificationType::DownloadStarted);
        if (speed < 0)
            return;
        for (Reel* reel : reels) {
            reel->announceProgress(qulonglong(speed));
            const quint64 total = reel->getTotalSize();
            if (total == 0)
                continue;
            const quint64 percent = reel->getDownloadedSize() * 100 / total;
            if (percent >= 75)
                events(reel, NotificationType::DownloadProgress75);
            else if (percent >= 50)
                events(reel, NotificationType::DownloadProgress50);
            else if (percent >= 25)
                events(reel, NotificationType::DownloadProgress25);
        }
        emit engine.downloadProgress(speed);
    } catch (const std::exception& e) {
        storeFailed(e);
    }
}

void TransferOutcomes::failed(Asset* asset, AssetTransfer::Failure failure, const QString& reason,
                              int failuresInARow)
{
    try {
        DCP* const dcp = asset->getDCP();
        const bool onDrive = failure == AssetTransfer::Failure::Unwritable ||
                             failure == AssetTransfer::Failure::FileLost ||
                             failure == AssetTransfer::Failure::WriteFailed;
        if (onDrive && drives.isGone(dcp))
            return;
        switch (failure) {
        case AssetTransfer::Failure::ServerFault:
            emit engine.serverFault(reason);
            if (failuresInARow >= 3)
                emit engine.serverNotAnswering(reason);
            break;
        case AssetTransfer::Failure::Interrupted:
            break;
        case AssetTransfer::Failure::ProxyRefused:
            emit engine.proxyRefused(tr("Proxy requires authentication (%1), retrying\u2026").arg(reason));
            break;
        case AssetTransfer::Failure::LinkExpired:
            linksRefused(dcp, DownloadPrompts::expiredLinksMessage(dcp));
            break;
        case AssetTransfer::Failure::FileMissing:
            linksRefused(dcp, DownloadPrompts::missingFileMessage(dcp));
            break;
        case AssetTransfer::Failure::Unwritable:
        case AssetTransfer::Failure::FileLost:
            engine.pauseDownloading(true);
            DownloadPrompts::unwritableFile(reason);
            break;
        case AssetTransfer::Failure::SizeMismatch: {
            const QString message = tr("The server's file and the package disagree: %1 bytes on the "
                                       "server, %2 in the package. Downloads of this file wait.")
                                        .arg(reason)
                                        .arg(asset->getSize());
            sizeDisagreements.insert(asset, tr("Server %1 ≠ package %2").arg(reason).arg(asset->getSize()));
            engine.advanceQueue(asset); // the others go on
            emit engine.serverFileDiffers(dcp, message);
            break;
        }
        case AssetTransfer::Failure::WriteFailed:
            // A full disk pauses with its box; otherwise the next request resumes from
            // what the file really holds.
            if (!drives.hasRoomFor(asset))
                engine.pauseDownloading(true);
            break;
        }
    } catch (const std::exception& e) {
        DownloadPrompts::failure(QT_TR_NOOP("Unable to handle a failed download."), tr, e);
    }
}

void TransferOutcomes::storeFailed(const std::exception& e)
{
    qDebug() << "[DownloadManager] Unable to store the download's progress:" << e.what();
    engine.abortTransfer();
    engine.pauseDownloading(true);
    DownloadPrompts::unsavedProgress(QString::fromUtf8(e.what()));
}

void TransferOutcomes::finished(Asset* asset)
{
    qDebug() << "[DownloadManager] Download finished for Asset" << asset->getUuid();

    asset->setDownloadFinished(true);
    try {
        store.updateAssetDownloadFields(asset);
    } catch (const std::exception& e) {
        // The flag holds in memory; at the next start the complete file is finished again.
        qDebug() << "[DownloadManager] Unable to store the finished asset" << asset->getUuid() << e.what();
    }

    const QList<Reel*> reels = asset->getReels();
    for (Reel* reel : reels) {
        if (DownloadManager::isLive(reel) && reel->isDownloaded()) {
            try {
                events(reel, NotificationType::DownloadFinished);
            } catch (const std::exception& e) {
                // Unreported, but the reel must still be verified and the queue move on;
                // thrown out of here, it would leave the engine holding a finished asset.
                qDebug() << "[DownloadManager] Unable to record the finished reel" << reel->getUuid()
                         << e.what();
            }
            engine.handOverToWorker(reel);
        }
    }
    if (DCP* dcp = asset->getDCP())
        dcp->announceAssetFinished();

    try {
        engine.advanceQueue(asset);
    } catch (const std::exception& e) {
        DownloadPrompts::failure(QT_TR_NOOP("Unable to start the next download."), tr, e);
    }
}

void TransferOutcomes::linksRefused(DCP* dcp, const QString& message)
{
    engine.pauseDownloading(true);
    qDebug() << "[DownloadManager] HandleExpiredLinks" << message;
    if (!DownloadPrompts::removeExpiredDcp(message))
        return;

    qDebug() << "[DownloadManager] HandleExpiredLinks user action, removing expired DCP" << dcp->getUuid();
    const QList<Asset*> assets = dcp->getAssets();
    for (Asset* asset : assets) {
        const QFileInfo info(asset->getFullPath());
        if (info.exists() && info.isFile())
            asset->reveal();
    }
    engine.removeDownload(dcp);
}

QString TransferOutcomes::sizeDisagreement(const DCP* dcp) const
{
    for (auto it = sizeDisagreements.cbegin(); it != sizeDisagreements.cend(); ++it)
        if (it.key()->getDCP() == dcp)
            return it.value();
    return QString();
}
