// The drive check's windows, grabbed in process for a look (build/artefacts/drivecheck): the
// box for an exFAT removable drive as the widget presenter shows it, and the details page's
// "Check drive" running, its ready result and a problem list. Fails on any QML warning.
#include "LogCapture.h"
#include "SampleDcp.h"
#include "TestSandbox.h"
#include "app/MainWindow.h"
#include "app/WidgetPrompts.h"
#include "download/DownloadManager.h"
#include "download/DriveVerifier.h"
#include "import/DriveCheck.h"
#include "model/Asset.h"
#include "model/DCP.h"
#include "model/DCPManager.h"
#include "model/Reel.h"
#include "storage/Setting.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QQmlApplicationEngine>
#include <QQmlContext>
#include <QQuickWindow>
#include <QSGRendererInterface>
#include <QScreen>
#include <QtTest>

class TestDriveCheckScreens : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void exfatBox();
    void detailsPage();

private:
    QString artefacts;
};

void TestDriveCheckScreens::initTestCase()
{
    artefacts = QStringLiteral(ORV_ARTEFACTS_DIR "/drivecheck");
    QDir(artefacts).removeRecursively();
    QVERIFY(QDir().mkpath(artefacts));
}

// What the user sees when the chosen folder is on an exFAT stick.
void TestDriveCheckScreens::exfatBox()
{
    QTemporaryDir dir;
    const QString root = dir.path();
    const QString disk = root + QStringLiteral("/sys/devices/usb1/block/sdc");
    QVERIFY(QDir().mkpath(disk + QStringLiteral("/sdc1")) &&
            QDir().mkpath(root + QStringLiteral("/sys/class/block")));
    QVERIFY(writeFile(disk + QStringLiteral("/sdc1/partition"), "1") && writeFile(disk + "/removable", "1"));
    QVERIFY(QFile::link(disk + QStringLiteral("/sdc1"), root + QStringLiteral("/sys/class/block/sdc1")));
    QVERIFY(QDir().mkpath(root + QStringLiteral("/media/FILMS/dcps")));
    QVERIFY(writeFile(root + QStringLiteral("/mountinfo"),
                      "98 22 8:33 / " + QFile::encodeName(root) + "/media/FILMS rw - exfat /dev/sdc1 rw\n"));
    DriveProbe::Roots roots;
    roots.mountInfo = root + QStringLiteral("/mountinfo");
    roots.sys = root + QStringLiteral("/sys");
    roots.dev = root + QStringLiteral("/dev");

    WidgetPrompts widgets;
    UserPrompt::setPresenter(&widgets);
    QStringList labels;
    QTimer poll;
    connect(&poll, &QTimer::timeout, this, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        poll.stop();
        box->grab().save(artefacts + QStringLiteral("/box-exfat.png"));
        labels << box->button(QMessageBox::Yes)->text() << box->button(QMessageBox::No)->text();
        QCOMPARE(static_cast<QAbstractButton*>(box->defaultButton()), box->button(QMessageBox::No));
        box->button(QMessageBox::No)->click();
    });
    poll.start(20);
    QVERIFY(!DriveCheck::confirm(root + QStringLiteral("/media/FILMS/dcps"), roots));
    UserPrompt::setPresenter(nullptr);
    QCOMPARE(labels, (QStringList{"Continue", "Choose another folder"}));
}

