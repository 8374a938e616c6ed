#include "LogCapture.h"
#include "ScriptedPrompts.h"
#include "TestSandbox.h"
#include "core/FileManager.h"
#include "core/UserPrompt.h"
#include "download/ChecksumWorker.h"
#include "download/DownloadManager.h"
#include "model/Asset.h"
#include "model/CatalogueLoader.h"
#include "model/DCP.h"
#include "model/DCPManager.h"
#include "model/Reel.h"
#include "model/ScriptOwnership.h"
#include "notify/NotificationType.h"
#include "storage/DatabaseManager.h"
#include "storage/Setting.h"

#include <QDir>
#include <QScopeGuard>
#include <QSet>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QVariant>
#include <QtTest>

#include <stdexcept>

namespace {
// Titles of DCPs, whether handed out as DCPs or as the QML list.
template <typename T> QStringList titles(const QList<T*>& dcps)
{
    QStringList out;
    for (T* d : dcps) {
        out << qobject_cast<DCP*>(d)->getTitle();
    }
    return out;
}

QStringList uuids(const QList<Asset*>& assets)
{
    QStringList out;
    for (Asset* a : assets) {
        out << a->getUuid();
    }
    return out;
}

// Keeps the download engine from reaching for the network while the tests look at its queue.
void pauseDownloadsInStore()
{
    Setting::getInstance()->set("download_paused", "1");
    Setting::getInstance()->save();
}

// The catalogue as the store's joined DCP query describes it, row by row: DCPs in row order,
// each with its reels and assets in the order rows first name them; every reel with its
// assets, the DCP of its last row and every asset with the reels of its rows.
QStringList describeJoinedQuery()
{
    QStringList dcp_order;
    QMap<QString, QStringList> dcp_reels, dcp_assets, reel_assets, asset_reels;
    QMap<QString, QString> reel_dcp;
    QSqlQuery query = DatabaseManager::getInstance()->getDCPQuery();
    while (query.next()) {
        if (query.value("dcp_db_id").isNull() || query.value("reel_db_id").isNull() ||
            query.value("asset_uuid").isNull())
            continue;
        const QString dcp = query.value("dcp_uuid").toString();
        const QString reel = query.value("reel_uuid").toString();
        const QString asset = query.value("asset_uuid").toString() + "@" + dcp;
        if (!dcp_order.contains(dcp))
            dcp_order << dcp;
        if (!dcp_reels[dcp].contains(reel))
            dcp_reels[dcp] << reel;
        if (!dcp_assets[dcp].contains(asset))
            dcp_assets[dcp] << asset;
        if (!reel_assets[reel].contains(asset))
            reel_assets[reel] << asset;
        reel_dcp[reel] = dcp;
        asset_reels[asset] << reel;
    }
    QStringList out;
    for (const QString& dcp : dcp_order) {
        out << dcp + ": reels " + dcp_reels[dcp].join(' ') + "; assets " + dcp_assets[dcp].join(' ');
        for (const QString& reel : dcp_reels[dcp])
            out << "  " + reel + " of " + reel_dcp[reel] + ": " + reel_assets[reel].join(' ');
        for (const QString& asset : dcp_assets[dcp])
            out << "  " + asset + " in " + asset_reels[asset].join(' ');
    }
    return out;
}

// The same description of loaded objects.
QStringList describe(const QList<DCP*>& dcps)
{
    const auto key = [](const Asset* a) -> QString {
        return a->getUuid() + "@" + a->getDCP()->getUuid();
    };
    QStringList out;
    for (const DCP* dcp : dcps) {
        QStringList reels, assets;
        for (const Reel* reel : dcp->getReels())
            reels << reel->getUuid();
        for (const Asset* asset : dcp->getAssets())
            assets << key(asset);
        out << dcp->getUuid() + ": reels " + reels.join(' ') + "; assets " + assets.join(' ');
        for (const Reel* reel : dcp->getReels()) {
            QStringList listed;
            for (const Asset* asset : reel->getAssets())
                listed << key(asset);
            out << "  " + reel->getUuid() + " of " + reel->getDCP()->getUuid() + ": " + listed.join(' ');
        }
        for (const Asset* asset : dcp->getAssets()) {
            QStringList in;
            for (const Reel* reel : asset->getReels())
                in << reel->getUuid();
            out << "  " + key(asset) + " in " + in.join(' ');
        }
    }
    return out;
}

// Frees what a CatalogueLoader built outside a catalogue; shared reels and assets once.
void freeLoaded(const QList<DCP*>& dcps)
{
    QSet<Reel*> reels;
    QSet<Asset*> assets;
    for (DCP* dcp : dcps) {
        reels.unite(QSet<Reel*>(dcp->loadedReels().begin(), dcp->loadedReels().end()));
        assets.unite(QSet<Asset*>(dcp->loadedAssets().begin(), dcp->loadedAssets().end()));
    }
    qDeleteAll(assets);
    qDeleteAll(reels);
    qDeleteAll(dcps);
}

} // namespace

