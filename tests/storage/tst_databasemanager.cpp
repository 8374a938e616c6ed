#include "TestSandbox.h"
#include "LogCapture.h"
#include <QSqlQuery>
#include <QVariant>

#include "model/Asset.h"
#include "model/DCP.h"
#include "model/Reel.h"
#include "notify/Notification.h"
#include "storage/DatabaseManager.h"
#include "storage/Transaction.h"

#include <QDir>
#include <QFile>
#include <QSqlRecord>
#include <QTemporaryDir>

#include <algorithm>
#include <QtTest>

#include <functional>
#include <memory>
#include <stdexcept>
#include <vector>


namespace {

// Owns a small object graph wired the way the importer wires it.
struct Graph
{
    std::vector<std::unique_ptr<DCP>> dcps;
    std::vector<std::unique_ptr<Reel>> reels;
    std::vector<std::unique_ptr<Asset>> assets;

    DCP* dcp(const QString& uuid, const QString& title = QStringLiteral("Film"))
    {
        dcps.push_back(std::make_unique<DCP>(uuid, title, QStringLiteral("http://img/") + uuid,
                                             QStringLiteral("/media/usb")));
        DCP* d = dcps.back().get();
        d->setFriendlyTitle(title + QStringLiteral(" (friendly)"));
        d->setUserUUID(QStringLiteral("user-1"));
        d->setCampaignDCPId(7);
        return d;
    }
    Reel* reel(DCP* d, const QString& uuid, unsigned number)
    {
        reels.push_back(std::make_unique<Reel>(uuid, number));
        Reel* r = reels.back().get();
        r->setDCP(d);
        d->addReel(r);
        return r;
    }
    Asset* asset(DCP* d, const QString& uuid, const QList<Reel*>& in, quint64 size = 100)
    {
        assets.push_back(std::make_unique<Asset>(
            uuid, QStringLiteral("hash-") + uuid, size, QStringLiteral("MainPicture"),
            QStringLiteral(".") + uuid + ".mxf", QStringLiteral("http://127.0.0.1/") + uuid));
        Asset* a = assets.back().get();
        a->setDCP(d);
        d->addAsset(a);
        for (Reel* r : in) {
            r->addAsset(a);
            a->addReel(r);
        }
        return a;
    }
};

void writeFile(DCP* d)
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
    return Notification(QStringLiteral("user-1"), 7, reel, QStringLiteral("1-abc"), 1, event, synced);
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

bool logHasLineStartingWith(const QStringList& lines, const QString& prefix)
{
    return std::any_of(lines.begin(), lines.end(), [&](const QString& line) { return line.startsWith(prefix); });
}

} // namespace

class TestDatabaseManager : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_dir.reset(new TestSandbox());
        QVERIFY(m_dir->isValid());
        m_log.reset(new LogCapture());
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
    void insertsRecordRowIdsAndWideValues();
    void unsetTextFieldsAreStoredEmpty();
    void catalogueQueryOrderAndMissingRows();
    void removeDCP_data();
    void removeDCP();
    void removeReelKeepsAssets();
    void notificationQueries();
    void failedMultiRowWriteIsRolledBack();
    void nestedTransactionJoinsOuter();

private:
    std::unique_ptr<TestSandbox> m_dir;
    // Made per test: QtTest installs its own message handler when the run starts.
    std::unique_ptr<LogCapture> m_log;
};

