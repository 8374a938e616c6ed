// One DCP at a time on the real engine against the stand-in: paused on its own, moved in the
// download order (kept across a restart), and held back while its drive lacks room for it.

#include "ScriptedPrompts.h"
#include "TestSandbox.h"
#include "download/DownloadManager.h"
#include "model/Asset.h"
#include "model/DCP.h"
#include "model/DCPManager.h"
#include "model/Reel.h"
#include "storage/Setting.h"

#include <QFileInfo>
#include <QSignalSpy>
#include <QtTest>

namespace {

void startPaused()
{
    Setting::getInstance()->set(QStringLiteral("download_paused"), QStringLiteral("1"));
    Setting::getInstance()->save();
}

// Asset files the stand-in was asked for, in order, each once.
QStringList fetched(const TestSandbox& box)
{
    QStringList order;
    for (const auto& entry : box.server.journal()) {
        const QString name = entry.path.mid(8);
        if (entry.path.startsWith(QStringLiteral("/assets/")) && !order.contains(name))
            order << name;
    }
    return order;
}

QStringList titles(const QList<DCP*>& dcps)
{
    QStringList names;
    for (const DCP* dcp : dcps)
        names << dcp->getTitle();
    return names;
}

} // namespace

class TestDownloadQueueOrder : public QObject
{
    Q_OBJECT

private slots:
    void pausedAndMovedDcpsAfterARestart();
    void pausingTheCurrentDcpGoesOnWithTheNext();
    void aDcpTheDriveCannotHoldWaits();
};

// Three DCPs: the second paused, the third moved to the front (after a few moves up and down),
// then a restart: the stand-in is asked for the third's files first and none of the second's
// until it is resumed.
void TestDownloadQueueOrder::pausedAndMovedDcpsAfterARestart()
{
    TestSandbox box(TestSandbox::WithServer);
    ScriptedPrompts prompts;
    startPaused();
    for (int i = 1; i <= 3; ++i) {
        DCP* dcp = box.makeDCP(QStringLiteral("dcp-%1").arg(i), QStringLiteral("Film %1").arg(i));
        Reel* reel = box.addReel(dcp, QStringLiteral("reel-%1").arg(i), 1);
        box.addAsset(reel, QStringLiteral("a%1").arg(i), QStringLiteral("a%1.mxf").arg(i),
                     patternBytes(1000, i));
        box.addAsset(reel, QStringLiteral("b%1").arg(i), QStringLiteral("b%1.mxf").arg(i),
                     patternBytes(900, i));
        box.store(dcp);
    }
    box.restart();
    DCPManager* catalogue = box.catalogue();
    DownloadManager* engine = box.engine();
    DCP* second = catalogue->getDCP(QStringLiteral("dcp-2"));
    DCP* third = catalogue->getDCP(QStringLiteral("dcp-1")); // newest first: Film 3, Film 2, Film 1
    QCOMPARE(titles(engine->waitingDCPs()), (QStringList{"Film 3", "Film 2", "Film 1"}));

    // Nothing moves past either end.
    QSignalSpy orderChanged(engine, &DownloadManager::orderChanged);
    engine->moveUp(catalogue->getDCP(QStringLiteral("dcp-3")));
    engine->moveDown(third);
    QCOMPARE(orderChanged.count(), 0);
    engine->moveUp(third);
    engine->moveDown(catalogue->getDCP(QStringLiteral("dcp-3")));
    QCOMPARE(titles(engine->waitingDCPs()), (QStringList{"Film 1", "Film 3", "Film 2"}));
    engine->moveDown(third);
    engine->pauseDcp(second);
    engine->downloadNext(third);
    QCOMPARE(engine->queuePlace(third), 0);
    QCOMPARE(engine->queuePlace(second), 2);
    QVERIFY(engine->isDcpPaused(second));
    QVERIFY(box.server.journal().isEmpty());
    // A move the store refuses is said, and the order stays as it was.
    QVERIFY(TestSandbox::exec(QStringLiteral("ALTER TABLE dcp_queue RENAME TO dcp_queue_away")));
    engine->moveDown(third);
    QVERIFY(TestSandbox::exec(QStringLiteral("ALTER TABLE dcp_queue_away RENAME TO dcp_queue")));
    QCOMPARE(prompts.count(), 1);
    QCOMPARE(prompts.last().text, QStringLiteral("Unable to change the download order."));
    QCOMPARE(engine->queuePlace(third), 0);

    box.restart();
    catalogue = box.catalogue();
    engine = box.engine();
    second = catalogue->getDCP(QStringLiteral("dcp-2"));
    QVERIFY(engine->isDcpPaused(second));
    QCOMPARE(titles(engine->waitingDCPs()), (QStringList{"Film 1", "Film 3", "Film 2"}));
    QSignalSpy standBy(engine, &DownloadManager::downloadStandBy);
    engine->resumeDownloading();
    QTRY_VERIFY_WITH_TIMEOUT(standBy.count() == 1, 10000);
    QCOMPARE(fetched(box), (QStringList{"a1.mxf", "b1.mxf", "a3.mxf", "b3.mxf"}));
    QVERIFY(!second->getAssets().at(0)->getDownloadStarted());

    // Resumed, it is downloaded; the order keeps it after the others.
    engine->resumeDcp(second);
    QVERIFY(!engine->isDcpPaused(second));
    QTRY_VERIFY_WITH_TIMEOUT(standBy.count() == 2, 10000);
    QCOMPARE(fetched(box).mid(4), (QStringList{"a2.mxf", "b2.mxf"}));
    QCOMPARE(engine->queueLength(), 0);
    // A removed DCP takes its place and its pause out of the store.
    engine->pauseDcp(second);
    QCOMPARE(TestSandbox::rowCount(QStringLiteral("dcp_queue"), QStringLiteral("dcp_uuid = 'dcp-2'")), 1);
    QVERIFY(engine->removeDownload(second));
    QCOMPARE(TestSandbox::rowCount(QStringLiteral("dcp_queue"), QStringLiteral("dcp_uuid = 'dcp-2'")), 0);
    QCOMPARE(prompts.count(), 1);
}

