#include "import/DriveCheck.h"

#include "core/UserPrompt.h"

#include <QDebug>
#include <QDir>
#include <QSet>

namespace {
const QSet<QString>& unreadableTypes()
{
    static const QSet<QString> types{QStringLiteral("exfat"), QStringLiteral("hfsplus"),
                                     QStringLiteral("hfs"), QStringLiteral("apfs")};
    return types;
}

// Shares and memory-backed file systems: nothing of them travels on the drive.
bool isNetworkOrTemporary(const QString& type)
{
    static const QSet<QString> types{QStringLiteral("nfs"),   QStringLiteral("nfs4"),
                                     QStringLiteral("cifs"),  QStringLiteral("smb3"),
                                     QStringLiteral("smbfs"), QStringLiteral("fuse.sshfs"),
                                     QStringLiteral("9p"),    QStringLiteral("tmpfs"),
                                     QStringLiteral("ramfs"), QStringLiteral("fuse.gvfsd-fuse"),
                                     QStringLiteral("davfs"), QStringLiteral("afs")};
    return types.contains(type);
}

QString displayName(const QString& type)
{
    if (type == QLatin1String("exfat"))
        return QStringLiteral("exFAT");
    if (type == QLatin1String("hfsplus") || type == QLatin1String("hfs"))
        return QStringLiteral("HFS+");
    if (type == QLatin1String("apfs"))
        return QStringLiteral("APFS");
    return type;
}

bool isFat(const QString& type)
{
    return type == QLatin1String("vfat") || type == QLatin1String("msdos") || type == QLatin1String("fat");
}

// The file system a server will meet: a FUSE mount ("fuseblk", "fuse.exfat") is judged by what
// lies on the device underneath, as far as the udev database or the type's name tells.
QString judgedType(const DriveFacts& facts)
{
    const QString type = facts.fileSystem.toLower();
    const bool fuse = type == QLatin1String("fuseblk") || type.startsWith(QLatin1String("fuse."));
    if (!fuse)
        return type;
    if (!facts.deviceFileSystem.isEmpty())
        return facts.deviceFileSystem;
    return type.startsWith(QLatin1String("fuse.")) ? type.mid(5) : type;
}

QString partitionTableName(DriveFacts::PartitionTable table)
{
    switch (table) {
    case DriveFacts::PartitionTable::None:
        return QStringLiteral("none");
    case DriveFacts::PartitionTable::Mbr:
        return QStringLiteral("MBR");
    case DriveFacts::PartitionTable::Gpt:
        return QStringLiteral("GPT");
    case DriveFacts::PartitionTable::Unknown:
        break;
    }
    return QStringLiteral("unknown");
}
} // namespace

QList<DriveCheck::Finding> DriveCheck::assess(const DriveFacts& facts)
{
    QList<Finding> findings;
    if (!facts.mounted)
        return findings;
    // A share or a RAM disk holds nothing that travels, whatever is behind it.
    if (isNetworkOrTemporary(facts.fileSystem.toLower())) {
        findings.append(
            {Severity::Unreadable, tr("The folder is on a network or temporary file system (%1), not on the "
                                      "drive itself. Most cinema servers cannot read it.")
                                       .arg(facts.fileSystem.toLower())});
        return findings;
    }
    // A fixed disk is the user's own business: it does not go to the cinema.
    if (!facts.removable)
        return findings;

    const QString type = judgedType(facts);
    if (unreadableTypes().contains(type)) {
        findings.append(
            {Severity::Unreadable,
             tr("The drive uses %1. Most cinema servers cannot read %1 drives.").arg(displayName(type))});
    } else if (isFat(type)) {
        findings.append({Severity::Note, tr("The drive uses FAT32, which cannot store files of 4 GB "
                                            "or more. Larger DCP files cannot be downloaded to it.")});
    } else if (type.startsWith(QLatin1String("ext"))) {
        // The superblock (or udev) is the truth where it could be read; the mount type otherwise.
        const int version = facts.extVersion ? facts.extVersion : type.mid(3).toInt();
        if (version == 4) {
            findings.append({Severity::Note, tr("The drive uses ext4. Some cinema servers only read "
                                                "ext2 or ext3 drives.")});
        } else if (facts.extInodeSize == 0) {
            findings.append(
                {Severity::Note, tr("The inode size of the drive's ext%1 file system could not be read "
                                    "without administrator rights. Some cinema servers only read "
                                    "drives with an inode size of 128 bytes.")
                                     .arg(version)});
        } else if (facts.extInodeSize != 128) {
            findings.append({Severity::Note, tr("The drive's ext%1 file system has an inode size of %2 "
                                                "bytes. Some cinema servers only read drives with an "
                                                "inode size of 128 bytes.")
                                                 .arg(version)
                                                 .arg(facts.extInodeSize)});
        }
    }
    if (facts.partitionTable == DriveFacts::PartitionTable::Gpt) {
        findings.append({Severity::Note, tr("The drive has a GPT partition table. Some cinema servers "
                                            "only read drives with an MBR partition table.")});
    }
    if (QDir::cleanPath(facts.folder) != QDir::cleanPath(facts.mountPoint)) {
        findings.append(
            {Severity::Note, tr("The DCP folder would not be at the top level of the drive (%1). Cinema "
                                "servers look for DCPs at the top level; choose the drive itself.")
                                 .arg(QDir::toNativeSeparators(facts.mountPoint))});
    }
    return findings;
}

bool DriveCheck::confirm(const QString& folder, const DriveProbe::Roots& roots)
{
    const DriveFacts facts = DriveProbe(roots).probe(folder);
    qDebug() << "[DriveCheck] Folder" << facts.folder << "on" << facts.device << facts.fileSystem
             << (facts.deviceFileSystem.isEmpty() ? QString()
                                                  : QStringLiteral("(%1)").arg(facts.deviceFileSystem))
             << "at" << facts.mountPoint << "removable" << facts.removable << "ext" << facts.extVersion
             << "inode size"
             << (facts.extInodeSize ? QString::number(facts.extInodeSize) : QStringLiteral("unknown"))
             << "partition table" << partitionTableName(facts.partitionTable);
    const QList<Finding> findings = assess(facts);
    if (findings.isEmpty())
        return true;

    bool unreadable = false;
    QStringList lines;
    for (const Finding& finding : findings) {
        unreadable = unreadable || finding.severity == Severity::Unreadable;
        lines.append(QStringLiteral("\u2022 ") + finding.text);
    }
    PromptRequest request;
    request.icon = unreadable ? Prompt::Warning : Prompt::Information;
    request.title = tr("Drive check");
    request.text = unreadable ? tr("Most cinema servers cannot read this drive.")
                              : tr("Please check the drive before it goes to the cinema.");
    request.informativeText = lines.join(QStringLiteral("\n"));
    request.buttons = Prompt::Yes | Prompt::No;
    request.buttonTexts.insert(Prompt::Yes, tr("Continue"));
    request.buttonTexts.insert(Prompt::No, tr("Choose another folder"));
    request.defaultButton = unreadable ? Prompt::No : Prompt::Yes;
    const bool goOn = UserPrompt::message(request) == Prompt::Yes;
    qDebug() << "[DriveCheck]" << lines << (goOn ? "- continuing" : "- choosing another folder");
    return goOn;
}
