#include "notify/AttentionEvents.h"

#include "download/DownloadManager.h"
#include "download/DriveWatch.h"
#include "model/DCP.h"
#include "model/DCPManager.h"
#include "model/Reel.h"

#include <QDebug>
#include <QDir>
#include <QLocale>

#include <exception>

QString AttentionEvent::nameOf(Kind kind)
{
    switch (kind) {
    case DcpReady:
        return QStringLiteral("dcp_ready");
    case ReelCorrupted:
        return QStringLiteral("reel_corrupted");
    case DriveNotConnected:
        return QStringLiteral("drive_not_connected");
    case ServerNotAnswering:
        return QStringLiteral("server_not_answering");
    case Test:
        return QStringLiteral("test");
    }
    return QString();
}

QString AttentionEvent::name() const
{
    return nameOf(kind);
}

AttentionEvents::AttentionEvents(DCPManager* catalogue, DownloadManager* engine, QObject* parent)
    : QObject(parent), catalogue(catalogue), engine(engine)
{
    qRegisterMetaType<AttentionEvent>();
    serverSilence.setSingleShot(true);
    serverSilence.setInterval(10 * 60 * 1000);
    connect(&serverSilence, &QTimer::timeout, this, &AttentionEvents::serverSilent);
    // The catalogue announces every new, removed or re-sorted DCP this way.
    connect(catalogue, &DCPManager::dcpsChanged, this, &AttentionEvents::followCatalogue);
    followCatalogue();

    connect(engine, &DownloadManager::serverNotAnswering, this, &AttentionEvents::serverFailing);
    // Data arriving, or nothing left to fetch, ends a silence; so does a pause, which the user chose.
    const auto answered = [this] {
        serverSilence.stop();
        serverAnnounced = false;
    };
    connect(engine, &DownloadManager::downloadProgress, this, answered);
    connect(engine, &DownloadManager::downloadStandBy, this, answered);
    connect(engine, &DownloadManager::pausedChanged, this, [this, answered] {
        if (this->engine->isPaused())
            answered();
    });
}

void AttentionEvents::followDrives(DriveWatch* drives)
{
    connect(drives, &DriveWatch::driveLost, this, &AttentionEvents::driveLost);
}

void AttentionEvents::followCatalogue()
{
    for (DCP* dcp : catalogue->getDCPs()) {
        if (followed.contains(dcp))
            continue;
        followed.insert(dcp);
        // A DCP that is already complete when first seen was announced in an earlier run.
        if (isComplete(dcp))
            complete.insert(dcp);
        connect(dcp, &QObject::destroyed, this, [this, dcp]() {
            followed.remove(dcp);
            complete.remove(dcp);
        });
        // statusChanged comes from the checksum worker's thread: these run queued here.
        connect(dcp, &DCP::statusChanged, this, [this, dcp]() { checkComplete(dcp); });
        connect(dcp, &DCP::finishedChanged, this, [this, dcp]() { checkComplete(dcp); });
        connect(dcp, &DCP::reelsChanged, this, [this, dcp]() {
            followReels(dcp);
            checkComplete(dcp);
        });
        followReels(dcp);
    }
}

void AttentionEvents::followReels(DCP* dcp)
{
    // Followed once loaded: the DCP announces its reels then.
    for (Reel* reel : dcp->loadedReels()) {
        if (followed.contains(reel))
            continue;
        followed.insert(reel);
        connect(reel, &QObject::destroyed, this, [this, reel]() { followed.remove(reel); });
        connect(reel, &Reel::downloadCorrupted, this, [this, reel]() { reelCorrupted(reel); });
        // The last acknowledgement of a reel is what completes a DCP.
        connect(reel, &Reel::downloadSynced, this, [this, reel]() {
            if (reel->getDCP())
                checkComplete(reel->getDCP());
        });
    }
}

