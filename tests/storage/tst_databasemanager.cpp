#include "LogCapture.h"
#include "TestSandbox.h"
#include "core/FileIdentity.h"
#include "model/Asset.h"
#include "model/DCP.h"
#include "model/Reel.h"
#include "notify/Notification.h"
#include "storage/DatabaseManager.h"
#include "storage/Transaction.h"

#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QVariant>
#include <QtTest>

#include <functional>
#include <memory>
#include <stdexcept>

namespace {
// Writes a DCP's rows straight through the store's operations, as the first storage does.
void insertAll(DCP* d)
{
    DatabaseManager* store = DatabaseManager::getInstance();
    store->insertDcp(d);
    for (Reel* r : d->getReels())
        store->insertReel(r);
    for (Asset* a : d->getAssets()) {
        store->insertAsset(a);
        for (Reel* r : a->getReels())
            store->insertDCPReelAsset(r, a);
    }
}

Notification notification(const QString& reel, NotificationType::Value event, bool synced = false)
{
    return Notification("user-1", 7, reel, "1-abc", 1, event, synced);
}

QString runtimeErrorOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const std::runtime_error& error) {
        return QString::fromUtf8(error.what());
    }
    return QString();
}
} // namespace

class TestDatabaseManager : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_log.reset(new LogCapture()); // from the store's first opening on
        m_dir.reset(new TestSandbox());
        QVERIFY(m_dir->isValid());
    }
    void cleanup()
    {
        m_log.reset();
        m_dir.reset();
    }

    void schemaOnFirstAndSecondStart();
    void openFailures_data();
    void openFailures();
    void duplicateKeys_data();
    void duplicateKeys();
    void sameAssetUnderTwoDcpsIsKeptApart();
    void insertsKeepRowIdsWideValuesAndUnsetTexts();
    void removeDCP_data();
    void removeDCP();
    void notificationQueries();
    void nestedTransactionJoinsOuter();
    void gatheredProgressReachesTheFileAndOutlivesARollback();

private:
    std::unique_ptr<TestSandbox> m_dir;
    // Made per test: QtTest installs its own message handler when the run starts.
    std::unique_ptr<LogCapture> m_log;
};

void TestDatabaseManager::schemaOnFirstAndSecondStart()
{
    // The sandbox's start opened the store in its folder.
    const QString path = m_dir->root() + "/orvdownloader.4.sqlite";
    DatabaseManager* store = DatabaseManager::getInstance();
    QVERIFY(QFile::exists(path));
    QVERIFY(m_log->take().contains("[DatabaseManager] Creating Tables...ok"));
    {
        QSqlQuery tables(store->db);
        QVERIFY(tables.exec(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT "
                                           "LIKE 'sqlite_%' ORDER BY rootpage")));
        QStringList names;
        while (tables.next())
            names << tables.value(0).toString();
        QCOMPARE(names, (QStringList{"dcp", "reel", "asset", "setting", "dcp_reel_asset", "notification",
                                     "dcp_queue", "verified_file"}));
    }
    store->insertSetting("username", "ana");
    insertAll(m_dir->makeDCP("d1", "Film"));

    // A restart logs the schema line again and keeps every row.
    m_dir->restart();
    QVERIFY(m_log->take().contains("[DatabaseManager] Creating Tables...ok"));
    QCOMPARE(TestSandbox::rowCount("setting", "key = 'username'"), 1);
    QCOMPARE(TestSandbox::rowCount("dcp"), 1);
}

void TestDatabaseManager::openFailures_data()
{
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QStringList>("logPrefixes");

    QTest::newRow("folder missing") << "missing"
                                    << "Unable to open the database"
                                    << QStringList{"[DatabaseManager] Unable to open the database "};
    QTest::newRow("path is a folder")
        << "folder"
        << "Unable to open the database" << QStringList{"[DatabaseManager] Unable to open the database "};
    QTest::newRow("not a database") << "garbage"
                                    << "Unable to query the database"
                                    << QStringList{"[DatabaseManager] Creating Tables... failed ",
                                                   "[DatabaseManager] Unable to query the database"};
}

