#include "download/FileManager.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {
void writeFile(const QString& path, const QByteArray& data)
{
    QFile f(path);
    QVERIFY2(f.open(QIODevice::WriteOnly), qPrintable(path));
    QCOMPARE(f.write(data), qint64(data.size()));
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        return QByteArray();
    }
    return f.readAll();
}
} // namespace

class TestFileManager : public QObject
{
    Q_OBJECT

private slots:
    void hiddenNames_data();
    void hiddenNames();
    void unhiddenFileName_data();
    void unhiddenFileName();

    void existenceAndSize();
    void appendHandleOnExistingFile();
    void appendHandleCreatesDirectoryChain();
    void appendHandleWithoutCreateFlag();
    void appendHandleWhenParentIsAFile();

    void sha1KnownVectors_data();
    void sha1KnownVectors();
    void sha1MultiMegabyteMatchesIndependentDigest();
    void sha1Failures();

    void createDirectoryAndRename();

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
    QTest::newRow("file at root") << "/x.mxf"
                                  << "/.x.mxf"
                                  << "/x.mxf";
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
}

void TestFileManager::unhiddenFileName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("expected");
    QTest::newRow("hidden") << ".x.mxf"
                            << "x.mxf";
    QTest::newRow("plain") << "x.mxf"
                           << "x.mxf";
    QTest::newRow("two dots, one removed") << "..x"
                                           << ".x";
    QTest::newRow("only a dot") << "."
                                << "";
    QTest::newRow("empty") << ""
                           << "";
}

void TestFileManager::unhiddenFileName()
{
    QFETCH(QString, name);
    QFETCH(QString, expected);
    QCOMPARE(FileManager::nixGetUnhiddenFileName(name), expected);
}

void TestFileManager::existenceAndSize()
{
    const QString file = m_dir.filePath("size.bin");
    writeFile(file, QByteArray(1234, 'z'));
    const QString missing = m_dir.filePath("missing.bin");

    QCOMPARE(FileManager::getFileSize(file), qint64(1234));
    QCOMPARE(FileManager::getFileSize(missing), qint64(0));

    QVERIFY(FileManager::fileExists(file));
    QVERIFY(FileManager::fileExists(m_dir.path())); // a directory is an entry too
    QVERIFY(!FileManager::fileExists(missing));
    QVERIFY(!FileManager::fileExists(QString()));

    QVERIFY(FileManager::directoryExists(m_dir.path()));
    QVERIFY(!FileManager::directoryExists(file));
    QVERIFY(!FileManager::directoryExists(missing));
    QVERIFY(!FileManager::directoryExists(QString()));

    QCOMPARE(FileManager::getFilenameFromPath("/a/b/.c.mxf"), QString(".c.mxf"));
}

void TestFileManager::appendHandleOnExistingFile()
{
    const QString file = m_dir.filePath("append.bin");
    writeFile(file, "head");

    std::unique_ptr<QFile> handle(FileManager::getFileHandle(file, false, true));
    QVERIFY(handle);
    QVERIFY(handle->isOpen());
    QCOMPARE(handle->write("tail"), qint64(4));
    handle->close();
    QCOMPARE(readFile(file), QByteArray("headtail"));

    // Reopening must never truncate what is already there (that is the resume offset).
    handle.reset(FileManager::getFileHandle(file, true, true));
    QVERIFY(handle);
    handle->write("!");
    handle->close();
    QCOMPARE(readFile(file), QByteArray("headtail!"));
}

void TestFileManager::appendHandleCreatesDirectoryChain()
{
    const QString file = m_dir.filePath("deep/er/still/.x.mxf");
    std::unique_ptr<QFile> handle(FileManager::getFileHandle(file, true, true));
    QVERIFY(handle);
    handle->close();
    QVERIFY(QFileInfo(file).isFile());
    QCOMPARE(FileManager::getFileSize(file), qint64(0));
}

void TestFileManager::appendHandleWithoutCreateFlag()
{
    const QString dir = m_dir.filePath("never");
    QVERIFY(!FileManager::getFileHandle(dir + "/x.mxf", false, true));
    QVERIFY(!QFileInfo::exists(dir));
}

void TestFileManager::appendHandleWhenParentIsAFile()
{
    const QString blocker = m_dir.filePath("blocker");
    writeFile(blocker, "x");
    QVERIFY(!FileManager::getFileHandle(blocker + "/sub/x.mxf", true, true));
    QVERIFY(!FileManager::getFileHandle(m_dir.path(), true, true)); // a directory is not a file to append to
}

void TestFileManager::sha1KnownVectors_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QByteArray>("hex");
    QTest::newRow("empty") << QByteArray() << QByteArray("da39a3ee5e6b4b0d3255bfef95601890afd80709");
    QTest::newRow("abc") << QByteArray("abc") << QByteArray("a9993e364706816aba3e25717850c26c9cd0d89d");
    QTest::newRow("million a") << QByteArray(1000000, 'a')
                               << QByteArray("34aa973cd4c4daa4f61eeb2bdbad27316534016f");
}

void TestFileManager::sha1KnownVectors()
{
    QFETCH(QByteArray, content);
    QFETCH(QByteArray, hex);
    const QString file = m_dir.filePath("vector.bin");
    writeFile(file, content);
    const QByteArray digest = FileManager::getFileSHA1(file);
    QCOMPARE(digest.size(), 20);
    QCOMPARE(digest.toHex(), hex);
}

void TestFileManager::sha1MultiMegabyteMatchesIndependentDigest()
{
    // Not a multiple of any plausible block size, so the last partial block counts.
    QByteArray content;
    content.reserve(9 * 1024 * 1024 + 7);
    quint32 x = 2463534242u;
    while (content.size() < 9 * 1024 * 1024 + 7) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        content.append(char(x & 0xff));
    }
    const QString file = m_dir.filePath("big.bin");
    writeFile(file, content);
    QCOMPARE(FileManager::getFileSHA1(file), QCryptographicHash::hash(content, QCryptographicHash::Sha1));
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

void TestFileManager::createDirectoryAndRename()
{
    const QString dir = m_dir.filePath("a/b/c");
    QVERIFY(FileManager::createDirectory(dir));
    QVERIFY(FileManager::createDirectory(dir)); // already there is success too
    QVERIFY(QFileInfo(dir).isDir());

    const QString hidden = dir + "/.f.mxf";
    writeFile(hidden, "data");
    QVERIFY(FileManager::rename(hidden, dir + "/f.mxf"));
    QCOMPARE(readFile(dir + "/f.mxf"), QByteArray("data"));
    QVERIFY(!FileManager::rename(hidden, dir + "/g.mxf")); // source is gone now

    FileManager::removeFile(dir + "/f.mxf");
    QVERIFY(!QFileInfo::exists(dir + "/f.mxf"));
    FileManager::removeFile(dir + "/f.mxf"); // a missing file is silently ignored
}

QTEST_GUILESS_MAIN(TestFileManager)
#include "tst_filemanager.moc"
