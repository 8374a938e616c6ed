#include "LogCapture.h"
#include "TestSandbox.h"
#include "model/Asset.h"
#include "model/DCP.h"
#include "model/DCPManager.h"
#include "model/Reel.h"
#include "model/Util.h"

#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QtTest>

#include <stdexcept>

class TestAsset : public QObject
{
    Q_OBJECT

private slots:
    void cleanUUID_data();
    void cleanUUID();
    void sleepSplitsSecondsAndNanoseconds();
    void fullPath_data();
    void fullPath();
    void isComplete_data();
    void isComplete();

    void fileHandleAppendsThroughOneHandle();
    void fileHandleFailures_data();
    void fileHandleFailures();
    void validateChecksum();
    void reveal_data();
    void reveal();
    void storeSkipKnownAndRemove();
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
    DCP dcp("d1", "Film", QString(), downloadPath, nullptr);
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
    QTest::newRow("finished, anything else") << true << false << true << 1u << true;
    QTest::newRow("not checksummed, corrupted at 2") << false << false << true << 2u << false;
    QTest::newRow("not checksummed, 3 attempts") << false << false << false << 3u << false;
    QTest::newRow("checksummed, 0 attempts") << false << true << false << 0u << false;
    QTest::newRow("checksummed, corrupted, 1 attempt") << false << true << true << 1u << false;
    QTest::newRow("checksummed, 2 attempts, not corrupted") << false << true << false << 2u << false;
    QTest::newRow("checksummed, corrupted, 2 attempts") << false << true << true << 2u << true;
    QTest::newRow("checksummed, 3 attempts") << false << true << false << 3u << true;
}

void TestAsset::isComplete()
{
    QFETCH(bool, finished);
    QFETCH(bool, checksummed);
    QFETCH(bool, corrupted);
    QFETCH(unsigned, attempts);
    Asset asset("a", "", 1, "t", ".a", "");
    asset.setDownloadFinished(finished);
    asset.setDownloadChecksummed(checksummed);
    asset.setDownloadCorrupted(corrupted);
    asset.setDownloadAttempts(attempts);
    QTEST(asset.isComplete(), "complete");
}

void TestAsset::fileHandleAppendsThroughOneHandle()
{
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir("Film"));
    DCP dcp("d1", "Film", QString(), dir.path(), nullptr);
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

void TestAsset::fileHandleFailures_data()
{
    QTest::addColumn<bool>("unplugged");
    // The folder must not be created again: that would write the film onto whatever disk
    // now holds the mount point.
    QTest::newRow("DCP folder gone with its drive") << true;
    QTest::newRow("sub-folder blocked by a file") << false;
}

void TestAsset::fileHandleFailures()
{
    QFETCH(bool, unplugged);
    QTemporaryDir dir;
    const QString dcpFolder = dir.path() + "/Film";
    if (!unplugged) {
        QVERIFY(writeFile(dcpFolder + "/sub", "a file where the sub-folder should be"));
    }
    DCP dcp("d1", "Film", QString(), dir.path(), nullptr);
    Asset asset("a", "", 10, "t", ".a.mxf", "");
    asset.setDCP(&dcp);
    asset.setDirectoryPath("sub");

    LogCapture log;
    try {
        asset.getFileHandle();
        QFAIL("no exception");
    } catch (const std::runtime_error& e) {
        QCOMPARE(QString(e.what()), QString("[Asset] Unable to open Asset"));
    }
    QVERIFY(log.contains("[Asset] Unable to open Asset "));
    QVERIFY(log.contains(dcpFolder + "/sub/.a.mxf"));
    QCOMPARE(QFileInfo::exists(dcpFolder), !unplugged);
    QVERIFY(!QFileInfo::exists(dcpFolder + "/sub/.a.mxf"));
}