bool AttentionEvents::isComplete(const DCP* dcp)
{
    // Listed without its reels: complete, verified and acknowledged, or not started.
    if (!dcp->reelsLoaded())
        return dcp->isListedComplete();
    if (dcp->getReels().isEmpty())
        return false;
    for (const Reel* reel : dcp->getReels()) {
        if (reel->isCorrupted() || !reel->isChecksummed() || !reel->isSynced())
            return false;
    }
    return true;
}

void AttentionEvents::checkComplete(DCP* dcp)
{
    // Slot of model signals: nothing may unwind into the event loop.
    try {
        if (!isComplete(dcp)) {
            complete.remove(dcp);
            return;
        }
        if (complete.contains(dcp) || !catalogue->getDCPs().contains(dcp))
            return;
        complete.insert(dcp);
        raise(AttentionEvent::DcpReady, dcp);
    } catch (const std::exception& e) {
        qDebug() << "[AttentionEvents] Unable to read the state of DCP" << dcp->getUuid() << e.what();
    }
}

void AttentionEvents::reelCorrupted(Reel* reel)
{
    raise(AttentionEvent::ReelCorrupted, reel->getDCP(), reel->getReelNumber());
}

void AttentionEvents::driveLost(DCP* dcp)
{
    // A finished DCP's drive is pulled to go to the cinema: that is no news.
    try {
        if (!dcp->isListedComplete() && !isComplete(dcp))
            raise(AttentionEvent::DriveNotConnected, dcp);
    } catch (const std::exception& e) {
        qDebug() << "[AttentionEvents] Unable to read the state of DCP" << dcp->getUuid() << e.what();
    }
}

void AttentionEvents::serverFailing()
{
    if (serverSilence.isActive() || serverAnnounced)
        return;
    silentDcp = engine->getCurrentDownloadingDCP();
    silentSince = QDateTime::currentDateTimeUtc();
    serverSilence.start();
}

void AttentionEvents::serverSilent()
{
    serverAnnounced = true;
    raise(AttentionEvent::ServerNotAnswering, silentDcp);
}

void AttentionEvents::raise(AttentionEvent::Kind kind, const DCP* dcp, unsigned reelNumber)
{
    AttentionEvent event;
    event.kind = kind;
    event.time = QDateTime::currentDateTimeUtc();
    event.reelNumber = reelNumber;
    if (dcp) {
        event.dcpUuid = dcp->getUuid();
        event.dcpTitle = dcp->getFriendlyTitle().isEmpty() ? dcp->getTitle() : dcp->getFriendlyTitle();
    }
    switch (kind) {
    case AttentionEvent::DcpReady:
        event.headline = tr("DCP ready");
        // Said once: the DCP that completes its drive says the drive can go, in the same message.
        if (const QString drive = readyDrive && dcp ? readyDrive(dcp) : QString(); !drive.isEmpty())
            event.text = tr("%1 is ready: every reel verified. The drive %2 can be unplugged.")
                             .arg(event.dcpTitle, QDir::toNativeSeparators(drive));
        else
            event.text = tr("%1 is ready: every reel verified").arg(event.dcpTitle);
        break;
    case AttentionEvent::ReelCorrupted:
        event.headline = tr("Reel corrupted");
        event.text = tr("%1: reel %2 is corrupted").arg(event.dcpTitle).arg(reelNumber);
        break;
    case AttentionEvent::DriveNotConnected:
        event.headline = tr("Drive not connected");
        event.text = tr("%1: the drive is not connected, the download waits").arg(event.dcpTitle);
        break;
    case AttentionEvent::ServerNotAnswering:
        event.headline = tr("Server not answering");
        {
            const QString since = QLocale().toString(silentSince.toLocalTime().time(), QLocale::ShortFormat);
            event.text = dcp ? tr("%1: the server has not answered since %2").arg(event.dcpTitle, since)
                             : tr("The server has not answered since %1").arg(since);
            break;
        }
    case AttentionEvent::Test:
        break;
    }
    qDebug() << "[AttentionEvents]" << event.name() << event.dcpUuid << event.reelNumber;
    emit raised(event);
}
