// The real program as a new user meets it: a package made with the tools, the stand-in
// server as portal, notification service and asset server, the login typed into the
// dialog, the folder typed into the folder dialog, and the downloaded DCP checked as an
// ingest would check it.
#include "DcpCheck.h"
#include "PackageWriter.h"
#include "ProgramDriver.h"
#include "SampleDcp.h"
#include "StandInServer.h"
#include "TestCertificates.h"
#include "TestProxy.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QUrlQuery>
#include <QtTest>

#include <memory>

namespace {
const QString kUser = QStringLiteral("projectionist");
const QString kPassword = QStringLiteral("reel+one&two");
const QByteArray kKey = QByteArrayLiteral("e2e-decoding-key-0123456789abcdefghij");
const QString kUserUuid = QStringLiteral("6f1c2a4e-0b7d-4c55-9e21-3d8f5a7b9c01");
const QString kFolderDialog = QStringLiteral("^Select download location for your DCP");
} // namespace

class TestEndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void downloadSurvivesKillAndCut_data();
    void downloadSurvivesKillAndCut();
    void pulledDriveWaitsAndResumes();
    void expiredLinkOffersRemovalAndRevealsPartialFiles();
    void hostilePackageWritesNothing();
    void checkAndKeepFetchesOnlyTheBadFile();

private:
    // Makes a DCP under the server's asset root and its package for the chosen reels.
    void makePackage(const SampleDcp::Options& options, const QList<int>& reels);
    void startProgram(const QStringList& arguments);
    void logIn(bool userNameStored);
    void chooseFolder();
    // Waits until every chosen reel's events are acknowledged and no hidden file is left.
    bool waitForCompletion(int timeoutMs);
    QStringList journalLines() const;
    QString dcpFolder() const { return m_download + QLatin1Char('/') + m_dcp.title; }
    QString hiddenPath(const DcpAssetInfo& asset) const;
    int countRows(const QString& sql) const;
    void keepScreenshot(const QString& name) const;

    std::unique_ptr<StandInServer> m_server;
    std::unique_ptr<QTemporaryDir> m_assets;
    std::unique_ptr<ProgramDriver> m_program;
    DcpDescription m_dcp;
    QList<int> m_reels;
    QString m_package;
    QString m_download;
};

// The steps below are helpers; a failure inside one must end the test there.
#define STEP(call)                                                                                           \
    do {                                                                                                     \
        call;                                                                                                \
        if (QTest::currentTestFailed())                                                                      \
            return;                                                                                          \
    } while (false)

void TestEndToEnd::init()
{
    m_server = std::make_unique<StandInServer>();
    QVERIFY(m_server->listen());
    m_server->setCredentials(kUser, kPassword, kKey);
    m_assets = std::make_unique<QTemporaryDir>();
    m_server->setAssetRoot(m_assets->path());
    m_program = std::make_unique<ProgramDriver>(QStringLiteral(ORV_PROGRAM_PATH));
    m_program->setEnvironment(QStringLiteral("ORV_PORTAL_URL"), m_server->portalBaseUrl());
    m_program->setEnvironment(QStringLiteral("ORV_NOTIFY_URL"), m_server->notificationBaseUrl());
    m_download = m_program->sandbox() + QStringLiteral("/USB drive");
    QVERIFY(QDir().mkpath(m_download));
}

void TestEndToEnd::cleanup()
{
    if (QTest::currentTestFailed())
        qWarning().noquote() << "debug.log of the failed run:\n" << m_program->log().right(6000);
    m_program.reset();
    m_server.reset();
    m_assets.reset();
}

void TestEndToEnd::makePackage(const SampleDcp::Options& options, const QList<int>& reels)
{
    m_reels = reels;
    QVERIFY(SampleDcp::generate(options, m_assets->path() + QLatin1Char('/') + options.title, &m_dcp));
    PackageWriter::EntryOptions entry;
    entry.reels = reels;
    entry.assetBaseUrl = m_server->baseUrl().toString() + QStringLiteral("/assets/") +
                         QString::fromLatin1(QUrl::toPercentEncoding(options.title)) + QLatin1Char('/');
    entry.friendlyTitle = QStringLiteral("End to end feature");
    const QJsonObject document = PackageWriter::document(
        kUserUuid, QJsonArray{PackageWriter::entry(m_dcp, entry)}, qint64(m_dcp.sizeOfReels(reels)));
    m_package = m_program->sandbox() + QStringLiteral("/Downloads/feature.orvdcp");
    QVERIFY(QDir().mkpath(QFileInfo(m_package).absolutePath()));
    QVERIFY(PackageWriter::write(m_package, kKey, document));
}

