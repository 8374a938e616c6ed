#include "storage/DatabaseManager.h"

#include "core/DataFolder.h"
#include "core/FileIdentity.h"
#include "core/UserPrompt.h"
#include "storage/AssetTable.h"
#include "storage/CatalogueTables.h"
#include "storage/NotificationTable.h"
#include "storage/QueueTable.h"
#include "storage/SettingTable.h"
#include "storage/StoreFile.h"
#include "storage/StoreRows.h"

#include <QDebug>
#include <QDir>
#include <QSqlError>
#include <QTimer>

#include <stdexcept>

namespace {
DatabaseManager* g_instance = nullptr;
} // namespace

QString DatabaseManager::writeProblem(const QString& path)
{
    return StoreFile::writeProblem(path);
}

bool DatabaseManager::checkWritable()
{
    const QString problem = writeProblem(databasePath());
    if (problem.isEmpty())
        return true;
    const QString path = QDir::toNativeSeparators(databasePath());
    qDebug() << "[DatabaseManager] The database cannot be written:" << path << "-" << problem;
    UserPrompt::message(
        Prompt::Critical, tr("The database of the Reelvane Downloader cannot be written."),
        tr("File: %1\nReason: %2\n\nThe program keeps every download in this file and cannot run "
           "without writing to it. Close any other program that uses the file, or make the file "
           "and its folder writable, then start the Reelvane Downloader again.")
            .arg(path, problem));
    return false;
}

DatabaseManager* DatabaseManager::getInstance()
{
    return g_instance;
}

QString DatabaseManager::databasePath()
{
    return databasePathIn(DataFolder::path());
}

QString DatabaseManager::databasePathIn(const QString& directory)
{
    return directory + QLatin1Char('/') + QLatin1String(DataFolder::storeFileName);
}

DatabaseManager::DatabaseManager(const QString& directory)
    : catalogueTables(std::make_unique<CatalogueTables>(*this, db)),
      assetTable(std::make_unique<AssetTable>(db)),
      notificationTable(std::make_unique<NotificationTable>(db)),
      settingTable(std::make_unique<SettingTable>(db)), queueTable(std::make_unique<QueueTable>(db))
{
    db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"));
    db.setDatabaseName(databasePathIn(directory));
    StoreFile::createPrivately(databasePathIn(directory));

    // Leave no half-open default connection behind when construction fails.
    auto dropConnection = [this]() {
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(QLatin1String(QSqlDatabase::defaultConnection));
    };

    if (!db.open()) {
        qDebug() << "[DatabaseManager] Unable to open the database" << db.lastError().text();
        dropConnection();
        throw std::runtime_error("Unable to open the database");
    }
    if (!StoreFile::createTables(db)) {
        qDebug() << "[DatabaseManager] Unable to query the database";
        dropConnection();
        throw std::runtime_error("Unable to query the database");
    }
    batchTimer = std::make_unique<QTimer>();
    batchTimer->setSingleShot(true);
    batchTimer->setInterval(kBatchWindowMs);
    QObject::connect(batchTimer.get(), &QTimer::timeout, [this]() {
        try {
            commitPending();
        } catch (const std::exception& e) {
            if (commitFailed)
                commitFailed(e);
        }
    });
    g_instance = this;
}

DatabaseManager::~DatabaseManager()
{
    if (g_instance == this)
        g_instance = nullptr;
    try {
        commitPending();
    } catch (const std::exception& e) {
        qDebug() << "[DatabaseManager] Progress of the last moments not stored:" << e.what();
    }
    db.close();
    db = QSqlDatabase();
    QSqlDatabase::removeDatabase(QLatin1String(QSqlDatabase::defaultConnection));
}

void DatabaseManager::gather()
{
    // Inside a Transaction the write simply joins it.
    if (gathering || !db.transaction())
        return;
    gathering = true;
    batchTimer->start();
}

void DatabaseManager::commitPending()
{
    if (!gathering)
        return;
    gathering = false;
    batchTimer->stop();
    if (db.commit())
        return;
    qDebug() << "[DatabaseManager] Unable to commit the gathered writes:" << db.lastError().text();
    db.rollback();
    throw std::runtime_error("Unable to commit the transaction");
}

QSqlQuery DatabaseManager::getDCPQuery()
{
    return catalogueTables->getDCPQuery();
}

std::unique_ptr<StoreRows> DatabaseManager::getCatalogueRows(CatalogueTable table, bool selected)
{
    return catalogueTables->getCatalogueRows(table, selected);
}

