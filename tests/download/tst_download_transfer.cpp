// The HTTP transfer against the in-process stand-in server: resumption, faulty servers,
// rejected links, redirects and failing writes.

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
#include <QTcpServer>
#include <QTcpSocket>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>

namespace {

// Answers every request on 127.0.0.1 with a redirect to a fixed Location.
class RedirectResponder : public QObject
{
public:
    explicit RedirectResponder(const QByteArray& location) : location(location)
    {
        server.listen(QHostAddress::LocalHost);
        connect(&server, &QTcpServer::newConnection, this, [this]() {
            while (QTcpSocket* socket = server.nextPendingConnection()) {
                connect(socket, &QTcpSocket::readyRead, socket, [this, socket]() {
                    if (!socket->readAll().contains("\r\n\r\n"))
                        return;
                    ++requests;
                    socket->write("HTTP/1.1 302 Found\r\nLocation: " + this->location +
                                  "\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
                    socket->disconnectFromHost();
                });
                connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            }
        });
    }
    QString url() const { return QStringLiteral("http://127.0.0.1:%1/asset.mxf").arg(server.serverPort()); }

    int requests = 0;

private:
    QTcpServer server;
    QByteArray location;
};

// Limits the size any file of this process may reach, and lifts it again.
struct FileSizeLimit
{
    explicit FileSizeLimit(rlim_t bytes)
    {
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &saved);
        rlimit limited = saved;
        limited.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit() { lift(); }
    void lift() { setrlimit(RLIMIT_FSIZE, &saved); }
    rlimit saved{};
};

// Counts Qt's warnings about a reply whose error is handled twice, and passes every
// message on.
QtMessageHandler passOn = nullptr;
int doubleErrors = 0;
void countDoubleErrors(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (text.contains(QLatin1String("must only be called once")))
        ++doubleErrors;
    if (passOn)
        passOn(type, context, text);
}

} // namespace

class TestDownloadTransfer : public QObject
{
    Q_OBJECT

private slots:
    void freshDownloadThenRestartResumes();
    void interruptedBodyResumesWithoutLoss_data();
    void interruptedBodyResumesWithoutLoss();
    void wholeBodyForResumedRequestStartsAgain();
    void contentRangeNotAtOffset_data();
    void contentRangeNotAtOffset();
    void rangeNotSatisfiableForCompleteFile();
    void unjournalledFinishStillHandsOverAndMovesOn();
    void failedWriteResumesFromTrueLength_data();
    void failedWriteResumesFromTrueLength();
    void unwritableFilePausesAndNamesThePath();
    void rejectedLinks_data();
    void rejectedLinks();
    void expiredLinksYesRevealsAndRemoves();
    void redirects_data();
    void redirects();
    void redirectToOtherSchemeIsMissingFile_data();
    void redirectToOtherSchemeIsMissingFile();
    void lostFileStopsWithinASecond_data();
    void lostFileStopsWithinASecond();
    void bodyNeverPassesItsAsset_data();
    void bodyNeverPassesItsAsset();
    void limitHoldsAtEveryTick_data();
    void limitHoldsAtEveryTick();
    void noLimitModeFromTheSetting();
    void serverNotAnsweringAfterThreeFailures();
};

void TestDownloadTransfer::freshDownloadThenRestartResumes()
{
    TestSandbox box(TestSandbox::WithServer);
    ScriptedPrompts prompts;
    const QByteArray content = patternBytes(600000, 1);
    StandInServer::AssetFault slow;
    slow.throttleBytesPerSecond = 400000;
    box.server.setAssetFault(QStringLiteral("a.mxf"), slow);

    DCP* dcp = box.makeDCP(QStringLiteral("dcp-1"), QStringLiteral("Film"));
    Reel* reel = box.addReel(dcp, QStringLiteral("reel-1"), 1);
    Asset* asset = box.addAsset(reel, QStringLiteral("asset-1"), QStringLiteral("a.mxf"), content);
    box.publish(dcp);

    DownloadManager* engine = box.engine();
    QVERIFY(engine->getCurrentReply());
    const QNetworkRequest request = engine->getCurrentReply()->request();
    QCOMPARE(request.attribute(QNetworkRequest::Http2AllowedAttribute).toBool(), false);
    QCOMPARE(request.attribute(QNetworkRequest::RedirectPolicyAttribute).toInt(),
             int(QNetworkRequest::ManualRedirectPolicy));
    QCOMPARE(engine->getCurrentDownloadingDCP(), dcp);

    const QString path = asset->getFullPath();
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(path).size() > 100000, 5000);
    box.restart(); // the old engine dies mid-body; the new one loads from the store
    const qint64 resumedAt = QFileInfo(path).size();
    QVERIFY(resumedAt > 0 && resumedAt < content.size());
    box.server.clearAllAssetFaults();