class TestCatalogue : public QObject
{
    Q_OBJECT

private slots:
    void startUpDropsDcpWhoseFolderIsGone();
    void startUpWithNothingLeftDoesNotTouchQueue();
    void startUpWithoutTheDriveKeepsItsDownloads();
    void reelSharedByTwoDcps_data();
    void reelSharedByTwoDcps();
    void loadMatchesJoinedQuery_data();
    void loadMatchesJoinedQuery();
    void completeDcpListedWithoutReels_data();
    void completeDcpListedWithoutReels();

    void searchFilter_data();
    void searchFilter();
    void sorting_data();
    void sorting();
    void addAndRemoveDcp();
    void loadFromFileWithoutKeyTellsUser();
};

void TestCatalogue::startUpDropsDcpWhoseFolderIsGone()
{
    TestSandbox sandbox;
    pauseDownloadsInStore();

    DCP* older = sandbox.newDCP("d-old", "Older", sandbox.downloads());
    TestSandbox::addAssetOfSize(TestSandbox::addReel(older, "r-old", 1), "o1", 10);
    older->syncToDatabase(sandbox.catalogue());

    DCP* newer = sandbox.newDCP("d-new", "Newer", sandbox.downloads());
    newer->setFriendlyTitle("The Newer One");
    newer->setUserUUID("user-7");
    newer->setCampaignDCPId(4294967296ull + 5);
    Reel* r1 = TestSandbox::addReel(newer, "r1", 1);
    Reel* r2 = TestSandbox::addReel(newer, "r2", 2);
    Asset* done = TestSandbox::addAssetOfSize(r1, "n-done", 100);
    Asset* todo = TestSandbox::addAssetOfSize(r1, "n-todo", 200);
    Asset* shared = TestSandbox::addAssetOfSize(r2, "n-shared", 300);
    TestSandbox::share(shared, r1);
    todo->setDirectoryPath("sub/dir");
    newer->syncToDatabase(sandbox.catalogue());
    done->setDownloadStarted(true);
    done->setDownloadChecksummed(true);
    done->setDownloadFinished(true);
    DatabaseManager::getInstance()->updateAssetDownloadFields(done);
    todo->setDownloadStarted(true);
    todo->setDownloadAttempts(1);
    DatabaseManager::getInstance()->updateAssetDownloadFields(todo);

    QVERIFY(QDir().mkpath(newer->getDCPPath()));
    // The older DCP's folder never existed: it is dropped with all its rows.
    // Links whose DCP or asset row is gone would load as objects without identity.
    QVERIFY(TestSandbox::exec("INSERT INTO dcp_reel_asset (dcp_uuid, reel_uuid, asset_uuid) VALUES "
                              "('ghost', 'r1', 'n-done'), ('d-new', 'r1', 'missing')"));

    // What the window's script engine would be told to leave alone.
    QSet<QObject*> keptByProgram;
    ScriptOwnership::setMarker([&keptByProgram](QObject* object) { keptByProgram.insert(object); });
    const auto unmark = qScopeGuard([] { ScriptOwnership::setMarker(nullptr); });
    LogCapture log;
    sandbox.restart();
    DCPManager* catalogue = sandbox.catalogue();
    QVERIFY(catalogue->loadedData());
    QVERIFY(keptByProgram.contains(catalogue));
    QVERIFY(log.contains("[DCPManager] Warning: loadDCPs() removing dcp"));
    QVERIFY(log.contains(sandbox.downloads() + "/Older"));

    QCOMPARE(titles(catalogue->getDCPs()), QStringList{"Newer"});
    QCOMPARE(catalogue->getDCP("d-old"), static_cast<DCP*>(nullptr));
    QCOMPARE(catalogue->getReel("r-old"), static_cast<Reel*>(nullptr));
    QCOMPARE(catalogue->getAsset("o1", "d-old"), static_cast<Asset*>(nullptr));
    QCOMPARE(TestSandbox::scalar("SELECT COUNT(*) FROM dcp"), 1);
    QCOMPARE(TestSandbox::scalar("SELECT COUNT(*) FROM reel WHERE uuid = 'r-old'"), 0);
    QCOMPARE(TestSandbox::scalar("SELECT COUNT(*) FROM asset WHERE dcp_uuid = 'd-old'"), 0);
    QCOMPARE(TestSandbox::scalar("SELECT COUNT(*) FROM dcp_reel_asset WHERE dcp_uuid = 'd-old'"), 0);

    DCP* loaded = catalogue->getDCP("d-new");
    QVERIFY(loaded && loaded != newer);
    QVERIFY(keptByProgram.contains(loaded));
    QCOMPARE(loaded->getDbId(), newer->getDbId());
    QCOMPARE(loaded->getFriendlyTitle(), QString("The Newer One"));
    QCOMPARE(loaded->getUserUUID(), QString("user-7"));
    QCOMPARE(loaded->getCampaignDCPId(), 4294967296ull + 5);
    QCOMPARE(loaded->getReels().size(), 2);
    Reel* lr1 = loaded->getReel("r1");
    QVERIFY(lr1);
    QCOMPARE(lr1->getDbId(), r1->getDbId());
    QCOMPARE(lr1->getReelNumber(), 1u);
    QCOMPARE(lr1->getDCP(), loaded);
    QCOMPARE(uuids(lr1->getAssets()), QStringList({"n-done", "n-todo", "n-shared"}));
    QVERIFY(keptByProgram.contains(lr1));
    QCOMPARE(uuids(loaded->getAssets()), QStringList({"n-done", "n-todo", "n-shared"}));
    QCOMPARE(catalogue->getAsset("n-shared", "d-new")->getReels().size(), 2);

    Asset* ldone = loaded->getAsset("n-done");
    QVERIFY(ldone->getDownloadStarted() && ldone->getDownloadFinished() && ldone->getDownloadChecksummed());
    QVERIFY(!ldone->getDownloadCorrupted());
    Asset* ltodo = loaded->getAsset("n-todo");
    QCOMPARE(ltodo->getDirectoryPath(), QString("sub/dir"));
    QCOMPARE(ltodo->getDownloadAttempts(), 1u);
    QCOMPARE(ltodo->getOriginalFileName(), QString(".n-todo.mxf"));
    QCOMPARE(ltodo->getDownloadUrl(), QString("http://127.0.0.1:9/n-todo"));
    QCOMPARE(ltodo->getSize(), quint64(200));
    QCOMPARE(ltodo->getRemainingRedirects(), 3);

    // The engine was asked to rebuild its queue from what was kept.
    QCOMPARE(uuids(sandbox.engine()->getDownloadQueue()), QStringList({"n-todo", "n-shared"}));
}

