#pragma once

#include "model/Asset.h"

#include <QList>
#include <QMap>
#include <QObject>
#include <QString>

class DatabaseManager;
class DCP;
class DCPManager;

// One reel of a DCP: the unit the user follows and removes, and the unit reported to
// the notification service. Sizes and states are derived from its assets on demand.
class Reel : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString uuid READ getUuid CONSTANT)
    Q_PROPERTY(unsigned int reel_number READ getReelNumber CONSTANT)
    // Share of the files under verification read so far (0 when none is being read).
    Q_PROPERTY(double check_progress READ getCheckProgress NOTIFY checkProgressChanged)

public:
    Reel(const QString& uuid, const QString& main_picture_id, const QString& main_sound_id,
         const QString& main_subtitle_id, unsigned reel_number);
    Reel(const QString& uuid, unsigned reel_number);

    unsigned getDbId() const { return db_id; }
    QString getUuid() const { return uuid; }
    QString getMainPictureId() const { return main_picture_id; }
    QString getMainSoundId() const { return main_sound_id; }
    QString getMainSubtitleId() const { return main_subtitle_id; }
    unsigned getReelNumber() const { return reel_number; }
    DCP* getDCP() const { return dcp; }
    const QList<Asset*>& getAssets() const { return assets; }

    void setDCP(DCP* value) { dcp = value; }
    void setDbId(unsigned value) { db_id = value; }
    void addAsset(Asset* asset);
    // Drops one asset from this reel (used when the asset's DCP is dropped while a
    // shared reel lives on); false when the reel did not list it.
    bool removeAsset(Asset* asset);
    // Puts replacement in the place of current (same position in the list); false when
    // the reel does not list current. Used when a merged reel shares a file with a reel
    // already catalogued, so both list the catalogued object.
    bool replaceAsset(Asset* current, Asset* replacement);
    // Main thread only: kept until an asset of any reel changes its attempts or this reel its
    // assets. A reel of thousands of subtitle images asks once per file started.
    QString getAssetsRetryHash() const;

    // Stores the reel and its assets in its DCP's store (see DCP::syncToDatabase).
    void syncToDatabase(DCPManager* catalogue);
    // Removes the reel's row and links, and the rows of its assets that no other reel of
    // its DCP lists.
    void removeFromDb();
    // Whether another reel still in this reel's DCP lists the asset too.
    bool sharesWithAnotherReel(const Asset* asset) const;

    // What happened to the reel, told to the window through its signals (and its DCP's
    // status). The states themselves are derived from the assets and the store.
    void announcePaused();
    void announceCheckingChecksum();
    void announceRequeued();
    void announceCorrupted();
    void announceChecksummed();
    void announceSynced();
    void announceProgress(qulonglong speed);
    double getCheckProgress() const { return check_progress; }
    // Main thread: how far the verification of the reel's files has read.
    void setCheckProgress(double value);

    // The journal's answer to whether the reel's events are acknowledged is kept until the
    // notification queue journals or acknowledges one of them (eventsChanged): the window
    // asks at every status change of every reel shown.
    void eventsChanged() { unacknowledged_events = -1; }
    void setEventsAcknowledged() { unacknowledged_events = 0; }

    Q_INVOKABLE qulonglong getTotalSize() const;
    Q_INVOKABLE qulonglong getDownloadedSize() const;
    Q_INVOKABLE bool isSynced() const;
    Q_INVOKABLE bool isFinished() const;
    Q_INVOKABLE bool isDownloaded() const;
    Q_INVOKABLE bool isChecksummed() const;
    Q_INVOKABLE bool isCorrupted() const;

signals:
    void downloadSynced();
    void downloadPaused();
    void downloadChecksummed();
    void downloadCorrupted();
    void downloadQueuedForRedownload();
    void downloadCheckingChecksum();
    void downloadProgress(qulonglong speed);
    void checkProgressChanged();

private:
    void announceDCPStatus();
    // The store of the reel's DCP; throws std::runtime_error for a reel without one.
    DatabaseManager& store() const;

    unsigned db_id = 0;
    QString uuid;
    QString main_picture_id;
    QString main_sound_id;
    QString main_subtitle_id;
    unsigned reel_number = 0;
    double check_progress = 0;
    mutable int unacknowledged_events = -1; // not asked yet
    DCP* dcp = nullptr;
    QList<Asset*> assets;
    QMap<AssetKey, Asset*> assets_by_key;
    mutable QString retry_hash;
    mutable quint64 retry_hash_epoch = 0;
    mutable bool retry_hash_known = false;
};