    Asset* reloaded = DCPManager::getInstance()->getAsset(QStringLiteral("asset-1"), QStringLiteral("dcp-1"));
    QVERIFY(reloaded);
    QVERIFY(reloaded->getDownloadStarted());
    QTRY_VERIFY_WITH_TIMEOUT(reloaded->getDownloadChecksummed(), 10000);
    QCOMPARE(box.rangesFor(QStringLiteral("a.mxf")),
             QStringList() << QStringLiteral("bytes=0-") << QStringLiteral("bytes=%1-").arg(resumedAt));
    QCOMPARE(readFile(reloaded->getFullPath()), content);
    QCOMPARE(prompts.count(), 0);
}

void TestDownloadTransfer::interruptedBodyResumesWithoutLoss_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<unsigned>("mbit");   // 0: no limit set
    QTest::addColumn<qint64>("resumeAt"); // -1: anywhere up to the cut
    QTest::newRow("clean close before the announced length")
        << QStringLiteral("drop=300000,throttle=1000000") << 0u << qint64(-1);
    QTest::newRow("connection reset mid-body")
        << QStringLiteral("drop=300000,drop-reset,throttle=1000000") << 0u << qint64(-1);
    QTest::newRow("server goes silent")
        << QStringLiteral("stall=250000,stall-seconds=-1") << 0u << qint64(-1);
    // At 4 Mbit/s the reply still holds unwritten bytes when the connection drops; they
    // are written, so the next request starts past them.
    QTest::newRow("clean close with bytes still in the reply")
        << QStringLiteral("drop=300000") << 4u << qint64(300000);
}

void TestDownloadTransfer::interruptedBodyResumesWithoutLoss()
{
    QFETCH(QString, fault);
    QFETCH(unsigned, mbit);
    QFETCH(qint64, resumeAt);
    TestSandbox box(TestSandbox::WithServer);
    ScriptedPrompts prompts;
    const QByteArray content = patternBytes(900000, 2);
    StandInServer::AssetFault parsed;
    QString parseError;
    QVERIFY2(StandInServer::parseAssetFault(fault, &parsed, &parseError), qPrintable(parseError));
    box.server.setAssetFault(QStringLiteral("a.mxf"), parsed);

    DCP* dcp = box.makeDCP(QStringLiteral("dcp-1"), QStringLiteral("Film"));
    Reel* reel = box.addReel(dcp, QStringLiteral("reel-1"), 1);
    Asset* asset = box.addAsset(reel, QStringLiteral("asset-1"), QStringLiteral("a.mxf"), content);
    if (mbit > 0)
        box.engine()->setReadChunkSize(mbit * 125000);
    box.publish(dcp);

    QTRY_VERIFY_WITH_TIMEOUT(asset->getDownloadChecksummed(), 10000);
    QCOMPARE(readFile(asset->getFullPath()), content);
    QCOMPARE(asset->getDownloadAttempts(), 0u); // no verification attempt was spent on it

    const QStringList ranges = box.rangesFor(QStringLiteral("a.mxf"));
    QCOMPARE(ranges.size(), 2);
    QCOMPARE(ranges.at(0), QStringLiteral("bytes=0-"));
    const qint64 resumedAt = ranges.at(1).mid(6).chopped(1).toLongLong();
    QVERIFY2(resumedAt > 0 && resumedAt <= 300000, qPrintable(ranges.at(1)));
    if (resumeAt >= 0)
        QCOMPARE(resumedAt, resumeAt);
}

void TestDownloadTransfer::wholeBodyForResumedRequestStartsAgain()
{
    TestSandbox box(TestSandbox::WithServer);
    ScriptedPrompts prompts;
    const QByteArray content = patternBytes(500000, 3);
    StandInServer::AssetFault fault;
    fault.ignoreRange = true;
    box.server.setAssetFault(QStringLiteral("a.mxf"), fault);

    DCP* dcp = box.makeDCP(QStringLiteral("dcp-1"), QStringLiteral("Film"));
    Reel* reel = box.addReel(dcp, QStringLiteral("reel-1"), 1);
    Asset* asset = box.addAsset(reel, QStringLiteral("asset-1"), QStringLiteral("a.mxf"), content);
    box.store(dcp);
    // A third of the file is already there from an earlier run.
    QVERIFY(writeFile(asset->getFullPath(), content.left(170000)));
    box.engine()->assetsChanged();

    QTRY_VERIFY_WITH_TIMEOUT(asset->getDownloadChecksummed(), 10000);
    QCOMPARE(box.rangesFor(QStringLiteral("a.mxf")), QStringList() << QStringLiteral("bytes=170000-"));
    QCOMPARE(readFile(asset->getFullPath()), content);
    QCOMPARE(asset->getDownloadAttempts(), 0u);
}

void TestDownloadTransfer::contentRangeNotAtOffset_data()
{
    QTest::addColumn<qint64>("delta");
    QTest::addColumn<bool>("firstDeliveryUsed");
    QTest::newRow("starts before the offset: file cut back") << qint64(-5000) << true;
    QTest::newRow("starts after the offset: nothing written") << qint64(5000) << false;
}

