// What "Check drive" finds stays on the DCP until it is mended: in the main window in process,
// against the stand-in server. A removed reel and an exFAT drive are named; a corrupted file
// marks its asset and reel corrupted (memory, store, tile, reel row, tray) until DOWNLOAD AGAIN
// fetched it anew and it verified, and its finding leaves the page then. Screenshots go to
// artefacts/drive-findings; any QML warning fails the test.
#include "SampleDcp.h"
#include "TestSandbox.h"
#include "WindowUnderTest.h"
#include "app/DesktopNotifier.h"
#include "app/MainWindow.h"
#include "download/DownloadManager.h"
#include "download/DriveVerifier.h"
#include "import/VolumeInfo.h"
#include "model/Asset.h"
#include "model/DCP.h"
#include "model/DCPManager.h"
#include "model/Reel.h"

#include <QDir>
#include <QFile>
#include <QQuickItem>
#include <QQuickWindow>
#include <QtTest>

namespace {
// The sandbox's download folder as the top of a removable exFAT stick (fixtures for the
// mount table and sysfs under root).
DriveProbe::Roots exfatStick(const QString& root, const QString& mountPoint)
{
    const QString disk = root + QStringLiteral("/sys/devices/usb1/block/sdc");
    QDir().mkpath(disk + QStringLiteral("/sdc1"));
    QDir().mkpath(root + QStringLiteral("/sys/class/block"));
    writeFile(disk + QStringLiteral("/sdc1/partition"), "1");
    writeFile(disk + QStringLiteral("/removable"), "1");
    QFile::link(disk + QStringLiteral("/sdc1"), root + QStringLiteral("/sys/class/block/sdc1"));
    writeFile(root + QStringLiteral("/mountinfo"),
              "98 22 8:33 / " + QFile::encodeName(mountPoint) + " rw - exfat /dev/sdc1 rw\n");
    return {root + QStringLiteral("/mountinfo"), root + QStringLiteral("/sys"), root + QStringLiteral("/dev"),
            root + QStringLiteral("/udev")};
}

QString textOf(const QQuickItem* item)
{
    return item ? item->property("text").toString() : QStringLiteral("<none>");
}
} // namespace

class TestDriveFindings : public QObject
{
    Q_OBJECT

private slots:
    void findingsStayUntilMended();
};

