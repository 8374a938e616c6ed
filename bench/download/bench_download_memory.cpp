// Peak resident memory while the engine downloads one large asset without a limit,
// against the idle program, beside curl and aria2c downloading the same file.
//
//   bench_download_memory [--size-gb 4] [--no-tools]

#include "BenchSupport.h"
#include "BenchTable.h"

#include <QCommandLineParser>
#include <QStandardPaths>

#include <algorithm>
#include <cstdlib>

using namespace bench;

namespace {

qint64 residentOf(qint64 pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLongLong() * 1024;
    return 0;
}

qint64 toolPeak(const QString& program, const QStringList& args, const QString& out)
{
    QProcess process;
    process.setStandardOutputFile(QProcess::nullDevice());
    process.start(program, args);
    if (!process.waitForStarted(5000))
        return -1;
    const qint64 pid = process.processId();
    qint64 peak = 0;
    Sampler sampler(100, [pid]() { return residentOf(pid); });
    process.waitForFinished(-1);
    for (qint64 v : sampler.finish())
        peak = std::max(peak, v);
    QFile::remove(out);
    return peak;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addOption({QStringLiteral("size-gb"), QStringLiteral("Asset size in GB."), QStringLiteral("n"),
                      QStringLiteral("4")});
    parser.addOption({QStringLiteral("no-tools"), QStringLiteral("Skip curl and aria2c.")});
    parser.process(app);
    const qint64 size = qint64(parser.value(QStringLiteral("size-gb")).toDouble() * 1e9);

    Environment env;
    const QString name = QStringLiteral("large.bin");
    env.sparseAsset(name, size);
    waitMs(2000);
    const qint64 idle = residentBytes();

    // The worker is kept from reading the file back afterwards (that is the other
    // benchmark): it is held past the end of this run, and the program exits without the
    // teardown that would wait for it.
    env.engine()->getChecksumWorker()->hold(true);
    Asset* asset = env.addDownload(QStringLiteral("memory"), name, quint64(size));
    DCP* dcp = asset->getDCP();
    bool finished = false;
    QObject::connect(dcp, &DCP::downloadFinished, [&finished]() { finished = true; });
    QElapsedTimer clock;
    clock.start();
    Sampler sampler(100, []() { return residentBytes(); });
    env.engine()->assetsChanged();
    while (!finished)
        waitMs(50);
    const double seconds = clock.elapsed() / 1000.0;
    qint64 peak = 0;
    for (qint64 v : sampler.finish())
        peak = std::max(peak, v);
    const qint64 got = fileSize(asset->getFullPath());
    QFile::remove(asset->getFullPath());

    std::printf("asset %lld bytes, downloaded %lld in %.1f s (%.1f MB/s)\n", size, got, seconds,
                got / seconds / 1e6);
    std::printf("engine  idle RSS %.1f MB, peak while downloading %.1f MB, difference %.1f MB\n", idle / 1e6,
                peak / 1e6, (peak - idle) / 1e6);
    benchRow(QStringLiteral("Peak memory while downloading a %1 GB asset").arg(benchNumber(size / 1e9)),
             benchNumber((peak - idle) / 1e6) + QStringLiteral(" MB over idle"), QStringLiteral("-"),
             QStringLiteral("-"), QStringLiteral("flat: under 50 MB over idle"));
    std::fflush(stdout);

    if (!parser.isSet(QStringLiteral("no-tools"))) {
        const QString url = env.server.assetUrl(name).toString();
        const QString out = env.dir.path() + QStringLiteral("/tool-out.bin");
        const QString curl = QStandardPaths::findExecutable(QStringLiteral("curl"));
        const QString aria2 = QStandardPaths::findExecutable(QStringLiteral("aria2c"));
        if (!curl.isEmpty())
            std::printf("curl    peak RSS %.1f MB\n",
                        toolPeak(curl, {QStringLiteral("-s"), QStringLiteral("-o"), out, url}, out) / 1e6);
        if (!aria2.isEmpty())
            std::printf("aria2c  peak RSS %.1f MB\n",
                        toolPeak(aria2,
                                 {QStringLiteral("-q"), QStringLiteral("--file-allocation=none"),
                                  QStringLiteral("--allow-overwrite=true"), QStringLiteral("-d"),
                                  env.dir.path(), QStringLiteral("-o"), QStringLiteral("tool-out.bin"), url},
                                 out) /
                            1e6);
    }
    std::fflush(stdout);
    env.dir.remove();
    std::_Exit(0);
}
