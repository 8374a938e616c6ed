// The download queue: its order and index, pause and resume, moving a DCP to the front,
// the disk check, removals, and store failures reaching the user instead of the loop.

#include "TestSandbox.h"
#include "download/ChecksumWorker.h"
#include "download/DownloadManager.h"
#include "model/Asset.h"
#include "model/DCP.h"
#include "model/DCPManager.h"
#include "model/Reel.h"
#include "notify/NotificationManager.h"
#include "storage/DatabaseManager.h"
#include "storage/Setting.h"
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QVariant>
#include "app/UserPrompt.h"

#include <QFileInfo>
#include <QSignalSpy>
#include <QtTest>

namespace {

void startPaused()
{
    Setting::getInstance()->set(QStringLiteral("download_paused"), QStringLiteral("1"));
    Setting::getInstance()->save();
}

bool renameTable(const QString& from, const QString& to)
{
    QSqlQuery query(DatabaseManager::getInstance()->db);
    return query.exec(QStringLiteral("ALTER TABLE %1 RENAME TO %2").arg(from, to));
}

} // namespace

class TestDownloadScheduler : public QObject
{
    Q_OBJECT

private slots:
    void queueIndexUsesAssetAndDcp();
    void rebuildDuringTransferKeepsCurrentAtHead();
    void pauseWhileIdleChangesNothing();
    void startingADcpMovesItToTheFrontAndResumes();
    void startingADcpWithNothingLeftChangesNothing();
    void pauseIsPersistedAndResumeContinues();
    void diskCheck_data();
    void diskCheck();
    void removingTheDownloadingDcpStartsTheNext();
    void removingAnotherDcpKeepsTheTransfer();
    void removingAReelDeletesItsFilesButNotSharedOnes();
    void unverifiedReelIsValidatedAtStart();
    void reelIsNotQueuedTwiceForValidation();
    void storeFailuresDoNotEscape();
};

void TestDownloadScheduler::queueIndexUsesAssetAndDcp()
{
    TestSandbox box(TestSandbox::WithServer);
    startPaused();
    DCP* first = box.makeDCP(QStringLiteral("dcp-1"), QStringLiteral("First"));
    Reel* r1 = box.addReel(first, QStringLiteral("reel-1"), 1);
    Reel* r2 = box.addReel(first, QStringLiteral("reel-2"), 2);
    Asset* shared = box.addAsset(r1, QStringLiteral("x"), QStringLiteral("x.mxf"), patternBytes(1000, 1));
    TestSandbox::share(shared, r2);
    Asset* own = box.addAsset(r2, QStringLiteral("y"), QStringLiteral("y.mxf"), patternBytes(1000, 2));
    DCP* second = box.makeDCP(QStringLiteral("dcp-2"), QStringLiteral("Second"));
    Reel* r3 = box.addReel(second, QStringLiteral("reel-3"), 1);
    Asset* sameUuid = box.addAsset(r3, QStringLiteral("x"), QStringLiteral("x.mxf"), patternBytes(1000, 1));
    box.publish(first);
    box.publish(second);

    DownloadManager* engine = box.engine();
    QCOMPARE(engine->getDownloadQueue(), QList<Asset*>() << shared << own << sameUuid);
    QCOMPARE(engine->getDownloadItem(sameUuid), sameUuid);
    QCOMPARE(engine->getDownloadItem(shared), shared);
    QCOMPARE(engine->getCurrentAsset(), nullptr); // paused: nothing started
    QVERIFY(box.server.journal().isEmpty());
}

