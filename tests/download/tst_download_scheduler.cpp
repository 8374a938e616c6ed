// The download queue: its order and index, moving a DCP to the front, pause and resume,
// the disk check, removals, validation at start, and store failures reaching the user.

#include "ScriptedPrompts.h"
#include "TestSandbox.h"
#include "core/UserPrompt.h"
#include "download/ChecksumWorker.h"
#include "download/DownloadManager.h"
#include "model/Asset.h"
#include "model/DCP.h"
#include "model/DCPManager.h"
#include "model/Reel.h"
#include "storage/Setting.h"

#include <QDir>
#include <QFileInfo>
#include <QSignalSpy>
#include <QtTest>

namespace {

void startPaused()
{
    Setting::getInstance()->set(QStringLiteral("download_paused"), QStringLiteral("1"));
    Setting::getInstance()->save();
}

QString storedPaused()
{
    return Setting::getInstance()->get(QStringLiteral("download_paused"));
}

bool renameTable(const QString& from, const QString& to)
{
    return TestSandbox::exec(QStringLiteral("ALTER TABLE %1 RENAME TO %2").arg(from, to));
}

// The engine starts no new request within ms: every request begins with currentDcpChanged.
bool staysIdle(DownloadManager* engine, int ms)
{
    QSignalSpy restarts(engine, &DownloadManager::currentDcpChanged);
    return !restarts.wait(ms);
}

} // namespace

class TestDownloadScheduler : public QObject
{
    Q_OBJECT

private slots:
    void queueOrderFrontAndIdle();
    void restartAndPauseResumeFromTheFile();
    void dcpsNotStartedAreReadWhenTheirTurnComes();
    void diskCheck_data();
    void diskCheck();
    void removals();
    void unverifiedReelIsValidatedOnceAtStart();
    void storeFailuresDoNotEscape();
};

