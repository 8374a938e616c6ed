// The checksum worker: verdicts, re-downloads and their limit, reel outcomes and events,
// removals while a reel waits, store failures, and reading back from the medium.

#include "ScriptedPrompts.h"
#include "TestSandbox.h"
#include "core/UserPrompt.h"
#include "download/ChecksumWorker.h"
#include "download/DownloadManager.h"
#include "model/Asset.h"
#include "model/DCP.h"
#include "model/DCPManager.h"
#include "model/Reel.h"
#include "storage/Setting.h"

#include <QCryptographicHash>
#include <QFileInfo>
#include <QSignalSpy>
#include <QtTest>

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

namespace {

void startPaused()
{
    Setting::getInstance()->set(QStringLiteral("download_paused"), QStringLiteral("1"));
    Setting::getInstance()->save();
}

// Pages of the file that are in the page cache.
// What this process has had read from storage (not from memory).
qint64 bytesReadFromDrives()
{
    QFile io(QStringLiteral("/proc/self/io"));
    if (!io.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : io.readAll().split('\n'))
        if (line.startsWith("read_bytes:"))
            return line.mid(11).trimmed().toLongLong();
    return -1;
}

long residentPages(const QString& path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY);
    if (fd < 0)
        return -1;
    const off_t size = ::lseek(fd, 0, SEEK_END);
    void* map = ::mmap(nullptr, size_t(size), PROT_READ, MAP_SHARED, fd, 0);
    ::close(fd);
    if (map == MAP_FAILED)
        return -1;
    const long page = ::sysconf(_SC_PAGESIZE);
    std::vector<unsigned char> vec(size_t((size + page - 1) / page));
    long resident = -1;
    if (::mincore(map, size_t(size), vec.data()) == 0) {
        resident = 0;
        for (unsigned char v : vec)
            resident += v & 1;
    }
    ::munmap(map, size_t(size));
    return resident;
}

} // namespace

class TestDownloadChecksum : public QObject
{
    Q_OBJECT

private slots:
    void corruptDeliveries_data();
    void corruptDeliveries();
    void mixedVerdicts();
    void removalWhileWaitingForValidation();
    void storeFailureDropsTheJobNotTheWorker();
    void fileRenamedWhileQueuedIsReadAgain();
    void flushToMediumDropsCachedPages();
    void examineReadsFromTheMedium_data();
    void examineReadsFromTheMedium();
    void manyFilesAfterOneFlush();
};

void TestDownloadChecksum::corruptDeliveries_data()
{
    QTest::addColumn<int>("corrupt");
    QTest::addColumn<unsigned>("attempts");
    QTest::addColumn<bool>("corrupted");
    QTest::newRow("first delivery bad") << 1 << 1u << false;
    QTest::newRow("two bad deliveries") << 2 << 2u << false;
    QTest::newRow("three bad deliveries: corrupted") << 3 << 2u << true;
}

void TestDownloadChecksum::corruptDeliveries()
{
    QFETCH(int, corrupt);
    QFETCH(unsigned, attempts);
    QFETCH(bool, corrupted);
    TestSandbox box(TestSandbox::WithServer);
    ScriptedPrompts prompts;
    const QByteArray content = patternBytes(200000, 1);
    StandInServer::AssetFault fault;
    fault.corruptFirstDeliveries = corrupt;
    box.server.setAssetFault(QStringLiteral("a.mxf"), fault);
    DCP* dcp = box.makeDCP(QStringLiteral("dcp-1"), QStringLiteral("Film"));
    Reel* reel = box.addReel(dcp, QStringLiteral("reel-1"), 1);
    Asset* asset = box.addAsset(reel, QStringLiteral("a"), QStringLiteral("a.mxf"), content);
    QSignalSpy queued(reel, &Reel::downloadQueuedForRedownload);
    QSignalSpy bad(reel, &Reel::downloadCorrupted);
    QSignalSpy good(reel, &Reel::downloadChecksummed);
    box.publish(dcp);

    QTRY_COMPARE_WITH_TIMEOUT(bad.count() + good.count(), 1, 10000);
    QCOMPARE(bad.count(), corrupted ? 1 : 0);
    QCOMPARE(queued.count(), int(attempts)); // one per download sent back
    QCOMPARE(asset->getDownloadAttempts(), attempts);
    QCOMPARE(asset->getDownloadCorrupted(), corrupted);
    QCOMPARE(asset->getDownloadChecksummed(), !corrupted);
    QVERIFY(asset->getDownloadFinished());
    QVERIFY(reel->isFinished());
    // Each new download starts from an emptied file.
    QStringList expectedRanges;
    for (unsigned i = 0; i <= attempts; ++i)
        expectedRanges << QStringLiteral("bytes=0-");
    QCOMPARE(box.rangesFor(QStringLiteral("a.mxf")), expectedRanges);
    if (!corrupted)
        QCOMPARE(readFile(asset->getFullPath()), content);

    // The store agrees with memory.
    QCOMPARE(TestSandbox::scalar(QStringLiteral("SELECT download_attempts FROM asset WHERE uuid = 'a'")),
             int(attempts));
    QCOMPARE(TestSandbox::scalar(QStringLiteral("SELECT download_corrupted FROM asset WHERE uuid = 'a'")),
             corrupted ? 1 : 0);

    const QList<int> events = TestSandbox::events(reel);
    QCOMPARE(events.count(6), int(attempts) + 1); // one start per validation (retry state differs)
    QCOMPARE(events.count(7) > 0, corrupt > 0);
    QCOMPARE(events.count(8), corrupted ? 0 : 1);
    QVERIFY(box.engine()->getDownloadQueue().isEmpty());
}

