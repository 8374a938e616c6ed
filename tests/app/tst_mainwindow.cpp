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
#include <QSharedMemory>
#include <QStandardPaths>
#include <QTemporaryDir>
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
    void startProgram();
    bool quitProgram();
    QString log() const;
    bool waitForLog(const QString& text, int timeoutMs = 20000) const;
    static bool waitForFileLine(const QString& path, const QString& line);
    QString findWindow(const QString& namePattern) const;
    bool waitForMainWindow();
    bool waitForTitle(const QString& pattern, int timeoutMs);
    void xdo(const QStringList& arguments) const;
    void clickAt(int x, int y) const;
    QString screenshot(const QString& name) const;
    void prepareCatalogue();
    void dropPackage(const QString& package);
    void answerBoxes(const QString& screenshotName, const QString& key = QStringLiteral("Escape"));
    QString qmlWarnings() const;

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<StandInServer> m_server;
    std::unique_ptr<QProcess> m_program;
    QString m_window;
    QString m_artefacts;
    QString m_mixedFolder;
};

namespace {
const char kMainTitle[] = "Reelvane Downloader 1.4.0";

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

#define REQUIRE_DISPLAY()                                                                                    \
    do {                                                                                                     \
        if (qEnvironmentVariableIsEmpty("DISPLAY"))                                                          \
            QSKIP("needs an X display (run under xvfb-run)");                                                \
        for (const char* tool : {"xdotool", "import"}) {                                                     \
            if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())                         \
                QSKIP(qPrintable(QStringLiteral("needs ") + QString::fromLatin1(tool)));                     \
        }                                                                                                    \
    } while (false)

void TestMainWindow::initTestCase()
{
    m_artefacts = QStringLiteral(ORV_ARTEFACTS_DIR "/mainwindow");
    QDir(m_artefacts).removeRecursively();
    QVERIFY(QDir().mkpath(m_artefacts));

    m_dir.reset(new QTemporaryDir());
    QVERIFY(m_dir->isValid());
    const QString sandbox = m_dir->path();
    QVERIFY(QFile::copy(QStringLiteral(ORV_PROGRAM_PATH), sandbox + QStringLiteral("/reelvane-downloader")));
    QVERIFY(QDir(sandbox).mkpath(QStringLiteral("tmp")));
    QFile::setPermissions(sandbox + QStringLiteral("/tmp"),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QVERIFY(QDir(sandbox).mkpath(QStringLiteral("bin")));
    // Records what the program hands to the desktop instead of opening it.
    const QString opener = sandbox + QStringLiteral("/bin/xdg-open");
    QFile script(opener);
    QVERIFY(script.open(QIODevice::WriteOnly));
    script.write(
        QStringLiteral("#!/bin/sh\nprintf '%s\\n' \"$@\" >> '%1/opened.txt'\n").arg(sandbox).toUtf8());
    script.close();
    QVERIFY(script.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner));

    m_server.reset(new StandInServer());
    QVERIFY(m_server->listen());
    StandInServer::NotifyFault held;
    held.neverAnswer = true; // reels that wait for the service stay "Notifying"
    m_server->setNotificationFault(held);
}

void TestMainWindow::cleanupTestCase()
{
    if (m_program && m_program->state() != QProcess::NotRunning) {
        m_program->kill();
        m_program->waitForFinished(5000);
    }
    if (m_dir) {
        QFile::copy(m_dir->path() + QStringLiteral("/debug.log"), m_artefacts + QStringLiteral("/debug.log"));
        // A killed instance leaves its marker segment; probe it away as the next start would.
        qputenv("TMPDIR", QFile::encodeName(m_dir->path() + QStringLiteral("/tmp")));
        QSharedMemory probe(QStringLiteral("82abc78e-6952-4eec-bea5-aae7856b73e0"));
        if (probe.attach())
            probe.detach();
    }
}