void TestDownloadTransfer::contentRangeNotAtOffset()
{
    QFETCH(qint64, delta);
    QFETCH(bool, firstDeliveryUsed);
    TestSandbox box(TestSandbox::WithServer);
    ScriptedPrompts prompts;
    const QByteArray content = patternBytes(400000, 4);
    StandInServer::AssetFault fault;
    fault.contentRangeDelta = delta;
    box.server.setAssetFault(QStringLiteral("a.mxf"), fault);

    DCP* dcp = box.makeDCP(QStringLiteral("dcp-1"), QStringLiteral("Film"));
    Reel* reel = box.addReel(dcp, QStringLiteral("reel-1"), 1);
    Asset* asset = box.addAsset(reel, QStringLiteral("asset-1"), QStringLiteral("a.mxf"), content);
    box.store(dcp);
    QVERIFY(writeFile(asset->getFullPath(), content.left(100000)));
    box.engine()->assetsChanged();

    if (firstDeliveryUsed) {
        QTRY_VERIFY_WITH_TIMEOUT(asset->getDownloadChecksummed(), 10000);
        QCOMPARE(box.requestsFor(QStringLiteral("a.mxf")).size(), 1);
    } else {
        // The misplaced body is refused; the file keeps its length until a sane answer.
        QTRY_VERIFY_WITH_TIMEOUT(box.requestsFor(QStringLiteral("a.mxf")).size() >= 2, 5000);
        QCOMPARE(QFileInfo(asset->getFullPath()).size(), qint64(100000));
        QVERIFY(!asset->getDownloadFinished());
        box.server.clearAllAssetFaults();
        QTRY_VERIFY_WITH_TIMEOUT(asset->getDownloadChecksummed(), 10000);
    }
    QCOMPARE(readFile(asset->getFullPath()), content);
    QCOMPARE(asset->getDownloadAttempts(), 0u);
}

void TestDownloadTransfer::rangeNotSatisfiableForCompleteFile()
{
    TestSandbox box(TestSandbox::WithServer);
    ScriptedPrompts prompts;
    const QByteArray content = patternBytes(200000, 5);
    DCP* dcp = box.makeDCP(QStringLiteral("dcp-1"), QStringLiteral("Film"));
    Reel* reel = box.addReel(dcp, QStringLiteral("reel-1"), 1);
    Asset* asset = box.addAsset(reel, QStringLiteral("asset-1"), QStringLiteral("a.mxf"), content);
    box.store(dcp);
    // The whole file arrived, but the program ended before it was marked finished.
    QVERIFY(writeFile(asset->getFullPath(), content));
    box.engine()->assetsChanged();

    QTRY_VERIFY_WITH_TIMEOUT(asset->getDownloadChecksummed(), 5000);
    QCOMPARE(box.requestsFor(QStringLiteral("a.mxf")).size(), 1);
    QCOMPARE(box.requestsFor(QStringLiteral("a.mxf")).first().status, 416);
    QCOMPARE(readFile(asset->getFullPath()), content);
}

void TestDownloadTransfer::unjournalledFinishStillHandsOverAndMovesOn()
{
    TestSandbox box(TestSandbox::WithServer);
    ScriptedPrompts prompts;
    const QByteArray content = patternBytes(1000, 5);
    DCP* dcp = box.makeDCP(QStringLiteral("dcp-1"), QStringLiteral("Film"));
    Reel* reel = box.addReel(dcp, QStringLiteral("reel-1"), 1);
    Asset* asset = box.addAsset(reel, QStringLiteral("asset-1"), QStringLiteral("a.mxf"), content);
    Reel* next = box.addReel(dcp, QStringLiteral("reel-2"), 2);
    Asset* second = box.addAsset(next, QStringLiteral("asset-2"), QStringLiteral("b.mxf"), content);
    // The second body waits until the store is whole again: a journal write that fails
    // while data flows pauses the engine.
    StandInServer::AssetFault held;
    held.stallAfterBytes = 0;
    held.stallSeconds = 0.2;
    box.server.setAssetFault(QStringLiteral("b.mxf"), held);
    box.store(dcp);
    QVERIFY(writeFile(asset->getFullPath(), content)); // completes through the 416 answer
    QSqlQuery query(DatabaseManager::getInstance()->db);
    QVERIFY(query.exec(QStringLiteral("ALTER TABLE notification RENAME TO notification_away")));
    QSignalSpy checking(reel, &Reel::downloadCheckingChecksum);
    box.engine()->assetsChanged();

    // The event cannot be journalled; the reel is verified all the same and the next asset
    // starts instead of the engine holding the finished one.
    QTRY_COMPARE_WITH_TIMEOUT(checking.count(), 1, 5000);
    QTRY_VERIFY_WITH_TIMEOUT(box.engine()->getCurrentAsset() != asset, 2000);
    QTRY_COMPARE_WITH_TIMEOUT(box.requestsFor(QStringLiteral("b.mxf")).size(), 1, 2000);
    QVERIFY(asset->getDownloadFinished());
    QCOMPARE(prompts.count(), 0);
    QVERIFY(query.exec(QStringLiteral("ALTER TABLE notification_away RENAME TO notification")));
    QTRY_VERIFY_WITH_TIMEOUT(second->getDownloadFinished(), 5000);
}