void TestDriveFindings::findingsStayUntilMended()
{
    TestSandbox box(TestSandbox::WithServer);
    const QString folder = box.downloads() + QStringLiteral("/Stay_FTR");
    SampleDcp::Options o;
    o.title = QStringLiteral("Stay_FTR");
    o.reels = 2;
    o.pictureSize = 300000;
    o.soundSize = 70000;
    DcpDescription d;
    QVERIFY(SampleDcp::generate(o, folder, &d));
    // Downloaded, verified, reported and revealed; the stand-in serves the same files.
    DCP* dcp = box.makeDCP(d.cplUuid, d.title);
    QList<Reel*> reels;
    for (int r = 1; r <= 2; ++r) {
        reels << box.addReel(dcp, QStringLiteral("reel-%1").arg(r), unsigned(r));
        for (const DcpAssetInfo& a : d.assetsOfReels({r})) {
            Asset* asset = box.addAsset(reels.last(), a.uuid, QStringLiteral("Stay_FTR/") + a.path,
                                        readFile(folder + '/' + a.path));
            asset->setOriginalFileName(a.path);
            asset->setDownloadStarted(true);
            asset->setDownloadFinished(true);
            asset->setDownloadChecksummed(true);
        }
    }
    box.store(dcp);
    DesktopNotifier tray(box.catalogue());
    QSignalSpy told(&tray, &DesktopNotifier::notified);
    WindowUnderTest window;
    QVERIFY(window.load(box));
    window.window()->resize(1100, 760);
    DriveVerifier& check = window.scene()->driveCheck();
    QSignalSpy finished(&check, &DriveVerifier::finished);
    const auto shot = [&](const QString& name) {
        QVERIFY(window.screenshot(QStringLiteral(ORV_ARTEFACTS_DIR "/drive-findings"), name));
    };
    QVERIFY(QMetaObject::invokeMethod(window.window(), "showDetails", Q_ARG(QVariant, 0)));
    QCOMPARE(check.damagedCount(dcp), 0);

    // A flipped byte: the reel is corrupted in memory, in the store and on screen.
    const DcpAssetInfo picture = d.find(DcpAssetInfo::Picture, 1);
    QFile file(folder + '/' + picture.path);
    QVERIFY(file.open(QIODevice::ReadWrite) && file.seek(4096) && file.putChar('!'));
    file.close();
    told.clear();
    check.start(dcp);
    QVERIFY(finished.wait(30000));
    QCOMPARE(check.getProblems(),
             QStringList{"picture_r1.mxf is corrupted: its SHA-1 differs from the PKL."});
    Asset* damaged = dcp->getAsset(picture.uuid);
    QVERIFY(damaged->getDownloadCorrupted() && !damaged->getDownloadChecksummed() &&
            reels.at(0)->isCorrupted());
    QCOMPARE(
        TestSandbox::scalar("SELECT download_corrupted + 2 * download_checksummed FROM asset WHERE uuid = '" +
                            picture.uuid + "'"),
        1);
    QCOMPARE(told.size(), 1);
    QCOMPARE(told.first().at(1).toString(), QStringLiteral("Stay_FTR (friendly): reel 1 is corrupted"));
    QCOMPARE(check.damagedCount(dcp), 1);
    QTRY_COMPARE(textOf(window.item(QStringLiteral("reelStatus"))), QStringLiteral("Corrupted"));
    QVERIFY(window.item(QStringLiteral("downloadAgainButton")));
    QVERIFY(!window.item(QStringLiteral("checkDriveButton")));
    shot(QStringLiteral("details-corrupted-after-check"));
    window.click(window.item(QStringLiteral("closeDetails")));
    QTRY_COMPARE(textOf(window.item(QStringLiteral("tileStatus"))), QStringLiteral("Failed"));
    shot(QStringLiteral("tile-corrupted-after-check"));

    // DOWNLOAD AGAIN: fetched anew, verified, reported, revealed; the finding leaves the page.
    QVERIFY(QMetaObject::invokeMethod(window.window(), "showDetails", Q_ARG(QVariant, 0)));
    window.click(window.item(QStringLiteral("downloadAgainButton")));
    QTRY_VERIFY_WITH_TIMEOUT(
        damaged->getDownloadChecksummed() && !damaged->isHidden() && reels.at(0)->isSynced(), 30000);
    QCOMPARE(readFile(folder + '/' + picture.path),
             readFile(box.server.assetRoot() + "/Stay_FTR/" + picture.path));
    QCOMPARE(check.getProblems(), QStringList());
    QCOMPARE(check.getResult(),
             QStringLiteral("The damaged files were downloaded again and verified. Check the "
                            "drive again before it goes to the cinema."));
    QTRY_VERIFY(!window.item(QStringLiteral("downloadAgainButton")));
    QVERIFY(check.canCheck(dcp));

    // Reel 2 removed with its minus icon, on an exFAT stick: both named, nothing to fetch.
    QVERIFY(QMetaObject::invokeMethod(window.window(), "showDetails", Q_ARG(QVariant, 0)));
    QTemporaryDir fixtures;
    check.setDriveRoots(exfatStick(fixtures.path(), box.downloads()));
    box.engine()->removeDownloadReel(reels.at(1));
    QVERIFY(check.canCheck(dcp));
    check.start(dcp);
    QVERIFY(finished.wait(30000));
    QCOMPARE(check.getResult(), QStringLiteral("2 problems found on the drive:"));
    QCOMPARE(check.getProblems(),
             (QStringList{"The drive uses exFAT. Most cinema servers cannot read exFAT drives.",
                          "Reel 2 of 2 is not on the drive: this composition will not play."}));
    QCOMPARE(check.damagedCount(dcp), 0);
    QTRY_COMPARE(textOf(window.item(QStringLiteral("checkResult"))), check.getResult());
    shot(QStringLiteral("report-removed-reel-on-exfat"));

    QCOMPARE(window.warnings(), QStringList());
}

QTEST_MAIN(TestDriveFindings)
#include "tst_drive_findings.moc"