void TestDownloadScheduler::rebuildDuringTransferKeepsCurrentAtHead()
{
    TestSandbox box(TestSandbox::WithServer);
    ScriptedPrompts prompts;
    StandInServer::AssetFault slow;
    slow.throttleBytesPerSecond = 200000;
    box.server.setAssetFault(QStringLiteral("b.mxf"), slow);
    DCP* first = box.makeDCP(QStringLiteral("dcp-1"), QStringLiteral("First"));
    Asset* a = box.addAsset(box.addReel(first, QStringLiteral("reel-1"), 1), QStringLiteral("a"),
                            QStringLiteral("a.mxf"), patternBytes(1000, 1));
    DCP* second = box.makeDCP(QStringLiteral("dcp-2"), QStringLiteral("Second"));
    Asset* b = box.addAsset(box.addReel(second, QStringLiteral("reel-2"), 1), QStringLiteral("b"),
                            QStringLiteral("b.mxf"), patternBytes(2000000, 2));
    startPaused();
    box.publish(first);
    box.publish(second);

    DownloadManager* engine = box.engine();
    engine->startDownloading(second); // second is now current, although it comes later
    QCOMPARE(engine->getCurrentAsset(), b);
    QNetworkReply* reply = engine->getCurrentReply();
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(b->getFullPath()).size() > 0, 5000);

    engine->assetsChanged();
    QCOMPARE(engine->getDownloadQueue(), QList<Asset*>() << b << a);
    QCOMPARE(engine->getCurrentReply(), reply);
    QCOMPARE(box.requestsFor(QStringLiteral("b.mxf")).size(), 1);
    QVERIFY(box.requestsFor(QStringLiteral("a.mxf")).isEmpty());
}

void TestDownloadScheduler::pauseWhileIdleChangesNothing()
{
    TestSandbox box(TestSandbox::WithServer);
    DownloadManager* engine = box.engine();
    QSignalSpy pausedChanged(engine, &DownloadManager::pausedChanged);
    QSignalSpy downloadPaused(engine, &DownloadManager::downloadPaused);

    QVERIFY(QMetaObject::invokeMethod(engine, "pauseDownloading"));
    QVERIFY(!engine->isPaused());
    QCOMPARE(Setting::getInstance()->get(QStringLiteral("download_paused")), QStringLiteral("0"));
    QCOMPARE(pausedChanged.count(), 0);
    QCOMPARE(downloadPaused.count(), 0);
}

void TestDownloadScheduler::startingADcpMovesItToTheFrontAndResumes()
{
    TestSandbox box(TestSandbox::WithServer);
    ScriptedPrompts prompts;
    DCP* first = box.makeDCP(QStringLiteral("dcp-1"), QStringLiteral("First"));
    Asset* a = box.addAsset(box.addReel(first, QStringLiteral("reel-1"), 1), QStringLiteral("a"),
                            QStringLiteral("a.mxf"), patternBytes(1000, 1));
    DCP* second = box.makeDCP(QStringLiteral("dcp-2"), QStringLiteral("Second"));
    Reel* reel = box.addReel(second, QStringLiteral("reel-2"), 1);
    Asset* b1 = box.addAsset(reel, QStringLiteral("b1"), QStringLiteral("b1.mxf"), patternBytes(1000, 2));
    Asset* b2 = box.addAsset(reel, QStringLiteral("b2"), QStringLiteral("b2.mxf"), patternBytes(1000, 3));
    startPaused();
    box.publish(first);
    box.publish(second);

    DownloadManager* engine = box.engine();
    QVERIFY(engine->isPaused());
    QSignalSpy pausedChanged(engine, &DownloadManager::pausedChanged);
    QSignalSpy currentDcp(engine, &DownloadManager::currentDcpChanged);
    QVERIFY(QMetaObject::invokeMethod(engine, "startDownloading", Q_ARG(DCP*, second)));

    QVERIFY(!engine->isPaused());
    QCOMPARE(Setting::getInstance()->get(QStringLiteral("download_paused")), QStringLiteral("0"));
    QCOMPARE(pausedChanged.count(), 1);
    QCOMPARE(currentDcp.count(), 1);
    QCOMPARE(engine->property("current_dcp").value<DCP*>(), second);
    QCOMPARE(engine->getDownloadQueue(), QList<Asset*>() << b1 << b2 << a);

    QTRY_VERIFY_WITH_TIMEOUT(a->getDownloadChecksummed(), 5000);
    const auto journal = box.server.journal();
    QStringList order;
    for (const auto& entry : journal)
        if (entry.path.startsWith(QStringLiteral("/assets/")))
            order << entry.path.mid(8);
    QCOMPARE(order, QStringList() << QStringLiteral("b1.mxf") << QStringLiteral("b2.mxf")
                                  << QStringLiteral("a.mxf"));
}

