#include "download/DownloadManager.h"

#include "app/UserPrompt.h"
#include "download/ChecksumWorker.h"
#include "download/FileManager.h"
#include "model/DCP.h"
#include "model/DCPManager.h"
#include "model/Reel.h"
#include "model/ScriptOwnership.h"
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
#include <QRegularExpression>
#include <QStorageInfo>
#include <QThread>
#include <QTimer>
#include <QUrl>

#include <algorithm>
#include <limits>

#include <sys/stat.h>

namespace {

// Time of the last speed sample, shared by all transfers.
qint64 last_ms = -1;

int httpStatus(const QNetworkReply* reply)
{
    return reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
}

// First byte position and total (-1 for "*") of a "bytes first-last/total" Content-Range value.
bool contentRange(const QByteArray& value, qint64* start, qint64* total)
{
    static const QRegularExpression pattern(QStringLiteral("^\\s*bytes\\s+(\\d+)-(\\d+)/(\\d+|\\*)\\s*$"),
                                            QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = pattern.match(QString::fromLatin1(value));
    if (!match.hasMatch())
        return false;
    bool ok = false;
    *start = match.captured(1).toLongLong(&ok);
    if (!ok)
        return false;
    *total = match.captured(3) == QLatin1String("*") ? -1 : match.captured(3).toLongLong(&ok);
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
    limitOff = Setting::getInstance()->get(QStringLiteral("download_limit_off")) == QLatin1String("1");

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

    ScriptOwnership::keepOwnedByProgram(this);
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
    closeFile();
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
        closeFile();
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
    if (currentReply) { // running, or finished and still being written
        qDebug() << "!!!Prevented double download leak!!!";
        return;
    }
    if (!currentAsset)
        currentAsset = downloadQueue.first();

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
    if (!currentReply)
        return;
    if (timeoutTimer)
        timeoutTimer->stop();
    if (readTimer)
        readTimer->stop();
    qDebug() << "[DownloadManager] Aborting download";
    QNetworkReply* reply = currentReply;
    // A finished reply whose body is still being written is dropped with what it holds.
    if (reply->isRunning())
        reply->abort();
    // Aborting finishes the reply synchronously through downloadFinished(); make sure of it.
    if (currentReply == reply) {
        closeFile();
        releaseReply();
    }
    qDebug() << "[DownloadManager] Finished Aborting download";
}

bool DownloadManager::isEnoughDiskSpace(const QString& path, qint64 size)
{
    qDebug() << "[DownloadManager] Asset size:" << size;
    if (!QFileInfo(path).isDir()) {
        // A pulled drive or a deleted folder, not a full disk.
        qDebug() << "[DownloadManager] Download folder is missing:" << path;
        UserPrompt::message(Prompt::Critical, QStringLiteral("Unable to write the download"),
                            QStringLiteral("The folder %1 is missing, so we paused your download.\r\n\r\n"
                                           "Please check that the drive is connected, then hit the resume "
                                           "button.")
                                .arg(path),
                            Prompt::Ok);
        return false;
    }
    const qint64 available = freeSpace(path);
    qDebug() << "[DownloadManager] Available Disk space" << path << ":" << available;
    if (available > size)
        return true;
    UserPrompt::message(
        Prompt::Critical, QStringLiteral("Not enough disk space"),
        QStringLiteral("You have ran out of disk space so we paused your download.\r\n\r\n"
                       "Please free up some space and hit the resume button once you're ready."),
        Prompt::Ok);
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
        if (!force && !(currentReply && (currentReply->isRunning() || replyDone)))
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
                Prompt::Warning,
                QStringLiteral("The current Reel is in validation(checksum) process, please wait "
                               "until this is finished and try again."),
                QString(), Prompt::Ok);
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
    const Prompt::StandardButton answer = UserPrompt::message(
        Prompt::Critical, QStringLiteral("Download links expired"),
        message + QStringLiteral(
                      "\r\n\r\nDo you want to remove outdated DCP?\r\n(This will NOT DELETE the files on "
                      "your hard drive but simply remove the DCP from the Reelvane Downloader)"),
        Prompt::Yes | Prompt::No, Prompt::No);
    if (answer != Prompt::Yes)
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
    carriedAllowance = qMin<quint64>(carriedAllowance, replyBufferSize());
    if (currentReply)
        currentReply->setReadBufferSize(replyBufferSize());
    emit readChunkSizeChanged();
}

void DownloadManager::reportFailure(const QString& what, const std::exception& e)
{
    qDebug() << "[DownloadManager] Error:" << what << e.what();
    UserPrompt::message(Prompt::Critical, what, QString::fromUtf8(e.what()), Prompt::Ok);
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
    replyDone = false;
    fileLength = resumeOffset;
    lastLinkCheck = -1;
    ++transferSerial;
    if (failingAsset != currentAsset) {
        failingAsset = currentAsset;
        failedAttempts = 0;
    }

    QNetworkRequest request(QUrl(currentAsset->getDownloadUrl(), QUrl::TolerantMode));
    request.setRawHeader("Range", "bytes=" + QByteArray::number(resumeOffset) + "-");
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    // Over HTTP/2 Qt does not honour the read-buffer cap, and memory grows with the file.
    request.setAttribute(QNetworkRequest::Http2AllowedAttribute, false);

    currentReply = networkManager->get(request);
    currentReply->setReadBufferSize(replyBufferSize());
    connect(currentReply, &QNetworkReply::finished, this, &DownloadManager::downloadFinished);
    connect(currentReply, &QNetworkReply::errorOccurred, this, &DownloadManager::error);
    connect(currentReply, &QNetworkReply::metaDataChanged, this, &DownloadManager::metaDataChanged);
    connect(currentReply, &QNetworkReply::readyRead, this, &DownloadManager::replyReadyRead);

    emit currentDcpChanged();
}

quint32 DownloadManager::replyBufferSize() const
{
    if (limitOff)
        return noLimitBufferSize;
    // A fifth of a second of the limit: what the network layer reads ahead of the file
    // stays bounded by the limit too, so the server is held to it as well.
    const quint64 ahead = quint64(readChunkSize) * 10;
    return quint32(qBound<quint64>(minReplyBufferSize, ahead, readBufferSize));
}

void DownloadManager::setLimitOff(bool value)
{
    if (limitOff == value)
        return;
    limitOff = value;
    carriedAllowance = 0;
    if (currentReply)
        currentReply->setReadBufferSize(replyBufferSize());
    emit limitOffChanged();
}

void DownloadManager::releaseReply()
{
    QNetworkReply* reply = currentReply;
    currentReply = nullptr;
    replyDone = false;
    if (!reply)
        return;
    reply->disconnect(this);
    reply->deleteLater();
}

void DownloadManager::closeFile()
{
    transferFile = nullptr;
    if (currentAsset)
        currentAsset->closeFileHandle();
}

void DownloadManager::failTransfer()
{
    // The stall timer stays armed: when it fires the asset is asked for again from the
    // file's length on disk.
    if (readTimer)
        readTimer->stop();
    closeFile();
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

void DownloadManager::noteFailedAttempt(const QString& reason)
{
    if (failingAsset != currentAsset) {
        failingAsset = currentAsset;
        failedAttempts = 0;
    }
    ++failedAttempts;
    qDebug() << "[DownloadManager] Failed attempt" << failedAttempts << "in a row:" << reason;
    if (failedAttempts >= 3)
        emit serverNotAnswering(reason);
}

void DownloadManager::showUnwritableFile(const QString& path)
{
    UserPrompt::message(Prompt::Critical, QStringLiteral("Unable to write the download"),
                        QStringLiteral("The file %1 can not be opened for writing, so we paused your "
                                       "download.\r\n\r\nPlease check that the drive is connected and "
                                       "writable, then hit the resume button.")
                            .arg(path),
                        Prompt::Ok);
}

bool DownloadManager::fileLost(const QFile* file) const
{
    if (!currentAsset)
        return false;
    const DCP* dcp = currentAsset->getDCP();
    if (dcp && !QFileInfo(dcp->getDCPPath()).isDir())
        return true;
#ifdef Q_OS_UNIX
    // Deleted while open: the handle still takes bytes, but no name leads to them.
    struct stat info;
    if (file && file->handle() >= 0 && ::fstat(file->handle(), &info) == 0 && info.st_nlink == 0)
        return true;
#endif
    return false;
}

void DownloadManager::stopForLostFile()
{
    const QString path = currentAsset->getFullPath();
    qDebug() << "[DownloadManager] The file being downloaded or its folder is gone:" << path;
    abandonTransfer();
    pauseDownloading(true);
    showUnwritableFile(path);
}

void DownloadManager::stopForStoreFailure(const std::exception& e)
{
    // Retrying would fetch data whose progress can never be recorded: stop until the user acts.
    qDebug() << "[DownloadManager] Unable to store the download's progress:" << e.what();
    abandonTransfer();
    pauseDownloading(true);
    UserPrompt::message(Prompt::Critical, QStringLiteral("Unable to save the download"),
                        QStringLiteral("The progress of your download can not be saved (%1), so we paused "
                                       "your download.\r\n\r\nPlease check that the program's folder is "
                                       "writable, then hit the resume button.")
                            .arg(QString::fromUtf8(e.what())),
                        Prompt::Ok);
}

void DownloadManager::metaDataChanged()
{
    auto* reply = qobject_cast<QNetworkReply*>(sender());
    if (reply && reply == currentReply)
        reply->setReadBufferSize(replyBufferSize());
}

void DownloadManager::replyReadyRead()
{
    if (limitOff && sender() == currentReply)
        downloadReadyRead();
}

void DownloadManager::downloadReadyRead()
{
    if (inTick)
        return;
    inTick = true;
    bool drained = false;
    try {
        drained = readTick();
    } catch (const std::exception& e) {
        inTick = false;
        stopForStoreFailure(e);
        return;
    }
    inTick = false;
    if (drained)
        concludeReply();
}

bool DownloadManager::checkBodyStart(QFile* file)
{
    bodyChecked = true;
    const qint64 have = file->size();
    fileLength = have;
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
            fileLength = 0;
        }
        return true;
    }

