#include "notify/ReelReveal.h"

#include "core/FileManager.h"
#include "core/MediumSync.h"
#include "core/UserPrompt.h"
#include "model/Asset.h"
#include "model/DCP.h"
#include "model/DCPManager.h"
#include "model/Reel.h"
#include "notify/NotificationType.h"
#include "storage/DatabaseManager.h"
#include "storage/Transaction.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDirIterator>
#include <QFileInfo>
#include <QSet>
#include <QSqlQuery>
#include <QThread>
#include <QTimer>

#include <exception>

ReelReveal::ReelReveal(DatabaseManager& store, DCPManager& catalogue) : store(store), catalogue(catalogue) {}

ReelReveal::~ReelReveal()
{
    stopFolderScan();
}

void ReelReveal::acknowledged(const QString& reelUuid, Reel* reel)
{
    // A reel no longer listed (its DCP was removed) has nothing left to reveal: its
    // verified files got their names at the removal. Its events are still reported.
    if (reel && reelReadyForReveal(reelUuid, reel))
        revealReel(reelUuid, reel);
    reconcile(false, reel);
}

bool ReelReveal::reelReadyForReveal(const QString& reelUuid, const Reel* reel) const
{
    // Rows of an earlier import of the same reel UUID carry another db_id prefix.
    const QString prefix = reel ? QString::number(reel->getDbId()) + QLatin1Char('-') : QString();
    bool allSynced = true;
    bool checksumPassed = false;

    QSqlQuery query = store.getReelNotificationsQuery(reelUuid);
    while (query.next()) {
        if (reel &&
            !query.value(QStringLiteral("reel_assets_hash")).toString().startsWith(prefix, Qt::CaseSensitive))
            continue;
        if (query.value(QStringLiteral("synced")).toBool()) {
            if (query.value(QStringLiteral("event")).toUInt() == NotificationType::ChecksumOk)
                checksumPassed = true;
        } else {
            allSynced = false;
            break;
        }
    }
    return allSynced && checksumPassed;
}

bool ReelReveal::revealReel(const QString& reelUuid, Reel* reel)
{
    qDebug() << "[NotificationManager] Revealing ...";
    if (!reel) {
        qDebug() << "[NotificationManager] Reveal files failed! Reel with uuid not found: " << reelUuid;
        return false;
    }
    DCP* dcp = reel->getDCP();
    if (dcp && !dcp->isDriveConnected()) {
        // Its files are on the missing drive; a start that finds the drive reveals them.
        qDebug() << "[NotificationManager] Drive not connected, reveal waits for reel:" << reel->getUuid();
        return false;
    }

    // Only bytes whose digests passed get their final names: every file verified, and each
    // still the very file that was read then.
    if (!reel->isChecksummed()) {
        qDebug() << "[NotificationManager] Reel not verified, nothing revealed:" << reel->getUuid();
        return false;
    }
    QList<Asset*> changed;
    for (Asset* asset : reel->getAssets()) {
        // A file missing altogether is left to the rename, which reports it.
        const QString path = asset->getFullPath();
        const bool present = QFileInfo::exists(FileManager::nixGetHiddenPath(path)) ||
                             QFileInfo::exists(FileManager::nixGetUnhiddenPath(path));
        if (asset->isHidden() && present && !asset->isVerifiedFileIntact())
            changed.append(asset);
    }
    if (!changed.isEmpty()) {
        for (Asset* asset : changed) {
            qDebug() << "[NotificationManager] File is not the one verified, verifying it again:"
                     << asset->getFullPath();
            asset->setDownloadChecksummed(false);
            store.updateAssetDownloadFields(asset);
            store.forgetVerifiedFile(asset);
        }
        if (dcp)
            dcp->announceStatus();
        emit verificationNeeded(reel);
        return false;
    }

    qDebug() << "[NotificationManager] Reveal files for reel: " << reel->getUuid();
    bool allRevealed = true;
    // The reel's new names in one commit rather than two per file. A stop half-way leaves
    // files renamed whose names are not stored yet: the next start finds them renamed and
    // records their names.
    std::unique_ptr<Transaction> names;
    try {
        names = std::make_unique<Transaction>(store);
    } catch (const std::exception& e) {
        qDebug() << "[NotificationManager] Unable to store what came before the reveal:" << e.what();
        return false;
    }
    for (Asset* asset : reel->getAssets()) {
        // One asset failing must not keep the others hidden.
        QString reason;
        if (asset->tryReveal(&reason))
            continue;
        allRevealed = false;
        qDebug() << "[NotificationManager] Reveal failed for asset" << asset->getUuid() << reason;
        const QString path = FileManager::nixGetHiddenPath(asset->getFullPath());
        if (!reportedRevealFailures.contains(path)) {
            reportedRevealFailures.insert(path);
            pendingRevealFailures.append(path + QStringLiteral("\n    ") + reason);
        }
    }
    try {
        names->commit();
    } catch (const std::exception& e) {
        qDebug() << "[NotificationManager] Unable to store the revealed names:" << e.what();
        return false;
    }
    if (!allRevealed)
        return false;

    // The new names reach the drive before the reel shows as completed.
    QStringList folders;
    if (dcp)
        folders.append(dcp->getDCPPath());
    for (const Asset* asset : reel->getAssets()) {
        const QString folder = QFileInfo(asset->getFullPath()).path();
        if (!folders.contains(folder))
            folders.append(folder);
    }
    for (const QString& folder : folders)
        MediumSync::syncFolder(folder);

    reel->announceSynced();
    return true;
}

