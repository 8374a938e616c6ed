#pragma once

// Builds a catalogue store for the start-up benchmarks through the model's own
// DCP::syncToDatabase, the way imports write it: into the catalogue's store (an AppContext on
// the folder, with its catalogue loaded); DCP folders go under downloads.
//
// With history, the store looks as years of use leave it: 95% of the DCPs are complete
// (every asset downloaded and verified, files under their visible names) and each of their
// reels has its seven acknowledged events in the notification journal; the rest have not
// started yet and keep hidden names.

#include "model/Asset.h"
#include "model/DCP.h"
#include "model/DCPManager.h"
#include "model/Reel.h"
#include "notify/Notification.h"
#include "storage/DatabaseManager.h"
#include "storage/Transaction.h"

#include <QDir>
#include <QString>

#include <ctime>
#include <fstream>
#include <string>

// CPU time of this process so far, in ms: on a busy machine it says more than the wall clock.
inline double benchCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return now.tv_sec * 1000.0 + now.tv_nsec / 1e6;
}

// Resident and peak resident memory of this process in kB (from /proc/self/status).
inline long benchStatusKb(const char* field)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    const std::string prefix = std::string(field) + ":";
    while (std::getline(status, line)) {
        if (line.compare(0, prefix.size(), prefix) == 0)
            return std::stol(line.substr(prefix.size()));
    }
    return 0;
}

// Whether DCP number d of the store is complete in the history layout (19 of every 20).
inline bool benchDcpComplete(int d)
{
    return d % 20 != 19;
}

inline void buildBenchStore(DCPManager& catalogue, const QString& downloads, int dcps, int reels, int assets,
                            bool history)
{
    DatabaseManager& store = catalogue.getStore();
    static const NotificationType::Value kEvents[] = {
        NotificationType::DownloadStarted,    NotificationType::DownloadProgress25,
        NotificationType::DownloadProgress50, NotificationType::DownloadProgress75,
        NotificationType::DownloadFinished,   NotificationType::ChecksumStarted,
        NotificationType::ChecksumOk};
    for (int d = 0; d < dcps; ++d) {
        const bool complete = history && benchDcpComplete(d);
        const QString dcpUuid = QStringLiteral("dcp-%1").arg(d, 6, 10, QLatin1Char('0'));
        // Owned by the benchmark for the rest of the run, as the catalogue would own them.
        auto* dcp = new DCP(dcpUuid, QStringLiteral("Title_%1_FTR").arg(d),
                            QStringLiteral("http://127.0.0.1/i.png"), downloads, &store);
        dcp->setFriendlyTitle(QStringLiteral("Feature %1").arg(d));
        dcp->setUserUUID(QStringLiteral("user"));
        dcp->setCampaignDCPId(quint64(d) + 1);
        for (int r = 0; r < reels; ++r) {
            auto* reel = new Reel(QStringLiteral("%1-reel-%2").arg(dcpUuid).arg(r), QString(), QString(),
                                  QString(), unsigned(r + 1));
            reel->setDCP(dcp);
            dcp->addReel(reel);
            for (int a = 0; a < assets; ++a) {
                const QString assetUuid = QStringLiteral("%1-asset-%2-%3").arg(dcpUuid).arg(r).arg(a);
                auto* asset = new Asset(assetUuid, QStringLiteral("2jmj7l5rSw0yVb/vlWAYkK/YBwk="), 1000000,
                                        QStringLiteral("application/mxf"),
                                        (complete ? QString() : QStringLiteral(".")) + assetUuid,
                                        QStringLiteral("http://127.0.0.1:9/") + assetUuid);
                if (complete) {
                    asset->setDownloadStarted(true);
                    asset->setDownloadFinished(true);
                    asset->setDownloadChecksummed(true);
                    asset->setDownloadAttempts(1);
                }
                asset->setDCP(dcp);
                asset->addReel(reel);
                reel->addAsset(asset);
                dcp->addAsset(asset);
            }
        }
        dcp->syncToDatabase(&catalogue);
        QDir().mkpath(dcp->getDCPPath());
        if (!complete)
            continue;
        Transaction transaction(store);
        for (Reel* reel : dcp->getReels()) {
            const QString assetsHash =
                QString::number(reel->getDbId()) + QLatin1Char('-') + reel->getAssetsRetryHash();
            for (NotificationType::Value event : kEvents) {
                Notification notification(dcp->getUserUUID(), dcp->getCampaignDCPId(), reel->getUuid(),
                                          assetsHash, reel->getReelNumber(), event, true);
                store.insertNotification(&notification);
            }
        }
        transaction.commit();
    }
}
