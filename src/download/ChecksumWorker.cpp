#include "download/ChecksumWorker.h"

#include "download/DownloadManager.h"
#include "download/FileManager.h"
#include "model/Asset.h"
#include "model/DCP.h"
#include "model/DCPManager.h"
#include "model/Reel.h"
#include "model/Util.h"
#include "notify/NotificationManager.h"
#include "storage/DatabaseManager.h"

#include <QDebug>
#include <QFile>
#include <QMutexLocker>
#include <QThread>

#include <fcntl.h>
#include <stdexcept>
#include <unistd.h>

ChecksumWorker::ChecksumWorker(DownloadManager* engine) : QObject(nullptr), engine(engine) {}

void ChecksumWorker::addToWorker(Reel* reel)
{
    QMutexLocker locker(&queueLock);
    const int at = reelQueue.lastIndexOf(reel);
    if (at >= 0 && !(at == 0 && validating == reel))
        return;
    reelQueue.append(reel);
}

bool ChecksumWorker::haveReel(Reel* reel) const
{
    QMutexLocker locker(&queueLock);
    return reelQueue.contains(reel);
}

int ChecksumWorker::queuedReelCount() const
{
    QMutexLocker locker(&queueLock);
    return reelQueue.size();
}

bool ChecksumWorker::flushToMedium(const QString& path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    bool ok = true;
    if (::fdatasync(fd) != 0) {
        qDebug() << "[ChecksumWorker] fdatasync failed for:" << path;
        ok = false;
    }
    if (::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED) != 0) {
        qDebug() << "[ChecksumWorker] posix_fadvise failed for:" << path;
        ok = false;
    }
    ::close(fd);
    return ok;
}

void ChecksumWorker::onMainThread(const std::function<void()>& work)
{
    QString failure;
    bool failed = false;
    auto call = [&]() {
        try {
            work();
        } catch (const std::exception& e) {
            failed = true;
            failure = QString::fromUtf8(e.what());
        }
    };
    if (QThread::currentThread() == engine->thread())
        call();
    else
        QMetaObject::invokeMethod(engine, call, Qt::BlockingQueuedConnection);
    if (failed)
        throw std::runtime_error(failure.toStdString());
}

void ChecksumWorker::process()
{
    while (!stopRequested) {
        Util::sleep(pollInterval);

        Reel* reel = nullptr;
        {
            QMutexLocker locker(&queueLock);
            if (!reelQueue.isEmpty())
                reel = reelQueue.first();
            validating = reel;
        }
        if (!reel)
            continue;

        qDebug() << "[ChecksumWorker] Found a job!";
        try {
            validateReel(reel);
        } catch (const std::exception& e) {
            // The reel is dropped from the queue rather than retried every second; it stays
            // downloaded but unverified, so the next start hands it over again.
            qDebug() << "[ChecksumWorker] validation aborted for:" << reel->getUuid() << e.what();
            try {
                onMainThread([reel]() {
                    if (reel->getDCP())
                        emit reel->getDCP()->statusChanged();
                });
            } catch (const std::exception&) {
            }
        }

        QMutexLocker locker(&queueLock);
        if (!reelQueue.isEmpty() && reelQueue.first() == reel)
            reelQueue.removeFirst();
        validating = nullptr;
    }
    emit finished();
}

bool ChecksumWorker::truncateForRedownload(Asset* asset)
{
    try {
        QFile* file = asset->getFileHandle();
        const bool truncated = file->resize(0);
        asset->closeFileHandle();
        if (truncated)
            return true;
    } catch (const std::exception& e) {
        qDebug() << "[ChecksumWorker] Unable to open for truncation:" << asset->getFullPath() << e.what();
    }
    // A file that cannot be emptied is removed instead: the new download then starts at
    // byte 0 either way. If the drive is gone, the transfer reports it to the user.
    FileManager::removeFile(asset->getFullPath());
    return !FileManager::fileExists(asset->getFullPath());
}

bool ChecksumWorker::isListed(const Reel* reel)
{
    const DCP* dcp = reel->getDCP();
    return dcp && DCPManager::getInstance()->getDCPs().contains(const_cast<DCP*>(dcp)) &&
           dcp->getReels().contains(const_cast<Reel*>(reel));
}

void ChecksumWorker::validateReel(Reel* reel)
{
    // The DCP may be removed from the catalogue while its reel waits here or is being read.
    // Its files stay on disk for the user then (revealed, if its links expired), so nothing
    // of it may be emptied, queued again or reported any more.
    bool dropped = false;
    const auto dropIfRemoved = [&]() {
        if (isListed(reel))
            return false;
        qDebug() << "[ChecksumWorker] Reel no longer listed, validation dropped for:" << reel->getUuid();
        dropped = true;
        return true;
    };

    QList<Asset*> assets;
    onMainThread([&]() {
        if (dropIfRemoved())
            return;
        assets = reel->getAssets();
        NotificationManager::getInstance()->addToQueue(reel, NotificationType::ChecksumStarted);
    });
    if (dropped)
        return;

    bool requeued = false;
    bool corrupted = false;
    for (Asset* asset : assets) {
        if (!asset->getDownloadFinished()) {
            // Shared with another reel whose validation already sent it back: it is on its
            // way down again and will be checked when it arrives.
            requeued = true;
            continue;
        }

        bool valid = asset->getDownloadChecksummed();
        if (!valid) {
            flushToMedium(asset->getFullPath());
            try {
                valid = asset->validateChecksum();
            } catch (const std::exception& e) {
                qDebug() << "[ChecksumWorker] Unable to read:" << asset->getFullPath() << e.what();
                valid = false;
            }
        }

        if (valid) {
            onMainThread([&]() {
                if (dropIfRemoved())
                    return;
                asset->setDownloadChecksummed(true);
                asset->setDownloadCorrupted(false);
                DatabaseManager::getInstance()->updateAssetDownloadFields(asset);
            });
        } else if (asset->getDownloadAttempts() >= 2) {
            corrupted = true;
            onMainThread([&]() {
                if (dropIfRemoved())
                    return;
                asset->setDownloadCorrupted(true);
                DatabaseManager::getInstance()->updateAssetDownloadFields(asset);
            });
        } else {
            requeued = true;
            DownloadManager* const target = engine;
            onMainThread([&]() {
                // Checked and emptied in one step on the main thread, where removals happen;
                // the file is emptied while still marked finished, so no transfer can have it.
                if (dropIfRemoved())
                    return;
                truncateForRedownload(asset);
                asset->setDownloadAttempts(asset->getDownloadAttempts() + 1);
                asset->setDownloadFinished(false);
                DatabaseManager::getInstance()->updateAssetDownloadFields(asset);
                emit target->assetNeedsRedownloading(asset);
            });
        }
        if (dropped)
            return;
    }

    onMainThread([&]() {
        if (dropIfRemoved())
            return;
        if (requeued) {
            qDebug() << "[ChecksumWorker] failed checksum for:" << reel->getUuid() << "requeued...";
            emit reel->downloadQueuedForRedownload();
        } else if (corrupted) {
            qDebug() << "[ChecksumWorker] failed checksum for:" << reel->getUuid();
            emit reel->downloadCorrupted();
        } else {
            qDebug() << "[ChecksumWorker] checksum OK for:" << reel->getUuid();
            emit reel->downloadChecksummed();
        }
        if (reel->getDCP())
            emit reel->getDCP()->statusChanged();
        NotificationManager::getInstance()->addToQueue(
            reel, (requeued || corrupted) ? NotificationType::ChecksumFailed : NotificationType::ChecksumOk);
    });
}