void TestDownloadTransfer::failedWriteResumesFromTrueLength_data()
{
    QTest::addColumn<bool>("diskFull");
    QTest::newRow("write error, space left: retried") << false;
    QTest::newRow("disk full: paused with the box") << true;
}

void TestDownloadTransfer::failedWriteResumesFromTrueLength()
{
    QFETCH(bool, diskFull);
    TestSandbox box(TestSandbox::WithServer);
    ScriptedPrompts prompts;
    const QByteArray content = patternBytes(1500000, 6);
    const qint64 limit = 700000;
    DCP* dcp = box.makeDCP(QStringLiteral("dcp-1"), QStringLiteral("Film"));
    Reel* reel = box.addReel(dcp, QStringLiteral("reel-1"), 1);
    Asset* asset = box.addAsset(reel, QStringLiteral("asset-1"), QStringLiteral("a.mxf"), content);
    const QString path = asset->getFullPath();
    DownloadManager* engine = box.engine();
    engine->setFreeSpaceProbe([&](const QString&) -> qint64 {
        return diskFull && QFileInfo(path).size() >= limit ? 0 : qint64(1) << 40;
    });

    FileSizeLimit fileLimit{rlim_t(limit)};
    box.publish(dcp);

    if (diskFull) {
        QTRY_VERIFY_WITH_TIMEOUT(engine->isPaused(), 5000);
        QCOMPARE(prompts.texts(), QStringList() << QStringLiteral("Not enough disk space"));
        QCOMPARE(Setting::getInstance()->get(QStringLiteral("download_paused")), QStringLiteral("1"));
        QCOMPARE(engine->getCurrentAsset(), asset);
    } else {
        QTRY_VERIFY_WITH_TIMEOUT(box.requestsFor(QStringLiteral("a.mxf")).size() >= 2, 5000);
    }
    QCOMPARE(QFileInfo(path).size(), limit);
    QCOMPARE(readFile(path), content.left(int(limit))); // nothing skipped before the failure

    fileLimit.lift();
    engine->setFreeSpaceProbe({});
    if (diskFull)
        engine->resumeDownloading();
    QTRY_VERIFY_WITH_TIMEOUT(asset->getDownloadChecksummed(), 10000);
    QCOMPARE(readFile(path), content);
    const QStringList ranges = box.rangesFor(QStringLiteral("a.mxf"));
    QCOMPARE(ranges.first(), QStringLiteral("bytes=0-"));
    for (const QString& range : ranges.mid(1))
        QCOMPARE(range, QStringLiteral("bytes=%1-").arg(limit));
}

void TestDownloadTransfer::unwritableFilePausesAndNamesThePath()
{
    TestSandbox box(TestSandbox::WithServer);
    ScriptedPrompts prompts;
    DCP* dcp = box.makeDCP(QStringLiteral("dcp-1"), QStringLiteral("Film"));
    Reel* reel = box.addReel(dcp, QStringLiteral("reel-1"), 1);
    Asset* asset =
        box.addAsset(reel, QStringLiteral("asset-1"), QStringLiteral("a.mxf"), patternBytes(100000));
    asset->setDirectoryPath(QStringLiteral("sub"));
    box.store(dcp);
    // A plain file where the asset's folder should be: the file can never be opened.
    QVERIFY(writeFile(dcp->getDCPPath() + QStringLiteral("/sub"), "in the way"));

    DownloadManager* engine = box.engine();
    engine->assetsChanged();
    QTRY_VERIFY_WITH_TIMEOUT(engine->isPaused(), 5000);
    QCOMPARE(prompts.count(), 1);
    QCOMPARE(prompts.last().icon, Prompt::Critical);
    QVERIFY2(prompts.last().informativeText.contains(asset->getFullPath()),
             qPrintable(prompts.last().informativeText));
    QCOMPARE(engine->getCurrentReply(), nullptr);
    QCOMPARE(engine->getCurrentAsset(), asset);
    QCOMPARE(Setting::getInstance()->get(QStringLiteral("download_paused")), QStringLiteral("1"));

    // Nothing more happens while paused: no retry, no second box.
    const int requests = box.requestsFor(QStringLiteral("a.mxf")).size();
    QTest::qWait(box.stallMs * 3);
    QCOMPARE(box.requestsFor(QStringLiteral("a.mxf")).size(), requests);
    QCOMPARE(prompts.count(), 1);
}

