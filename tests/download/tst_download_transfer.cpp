// The HTTP transfer through the engine against the in-process stand-in server: resumption,
// misbehaving servers, rejected links, redirects, failing writes and the bandwidth limit.

#include "LogCapture.h"
#include "ScriptedPrompts.h"
#include "TestSandbox.h"
#include "core/UserPrompt.h"
#include "download/DownloadManager.h"
#include "model/Asset.h"
#include "model/DCP.h"
#include "model/DCPManager.h"
#include "model/Reel.h"
#include "storage/Setting.h"

#include <QDir>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <QtTest>

#include <csignal>
#include <memory>
#include <sys/resource.h>

namespace {

// Below a folder, so that a path-relative redirect is resolved against it.
const QString servedAt = QStringLiteral("dir/a.mxf");

// DCP "dcp-1" with one reel and one asset served at path.
Asset* singleAsset(TestSandbox& box, const QByteArray& content, const QString& path = servedAt)
{
    DCP* dcp = box.makeDCP(QStringLiteral("dcp-1"), QStringLiteral("Film"));
    return box.addAsset(box.addReel(dcp, QStringLiteral("reel-1"), 1), QStringLiteral("asset-1"), path,
                        content);
}

// The engine starts no new request within ms: every request begins with currentDcpChanged.
bool staysIdle(DownloadManager* engine, int ms)
{
    QSignalSpy restarts(engine, &DownloadManager::currentDcpChanged);
    return !restarts.wait(ms);
}

// Answers every request with a redirect to a fixed Location, which the stand-in cannot do
// for addresses of other schemes.
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

// A stand-in serving root on a thread of its own.
struct ServerThread : QThread
{
    explicit ServerThread(const QString& root)
    {
        server->setAssetRoot(root), server->moveToThread(this), start();
        QMetaObject::invokeMethod(
            server, [this]() { server->listen(); }, Qt::BlockingQueuedConnection);
    }
    ~ServerThread() override { server->deleteLater(), quit(), wait(); }
    StandInServer* server = new StandInServer;
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

} // namespace

class TestDownloadTransfer : public QObject
{
    Q_OBJECT

private slots:
    void serverFaults_data();
    void serverFaults();
    void unjournalledFinishStillHandsOverAndMovesOn();
    void failedWriteResumesFromTrueLength();
    void fileCannotBeWritten_data();
    void fileCannotBeWritten();
    void rejectedLinks_data();
    void rejectedLinks();
    void fourthRedirectIsAFailedAttempt();
    void serverFileOfAnotherSizeWaits_data();
    void serverFileOfAnotherSizeWaits();
    void limit_data();
    void limit();
    void speedFloorIsARate();
};

// Whatever the server does wrong, the file ends up whole and right at the first verification,
// never grows past the asset, and the journal shows where each request resumed.
void TestDownloadTransfer::serverFaults_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<int>("have");             // bytes already on disk
    QTest::addColumn<unsigned>("mbit");        // 0: no limit set
    QTest::addColumn<QString>("ranges");       // of every request; "*": resumed anywhere up to byte 300000
    QTest::addColumn<int>("liftAfter");        // refused requests before the fault is lifted (0: never)
    QTest::addColumn<QString>("notAnswering"); // in the reason of serverNotAnswering (empty: never raised)
    const auto row = [](const char* name, const char* fault, int have, unsigned mbit, const char* ranges,
                        int liftAfter = 0, const char* notAnswering = "") {
        QTest::newRow(name) << QString::fromLatin1(fault) << have << mbit << QString::fromLatin1(ranges)
                            << liftAfter << QString::fromLatin1(notAnswering);
    };
    row("clean close before the announced length", "drop=300000,throttle=1000000", 0, 0, "0 *");
    row("connection reset mid-body", "drop=300000,drop-reset,throttle=1000000", 0, 0, "0 *");
    row("server goes silent", "stall=250000,stall-seconds=-1", 0, 0, "0 *");
    // At 4 Mbit/s the reply still holds unwritten bytes when the connection drops; they
    // are written, so the next request starts past them.
    row("clean close with bytes still in the reply", "drop=300000", 0, 4, "0 300000");
    // Qt may take a cut for the body's end; "cut N": every request resumes at a multiple of N,
    // never behind the one before, 50 cuts and more.
    row("cut 53 times at the default limit", "drop=17000,drop-times=-1", 0, 200, "cut 17000");
    row("cut 53 times, throttled server", "drop=17000,drop-times=-1,throttle=2000000", 0, 200, "cut 17000");
    row("whole body for a resumed request: starts again", "ignore-range", 170000, 0, "170000");
    row("Content-Range before the offset: file cut back", "range-delta=-5000", 100000, 0, "100000");
    row("Content-Range after the offset: nothing written, reported at the third", "range-delta=5000", 100000,
        0, "100000", 3, "instead of 100000");
    row("416 for a file already whole", "", 900000, 0, "900000");
    // Left longer by something else: cut back to the asset's size, verified as it is.
    row("file longer than the asset", "", 905000, 0, "905000");
    row("endless 200 answer", "overrun=endless", 0, 0, "0 900000");
    row("206 with garbage past the end", "overrun=50000", 100000, 0, "100000 900000");
    row("Content-Range total larger than the asset", "overrun=50000,overrun-in-range", 100000, 0,
        "100000 100000");
    row("three 500 answers: reported at the third, retried all the while", "status=500,status-times=3", 0, 0,
        "0 0 0 0", 0, "500");
    // Never decoded: refused at the headers, whatever it would inflate to.
    row("gzip bomb", "gzip=268435456", 0, 0, "0", 3, "encoded body (gzip)");
    // Each restart reaches the server: a new connection, not one queued behind the flood.
    row("endless headers", "header-flood", 0, 0, "0", 3, "Headers incomplete");
    // "~": resumed wherever the drip left the file.
    row("drip below the speed floor", "drip=100", 0, 0, "~", 3, "Less than 1024 bytes/s");
    // Every hop carries the offset; only the last one gets the file.
    row("3 root-relative redirects", "redirects=3,redirect-style=root", 1000, 0, "1000 1000 1000 1000");
    row("3 path-relative redirects", "redirects=3,redirect-style=path", 1000, 0, "1000 1000 1000 1000");
    row("3 absolute redirects", "redirects=3,redirect-style=absolute", 1000, 0, "1000 1000 1000 1000");
}