// Paused while one of its files is being received: the next DCP goes on at once, and the
// paused DCP's file continues from where it stopped once it is resumed.
void TestDownloadQueueOrder::pausingTheCurrentDcpGoesOnWithTheNext()
{
    TestSandbox box(TestSandbox::WithServer);
    ScriptedPrompts prompts;
    startPaused();
    StandInServer::AssetFault slow;
    slow.throttleBytesPerSecond = 200000;
    box.server.setAssetFault(QStringLiteral("slow.mxf"), slow);
    DCP* first = box.makeDCP(QStringLiteral("dcp-1"), QStringLiteral("First"));
    Asset* partial = box.addAsset(box.addReel(first, QStringLiteral("reel-1"), 1), QStringLiteral("s"),
                                  QStringLiteral("slow.mxf"), patternBytes(300000, 1));
    DCP* other = box.makeDCP(QStringLiteral("dcp-2"), QStringLiteral("Other"));
    Asset* next = box.addAsset(box.addReel(other, QStringLiteral("reel-2"), 1), QStringLiteral("n"),
                               QStringLiteral("next.mxf"), patternBytes(2000, 2));
    box.publish(first);
    box.publish(other);
    DownloadManager* engine = box.engine();
    engine->startDownloading(first);
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(partial->getFullPath()).size() > 0, 5000);

    engine->pauseDcp(first);
    QCOMPARE(engine->getCurrentDownloadingDCP(), other);
    QTRY_VERIFY_WITH_TIMEOUT(next->getDownloadChecksummed(), 10000);
    QVERIFY(!partial->getDownloadFinished());
    const qint64 kept = QFileInfo(partial->getFullPath()).size();
    QVERIFY(kept > 0 && kept < 300000);
    QVERIFY(!engine->isPaused());

    engine->resumeDcp(first);
    QTRY_VERIFY_WITH_TIMEOUT(partial->getDownloadChecksummed(), 10000);
    QCOMPARE(box.rangesFor(QStringLiteral("slow.mxf")),
             (QStringList{QStringLiteral("bytes=0-"), QStringLiteral("bytes=%1-").arg(kept)}));
    QCOMPARE(prompts.count(), 0);
}

