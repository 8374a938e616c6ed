#include "import/DriveProbe.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QtEndian>

#include <fcntl.h>
#include <unistd.h>

namespace {
bool holds(const QString& mountPoint, const QString& path)
{
    if (mountPoint == QLatin1String("/"))
        return true;
    return path == mountPoint || path.startsWith(mountPoint + QLatin1Char('/'));
}

// Plain pread: a block device reports a size of 0, past which a QFile reads nothing.
QByteArray readBytes(const QString& path, qint64 offset, int length)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return QByteArray();
    QByteArray bytes(length, '\0');
    const ssize_t got = ::pread(fd, bytes.data(), size_t(length), off_t(offset));
    ::close(fd);
    bytes.truncate(got > 0 ? int(got) : 0);
    return bytes;
}

QString readText(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.readAll()).trimmed();
}
} // namespace

QString DriveProbe::unescapeMountField(const QByteArray& field)
{
    QByteArray out;
    out.reserve(field.size());
    for (int i = 0; i < field.size(); ++i) {
        if (field.at(i) == '\\' && i + 3 < field.size()) {
            bool ok = false;
            const int value = field.mid(i + 1, 3).toInt(&ok, 8);
            if (ok && value < 256) {
                out.append(char(value));
                i += 3;
                continue;
            }
        }
        out.append(field.at(i));
    }
    return QFile::decodeName(out);
}

DriveProbe::DriveProbe() : DriveProbe(Roots()) {}

DriveProbe::DriveProbe(const Roots& roots) : roots(roots) {}

DriveFacts DriveProbe::probe(const QString& folder) const
{
    DriveFacts facts;
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    facts.folder = canonical.isEmpty() ? QDir::cleanPath(folder) : canonical;
    if (!findMount(facts))
        return facts;

    if (!facts.device.startsWith(QLatin1String("/dev/")))
        return facts; // a network share, a pseudo or image-backed file system: no disk behind it
    const QString name = facts.device.mid(5);
    bool isPartition = false;
    QString sysDevice;
    const QString disk = diskOf(name, &isPartition, &sysDevice);
    readExtSuperblock(roots.dev + QLatin1Char('/') + name, &facts.extVersion, &facts.extInodeSize);
    if (!disk.isEmpty()) {
        const QString diskDir = isPartition ? QFileInfo(sysDevice).path() : sysDevice;
        // USB hard drives often say "not removable"; their place on the USB bus still does.
        facts.removable = readText(diskDir + QStringLiteral("/removable")) == QLatin1String("1") ||
                          diskDir.contains(QLatin1String("/usb"));
        facts.partitionTable = isPartition ? readPartitionTable(roots.dev + QLatin1Char('/') + disk)
                                           : DriveFacts::PartitionTable::None;
        fillFromUdev(facts, sysDevice, diskDir, isPartition);
    }
    return facts;
}

bool DriveProbe::findMount(DriveFacts& facts) const
{
    QFile table(roots.mountInfo);
    if (!table.open(QIODevice::ReadOnly))
        return false;
    // <id> <parent> <major:minor> <root> <mount point> <options> [optional...] - <type> <source> <options>
    int best = -1;
    for (const QByteArray& line : table.readAll().split('\n')) {
        const QList<QByteArray> fields = line.split(' ');
        const int dash = fields.indexOf("-");
        if (fields.size() < 5 || dash < 5 || dash + 2 >= fields.size())
            continue;
        const QString mountPoint = unescapeMountField(fields.at(4));
        if (!holds(mountPoint, facts.folder) || mountPoint.size() <= best)
            continue;
        best = mountPoint.size();
        facts.mountPoint = mountPoint;
        facts.fileSystem = unescapeMountField(fields.at(dash + 1));
        facts.device = unescapeMountField(fields.at(dash + 2));
        facts.mounted = true;
    }
    return facts.mounted;
}