void TestDownloadTransfer::serverFaults()
{
    QFETCH(QString, fault);
    QFETCH(int, have);
    QFETCH(unsigned, mbit);
    QFETCH(QString, ranges);
    QFETCH(int, liftAfter);
    QFETCH(QString, notAnswering);
    TestSandbox box(TestSandbox::WithServer);
    ScriptedPrompts prompts;
    const QByteArray content = patternBytes(900000, 2);
    StandInServer::AssetFault parsed;
    QString parseError;
    QVERIFY2(StandInServer::parseAssetFault(fault, &parsed, &parseError), qPrintable(parseError));
    // A cut races with the client's reads only when the server runs beside it, as real ones do.
    const bool cuts = ranges.startsWith(QLatin1String("cut "));
    std::unique_ptr<ServerThread> beside(cuts ? new ServerThread(box.server.assetRoot()) : nullptr);
    StandInServer* server = beside ? beside->server : &box.server;
    server->setAssetFault(servedAt, parsed);
    Asset* asset = singleAsset(box, content);
    asset->setDownloadUrl(server->assetUrl(servedAt).toString());
    const auto requests = [&]() {
        return server->journalFor(QStringLiteral("/assets/") + servedAt);
    };
    box.store(asset->getDCP());
    if (have > 0)
        QVERIFY(writeFile(asset->getFullPath(),
                          content.left(have) + QByteArray(qMax(0, have - content.size()), 'x')));

    DownloadManager* engine = box.engine();
    if (mbit > 0)
        engine->setReadChunkSize(mbit * 125000);
    if (cuts)
        engine->setTimeoutInterval(150); // the retry after each cut
    engine->setSpeedFloor(1024, 300);
    qint64 largest = 0;
    engine->setTickObserver([&](const DownloadManager::TickRecord&) {
        largest = qMax(largest, QFileInfo(asset->getFullPath()).size());
    });
    QList<int> requestsAtSignal;
    QStringList reasons;
    connect(engine, &DownloadManager::serverNotAnswering, this, [&](const QString& reason) {
        requestsAtSignal << requests().size();
        reasons << reason;
    });
    QList<int> requestsAtFault;
    connect(engine, &DownloadManager::serverFault, this,
            [&](const QString&) { requestsAtFault << requests().size(); });
    engine->assetsChanged();

    if (liftAfter > 0) {
        // The misplaced body is refused; the file keeps its length until a sane answer.
        QTRY_VERIFY_WITH_TIMEOUT(requests().size() >= liftAfter, 5000);
        if (ranges != QLatin1String("~"))
            QCOMPARE(QFileInfo(asset->getFullPath()).size(), qint64(have));
        QVERIFY(!asset->getDownloadFinished());
        server->clearAllAssetFaults();
    }
    QTRY_VERIFY_WITH_TIMEOUT(asset->getDownloadChecksummed(), 30000);
    QCOMPARE(readFile(asset->getFullPath()), content);
    QCOMPARE(asset->getDownloadAttempts(), 0u); // no verification attempt was spent on it
    QVERIFY2(largest <= content.size(), qPrintable(QString::number(largest)));
    QCOMPARE(prompts.count(), 0);

    QStringList got;
    for (const auto& request : requests())
        got << QString::fromLatin1(request.range);
    const QStringList offsets = ranges.split(QLatin1Char(' '));
    QVERIFY(!TestSandbox::events(asset->getReels().first()).contains(7));
    for (const auto& request : requests())
        QVERIFY(request.headers.contains({"Accept-Encoding", "identity"}));
    for (int i = 1; cuts && i < got.size(); ++i) {
        const qint64 at = got.at(i).mid(6).chopped(1).toLongLong();
        QVERIFY2(at % ranges.mid(4).toLongLong() == 0 && at >= got.at(i - 1).mid(6).chopped(1).toLongLong(),
                 qPrintable(got.join(' ')));
    }
    if (cuts)
        QVERIFY2(got.size() > 50, qPrintable(got.join(' ')));
    else if (liftAfter > 0) {
        QVERIFY2(got.size() > liftAfter, qPrintable(got.join(' ')));
        if (ranges != QLatin1String("~"))
            QCOMPARE(got.count(QStringLiteral("bytes=%1-").arg(offsets.first())), got.size());
    } else {
        QCOMPARE(got.size(), offsets.size());
        for (int i = 0; i < got.size(); ++i) {
            const qint64 resumedAt = got.at(i).mid(6).chopped(1).toLongLong();
            if (offsets.at(i) == QLatin1String("*"))
                QVERIFY2(resumedAt > 0 && resumedAt <= 300000, qPrintable(got.at(i)));
            else
                QCOMPARE(got.at(i), QStringLiteral("bytes=%1-").arg(offsets.at(i)));
        }
    }
    if (notAnswering.isEmpty()) {
        QCOMPARE(reasons, QStringList());
    } else {
        QCOMPARE(requestsAtSignal, QList<int>() << 3);
        QVERIFY2(reasons.first().contains(notAnswering), qPrintable(reasons.first()));
        // The status line hears of the first failed attempt, not only of the third.
        QCOMPARE(requestsAtFault.mid(0, 3), (QList<int>{1, 2, 3}));
    }
}

