// Peak resident memory while the engine faces a hostile asset server, against the idle
// program: a gzip bomb (a small body that would inflate to gigabytes) and headers without
// end. The stall timer keeps its product value, so the flood runs its full 15 s before the
// connection is cut.
//
//   bench_download_hostile [--seconds 35] [--bomb-gib 2]

#include "BenchSupport.h"
#include "BenchTable.h"

#include <QCommandLineParser>

#include <algorithm>
#include <cstdlib>

using namespace bench;

namespace {

// VmHWM of this process: the largest resident set since it started.
qint64 highWaterBytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLongLong() * 1024;
    return -1;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addOption({QStringLiteral("seconds"), QStringLiteral("Length of each run."), QStringLiteral("s"),
                      QStringLiteral("35")});
    parser.addOption({QStringLiteral("bomb-gib"), QStringLiteral("What the gzip body inflates to, in GiB."),
                      QStringLiteral("n"), QStringLiteral("2")});
    parser.process(app);
    const int runMs = parser.value(QStringLiteral("seconds")).toInt() * 1000;
    const qint64 bomb = qint64(parser.value(QStringLiteral("bomb-gib")).toDouble() * 1073741824.0);

    Environment env;
    const struct
    {
        QString name;
        QString fault;
    } runs[] = {
        {QStringLiteral("a gzip bomb (%1 GiB inflated)").arg(benchNumber(bomb / 1073741824.0)),
         QStringLiteral("gzip=%1").arg(bomb)},
        {QStringLiteral("endless headers"), QStringLiteral("header-flood")},
    };
    waitMs(2000);
    const qint64 idle = residentBytes();
    std::printf("engine idle RSS %.1f MB, high-water mark so far %.1f MB\n", idle / 1e6,
                highWaterBytes() / 1e6);
    int index = 0;
    for (const auto& run : runs) {
        const QString name = QStringLiteral("hostile-%1.bin").arg(index);
        env.sparseAsset(name, 1000000);
        StandInServer::AssetFault fault;
        StandInServer::parseAssetFault(run.fault, &fault, nullptr);
        env.server.setAssetFault(name, fault);
        Asset* asset = env.addDownload(QStringLiteral("hostile-%1").arg(index++), name, 1000000);
        const QString path = QStringLiteral("/assets/") + name;
        Sampler sampler(100, []() { return residentBytes(); });
        const double cpuBefore = processCpuSeconds();
        env.engine()->assetsChanged();
        env.engine()->resumeDownloading(); // the removal of the run before paused it
        waitMs(runMs);
        const double cpu = processCpuSeconds() - cpuBefore;
        qint64 peak = 0;
        for (qint64 v : sampler.finish())
            peak = std::max(peak, v);
        const auto requests = env.server.journalFor(path);
        qint64 served = 0;
        for (const auto& request : requests)
            served += request.bytesSent;
        std::printf("%s: %d requests, %.1f MB sent, file %lld bytes, peak RSS %.1f MB (%.1f over idle), "
                    "CPU %.1f s in %.0f s\n",
                    qPrintable(run.name), int(requests.size()), served / 1e6, fileSize(asset->getFullPath()),
                    peak / 1e6, (peak - idle) / 1e6, cpu, runMs / 1000.0);
        benchRow(QStringLiteral("Peak memory facing %1, %2 s").arg(run.name).arg(runMs / 1000),
                 benchNumber((peak - idle) / 1e6) + QStringLiteral(" MB over idle"),
                 QStringLiteral("%1 requests").arg(requests.size()), QStringLiteral("-"),
                 QStringLiteral("within 50 MB of idle"));
        env.removeDownload(asset);
        waitMs(500);
    }
    std::printf("high-water mark of the whole run %.1f MB\n", highWaterBytes() / 1e6);
    std::fflush(stdout);
    env.dir.remove();
    std::_Exit(0);
}