void TestEndToEnd::startProgram(const QStringList& arguments)
{
    QVERIFY(m_program->start(arguments) != nullptr);
}

void TestEndToEnd::logIn(bool userNameStored)
{
    // The update check finds no newer version and closes by itself.
    const QString login = m_program->waitForWindow(QStringLiteral("^Login$"), 60000);
    QVERIFY2(!login.isEmpty(), "the login window did not appear");
    // With a stored user name the focus is already on the password.
    if (!userNameStored) {
        m_program->type(login, kUser);
        m_program->key(login, QStringLiteral("Tab"));
    }
    m_program->type(login, kPassword);
    m_program->key(login, QStringLiteral("Return"));
    QVERIFY2(m_program->waitForWindowGone(QStringLiteral("^Login$"), 30000), "the login did not succeed");
}

void TestEndToEnd::chooseFolder()
{
    const QString dialog = m_program->waitForWindow(kFolderDialog, 60000);
    QVERIFY2(!dialog.isEmpty(), "the folder dialog did not appear");
    m_program->type(dialog, m_download);
    // The path completer may take the first Return; the next one accepts the folder.
    for (int attempt = 0; attempt < 3; ++attempt) {
        m_program->key(dialog, QStringLiteral("Return"));
        if (m_program->waitForWindowGone(kFolderDialog, 2000))
            return;
    }
    QFAIL("the folder dialog did not accept the folder");
}

QStringList TestEndToEnd::journalLines() const
{
    QStringList lines;
    for (const StandInServer::JournalEntry& entry : m_server->journal())
        lines << entry.toLine();
    return lines;
}

bool TestEndToEnd::waitForCompletion(int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < timeoutMs) {
        DcpCheck::Result acknowledged;
        DcpCheck::checkAcknowledged(journalLines(), m_reels, &acknowledged);
        if (acknowledged.ok()) {
            bool hidden = false;
            QDirIterator it(dcpFolder(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
            while (it.hasNext()) {
                it.next();
                hidden = hidden || it.fileName().startsWith(QLatin1Char('.'));
            }
            if (!hidden && QFileInfo(dcpFolder()).isDir())
                return true;
        }
        QTest::qWait(250);
    }
    return false;
}

QString TestEndToEnd::hiddenPath(const DcpAssetInfo& asset) const
{
    const QFileInfo visible(dcpFolder() + QLatin1Char('/') + asset.path);
    return visible.path() + QStringLiteral("/.") + visible.fileName();
}

int TestEndToEnd::countRows(const QString& sql) const
{
    int count = -1;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("e2e-check"));
        db.setDatabaseName(m_program->appFolder() + QStringLiteral("/orvdownloader.4.sqlite"));
        if (db.open()) {
            QSqlQuery query(db);
            if (query.exec(sql) && query.next())
                count = query.value(0).toInt();
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("e2e-check"));
    return count;
}

void TestEndToEnd::keepScreenshot(const QString& name) const
{
    const QString path = QStringLiteral(ORV_ARTEFACT_DIR "/e2e-") + name + QStringLiteral(".png");
    if (m_program->screenshot(path))
        qInfo().noquote() << "screenshot:" << path;
}

// A new user's first download, one reel of three with subtitles and fonts, along the
// hard road: the program is killed in the middle of the picture and started again, and
// the sound's connection is cut mid-file. The reel still completes with the right files,
// reported and revealed. Corrupted deliveries and a stalled server are covered in process
// (tst_download_checksum, tst_download_transfer): each costs the real program several
// rounds of its notification timer or its stall timer.
void TestEndToEnd::downloadSurvivesKillAndCut_data()
{
    QTest::addColumn<bool>("https");
    QTest::addColumn<bool>(
        "proxied"); // portal and assets through tinyproxy, notifications (localhost) directly
    // Over HTTPS through a proxy: the road a cinema behind a company proxy takes. Plain HTTP
    // takes the same road in the other tests here and in process.
    QTest::newRow("https-proxy") << true << true;
}