// One validation of each kind in one DCP: a last chance that fails, a first failure shared by
// two reels, and an asset already checksummed whose file is gone.
void TestDownloadChecksum::mixedVerdicts()
{
    TestSandbox box(TestSandbox::WithServer);
    startPaused();
    DCP* dcp = box.makeDCP(QStringLiteral("dcp-1"), QStringLiteral("Film"));
    Reel* r1 = box.addReel(dcp, QStringLiteral("reel-1"), 1);
    Reel* r2 = box.addReel(dcp, QStringLiteral("reel-2"), 2);
    Asset* lastChance = box.addAsset(r1, QStringLiteral("a"), QStringLiteral("a.mxf"), patternBytes(1000, 1));
    Asset* shared = box.addAsset(r1, QStringLiteral("b"), QStringLiteral("b.mxf"), patternBytes(1000, 2));
    TestSandbox::share(shared, r2);
    Asset* passed = box.addAsset(r1, QStringLiteral("c"), QStringLiteral("c.mxf"), patternBytes(1000, 3));
    for (Asset* asset : {lastChance, shared, passed})
        asset->setDownloadFinished(true);
    QVERIFY(writeFile(lastChance->getFullPath(), "wrong bytes"));
    QVERIFY(writeFile(shared->getFullPath(), "wrong bytes"));
    lastChance->setDownloadAttempts(2);
    passed->setDownloadChecksummed(true); // and its file is gone
    QSignalSpy queued1(r1, &Reel::downloadQueuedForRedownload);
    QSignalSpy queued2(r2, &Reel::downloadQueuedForRedownload);
    QSignalSpy bad(r1, &Reel::downloadCorrupted);
    box.publish(dcp); // both reels go to the worker
    QSignalSpy status(dcp, &DCP::statusChanged);

    QTRY_COMPARE_WITH_TIMEOUT(queued1.count() + queued2.count(), 2, 5000);
    QCOMPARE(queued1.count(), 1); // queued again outweighs corrupted
    QCOMPARE(queued2.count(), 1);
    QCOMPARE(bad.count(), 0);
    QCOMPARE(status.count(), 2); // the views re-read each reel's outcome
    QVERIFY(lastChance->getDownloadCorrupted());
    QVERIFY(lastChance->getDownloadFinished());
    QCOMPARE(shared->getDownloadAttempts(), 1u); // not penalised once per reel
    QVERIFY(!shared->getDownloadFinished());
    QCOMPARE(QFileInfo(shared->getFullPath()).size(), qint64(0));
    // Passed without reading its file: a read would have failed and sent it back.
    QVERIFY(passed->getDownloadChecksummed());
    QVERIFY(passed->getDownloadFinished());
    QCOMPARE(passed->getDownloadAttempts(), 0u);
    QVERIFY(!QFileInfo::exists(passed->getFullPath()));
    QTRY_COMPARE_WITH_TIMEOUT(box.engine()->getDownloadQueue(), QList<Asset*>() << shared, 2000);
    QCOMPARE(TestSandbox::events(r1), QList<int>() << 6 << 7);
    QCOMPARE(TestSandbox::events(r2), QList<int>() << 6 << 7);
}