void TestDownloadTransfer::unjournalledFinishStillHandsOverAndMovesOn()
{
    TestSandbox box(TestSandbox::WithServer);
    ScriptedPrompts prompts;
    const QByteArray content = patternBytes(1000, 5);
    Asset* asset = singleAsset(box, content);
    Reel* reel = asset->getReels().first();
    Reel* next = box.addReel(asset->getDCP(), QStringLiteral("reel-2"), 2);
    Asset* second = box.addAsset(next, QStringLiteral("asset-2"), QStringLiteral("b.mxf"), content);
    // The second body waits until the store is whole again: a journal write that fails
    // while data flows pauses the engine.
    StandInServer::AssetFault held;
    held.stallAfterBytes = 0;
    held.stallSeconds = 0.2;
    box.server.setAssetFault(QStringLiteral("b.mxf"), held);
    box.store(asset->getDCP());
    QVERIFY(writeFile(asset->getFullPath(), content)); // completes through the 416 answer
    QVERIFY(TestSandbox::exec(QStringLiteral("ALTER TABLE notification RENAME TO notification_away")));
    QSignalSpy checking(reel, &Reel::downloadCheckingChecksum);
    box.engine()->assetsChanged();

    // The event cannot be journalled; the reel is verified all the same and the next asset
    // starts instead of the engine holding the finished one.
    QTRY_COMPARE_WITH_TIMEOUT(checking.count(), 1, 5000);
    QTRY_VERIFY_WITH_TIMEOUT(box.engine()->getCurrentAsset() != asset, 2000);
    QTRY_COMPARE_WITH_TIMEOUT(box.requestsFor(QStringLiteral("b.mxf")).size(), 1, 2000);
    QVERIFY(asset->getDownloadFinished());
    QCOMPARE(prompts.count(), 0);
    QVERIFY(TestSandbox::exec(QStringLiteral("ALTER TABLE notification_away RENAME TO notification")));
    QTRY_VERIFY_WITH_TIMEOUT(second->getDownloadFinished(), 5000);
}