// Queue and index while paused, a DCP moved to the front, a rebuild during its transfer,
// the whole queue fetched in order, then the idle engine's answers to pause and start.
void TestDownloadScheduler::queueOrderFrontAndIdle()
{
    TestSandbox box(TestSandbox::WithServer);
    ScriptedPrompts prompts;
    startPaused();
    // dcp-1: x shared by both of its reels, then y. dcp-2: another object with x's uuid, then b.
    DCP* first = box.makeDCP(QStringLiteral("dcp-1"), QStringLiteral("First"));
    Reel* r1 = box.addReel(first, QStringLiteral("reel-1"), 1);
    Reel* r2 = box.addReel(first, QStringLiteral("reel-2"), 2);
    Asset* x = box.addAsset(r1, QStringLiteral("x"), QStringLiteral("x.mxf"), patternBytes(1000, 1));
    TestSandbox::share(x, r2);
    Asset* y = box.addAsset(r2, QStringLiteral("y"), QStringLiteral("y.mxf"), patternBytes(1000, 2));
    DCP* second = box.makeDCP(QStringLiteral("dcp-2"), QStringLiteral("Second"));
    Reel* r3 = box.addReel(second, QStringLiteral("reel-3"), 1);
    Asset* sameUuid = box.addAsset(r3, QStringLiteral("x"), QStringLiteral("x2.mxf"), patternBytes(1000, 3));
    Asset* b = box.addAsset(r3, QStringLiteral("b"), QStringLiteral("b.mxf"), patternBytes(400000, 4));
    StandInServer::AssetFault slow;
    slow.throttleBytesPerSecond = 400000;
    box.server.setAssetFault(QStringLiteral("b.mxf"), slow);
    box.publish(first);
    box.publish(second);

    DownloadManager* engine = box.engine();
    QCOMPARE(engine->getDownloadQueue(), QList<Asset*>() << x << y << sameUuid << b);
    QCOMPARE(engine->getDownloadItem(sameUuid), sameUuid);
    QCOMPARE(engine->getDownloadItem(x), x);
    QCOMPARE(engine->getCurrentAsset(), nullptr);
    QVERIFY(box.server.journal().isEmpty());

    QSignalSpy pausedChanged(engine, &DownloadManager::pausedChanged);
    QSignalSpy currentDcp(engine, &DownloadManager::currentDcpChanged);
    QVERIFY(QMetaObject::invokeMethod(engine, "startDownloading", Q_ARG(DCP*, second)));
    QVERIFY(!engine->isPaused());
    QCOMPARE(storedPaused(), QStringLiteral("0"));
    QCOMPARE(pausedChanged.count(), 1);
    QCOMPARE(currentDcp.count(), 1);
    QCOMPARE(engine->property("current_dcp").value<DCP*>(), second);
    QCOMPARE(engine->getDownloadQueue(), QList<Asset*>() << sameUuid << b << x << y);

    // A rebuild while b is received keeps the running transfer at the head.
    QTRY_VERIFY_WITH_TIMEOUT(engine->getCurrentAsset() == b && QFileInfo(b->getFullPath()).size() > 0, 5000);
    QNetworkReply* reply = engine->getCurrentReply();
    engine->assetsChanged();
    QCOMPARE(engine->getDownloadQueue(), QList<Asset*>() << b << x << y);
    QCOMPARE(engine->getCurrentReply(), reply);

    QSignalSpy standBy(engine, &DownloadManager::downloadStandBy);
    QTRY_VERIFY_WITH_TIMEOUT(y->getDownloadChecksummed() && b->getDownloadChecksummed(), 10000);
    QCOMPARE(standBy.count(), 1);
    QStringList order;
    for (const auto& entry : box.server.journal())
        if (entry.path.startsWith(QStringLiteral("/assets/")))
            order << entry.path.mid(8);
    QCOMPARE(order, QStringList() << QStringLiteral("x2.mxf") << QStringLiteral("b.mxf")
                                  << QStringLiteral("x.mxf") << QStringLiteral("y.mxf"));

    // Idle, a pause request changes nothing.
    pausedChanged.clear();
    QSignalSpy downloadPaused(engine, &DownloadManager::downloadPaused);
    QVERIFY(QMetaObject::invokeMethod(engine, "pauseDownloading"));
    QVERIFY(!engine->isPaused());
    QCOMPARE(storedPaused(), QStringLiteral("0"));
    QCOMPARE(pausedChanged.count(), 0);
    QCOMPARE(downloadPaused.count(), 0);
    // Paused, starting a DCP with nothing left does not resume.
    engine->pauseDownloading(true);
    engine->startDownloading(first);
    QVERIFY(engine->isPaused());
    QCOMPARE(storedPaused(), QStringLiteral("1"));
    QCOMPARE(engine->getCurrentReply(), nullptr);
    QCOMPARE(prompts.count(), 0);
}

// A start lists DCPs not started yet without their reels: the queue holds the first DCP with
// work, a DCP moved to the front goes first, and each DCP waiting is read once the queue
// ahead of it runs dry, in the catalogue's order.
void TestDownloadScheduler::dcpsNotStartedAreReadWhenTheirTurnComes()
{
    TestSandbox box(TestSandbox::WithServer);
    ScriptedPrompts prompts;
    startPaused();
    for (int i = 1; i <= 3; ++i) {
        DCP* dcp = box.makeDCP(QStringLiteral("dcp-%1").arg(i), QStringLiteral("Film %1").arg(i));
        box.addAsset(box.addReel(dcp, QStringLiteral("reel-%1").arg(i), 1), QStringLiteral("a%1").arg(i),
                     QStringLiteral("a%1.mxf").arg(i), patternBytes(1000, i));
        box.store(dcp);
    }
    box.restart();
    DCPManager* catalogue = box.catalogue();
    DownloadManager* engine = box.engine();
    QStringList queued;
    for (const Asset* asset : engine->getDownloadQueue())
        queued << asset->getUuid();
    QCOMPARE(queued, QStringList{"a3"}); // newest first
    QVERIFY(!catalogue->getDCP("dcp-2")->reelsLoaded() && !catalogue->getDCP("dcp-1")->reelsLoaded());

    QSignalSpy standBy(engine, &DownloadManager::downloadStandBy);
    engine->startDownloading(catalogue->getDCP("dcp-1"));
    QTRY_VERIFY_WITH_TIMEOUT(standBy.count() == 1, 10000);
    QStringList order;
    for (const auto& entry : box.server.journal())
        if (entry.path.startsWith(QStringLiteral("/assets/")))
            order << entry.path.mid(8);
    QCOMPARE(order, (QStringList{"a1.mxf", "a3.mxf", "a2.mxf"}));
    for (const DCP* dcp : catalogue->getDCPs())
        QTRY_VERIFY(dcp->getAssets().at(0)->getDownloadChecksummed());
    QCOMPARE(prompts.count(), 0);
}

