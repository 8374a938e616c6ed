#pragma once

#include <QString>

// What could be read about the drive that holds a folder. Fields stay at their "unknown"
// values where the system would not tell (an unreadable device, no sysfs entry).
struct DriveFacts
{
    enum class PartitionTable
    {
        Unknown,
        None, // the file system starts at the first sector of the disk
        Mbr,
        Gpt
    };

    QString folder;     // the chosen folder, resolved
    QString fileSystem; // type from the mount table ("ext4", "exfat", "fuseblk", ...)
    // The file system on the device as the udev database knows it ("exfat" under "fuseblk");
    // empty when unknown.
    QString deviceFileSystem;
    QString device;     // mount source ("/dev/sdb1")
    QString mountPoint; // where the file system is mounted
    bool removable = false;
    int extVersion = 0;   // 2, 3 or 4 from the superblock's features; 0 when not read
    int extInodeSize = 0; // bytes per inode from the superblock; 0 when not read (no rights)
    PartitionTable partitionTable = PartitionTable::Unknown;
    bool mounted = false; // a mount entry holding the folder was found
};

// Reads the mount table, sysfs and the device's first sectors. Every root is a parameter so
// tests can point them at fixture files: drives cannot be plugged in on a test machine.
class DriveProbe
{
public:
    struct Roots
    {
        QString mountInfo = QStringLiteral("/proc/self/mountinfo");
        QString sys = QStringLiteral("/sys");
        QString dev = QStringLiteral("/dev");
        // udev's database of block devices, readable by every user.
        QString udev = QStringLiteral("/run/udev/data");
    };

    DriveProbe();
    explicit DriveProbe(const Roots& roots);

    DriveFacts probe(const QString& folder) const;

    // Superblock facts of an ext2/3/4 file system in a device or image file; false when the
    // file cannot be read or holds no ext file system.
    static bool readExtSuperblock(const QString& path, int* version, int* inodeSize);
    static DriveFacts::PartitionTable readPartitionTable(const QString& diskPath);
    // A field of the mount table: blanks, tabs, new lines and backslashes are written there as
    // three octal digits.
    static QString unescapeMountField(const QByteArray& field);

private:
    // Fills fileSystem, device and mountPoint from the entry with the longest mount point
    // holding the folder.
    bool findMount(DriveFacts& facts) const;
    // The sysfs name of the device's disk ("sdb" for "/dev/sdb1"), and whether the device
    // is a partition of it; empty when sysfs does not know the device.
    QString diskOf(const QString& deviceName, bool* isPartition, QString* devicePath) const;
    // A property of the block device whose sysfs folder is given, from the udev database.
    QString udevProperty(const QString& sysDevice, const QString& key) const;
    // What the device could not tell (no read rights on it), from the udev database.
    void fillFromUdev(DriveFacts& facts, const QString& sysDevice, const QString& diskDir,
                      bool isPartition) const;

    Roots roots;
};
