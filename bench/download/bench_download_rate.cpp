// Bandwidth-limit accuracy of the engine at several limits, second by second and over
// whole transfers of small and large assets; its throughput with the highest limit
// against the design ceiling (1 MiB per 20 ms tick); and its no-limit mode with CPU time
// per GB and peak memory. Each beside curl and aria2c downloading the same file from the
// same local server.
//
//   bench_download_rate [--duration S] [--rates 1,10,100,200] [--no-tools] [--no-per-second]
//                       [--no-whole] [--no-unlimited] [--tls-cert PEM --tls-key PEM --tls-ca PEM]
//                       [--other-server URL --other-root DIR [--tls-ca PEM]]
//
// With --tls-* the server speaks HTTPS, the engine trusts the authority as ORV_EXTRA_CA_FILE
// makes it, curl gets it with --cacert, and only the no-limit rows are printed (as "HTTPS").
// With --other-server the no-limit runs fetch from another server (nginx, say) that serves
// the folder DIR at URL; an https URL needs --tls-ca. Only the no-limit rows are printed then.

#include "BenchSupport.h"
#include "BenchTable.h"
#include "core/NetworkSetup.h"

#include <QCommandLineParser>
#include <QDateTime>
#include <QStandardPaths>

#include <algorithm>
#include <cmath>

using namespace bench;

namespace {

struct Figures
{
    double average = 0;     // bytes per second over the whole run
    double worstSecond = 0; // largest |second / target - 1| after the first second
    double minRatio = 0, maxRatio = 0;
    bool valid = false;
};

Figures evaluate(const std::vector<qint64>& samples, double target);

Figures evaluate(const ToolRun& run, double target)
{
    Figures f = evaluate(run.samples, target);
    if (run.started && run.seconds > 0) {
        f.average = double(run.bytes) / run.seconds;
        f.valid = true;
    }
    return f;
}

Figures evaluate(const std::vector<qint64>& samples, double target)
{
    Figures f;
    if (samples.size() < 3)
        return f;
    const size_t seconds = samples.size() - 1;
    f.average = double(samples.back() - samples.front()) / double(seconds);
    f.minRatio = 1e9;
    for (size_t i = 2; i < samples.size(); ++i) { // skip the first second
        const double ratio = double(samples[i] - samples[i - 1]) / target;
        f.worstSecond = std::max(f.worstSecond, std::fabs(ratio - 1.0));
        f.minRatio = std::min(f.minRatio, ratio);
        f.maxRatio = std::max(f.maxRatio, ratio);
    }
    f.valid = true;
    return f;
}

void print(const char* who, double mbit, double target, const Figures& f)
{
    if (!f.valid) {
        std::printf("%-8s %7.0f  (not run)\n", who, mbit);
        return;
    }
    std::printf("%-8s %7.0f  %12.0f  %8.2f%%  %8.2f%%   %.3f..%.3f\n", who, mbit, f.average,
                100.0 * (f.average / target - 1.0), 100.0 * f.worstSecond, f.minRatio, f.maxRatio);
    std::fflush(stdout);
}

struct EngineRun
{
    std::vector<qint64> samples; // file size each second from the first byte on
    double seconds = 0;
    qint64 bytes = 0;
    double cpuSeconds = 0;    // the whole process but the stand-in's thread
    long contextSwitches = 0; // of the whole process
    qint64 idleResident = 0;
    qint64 peakResident = 0;
};

EngineRun runEngine(Environment& env, const QString& name, qint64 bytesPerSecond, bool limitOff, int duration,
                    const QString& url = QString(), qint64 size = 0)
{
    DownloadManager* engine = env.engine();
    engine->setLimitOff(limitOff);
    // 0 selects the unlimited chunk (20 MiB per tick).
    engine->setReadChunkSize(bytesPerSecond > 0 ? unsigned(bytesPerSecond) : 20971520u * 50u);
    static int run = 0;
    Asset* asset = env.addDownload(QStringLiteral("rate-%1").arg(++run), name,
                                   quint64(size > 0 ? size : fileSize(env.serverFile(name))), QString(), url);
    EngineRun result;
    result.idleResident = residentBytes();
    std::atomic<qint64> peak{result.idleResident};
    Sampler memory(10, [&peak]() {
        const qint64 now = residentBytes();
        if (now > peak)
            peak = now;
        return now;
    });
    engine->resumeDownloading();
    engine->assetsChanged();
    const QString path = asset->getFullPath();
    QElapsedTimer waited;
    waited.start();
    while (fileSize(path) == 0 && waited.elapsed() < 10000)
        waitMs(1);
    const double cpuBefore = processCpuSeconds() - env.serverCpuSeconds();
    const long switchesBefore = processContextSwitches();
    QElapsedTimer clock;
    clock.start();
    Sampler sampler(1000, [path]() { return fileSize(path); });
    waitMs(duration * 1000 + 50);
    result.samples = sampler.finish();
    result.seconds = clock.elapsed() / 1000.0;
    result.cpuSeconds = processCpuSeconds() - env.serverCpuSeconds() - cpuBefore;
    result.contextSwitches = processContextSwitches() - switchesBefore;
    if (!result.samples.empty())
        result.bytes = fileSize(path) - result.samples.front();
    memory.finish();
    result.peakResident = peak;
    env.removeDownload(asset);
    engine->setLimitOff(false);
    return result;
}

// One asset downloaded whole at a limit: seconds from the request's arrival at the server
// (its journal) to the file being finished, and to the server's last byte handed to the
// socket (-1 when not seen).
struct WholeRun
{
    double seconds = -1;
    double servedSeconds = -1;
};

WholeRun runWhole(Environment& env, const QString& name, qint64 bytesPerSecond)
{
    DownloadManager* engine = env.engine();
    engine->setLimitOff(false);
    engine->setReadChunkSize(unsigned(bytesPerSecond));
    const QString path = QStringLiteral("/assets/") + name;
    std::atomic<qint64> servedAt{-1};
    // Runs in the server's thread.
    const QMetaObject::Connection served =
        QObject::connect(&env.server, &StandInServer::requestServed,
                         [&servedAt, path](const StandInServer::JournalEntry& entry) {
                             if (entry.path == path && entry.status == 206)
                                 servedAt = QDateTime::currentMSecsSinceEpoch();
                         });
    env.server.clearJournal();
    static int run = 0;
    Asset* asset =
        env.addDownload(QStringLiteral("whole-%1").arg(++run), name, quint64(fileSize(env.serverFile(name))));
    engine->resumeDownloading();
    engine->assetsChanged();
    QElapsedTimer waited;
    waited.start();
    while (!asset->getDownloadFinished() && waited.elapsed() < 120000)
        waitMs(2);
    const qint64 finishedAt = QDateTime::currentMSecsSinceEpoch();
    waitMs(50);
    QObject::disconnect(served);
    WholeRun result;
    const auto requests = env.server.journalFor(path);
    if (asset->getDownloadFinished() && !requests.isEmpty()) {
        const qint64 arrival = requests.first().time.toMSecsSinceEpoch();
        result.seconds = double(finishedAt - arrival) / 1000.0;
        if (servedAt > 0)
            result.servedSeconds = double(servedAt - arrival) / 1000.0;
    }
    env.removeDownload(asset);
    return result;
}

} // namespace

