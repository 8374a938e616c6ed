#include "TestSandbox.h"
#include "LogCapture.h"
#include "model/Asset.h"
#include "model/DCP.h"
#include "model/DCPManager.h"
#include "model/Reel.h"
#include "storage/DatabaseManager.h"
#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QVariant>

#include <QSignalSpy>
#include <QtTest>

#include <stdexcept>

namespace {
struct Flags
{
    bool finished;
    bool checksummed;
    bool corrupted;
    unsigned attempts;
};

void apply(Asset* asset, const Flags& f)
{
    asset->setDownloadFinished(f.finished);
    asset->setDownloadChecksummed(f.checksummed);
    asset->setDownloadCorrupted(f.corrupted);
    asset->setDownloadAttempts(f.attempts);
}
} // namespace
Q_DECLARE_METATYPE(Flags)

class TestReelDcp : public QObject
{
    Q_OBJECT

private slots:
    void emptyReelAndDcp();
    void reelAddsEachKeyOnce();
    void reelStates_data();
    void reelStates();
    void retrySignature_data();
    void retrySignature();
    void reelSizesFromDisk();
    void reelSyncedFollowsJournal();

    void dcpPathAndAssetLookup();
    void addReelSignalsInOrder();
    void downloadedSizeUI_data();
    void downloadedSizeUI();
    void dcpStatesFollowReels();

    void syncStoresEverythingOnce();
    void failedSyncLeavesNothingBehind();
    void removeReelDropsRowsAndEntries();
    void failedRemoveReelRollsBack();
};

void TestReelDcp::emptyReelAndDcp()
{
    DCP dcp("d", "T", "", "/tmp");
    Reel reel("r", 1);
    QVERIFY(reel.isDownloaded());
    QVERIFY(reel.isChecksummed());
    QVERIFY(reel.isFinished());
    QVERIFY(!reel.isCorrupted());
    QCOMPARE(reel.getTotalSize(), 0ull);
    QCOMPARE(reel.getDownloadedSize(), 0ull);
    QCOMPARE(reel.getAssetsRetryHash(), QString());

    QVERIFY(dcp.isFinished());
    QVERIFY(dcp.isDownloaded());
    QCOMPARE(dcp.getTotalSize(), 0ull);
    QCOMPARE(dcp.getDownloadedSize(), 0ull);
    QCOMPARE(dcp.getDownloadedSizeUI(), 0ull);
    QVERIFY(dcp.getReelsQML().isEmpty());
    QCOMPARE(dcp.property("finished").toBool(), true);
}

void TestReelDcp::reelAddsEachKeyOnce()
{
    DCP d1("d1", "T", "", "/tmp");
    DCP d2("d2", "T", "", "/tmp");
    Asset a("a", "", 100, "t", ".a", "");
    Asset sameUuidOtherDcp("a", "", 50, "t", ".a", "");
    a.setDCP(&d1);
    sameUuidOtherDcp.setDCP(&d2);

    Reel reel("r", 1);
    reel.addAsset(&a);
    reel.addAsset(&a);
    QCOMPARE(reel.getAssets().size(), 1);
    QCOMPARE(reel.getTotalSize(), 100ull);
    reel.addAsset(&sameUuidOtherDcp);
    QCOMPARE(reel.getAssets().size(), 2);
    QCOMPARE(reel.getTotalSize(), 150ull);

    QVERIFY(reel.removeAsset(&a));
    QVERIFY(!reel.removeAsset(&a));
    reel.addAsset(&a); // the key is free again
    QCOMPARE(reel.getAssets().size(), 2);
}

void TestReelDcp::reelStates_data()
{
    QTest::addColumn<Flags>("first");
    QTest::addColumn<Flags>("second");
    QTest::addColumn<bool>("downloaded");
    QTest::addColumn<bool>("checksummed");
    QTest::addColumn<bool>("corrupted");
    QTest::addColumn<bool>("finished");

    const Flags fresh{false, false, false, 0};
    const Flags done{true, false, false, 0};
    const Flags verified{true, true, false, 0};
    const Flags gaveUp{false, true, true, 2};
    const Flags retrying{false, false, false, 1};

    QTest::newRow("one finished, one pending") << done << fresh << false << false << false << false;
    QTest::newRow("both finished") << done << done << true << false << false << true;
    QTest::newRow("both verified") << verified << verified << true << true << false << true;
    QTest::newRow("verified and given up: finished, not downloaded")
        << done << gaveUp << false << false << true << true;
    QTest::newRow("corrupted while the other still downloads")
        << fresh << gaveUp << false << false << true << false;
    QTest::newRow("queued again after a mismatch")
        << verified << retrying << false << false << false << false;
}

