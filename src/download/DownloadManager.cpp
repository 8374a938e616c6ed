#include "download/DownloadManager.h"
#include "core/NetworkSetup.h"

#include "core/FileManager.h"
#include "download/ChecksumVerdicts.h"
#include "download/ChecksumWorker.h"
#include "download/DownloadPrompts.h"
#include "download/DriveWatch.h"
#include "download/VerifiedReelReveal.h"
#include "model/DCP.h"
#include "model/DCPManager.h"
#include "model/Reel.h"
#include "model/ScriptOwnership.h"
#include "storage/DatabaseManager.h"
#include "storage/Setting.h"

#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <QNetworkAccessManager>
#include <QSet>

#include <algorithm>
#include <limits>
#include <sys/statvfs.h>

namespace {

bool isLive(const Reel* reel)
{
    return reel->getDCP() && reel->getDCP()->getReels().contains(const_cast<Reel*>(reel));
}

} // namespace

namespace {
DownloadManager* g_engine = nullptr;
}

DownloadManager* DownloadManager::getInstance()
{
    return g_engine;
}

DownloadManager::DownloadManager(Setting& settings, DCPManager& catalogue, DatabaseManager& store,
                                 ReelEventSink events)
    : QObject(nullptr), settings(settings), catalogue(catalogue), store(store), events(std::move(events)),
      order(store), room(store), networkManager(new QNetworkAccessManager(this))
{
    NetworkSetup::prepare(networkManager);
    paused = settings.get(QStringLiteral("download_paused")) == QLatin1String("1");
    limitOff = settings.get(QStringLiteral("download_limit_off")) == QLatin1String("1");

    verdicts = new ChecksumVerdicts(this, catalogue, store, this->events);
    checksumWorker = verdicts->getWorker();
    // Raised while a verdict is applied; the retry always runs later on the main thread's
    // event loop, never nested in the verdict's handling.
    connect(this, &DownloadManager::assetNeedsRedownloading, [this](Asset* asset) {
        QMetaObject::invokeMethod(
            this, [this, asset]() { retryAssetDownload(asset); }, Qt::QueuedConnection);
    });
    // The catalogue removes DCPs and reels; their assets leave the queue (and the running
    // transfer) before their files go.
    connect(&catalogue, &DCPManager::assetsRemoved, this, [this](const QList<Asset*>& removed) {
        for (Asset* asset : removed)
            forgetRemoved(asset);
    });
    // Every change of the transfer or the verification comes with one of these signals.
    for (auto changed : {&DownloadManager::currentDcpChanged, &DownloadManager::pausedChanged,
                         &DownloadManager::downloadStandBy, &DownloadManager::downloadPaused})
        connect(this, changed, this, &DownloadManager::updateActive);
    connect(checksumWorker, &ChecksumWorker::jobStarted, this, &DownloadManager::updateActive);
    // The finished job leaves the worker's queue once its verdict is applied, after this.
    connect(checksumWorker, &ChecksumWorker::jobFinished, this, [this]() {
        QMetaObject::invokeMethod(this, &DownloadManager::updateActive, Qt::QueuedConnection);
    });
    // Space freed by hand is noticed while a DCP waits for it.
    connect(&room, &DriveRoom::lookAgain, this, &DownloadManager::refreshRoom);
    // Progress the store gathered and could not commit: stopped as when its write fails.
    store.setCommitFailureHandler([this](const std::exception& e) { stopForStoreFailure(e); });
    ScriptOwnership::keepOwnedByProgram(this);
    g_engine = this;
}

void DownloadManager::updateActive()
{
    const bool now = (currentAsset && !isPaused()) || checksumWorker->queuedReelCount() > 0;
    if (now == active)
        return;
    active = now;
    emit activeChanged(active);
}

DownloadManager::~DownloadManager()
{
    if (g_engine == this)
        g_engine = nullptr;
    store.setCommitFailureHandler({});
    paused = true;
    if (transfer) {
        transfer->abort();
        delete transfer; // before the network manager takes its reply with it
        transfer = nullptr;
    }
    delete verdicts;
    AssetTransfer::resetSampleClock();
}

void DownloadManager::redownload(Asset* asset)
{
    emit assetNeedsRedownloading(asset);
}

