#include "download/DriveWatch.h"

#include "import/DriveProbe.h"
#include "model/DCP.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

const char kMountInfo[] = "/proc/self/mountinfo";

QString parentOf(const QString& path)
{
    const int slash = path.lastIndexOf(QLatin1Char('/'));
    return slash <= 0 ? QStringLiteral("/") : path.left(slash);
}

} // namespace

DriveWatch::DriveWatch(std::function<QList<DCP*>()> dcps, QObject* parent)
    : QObject(parent), dcps(std::move(dcps))
{
    settle.setSingleShot(true);
    settle.setInterval(200);
    connect(&settle, &QTimer::timeout, this, [this] {
        QSet<QString> folders;
        folders.swap(due);
        const bool all = dueAll;
        dueAll = false;
        look(folders, all);
    });
    connect(&folders, &QFileSystemWatcher::directoryChanged, this, &DriveWatch::folderChanged);
}

DriveWatch::~DriveWatch()
{
    mountNotifier.reset();
    if (mountFd >= 0)
        ::close(mountFd);
}

void DriveWatch::start()
{
    mounts = readMounts();
    if (mountFd < 0) {
        // The kernel marks the file with an exceptional condition (POLLPRI) at every mount
        // and unmount in this process's namespace.
        mountFd = ::open(kMountInfo, O_RDONLY | O_CLOEXEC);
        if (mountFd >= 0) {
            mountNotifier = std::make_unique<QSocketNotifier>(mountFd, QSocketNotifier::Exception);
            connect(mountNotifier.get(), &QSocketNotifier::activated, this, &DriveWatch::mountsChanged);
        } else {
            qDebug() << "[DriveWatch] Unable to follow the mount table:" << std::strerror(errno);
        }
    }
    rewatch();
}

DriveWatch::MountTable DriveWatch::readMounts()
{
    MountTable table;
    QFile file(QString::fromLatin1(kMountInfo));
    if (!file.open(QIODevice::ReadOnly))
        return table;
    // "36 35 98:0 /mnt1 /mnt/parent rw,noatime master:1 - ext3 /dev/root rw": the mount id
    // first, the mount point fifth. A later mount over the same point hides the earlier one.
    for (const QByteArray& line : file.readAll().split('\n')) {
        const QList<QByteArray> fields = line.split(' ');
        if (fields.size() < 5)
            continue;
        table.insert(DriveProbe::unescapeMountField(fields.at(4)), QString::fromLatin1(fields.at(0)));
    }
    return table;
}

QString DriveWatch::mountOf(const MountTable& mounts, const QString& path)
{
    QString point = QDir::cleanPath(path);
    while (true) {
        const auto found = mounts.constFind(point);
        if (found != mounts.cend())
            return point + QLatin1Char('#') + *found;
        if (point == QLatin1String("/") || point.isEmpty())
            return QString();
        point = parentOf(point);
    }
}

void DriveWatch::mountsChanged()
{
    const MountTable now = readMounts();
    QSet<QString> chosen;
    for (const DCP* dcp : dcps())
        chosen.insert(dcp->getDownloadPath());
    // A folder whose mount is another one now: its drive went, came or was mounted over.
    for (const QString& folder : qAsConst(chosen)) {
        if (mountOf(mounts, folder) != mountOf(now, folder))
            due.insert(folder);
    }
    mounts = now;
    if (!due.isEmpty() && !settle.isActive())
        settle.start();
}

void DriveWatch::folderChanged(const QString& folder)
{
    const QString prefix = folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
    for (const DCP* dcp : dcps()) {
        const QString chosen = dcp->getDownloadPath();
        if (chosen.startsWith(prefix))
            due.insert(chosen);
    }
    // Not pushed back by further changes: a busy folder still gets its look.
    if (!due.isEmpty() && !settle.isActive())
        settle.start();
}

void DriveWatch::checkNow()
{
    look(QSet<QString>(), true);
}

void DriveWatch::look(const QSet<QString>& chosen, bool all)
{
    const QList<DCP*> list = dcps();
    // DCPs on one drive share their folder: one stat each.
    QHash<QString, bool> present;
    for (DCP* dcp : list) {
        const QString folder = dcp->getDownloadPath();
        if (!all && !chosen.contains(folder))
            continue;
        auto known = present.find(folder);
        if (known == present.end())
            known = present.insert(folder, QFileInfo(folder).isDir());
        if (*known == dcp->isDriveConnected())
            continue;
        if (!*known) {
            // The line the start-up load writes for a drive it does not find.
            qDebug() << "[DCPManager] Drive not connected, keeping dcp" << dcp->getDCPPath();
            dcp->setDriveConnected(false);
            emit driveLost(dcp);
        } else {
            qDebug() << "[DriveWatch] Drive connected again for dcp" << dcp->getDCPPath();
            dcp->setDriveConnected(true);
            emit driveBack(dcp);
        }
    }
    // A folder gone is followed through the nearest folder above it that is still there.
    if (!present.isEmpty())
        rewatch();
}

void DriveWatch::rewatch()
{
    QSet<QString> chosen;
    for (const DCP* dcp : dcps())
        chosen.insert(dcp->getDownloadPath());
    // The folder that holds each chosen folder: a rename or removal of the chosen folder
    // changes it. Where it is gone too, the nearest one above that is there.
    QSet<QString> wanted;
    for (const QString& folder : qAsConst(chosen)) {
        if (folder.isEmpty())
            continue;
        QString holder = parentOf(QDir::cleanPath(folder));
        while (holder != QLatin1String("/") && !QFileInfo(holder).isDir())
            holder = parentOf(holder);
        wanted.insert(holder);
    }
    const QStringList watched = folders.directories();
    QStringList gone;
    for (const QString& folder : watched) {
        if (!wanted.remove(folder))
            gone.append(folder);
    }
    if (!gone.isEmpty())
        folders.removePaths(gone);
    if (!wanted.isEmpty())
        folders.addPaths(QStringList(wanted.cbegin(), wanted.cend()));
}

bool DriveWatch::isGone(DCP* dcp)
{
    checkNow();
    return dcp && !dcp->isDriveConnected();
}
