#include "storage/AssetTable.h"

#include "core/FileIdentity.h"
#include "model/Asset.h"
#include "storage/StoreQuery.h"

#include <QVariant>

using namespace StoreQuery;

QStringList AssetTable::getUnsettledDCPs()
{
    return StoreQuery::uuids(db, "SELECT DISTINCT dcp_uuid FROM asset WHERE " UNSETTLED_ASSET);
}

QStringList AssetTable::getDCPsInProgress()
{
    // Either an asset worked on with work left, or a reel with an event the portal has not
    // acknowledged.
    return StoreQuery::uuids(db, "SELECT DISTINCT dcp_uuid FROM asset WHERE " ASSET_IN_PROGRESS
                                 " UNION SELECT l.dcp_uuid FROM notification n JOIN dcp_reel_asset l ON "
                                 "l.reel_uuid = n.reel_uuid WHERE n.synced = 0");
}

quint64 AssetTable::getDCPAssetsSize(const QString& dcpUuid)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT COALESCE(SUM(size), 0) FROM asset WHERE dcp_uuid = ?"));
    query.bindValue(0, dcpUuid);
    execOrFail(query, "[DatabaseManager] Unable to run getDCPAssetsSize query:",
               "Unable to run getDCPAssetsSize query");
    return query.next() ? query.value(0).toULongLong() : 0;
}

bool AssetTable::insertAsset(Asset* asset)
{
    QSqlQuery query(db);
    query.prepare(QStringLiteral(
        "INSERT INTO asset (uuid,  dcp_uuid,  hash,  size,  type,  original_filename,  directory_path,  "
        "download_url,  download_started,  download_finished,  download_checksummed,  download_corrupted,  "
        "download_attempts) VALUES         (:uuid, :dcp_uuid, :hash, :size, :type, :original_filename, "
        ":directory_path, :download_url, :download_started, :download_finished, :download_checksummed, "
        ":download_corrupted, :download_attempts)"));
    query.bindValue(QStringLiteral(":uuid"), notNullText(asset->getUuid()));
    query.bindValue(QStringLiteral(":dcp_uuid"), notNullText(assetDcpUuid(asset)));
    query.bindValue(QStringLiteral(":hash"), notNullText(asset->getHash()));
    query.bindValue(QStringLiteral(":size"), static_cast<qulonglong>(asset->getSize()));
    query.bindValue(QStringLiteral(":type"), notNullText(asset->getType()));
    query.bindValue(QStringLiteral(":original_filename"), notNullText(asset->getOriginalFileName()));
    query.bindValue(QStringLiteral(":directory_path"), notNullText(asset->getDirectoryPath()));
    query.bindValue(QStringLiteral(":download_url"), notNullText(asset->getDownloadUrl()));
    query.bindValue(QStringLiteral(":download_started"), asset->getDownloadStarted());
    query.bindValue(QStringLiteral(":download_finished"), asset->getDownloadFinished());
    query.bindValue(QStringLiteral(":download_checksummed"), asset->getDownloadChecksummed());
    query.bindValue(QStringLiteral(":download_corrupted"), asset->getDownloadCorrupted());
    query.bindValue(QStringLiteral(":download_attempts"), asset->getDownloadAttempts());
    execOrFail(query,
               "[DatabaseManager] Unable to run insertAsset query:", "Unable to run insertAsset query");
    return true;
}

bool AssetTable::removeAsset(Asset* asset)
{
    QSqlQuery query(db);
    query.prepare(QStringLiteral("DELETE FROM asset WHERE uuid = :uuid AND dcp_uuid = :dcp_uuid"));
    query.bindValue(QStringLiteral(":uuid"), notNullText(asset->getUuid()));
    query.bindValue(QStringLiteral(":dcp_uuid"), notNullText(assetDcpUuid(asset)));
    execOrFail(query, "[DatabaseManager] Unable to run removeAsset [asset] query:",
               "Unable to run removeAsset [asset] query");
    return forgetVerifiedFile(asset);
}

