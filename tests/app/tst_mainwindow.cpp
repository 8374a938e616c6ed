#include "ProgramDriver.h"
#include "app/AppContext.h"
#include "StandInServer.h"
#include "model/Asset.h"
#include "model/DCP.h"
#include "model/DCPManager.h"
#include "model/Reel.h"
#include "notify/Notification.h"
#include "storage/DatabaseManager.h"
#include "storage/Setting.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QUrl>
#include <QtTest>

#include <memory>

// Walks the real program's main window under Xvfb with xdotool: the empty grid, the
// speed limit and the no-limit switch kept over a restart, a store holding DCPs in
// each state, a running download, a search without match, the details page and the
// files button. Screenshots stay in the build tree (artefacts/mainwindow) for a look;
// the run fails on any QML warning in debug.log.
class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void windowFlow();

private:
    // Starts the program, logs in and waits for the main window, moved to the screen's corner.
    bool startProgram();
    bool quitProgram();
    QString log() const { return m_driver->log(); }
    // What the program handed to the desktop opener, one line each.
    QStringList opened() const;
    void clickAt(int x, int y) const;
    void screenshot(const QString& name) const;
    void prepareCatalogue();
    void dropPackage(const QString& package);
    void answerBoxes(const QString& screenshotName, const QString& key = QStringLiteral("Escape"));

    std::unique_ptr<StandInServer> m_server;
    std::unique_ptr<ProgramDriver> m_driver;
    QString m_window;
    QString m_artefacts;
    QString m_mixedFolder;
};

namespace {
const char kMainTitle[] = "^Reelvane Downloader 1\\.4\\.0";

QByteArray poster(QRgb colour)
{
    QImage image(200, 303, QImage::Format_RGB32);
    image.fill(colour);
    for (int y = 120; y < 180; ++y) {
        for (int x = 40; x < 160; ++x)
            image.setPixel(x, y, qRgb(240, 240, 240));
    }
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return buffer.data();
}
} // namespace

void TestMainWindow::initTestCase()
{
    m_artefacts = QStringLiteral(ORV_ARTEFACTS_DIR "/mainwindow");
    QDir(m_artefacts).removeRecursively();
    QVERIFY(QDir().mkpath(m_artefacts));

    m_server = std::make_unique<StandInServer>();
    QVERIFY(m_server->listen());
    StandInServer::NotifyFault held;
    held.neverAnswer = true; // reels that wait for the service stay "Notifying"
    m_server->setNotificationFault(held);

    m_driver = std::make_unique<ProgramDriver>(QStringLiteral(ORV_PROGRAM_PATH));
    const QString sandbox = m_driver->sandbox();
    QVERIFY(QDir(sandbox).mkpath(QStringLiteral("bin")));
    // Records what the program hands to the desktop instead of opening it.
    QFile script(sandbox + QStringLiteral("/bin/xdg-open"));
    QVERIFY(script.open(QIODevice::WriteOnly));
    script.write(
        QStringLiteral("#!/bin/sh\nprintf '%s\\n' \"$@\" >> '%1/opened.txt'\n").arg(sandbox).toUtf8());
    script.close();
    QVERIFY(script.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner));
    m_driver->setEnvironment(QStringLiteral("PATH"),
                             sandbox + QStringLiteral("/bin:") + qEnvironmentVariable("PATH"));
    // Without a desktop named, Qt hands addresses and folders to xdg-open.
    for (const char* name : {"XDG_CURRENT_DESKTOP", "DESKTOP_SESSION", "KDE_FULL_SESSION", "BROWSER",
                             "DEFAULT_BROWSER", "GNOME_DESKTOP_SESSION_ID"})
        m_driver->unsetEnvironment(QString::fromLatin1(name));
    m_driver->setEnvironment(QStringLiteral("ORV_PORTAL_URL"), m_server->portalBaseUrl());
    m_driver->setEnvironment(QStringLiteral("ORV_NOTIFY_URL"), m_server->notificationBaseUrl());
}

void TestMainWindow::cleanupTestCase()
{
    if (!m_driver)
        return;
    m_driver->killAll();
    QFile::copy(m_driver->appFolder() + QStringLiteral("/debug.log"),
                m_artefacts + QStringLiteral("/debug.log"));
    m_driver->removeOrphanedMarker();
    m_driver.reset();
}