// A write falls short: with space left the next request resumes from what the file really
// holds; once the disk is full the engine pauses with its box, and the resume goes on.
void TestDownloadTransfer::failedWriteResumesFromTrueLength()
{
    TestSandbox box(TestSandbox::WithServer);
    ScriptedPrompts prompts;
    const QByteArray content = patternBytes(1500000, 6);
    const qint64 limit = 700000;
    Asset* asset = singleAsset(box, content);
    const QString path = asset->getFullPath();
    DownloadManager* engine = box.engine();
    bool diskFull = false;
    engine->setFreeSpaceProbe([&](const QString&) -> qint64 { return diskFull ? 0 : qint64(1) << 40; });
    FileSizeLimit fileLimit{rlim_t(limit)};
    box.publish(asset->getDCP());

    QTRY_VERIFY_WITH_TIMEOUT(box.requestsFor(servedAt).size() >= 2, 5000);
    QCOMPARE(QFileInfo(path).size(), limit);
    QCOMPARE(readFile(path), content.left(int(limit))); // nothing skipped before the failure
    QVERIFY(!engine->isPaused());
    QCOMPARE(prompts.count(), 0);

    diskFull = true;
    QTRY_VERIFY_WITH_TIMEOUT(engine->isPaused(), 5000);
    QCOMPARE(prompts.texts(), QStringList() << QStringLiteral("Not enough disk space"));
    QCOMPARE(Setting::getInstance()->get(QStringLiteral("download_paused")), QStringLiteral("1"));
    QCOMPARE(engine->getCurrentAsset(), asset);
    QCOMPARE(QFileInfo(path).size(), limit);

    fileLimit.lift();
    diskFull = false;
    engine->resumeDownloading();
    QTRY_VERIFY_WITH_TIMEOUT(asset->getDownloadChecksummed(), 10000);
    QCOMPARE(readFile(path), content);
    const QStringList ranges = box.rangesFor(servedAt);
    QCOMPARE(ranges.first(), QStringLiteral("bytes=0-"));
    for (const QString& range : ranges.mid(1))
        QCOMPARE(range, QStringLiteral("bytes=%1-").arg(limit));
}

