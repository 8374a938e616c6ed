#include "download/DownloadManager.h"
#include "core/NetworkSetup.h"

#include "download/ChecksumVerdicts.h"
#include "download/ChecksumWorker.h"
#include "download/DownloadPrompts.h"
#include "download/KeptFiles.h"
#include "download/TransferOutcomes.h"
#include "download/VerifiedReelReveal.h"
#include "model/DCP.h"
#include "model/DCPManager.h"
#include "model/Reel.h"
#include "model/ScriptOwnership.h"
#include "storage/DatabaseManager.h"
#include "storage/Setting.h"

#include <QDebug>
#include <QNetworkAccessManager>

#include <algorithm>
#include <limits>

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
      order(store), drives(std::make_unique<DownloadDrives>(store, order)),
      networkManager(new QNetworkAccessManager(this))
{
    NetworkSetup::prepare(networkManager);
    paused = settings.get(QStringLiteral("download_paused")) == QLatin1String("1");
    limitOff = settings.get(QStringLiteral("download_limit_off")) == QLatin1String("1");

    verdicts = new ChecksumVerdicts(this, catalogue, store, this->events);
    checksumWorker = verdicts->getWorker();
    outcomes = std::make_unique<TransferOutcomes>(*this, *drives, store, this->events);
    kept = std::make_unique<KeptFiles>(store, this->events, *verdicts,
                                       [this](Asset* asset) { redownload(asset); });
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
    connect(&drives->room(), &DriveRoom::lookAgain, this, &DownloadManager::refreshRoom);
    connect(drives.get(), &DownloadDrives::roomChanged, this, &DownloadManager::roomChanged);
    connect(drives.get(), &DownloadDrives::driveChanged, this, &DownloadManager::driveChanged);
    // Progress the store gathered and could not commit: stopped as when its write fails.
    store.setCommitFailureHandler([this](const std::exception& e) { outcomes->storeFailed(e); });
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
    kept->keep(assets);
}

int DownloadManager::keptUnchecked(DCP* dcp) const
{
    return kept->unchecked(dcp);
}

void DownloadManager::stopCheckingKept(DCP* dcp)
{
    if (kept->stopChecking(dcp))
        updateActive();
}

bool DownloadManager::isLive(const Reel* reel)
{
    return reel->getDCP() && reel->getDCP()->getReels().contains(const_cast<Reel*>(reel));
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
    outcomes->forget(asset);
    kept->forget(asset);
    // Compared by object, not by uuid: another DCP may hold the same asset uuid.
    if (currentAsset && currentAsset == asset) {
        currentRemoved = true;
        dropCurrent();
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
    drives->update(dcps);
    for (DCP* dcp : dcps) {
        if (dcp == chosen || dcp->isListedComplete())
            continue;
        // Paused on its own, or short of room on its drive: its turn is skipped.
        const bool skipped = order.isPaused(dcp) || drives->room().shortfall(dcp) > 0;
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
    if (!currentAsset && !isPaused())
        startNextOrStandBy();
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

        dropCurrent();
        rebuildQueue(false, dcp);
        if (!downloadQueue.isEmpty())
            unpause();
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

    if (drives->isGone(currentAsset->getDCP()))
        return; // the queue is rebuilt without the DCP
    if (!drives->hasRoomFor(currentAsset)) {
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
        tellPaused();
    } catch (const std::exception& e) {
        reportFailure(QT_TR_NOOP("Unable to pause the downloads."), e);
    }
}

void DownloadManager::resumeDownloading()
{
    try {
        stopDownloading();
        unpause();
    } catch (const std::exception& e) {
        reportFailure(QT_TR_NOOP("Unable to resume the downloads."), e);
    }
}

void DownloadManager::unpause()
{
    paused = false;
    persistPaused(false);
    liftHold();
    startDownloading();
    emit pausedChanged();
}

void DownloadManager::tellPaused()
{
    if (currentAsset)
        for (Reel* reel : currentAsset->getReels())
            reel->announcePaused();
    emit pausedChanged();
    emit downloadPaused();
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
        if (currentRemoved)
            startNextOrStandBy();
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
        if (currentRemoved)
            startNextOrStandBy();
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

QString DownloadManager::sizeDisagreement(DCP* dcp) const
{
    return outcomes->sizeDisagreement(dcp);
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
    DownloadPrompts::failure(what, tr, e);
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
        connect(transfer, &AssetTransfer::progress, this, [this](qint64, bool firstData, double speed) {
            outcomes->progress(currentAsset, firstData, speed);
        });
        connect(transfer, &AssetTransfer::finished, this, [this]() { outcomes->finished(currentAsset); });
        connect(transfer, &AssetTransfer::failed, this,
                [this](AssetTransfer::Failure failure, const QString& reason) {
                    outcomes->failed(currentAsset, failure, reason, transfer->failuresInARow());
                });
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
    outcomes->forget(currentAsset); // asked for again
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

void DownloadManager::abortTransfer()
{
    if (transfer)
        transfer->abort();
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
    startNextOrStandBy();
}

void DownloadManager::startNextOrStandBy()
{
    if (!downloadQueue.isEmpty() || listedWaiting)
        startDownloading();
    else
        emit downloadStandBy();
}

void DownloadManager::dropCurrent()
{
    stopDownloading();
    dropTransfer();
    currentAsset = nullptr;
}

void DownloadManager::driveChanged(DCP* dcp)
{
    try {
        if (currentAsset && currentAsset->getDCP() == dcp && !dcp->isDriveConnected()) {
            qDebug() << "[DownloadManager] Drive gone, going on with the other drives:"
                     << dcp->getDownloadPath();
            dropCurrent();
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
            tellPaused();
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

void DownloadManager::refreshRoom()
{
    try {
        if (drives->update(orderedDCPs()))
            requeue();
    } catch (const std::exception& e) {
        qDebug() << "[DownloadManager] Unable to look at the room on the drives:" << e.what();
    }
}