void TestEndToEnd::downloadSurvivesKillAndCut()
{
    REQUIRE_DISPLAY();
    QFETCH(bool, https);
    QFETCH(bool, proxied);
    static TestCertificates certificates;
    std::unique_ptr<TestProxy> proxy(proxied ? new TestProxy : nullptr);
    QVERIFY(!proxied || proxy->isRunning());
    if (https) {
        QString error;
        QVERIFY(certificates.isValid() &&
                m_server->setTlsFiles(certificates.certificateFile(TestCertificates::Good),
                                      certificates.keyFile(), &error));
        m_program->setEnvironment(QStringLiteral("ORV_EXTRA_CA_FILE"), certificates.authorityFile());
        m_program->setEnvironment(QStringLiteral("ORV_PORTAL_URL"), m_server->portalBaseUrl());
        m_program->setEnvironment(QStringLiteral("ORV_NOTIFY_URL"),
                                  proxied ? QStringLiteral("https://localhost:%1").arg(m_server->port())
                                          : m_server->notificationBaseUrl());
    }
    if (proxy) {
        m_program->setEnvironment(QStringLiteral("https_proxy"),
                                  QStringLiteral("127.0.0.1:%1").arg(proxy->port()));
        m_program->setEnvironment(QStringLiteral("no_proxy"), QStringLiteral("localhost"));
    }
    SampleDcp::Options options;
    options.title = QStringLiteral("E2E Feature_FTR");
    options.reels = 3;
    options.subtitles = true;
    options.pictureSize = 2 * 1024 * 1024 + 17;
    options.soundSize = 512 * 1024;
    options.seed = 11;
    STEP(makePackage(options, {2}));
    const QString base = m_dcp.title + QLatin1Char('/');
    const DcpAssetInfo picture = m_dcp.find(DcpAssetInfo::Picture, 2);
    StandInServer::AssetFault slow;
    slow.throttleBytesPerSecond = 1024 * 1024;
    m_server->setAssetFault(base + picture.path, slow);

    STEP(startProgram({m_package}));
    STEP(logIn(false));
    STEP(chooseFolder());
    QVERIFY2(m_program->waitForWindow(QStringLiteral("^Reelvane Downloader 1\\.4\\.0")).size() > 0,
             "the main window did not appear");
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(hiddenPath(picture)).size() >= 512 * 1024, 60000);
    m_program->killHard();
    const qint64 partial = QFileInfo(hiddenPath(picture)).size();
    QVERIFY2(partial > 0 && partial < qint64(picture.size), qPrintable(QString::number(partial)));
    m_server->clearAllAssetFaults();
    StandInServer::AssetFault cut;
    cut.dropAfterBytes = 300 * 1024;
    m_server->setAssetFault(base + m_dcp.find(DcpAssetInfo::Sound, 2).path, cut);
    const int requestsBefore = m_server->journalFor(QStringLiteral("/assets/") + base + picture.path).size();

    STEP(startProgram({}));
    STEP(logIn(true));
    QVERIFY2(waitForCompletion(180000), qPrintable(journalLines().join(QLatin1Char('\n'))));
    keepScreenshot(QStringLiteral("completed-") + QLatin1String(QTest::currentDataTag()));
    // The next start asked for the rest of the picture only.
    const QList<StandInServer::JournalEntry> pictureRequests =
        m_server->journalFor(QStringLiteral("/assets/") + base + picture.path);
    QVERIFY(pictureRequests.size() > requestsBefore);
    QCOMPARE(pictureRequests.at(requestsBefore).range,
             QByteArray("bytes=") + QByteArray::number(partial) + '-');

    DcpCheck::Result result = DcpCheck::checkFolder(dcpFolder(), m_reels);
    DcpCheck::checkAcknowledged(journalLines(), m_reels, &result);
    QVERIFY2(result.ok(), qPrintable(result.problems.join(QLatin1Char('\n'))));
    QCOMPARE(result.filesVerified, m_dcp.assetsOfReels(m_reels).size());
    // Nothing but the DCP folder in the chosen folder.
    QCOMPARE(QDir(m_download).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList{m_dcp.title});

    // The portal saw the version check first, then the login form as a browser would send it.
    const QList<StandInServer::JournalEntry> journal = m_server->journal();
    QVERIFY(journal.size() > 2);
    QCOMPARE(journal.at(0).path, QStringLiteral("/versioncheck"));
    QCOMPARE(journal.at(1).path, QStringLiteral("/authenticate"));
    QCOMPARE(journal.at(1).method, QByteArray("POST"));
    const QUrlQuery form(QString::fromUtf8(journal.at(1).body).replace(QLatin1Char('+'), QLatin1Char(' ')));
    QCOMPARE(form.queryItemValue(QStringLiteral("username"), QUrl::FullyDecoded), kUser);
    QCOMPARE(form.queryItemValue(QStringLiteral("password"), QUrl::FullyDecoded), kPassword);
    // The reel's events were acknowledged in the order the queue sends them: started before
    // finished, the passed checksum last.
    QList<int> events;
    for (const StandInServer::JournalEntry& entry : journal) {
        const QUrlQuery query(entry.query);
        if (entry.path == QLatin1String("/notification/dcp") && entry.status == 200 &&
            query.queryItemValue(QStringLiteral("reel_number")).toInt() == 2)
            events << query.queryItemValue(QStringLiteral("event")).toInt();
    }
    QVERIFY2(events.indexOf(1) < events.indexOf(2), qPrintable(journalLines().join(QLatin1Char('\n'))));
    QCOMPARE(events.last(), 8);

    if (proxy) {
        // One tunnel per request to 127.0.0.1 (the stand-in closes every connection after
        // its answer); the notifications to localhost went directly.
        int direct = 0;
        for (const StandInServer::JournalEntry& entry : journal)
            direct += entry.path == QLatin1String("/notification/dcp") ? 1 : 0;
        const QString log = proxy->log();
        QVERIFY2(direct > 0 && !log.contains(QStringLiteral("): CONNECT localhost")) &&
                     log.count(QStringLiteral("): CONNECT 127.0.0.1:%1 ").arg(m_server->port())) >=
                         journal.size() - direct,
                 qPrintable(log));
    }

    m_program->stop();
    QCOMPARE(countRows(QStringLiteral("SELECT COUNT(*) FROM asset WHERE download_checksummed = 0")), 0);
    QCOMPARE(countRows(QStringLiteral("SELECT COUNT(*) FROM notification WHERE synced = 0")), 0);
    QVERIFY2(m_program->qmlWarnings().isEmpty(),
             qPrintable(m_program->qmlWarnings().join(QLatin1Char('\n'))));
}