void TestDownloadScheduler::startingADcpWithNothingLeftChangesNothing()
{
    TestSandbox box(TestSandbox::WithServer);
    DCP* dcp = box.makeDCP(QStringLiteral("dcp-1"), QStringLiteral("Film"));
    Asset* done = box.addAsset(box.addReel(dcp, QStringLiteral("reel-1"), 1), QStringLiteral("a"),
                               QStringLiteral("a.mxf"), patternBytes(1000));
    done->setDownloadFinished(true);
    done->setDownloadChecksummed(true);
    startPaused();
    box.publish(dcp);

    DownloadManager* engine = box.engine();
    engine->startDownloading(dcp);
    QVERIFY(engine->isPaused());
    QCOMPARE(Setting::getInstance()->get(QStringLiteral("download_paused")), QStringLiteral("1"));
    QCOMPARE(engine->getCurrentReply(), nullptr);
}

void TestDownloadScheduler::pauseIsPersistedAndResumeContinues()
{
    TestSandbox box(TestSandbox::WithServer);
    ScriptedPrompts prompts;
    const QByteArray content = patternBytes(800000, 4);
    StandInServer::AssetFault slow;
    slow.throttleBytesPerSecond = 500000;
    box.server.setAssetFault(QStringLiteral("a.mxf"), slow);
    DCP* dcp = box.makeDCP(QStringLiteral("dcp-1"), QStringLiteral("Film"));
    Reel* reel = box.addReel(dcp, QStringLiteral("reel-1"), 1);
    Asset* asset = box.addAsset(reel, QStringLiteral("a"), QStringLiteral("a.mxf"), content);
    box.publish(dcp);
    DownloadManager* engine = box.engine();
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(asset->getFullPath()).size() > 0, 5000);

    QSignalSpy reelPaused(reel, &Reel::downloadPaused);
    QSignalSpy enginePaused(engine, &DownloadManager::downloadPaused);
    engine->pauseDownloading();
    QVERIFY(engine->isPaused());
    QCOMPARE(reelPaused.count(), 1);
    QCOMPARE(enginePaused.count(), 1);
    QCOMPARE(engine->getCurrentAsset(), asset);
    QCOMPARE(engine->getCurrentReply(), nullptr);
    const qint64 pausedAt = QFileInfo(asset->getFullPath()).size();
    QTest::qWait(box.stallMs * 2); // no stall retry while paused
    QCOMPARE(QFileInfo(asset->getFullPath()).size(), pausedAt);
    QCOMPARE(box.requestsFor(QStringLiteral("a.mxf")).size(), 1);

    box.restart();
    engine = box.engine();
    QVERIFY(engine->isPaused());
    QCOMPARE(engine->getCurrentReply(), nullptr);
    box.server.clearAllAssetFaults();
    engine->resumeDownloading();
    QVERIFY(!engine->isPaused());
    QCOMPARE(Setting::getInstance()->get(QStringLiteral("download_paused")), QStringLiteral("0"));
    Asset* reloaded = DCPManager::getInstance()->getAsset(QStringLiteral("a"), QStringLiteral("dcp-1"));
    QTRY_VERIFY_WITH_TIMEOUT(reloaded->getDownloadChecksummed(), 5000);
    QCOMPARE(box.rangesFor(QStringLiteral("a.mxf")).last(), QStringLiteral("bytes=%1-").arg(pausedAt));
    QCOMPARE(readFile(reloaded->getFullPath()), content);
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

