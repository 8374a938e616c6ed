#include "download/DriveVerifier.h"

#include "model/Asset.h"
#include "model/DCP.h"
#include "model/Reel.h"
#include "storage/DatabaseManager.h"

#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <cstdio>

DriveVerifier::DriveVerifier(std::function<void(Asset*)> requeue, ReelEventSink events, QObject* parent)
    : QObject(parent), requeue(std::move(requeue)), events(std::move(events))
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
    disconnect(following);
    checked = dcp;
    following = connect(dcp, &DCP::statusChanged, this, &DriveVerifier::updateResult);
    const QString folder = dcp->getDCPPath();
    qDebug() << "[DriveVerifier] Checking the drive for" << folder;

    last = DcpIngestCheck::Result();
    progress = 0;
    remaining.clear();
    result = tr("Checking the drive\u2026");
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
        remaining = left >= 90 ? tr("About %1 min left").arg((left + 30) / 60)
                               : tr("About %1 s left").arg(qMax<qint64>(1, left));
    }
    emit progressChanged();
}

void DriveVerifier::onFinished(const DcpIngestCheck::Result& outcome)
{
    thread->wait();
    thread->deleteLater();
    thread = nullptr;
    last = outcome;
    readyResult.clear();
    progress = outcome.cancelled ? progress : 1.0;
    remaining.clear();
    if (checked && !QFileInfo(checked->getDownloadPath()).isDir()) {
        // Unreadable files say nothing about the drive that was pulled meanwhile.
        last = DcpIngestCheck::Result();
        result = tr("The drive was disconnected during the check.");
    } else if (outcome.cancelled) {
        last = DcpIngestCheck::Result();
        result = tr("Check cancelled.");
    } else {
        if (outcome.findings.isEmpty())
            readyResult = tr("%1 checked at %2", "the drive check's result: the files and size, then a time")
                              .arg(DcpIngestCheck::readyText(outcome.files, outcome.bytes),
                                   QDateTime::currentDateTime().toString(QStringLiteral("HH:mm")));
        if (checked)
            markDamaged(checked.data(), outcome.damagedAssets());
        updateResult();
    }
    qDebug() << "[DriveVerifier]" << result << outcome.problems();
    emit progressChanged();
    emit changed();
    emit finished();
}

QStringList DriveVerifier::getProblems() const
{
    QStringList open;
    for (const DcpIngestCheck::Finding& finding : last.findings) {
        if (!isMended(finding))
            open.append(finding.text);
    }
    return open;
}

bool DriveVerifier::isMended(const DcpIngestCheck::Finding& finding) const
{
    if (finding.assets.isEmpty() || !checked)
        return false;
    for (const QString& uuid : finding.assets) {
        const Asset* asset = checked->getAsset(uuid);
        if (!asset || !asset->getDownloadChecksummed() || asset->getDownloadCorrupted())
            return false;
    }
    return true;
}

void DriveVerifier::updateResult()
{
    if (thread || (last.findings.isEmpty() && readyResult.isEmpty()))
        return; // running, or a cancelled or interrupted check: its own headline stays
    const int open = getProblems().size();
    if (!readyResult.isEmpty())
        result = readyResult;
    else if (open == 0)
        result = tr("The damaged files were downloaded again and verified. Check the drive "
                    "again before it goes to the cinema.");
    else
        result =
            open == 1 ? tr("1 problem found on the drive:") : tr("%1 problems found on the drive:").arg(open);
    emit changed();
}

void DriveVerifier::markDamaged(DCP* dcp, const QStringList& uuids)
{
    QList<Reel*> reels;
    for (const QString& uuid : uuids) {
        Asset* asset = dcp->getAsset(uuid);
        if (!asset || !asset->getDownloadFinished())
            continue;
        try {
            // Finished and corrupted: out of the queue, shown as corrupted, never revealed as
            // verified, until a new download mends it.
            asset->setDownloadChecksummed(false);
            asset->setDownloadCorrupted(true);
            dcp->getStore().updateAssetDownloadFields(asset);
            qDebug() << "[DriveVerifier] Marked corrupted:" << asset->getFullPath();
        } catch (const std::exception& e) {
            qDebug() << "[DriveVerifier] Unable to mark corrupted:" << uuid << e.what();
        }
        for (Reel* reel : asset->getReels()) {
            if (!reels.contains(reel))
                reels.append(reel);
        }
    }
    for (Reel* reel : reels)
        reel->announceCorrupted();
}

int DriveVerifier::damagedCount(QObject* object) const
{
    const auto* dcp = qobject_cast<const DCP*>(object);
    if (!dcp || !dcp->reelsLoaded())
        return 0;
    int count = 0;
    for (const Asset* asset : dcp->getAssets())
        count += asset->getDownloadFinished() && asset->getDownloadCorrupted() ? 1 : 0;
    return count;
}

void DriveVerifier::redownloadDamaged(QObject* object)
{
    auto* dcp = qobject_cast<DCP*>(object);
    if (!dcp || thread || !dcp->isDriveConnected())
        return;
    const QList<Asset*> assets = dcp->getAssets();
    for (Asset* asset : assets) {
        if (!asset->getDownloadFinished() || !asset->getDownloadCorrupted())
            continue;
        try {
            // Back under its hidden name and empty, so no ingest takes it meanwhile; revealed
            // again once it verified, as any download.
            const QString visible = asset->getFullPath();
            const QString name = asset->getOriginalFileName();
            if (!name.startsWith(QLatin1Char('.'))) {
                asset->setOriginalFileName(QLatin1Char('.') + name);
                if (QFileInfo::exists(visible) &&
                    std::rename(QFile::encodeName(visible).constData(),
                                QFile::encodeName(asset->getFullPath()).constData()) != 0)
                    qDebug() << "[DriveVerifier] Unable to hide" << visible;
                dcp->getStore().updateAssetOriginalName(asset);
            }
            // The store and the journal stop calling the file verified before its bytes change:
            // a stop in between leaves a file to verify again, never an emptied one called good.
            asset->setDownloadAttempts(asset->getDownloadAttempts() + 1);
            asset->setDownloadFinished(false);
            asset->setDownloadChecksummed(false);
            asset->setDownloadCorrupted(false);
            dcp->getStore().updateAssetDownloadFields(asset);
            dcp->getStore().forgetVerifiedFile(asset);
            for (Reel* reel : asset->getReels())
                events(reel, NotificationType::ChecksumFailed);
            QFile file(asset->getFullPath());
            if (file.exists())
                file.resize(0);
            for (Reel* reel : asset->getReels())
                reel->announceRequeued();
            qDebug() << "[DriveVerifier] Downloading again:" << asset->getFullPath();
            requeue(asset);
        } catch (const std::exception& e) {
            qDebug() << "[DriveVerifier] Unable to send back to the queue:" << asset->getUuid() << e.what();
        }
    }
    dcp->announceStatus();
    emit changed();
}
