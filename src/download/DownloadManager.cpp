#include "download/DownloadManager.h"

#include "app/UserPrompt.h"
#include "download/ChecksumWorker.h"
#include "download/FileManager.h"
#include "model/DCP.h"
#include "model/DCPManager.h"
#include "model/Reel.h"
#include "notify/NotificationManager.h"
#include "storage/DatabaseManager.h"
#include "storage/Setting.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <QNetworkAccessManager>
#include <QNetworkRequest>
#include <QQmlEngine>
#include <QRegularExpression>
#include <QStorageInfo>
#include <QThread>
#include <QTimer>
#include <QUrl>

#include <algorithm>
#include <limits>

namespace {

// Time of the last speed sample, shared by all transfers.
qint64 last_ms = -1;

int httpStatus(const QNetworkReply* reply)
{
    return reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
}

// First byte position of a "bytes first-last/total" Content-Range value.
bool contentRangeStart(const QByteArray& value, qint64* start)
{
    static const QRegularExpression pattern(QStringLiteral("^\\s*bytes\\s+(\\d+)-(\\d+)/(\\d+|\\*)\\s*$"),
                                            QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = pattern.match(QString::fromLatin1(value));
    if (!match.hasMatch())
        return false;
    bool ok = false;
    *start = match.captured(1).toLongLong(&ok);
    return ok;
}

QString missingFileMessage(const DCP* dcp)
{
    return QStringLiteral("One of the files for DCP %1 is missing and can not be downloaded. "
                          "You won't be able to finish the given download.")
        .arg(dcp->getFriendlyTitle());
}

bool isLive(const Reel* reel)
{
    return reel->getDCP() && reel->getDCP()->getReels().contains(const_cast<Reel*>(reel));
}

} // namespace

DownloadManager* DownloadManager::m_instance = nullptr;

DownloadManager* DownloadManager::getInstance()
{
    if (!m_instance)
        m_instance = new DownloadManager();
    return m_instance;
}

DownloadManager::DownloadManager() : QObject(nullptr), networkManager(new QNetworkAccessManager(this))
{
    paused = Setting::getInstance()->get(QStringLiteral("download_paused")) == QLatin1String("1");

    workerThread = new QThread();
    checksumWorker = new ChecksumWorker(this);
    checksumWorker->moveToThread(workerThread);
    connect(workerThread, &QThread::started, checksumWorker, &ChecksumWorker::process);
    connect(checksumWorker, &ChecksumWorker::finished, workerThread, &QThread::quit);
    connect(checksumWorker, &ChecksumWorker::finished, checksumWorker, &QObject::deleteLater);
    connect(workerThread, &QThread::finished, workerThread, &QObject::deleteLater);
    // The worker raises this from inside its validation; the retry always runs later on the
    // main thread's event loop, never nested in the worker's hand-over.
    connect(this, &DownloadManager::assetNeedsRedownloading, [this](Asset* asset) {
        QMetaObject::invokeMethod(
            this, [this, asset]() { retryAssetDownload(asset); }, Qt::QueuedConnection);
    });
    workerThread->start(QThread::InheritPriority);

    QQmlEngine::setObjectOwnership(this, QQmlEngine::CppOwnership);
}

DownloadManager::~DownloadManager()
{
    // Only reached through resetForTesting(): the program never destroys the engine.
    paused = true;
    if (timeoutTimer)
        timeoutTimer->stop();
    if (readTimer)
        readTimer->stop();
    QNetworkReply* reply = currentReply;
    releaseReply();
    if (reply && reply->isRunning())
        reply->abort();
    if (currentAsset)
        currentAsset->closeFileHandle();
    if (checksumWorker) {
        checksumWorker->requestStop();
        // The worker may be waiting for the main thread; keep serving it until it ends.
        while (!workerThread->wait(5))
            QCoreApplication::processEvents();
    }
}

void DownloadManager::resetForTesting()
{
    DownloadManager* old = m_instance;
    m_instance = nullptr;
    delete old;
    last_ms = -1;
}

// ---------------------------------------------------------------------------------------
// Queue

void DownloadManager::addDownloadItem(Asset* asset, bool force)
{
    if (force) {
        downloadQueue.append(asset);
        return;
    }
    if (getDownloadItem(asset))
        return;
    downloadQueue.append(asset);
    downloadItems.insert(asset->key(), asset);
}

Asset* DownloadManager::getDownloadItem(const Asset* asset) const
{
    return downloadItems.value(asset->key(), nullptr);
}

void DownloadManager::forgetQueued(Asset* asset)
{
    downloadQueue.removeAll(asset);
    const AssetKey key = asset->key();
    if (downloadItems.value(key) == asset)
        downloadItems.remove(key);
}

void DownloadManager::forgetRemoved(Asset* asset)
{
    // Compared by object, not by uuid: another DCP may hold the same asset uuid.
    if (currentAsset && currentAsset == asset) {
        currentRemoved = true;
        stopDownloading();
        currentAsset->closeFileHandle();
        currentAsset = nullptr;
    }
    forgetQueued(asset);
}

void DownloadManager::handOverToWorker(Reel* reel)
{
    emit reel->downloadCheckingChecksum();
    checksumWorker->addToWorker(reel);
    if (reel->getDCP())
        emit reel->getDCP()->statusChanged();
}

void DownloadManager::assetsChanged()
{
    try {
        downloadQueue.clear();
        downloadItems.clear();
        if (currentAsset)
            addDownloadItem(currentAsset, false);

        const QList<DCP*> dcps = DCPManager::getInstance()->getDCPs();
        for (DCP* dcp : dcps) {
            const QList<Reel*> reels = dcp->getReels();
            for (Reel* reel : reels) {
                bool needsValidation = false;
                for (Asset* asset : reel->getAssets()) {
                    if (asset->getDownloadFinished() && !asset->getDownloadChecksummed() &&
                        !asset->getDownloadCorrupted())
                        needsValidation = true;
                    else if (!asset->isComplete())
                        addDownloadItem(asset, false);
                }
                // Downloaded before the program was closed but never verified.
                if (needsValidation && reel->isDownloaded())
                    handOverToWorker(reel);
            }
        }

        if (!downloadQueue.isEmpty() && !currentAsset && !paused)
            startDownloading();
    } catch (const std::exception& e) {
        reportFailure(QStringLiteral("Unable to update the download queue."), e);
    }
}

void DownloadManager::startDownloading(DCP* dcp)
{
    if (!dcp)
        return;
    try {
        qDebug() << "[DownloadManager] Starting downloading FOR DCP:" << dcp->getUuid();
        DCP* previous = currentAsset ? currentAsset->getDCP() : nullptr;

        stopDownloading();
        downloadQueue.clear();
        downloadItems.clear();

        auto queueEligible = [this](const DCP* from) {
            for (Reel* reel : from->getReels())
                for (Asset* asset : reel->getAssets())
                    if (!asset->isComplete())
                        addDownloadItem(asset, false);
        };
        queueEligible(dcp);
        const QList<DCP*> dcps = DCPManager::getInstance()->getDCPs();
        for (const DCP* other : dcps)
            if (other->getUuid() != dcp->getUuid())
                queueEligible(other);

        currentAsset = nullptr;
        if (!downloadQueue.isEmpty()) {
            paused = false;
            persistPaused(false);
            startDownloading();
            emit pausedChanged();
        }
        if (previous)
            emit previous->statusChanged();
    } catch (const std::exception& e) {
        reportFailure(QStringLiteral("Unable to start downloading the DCP."), e);
    }
}

void DownloadManager::startDownloading()
{
    qDebug() << "[DownloadManager] Starting downloading..." << downloadQueue.size() << "items remaining";
    if (paused) {
        qDebug() << "[DownloadManager] Downloads are Paused...";
        return;
    }
    if (downloadQueue.isEmpty()) {
        qDebug() << "[DownloadManager] No assets to download...";
        return;
    }
    if (currentReply && !currentReply->isFinished()) {
        qDebug() << "!!!Prevented double download leak!!!";
        return;
    }
    if (!currentAsset)
        currentAsset = downloadQueue.first();

    if (!isEnoughDiskSpace(currentAsset->getDCP()->getDCPPath(), qint64(currentAsset->getSize()))) {
        pauseDownloading(true);
        return;
    }
    startTransfer();
}

void DownloadManager::stopDownloading()
{
    if (!currentReply || !currentReply->isRunning())
        return;
    if (timeoutTimer)
        timeoutTimer->stop();
    if (readTimer)
        readTimer->stop();
    qDebug() << "[DownloadManager] Aborting download";
    QNetworkReply* reply = currentReply;
    reply->abort();
    // Aborting finishes the reply synchronously through downloadFinished(); make sure of it.
    if (currentReply == reply) {
        if (currentAsset)
            currentAsset->closeFileHandle();
        releaseReply();
    }
    qDebug() << "[DownloadManager] Finished Aborting download";
}

bool DownloadManager::isEnoughDiskSpace(const QString& path, qint64 size)
{
    qDebug() << "[DownloadManager] Asset size:" << size;
    const qint64 available = freeSpace(path);
    qDebug() << "[DownloadManager] Available Disk space" << path << ":" << available;
    if (available > size)
        return true;
    UserPrompt::message(
        QMessageBox::Critical, QStringLiteral("Not enough disk space"),
        QStringLiteral("You have ran out of disk space so we paused your download.\r\n\r\n"
                       "Please free up some space and hit the resume button once you're ready."),
        QMessageBox::Ok);
    return false;
}

qint64 DownloadManager::freeSpace(const QString& path) const
{
    if (freeSpaceProbe)
        return freeSpaceProbe(path);
    return QStorageInfo(path).bytesAvailable();
}

void DownloadManager::persistPaused(bool value)
{
    Setting* settings = Setting::getInstance();
    settings->set(QStringLiteral("download_paused"), value ? QStringLiteral("1") : QStringLiteral("0"));
    settings->save();
}

void DownloadManager::pauseDownloading(bool force)
{
    try {
        if (!force && !(currentReply && currentReply->isRunning()))
            return;
        paused = true;
        stopDownloading();
        persistPaused(true);
        if (currentAsset) {
            for (Reel* reel : currentAsset->getReels()) {
                emit reel->downloadPaused();
                if (reel->getDCP())
                    emit reel->getDCP()->statusChanged();
            }
        }
        emit pausedChanged();
        emit downloadPaused();
    } catch (const std::exception& e) {
        reportFailure(QStringLiteral("Unable to pause the downloads."), e);
    }
}

void DownloadManager::resumeDownloading()
{
    try {
        stopDownloading();
        paused = false;
        persistPaused(false);
        startDownloading();
        emit pausedChanged();
    } catch (const std::exception& e) {
        reportFailure(QStringLiteral("Unable to resume the downloads."), e);
    }
}

void DownloadManager::retryAssetDownload(Asset* asset)
{
    try {
        qDebug() << "[DownloadManager] Giving corrupted Asset another chance..." << asset->getUuid();
        const QList<Reel*> reels = asset->getReels();
        if (std::none_of(reels.cbegin(), reels.cend(), &ChecksumWorker::isListed)) {
            // Its DCP or reel was removed meanwhile: the user no longer wants this file.
            qDebug() << "[DownloadManager] Asset no longer listed, not downloaded again:" << asset->getUuid();
            return;
        }
        downloadQueue.append(asset);
        if (!currentAsset && !paused)
            startDownloading();
    } catch (const std::exception& e) {
        reportFailure(QStringLiteral("Unable to download a corrupted file again."), e);
    }
}

bool DownloadManager::removeDownload(DCP* dcp)
{
    if (!dcp)
        return false;
    try {
        const QList<Asset*> assets = dcp->getAssets();
        for (Asset* asset : assets) {
            forgetRemoved(asset);
        }
        DatabaseManager::getInstance()->removeDCP(dcp);
        DCPManager::getInstance()->removeDCP(dcp);

        if (currentRemoved && !downloadQueue.isEmpty())
            startDownloading();
        else
            emit downloadStandBy();
        return true;
    } catch (const std::exception& e) {
        reportFailure(QStringLiteral("Unable to remove the DCP."), e);
        // The DCP is still listed: give its assets their places in the queue back.
        assetsChanged();
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
            UserPrompt::message(
                QMessageBox::Warning,
                QStringLiteral("The current Reel is in validation(checksum) process, please wait "
                               "until this is finished and try again."),
                QString(), QMessageBox::Ok);
            return;
        }

        DCP* dcp = reel->getDCP();
        const QList<Asset*> assets = reel->getAssets();
        dcp->removeReel(reel);

        for (Asset* asset : assets) {
            forgetRemoved(asset);

            // An asset that another reel still lists keeps its object and its file: that
            // reel points at it and would otherwise be left with a dangling pointer.
            bool shared = false;
            for (const Reel* other : asset->getReels())
                if (other != reel && isLive(other))
                    shared = true;
            if (shared)
                continue;
            asset->removeFromFileSystem();
            DCPManager::getInstance()->removeAsset(asset);
            delete asset;
        }
        DCPManager::getInstance()->removeReel(reel);

        if (currentRemoved && !downloadQueue.isEmpty())
            startDownloading();
        else
            emit downloadStandBy();

        qDebug() << "[DownloadManager] Emitting reelsChanged...";
        emit dcp->reelsChanged();
        emit dcp->finishedChanged();

        if (dcp->getReels().isEmpty())
            removeDownload(dcp);
    } catch (const std::exception& e) {
        reportFailure(QStringLiteral("Unable to remove the reel."), e);
    }
}

