#include "TestSandbox.h"
#include "LogCapture.h"
#include "model/Asset.h"
#include "model/DCP.h"
#include "model/DCPManager.h"
#include "model/Reel.h"
#include "storage/DatabaseManager.h"
#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QVariant>

#include "model/Util.h"

#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QtTest>

#include <stdexcept>

class TestAsset : public QObject
{
    Q_OBJECT

private slots:
    void cleanUUID_data();
    void cleanUUID();
    void base64_data();
    void base64();
    void sleepSplitsSecondsAndNanoseconds();

    void fullPath_data();
    void fullPath();
    void isComplete_data();
    void isComplete();

    void fileHandleOpensHiddenFileOnce();
    void fileHandleFailureThrows();
    void fileHandleRefusesVanishedDcpFolder();
    void validateChecksum();
    void revealRenamesAndStoresName();
    void revealFailureLogsBothPaths();
    void firstStorageWritesRowAndLinks();
    void firstStorageSkipsKnownAsset();
    void removal();
};

void TestAsset::cleanUUID_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("prefixed") << "urn:uuid:1234-ab"
                              << "1234-ab";
    QTest::newRow("bare") << "1234-ab"
                          << "1234-ab";
    QTest::newRow("prefix only") << "urn:uuid:"
                                 << "";
    QTest::newRow("upper-case prefix kept") << "URN:UUID:1234"
                                            << "URN:UUID:1234";
    QTest::newRow("prefix not at start") << "x urn:uuid:1234"
                                         << "x urn:uuid:1234";
    QTest::newRow("prefix removed once") << "urn:uuid:urn:uuid:1"
                                         << "urn:uuid:1";
}

void TestAsset::cleanUUID()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(Util::cleanUUID(text), expected);
    QCOMPARE(Util::cleanXMLElement(QStringLiteral("pfx:") + text, QStringLiteral("pfx:")), text);
}

void TestAsset::base64_data()
{
    QTest::addColumn<QString>("encoded");
    QTest::addColumn<QByteArray>("decoded");
    QTest::newRow("canonical") << "aGVsbG8gd29ybGQ=" << QByteArray("hello world");
    QTest::newRow("line breaks") << "aGVs\nbG8g\r\nd29y bGQ=" << QByteArray("hello world");
    QTest::newRow("stray characters") << "aGVs*bG8g\td29y!bGQ=" << QByteArray("hello world");
    QTest::newRow("empty") << "" << QByteArray();
}

void TestAsset::base64()
{
    QFETCH(QString, encoded);
    QFETCH(QByteArray, decoded);
    QCOMPARE(Util::decodeBase64(encoded), decoded);
    // Encoding goes through UTF-8 and pads to a multiple of four.
    QCOMPARE(Util::encodeBase64(QString::fromUtf8(decoded)), decoded.toBase64());
    QCOMPARE(Util::encodeBase64(QStringLiteral("ab")), QByteArray("YWI="));
    QCOMPARE(Util::encodeBase64(QString::fromUtf8("\xc3\xa9")), QByteArray("w6k="));
}

void TestAsset::sleepSplitsSecondsAndNanoseconds()
{
    // Over a second: a nanosecond part of a billion or more would make the call fail at once.
    QElapsedTimer timer;
    timer.start();
    Util::sleep(1100);
    QVERIFY2(timer.elapsed() >= 1090, qPrintable(QString::number(timer.elapsed())));
}

void TestAsset::fullPath_data()
{
    QTest::addColumn<QString>("downloadPath");
    QTest::addColumn<QString>("directory");
    QTest::addColumn<QString>("expected");
    QTest::newRow("no sub-folder, no doubled separator") << "/media/usb"
                                                         << ""
                                                         << "/media/usb/Film/.a.mxf";
    QTest::newRow("sub-folder") << "/media/usb"
                                << "pict/r1"
                                << "/media/usb/Film/pict/r1/.a.mxf";
    QTest::newRow("download path ending in slash") << "/media/usb/"
                                                   << ""
                                                   << "/media/usb//Film/.a.mxf";
}

void TestAsset::fullPath()
{
    QFETCH(QString, downloadPath);
    QFETCH(QString, directory);
    QFETCH(QString, expected);
    DCP dcp("d1", "Film", QString(), downloadPath);
    Asset asset("a", "", 1, "t", ".a.mxf", "");
    QCOMPARE(asset.getFullPath(), QString()); // no DCP yet: no place on disk
    asset.setDCP(&dcp);
    asset.setDirectoryPath(directory);
    QCOMPARE(asset.getFullPath(), expected);
    QCOMPARE(asset.key(), AssetKey("a", "d1"));
}