void TestMainWindow::startProgram()
{
    m_program.reset(new QProcess());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    const QString sandbox = m_dir->path();
    env.insert(QStringLiteral("TMPDIR"), sandbox + QStringLiteral("/tmp"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), sandbox + QStringLiteral("/tmp"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    env.insert(QStringLiteral("ORV_PORTAL_URL"), m_server->portalBaseUrl());
    env.insert(QStringLiteral("ORV_NOTIFY_URL"), m_server->notificationBaseUrl());
    env.insert(QStringLiteral("PATH"), sandbox + QStringLiteral("/bin:") + env.value(QStringLiteral("PATH")));
    for (const char* name : {"XDG_CURRENT_DESKTOP", "DESKTOP_SESSION", "KDE_FULL_SESSION", "BROWSER",
                             "DEFAULT_BROWSER", "GNOME_DESKTOP_SESSION_ID"})
        env.remove(QString::fromLatin1(name));
    m_program->setProcessEnvironment(env);
    m_program->setWorkingDirectory(sandbox);
    m_program->start(sandbox + QStringLiteral("/reelvane-downloader"), QStringList());
    QVERIFY(m_program->waitForStarted(10000));
}

bool TestMainWindow::quitProgram()
{
    xdo({QStringLiteral("windowfocus"), QStringLiteral("--sync"), m_window});
    xdo({QStringLiteral("key"), QStringLiteral("ctrl+q")});
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 15000 && m_program->state() != QProcess::NotRunning)
        QTest::qWait(100);
    return m_program->state() == QProcess::NotRunning && m_program->exitStatus() == QProcess::NormalExit &&
           m_program->exitCode() == 0;
}

QString TestMainWindow::log() const
{
    QFile file(m_dir->path() + QStringLiteral("/debug.log"));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

bool TestMainWindow::waitForLog(const QString& text, int timeoutMs) const
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < timeoutMs) {
        if (log().contains(text))
            return true;
        QTest::qWait(100);
    }
    return false;
}

bool TestMainWindow::waitForFileLine(const QString& path, const QString& line)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 10000) {
        QFile file(path);
        if (file.open(QIODevice::ReadOnly) &&
            QString::fromUtf8(file.readAll()).split(QLatin1Char('\n')).contains(line))
            return true;
        QTest::qWait(100);
    }
    return false;
}

QString TestMainWindow::findWindow(const QString& namePattern) const
{
    QProcess search;
    search.start(QStringLiteral("xdotool"),
                 {QStringLiteral("search"), QStringLiteral("--all"), QStringLiteral("--onlyvisible"),
                  QStringLiteral("--pid"), QString::number(m_program->processId()), QStringLiteral("--name"),
                  namePattern});
    search.waitForFinished(5000);
    return QString::fromLatin1(search.readAllStandardOutput()).split(QLatin1Char('\n')).first();
}

bool TestMainWindow::waitForMainWindow()
{
    QElapsedTimer timer;
    timer.start();
    bool loggedIn = false;
    while (timer.elapsed() < 30000 && m_program->state() == QProcess::Running) {
        // A login step before the window: the stored user name puts the focus on the password.
        const QString login = findWindow(QStringLiteral("^Login$"));
        if (!login.isEmpty() && !loggedIn) {
            xdo({QStringLiteral("windowfocus"), QStringLiteral("--sync"), login});
            xdo({QStringLiteral("type"), QStringLiteral("secret")});
            xdo({QStringLiteral("key"), QStringLiteral("Return")});
            loggedIn = true;
        }
        m_window = findWindow(QStringLiteral("^") + QLatin1String(kMainTitle));
        if (!m_window.isEmpty()) {
            xdo({QStringLiteral("windowmove"), m_window, QStringLiteral("0"), QStringLiteral("0")});
            QTest::qWait(1500); // first frame, covers
            return true;
        }
        QTest::qWait(200);
    }
    return false;
}

bool TestMainWindow::waitForTitle(const QString& pattern, int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < timeoutMs) {
        if (!findWindow(pattern).isEmpty())
            return true;
        QTest::qWait(200);
    }
    return false;
}

void TestMainWindow::xdo(const QStringList& arguments) const
{
    QProcess::execute(QStringLiteral("xdotool"), arguments);
}

void TestMainWindow::clickAt(int x, int y) const
{
    xdo({QStringLiteral("mousemove"), QStringLiteral("--window"), m_window, QString::number(x),
         QString::number(y), QStringLiteral("click"), QStringLiteral("1")});
    QTest::qWait(600);
}