void TestCatalogue::startUpWithNothingLeftDoesNotTouchQueue()
{
    TestSandbox sandbox;
    pauseDownloadsInStore();
    DCP* gone = sandbox.newDCP("d1", "Gone", sandbox.downloads());
    TestSandbox::addAssetOfSize(TestSandbox::addReel(gone, "r1", 1), "a1", 10);
    gone->syncToDatabase(sandbox.catalogue());
    QVERIFY(QDir().mkpath(sandbox.downloads())); // the drive is there, the DCP folder is not

    sandbox.restart();
    // An engine that already holds an item: a rebuild would empty its queue.
    DCP outside("x", "Outside", "", sandbox.downloads(), nullptr);
    Asset marker("m", "", 1, "t", ".m", "");
    marker.setDCP(&outside);
    sandbox.engine()->addDownloadItem(&marker);

    DCPManager* catalogue = sandbox.catalogue();
    QVERIFY(!catalogue->loadedData());
    QVERIFY(catalogue->getDCPs().isEmpty());
    QCOMPARE(TestSandbox::scalar("SELECT COUNT(*) FROM dcp"), 0);
    QCOMPARE(TestSandbox::scalar("SELECT COUNT(*) FROM dcp_reel_asset"), 0);
    QCOMPARE(sandbox.engine()->getDownloadQueue(), QList<Asset*>{&marker});
}

void TestCatalogue::startUpWithoutTheDriveKeepsItsDownloads()
{
    TestSandbox sandbox;
    pauseDownloadsInStore();
    const QString drive = sandbox.root() + "/drive"; // the folder the user chose
    DCP* away = sandbox.newDCP("d-away", "Away", drive);
    TestSandbox::addAssetOfSize(TestSandbox::addReel(away, "r-away", 1), "w1", 10);
    Asset* unverified = TestSandbox::addAssetOfSize(TestSandbox::addReel(away, "r-done", 2), "w2", 4);
    away->syncToDatabase(sandbox.catalogue());
    unverified->setDownloadStarted(true);
    unverified->setDownloadFinished(true);
    DatabaseManager::getInstance()->updateAssetDownloadFields(unverified);
    QVERIFY(writeFile(unverified->getFullPath(), "data"));
    const QString rows = "SELECT (SELECT COUNT(*) FROM dcp) * 1000 + (SELECT COUNT(*) FROM reel) * 100 + "
                         "(SELECT COUNT(*) FROM asset WHERE download_finished = 1 AND download_attempts = 0) "
                         "* 10 + (SELECT COUNT(*) FROM dcp_reel_asset)";
    QCOMPARE(TestSandbox::scalar(rows), 1212);

    // Unplugged: the whole chosen folder is gone, not only the DCP's.
    QVERIFY(QDir().rename(drive, drive + "-unplugged"));
    sandbox.restart();
    DCPManager* catalogue = sandbox.catalogue();
    DCP* waiting = catalogue->getDCP("d-away");
    QVERIFY(waiting);
    QVERIFY(!waiting->property("drive_connected").toBool());
    QCOMPARE(titles(catalogue->getDCPsQML()), QStringList{"Away"});
    QVERIFY(catalogue->getDCPs().isEmpty());
    QVERIFY(!catalogue->loadedData());
    QCOMPARE(TestSandbox::scalar(rows), 1212);
    QVERIFY(!QFileInfo::exists(drive)); // nothing written where the drive is mounted
    // Neither downloaded nor handed to verification, which would count its missing files
    // as corrupted.
    DownloadManager* engine = sandbox.engine();
    engine->assetsChanged();
    QVERIFY(engine->getDownloadQueue().isEmpty());
    QVERIFY(!engine->getChecksumWorker()->haveReel(waiting->getReel("r-done")));

    // Plugged in again: the next start queues it again.
    QVERIFY(QDir().rename(drive + "-unplugged", drive));
    sandbox.restart();
    catalogue = sandbox.catalogue();
    QVERIFY(catalogue->getDCP("d-away")->isDriveConnected());
    QVERIFY(catalogue->loadedData());
    QCOMPARE(uuids(sandbox.engine()->getDownloadQueue()), QStringList{"w1"});
    QVERIFY(sandbox.engine()->getChecksumWorker()->haveReel(catalogue->getReel("r-done")));
}

