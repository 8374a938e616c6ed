// Verification of one large reel by the checksum worker, read back from the medium, beside
// `openssl dgst -sha1` and `sha1sum` on the same uncached file; and the longest time the
// main thread's event loop was kept from running meanwhile.
//
//   bench_download_verify [--size-gb 2] [--keep-worker-poll]
//
// Runs: "fresh" verifies right after the file was written (its pages still dirty, so the
// write-through is part of the cost); "uncached" verifies the same file again after its
// pages were dropped; "cached" hashes it from the page cache, which is what the digest
// would read without the write-through and drop.

#include "BenchSupport.h"
#include "BenchTable.h"
#include "core/FileManager.h"

#include <QCommandLineParser>
#include <QCryptographicHash>
#include <QStandardPaths>

#include <algorithm>

using namespace bench;

namespace {

struct Verification
{
    double seconds = 0;
    qint64 maxBlockMs = 0;
};

Verification verify(DownloadManager* engine, Reel* reel, Asset* asset)
{
    asset->setDownloadChecksummed(false);
    bool done = false;
    auto connection = QObject::connect(reel, &Reel::downloadChecksummed, [&done]() { done = true; });
    auto failed = QObject::connect(reel, &Reel::downloadQueuedForRedownload, [&done]() { done = true; });

    // Longest gap between 5 ms ticks of the main thread, beyond the 5 ms itself.
    QElapsedTimer gap;
    qint64 maxBlock = 0;
    QTimer probe;
    probe.setTimerType(Qt::PreciseTimer);
    QObject::connect(&probe, &QTimer::timeout, [&]() { maxBlock = std::max(maxBlock, gap.restart() - 5); });
    gap.start();
    probe.start(5);

    QElapsedTimer clock;
    clock.start();
    engine->getChecksumWorker()->addToWorker(reel);
    while (!done)
        waitMs(1);
    Verification v;
    v.seconds = clock.elapsed() / 1000.0;
    v.maxBlockMs = maxBlock;
    probe.stop();
    QObject::disconnect(connection);
    QObject::disconnect(failed);
    if (!asset->getDownloadChecksummed())
        std::printf("  (digest mismatch!)\n");
    return v;
}

double timeTool(const QString& program, const QStringList& args)
{
    QElapsedTimer clock;
    clock.start();
    QProcess process;
    process.setStandardOutputFile(QProcess::nullDevice());
    process.start(program, args);
    if (!process.waitForStarted(5000))
        return -1;
    process.waitForFinished(-1);
    return clock.elapsed() / 1000.0;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addOption({QStringLiteral("size-gb"), QStringLiteral("Reel size in GB."), QStringLiteral("n"),
                      QStringLiteral("2")});
    parser.addOption(
        {QStringLiteral("keep-worker-poll"), QStringLiteral("Keep the 1 s worker poll in the figures.")});
    parser.process(app);
    const qint64 size = qint64(parser.value(QStringLiteral("size-gb")).toDouble() * 1e9);

    Environment env;
    DownloadManager* engine = env.engine();
    if (!parser.isSet(QStringLiteral("keep-worker-poll")))
        engine->getChecksumWorker()->setPollInterval(5);
    engine->pauseDownloading(true);

    // The file lies where the asset of DCP "verify" expects it: <downloads>/verify/.reel.bin
    const QString path = env.downloads() + QStringLiteral("/verify/.reel.bin");

    // Write the reel's file: 1 MiB blocks of pseudo-random bytes, each block different.
    QByteArray block(1 << 20, Qt::Uninitialized);
    quint64 state = 0x9E3779B97F4A7C15ull;
    QCryptographicHash hash(QCryptographicHash::Sha1);
    {
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        for (qint64 written = 0; written < size;) {
            auto* words = reinterpret_cast<quint64*>(block.data());
            for (int i = 0; i < block.size() / 8; ++i) {
                state ^= state << 13;
                state ^= state >> 7;
                state ^= state << 17;
                words[i] = state;
            }
            const int n = int(std::min<qint64>(block.size(), size - written));
            file.write(block.constData(), n);
            hash.addData(block.constData(), n);
            written += n;
        }
    }
    std::printf("reel of %lld bytes written\n", size);
    std::fflush(stdout);

    Asset* asset = env.addDownload(QStringLiteral("verify"), QStringLiteral("reel.bin"), quint64(size),
                                   QString::fromLatin1(hash.result().toBase64()));
    asset->setDownloadFinished(true);
    Reel* reel = asset->getReels().first();
    if (asset->getFullPath() != path)
        std::printf("unexpected asset path %s\n", qPrintable(asset->getFullPath()));

    const Verification fresh = verify(engine, reel, asset);
    std::printf("engine fresh     %6.2f s  %7.1f MB/s  main loop max block %lld ms\n", fresh.seconds,
                size / fresh.seconds / 1e6, fresh.maxBlockMs);
    const Verification uncached = verify(engine, reel, asset);
    std::printf("engine uncached  %6.2f s  %7.1f MB/s  main loop max block %lld ms\n", uncached.seconds,
                size / uncached.seconds / 1e6, uncached.maxBlockMs);

    QFile cat(path);
    cat.open(QIODevice::ReadOnly);
    while (!cat.read(1 << 22).isEmpty()) {
    }
    QElapsedTimer clock;
    clock.start();
    FileManager::getFileSHA1(path);
    const double cached = clock.elapsed() / 1000.0;
    std::printf("digest cached    %6.2f s  %7.1f MB/s  (what a read from memory would cost)\n", cached,
                size / cached / 1e6);

    const QString openssl = QStandardPaths::findExecutable(QStringLiteral("openssl"));
    const QString sha1sum = QStandardPaths::findExecutable(QStringLiteral("sha1sum"));
    if (!openssl.isEmpty()) {
        ChecksumWorker::flushToMedium(path);
        const double t = timeTool(openssl, {QStringLiteral("dgst"), QStringLiteral("-sha1"), path});
        std::printf("openssl uncached %6.2f s  %7.1f MB/s  engine reaches %.0f%% of it\n", t, size / t / 1e6,
                    100.0 * t / uncached.seconds);
        benchRow(QStringLiteral("Verification of a %1 GB reel read back from the drive")
                     .arg(benchNumber(size / 1e9)),
                 benchNumber(size / uncached.seconds / 1e6) + QStringLiteral(" MB/s"),
                 QStringLiteral("openssl ") + benchNumber(size / t / 1e6) + QStringLiteral(" MB/s"),
                 benchNumber(t / uncached.seconds, 2) + QStringLiteral("x openssl"),
                 QStringLiteral("main loop blocked at most %1 ms").arg(uncached.maxBlockMs));
    }
    if (!sha1sum.isEmpty()) {
        ChecksumWorker::flushToMedium(path);
        const double t = timeTool(sha1sum, {path});
        std::printf("sha1sum uncached %6.2f s  %7.1f MB/s\n", t, size / t / 1e6);
    }
    return 0;
}