// The drive pulled mid-file and plugged in again: no box, the DCP waits as "Drive not
// connected" and goes on from where the file stopped, without a restart.
void TestEndToEnd::pulledDriveWaitsAndResumes()
{
    REQUIRE_DISPLAY();
    SampleDcp::Options options;
    options.title = QStringLiteral("Pulled_FTR");
    options.pictureSize = 6 * 1024 * 1024;
    options.soundSize = 64 * 1024;
    options.seed = 14;
    STEP(makePackage(options, {1}));
    const DcpAssetInfo picture = m_dcp.find(DcpAssetInfo::Picture, 1);
    StandInServer::AssetFault slow;
    slow.throttleBytesPerSecond = 1024 * 1024;
    m_server->setAssetFault(m_dcp.title + QLatin1Char('/') + picture.path, slow);

    STEP(startProgram({m_package}));
    STEP(logIn(false));
    STEP(chooseFolder());
    QElapsedTimer timer;
    timer.start();
    while (QFileInfo(hiddenPath(picture)).size() < 2 * 1024 * 1024 && timer.elapsed() < 60000)
        QTest::qWait(100);
    const QString pulled = m_download + QStringLiteral(" (pulled)");
    QVERIFY(QDir().rename(m_download, pulled));
    QVERIFY(m_program->waitForLog(QStringLiteral("[DCPManager] Drive not connected, keeping dcp"), 10000));
    keepScreenshot(QStringLiteral("drive-pulled"));
    QVERIFY2(m_program->waitForBox(3000).isEmpty(), "a box appeared for the pulled drive");
    const qint64 partial = QFileInfo(pulled + hiddenPath(picture).mid(m_download.size())).size();
    QVERIFY2(partial > 0 && partial < qint64(picture.size), qPrintable(QString::number(partial)));
    m_server->clearAllAssetFaults();
    const QString asset = QStringLiteral("/assets/") + m_dcp.title + QLatin1Char('/') + picture.path;
    const int before = m_server->journalFor(asset).size();

    // Plugged in again: the picture goes on from what the file holds, without a restart. The
    // rest of the road (verification, reports, reveal) is the first test's.
    QVERIFY(QDir().rename(pulled, m_download));
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(hiddenPath(picture)).size() == qint64(picture.size), 30000);
    const QList<StandInServer::JournalEntry> requests = m_server->journalFor(asset);
    QVERIFY(requests.size() > before);
    QCOMPARE(requests.at(before).range, QByteArray("bytes=") + QByteArray::number(partial) + '-');
}