void TestDatabaseManager::schemaOnFirstAndSecondStart()
{
    const QString path = m_dir->root() + QStringLiteral("/orvdownloader.4.sqlite");
    QCOMPARE(DatabaseManager::databasePath(), path);
    QVERIFY(!QFile::exists(path));

    DatabaseManager* store = DatabaseManager::getInstance();
    QVERIFY(QFile::exists(path));
    QVERIFY(m_log->take().contains(QStringLiteral("[DatabaseManager] Creating Tables...ok")));
    {
        QSqlQuery tables(store->db);
        QVERIFY(tables.exec(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT "
                                           "LIKE 'sqlite_%' ORDER BY rootpage")));
        QStringList names;
        while (tables.next())
            names << tables.value(0).toString();
        QCOMPARE(names, (QStringList{"dcp", "reel", "asset", "setting", "dcp_reel_asset", "notification"}));
    }
    store->insertSetting(QStringLiteral("username"), QStringLiteral("ana"));
    Graph g;
    writeFile(g.dcp(QStringLiteral("d1")));

    // A restart logs the schema line again and keeps every row.
    DatabaseManager::resetForTesting(m_dir->root());
    DatabaseManager::getInstance();
    QVERIFY(m_log->take().contains(QStringLiteral("[DatabaseManager] Creating Tables...ok")));
    QCOMPARE(TestSandbox::rowCount(QStringLiteral("setting")), 1);
    QCOMPARE(TestSandbox::rowCount(QStringLiteral("dcp")), 1);
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

    QString directory = m_dir->root();
    if (setup == QLatin1String("missing")) {
        directory += QStringLiteral("/not-there");
    } else if (setup == QLatin1String("folder")) {
        QVERIFY(QDir(directory).mkdir(QStringLiteral("orvdownloader.4.sqlite")));
    } else {
        QFile file(directory + QStringLiteral("/orvdownloader.4.sqlite"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(4096, 'x'));
    }
    DatabaseManager::resetForTesting(directory);

    QCOMPARE(runtimeErrorOf([] { DatabaseManager::getInstance(); }), message);
    const QStringList log = m_log->take();
    for (const QString& prefix : logPrefixes)
        QVERIFY2(logHasLineStartingWith(log, prefix), qPrintable(log.join(QLatin1Char('\n'))));
    QVERIFY(!QFile::exists(m_dir->root() + QStringLiteral("/not-there")));

    // The failed attempt leaves nothing behind: the next start over works cleanly.
    QTemporaryDir fresh;
    DatabaseManager::resetForTesting(fresh.path());
    QVERIFY(DatabaseManager::getInstance()->db.isOpen());
    QCOMPARE(TestSandbox::rowCount(QStringLiteral("dcp")), 0);
    DatabaseManager::resetForTesting();
}

void TestDatabaseManager::duplicateKeys_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("message");

    QTest::newRow("dcp uuid") << "dcp"
                              << "dcp"
                              << "Unable to run insertDcp query";
    QTest::newRow("reel uuid") << "reel"
                               << "reel"
                               << "Unable to run insertReel query";
    QTest::newRow("asset twice in one dcp") << "asset"
                                            << "asset"
                                            << "Unable to run insertAsset query";
    QTest::newRow("setting key") << "setting"
                                 << "setting"
                                 << "Unable to run insertSetting query";
}

void TestDatabaseManager::duplicateKeys()
{
    QFETCH(QString, kind);
    QFETCH(QString, table);
    QFETCH(QString, message);

    DatabaseManager* store = DatabaseManager::getInstance();
    Graph g;
    DCP* d = g.dcp(QStringLiteral("d1"));
    Reel* r = g.reel(d, QStringLiteral("r1"), 1);
    Asset* a = g.asset(d, QStringLiteral("a1"), {r});
    writeFile(d);
    store->insertSetting(QStringLiteral("username"), QStringLiteral("ana"));
    const int before = TestSandbox::rowCount(table);
    m_log->take();

    std::function<void()> again;
    if (kind == QLatin1String("dcp")) {
        DCP* twin = g.dcp(QStringLiteral("d1"), QStringLiteral("Other"));
        again = [store, twin] {
            store->insertDcp(twin);
        };
    } else if (kind == QLatin1String("reel")) {
        Reel* twin = g.reel(g.dcp(QStringLiteral("d2")), QStringLiteral("r1"), 2);
        again = [store, twin] {
            store->insertReel(twin);
        };
    } else if (kind == QLatin1String("asset")) {
        again = [store, a] {
            store->insertAsset(a);
        };
    } else {
        again = [store] {
            store->insertSetting(QStringLiteral("username"), QStringLiteral("bo"));
        };
    }

    QCOMPARE(runtimeErrorOf(again), message);
    QVERIFY(logHasLineStartingWith(m_log->take(),
                                   QStringLiteral("[DatabaseManager] ") + message + QStringLiteral(": ")));
    QCOMPARE(TestSandbox::rowCount(table), before);
}

