#pragma once

#include <QCoreApplication>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <stdexcept>

class AssetTable;
class CatalogueTables;
class DCP;
class NotificationTable;
class QueueTable;
class SettingTable;
class Reel;
class Asset;
class Notification;
class QTimer;
class StoreRows;
struct FileIdentity;

// Owns the one SQLite connection and decides when writes reach the disk; the statements are
// held by one class per table (storage/*Table*).
// Every write returns true or throws std::runtime_error with a fixed message.
// Main thread only: other threads hand their calls to the main thread.
class DatabaseManager
{
    Q_DECLARE_TR_FUNCTIONS(DatabaseManager)

public:
    // Opens (creating where needed) the store in the folder; throws when it cannot.
    explicit DatabaseManager(const QString& directory);
    ~DatabaseManager();
    DatabaseManager(const DatabaseManager&) = delete;
    DatabaseManager& operator=(const DatabaseManager&) = delete;

    // The running program's store, or nullptr before it is opened.
    static DatabaseManager* getInstance();

    // Path of the database file: beside the executable.
    static QString databasePath();
    static QString databasePathIn(const QString& directory);

    // Start-up check, before anything opens the store: the file can be read and written.
    // When it cannot, shows a critical box naming the file and the reason and returns false;
    // the program then ends with exit code 1 instead of running on without saving anything.
    static bool checkWritable();
    // Why the store cannot be used (read-only, locked by another program, not a database,
    // damaged, ...), or an empty text when it can. Uses a connection of its own, closed again;
    // a write is tried inside a transaction that is rolled back, so the file is left as it was.
    static QString writeProblem(const QString& path);

    QSqlQuery getDCPQuery();
    // The catalogue's tables one at a time, for the start-up load (CatalogueLoader). Columns
    // in the order of the SELECT in the source; links in the order they were stored.
    enum class CatalogueTable
    {
        Dcps,
        Reels,
        Assets,
        Links,
        // Per DCP: its UUID, number of reels and their size (each reel's files, as its
        // object sums them), for DCPs listed without their reels.
        Summaries
    };
    // With selected, the rows of the DCPs named by the last selectForCatalogue only (every
    // DCP row still).
    std::unique_ptr<StoreRows> getCatalogueRows(CatalogueTable table, bool selected = false);
    // Names the DCPs whose rows getCatalogueRows(…, true) and getDCPsSharingReels read.
    void selectForCatalogue(const QStringList& dcpUuids);
    // DCPs with work left: an asset not finished, not verified, corrupted or hidden. Every other
    // DCP is complete (if no event is left to acknowledge) and can be listed without its reels.
    QStringList getUnsettledDCPs();
    // DCPs being worked on: an asset with work left that was started (or finished, verified,
    // found corrupted), or an event not yet acknowledged. A DCP with work left that is not
    // among them has not been started.
    QStringList getDCPsInProgress();
    int getDCPCount();
    // DCPs outside the selection that list a reel of a selected DCP.
    QStringList getDCPsSharingReels();
    // The first DCP that lists the reel, or an empty text.
    QString getDCPListingReel(const QString& reelUuid);
    // The number of acknowledged events in the journal.
    int getSyncedNotificationCount();
    QSqlQuery getSettingQuery();
    // The events not yet acknowledged, oldest first.
    QSqlQuery getNotificationQuery();
    QSqlQuery getReelNotificationsQuery(const QString& reelUuid);
    int getUnsyncedReelNotificationsCount(const QString& reelUuid);
    // The user's download order and the DCPs paused one by one (table dcp_queue, beside the
    // six): dcp_uuid, position (NULL where the user placed nothing), paused.
    QSqlQuery getDownloadOrderQuery();
    // Bytes of all the assets of a DCP, read without loading them.
    quint64 getDCPAssetsSize(const QString& dcpUuid);

    bool insertSetting(const QString& key, const QString& value);
    bool insertDcp(DCP* dcp);
    bool insertReel(Reel* reel);
    bool insertAsset(Asset* asset);
    bool insertDCPReelAsset(Reel* reel, Asset* asset);
    bool insertNotification(Notification* notification);
    bool truncateSettings();
    bool truncateDownloadOrder();
    // position -1: none.
    bool insertDownloadOrder(const QString& dcpUuid, int position, bool paused);
    bool removeReel(Reel* reel);
    bool removeAsset(Asset* asset);
    bool updateAssetOriginalName(Asset* asset);
    bool updateAssetDownloadFields(Asset* asset);
    bool updateNotificationSynced(Notification* notification);
    bool removeDCP(DCP* dcp);

    // The identity of an asset's file when its digest passed, so that a reveal can tell the
    // verified bytes from a file that took their place. Kept until the file is revealed or
    // the asset goes; an asset without one reads as an invalid identity.
    bool recordVerifiedFile(const Asset* asset, const FileIdentity& identity);
    FileIdentity getVerifiedFile(const Asset* asset);
    bool forgetVerifiedFile(const Asset* asset);

    // A file's progress (its download fields, the identity of a verified file) is written in
    // one transaction gathered over kBatchWindowMs: thousands of small files would otherwise
    // wait for the disk several times each. Every other write (a journal row among them)
    // commits what is gathered first and is on the disk when it returns, as are explicit
    // Transactions. A kill loses at most the progress of the last window: its files are
    // fetched again from the bytes on the drive and verified again, and nothing was revealed
    // or sent on it.
    static constexpr int kBatchWindowMs = 200;
    // Puts what is gathered on the disk: before anything outside the program (a request, a
    // rename) relies on it. Throws std::runtime_error when the commit fails (rolled back).
    void commitPending();
    // Told when a gathered commit due by the window fails (the exception never reaches the event loop).
    void setCommitFailureHandler(std::function<void(const std::exception&)> handler)
    {
        commitFailed = std::move(handler);
    }

    QSqlDatabase db;

private:
    // Opens the gathering transaction if no transaction is open.
    void gather();

    // After db, whose connection they run on.
    std::unique_ptr<CatalogueTables> catalogueTables;
    std::unique_ptr<AssetTable> assetTable;
    std::unique_ptr<NotificationTable> notificationTable;
    std::unique_ptr<SettingTable> settingTable;
    std::unique_ptr<QueueTable> queueTable;

    bool gathering = false;
    std::unique_ptr<QTimer> batchTimer;
    std::function<void(const std::exception&)> commitFailed;
};