void TestDatabaseManager::openFailures()
{
    QFETCH(QString, setup);
    QFETCH(QString, message);
    QFETCH(QStringList, logPrefixes);

    m_dir.reset(); // the test opens stores of its own
    QTemporaryDir sandbox;
    QString directory = sandbox.path();
    if (setup == QLatin1String("missing")) {
        directory += "/not-there";
    } else if (setup == QLatin1String("folder")) {
        QVERIFY(QDir(directory).mkdir("orvdownloader.4.sqlite"));
    } else {
        QVERIFY(writeFile(directory + "/orvdownloader.4.sqlite", QByteArray(4096, 'x')));
    }
    QCOMPARE(runtimeErrorOf([&] { DatabaseManager store(directory); }), message);
    for (const QString& prefix : logPrefixes)
        QVERIFY2(m_log->hasLineStartingWith(prefix), qPrintable(m_log->lines().join(QLatin1Char('\n'))));
    QVERIFY(!QFile::exists(sandbox.path() + "/not-there"));

    // The failed attempt leaves nothing behind: the next start over works cleanly.
    QTemporaryDir fresh;
    DatabaseManager store(fresh.path());
    QVERIFY(store.db.isOpen());
    QCOMPARE(TestSandbox::rowCount("dcp"), 0);
}

void TestDatabaseManager::duplicateKeys_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("message");
    QTest::newRow("dcp uuid") << "dcp"
                              << "Unable to run insertDcp query";
    QTest::newRow("reel uuid") << "reel"
                               << "Unable to run insertReel query";
    QTest::newRow("asset twice in one dcp") << "asset"
                                            << "Unable to run insertAsset query";
    QTest::newRow("setting key") << "setting"
                                 << "Unable to run insertSetting query";
}

void TestDatabaseManager::duplicateKeys()
{
    QFETCH(QString, table);
    QFETCH(QString, message);

    DatabaseManager* store = DatabaseManager::getInstance();
    DCP* d = m_dir->makeDCP("d1", "Film");
    Asset* a = TestSandbox::addAssetOfSize(TestSandbox::addReel(d, "r1", 1), "a1", 1);
    insertAll(d);
    store->insertSetting("username", "ana");
    const int before = TestSandbox::rowCount(table);

    const std::function<void()> again = [&] {
        if (table == QLatin1String("dcp"))
            store->insertDcp(m_dir->makeDCP("d1", "Other"));
        else if (table == QLatin1String("reel"))
            store->insertReel(TestSandbox::addReel(m_dir->makeDCP("d2", "Two"), "r1", 2));
        else if (table == QLatin1String("asset"))
            store->insertAsset(a);
        else
            store->insertSetting("username", "bo");
    };
    QCOMPARE(runtimeErrorOf(again), message);
    QVERIFY(m_log->hasLineStartingWith("[DatabaseManager] " + message + ": "));
    QCOMPARE(TestSandbox::rowCount(table), before);
}

void TestDatabaseManager::sameAssetUnderTwoDcpsIsKeptApart()
{
    DatabaseManager* store = DatabaseManager::getInstance();
    DCP* d1 = m_dir->makeDCP("d1", "Film");
    DCP* d2 = m_dir->makeDCP("d2", "Other");
    Asset* a1 = TestSandbox::addAssetOfSize(TestSandbox::addReel(d1, "r1", 1), "shared", 100);
    TestSandbox::addAssetOfSize(TestSandbox::addReel(d2, "r2", 1), "shared", 100);
    insertAll(d1);
    insertAll(d2);
    QCOMPARE(TestSandbox::rowCount("asset", "uuid = 'shared'"), 2);

    // Updates address one asset by (uuid, DCP) and leave its twin alone.
    a1->setDownloadStarted(true);
    a1->setDownloadFinished(true);
    a1->setDownloadAttempts(3);
    a1->setOriginalFileName("shared.mxf");
    store->updateAssetDownloadFields(a1);
    store->updateAssetOriginalName(a1);
    QCOMPARE(TestSandbox::rowCount(
                 "asset", QStringLiteral("dcp_uuid = 'd1' AND download_started = 1 AND download_finished "
                                         "= 1 AND download_attempts = 3 AND original_filename = "
                                         "'shared.mxf'")),
             1);
    QCOMPARE(TestSandbox::rowCount(
                 "asset", QStringLiteral("dcp_uuid = 'd2' AND download_started = 0 AND "
                                         "download_attempts = 0 AND original_filename = '.shared.mxf'")),
             1);
}

