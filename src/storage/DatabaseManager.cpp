#include "storage/DatabaseManager.h"

#include "core/DataFolder.h"
#include "core/FileIdentity.h"
#include "core/UserPrompt.h"
#include "model/Asset.h"
#include "model/DCP.h"
#include "model/Reel.h"
#include "notify/Notification.h"
#include "storage/StoreRows.h"
#include "storage/Transaction.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QTimer>
#include <QVariant>

#include <fcntl.h>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

// An asset with work left: not finished, not verified, corrupted or still under its hidden name.
// The same text in the partial index and in the query, so that SQLite uses the one for the other.
#define UNSETTLED_ASSET                                                                                      \
    "(NOT download_finished OR NOT download_checksummed OR download_corrupted OR "                           \
    "substr(original_filename, 1, 1) = '.')"
// An asset with work left that has been worked on: one not yet started is not.
#define ASSET_IN_PROGRESS                                                                                    \
    "((download_started OR download_finished OR download_checksummed OR download_corrupted) "                \
    "AND " UNSETTLED_ASSET ")"

namespace {
DatabaseManager* g_instance = nullptr;

// Logs "<logText> <last error>" and raises the operation's fixed message.
[[noreturn]] void fail(const QSqlQuery& query, const char* logText, const char* message)
{
    qDebug() << logText << query.lastError().text();
    throw std::runtime_error(message);
}

void execOrFail(QSqlQuery& query, const char* logText, const char* message)
{
    if (!query.exec())
        fail(query, logText, message);
}

// Qt binds a null QString as SQL NULL, which the NOT NULL text columns refuse: an asset
// at the top of its DCP folder has no directory path at all. Store those as ''.
QVariant notNullText(const QString& value)
{
    return value.isNull() ? QVariant(QStringLiteral("")) : QVariant(value);
}

QString assetDcpUuid(const Asset* asset)
{
    return asset->getDCP() ? asset->getDCP()->getUuid() : QString();
}

// "?,?,?" with one placeholder per item; empty for no items (SQLite accepts "IN()").
QString placeholders(int count)
{
    QString list = QStringLiteral("?,").repeated(count);
    list.chop(1);
    return list;
}
} // namespace

namespace {
const char kCheckConnection[] = "orv_store_check";

// The user's words for an SQLite result code, followed by SQLite's own text.
QString describeStoreError(const QSqlError& error)
{
    QString reason;
    switch (error.nativeErrorCode().toInt() & 0xff) {
    case 5: // SQLITE_BUSY
    case 6: // SQLITE_LOCKED
        reason = QStringLiteral("it is locked by another program");
        break;
    case 8: // SQLITE_READONLY
        reason = QStringLiteral("it is read-only");
        break;
    case 10: // SQLITE_IOERR
        reason = QStringLiteral("the disk reported an error while reading or writing it");
        break;
    case 11: // SQLITE_CORRUPT
        reason = QStringLiteral("it is damaged");
        break;
    case 13: // SQLITE_FULL
        reason = QStringLiteral("the disk is full");
        break;
    case 14: // SQLITE_CANTOPEN
        reason = QStringLiteral("it cannot be opened, or its folder is read-only");
        break;
    case 26: // SQLITE_NOTADB
        reason = QStringLiteral("it is not a database");
        break;
    default:
        reason = QStringLiteral("it cannot be used");
        break;
    }
    const QString detail = error.databaseText().isEmpty() ? error.text() : error.databaseText();
    return detail.isEmpty() ? reason : reason + QStringLiteral(" (") + detail + QLatin1Char(')');
}

// The store holds the user's own state: under the start-up mask of 0 SQLite would make it
// readable by everyone. An empty file is a valid empty database, and SQLite gives its
// journal files the mode of the database file, so creating it private here covers them too.
void createPrivately(const QString& path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                          S_IRUSR | S_IWUSR);
    if (fd >= 0)
        ::close(fd);
}

QString probeStore(QSqlDatabase& check)
{
    if (!check.open())
        return describeStoreError(check.lastError());
    QSqlQuery query(check);
    // Reads every page: a damaged file shows now, not half-way through a download.
    if (!query.exec(QStringLiteral("PRAGMA quick_check")))
        return describeStoreError(query.lastError());
    if (query.next() && query.value(0).toString() != QLatin1String("ok"))
        return QStringLiteral("it is damaged (") + query.value(0).toString() + QLatin1Char(')');
    query.finish();
    if (!query.exec(QStringLiteral("BEGIN IMMEDIATE")))
        return describeStoreError(query.lastError());
    // A real write, so that a journal that cannot be created beside the file shows as well.
    QString problem;
    if (!query.exec(QStringLiteral("CREATE TABLE orv_write_check (id INTEGER)")))
        problem = describeStoreError(query.lastError());
    if (!query.exec(QStringLiteral("ROLLBACK")) && problem.isEmpty())
        problem = describeStoreError(query.lastError());
    return problem;
}
} // namespace

