#include "storage/CatalogueTables.h"

#include "model/Asset.h"
#include "model/DCP.h"
#include "model/Reel.h"
#include "storage/StoreQuery.h"
#include "storage/StoreRows.h"
#include "storage/Transaction.h"

#include <QDebug>
#include <QVariant>

#include <stdexcept>

using namespace StoreQuery;

QSqlQuery CatalogueTables::getDCPQuery()
{
    QSqlQuery query(db);
    query.setForwardOnly(true); // stepped once: no copy of every row kept in memory
    if (!query.exec(QStringLiteral(
            "SELECT d.uuid AS dcp_uuid,d.title AS dcp_title,d.friendly_title AS "
            "dcp_friendly_title,d.image_url "
            "AS dcp_image_url,d.download_path AS dcp_download_path,d.user_uuid AS "
            "dcp_user_uuid,d.campaign_dcp_id "
            "AS dcp_campaign_dcp_id,r.uuid AS reel_uuid,r.reel_number AS reel_reel_number,a.uuid AS "
            "asset_uuid,a.hash AS asset_hash,a.size AS asset_size,a.type AS asset_type,a.original_filename "
            "AS "
            "asset_original_filename,a.directory_path AS asset_directory_path,a.download_url AS "
            "asset_download_url,a.download_started AS asset_download_started,a.download_finished AS "
            "asset_download_finished,a.download_checksummed AS "
            "asset_download_checksummed,a.download_corrupted "
            "AS asset_download_corrupted,a.download_attempts AS asset_download_attempts,d.id AS "
            "dcp_db_id,r.id "
            "AS reel_db_id,a.id AS asset_db_id FROM dcp_reel_asset AS dra LEFT JOIN asset AS a ON a.uuid = "
            "dra.asset_uuid AND a.dcp_uuid = dra.dcp_uuid LEFT JOIN reel AS r ON r.uuid = dra.reel_uuid LEFT "
            "JOIN dcp AS d ON d.uuid = dra.dcp_uuid ORDER BY d.id DESC, a.id ASC")))
        fail(query, "[DatabaseManager] Unable to run DCP query:", "Unable to run DCP query");
    return query;
}

// Each reel of the DCPs the links name once, then every file its links list (in any DCP, as
// a shared reel's object holds them), counting only links whose reel, asset and DCP rows exist.
#define SUMMARIES_OF(links)                                                                                  \
    "SELECT x.dcp_uuid,COUNT(DISTINCT x.reel_uuid),SUM(a.size) FROM (SELECT DISTINCT l.dcp_uuid,"            \
    "l.reel_uuid FROM " links " JOIN reel r ON r.uuid = l.reel_uuid JOIN asset la ON la.uuid = "             \
    "l.asset_uuid AND la.dcp_uuid = l.dcp_uuid) x CROSS JOIN dcp_reel_asset o ON o.reel_uuid = x.reel_uuid " \
    "JOIN asset a ON a.uuid = o.asset_uuid AND a.dcp_uuid = o.dcp_uuid JOIN dcp d ON d.uuid = o.dcp_uuid "   \
    "GROUP BY x.dcp_uuid"