void TestDatabaseManager::insertsKeepRowIdsWideValuesAndUnsetTexts()
{
    DatabaseManager* store = DatabaseManager::getInstance();
    insertAll(m_dir->makeDCP("d0", "First"));
    // Fields never set (no sub-folder, no user yet) must not trip the NOT NULL columns.
    DCP d("d1", "Film", QString(), QString(), nullptr);
    d.setCampaignDCPId(Q_UINT64_C(9000000000));
    Reel r("r1", 4);
    r.setDCP(&d);
    const quint64 bigSize = Q_UINT64_C(5) << 32; // over 4 GiB, as picture reels are
    Asset a("a1", QString(), bigSize, QString(), ".a1.mxf", QString());
    a.setDCP(&d);
    a.setDownloadAttempts(2);
    store->insertDcp(&d);
    store->insertReel(&r);
    store->insertAsset(&a);
    store->insertDCPReelAsset(&r, &a);
    QCOMPARE(d.getDbId(), 2u);
    QCOMPARE(r.getDbId(), 1u);

    store->insertSetting("username", QString());
    Notification n1(QString(), 0, "r1", QString(), 1, NotificationType::DownloadStarted, false);
    Notification n2 = notification("r1", NotificationType::ChecksumOk);
    store->insertNotification(&n1);
    store->insertNotification(&n2);
    QCOMPARE(n1.getDbId(), quint64(1));
    QCOMPARE(n2.getDbId(), quint64(2));
    QCOMPARE(TestSandbox::rowCount("setting", "value = ''"), 1);
    QCOMPARE(TestSandbox::rowCount("notification", "user_uuid = ''"), 1);

    QSqlQuery rows = store->getDCPQuery();
    QVERIFY(rows.next());
    QCOMPARE(rows.value("asset_size").toULongLong(), bigSize);
    QCOMPARE(rows.value("dcp_campaign_dcp_id").toULongLong(), Q_UINT64_C(9000000000));
    QCOMPARE(rows.value("reel_reel_number").toUInt(), 4u);
    QCOMPARE(rows.value("dcp_db_id").toUInt(), 2u);
    QCOMPARE(rows.value("reel_db_id").toUInt(), 1u);
    QCOMPARE(rows.value("asset_original_filename").toString(), QString(".a1.mxf"));
    QCOMPARE(rows.value("asset_download_attempts").toUInt(), 2u);
    QCOMPARE(rows.value("asset_download_started").toBool(), false);
    for (const char* column : {"asset_directory_path", "asset_hash", "asset_download_url", "dcp_user_uuid",
                               "dcp_friendly_title", "dcp_image_url"}) {
        QVERIFY2(!rows.value(QLatin1String(column)).isNull(), column);
        QCOMPARE(rows.value(QLatin1String(column)).toString(), QString());
    }
}

void TestDatabaseManager::removeDCP_data()
{
    QTest::addColumn<int>("assetCount");
    QTest::addColumn<QString>("refused"); // table whose delete fails; empty: none
    QTest::addColumn<QString>("error");
    QTest::newRow("with assets") << 3 << QString() << QString();
    QTest::newRow("no assets") << 0 << QString() << QString();
    QTest::newRow("reels refused after the assets") << 3 << "reel"
                                                    << "Unable to run removeDCP [reels] query";
    QTest::newRow("DCP refused last") << 3 << "dcp"
                                      << "Unable to run removeDCP [dcp] query";
}