void DatabaseManager::selectForCatalogue(const QStringList& dcpUuids)
{
    catalogueTables->selectForCatalogue(dcpUuids);
}

QStringList DatabaseManager::getUnsettledDCPs()
{
    return assetTable->getUnsettledDCPs();
}

QStringList DatabaseManager::getDCPsInProgress()
{
    return assetTable->getDCPsInProgress();
}

QStringList DatabaseManager::getDCPsSharingReels()
{
    return catalogueTables->getDCPsSharingReels();
}

int DatabaseManager::getDCPCount()
{
    return catalogueTables->getDCPCount();
}

QString DatabaseManager::getDCPListingReel(const QString& reelUuid)
{
    return catalogueTables->getDCPListingReel(reelUuid);
}

QSqlQuery DatabaseManager::getSettingQuery()
{
    return settingTable->getSettingQuery();
}

QSqlQuery DatabaseManager::getNotificationQuery()
{
    return notificationTable->getNotificationQuery();
}

QSqlQuery DatabaseManager::getReelNotificationsQuery(const QString& reelUuid)
{
    return notificationTable->getReelNotificationsQuery(reelUuid);
}

int DatabaseManager::getSyncedNotificationCount()
{
    return notificationTable->getSyncedNotificationCount();
}

int DatabaseManager::getUnsyncedReelNotificationsCount(const QString& reelUuid)
{
    return notificationTable->getUnsyncedReelNotificationsCount(reelUuid);
}

QSqlQuery DatabaseManager::getDownloadOrderQuery()
{
    return queueTable->getDownloadOrderQuery();
}

quint64 DatabaseManager::getDCPAssetsSize(const QString& dcpUuid)
{
    return assetTable->getDCPAssetsSize(dcpUuid);
}

bool DatabaseManager::truncateDownloadOrder()
{
    commitPending();
    return queueTable->truncateDownloadOrder();
}

bool DatabaseManager::insertDownloadOrder(const QString& dcpUuid, int position, bool paused)
{
    commitPending();
    return queueTable->insertDownloadOrder(dcpUuid, position, paused);
}

bool DatabaseManager::insertSetting(const QString& key, const QString& value)
{
    commitPending();
    return settingTable->insertSetting(key, value);
}

bool DatabaseManager::insertDcp(DCP* dcp)
{
    commitPending();
    return catalogueTables->insertDcp(dcp);
}

bool DatabaseManager::insertReel(Reel* reel)
{
    commitPending();
    return catalogueTables->insertReel(reel);
}

bool DatabaseManager::insertAsset(Asset* asset)
{
    commitPending();
    return assetTable->insertAsset(asset);
}

bool DatabaseManager::insertDCPReelAsset(Reel* reel, Asset* asset)
{
    commitPending();
    return catalogueTables->insertDCPReelAsset(reel, asset);
}

bool DatabaseManager::insertNotification(Notification* notification)
{
    commitPending();
    return notificationTable->insertNotification(notification);
}

bool DatabaseManager::truncateSettings()
{
    commitPending();
    return settingTable->truncateSettings();
}

bool DatabaseManager::removeReel(Reel* reel)
{
    commitPending();
    return catalogueTables->removeReel(reel);
}

bool DatabaseManager::removeAsset(Asset* asset)
{
    commitPending();
    return assetTable->removeAsset(asset);
}

bool DatabaseManager::recordVerifiedFile(const Asset* asset, const FileIdentity& identity)
{
    gather();
    return assetTable->recordVerifiedFile(asset, identity);
}

FileIdentity DatabaseManager::getVerifiedFile(const Asset* asset)
{
    return assetTable->getVerifiedFile(asset);
}

bool DatabaseManager::forgetVerifiedFile(const Asset* asset)
{
    commitPending();
    return assetTable->forgetVerifiedFile(asset);
}

bool DatabaseManager::updateAssetOriginalName(Asset* asset)
{
    commitPending();
    return assetTable->updateAssetOriginalName(asset);
}

bool DatabaseManager::updateAssetDownloadFields(Asset* asset)
{
    gather();
    return assetTable->updateAssetDownloadFields(asset);
}

bool DatabaseManager::updateNotificationSynced(Notification* notification)
{
    commitPending();
    return notificationTable->updateNotificationSynced(notification);
}

bool DatabaseManager::removeDCP(DCP* dcp)
{
    return catalogueTables->removeDCP(dcp);
}
