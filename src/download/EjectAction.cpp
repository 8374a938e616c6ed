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
    connect(
        ejector, &DriveEject::finished, this, [this](DriveEject::Outcome outcome, const QString& message) {
            UserPrompt::message(outcome == DriveEject::Ejected ? Prompt::Information : Prompt::Warning,
                                message, QString(), Prompt::Ok, Prompt::Ok, QStringLiteral("Eject drive"));
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

void EjectAction::eject(DCP* dcp)
{
    if (!canEject(dcp))
        return;
    if (ejector->eject(dcp->getDownloadPath()))
        emit changed();
}