void TestDatabaseManager::sameAssetUnderTwoDcpsIsKeptApart()
{
    DatabaseManager* store = DatabaseManager::getInstance();
    Graph g;
    DCP* d1 = g.dcp(QStringLiteral("d1"));
    DCP* d2 = g.dcp(QStringLiteral("d2"));
    Asset* a1 = g.asset(d1, QStringLiteral("shared"), {g.reel(d1, QStringLiteral("r1"), 1)});
    Asset* a2 = g.asset(d2, QStringLiteral("shared"), {g.reel(d2, QStringLiteral("r2"), 1)});
    writeFile(d1);
    writeFile(d2);
    QCOMPARE(TestSandbox::rowCount(QStringLiteral("asset"), QStringLiteral("uuid = 'shared'")), 2);

    // Updates and removals address one asset by (uuid, DCP) and leave its twin alone.
    a1->setDownloadStarted(true);
    a1->setDownloadFinished(true);
    a1->setDownloadAttempts(3);
    a1->setOriginalFileName(QStringLiteral("shared.mxf"));
    store->updateAssetDownloadFields(a1);
    store->updateAssetOriginalName(a1);
    QCOMPARE(
        TestSandbox::rowCount(QStringLiteral("asset"), QStringLiteral("dcp_uuid = 'd1' AND download_started = 1 AND "
                                                         "download_finished = 1 AND download_attempts = 3 "
                                                         "AND original_filename = 'shared.mxf'")),
        1);
    QCOMPARE(TestSandbox::rowCount(QStringLiteral("asset"), QStringLiteral("dcp_uuid = 'd2' AND download_started = 0 AND "
                                                              "download_attempts = 0 AND original_filename = "
                                                              "'.shared.mxf'")),
             1);

    store->removeAsset(a2);
    QCOMPARE(TestSandbox::rowCount(QStringLiteral("asset"), QStringLiteral("dcp_uuid = 'd1'")), 1);
    QCOMPARE(TestSandbox::rowCount(QStringLiteral("asset"), QStringLiteral("dcp_uuid = 'd2'")), 0);
}

void TestDatabaseManager::insertsRecordRowIdsAndWideValues()
{
    DatabaseManager* store = DatabaseManager::getInstance();
    Graph g;
    writeFile(g.dcp(QStringLiteral("d0")));
    DCP* d = g.dcp(QStringLiteral("d1"));
    d->setCampaignDCPId(Q_UINT64_C(9000000000));
    Reel* r = g.reel(d, QStringLiteral("r1"), 4);
    const quint64 bigSize = Q_UINT64_C(5) << 32; // over 4 GiB, as picture reels are
    g.asset(d, QStringLiteral("a1"), {r}, bigSize);
    writeFile(d);
    QCOMPARE(d->getDbId(), 2u);
    QCOMPARE(r->getDbId(), 1u);

    Notification n1 = notification(QStringLiteral("r1"), NotificationType::DownloadStarted);
    Notification n2 = notification(QStringLiteral("r1"), NotificationType::ChecksumOk);
    store->insertNotification(&n1);
    store->insertNotification(&n2);
    QCOMPARE(n1.getDbId(), quint64(1));
    QCOMPARE(n2.getDbId(), quint64(2));

    QSqlQuery rows = store->getDCPQuery();
    QVERIFY(rows.next());
    QCOMPARE(rows.value(QStringLiteral("asset_size")).toULongLong(), bigSize);
    QCOMPARE(rows.value(QStringLiteral("dcp_campaign_dcp_id")).toULongLong(), Q_UINT64_C(9000000000));
    QCOMPARE(rows.value(QStringLiteral("reel_reel_number")).toUInt(), 4u);
    QCOMPARE(rows.value(QStringLiteral("dcp_db_id")).toUInt(), 2u);
    QCOMPARE(rows.value(QStringLiteral("reel_db_id")).toUInt(), 1u);
    QCOMPARE(rows.value(QStringLiteral("dcp_friendly_title")).toString(), QStringLiteral("Film (friendly)"));
    QCOMPARE(rows.value(QStringLiteral("asset_original_filename")).toString(), QStringLiteral(".a1.mxf"));
    QCOMPARE(rows.value(QStringLiteral("asset_download_started")).toBool(), false);
}