// The program ends mid-body and goes on from the file at the next start; then a pause holds
// across another restart, and the resume goes on from the file again.
void TestDownloadScheduler::restartAndPauseResumeFromTheFile()
{
    TestSandbox box(TestSandbox::WithServer);
    ScriptedPrompts prompts;
    const QByteArray content = patternBytes(800000, 4);
    StandInServer::AssetFault slow;
    slow.throttleBytesPerSecond = 400000;
    box.server.setAssetFault(QStringLiteral("a.mxf"), slow);
    DCP* dcp = box.makeDCP(QStringLiteral("dcp-1"), QStringLiteral("Film"));
    Asset* asset = box.addAsset(box.addReel(dcp, QStringLiteral("reel-1"), 1), QStringLiteral("a"),
                                QStringLiteral("a.mxf"), content);
    box.publish(dcp);
    DownloadManager* engine = box.engine();
    QVERIFY(engine->getCurrentReply());
    const QNetworkRequest request = engine->getCurrentReply()->request();
    QCOMPARE(request.attribute(QNetworkRequest::Http2AllowedAttribute).toBool(), false);
    QCOMPARE(request.attribute(QNetworkRequest::RedirectPolicyAttribute).toInt(),
             int(QNetworkRequest::ManualRedirectPolicy));
    QCOMPARE(engine->getCurrentDownloadingDCP(), dcp);
    const QString path = asset->getFullPath();
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(path).size() > 100000, 5000);

    box.restart(); // the old engine dies mid-body; the new one loads from the store
    const qint64 restartedAt = QFileInfo(path).size();
    engine = box.engine();
    asset = box.catalogue()->getAsset(QStringLiteral("a"), QStringLiteral("dcp-1"));
    QVERIFY(asset->getDownloadStarted());
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(path).size() > restartedAt + 50000, 5000);

    Reel* reel = asset->getReels().first();
    QSignalSpy reelPaused(reel, &Reel::downloadPaused);
    QSignalSpy enginePaused(engine, &DownloadManager::downloadPaused);
    engine->pauseDownloading();
    QVERIFY(engine->isPaused());
    QCOMPARE(reelPaused.count(), 1);
    QCOMPARE(enginePaused.count(), 1);
    QCOMPARE(engine->getCurrentAsset(), asset);
    QCOMPARE(engine->getCurrentReply(), nullptr);
    const qint64 pausedAt = QFileInfo(path).size();
    QVERIFY(staysIdle(engine, box.stallMs * 2)); // no stall retry while paused
    QCOMPARE(QFileInfo(path).size(), pausedAt);

    box.restart();
    engine = box.engine();
    QVERIFY(engine->isPaused());
    QCOMPARE(engine->getCurrentReply(), nullptr);
    box.server.clearAllAssetFaults();
    engine->resumeDownloading();
    QVERIFY(!engine->isPaused());
    QCOMPARE(storedPaused(), QStringLiteral("0"));
    asset = box.catalogue()->getAsset(QStringLiteral("a"), QStringLiteral("dcp-1"));
    QTRY_VERIFY_WITH_TIMEOUT(asset->getDownloadChecksummed(), 5000);
    QCOMPARE(box.rangesFor(QStringLiteral("a.mxf")),
             QStringList() << QStringLiteral("bytes=0-") << QStringLiteral("bytes=%1-").arg(restartedAt)
                           << QStringLiteral("bytes=%1-").arg(pausedAt));
    QCOMPARE(readFile(path), content);
    QCOMPARE(prompts.count(), 0);
}