bool TestMainWindow::startProgram()
{
    const QProcess* program = m_driver->start();
    if (!program)
        return false;
    // The stored user name puts the focus on the password.
    const QString login = m_driver->waitForWindowOf(*program, QStringLiteral("^Login$"), 30000);
    if (login.isEmpty())
        return false;
    QTest::qWait(200); // let the dialog settle its focus
    m_driver->type(login, QStringLiteral("secret"));
    m_driver->key(login, QStringLiteral("Return"));
    m_window = m_driver->waitForWindowOf(*program, QLatin1String(kMainTitle), 30000);
    if (m_window.isEmpty())
        return false;
    m_driver->moveWindow(m_window, 0, 0);
    QTest::qWait(1500); // first frame, covers
    return true;
}

bool TestMainWindow::quitProgram()
{
    QProcess& program = m_driver->process();
    QSignalSpy finished(&program, qOverload<int, QProcess::ExitStatus>(&QProcess::finished));
    m_driver->key(m_window, QStringLiteral("ctrl+q"));
    return (program.state() == QProcess::NotRunning || finished.wait(15000)) &&
           program.exitStatus() == QProcess::NormalExit && program.exitCode() == 0;
}

QStringList TestMainWindow::opened() const
{
    QFile record(m_driver->sandbox() + QStringLiteral("/opened.txt"));
    return record.open(QIODevice::ReadOnly)
               ? QString::fromUtf8(record.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts)
               : QStringList();
}

void TestMainWindow::clickAt(int x, int y) const
{
    m_driver->click(m_window, x, y);
    QTest::qWait(600);
}

void TestMainWindow::screenshot(const QString& name) const
{
    const QString path = m_artefacts + QLatin1Char('/') + name + QStringLiteral(".png");
    m_driver->screenshot(path);
    qInfo("screenshot: %s", qPrintable(path));
}

// Drags the file from a small window below the main one and drops it on the grid, with
// real XDND events as from a file manager.
void TestMainWindow::dropPackage(const QString& package)
{
    QProcess source;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_driver->sandbox() + QStringLiteral("/tmp"));
    source.setProcessEnvironment(env);
    source.start(QStringLiteral(ORV_DRAGSOURCE_PATH), {package, QStringLiteral("20"), QStringLiteral("850")});
    QVERIFY(source.waitForStarted(10000));
    QVERIFY2(!m_driver->waitForWindowOf(source, QStringLiteral("^orv drag source$"), 10000).isEmpty(),
             "the drag source did not show");
    QTest::qWait(300);
    m_driver->drag(QString(), QPoint(70, 900), QPoint(500, 400), 7, 150);
    QVERIFY(source.waitForFinished(15000));
    QCOMPARE(QString::fromLatin1(source.readAllStandardOutput()).trimmed(), QStringLiteral("dropped"));
}

// Answers every box the program shows with the key (Escape: cancel or the only button;
// Return: the default button), keeping a screenshot of the first.
void TestMainWindow::answerBoxes(const QString& screenshotName, const QString& key)
{
    bool shot = false;
    for (QString box = m_driver->waitForBox(5000); !box.isEmpty(); box = m_driver->waitForBox(5000)) {
        if (!shot) {
            QTest::qWait(500);
            screenshot(screenshotName);
            shot = true;
        }
        m_driver->key(box, key);
        QTest::qWait(500);
    }
}