void TestDownloadTransfer::rejectedLinks_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("message");
    const QString missing =
        QStringLiteral("One of the files for DCP Film (friendly) is missing and can not be "
                       "downloaded. You won't be able to finish the given download.");
    QTest::newRow("400") << 400
                         << QStringLiteral(
                                "Download links for DCP Film (friendly) expired. You won't be able to "
                                "finish the given download.");
    QTest::newRow("403") << 403 << missing;
    QTest::newRow("404") << 404 << missing;
}

void TestDownloadTransfer::rejectedLinks()
{
    QFETCH(int, status);
    QFETCH(QString, message);
    TestSandbox box(TestSandbox::WithServer);
    ScriptedPrompts prompts;
    prompts.answer(Prompt::No);
    StandInServer::AssetFault fault;
    fault.status = status;
    box.server.setAssetFault(QStringLiteral("a.mxf"), fault);
    DCP* dcp = box.makeDCP(QStringLiteral("dcp-1"), QStringLiteral("Film"));
    Reel* reel = box.addReel(dcp, QStringLiteral("reel-1"), 1);
    Asset* asset = box.addAsset(reel, QStringLiteral("asset-1"), QStringLiteral("a.mxf"), patternBytes(1000));
    DownloadManager* engine = box.engine();
    QSignalSpy pausedSpy(reel, &Reel::downloadPaused);
    doubleErrors = 0;
    passOn = qInstallMessageHandler(countDoubleErrors);
    box.publish(dcp);

    QTRY_COMPARE_WITH_TIMEOUT(prompts.count(), 1, 5000);
    const PromptRequest asked = prompts.last();
    QCOMPARE(asked.icon, Prompt::Critical);
    QCOMPARE(asked.text, QStringLiteral("Download links expired"));
    QCOMPARE(asked.informativeText,
             message + QStringLiteral(
                           "\r\n\r\nDo you want to remove outdated DCP?\r\n(This will NOT DELETE the files "
                           "on your hard drive but simply remove the DCP from the Reelvane Downloader)"));
    QCOMPARE(asked.buttons, Prompt::Yes | Prompt::No);
    QCOMPARE(asked.defaultButton, Prompt::No);

    // No: paused, the asset stays current, the link is not tried again.
    QVERIFY(engine->isPaused());
    QCOMPARE(pausedSpy.count(), 1);
    QCOMPARE(engine->getCurrentAsset(), asset);
    QCOMPARE(DCPManager::getInstance()->getDCP(QStringLiteral("dcp-1")), dcp);
    QTest::qWait(box.stallMs * 3);
    QCOMPARE(box.requestsFor(QStringLiteral("a.mxf")).size(), 1);
    QCOMPARE(prompts.count(), 1);
    // The reply is aborted only after its error signal has returned.
    qInstallMessageHandler(passOn);
    QCOMPARE(doubleErrors, 0);
}

void TestDownloadTransfer::expiredLinksYesRevealsAndRemoves()
{
    TestSandbox box(TestSandbox::WithServer);
    ScriptedPrompts prompts;
    prompts.answer(Prompt::Yes);
    StandInServer::AssetFault fault;
    fault.status = 404;
    box.server.setAssetFault(QStringLiteral("b.mxf"), fault);
    DCP* dcp = box.makeDCP(QStringLiteral("dcp-1"), QStringLiteral("Film"));
    Reel* reel = box.addReel(dcp, QStringLiteral("reel-1"), 1);
    Asset* good =
        box.addAsset(reel, QStringLiteral("asset-a"), QStringLiteral("a.mxf"), patternBytes(50000, 1));
    Asset* missing =
        box.addAsset(reel, QStringLiteral("asset-b"), QStringLiteral("b.mxf"), patternBytes(50000, 2));
    const QString hiddenGood = good->getFullPath();
    DownloadManager* engine = box.engine();
    QSignalSpy standBy(engine, &DownloadManager::downloadStandBy);
    box.publish(dcp);

    QTRY_COMPARE_WITH_TIMEOUT(prompts.count(), 1, 5000);
    QVERIFY(!QFileInfo::exists(hiddenGood));
    QCOMPARE(readFile(dcp->getDCPPath() + QStringLiteral("/asset-a.mxf")), patternBytes(50000, 1));
    QVERIFY(!QFileInfo::exists(missing->getFullPath()));
    QCOMPARE(DCPManager::getInstance()->getDCP(QStringLiteral("dcp-1")), nullptr);
    QCOMPARE(TestSandbox::scalar(QStringLiteral("SELECT COUNT(*) FROM dcp")), 0);
    QCOMPARE(engine->getCurrentAsset(), nullptr);
    QVERIFY(engine->getDownloadQueue().isEmpty());
    QVERIFY(engine->isPaused());
    QVERIFY(standBy.count() >= 1);
}