void TestDownloadScheduler::diskCheck_data()
{
    QTest::addColumn<int>("have");
    QTest::addColumn<qint64>("free"); // -1: the real free-space lookup
    QTest::addColumn<bool>("folderThere");
    QTest::addColumn<QString>("box");
    QTest::newRow("free equals the size")
        << 0 << qint64(5000) << true << QStringLiteral("Not enough disk space");
    QTest::newRow("one byte more") << 0 << qint64(5001) << true << QString();
    QTest::newRow("nearly complete, room for the rest") << 4000 << qint64(1001) << true << QString();
    QTest::newRow("nearly complete, no room for the rest")
        << 4000 << qint64(1000) << true << QStringLiteral("Not enough disk space");
    QTest::newRow("folder missing") << 0 << qint64(-1) << false
                                    << QStringLiteral("Unable to write the download");
}

void TestDownloadScheduler::diskCheck()
{
    QFETCH(int, have);
    QFETCH(qint64, free);
    QFETCH(bool, folderThere);
    QFETCH(QString, box);
    TestSandbox sandbox(TestSandbox::WithServer);
    ScriptedPrompts prompts;
    DCP* dcp = sandbox.makeDCP(QStringLiteral("dcp-1"), QStringLiteral("Film"));
    const QByteArray content = patternBytes(5000);
    Asset* asset = sandbox.addAsset(sandbox.addReel(dcp, QStringLiteral("reel-1"), 1), QStringLiteral("a"),
                                    QStringLiteral("a.mxf"), content);
    DownloadManager* engine = sandbox.engine();
    QString asked;
    if (free >= 0) {
        engine->setFreeSpaceProbe([&](const QString& path) {
            asked = path;
            return free;
        });
    }
    sandbox.store(dcp);
    QVERIFY(writeFile(asset->getFullPath(), content.left(have)));
    if (!folderThere)
        QVERIFY(QDir(dcp->getDCPPath()).removeRecursively());
    engine->assetsChanged();

    const bool starts = box.isEmpty();
    if (free >= 0)
        QCOMPARE(asked, dcp->getDCPPath());
    QCOMPARE(engine->getCurrentReply() != nullptr, starts);
    QCOMPARE(engine->isPaused(), !starts);
    if (starts) {
        QTRY_VERIFY_WITH_TIMEOUT(asset->getDownloadChecksummed(), 5000);
        QCOMPARE(prompts.count(), 0);
        return;
    }
    QCOMPARE(prompts.count(), 1);
    QCOMPARE(prompts.last().icon, Prompt::Critical);
    QCOMPARE(prompts.last().text, box);
    if (folderThere) {
        QCOMPARE(
            prompts.last().informativeText,
            QStringLiteral("You have ran out of disk space so we paused your download.\r\n\r\nPlease free up "
                           "some space and hit the resume button once you're ready."));
    } else {
        QVERIFY(prompts.last().informativeText.contains(dcp->getDCPPath()));
        QVERIFY(!QFileInfo::exists(dcp->getDCPPath()));
    }
}