void TestCatalogue::reelSharedByTwoDcps_data()
{
    QTest::addColumn<QStringList>("folders"); // DCP folders still on the drive
    QTest::addColumn<QStringList>("kept");
    QTest::addColumn<QStringList>("sharedAssets"); // of reel r-shared; empty: the reel is gone
    QTest::addColumn<QString>("sharedDcp");
    QTest::newRow("both kept: one object, its DCP from the last row")
        << QStringList{"First", "Second", "Third"} << QStringList{"Third", "Second", "First"}
        << QStringList{"b1", "a1"} << "dA";
    QTest::newRow("one dropped: the reel lives on without its assets")
        << QStringList{"Second", "Third"} << QStringList{"Third", "Second"} << QStringList{"b1"} << "dB";
    QTest::newRow("both dropped: the reel is freed once")
        << QStringList{"Third"} << QStringList{"Third"} << QStringList() << QString();
}

void TestCatalogue::reelSharedByTwoDcps()
{
    QFETCH(QStringList, folders);
    QFETCH(QStringList, kept);
    QFETCH(QStringList, sharedAssets);
    QFETCH(QString, sharedDcp);

    TestSandbox sandbox;
    pauseDownloadsInStore();
    // dA (reel r-shared: a1) and dB (reel r-b: b1), with b1 linked into r-shared as well.
    DCP* first = sandbox.makeDCP("dA", "First");
    TestSandbox::addAssetOfSize(TestSandbox::addReel(first, "r-shared", 1), "a1", 10);
    first->syncToDatabase(sandbox.catalogue());
    DCP* second = sandbox.makeDCP("dB", "Second");
    TestSandbox::addAssetOfSize(TestSandbox::addReel(second, "r-b", 1), "b1", 20);
    second->syncToDatabase(sandbox.catalogue());
    QVERIFY(TestSandbox::exec(
        "INSERT INTO dcp_reel_asset (dcp_uuid, reel_uuid, asset_uuid) VALUES ('dB', 'r-shared', 'b1')"));
    DCP* third = sandbox.makeDCP("dC", "Third");
    TestSandbox::addAssetOfSize(TestSandbox::addReel(third, "r-c", 1), "c1", 30);
    third->syncToDatabase(sandbox.catalogue());
    for (const QString& folder : folders) {
        QVERIFY(QDir().mkpath(sandbox.downloads() + "/" + folder));
    }

    sandbox.restart();
    DCPManager* catalogue = sandbox.catalogue();
    QCOMPARE(titles(catalogue->getDCPs()), kept);
    QCOMPARE(TestSandbox::rowCount("dcp"), kept.size());
    Reel* shared = catalogue->getReel("r-shared");
    if (sharedAssets.isEmpty()) {
        QCOMPARE(shared, static_cast<Reel*>(nullptr));
        QCOMPARE(TestSandbox::rowCount("dcp_reel_asset", "dcp_uuid <> 'dC'"), 0);
        return;
    }
    QVERIFY(shared);
    QCOMPARE(uuids(shared->getAssets()), sharedAssets);
    QCOMPARE(shared->getDCP(), catalogue->getDCP(sharedDcp));
    for (DCP* dcp : catalogue->getDCPs()) {
        if (dcp->getUuid() != "dC") {
            QCOMPARE(dcp->getReel("r-shared"), shared);
        }
    }

    // What the catalogue kept must still be there at the next start.
    sandbox.restart();
    Reel* again = sandbox.catalogue()->getReel("r-shared");
    QVERIFY(again);
    QCOMPARE(uuids(again->getAssets()), sharedAssets);
}