void TestDownloadTransfer::redirects_data()
{
    QTest::addColumn<int>("redirects");
    QTest::addColumn<int>("style");
    QTest::addColumn<bool>("fileArrives");
    QTest::newRow("3 root-relative") << 3 << int(StandInServer::RedirectStyle::RootRelative) << true;
    QTest::newRow("3 path-relative") << 3 << int(StandInServer::RedirectStyle::PathRelative) << true;
    QTest::newRow("3 absolute") << 3 << int(StandInServer::RedirectStyle::Absolute) << true;
    QTest::newRow("4th taken as the end") << 4 << int(StandInServer::RedirectStyle::RootRelative) << false;
}

void TestDownloadTransfer::redirects()
{
    QFETCH(int, redirects);
    QFETCH(int, style);
    QFETCH(bool, fileArrives);
    TestSandbox box(TestSandbox::WithServer);
    ScriptedPrompts prompts;
    const QByteArray content = patternBytes(300000, 7);
    StandInServer::AssetFault fault;
    fault.redirects = redirects;
    fault.redirectStyle = StandInServer::RedirectStyle(style);
    box.server.setAssetFault(QStringLiteral("dir/a.mxf"), fault);
    DCP* dcp = box.makeDCP(QStringLiteral("dcp-1"), QStringLiteral("Film"));
    Reel* reel = box.addReel(dcp, QStringLiteral("reel-1"), 1);
    Asset* asset = box.addAsset(reel, QStringLiteral("asset-1"), QStringLiteral("dir/a.mxf"), content);
    // A partial file: every hop must carry the same resume offset.
    box.store(dcp);
    QVERIFY(writeFile(asset->getFullPath(), content.left(1000)));

    qint64 sizeWhenFinished = -1;
    connect(dcp, &DCP::downloadFinished, this, [&]() {
        sizeWhenFinished = QFileInfo(asset->getFullPath()).size();
        // The short file of the 4th redirect fails its digest and would be asked for again
        // before the requests are counted: hold the engine here.
        box.engine()->pauseDownloading(true);
    });
    box.engine()->assetsChanged();
    QTRY_VERIFY_WITH_TIMEOUT(sizeWhenFinished >= 0, 5000);

    const auto requests = box.requestsFor(QStringLiteral("dir/a.mxf"));
    QCOMPARE(requests.size(), 4);
    for (int i = 0; i < requests.size(); ++i) {
        QCOMPARE(requests.at(i).range, QByteArray("bytes=1000-"));
        QCOMPARE(requests.at(i).query, i == 0 ? QString() : QStringLiteral("hop=%1").arg(i));
    }
    QCOMPARE(asset->getRemainingRedirects(), 0);
    if (fileArrives) {
        QCOMPARE(sizeWhenFinished, qint64(content.size()));
        QTRY_VERIFY_WITH_TIMEOUT(asset->getDownloadChecksummed(), 5000);
    } else {
        QCOMPARE(sizeWhenFinished, qint64(1000)); // the redirect body is never written
    }
}

void TestDownloadTransfer::redirectToOtherSchemeIsMissingFile_data()
{
    QTest::addColumn<QByteArray>("location");
    QTest::newRow("local file") << QByteArray("file:///etc/hostname");
    QTest::newRow("ftp") << QByteArray("ftp://127.0.0.1/asset.mxf");
}

void TestDownloadTransfer::redirectToOtherSchemeIsMissingFile()
{
    QFETCH(QByteArray, location);
    TestSandbox box(TestSandbox::WithServer);
    ScriptedPrompts prompts;
    prompts.answer(Prompt::No);
    RedirectResponder responder(location);
    DCP* dcp = box.makeDCP(QStringLiteral("dcp-1"), QStringLiteral("Film"));
    Reel* reel = box.addReel(dcp, QStringLiteral("reel-1"), 1);
    Asset* asset = box.addAssetAt(reel, QStringLiteral("asset-1"), responder.url(), patternBytes(1000));
    DownloadManager* engine = box.engine();
    box.publish(dcp);

    QTRY_COMPARE_WITH_TIMEOUT(prompts.count(), 1, 5000);
    QCOMPARE(prompts.last().text, QStringLiteral("Download links expired"));
    QVERIFY(prompts.last().informativeText.startsWith(
        QStringLiteral("One of the files for DCP Film (friendly) is missing")));
    QVERIFY(engine->isPaused());
    QCOMPARE(responder.requests, 1);
    QCOMPARE(QFileInfo(asset->getFullPath()).size(), qint64(0));
    QCOMPARE(asset->getDownloadUrl(), responder.url());
    QVERIFY(!asset->getDownloadFinished());
}

void TestDownloadTransfer::lostFileStopsWithinASecond_data()
{
    QTest::addColumn<bool>("wholeFolder");
    QTest::newRow("folder removed") << true;
    QTest::newRow("file deleted") << false;
}