QString DatabaseManager::writeProblem(const QString& path)
{
    if (QFileInfo(path).isDir())
        return QStringLiteral("it is a folder, not a database file");

    createPrivately(path);
    QString problem;
    {
        QSqlDatabase check =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QLatin1String(kCheckConnection));
        check.setDatabaseName(path);
        // Another program holding the file gets a moment to let go before it counts as locked.
        check.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=2000"));
        problem = probeStore(check);
        check.close();
    }
    QSqlDatabase::removeDatabase(QLatin1String(kCheckConnection));
    return problem;
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
{
    db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"));
    db.setDatabaseName(databasePathIn(directory));
    createPrivately(databasePathIn(directory));

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
    if (!createTables()) {
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

bool DatabaseManager::createTables()
{
    static const char* const statements[] = {
        "CREATE TABLE IF NOT EXISTS dcp (id INTEGER PRIMARY KEY AUTOINCREMENT,uuid VARCHAR(36) NOT NULL "
        "UNIQUE,title VARCHAR(200) NOT NULL,friendly_title VARCHAR(200) NOT NULL,image_url TEXT NOT "
        "NULL,download_path TEXT NOT NULL,user_uuid VARCHAR(36) NOT NULL,campaign_dcp_id INTEGER NOT NULL);",

        "CREATE TABLE IF NOT EXISTS reel (id INTEGER PRIMARY KEY AUTOINCREMENT,uuid VARCHAR(36) NOT NULL "
        "UNIQUE,dcp_uuid VARCHAR(36) NOT NULL,reel_number INTEGER NOT NULL,FOREIGN KEY(dcp_uuid) REFERENCES "
        "dcp(uuid));",

        "CREATE TABLE IF NOT EXISTS asset (id INTEGER PRIMARY KEY AUTOINCREMENT,uuid VARCHAR(36) NOT "
        "NULL,dcp_uuid VARCHAR(36) NOT NULL,hash VARCHAR(50) NOT NULL,size INTEGER NOT NULL,type "
        "VARCHAR(100) NOT NULL,original_filename VARCHAR(250) NOT NULL,directory_path VARCHAR(250) NOT "
        "NULL,download_url TEXT NOT NULL,download_started BOOLEAN NOT NULL,download_finished BOOLEAN NOT "
        "NULL,download_checksummed BOOLEAN NOT NULL,download_corrupted BOOLEAN NOT NULL,download_attempts "
        "INTEGER NOT NULL,FOREIGN KEY(dcp_uuid) REFERENCES dcp(uuid),UNIQUE(uuid, dcp_uuid));",

        "CREATE TABLE IF NOT EXISTS setting (key VARCHAR(50) NOT NULL PRIMARY KEY,value TEXT NOT NULL);",

        "CREATE TABLE IF NOT EXISTS dcp_reel_asset (id INTEGER PRIMARY KEY AUTOINCREMENT,dcp_uuid "
        "VARCHAR(36) NOT NULL,reel_uuid VARCHAR(36) NOT NULL,asset_uuid VARCHAR(36) NOT NULL,FOREIGN "
        "KEY(dcp_uuid) REFERENCES dcp(uuid),FOREIGN KEY(reel_uuid) REFERENCES reel(uuid),FOREIGN "
        "KEY(asset_uuid) REFERENCES asset(uuid));",

        "CREATE TABLE IF NOT EXISTS notification (id INTEGER PRIMARY KEY AUTOINCREMENT,user_uuid "
        "VARCHAR(36) NOT NULL,campaign_dcp_id INTEGER NOT NULL,reel_uuid VARCHAR(36) NOT "
        "NULL,reel_assets_hash TEXT NOT NULL,reel_number INTEGER NOT NULL,event INTEGER NOT NULL,synced "
        "BOOLEAN NOT NULL);",

        // Beside the six: where the user put each DCP in the download queue, and which are
        // paused on their own.
        "CREATE TABLE IF NOT EXISTS dcp_queue (dcp_uuid VARCHAR(36) NOT NULL PRIMARY KEY,position "
        "INTEGER,paused BOOLEAN NOT NULL);",

        // Beside the six: the file each verified asset's digest was taken of, until it is revealed.
        "CREATE TABLE IF NOT EXISTS verified_file (asset_uuid VARCHAR(36) NOT NULL,dcp_uuid VARCHAR(36) "
        "NOT NULL,device INTEGER NOT NULL,inode INTEGER NOT NULL,size INTEGER NOT NULL,modified_ns INTEGER "
        "NOT NULL,PRIMARY KEY(asset_uuid, dcp_uuid));",
    };

    // Beside the tables, never changing them: the journal is read per reel (whether a reel is
    // synced, whether it may be revealed), which without it is a scan of every event ever sent.
    // The others let a long history start without reading it: the events not yet acknowledged,
    // the assets with work left (not finished, not verified, corrupted or still hidden) and a
    // DCP's or a reel's rows are each found without a scan.
    static const char* const indexes[] = {
        "CREATE INDEX IF NOT EXISTS notification_reel_uuid ON notification (reel_uuid);",
        "CREATE INDEX IF NOT EXISTS notification_unsynced ON notification (reel_uuid) WHERE synced = 0;",
        "CREATE INDEX IF NOT EXISTS asset_dcp_uuid ON asset (dcp_uuid);",
        "CREATE INDEX IF NOT EXISTS asset_unsettled ON asset (dcp_uuid) WHERE " UNSETTLED_ASSET ";",
        "CREATE INDEX IF NOT EXISTS asset_in_progress ON asset (dcp_uuid) WHERE " ASSET_IN_PROGRESS ";",
        "CREATE INDEX IF NOT EXISTS dcp_reel_asset_dcp_uuid ON dcp_reel_asset (dcp_uuid);",
        "CREATE INDEX IF NOT EXISTS dcp_reel_asset_reel_uuid ON dcp_reel_asset (reel_uuid);",
    };

    QSqlQuery query(db);
    for (const char* statement : statements) {
        if (!query.exec(QLatin1String(statement))) {
            qDebug() << "[DatabaseManager] Creating Tables... failed" << query.lastError().text();
            return false;
        }
    }
    for (const char* statement : indexes) {
        if (!query.exec(QLatin1String(statement))) {
            qDebug() << "[DatabaseManager] Creating Tables... failed" << query.lastError().text();
            return false;
        }
    }
    qDebug() << "[DatabaseManager] Creating Tables...ok";
    return true;
}

QSqlQuery DatabaseManager::getDCPQuery()
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

// The catalogue's start-up load reads each table once in its own order and joins the rows in
// memory: the joined query above looks up three text keys per link and sorts every row.
std::unique_ptr<StoreRows> DatabaseManager::getCatalogueRows(CatalogueTable table, bool selected)
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
    };
    return std::make_unique<StoreRows>(
        db, (selected ? selectedStatements : statements)[static_cast<int>(table)],
        "[DatabaseManager] Unable to run DCP query:", "Unable to run DCP query");
}