// DCPs in each state, written through the model as an import would, with the flags and
// journal rows a finished, corrupted or still reported reel has.
void TestMainWindow::prepareCatalogue()
{
    const QString sandbox = m_driver->sandbox();
    AppContext context(m_driver->appFolder());
    const QString server = m_server->baseUrl().toString();
    int serial = 0;

    auto makeDcp = [&](const QString& title, const QString& friendly, const QString& folder,
                       const QString& cover) {
        auto* dcp =
            new DCP(QStringLiteral("dc000000-0000-4000-8000-%1").arg(++serial, 12, 10, QLatin1Char('0')),
                    title, cover, folder);
        dcp->setFriendlyTitle(friendly);
        dcp->setUserUUID(QStringLiteral("0b0b0b0b-0000-4000-8000-000000000001"));
        dcp->setCampaignDCPId(serial);
        QDir().mkpath(folder + QLatin1Char('/') + title);
        return dcp;
    };
    // state: "done", "corrupted", "reporting" or "pending"
    auto addReel = [&](DCP* dcp, unsigned number, quint64 size, const QString& state, const QString& path) {
        const QString reelUuid =
            QStringLiteral("ee000000-0000-4000-8000-%1").arg(++serial, 12, 10, QLatin1Char('0'));
        auto* reel = new Reel(reelUuid, number);
        reel->setDCP(dcp);
        dcp->addReel(reel);
        const QString assetUuid =
            QStringLiteral("aa000000-0000-4000-8000-%1").arg(++serial, 12, 10, QLatin1Char('0'));
        auto* asset = new Asset(assetUuid, QStringLiteral("2jmj7l5rSw0yVb/vlWAYkK/YBwk="), size,
                                QStringLiteral("application/mxf"),
                                QStringLiteral(".") + assetUuid + QStringLiteral(".mxf"),
                                server + QStringLiteral("/assets/") + path);
        asset->setDCP(dcp);
        asset->addReel(reel);
        reel->addAsset(asset);
        dcp->addAsset(asset);
        const bool finished = state != QLatin1String("pending");
        asset->setDownloadStarted(finished);
        asset->setDownloadFinished(finished);
        asset->setDownloadChecksummed(state == QLatin1String("done") || state == QLatin1String("reporting"));
        asset->setDownloadCorrupted(state == QLatin1String("corrupted"));
        asset->setDownloadAttempts(state == QLatin1String("corrupted") ? 2 : 0);
        return reel;
    };

    m_server->setAssetData(QStringLiteral("poster-red.png"), poster(qRgb(150, 20, 30)));
    m_server->setAssetData(QStringLiteral("poster-blue.png"), poster(qRgb(30, 60, 150)));
    m_server->setAssetData(QStringLiteral("poster-green.png"), poster(qRgb(30, 130, 60)));
    const QString downloads = sandbox + QStringLiteral("/downloads");
    // Every blank, "#", "?" and "%" that a folder name may hold, for the files button.
    const QString oddFolder = sandbox + QStringLiteral("/Drive #1 ?50% off");
    const quint64 gib = 1024ull * 1024 * 1024;

    DCP* completed = makeDcp(QStringLiteral("Complete_FTR"), QStringLiteral("The Complete Film"), downloads,
                             server + QStringLiteral("/assets/poster-green.png"));
    addReel(completed, 1, gib, QStringLiteral("done"), QStringLiteral("c1.mxf"));
    addReel(completed, 2, gib / 2, QStringLiteral("done"), QStringLiteral("c2.mxf"));

    // Its cover address answers 404: the tile keeps the placeholder, without a warning.
    DCP* pending = makeDcp(QStringLiteral("Waiting_FTR"), QStringLiteral("Waiting In Line"), downloads,
                           server + QStringLiteral("/assets/no-such-poster.png"));
    for (unsigned n = 1; n <= 3; ++n)
        addReel(pending, n, 2 * 1024 * 1024, QStringLiteral("pending"), QStringLiteral("w%1.mxf").arg(n));

    DCP* mixed = makeDcp(QStringLiteral("Mixed_FTR"), QStringLiteral("A Film Of Every State"), oddFolder,
                         server + QStringLiteral("/assets/poster-red.png"));
    addReel(mixed, 1, 300 * 1024 * 1024, QStringLiteral("done"), QStringLiteral("m1.mxf"));
    addReel(mixed, 2, 250 * 1024 * 1024, QStringLiteral("corrupted"), QStringLiteral("m2.mxf"));
    Reel* reporting =
        addReel(mixed, 3, 200 * 1024 * 1024, QStringLiteral("reporting"), QStringLiteral("m3.mxf"));
    addReel(mixed, 4, 2 * 1024 * 1024, QStringLiteral("pending"), QStringLiteral("m4.mxf"));
    m_mixedFolder = oddFolder + QStringLiteral("/Mixed_FTR");

    // Newest, so first in the queue: served slowly enough to watch.
    DCP* running = makeDcp(QStringLiteral("Running_FTR"), QStringLiteral("Now Downloading"), downloads,
                           server + QStringLiteral("/assets/poster-blue.png"));
    addReel(running, 1, 24 * 1024 * 1024, QStringLiteral("pending"), QStringLiteral("r1.mxf"));
    addReel(running, 2, 1024 * 1024, QStringLiteral("pending"), QStringLiteral("r2.mxf"));
    m_server->setAssetData(QStringLiteral("r1.mxf"), QByteArray(24 * 1024 * 1024, 'r'));
    StandInServer::AssetFault slow;
    slow.throttleBytesPerSecond = 400 * 1024;
    m_server->setAssetFault(QStringLiteral("r1.mxf"), slow);

    for (DCP* dcp : {completed, pending, mixed, running})
        dcp->syncToDatabase();
    Notification unsent(mixed->getUserUUID(), mixed->getCampaignDCPId(), reporting->getUuid(),
                        QStringLiteral("%1-").arg(reporting->getDbId()), 3, NotificationType::ChecksumOk,
                        false);
    DatabaseManager::getInstance()->insertNotification(&unsent);
}

