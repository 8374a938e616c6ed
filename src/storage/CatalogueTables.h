#pragma once

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QStringList>

#include "storage/DatabaseManager.h"

#include <memory>

class DCP;
class Reel;
class Asset;
class StoreRows;

// A DCP's rows, its reels' and the links between reels and assets (tables dcp, reel,
// dcp_reel_asset), and the catalogue's reads over them.
// The statements only: DatabaseManager decides when their writes reach the disk.
class CatalogueTables
{
public:
    // store: the owner of db, whose pending writes go to the disk before a removal's own
    // transaction begins.
    CatalogueTables(DatabaseManager& store, QSqlDatabase& db) : store(store), db(db) {}

    QSqlQuery getDCPQuery();
    std::unique_ptr<StoreRows> getCatalogueRows(DatabaseManager::CatalogueTable table, bool selected);
    void selectForCatalogue(const QStringList& dcpUuids);
    QStringList getDCPsSharingReels();
    int getDCPCount();
    QString getDCPListingReel(const QString& reelUuid);
    bool insertDcp(DCP* dcp);
    bool insertReel(Reel* reel);
    bool insertDCPReelAsset(Reel* reel, Asset* asset);
    bool removeReel(Reel* reel);
    bool removeDCP(DCP* dcp);

private:
    DatabaseManager& store;
    QSqlDatabase& db;
};
