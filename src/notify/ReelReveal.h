#pragma once

#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class DCPManager;
class DatabaseManager;
class QThread;
class Reel;

// Gives a reel's files their final names once the notification service has acknowledged
// every event of the reel's current import and its checksum passed: only the very bytes
// that were verified, and the folders flushed before the reel shows as completed. Reels a
// stopped run left hidden are revealed again at the start and after every acknowledgement;
// the folders of complete DCPs listed without their reels are looked through on a thread of
// their own. A rename that keeps failing is shown to the user once per run.
//
// Lives on the main thread, which alone touches the store connection and the catalogue.
class ReelReveal : public QObject
{
    Q_OBJECT

public:
    ReelReveal(DatabaseManager& store, DCPManager& catalogue);
    // Stops the folder scan first.
    ~ReelReveal() override;

    // An event of the reel was acknowledged: the reel is revealed if that was its last, then
    // every other reel still hidden.
    void acknowledged(const QString& reelUuid, Reel* reel);
    // Reveals again every checksummed reel whose events are all acknowledged while files of
    // it are still hidden; with checkDisk, the disk is looked at too.
    void reconcileReveals(bool checkDisk);
    // reconcileReveals, leaving out skip (whose acknowledgement has just been handled).
    void reconcile(bool checkDisk, const Reel* skip);

    // Stops the look through the folders and waits for its thread; no other starts afterwards.
    void stopFolderScan();
    // Tests: called on the scan's thread before each folder is looked through.
    static void setFolderScanHook(std::function<void(const QString& folder)> hook);

signals:
    // Files of the reel are not the ones whose digests passed: they are marked unverified
    // and must be verified again before anything of the reel is revealed.
    void verificationNeeded(Reel* reel);

private:
    // Whether every row of the reel's current import is acknowledged and its checksum passed.
    bool reelReadyForReveal(const QString& reelUuid, const Reel* reel) const;
    // True when every file of the reel carries its visible name afterwards.
    bool revealReel(const QString& reelUuid, Reel* reel);
    // The disk check of reconcileReveals for DCPs listed without their reels: their folders
    // are looked through on a thread of their own for a file under its hidden name only, and
    // the DCPs with one are loaded and reconciled when it answers.
    void scanListedFolders();
    void listedFoldersScanned(const QStringList& dcpUuids);
    // One box for the renames that failed since the last one, each file named once per run.
    void reportRevealFailures();

    DatabaseManager& store;
    DCPManager& catalogue;
    QStringList pendingRevealFailures;    // path and reason of each, not shown yet
    QSet<QString> reportedRevealFailures; // paths already shown in this run
    std::unique_ptr<QThread> folderScan;
    bool scanAgain = false;
    bool scanStopped = false;
};