void TestDriveCheckScreens::detailsPage()
{
    LogCapture log;
    TestSandbox box;
    SampleDcp::Options o;
    o.title = QStringLiteral("Screens_FTR");
    o.reels = 2;
    o.pictureSize = 400000000; // long enough to be seen running
    o.soundSize = 1000000;
    DcpDescription d;
    QVERIFY(SampleDcp::generate(o, box.downloads() + QLatin1Char('/') + o.title, &d));
    DCP* dcp = box.makeDCP(d.cplUuid, d.title);
    for (int r = 1; r <= 2; ++r) {
        Reel* reel = box.addReel(dcp, QStringLiteral("reel-%1").arg(r), unsigned(r));
        for (const DcpAssetInfo& a : d.assetsOfReels({r})) {
            Asset* asset = TestSandbox::addAssetOfSize(reel, a.uuid, a.size, a.hash);
            asset->setOriginalFileName(a.path);
            asset->setDownloadFinished(true);
            asset->setDownloadChecksummed(true);
        }
    }
    box.store(dcp);

    Q_INIT_RESOURCE(qml);
    DownloadManager* engine = box.engine(); // nothing left to fetch: it stays idle
    // Corrupted files go back to the engine, which fetches them later on its event loop.
    QList<Asset*> requeued;
    connect(engine, &DownloadManager::assetNeedsRedownloading, this,
            [&](Asset* asset) { requeued.append(asset); });
    engine->pauseDownloading(true);
    MainWindow scene(box.context(), QDBusConnection(QStringLiteral("no-bus"))); // no UDisks2, no logind
    QVERIFY(scene.load());
    DriveVerifier& verifier = scene.driveCheck();
    QQuickWindow* window = scene.window();
    QVERIFY(window);
    window->resize(1100, 760);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    QTRY_VERIFY(window->property("created").toBool());
    QVERIFY(QMetaObject::invokeMethod(window, "showDetails", Q_ARG(QVariant, 0)));
    const auto shot = [&](const QString& name) {
        // A frame drawn after the last change, then grabbed.
        QSignalSpy drawn(window, &QQuickWindow::afterRendering);
        window->update();
        QVERIFY(drawn.wait(5000));
        // The software scene graph draws into the window's backing store, which the screen can grab.
        const QImage image = window->screen()->grabWindow(window->winId()).toImage();
        QVERIFY2(image.save(artefacts + QLatin1Char('/') + name + QStringLiteral(".png")), qPrintable(name));
    };
    QSignalSpy finished(&verifier, &DriveVerifier::finished);
    verifier.start(dcp);
    QTRY_VERIFY_WITH_TIMEOUT(!verifier.getRemaining().isEmpty() || !verifier.isRunning(), 30000);
    shot(QStringLiteral("check-running"));
    QVERIFY(finished.wait(60000));
    QVERIFY2(
        verifier.getResult().startsWith(QStringLiteral("Ready for the cinema: 8 files, 0.8 GB checked at ")),
        qPrintable(verifier.getResult()));
    shot(QStringLiteral("check-ready"));

    // A flipped byte and a stray hidden file.
    QFile picture(box.downloads() + QStringLiteral("/Screens_FTR/") + d.find(DcpAssetInfo::Picture, 2).path);
    QVERIFY(picture.open(QIODevice::ReadWrite) && picture.seek(4096) && picture.putChar('!'));
    picture.close();
    QVERIFY(writeFile(box.downloads() + QStringLiteral("/Screens_FTR/.sound_r1.wav.part"), "x"));
    verifier.start(dcp);
    QVERIFY(finished.wait(60000));
    QCOMPARE(verifier.getResult(), QStringLiteral("2 problems found on the drive:"));
    QCOMPARE(verifier.getProblems(),
             (QStringList{"A hidden file is left: .sound_r1.wav.part",
                          "picture_r2.mxf is corrupted: its SHA-1 differs from the PKL."}));
    shot(QStringLiteral("check-problems"));

    // Back to the queue under its hidden name, emptied, as a further attempt.
    verifier.redownloadDamaged(dcp);
    Asset* corrupted = dcp->getAsset(d.find(DcpAssetInfo::Picture, 2).uuid);
    QCOMPARE(requeued, QList<Asset*>{corrupted});
    QCOMPARE(corrupted->getOriginalFileName(), QStringLiteral(".picture_r2.mxf"));
    QCOMPARE(QFileInfo(corrupted->getFullPath()).size(), 0);
    QVERIFY(!QFile::exists(picture.fileName()));
    QVERIFY(!corrupted->getDownloadFinished() && corrupted->getDownloadAttempts() == 1);
    QCOMPARE(verifier.damagedCount(dcp), 0);

    for (const QString& line : log.lines())
        QVERIFY2(!line.contains(QLatin1String("qrc:/")) && !line.contains(QLatin1String(".qml:")),
                 qPrintable(line));
}

int main(int argc, char** argv)
{
    // Scene graph without a GPU, so the window can be grabbed on the offscreen platform.
    QQuickWindow::setSceneGraphBackend(QSGRendererInterface::Software);
    QApplication app(argc, argv);
    TestDriveCheckScreens test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_drivecheck_screens.moc"
