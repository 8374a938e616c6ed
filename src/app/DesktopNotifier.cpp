#include "app/DesktopNotifier.h"

#include "model/DCP.h"
#include "model/DCPManager.h"
#include "model/Reel.h"

#include <QDebug>
#include <QIcon>
#include <QSystemTrayIcon>

#include <exception>

DesktopNotifier::DesktopNotifier(DCPManager* catalogue, QObject* parent)
    : QObject(parent), catalogue(catalogue)
{
    if (QSystemTrayIcon::isSystemTrayAvailable()) {
        tray = new QSystemTrayIcon(QIcon(QStringLiteral(":/images/reelvane_logo.svg")), this);
        tray->setToolTip(QStringLiteral("Reelvane Downloader"));
        tray->show();
    }
    // The catalogue announces every new, removed or re-sorted DCP this way.
    connect(catalogue, &DCPManager::dcpsChanged, this, &DesktopNotifier::followCatalogue);
    followCatalogue();
}

void DesktopNotifier::followCatalogue()
{
    for (DCP* dcp : catalogue->getDCPs()) {
        if (followed.contains(dcp)) {
            continue;
        }
        followed.insert(dcp);
        // A DCP that is already complete when first seen was announced in an earlier run.
        if (isComplete(dcp)) {
            complete.insert(dcp);
        }
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

void DesktopNotifier::followReels(DCP* dcp)
{
    // Followed once loaded: the DCP announces its reels then.
    for (Reel* reel : dcp->loadedReels()) {
        if (followed.contains(reel)) {
            continue;
        }
        followed.insert(reel);
        connect(reel, &QObject::destroyed, this, [this, reel]() { followed.remove(reel); });
        connect(reel, &Reel::downloadCorrupted, this, [this, reel]() { reelCorrupted(reel); });
        // The last acknowledgement of a reel is what completes a DCP.
        connect(reel, &Reel::downloadSynced, this, [this, reel]() {
            if (reel->getDCP()) {
                checkComplete(reel->getDCP());
            }
        });
    }
}

bool DesktopNotifier::isComplete(const DCP* dcp)
{
    // Listed without its reels: complete, verified and acknowledged, or not started.
    if (!dcp->reelsLoaded()) {
        return dcp->isListedComplete();
    }
    if (dcp->getReels().isEmpty()) {
        return false;
    }
    for (const Reel* reel : dcp->getReels()) {
        if (reel->isCorrupted() || !reel->isChecksummed() || !reel->isSynced()) {
            return false;
        }
    }
    return true;
}

void DesktopNotifier::checkComplete(DCP* dcp)
{
    // Slot of model signals: nothing may unwind into the event loop.
    try {
        if (!isComplete(dcp)) {
            complete.remove(dcp);
            return;
        }
        if (complete.contains(dcp) || !catalogue->getDCPs().contains(dcp)) {
            return;
        }
        complete.insert(dcp);
        show(dcp->getFriendlyTitle() + QStringLiteral(" is ready: every reel verified"));
    } catch (const std::exception& e) {
        qDebug() << "[DesktopNotifier] Unable to read the state of DCP" << dcp->getUuid() << e.what();
    }
}

void DesktopNotifier::reelCorrupted(Reel* reel)
{
    const DCP* dcp = reel->getDCP();
    const QString title = dcp ? dcp->getFriendlyTitle() : QString();
    show(QStringLiteral("%1: reel %2 is corrupted").arg(title).arg(reel->getReelNumber()));
}

void DesktopNotifier::show(const QString& text)
{
    const QString title = QStringLiteral("Reelvane Downloader");
    qDebug() << "[DesktopNotifier]" << text;
    if (tray) {
        tray->showMessage(title, text, QSystemTrayIcon::Information);
    }
    emit notified(title, text);
}