void TestMainWindow::windowFlow()
{
    REQUIRE_DISPLAY();
    if (QStandardPaths::findExecutable(QStringLiteral("import")).isEmpty())
        QSKIP("needs import (ImageMagick) for the screenshots");
    const QString sandbox = m_driver->sandbox();
    const QString running = QLatin1String(kMainTitle) + QStringLiteral(" \u2014 [0-9]+%$");
    // The stored user name, so that the login only asks for the password.
    {
        AppContext context(m_driver->appFolder());
        context.settings().set(QStringLiteral("username"), QStringLiteral("user"));
        context.settings().save();
    }

    // An empty catalogue: the instructions.
    QVERIFY2(startProgram(), qPrintable(log()));
    QVERIFY(log().contains(QStringLiteral("[MainWindow] Speed limit: 200 (no limit off)")));
    screenshot(QStringLiteral("01-empty-grid-instructions"));

    // Drag the limit handle from its top (200, far right) to the middle, then switch the
    // limit off; both are stored at once.
    const int barY = 737;
    m_driver->drag(m_window, QPoint(330, barY), QPoint(220, barY), 7, 50);
    QVERIFY2(m_driver->waitForLog(QStringLiteral("[MainWindow] Speed limit saved:")), qPrintable(log()));
    const QRegularExpression saved(QStringLiteral("Speed limit saved: (\\d+)"));
    const int limit = saved.match(log()).captured(1).toInt();
    QVERIFY2(limit > 1 && limit < 200, qPrintable(QString::number(limit)));
    clickAt(466, barY);
    QVERIFY2(m_driver->waitForLog(QStringLiteral("[MainWindow] No limit: on")), qPrintable(log()));
    screenshot(QStringLiteral("02-limit-and-no-limit-set"));

    // A package dropped on the window takes the road of "Load File", as a plain path even
    // with "#" and blanks in its name. What the catalogue then says is answered.
    const QString package = sandbox + QStringLiteral("/My Film #1.orvdcp");
    QFile packageFile(package);
    QVERIFY(packageFile.open(QIODevice::WriteOnly));
    packageFile.write("not decoded here");
    packageFile.close();
    dropPackage(package);
    QVERIFY2(m_driver->waitForLog(QStringLiteral("[MainWindow] Package dropped: ") + package),
             qPrintable(log()));
    // Each load of the file ends in one refusal: the catalogue's, or the reader's once it read it.
    const auto refusals = [&] {
        return log().count(QStringLiteral("Unable to load DCP file \"") + package + QLatin1Char('"')) +
               log().count(QStringLiteral("[DCPXMLReader] Cannot parse the JSON package"));
    };
    QTRY_VERIFY2_WITH_TIMEOUT(refusals() == 1, qPrintable(log()), 20000);
    answerBoxes(QStringLiteral("03-dropped-package-answer"));

    // Ctrl+O: the package dialog; the same file chosen there takes the same road.
    m_driver->key(m_window, QStringLiteral("ctrl+o"));
    const QString dialog =
        m_driver->waitForWindowOf(m_driver->process(), QStringLiteral("^Please choose a file$"), 10000);
    QVERIFY2(!dialog.isEmpty(), "Ctrl+O showed no package dialog");
    QTest::qWait(500);
    m_driver->type(dialog, package);
    QTest::qWait(300);
    screenshot(QStringLiteral("03b-package-dialog"));
    m_driver->key(dialog, QStringLiteral("Return"));
    QTRY_VERIFY2_WITH_TIMEOUT(refusals() == 2, qPrintable(log()), 10000);
    answerBoxes(QStringLiteral("03c-chosen-package-answer"));
    QVERIFY2(quitProgram(), "Ctrl+Q did not end the program with exit code 0");

    // DCPs in every state, and the choices of the last run back in place.
    prepareCatalogue();
    QVERIFY2(startProgram(), qPrintable(log()));
    QVERIFY2(log().contains(QStringLiteral("[MainWindow] Speed limit: %1 (no limit on)").arg(limit)),
             qPrintable(log()));
    // A running download shows its DCP's progress in the title.
    QVERIFY2(!m_driver->waitForWindowOf(m_driver->process(), running).isEmpty(), qPrintable(log()));
    QTest::qWait(2000);
    screenshot(QStringLiteral("04-grid-tiles-download-remaining-time"));

    // A search without match; then back to every tile.
    clickAt(600, 62);
    m_driver->type(m_window, QStringLiteral("zzz"));
    QTest::qWait(800);
    screenshot(QStringLiteral("05-search-no-match"));
    for (int i = 0; i < 3; ++i)
        m_driver->key(m_window, QStringLiteral("BackSpace"));
    QTest::qWait(800);

    // The details page of the DCP whose reels are in every state (second tile: newest first).
    clickAt(110 + 210 + 100, 165 + 150);
    QTest::qWait(1000);
    screenshot(QStringLiteral("06-details-reel-rows"));

    // Its files button opens the folder whose name holds "#", "?", "%" and blanks.
    clickAt(310, 567);
    QTRY_VERIFY2_WITH_TIMEOUT(!opened().isEmpty(), "the files button opened nothing", 10000);
    QCOMPARE(QUrl(opened().first()).toLocalFile(), m_mixedFolder);

    clickAt(165, 57); // close the details page
    QTest::qWait(500);

    // The running DCP's page: its first reel shows the speed.
    clickAt(110 + 100, 165 + 150);
    QTest::qWait(1500);
    screenshot(QStringLiteral("07-details-reel-downloading"));
    clickAt(165, 57);
    QTest::qWait(500);

    // "LAUNCH OSKAN" opens the portal.
    clickAt(50, 332);
    QTRY_VERIFY2_WITH_TIMEOUT(opened().contains(m_server->portalBaseUrl()), "the portal was not opened",
                              10000);

    // The DCP waiting in line (third tile): one reel removed from its page, then the DCP
    // deleted, while the download of another runs; their delegates go without a warning.
    clickAt(110 + 2 * 210 + 100, 165 + 150);
    QTest::qWait(800);
    clickAt(924, 207);
    answerBoxes(QStringLiteral("08-remove-reel-question"), QStringLiteral("Return"));
    QVERIFY2(m_driver->waitForLog(QStringLiteral("[DownloadManager] Emitting reelsChanged...")),
             qPrintable(log()));
    QTest::qWait(800);
    screenshot(QStringLiteral("09-details-after-reel-removed"));
    clickAt(415, 139);
    answerBoxes(QStringLiteral("10-delete-dcp-question"), QStringLiteral("Return"));
    QTest::qWait(800);
    screenshot(QStringLiteral("11-grid-after-delete"));
    QVERIFY2(log().contains(QStringLiteral("Removing Reel... ")), qPrintable(log()));
    // Paused: the plain title again, and the button offers to resume.
    clickAt(50, 252);
    QVERIFY2(
        !m_driver->waitForWindowOf(m_driver->process(), QLatin1String(kMainTitle) + QLatin1Char('$'), 10000)
             .isEmpty(),
        qPrintable(log()));
    QTest::qWait(500);
    screenshot(QStringLiteral("12-paused-grid"));
    QVERIFY2(quitProgram(), "Ctrl+Q did not end the program with exit code 0");

    // Paused at the last exit: the start asks, and Yes resumes.
    QVERIFY2(startProgram(), qPrintable(log()));
    answerBoxes(QStringLiteral("13-resume-question"), QStringLiteral("Return"));
    QVERIFY2(!m_driver->waitForWindowOf(m_driver->process(), running).isEmpty(), qPrintable(log()));
    QVERIFY2(quitProgram(), "Ctrl+Q did not end the program with exit code 0");

    const QStringList warnings = m_driver->qmlWarnings();
    QVERIFY2(warnings.isEmpty(), qPrintable(warnings.join(QLatin1Char('\n'))));
}

QTEST_GUILESS_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
