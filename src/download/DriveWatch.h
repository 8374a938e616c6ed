#pragma once

#include <QFileSystemWatcher>
#include <QHash>
#include <QList>
#include <QObject>
#include <QSet>
#include <QString>
#include <QTimer>

#include <functional>
#include <memory>

class DCP;
class QSocketNotifier;

// Follows the drives the DCPs are downloaded to while the program runs. The folder the user
// chose for a DCP missing means its drive was pulled: the DCP is marked "Drive not connected"
// (as the start-up load does) until the folder is there again.
//
// It looks only when something changed: the kernel's mount table (/proc/self/mountinfo
// signals every mount and unmount) and the folders that hold the chosen folders (a folder
// renamed or removed). A mount change looks only at the folders on the mounts that changed.
// An idle program with a long history therefore does nothing at all, where a look every
// couple of seconds cost a stat per DCP.
class DriveWatch : public QObject
{
    Q_OBJECT

public:
    // dcps: every catalogued DCP, drive connected or not.
    explicit DriveWatch(std::function<QList<DCP*>()> dcps, QObject* parent = nullptr);
    ~DriveWatch() override;

    void start();
    // The pause between a change seen and the look (a mount comes with several changes in a
    // row). Product value 200 ms; tests shorten it.
    int interval() const { return settle.interval(); }
    void setInterval(int ms) { settle.setInterval(ms); }

    // Looks at every DCP's folder now; the changes are signalled before it returns.
    void checkNow();
    // Whether the DCP's drive is gone, looked at now (a failed write may be the first sign).
    bool isGone(DCP* dcp);
    // Follows the folders of DCPs added since (the catalogue calls it when its list changes).
    void rewatch();

signals:
    void driveLost(DCP* dcp);
    void driveBack(DCP* dcp);

private:
    // Mount point -> mount id, from /proc/self/mountinfo.
    using MountTable = QHash<QString, QString>;
    static MountTable readMounts();
    // The mount a path lies on: the longest mount point that holds it, with its id.
    static QString mountOf(const MountTable& mounts, const QString& path);
    void mountsChanged();
    void folderChanged(const QString& folder);
    // Looks at the DCPs whose chosen folder is one of folders (every one when all).
    void look(const QSet<QString>& folders, bool all);

    std::function<QList<DCP*>()> dcps;
    QTimer settle;
    QSet<QString> due; // chosen folders to look at when settle fires
    bool dueAll = false;
    MountTable mounts;
    std::unique_ptr<QSocketNotifier> mountNotifier;
    int mountFd = -1;
    QFileSystemWatcher folders;
};
