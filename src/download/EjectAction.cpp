#include "download/EjectAction.h"

#include "core/UserPrompt.h"
#include "download/ChecksumWorker.h"
#include "download/DownloadManager.h"
#include "download/DriveEject.h"
#include "model/DCP.h"
#include "model/Reel.h"

#include <QDir>
#include <QStorageInfo>

EjectAction::EjectAction(DriveEject* ejector, DownloadManager* engine, std::function<QList<DCP*>()> catalogue,
                         QObject* parent)
    : QObject(parent), ejector(ejector), engine(engine), catalogue(std::move(catalogue))
{
    fixedVolumes = QStringList{QStringLiteral("/"), volumeOf(QDir::homePath())};
    connect(this, &EjectAction::changed, this, [this]() { volumes.clear(); });
    connect(engine, &DownloadManager::activeChanged, this, &EjectAction::changed);
    connect(engine, &DownloadManager::pausedChanged, this, &EjectAction::changed);
    connect(engine, &DownloadManager::currentDcpChanged, this, &EjectAction::changed);
    connect(ejector, &DriveEject::finished, this,
            [this](DriveEject::Outcome outcome, const QString& message) {
                UserPrompt::message(outcome == DriveEject::Ejected ? Prompt::Information : Prompt::Warning,
                                    message, QString(), Prompt::Ok, Prompt::Ok, tr("Eject drive"));
                emit changed();
            });
}

bool EjectAction::isEjecting() const
{
    return ejector->isRunning();
}

QString EjectAction::volumeOf(const QString& path) const
{
    if (!volumesAge.isValid() || volumesAge.elapsed() > 2000) {
        volumes.clear();
        volumesAge.start();
    }
    auto found = volumes.constFind(path);
    if (found != volumes.cend())
        return *found;
    const QStorageInfo volume(path);
    return volumes[path] = volume.isValid() ? QDir::cleanPath(volume.rootPath()) : QString();
}

bool EjectAction::isIdle(const DCP* dcp) const
{
    if (engine->getCurrentDownloadingDCP() == dcp && !engine->isPaused())
        return false;
    // A DCP listed without its reels is complete and acknowledged: nothing runs on it.
    for (const Reel* reel : dcp->loadedReels()) {
        // Under verification, or waiting for the acknowledgement that reveals its files.
        if (engine->getChecksumWorker()->haveReel(reel) || (reel->isChecksummed() && !reel->isSynced()))
            return false;
    }
    return true;
}

bool EjectAction::canEject(DCP* dcp) const
{
    if (!dcp || !dcp->isDriveConnected() || ejector->isRunning() || !isIdle(dcp))
        return false;
    const QString volume = volumeOf(dcp->getDownloadPath());
    if (volume.isEmpty() || fixedVolumes.contains(volume))
        return false;
    const QList<DCP*> all = catalogue();
    for (const DCP* other : all) {
        if (other->isDriveConnected() && volumeOf(other->getDownloadPath()) == volume && !isIdle(other))
            return false;
    }
    return true;
}

bool EjectAction::isSettled(const DCP* dcp) const
{
    // A DCP listed without its reels is complete and acknowledged, or not started.
    if (!dcp->reelsLoaded())
        return dcp->isListedComplete();
    if (dcp->loadedReels().isEmpty())
        return false;
    for (const Reel* reel : dcp->loadedReels()) {
        // Synced: acknowledged, revealed, and the folders flushed before it shows so.
        if (reel->isCorrupted() || !reel->isChecksummed() || !reel->isSynced() ||
            engine->getChecksumWorker()->haveReel(reel))
            return false;
    }
    return true;
}

QString EjectAction::removableVolume(const DCP* dcp) const
{
    if (!dcp || !dcp->isDriveConnected())
        return QString();
    const QString volume = volumeOf(dcp->getDownloadPath());
    return volume.isEmpty() || fixedVolumes.contains(volume) ? QString() : volume;
}

QString EjectAction::readyDrive(const DCP* dcp) const
{
    const QString volume = removableVolume(dcp);
    if (volume.isEmpty())
        return QString();
    const QList<DCP*> all = catalogue();
    for (const DCP* other : all) {
        if (other->isDriveConnected() && volumeOf(other->getDownloadPath()) == volume && !isSettled(other))
            return QString();
    }
    return volume;
}

QString EjectAction::unplugState(DCP* dcp) const
{
    if (ejector->isRunning())
        return QString();
    if (!readyDrive(dcp).isEmpty())
        return tr("Ready to unplug: every DCP on this drive is verified and confirmed.");
    const QString volume = removableVolume(dcp);
    if (volume.isEmpty())
        return QString();
    const QList<DCP*> all = catalogue();
    for (const DCP* other : all) {
        if (!other->isDriveConnected() || volumeOf(other->getDownloadPath()) != volume)
            continue;
        for (const Reel* reel : other->loadedReels()) {
            if (!reel->isChecksummed() || reel->isCorrupted() || reel->isSynced())
                continue;
            // Reports go one at a time at the portal's pace, for every drive at once.
            const int reports = pendingReports ? qMax(1, pendingReports()) : 1;
            const qint64 seconds = qint64(reports) * reportIntervalMs / 1000;
            if (seconds < 10)
                return tr("Files stay hidden until the portal confirms them: a few seconds.");
            if (seconds < 90)
                return tr("Files stay hidden until the portal confirms them: about %1 s.").arg(seconds);
            return tr("Files stay hidden until the portal confirms them: about %1 min.")
                .arg((seconds + 30) / 60);
        }
    }
    return QString();
}

void EjectAction::follow(const QList<DCP*>& dcps)
{
    for (DCP* dcp : dcps) {
        if (followed.contains(dcp))
            continue;
        followed.insert(dcp);
        connect(dcp, &QObject::destroyed, this, [this, dcp]() { followed.remove(dcp); });
        connect(dcp, &DCP::statusChanged, this, &EjectAction::changed);
    }
}

void EjectAction::eject(DCP* dcp)
{
    if (!canEject(dcp))
        return;
    if (ejector->eject(dcp->getDownloadPath()))
        emit changed();
}