void TestDownloadScheduler::removingTheDownloadingDcpStartsTheNext()
{
    TestSandbox box(TestSandbox::WithServer);
    ScriptedPrompts prompts;
    StandInServer::AssetFault slow;
    slow.throttleBytesPerSecond = 200000;
    box.server.setAssetFault(QStringLiteral("a.mxf"), slow);
    DCP* first = box.makeDCP(QStringLiteral("dcp-1"), QStringLiteral("First"));
    Asset* a = box.addAsset(box.addReel(first, QStringLiteral("reel-1"), 1), QStringLiteral("a"),
                            QStringLiteral("a.mxf"), patternBytes(1000000, 1));
    DCP* second = box.makeDCP(QStringLiteral("dcp-2"), QStringLiteral("Second"));
    Asset* b = box.addAsset(box.addReel(second, QStringLiteral("reel-2"), 1), QStringLiteral("b"),
                            QStringLiteral("b.mxf"), patternBytes(1000, 2));
    box.publish(first);
    box.publish(second);
    DownloadManager* engine = box.engine();
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(a->getFullPath()).size() > 0, 5000);

    QVERIFY(engine->removeDownload(first));
    QCOMPARE(engine->getCurrentAsset(), b);
    QVERIFY(engine->getCurrentReply());
    QVERIFY(QFileInfo::exists(a->getFullPath())); // files stay, still hidden
    QCOMPARE(DCPManager::getInstance()->getDCP(QStringLiteral("dcp-1")), nullptr);
    QCOMPARE(TestSandbox::scalar(QStringLiteral("SELECT COUNT(*) FROM dcp WHERE uuid = 'dcp-1'")), 0);
    QTRY_VERIFY_WITH_TIMEOUT(b->getDownloadChecksummed(), 5000);
}

void TestDownloadScheduler::removingAnotherDcpKeepsTheTransfer()
{
    TestSandbox box(TestSandbox::WithServer);
    ScriptedPrompts prompts;
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
    box.publish(first);
    box.publish(second);
    DownloadManager* engine = box.engine();
    QNetworkReply* reply = engine->getCurrentReply();
    QVERIFY(reply);
    QSignalSpy standBy(engine, &DownloadManager::downloadStandBy);

    QVERIFY(engine->removeDownload(second));
    QCOMPARE(standBy.count(), 1);
    QCOMPARE(engine->getCurrentAsset(), a);
    QCOMPARE(engine->getCurrentReply(), reply);
    QCOMPARE(engine->getDownloadQueue(), QList<Asset*>() << a);
}

void TestDownloadScheduler::removingAReelDeletesItsFilesButNotSharedOnes()
{
    TestSandbox box(TestSandbox::WithServer);
    ScriptedPrompts prompts;
    startPaused();
    DCP* dcp = box.makeDCP(QStringLiteral("dcp-1"), QStringLiteral("Film"));
    Reel* r1 = box.addReel(dcp, QStringLiteral("reel-1"), 1);
    Reel* r2 = box.addReel(dcp, QStringLiteral("reel-2"), 2);
    Asset* own = box.addAsset(r1, QStringLiteral("own"), QStringLiteral("own.mxf"), patternBytes(1000, 1));
    Asset* shared =
        box.addAsset(r1, QStringLiteral("shared"), QStringLiteral("shared.mxf"), patternBytes(1000, 2));
    TestSandbox::share(shared, r2);
    box.publish(dcp);
    const QString ownPath = own->getFullPath();
    const QString sharedPath = shared->getFullPath();
    QVERIFY(writeFile(ownPath, "partial"));
    QVERIFY(writeFile(sharedPath, "partial"));
    DownloadManager* engine = box.engine();
    QSignalSpy reelsChanged(dcp, &DCP::reelsChanged);

    QVERIFY(QMetaObject::invokeMethod(engine, "removeDownloadReel", Q_ARG(Reel*, r1)));
    QVERIFY(!QFileInfo::exists(ownPath));
    QVERIFY(QFileInfo::exists(sharedPath));
    QCOMPARE(r2->getAssets(), QList<Asset*>() << shared); // still a live object
    QCOMPARE(shared->getUuid(), QStringLiteral("shared"));
    QCOMPARE(engine->getDownloadQueue(), QList<Asset*>());
    QCOMPARE(reelsChanged.count(), 1);
    QCOMPARE(DCPManager::getInstance()->getReel(QStringLiteral("reel-1")), nullptr);
    QCOMPARE(DCPManager::getInstance()->getDCP(QStringLiteral("dcp-1")), dcp);

    // The last reel takes the DCP with it.
    engine->removeDownloadReel(r2);
    QVERIFY(!QFileInfo::exists(sharedPath));
    QCOMPARE(DCPManager::getInstance()->getDCP(QStringLiteral("dcp-1")), nullptr);
    QCOMPARE(TestSandbox::scalar(QStringLiteral("SELECT COUNT(*) FROM dcp")), 0);
    QCOMPARE(prompts.count(), 0);
}