// Two drives: on CINEMA1 the first DCP fits and the second does not in what is left; the DCP on
// CINEMA2 goes on. The warning is there before the engine reaches the DCP, no box asks, and
// once the drive has room the DCP joins the queue by itself.
void TestDownloadQueueOrder::aDcpTheDriveCannotHoldWaits()
{
    TestSandbox box(TestSandbox::WithServer);
    ScriptedPrompts prompts;
    startPaused();
    constexpr qint64 GiB = qint64(1) << 30;
    DCP* fits = box.newDCP(QStringLiteral("dcp-1"), QStringLiteral("Trailer"), box.downloads() + "/one");
    Asset* small = box.addAsset(box.addReel(fits, QStringLiteral("reel-1"), 1), QStringLiteral("t"),
                                QStringLiteral("t.mxf"), patternBytes(4000, 1));
    DCP* big = box.newDCP(QStringLiteral("dcp-2"), QStringLiteral("HARBOUR_FTR"), box.downloads() + "/one");
    big->setFriendlyTitle(QStringLiteral("Harbour Lights"));
    Asset* feature = TestSandbox::addAssetOfSize(box.addReel(big, QStringLiteral("reel-2"), 1),
                                                 QStringLiteral("f"), quint64(130 * GiB));
    DCP* elsewhere = box.newDCP(QStringLiteral("dcp-3"), QStringLiteral("Short"), box.downloads() + "/two");
    Asset* onTwo = box.addAsset(box.addReel(elsewhere, QStringLiteral("reel-3"), 1), QStringLiteral("o"),
                                QStringLiteral("o.mxf"), patternBytes(3000, 3));
    for (DCP* dcp : {fits, big, elsewhere})
        box.store(dcp);
    DownloadManager* engine = box.engine();
    qint64 cinema1 = 10 * GiB + 4000;
    engine->driveRoom().setProbe([&](const QString& path) {
        const bool one = path.endsWith(QStringLiteral("/one"));
        return DriveSpace{one ? "/media/CINEMA1" : "/media/c2", one ? "CINEMA1" : "/media/c2",
                          one ? cinema1 : 50 * GiB};
    });
    engine->setFreeSpaceProbe(
        [&](const QString& path) { return path.contains("/one/") ? cinema1 : 50 * GiB; });
    engine->driveRoom().setInterval(50);
    engine->downloadNext(fits); // Trailer, Harbour Lights, Short

    const QString warning = QStringLiteral("Harbour Lights needs 120 GB more than the drive CINEMA1 holds");
    QCOMPARE(engine->roomNeeded(big), QStringLiteral("Needs 120 GB more"));
    QCOMPARE(engine->roomWarningFor(big), warning);
    QCOMPARE(engine->property("room_warning").toString(), warning);
    QCOMPARE(engine->roomNeeded(fits), QString());
    QCOMPARE(engine->roomNeeded(elsewhere), QString());
    QCOMPARE(engine->driveText(fits), QStringLiteral("On CINEMA1 (/media/CINEMA1): 10 GB free"));
    QCOMPARE(engine->driveText(elsewhere), QStringLiteral("On /media/c2: 50 GB free"));
    QCOMPARE(engine->getDownloadQueue(), (QList<Asset*>{small, onTwo}));

    engine->resumeDownloading();
    QTRY_VERIFY_WITH_TIMEOUT(small->getDownloadChecksummed() && onTwo->getDownloadChecksummed(), 10000);
    QCOMPARE(engine->getCurrentAsset(), nullptr);
    QVERIFY(!feature->getDownloadStarted());
    QCOMPARE(engine->roomWarningFor(big), warning);
    // Paused on its own, the DCP claims no room on its drive (the user's way to let others go).
    engine->pauseDcp(big);
    QTRY_COMPARE(engine->roomWarningFor(big), QString());
    engine->resumeDcp(big);
    QTRY_COMPARE(engine->roomWarningFor(big), warning);

    // Room made on the drive: the DCP rejoins without anyone asking.
    QSignalSpy roomChanged(engine, &DownloadManager::roomChanged);
    cinema1 = 200 * GiB;
    QTRY_COMPARE_WITH_TIMEOUT(engine->getCurrentAsset(), feature, 5000);
    QCOMPARE(engine->property("room_warning").toString(), QString());
    QCOMPARE(roomChanged.count(), 1);
    QCOMPARE(prompts.count(), 0);
}

QTEST_MAIN(TestDownloadQueueOrder)
#include "tst_download_queueorder.moc"
