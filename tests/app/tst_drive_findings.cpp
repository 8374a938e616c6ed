// What is on the drive, in the main window in process against the stand-in server. What "Check
// drive" finds stays on the DCP until it is mended: a removed reel and an exFAT drive are
// named; a corrupted file marks its asset and reel corrupted (memory, store, tile, reel row,
// tray) until DOWNLOAD AGAIN fetched it anew and it verified. "Check and keep" at the import
// verifies the files already there instead of downloading them, and can be called off.
// Screenshots go to artefacts/drive-findings; any QML warning fails the test.
#include "PackageWriter.h"
#include "SampleDcp.h"
#include "ScriptedPrompts.h"
#include "TestPackages.h"
#include "TestSandbox.h"
#include "WindowUnderTest.h"
#include "app/MainWindow.h"
#include "app/WidgetPrompts.h"
#include "download/ChecksumWorker.h"
#include "download/DownloadManager.h"
#include "download/DriveVerifier.h"
#include "download/EjectAction.h"
#include "import/VolumeInfo.h"
#include "model/Asset.h"
#include "model/DCP.h"
#include "model/DCPManager.h"
#include "model/Reel.h"
#include "notify/AttentionEvents.h"
#include "notify/NotificationManager.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMessageBox>
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

void shot(const WindowUnderTest& window, const QString& name)
{
    QVERIFY(window.screenshot(QStringLiteral(ORV_ARTEFACTS_DIR "/drive-findings"), name));
}

QString textOf(const QQuickItem* item)
{
    return item ? item->property("text").toString() : QStringLiteral("<none>");
}

// A DCP the stand-in serves, and its package; reels given as "<reel>:<visible|hidden>" are on
// the drive from an earlier run under those names.
struct KeptDcp
{
    DcpDescription d;
    QString served, drive, package;

    KeptDcp(TestSandbox& box, const QString& title, int reels, const QStringList& onDrive)
    {
        SampleDcp::Options o;
        o.title = title;
        o.reels = reels;
        o.pictureSize = 300000;
        o.soundSize = 70000;
        served = box.server.assetRoot() + '/' + title;
        drive = box.downloads() + '/' + title;
        SampleDcp::generate(o, served, &d);
        for (const QString& reel : onDrive) {
            for (const DcpAssetInfo& a : d.assetsOfReels({reel.section(':', 0, 0).toInt()})) {
                const QString copy = path(a, reel.endsWith(QLatin1String("hidden")));
                QDir().mkpath(QFileInfo(copy).path());
                QFile::copy(served + '/' + a.path, copy);
            }
        }
        QList<int> all;
        for (int r = 1; r <= reels; ++r)
            all << r;
        package = packageOf(box, all);
    }
    QString packageOf(TestSandbox& box, const QList<int>& reels) const
    {
        PackageWriter::EntryOptions e;
        e.reels = reels;
        e.assetBaseUrl = box.server.baseUrl().toString() + "/assets/" + d.title + '/';
        e.friendlyTitle = d.title;
        return box.writePackage(PackageWriter::document(testUser(), {PackageWriter::entry(d, e)}, 1000),
                                QStringLiteral("reels%1.orvdcp").arg(reels.size()));
    }
    QString path(const DcpAssetInfo& a, bool hidden) const
    {
        return drive + '/' + (hidden ? QStringLiteral(".") : QString()) + a.path;
    }
};
} // namespace

class TestDriveFindings : public QObject
{
    Q_OBJECT

private slots:
    void findingsStayUntilMended();
    void checkAndKeep();
    void stopCheckingKept();
};