void DatabaseManager::selectForCatalogue(const QStringList& dcpUuids)
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

QStringList DatabaseManager::getUnsettledDCPs()
{
    return getUuids("SELECT DISTINCT dcp_uuid FROM asset WHERE " UNSETTLED_ASSET);
}

QStringList DatabaseManager::getDCPsInProgress()
{
    // Either an asset worked on with work left, or a reel with an event the portal has not
    // acknowledged.
    return getUuids("SELECT DISTINCT dcp_uuid FROM asset WHERE " ASSET_IN_PROGRESS
                    " UNION SELECT l.dcp_uuid FROM notification n JOIN dcp_reel_asset l ON "
                    "l.reel_uuid = n.reel_uuid WHERE n.synced = 0");
}

QStringList DatabaseManager::getDCPsSharingReels()
{
    // Each reel of the selection once, then every link of it.
    return getUuids(
        "SELECT DISTINCT o.dcp_uuid FROM (SELECT DISTINCT l.reel_uuid FROM temp.catalogue_selection s "
        "CROSS JOIN dcp_reel_asset l ON l.dcp_uuid = s.uuid) r CROSS JOIN dcp_reel_asset o ON "
        "o.reel_uuid = r.reel_uuid WHERE o.dcp_uuid NOT IN (SELECT uuid FROM temp.catalogue_selection)");
}

int DatabaseManager::getDCPCount()
{
    return getCount("SELECT COUNT(*) FROM dcp");
}

QString DatabaseManager::getDCPListingReel(const QString& reelUuid)
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

int DatabaseManager::getCount(const char* sql)
{
    StoreRows rows(db, sql, "[DatabaseManager] Unable to count rows:", "Unable to count rows");
    return rows.next() ? int(rows.integer(0)) : 0;
}