QString TestMainWindow::screenshot(const QString& name) const
{
    const QString path = m_artefacts + QLatin1Char('/') + name + QStringLiteral(".png");
    QProcess::execute(QStringLiteral("import"), {QStringLiteral("-window"), QStringLiteral("root"), path});
    qInfo("screenshot: %s", qPrintable(path));
    return path;
}

QString TestMainWindow::qmlWarnings() const
{
    QStringList found;
    for (const QString& line : log().split(QStringLiteral("\r\n"))) {
        if (line.contains(QStringLiteral("qrc:/")) || line.contains(QStringLiteral("QML ")))
            found.append(line);
    }
    return found.join(QLatin1Char('\n'));
}

// Drags the file from a small window below the main one and drops it on the grid, with
// real XDND events as from a file manager.
void TestMainWindow::dropPackage(const QString& package)
{
    QProcess source;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_dir->path() + QStringLiteral("/tmp"));
    source.setProcessEnvironment(env);
    source.start(QStringLiteral(ORV_DRAGSOURCE_PATH), {package, QStringLiteral("20"), QStringLiteral("850")});
    QVERIFY(source.waitForStarted(10000));
    QElapsedTimer timer;
    timer.start();
    QString window;
    while (window.isEmpty() && timer.elapsed() < 10000) {
        QProcess search;
        search.start(QStringLiteral("xdotool"),
                     {QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--name"),
                      QStringLiteral("^orv drag source$")});
        search.waitForFinished(5000);
        window = QString::fromLatin1(search.readAllStandardOutput()).trimmed();
        QTest::qWait(100);
    }
    QVERIFY2(!window.isEmpty(), "the drag source did not show");
    QTest::qWait(300);
    xdo({QStringLiteral("mousemove"), QStringLiteral("70"), QStringLiteral("900"),
         QStringLiteral("mousedown"), QStringLiteral("1")});
    QTest::qWait(300);
    for (int y = 880; y >= 400; y -= 80) {
        xdo({QStringLiteral("mousemove"), QStringLiteral("500"), QString::number(y)});
        QTest::qWait(150);
    }
    xdo({QStringLiteral("mouseup"), QStringLiteral("1")});
    QVERIFY(source.waitForFinished(15000));
    QCOMPARE(QString::fromLatin1(source.readAllStandardOutput()).trimmed(), QStringLiteral("dropped"));
}

// Answers every box the program shows with the key (Escape: cancel or the only button;
// Return: the default button), keeping a screenshot of the first.
void TestMainWindow::answerBoxes(const QString& screenshotName, const QString& key)
{
    bool shot = false;
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 5000) {
        QProcess search;
        search.start(QStringLiteral("xdotool"),
                     {QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--pid"),
                      QString::number(m_program->processId())});
        search.waitForFinished(5000);
        QStringList boxes =
            QString::fromLatin1(search.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        boxes.removeAll(m_window);
        if (boxes.isEmpty()) {
            QTest::qWait(200);
            continue;
        }
        if (!shot) {
            QTest::qWait(500);
            screenshot(screenshotName);
            shot = true;
        }
        xdo({QStringLiteral("windowfocus"), QStringLiteral("--sync"), boxes.first()});
        xdo({QStringLiteral("key"), key});
        QTest::qWait(500);
        timer.restart();
    }
}

// DCPs in each state, written through the model as an import would, with the flags and
// journal rows a finished, corrupted or still reported reel has.
void TestMainWindow::prepareCatalogue()
{
    const QString sandbox = m_dir->path();
    DatabaseManager::resetForTesting(sandbox);
    DCPManager::resetForTesting();
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

    DCPManager::resetForTesting();
    DatabaseManager::resetForTesting(QString());
}