std::unique_ptr<StoreRows> CatalogueTables::getCatalogueRows(DatabaseManager::CatalogueTable table,
                                                             bool selected)
{
    // The DCP rows come with whether a whole link (its reel and asset rows present) reaches
    // them: only such a DCP is ever listed.
    static const char* const statements[] = {
        "SELECT id,uuid,title,friendly_title,image_url,download_path,user_uuid,campaign_dcp_id,"
        "EXISTS (SELECT 1 FROM dcp_reel_asset l JOIN reel r ON r.uuid = l.reel_uuid JOIN asset a ON "
        "a.uuid = l.asset_uuid AND a.dcp_uuid = l.dcp_uuid WHERE l.dcp_uuid = dcp.uuid) FROM dcp",
        "SELECT id,uuid,reel_number FROM reel",
        "SELECT id,uuid,dcp_uuid,hash,size,type,original_filename,directory_path,download_url,"
        "download_started,download_finished,download_checksummed,download_corrupted,download_attempts FROM "
        "asset",
        "SELECT dcp_uuid,reel_uuid,asset_uuid FROM dcp_reel_asset ORDER BY id",
        SUMMARIES_OF("dcp_reel_asset l"),
    };
    // The same rows for the DCPs of selectForCatalogue only. CROSS JOIN keeps the (small)
    // selection the outer loop: without statistics SQLite would rather scan the big table.
    static const char* const selectedStatements[] = {
        statements[0],
        "SELECT id,uuid,reel_number FROM reel WHERE uuid IN (SELECT l.reel_uuid FROM "
        "temp.catalogue_selection s CROSS JOIN dcp_reel_asset l ON l.dcp_uuid = s.uuid)",
        "SELECT a.id,a.uuid,a.dcp_uuid,a.hash,a.size,a.type,a.original_filename,a.directory_path,"
        "a.download_url,a.download_started,a.download_finished,a.download_checksummed,a.download_corrupted,"
        "a.download_attempts FROM temp.catalogue_selection s CROSS JOIN asset a ON a.dcp_uuid = s.uuid",
        "SELECT l.dcp_uuid,l.reel_uuid,l.asset_uuid FROM temp.catalogue_selection s CROSS JOIN "
        "dcp_reel_asset l "
        "ON l.dcp_uuid = s.uuid ORDER BY l.id",
        SUMMARIES_OF("temp.catalogue_selection s CROSS JOIN dcp_reel_asset l ON l.dcp_uuid = s.uuid"),
    };
    return std::make_unique<StoreRows>(
        db, (selected ? selectedStatements : statements)[static_cast<int>(table)],
        "[DatabaseManager] Unable to run DCP query:", "Unable to run DCP query");
}

void CatalogueTables::selectForCatalogue(const QStringList& dcpUuids)
{
    // A table of the connection's temporary database: the store's file never sees it.
    QSqlQuery query(db);
    if (!query.exec(
            QStringLiteral("CREATE TEMP TABLE IF NOT EXISTS catalogue_selection (uuid TEXT PRIMARY KEY)")) ||
        !query.exec(QStringLiteral("DELETE FROM temp.catalogue_selection")))
        fail(query, "[DatabaseManager] Unable to select DCPs:", "Unable to select DCPs");
    query.prepare(QStringLiteral("INSERT OR IGNORE INTO temp.catalogue_selection (uuid) VALUES (?)"));
    for (const QString& uuid : dcpUuids) {
        query.bindValue(0, uuid);
        execOrFail(query, "[DatabaseManager] Unable to select DCPs:", "Unable to select DCPs");
    }
}

QStringList CatalogueTables::getDCPsSharingReels()
{
    // Each reel of the selection once, then every link of it.
    return StoreQuery::uuids(
        db, "SELECT DISTINCT o.dcp_uuid FROM (SELECT DISTINCT l.reel_uuid FROM temp.catalogue_selection s "
            "CROSS JOIN dcp_reel_asset l ON l.dcp_uuid = s.uuid) r CROSS JOIN dcp_reel_asset o ON "
            "o.reel_uuid = r.reel_uuid WHERE o.dcp_uuid NOT IN (SELECT uuid FROM temp.catalogue_selection)");
}

int CatalogueTables::getDCPCount()
{
    return StoreQuery::count(db, "SELECT COUNT(*) FROM dcp");
}

QString CatalogueTables::getDCPListingReel(const QString& reelUuid)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    query.prepare(
        QStringLiteral("SELECT dcp_uuid FROM dcp_reel_asset WHERE reel_uuid = ? ORDER BY id LIMIT 1"));
    query.bindValue(0, reelUuid);
    execOrFail(query,
               "[DatabaseManager] Unable to find the DCP of a reel:", "Unable to find the DCP of a reel");
    return query.next() ? query.value(0).toString() : QString();
}