QStringList DatabaseManager::getUuids(const char* sql)
{
    QStringList uuids;
    StoreRows rows(db, sql, "[DatabaseManager] Unable to run DCP query:", "Unable to run DCP query");
    while (rows.next())
        uuids.append(rows.text(0));
    return uuids;
}

QSqlQuery DatabaseManager::getSettingQuery()
{
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("SELECT key,value FROM setting")))
        fail(query, "[DatabaseManager] Unable to run Setting query", "Unable to run Setting query");
    return query;
}

QSqlQuery DatabaseManager::getNotificationQuery()
{
    // Through the index of what is still to be sent: for the sake of the order SQLite would
    // otherwise step through every event ever acknowledged.
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.exec(
            QStringLiteral("SELECT id,user_uuid,campaign_dcp_id,reel_uuid,reel_assets_hash,reel_number,"
                           "event,synced FROM notification INDEXED BY notification_unsynced WHERE synced = 0 "
                           "ORDER BY id ASC")))
        fail(query, "[DatabaseManager] Unable to run Notification query", "Unable to run Notification query");
    return query;
}

QSqlQuery DatabaseManager::getReelNotificationsQuery(const QString& reelUuid)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    query.prepare(
        QStringLiteral("SELECT id,user_uuid,campaign_dcp_id,reel_uuid,reel_assets_hash,reel_number,"
                       "event,synced FROM notification WHERE reel_uuid = :reel_uuid ORDER BY id ASC"));
    query.bindValue(QStringLiteral(":reel_uuid"), reelUuid);
    execOrFail(query, "[DatabaseManager] Unable to run getReelNotificationsQuery query",
               "Unable to run getReelNotificationsQuery query");
    return query;
}

int DatabaseManager::getSyncedNotificationCount()
{
    return getCount("SELECT COUNT(*) FROM notification WHERE synced != 0");
}

int DatabaseManager::getUnsyncedReelNotificationsCount(const QString& reelUuid)
{
    QSqlQuery query(db);
    query.prepare(
        QStringLiteral("SELECT COUNT(*) FROM notification WHERE reel_uuid = :reel_uuid AND synced = 0"));
    query.bindValue(QStringLiteral(":reel_uuid"), reelUuid);
    execOrFail(query, "[DatabaseManager] Unable to run getReelNotificationsQuery query",
               "Unable to run getReelNotificationsQuery query");
    return query.next() ? query.value(0).toInt() : -1;
}

QSqlQuery DatabaseManager::getDownloadOrderQuery()
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("SELECT dcp_uuid,position,paused FROM dcp_queue")))
        fail(query, "[DatabaseManager] Unable to run getDownloadOrder query",
             "Unable to run getDownloadOrder query");
    return query;
}

quint64 DatabaseManager::getDCPAssetsSize(const QString& dcpUuid)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT COALESCE(SUM(size), 0) FROM asset WHERE dcp_uuid = ?"));
    query.bindValue(0, dcpUuid);
    execOrFail(query, "[DatabaseManager] Unable to run getDCPAssetsSize query:",
               "Unable to run getDCPAssetsSize query");
    return query.next() ? query.value(0).toULongLong() : 0;
}

bool DatabaseManager::truncateDownloadOrder()
{
    commitPending();
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("DELETE FROM dcp_queue")))
        fail(query, "[DatabaseManager] Unable to run truncateDownloadOrder query:",
             "Unable to run truncateDownloadOrder query");
    return true;
}

bool DatabaseManager::insertDownloadOrder(const QString& dcpUuid, int position, bool paused)
{
    commitPending();
    QSqlQuery query(db);
    query.prepare(QStringLiteral("INSERT INTO dcp_queue (dcp_uuid, position, paused) VALUES (?, ?, ?)"));
    query.addBindValue(notNullText(dcpUuid));
    query.addBindValue(position >= 0 ? QVariant(position) : QVariant(QVariant::Int));
    query.addBindValue(paused);
    execOrFail(query, "[DatabaseManager] Unable to run insertDownloadOrder query:",
               "Unable to run insertDownloadOrder query");
    return true;
}

bool DatabaseManager::insertSetting(const QString& key, const QString& value)
{
    commitPending();
    QSqlQuery query(db);
    query.prepare(QStringLiteral("INSERT INTO setting (key,  value) VALUES           (:key, :value)"));
    query.bindValue(QStringLiteral(":key"), notNullText(key));
    query.bindValue(QStringLiteral(":value"), notNullText(value));
    execOrFail(query,
               "[DatabaseManager] Unable to run insertSetting query:", "Unable to run insertSetting query");
    return true;
}