    qint64 start = 0;
    qint64 total = -1;
    if (!contentRange(currentReply->rawHeader("Content-Range"), &start, &total))
        return true;
    if (total >= 0 && quint64(total) != currentAsset->getSize()) {
        qDebug() << "[DownloadManager] Content-Range total" << total << "differs from the asset's size"
                 << currentAsset->getSize() << ", nothing written";
        noteFailedAttempt(QStringLiteral("The server announced a file of %1 bytes instead of %2")
                              .arg(total)
                              .arg(currentAsset->getSize()));
        failTransfer();
        return false;
    }
    if (start == have)
        return true;
    if (start < have) {
        qDebug() << "[DownloadManager] Content-Range starts at" << start << "before the file's length" << have
                 << ", cutting the file back";
        if (file->resize(start)) {
            fileLength = start;
            return true;
        }
        qDebug() << "[DownloadManager] Unable to cut" << currentAsset->getFullPath();
    } else {
        qDebug() << "[DownloadManager] Content-Range starts at" << start << "after the file's length" << have
                 << ", nothing written";
    }
    failTransfer();
    return false;
}

bool DownloadManager::readTick()
{
    if (!currentReply || !currentAsset)
        return false;
    QNetworkReply* const reply = currentReply;
    const quint32 buffer = replyBufferSize();
    const qint64 available = reply->bytesAvailable();
    const int status = httpStatus(reply);
    // An errored reply still holds the body that arrived before the error: write it.
    const bool body =
        (status == 206 || status == 200) && reply->error() != QNetworkReply::OperationCanceledError;
    if (available <= 0 || !body) {
        // The reply buffer ran dry while the body flows: keep this tick's allowance for the
        // ticks after the refill, so that the average rate reaches the limit.
        if (available <= 0 && bodyFlowing && !replyDone && !limitOff)
            carriedAllowance = qMin<quint64>(carriedAllowance + readChunkSize, buffer);
        return replyDone;
    }

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
        showUnwritableFile(path);
        return false;
    }
    transferFile = file;

    if (lastLinkCheck < 0 || now - lastLinkCheck >= linkCheckInterval || replyDone) {
        lastLinkCheck = now;
        if (fileLost(file)) {
            stopForLostFile();
            return false;
        }
    }

    if (!bodyChecked && !checkBodyStart(file))
        return false;

    // Never more than the asset still lacks: a body that goes on past it is refused.
    const qint64 room = qMax<qint64>(0, qint64(asset->getSize()) - fileLength);
    const quint64 carryBefore = carriedAllowance;
    quint64 allowance = quint64(available);
    if (!limitOff)
        allowance = replyDone ? readChunkSize : quint64(readChunkSize) + carriedAllowance;
    const qint64 take = qMin(qMin<qint64>(qint64(qMin<quint64>(allowance, quint64(available))), room),
                             qint64(std::numeric_limits<int>::max()));
    if (readBuffer.size() < take)
        readBuffer.resize(int(take));
    const qint64 got = take > 0 ? reply->read(readBuffer.data(), take) : 0;
    if (!limitOff && !replyDone)
        carriedAllowance = qMin<quint64>(allowance - quint64(qMax<qint64>(got, 0)), buffer);
    else
        carriedAllowance = 0;

    const bool firstData = !bodyFlowing;
    qint64 written = 0;
    bool flushed = true;
    if (got > 0) {
        bodyFlowing = true;
        written = file->write(readBuffer.constData(), got);
        if (written > 0) {
            bytesSinceSample += quint64(written);
            fileLength += written;
        }
        flushed = file->flush();
    }
    if (tickObserver)
        tickObserver({written, readChunkSize, carryBefore, carriedAllowance, buffer, replyDone});

    if (written != got || !flushed) {
        if (written != got)
            qDebug() << "[DownloadManager] Warning: dropped bytes" << written << "of" << got;
        if (!flushed)
            qDebug() << "[DownloadManager] Warning: flush() failed.";
        if (fileLost(file)) {
            stopForLostFile();
            return false;
        }
        // The reply cannot give these bytes again: end this request so that the next one
        // resumes from what the file really holds. A full disk pauses with its box.
        failTransfer();
        const qint64 onDisk = FileManager::getFileSize(asset->getFullPath());
        if (!isEnoughDiskSpace(asset->getDCP()->getDCPPath(),
                               qMax<qint64>(0, qint64(asset->getSize()) - onDisk)))
            pauseDownloading(true);
        return false;
    }
    if (available > room) {
        qDebug() << "[DownloadManager] Body goes on past the asset's size" << asset->getSize()
                 << ", transfer ended at" << fileLength << "for asset:" << asset->getUuid();
        noteFailedAttempt(
            QStringLiteral("The server sent more than the file's %1 bytes").arg(asset->getSize()));
        failTransfer();
        return false;
    }
    if (got > 0)
        failedAttempts = 0;

    if (!asset->getDownloadStarted()) {
        asset->setDownloadStarted(true);
        DatabaseManager::getInstance()->updateAssetDownloadFields(asset);
    }
    const QList<Reel*> reels = asset->getReels();
    // Raised with the first data and at every sample; the queue keeps one per reel anyway.
    if (firstData || elapsed > 199)
        for (Reel* reel : reels)
            NotificationManager::getInstance()->addToQueue(reel, NotificationType::DownloadStarted);

    if (elapsed > 199) {
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
    return replyDone && currentReply == reply && reply->bytesAvailable() <= 0;
}