void TestDatabaseManager::unsetTextFieldsAreStoredEmpty()
{
    // Fields never set (no sub-folder, no user yet) must not trip the NOT NULL columns.
    DatabaseManager* store = DatabaseManager::getInstance();
    auto d = std::make_unique<DCP>(QStringLiteral("d1"), QStringLiteral("Film"), QString(), QString());
    auto r = std::make_unique<Reel>(QStringLiteral("r1"), 1);
    r->setDCP(d.get());
    Asset a(QStringLiteral("a1"), QString(), 1, QString(), QStringLiteral(".a1.mxf"), QString());
    a.setDCP(d.get());
    store->insertDcp(d.get());
    store->insertReel(r.get());
    store->insertAsset(&a);
    store->insertDCPReelAsset(r.get(), &a);
    store->insertSetting(QStringLiteral("username"), QString());
    Notification n(QString(), 0, QStringLiteral("r1"), QString(), 1, NotificationType::DownloadStarted,
                   false);
    store->insertNotification(&n);

    QSqlQuery rows = store->getDCPQuery();
    QVERIFY(rows.next());
    for (const char* column : {"asset_directory_path", "asset_hash", "asset_download_url", "dcp_user_uuid",
                               "dcp_friendly_title", "dcp_image_url"}) {
        QVERIFY2(!rows.value(QLatin1String(column)).isNull(), column);
        QCOMPARE(rows.value(QLatin1String(column)).toString(), QString());
    }
    QCOMPARE(TestSandbox::rowCount(QStringLiteral("setting"), QStringLiteral("value = ''")), 1);
    QCOMPARE(TestSandbox::rowCount(QStringLiteral("notification"), QStringLiteral("user_uuid = ''")), 1);
}