QString DriveProbe::diskOf(const QString& deviceName, bool* isPartition, QString* devicePath) const
{
    // /sys/class/block/<name> links into the device tree, where a partition sits in its disk's folder.
    const QString entry = roots.sys + QStringLiteral("/class/block/") + deviceName;
    const QString resolved = QFileInfo(entry).canonicalFilePath();
    if (resolved.isEmpty())
        return QString();
    *devicePath = resolved;
    *isPartition = QFileInfo::exists(resolved + QStringLiteral("/partition"));
    return *isPartition ? QFileInfo(QFileInfo(resolved).path()).fileName() : QFileInfo(resolved).fileName();
}

QString DriveProbe::udevProperty(const QString& sysDevice, const QString& key) const
{
    // "<major>:<minor>" names the device's entry: "E:<key>=<value>" lines hold its properties.
    const QString number = readText(sysDevice + QStringLiteral("/dev"));
    if (number.isEmpty())
        return QString();
    QFile data(roots.udev + QStringLiteral("/b") + number);
    if (!data.open(QIODevice::ReadOnly))
        return QString();
    const QByteArray prefix = "E:" + key.toUtf8() + '=';
    for (const QByteArray& line : data.readAll().split('\n')) {
        if (line.startsWith(prefix))
            return QString::fromUtf8(line.mid(prefix.size())).trimmed();
    }
    return QString();
}

void DriveProbe::fillFromUdev(DriveFacts& facts, const QString& sysDevice, const QString& diskDir,
                              bool isPartition) const
{
    facts.deviceFileSystem = udevProperty(sysDevice, QStringLiteral("ID_FS_TYPE")).toLower();
    if (facts.extVersion == 0 && facts.deviceFileSystem.startsWith(QLatin1String("ext")))
        facts.extVersion = facts.deviceFileSystem.mid(3).toInt();
    if (facts.partitionTable != DriveFacts::PartitionTable::Unknown || !isPartition)
        return;
    QString table = udevProperty(sysDevice, QStringLiteral("ID_PART_TABLE_TYPE"));
    if (table.isEmpty())
        table = udevProperty(sysDevice, QStringLiteral("ID_PART_ENTRY_SCHEME"));
    if (table.isEmpty())
        table = udevProperty(diskDir, QStringLiteral("ID_PART_TABLE_TYPE"));
    if (table == QLatin1String("gpt"))
        facts.partitionTable = DriveFacts::PartitionTable::Gpt;
    else if (table == QLatin1String("dos"))
        facts.partitionTable = DriveFacts::PartitionTable::Mbr;
}

bool DriveProbe::readExtSuperblock(const QString& path, int* version, int* inodeSize)
{
    const QByteArray block = readBytes(path, 1024, 1024);
    if (block.size() < 104)
        return false;
    const auto* b = reinterpret_cast<const uchar*>(block.constData());
    if (qFromLittleEndian<quint16>(b + 56) != 0xEF53)
        return false;
    const quint32 revision = qFromLittleEndian<quint32>(b + 76);
    const quint32 compat = qFromLittleEndian<quint32>(b + 92);
    const quint32 incompat = qFromLittleEndian<quint32>(b + 96);
    // Revision 0 has fixed 128-byte inodes and no size field.
    *inodeSize = revision == 0 ? 128 : qFromLittleEndian<quint16>(b + 88);
    const quint32 hasJournal = 0x4;
    const quint32 extents = 0x40, bits64 = 0x80, flexBg = 0x200;
    if (incompat & (extents | bits64 | flexBg))
        *version = 4;
    else if (compat & hasJournal)
        *version = 3;
    else
        *version = 2;
    return true;
}

DriveFacts::PartitionTable DriveProbe::readPartitionTable(const QString& diskPath)
{
    const QByteArray sectors = readBytes(diskPath, 0, 1024);
    if (sectors.size() < 512)
        return DriveFacts::PartitionTable::Unknown;
    if (uchar(sectors.at(510)) != 0x55 || uchar(sectors.at(511)) != 0xAA)
        return DriveFacts::PartitionTable::None;
    // A GPT disk keeps a protective MBR whose one entry has type 0xEE; the header follows.
    if (sectors.mid(512, 8) == "EFI PART" || uchar(sectors.at(446 + 4)) == 0xEE)
        return DriveFacts::PartitionTable::Gpt;
    return DriveFacts::PartitionTable::Mbr;
}