bool DatabaseManager::insertDcp(DCP* dcp)
{
    commitPending();
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

bool DatabaseManager::insertReel(Reel* reel)
{
    commitPending();
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

bool DatabaseManager::insertAsset(Asset* asset)
{
    commitPending();
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

bool DatabaseManager::insertDCPReelAsset(Reel* reel, Asset* asset)
{
    commitPending();
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

bool DatabaseManager::insertNotification(Notification* notification)
{
    commitPending();
    QSqlQuery query(db);
    query.prepare(QStringLiteral("INSERT INTO notification (user_uuid,  campaign_dcp_id,  reel_uuid,  "
                                 "reel_assets_hash,  reel_number,  "
                                 "event,  synced) VALUES                  (:user_uuid, :campaign_dcp_id, "
                                 ":reel_uuid, :reel_assets_hash, "
                                 ":reel_number, :event, :synced)"));
    query.bindValue(QStringLiteral(":user_uuid"), notNullText(notification->getUserUuid()));
    query.bindValue(QStringLiteral(":campaign_dcp_id"),
                    static_cast<qulonglong>(notification->getCampaignDcpId()));
    query.bindValue(QStringLiteral(":reel_uuid"), notNullText(notification->getReelUuid()));
    query.bindValue(QStringLiteral(":reel_assets_hash"), notNullText(notification->getReelAssetsHash()));
    query.bindValue(QStringLiteral(":reel_number"), notification->getReelNumber());
    query.bindValue(QStringLiteral(":event"), static_cast<int>(notification->getEvent()));
    query.bindValue(QStringLiteral(":synced"), notification->getSynced());
    execOrFail(query, "[DatabaseManager] Unable to run insertNotification query:",
               "Unable to run insertNotification query");
    notification->setDbId(static_cast<quint64>(query.lastInsertId().toLongLong()));
    return true;
}

bool DatabaseManager::truncateSettings()
{
    commitPending();
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("DELETE FROM setting")))
        fail(query, "[DatabaseManager] Unable to run truncateSettings query:",
             "Unable to run truncateSettings query");
    return true;
}

bool DatabaseManager::removeReel(Reel* reel)
{
    commitPending();
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

bool DatabaseManager::removeAsset(Asset* asset)
{
    commitPending();
    QSqlQuery query(db);
    query.prepare(QStringLiteral("DELETE FROM asset WHERE uuid = :uuid AND dcp_uuid = :dcp_uuid"));
    query.bindValue(QStringLiteral(":uuid"), notNullText(asset->getUuid()));
    query.bindValue(QStringLiteral(":dcp_uuid"), notNullText(assetDcpUuid(asset)));
    execOrFail(query, "[DatabaseManager] Unable to run removeAsset [asset] query:",
               "Unable to run removeAsset [asset] query");
    return forgetVerifiedFile(asset);
}

bool DatabaseManager::recordVerifiedFile(const Asset* asset, const FileIdentity& identity)
{
    gather();
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

FileIdentity DatabaseManager::getVerifiedFile(const Asset* asset)
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

bool DatabaseManager::forgetVerifiedFile(const Asset* asset)
{
    commitPending();
    QSqlQuery query(db);
    query.prepare(QStringLiteral("DELETE FROM verified_file WHERE asset_uuid = ? AND dcp_uuid = ?"));
    query.addBindValue(notNullText(asset->getUuid()));
    query.addBindValue(notNullText(assetDcpUuid(asset)));
    execOrFail(query,
               "[DatabaseManager] Unable to forget a verified file:", "Unable to forget a verified file");
    return true;
}

bool DatabaseManager::updateAssetOriginalName(Asset* asset)
{
    commitPending();
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

bool DatabaseManager::updateAssetDownloadFields(Asset* asset)
{
    gather();
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

bool DatabaseManager::updateNotificationSynced(Notification* notification)
{
    commitPending();
    QSqlQuery query(db);
    query.prepare(QStringLiteral("UPDATE notification SET synced = :synced WHERE id = :db_id"));
    query.bindValue(QStringLiteral(":synced"), notification->getSynced());
    query.bindValue(QStringLiteral(":db_id"), static_cast<qulonglong>(notification->getDbId()));
    execOrFail(query, "[DatabaseManager] Unable to run updateNotificationSynced:",
               "Unable to run updateNotificationSynced");
    return true;
}

bool DatabaseManager::removeDCP(DCP* dcp)
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
    Transaction transaction;
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