void ReelReveal::reconcileReveals(bool checkDisk)
{
    reconcile(checkDisk, nullptr);
    if (checkDisk)
        scanListedFolders();
}

namespace {

std::function<void(const QString&)>& folderScanHook()
{
    static std::function<void(const QString&)> hook;
    return hook;
}

// Whether the folder (or one below it) holds a file under its hidden name without the file
// of the visible name beside it: a rename that never happened. Other hidden files (a desktop's
// own, say) only cost a closer look at that DCP.
bool holdsHiddenOnlyFile(const QString& folder, const QThread* thread)
{
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext() && !thread->isInterruptionRequested()) {
        it.next();
        const QString name = it.fileName();
        if (name.startsWith(QLatin1Char('.')) &&
            !QFileInfo::exists(it.fileInfo().path() + QLatin1Char('/') + name.mid(1)))
            return true;
    }
    return false;
}

} // namespace

void ReelReveal::stopFolderScan()
{
    scanStopped = true;
    scanAgain = false;
    if (!folderScan)
        return;
    folderScan->requestInterruption();
    folderScan->wait();
}

void ReelReveal::setFolderScanHook(std::function<void(const QString&)> hook)
{
    folderScanHook() = std::move(hook);
}

void ReelReveal::scanListedFolders()
{
    if (scanStopped)
        return;
    if (folderScan && folderScan->isRunning()) {
        scanAgain = true;
        return;
    }
    QList<QPair<QString, QString>> listed; // uuid, folder
    for (const DCP* dcp : catalogue.getDCPs()) {
        // A DCP not started yet holds hidden files by right.
        if (dcp->isListedComplete())
            listed.append({dcp->getUuid(), dcp->getDCPPath()});
    }
    if (listed.isEmpty())
        return;
    if (folderScan)
        folderScan->wait();
    // Only paths go to the thread; the answer comes back as UUIDs to this thread.
    folderScan.reset(QThread::create([this, listed] {
        QStringList found;
        for (const auto& dcp : listed) {
            if (QThread::currentThread()->isInterruptionRequested())
                return;
            if (folderScanHook())
                folderScanHook()(dcp.second);
            if (holdsHiddenOnlyFile(dcp.second, QThread::currentThread()))
                found.append(dcp.first);
        }
        QMetaObject::invokeMethod(
            this, [this, found] { listedFoldersScanned(found); }, Qt::QueuedConnection);
    }));
    folderScan->start(QThread::LowPriority);
}

void ReelReveal::listedFoldersScanned(const QStringList& dcpUuids)
{
    bool loaded = false;
    for (const QString& uuid : dcpUuids) {
        const DCP* dcp = catalogue.getDCP(uuid);
        if (dcp && !dcp->reelsLoaded()) {
            qDebug() << "[NotificationManager] Hidden files in the folder of complete DCP" << uuid;
            dcp->getReels();
            loaded = true;
        }
    }
    if (loaded)
        reconcile(true, nullptr);
    if (scanAgain) {
        scanAgain = false;
        scanListedFolders();
    }
}

void ReelReveal::reconcile(bool checkDisk, const Reel* skip)
{
    try {
        QSet<Reel*> seen;
        for (const DCP* dcp : catalogue.getDCPs()) {
            // Complete and acknowledged with every file under its visible name in the store.
            if (!dcp->reelsLoaded())
                continue;
            for (Reel* reel : dcp->getReels()) {
                if (reel == skip || seen.contains(reel) || !reel->isChecksummed())
                    continue;
                seen.insert(reel);
                bool hidden = false;
                for (const Asset* asset : reel->getAssets())
                    hidden = hidden || asset->isHidden(checkDisk);
                if (!hidden || !reelReadyForReveal(reel->getUuid(), reel))
                    continue;
                qDebug() << "[NotificationManager] Files still hidden, revealing again reel:"
                         << reel->getUuid();
                revealReel(reel->getUuid(), reel);
            }
        }
    } catch (const std::exception& e) {
        qDebug() << "[NotificationManager] Unable to check the reels for hidden files:" << e.what();
    }
    // Shown once this acknowledgement has been handled: a box left open must not hold the queue.
    if (!pendingRevealFailures.isEmpty())
        QTimer::singleShot(0, this, &ReelReveal::reportRevealFailures);
}

// The box keeps the translation context it had when the notification manager showed it.
void ReelReveal::reportRevealFailures()
{
    if (pendingRevealFailures.isEmpty())
        return;
    const QString files = pendingRevealFailures.join(QStringLiteral("\n"));
    pendingRevealFailures.clear();
    qDebug() << "[NotificationManager] Files could not be given their final names:" << files;
    UserPrompt::message(
        Prompt::Warning,
        QCoreApplication::translate("NotificationManager",
                                    "Downloaded files could not be given their final names."),
        QCoreApplication::translate(
            "NotificationManager",
            "They keep their hidden names, so the DCP cannot be ingested yet. The Reelvane "
            "Downloader tries again after every report to the server and at the next start.\n\n") +
            files);
}