void TestDatabaseManager::removeDCP()
{
    QFETCH(int, assetCount);
    QFETCH(QString, refused);
    QFETCH(QString, error);
    DatabaseManager* store = DatabaseManager::getInstance();
    DCP* keep = m_dir->makeDCP("keep", "Keep");
    TestSandbox::addAssetOfSize(TestSandbox::addReel(keep, "k-r1", 1), "a0", 1);
    insertAll(keep);

    DCP* gone = m_dir->makeDCP("gone", "Gone");
    Reel* r1 = TestSandbox::addReel(gone, "g-r1", 1);
    Reel* r2 = TestSandbox::addReel(gone, "g-r2", 2);
    for (int i = 0; i < assetCount; ++i) // "a0" also lives in "keep"
        TestSandbox::addAssetOfSize(i % 2 ? r2 : r1, QString("a%1").arg(i), 1);
    insertAll(gone);
    if (assetCount == 0) {
        // Links without asset rows, as left by an interrupted import.
        QVERIFY(
            TestSandbox::exec(QStringLiteral("INSERT INTO dcp_reel_asset (dcp_uuid, reel_uuid, asset_uuid) "
                                             "VALUES ('gone', 'g-r1', 'x')")));
    }
    Notification event = notification("g-r1", NotificationType::DownloadStarted);
    store->insertNotification(&event);
    // What each file was verified as; read back bit for bit, the numbers wider than SQLite's.
    const FileIdentity wide{~quint64(0), quint64(1) << 63, 5, -7};
    for (const Asset* asset : keep->getAssets() + gone->getAssets())
        store->recordVerifiedFile(asset, wide);
    QCOMPARE(store->getVerifiedFile(keep->getAssets().first()), wide);

    if (!refused.isEmpty()) {
        QVERIFY(TestSandbox::exec(
            QStringLiteral(
                "CREATE TRIGGER refuse BEFORE DELETE ON %1 BEGIN SELECT RAISE(ABORT, 'refused'); END")
                .arg(refused)));
        QCOMPARE(runtimeErrorOf([&] { store->removeDCP(gone); }), error);
        QVERIFY(m_log->hasLineStartingWith("[DatabaseManager] " + error));
        // Nothing of the DCP went, not even the rows deleted before the failing statement,
        // and the connection is not left inside a transaction: a later write lasts.
        Notification later = notification("g-r2", NotificationType::DownloadStarted);
        store->insertNotification(&later);
        m_dir->restart();
        QCOMPARE(TestSandbox::rowCount("dcp"), 2);
        QCOMPARE(TestSandbox::rowCount("reel"), 3);
        QCOMPARE(TestSandbox::rowCount("asset"), 1 + assetCount);
        QCOMPARE(TestSandbox::rowCount("dcp_reel_asset"), 1 + assetCount);
        QCOMPARE(TestSandbox::rowCount("notification"), 2);
        return;
    }

    QVERIFY(store->removeDCP(gone));
    QCOMPARE(TestSandbox::rowCount("verified_file"), 1);
    QCOMPARE(store->getVerifiedFile(keep->getAssets().first()), wide);
    QCOMPARE(TestSandbox::rowCount("dcp"), 1);
    QCOMPARE(TestSandbox::rowCount("reel"), 1);
    QCOMPARE(TestSandbox::rowCount("asset", "dcp_uuid = 'keep' AND uuid = 'a0'"), 1);
    QCOMPARE(TestSandbox::rowCount("asset"), 1);
    QCOMPARE(TestSandbox::rowCount("dcp_reel_asset"), 1);
    // The event journal outlives the DCP.
    QSqlQuery journal = store->getReelNotificationsQuery("g-r1");
    QVERIFY(journal.next());
    QCOMPARE(journal.value(3).toString(), QString("g-r1"));
}