void DownloadManager::handleExpiredLinks(DCP* dcp, const QString& message)
{
    pauseDownloading(true);
    qDebug() << "[DownloadManager] HandleExpiredLinks" << message;
    const QMessageBox::StandardButton answer = UserPrompt::message(
        QMessageBox::Critical, QStringLiteral("Download links expired"),
        message + QStringLiteral(
                      "\r\n\r\nDo you want to remove outdated DCP?\r\n(This will NOT DELETE the files on "
                      "your hard drive but simply remove the DCP from the Reelvane Downloader)"),
        QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    if (answer != QMessageBox::Yes)
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
    emit readChunkSizeChanged();
}

void DownloadManager::reportFailure(const QString& what, const std::exception& e)
{
    qDebug() << "[DownloadManager] Error:" << what << e.what();
    UserPrompt::message(QMessageBox::Critical, what, QString::fromUtf8(e.what()), QMessageBox::Ok);
}

// ---------------------------------------------------------------------------------------
// Transfer

void DownloadManager::startTransfer()
{
    if (timeoutTimer) {
        timeoutTimer->stop();
    } else {
        timeoutTimer = new QTimer(this);
        timeoutTimer->setTimerType(Qt::PreciseTimer);
        connect(timeoutTimer, &QTimer::timeout, this, &DownloadManager::downloadTimedOut);
        timeoutTimer->setSingleShot(true);
    }
    timeoutTimer->start(timeoutInterval);

    if (readTimer) {
        readTimer->stop();
    } else {
        readTimer = new QTimer(this);
        readTimer->setTimerType(Qt::PreciseTimer);
        connect(readTimer, &QTimer::timeout, this, &DownloadManager::downloadReadyRead);
    }
    readTimer->setInterval(readInterval);
    readTimer->start(readInterval);

    currentRemoved = false;
    resumeOffset = FileManager::getFileSize(currentAsset->getFullPath());
    bodyChecked = false;
    bodyFlowing = false;
    finishDespiteError = false;
    carriedAllowance = 0;

    QNetworkRequest request(QUrl(currentAsset->getDownloadUrl(), QUrl::TolerantMode));
    request.setRawHeader("Range", "bytes=" + QByteArray::number(resumeOffset) + "-");
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    // Over HTTP/2 Qt does not honour the read-buffer cap, and memory grows with the file.
    request.setAttribute(QNetworkRequest::Http2AllowedAttribute, false);

    currentReply = networkManager->get(request);
    currentReply->setReadBufferSize(readBufferSize);
    connect(currentReply, &QNetworkReply::finished, this, &DownloadManager::downloadFinished);
    connect(currentReply, &QNetworkReply::errorOccurred, this, &DownloadManager::error);
    connect(currentReply, &QNetworkReply::metaDataChanged, this, &DownloadManager::metaDataChanged);

    emit currentDcpChanged();
}

void DownloadManager::releaseReply()
{
    QNetworkReply* reply = currentReply;
    currentReply = nullptr;
    if (!reply)
        return;
    reply->disconnect(this);
    reply->deleteLater();
}

void DownloadManager::failTransfer()
{
    // The stall timer stays armed: when it fires the asset is asked for again from the
    // file's length on disk.
    if (readTimer)
        readTimer->stop();
    if (currentAsset)
        currentAsset->closeFileHandle();
    QNetworkReply* reply = currentReply;
    releaseReply();
    if (reply && reply->isRunning())
        reply->abort();
}

void DownloadManager::abandonTransfer()
{
    if (timeoutTimer)
        timeoutTimer->stop();
    failTransfer();
}

void DownloadManager::metaDataChanged()
{
    auto* reply = qobject_cast<QNetworkReply*>(sender());
    if (reply && reply == currentReply)
        reply->setReadBufferSize(readBufferSize);
}

void DownloadManager::downloadReadyRead()
{
    if (inTick)
        return;
    inTick = true;
    try {
        readTick();
    } catch (const std::exception& e) {
        // Never let a failing store or queue stop the event loop: retry the transfer later.
        qDebug() << "[DownloadManager] Error during read:" << e.what();
        failTransfer();
    }
    inTick = false;
}

bool DownloadManager::checkBodyStart(QFile* file)
{
    bodyChecked = true;
    const qint64 have = file->size();
    if (httpStatus(currentReply) == 200) {
        if (have > 0) {
            // The server ignored the Range header and sends the whole file: appending it
            // would corrupt the file, so start it again from its first byte.
            qDebug() << "[DownloadManager] Whole file sent for a resumed request, restarting from byte 0:"
                     << currentAsset->getUuid();
            if (!file->resize(0)) {
                qDebug() << "[DownloadManager] Unable to empty" << currentAsset->getFullPath();
                failTransfer();
                return false;
            }
        }
        return true;
    }

    qint64 start = 0;
    if (!contentRangeStart(currentReply->rawHeader("Content-Range"), &start) || start == have)
        return true;
    if (start < have) {
        qDebug() << "[DownloadManager] Content-Range starts at" << start << "before the file's length" << have
                 << ", cutting the file back";
        if (file->resize(start))
            return true;
        qDebug() << "[DownloadManager] Unable to cut" << currentAsset->getFullPath();
    } else {
        qDebug() << "[DownloadManager] Content-Range starts at" << start << "after the file's length" << have
                 << ", nothing written";
    }
    failTransfer();
    return false;
}

void DownloadManager::readTick()
{
    if (!currentReply || !currentAsset)
        return;
    QNetworkReply* const reply = currentReply;
    const qint64 available = reply->bytesAvailable();
    if (available <= 0) {
        // The reply buffer ran dry while the body flows: keep this tick's allowance for the
        // ticks after the refill, so that the average rate reaches the limit.
        if (bodyFlowing && !reply->isFinished())
            carriedAllowance = qMin<quint64>(carriedAllowance + readChunkSize, readBufferSize);
        return;
    }
    const int status = httpStatus(reply);
    if (reply->error() != QNetworkReply::NoError || (status != 206 && status != 200))
        return;

    timeoutTimer->start(timeoutInterval);

    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    if (last_ms < 0)
        last_ms = now;
    const qint64 elapsed = qAbs(now - last_ms);

    Asset* const asset = currentAsset;
    QFile* file = nullptr;
    try {
        file = asset->getFileHandle();
    } catch (const std::exception& e) {
        // Typically the drive was removed: stop and let the user decide, rather than retry.
        const QString path = asset->getFullPath();
        qDebug() << "[DownloadManager] Unable to open" << path << e.what();
        abandonTransfer();
        pauseDownloading(true);
        UserPrompt::message(QMessageBox::Critical, QStringLiteral("Unable to write the download"),
                            QStringLiteral("The file %1 can not be opened for writing, so we paused your "
                                           "download.\r\n\r\nPlease check that the drive is connected and "
                                           "writable, then hit the resume button.")
                                .arg(path),
                            QMessageBox::Ok);
        return;
    }

    if (!bodyChecked && !checkBodyStart(file))
        return;

    QByteArray data;
    if (reply->isFinished()) {
        data = reply->readAll();
    } else {
        const quint64 allowance = quint64(readChunkSize) + carriedAllowance;
        data = reply->read(qMin<qint64>(qint64(allowance), available));
        carriedAllowance = qMin<quint64>(allowance - quint64(data.size()), readBufferSize);
    }
    bodyFlowing = true;

    const qint64 written = file->write(data);
    if (written > 0)
        bytesSinceSample += quint64(written);
    const bool flushed = file->flush();
    if (written != data.size())
        qDebug() << "[DownloadManager] Warning: dropped bytes" << written << "of" << data.size();
    if (!flushed)
        qDebug() << "[DownloadManager] Warning: flush() failed.";
    if (written != data.size() || !flushed) {
        // The reply cannot give these bytes again: end this request so that the next one
        // resumes from what the file really holds. A full disk pauses with its box.
        failTransfer();
        if (!isEnoughDiskSpace(asset->getDCP()->getDCPPath(), qint64(asset->getSize())))
            pauseDownloading(true);
        return;
    }

    if (!asset->getDownloadStarted()) {
        asset->setDownloadStarted(true);
        DatabaseManager::getInstance()->updateAssetDownloadFields(asset);
    }
    const QList<Reel*> reels = asset->getReels();
    for (Reel* reel : reels)
        NotificationManager::getInstance()->addToQueue(reel, NotificationType::DownloadStarted);

    if (elapsed <= 199)
        return;

    const double speed = double(bytesSinceSample) * 1000.0 / double(elapsed);
    last_ms = now;
    bytesSinceSample = 0;
    for (Reel* reel : reels) {
        emit reel->downloadProgress(qulonglong(speed));
        if (reel->getDCP())
            emit reel->getDCP()->downloadProgress();
        const quint64 total = reel->getTotalSize();
        if (total == 0)
            continue;
        const quint64 percent = reel->getDownloadedSize() * 100 / total;
        if (percent >= 75)
            NotificationManager::getInstance()->addToQueue(reel, NotificationType::DownloadProgress75);
        else if (percent >= 50)
            NotificationManager::getInstance()->addToQueue(reel, NotificationType::DownloadProgress50);
        else if (percent >= 25)
            NotificationManager::getInstance()->addToQueue(reel, NotificationType::DownloadProgress25);
    }
    emit downloadProgress(speed);
}

void DownloadManager::error(QNetworkReply::NetworkError code)
{
    auto* reply = qobject_cast<QNetworkReply*>(sender());
    if (!reply || reply != currentReply)
        return;
    const int status = httpStatus(reply);
    qDebug() << "[DownloadManager] Error" << code << "HTTP status code:" << status;
    if (code == QNetworkReply::OperationCanceledError || !currentAsset)
        return;

    try {
        DCP* dcp = currentAsset->getDCP();
        if (status == 403 || status == 404) {
            abandonTransfer();
            handleExpiredLinks(dcp, missingFileMessage(dcp));
        } else if (status == 400) {
            abandonTransfer();
            handleExpiredLinks(
                dcp, QStringLiteral("Download links for DCP %1 expired. You won't be able to finish "
                                    "the given download.")
                         .arg(dcp->getFriendlyTitle()));
        } else if (status == 416 && quint64(FileManager::getFileSize(currentAsset->getFullPath())) >=
                                        currentAsset->getSize()) {
            // Nothing left to ask for: the file is complete as far as its size goes, and the
            // digest check decides whether it is right.
            qDebug() << "[DownloadManager] Range not satisfiable for a complete file, finishing asset:"
                     << currentAsset->getUuid();
            finishDespiteError = true;
        }
    } catch (const std::exception& e) {
        reportFailure(QStringLiteral("Unable to handle a rejected download."), e);
    }
}

void DownloadManager::downloadTimedOut()
{
    qDebug() << "[DownloadManager] Timeout reached...";
    try {
        stopDownloading();
        startDownloading();
    } catch (const std::exception& e) {
        reportFailure(QStringLiteral("Unable to restart the download."), e);
    }
}

void DownloadManager::downloadFinished()
{
    auto* reply = qobject_cast<QNetworkReply*>(sender());
    if (!reply || reply != currentReply)
        return;

    downloadReadyRead();
    if (currentReply != reply)
        return; // the read ended the transfer itself

    try {
        if (currentAsset)
            currentAsset->closeFileHandle();

        if (!currentAsset || (reply->error() != QNetworkReply::NoError && !finishDespiteError)) {
            releaseReply();
            if (readTimer)
                readTimer->stop();
            return;
        }

        const QVariant target = reply->attribute(QNetworkRequest::RedirectionTargetAttribute);
        if (target.isValid() && !finishDespiteError) {
            Asset* asset = currentAsset;
            if (asset->getRemainingRedirects() <= 0) {
                qDebug() << "[DownloadManager] Reached max redirects for asset:" << asset->getUuid();
            } else {
                QUrl url = target.toUrl();
                if (url.isRelative())
                    url = QUrl(asset->getDownloadUrl(), QUrl::TolerantMode).resolved(url);
                const QString scheme = url.scheme().toLower();
                if (scheme != QLatin1String("http") && scheme != QLatin1String("https")) {
                    // Nothing the program can fetch: the same case as a missing file.
                    qDebug() << "[DownloadManager] Redirect to an unsupported address" << url
                             << "for asset:" << asset->getUuid();
                    abandonTransfer();
                    DCP* dcp = asset->getDCP();
                    handleExpiredLinks(dcp, missingFileMessage(dcp));
                    return;
                }
                asset->setRemainingRedirects(asset->getRemainingRedirects() - 1);
                qDebug() << "[DownloadManager] Redirect URL (" << url << ") for asset:" << asset->getUuid();
                asset->setDownloadUrl(url.toString());
                releaseReply();
                if (readTimer)
                    readTimer->stop();
                startDownloading();
                return;
            }
        }
        completeTransfer();
    } catch (const std::exception& e) {
        reportFailure(QStringLiteral("Unable to finish the download of a file."), e);
    }
}

void DownloadManager::completeTransfer()
{
    releaseReply();
    timeoutTimer->stop();
    readTimer->stop();

    Asset* const asset = currentAsset;
    qDebug() << "[DownloadManager] Download finished for Asset" << asset->getUuid();
    bytesSinceSample = 0;

    asset->setDownloadFinished(true);
    try {
        DatabaseManager::getInstance()->updateAssetDownloadFields(asset);
    } catch (const std::exception& e) {
        // The flag holds in memory; at the next start the complete file is finished again.
        qDebug() << "[DownloadManager] Unable to store the finished asset" << asset->getUuid() << e.what();
    }

    const QList<Reel*> reels = asset->getReels();
    for (Reel* reel : reels) {
        if (isLive(reel) && reel->isDownloaded()) {
            try {
                NotificationManager::getInstance()->addToQueue(reel, NotificationType::DownloadFinished);
            } catch (const std::exception& e) {
                // Unreported, but the reel must still be verified and the queue move on;
                // thrown out of here, it would leave the engine holding a finished asset.
                qDebug() << "[DownloadManager] Unable to record the finished reel" << reel->getUuid()
                         << e.what();
            }
            handOverToWorker(reel);
        }
    }
    if (DCP* dcp = asset->getDCP()) {
        emit dcp->downloadFinished();
        emit dcp->finishedChanged();
    }

    advanceQueue(asset);
}

void DownloadManager::advanceQueue(Asset* done)
{
    // The finished asset always leaves the queue, also when paused: left at the head it
    // would be fetched and handed to the worker a second time on resume.
    forgetQueued(done);
    currentAsset = nullptr;
    if (paused || currentRemoved)
        return;
    if (downloadQueue.isEmpty())
        emit downloadStandBy();
    else
        startDownloading();
}