bool CatalogueTables::insertDcp(DCP* dcp)
{
    QSqlQuery query(db);
    query.prepare(QStringLiteral("INSERT INTO dcp (uuid,  title,  friendly_title,  image_url,  "
                                 "download_path,  user_uuid,  campaign_dcp_id) "
                                 "VALUES       (:uuid, :title, :friendly_title, :image_url, :download_path, "
                                 ":user_uuid, :campaign_dcp_id)"));
    query.bindValue(QStringLiteral(":uuid"), notNullText(dcp->getUuid()));
    query.bindValue(QStringLiteral(":title"), notNullText(dcp->getTitle()));
    query.bindValue(QStringLiteral(":friendly_title"), notNullText(dcp->getFriendlyTitle()));
    query.bindValue(QStringLiteral(":image_url"), notNullText(dcp->getImageUrl()));
    query.bindValue(QStringLiteral(":download_path"), notNullText(dcp->getDownloadPath()));
    query.bindValue(QStringLiteral(":user_uuid"), notNullText(dcp->getUserUUID()));
    query.bindValue(QStringLiteral(":campaign_dcp_id"), static_cast<qulonglong>(dcp->getCampaignDCPId()));
    execOrFail(query, "[DatabaseManager] Unable to run insertDcp query:", "Unable to run insertDcp query");
    dcp->setDbId(query.lastInsertId().toUInt());
    return true;
}

bool CatalogueTables::insertReel(Reel* reel)
{
    QSqlQuery query(db);
    query.prepare(QStringLiteral("INSERT INTO reel ( uuid,  dcp_uuid,  reel_number) VALUES         (:uuid, "
                                 ":dcp_uuid, :reel_number)"));
    query.bindValue(QStringLiteral(":uuid"), notNullText(reel->getUuid()));
    query.bindValue(QStringLiteral(":dcp_uuid"),
                    notNullText(reel->getDCP() ? reel->getDCP()->getUuid() : QString()));
    query.bindValue(QStringLiteral(":reel_number"), reel->getReelNumber());
    execOrFail(query, "[DatabaseManager] Unable to run insertReel query:", "Unable to run insertReel query");
    reel->setDbId(query.lastInsertId().toUInt());
    return true;
}

bool CatalogueTables::insertDCPReelAsset(Reel* reel, Asset* asset)
{
    QSqlQuery query(db);
    query.prepare(QStringLiteral("INSERT INTO dcp_reel_asset (dcp_uuid, reel_uuid, asset_uuid) "
                                 "VALUES(:dcp_uuid, :reel_uuid, :asset_uuid)"));
    query.bindValue(QStringLiteral(":dcp_uuid"), notNullText(assetDcpUuid(asset)));
    query.bindValue(QStringLiteral(":reel_uuid"), notNullText(reel->getUuid()));
    query.bindValue(QStringLiteral(":asset_uuid"), notNullText(asset->getUuid()));
    execOrFail(query, "[DatabaseManager] Unable to run insertDCPReelAsset query:",
               "Unable to run insertDCPReelAsset query");
    return true;
}

bool CatalogueTables::removeReel(Reel* reel)
{
    QSqlQuery query(db);
    query.prepare(QStringLiteral("DELETE FROM reel WHERE uuid = :uuid"));
    query.bindValue(QStringLiteral(":uuid"), notNullText(reel->getUuid()));
    execOrFail(query, "[DatabaseManager] Unable to run removeReel [reel] query:",
               "Unable to run removeReel [reel] query");

    query.prepare(QStringLiteral("DELETE FROM dcp_reel_asset WHERE reel_uuid = :uuid"));
    query.bindValue(QStringLiteral(":uuid"), notNullText(reel->getUuid()));
    execOrFail(query, "[DatabaseManager] Unable to run removeReel [dcp_reel_asset] query:",
               "Unable to run removeReel [dcp_reel_asset] query");
    return true;
}

