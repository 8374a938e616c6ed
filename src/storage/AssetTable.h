#pragma once

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QStringList>

class Asset;
struct FileIdentity;

// The assets' rows and the identities of their verified files (tables asset, verified_file).
// The statements only: DatabaseManager decides when their writes reach the disk.
class AssetTable
{
public:
    explicit AssetTable(QSqlDatabase& db) : db(db) {}

    QStringList getUnsettledDCPs();
    QStringList getDCPsInProgress();
    quint64 getDCPAssetsSize(const QString& dcpUuid);
    bool insertAsset(Asset* asset);
    bool removeAsset(Asset* asset);
    bool recordVerifiedFile(const Asset* asset, const FileIdentity& identity);
    FileIdentity getVerifiedFile(const Asset* asset);
    bool forgetVerifiedFile(const Asset* asset);
    bool updateAssetOriginalName(Asset* asset);
    bool updateAssetDownloadFields(Asset* asset);

private:
    QSqlDatabase& db;
};
