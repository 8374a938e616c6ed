#include "TestSandbox.h"
#include "model/Asset.h"
#include "model/DCP.h"
#include "model/DCPManager.h"
#include "model/Reel.h"

#include <QDir>
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
    void states_data();
    void states();
    void retrySignature_data();
    void retrySignature();
    void retrySignatureFollowsEveryChangeAfterItWasAsked();
    void addReelSignalsInOrder();
    void sizes_data();
    void sizes();

    void syncStoresAllOrNothing();
    void removeReelRollsBackThenDropsRowsAndEntries();
};

void TestReelDcp::emptyReelAndDcp()
{
    DCP dcp("d", "T", "", "/tmp", nullptr);
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
    DCP d1("d1", "T", "", "/tmp", nullptr);
    DCP d2("d2", "T", "", "/tmp", nullptr);
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

void TestReelDcp::states_data()
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

void TestReelDcp::states()
{
    QFETCH(Flags, first);
    QFETCH(Flags, second);
    // The two assets in one reel, and each in a reel of its own under one DCP: the DCP's
    // states are those of its reels taken together.
    TestSandbox sandbox;
    DCP* dcp = sandbox.newDCP("d", "Film", "/nowhere");
    Asset* a1 = TestSandbox::addAssetOfSize(TestSandbox::addReel(dcp, "r1", 1), "a1", 1);
    Asset* a2 = TestSandbox::addAssetOfSize(TestSandbox::addReel(dcp, "r2", 2), "a2", 1);
    apply(a1, first);
    apply(a2, second);
    Reel reel("r", 1);
    reel.addAsset(a1);
    reel.addAsset(a2);

    QTEST(reel.isDownloaded(), "downloaded");
    QTEST(reel.isChecksummed(), "checksummed");
    QTEST(reel.isCorrupted(), "corrupted");
    QTEST(reel.isFinished(), "finished");
    QTEST(dcp->isDownloaded(), "downloaded");
    QTEST(dcp->isFinished(), "finished");
    QTEST(dcp->property("finished").toBool(), "finished");
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
    TestSandbox sandbox;
    DCP* dcp = sandbox.newDCP("d", "Film", "/nowhere");
    Reel* reel = TestSandbox::addReel(dcp, "r", 1);
    for (int i = 0; i < uuids.size(); ++i) {
        TestSandbox::addAssetOfSize(reel, uuids[i], 1)->setDownloadAttempts(attempts[i]);
    }
    QTEST(reel->getAssetsRetryHash(), "signature");
}

void TestReelDcp::retrySignatureFollowsEveryChangeAfterItWasAsked()
{
    DCP dcp("d", "Film", "", "/nowhere", nullptr);
    Asset a("a", "", 1, "t", ".a", "");
    Asset b("b", "", 1, "t", ".b", "");
    Asset c("c", "", 1, "t", ".c", "");
    for (Asset* asset : {&a, &b, &c}) {
        asset->setDCP(&dcp);
    }
    Reel reel("r", 1);
    reel.addAsset(&a);
    QCOMPARE(reel.getAssetsRetryHash(), QString("a0"));
    a.setDownloadAttempts(3);
    QCOMPARE(reel.getAssetsRetryHash(), QString("a3"));
    reel.addAsset(&b);
    QCOMPARE(reel.getAssetsRetryHash(), QString("a3b0"));
    QVERIFY(reel.replaceAsset(&b, &c));
    QCOMPARE(reel.getAssetsRetryHash(), QString("a3c0"));
    QVERIFY(reel.removeAsset(&a));
    QCOMPARE(reel.getAssetsRetryHash(), QString("c0"));
    // Asked twice with nothing changed: the same answer.
    QCOMPARE(reel.getAssetsRetryHash(), QString("c0"));
}

void TestReelDcp::addReelSignalsInOrder()
{
    DCP dcp("d1", "Film", "", "/x", nullptr);
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

void TestReelDcp::sizes_data()
{
    QTest::addColumn<Flags>("state");
    QTest::addColumn<bool>("countsAsFull");
    QTest::newRow("corrupted, short file") << Flags{false, true, true, 2} << true;
    QTest::newRow("verified") << Flags{false, true, false, 0} << true;
    QTest::newRow("downloaded") << Flags{true, false, false, 0} << true;
    QTest::newRow("downloading") << Flags{false, false, false, 0} << false;
}

void TestReelDcp::sizes()
{
    QFETCH(Flags, state);
    QFETCH(bool, countsAsFull);
    TestSandbox sandbox;
    QTemporaryDir dir;
    DCP* dcp = sandbox.newDCP("d", "Film", dir.path());
    Reel* r1 = TestSandbox::addReel(dcp, "r1", 1);
    Reel* r2 = TestSandbox::addReel(dcp, "r2", 2);
    Asset* a = TestSandbox::addAssetOfSize(r1, "a1", 1000);
    Asset* b = TestSandbox::addAssetOfSize(r2, "b1", 500);
    TestSandbox::addAssetOfSize(r2, "b2", 24); // no file yet: counts as 0 bytes
    apply(a, state);
    QVERIFY(writeFile(a->getFullPath(), QByteArray(100, 'x')));
    QVERIFY(writeFile(b->getFullPath(), QByteArray(50, 'x')));

    QCOMPARE(r2->getTotalSize(), 524ull);
    QCOMPARE(r2->getDownloadedSize(), 50ull);
    QCOMPARE(dcp->getTotalSize(), 1524ull);
    QCOMPARE(dcp->getDownloadedSize(), 150ull);
    QCOMPARE(dcp->getDownloadedSizeUI(), (countsAsFull ? 1000ull : 100ull) + 50ull);
}

void TestReelDcp::syncStoresAllOrNothing()
{
    TestSandbox sandbox;
    DCP* dcp = sandbox.makeDCP("d1", "Film");
    dcp->setFriendlyTitle("The Film");
    dcp->setCampaignDCPId(9000000000ull);
    Reel* r1 = TestSandbox::addReel(dcp, "r1", 1);
    Reel* r2 = TestSandbox::addReel(dcp, "r2", 2);
    TestSandbox::share(TestSandbox::addAssetOfSize(r1, "a1", 10), r2);
    TestSandbox::addAssetOfSize(r2, "a2", 20);

    dcp->syncToDatabase(sandbox.catalogue());
    QVERIFY(dcp->getDbId() > 0);
    QVERIFY(r1->getDbId() > 0 && r2->getDbId() > r1->getDbId());
    QCOMPARE(TestSandbox::rowCount("dcp", "friendly_title = 'The Film' AND campaign_dcp_id = 9000000000"), 1);
    QCOMPARE(TestSandbox::rowCount("reel", "dcp_uuid = 'd1'"), 2);
    // The shared asset is stored once, when the first reel reaches it, with a link per reel.
    QCOMPARE(TestSandbox::rowCount("asset"), 2);
    QCOMPARE(TestSandbox::rowCount("dcp_reel_asset"), 3);
    QCOMPARE(sandbox.catalogue()->getAsset("a2", "d1"), dcp->getAsset("a2"));

    // A reel uuid that is already stored fails half-way through the second DCP.
    DCP* second = sandbox.makeDCP("d2", "Other");
    TestSandbox::addAssetOfSize(TestSandbox::addReel(second, "r3", 1), "a3", 10);
    TestSandbox::addAssetOfSize(TestSandbox::addReel(second, "r1", 2), "a4", 10);
    QVERIFY_EXCEPTION_THROWN(second->syncToDatabase(sandbox.catalogue()), std::runtime_error);
    QCOMPARE(TestSandbox::rowCount("dcp", "uuid = 'd2'"), 0);
    QCOMPARE(TestSandbox::rowCount("reel", "uuid = 'r3'"), 0);
    QCOMPARE(TestSandbox::rowCount("asset", "dcp_uuid = 'd2'"), 0);

    // The connection is usable afterwards: a later write survives a restart.
    DCP* third = sandbox.makeDCP("d3", "Third");
    TestSandbox::addAssetOfSize(TestSandbox::addReel(third, "r4", 1), "a5", 10);
    third->syncToDatabase(sandbox.catalogue());
    sandbox.restart();
    QCOMPARE(TestSandbox::rowCount("dcp"), 2);
}

void TestReelDcp::removeReelRollsBackThenDropsRowsAndEntries()
{
    TestSandbox sandbox;
    DCP* dcp = sandbox.makeDCP("d1", "Film");
    Reel* r1 = TestSandbox::addReel(dcp, "r1", 1);
    Reel* r2 = TestSandbox::addReel(dcp, "r2", 2);
    Asset* shared = TestSandbox::addAssetOfSize(r1, "a1", 10);
    TestSandbox::share(shared, r2);
    Asset* own = TestSandbox::addAssetOfSize(r2, "a2", 20);
    Asset* ownOfR1 = TestSandbox::addAssetOfSize(r1, "a0", 5);
    dcp->syncToDatabase(sandbox.catalogue());

    // The reel row goes first; the asset delete then fails: nothing of it may be lost.
    QVERIFY(TestSandbox::exec("ALTER TABLE asset RENAME TO asset_gone"));
    QVERIFY_EXCEPTION_THROWN(dcp->removeReel(r1), std::runtime_error);
    QVERIFY(TestSandbox::exec("ALTER TABLE asset_gone RENAME TO asset"));
    QCOMPARE(TestSandbox::rowCount("reel"), 2);
    QCOMPARE(TestSandbox::rowCount("dcp_reel_asset"), 4);
    QCOMPARE(dcp->getReels(), (QList<Reel*>{r1, r2}));
    QCOMPARE(dcp->getAsset("a1"), shared);

    // Once the store is healthy again it goes through.
    QSignalSpy reels(dcp, &DCP::reelsChanged);
    dcp->removeReel(r1);
    QCOMPARE(reels.count(), 0); // the engine has it told, after the queue moved on
    QCOMPARE(dcp->getReels(), QList<Reel*>{r2});
    QCOMPARE(dcp->getReel("r1"), static_cast<Reel*>(nullptr));
    // The file r2 still lists stays in the DCP and in the store.
    QCOMPARE(dcp->getAsset("a1"), shared);
    QCOMPARE(dcp->getAssets(), (QList<Asset*>{shared, own}));
    QCOMPARE(r1->getAssets(), (QList<Asset*>{shared, ownOfR1})); // objects untouched

    QCOMPARE(TestSandbox::rowCount("reel", "uuid = 'r1'"), 0);
    // Only the removed reel's links go; the other reel keeps both of its links.
    QCOMPARE(TestSandbox::rowCount("dcp_reel_asset", "reel_uuid = 'r1'"), 0);
    QCOMPARE(TestSandbox::rowCount("dcp_reel_asset", "reel_uuid = 'r2'"), 2);
    QCOMPARE(TestSandbox::rowCount("asset", "uuid = 'a1'"), 1);
    QCOMPARE(TestSandbox::rowCount("asset", "uuid = 'a2'"), 1);
    QCOMPARE(TestSandbox::rowCount("asset", "uuid = 'a0'"), 0);

    // And the next start loads r2 with both of its files.
    QVERIFY(QDir().mkpath(dcp->getDCPPath()));
    sandbox.restart();
    Reel* loaded = sandbox.catalogue()->getReel("r2");
    QVERIFY(loaded);
    QCOMPARE(loaded->getAssets().size(), 2);
}

QTEST_GUILESS_MAIN(TestReelDcp)
#include "tst_reel_dcp.moc"