void TestCatalogue::loadMatchesJoinedQuery_data()
{
    // Rows changed behind the program's back, on top of three DCPs that share a reel and a file.
    QTest::addColumn<QStringList>("statements");
    QTest::addColumn<bool>("listedFirst");
    // Each case twice: loaded whole, and listed without reels and given them afterwards.
    const auto both = [](const char* name, const QStringList& statements) {
        QTest::newRow(name) << statements << false;
        QTest::newRow(qPrintable(QString::fromLatin1(name) + ", listed first")) << statements << true;
    };
    both("as imported", QStringList());
    both("links stored in another order than their assets",
         QStringList{"DELETE FROM dcp_reel_asset WHERE dcp_uuid = 'dA'",
                     "INSERT INTO dcp_reel_asset (dcp_uuid, reel_uuid, asset_uuid) VALUES "
                     "('dA', 'rA2', 'a4'), ('dA', 'rA1', 'a3'), ('dA', 'rA2', 'a1'), ('dA', 'rA1', 'a1'), "
                     "('dA', 'rA1', 'a2')"});
    both("a link twice, a link of a reel of another DCP",
         QStringList{"INSERT INTO dcp_reel_asset (dcp_uuid, reel_uuid, asset_uuid) VALUES "
                     "('dA', 'rA1', 'a2'), ('dC', 'rA1', 'a1')"});
    both("links to rows that are gone",
         QStringList{"DELETE FROM asset WHERE uuid = 'a2' AND dcp_uuid = 'dA'",
                     "DELETE FROM reel WHERE uuid = 'rB1'",
                     "INSERT INTO dcp_reel_asset (dcp_uuid, reel_uuid, asset_uuid) VALUES "
                     "('dGone', 'rA1', 'a1'), ('dA', 'rGone', 'a1'), ('dA', 'rA1', 'aGone')"});
    both("a DCP row gone, rows without links",
         QStringList{
             "DELETE FROM dcp WHERE uuid = 'dB'",
             "INSERT INTO asset SELECT NULL, 'lonely', dcp_uuid, hash, size, type, original_filename, "
             "directory_path, download_url, 0, 0, 0, 0, 0 FROM asset WHERE uuid = 'a1' AND dcp_uuid = 'dA'",
             "INSERT INTO reel (uuid, dcp_uuid, reel_number) VALUES ('rLonely', 'dA', 9)"});
}

// The start-up load reads the tables one by one and joins them itself; whatever the rows,
// it must build what stepping through the joined DCP query describes.
void TestCatalogue::loadMatchesJoinedQuery()
{
    QFETCH(QStringList, statements);
    TestSandbox sandbox;
    pauseDownloadsInStore();
    DCP* a = sandbox.makeDCP("dA", "First");
    Reel* a1 = TestSandbox::addReel(a, "rA1", 1);
    Reel* a2 = TestSandbox::addReel(a, "rA2", 2);
    TestSandbox::share(TestSandbox::addAssetOfSize(a1, "a1", 10), a2); // one file, two reels
    TestSandbox::addAssetOfSize(a1, "a2", 20);
    TestSandbox::addAssetOfSize(a1, "a3", 30);
    TestSandbox::addAssetOfSize(a2, "a4", 40);
    a->syncToDatabase(sandbox.catalogue());
    DCP* b = sandbox.makeDCP("dB", "Second");
    TestSandbox::addAssetOfSize(TestSandbox::addReel(b, "rB1", 1), "a1", 50); // same asset UUID as in dA
    b->syncToDatabase(sandbox.catalogue());
    DCP* c = sandbox.makeDCP("dC", "Third");
    TestSandbox::addAssetOfSize(TestSandbox::addReel(c, "rC1", 1), "c1", 60);
    c->syncToDatabase(sandbox.catalogue());
    QVERIFY(TestSandbox::exec(
        "INSERT INTO dcp_reel_asset (dcp_uuid, reel_uuid, asset_uuid) VALUES ('dB', 'rA1', 'a1')"));
    for (const QString& statement : statements)
        QVERIFY2(TestSandbox::exec(statement), qPrintable(statement));

    sandbox.restart();
    const QStringList expected = describeJoinedQuery();
    QVERIFY(!expected.isEmpty());
    QFETCH(bool, listedFirst);
    CatalogueLoader loader(DatabaseManager::getInstance());
    const QSet<QString> none;
    // Listed without reels, then given them: the same objects as one whole load.
    const QList<DCP*> loaded = listedFirst ? loader.load(&none) : loader.load();
    if (listedFirst) {
        for (const DCP* dcp : loaded)
            QVERIFY(dcp->loadedReels().isEmpty());
        loader.loadReels(loaded);
    }
    const auto free = qScopeGuard([&] { freeLoaded(loaded); });
    QCOMPARE(describe(loaded), expected);
    // Field by field, the objects carry their rows.
    for (const DCP* dcp : loaded) {
        QCOMPARE(dcp->getDbId(),
                 unsigned(TestSandbox::scalar("SELECT id FROM dcp WHERE uuid = '" + dcp->getUuid() + "'")));
        for (const Reel* reel : dcp->getReels())
            QCOMPARE(reel->getDbId(), unsigned(TestSandbox::scalar("SELECT id FROM reel WHERE uuid = '" +
                                                                   reel->getUuid() + "'")));
        for (const Asset* asset : dcp->getAssets())
            QCOMPARE(asset->getSize(),
                     quint64(TestSandbox::scalar("SELECT size FROM asset WHERE uuid = '" + asset->getUuid() +
                                                 "' AND dcp_uuid = '" + dcp->getUuid() + "'")));
    }
}

