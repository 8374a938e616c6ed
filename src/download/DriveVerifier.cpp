#include "download/DriveVerifier.h"

#include "model/Asset.h"
#include "model/DCP.h"
#include "model/Reel.h"
#include "notify/NotificationManager.h"
#include "storage/DatabaseManager.h"

#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <cstdio>

DriveVerifier::DriveVerifier(std::function<void(Asset*)> requeue, QObject* parent)
    : QObject(parent), requeue(std::move(requeue))
{
}

DriveVerifier::~DriveVerifier()
{
    cancel();
    wait();
}

QObject* DriveVerifier::dcpObject() const
{
    return checked.data();
}

bool DriveVerifier::canCheck(QObject* object) const
{
    const auto* dcp = qobject_cast<const DCP*>(object);
    if (!dcp || !dcp->isDriveConnected() || dcp->getReels().isEmpty())
        return false;
    for (const Reel* reel : dcp->getReels()) {
        if (!reel->isChecksummed() || !reel->isSynced())
            return false;
    }
    return true;
}

void DriveVerifier::start(QObject* object)
{
    auto* dcp = qobject_cast<DCP*>(object);
    if (!dcp || thread)
        return;
    checked = dcp;
    const QString folder = dcp->getDCPPath();
    qDebug() << "[DriveVerifier] Checking the drive for" << folder;

    last = DcpIngestCheck::Result();
    progress = 0;
    remaining.clear();
    result = QStringLiteral("Checking the drive\u2026");
    cancelFlag = std::make_shared<std::atomic<bool>>(false);
    clock.start();
    const std::shared_ptr<std::atomic<bool>> flag = cancelFlag;
    QPointer<DriveVerifier> self(this);
    const DriveProbe::Roots drive = driveRoots;
    thread = QThread::create([self, folder, drive, flag] {
        qint64 lastReport = -1;
        QElapsedTimer sinceReport;
        sinceReport.start();
        const DcpIngestCheck::Result outcome = DcpIngestCheck::run(
            folder, *flag,
            [&](quint64 done, quint64 total) {
                // A few reports a second are enough for a progress bar.
                if (lastReport >= 0 && sinceReport.elapsed() < 100 && done < total)
                    return;
                lastReport = sinceReport.restart();
                QMetaObject::invokeMethod(
                    self,
                    [self, done, total] {
                        if (self)
                            self->onProgress(done, total);
                    },
                    Qt::QueuedConnection);
            },
            drive);
        QMetaObject::invokeMethod(
            self,
            [self, outcome] {
                if (self)
                    self->onFinished(outcome);
            },
            Qt::QueuedConnection);
    });
    thread->setObjectName(QStringLiteral("DriveVerifier"));
    thread->start(QThread::LowPriority);
    emit changed();
    emit progressChanged();
}

void DriveVerifier::cancel()
{
    if (cancelFlag)
        *cancelFlag = true;
}

void DriveVerifier::wait()
{
    if (thread)
        thread->wait();
}

void DriveVerifier::onProgress(quint64 done, quint64 total)
{
    if (!thread || total == 0)
        return;
    progress = double(done) / double(total);
    const double seconds = clock.elapsed() / 1000.0;
    if (done > 0 && seconds > 0.5) {
        const qint64 left = qint64((total - done) / (double(done) / seconds));
        remaining = left >= 90 ? QStringLiteral("About %1 min left").arg((left + 30) / 60)
                               : QStringLiteral("About %1 s left").arg(qMax<qint64>(1, left));
    }
    emit progressChanged();
}

void DriveVerifier::onFinished(const DcpIngestCheck::Result& outcome)
{
    thread->wait();
    thread->deleteLater();
    thread = nullptr;
    last = outcome;
    progress = outcome.cancelled ? progress : 1.0;
    remaining.clear();
    if (checked && !QFileInfo(checked->getDownloadPath()).isDir()) {
        // Unreadable files say nothing about the drive that was pulled meanwhile.
        last = DcpIngestCheck::Result();
        result = QStringLiteral("The drive was disconnected during the check.");
    } else if (outcome.cancelled) {
        result = QStringLiteral("Check cancelled.");
    } else if (outcome.findings.isEmpty()) {
        result = DcpIngestCheck::readyText(outcome.files, outcome.bytes) +
                 QStringLiteral(" checked at %1")
                     .arg(QDateTime::currentDateTime().toString(QStringLiteral("HH:mm")));
    } else {
        result = outcome.findings.size() == 1
                     ? QStringLiteral("1 problem found on the drive:")
                     : QStringLiteral("%1 problems found on the drive:").arg(outcome.findings.size());
    }
    qDebug() << "[DriveVerifier]" << result << outcome.problems();
    emit progressChanged();
    emit changed();
    emit finished();
}

void DriveVerifier::redownloadCorrupted()
{
    DCP* dcp = checked.data();
    if (!dcp || thread)
        return;
    const QStringList uuids = last.damagedAssets();
    for (const QString& uuid : uuids) {
        Asset* asset = dcp->getAsset(uuid);
        if (!asset)
            continue;
        try {
            // Back under its hidden name and empty, so no ingest takes it meanwhile; revealed
            // again once it verified, as any download.
            const QString visible = asset->getFullPath();
            const QString name = asset->getOriginalFileName();
            if (!name.startsWith(QLatin1Char('.'))) {
                asset->setOriginalFileName(QLatin1Char('.') + name);
                if (std::rename(QFile::encodeName(visible).constData(),
                                QFile::encodeName(asset->getFullPath()).constData()) != 0)
                    qDebug() << "[DriveVerifier] Unable to hide" << visible;
                DatabaseManager::getInstance()->updateAssetOriginalName(asset);
            }
            QFile file(asset->getFullPath());
            file.resize(0);
            asset->setDownloadAttempts(asset->getDownloadAttempts() + 1);
            asset->setDownloadFinished(false);
            asset->setDownloadChecksummed(false);
            asset->setDownloadCorrupted(false);
            DatabaseManager::getInstance()->updateAssetDownloadFields(asset);
            for (Reel* reel : asset->getReels()) {
                NotificationManager::getInstance()->addToQueue(reel, NotificationType::ChecksumFailed);
                reel->announceRequeued();
            }
            qDebug() << "[DriveVerifier] Downloading again:" << asset->getFullPath();
            requeue(asset);
        } catch (const std::exception& e) {
            qDebug() << "[DriveVerifier] Unable to send back to the queue:" << uuid << e.what();
        }
    }
    for (DcpIngestCheck::Finding& finding : last.findings)
        finding.assets.clear();
    dcp->announceStatus();
    emit changed();
}
