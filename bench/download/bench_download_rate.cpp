// Bandwidth-limit accuracy of the engine at several limits, and its unlimited throughput
// against the design ceiling (1 MiB per 20 ms tick), each beside curl and aria2c
// downloading the same file from the same local server.
//
//   bench_download_rate [--duration S] [--rates 1,10,100,200] [--no-tools]

#include "BenchSupport.h"

#include <QCommandLineParser>
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

std::vector<qint64> runEngine(Environment& env, const QString& name, qint64 bytesPerSecond, int duration)
{
    DownloadManager* engine = env.engine();
    // 0 selects the unlimited chunk (20 MiB per tick).
    engine->setReadChunkSize(bytesPerSecond > 0 ? unsigned(bytesPerSecond) : 20971520u * 50u);
    static int run = 0;
    Asset* asset =
        env.addDownload(QStringLiteral("rate-%1").arg(++run), name, quint64(fileSize(env.serverFile(name))));
    engine->resumeDownloading();
    engine->assetsChanged();
    const QString path = asset->getFullPath();
    QElapsedTimer waited;
    waited.start();
    while (fileSize(path) == 0 && waited.elapsed() < 10000)
        waitMs(1);
    Sampler sampler(1000, [path]() { return fileSize(path); });
    waitMs(duration * 1000 + 50);
    std::vector<qint64> samples = sampler.finish();
    env.removeDownload(asset);
    return samples;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addOption({QStringLiteral("duration"), QStringLiteral("Seconds per run."), QStringLiteral("s"),
                      QStringLiteral("20")});
    parser.addOption({QStringLiteral("rates"), QStringLiteral("Limits in Mbit/s."), QStringLiteral("list"),
                      QStringLiteral("1,10,100,200")});
    parser.addOption({QStringLiteral("no-tools"), QStringLiteral("Skip curl and aria2c.")});
    parser.addOption({QStringLiteral("no-unlimited"), QStringLiteral("Skip the unlimited runs.")});
    parser.process(app);
    const int duration = parser.value(QStringLiteral("duration")).toInt();
    const bool tools = !parser.isSet(QStringLiteral("no-tools"));
    const QString curl = QStandardPaths::findExecutable(QStringLiteral("curl"));
    const QString aria2 = QStandardPaths::findExecutable(QStringLiteral("aria2c"));

    Environment env;
    const qint64 ceiling = 1048576LL * 50;
    const QString name = QStringLiteral("rate.bin");
    env.sparseAsset(name, ceiling * 2 * (duration + 5));
    const QString url = env.server.assetUrl(name).toString();
    const QString out = env.dir.path() + QStringLiteral("/tool-out.bin");

    std::printf("%d s per run; first second excluded from the per-second figures\n", duration);
    std::printf("%-8s %7s  %12s  %9s  %9s   %s\n", "client", "Mbit/s", "avg B/s", "avg err", "worst s",
                "second/target range");
    for (const QString& rateText : parser.value(QStringLiteral("rates")).split(QLatin1Char(','))) {
        const double mbit = rateText.toDouble();
        const qint64 target = qint64(mbit * 125000);
        print("engine", mbit, double(target),
              evaluate(runEngine(env, name, target, duration), double(target)));
        if (!tools)
            continue;
        if (!curl.isEmpty())
            print("curl", mbit, double(target),
                  evaluate(runTool(curl,
                                   {QStringLiteral("-s"), QStringLiteral("--limit-rate"),
                                    QString::number(target), QStringLiteral("-o"), out, url},
                                   out, duration * 1000 + 50),
                           double(target)));
        if (!aria2.isEmpty())
            print(
                "aria2c", mbit, double(target),
                evaluate(runTool(aria2,
                                 {QStringLiteral("-q"), QStringLiteral("--max-download-limit=%1").arg(target),
                                  QStringLiteral("--file-allocation=none"), QStringLiteral("--disk-cache=0"),
                                  QStringLiteral("--allow-overwrite=true"), QStringLiteral("-d"),
                                  env.dir.path(), QStringLiteral("-o"), QStringLiteral("tool-out.bin"), url},
                                 out, duration * 1000 + 50),
                         double(target)));
    }

    if (!parser.isSet(QStringLiteral("no-unlimited"))) {
        std::printf("\nunlimited, design ceiling %lld B/s (1 MiB x 50 per second)\n", ceiling);
        const Figures engine = evaluate(runEngine(env, name, 0, duration), double(ceiling));
        std::printf("engine   %12.0f B/s  %.1f%% of the ceiling\n", engine.average,
                    100.0 * engine.average / ceiling);
        if (tools && !curl.isEmpty()) {
            const Figures f = evaluate(runTool(curl, {QStringLiteral("-s"), QStringLiteral("-o"), out, url},
                                               out, duration * 1000 + 50),
                                       double(ceiling));
            std::printf("curl     %12.0f B/s\n", f.average);
        }
        if (tools && !aria2.isEmpty()) {
            const Figures f =
                evaluate(runTool(aria2,
                                 {QStringLiteral("-q"), QStringLiteral("--file-allocation=none"),
                                  QStringLiteral("--disk-cache=0"), QStringLiteral("--allow-overwrite=true"),
                                  QStringLiteral("-d"), env.dir.path(), QStringLiteral("-o"),
                                  QStringLiteral("tool-out.bin"), url},
                                 out, duration * 1000 + 50),
                         double(ceiling));
            std::printf("aria2c   %12.0f B/s\n", f.average);
        }
    }
    return 0;
}
