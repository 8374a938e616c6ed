#include "TestSandbox.h"
#include "core/FileManager.h"

#include <QCryptographicHash>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

class TestFileManager : public QObject
{
    Q_OBJECT

private slots:
    void hiddenNames_data();
    void hiddenNames();
    void existenceAndSize();
    void appendHandle_data();
    void appendHandle();
    void sha1_data();
    void sha1();
    void sha1Failures();

private:
    QTemporaryDir m_dir;
};

void TestFileManager::hiddenNames_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("hidden");
    QTest::addColumn<QString>("unhidden");

    QTest::newRow("plain") << "/d/x.mxf"
                           << "/d/.x.mxf"
                           << "/d/x.mxf";
    QTest::newRow("already hidden") << "/d/.x.mxf"
                                    << "/d/.x.mxf"
                                    << "/d/x.mxf";
    QTest::newRow("doubly hidden loses one dot") << "/d/..x.mxf"
                                                 << "/d/..x.mxf"
                                                 << "/d/.x.mxf";
    QTest::newRow("bare name") << "a.mxf"
                               << "./.a.mxf"
                               << "a.mxf";
    QTest::newRow("bare hidden name") << ".a.mxf"
                                      << ".a.mxf"
                                      << "./a.mxf";
    QTest::newRow("nested, dot in directory") << "/a/.cache/b/x.mxf"
                                              << "/a/.cache/b/.x.mxf"
                                              << "/a/.cache/b/x.mxf";
    QTest::newRow("doubled separator kept") << "/dl//T/x.mxf"
                                            << "/dl//T/.x.mxf"
                                            << "/dl//T/x.mxf";
}

void TestFileManager::hiddenNames()
{
    QFETCH(QString, path);
    QFETCH(QString, hidden);
    QFETCH(QString, unhidden);
    QCOMPARE(FileManager::nixGetHiddenPath(path), hidden);
    QCOMPARE(FileManager::nixGetUnhiddenPath(path), unhidden);
    // A bare name follows the same rule, without a directory part.
    QCOMPARE(FileManager::nixGetUnhiddenFileName(QFileInfo(path).fileName()), QFileInfo(unhidden).fileName());
}

void TestFileManager::existenceAndSize()
{
    const QString file = m_dir.filePath("size.bin");
    QVERIFY(writeFile(file, QByteArray(1234, 'z')));
    const QString missing = m_dir.filePath("missing.bin");

    QCOMPARE(FileManager::getFileSize(file), qint64(1234));
    QCOMPARE(FileManager::getFileSize(missing), qint64(0)); // the resume offset of a fresh download

    QVERIFY(FileManager::fileExists(file));
    QVERIFY(FileManager::fileExists(m_dir.path())); // a directory is an entry too
    QVERIFY(!FileManager::fileExists(missing));
    QVERIFY(!FileManager::fileExists(QString()));

    QVERIFY(FileManager::directoryExists(m_dir.path()));
    QVERIFY(!FileManager::directoryExists(file));
    QVERIFY(!FileManager::directoryExists(missing));
    QVERIFY(!FileManager::directoryExists(QString()));
}

void TestFileManager::appendHandle_data()
{
    QTest::addColumn<QString>("path");      // relative to the test folder; empty: the folder itself
    QTest::addColumn<QByteArray>("before"); // null: no file there
    QTest::addColumn<bool>("createDirectories");
    QTest::addColumn<bool>("opens");

    // Reopening must never truncate what is there: its length is the resume offset.
    QTest::newRow("existing file") << "append.bin" << QByteArray("head") << false << true;
    QTest::newRow("existing file, create flag") << "again.bin" << QByteArray("head") << true << true;
    QTest::newRow("missing directory chain is created") << "deep/er/.x.mxf" << QByteArray() << true << true;
    QTest::newRow("without the create flag nothing is made")
        << "never/x.mxf" << QByteArray() << false << false;
    QTest::newRow("parent is a file") << "blocker/sub/x.mxf" << QByteArray() << true << false;
    QTest::newRow("a directory is no file to append to") << "" << QByteArray() << true << false;
}

void TestFileManager::appendHandle()
{
    QFETCH(QString, path);
    QFETCH(QByteArray, before);
    QFETCH(bool, createDirectories);
    QFETCH(bool, opens);
    const QString file = path.isEmpty() ? m_dir.path() : m_dir.filePath(path);
    QVERIFY(writeFile(m_dir.filePath("blocker"), "x"));
    if (!before.isNull()) {
        QVERIFY(writeFile(file, before));
    }

    std::unique_ptr<QFile> handle(FileManager::getFileHandle(file, createDirectories, true));
    QCOMPARE(bool(handle), opens);
    if (!opens) {
        QCOMPARE(QFileInfo::exists(m_dir.filePath("never")), false);
        return;
    }
    QVERIFY(handle->isOpen());
    QCOMPARE(handle->write("tail"), qint64(4));
    handle->close();
    QCOMPARE(readFile(file), before + "tail");
}

void TestFileManager::sha1_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QByteArray>("hex"); // empty: compared with an independent digest only
    QTest::newRow("empty") << QByteArray() << QByteArray("da39a3ee5e6b4b0d3255bfef95601890afd80709");
    QTest::newRow("abc") << QByteArray("abc") << QByteArray("a9993e364706816aba3e25717850c26c9cd0d89d");
    // Not a multiple of any plausible block size, so the last partial block counts.
    QTest::newRow("9 MiB and 7 bytes") << patternBytes(9 * 1024 * 1024 + 7, 3) << QByteArray();
}

void TestFileManager::sha1()
{
    QFETCH(QByteArray, content);
    QFETCH(QByteArray, hex);
    const QString file = m_dir.filePath("digest.bin");
    QVERIFY(writeFile(file, content));
    const QByteArray digest = FileManager::getFileSHA1(file);
    QCOMPARE(digest, QCryptographicHash::hash(content, QCryptographicHash::Sha1));
    if (!hex.isEmpty()) {
        QCOMPARE(digest.toHex(), hex);
    }
}

void TestFileManager::sha1Failures()
{
    try {
        FileManager::getFileSHA1(m_dir.filePath("nope.bin"));
        QFAIL("no exception for a missing file");
    } catch (const FileDoesNotExistException& e) {
        QCOMPARE(QString(e.what()), QString("File does not exist for SHA1"));
    }

    // A directory exists but cannot be read as a file.
    try {
        FileManager::getFileSHA1(m_dir.path());
        QFAIL("no exception for a directory");
    } catch (const FileDoesNotExistException& e) {
        QCOMPARE(QString(e.what()), QString("Unable to open file for SHA1"));
    }
}

QTEST_GUILESS_MAIN(TestFileManager)
#include "tst_filemanager.moc"