// The file or its folder is gone, or can never be opened: the engine pauses at once with a
// box naming the file, records nothing as finished, and tries no more.
void TestDownloadTransfer::fileCannotBeWritten_data()
{
    QTest::addColumn<QString>("cause");
    QTest::newRow("folder removed mid-body") << QStringLiteral("folder");
    QTest::newRow("file deleted mid-body") << QStringLiteral("file");
    QTest::newRow("a plain file where the asset's folder should be") << QStringLiteral("blocked");
}

void TestDownloadTransfer::fileCannotBeWritten()
{
    QFETCH(QString, cause);
    TestSandbox box(TestSandbox::WithServer);
    ScriptedPrompts prompts;
    StandInServer::AssetFault slow;
    slow.throttleBytesPerSecond = 400000;
    box.server.setAssetFault(servedAt, slow);
    Asset* asset = singleAsset(box, patternBytes(2000000, 8));
    DCP* dcp = asset->getDCP();
    if (cause == QLatin1String("blocked")) {
        asset->setDirectoryPath(QStringLiteral("sub"));
        QVERIFY(writeFile(dcp->getDCPPath() + QStringLiteral("/sub"), "in the way"));
    }
    DownloadManager* engine = box.engine();
    box.publish(dcp);
    const QString path = asset->getFullPath();
    if (cause != QLatin1String("blocked")) {
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(path).size() > 100000, 5000);
        if (cause == QLatin1String("folder"))
            QVERIFY(QDir(dcp->getDCPPath()).removeRecursively());
        else
            QVERIFY(QFile::remove(path));
    }

    QTRY_VERIFY_WITH_TIMEOUT(engine->isPaused(), 1000);
    QCOMPARE(prompts.texts(), QStringList() << QStringLiteral("Unable to write the download"));
    QCOMPARE(prompts.last().icon, Prompt::Critical);
    QVERIFY2(prompts.last().informativeText.contains(path), qPrintable(prompts.last().informativeText));
    QCOMPARE(engine->getCurrentReply(), nullptr);
    QCOMPARE(engine->getCurrentAsset(), asset);
    QCOMPARE(Setting::getInstance()->get(QStringLiteral("download_paused")), QStringLiteral("1"));
    QVERIFY(!asset->getDownloadFinished());
    QCOMPARE(TestSandbox::rowCount(QStringLiteral("asset"), QStringLiteral("download_finished")), 0);
    // Never made again, maybe on another disk.
    QCOMPARE(QFileInfo::exists(dcp->getDCPPath()), cause != QLatin1String("folder"));

    const int requests = box.requestsFor(servedAt).size();
    QVERIFY(staysIdle(engine, box.stallMs * 3));
    QCOMPARE(box.requestsFor(servedAt).size(), requests);
    QCOMPARE(prompts.count(), 1);
}

// A link the server rejects, or a redirect to something that cannot be fetched: the engine
// pauses and asks whether to remove the DCP; it never tries the link again.
void TestDownloadTransfer::rejectedLinks_data()
{
    QTest::addColumn<int>("status"); // 0: redirected to location instead
    QTest::addColumn<QByteArray>("location");
    QTest::addColumn<bool>("expired"); // the expired-links message, else the missing-file one
    QTest::addColumn<bool>("remove");  // the user answers Yes
    QTest::newRow("400") << 400 << QByteArray() << true << false;
    QTest::newRow("403") << 403 << QByteArray() << false << false;
    QTest::newRow("404") << 404 << QByteArray() << false << false;
    QTest::newRow("404, Yes reveals the files and removes the DCP") << 404 << QByteArray() << false << true;
    QTest::newRow("redirect to a local file") << 0 << QByteArray("file:///etc/hostname") << false << false;
    QTest::newRow("redirect to ftp") << 0 << QByteArray("ftp://127.0.0.1/asset.mxf") << false << false;
}

