// Usage: bench_model_catalogue_load [dcps, default 1000] [reels per DCP, default 10] [assets per reel,
// default 5]
//
// Builds a store in a temporary directory through the model's own DCP::syncToDatabase,
// creates the DCP folders, then measures the start-up load of the catalogue from that
// store: the load alone, and the catalogue's first load as the program's start runs it,
// including the download engine's queue rebuild (downloads paused, so nothing goes to the
// network).

#include "BenchTable.h"
#include "app/AppContext.h"
#include "download/DownloadManager.h"
#include "model/Asset.h"
#include "model/DCP.h"
#include "model/DCPManager.h"
#include "model/Reel.h"
#include "storage/DatabaseManager.h"
#include "storage/Setting.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <cstdio>
#include <memory>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int dcps = args.size() > 1 ? args.at(1).toInt() : 1000;
    const int reels = args.size() > 2 ? args.at(2).toInt() : 10;
    const int assets = args.size() > 3 ? args.at(3).toInt() : 5;
    if (dcps <= 0 || reels <= 0 || assets <= 0) {
        std::fprintf(stderr, "usage: %s [dcps] [reels per DCP] [assets per reel]\n", argv[0]);
        return 2;
    }

    QTemporaryDir dir;
    if (!dir.isValid()) {
        return 1;
    }
    const QString downloads = dir.filePath(QStringLiteral("downloads"));
    auto context = std::make_unique<AppContext>(dir.path());
    context->settings().set(QStringLiteral("download_paused"), QStringLiteral("1"));
    context->settings().save();

    QElapsedTimer timer;
    timer.start();
    for (int d = 0; d < dcps; ++d) {
        const QString dcpUuid = QStringLiteral("dcp-%1").arg(d, 6, 10, QLatin1Char('0'));
        // Owned by the benchmark for the rest of the run.
        auto* dcp = new DCP(dcpUuid, QStringLiteral("Title_%1_FTR").arg(d),
                            QStringLiteral("http://127.0.0.1/i.png"), downloads);
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
                                        QStringLiteral("application/mxf"), QStringLiteral(".") + assetUuid,
                                        QStringLiteral("http://127.0.0.1:9/") + assetUuid);
                asset->setDCP(dcp);
                asset->addReel(reel);
                reel->addAsset(asset);
                dcp->addAsset(asset);
            }
        }
        dcp->syncToDatabase();
        QDir().mkpath(dcp->getDCPPath());
    }
    const qint64 buildMs = timer.elapsed();
    std::printf("built store: %d DCPs x %d reels x %d assets in %lld ms\n", dcps, reels, assets,
                static_cast<long long>(buildMs));

    // A fresh connection, as at the next start of the program.
    context = std::make_unique<AppContext>(dir.path());

    // The store's share: the joined query, stepped through without building objects.
    timer.restart();
    int rows = 0;
    {
        QSqlQuery query = context->store().getDCPQuery();
        while (query.next()) {
            ++rows;
        }
    }
    const qint64 queryMs = timer.elapsed();
    std::printf("joined query alone: %d rows in %lld ms\n", rows, static_cast<long long>(queryMs));

    context = std::make_unique<AppContext>(dir.path());
    timer.restart();
    int loadedCount = 0;
    {
        // The load alone, without the engine.
        const DCPManager loaded(context->store());
        loadedCount = loaded.getDCPs().size();
    }
    const qint64 loadMs = timer.elapsed();
    std::printf("catalogue load: %d DCPs in %lld ms\n", loadedCount, static_cast<long long>(loadMs));

    context = std::make_unique<AppContext>(dir.path());
    timer.restart();
    DCPManager* catalogue = &context->catalogue();
    const qint64 startMs = timer.elapsed();
    std::printf("first load at start (load + queue rebuild of %d assets): %lld ms\n",
                context->engine().getDownloadQueue().size(), static_cast<long long>(startMs));

    benchRow(
        QStringLiteral("Catalogue load, %1 DCPs x %2 reels x %3 assets").arg(dcps).arg(reels).arg(assets),
        QStringLiteral("%1 ms").arg(loadMs), QStringLiteral("joined query alone %1 ms").arg(queryMs),
        benchNumber(queryMs > 0 ? double(loadMs) / double(queryMs) : 0.0, 2) + QStringLiteral("x the query"),
        QStringLiteral("start-up under 2 s"));

    const int expected = dcps;
    const bool ok = loadedCount == expected && catalogue->getDCPs().size() == expected;
    return ok ? 0 : 1;
}