void TestMainWindow::windowFlow()
{
    REQUIRE_DISPLAY();
    const QString sandbox = m_dir->path();
    // The stored user name, so that a login step (if any) only asks for the password.
    DatabaseManager::resetForTesting(sandbox);
    Setting::resetForTesting();
    Setting::getInstance()->set(QStringLiteral("username"), QStringLiteral("user"));
    Setting::getInstance()->save();
    Setting::resetForTesting();
    DatabaseManager::resetForTesting(QString());

    // An empty catalogue: the instructions.
    startProgram();
    QVERIFY2(waitForMainWindow(), qPrintable(log()));
    QVERIFY(log().contains(QStringLiteral("[MainWindow] Speed limit: 200 (no limit off)")));
    screenshot(QStringLiteral("01-empty-grid-instructions"));

    // Drag the limit handle from its top (200, far right) to the middle, then switch the
    // limit off; both are stored at once.
    const int barY = 737;
    xdo({QStringLiteral("mousemove"), QStringLiteral("--window"), m_window, QStringLiteral("330"),
         QString::number(barY), QStringLiteral("mousedown"), QStringLiteral("1")});
    for (int x = 310; x >= 220; x -= 15) {
        xdo({QStringLiteral("mousemove"), QStringLiteral("--window"), m_window, QString::number(x),
             QString::number(barY)});
        QTest::qWait(50);
    }
    xdo({QStringLiteral("mouseup"), QStringLiteral("1")});
    QVERIFY2(waitForLog(QStringLiteral("[MainWindow] Speed limit saved:")), qPrintable(log()));
    const QRegularExpression saved(QStringLiteral("Speed limit saved: (\\d+)"));
    const int limit = saved.match(log()).captured(1).toInt();
    QVERIFY2(limit > 1 && limit < 200, qPrintable(QString::number(limit)));
    clickAt(466, barY);
    QVERIFY2(waitForLog(QStringLiteral("[MainWindow] No limit: on")), qPrintable(log()));
    screenshot(QStringLiteral("02-limit-and-no-limit-set"));

    // A package dropped on the window takes the road of "Load File", as a plain path even
    // with "#" and blanks in its name. What the catalogue then says is answered.
    const QString package = sandbox + QStringLiteral("/My Film #1.orvdcp");
    QFile packageFile(package);
    QVERIFY(packageFile.open(QIODevice::WriteOnly));
    packageFile.write("not decoded here");
    packageFile.close();
    dropPackage(package);
    QVERIFY2(waitForLog(QStringLiteral("[MainWindow] Package dropped: ") + package), qPrintable(log()));
    QVERIFY2(waitForLog(QStringLiteral("Unable to load DCP file \"") + package + QLatin1Char('"')) ||
                 log().contains(QStringLiteral("[DCPXMLReader]")),
             qPrintable(log()));
    answerBoxes(QStringLiteral("03-dropped-package-answer"));

    // Ctrl+O: the package dialog; the same file chosen there takes the same road.
    xdo({QStringLiteral("windowfocus"), QStringLiteral("--sync"), m_window});
    xdo({QStringLiteral("key"), QStringLiteral("ctrl+o")});
    QElapsedTimer dialogTimer;
    dialogTimer.start();
    QString dialog;
    while (dialog.isEmpty() && dialogTimer.elapsed() < 10000) {
        dialog = findWindow(QStringLiteral("^Please choose a file$"));
        QTest::qWait(100);
    }
    QVERIFY2(!dialog.isEmpty(), "Ctrl+O showed no package dialog");
    QTest::qWait(500);
    xdo({QStringLiteral("windowfocus"), QStringLiteral("--sync"), dialog});
    xdo({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("30"), package});
    QTest::qWait(300);
    screenshot(QStringLiteral("03b-package-dialog"));
    xdo({QStringLiteral("key"), QStringLiteral("Return")});
    const QString refused = QStringLiteral("Unable to load DCP file \"") + package + QLatin1Char('"');
    QElapsedTimer loadTimer;
    loadTimer.start();
    while (log().count(refused) < 2 && !log().contains(QStringLiteral("[DCPXMLReader]"))
           && loadTimer.elapsed() < 10000)
        QTest::qWait(100);
    QVERIFY2(log().count(refused) == 2 || log().contains(QStringLiteral("[DCPXMLReader]")), qPrintable(log()));
    answerBoxes(QStringLiteral("03c-chosen-package-answer"));
    QVERIFY2(quitProgram(), "Ctrl+Q did not end the program with exit code 0");

    // DCPs in every state, and the choices of the last run back in place.
    prepareCatalogue();
    startProgram();
    QVERIFY2(waitForMainWindow(), qPrintable(log()));
    QVERIFY2(log().contains(QStringLiteral("[MainWindow] Speed limit: %1 (no limit on)").arg(limit)),
             qPrintable(log()));
    // A running download shows its DCP's progress in the title.
    QVERIFY2(waitForTitle(QStringLiteral("^Reelvane Downloader 1\\.4\\.0 \u2014 [0-9]+%$"), 20000),
             qPrintable(log()));
    QTest::qWait(2000);
    screenshot(QStringLiteral("04-grid-tiles-download-remaining-time"));

    // A search without match; then back to every tile.
    xdo({QStringLiteral("windowfocus"), QStringLiteral("--sync"), m_window});
    clickAt(600, 62);
    xdo({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("80"), QStringLiteral("zzz")});
    QTest::qWait(800);
    screenshot(QStringLiteral("05-search-no-match"));
    xdo({QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("80"), QStringLiteral("BackSpace"),
         QStringLiteral("BackSpace"), QStringLiteral("BackSpace")});
    QTest::qWait(800);

    // The details page of the DCP whose reels are in every state (second tile: newest first).
    clickAt(110 + 210 + 100, 165 + 150);
    QTest::qWait(1000);
    screenshot(QStringLiteral("06-details-reel-rows"));

    // Its files button opens the folder whose name holds "#", "?", "%" and blanks.
    clickAt(310, 567);
    QElapsedTimer timer;
    timer.start();
    QString opened;
    while (timer.elapsed() < 10000 && opened.isEmpty()) {
        QFile record(sandbox + QStringLiteral("/opened.txt"));
        if (record.open(QIODevice::ReadOnly))
            opened = QString::fromUtf8(record.readAll()).trimmed();
        QTest::qWait(100);
    }
    QVERIFY2(!opened.isEmpty(), "the files button opened nothing");
    QCOMPARE(QUrl(opened).toLocalFile(), m_mixedFolder);

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
    QVERIFY2(waitForFileLine(sandbox + QStringLiteral("/opened.txt"), m_server->portalBaseUrl()),
             "the portal was not opened");

    // The DCP waiting in line (third tile): one reel removed from its page, then the DCP
    // deleted, while the download of another runs; their delegates go without a warning.
    clickAt(110 + 2 * 210 + 100, 165 + 150);
    QTest::qWait(800);
    clickAt(924, 207);
    answerBoxes(QStringLiteral("08-remove-reel-question"), QStringLiteral("Return"));
    QVERIFY2(waitForLog(QStringLiteral("[DownloadManager] Emitting reelsChanged...")), qPrintable(log()));
    QTest::qWait(800);
    screenshot(QStringLiteral("09-details-after-reel-removed"));
    clickAt(415, 139);
    answerBoxes(QStringLiteral("10-delete-dcp-question"), QStringLiteral("Return"));
    QTest::qWait(800);
    screenshot(QStringLiteral("11-grid-after-delete"));
    QVERIFY2(log().contains(QStringLiteral("Removing Reel... ")), qPrintable(log()));
    // Paused: the plain title again, and the button offers to resume.
    clickAt(50, 252);
    QVERIFY2(waitForTitle(QStringLiteral("^Reelvane Downloader 1\\.4\\.0$"), 10000), qPrintable(log()));
    QTest::qWait(500);
    screenshot(QStringLiteral("12-paused-grid"));
    QVERIFY2(quitProgram(), "Ctrl+Q did not end the program with exit code 0");

    // Paused at the last exit: the start asks, and Yes resumes.
    startProgram();
    QVERIFY2(waitForMainWindow(), qPrintable(log()));
    answerBoxes(QStringLiteral("13-resume-question"), QStringLiteral("Return"));
    QVERIFY2(waitForTitle(QStringLiteral("^Reelvane Downloader 1\\.4\\.0 \u2014 [0-9]+%$"), 20000),
             qPrintable(log()));
    QVERIFY2(quitProgram(), "Ctrl+Q did not end the program with exit code 0");

    const QString warnings = qmlWarnings();
    QVERIFY2(warnings.isEmpty(), qPrintable(warnings));
}

QTEST_GUILESS_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