void TestDriveFindings::findingsStayUntilMended()
{
    // Downloaded, verified, reported and revealed (kept from the drive, which is quicker here).
    TestSandbox box(TestSandbox::WithServer);
    KeptDcp kept(box, QStringLiteral("Stay_FTR"), 2, {"1:visible", "2:visible"});
    const DcpDescription& d = kept.d;
    const QString folder = kept.drive;
    WindowUnderTest window;
    QVERIFY(window.load(box));
    window.window()->resize(1100, 760);
    ScriptedPrompts prompts;
    prompts.answerPath(box.downloads());
    prompts.answer(Prompt::Apply);
    box.import(kept.package);
    DCP* dcp = box.catalogue()->getDCP(d.cplUuid);
    QVERIFY(dcp);
    const QList<Reel*> reels = dcp->getReels();
    QTRY_VERIFY_WITH_TIMEOUT(reels.at(0)->isSynced() && reels.at(1)->isSynced(), 30000);
    QSignalSpy told(&window.scene()->attention(), &AttentionEvents::raised);
    DriveVerifier& check = window.scene()->driveCheck();
    QSignalSpy finished(&check, &DriveVerifier::finished);
    QVERIFY(QMetaObject::invokeMethod(window.window(), "showDetails", Q_ARG(QVariant, 0)));
    QCOMPARE(check.damagedCount(dcp), 0);

    // A flipped byte: the reel is corrupted in memory, in the store and on screen.
    const DcpAssetInfo picture = d.find(DcpAssetInfo::Picture, 1);
    QFile file(folder + '/' + picture.path);
    QVERIFY(file.open(QIODevice::ReadWrite) && file.seek(4096) && file.putChar('!'));
    file.close();
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
    QCOMPARE(told.first().at(0).value<AttentionEvent>().text,
             QStringLiteral("Stay_FTR: reel 1 is corrupted"));
    QCOMPARE(check.damagedCount(dcp), 1);
    QTRY_COMPARE(textOf(window.item(QStringLiteral("reelStatus"))), QStringLiteral("Corrupted"));
    QVERIFY(window.item(QStringLiteral("downloadAgainButton")));
    QVERIFY(!window.item(QStringLiteral("checkDriveButton")));
    shot(window, QStringLiteral("details-corrupted-after-check"));
    window.click(window.item(QStringLiteral("closeDetails")));
    QTRY_COMPARE(textOf(window.item(QStringLiteral("tileStatus"))), QStringLiteral("Failed"));
    shot(window, QStringLiteral("tile-corrupted-after-check"));

    // DOWNLOAD AGAIN: fetched anew, verified, reported, revealed; the finding leaves the page.
    QVERIFY(QMetaObject::invokeMethod(window.window(), "showDetails", Q_ARG(QVariant, 0)));
    window.click(window.item(QStringLiteral("downloadAgainButton")));
    QTRY_VERIFY_WITH_TIMEOUT(
        damaged->getDownloadChecksummed() && !damaged->isHidden() && reels.at(0)->isSynced(), 30000);
    QVERIFY(TestSandbox::events(reels.at(0)).contains(NotificationType::ChecksumFailed)); // the service hears
    QCOMPARE(readFile(folder + '/' + picture.path), readFile(kept.served + '/' + picture.path));
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
    shot(window, QStringLiteral("report-removed-reel-on-exfat"));

    QCOMPARE(window.warnings(), QStringList());
}