QString DownloadManager::failureReason(const QNetworkReply* reply)
{
    const int status = httpStatus(reply);
    if (status > 0 && status != 200 && status != 206)
        return QStringLiteral("The server answered %1 %2")
            .arg(status)
            .arg(reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString());
    return reply->errorString();
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
        QString message;
        if (status == 403 || status == 404)
            message = missingFileMessage(dcp);
        else if (status == 400)
            message = QStringLiteral("Download links for DCP %1 expired. You won't be able to finish "
                                     "the given download.")
                          .arg(dcp->getFriendlyTitle());
        if (!message.isEmpty()) {
            // Aborting a reply from inside its own error signal upsets Qt's network layer:
            // hold the transfer now and pause once the signal has returned.
            if (timeoutTimer)
                timeoutTimer->stop();
            const quint64 serial = transferSerial;
            const Asset* asset = currentAsset;
            QMetaObject::invokeMethod(
                this,
                [this, serial, asset, dcp, message]() {
                    if (serial != transferSerial || currentAsset != asset)
                        return;
                    try {
                        abandonTransfer();
                        handleExpiredLinks(dcp, message);
                    } catch (const std::exception& e) {
                        reportFailure(QStringLiteral("Unable to handle a rejected download."), e);
                    }
                },
                Qt::QueuedConnection);
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
        if (currentReply && currentReply->isRunning())
            noteFailedAttempt(QStringLiteral("No data for %1 s").arg(timeoutInterval / 1000.0));
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
    // What the reply still holds is written at the limit by the following ticks, not all at
    // once; the transfer is concluded once it is drained.
    replyDone = true;
    carriedAllowance = 0;
    downloadReadyRead();
}

void DownloadManager::concludeReply()
{
    QNetworkReply* const reply = currentReply;
    if (!reply)
        return;
    try {
        const bool failed = reply->error() != QNetworkReply::NoError && !finishDespiteError;
        if (!currentAsset || failed) {
            closeFile();
            const int status = httpStatus(reply);
            if (currentAsset && reply->error() != QNetworkReply::OperationCanceledError && status != 400 &&
                status != 403 && status != 404)
                noteFailedAttempt(failureReason(reply));
            releaseReply();
            if (readTimer)
                readTimer->stop();
            return;
        }

        const QVariant target = reply->attribute(QNetworkRequest::RedirectionTargetAttribute);
        if (target.isValid() && !finishDespiteError) {
            closeFile();
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

        // Never record as finished a file that is no longer there.
        const bool hadFile = bodyFlowing || resumeOffset > 0;
        if (fileLost(transferFile) || (hadFile && !FileManager::fileExists(currentAsset->getFullPath()))) {
            stopForLostFile();
            return;
        }
        closeFile();
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