void TestDownloadTransfer::rejectedLinks()
{
    QFETCH(int, status);
    QFETCH(QByteArray, location);
    QFETCH(bool, expired);
    QFETCH(bool, remove);
    TestSandbox box(TestSandbox::WithServer);
    ScriptedPrompts prompts;
    prompts.answer(remove ? Prompt::Yes : Prompt::No);
    LogCapture log;
    RedirectResponder responder(location);
    StandInServer::AssetFault fault;
    fault.status = status;
    box.server.setAssetFault(QStringLiteral("b.mxf"), fault);
    // A file that arrives before the rejected one.
    Asset* good = singleAsset(box, patternBytes(50000, 1));
    DCP* dcp = good->getDCP();
    Reel* reel = good->getReels().first();
    const QByteArray bytes = patternBytes(1000, 2);
    Asset* rejected = status > 0
                          ? box.addAsset(reel, QStringLiteral("asset-b"), QStringLiteral("b.mxf"), bytes)
                          : box.addAssetAt(reel, QStringLiteral("asset-b"), responder.url(), bytes);
    const QString url = rejected->getDownloadUrl();
    const QString hiddenGood = good->getFullPath();
    DownloadManager* engine = box.engine();
    QSignalSpy reelPaused(reel, &Reel::downloadPaused);
    QSignalSpy standBy(engine, &DownloadManager::downloadStandBy);
    box.publish(dcp);

    QTRY_COMPARE_WITH_TIMEOUT(prompts.count(), 1, 5000);
    const PromptRequest asked = prompts.last();
    QCOMPARE(asked.icon, Prompt::Critical);
    QCOMPARE(asked.text, QStringLiteral("Download links expired"));
    const QString message =
        expired
            ? QStringLiteral("Download links for DCP Film (friendly) expired. You won't be able to finish "
                             "the given download.")
            : QStringLiteral("One of the files for DCP Film (friendly) is missing and can not be "
                             "downloaded. You won't be able to finish the given download.");
    QCOMPARE(asked.informativeText,
             message + QStringLiteral(
                           "\r\n\r\nDo you want to remove outdated DCP?\r\n(This will NOT DELETE the files "
                           "on your hard drive but simply remove the DCP from the Reelvane Downloader)"));
    QCOMPARE(asked.buttons, Prompt::Yes | Prompt::No);
    QCOMPARE(asked.defaultButton, Prompt::No);

    QVERIFY(engine->isPaused());
    QVERIFY(staysIdle(engine, box.stallMs * 3));
    QCOMPARE(status > 0 ? box.requestsFor(QStringLiteral("b.mxf")).size() : responder.requests, 1);
    QCOMPARE(prompts.count(), 1);
    QCOMPARE(QFileInfo(rejected->getFullPath()).size(), qint64(0));
    QCOMPARE(rejected->getDownloadUrl(), url);
    QVERIFY(!rejected->getDownloadFinished());
    // Qt's complaint when a reply is aborted inside its own error signal.
    QVERIFY(!log.contains(QStringLiteral("must only be called once")));

    if (!remove) {
        QCOMPARE(reelPaused.count(), 1);
        QCOMPARE(engine->getCurrentAsset(), rejected);
        QCOMPARE(box.catalogue()->getDCP(QStringLiteral("dcp-1")), dcp);
        QVERIFY(QFileInfo::exists(hiddenGood));
        return;
    }
    QVERIFY(!QFileInfo::exists(hiddenGood));
    QCOMPARE(readFile(dcp->getDCPPath() + QStringLiteral("/asset-1.mxf")), patternBytes(50000, 1));
    QCOMPARE(box.catalogue()->getDCP(QStringLiteral("dcp-1")), nullptr);
    QCOMPARE(TestSandbox::rowCount(QStringLiteral("dcp")), 0);
    QCOMPARE(engine->getCurrentAsset(), nullptr);
    QVERIFY(engine->getDownloadQueue().isEmpty());
    QVERIFY(standBy.count() >= 1);
}