// A drive from an earlier run under a new store: reel 1 complete under its final names, reel 2
// hidden with its sound corrupted and its picture cut short. Only those two are fetched; the
// page then says how long the portal keeps the files hidden, and at the last confirmation the
// page and the tray say, once, that the drive may go.
void TestDriveFindings::checkAndKeep()
{
    TestSandbox box(TestSandbox::WithServer);
    KeptDcp kept(box, QStringLiteral("Keep_FTR"), 2, {"1:visible", "2:hidden"});
    const DcpDescription& d = kept.d;
    const DcpAssetInfo sound2 = d.find(DcpAssetInfo::Sound, 2), picture2 = d.find(DcpAssetInfo::Picture, 2);
    QFile sound(kept.path(sound2, true));
    QVERIFY(sound.open(QIODevice::ReadWrite) && sound.seek(100) && sound.putChar('!'));
    sound.close();
    QVERIFY(QFile::resize(kept.path(picture2, true), 100000));
    WindowUnderTest window;
    QVERIFY(window.load(box, 60000)); // one report a minute: they wait
    window.window()->resize(1100, 760);
    ChecksumWorker* worker = box.engine()->getChecksumWorker();
    worker->hold(true); // the kept files wait to be seen waiting
    worker->setProgressInterval(0);
    EjectAction& eject = window.scene()->ejectAction();
    eject.setFixedVolumes({}); // the sandbox's disk stands for the drive
    QSignalSpy told(&window.scene()->attention(), &AttentionEvents::raised);

    // The conflict box as the user sees it, answered with its third button.
    WidgetPrompts widgets;
    QStringList labels;
    UserPrompt::setResponder([&](const PromptRequest& request) {
        PromptAnswer answer;
        if (request.kind == PromptRequest::Directory) {
            answer.path = box.downloads();
            return answer;
        }
        QTimer::singleShot(100, [&] {
            auto* question = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(question);
            question->grab().save(QStringLiteral(ORV_ARTEFACTS_DIR "/drive-findings/keep-box.png"));
            for (QAbstractButton* button : question->buttons())
                labels << button->text();
            question->button(QMessageBox::Apply)->click();
        });
        return widgets.ask(request);
    });
    box.import(kept.package);
    UserPrompt::setResponder(nullptr);
    labels.sort();
    QCOMPARE(labels, (QStringList{"&Check and keep", "&No", "&Yes"}));

    // Nothing removed; the good files wait for their check under hidden names, the cut one resumes.
    DCP* dcp = box.catalogue()->getDCP(d.cplUuid);
    QVERIFY(dcp);
    const QList<Reel*> reels = dcp->getReels();
    for (const DcpAssetInfo& a : d.assetsOfReels({1, 2}))
        QVERIFY2(QFileInfo(kept.path(a, true)).isFile(), qPrintable(a.path));
    QCOMPARE(box.engine()->keptUnchecked(dcp), 3);
    QVERIFY(QMetaObject::invokeMethod(window.window(), "showDetails", Q_ARG(QVariant, 0)));
    QTRY_COMPARE(textOf(window.item(QStringLiteral("keptStatus"))),
                 QStringLiteral("Checking the 3 files kept on the drive\u2026"));
    shot(window, QStringLiteral("keep-checking"));
    window.click(window.item(QStringLiteral("closeDetails")));
    QTRY_COMPARE(textOf(window.item(QStringLiteral("tileStatus"))), QStringLiteral("Validating reel 1"));
    shot(window, QStringLiteral("keep-checking-tile"));

    QList<double> checked;
    connect(reels.first(), &Reel::checkProgressChanged, this,
            [&] { checked << reels.first()->getCheckProgress(); });
    worker->hold(false);
    QTRY_VERIFY_WITH_TIMEOUT(reels.at(0)->isChecksummed() && reels.at(1)->isChecksummed(), 30000);
    // The kept files' identity is recorded as any verified file's, so the reveal takes them.
    QCOMPARE(TestSandbox::rowCount(QStringLiteral("verified_file"), "dcp_uuid = '" + d.cplUuid + "'"),
             d.assetsOfReels({1, 2}).size());
    QVERIFY2(checked.size() >= 2 && checked.first() > 0 && checked.last() == 0,
             qPrintable(QString::number(checked.size())));
    for (const DcpAssetInfo& a : d.assetsOfReels({1, 2})) {
        // Only the two bad files were asked for, from where each had to start (a stall on a busy
        // machine may ask again later).
        const QStringList ranges = box.rangesFor(QStringLiteral("Keep_FTR/") + a.path);
        if (a.uuid == sound2.uuid || a.uuid == picture2.uuid)
            QCOMPARE(ranges.value(0),
                     a.uuid == sound2.uuid ? QStringLiteral("bytes=0-") : QStringLiteral("bytes=100000-"));
        else
            QCOMPARE(ranges, QStringList());
    }

    // Verified, the reports waiting: the files stay hidden for about one minute a report.
    QVERIFY(QMetaObject::invokeMethod(window.window(), "showDetails", Q_ARG(QVariant, 0)));
    dcp->announceStatus();
    const int reports = box.notifications(60000)->getQueue().size();
    QVERIFY(reports >= 8); // started, downloaded, checksum started and passed, for each reel
    QCOMPARE(textOf(window.item(QStringLiteral("unplugStatus"))),
             QStringLiteral("Files stay hidden until the portal confirms them: about %1 min.").arg(reports));
    shot(window, QStringLiteral("unplug-waiting"));
    box.notifications(50);
    QTRY_VERIFY_WITH_TIMEOUT(reels.at(0)->isSynced() && reels.at(1)->isSynced(), 30000);
    QTRY_COMPARE(textOf(window.item(QStringLiteral("unplugStatus"))),
                 QStringLiteral("Ready to unplug: every DCP on this drive is verified and confirmed."));
    QVERIFY(window.item(QStringLiteral("ejectButton")));
    shot(window, QStringLiteral("unplug-ready"));
    for (const DcpAssetInfo& a : d.assetsOfReels({1, 2}))
        QCOMPARE(readFile(kept.path(a, false)), readFile(kept.served + '/' + a.path));
    dcp->announceStatus();
    QTRY_COMPARE(told.size(), 1);
    QCOMPARE(told.first().at(0).value<AttentionEvent>().text,
             QStringLiteral("Keep_FTR is ready: every reel verified. The drive %1 can be unplugged.")
                 .arg(eject.readyDrive(dcp)));

    // Reported as downloaded reels are; the corrupted sound failed once.
    const QList<int> events1 = TestSandbox::events(reels.at(0));
    QVERIFY(events1.contains(1) && events1.contains(2) && events1.contains(8) && !events1.contains(7));
    QVERIFY(TestSandbox::events(reels.at(1)).contains(7));
    QCOMPARE(box.engine()->keptUnchecked(dcp), 0);
    QCOMPARE(window.warnings(), QStringList());
}