// What the window and the engine read of a DCP: its sizes and states, and those of its reels.
QStringList stateOf(const DCP* dcp)
{
    QStringList out{QString("total %1, shown %2, on disk %3, finished %4, downloaded %5")
                        .arg(dcp->getTotalSize())
                        .arg(dcp->getDownloadedSizeUI())
                        .arg(dcp->getDownloadedSize())
                        .arg(dcp->isFinished())
                        .arg(dcp->isDownloaded())};
    for (const Reel* reel : dcp->getReels())
        out << QString(
                   "reel %1: total %2, on disk %3, synced %4, finished %5, downloaded %6, checksummed %7, "
                   "corrupted %8, %9 assets")
                   .arg(reel->getReelNumber())
                   .arg(reel->getTotalSize())
                   .arg(reel->getDownloadedSize())
                   .arg(reel->isSynced())
                   .arg(reel->isFinished())
                   .arg(reel->isDownloaded())
                   .arg(reel->isChecksummed())
                   .arg(reel->isCorrupted())
                   .arg(reel->getAssets().size());
    return out;
}

void TestCatalogue::completeDcpListedWithoutReels_data()
{
    // Applied to a DCP whose files are all verified, named and acknowledged (dDone), beside a
    // newer one of which nothing is started (dNew).
    QTest::addColumn<QStringList>("statements");
    QTest::addColumn<bool>("listed");        // dDone listed without its reels at the next start
    QTest::addColumn<QStringList>("queued"); // the engine's queue then
    QTest::newRow("complete") << QStringList() << true << QStringList{"n1"};
    QTest::newRow("a file still hidden")
        << QStringList{"UPDATE asset SET original_filename = '.' || original_filename WHERE uuid = 'f2'"}
        << false << QStringList{"n1"};
    QTest::newRow("a file not finished")
        << QStringList{"UPDATE asset SET download_finished = 0, download_checksummed = 0 WHERE uuid = 'f3'"}
        << false << QStringList{"n1", "f3"};
    QTest::newRow("a file not verified")
        << QStringList{"UPDATE asset SET download_checksummed = 0 WHERE uuid = 'f3'"} << false
        << QStringList{"n1"};
    QTest::newRow("a file corrupted, attempts used up")
        << QStringList{"UPDATE asset SET download_corrupted = 1, download_attempts = 3 WHERE uuid = 'f1'"}
        << false << QStringList{"n1"};
    QTest::newRow("an event not acknowledged")
        << QStringList{"UPDATE notification SET synced = 0 WHERE id = (SELECT MAX(id) FROM notification)"}
        << false << QStringList{"n1"};
    QTest::newRow("a reel shared with a DCP being downloaded")
        << QStringList{"UPDATE asset SET download_started = 1 WHERE uuid = 'n1'",
                       "INSERT INTO dcp_reel_asset (dcp_uuid, reel_uuid, asset_uuid) VALUES ('dNew', 'r2', "
                       "'n1')"}
        << false << QStringList{"n1"};
    // Not started either: it waits, listed, until the queue ahead of it runs dry.
    QTest::newRow("nothing of it started")
        << QStringList{"UPDATE asset SET download_started = 0, download_finished = 0, download_checksummed = "
                       "0, "
                       "original_filename = '.' || original_filename WHERE dcp_uuid = 'dDone'",
                       "DELETE FROM notification"}
        << true << QStringList{"n1"};
}