int main(int argc, char** argv)
{
    NetworkSetup::chooseEventLoop(); // as the program does
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addOption({QStringLiteral("duration"), QStringLiteral("Seconds per run."), QStringLiteral("s"),
                      QStringLiteral("20")});
    parser.addOption({QStringLiteral("rates"), QStringLiteral("Limits in Mbit/s."), QStringLiteral("list"),
                      QStringLiteral("1,10,100,200")});
    parser.addOption({QStringLiteral("no-tools"), QStringLiteral("Skip curl and aria2c.")});
    parser.addOption(
        {QStringLiteral("no-per-second"), QStringLiteral("Skip the second-by-second limit runs.")});
    parser.addOption({QStringLiteral("no-whole"), QStringLiteral("Skip the whole-transfer limit runs.")});
    parser.addOption({QStringLiteral("no-unlimited"), QStringLiteral("Skip the unlimited runs.")});
    parser.addOption({QStringLiteral("tls-cert"), QStringLiteral("Serve HTTPS with this certificate."),
                      QStringLiteral("pem")});
    parser.addOption(
        {QStringLiteral("tls-key"), QStringLiteral("Key of --tls-cert."), QStringLiteral("pem")});
    parser.addOption(
        {QStringLiteral("tls-ca"), QStringLiteral("Authority of --tls-cert."), QStringLiteral("pem")});
    parser.addOption({QStringLiteral("other-server"),
                      QStringLiteral("No-limit runs from this server (base URL) instead of the stand-in."),
                      QStringLiteral("url")});
    parser.addOption({QStringLiteral("other-root"), QStringLiteral("Folder --other-server serves."),
                      QStringLiteral("dir")});
    parser.addOption({QStringLiteral("other-name"), QStringLiteral("Name of --other-server in the rows."),
                      QStringLiteral("name"), QStringLiteral("nginx")});
    parser.process(app);
    const bool other = parser.isSet(QStringLiteral("other-server"));
    const QString otherBase = parser.value(QStringLiteral("other-server"));
    const bool otherTls = other && otherBase.startsWith(QLatin1String("https:"), Qt::CaseInsensitive);
    const bool tls = parser.isSet(QStringLiteral("tls-cert")) || otherTls;
    const int duration = parser.value(QStringLiteral("duration")).toInt();
    const bool tools = !parser.isSet(QStringLiteral("no-tools"));
    const QString curl = QStandardPaths::findExecutable(QStringLiteral("curl"));
    const QString aria2 = QStandardPaths::findExecutable(QStringLiteral("aria2c"));

    Environment env;
    // Transfers only: a finished asset (no digest here) would otherwise be failed at once by
    // the worker and fetched again before its finish is seen.
    env.engine()->getChecksumWorker()->hold(true);
    const qint64 ceiling = 1048576LL * 50;
    const QString name = QStringLiteral("rate.bin");
    env.sparseAsset(name, ceiling * 2 * (duration + 5));
    QStringList curlTls;
    if (tls) {
        QString error;
        const QString ca = parser.value(QStringLiteral("tls-ca"));
        if ((!otherTls && !env.server.setTlsFiles(parser.value(QStringLiteral("tls-cert")),
                                                  parser.value(QStringLiteral("tls-key")), &error)) ||
            !(error = NetworkSetup::addTrustedAuthorities(ca)).isEmpty()) {
            std::fprintf(stderr, "%s\n", qPrintable(error));
            return 1;
        }
        curlTls = QStringList{QStringLiteral("--cacert"), ca};
        std::printf("HTTPS: the server's TLS runs on its own thread, outside the engine's CPU figure\n");
    }
    const QString rowPrefix =
        (tls ? QStringLiteral("HTTPS no limit") : QStringLiteral("No limit")) +
        (other ? QStringLiteral(" from ") + parser.value(QStringLiteral("other-name")) : QString());
    const QString url = env.server.assetUrl(name).toString();
    const QString out = env.dir.path() + QStringLiteral("/tool-out.bin");

    if (!parser.isSet(QStringLiteral("no-per-second")) && !other) {
        std::printf("%d s per run; first second excluded from the per-second figures\n", duration);
        std::printf("%-8s %7s  %12s  %9s  %9s   %s\n", "client", "Mbit/s", "avg B/s", "avg err", "worst s",
                    "second/target range");
        for (const QString& rateText : parser.value(QStringLiteral("rates")).split(QLatin1Char(','))) {
            const double mbit = rateText.toDouble();
            const qint64 target = qint64(mbit * 125000);
            const Figures ours =
                evaluate(runEngine(env, name, target, false, duration).samples, double(target));
            print("engine", mbit, double(target), ours);
            Figures peer;
            if (tools && !curl.isEmpty()) {
                peer = evaluate(runTool(curl,
                                        {QStringLiteral("-s"), QStringLiteral("--limit-rate"),
                                         QString::number(target), QStringLiteral("-o"), out, url},
                                        out, duration * 1000 + 50),
                                double(target));
                print("curl", mbit, double(target), peer);
            }
            const auto error = [target](const Figures& f) {
                return f.valid
                           ? benchNumber(100.0 * (f.average / double(target) - 1.0), 2) + QStringLiteral("%")
                           : QStringLiteral("-");
            };
            benchRow(QStringLiteral("Limit %1 Mbit/s: average error (worst second)").arg(mbit),
                     error(ours) + QStringLiteral(" (") + benchNumber(100.0 * ours.worstSecond, 2) +
                         QStringLiteral("%)"),
                     QStringLiteral("curl ") + error(peer) + QStringLiteral(" (") +
                         benchNumber(100.0 * peer.worstSecond, 2) + QStringLiteral("%)"),
                     QStringLiteral("-"), QStringLiteral("average within 1%"));
            if (!tools)
                continue;
            if (!aria2.isEmpty())
                print(
                    "aria2c", mbit, double(target),
                    evaluate(
                        runTool(aria2,
                                {QStringLiteral("-q"), QStringLiteral("--max-download-limit=%1").arg(target),
                                 QStringLiteral("--file-allocation=none"), QStringLiteral("--disk-cache=0"),
                                 QStringLiteral("--allow-overwrite=true"), QStringLiteral("-d"),
                                 env.dir.path(), QStringLiteral("-o"), QStringLiteral("tool-out.bin"), url},
                                out, duration * 1000 + 50),
                        double(target)));
        }
    }

    if (!parser.isSet(QStringLiteral("no-whole")) && !other) {
        std::printf(
            "\nwhole transfers at the limit (from the request's arrival in the server's journal; the\n"
            "server is done once its last byte is in the loopback socket buffers, several MB)\n");
        std::printf("%10s %7s  %10s  %10s  %11s  %15s\n", "size B", "Mbit/s", "expected s", "finished s",
                    "rate/target", "server done s");
        struct Case
        {
            qint64 size;
            double mbit;
        };
        const Case cases[] = {{300000, 1}, {1500000, 1}, {300000, 4}, {4194304, 4}};
        for (const Case& c : cases) {
            const QString file = QStringLiteral("whole-%1.bin").arg(c.size);
            if (fileSize(env.serverFile(file)) != c.size)
                env.sparseAsset(file, c.size);
            const qint64 target = qint64(c.mbit * 125000);
            const WholeRun run = runWhole(env, file, target);
            const double expected = double(c.size) / double(target);
            std::printf("%10lld %7.0f  %10.2f  %10.2f  %11.3f  %15.2f\n", c.size, c.mbit, expected,
                        run.seconds, run.seconds > 0 ? expected / run.seconds : 0.0, run.servedSeconds);
            benchRow(QStringLiteral("Whole transfer of %1 bytes at %2 Mbit/s").arg(c.size).arg(c.mbit),
                     benchNumber(run.seconds, 2) + QStringLiteral(" s"),
                     QStringLiteral("expected ") + benchNumber(expected, 2) + QStringLiteral(" s"),
                     benchNumber(run.seconds > 0 ? expected / run.seconds : 0.0, 3) +
                         QStringLiteral(" rate/limit"),
                     QStringLiteral("rate at most the limit (1 tick of rounding)"));
            std::fflush(stdout);
        }
    }

    if (!parser.isSet(QStringLiteral("no-unlimited")) && !tls && !other) {
        std::printf("\nlimit 0 (not a slider setting), design ceiling %lld B/s (1 MiB x 50 per second)\n",
                    ceiling);
        const Figures limited = evaluate(runEngine(env, name, 0, false, duration).samples, double(ceiling));
        std::printf("engine   %12.0f B/s  %.1f%% of the ceiling\n", limited.average,
                    100.0 * limited.average / ceiling);
        // Limit 0 set through the engine: one full chunk per tick. The slider cannot set it (its
        // top is 200 Mbit/s, 25.0 MB/s, measured with --rates 200).
        benchRow(
            QStringLiteral("Engine's per-tick ceiling (limit 0: 1 MiB x 50 ticks; not a slider setting)"),
            benchNumber(limited.average / 1e6) + QStringLiteral(" MB/s"), QStringLiteral("-"),
            benchNumber(100.0 * limited.average / ceiling) + QStringLiteral("% of the ceiling"),
            QStringLiteral("ceiling 52.4 MB/s"));
    }
    if (!parser.isSet(QStringLiteral("no-unlimited"))) {
        // No limit: a file large enough that no client reaches its end within the run.
        const QString big = QStringLiteral("nolimit.bin");
        // Room for the fastest run, and no more than the disk holds: the engine checks.
        const qint64 bigSize = 1500000000LL * (duration + 5);
        QString bigUrl;
        if (other) {
            QFile file(parser.value(QStringLiteral("other-root")) + QLatin1Char('/') + big);
            if (!file.open(QIODevice::WriteOnly) || !file.resize(bigSize)) {
                std::fprintf(stderr, "cannot make %s\n", qPrintable(file.fileName()));
                return 1;
            }
            bigUrl =
                otherBase + (otherBase.endsWith(QLatin1Char('/')) ? QString() : QStringLiteral("/")) + big;
        } else {
            env.sparseAsset(big, bigSize);
            bigUrl = env.server.assetUrl(big).toString();
        }
        std::printf("\nno limit, %d s runs; CPU of the engine's process without the server's thread\n",
                    duration);
        std::printf("%-8s %14s  %10s  %12s  %26s\n", "client", "B/s", "CPU s/GB", "switches/GB",
                    "peak memory MB");
        const EngineRun engine = runEngine(env, big, 0, true, duration, bigUrl, bigSize);
        const double engineRate = engine.seconds > 0 ? double(engine.bytes) / engine.seconds : 0;
        std::printf("engine   %14.0f  %10.3f  %12.0f  %8.1f over idle (%.1f -> %.1f)\n", engineRate,
                    engine.bytes > 0 ? engine.cpuSeconds / (double(engine.bytes) / 1e9) : 0.0,
                    engine.bytes > 0 ? double(engine.contextSwitches) / (double(engine.bytes) / 1e9) : 0.0,
                    double(engine.peakResident - engine.idleResident) / 1048576.0,
                    double(engine.idleResident) / 1048576.0, double(engine.peakResident) / 1048576.0);
        std::fflush(stdout);
        auto printTool = [](const char* who, const ToolRun& run) {
            const double rate = run.seconds > 0 ? double(run.bytes) / run.seconds : 0;
            std::printf("%-8s %14.0f  %10.3f  %12.0f  %8.1f resident in all\n", who, rate,
                        run.bytes > 0 ? run.cpuSeconds / (double(run.bytes) / 1e9) : 0.0,
                        run.bytes > 0 ? double(run.contextSwitches) / (double(run.bytes) / 1e9) : 0.0,
                        double(run.peakResident) / 1048576.0);
            std::fflush(stdout);
        };
        ToolRun curlRun;
        if (tools && !curl.isEmpty()) {
            curlRun =
                runTool(curl, curlTls + QStringList{QStringLiteral("-s"), QStringLiteral("-o"), out, bigUrl},
                        out, duration * 1000 + 50);
            printTool("curl", curlRun);
        }
        const double curlRate = curlRun.seconds > 0 ? double(curlRun.bytes) / curlRun.seconds : 0;
        const double engineCpu = engine.bytes > 0 ? engine.cpuSeconds / (double(engine.bytes) / 1e9) : 0.0;
        const double curlCpu = curlRun.bytes > 0 ? curlRun.cpuSeconds / (double(curlRun.bytes) / 1e9) : 0.0;
        benchRow(rowPrefix + QStringLiteral(": throughput"),
                 benchNumber(engineRate / 1e6) + QStringLiteral(" MB/s"),
                 QStringLiteral("curl ") + benchNumber(curlRate / 1e6) + QStringLiteral(" MB/s"),
                 benchNumber(curlRate > 0 ? engineRate / curlRate : 0.0, 2) + QStringLiteral("x curl"),
                 tls ? QStringLiteral("at least 0.8x curl") : QStringLiteral("at least 0.9x curl"));
        benchRow(rowPrefix + QStringLiteral(": CPU per GB"), benchNumber(engineCpu, 2) + QStringLiteral(" s"),
                 QStringLiteral("curl ") + benchNumber(curlCpu, 2) + QStringLiteral(" s"),
                 benchNumber(curlCpu > 0 ? engineCpu / curlCpu : 0.0, 2) + QStringLiteral("x curl"),
                 tls ? QStringLiteral("at most 1.5x curl") : QStringLiteral("at most 1.3x curl"));
        benchRow(rowPrefix + QStringLiteral(": peak memory over idle"),
                 benchNumber(double(engine.peakResident - engine.idleResident) / 1048576.0) +
                     QStringLiteral(" MB"),
                 QStringLiteral("curl ") + benchNumber(double(curlRun.peakResident) / 1048576.0) +
                     QStringLiteral(" MB resident in all"),
                 QStringLiteral("-"), QStringLiteral("within 50 MB of idle"));
        if (tools && !aria2.isEmpty() && !tls)
            printTool("aria2c",
                      runTool(aria2,
                              {QStringLiteral("-q"), QStringLiteral("--file-allocation=none"),
                               QStringLiteral("--disk-cache=0"), QStringLiteral("--allow-overwrite=true"),
                               QStringLiteral("-d"), env.dir.path(), QStringLiteral("-o"),
                               QStringLiteral("tool-out.bin"), bigUrl},
                              out, duration * 1000 + 50));
        if (engineRate > 0 && tools && !curl.isEmpty())
            std::printf("(targets: at least 0.9x curl's rate over HTTP and 0.8x over HTTPS, at most 1.3x "
                        "and 1.5x its CPU per GB, within 50 MB of idle)\n");
    }
    return 0;
}
