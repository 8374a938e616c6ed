#include "download/VerifiedReelReveal.h"

#include "model/Asset.h"
#include "model/DCP.h"
#include "model/Reel.h"

#include <QDebug>

#include <exception>

void VerifiedReelReveal::beforeRemoval(const DCP* dcp)
{
    // Its files are on a drive that is not there; nothing can be renamed.
    if (!dcp || !dcp->isDriveConnected())
        return;
    for (const Reel* reel : dcp->getReels()) {
        if (!reel->isChecksummed())
            continue;
        for (Asset* asset : reel->getAssets()) {
            if (!asset->isHidden()) // revealed already, maybe through another reel
                continue;
            // Nothing will verify it again once the DCP is gone: a file that is not the one
            // whose digest passed keeps its hidden name.
            if (!asset->isVerifiedFileIntact()) {
                qDebug() << "[DownloadManager] File of a removed DCP is not the one verified, left hidden:"
                         << asset->getFullPath();
                continue;
            }
            QString reason;
            if (asset->tryReveal(&reason))
                continue;
            qDebug() << "[DownloadManager] Verified file of a removed DCP left hidden:"
                     << asset->getFullPath() << reason;
        }
    }
}