void TestAsset::isComplete_data()
{
    QTest::addColumn<bool>("finished");
    QTest::addColumn<bool>("checksummed");
    QTest::addColumn<bool>("corrupted");
    QTest::addColumn<unsigned>("attempts");
    QTest::addColumn<bool>("complete");

    QTest::newRow("fresh") << false << false << false << 0u << false;
    QTest::newRow("finished") << true << false << false << 0u << true;
    QTest::newRow("finished, anything else") << true << false << true << 1u << true;
    QTest::newRow("not checksummed, corrupted at 2") << false << false << true << 2u << false;
    QTest::newRow("not checksummed, 3 attempts") << false << false << false << 3u << false;
    QTest::newRow("checksummed, 0 attempts") << false << true << false << 0u << false;
    QTest::newRow("checksummed, corrupted, 0 attempts") << false << true << true << 0u << false;
    QTest::newRow("checksummed, corrupted, 1 attempt") << false << true << true << 1u << false;
    QTest::newRow("checksummed, 2 attempts, not corrupted") << false << true << false << 2u << false;
    QTest::newRow("checksummed, corrupted, 2 attempts") << false << true << true << 2u << true;
    QTest::newRow("checksummed, 3 attempts") << false << true << false << 3u << true;
    QTest::newRow("checksummed, 7 attempts") << false << true << false << 7u << true;
}

void TestAsset::isComplete()
{
    QFETCH(bool, finished);
    QFETCH(bool, checksummed);
    QFETCH(bool, corrupted);
    QFETCH(unsigned, attempts);
    QFETCH(bool, complete);
    Asset asset("a", "", 1, "t", ".a", "");
    asset.setDownloadFinished(finished);
    asset.setDownloadChecksummed(checksummed);
    asset.setDownloadCorrupted(corrupted);
    asset.setDownloadAttempts(attempts);
    QCOMPARE(asset.isComplete(), complete);
}

void TestAsset::fileHandleOpensHiddenFileOnce()
{
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir("Film"));
    DCP dcp("d1", "Film", QString(), dir.path());
    Asset asset("a", "", 10, "t", ".a.mxf", "");
    asset.setDCP(&dcp);
    asset.setDirectoryPath("sub");
    QCOMPARE(asset.getDownloadedSize(), quint64(0));

    QFile* handle = asset.getFileHandle();
    QVERIFY(handle && handle->isOpen());
    QCOMPARE(asset.getFileHandle(), handle); // kept open between calls
    handle->write("12345");
    handle->flush();
    QCOMPARE(handle->fileName(), dir.path() + "/Film/sub/.a.mxf");
    QCOMPARE(asset.getDownloadedSize(), quint64(5));

    asset.closeFileHandle();
    asset.closeFileHandle(); // second close is harmless
    asset.getFileHandle()->write("67");
    asset.closeFileHandle();
    QCOMPARE(readFile(dir.path() + "/Film/sub/.a.mxf"), QByteArray("1234567"));
}

void TestAsset::fileHandleFailureThrows()
{
    QTemporaryDir dir;
    QVERIFY(writeFile(dir.path() + "/Film", "a file where the DCP folder should be"));
    DCP dcp("d1", "Film", QString(), dir.path());
    Asset asset("a", "", 10, "t", ".a.mxf", "");
    asset.setDCP(&dcp);
    LogCapture log;
    try {
        asset.getFileHandle();
        QFAIL("no exception");
    } catch (const std::runtime_error& e) {
        QCOMPARE(QString(e.what()), QString("[Asset] Unable to open Asset"));
    }
    QVERIFY(log.contains("[Asset] Unable to open Asset"));
    QVERIFY(log.contains(dir.path() + "/Film/.a.mxf"));
}

void TestAsset::fileHandleRefusesVanishedDcpFolder()
{
    // A drive unplugged mid-download: the folder must not be created again elsewhere.
    QTemporaryDir dir;
    const QString mountPoint = dir.path() + "/usb";
    QVERIFY(QDir().mkpath(mountPoint + "/Film"));
    DCP dcp("d1", "Film", QString(), mountPoint);
    Asset asset("a", "", 10, "t", ".a.mxf", "");
    asset.setDCP(&dcp);
    asset.setDirectoryPath("sub");
    QVERIFY(QDir(mountPoint + "/Film").removeRecursively());

    LogCapture log;
    QVERIFY_EXCEPTION_THROWN(asset.getFileHandle(), std::runtime_error);
    QVERIFY(log.contains("[Asset] DCP folder is missing:"));
    QVERIFY(!QFileInfo::exists(mountPoint + "/Film"));
}