void DownloadManager::keepFiles(const QList<Asset*>& assets)
{
    QList<Reel*> reels;
    try {
        for (Asset* asset : assets) {
            asset->setDownloadStarted(true);
            asset->setDownloadFinished(true);
            store.updateAssetDownloadFields(asset);
            kept.insert(asset);
            for (Reel* reel : asset->getReels())
                if (!reels.contains(reel))
                    reels.append(reel);
        }
        // The portal follows a kept reel as it follows a downloaded one. A reel with files still
        // to fetch is reported by their transfer.
        for (Reel* reel : qAsConst(reels)) {
            if (!reel->isDownloaded())
                continue;
            events(reel, NotificationType::DownloadStarted);
            events(reel, NotificationType::DownloadFinished);
        }
    } catch (const std::exception& e) {
        reportFailure(QT_TR_NOOP("Unable to keep the files found on the drive."), e);
    }
}

int DownloadManager::keptUnchecked(DCP* dcp) const
{
    if (!dcp || kept.isEmpty() || !dcp->reelsLoaded())
        return 0;
    int count = 0;
    for (const Asset* asset : dcp->getAssets())
        count += kept.contains(asset) && asset->getDownloadFinished() && !asset->getDownloadChecksummed() &&
                         !asset->getDownloadCorrupted()
                     ? 1
                     : 0;
    return count;
}

