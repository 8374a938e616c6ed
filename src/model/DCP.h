#pragma once

#include "model/Asset.h"

#include <QList>
#include <QMap>
#include <QObject>
#include <QString>

#include <functional>

class DatabaseManager;
class DCPManager;
class Reel;

// One Digital Cinema Package being downloaded: identity, target folder, reels and assets.
class DCP : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString id READ getUuid CONSTANT)
    Q_PROPERTY(QString title READ getTitle CONSTANT)
    Q_PROPERTY(QString friendly_title READ getFriendlyTitle CONSTANT)
    Q_PROPERTY(QString image_url READ getImageUrl CONSTANT)
    Q_PROPERTY(QString download_path READ getDownloadPath CONSTANT)
    Q_PROPERTY(QList<QObject*> reels READ getReelsQML NOTIFY reelsChanged)
    // False for a DCP listed without its reels (complete, or not started) until something asks
    // for them.
    Q_PROPERTY(bool reels_loaded READ reelsLoaded NOTIFY reelsChanged)
    Q_PROPERTY(bool finished READ isFinished NOTIFY finishedChanged)
    // False when the folder the user chose (usually on a removable drive) was missing at start:
    // the DCP is listed but neither downloaded, verified nor revealed.
    Q_PROPERTY(bool drive_connected READ isDriveConnected NOTIFY driveConnectedChanged)

public:
    // store: where the DCP, its reels and their assets keep their rows, handed down by whoever
    // builds the DCP for the catalogue; not owned, and it outlives the DCP. Null for a DCP
    // that is never stored.
    DCP(const QString& uuid, const QString& title, const QString& image_url, const QString& download_path,
        DatabaseManager* store);

    unsigned getDbId() const { return db_id; }
    QString getUuid() const { return uuid; }
    QString getTitle() const { return title; }
    QString getFriendlyTitle() const { return friendly_title; }
    QString getImageUrl() const { return image_url; }
    QString getDownloadPath() const { return download_path; }
    QString getUserUUID() const { return user_uuid; }
    unsigned long long getCampaignDCPId() const { return campaign_dcp_id; }
    // The reels and assets, read from the store first if the DCP was listed without them.
    const QList<Asset*>& getAssets() const;
    const QList<Reel*>& getReels() const;
    // What is in memory now, without reading the store.
    const QList<Asset*>& loadedAssets() const { return assets; }
    const QList<Reel*>& loadedReels() const { return reels; }

    // Lists the DCP without its reels: loader creates them on first use (on the thread the DCP
    // lives in). Only for a DCP whose every reel is complete, verified and acknowledged
    // (complete), or one of which nothing has been started yet.
    using ReelLoader = std::function<void(DCP*)>;
    void setReelLoader(ReelLoader loader, bool complete)
    {
        reel_loader = std::move(loader);
        listed_complete = complete;
    }
    bool reelsLoaded() const { return !reel_loader; }
    // Listed without its reels, and complete: nothing is left to do for it.
    bool isListedComplete() const { return reel_loader && listed_complete; }
    // Listed without its reels, and nothing of it started yet.
    bool isListedNotStarted() const { return reel_loader && !listed_complete; }
    // What the tile of a DCP listed without its reels shows, so that scrolling a long history
    // neither loads reels nor asks the store for every tile: its number of reels and their
    // size. The summary loader (the catalogue) reads them for a batch of listed DCPs at once.
    using SummaryLoader = std::function<void(DCP*)>;
    void setSummaryLoader(SummaryLoader loader) { summary_loader = std::move(loader); }
    void setListedSummary(int reel_count, qulonglong total_size)
    {
        listed_reel_count = reel_count;
        listed_total_size = total_size;
    }
    bool hasListedSummary() const { return listed_reel_count >= 0; }
    // Complete DCPs show their whole size, those not started nothing (no file was written
    // for them); with the reels loaded, the reels say.
    Q_INVOKABLE bool listedComplete() const { return isListedComplete(); }
    Q_INVOKABLE int getListedReelCount() const;
    Q_INVOKABLE qulonglong getListedTotalSize() const;
    // Called by the loader once it has created the reels, or to give up loading them.
    void takeReelLoader() { reel_loader = nullptr; }

    void setDbId(unsigned value) { db_id = value; }
    void setUserUUID(const QString& value) { user_uuid = value; }
    void setCampaignDCPId(unsigned long long value) { campaign_dcp_id = value; }
    void setFriendlyTitle(const QString& value) { friendly_title = value; }
    bool isDriveConnected() const { return drive_connected; }
    void setDriveConnected(bool value);

    void addReel(Reel* reel);
    Reel* getReel(const QString& uuid) const;
    void removeReel(Reel* reel);
    QList<QObject*> getReelsQML() const;
    void addAsset(Asset* asset);
    Asset* getAsset(const QString& uuid) const;
    QString getDCPPath() const;
    // The store of the DCP, its reels and their assets. Throws std::runtime_error for a DCP
    // built without one.
    DatabaseManager& getStore() const;
    // Stores the DCP with its reels and their assets in one transaction. Each asset stored is
    // registered with the catalogue, and one it already holds is skipped (row and links);
    // without a catalogue (a store filled before the program starts) only rows are written.
    void syncToDatabase(DCPManager* catalogue);

    // Told by the engine and the checksum verdicts; the DCP's own signals follow.
    void announceStatus() { emit statusChanged(); }
    void announceProgress() { emit downloadProgress(); }
    void announceAssetFinished();
    void announceReelsChanged();

    Q_INVOKABLE qulonglong getTotalSize() const;
    Q_INVOKABLE qulonglong getDownloadedSize() const;
    Q_INVOKABLE qulonglong getDownloadedSizeUI() const;
    bool isFinished() const;
    bool isDownloaded() const;

signals:
    void finishedChanged();
    void reelsChanged();
    void statusChanged();
    void downloadFinished();
    void downloadProgress();
    void driveConnectedChanged();

private:
    void ensureReels() const;

    unsigned db_id = 0;
    QString uuid;
    QString title;
    QString friendly_title;
    QString image_url;
    QString download_path;
    QString user_uuid;
    unsigned long long campaign_dcp_id = 0;
    bool drive_connected = true;
    DatabaseManager* store = nullptr;
    QList<Asset*> assets;
    QMap<AssetKey, Asset*> assets_by_key;
    QList<Reel*> reels;
    QMap<QString, Reel*> reels_by_uuid;
    // Set while the reels are still in the store only; cleared before it runs.
    mutable ReelLoader reel_loader;
    bool listed_complete = false;
    SummaryLoader summary_loader;
    int listed_reel_count = -1; // not read yet
    qulonglong listed_total_size = 0;
};
