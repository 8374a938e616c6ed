// The drive check when a download folder is chosen: what is read from the mount table,
// sysfs and the device (fixtures standing in for a plugged-in drive), what the box says,
// and that "Choose another folder" goes back to the folder dialog before anything is written.
#include "ScriptedPrompts.h"
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
// Stands in for a drive sdb whose partition sdb1 is mounted at "<root>/my drive": mount table,
// sysfs and device files under root, the partition holding what mkfs makes ("ext3:256":
// mke2fs -t ext3 -I 256; empty: no ext file system). With udev properties ("ID_FS_TYPE=exfat,
// ..."), the devices cannot be read, as for a user outside the disk group, and the udev
// database knows the partition instead. A tmpfs is mounted from no device at all.
DriveProbe::Roots fakeDrive(const QString& root, const QString& type, const QString& mkfs,
                            const QString& table, bool removable, const QString& udev = QString())
{
    DriveProbe::Roots r{root + QStringLiteral("/mountinfo"), root + QStringLiteral("/sys"),
                        root + QStringLiteral("/dev"), root + QStringLiteral("/udev")};
    const QString disk = r.sys + QStringLiteral("/devices/pci0/block/sdb");
    QDir().mkpath(root + QStringLiteral("/my drive/deep/er"));
    QDir().mkpath(r.sys + QStringLiteral("/class/block"));
    QDir().mkpath(r.dev);
    writeFile(disk + QStringLiteral("/sdb1/partition"), "1\n");
    writeFile(disk + QStringLiteral("/sdb1/dev"), "8:17\n");
    writeFile(disk + QStringLiteral("/dev"), "8:16\n");
    writeFile(disk + QStringLiteral("/removable"), removable ? "1\n" : "0\n");
    QFile::link(disk + QStringLiteral("/sdb1"), r.sys + QStringLiteral("/class/block/sdb1"));
    // The space in the mount point is escaped in the table as the kernel does.
    const QByteArray source = type == QLatin1String("tmpfs") ? "tmpfs" : "/dev/sdb1";
    writeFile(r.mountInfo, "98 22 8:17 / " + QFile::encodeName(root).replace(" ", "\\040") +
                               "/my\\040drive rw,nosuid shared:50 - " + type.toUtf8() + " " + source +
                               " rw\n");
    if (!udev.isEmpty()) {
        writeFile(r.udev + QStringLiteral("/b8:17"),
                  "S:disk/by-label/FILMS\nE:ID_FS_USAGE=filesystem\nE:" + udev.toUtf8().replace(',', "\nE:") +
                      "\nG:systemd\n");
        return r;
    }
    QByteArray sectors(1024, '\0');
    if (table != QLatin1String("none")) {
        sectors[510] = char(0x55);
        sectors[511] = char(0xAA);
        sectors[446 + 4] = char(table == QLatin1String("gpt") ? 0xEE : 0x83);
    }
    writeFile(r.dev + QStringLiteral("/sdb"), sectors);
    writeFile(r.dev + QStringLiteral("/sdb1"), QByteArray(4096, '\0'));
    if (!mkfs.isEmpty())
        QProcess::execute(QStringLiteral("mke2fs"), {"-q", "-F", "-t", mkfs.section(':', 0, 0), "-I",
                                                     mkfs.section(':', 1), r.dev + "/sdb1", "8M"});
    return r;
}
} // namespace