void TestAsset::validateChecksum()
{
    QTemporaryDir dir;
    DCP dcp("d1", "Film", QString(), dir.path());
    const QByteArray content(3 * 1024 * 1024 + 11, 'q');
    const QString digest =
        QString::fromLatin1(QCryptographicHash::hash(content, QCryptographicHash::Sha1).toBase64());

    // The packing list may wrap its Base64; both sides are compared as bytes.
    Asset good("g", digest.left(10) + "\r\n" + digest.mid(10), content.size(), "t", ".g.mxf", "");
    good.setDCP(&dcp);
    QVERIFY(writeFile(good.getFullPath(), content));
    QVERIFY(good.validateChecksum());
    QVERIFY(!good.getDownloadChecksummed()); // the caller sets the flags

    Asset bad("b", digest, content.size(), "t", ".b.mxf", "");
    bad.setDCP(&dcp);
    QVERIFY(writeFile(bad.getFullPath(), content.left(content.size() - 1)));
    QVERIFY(!bad.validateChecksum());

    Asset missing("m", digest, content.size(), "t", ".m.mxf", "");
    missing.setDCP(&dcp);
    QVERIFY(!missing.validateChecksum());
    // Already verified: the file is not read again, even though it is gone.
    missing.setDownloadChecksummed(true);
    QVERIFY(missing.validateChecksum());
}

void TestAsset::revealRenamesAndStoresName()
{
    TestSandbox sandbox;
    DCP* dcp = TestSandbox::newDCP("d1", "Film", sandbox.downloads());
    Reel* reel = TestSandbox::addReel(dcp, "r1", 1);
    Asset* hidden = TestSandbox::addAssetOfSize(reel, "a1", 4);
    Asset* plain = TestSandbox::addAssetOfSize(reel, "a2", 4);
    plain->setOriginalFileName("a2.mxf"); // already without a dot
    Asset* renamed = TestSandbox::addAssetOfSize(reel, "a3", 4);
    dcp->syncToDatabase();

    QVERIFY(writeFile(sandbox.downloads() + "/Film/.a1.mxf", "abcd"));
    QVERIFY(writeFile(sandbox.downloads() + "/Film/.a2.mxf", "efgh"));
    // Renamed by a run that was killed before it could record the name.
    QVERIFY(writeFile(sandbox.downloads() + "/Film/a3.mxf", "ijkl"));
    QVERIFY(hidden->reveal());
    QVERIFY(plain->reveal());
    QVERIFY(renamed->reveal());
    QCOMPARE(TestSandbox::scalar("SELECT COUNT(*) FROM asset WHERE original_filename = 'a3.mxf'"), 1);

    QCOMPARE(hidden->getOriginalFileName(), QString("a1.mxf"));
    QCOMPARE(plain->getOriginalFileName(), QString("a2.mxf"));
    QCOMPARE(readFile(sandbox.downloads() + "/Film/a1.mxf"), QByteArray("abcd"));
    // A name without the dot still takes its file from the dotted name.
    QCOMPARE(readFile(sandbox.downloads() + "/Film/a2.mxf"), QByteArray("efgh"));
    QVERIFY(!QFile::exists(sandbox.downloads() + "/Film/.a1.mxf"));
    QCOMPARE(TestSandbox::scalar("SELECT COUNT(*) FROM asset WHERE original_filename = 'a1.mxf' AND "
                                 "uuid = 'a1' AND dcp_uuid = 'd1'"),
             1);
}

void TestAsset::revealFailureLogsBothPaths()
{
    TestSandbox sandbox;
    DCP* dcp = TestSandbox::newDCP("d1", "Film", sandbox.downloads());
    Asset* asset = TestSandbox::addAssetOfSize(TestSandbox::addReel(dcp, "r1", 1), "a1", 4);
    dcp->syncToDatabase();

    LogCapture log;
    QString reason;
    QVERIFY(!asset->reveal(&reason)); // no file on disk at all
    QCOMPARE(reason, QString("the file is missing"));
    // Nothing recorded for a file that did not move.
    QCOMPARE(asset->getOriginalFileName(), QString(".a1.mxf"));
    QCOMPARE(TestSandbox::scalar("SELECT COUNT(*) FROM asset WHERE original_filename = '.a1.mxf'"), 1);
    const QString hiddenPath = sandbox.downloads() + "/Film/.a1.mxf";
    const QString visiblePath = sandbox.downloads() + "/Film/a1.mxf";
    bool found = false;
    for (const QString& line : log.lines()) {
        if (line.startsWith("[Asset]") && line.contains(hiddenPath) && line.contains(visiblePath)) {
            found = true;
        }
    }
    QVERIFY2(found, qPrintable(log.lines().join('\n')));
}