// Removals while a transfer runs: a DCP other than the downloading one, the reels of another
// (their files deleted, but for one still listed by a remaining reel), the downloading DCP
// (its unverified file stays hidden), then a verified one not yet acknowledged.
void TestDownloadScheduler::removals()
{
    TestSandbox box(TestSandbox::WithServer);
    ScriptedPrompts prompts;
    box.notifications(3600 * 1000); // nothing is acknowledged
    StandInServer::AssetFault slow;
    slow.throttleBytesPerSecond = 200000;
    box.server.setAssetFault(QStringLiteral("a.mxf"), slow);
    DCP* first = box.makeDCP(QStringLiteral("dcp-1"), QStringLiteral("First"));
    Asset* a = box.addAsset(box.addReel(first, QStringLiteral("reel-1"), 1), QStringLiteral("a"),
                            QStringLiteral("a.mxf"), patternBytes(1000000, 1));
    DCP* second = box.makeDCP(QStringLiteral("dcp-2"), QStringLiteral("Second"));
    // The same asset uuid as the running transfer: only the object decides what is current.
    box.addAsset(box.addReel(second, QStringLiteral("reel-2"), 1), QStringLiteral("a"),
                 QStringLiteral("c.mxf"), patternBytes(1000, 2));
    DCP* third = box.makeDCP(QStringLiteral("dcp-3"), QStringLiteral("Third"));
    Reel* r3 = box.addReel(third, QStringLiteral("reel-3"), 1);
    Reel* r4 = box.addReel(third, QStringLiteral("reel-4"), 2);
    Asset* own = box.addAsset(r3, QStringLiteral("own"), QStringLiteral("own.mxf"), patternBytes(1000, 3));
    Asset* shared =
        box.addAsset(r3, QStringLiteral("shared"), QStringLiteral("shared.mxf"), patternBytes(1000, 4));
    TestSandbox::share(shared, r4);
    DCP* fourth = box.makeDCP(QStringLiteral("dcp-4"), QStringLiteral("Fourth"));
    Asset* b = box.addAsset(box.addReel(fourth, QStringLiteral("reel-5"), 1), QStringLiteral("b"),
                            QStringLiteral("b.mxf"), patternBytes(1000, 5));
    for (DCP* dcp : {first, second, third, fourth})
        box.publish(dcp);
    const QString ownPath = own->getFullPath();
    const QString sharedPath = shared->getFullPath();
    QVERIFY(writeFile(ownPath, "partial"));
    QVERIFY(writeFile(sharedPath, "partial"));
    DownloadManager* engine = box.engine();
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(a->getFullPath()).size() > 0, 5000);
    QNetworkReply* reply = engine->getCurrentReply();
    QVERIFY(reply);
    QSignalSpy standBy(engine, &DownloadManager::downloadStandBy);

    QVERIFY(engine->removeDownload(second));
    QCOMPARE(standBy.count(), 1);
    QCOMPARE(engine->getDownloadQueue(), QList<Asset*>() << a << own << shared << b);

    QSignalSpy reelsChanged(third, &DCP::reelsChanged);
    QVERIFY(QMetaObject::invokeMethod(engine, "removeDownloadReel", Q_ARG(Reel*, r3)));
    QVERIFY(!QFileInfo::exists(ownPath));
    QVERIFY(QFileInfo::exists(sharedPath));
    QCOMPARE(r4->getAssets(), QList<Asset*>() << shared); // still a live object
    QCOMPARE(shared->getUuid(), QStringLiteral("shared"));
    // The unfinished shared file stays queued for the reel that still lists it.
    QCOMPARE(engine->getDownloadQueue(), QList<Asset*>() << a << shared << b);
    QCOMPARE(reelsChanged.count(), 1);
    QCOMPARE(box.catalogue()->getReel(QStringLiteral("reel-3")), nullptr);
    QCOMPARE(box.catalogue()->getDCP(QStringLiteral("dcp-3")), third);
    engine->removeDownloadReel(r4); // the last reel takes the DCP with it
    QVERIFY(!QFileInfo::exists(sharedPath));
    QCOMPARE(box.catalogue()->getDCP(QStringLiteral("dcp-3")), nullptr);
    QCOMPARE(engine->getCurrentAsset(), a);
    QCOMPARE(engine->getCurrentReply(), reply);

    QVERIFY(engine->removeDownload(first));
    QCOMPARE(engine->getCurrentAsset(), b);
    QVERIFY(engine->getCurrentReply());
    QVERIFY(QFileInfo::exists(a->getFullPath())); // files stay, still hidden
    QCOMPARE(box.catalogue()->getDCP(QStringLiteral("dcp-1")), nullptr);
    QCOMPARE(TestSandbox::rowCount(QStringLiteral("dcp")), 1);
    QTRY_VERIFY_WITH_TIMEOUT(b->getDownloadChecksummed(), 5000);
    QVERIFY(engine->removeDownload(fourth)); // its files get their names before it is forgotten
    QCOMPARE(readFile(b->getFullPath()), patternBytes(1000, 5));
    QVERIFY(!b->isHidden());
    QCOMPARE(prompts.count(), 0);
}