// A link the server no longer knows: the engine pauses and offers to remove the DCP; Yes
// gives the files already there their plain names and takes the DCP out of the program.
void TestEndToEnd::expiredLinkOffersRemovalAndRevealsPartialFiles()
{
    REQUIRE_DISPLAY();
    SampleDcp::Options options;
    options.title = QStringLiteral("Expired_FTR");
    options.pictureSize = 256 * 1024;
    options.soundSize = 64 * 1024;
    options.seed = 14;
    STEP(makePackage(options, {1}));
    const DcpAssetInfo picture = m_dcp.find(DcpAssetInfo::Picture, 1);
    const DcpAssetInfo sound = m_dcp.find(DcpAssetInfo::Sound, 1);
    StandInServer::AssetFault gone;
    gone.status = 404;
    m_server->setAssetFault(m_dcp.title + QLatin1Char('/') + sound.path, gone);

    STEP(startProgram({m_package}));
    STEP(logIn(false));
    STEP(chooseFolder());
    const QString box = m_program->waitForBox(60000);
    QVERIFY2(!box.isEmpty(), "no expired-links box");
    keepScreenshot(QStringLiteral("expired-links"));
    m_program->key(box, QStringLiteral("y"));
    QVERIFY2(m_program->waitForLog(QStringLiteral("HandleExpiredLinks user action, removing expired DCP")),
             "the DCP was not removed");
    // The complete picture keeps its content under its plain name; the DCP left the store.
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(dcpFolder() + QLatin1Char('/') + picture.path), 10000);
    QVERIFY(!QFileInfo::exists(hiddenPath(picture)));
    // The files are renamed before the store forgets the DCP: stopping the program in
    // between would leave the row behind.
    QTRY_COMPARE_WITH_TIMEOUT(countRows(QStringLiteral("SELECT COUNT(*) FROM dcp")), 0, 10000);
    m_program->stop();
    // The engine stays paused until the user resumes it.
    QCOMPARE(countRows(QStringLiteral(
                 "SELECT COUNT(*) FROM setting WHERE key = 'download_paused' AND value = '1'")),
             1);
}