// A reel waiting for validation cannot be removed on its own; its DCP can, and then nothing
// of it is emptied, fetched or reported any more: its files are the user's.
void TestDownloadChecksum::removalWhileWaitingForValidation()
{
    TestSandbox box(TestSandbox::WithServer);
    ScriptedPrompts prompts;
    DCP* dcp = box.makeDCP(QStringLiteral("dcp-1"), QStringLiteral("Film"));
    Reel* reel = box.addReel(dcp, QStringLiteral("reel-1"), 1);
    Asset* asset = box.addAsset(reel, QStringLiteral("a"), QStringLiteral("a.mxf"), patternBytes(1000));
    asset->setDownloadFinished(true);
    QVERIFY(writeFile(asset->getFullPath(), "wrong bytes"));
    DownloadManager* engine = box.engine();
    ChecksumWorker* worker = engine->getChecksumWorker();
    worker->hold(true);
    box.publish(dcp);
    QVERIFY(worker->haveReel(reel));

    engine->removeDownloadReel(reel);
    QCOMPARE(prompts.count(), 1);
    QCOMPARE(prompts.last().icon, Prompt::Warning);
    QCOMPARE(prompts.last().text,
             QStringLiteral("The current Reel is in validation(checksum) process, please wait "
                            "until this is finished and try again."));
    QCOMPARE(dcp->getReels(), QList<Reel*>() << reel);
    QCOMPARE(box.catalogue()->getReel(QStringLiteral("reel-1")), reel);

    QVERIFY(engine->removeDownload(dcp));
    worker->hold(false);
    QTRY_COMPARE_WITH_TIMEOUT(worker->queuedReelCount(), 0, 3000);
    emit engine->assetNeedsRedownloading(asset); // a retry that was already on its way
    QCoreApplication::processEvents();           // the retry runs queued
    QCOMPARE(readFile(asset->getFullPath()), QByteArray("wrong bytes"));
    QCOMPARE(asset->getDownloadAttempts(), 0u);
    QVERIFY(engine->getDownloadQueue().isEmpty());
    QVERIFY(box.requestsFor(QStringLiteral("a.mxf")).isEmpty());
    QVERIFY(TestSandbox::events(reel).isEmpty());
    QCOMPARE(prompts.count(), 1);
}

// A store failure drops the reel's validation, not the worker: asleep for a minute, it
// wakes for the next reel at once and its outcome is applied on the main thread.
void TestDownloadChecksum::storeFailureDropsTheJobNotTheWorker()
{
    TestSandbox box(TestSandbox::WithServer);
    DCP* dcp = box.makeDCP(QStringLiteral("dcp-1"), QStringLiteral("Film"));
    Reel* reel = box.addReel(dcp, QStringLiteral("reel-1"), 1);
    Asset* asset = box.addAsset(reel, QStringLiteral("a"), QStringLiteral("a.mxf"), patternBytes(1000));
    asset->setDownloadFinished(true);
    QVERIFY(writeFile(asset->getFullPath(), patternBytes(1000)));
    box.store(dcp);
    ChecksumWorker* worker = box.engine()->getChecksumWorker();
    worker->setPollInterval(60000);
    QSignalSpy status(dcp, &DCP::statusChanged);

    QVERIFY(TestSandbox::exec(QStringLiteral("ALTER TABLE asset RENAME TO asset_away")));
    worker->addToWorker(reel);
    QTRY_COMPARE_WITH_TIMEOUT(worker->queuedReelCount(), 0, 3000);
    QCOMPARE(TestSandbox::events(reel), QList<int>() << 6);
    QVERIFY(status.count() >= 1); // the view re-reads the reel's state
    QVERIFY(TestSandbox::exec(QStringLiteral("ALTER TABLE asset_away RENAME TO asset")));

    QThread* outcomeThread = nullptr;
    connect(
        reel, &Reel::downloadChecksummed, this, [&]() { outcomeThread = QThread::currentThread(); },
        Qt::DirectConnection);
    worker->addToWorker(reel);
    QTRY_VERIFY_WITH_TIMEOUT(outcomeThread, 2000);
    QCOMPARE(outcomeThread, QCoreApplication::instance()->thread());
    QCOMPARE(TestSandbox::scalar(QStringLiteral("SELECT download_checksummed FROM asset WHERE uuid = 'a'")),
             1);
    QTRY_COMPARE_WITH_TIMEOUT(worker->queuedReelCount(), 0, 2000);
}

void TestDownloadChecksum::fileRenamedWhileQueuedIsReadAgain()
{
    TestSandbox box(TestSandbox::WithServer);
    const QByteArray content = patternBytes(5000, 4);
    DCP* dcp = box.makeDCP(QStringLiteral("dcp-1"), QStringLiteral("Film"));
    Reel* reel = box.addReel(dcp, QStringLiteral("reel-1"), 1);
    Asset* asset = box.addAsset(reel, QStringLiteral("a"), QStringLiteral("a.mxf"), content);
    asset->setDownloadFinished(true);
    QVERIFY(writeFile(asset->getFullPath(), content));
    box.store(dcp);
    ChecksumWorker* worker = box.engine()->getChecksumWorker();
    QSignalSpy good(reel, &Reel::downloadChecksummed);
    QSignalSpy queued(reel, &Reel::downloadQueuedForRedownload);

    // The job holds the hidden name; the file gets its visible one before it is read.
    worker->hold(true);
    worker->addToWorker(reel);
    QVERIFY(asset->reveal());
    worker->hold(false);

    QTRY_COMPARE_WITH_TIMEOUT(good.count(), 1, 3000);
    QCOMPARE(queued.count(), 0);
    QCOMPARE(asset->getDownloadAttempts(), 0u);
    QVERIFY(asset->getDownloadFinished());
    QCOMPARE(readFile(asset->getFullPath()), content);
    QCOMPARE(TestSandbox::events(reel), QList<int>() << 6 << 8);
}