void TestDatabaseManager::catalogueQueryOrderAndMissingRows()
{
    DatabaseManager* store = DatabaseManager::getInstance();
    Graph g;
    DCP* older = g.dcp(QStringLiteral("older"));
    Reel* o1 = g.reel(older, QStringLiteral("o-r1"), 1);
    Reel* o2 = g.reel(older, QStringLiteral("o-r2"), 2);
    g.asset(older, QStringLiteral("o-a1"), {o1});
    g.asset(older, QStringLiteral("o-a2"), {o2});
    DCP* newer = g.dcp(QStringLiteral("newer"));
    Reel* n1 = g.reel(newer, QStringLiteral("n-r1"), 1);
    g.asset(newer, QStringLiteral("n-a1"), {n1});
    g.asset(newer, QStringLiteral("n-a2"), {n1});
    writeFile(older);
    writeFile(newer);
    // A link whose asset row is gone still comes back, with empty asset columns.
    QVERIFY(TestSandbox::exec(QStringLiteral("DELETE FROM asset WHERE uuid = 'o-a2'")));

    QSqlQuery rows = store->getDCPQuery();
    QStringList order;
    bool sawMissingAsset = false;
    while (rows.next()) {
        order << rows.value(QStringLiteral("dcp_uuid")).toString() + QLatin1Char('/') +
                     rows.value(QStringLiteral("reel_uuid")).toString();
        if (rows.value(QStringLiteral("reel_uuid")).toString() == QLatin1String("o-r2")) {
            sawMissingAsset = true;
            QVERIFY(rows.value(QStringLiteral("asset_uuid")).isNull());
            QVERIFY(rows.value(QStringLiteral("asset_size")).isNull());
            QVERIFY(rows.value(QStringLiteral("asset_db_id")).isNull());
        } else {
            QVERIFY(!rows.value(QStringLiteral("asset_uuid")).isNull());
        }
    }
    QVERIFY(sawMissingAsset);
    // Newest DCP first; within a DCP assets in insertion order (the missing one sorts first).
    QCOMPARE(order, (QStringList{"newer/n-r1", "newer/n-r1", "older/o-r2", "older/o-r1"}));
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
    Graph g;
    DCP* keep = g.dcp(QStringLiteral("keep"));
    Reel* kr = g.reel(keep, QStringLiteral("k-r1"), 1);
    g.asset(keep, QStringLiteral("a0"), {kr});
    writeFile(keep);

    DCP* gone = g.dcp(QStringLiteral("gone"));
    Reel* r1 = g.reel(gone, QStringLiteral("g-r1"), 1);
    Reel* r2 = g.reel(gone, QStringLiteral("g-r2"), 2);
    for (int i = 0; i < assetCount; ++i)
        g.asset(gone, QStringLiteral("a%1").arg(i), {i % 2 ? r2 : r1}); // "a0" also lives in "keep"
    writeFile(gone);
    if (assetCount == 0) {
        // Links without asset rows, as left by an interrupted import.
        QVERIFY(TestSandbox::exec(QStringLiteral("INSERT INTO dcp_reel_asset (dcp_uuid, reel_uuid, asset_uuid) "
                                    "VALUES ('gone', 'g-r1', 'x')")));
    }
    Notification event = notification(QStringLiteral("g-r1"), NotificationType::DownloadStarted);
    store->insertNotification(&event);

    if (!refused.isEmpty()) {
        QVERIFY(TestSandbox::exec(QStringLiteral("CREATE TRIGGER refuse BEFORE DELETE ON %1 "
                                    "BEGIN SELECT RAISE(ABORT, 'refused'); END")
                         .arg(refused)));
        m_log->take();
        QCOMPARE(runtimeErrorOf([&] { store->removeDCP(gone); }), error);
        QVERIFY(logHasLineStartingWith(m_log->take(), QStringLiteral("[DatabaseManager] ") + error));
        // Nothing of the DCP went, not even the rows deleted before the failing statement,
        // and the connection is not left inside a transaction: a later write lasts.
        Notification later = notification(QStringLiteral("g-r2"), NotificationType::DownloadStarted);
        store->insertNotification(&later);
        DatabaseManager::resetForTesting(m_dir->root());
        QCOMPARE(TestSandbox::rowCount(QStringLiteral("dcp")), 2);
        QCOMPARE(TestSandbox::rowCount(QStringLiteral("reel")), 3);
        QCOMPARE(TestSandbox::rowCount(QStringLiteral("asset")), 1 + assetCount);
        QCOMPARE(TestSandbox::rowCount(QStringLiteral("dcp_reel_asset")), 1 + assetCount);
        QCOMPARE(TestSandbox::rowCount(QStringLiteral("notification")), 2);
        return;
    }

    QVERIFY(store->removeDCP(gone));

    QCOMPARE(TestSandbox::rowCount(QStringLiteral("dcp")), 1);
    QCOMPARE(TestSandbox::rowCount(QStringLiteral("reel")), 1);
    QCOMPARE(TestSandbox::rowCount(QStringLiteral("asset")), 1);
    QCOMPARE(TestSandbox::rowCount(QStringLiteral("asset"), QStringLiteral("dcp_uuid = 'keep' AND uuid = 'a0'")), 1);
    QCOMPARE(TestSandbox::rowCount(QStringLiteral("dcp_reel_asset")), 1);
    // The event journal outlives the DCP.
    QSqlQuery journal = store->getReelNotificationsQuery(QStringLiteral("g-r1"));
    QVERIFY(journal.next());
    QCOMPARE(journal.value(3).toString(), QStringLiteral("g-r1"));
}

void TestDatabaseManager::removeReelKeepsAssets()
{
    DatabaseManager* store = DatabaseManager::getInstance();
    Graph g;
    DCP* d = g.dcp(QStringLiteral("d1"));
    Reel* r1 = g.reel(d, QStringLiteral("r1"), 1);
    Reel* r2 = g.reel(d, QStringLiteral("r2"), 2);
    g.asset(d, QStringLiteral("a1"), {r1, r2});
    g.asset(d, QStringLiteral("a2"), {r1});
    writeFile(d);

    QVERIFY(store->removeReel(r1));
    QCOMPARE(TestSandbox::rowCount(QStringLiteral("reel")), 1);
    QCOMPARE(TestSandbox::rowCount(QStringLiteral("dcp_reel_asset")), 1);
    QCOMPARE(TestSandbox::rowCount(QStringLiteral("dcp_reel_asset"), QStringLiteral("reel_uuid = 'r2'")), 1);
    QCOMPARE(TestSandbox::rowCount(QStringLiteral("asset")), 2); // the caller removes assets one by one
}