void TestDownloadScheduler::unverifiedReelIsValidatedAtStart()
{
    TestSandbox box(TestSandbox::WithServer);
    const QByteArray content = patternBytes(20000, 5);
    DCP* dcp = box.makeDCP(QStringLiteral("dcp-1"), QStringLiteral("Film"));
    Reel* reel = box.addReel(dcp, QStringLiteral("reel-1"), 1);
    Asset* asset = box.addAsset(reel, QStringLiteral("a"), QStringLiteral("a.mxf"), content);
    asset->setDownloadStarted(true);
    asset->setDownloadFinished(true); // finished before the last exit, never verified
    box.store(dcp);
    QVERIFY(writeFile(asset->getFullPath(), content));

    box.restart();
    Asset* reloaded = DCPManager::getInstance()->getAsset(QStringLiteral("a"), QStringLiteral("dcp-1"));
    QTRY_VERIFY_WITH_TIMEOUT(reloaded->getDownloadChecksummed(), 5000);
    QVERIFY(box.server.journal().isEmpty()); // verified, not downloaded
    QTRY_COMPARE_WITH_TIMEOUT(
        TestSandbox::events(DCPManager::getInstance()->getReel(QStringLiteral("reel-1"))),
        QList<int>() << 6 << 8, 5000);
}

void TestDownloadScheduler::reelIsNotQueuedTwiceForValidation()
{
    TestSandbox box(TestSandbox::WithServer);
    DCP* dcp = box.makeDCP(QStringLiteral("dcp-1"), QStringLiteral("Film"));
    Reel* reel = box.addReel(dcp, QStringLiteral("reel-1"), 1);
    Asset* asset = box.addAsset(reel, QStringLiteral("a"), QStringLiteral("a.mxf"), patternBytes(1000));
    asset->setDownloadFinished(true);
    QVERIFY(writeFile(asset->getFullPath(), patternBytes(1000)));
    DownloadManager* engine = box.engine();
    engine->getChecksumWorker()->setPollInterval(600);
    QTest::qWait(50); // the worker is now in its long sleep
    QSignalSpy checking(reel, &Reel::downloadCheckingChecksum);

    box.publish(dcp);
    engine->assetsChanged(); // e.g. another package imported meanwhile
    QCOMPARE(checking.count(), 2);
    QCOMPARE(engine->getChecksumWorker()->queuedReelCount(), 1);
    QVERIFY(engine->getChecksumWorker()->haveReel(reel));
    QTRY_VERIFY_WITH_TIMEOUT(asset->getDownloadChecksummed(), 5000);
    QTRY_COMPARE_WITH_TIMEOUT(engine->getChecksumWorker()->queuedReelCount(), 0, 3000);
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
    QTest::qWait(box.stallMs * 2);
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
    QCOMPARE(DCPManager::getInstance()->getDCP(QStringLiteral("dcp-1")), dcp);
}

QTEST_MAIN(TestDownloadScheduler)
#include "tst_download_scheduler.moc"