// A fourth redirect ends the request, never the file: retried, and reported at the third time.
void TestDownloadTransfer::fourthRedirectIsAFailedAttempt()
{
    TestSandbox box(TestSandbox::WithServer);
    ScriptedPrompts prompts;
    const QByteArray content = patternBytes(300000, 7);
    StandInServer::AssetFault fault;
    fault.redirects = 4;
    box.server.setAssetFault(servedAt, fault);
    Asset* asset = singleAsset(box, content);
    box.store(asset->getDCP());
    QVERIFY(writeFile(asset->getFullPath(), content.left(1000)));

    QSignalSpy notAnswering(box.engine(), &DownloadManager::serverNotAnswering);
    box.engine()->assetsChanged();
    QTRY_COMPARE_WITH_TIMEOUT(notAnswering.count(), 1, 5000);
    QCOMPARE(notAnswering.first().first().toString(), QStringLiteral("Too many redirects"));
    QVERIFY(!asset->getDownloadFinished());
    QCOMPARE(QFileInfo(asset->getFullPath()).size(), qint64(1000)); // the redirect body is never written
    QVERIFY(box.rangesFor(servedAt).join(' ').startsWith(QStringLiteral("bytes=1000- ").repeated(4)));
    QCOMPARE(asset->getRemainingRedirects(), 0);
}

// The server's file keeps another size than the package's: at the third answer the asset
// waits, with both sizes for the status line and the tile, while the next one goes on; the
// user's start of the DCP asks again.
void TestDownloadTransfer::serverFileOfAnotherSizeWaits_data()
{
    QTest::addColumn<QString>("fault");
    QTest::newRow("Content-Range total") << QStringLiteral("overrun=50000,overrun-in-range,overrun-times=-1");
    QTest::newRow("length of a 200 answer") << QStringLiteral("ignore-range,overrun=50000,overrun-times=-1");
}

void TestDownloadTransfer::serverFileOfAnotherSizeWaits()
{
    QFETCH(QString, fault);
    TestSandbox box(TestSandbox::WithServer);
    ScriptedPrompts prompts;
    LogCapture log;
    StandInServer::AssetFault parsed;
    StandInServer::parseAssetFault(fault, &parsed, nullptr);
    box.server.setAssetFault(servedAt, parsed);
    Asset* asset = singleAsset(box, patternBytes(300000, 3));
    DCP* dcp = asset->getDCP();
    Asset* other = box.addAsset(box.addReel(dcp, QStringLiteral("reel-2"), 2), QStringLiteral("asset-2"),
                                QStringLiteral("b.mxf"), patternBytes(1000, 4));
    DownloadManager* engine = box.engine();
    QSignalSpy differs(engine, &DownloadManager::serverFileDiffers);
    box.publish(dcp);

    QTRY_COMPARE_WITH_TIMEOUT(differs.count(), 1, 5000);
    QCOMPARE(
        differs.first().at(1).toString(),
        QStringLiteral("The server's file and the package disagree: 350000 bytes on the server, 300000 in "
                       "the package. Downloads of this file wait."));
    QCOMPARE(engine->sizeDisagreement(dcp), QStringLiteral("Server 350000 \u2260 package 300000"));
    QVERIFY(log.contains(box.server.assetUrl(servedAt).toString()));
    QTRY_VERIFY_WITH_TIMEOUT(other->getDownloadFinished(), 5000);
    QVERIFY(staysIdle(engine, box.stallMs * 3));
    QCOMPARE(box.requestsFor(servedAt).size(), 3);
    QCOMPARE(QFileInfo(asset->getFullPath()).size() + prompts.count(), qint64(0));

    box.server.clearAllAssetFaults();
    engine->startDownloading(dcp);
    QCOMPARE(engine->sizeDisagreement(dcp), QString());
    QTRY_VERIFY_WITH_TIMEOUT(asset->getDownloadChecksummed(), 5000);
}