bool AssetTable::recordVerifiedFile(const Asset* asset, const FileIdentity& identity)
{
    QSqlQuery query(db);
    query.prepare(QStringLiteral("INSERT OR REPLACE INTO verified_file (asset_uuid, dcp_uuid, device, inode, "
                                 "size, modified_ns) VALUES (?, ?, ?, ?, ?, ?)"));
    query.addBindValue(notNullText(asset->getUuid()));
    query.addBindValue(notNullText(assetDcpUuid(asset)));
    // SQLite integers are signed: the unsigned numbers are kept bit for bit.
    query.addBindValue(qint64(identity.device));
    query.addBindValue(qint64(identity.inode));
    query.addBindValue(identity.size);
    query.addBindValue(identity.modifiedNs);
    execOrFail(query,
               "[DatabaseManager] Unable to record a verified file:", "Unable to record a verified file");
    return true;
}

FileIdentity AssetTable::getVerifiedFile(const Asset* asset)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    query.prepare(
        QStringLiteral("SELECT device, inode, size, modified_ns FROM verified_file WHERE asset_uuid = ? "
                       "AND dcp_uuid = ?"));
    query.addBindValue(notNullText(asset->getUuid()));
    query.addBindValue(notNullText(assetDcpUuid(asset)));
    execOrFail(query, "[DatabaseManager] Unable to read a verified file:", "Unable to read a verified file");
    FileIdentity identity;
    if (query.next()) {
        identity.device = quint64(query.value(0).toLongLong());
        identity.inode = quint64(query.value(1).toLongLong());
        identity.size = query.value(2).toLongLong();
        identity.modifiedNs = query.value(3).toLongLong();
    }
    return identity;
}

bool AssetTable::forgetVerifiedFile(const Asset* asset)
{
    QSqlQuery query(db);
    query.prepare(QStringLiteral("DELETE FROM verified_file WHERE asset_uuid = ? AND dcp_uuid = ?"));
    query.addBindValue(notNullText(asset->getUuid()));
    query.addBindValue(notNullText(assetDcpUuid(asset)));
    execOrFail(query,
               "[DatabaseManager] Unable to forget a verified file:", "Unable to forget a verified file");
    return true;
}

bool AssetTable::updateAssetOriginalName(Asset* asset)
{
    QSqlQuery query(db);
    query.prepare(QStringLiteral("UPDATE asset SET original_filename = :original_filename WHERE uuid = :uuid "
                                 "AND dcp_uuid = :dcp_uuid"));
    query.bindValue(QStringLiteral(":original_filename"), notNullText(asset->getOriginalFileName()));
    query.bindValue(QStringLiteral(":uuid"), notNullText(asset->getUuid()));
    query.bindValue(QStringLiteral(":dcp_uuid"), notNullText(assetDcpUuid(asset)));
    execOrFail(query, "[DatabaseManager] Unable to run updateAssetOriginalName:",
               "Unable to run updateAssetOriginalName");
    return true;
}

bool AssetTable::updateAssetDownloadFields(Asset* asset)
{
    QSqlQuery query(db);
    query.prepare(QStringLiteral(
        "UPDATE asset SET download_started = :download_started, download_finished = :download_finished, "
        "download_checksummed = :download_checksummed, download_corrupted = :download_corrupted, "
        "download_attempts = :download_attempts WHERE uuid = :uuid AND dcp_uuid = :dcp_uuid"));
    query.bindValue(QStringLiteral(":download_started"), asset->getDownloadStarted());
    query.bindValue(QStringLiteral(":download_finished"), asset->getDownloadFinished());
    query.bindValue(QStringLiteral(":download_checksummed"), asset->getDownloadChecksummed());
    query.bindValue(QStringLiteral(":download_corrupted"), asset->getDownloadCorrupted());
    query.bindValue(QStringLiteral(":download_attempts"), asset->getDownloadAttempts());
    query.bindValue(QStringLiteral(":uuid"), notNullText(asset->getUuid()));
    query.bindValue(QStringLiteral(":dcp_uuid"), notNullText(assetDcpUuid(asset)));
    execOrFail(query, "[DatabaseManager] Unable to run updateAssetDownloadFields:",
               "Unable to run updateAssetDownloadFields");
    return true;
}