// A title that climbs out of the chosen folder is refused with the package error box.
void TestEndToEnd::hostilePackageWritesNothing()
{
    REQUIRE_DISPLAY();
    SampleDcp::Options options;
    options.title = QStringLiteral("../Escape");
    options.seed = 15;
    m_reels = {1};
    QVERIFY(SampleDcp::generate(options, QString(), &m_dcp)); // described, never written
    PackageWriter::EntryOptions entry;
    entry.assetBaseUrl = m_server->baseUrl().toString() + QStringLiteral("/assets/x/");
    m_package = m_program->sandbox() + QStringLiteral("/Downloads/hostile.orvdcp");
    QVERIFY(QDir().mkpath(QFileInfo(m_package).absolutePath()));
    QVERIFY(PackageWriter::write(
        m_package, kKey,
        PackageWriter::document(kUserUuid, QJsonArray{PackageWriter::entry(m_dcp, entry)}, 1024)));

    STEP(startProgram({m_package}));
    STEP(logIn(false));
    // Refused before or after the folder is chosen; either way a box says so.
    QVERIFY(!m_program->waitForBox(60000).isEmpty());
    if (!m_program->waitForWindow(kFolderDialog, 0).isEmpty())
        STEP(chooseFolder());
    const QString box = m_program->waitForBox(30000);
    QVERIFY2(!box.isEmpty(), "no error box");
    keepScreenshot(QStringLiteral("hostile-package"));
    m_program->key(box, QStringLiteral("Escape"));
    QVERIFY(QDir(m_download).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
    QVERIFY(!QFileInfo::exists(m_program->sandbox() + QStringLiteral("/Escape")));
    m_program->stop();
    QCOMPARE(countRows(QStringLiteral("SELECT COUNT(*) FROM dcp")), 0);
}

// A drive from an earlier run, a new store, the package opened again: "Check and keep" keeps
// every good file without a byte downloaded and fetches the one corrupted file; every file
// ends verified. (The reports go out one every 5 s, a minute and a half for three reels:
// their acknowledgement and the reveal are shown in process by tst_app_drive_findings.)
void TestEndToEnd::checkAndKeepFetchesOnlyTheBadFile()
{
    REQUIRE_DISPLAY();
    SampleDcp::Options options;
    options.title = QStringLiteral("Kept_FTR");
    options.reels = 3;
    options.pictureSize = 200 * 1024;
    options.soundSize = 32 * 1024;
    options.subtitles = true;
    options.seed = 16;
    STEP(makePackage(options, {1, 2, 3}));
    const QString served = m_assets->path() + QLatin1Char('/') + m_dcp.title;
    QDirIterator earlier(served, QDir::Files, QDirIterator::Subdirectories);
    while (earlier.hasNext()) {
        const QString relative = QDir(served).relativeFilePath(earlier.next());
        QVERIFY(QDir().mkpath(QFileInfo(dcpFolder() + QLatin1Char('/') + relative).path()));
        QVERIFY(QFile::copy(earlier.filePath(), dcpFolder() + QLatin1Char('/') + relative));
    }
    const DcpAssetInfo bad = m_dcp.find(DcpAssetInfo::Picture, 2);
    QFile corrupted(dcpFolder() + QLatin1Char('/') + bad.path);
    QVERIFY(corrupted.open(QIODevice::ReadWrite) && corrupted.seek(1000) && corrupted.putChar('!'));
    corrupted.close();

    STEP(startProgram({m_package}));
    STEP(logIn(false));
    STEP(chooseFolder());
    const QString box = m_program->waitForBox(60000);
    QVERIFY2(!box.isEmpty(), "no box for the files already on the drive");
    keepScreenshot(QStringLiteral("check-and-keep-box"));
    m_program->key(box, QStringLiteral("c")); // "&Check and keep"
    const int files = m_dcp.assetsOfReels(m_reels).size();
    QTRY_COMPARE_WITH_TIMEOUT(
        countRows(QStringLiteral("SELECT COUNT(*) FROM asset WHERE download_checksummed = 1 AND "
                                 "download_corrupted = 0")),
        files, 60000);
    keepScreenshot(QStringLiteral("check-and-keep-verified"));
    m_program->stop();

    for (const DcpAssetInfo& asset : m_dcp.assetsOfReels(m_reels)) {
        const QList<StandInServer::JournalEntry> requests =
            m_server->journalFor(QStringLiteral("/assets/") + m_dcp.title + QLatin1Char('/') + asset.path);
        QCOMPARE(requests.size(), asset.uuid == bad.uuid ? 1 : 0);
        // Verified, waiting under its hidden name for the reports.
        QFile onDrive(hiddenPath(asset));
        QFile original(served + QLatin1Char('/') + asset.path);
        QVERIFY(onDrive.open(QIODevice::ReadOnly) && original.open(QIODevice::ReadOnly));
        QVERIFY2(onDrive.readAll() == original.readAll(), qPrintable(asset.path));
    }
    QCOMPARE(m_server->journalFor(QStringLiteral("/assets/") + m_dcp.title + QLatin1Char('/') + bad.path)
                 .first()
                 .range,
             QByteArray("bytes=0-"));
    QVERIFY2(m_program->qmlWarnings().isEmpty(),
             qPrintable(m_program->qmlWarnings().join(QLatin1Char('\n'))));
}

QTEST_GUILESS_MAIN(TestEndToEnd)
#include "tst_e2e.moc"