void TestDownloadTransfer::lostFileStopsWithinASecond()
{
    QFETCH(bool, wholeFolder);
    TestSandbox box(TestSandbox::WithServer);
    ScriptedPrompts prompts;
    StandInServer::AssetFault slow;
    slow.throttleBytesPerSecond = 400000;
    box.server.setAssetFault(QStringLiteral("a.mxf"), slow);
    DCP* dcp = box.makeDCP(QStringLiteral("dcp-1"), QStringLiteral("Film"));
    Reel* reel = box.addReel(dcp, QStringLiteral("reel-1"), 1);
    Asset* asset =
        box.addAsset(reel, QStringLiteral("asset-1"), QStringLiteral("a.mxf"), patternBytes(2000000, 8));
    DownloadManager* engine = box.engine();
    box.publish(dcp);
    const QString path = asset->getFullPath();
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(path).size() > 100000, 5000);

    if (wholeFolder)
        QVERIFY(QDir(dcp->getDCPPath()).removeRecursively());
    else
        QVERIFY(QFile::remove(path));
    QTRY_VERIFY_WITH_TIMEOUT(engine->isPaused(), 1000);
    QCOMPARE(prompts.texts(), QStringList() << QStringLiteral("Unable to write the download"));
    QVERIFY2(prompts.last().informativeText.contains(path), qPrintable(prompts.last().informativeText));
    QCOMPARE(engine->getCurrentReply(), nullptr);
    QCOMPARE(engine->getCurrentAsset(), asset);
    QVERIFY(!asset->getDownloadFinished());
    QCOMPARE(TestSandbox::scalar(QStringLiteral("SELECT COUNT(*) FROM asset WHERE download_finished")), 0);
    QCOMPARE(QFileInfo::exists(dcp->getDCPPath()), !wholeFolder); // never made again on another disk
}

void TestDownloadTransfer::bodyNeverPassesItsAsset_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<int>("have");
    QTest::addColumn<QStringList>("ranges");
    const int size = 300000;
    QTest::newRow("endless 200 answer")
        << QStringLiteral("overrun=endless") << 0
        << QStringList{QStringLiteral("bytes=0-"), QStringLiteral("bytes=%1-").arg(size)};
    QTest::newRow("206 with garbage past the end")
        << QStringLiteral("overrun=50000") << 100000
        << QStringList{QStringLiteral("bytes=100000-"), QStringLiteral("bytes=%1-").arg(size)};
    QTest::newRow("Content-Range total larger than the asset")
        << QStringLiteral("overrun=50000,overrun-in-range") << 100000
        << QStringList{QStringLiteral("bytes=100000-"), QStringLiteral("bytes=100000-")};
}

void TestDownloadTransfer::bodyNeverPassesItsAsset()
{
    QFETCH(QString, fault);
    QFETCH(int, have);
    QFETCH(QStringList, ranges);
    TestSandbox box(TestSandbox::WithServer);
    ScriptedPrompts prompts;
    const QByteArray content = patternBytes(300000, 9);
    StandInServer::AssetFault parsed;
    QVERIFY(StandInServer::parseAssetFault(fault, &parsed, nullptr));
    box.server.setAssetFault(QStringLiteral("a.mxf"), parsed);
    DCP* dcp = box.makeDCP(QStringLiteral("dcp-1"), QStringLiteral("Film"));
    Reel* reel = box.addReel(dcp, QStringLiteral("reel-1"), 1);
    Asset* asset = box.addAsset(reel, QStringLiteral("asset-1"), QStringLiteral("a.mxf"), content);
    box.store(dcp);
    if (have > 0)
        QVERIFY(writeFile(asset->getFullPath(), content.left(have)));

    qint64 largest = 0;
    box.engine()->setTickObserver([&](const DownloadManager::TickRecord&) {
        largest = qMax(largest, QFileInfo(asset->getFullPath()).size());
    });
    box.engine()->assetsChanged();

    QTRY_VERIFY_WITH_TIMEOUT(asset->getDownloadChecksummed(), 10000);
    QVERIFY2(largest <= content.size(), qPrintable(QString::number(largest)));
    QCOMPARE(readFile(asset->getFullPath()), content);
    QCOMPARE(box.rangesFor(QStringLiteral("a.mxf")), ranges);
    QCOMPARE(asset->getDownloadAttempts(), 0u);
    QCOMPARE(prompts.count(), 0);
}

void TestDownloadTransfer::limitHoldsAtEveryTick_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<unsigned>("mbit");
    QTest::newRow("small asset at 1 Mbit/s") << 60000 << 1u;
    QTest::newRow("large asset at 4 Mbit/s") << 600000 << 4u;
}

