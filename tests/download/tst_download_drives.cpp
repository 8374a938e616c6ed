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
#include "notify/NotificationManager.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QSignalSpy>
#include <QtTest>

class TestDownloadDrives : public QObject
{
    Q_OBJECT

private slots:
    void driveComesAndGoes();
    void verificationWaitsForThePulledDrive();
    void swappedDriveIsVerifiedAgain_data();
    void swappedDriveIsVerifiedAgain();
    void emptiedVerifiedFileIsFetchedAgain();
    void removedDcpKeepsAChangedFileHidden();
};

namespace {
QString visiblePath(const Asset* asset)
{
    const QString path = asset->getFullPath();
    return QFileInfo(path).path() + QLatin1Char('/') + QFileInfo(path).fileName().mid(1);
}
} // namespace

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
    box.publish(onUsb);
    box.publish(local);
    watch.start();
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
    QSignalSpy checksummed(reel, &Reel::downloadChecksummed);
    engine->getChecksumWorker()->addToWorker(reel);
    QTRY_VERIFY(!engine->getChecksumWorker()->haveReel(reel));
    QCOMPARE(requeued.count(), 0);
    // Nothing is reported of a reading that says nothing: no pass, no failure.
    QCOMPARE(checksummed.count(), 0);
    QCOMPARE(TestSandbox::events(reel), QList<int>{NotificationType::ChecksumStarted});
    QVERIFY(a->getDownloadFinished() && !a->getDownloadChecksummed() && !a->getDownloadCorrupted());
    QCOMPARE(a->getDownloadAttempts(), 0u);

    QVERIFY(QDir().rename(drive + QStringLiteral("-pulled"), drive));
    engine->assetsChanged();
    QTRY_VERIFY(a->getDownloadChecksummed());
    QCOMPARE(readFile(a->getFullPath()), content);
}

void TestDownloadDrives::swappedDriveIsVerifiedAgain_data()
{
    QTest::addColumn<bool>("changed"); // 64 KiB of the picture differ on the other stick
    QTest::newRow("changed file") << true;
    QTest::newRow("same bytes") << false;
}

// A reel verified, its acknowledgement pending; the stick is pulled and another put in under
// the same mount point, with the same names and sizes and the picture's modification time.
// Only the bytes that were verified are ever given their final names: the other stick's
// picture is read again first, and fetched again when it differs.
void TestDownloadDrives::swappedDriveIsVerifiedAgain()
{
    QFETCH(bool, changed);
    TestSandbox box(TestSandbox::WithServer);
    ScriptedPrompts prompts;
    StandInServer::NotifyFault held;
    held.neverAnswer = true;
    box.server.setNotificationFault(held);
    const QString drive = box.root() + QStringLiteral("/usb");
    DCP* dcp = box.newDCP(QStringLiteral("dcp-usb"), QStringLiteral("OnUsb"), drive);
    Reel* reel = box.addReel(dcp, QStringLiteral("reel-a"), 1);
    const QByteArray content = patternBytes(300000, 5);
    Asset* picture = box.addAsset(reel, QStringLiteral("picture"), QStringLiteral("picture_r1.mxf"), content);
    box.addAsset(reel, QStringLiteral("sound"), QStringLiteral("sound_r1.mxf"), patternBytes(50000, 6));
    QVERIFY(QDir().mkpath(dcp->getDCPPath()));
    box.notifications(20);
    box.publish(dcp);
    QTRY_VERIFY_WITH_TIMEOUT(reel->isChecksummed(), 10000);

    const QString hidden = picture->getFullPath();
    const QDateTime modified = QFileInfo(hidden).lastModified();
    QVERIFY(QDir().rename(drive, drive + QStringLiteral("-first")));
    QCOMPARE(QProcess::execute(QStringLiteral("cp"), {"-a", drive + "-first", drive}), 0);
    if (changed) {
        QFile file(hidden);
        QVERIFY(file.open(QIODevice::ReadWrite) && file.seek(100000));
        file.write(QByteArray(65536, 'x'));
        file.close();
        QVERIFY(file.open(QIODevice::ReadWrite) &&
                file.setFileTime(modified, QFileDevice::FileModificationTime));
        file.close();
    }
    QCOMPARE(QFileInfo(hidden).size(), content.size());

    const QString visible = visiblePath(picture);
    QSignalSpy synced(reel, &Reel::downloadSynced);
    box.server.setNotificationFault(StandInServer::NotifyFault());
    box.server.answerHeldNotifications();
    QTRY_VERIFY_WITH_TIMEOUT(synced.count() == 1, 15000);
    QCOMPARE(readFile(visible), content);
    QCOMPARE(picture->getDownloadAttempts(), changed ? 1u : 0u);
    QCOMPARE(box.requestsFor(QStringLiteral("picture_r1.mxf")).size(), changed ? 2 : 1);
    QCOMPARE(prompts.count(), 0);
}

