// Usage: bench_model_catalogue_load [dcps, default 1000] [reels per DCP, default 10] [assets per reel,
// default 5] [--history] [--store DIR | --build-into DIR]
//
// Builds a store in a temporary directory through the model's own DCP::syncToDatabase,
// creates the DCP folders, then measures the start-up load of the catalogue from that
// store: the load alone with the resident memory it adds, and the catalogue's first load at
// start including the download engine's queue rebuild and the notification journal's load
// (downloads paused, so nothing goes to the network). --history builds the store as years
// of use leave it (see BenchStore.h). --build-into only builds the store in DIR; --store
// measures a copy of a store built so (the sizes given must be the ones it was built with).

#include "BenchTable.h"
#include "app/AppContext.h"
#include "download/DownloadManager.h"
#include "model/Asset.h"
#include "model/BenchStore.h"
#include "model/DCP.h"
#include "model/DCPManager.h"
#include "model/Reel.h"
#include "notify/NotificationManager.h"
#include "storage/DatabaseManager.h"
#include "storage/Setting.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <cstdio>
#include <memory>

// Child mode: builds the store in dir and ends, so the measuring process starts clean.
int buildStore(const QString& dir, int dcps, int reels, int assets, bool history)
{
    AppContext context(dir);
    context.catalogue();
    context.settings().set(QStringLiteral("download_paused"), QStringLiteral("1"));
    // The login then asks only for the password (bench/start_window.sh types it).
    context.settings().set(QStringLiteral("username"), QStringLiteral("user"));
    context.settings().save();
    // Building only: a crash here costs nothing, and a sync per DCP would take minutes.
    QSqlQuery(context.store().db).exec(QStringLiteral("PRAGMA synchronous=OFF"));
    QElapsedTimer timer;
    timer.start();
    buildBenchStore(context.catalogue(), dir + QStringLiteral("/downloads"), dcps, reels, assets, history);
    std::printf("built store: %d DCPs x %d reels x %d assets%s in %lld ms\n", dcps, reels, assets,
                history ? " with history" : "", static_cast<long long>(timer.elapsed()));
    return 0;
}

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments();
    const bool history = args.removeAll(QStringLiteral("--history")) > 0;
    QString buildInto;
    QString storeFrom;
    const int storeAt = args.indexOf(QStringLiteral("--store"));
    if (storeAt > 0 && storeAt + 1 < args.size()) {
        storeFrom = args.at(storeAt + 1);
        args.erase(args.begin() + storeAt, args.begin() + storeAt + 2);
    }
    const int buildAt = args.indexOf(QStringLiteral("--build-into"));
    if (buildAt > 0 && buildAt + 1 < args.size()) {
        buildInto = args.at(buildAt + 1);
        args.erase(args.begin() + buildAt, args.begin() + buildAt + 2);
    }
    const int dcps = args.size() > 1 ? args.at(1).toInt() : 1000;
    const int reels = args.size() > 2 ? args.at(2).toInt() : 10;
    const int assets = args.size() > 3 ? args.at(3).toInt() : 5;
    if (dcps <= 0 || reels <= 0 || assets <= 0) {
        std::fprintf(stderr, "usage: %s [dcps] [reels per DCP] [assets per reel] [--history]\n", argv[0]);
        return 2;
    }
    if (!buildInto.isEmpty())
        return buildStore(buildInto, dcps, reels, assets, history);

    QTemporaryDir dir;
    if (!dir.isValid()) {
        return 1;
    }
    if (!storeFrom.isEmpty()) {
        // A store built earlier with --build-into (its DCP folders stay where they are).
        if (!QFile::copy(storeFrom + QStringLiteral("/orvdownloader.4.sqlite"),
                         dir.filePath(QStringLiteral("orvdownloader.4.sqlite")))) {
            std::fprintf(stderr, "no store in %s\n", qPrintable(storeFrom));
            return 1;
        }
    } else {
        QProcess builder;
        builder.setProcessChannelMode(QProcess::ForwardedOutputChannel);
        builder.setStandardErrorFile(QProcess::nullDevice());
        QStringList builderArgs{QString::number(dcps), QString::number(reels), QString::number(assets),
                                QStringLiteral("--build-into"), dir.path()};
        if (history)
            builderArgs << QStringLiteral("--history");
        builder.start(app.applicationFilePath(), builderArgs);
        if (!builder.waitForFinished(-1) || builder.exitCode() != 0) {
            std::fprintf(stderr, "building the store failed\n");
            return 1;
        }
    }

    // A fresh connection, as at the next start of the program.
    auto context = std::make_unique<AppContext>(dir.path());
    const long idleKb = benchStatusKb("VmRSS");

    // The start-up load alone, first, so that nothing freed before it flatters its memory.
    const long beforeLoadKb = benchStatusKb("VmRSS");
    QElapsedTimer timer;
    timer.start();
    double cpu = benchCpuMs();
    auto loaded = std::make_unique<DCPManager>(context->store());
    const qint64 loadMs = timer.elapsed();
    const double loadCpu = benchCpuMs() - cpu;
    const long loadKb = benchStatusKb("VmRSS") - beforeLoadKb;
    const int loadedCount = loaded->getDCPs().size();
    std::printf("catalogue load: %d DCPs in %lld ms (%.0f ms CPU), %.1f MB resident added\n", loadedCount,
                static_cast<long long>(loadMs), loadCpu, loadKb / 1024.0);
    loaded.reset();

    // The store's share: the joined query, stepped through without building objects.
    context.reset(); // one store connection at a time
    context = std::make_unique<AppContext>(dir.path());
    timer.restart();
    cpu = benchCpuMs();
    int rows = 0;
    {
        QSqlQuery query = context->store().getDCPQuery();
        while (query.next()) {
            ++rows;
        }
    }
    const qint64 queryMs = timer.elapsed();
    const double queryCpu = benchCpuMs() - cpu;
    std::printf("joined query alone: %d rows in %lld ms (%.0f ms CPU)\n", rows,
                static_cast<long long>(queryMs), queryCpu);

    // What the program does between the login's answer and the window: the catalogue with
    // the queue rebuild, then the notification journal.
    context.reset(); // one store connection at a time
    context = std::make_unique<AppContext>(dir.path());
    timer.restart();
    cpu = benchCpuMs();
    DCPManager* catalogue = &context->catalogue();
    const qint64 catalogueMs = timer.elapsed();
    NotificationManager* journal = &context->notifications();
    const qint64 startMs = timer.elapsed();
    const double startCpu = benchCpuMs() - cpu;
    std::printf("first load at start (load + queue rebuild of %d assets): %lld ms; with the journal of %d "
                "notifications: %lld ms (%.0f ms CPU)\n",
                context->engine().getDownloadQueue().size(), static_cast<long long>(catalogueMs),
                journal->acknowledgedCount() + journal->getQueue().size(), static_cast<long long>(startMs),
                startCpu);
    std::printf("resident: %.1f MB idle, %.1f MB after start-up, peak %.1f MB\n", idleKb / 1024.0,
                benchStatusKb("VmRSS") / 1024.0, benchStatusKb("VmHWM") / 1024.0);

    benchRow(
        QStringLiteral("Catalogue load, %1 DCPs x %2 reels x %3 assets%4")
            .arg(dcps)
            .arg(reels)
            .arg(assets)
            .arg(history ? QStringLiteral(", with history") : QString()),
        QStringLiteral("%1 ms (%2 ms CPU), %3 MB")
            .arg(loadMs)
            .arg(benchNumber(loadCpu, 0), benchNumber(loadKb / 1024.0)),
        QStringLiteral("joined query alone %1 ms (%2 ms CPU)").arg(queryMs).arg(benchNumber(queryCpu, 0)),
        benchNumber(queryCpu > 0 ? loadCpu / queryCpu : 0.0, 2) + QStringLiteral("x the query's CPU"),
        QStringLiteral("start-up under 2 s"));

    const int expected = dcps;
    const bool ok = loadedCount == expected && catalogue->getDCPs().size() == expected;
    return ok ? 0 : 1;
}
