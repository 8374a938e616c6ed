#pragma once

#include <QElapsedTimer>
#include <QHash>
#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>

class DCP;
class DownloadManager;
class DriveEject;

// The window's "Eject drive" action: offered for a DCP whose drive holds nothing that is
// moving (every DCP on it completed or paused), it ejects that drive and tells the user the
// answer through the prompt layer.
class EjectAction : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool ejecting READ isEjecting NOTIFY changed)

public:
    EjectAction(DriveEject* ejector, DownloadManager* engine, std::function<QList<DCP*>()> catalogue,
                QObject* parent = nullptr);

    // Whether the drive holding the DCP's folder can be ejected now.
    Q_INVOKABLE bool canEject(DCP* dcp) const;
    // What the details page says of the DCP's removable drive: ready to unplug once every reel
    // of every DCP on it is verified, acknowledged, revealed and written through; while reels
    // wait for the portal, that their files stay hidden until then and about how long that
    // takes. Empty otherwise (a fixed disk, data still moving).
    Q_INVOKABLE QString unplugState(DCP* dcp) const;
    // The drive holding the DCP (its mount point) when every DCP on it is complete as above,
    // else empty.
    QString readyDrive(const DCP* dcp) const;
    // The reports still to send and the time between two of them: the portal's pace.
    void setReportPace(std::function<int()> pendingReports, int intervalMs)
    {
        this->pendingReports = std::move(pendingReports);
        reportIntervalMs = intervalMs;
    }
    Q_INVOKABLE void eject(DCP* dcp);
    bool isEjecting() const;

    // Volumes never offered for ejection (the system disk and the one holding the home folder).
    void setFixedVolumes(const QStringList& roots) { fixedVolumes = roots; }

    // Follows the status of each of these DCPs: when one completes, the others on its drive
    // may become ejectable. DCPs followed already are left as they are.
    void follow(const QList<DCP*>& dcps);

signals:
    // Anything that may change canEject(): the engine's state or an eject's end.
    void changed();

private:
    bool isIdle(const DCP* dcp) const;
    // Every reel verified, acknowledged and revealed, and none under verification.
    bool isSettled(const DCP* dcp) const;
    // The removable volume holding the DCP, or empty.
    QString removableVolume(const DCP* dcp) const;
    // The mount point holding path, looked up again after two seconds: every tile asks on
    // every refresh, and each lookup reads the mount table.
    QString volumeOf(const QString& path) const;

    DriveEject* ejector;
    DownloadManager* engine;
    std::function<QList<DCP*>()> catalogue;
    QStringList fixedVolumes;
    QSet<const DCP*> followed;
    std::function<int()> pendingReports;
    int reportIntervalMs = 5000;
    mutable QHash<QString, QString> volumes;
    mutable QElapsedTimer volumesAge;
};
