#pragma once

#include "model/Asset.h"

#include <QHash>
#include <QList>
#include <QMap>
#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>

class DCP;
class DatabaseManager;
class Reel;

// The catalogue of DCPs: rebuilt from the store at start, sorted, filtered, and the
// entry point through which packages are opened.
class DCPManager : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QList<QObject*> dcps READ getDCPsQML NOTIFY dcpsChanged)
    Q_PROPERTY(bool haveSearchFilter READ haveSearchFilter NOTIFY filterChanged)

public:
    // Runs the import of one package file with the decoding key.
    using PackageReader = std::function<void(const QString& decodingKey, const QString& path)>;

    // Loads the catalogue from the store.
    explicit DCPManager(DatabaseManager& store);
    // Frees every DCP, reel and asset it holds or has removed.
    ~DCPManager() override;
    // The running program's catalogue, or nullptr before it is loaded (for tests and tools;
    // the program hands the catalogue to whoever needs it).
    static DCPManager* getInstance();
    // The store the catalogue is loaded from: DCPs built for it are handed this one.
    DatabaseManager& getStore() const { return store; }
    // Whether the start-up load kept at least one DCP on a connected drive.
    bool loadedData() const { return m_loaded_data; }
    void setPackageReader(PackageReader reader) { package_reader = std::move(reader); }

    QString getDecodingKey() const { return decoding_key; }
    void setDecodingKey(const QString& key) { decoding_key = key; }

    DCP* getDCP(const QString& uuid) const;
    Reel* getReel(const QString& uuid) const;
    Asset* getAsset(const QString& uuid, const QString& dcp_uuid) const;
    // The DCPs whose drive is connected, in catalogue order: the only ones the download
    // engine and the checksum worker walk. A DCP whose drive was missing at start is listed
    // for the user (dcps) but stays out of every queue until a start finds the drive again.
    QList<DCP*> getDCPs() const;
    // Every catalogued DCP, drive connected or not.
    const QList<DCP*>& getAllDCPs() const { return dcps; }
    // Every object the catalogue frees when it goes: what it holds now, what it removed in
    // this run, and what its DCPs list.
    void collectOwned(QSet<DCP*>& owned_dcps, QSet<Reel*>& owned_reels, QSet<Asset*>& owned_assets) const;
    QList<QObject*> getDCPsQML();
    bool haveSearchFilter() const { return !search_filter.isEmpty(); }

    void addDCP(DCP* dcp);
    void addReel(Reel* reel);
    void addAsset(Asset* asset);
    // Removes a DCP: its rows in one transaction (throws and changes nothing when that
    // fails), then its objects from every lookup. The objects stay alive, since the
    // window may still show them.
    void removeDCP(DCP* dcp);
    // Removes a reel from its DCP: its rows in one transaction, then the assets no other
    // reel of the DCP lists, with their files. Returns the DCP, which may be left empty.
    DCP* removeReel(Reel* reel);
    // Drops an asset from the lookups only: one an import registered but could not store.
    void forgetAsset(Asset* asset);

    Q_INVOKABLE void loadDCPFromFile(const QString& path);
    Q_INVOKABLE void sortDCPsBy(const QString& key);
    Q_INVOKABLE void setSearchFilter(const QString& text);

signals:
    void dcpsChanged();
    void filterChanged();
    // Emitted before the assets leave the catalogue for good (their DCP or reel is being
    // removed) and before their files are deleted: nothing may transfer or queue them after.
    void assetsRemoved(const QList<Asset*>& assets);

private:
    // Rebuilds the catalogue from the store; true when at least one DCP was kept.
    bool loadDCPs();
    // The DCPs named and every DCP that shares a reel with one of them, and so on.
    QSet<QString> withSharedReels(const QStringList& dcpUuids);
    // Creates the reels and assets of a DCP listed without them (and of the DCPs sharing a
    // reel with it) and adds them to the lookups.
    void loadReelsOf(DCP* dcp);
    // Reads the reel count and size of a DCP listed without its reels, and of the listed DCPs
    // around it in the catalogue's order, in one go.
    void readListedSummaries(DCP* dcp);
    // Files a DCP whose folder is known to exist, or whose drive is not connected.
    void fileDCP(DCP* dcp);
    void forgetReel(Reel* reel);

    QString search_filter;
    QString decoding_key;
    QList<DCP*> dcps;
    QList<QObject*> qml_dcps;
    QMap<QString, DCP*> dcps_by_uuid;
    // The DCPs of the start-up load until they are filed.
    QHash<QString, DCP*> unfiled;
    QList<Reel*> reels;
    QMap<QString, Reel*> reels_by_uuid;
    QList<Asset*> assets;
    QMap<AssetKey, Asset*> assets_by_key;
    // Removed DCPs, kept alive for the window until the catalogue goes.
    QList<DCP*> removed_dcps;
    QList<Reel*> removed_reels;

    DatabaseManager& store;
    PackageReader package_reader;
    bool m_loaded_data = false;
};

bool dateSorterLessThan(const DCP* a, const DCP* b);
bool nameSorterLessThan(const DCP* a, const DCP* b);