void TestDownloadChecksum::flushToMediumDropsCachedPages()
{
    QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/file.bin");
    QVERIFY(writeFile(path, patternBytes(8 << 20)));
    QVERIFY(readFile(path).size() == 8 << 20); // surely cached now
    QVERIFY(residentPages(path) > 0);

    QVERIFY(ChecksumWorker::flushToMedium(path));
    QCOMPARE(residentPages(path), 0L);
    QCOMPARE(ChecksumWorker::flushToMedium(dir.path() + QStringLiteral("/missing")), false);
}

void TestDownloadChecksum::examineReadsFromTheMedium_data()
{
    QTest::addColumn<bool>("driveFlushedWhole");
    QTest::newRow("flushed file by file") << false;
    QTest::newRow("drive flushed for the job") << true;
}

// Flushed alone or with its drive, a file's cached pages are dropped before it is read back:
// once its first 4 MiB block is read, most of a 32 MiB file is not in memory yet (read-ahead
// brings at most a few MiB more).
void TestDownloadChecksum::examineReadsFromTheMedium()
{
    QFETCH(bool, driveFlushedWhole);
    QTemporaryDir dir;
    ChecksumJob::File file;
    file.path = dir.path() + QStringLiteral("/file.bin");
    const QByteArray content = patternBytes(32 << 20);
    QVERIFY(writeFile(file.path, content));
    QVERIFY(ChecksumWorker::flushToMedium(file.path)); // written through, as after the drive's flush
    QVERIFY(readFile(file.path).size() == content.size());
    const long pages = residentPages(file.path);
    QVERIFY(pages > 0);
    file.size = quint64(content.size());
    file.digest = QCryptographicHash::hash(content, QCryptographicHash::Sha1);
    file.finished = true;

    long afterFirstBlock = -1;
    const auto onRead = [&](qint64) {
        if (afterFirstBlock < 0)
            afterFirstBlock = residentPages(file.path);
    };
    QCOMPARE(ChecksumWorker::examine(file, onRead, nullptr, driveFlushedWhole), ChecksumWorker::Match);
    QVERIFY2(afterFirstBlock >= 0 && afterFirstBlock < pages / 2,
             qPrintable(QStringLiteral("%1 of %2 pages").arg(afterFirstBlock).arg(pages)));
}

// A reel of many small files (subtitle images) is flushed once for the whole drive, then read
// back file by file: every verdict still belongs to its own file.
void TestDownloadChecksum::manyFilesAfterOneFlush()
{
    TestSandbox box(TestSandbox::WithServer);
    startPaused();
    DCP* dcp = box.makeDCP(QStringLiteral("dcp-1"), QStringLiteral("Subtitles"));
    Reel* reel = box.addReel(dcp, QStringLiteral("reel-1"), 1);
    QList<Asset*> assets;
    for (int i = 0; i < ChecksumWorker::manyFiles + 2; ++i) {
        const QByteArray content = patternBytes(1000 + i, i);
        Asset* asset =
            box.addAsset(reel, QStringLiteral("a%1").arg(i), QStringLiteral("sub_%1.png").arg(i), content);
        asset->setDownloadFinished(true);
        QVERIFY(writeFile(asset->getFullPath(), i == 9 ? QByteArray("wrong bytes") : content));
        assets << asset;
    }
    QSignalSpy queued(reel, &Reel::downloadQueuedForRedownload);
    // Written through before they are read: their pages were dropped and came back from the
    // drive. Pages still dirty, never flushed, would have been read from memory.
    const qint64 readBefore = bytesReadFromDrives();
    box.publish(dcp);

    QTRY_COMPARE_WITH_TIMEOUT(queued.count(), 1, 5000);
    QVERIFY(bytesReadFromDrives() - readBefore >= 1000 * assets.size());
    for (int i = 0; i < assets.size(); ++i) {
        QCOMPARE(assets[i]->getDownloadChecksummed(), i != 9);
        QCOMPARE(assets[i]->getDownloadFinished(), i != 9);
    }
    QTRY_COMPARE_WITH_TIMEOUT(box.engine()->getDownloadQueue(), QList<Asset*>() << assets[9], 2000);
}

QTEST_MAIN(TestDownloadChecksum)
#include "tst_download_checksum.moc"