bool CatalogueTables::removeDCP(DCP* dcp)
{
    const QList<Asset*>& assets = dcp->getAssets();
    const QList<Reel*>& reels = dcp->getReels();
    // Reels that could not be read would leave their rows behind without their DCP.
    if (!dcp->reelsLoaded())
        throw std::runtime_error("Unable to read the reels of the DCP to remove");

    // Six statements whatever the size of the DCP: the rows go by IN lists.
    QSqlQuery assetQuery(db);
    assetQuery.prepare(QStringLiteral("DELETE FROM asset WHERE uuid IN(%1) AND dcp_uuid = ?")
                           .arg(placeholders(assets.size())));
    for (const Asset* asset : assets)
        assetQuery.addBindValue(asset->getUuid());
    assetQuery.addBindValue(dcp->getUuid());

    // A reel that another DCP also lists keeps its row and that DCP's links: only this
    // DCP's links go, and a reel row only once no link points at it any more.
    QSqlQuery linkQuery(db);
    linkQuery.prepare(QStringLiteral("DELETE FROM dcp_reel_asset WHERE reel_uuid IN(%1) AND dcp_uuid = ?")
                          .arg(placeholders(reels.size())));
    QSqlQuery reelQuery(db);
    reelQuery.prepare(QStringLiteral("DELETE FROM reel WHERE uuid IN(%1) AND uuid NOT IN "
                                     "(SELECT reel_uuid FROM dcp_reel_asset)")
                          .arg(placeholders(reels.size())));
    for (const Reel* reel : reels) {
        reelQuery.addBindValue(reel->getUuid());
        linkQuery.addBindValue(reel->getUuid());
    }
    linkQuery.addBindValue(dcp->getUuid());

    QSqlQuery dcpQuery(db);
    dcpQuery.prepare(QStringLiteral("DELETE FROM dcp WHERE uuid = :uuid"));
    dcpQuery.bindValue(QStringLiteral(":uuid"), dcp->getUuid());
    QSqlQuery queueQuery(db);
    queueQuery.prepare(QStringLiteral("DELETE FROM dcp_queue WHERE dcp_uuid = :uuid"));
    queueQuery.bindValue(QStringLiteral(":uuid"), dcp->getUuid());

    QSqlQuery verifiedQuery(db);
    verifiedQuery.prepare(QStringLiteral("DELETE FROM verified_file WHERE dcp_uuid = ?"));
    verifiedQuery.addBindValue(dcp->getUuid());

    // One unit: a statement failing half-way would leave a DCP without reels or assets
    // whose links still load at the next start. Joins a transaction the caller opened.
    Transaction transaction(store);
    execOrFail(assetQuery, "[DatabaseManager] Unable to run removeDCP [assets] query:",
               "Unable to run removeDCP [assets] query");
    execOrFail(linkQuery, "[DatabaseManager] Unable to run removeDCP [dcp_reel_assets] query:",
               "Unable to run removeDCP [dcp_reel_assets] query");
    execOrFail(reelQuery, "[DatabaseManager] Unable to run removeDCP [reels] query:",
               "Unable to run removeDCP [reels] query");
    execOrFail(dcpQuery, "[DatabaseManager] Unable to run removeDCP [dcp] query:",
               "Unable to run removeDCP [dcp] query");
    execOrFail(queueQuery, "[DatabaseManager] Unable to run removeDCP [dcp_queue] query:",
               "Unable to run removeDCP [dcp_queue] query");
    execOrFail(verifiedQuery, "[DatabaseManager] Unable to run removeDCP [verified files] query:",
               "Unable to run removeDCP [verified files] query");
    transaction.commit();
    return true;
}