void TestReelDcp::reelStates()
{
    QFETCH(Flags, first);
    QFETCH(Flags, second);
    DCP dcp("d", "T", "", "/tmp");
    Asset a1("a1", "", 1, "t", ".a1", "");
    Asset a2("a2", "", 1, "t", ".a2", "");
    a1.setDCP(&dcp);
    a2.setDCP(&dcp);
    apply(&a1, first);
    apply(&a2, second);
    Reel reel("r", 1);
    reel.addAsset(&a1);
    reel.addAsset(&a2);

    QTEST(reel.isDownloaded(), "downloaded");
    QTEST(reel.isChecksummed(), "checksummed");
    QTEST(reel.isCorrupted(), "corrupted");
    QTEST(reel.isFinished(), "finished");
}

void TestReelDcp::retrySignature_data()
{
    QTest::addColumn<QStringList>("uuids");
    QTest::addColumn<QList<unsigned>>("attempts");
    QTest::addColumn<QString>("signature");
    QTest::newRow("sorted by uuid") << QStringList{"b2", "a1"} << QList<unsigned>{1, 0} << "a10b21";
    QTest::newRow("upper case first") << QStringList{"a", "B"} << QList<unsigned>{2, 0} << "B0a2";
    QTest::newRow("numbers as text") << QStringList{"x"} << QList<unsigned>{12} << "x12";
}

void TestReelDcp::retrySignature()
{
    QFETCH(QStringList, uuids);
    QFETCH(QList<unsigned>, attempts);
    QFETCH(QString, signature);
    DCP dcp("d", "T", "", "/tmp");
    Reel reel("r", 1);
    QList<Asset*> owned;
    for (int i = 0; i < uuids.size(); ++i) {
        auto* asset = new Asset(uuids[i], "", 1, "t", "." + uuids[i], "");
        asset->setDCP(&dcp);
        asset->setDownloadAttempts(attempts[i]);
        reel.addAsset(asset);
        owned.append(asset);
    }
    QCOMPARE(reel.getAssetsRetryHash(), signature);
    qDeleteAll(owned);
}

void TestReelDcp::reelSizesFromDisk()
{
    QTemporaryDir dir;
    DCP* dcp = TestSandbox::newDCP("d", "Film", dir.path());
    Reel* reel = TestSandbox::addReel(dcp, "r", 1);
    Asset* a1 = TestSandbox::addAssetOfSize(reel, "a1", 1000);
    TestSandbox::addAssetOfSize(reel, "a2", 24);
    QVERIFY(writeFile(a1->getFullPath(), QByteArray(300, 'x')));
    QCOMPARE(reel->getTotalSize(), 1024ull);
    QCOMPARE(reel->getDownloadedSize(), 300ull); // the missing file counts as 0
}

void TestReelDcp::reelSyncedFollowsJournal()
{
    TestSandbox sandbox;
    Reel reel("r1", 1);
    QVERIFY(reel.isSynced());
    QSqlQuery q(DatabaseManager::getInstance()->db);
    QVERIFY(q.exec("INSERT INTO notification (user_uuid, campaign_dcp_id, reel_uuid, reel_assets_hash, "
                   "reel_number, event, synced) VALUES ('u', 1, 'r1', '1-', 1, 1, 0)"));
    QVERIFY(!reel.isSynced());
    QVERIFY(q.exec("UPDATE notification SET synced = 1"));
    QVERIFY(reel.isSynced());
}

void TestReelDcp::dcpPathAndAssetLookup()
{
    DCP dcp("d1", "Film", "", "/media/usb/");
    QCOMPARE(dcp.getDCPPath(), QString("/media/usb//Film"));
    QCOMPARE(dcp.property("id").toString(), QString("d1"));

    DCP other("d2", "Other", "", "/x");
    Asset mine("a", "", 1, "t", ".a", "");
    mine.setDCP(&dcp);
    dcp.addAsset(&mine);
    QCOMPARE(dcp.getAsset("a"), &mine);
    QCOMPARE(other.getAsset("a"), static_cast<Asset*>(nullptr));
}

void TestReelDcp::addReelSignalsInOrder()
{
    DCP dcp("d1", "Film", "", "/x");
    Reel reel("r1", 1);
    QStringList order;
    bool finishedSeenOnSecond = false;
    connect(&dcp, &DCP::reelsChanged, this, [&] { order << "reels"; });
    connect(&dcp, &DCP::finishedChanged, this, [&] {
        order << "finished";
        finishedSeenOnSecond = dcp.getReelsQML().size() == 1;
    });
    dcp.addReel(&reel);
    QCOMPARE(order, QStringList({"reels", "finished"}));
    QVERIFY(finishedSeenOnSecond);
    QCOMPARE(dcp.getReel("r1"), &reel);
    QCOMPARE(dcp.property("reels").value<QList<QObject*>>(), QList<QObject*>{&reel});
}