// A long history lists its complete DCPs (and those not started) without their reels and
// assets. Whatever is read of such a DCP afterwards must be what loading it whole gives.
void TestCatalogue::completeDcpListedWithoutReels()
{
    QFETCH(QStringList, statements);
    QFETCH(bool, listed);
    QFETCH(QStringList, queued);
    TestSandbox sandbox;
    pauseDownloadsInStore();
    DCP* done = sandbox.makeDCP("dDone", "Done");
    Reel* r1 = TestSandbox::addReel(done, "r1", 1);
    Reel* r2 = TestSandbox::addReel(done, "r2", 2);
    const QList<Asset*> files{TestSandbox::addAssetOfSize(r1, "f1", 10),
                              TestSandbox::addAssetOfSize(r1, "f2", 20),
                              TestSandbox::addAssetOfSize(r2, "f3", 30)};
    done->syncToDatabase(sandbox.catalogue());
    QVERIFY(QDir().mkpath(done->getDCPPath()));
    for (const Asset* file : files) {
        QFile visible(FileManager::nixGetUnhiddenPath(file->getFullPath()));
        QVERIFY(visible.open(QIODevice::WriteOnly));
        visible.write(QByteArray(int(file->getSize()), 'x'));
    }
    QVERIFY(TestSandbox::exec(
        "UPDATE asset SET download_started = 1, download_finished = 1, download_checksummed = "
        "1, original_filename = substr(original_filename, 2) WHERE dcp_uuid = 'dDone'"));
    for (const char* reel : {"r1", "r2"})
        for (int event : {NotificationType::DownloadFinished, NotificationType::ChecksumOk})
            QVERIFY(TestSandbox::exec(
                QString("INSERT INTO notification (user_uuid, campaign_dcp_id, reel_uuid, "
                        "reel_assets_hash, reel_number, event, synced) VALUES ('user-1', 77, "
                        "'%1', 'h', 1, %2, 1)")
                    .arg(reel)
                    .arg(event)));
    DCP* fresh = sandbox.makeDCP("dNew", "New");
    TestSandbox::addAssetOfSize(TestSandbox::addReel(fresh, "rN", 1), "n1", 40);
    fresh->syncToDatabase(sandbox.catalogue());
    QVERIFY(QDir().mkpath(fresh->getDCPPath()));
    for (const QString& statement : statements)
        QVERIFY2(TestSandbox::exec(statement), qPrintable(statement));

    sandbox.restart();
    DCP* dcp = sandbox.catalogue()->getDCP("dDone");
    QVERIFY(dcp);
    // The engine's walk for work reads neither a complete DCP's reels nor those of a DCP not
    // started that waits behind other work.
    QCOMPARE(uuids(sandbox.engine()->getDownloadQueue()), queued);
    QCOMPARE(!dcp->reelsLoaded(), listed);
    QCOMPARE(sandbox.catalogue()->getReel("r2"), dcp->getReel("r2"));
    QVERIFY(dcp->reelsLoaded());

    const QList<DCP*> whole = CatalogueLoader(DatabaseManager::getInstance()).load();
    const auto free = qScopeGuard([&] { freeLoaded(whole); });
    DCP* reference = nullptr;
    for (DCP* d : whole)
        reference = d->getUuid() == "dDone" ? d : reference;
    QVERIFY(reference);
    QCOMPARE(stateOf(dcp), stateOf(reference));
    QCOMPARE(describe({dcp}), describe({reference}));
}

void TestCatalogue::searchFilter_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("haveFilter");
    QTest::addColumn<QStringList>("listed");

    QTest::newRow("empty") << "" << false << QStringList({"Alpha_FTR", "beta_TLR", "Unstored"});
    QTest::newRow("only blanks") << "  \t " << false << QStringList({"Alpha_FTR", "beta_TLR", "Unstored"});
    QTest::newRow("title, any case") << "ALPHA" << true << QStringList({"Alpha_FTR", "Unstored"});
    QTest::newRow("friendly title in capitals") << "sunrise" << true << QStringList({"beta_TLR", "Unstored"});
    QTest::newRow("trimmed before matching") << "  ftr " << true << QStringList({"Alpha_FTR", "Unstored"});
    QTest::newRow("no match still lists the unstored DCP") << "zzz" << true << QStringList{"Unstored"};
}

void TestCatalogue::searchFilter()
{
    QFETCH(QString, text);
    QFETCH(bool, haveFilter);
    QFETCH(QStringList, listed);

    TestSandbox sandbox;
    DCPManager* catalogue = sandbox.catalogue();
    DCP* a = sandbox.newDCP("a", "Alpha_FTR", sandbox.downloads());
    a->setDbId(1);
    a->setFriendlyTitle("Alpha");
    DCP* b = sandbox.newDCP("b", "beta_TLR", sandbox.downloads());
    b->setDbId(2);
    b->setFriendlyTitle("SUNRISE Trailer");
    DCP* unstored = sandbox.newDCP("c", "Unstored", sandbox.downloads());
    catalogue->addDCP(a);
    catalogue->addDCP(b);
    catalogue->addDCP(unstored);

    QSignalSpy dcpsChanged(catalogue, &DCPManager::dcpsChanged);
    QSignalSpy filterChanged(catalogue, &DCPManager::filterChanged);
    catalogue->setSearchFilter(text);
    catalogue->setSearchFilter(text); // unchanged text signals again
    QCOMPARE(dcpsChanged.count(), 2);
    QCOMPARE(filterChanged.count(), 2);
    QCOMPARE(catalogue->property("haveSearchFilter").toBool(), haveFilter);
    QCOMPARE(titles(catalogue->property("dcps").value<QList<QObject*>>()), listed);
}

void TestCatalogue::sorting_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<bool>("emits");
    QTest::addColumn<QStringList>("order");
    QTest::newRow("date, newest first") << "date" << true << QStringList({"apple", "Zebra", "mango"});
    QTest::newRow("name, capitals first") << "name" << true << QStringList({"Zebra", "apple", "mango"});
    QTest::newRow("Date is not date") << "Date" << false << QStringList({"mango", "apple", "Zebra"});
    QTest::newRow("unknown key") << "size" << false << QStringList({"mango", "apple", "Zebra"});
}

