#pragma once

#include "model/Asset.h"

#include <QList>
#include <QMap>
#include <QObject>
#include <QString>

class DCP;
class Reel;

// The catalogue of DCPs: rebuilt from the store at start, sorted, filtered, and the
// entry point through which packages are opened.
class DCPManager : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QList<QObject*> dcps READ getDCPsQML NOTIFY dcpsChanged)
    Q_PROPERTY(bool haveSearchFilter READ haveSearchFilter NOTIFY filterChanged)

public:
    static DCPManager* getInstance();
    // Whether the start-up load kept at least one DCP on a connected drive.
    static bool loadedData() { return m_loaded_data; }
    // Tests only: forgets the instance (it is left alive, since others may still hold
    // it), so the next getInstance() loads the catalogue from the store again.
    static void resetForTesting();

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
    // Whether the catalogue has been created (and loaded) in this run.
    static bool isCreated() { return m_instance != nullptr; }
    QList<QObject*> getDCPsQML();
    bool haveSearchFilter() const { return !search_filter.isEmpty(); }

    void addDCP(DCP* dcp);
    void addReel(Reel* reel);
    void addAsset(Asset* asset);
    void removeReel(Reel* reel);
    void removeAsset(Asset* asset);
    void removeDCP(DCP* dcp);

    Q_INVOKABLE void loadDCPFromFile(const QString& path);
    Q_INVOKABLE void sortDCPsBy(const QString& key);
    Q_INVOKABLE void setSearchFilter(const QString& text);

signals:
    void dcpsChanged();
    void filterChanged();

protected:
    DCPManager();
    // Rebuilds the catalogue from the store; true when at least one DCP was kept.
    bool loadDCPs();

private:
    // Files a DCP whose folder is known to exist, or whose drive is not connected.
    void fileDCP(DCP* dcp);

    QString search_filter;
    QString decoding_key;
    QList<DCP*> dcps;
    QList<QObject*> qml_dcps;
    QMap<QString, DCP*> dcps_by_uuid;
    QList<Reel*> reels;
    QMap<QString, Reel*> reels_by_uuid;
    QList<Asset*> assets;
    QMap<AssetKey, Asset*> assets_by_key;

    static DCPManager* m_instance;
    static bool m_loaded_data;
};

bool dateSorterLessThan(const DCP* a, const DCP* b);
bool nameSorterLessThan(const DCP* a, const DCP* b);