// Kept files of a reel merged into a DCP already downloading: called off while they wait, No
// changes nothing, Yes downloads them instead.
void TestDriveFindings::stopCheckingKept()
{
    TestSandbox box(TestSandbox::WithServer);
    KeptDcp kept(box, QStringLiteral("Stop_FTR"), 2, {"2:visible"});
    ChecksumWorker* worker = box.engine()->getChecksumWorker();
    worker->hold(true);
    ScriptedPrompts prompts;
    prompts.answerPath(box.downloads());
    box.import(kept.packageOf(box, {1}));
    prompts.answer(Prompt::Ok); // "... will be merged."
    prompts.answer(Prompt::Apply);
    box.import(kept.package);
    DCP* dcp = box.catalogue()->getDCP(kept.d.cplUuid);
    QVERIFY(dcp && dcp->getReels().size() == 2);
    Reel* second = dcp->getReels().at(1);
    QVERIFY(worker->haveReel(second));
    QCOMPARE(box.engine()->keptUnchecked(dcp), 2);

    prompts.answer(Prompt::No);
    box.engine()->stopCheckingKept(dcp);
    QCOMPARE(prompts.last().text, QStringLiteral("Stop checking the files kept on the drive?"));
    QCOMPARE(prompts.last().informativeText,
             QStringLiteral("The 2 files not checked yet will be downloaded again from the server instead, "
                            "replacing what the drive holds."));
    QCOMPARE(box.engine()->keptUnchecked(dcp), 2);
    prompts.answer(Prompt::Yes);
    box.engine()->stopCheckingKept(dcp);
    QCOMPARE(box.engine()->keptUnchecked(dcp), 0);
    QVERIFY(!worker->haveReel(second));
    worker->hold(false);
    box.notifications(50);
    QTRY_VERIFY_WITH_TIMEOUT(dcp->getReels().at(0)->isSynced() && second->isSynced(), 30000);
    for (const DcpAssetInfo& a : kept.d.assetsOfReels({2})) {
        QCOMPARE(box.rangesFor(QStringLiteral("Stop_FTR/") + a.path).value(0), QStringLiteral("bytes=0-"));
        QCOMPARE(readFile(kept.path(a, false)), readFile(kept.served + '/' + a.path));
    }
    QVERIFY(!TestSandbox::events(second).contains(7));
}

QTEST_MAIN(TestDriveFindings)
#include "tst_drive_findings.moc"
