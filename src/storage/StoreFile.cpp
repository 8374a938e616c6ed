#include "storage/StoreFile.h"

#include "storage/StoreQuery.h"

#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

// The store holds the user's own state: under the start-up mask of 0 SQLite would make it
// readable by everyone. An empty file is a valid empty database, and SQLite gives its
// journal files the mode of the database file, so creating it private here covers them too.
void StoreFile::createPrivately(const QString& path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                          S_IRUSR | S_IWUSR);
    if (fd >= 0)
        ::close(fd);
}

QString StoreFile::writeProblem(const QString& path)
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

bool StoreFile::createTables(QSqlDatabase& db)
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
