// "Check drive" on a whole DCP read back from the drive, beside `openssl dgst -sha1` and
// `sha1sum` over the same files, each run with the files dropped from the page cache first.
//
//   bench_download_drivecheck [--size-gb 1]

#include "BenchTable.h"
#include "SampleDcp.h"
#include "download/ChecksumWorker.h"
#include "download/DcpIngestCheck.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <cstdio>

namespace {
QStringList filesOf(const QString& folder)
{
    QStringList files;
    QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << it.next();
    return files;
}

double timeTool(const QString& program, const QStringList& args, const QStringList& files)
{
    for (const QString& file : files)
        ChecksumWorker::flushToMedium(file);
    QElapsedTimer clock;
    clock.start();
    QProcess process;
    process.setStandardOutputFile(QProcess::nullDevice());
    process.start(program, args + files);
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
    parser.addOption({QStringLiteral("size-gb"), QStringLiteral("Picture size of the DCP in GB."),
                      QStringLiteral("n"), QStringLiteral("1")});
    parser.process(app);
    const double gb = parser.value(QStringLiteral("size-gb")).toDouble();

    QTemporaryDir dir(QDir::currentPath() + QStringLiteral("/drivecheck.XXXXXX"));
    const QString folder = dir.path() + QStringLiteral("/Bench_FTR");
    SampleDcp::Options o;
    o.title = QStringLiteral("Bench_FTR");
    o.reels = 2;
    o.pictureSize = quint64(gb * 1e9 / 2);
    o.soundSize = o.pictureSize / 10;
    DcpDescription d;
    if (!SampleDcp::generate(o, folder, &d)) {
        std::printf("could not write the DCP\n");
        return 1;
    }
    const QStringList files = filesOf(folder);

    const std::atomic<bool> cancel{false};
    QElapsedTimer clock;
    clock.start();
    const DcpIngestCheck::Result result = DcpIngestCheck::run(folder, cancel);
    const double ours = clock.elapsed() / 1000.0;
    const double mb = result.bytes / 1e6;
    std::printf("check drive       %6.2f s  %7.1f MB/s  %d files, problems: %d\n", ours, mb / ours,
                result.files, int(result.findings.size()));

    const QString openssl = QStandardPaths::findExecutable(QStringLiteral("openssl"));
    const QString sha1sum = QStandardPaths::findExecutable(QStringLiteral("sha1sum"));
    const double tOpenssl = openssl.isEmpty() ? -1 : timeTool(openssl, {"dgst", "-sha1"}, files);
    const double tSha1sum = sha1sum.isEmpty() ? -1 : timeTool(sha1sum, {}, files);
    std::printf("openssl uncached  %6.2f s  %7.1f MB/s\n", tOpenssl, mb / tOpenssl);
    std::printf("sha1sum uncached  %6.2f s  %7.1f MB/s\n", tSha1sum, mb / tSha1sum);
    if (tOpenssl > 0 && tSha1sum > 0) {
        benchRow(
            QStringLiteral("Check drive of a %1 GB DCP read back from the drive").arg(benchNumber(mb / 1000)),
            benchNumber(mb / ours) + QStringLiteral(" MB/s"),
            QStringLiteral("openssl %1 MB/s, sha1sum %2 MB/s")
                .arg(benchNumber(mb / tOpenssl), benchNumber(mb / tSha1sum)),
            benchNumber(tOpenssl / ours, 2) + QStringLiteral("x openssl"),
            QStringLiteral("at least 0.9x openssl"));
    }
    return result.findings.isEmpty() ? 0 : 1;
}