void TestDownloadTransfer::limit_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<unsigned>("mbit");
    QTest::addColumn<bool>("off"); // no-limit mode, from the stored setting
    QTest::newRow("small asset at 1 Mbit/s") << 60000 << 1u << false;
    QTest::newRow("large asset at 4 Mbit/s") << 600000 << 4u << false;
    QTest::newRow("no-limit mode: the slider keeps its value") << 3000000 << 1u << true;
}

void TestDownloadTransfer::limit()
{
    QFETCH(int, size);
    QFETCH(unsigned, mbit);
    QFETCH(bool, off);
    TestSandbox box(TestSandbox::WithServer);
    ScriptedPrompts prompts;
    if (off)
        Setting::getInstance()->set(QStringLiteral("download_limit_off"), QStringLiteral("1"));
    const QByteArray content = patternBytes(size, 11);
    Asset* asset = singleAsset(box, content);
    DownloadManager* engine = box.engine();
    QCOMPARE(engine->property("limit_off").toBool(), off);
    engine->setReadChunkSize(mbit * 125000);
    const quint32 chunk = engine->getReadChunkSize();
    // The read-ahead follows the limit.
    QCOMPARE(engine->replyBufferSize() < engine->getReadBufferSize(), !off);

    QList<DownloadManager::TickRecord> ticks;
    engine->setTickObserver([&](const DownloadManager::TickRecord& tick) { ticks << tick; });
    box.publish(asset->getDCP());
    QTRY_VERIFY_WITH_TIMEOUT(asset->getDownloadChecksummed(), 10000);
    QCOMPARE(readFile(asset->getFullPath()), content);

    qint64 total = 0;
    qint64 largest = 0;
    int drained = 0;
    for (const auto& tick : ticks) {
        total += tick.written;
        largest = qMax(largest, tick.written);
        if (off)
            continue;
        QCOMPARE(tick.chunk, chunk);
        QVERIFY(tick.carryBefore <= tick.buffer && tick.carryAfter <= tick.buffer);
        QVERIFY(quint64(tick.written) <= tick.chunk + tick.carryBefore);
        if (tick.replyFinished) {
            QVERIFY(quint64(tick.written) <= tick.chunk);
            ++drained;
        }
    }
    QCOMPARE(total, qint64(size));
    if (!off) {
        QVERIFY2(drained > 1, "the finished reply was drained tick by tick");
        return;
    }
    QVERIFY2(largest > qint64(chunk), qPrintable(QString::number(largest)));
    // Switched off again, the limit holds from the next read on.
    QSignalSpy changed(engine, &DownloadManager::limitOffChanged);
    QVERIFY(engine->setProperty("limit_off", false));
    QCOMPARE(changed.count(), 1);
    QCOMPARE(engine->replyBufferSize(), 25000u);
}

// The speed floor is bytes per second over its window: a drip of 900 bytes/s stays below
// 1024 bytes/s although a 1.5 s window holds more than 1024 bytes, and is restarted.
void TestDownloadTransfer::speedFloorIsARate()
{
    TestSandbox box(TestSandbox::WithServer);
    ScriptedPrompts prompts;
    LogCapture log;
    StandInServer::AssetFault drip;
    drip.throttleBytesPerSecond = 900;
    box.server.setAssetFault(servedAt, drip);
    Asset* asset = singleAsset(box, patternBytes(100000, 2));
    box.store(asset->getDCP());
    DownloadManager* engine = box.engine();
    engine->setTimeoutInterval(10000); // only the floor ends a request here
    engine->setSpeedFloor(1024, 1500);
    engine->assetsChanged();
    QTRY_VERIFY_WITH_TIMEOUT(box.requestsFor(servedAt).size() >= 2, 4000);
    QVERIFY(log.contains(QStringLiteral("below 1024 bytes/s, restarting")));
}

QTEST_MAIN(TestDownloadTransfer)
#include "tst_download_transfer.moc"
