// Usage: bench_model_sha1 [size in MiB, default 2048] [directory, default the system temp dir]
//
// Writes a file of pseudo-random bytes, hashes it with FileManager::getFileSHA1, with
// QCryptographicHash (streamed the same way) and with the sha1sum program, checks that all
// three agree and prints the times and the ratio. The file is removed afterwards.

#include "BenchTable.h"
#include "core/FileManager.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>
#include <vector>

namespace {
double mibPerSecond(qint64 bytes, qint64 ms)
{
    return ms > 0 ? (double(bytes) / (1024.0 * 1024.0)) / (double(ms) / 1000.0) : 0.0;
}

bool writeRandomFile(const QString& path, qint64 bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    std::vector<quint64> block(1024 * 1024 / sizeof(quint64));
    quint64 x = 0x9E3779B97F4A7C15ull;
    qint64 left = bytes;
    while (left > 0) {
        for (quint64& v : block) {
            x ^= x << 13;
            x ^= x >> 7;
            x ^= x << 17;
            v = x;
        }
        const qint64 n = qMin<qint64>(left, qint64(block.size() * sizeof(quint64)));
        if (file.write(reinterpret_cast<const char*>(block.data()), n) != n) {
            return false;
        }
        left -= n;
    }
    return file.flush();
}
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const qint64 mib = args.size() > 1 ? args.at(1).toLongLong() : 2048;
    if (mib <= 0) {
        std::fprintf(stderr, "usage: %s [size in MiB] [directory]\n", argv[0]);
        return 2;
    }
    QTemporaryDir dir(args.size() > 2 ? args.at(2) + QStringLiteral("/sha1bench-XXXXXX") : QString());
    if (!dir.isValid()) {
        std::fprintf(stderr, "cannot create a temporary directory\n");
        return 1;
    }
    const QString path = dir.filePath(QStringLiteral("payload.bin"));
    const qint64 bytes = mib * 1024 * 1024;
    std::printf("writing %lld MiB to %s\n", static_cast<long long>(mib), qPrintable(path));
    if (!writeRandomFile(path, bytes)) {
        std::fprintf(stderr, "cannot write the file\n");
        return 1;
    }

    // One untimed pass so that every contender reads from the same (warm) page cache.
    FileManager::getFileSHA1(path);

    QElapsedTimer timer;
    timer.start();
    const QByteArray ours = FileManager::getFileSHA1(path).toHex();
    const qint64 oursMs = timer.elapsed();

    timer.restart();
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    QCryptographicHash qtHash(QCryptographicHash::Sha1);
    qtHash.addData(&file);
    const QByteArray qt = qtHash.result().toHex();
    const qint64 qtMs = timer.elapsed();
    file.close();

    timer.restart();
    QProcess sha1sum;
    sha1sum.start(QStringLiteral("sha1sum"), {path});
    if (!sha1sum.waitForFinished(-1) || sha1sum.exitCode() != 0) {
        std::fprintf(stderr, "sha1sum failed: %s\n", qPrintable(sha1sum.errorString()));
        return 1;
    }
    const qint64 toolMs = timer.elapsed();
    const QByteArray tool = sha1sum.readAllStandardOutput().left(40);

    std::printf("digest          %s\n", ours.constData());
    std::printf("getFileSHA1     %7lld ms  %8.1f MiB/s\n", static_cast<long long>(oursMs),
                mibPerSecond(bytes, oursMs));
    std::printf("QCryptographic  %7lld ms  %8.1f MiB/s\n", static_cast<long long>(qtMs),
                mibPerSecond(bytes, qtMs));
    std::printf("sha1sum         %7lld ms  %8.1f MiB/s\n", static_cast<long long>(toolMs),
                mibPerSecond(bytes, toolMs));
    std::printf("ratio sha1sum/getFileSHA1 time: %.2f\n", oursMs > 0 ? double(toolMs) / double(oursMs) : 0.0);
    std::printf("ratio QCryptographicHash/getFileSHA1 time: %.2f\n",
                oursMs > 0 ? double(qtMs) / double(oursMs) : 0.0);

    benchRow(QStringLiteral("SHA-1 of a %1 MiB file").arg(mib),
             benchNumber(mibPerSecond(bytes, oursMs)) + QStringLiteral(" MiB/s"),
             QStringLiteral("sha1sum ") + benchNumber(mibPerSecond(bytes, toolMs)) + QStringLiteral(" MiB/s"),
             benchNumber(oursMs > 0 ? double(toolMs) / double(oursMs) : 0.0, 2) + QStringLiteral("x faster"),
             QStringLiteral("at least sha1sum"));

    if (ours != tool || ours != qt) {
        std::fprintf(stderr, "DIGESTS DIFFER: sha1sum %s, Qt %s\n", tool.constData(), qt.constData());
        return 1;
    }
    return 0;
}