void TestDownloadScheduler::unverifiedReelIsValidatedOnceAtStart()
{
    TestSandbox box(TestSandbox::WithServer);
    const QByteArray content = patternBytes(20000, 5);
    DCP* dcp = box.makeDCP(QStringLiteral("dcp-1"), QStringLiteral("Film"));
    Asset* asset = box.addAsset(box.addReel(dcp, QStringLiteral("reel-1"), 1), QStringLiteral("a"),
                                QStringLiteral("a.mxf"), content);
    asset->setDownloadStarted(true);
    asset->setDownloadFinished(true); // finished before the last exit, never verified
    box.store(dcp);
    QVERIFY(writeFile(asset->getFullPath(), content));

    box.restart();
    ChecksumWorker* worker = box.engine()->getChecksumWorker();
    worker->hold(true);
    DCPManager* catalogue = box.catalogue(); // loads, and hands the reel over
    Reel* reel = catalogue->getReel(QStringLiteral("reel-1"));
    QVERIFY(worker->haveReel(reel));
    box.engine()->assetsChanged(); // e.g. another package imported meanwhile
    QCOMPARE(worker->queuedReelCount(), 1);
    worker->hold(false);

    QTRY_VERIFY_WITH_TIMEOUT(
        catalogue->getAsset(QStringLiteral("a"), QStringLiteral("dcp-1"))->getDownloadChecksummed(), 5000);
    QVERIFY(box.server.journal().isEmpty()); // verified, not downloaded
    QTRY_COMPARE_WITH_TIMEOUT(TestSandbox::events(reel), QList<int>() << 6 << 8, 5000);
    QTRY_COMPARE_WITH_TIMEOUT(worker->queuedReelCount(), 0, 3000);
}

void TestDownloadScheduler::storeFailuresDoNotEscape()
{
    TestSandbox box(TestSandbox::WithServer);
    ScriptedPrompts prompts;
    const QByteArray content = patternBytes(300000, 6);
    StandInServer::AssetFault slow;
    slow.throttleBytesPerSecond = 300000;
    box.server.setAssetFault(QStringLiteral("a.mxf"), slow);
    DCP* dcp = box.makeDCP(QStringLiteral("dcp-1"), QStringLiteral("Film"));
    Asset* asset = box.addAsset(box.addReel(dcp, QStringLiteral("reel-1"), 1), QStringLiteral("a"),
                                QStringLiteral("a.mxf"), content);
    box.store(dcp);
    DownloadManager* engine = box.engine();

    // The first data tick cannot store the started flag: the engine pauses and says so,
    // instead of fetching again and again what it can never record.
    QVERIFY(renameTable(QStringLiteral("asset"), QStringLiteral("asset_away")));
    engine->assetsChanged();
    QTRY_VERIFY_WITH_TIMEOUT(engine->isPaused(), 5000);
    QCOMPARE(prompts.count(), 1);
    QCOMPARE(prompts.last().text, QStringLiteral("Unable to save the download"));
    QCOMPARE(engine->getCurrentReply(), nullptr);
    QVERIFY(staysIdle(engine, box.stallMs * 2));
    QCOMPARE(box.requestsFor(QStringLiteral("a.mxf")).size(), 1);
    QVERIFY(renameTable(QStringLiteral("asset_away"), QStringLiteral("asset")));
    engine->resumeDownloading();
    QTRY_VERIFY_WITH_TIMEOUT(asset->getDownloadChecksummed(), 5000);
    QCOMPARE(readFile(asset->getFullPath()), content);

    // A removal that the store refuses is reported, and the DCP stays.
    QVERIFY(renameTable(QStringLiteral("dcp"), QStringLiteral("dcp_away")));
    QCOMPARE(engine->removeDownload(dcp), false);
    QVERIFY(renameTable(QStringLiteral("dcp_away"), QStringLiteral("dcp")));
    QCOMPARE(prompts.count(), 2);
    QCOMPARE(prompts.last().text, QStringLiteral("Unable to remove the DCP."));
    QCOMPARE(box.catalogue()->getDCP(QStringLiteral("dcp-1")), dcp);
}

QTEST_MAIN(TestDownloadScheduler)
#include "tst_download_scheduler.moc"