void DownloadManager::stopCheckingKept(DCP* dcp)
{
    const int count = keptUnchecked(dcp);
    if (count == 0 || !DownloadPrompts::stopCheckingKept(count) || keptUnchecked(dcp) == 0)
        return;
    QList<Asset*> assets;
    QList<Reel*> reels;
    for (Asset* asset : dcp->getAssets()) {
        if (!kept.contains(asset) || !asset->getDownloadFinished() || asset->getDownloadChecksummed() ||
            asset->getDownloadCorrupted())
            continue;
        assets.append(asset);
        for (Reel* reel : asset->getReels())
            if (!reels.contains(reel))
                reels.append(reel);
    }
    // Nothing read so far is applied or reported; downloaded files of these reels stay finished
    // and are verified with the rest once the kept ones are down.
    for (Reel* reel : qAsConst(reels))
        verdicts->withdraw(reel);
    try {
        for (Asset* asset : qAsConst(assets)) {
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
        reportFailure(QT_TR_NOOP("Unable to download the kept files instead."), e);
    }
    for (Reel* reel : qAsConst(reels))
        reel->announceRequeued();
    updateActive();
}

void DownloadManager::verifyAgain(Reel* reel)
{
    if (!reel || !isLive(reel) || !reel->isDownloaded())
        return;
    handOverToWorker(reel);
    updateActive();
}

void DownloadManager::addDownloadItem(Asset* asset, bool force)
{
    downloadQueue.add(asset, force);
}

Asset* DownloadManager::getDownloadItem(const Asset* asset) const
{
    return downloadQueue.find(asset);
}

void DownloadManager::forgetRemoved(Asset* asset)
{
    sizeDisagreements.remove(asset);
    kept.remove(asset);
    // Compared by object, not by uuid: another DCP may hold the same asset uuid.
    if (currentAsset && currentAsset == asset) {
        currentRemoved = true;
        stopDownloading();
        dropTransfer();
        currentAsset = nullptr;
    }
    downloadQueue.remove(asset);
}

void DownloadManager::handOverToWorker(Reel* reel)
{
    checksumWorker->addToWorker(reel);
    reel->announceCheckingChecksum();
}

void DownloadManager::assetsChanged()
{
    try {
        rebuildQueue(true);
        if (!downloadQueue.isEmpty() && !currentAsset && !isPaused())
            startDownloading();
    } catch (const std::exception& e) {
        reportFailure(QT_TR_NOOP("Unable to update the download queue."), e);
    }
}

void DownloadManager::rebuildQueue(bool handOver, const DCP* chosen)
{
    downloadQueue.clear();
    if (currentAsset)
        addDownloadItem(currentAsset, false);
    if (chosen)
        downloadQueue.addEligible(chosen);

    // A DCP listed without its reels is complete (nothing to do) or not started. One not
    // started is read when it is next in line, so that thousands of them waiting do not sit
    // in memory; the queue stops before it until then, which keeps the download order.
    listedWaiting = false;
    const QList<DCP*> dcps = orderedDCPs();
    updateRoom(dcps);
    for (DCP* dcp : dcps) {
        if (dcp == chosen || dcp->isListedComplete())
            continue;
        // Paused on its own, or short of room on its drive: its turn is skipped.
        const bool skipped = order.isPaused(dcp) || room.shortfall(dcp) > 0;
        if (dcp->isListedNotStarted()) {
            if (skipped)
                continue;
            if (listedWaiting || !downloadQueue.isEmpty()) {
                listedWaiting = true;
                continue;
            }
        }
        const QList<Reel*> reels = dcp->getReels();
        for (Reel* reel : reels) {
            bool needsValidation = false;
            for (Asset* asset : reel->getAssets()) {
                if (asset->getDownloadFinished() && !asset->getDownloadChecksummed() &&
                    !asset->getDownloadCorrupted())
                    needsValidation = true;
                else if (!asset->isComplete() && !listedWaiting && !skipped)
                    addDownloadItem(asset, false);
            }
            // Downloaded before the program was closed but never verified.
            if (handOver && needsValidation && reel->isDownloaded())
                handOverToWorker(reel);
        }
    }
}

void DownloadManager::requeue()
{
    rebuildQueue(false);
    if (!currentAsset && !isPaused()) {
        if (!downloadQueue.isEmpty() || listedWaiting)
            startDownloading();
        else
            emit downloadStandBy();
    }
    emit orderChanged();
}

void DownloadManager::startDownloading(DCP* dcp)
{
    if (!dcp)
        return;
    try {
        qDebug() << "[DownloadManager] Starting downloading FOR DCP:" << dcp->getUuid();
        DCP* previous = currentAsset ? currentAsset->getDCP() : nullptr;
        try {
            // Chosen: first from now on, also after a restart, and no longer paused on its own.
            order.setPaused(dcp, false, catalogue.getAllDCPs());
            order.moveToFront(dcp, waitingDCPs(), catalogue.getAllDCPs());
        } catch (const std::exception& e) {
            reportFailure(QT_TR_NOOP("Unable to store the download order."), e);
        }

        stopDownloading();
        dropTransfer();
        currentAsset = nullptr;
        rebuildQueue(false, dcp);
        if (!downloadQueue.isEmpty()) {
            paused = false;
            persistPaused(false);
            liftHold();
            startDownloading();
            emit pausedChanged();
        }
        if (previous)
            previous->announceStatus();
        dcp->announceStatus();
        emit orderChanged();
    } catch (const std::exception& e) {
        reportFailure(QT_TR_NOOP("Unable to start downloading the DCP."), e);
    }
}

void DownloadManager::startDownloading()
{
    qDebug() << "[DownloadManager] Starting downloading..." << downloadQueue.size() << "items remaining";
    if (isPaused()) {
        qDebug() << "[DownloadManager] Downloads are Paused...";
        return;
    }
    if (downloadQueue.isEmpty() && listedWaiting) {
        // The DCPs not started yet are next: assetsChanged reads the first and starts it.
        assetsChanged();
        return;
    }
    if (downloadQueue.isEmpty()) {
        qDebug() << "[DownloadManager] No assets to download...";
        return;
    }
    if (getCurrentReply()) { // running, or finished and still being written
        qDebug() << "!!!Prevented double download leak!!!";
        return;
    }
    if (!currentAsset)
        currentAsset = downloadQueue.head();

    if (driveGone(currentAsset->getDCP()))
        return; // the queue is rebuilt without the DCP
    // Room is needed only for what the file still lacks.
    const qint64 remaining = qMax<qint64>(0, qint64(currentAsset->getSize()) -
                                                 FileManager::getFileSize(currentAsset->getFullPath()));
    if (!isEnoughDiskSpace(currentAsset->getDCP()->getDCPPath(), remaining)) {
        pauseDownloading(true);
        return;
    }
    startTransfer();
}

void DownloadManager::stopDownloading()
{
    if (!getCurrentReply())
        return;
    qDebug() << "[DownloadManager] Aborting download";
    transfer->abort();
    qDebug() << "[DownloadManager] Finished Aborting download";
}

bool DownloadManager::isEnoughDiskSpace(const QString& path, qint64 size)
{
    qDebug() << "[DownloadManager] Asset size:" << size;
    if (!QFileInfo(path).isDir()) {
        // A pulled drive or a deleted folder, not a full disk.
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

qint64 DownloadManager::freeSpace(const QString& path) const
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

void DownloadManager::persistPaused(bool value)
{
    settings.set(QStringLiteral("download_paused"), value ? QStringLiteral("1") : QStringLiteral("0"));
    settings.save();
}

void DownloadManager::pauseDownloading(bool force)
{
    try {
        if (!force && !(transfer && transfer->isBusy()))
            return;
        paused = true;
        stopDownloading();
        try {
            persistPaused(true);
        } catch (const std::exception& e) {
            // Paused for this run all the same; the caller's box tells the user about the store.
            qDebug() << "[DownloadManager] Unable to store the paused state:" << e.what();
        }
        if (currentAsset) {
            for (Reel* reel : currentAsset->getReels())
                reel->announcePaused();
        }
        emit pausedChanged();
        emit downloadPaused();
    } catch (const std::exception& e) {
        reportFailure(QT_TR_NOOP("Unable to pause the downloads."), e);
    }
}

void DownloadManager::resumeDownloading()
{
    try {
        stopDownloading();
        paused = false;
        persistPaused(false);
        liftHold();
        startDownloading();
        emit pausedChanged();
    } catch (const std::exception& e) {
        reportFailure(QT_TR_NOOP("Unable to resume the downloads."), e);
    }
}

void DownloadManager::retryAssetDownload(Asset* asset)
{
    try {
        qDebug() << "[DownloadManager] Giving corrupted Asset another chance..." << asset->getUuid();
        const QList<Reel*> reels = asset->getReels();
        if (std::none_of(reels.cbegin(), reels.cend(),
                         [this](const Reel* reel) { return verdicts->isListed(reel); })) {
            // Its DCP or reel was removed meanwhile: the user no longer wants this file.
            qDebug() << "[DownloadManager] Asset no longer listed, not downloaded again:" << asset->getUuid();
            return;
        }
        if (order.isPaused(asset->getDCP())) {
            // Eligible again: it joins the queue when its DCP is resumed.
            qDebug() << "[DownloadManager] DCP paused, downloaded again once resumed:" << asset->getUuid();
            return;
        }
        downloadQueue.add(asset, true);
        if (!currentAsset && !isPaused())
            startDownloading();
    } catch (const std::exception& e) {
        reportFailure(QT_TR_NOOP("Unable to download a corrupted file again."), e);
    }
}

bool DownloadManager::removeDownload(DCP* dcp)
{
    if (!dcp)
        return false;
    try {
        // Verified files stay on the drive under their final names; unverified ones stay hidden.
        VerifiedReelReveal::beforeRemoval(dcp);
        catalogue.removeDCP(dcp);

        if (currentRemoved && (!downloadQueue.isEmpty() || listedWaiting))
            startDownloading();
        else
            emit downloadStandBy();
        return true;
    } catch (const std::exception& e) {
        reportFailure(QT_TR_NOOP("Unable to remove the DCP."), e);
        return false;
    }
}

void DownloadManager::removeDownloadReel(Reel* reel)
{
    if (!reel)
        return;
    try {
        qDebug() << "[DownloadManager] Removing Reel:" << reel->getUuid();
        if (checksumWorker->haveReel(reel)) {
            DownloadPrompts::reelInValidation();
            return;
        }

        DCP* const dcp = catalogue.removeReel(reel);

        if (currentRemoved && (!downloadQueue.isEmpty() || listedWaiting))
            startDownloading();
        else
            emit downloadStandBy();

        qDebug() << "[DownloadManager] Emitting reelsChanged...";
        dcp->announceReelsChanged();

        if (dcp->getReels().isEmpty())
            removeDownload(dcp);
    } catch (const std::exception& e) {
        reportFailure(QT_TR_NOOP("Unable to remove the reel."), e);
    }
}

void DownloadManager::handleExpiredLinks(DCP* dcp, const QString& message)
{
    pauseDownloading(true);
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
    removeDownload(dcp);
}

QString DownloadManager::sizeDisagreement(DCP* dcp) const
{
    for (auto it = sizeDisagreements.cbegin(); it != sizeDisagreements.cend(); ++it)
        if (it.key()->getDCP() == dcp)
            return it.value();
    return QString();
}

DCP* DownloadManager::getCurrentDownloadingDCP() const
{
    return currentAsset ? currentAsset->getDCP() : nullptr;
}

void DownloadManager::setReadChunkSize(unsigned value)
{
    // Bytes per second to bytes per tick; 64-bit so that no speed wraps around.
    const quint64 product = quint64(value) * quint64(readInterval);
    const double perTick = double(product) / 1000.0;
    readChunkSize = perTick >= double(std::numeric_limits<quint32>::max())
                        ? std::numeric_limits<quint32>::max()
                        : quint32(perTick);
    if (transfer)
        transfer->setLimit(readChunkSize, limitOff);
    emit readChunkSizeChanged();
}

void DownloadManager::reportFailure(const char* what, const std::exception& e)
{
    // The log keeps the English; the user reads it in the program's language.
    qDebug() << "[DownloadManager] Error:" << what << e.what();
    DownloadPrompts::failure(tr(what), QString::fromUtf8(e.what()));
}

void DownloadManager::setLimitOff(bool value)
{
    if (limitOff == value)
        return;
    limitOff = value;
    if (transfer)
        transfer->setLimit(readChunkSize, limitOff);
    emit limitOffChanged();
}

void DownloadManager::startTransfer()
{
    if (!transfer || transfer->asset() != currentAsset) {
        dropTransfer();
        transfer = new AssetTransfer(currentAsset, networkManager, this);
        connect(transfer, &AssetTransfer::progress, this, &DownloadManager::transferProgress);
        connect(transfer, &AssetTransfer::finished, this, &DownloadManager::completeTransfer);
        connect(transfer, &AssetTransfer::failed, this, &DownloadManager::transferFailed);
        connect(transfer, &AssetTransfer::restartDue, this, [this]() {
            try {
                startDownloading();
            } catch (const std::exception& e) {
                reportFailure(QT_TR_NOOP("Unable to restart the download."), e);
            }
        });
    }
    transfer->setIntervals(timeoutInterval, readInterval);
    transfer->setBufferCap(readBufferSize);
    transfer->setSpeedFloor(speedFloor, speedWindowMs);
    transfer->setLimit(readChunkSize, limitOff);
    transfer->setTickObserver(tickObserver);

    currentRemoved = false;
    sizeDisagreements.remove(currentAsset); // asked for again
    transfer->start();
    emit currentDcpChanged();
}

void DownloadManager::dropTransfer()
{
    if (!transfer)
        return;
    transfer->abort();
    transfer->disconnect(this); // nothing stale arrives from it any more
    // Possibly inside one of its own signals: deleted once that has returned.
    transfer->deleteLater();
    transfer = nullptr;
}

void DownloadManager::transferProgress(qint64, bool firstData, double speed)
{
    try {
        Asset* const asset = currentAsset;
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
        emit downloadProgress(speed);
    } catch (const std::exception& e) {
        stopForStoreFailure(e);
    }
}

void DownloadManager::transferFailed(AssetTransfer::Failure failure, const QString& reason)
{
    try {
        Asset* const asset = currentAsset;
        DCP* const dcp = asset->getDCP();
        const bool onDrive = failure == AssetTransfer::Failure::Unwritable ||
                             failure == AssetTransfer::Failure::FileLost ||
                             failure == AssetTransfer::Failure::WriteFailed;
        if (onDrive && driveGone(dcp))
            return;
        switch (failure) {
        case AssetTransfer::Failure::ServerFault:
            emit serverFault(reason);
            if (transfer->failuresInARow() >= 3)
                emit serverNotAnswering(reason);
            break;
        case AssetTransfer::Failure::Interrupted:
            break;
        case AssetTransfer::Failure::ProxyRefused:
            emit proxyRefused(tr("Proxy requires authentication (%1), retrying\u2026").arg(reason));
            break;
        case AssetTransfer::Failure::LinkExpired:
            handleExpiredLinks(dcp, DownloadPrompts::expiredLinksMessage(dcp));
            break;
        case AssetTransfer::Failure::FileMissing:
            handleExpiredLinks(dcp, DownloadPrompts::missingFileMessage(dcp));
            break;
        case AssetTransfer::Failure::Unwritable:
        case AssetTransfer::Failure::FileLost:
            pauseDownloading(true);
            DownloadPrompts::unwritableFile(reason);
            break;
        case AssetTransfer::Failure::SizeMismatch: {
            const QString message = tr("The server's file and the package disagree: %1 bytes on the "
                                       "server, %2 in the package. Downloads of this file wait.")
                                        .arg(reason)
                                        .arg(asset->getSize());
            sizeDisagreements.insert(asset, tr("Server %1 ≠ package %2").arg(reason).arg(asset->getSize()));
            advanceQueue(asset); // the others go on
            emit serverFileDiffers(dcp, message);
            break;
        }
        case AssetTransfer::Failure::WriteFailed: {
            // A full disk pauses with its box; otherwise the next request resumes from
            // what the file really holds.
            const qint64 onDisk = FileManager::getFileSize(asset->getFullPath());
            if (!isEnoughDiskSpace(dcp->getDCPPath(), qMax<qint64>(0, qint64(asset->getSize()) - onDisk)))
                pauseDownloading(true);
            break;
        }
        }
    } catch (const std::exception& e) {
        reportFailure(QT_TR_NOOP("Unable to handle a failed download."), e);
    }
}

void DownloadManager::stopForStoreFailure(const std::exception& e)
{
    // Retrying would fetch data whose progress can never be recorded: stop until the user acts.
    qDebug() << "[DownloadManager] Unable to store the download's progress:" << e.what();
    if (transfer)
        transfer->abort();
    pauseDownloading(true);
    DownloadPrompts::unsavedProgress(QString::fromUtf8(e.what()));
}

void DownloadManager::completeTransfer()
{
    Asset* const asset = currentAsset;
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
        if (isLive(reel) && reel->isDownloaded()) {
            try {
                events(reel, NotificationType::DownloadFinished);
            } catch (const std::exception& e) {
                // Unreported, but the reel must still be verified and the queue move on;
                // thrown out of here, it would leave the engine holding a finished asset.
                qDebug() << "[DownloadManager] Unable to record the finished reel" << reel->getUuid()
                         << e.what();
            }
            handOverToWorker(reel);
        }
    }
    if (DCP* dcp = asset->getDCP())
        dcp->announceAssetFinished();

    try {
        advanceQueue(asset);
    } catch (const std::exception& e) {
        reportFailure(QT_TR_NOOP("Unable to start the next download."), e);
    }
}

void DownloadManager::advanceQueue(Asset* done)
{
    // The finished asset always leaves the queue, also when paused: left at the head it
    // would be fetched and handed to the worker a second time on resume.
    downloadQueue.remove(done);
    dropTransfer();
    currentAsset = nullptr;
    if (isPaused() || currentRemoved)
        return;
    if (downloadQueue.isEmpty() && !listedWaiting)
        emit downloadStandBy();
    else
        startDownloading();
}

void DownloadManager::followDrives(DriveWatch* watch)
{
    drives = watch;
    // Queued: a drive found gone inside a transfer's failure is handled once that has returned.
    connect(watch, &DriveWatch::driveLost, this, &DownloadManager::driveChanged, Qt::QueuedConnection);
    connect(watch, &DriveWatch::driveBack, this, &DownloadManager::driveChanged, Qt::QueuedConnection);
}

bool DownloadManager::driveGone(DCP* dcp)
{
    return drives && dcp && drives->isGone(dcp);
}

void DownloadManager::driveChanged(DCP* dcp)
{
    try {
        if (currentAsset && currentAsset->getDCP() == dcp && !dcp->isDriveConnected()) {
            qDebug() << "[DownloadManager] Drive gone, going on with the other drives:"
                     << dcp->getDownloadPath();
            dropTransfer();
            currentAsset = nullptr;
            emit currentDcpChanged();
        }
        dcp->announceStatus();
        // Back: the transfer goes on from what the file on the drive holds.
        assetsChanged();
        if (!currentAsset && !isPaused())
            emit downloadStandBy(); // nothing on the drives still there: the status bar says so
    } catch (const std::exception& e) {
        reportFailure(QT_TR_NOOP("Unable to update the download queue."), e);
    }
}

void DownloadManager::setHeld(bool value)
{
    if (held == value)
        return;
    try {
        if (value) {
            qDebug() << "[DownloadManager] Held by the schedule";
            held = true;
            stopDownloading();
            if (currentAsset)
                for (Reel* reel : currentAsset->getReels())
                    reel->announcePaused();
            emit pausedChanged();
            emit downloadPaused();
            return;
        }
        qDebug() << "[DownloadManager] No longer held by the schedule";
        stopDownloading();
        held = false;
        startDownloading();
        emit pausedChanged();
        if (!currentAsset && !paused)
            emit downloadStandBy();
    } catch (const std::exception& e) {
        reportFailure(QT_TR_NOOP("Unable to resume the downloads."), e);
    }
}

void DownloadManager::liftHold()
{
    if (!held)
        return;
    held = false;
    emit holdLiftedByHand();
}

QList<DCP*> DownloadManager::orderedDCPs() const
{
    return order.arrange(catalogue.getDCPs());
}

QList<DCP*> DownloadManager::waitingDCPs() const
{
    QList<DCP*> waiting;
    for (DCP* dcp : order.arrange(catalogue.getAllDCPs())) {
        if (dcp->isListedComplete())
            continue;
        const QList<Asset*> assets = dcp->isListedNotStarted() ? QList<Asset*>() : dcp->getAssets();
        if (dcp->isListedNotStarted() ||
            std::any_of(assets.cbegin(), assets.cend(), [](const Asset* a) { return !a->isComplete(); }))
            waiting.append(dcp);
    }
    return waiting;
}

void DownloadManager::pauseDcp(DCP* dcp)
{
    try {
        if (!dcp || !order.setPaused(dcp, true, catalogue.getAllDCPs()))
            return;
        qDebug() << "[DownloadManager] DCP paused:" << dcp->getUuid();
        if (currentAsset && currentAsset->getDCP() == dcp) {
            // Its file stays as far as it got; the next DCP goes on.
            stopDownloading();
            dropTransfer();
            for (Reel* reel : currentAsset->getReels())
                reel->announcePaused();
            currentAsset = nullptr;
            emit currentDcpChanged();
        }
        dcp->announceStatus();
        requeue();
    } catch (const std::exception& e) {
        reportFailure(QT_TR_NOOP("Unable to pause the DCP."), e);
    }
}

void DownloadManager::reorder(DCP* dcp, const std::function<bool()>& change)
{
    try {
        if (!dcp || !change())
            return;
        dcp->announceStatus();
        requeue();
    } catch (const std::exception& e) {
        reportFailure(QT_TR_NOOP("Unable to change the download order."), e);
    }
}

void DownloadManager::resumeDcp(DCP* dcp)
{
    reorder(dcp, [&] { return order.setPaused(dcp, false, catalogue.getAllDCPs()); });
}

void DownloadManager::downloadNext(DCP* dcp)
{
    // Also no longer paused: the user wants it next.
    reorder(dcp, [&] {
        const bool resumed = order.setPaused(dcp, false, catalogue.getAllDCPs());
        return order.moveToFront(dcp, waitingDCPs(), catalogue.getAllDCPs()) || resumed;
    });
}

void DownloadManager::moveUp(DCP* dcp)
{
    reorder(dcp, [&] { return order.move(dcp, -1, waitingDCPs(), catalogue.getAllDCPs()); });
}

void DownloadManager::moveDown(DCP* dcp)
{
    reorder(dcp, [&] { return order.move(dcp, 1, waitingDCPs(), catalogue.getAllDCPs()); });
}

bool DownloadManager::updateRoom(const QList<DCP*>& ordered)
{
    QList<DCP*> queued;
    QSet<const DCP*> shortBefore;
    for (DCP* dcp : ordered) {
        if (!dcp->isListedComplete() && !order.isPaused(dcp))
            queued.append(dcp);
        if (room.shortfall(dcp) > 0)
            shortBefore.insert(dcp);
    }
    if (!room.update(queued))
        return false;
    bool joinedOrLeft = false;
    for (DCP* dcp : ordered) {
        if (shortBefore.contains(dcp) != (room.shortfall(dcp) > 0)) {
            joinedOrLeft = true;
            dcp->announceStatus();
        }
    }
    qDebug() << "[DownloadManager] Room on the drives:" << room.firstWarning(ordered);
    emit roomChanged();
    return joinedOrLeft;
}

void DownloadManager::refreshRoom()
{
    try {
        if (updateRoom(orderedDCPs()))
            requeue();
    } catch (const std::exception& e) {
        qDebug() << "[DownloadManager] Unable to look at the room on the drives:" << e.what();
    }
}