// A start never reveals a verified file whose size is not its asset's: what a stop while
// DOWNLOAD AGAIN emptied a file left in earlier versions (hidden, empty, called verified, its
// events acknowledged) is fetched again instead.
void TestDownloadDrives::emptiedVerifiedFileIsFetchedAgain()
{
    TestSandbox box(TestSandbox::WithServer);
    ScriptedPrompts prompts;
    DCP* dcp = box.makeDCP(QStringLiteral("dcp-1"), QStringLiteral("Film"));
    Reel* reel = box.addReel(dcp, QStringLiteral("reel-1"), 1);
    const QByteArray content = patternBytes(200000, 9);
    Asset* picture = box.addAsset(reel, QStringLiteral("picture"), QStringLiteral("picture_r1.mxf"), content);
    QVERIFY(QDir().mkpath(dcp->getDCPPath()));
    box.notifications(20);
    box.publish(dcp);
    QTRY_VERIFY_WITH_TIMEOUT(reel->isSynced(), 10000);
    const QString visible = picture->getFullPath();

    const QString hiddenName = QLatin1Char('.') + QFileInfo(visible).fileName();
    const QString hidden = QFileInfo(visible).path() + QLatin1Char('/') + hiddenName;
    QVERIFY(QFile::rename(visible, hidden) && QFile::resize(hidden, 0));
    QVERIFY(TestSandbox::exec(QStringLiteral("UPDATE asset SET original_filename = '%1'").arg(hiddenName)));
    box.restart();
    box.notifications(20);
    Reel* again = box.catalogue()->getReel(QStringLiteral("reel-1"));
    QVERIFY(again && again != reel);
    QSignalSpy synced(again, &Reel::downloadSynced);
    QTRY_VERIFY_WITH_TIMEOUT(synced.count() == 1, 15000);
    QCOMPARE(readFile(visible), content);
    QCOMPARE(again->getAssets().first()->getDownloadAttempts(), 1u);
    QCOMPARE(box.rangesFor(QStringLiteral("picture_r1.mxf")), (QStringList{"bytes=0-", "bytes=0-"}));
}

// A DCP removed before its acknowledgement gives its verified files their names, as nothing
// tracks them afterwards; a file changed since it was verified keeps its hidden name.
void TestDownloadDrives::removedDcpKeepsAChangedFileHidden()
{
    TestSandbox box(TestSandbox::WithServer);
    ScriptedPrompts prompts;
    box.notifications(3600 * 1000); // nothing is acknowledged
    DCP* dcp = box.makeDCP(QStringLiteral("dcp-1"), QStringLiteral("Film"));
    Reel* reel = box.addReel(dcp, QStringLiteral("reel-1"), 1);
    Asset* kept =
        box.addAsset(reel, QStringLiteral("kept"), QStringLiteral("kept.mxf"), patternBytes(20000, 1));
    Asset* changed =
        box.addAsset(reel, QStringLiteral("changed"), QStringLiteral("changed.mxf"), patternBytes(20000, 2));
    QVERIFY(QDir().mkpath(dcp->getDCPPath()));
    box.publish(dcp);
    QTRY_VERIFY_WITH_TIMEOUT(reel->isChecksummed(), 10000);
    QFile file(changed->getFullPath());
    QVERIFY(file.open(QIODevice::ReadWrite) && file.seek(10) && file.putChar('!'));
    file.close();
    const QString changedPath = changed->getFullPath();

    QVERIFY(box.engine()->removeDownload(dcp));
    QVERIFY(!kept->isHidden() && QFileInfo::exists(kept->getFullPath()));
    QVERIFY(changed->isHidden() && QFileInfo::exists(changedPath));
}

QTEST_GUILESS_MAIN(TestDownloadDrives)
#include "tst_download_drives.moc"
