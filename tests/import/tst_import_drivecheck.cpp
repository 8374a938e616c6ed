// The drive check when a download folder is chosen: what is read from the mount table,
// sysfs and the device (fixtures standing in for a plugged-in drive), what the box says,
// and that "Choose another folder" goes back to the folder dialog before anything is written.
#include "TestPackages.h"
#include "TestSandbox.h"
#include "import/DriveCheck.h"
#include "import/VolumeInfo.h"
#include "model/DCP.h"
#include "model/DCPManager.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

namespace {
// A machine with a fixed disk sda (mounted at /) and a drive sdb whose first partition is
// mounted at <root>/mnt: mount table, sysfs links and device files under root.
struct FakeDrive
{
    QTemporaryDir dir;
    QString mnt() const { return dir.path() + QStringLiteral("/my drive"); }
    DriveProbe::Roots roots() const
    {
        DriveProbe::Roots r;
        r.mountInfo = dir.path() + QStringLiteral("/mountinfo");
        r.sys = dir.path() + QStringLiteral("/sys");
        r.dev = dir.path() + QStringLiteral("/dev");
        return r;
    }

    bool build(const QString& type, const QString& mkfs, const QString& table, bool removable)
    {
        const QString root = dir.path();
        QDir().mkpath(mnt() + QStringLiteral("/deep/er"));
        QDir().mkpath(root + QStringLiteral("/dev"));
        const QString disk = root + QStringLiteral("/sys/devices/pci0/block/sdb");
        const QString fixed = root + QStringLiteral("/sys/devices/pci0/block/sda");
        QDir().mkpath(disk + QStringLiteral("/sdb1"));
        QDir().mkpath(fixed + QStringLiteral("/sda1"));
        QDir().mkpath(root + QStringLiteral("/sys/class/block"));
        writeFile(disk + QStringLiteral("/sdb1/partition"), "1\n");
        writeFile(fixed + QStringLiteral("/sda1/partition"), "1\n");
        writeFile(disk + QStringLiteral("/removable"), removable ? "1\n" : "0\n");
        writeFile(fixed + QStringLiteral("/removable"), "0\n");
        QFile::link(disk + QStringLiteral("/sdb1"), root + QStringLiteral("/sys/class/block/sdb1"));
        QFile::link(fixed + QStringLiteral("/sda1"), root + QStringLiteral("/sys/class/block/sda1"));

        // The mount point's name has a space, escaped in the table as the kernel does.
        const QByteArray mountPoint = QFile::encodeName(mnt()).replace(" ", "\\040");
        writeFile(root + QStringLiteral("/mountinfo"),
                  "22 1 8:1 / / rw,relatime shared:1 - ext4 /dev/sda1 rw\n"
                  "98 22 8:17 / " +
                      mountPoint + " rw,nosuid shared:50 - " + type.toUtf8() + " /dev/sdb1 rw,uid=1000\n");

        QByteArray sectors(1024, '\0');
        if (table != QLatin1String("none")) {
            sectors[510] = char(0x55);
            sectors[511] = char(0xAA);
            sectors[446 + 4] = char(table == QLatin1String("gpt") ? 0xEE : 0x83);
        }
        writeFile(root + QStringLiteral("/dev/sdb"), sectors);

        const QString partition = root + QStringLiteral("/dev/sdb1");
        if (mkfs.isEmpty())
            return writeFile(partition, QByteArray(4096, '\0'));
        // "ext3:256": mke2fs -t ext3 -I 256
        const QStringList kind = mkfs.split(QLatin1Char(':'));
        return QProcess::execute(QStringLiteral("mke2fs"),
                                 {QStringLiteral("-q"), QStringLiteral("-F"), QStringLiteral("-t"),
                                  kind.at(0), QStringLiteral("-I"), kind.at(1), partition,
                                  QStringLiteral("8M")}) == 0;
    }
};
} // namespace

class TestImportDriveCheck : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup() { DriveCheck::resetRootsForTesting(); }
    void findings_data();
    void findings();
    void chooseAnotherFolder();
};

void TestImportDriveCheck::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    if (QStandardPaths::findExecutable(QStringLiteral("mke2fs")).isEmpty() &&
        !QFileInfo::exists(QStringLiteral("/usr/sbin/mke2fs")))
        QSKIP("mke2fs (e2fsprogs) is not installed");
    qputenv("PATH", qgetenv("PATH") + ":/usr/sbin:/sbin");
}

