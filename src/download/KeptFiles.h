#pragma once

#include "notify/NotificationType.h"

#include <QCoreApplication>
#include <QList>
#include <QSet>

#include <functional>

class Asset;
class ChecksumVerdicts;
class DCP;
class DatabaseManager;
class Reel;

// Files the import found on the drive and the user chose to check and keep: finished but not
// verified, reported as downloaded. The engine's next queue rebuild hands their reels to the
// checksum worker as any downloaded reel; a file that does not verify is downloaded again.
class KeptFiles
{
    Q_DECLARE_TR_FUNCTIONS(KeptFiles)

public:
    // redownload: fetches a file from the server again, later on the event loop.
    KeptFiles(DatabaseManager& store, ReelEventSink events, ChecksumVerdicts& verdicts,
              std::function<void(Asset*)> redownload);

    void keep(const QList<Asset*>& assets);
    // Kept files of the DCP still waiting for or under verification.
    int unchecked(const DCP* dcp) const { return uncheckedOf(dcp).size(); }
    // After the user's yes, those are downloaded from the server instead; false when the user
    // said no or there was nothing left to stop.
    bool stopChecking(const DCP* dcp);
    // The asset's DCP or reel is being removed.
    void forget(const Asset* asset) { kept.remove(asset); }

private:
    QList<Asset*> uncheckedOf(const DCP* dcp) const;

    DatabaseManager& store;
    const ReelEventSink events;
    ChecksumVerdicts& verdicts;
    const std::function<void(Asset*)> redownload;
    QSet<const Asset*> kept; // until verified or removed
};