void TestReelDcp::downloadedSizeUI_data()
{
    QTest::addColumn<Flags>("state");
    QTest::addColumn<bool>("countsAsFull");
    QTest::newRow("corrupted, short file") << Flags{false, true, true, 2} << true;
    QTest::newRow("verified") << Flags{false, true, false, 0} << true;
    QTest::newRow("downloaded") << Flags{true, false, false, 0} << true;
    QTest::newRow("downloading") << Flags{false, false, false, 0} << false;
}

void TestReelDcp::downloadedSizeUI()
{
    QFETCH(Flags, state);
    QFETCH(bool, countsAsFull);
    QTemporaryDir dir;
    DCP* dcp = TestSandbox::newDCP("d", "Film", dir.path());
    Asset* a = TestSandbox::addAssetOfSize(TestSandbox::addReel(dcp, "r1", 1), "a1", 1000);
    Asset* b = TestSandbox::addAssetOfSize(TestSandbox::addReel(dcp, "r2", 2), "b1", 500);
    apply(a, state);
    QVERIFY(writeFile(a->getFullPath(), QByteArray(100, 'x')));
    QVERIFY(writeFile(b->getFullPath(), QByteArray(50, 'x')));

    QCOMPARE(dcp->getTotalSize(), 1500ull);
    QCOMPARE(dcp->getDownloadedSize(), 150ull);
    QCOMPARE(dcp->getDownloadedSizeUI(), (countsAsFull ? 1000ull : 100ull) + 50ull);
}

void TestReelDcp::dcpStatesFollowReels()
{
    DCP* dcp = TestSandbox::newDCP("d", "Film", "/nowhere");
    Asset* a = TestSandbox::addAssetOfSize(TestSandbox::addReel(dcp, "r1", 1), "a1", 1);
    Asset* b = TestSandbox::addAssetOfSize(TestSandbox::addReel(dcp, "r2", 2), "b1", 1);
    a->setDownloadFinished(true);
    QVERIFY(!dcp->isFinished());
    QVERIFY(!dcp->isDownloaded());
    apply(b, Flags{false, true, true, 2});
    QVERIFY(dcp->isFinished());
    QVERIFY(!dcp->isDownloaded());
    b->setDownloadFinished(true);
    QVERIFY(dcp->isDownloaded());
}

void TestReelDcp::syncStoresEverythingOnce()
{
    TestSandbox sandbox;
    DCP* dcp = TestSandbox::newDCP("d1", "Film", sandbox.downloads());
    dcp->setFriendlyTitle("The Film");
    dcp->setUserUUID("user-1");
    dcp->setCampaignDCPId(9000000000ull);
    Reel* r1 = TestSandbox::addReel(dcp, "r1", 1);
    Reel* r2 = TestSandbox::addReel(dcp, "r2", 2);
    Asset* shared = TestSandbox::addAssetOfSize(r1, "a1", 10);
    shared->addReel(r2);
    r2->addAsset(shared);
    TestSandbox::addAssetOfSize(r2, "a2", 20);

    dcp->syncToDatabase();
    QVERIFY(dcp->getDbId() > 0);
    QVERIFY(r1->getDbId() > 0 && r2->getDbId() > r1->getDbId());
    QCOMPARE(TestSandbox::scalar("SELECT COUNT(*) FROM dcp WHERE friendly_title = 'The Film' AND "
                                 "campaign_dcp_id = 9000000000"),
             1);
    QCOMPARE(TestSandbox::scalar("SELECT COUNT(*) FROM reel WHERE dcp_uuid = 'd1'"), 2);
    // The shared asset is stored once, when the first reel reaches it, with a link per reel.
    QCOMPARE(TestSandbox::scalar("SELECT COUNT(*) FROM asset"), 2);
    QCOMPARE(TestSandbox::scalar("SELECT COUNT(*) FROM dcp_reel_asset"), 3);
    QCOMPARE(DCPManager::getInstance()->getAsset("a2", "d1"), dcp->getAsset("a2"));
}