void TestCatalogue::sorting()
{
    QFETCH(QString, key);
    QFETCH(bool, emits);
    QFETCH(QStringList, order);

    TestSandbox sandbox;
    DCPManager* catalogue = sandbox.catalogue();
    const QStringList names{"mango", "apple", "Zebra"};
    const QList<unsigned> ids{1, 3, 2};
    for (int i = 0; i < names.size(); ++i) {
        DCP* d = sandbox.newDCP(names[i], names[i], sandbox.downloads());
        d->setDbId(ids[i]);
        d->setFriendlyTitle(QString(names.size() - i, QLatin1Char('a'))); // never used for sorting
        catalogue->addDCP(d);
    }
    QSignalSpy dcpsChanged(catalogue, &DCPManager::dcpsChanged);
    catalogue->sortDCPsBy(key);
    QCOMPARE(dcpsChanged.count(), emits ? 1 : 0);
    QCOMPARE(titles(catalogue->getDCPs()), order);
}

void TestCatalogue::addAndRemoveDcp()
{
    TestSandbox sandbox;
    DCPManager* catalogue = sandbox.catalogue();
    QSignalSpy dcpsChanged(catalogue, &DCPManager::dcpsChanged);
    QSignalSpy filterChanged(catalogue, &DCPManager::filterChanged);

    DCP* fresh = sandbox.newDCP("d1", "Film", sandbox.downloads() + "/deep/er");
    Reel* reel = TestSandbox::addReel(fresh, "r1", 1);
    Asset* asset = TestSandbox::addAssetOfSize(reel, "a1", 5);
    catalogue->addDCP(fresh);
    QVERIFY(QFileInfo(sandbox.downloads() + "/deep/er/Film").isDir());
    QCOMPARE(dcpsChanged.count(), 1);
    QCOMPARE(catalogue->getDCP("d1"), fresh);
    QCOMPARE(catalogue->getReel("r1"), reel);
    QCOMPARE(catalogue->getAsset("a1", "d1"), asset);

    // A folder that cannot be made: nothing is filed.
    QVERIFY(writeFile(sandbox.downloads() + "/Blocked", "a file, not a folder"));
    DCP* blocked = sandbox.makeDCP("d2", "Blocked");
    TestSandbox::addAssetOfSize(TestSandbox::addReel(blocked, "r2", 1), "a2", 1);
    LogCapture log;
    try {
        catalogue->addDCP(blocked);
        QFAIL("no exception");
    } catch (const std::runtime_error& e) {
        QCOMPARE(QString(e.what()), QString("Unable to create directory for the DCP"));
    }
    QVERIFY(log.contains("[DcpManager] Unable to create directory for the DCP: "));
    QCOMPARE(dcpsChanged.count(), 1);
    QCOMPARE(catalogue->getDCPs(), QList<DCP*>{fresh});
    QCOMPARE(catalogue->getReel("r2"), static_cast<Reel*>(nullptr));
    QCOMPARE(catalogue->getAsset("a2", "d2"), static_cast<Asset*>(nullptr));

    // Removed from every list and lookup, but alive: a delegate may still be holding it.
    QPointer<DCP> watch(fresh);
    QPointer<Reel> watchReel(reel);
    catalogue->removeDCP(fresh);
    QCOMPARE(dcpsChanged.count(), 2);
    QCOMPARE(filterChanged.count(), 1);
    QVERIFY(catalogue->getDCPs().isEmpty());
    QCOMPARE(catalogue->getDCP("d1"), static_cast<DCP*>(nullptr));
    QCOMPARE(catalogue->getReel("r1"), static_cast<Reel*>(nullptr));
    QCOMPARE(catalogue->getAsset("a1", "d1"), static_cast<Asset*>(nullptr));
    QVERIFY(watch && watchReel);
    QCOMPARE(watch->getTotalSize(), 5ull);
}

void TestCatalogue::loadFromFileWithoutKeyTellsUser()
{
    TestSandbox sandbox;
    DCPManager* catalogue = sandbox.catalogue();
    ScriptedPrompts prompts;
    catalogue->setDecodingKey(QString());
    catalogue->loadDCPFromFile("/somewhere/film.orvdcp"); // must not throw into the caller
    QCOMPARE(prompts.count(), 1);
    QCOMPARE(prompts.last().icon, Prompt::Warning);
    QCOMPARE(prompts.last().informativeText, QString("Can not load DCP when decoding key is empty"));

    catalogue->setDecodingKey("key");
    catalogue->loadDCPFromFile(QString()); // nothing to open: nothing happens
    QCOMPARE(prompts.count(), 1);
}

QTEST_MAIN(TestCatalogue)
#include "tst_catalogue.moc"
