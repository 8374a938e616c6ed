// A drive pulled and plugged in again while the program runs: its DCP waits without a box,
// the engine goes on with the other drive, and the download resumes from the file when the
// drive is back.
#include "LogCapture.h"
#include "ScriptedPrompts.h"
#include "TestSandbox.h"
#include "core/UserPrompt.h"
#include "download/ChecksumWorker.h"
#include "download/DownloadManager.h"
#include "download/DriveWatch.h"
#include "model/Asset.h"
#include "model/DCP.h"
#include "model/DCPManager.h"
#include "model/Reel.h"

#include <QDir>
#include <QFileInfo>
#include <QSignalSpy>
#include <QtTest>

class TestDownloadDrives : public QObject
{
    Q_OBJECT

private slots:
    void driveComesAndGoes();
    void verificationWaitsForThePulledDrive();
};

void TestDownloadDrives::driveComesAndGoes()
{
    TestSandbox box(TestSandbox::WithServer);
    ScriptedPrompts prompts;
    LogCapture log;
    const QString drive = box.root() + QStringLiteral("/usb");
    const QString pulled = box.root() + QStringLiteral("/usb-pulled");
    const QByteArray content = patternBytes(800000, 7);
    StandInServer::AssetFault slow;
    slow.throttleBytesPerSecond = 400000;
    box.server.setAssetFault(QStringLiteral("a.mxf"), slow);

    DCP* onUsb = box.newDCP(QStringLiteral("dcp-usb"), QStringLiteral("OnUsb"), drive);
    Asset* a = box.addAsset(box.addReel(onUsb, QStringLiteral("reel-a"), 1), QStringLiteral("a"),
                            QStringLiteral("a.mxf"), content);
    DCP* local = box.makeDCP(QStringLiteral("dcp-local"), QStringLiteral("Local"));
    Asset* b = box.addAsset(box.addReel(local, QStringLiteral("reel-b"), 1), QStringLiteral("b"),
                            QStringLiteral("b.mxf"), patternBytes(300000, 8));
    QVERIFY(QDir().mkpath(onUsb->getDCPPath()) && QDir().mkpath(local->getDCPPath()));

    DownloadManager* engine = box.engine();
    DriveWatch watch([] { return DCPManager::getInstance()->getAllDCPs(); });
    watch.setInterval(50);
    engine->followDrives(&watch);
    watch.start();
    box.publish(onUsb);
    box.publish(local);
    QTRY_VERIFY_WITH_TIMEOUT(engine->getCurrentAsset() == a && QFileInfo(a->getFullPath()).size() > 100000,
                             5000);

    // Pulled mid-body: the same line as a start without the drive, no box, the other drive goes on.
    QVERIFY(QDir().rename(drive, pulled));
    QTRY_VERIFY(!onUsb->isDriveConnected());
    QVERIFY(log.contains(
        QStringLiteral("[DCPManager] Drive not connected, keeping dcp \"%1\"").arg(onUsb->getDCPPath())));
    QTRY_VERIFY_WITH_TIMEOUT(b->getDownloadChecksummed(), 10000);
    QVERIFY(!engine->isPaused());
    QVERIFY(!a->getDownloadFinished());
    QCOMPARE(prompts.count(), 0);

    // Back: resumed from what the file holds, without a restart.
    const QString pulledFile = pulled + a->getFullPath().mid(drive.size());
    const qint64 held = QFileInfo(pulledFile).size();
    QVERIFY(held > 100000 && held < content.size());
    box.server.clearAllAssetFaults();
    QVERIFY(QDir().rename(pulled, drive));
    QTRY_VERIFY_WITH_TIMEOUT(a->getDownloadChecksummed(), 10000);
    QVERIFY(onUsb->isDriveConnected());
    QCOMPARE(box.rangesFor(QStringLiteral("a.mxf")),
             QStringList() << QStringLiteral("bytes=0-") << QStringLiteral("bytes=%1-").arg(held));
    QCOMPARE(readFile(a->getFullPath()), content);
    QCOMPARE(prompts.count(), 0);
}

// A file read while its drive is out says nothing about the file: it is neither emptied for
// a new download nor counted as an attempt, and is verified once the drive is back.
void TestDownloadDrives::verificationWaitsForThePulledDrive()
{
    TestSandbox box;
    ScriptedPrompts prompts;
    const QString drive = box.root() + QStringLiteral("/usb");
    DCP* dcp = box.newDCP(QStringLiteral("dcp-usb"), QStringLiteral("OnUsb"), drive);
    Reel* reel = box.addReel(dcp, QStringLiteral("reel-a"), 1);
    const QByteArray content = patternBytes(200000, 3);
    Asset* a =
        TestSandbox::addAssetAt(reel, QStringLiteral("a"), QStringLiteral("http://127.0.0.1:9/a"), content);
    QVERIFY(writeFile(a->getFullPath(), content));
    a->setDownloadFinished(true);
    DownloadManager* engine = box.engine();
    engine->pauseDownloading(true);
    box.store(dcp);

    QVERIFY(QDir().rename(drive, drive + QStringLiteral("-pulled")));
    QSignalSpy requeued(reel, &Reel::downloadQueuedForRedownload);
    engine->getChecksumWorker()->addToWorker(reel);
    QTRY_VERIFY(!engine->getChecksumWorker()->haveReel(reel));
    QCOMPARE(requeued.count(), 0);
    QVERIFY(a->getDownloadFinished() && !a->getDownloadChecksummed() && !a->getDownloadCorrupted());
    QCOMPARE(a->getDownloadAttempts(), 0u);

    QVERIFY(QDir().rename(drive + QStringLiteral("-pulled"), drive));
    engine->assetsChanged();
    QTRY_VERIFY(a->getDownloadChecksummed());
    QCOMPARE(readFile(a->getFullPath()), content);
}

QTEST_GUILESS_MAIN(TestDownloadDrives)
#include "tst_download_drives.moc"