class TestImportDriveCheck : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
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
    // "<mount type> <mkfs or -> <partition table> <usb|fixed> <folder under the mount point>
    // [udev properties, the devices unreadable]"
    QTest::addColumn<QString>("drive");
    QTest::addColumn<QStringList>("said"); // a fragment of each finding, in order; none: no box
    QTest::addColumn<int>("defaultButton");
    const QStringList none;
    const int keep = Prompt::Yes, other = Prompt::No;
    const QString gpt = QStringLiteral("GPT partition table"),
                  deep = QStringLiteral("not be at the top level");
    QTest::newRow("ext2 inode 128 on MBR") << "ext2 ext2:128 mbr usb ." << none << 0;
    QTest::newRow("ext3 inode 128 on MBR") << "ext3 ext3:128 mbr usb ." << none << 0;
    QTest::newRow("NTFS") << "fuseblk - mbr usb ." << none << 0;
    QTest::newRow("ext4 on a fixed disk, deep") << "ext4 ext4:256 gpt fixed deep" << none << 0;
    QTest::newRow("exFAT") << "exfat - mbr usb ." << QStringList{"uses exFAT. Most cinema servers cannot"}
                           << other;
    QTest::newRow("HFS+ on GPT") << "hfsplus - gpt usb ." << QStringList{"uses HFS+. Most", gpt} << other;
    QTest::newRow("APFS") << "apfs - none usb ." << QStringList{"uses APFS."} << other;
    QTest::newRow("tmpfs") << "tmpfs - mbr usb ." << QStringList{"temporary file system (tmpfs)"} << other;
    QTest::newRow("FAT32") << "vfat - mbr usb ." << QStringList{"cannot store files of 4 GB"} << keep;
    QTest::newRow("ext4") << "ext4 ext4:128 mbr usb ." << QStringList{"The drive uses ext4."} << keep;
    // The ext4 driver mounts ext3 drives too: the superblock decides.
    QTest::newRow("ext3 mounted as ext4") << "ext4 ext3:128 mbr usb ." << none << 0;
    QTest::newRow("ext2 inode 256") << "ext2 ext2:256 mbr usb ."
                                    << QStringList{"ext2 file system has an inode size "
                                                   "of 256 bytes"}
                                    << keep;
    QTest::newRow("ext3 inode 256 on GPT, deep")
        << "ext3 ext3:256 gpt usb deep/er"
        << QStringList{"ext3 file system has an inode size of 256", gpt, deep} << keep;
    QTest::newRow("ext3 128 on MBR, a folder down")
        << "ext3 ext3:128 mbr usb deep" << QStringList{deep} << keep;
    // A normal user: the device cannot be read, the udev database says what it holds.
    QTest::newRow("exFAT through FUSE, unreadable")
        << "fuseblk - - usb . ID_FS_TYPE=exfat,ID_PART_TABLE_TYPE=dos"
        << QStringList{"\u2022 The drive uses exFAT. Most cinema servers cannot read exFAT drives."} << other;
    QTest::newRow("NTFS through FUSE, unreadable")
        << "fuseblk - - usb . ID_FS_TYPE=ntfs,ID_PART_ENTRY_SCHEME=dos" << none << 0;
    QTest::newRow("exFAT through fuse.exfat, no udev entry")
        << "fuse.exfat - - usb . ID_FS_USAGE=filesystem" << QStringList{"The drive uses exFAT."} << other;
    QTest::newRow("GPT ext4, unreadable")
        << "ext4 - - usb . ID_FS_TYPE=ext4,ID_PART_ENTRY_SCHEME=gpt"
        << QStringList{"\u2022 The drive uses ext4. Some cinema servers only read ext2 or ext3 drives.",
                       "\u2022 The drive has a GPT partition table. Some cinema servers only read drives "
                       "with an MBR "
                       "partition table."}
        << keep;
    QTest::newRow("ext3 mounted as ext4, unreadable")
        << "ext4 - - usb . ID_FS_TYPE=ext3,ID_PART_TABLE_TYPE=dos"
        << QStringList{"\u2022 The inode size of the drive's ext3 file system could not be read without "
                       "administrator rights. Some cinema servers only read drives with an inode size of 128 "
                       "bytes."}
        << keep;
    QTest::newRow("tmpfs, not a drive at all")
        << "tmpfs - - fixed deep -"
        << QStringList{"\u2022 The folder is on a network or temporary file system (tmpfs), not on the drive "
                       "itself. Most cinema servers cannot read it."}
        << other;
}

void TestImportDriveCheck::findings()
{
    QFETCH(QString, drive);
    QFETCH(QStringList, said);
    QFETCH(int, defaultButton);
    const QStringList f = drive.split(QLatin1Char(' '));
    QTemporaryDir dir;
    const DriveProbe::Roots roots = fakeDrive(dir.path(), f[0], f[1] == "-" ? QString() : f[1], f[2],
                                              f[3] == "usb", f.value(5) == "-" ? QString() : f.value(5));

    ScriptedPrompts prompts;
    prompts.answer(Prompt::No);
    QCOMPARE(DriveCheck::confirm(dir.path() + QStringLiteral("/my drive/") + f[4], roots), said.isEmpty());
    QCOMPARE(prompts.count(), said.isEmpty() ? 0 : 1);
    if (said.isEmpty())
        return;
    const PromptRequest box = prompts.last();
    const QStringList lines = box.informativeText.split(QLatin1Char('\n'));
    QCOMPARE(lines.size(), said.size());
    for (int i = 0; i < said.size(); ++i) // a whole line where it starts with the bullet
        QVERIFY2(said.at(i).startsWith(QChar(0x2022)) ? lines.at(i) == said.at(i)
                                                      : lines.at(i).contains(said.at(i)),
                 qPrintable(lines.at(i)));
    QCOMPARE(box.buttonTexts.value(Prompt::Yes), QStringLiteral("Continue"));
    QCOMPARE(box.buttonTexts.value(Prompt::No), QStringLiteral("Choose another folder"));
    QCOMPARE(int(box.defaultButton), defaultButton);
}

// Turning the exFAT drive down writes nothing to it; the folder chosen next gets the DCP.
void TestImportDriveCheck::chooseAnotherFolder()
{
    QTemporaryDir dir;
    const QString drive = dir.path() + QStringLiteral("/my drive");
    TestSandbox sandbox;
    sandbox.volumes().setAvailableBytesOverride([](const QString&) { return Q_INT64_C(1) << 50; });
    sandbox.volumes().setDriveRoots(fakeDrive(dir.path(), "exfat", QString(), "mbr", true));
    const DcpDescription d = sampleDcp(sampleOptions(3));

    ScriptedPrompts prompts;
    prompts.answerPath(drive);
    prompts.answer(Prompt::No);
    prompts.answerPath(sandbox.downloads());
    sandbox.import(sandbox.writePackage(packageDocument({packageEntry(d, {1})})));

    QCOMPARE(prompts.count(), 3);
    QCOMPARE(prompts.asked().at(1).text, QStringLiteral("Most cinema servers cannot read this drive."));
    QCOMPARE(prompts.asked().at(2).kind, PromptRequest::Directory);
    const DCP* dcp = DCPManager::getInstance()->getDCP(d.cplUuid);
    QVERIFY(dcp);
    QCOMPARE(dcp->getDownloadPath(), sandbox.downloads());
    QCOMPARE(QDir(drive).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{"deep"});
}

QTEST_GUILESS_MAIN(TestImportDriveCheck)
#include "tst_import_drivecheck.moc"