void TestDownloadTransfer::limitHoldsAtEveryTick()
{
    QFETCH(int, size);
    QFETCH(unsigned, mbit);
    TestSandbox box(TestSandbox::WithServer);
    ScriptedPrompts prompts;
    const QByteArray content = patternBytes(size, 11);
    DCP* dcp = box.makeDCP(QStringLiteral("dcp-1"), QStringLiteral("Film"));
    Reel* reel = box.addReel(dcp, QStringLiteral("reel-1"), 1);
    Asset* asset = box.addAsset(reel, QStringLiteral("asset-1"), QStringLiteral("a.mxf"), content);
    DownloadManager* engine = box.engine();
    engine->setReadChunkSize(mbit * 125000);
    const quint32 chunk = engine->getReadChunkSize();
    QVERIFY(engine->replyBufferSize() < engine->getReadBufferSize()); // read-ahead follows the limit

    QList<DownloadManager::TickRecord> ticks;
    engine->setTickObserver([&](const DownloadManager::TickRecord& tick) { ticks << tick; });
    box.publish(dcp);
    QTRY_VERIFY_WITH_TIMEOUT(asset->getDownloadFinished(), 10000);

    qint64 total = 0;
    int drained = 0;
    for (const auto& tick : ticks) {
        QCOMPARE(tick.chunk, chunk);
        QVERIFY(tick.carryBefore <= tick.buffer && tick.carryAfter <= tick.buffer);
        QVERIFY(quint64(tick.written) <= tick.chunk + tick.carryBefore);
        if (tick.replyFinished) {
            QVERIFY(quint64(tick.written) <= tick.chunk);
            ++drained;
        }
        total += tick.written;
    }
    QCOMPARE(total, qint64(size));
    QVERIFY2(drained > 1, "the finished reply was drained tick by tick");
    QCOMPARE(readFile(asset->getFullPath()), content);
}

void TestDownloadTransfer::noLimitModeFromTheSetting()
{
    TestSandbox box(TestSandbox::WithServer);
    ScriptedPrompts prompts;
    Setting::getInstance()->set(QStringLiteral("download_limit_off"), QStringLiteral("1"));
    const QByteArray content = patternBytes(3000000, 12);
    DCP* dcp = box.makeDCP(QStringLiteral("dcp-1"), QStringLiteral("Film"));
    Reel* reel = box.addReel(dcp, QStringLiteral("reel-1"), 1);
    Asset* asset = box.addAsset(reel, QStringLiteral("asset-1"), QStringLiteral("a.mxf"), content);
    DownloadManager* engine = box.engine();
    QVERIFY(engine->property("limit_off").toBool());
    engine->setReadChunkSize(125000); // the slider keeps its value but does not apply

    qint64 largestRead = 0;
    engine->setTickObserver(
        [&](const DownloadManager::TickRecord& tick) { largestRead = qMax(largestRead, tick.written); });
    box.publish(dcp);
    QTRY_VERIFY_WITH_TIMEOUT(asset->getDownloadChecksummed(), 10000);
    QCOMPARE(readFile(asset->getFullPath()), content);
    QVERIFY2(largestRead > qint64(engine->getReadChunkSize()), qPrintable(QString::number(largestRead)));

    // Switched off again, the limit holds from the next read on.
    QSignalSpy changed(engine, &DownloadManager::limitOffChanged);
    QVERIFY(engine->setProperty("limit_off", false));
    QCOMPARE(changed.count(), 1);
    QCOMPARE(engine->replyBufferSize(), 25000u);
}

void TestDownloadTransfer::serverNotAnsweringAfterThreeFailures()
{
    TestSandbox box(TestSandbox::WithServer);
    ScriptedPrompts prompts;
    StandInServer::AssetFault fault;
    fault.status = 500;
    fault.statusTimes = 3;
    box.server.setAssetFault(QStringLiteral("a.mxf"), fault);
    DCP* dcp = box.makeDCP(QStringLiteral("dcp-1"), QStringLiteral("Film"));
    Reel* reel = box.addReel(dcp, QStringLiteral("reel-1"), 1);
    Asset* asset =
        box.addAsset(reel, QStringLiteral("asset-1"), QStringLiteral("a.mxf"), patternBytes(50000));
    DownloadManager* engine = box.engine();
    QList<int> requestsAtSignal;
    QStringList reasons;
    connect(engine, &DownloadManager::serverNotAnswering, this, [&](const QString& reason) {
        requestsAtSignal << box.requestsFor(QStringLiteral("a.mxf")).size();
        reasons << reason;
    });
    box.publish(dcp);

    // Retried all the while; the fourth answer carries data and the file arrives.
    QTRY_VERIFY_WITH_TIMEOUT(asset->getDownloadChecksummed(), 10000);
    QCOMPARE(requestsAtSignal, QList<int>() << 3);
    QVERIFY2(reasons.first().contains(QStringLiteral("500")), qPrintable(reasons.first()));
    QCOMPARE(prompts.count(), 0);
}

QTEST_MAIN(TestDownloadTransfer)
#include "tst_download_transfer.moc"