void TestImportDriveCheck::findings_data()
{
    QTest::addColumn<QString>("type");  // in the mount table
    QTest::addColumn<QString>("mkfs");  // what the partition holds: "ext3:128", or "" for no ext superblock
    QTest::addColumn<QString>("table"); // of the disk: mbr, gpt, none
    QTest::addColumn<bool>("removable");
    QTest::addColumn<QString>("folder");   // chosen, under the mount point
    QTest::addColumn<QStringList>("said"); // a fragment of each finding, in order; none: no box
    QTest::addColumn<int>("defaultButton");

    const QStringList none;
    const int keep = Prompt::Yes, other = Prompt::No;
    const QString ext4 = QStringLiteral("The drive uses ext4.");
    const QString gpt = QStringLiteral("GPT partition table");
    const QString deep = QStringLiteral("not be at the top level");
    QTest::newRow("ext2 inode 128 on MBR") << "ext2"
                                           << "ext2:128"
                                           << "mbr" << true << "" << none << 0;
    QTest::newRow("ext3 inode 128 on MBR") << "ext3"
                                           << "ext3:128"
                                           << "mbr" << true << "" << none << 0;
    QTest::newRow("NTFS") << "fuseblk"
                          << ""
                          << "mbr" << true << "" << none << 0;
    QTest::newRow("ext4 on a fixed disk, deep") << "ext4"
                                                << "ext4:256"
                                                << "gpt" << false << "deep" << none << 0;
    QTest::newRow("exFAT") << "exfat"
                           << ""
                           << "mbr" << true << ""
                           << QStringList{"uses exFAT. Most cinema servers cannot read"} << other;
    QTest::newRow("HFS+ on GPT") << "hfsplus"
                                 << ""
                                 << "gpt" << true << "" << QStringList{"uses HFS+. Most", gpt} << other;
    QTest::newRow("APFS") << "apfs"
                          << ""
                          << "none" << true << "" << QStringList{"uses APFS."} << other;
    QTest::newRow("tmpfs") << "tmpfs"
                           << ""
                           << "mbr" << true << "" << QStringList{"temporary file system (tmpfs)"} << other;
    QTest::newRow("FAT32") << "vfat"
                           << ""
                           << "mbr" << true << "" << QStringList{"cannot store files of 4 GB"} << keep;
    QTest::newRow("ext4 mounted, superblock ext4") << "ext4"
                                                   << "ext4:128"
                                                   << "mbr" << true << "" << QStringList{ext4} << keep;
    // The ext4 driver mounts ext3 drives too: the superblock decides.
    QTest::newRow("ext3 mounted as ext4") << "ext4"
                                          << "ext3:128"
                                          << "mbr" << true << "" << none << 0;
    QTest::newRow("ext2 inode 256") << "ext2"
                                    << "ext2:256"
                                    << "mbr" << true << ""
                                    << QStringList{"ext2 file system has an inode size of 256 bytes"} << keep;
    QTest::newRow("ext3 inode 256 on GPT, deep")
        << "ext3"
        << "ext3:256"
        << "gpt" << true << "deep/er" << QStringList{"ext3 file system has an inode size of 256", gpt, deep}
        << keep;
    QTest::newRow("ext3 128 on MBR, one folder down") << "ext3"
                                                      << "ext3:128"
                                                      << "mbr" << true << "deep" << QStringList{deep} << keep;
}

void TestImportDriveCheck::findings()
{
    QFETCH(QString, type);
    QFETCH(QString, mkfs);
    QFETCH(QString, table);
    QFETCH(bool, removable);
    QFETCH(QString, folder);
    QFETCH(QStringList, said);
    QFETCH(int, defaultButton);

    FakeDrive drive;
    QVERIFY(drive.build(type, mkfs, table, removable));
    DriveCheck::setRootsForTesting(drive.roots());
    const QString chosen = drive.mnt() + (folder.isEmpty() ? QString() : QLatin1Char('/') + folder);

    ScriptedPrompts prompts;
    prompts.answer(Prompt::No);
    QCOMPARE(DriveCheck::confirm(chosen), said.isEmpty());
    QCOMPARE(prompts.count(), said.isEmpty() ? 0 : 1);
    if (said.isEmpty())
        return;
    const PromptRequest box = prompts.last();
    const QStringList lines = box.informativeText.split(QLatin1Char('\n'));
    QCOMPARE(lines.size(), said.size());
    for (int i = 0; i < said.size(); ++i)
        QVERIFY2(lines.at(i).contains(said.at(i)), qPrintable(lines.at(i)));
    QCOMPARE(box.buttons, Prompt::Yes | Prompt::No);
    QCOMPARE(box.buttonTexts.value(Prompt::Yes), QStringLiteral("Continue"));
    QCOMPARE(box.buttonTexts.value(Prompt::No), QStringLiteral("Choose another folder"));
    QCOMPARE(int(box.defaultButton), defaultButton);
}

// Turning the exFAT drive down writes nothing to it; the folder chosen next gets the DCP.
void TestImportDriveCheck::chooseAnotherFolder()
{
    VolumeInfo::setAvailableBytesOverride([](const QString&) { return Q_INT64_C(1) << 50; });
    FakeDrive drive;
    QVERIFY(drive.build(QStringLiteral("exfat"), QString(), QStringLiteral("mbr"), true));
    DriveCheck::setRootsForTesting(drive.roots());
    TestSandbox sandbox;
    const DcpDescription d = sampleDcp(sampleOptions(3));

    ScriptedPrompts prompts;
    prompts.answerPath(drive.mnt());
    prompts.answer(Prompt::No);
    prompts.answerPath(sandbox.downloads());
    TestSandbox::import(sandbox.writePackage(packageDocument({packageEntry(d, {1})})));

    QCOMPARE(prompts.count(), 3);
    QCOMPARE(prompts.asked().at(1).text, QStringLiteral("Most cinema servers cannot read this drive."));
    QCOMPARE(prompts.asked().at(2).kind, PromptRequest::Directory);
    const DCP* dcp = DCPManager::getInstance()->getDCP(d.cplUuid);
    QVERIFY(dcp);
    QCOMPARE(dcp->getDownloadPath(), sandbox.downloads());
    QCOMPARE(QDir(drive.mnt()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{"deep"});
    VolumeInfo::setAvailableBytesOverride(nullptr);
}

QTEST_GUILESS_MAIN(TestImportDriveCheck)
#include "tst_import_drivecheck.moc"