void TestDatabaseManager::notificationQueries()
{
    DatabaseManager* store = DatabaseManager::getInstance();
    QCOMPARE(store->getUnsyncedReelNotificationsCount("r1"), 0);

    Notification a = notification("r1", NotificationType::DownloadStarted);
    Notification b = notification("r2", NotificationType::DownloadStarted, true);
    Notification c = notification("r1", NotificationType::DownloadFinished);
    store->insertNotification(&a);
    store->insertNotification(&b);
    store->insertNotification(&c);
    QCOMPARE(store->getUnsyncedReelNotificationsCount("r1"), 2);
    QCOMPARE(store->getUnsyncedReelNotificationsCount("r2"), 0);
    // The start-up read: only what is still to be sent, oldest first.
    QSqlQuery pending = store->getNotificationQuery();
    QList<qulonglong> ids;
    while (pending.next())
        ids << pending.value(0).toULongLong();
    QCOMPARE(ids, (QList<qulonglong>{a.getDbId(), c.getDbId()}));

    a.setSynced(true);
    store->updateNotificationSynced(&a);
    QCOMPARE(store->getUnsyncedReelNotificationsCount("r1"), 1);
    c.setSynced(true);
    store->updateNotificationSynced(&c);
    QCOMPARE(store->getUnsyncedReelNotificationsCount("r1"), 0);

    QSqlQuery reel = store->getReelNotificationsQuery("r1");
    QList<int> events;
    while (reel.next()) {
        QCOMPARE(reel.value(7).toBool(), true);
        QCOMPARE(reel.value(4).toString(), QString("1-abc"));
        events << reel.value(6).toInt();
    }
    QCOMPARE(events, (QList<int>{NotificationType::DownloadStarted, NotificationType::DownloadFinished}));

    QCOMPARE(store->getSyncedNotificationCount(), 3);
}

void TestDatabaseManager::nestedTransactionJoinsOuter()
{
    DCP* d = m_dir->makeDCP("d1", "Film");
    {
        Transaction outer(d->getStore());
        QVERIFY(outer.ownsTransaction());
        {
            Transaction inner(d->getStore());
            QVERIFY(!inner.ownsTransaction());
            insertAll(d);
            inner.commit(); // the outer one decides
        }
        QCOMPARE(TestSandbox::rowCount("dcp"), 1);
        // outer leaves scope without commit: everything goes
    }
    QCOMPARE(TestSandbox::rowCount("dcp"), 0);

    // The rollback left the connection outside any transaction: later writes reach the file.
    Notification later = notification("r1", NotificationType::DownloadStarted);
    DatabaseManager::getInstance()->insertNotification(&later);
    {
        Transaction transaction(d->getStore());
        insertAll(m_dir->makeDCP("d2", "Other"));
        transaction.commit();
    }
    m_dir->restart();
    QCOMPARE(TestSandbox::rowCount("notification"), 1);
    QCOMPARE(TestSandbox::rowCount("dcp"), 1);
}

// What another process (or the next start after a kill) reads from the file.
int finishedOnFile(const QString& path, const QString& assetUuid)
{
    int value = -1;
    {
        QSqlDatabase peek = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("peek"));
        peek.setDatabaseName(path);
        if (peek.open()) {
            QSqlQuery query(peek);
            query.exec(
                QStringLiteral("SELECT download_finished FROM asset WHERE uuid = '%1'").arg(assetUuid));
            value = query.next() ? query.value(0).toInt() : -1;
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("peek"));
    return value;
}

void TestDatabaseManager::gatheredProgressReachesTheFileAndOutlivesARollback()
{
    DatabaseManager* store = DatabaseManager::getInstance();
    const QString path = store->db.databaseName();
    DCP* d = m_dir->makeDCP("d1", "Film");
    Asset* a = TestSandbox::addAssetOfSize(TestSandbox::addReel(d, "r1", 1), "a1", 10);
    insertAll(d);

    // Gathered, then a multi-row write that fails: its rollback must not take the progress along.
    a->setDownloadFinished(true);
    store->updateAssetDownloadFields(a);
    {
        Transaction failing(*store);
        insertAll(m_dir->makeDCP("d2", "Other"));
    }
    QCOMPARE(TestSandbox::rowCount("dcp"), 1);
    QCOMPARE(finishedOnFile(path, "a1"), 1);

    // Gathered alone: on the file once the window has passed, without any other write.
    a->setDownloadFinished(false);
    store->updateAssetDownloadFields(a);
    QTRY_COMPARE_WITH_TIMEOUT(finishedOnFile(path, "a1"), 0, 10 * DatabaseManager::kBatchWindowMs);
}

QTEST_GUILESS_MAIN(TestDatabaseManager)
#include "tst_databasemanager.moc"