void TestAsset::firstStorageWritesRowAndLinks()
{
    TestSandbox sandbox;
    DCP* dcp = TestSandbox::newDCP("d1", "Film", sandbox.downloads());
    Reel* r1 = TestSandbox::addReel(dcp, "r1", 1);
    Reel* r2 = TestSandbox::addReel(dcp, "r2", 2);
    Asset* shared = TestSandbox::addAssetOfSize(r1, "a1", 4);
    shared->addReel(r2);
    r2->addAsset(shared);
    shared->setDirectoryPath("sub");
    shared->setDownloadAttempts(2);

    DatabaseManager::getInstance()->insertReel(r1);
    DatabaseManager::getInstance()->insertReel(r2);
    shared->syncToDatabase();
    QCOMPARE(TestSandbox::scalar("SELECT COUNT(*) FROM asset WHERE uuid = 'a1' AND dcp_uuid = 'd1' AND "
                                 "directory_path = 'sub' AND download_attempts = 2"),
             1);
    QCOMPARE(TestSandbox::scalar("SELECT COUNT(*) FROM dcp_reel_asset WHERE asset_uuid = 'a1'"), 2);
    QCOMPARE(DCPManager::getInstance()->getAsset("a1", "d1"), shared);
}

void TestAsset::firstStorageSkipsKnownAsset()
{
    TestSandbox sandbox;
    DCP* dcp = TestSandbox::newDCP("d1", "Film", sandbox.downloads());
    Asset* known = TestSandbox::addAssetOfSize(TestSandbox::addReel(dcp, "r1", 1), "a1", 4);
    DCPManager::getInstance()->addAsset(known);

    Asset* again = TestSandbox::addAssetOfSize(TestSandbox::addReel(dcp, "r2", 2), "a1", 4);
    LogCapture log;
    again->syncToDatabase();
    QVERIFY(log.contains("[Asset] Syncing asset (ignored exists)..."));
    QCOMPARE(TestSandbox::scalar("SELECT COUNT(*) FROM asset"), 0);
    QCOMPARE(TestSandbox::scalar("SELECT COUNT(*) FROM dcp_reel_asset"), 0);
    QCOMPARE(DCPManager::getInstance()->getAsset("a1", "d1"), known);

    // The same asset uuid under another DCP is a different asset.
    DCP* other = TestSandbox::newDCP("d2", "Other", sandbox.downloads());
    Asset* elsewhere = TestSandbox::addAssetOfSize(TestSandbox::addReel(other, "r3", 1), "a1", 4);
    elsewhere->syncToDatabase();
    QCOMPARE(TestSandbox::scalar("SELECT COUNT(*) FROM asset WHERE dcp_uuid = 'd2'"), 1);
}

void TestAsset::removal()
{
    TestSandbox sandbox;
    DCP* dcp = TestSandbox::newDCP("d1", "Film", sandbox.downloads());
    Asset* a1 = TestSandbox::addAssetOfSize(TestSandbox::addReel(dcp, "r1", 1), "a1", 4);
    DCP* other = TestSandbox::newDCP("d2", "Other", sandbox.downloads());
    TestSandbox::addAssetOfSize(TestSandbox::addReel(other, "r2", 1), "a1", 4);
    dcp->syncToDatabase();
    other->syncToDatabase();

    a1->removeFromDb();
    QCOMPARE(TestSandbox::scalar("SELECT COUNT(*) FROM asset WHERE uuid = 'a1'"), 1); // only d1's row went
    QCOMPARE(TestSandbox::scalar("SELECT COUNT(*) FROM asset WHERE dcp_uuid = 'd2'"), 1);

    QVERIFY(writeFile(a1->getFullPath(), "x"));
    a1->removeFromFileSystem();
    QVERIFY(!QFile::exists(a1->getFullPath()));
    a1->removeFromFileSystem(); // missing file is no error
}

QTEST_GUILESS_MAIN(TestAsset)
#include "tst_asset.moc"