void TestReelDcp::failedSyncLeavesNothingBehind()
{
    TestSandbox sandbox;
    DCP* first = TestSandbox::newDCP("d1", "Film", sandbox.downloads());
    TestSandbox::addAssetOfSize(TestSandbox::addReel(first, "r1", 1), "a1", 10);
    first->syncToDatabase();

    // A reel uuid that is already stored fails half-way through the second DCP.
    DCP* second = TestSandbox::newDCP("d2", "Other", sandbox.downloads());
    TestSandbox::addAssetOfSize(TestSandbox::addReel(second, "r2", 1), "a2", 10);
    TestSandbox::addAssetOfSize(TestSandbox::addReel(second, "r1", 2), "a3", 10);
    QVERIFY_EXCEPTION_THROWN(second->syncToDatabase(), std::runtime_error);

    QCOMPARE(TestSandbox::scalar("SELECT COUNT(*) FROM dcp WHERE uuid = 'd2'"), 0);
    QCOMPARE(TestSandbox::scalar("SELECT COUNT(*) FROM reel WHERE uuid = 'r2'"), 0);
    QCOMPARE(TestSandbox::scalar("SELECT COUNT(*) FROM asset WHERE dcp_uuid = 'd2'"), 0);

    // The connection is usable afterwards: a later write survives a restart.
    DCP* third = TestSandbox::newDCP("d3", "Third", sandbox.downloads());
    TestSandbox::addAssetOfSize(TestSandbox::addReel(third, "r3", 1), "a4", 10);
    third->syncToDatabase();
    sandbox.restart();
    QCOMPARE(TestSandbox::scalar("SELECT COUNT(*) FROM dcp"), 2);
}

void TestReelDcp::removeReelDropsRowsAndEntries()
{
    TestSandbox sandbox;
    DCP* dcp = TestSandbox::newDCP("d1", "Film", sandbox.downloads());
    Reel* r1 = TestSandbox::addReel(dcp, "r1", 1);
    Reel* r2 = TestSandbox::addReel(dcp, "r2", 2);
    Asset* shared = TestSandbox::addAssetOfSize(r1, "a1", 10);
    shared->addReel(r2);
    r2->addAsset(shared);
    Asset* own = TestSandbox::addAssetOfSize(r2, "a2", 20);
    dcp->syncToDatabase();

    QSignalSpy reels(dcp, &DCP::reelsChanged);
    dcp->removeReel(r1);
    QCOMPARE(reels.count(), 0); // the caller signals
    QCOMPARE(dcp->getReels(), QList<Reel*>{r2});
    QCOMPARE(dcp->getReel("r1"), static_cast<Reel*>(nullptr));
    // Gone from the DCP although the other reel still lists it.
    QCOMPARE(dcp->getAsset("a1"), static_cast<Asset*>(nullptr));
    QCOMPARE(dcp->getAssets(), QList<Asset*>{own});
    QCOMPARE(r1->getAssets(), QList<Asset*>{shared}); // objects untouched

    QCOMPARE(TestSandbox::scalar("SELECT COUNT(*) FROM reel WHERE uuid = 'r1'"), 0);
    QCOMPARE(TestSandbox::scalar("SELECT COUNT(*) FROM dcp_reel_asset WHERE reel_uuid = 'r1'"), 0);
    QCOMPARE(TestSandbox::scalar("SELECT COUNT(*) FROM asset WHERE uuid = 'a1'"), 0);
    QCOMPARE(TestSandbox::scalar("SELECT COUNT(*) FROM asset WHERE uuid = 'a2'"), 1);
}

void TestReelDcp::failedRemoveReelRollsBack()
{
    TestSandbox sandbox;
    DCP* dcp = TestSandbox::newDCP("d1", "Film", sandbox.downloads());
    Reel* r1 = TestSandbox::addReel(dcp, "r1", 1);
    TestSandbox::addAssetOfSize(r1, "a1", 10);
    dcp->syncToDatabase();

    // The reel row goes first; the asset delete then fails.
    QSqlQuery q(DatabaseManager::getInstance()->db);
    QVERIFY(q.exec("ALTER TABLE asset RENAME TO asset_gone"));
    QVERIFY_EXCEPTION_THROWN(dcp->removeReel(r1), std::runtime_error);
    QVERIFY(q.exec("ALTER TABLE asset_gone RENAME TO asset"));

    QCOMPARE(TestSandbox::scalar("SELECT COUNT(*) FROM reel WHERE uuid = 'r1'"), 1);
    QCOMPARE(TestSandbox::scalar("SELECT COUNT(*) FROM dcp_reel_asset WHERE reel_uuid = 'r1'"), 1);
    QCOMPARE(dcp->getReels(), QList<Reel*>{r1});
    QVERIFY(dcp->getAsset("a1"));

    dcp->removeReel(r1); // and it works once the store is healthy again
    QCOMPARE(TestSandbox::scalar("SELECT COUNT(*) FROM reel"), 0);
}

QTEST_GUILESS_MAIN(TestReelDcp)
#include "tst_reel_dcp.moc"