void TestAsset::validateChecksum()
{
    QTemporaryDir dir;
    DCP dcp("d1", "Film", QString(), dir.path(), nullptr);
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

void TestAsset::reveal_data()
{
    QTest::addColumn<QString>("name");       // stored name before the reveal
    QTest::addColumn<QByteArray>("hidden");  // content of Film/.a1.mxf; null: absent
    QTest::addColumn<QByteArray>("visible"); // content of Film/a1.mxf; null: absent
    QTest::addColumn<QString>("reason");     // empty: the reveal succeeds

    QTest::newRow("hidden file") << ".a1.mxf" << QByteArray("abcd") << QByteArray() << QString();
    QTest::newRow("name without dot takes the dotted file")
        << "a1.mxf" << QByteArray("abcd") << QByteArray() << QString();
    QTest::newRow("renamed by a run killed before it recorded the name")
        << ".a1.mxf" << QByteArray() << QByteArray("abcd") << QString();
    QTest::newRow("file missing") << ".a1.mxf" << QByteArray() << QByteArray() << "the file is missing";
    QTest::newRow("final name taken") << ".a1.mxf" << QByteArray("abcd") << QByteArray("other")
                                      << "a file or folder with the final name is already there";
}

void TestAsset::reveal()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, hidden);
    QFETCH(QByteArray, visible);
    QFETCH(QString, reason);

    TestSandbox sandbox;
    DCP* dcp = sandbox.makeDCP("d1", "Film");
    Asset* asset = TestSandbox::addAssetOfSize(TestSandbox::addReel(dcp, "r1", 1), "a1", 4);
    asset->setOriginalFileName(name);
    dcp->syncToDatabase(sandbox.catalogue());
    const QString hiddenPath = dcp->getDCPPath() + "/.a1.mxf";
    const QString visiblePath = dcp->getDCPPath() + "/a1.mxf";
    if (!hidden.isNull()) {
        QVERIFY(writeFile(hiddenPath, hidden));
    }
    if (!visible.isNull()) {
        QVERIFY(writeFile(visiblePath, visible));
    }

    QString why;
    QCOMPARE(asset->reveal(&why), reason.isEmpty());
    QCOMPARE(why, reason);
    if (reason.isEmpty()) {
        QCOMPARE(readFile(visiblePath), hidden.isNull() ? visible : hidden);
        QVERIFY(!QFileInfo::exists(hiddenPath));
        QCOMPARE(asset->getOriginalFileName(), QString("a1.mxf"));
    } else {
        // Nothing moved, so nothing is recorded.
        QCOMPARE(readFile(hiddenPath), hidden);
        QCOMPARE(readFile(visiblePath), visible);
        QCOMPARE(asset->getOriginalFileName(), name);
    }
    QCOMPARE(TestSandbox::rowCount("asset", "uuid = 'a1' AND dcp_uuid = 'd1' AND original_filename = '" +
                                                asset->getOriginalFileName() + "'"),
             1);
}

void TestAsset::storeSkipKnownAndRemove()
{
    TestSandbox sandbox;
    DCP* dcp = sandbox.makeDCP("d1", "Film");
    Asset* stored = TestSandbox::addAssetOfSize(TestSandbox::addReel(dcp, "r1", 1), "a1", 4);
    dcp->syncToDatabase(sandbox.catalogue());
    DCPManager* catalogue = sandbox.catalogue();
    QCOMPARE(catalogue->getAsset("a1", "d1"), stored);

    // A second object with a key the catalogue knows writes neither row nor link.
    Asset* again = TestSandbox::addAssetOfSize(TestSandbox::addReel(dcp, "r2", 2), "a1", 4);
    again->syncToDatabase(sandbox.catalogue());
    QCOMPARE(TestSandbox::rowCount("asset"), 1);
    QCOMPARE(TestSandbox::rowCount("dcp_reel_asset"), 1);
    QCOMPARE(catalogue->getAsset("a1", "d1"), stored);

    // The same asset uuid under another DCP is a different asset.
    DCP* other = sandbox.makeDCP("d2", "Other");
    TestSandbox::addAssetOfSize(TestSandbox::addReel(other, "r3", 1), "a1", 4);
    other->syncToDatabase(sandbox.catalogue());
    QCOMPARE(TestSandbox::rowCount("asset", "uuid = 'a1'"), 2);

    stored->removeFromDb();
    QCOMPARE(TestSandbox::rowCount("asset", "uuid = 'a1'"), 1); // only d1's row went
    QCOMPARE(TestSandbox::rowCount("asset", "dcp_uuid = 'd2'"), 1);

    QVERIFY(writeFile(stored->getFullPath(), "x"));
    stored->removeFromFileSystem();
    QVERIFY(!QFile::exists(stored->getFullPath()));
    stored->removeFromFileSystem(); // a missing file is no error
}

QTEST_GUILESS_MAIN(TestAsset)
#include "tst_asset.moc"