void TestDatabaseManager::notificationQueries()
{
    DatabaseManager* store = DatabaseManager::getInstance();
    QCOMPARE(store->getUnsyncedReelNotificationsCount(QStringLiteral("r1")), 0);

    Notification a = notification(QStringLiteral("r1"), NotificationType::DownloadStarted);
    Notification b = notification(QStringLiteral("r2"), NotificationType::DownloadStarted, true);
    Notification c = notification(QStringLiteral("r1"), NotificationType::DownloadFinished);
    store->insertNotification(&a);
    store->insertNotification(&b);
    store->insertNotification(&c);
    QCOMPARE(store->getUnsyncedReelNotificationsCount(QStringLiteral("r1")), 2);
    QCOMPARE(store->getUnsyncedReelNotificationsCount(QStringLiteral("r2")), 0);

    a.setSynced(true);
    store->updateNotificationSynced(&a);
    QCOMPARE(store->getUnsyncedReelNotificationsCount(QStringLiteral("r1")), 1);
    c.setSynced(true);
    store->updateNotificationSynced(&c);
    QCOMPARE(store->getUnsyncedReelNotificationsCount(QStringLiteral("r1")), 0);

    QSqlQuery reel = store->getReelNotificationsQuery(QStringLiteral("r1"));
    QList<int> events;
    while (reel.next()) {
        QCOMPARE(reel.value(7).toBool(), true);
        QCOMPARE(reel.value(4).toString(), QStringLiteral("1-abc"));
        events << reel.value(6).toInt();
    }
    QCOMPARE(events, (QList<int>{NotificationType::DownloadStarted, NotificationType::DownloadFinished}));

    QSqlQuery all = store->getNotificationQuery();
    QList<qulonglong> ids;
    while (all.next())
        ids << all.value(0).toULongLong();
    QCOMPARE(ids, (QList<qulonglong>{a.getDbId(), b.getDbId(), c.getDbId()}));
}

void TestDatabaseManager::failedMultiRowWriteIsRolledBack()
{
    DatabaseManager* store = DatabaseManager::getInstance();
    Graph g;
    DCP* d = g.dcp(QStringLiteral("d1"));
    DCP* twin = g.dcp(QStringLiteral("d1"));

    const QString error = runtimeErrorOf([&] {
        Transaction transaction;
        store->insertDcp(d);
        store->insertDcp(twin); // second statement fails
        transaction.commit();
    });
    QCOMPARE(error, QStringLiteral("Unable to run insertDcp query"));
    QCOMPARE(TestSandbox::rowCount(QStringLiteral("dcp")), 0); // all or nothing

    // A later single write must reach the file, not sit in a transaction left open.
    Notification later = notification(QStringLiteral("r1"), NotificationType::DownloadStarted);
    store->insertNotification(&later);

    DatabaseManager::resetForTesting(m_dir->root());
    QCOMPARE(TestSandbox::rowCount(QStringLiteral("notification")), 1);
    QCOMPARE(TestSandbox::rowCount(QStringLiteral("dcp")), 0);

    {
        Transaction transaction;
        writeFile(g.dcp(QStringLiteral("d2")));
        transaction.commit();
    }
    DatabaseManager::resetForTesting(m_dir->root());
    QCOMPARE(TestSandbox::rowCount(QStringLiteral("dcp")), 1);
}

void TestDatabaseManager::nestedTransactionJoinsOuter()
{
    Graph g;
    {
        Transaction outer;
        QVERIFY(outer.ownsTransaction());
        {
            Transaction inner;
            QVERIFY(!inner.ownsTransaction());
            writeFile(g.dcp(QStringLiteral("d1")));
            inner.commit(); // the outer one decides
        }
        QCOMPARE(TestSandbox::rowCount(QStringLiteral("dcp")), 1);
        // outer leaves scope without commit: everything goes
    }
    QCOMPARE(TestSandbox::rowCount(QStringLiteral("dcp")), 0);
    DatabaseManager::resetForTesting(m_dir->root());
    QCOMPARE(TestSandbox::rowCount(QStringLiteral("dcp")), 0);
}

QTEST_GUILESS_MAIN(TestDatabaseManager)
#include "tst_databasemanager.moc"
