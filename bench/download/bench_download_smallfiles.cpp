// A DCP of many small files (subtitle images, fonts, a many-reel trailer pack): the engine
// fetches and verifies every file, beside curl, wget and aria2c fetching the same URLs in one
// process each, one file after the other, from the same server: the stand-in (on its own
// thread here) and nginx when it is installed (run as a user process on 127.0.0.1 with its
// own prefix in the run's folder). Runs alternate: ours, curl, wget, aria2c, ours, ...
//
//   bench_download_smallfiles [--files 500] [--reels 10] [--min-kb 10] [--max-kb 100]
//                             [--runs 5] [--servers standin,nginx] [--tools curl,wget,aria2c]
//
// Ours is timed from the queue's start to the last reel's verdict (every file fetched at its
// exact size, verified, its events journaled), with the store, the journal and the checksum
// worker as in the program; its CPU is the process's less the stand-in's thread. The peers'
// time runs from their start to their end. With ORV_BENCH_PAUSE=<s> in the environment the
// program waits that long before and after each run of ours and says so on stderr, so that
// `strace -c -f -p <pid>` or `perf record -p <pid>` can watch that run alone.

#include "BenchSupport.h"
#include "BenchTable.h"

#include <QCommandLineParser>
#include <QCryptographicHash>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTextStream>

#include <algorithm>
#include <map>
#include <unistd.h>

using namespace bench;

namespace {

struct Sample
{
    double seconds = 0;
    double cpu = 0;
};

struct SmallFile
{
    QString name;
    qint64 size = 0;
    QString hash;
};

std::vector<SmallFile> makeFiles(const QString& root, int count, int minKb, int maxKb)
{
    std::vector<SmallFile> files;
    quint64 state = 0x2545F4914F6CDD1Dull;
    auto next = [&state]() {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        return state;
    };
    QDir().mkpath(root);
    for (int i = 0; i < count; ++i) {
        SmallFile file;
        file.name = QStringLiteral("sub_%1.png").arg(i, 4, 10, QLatin1Char('0'));
        file.size = qint64(minKb) * 1024 + qint64(next() % quint64((maxKb - minKb) * 1024 + 1));
        QByteArray bytes(int(file.size), Qt::Uninitialized);
        for (int at = 0; at < bytes.size(); ++at)
            bytes[at] = char(next() >> 56);
        QFile out(root + QLatin1Char('/') + file.name);
        out.open(QIODevice::WriteOnly);
        out.write(bytes);
        file.hash = QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha1).toBase64());
        files.push_back(file);
    }
    return files;
}

int freePort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

// nginx serving the folder on 127.0.0.1, in one process of this user, its files in prefix.
class Nginx
{
public:
    bool start(const QString& prefix, const QString& root)
    {
        const QString program = QStandardPaths::findExecutable(
            QStringLiteral("nginx"), {QStringLiteral("/usr/sbin"), QStringLiteral("/usr/bin")});
        if (program.isEmpty())
            return false;
        port = freePort();
        QDir().mkpath(prefix + QStringLiteral("/logs"));
        QFile conf(prefix + QStringLiteral("/nginx.conf"));
        conf.open(QIODevice::WriteOnly);
        QTextStream(&conf) << "daemon off;\nmaster_process off;\nworker_processes 1;\n"
                           << "pid " << prefix << "/nginx.pid;\nerror_log " << prefix << "/logs/error.log;\n"
                           << "events { worker_connections 64; }\n"
                           << "http {\n  access_log off;\n  sendfile on;\n"
                           << "  client_body_temp_path " << prefix << "/body;\n"
                           << "  proxy_temp_path " << prefix << "/proxy;\n"
                           << "  server {\n    listen 127.0.0.1:" << port << ";\n    root " << root
                           << ";\n    keepalive_requests 100000;\n  }\n}\n";
        conf.close();
        process.setProcessChannelMode(QProcess::ForwardedChannels);
        process.start(program, {QStringLiteral("-p"), prefix, QStringLiteral("-c"), conf.fileName(),
                                QStringLiteral("-e"), prefix + QStringLiteral("/logs/error.log")});
        if (!process.waitForStarted(5000))
            return false;
        // Ready once it accepts a connection.
        for (int i = 0; i < 500; ++i) {
            QTcpSocket socket;
            socket.connectToHost(QHostAddress::LocalHost, quint16(port));
            if (socket.waitForConnected(100))
                return true;
            waitMs(10);
        }
        return false;
    }
    ~Nginx()
    {
        if (process.state() != QProcess::NotRunning) {
            process.terminate();
            if (!process.waitForFinished(5000))
                process.kill();
            process.waitForFinished();
        }
    }
    QString url(const QString& name) const
    {
        return QStringLiteral("http://127.0.0.1:%1/%2").arg(port).arg(name);
    }

    QProcess process;
    int port = 0;
};

double median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

Sample runTool(const QString& program, const QStringList& args)
{
    Sample sample;
    const double cpuBefore = childrenCpuSeconds();
    QElapsedTimer clock;
    clock.start();
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.setStandardOutputFile(QProcess::nullDevice());
    process.start(program, args);
    if (!process.waitForStarted(5000) || !process.waitForFinished(600000) || process.exitCode() != 0)
        std::fprintf(stderr, "%s did not finish well (code %d)\n", qPrintable(program), process.exitCode());
    sample.seconds = clock.elapsed() / 1000.0;
    sample.cpu = childrenCpuSeconds() - cpuBefore;
    return sample;
}

// One engine with its own store in a fresh folder: the DCP added paused, then started, and timed
// to the verdict of its last reel.
Sample runOurs(StandInServer& server, QThread& serverThread, const QString& work,
               const std::vector<SmallFile>& files, int reelCount,
               const std::function<QString(const QString&)>& url, int runNumber, bool& ok)
{
    auto serverCpu = [&server]() {
        double value = 0;
        QMetaObject::invokeMethod(
            &server, [&value]() { value = threadCpuSeconds(); }, Qt::BlockingQueuedConnection);
        return value;
    };
    Q_UNUSED(serverThread);
    const QString folder = work + QStringLiteral("/ours-%1").arg(runNumber);
    QDir().mkpath(folder + QStringLiteral("/downloads"));
    Sample sample;
    {
        AppContext context(folder);
        DownloadManager* engine = &context.engine();
        engine->pauseDownloading(true);
        engine->setLimitOff(true);

        const QString uuid = QStringLiteral("small-files-%1").arg(runNumber);
        auto* dcp = new DCP(uuid, uuid, QString(), folder + QStringLiteral("/downloads"), &context.store());
        dcp->setFriendlyTitle(QStringLiteral("Small files"));
        std::vector<Reel*> reels;
        for (int r = 0; r < reelCount; ++r) {
            auto* reel = new Reel(uuid + QStringLiteral("-reel-%1").arg(r), unsigned(r + 1));
            reel->setDCP(dcp);
            dcp->addReel(reel);
            reels.push_back(reel);
        }
        for (size_t i = 0; i < files.size(); ++i) {
            const SmallFile& file = files[i];
            auto* asset =
                new Asset(uuid + QStringLiteral("-asset-%1").arg(i), file.hash, quint64(file.size),
                          QStringLiteral("image/png"), QStringLiteral(".") + file.name, url(file.name));
            Reel* reel = reels[i * size_t(reelCount) / files.size()];
            asset->setDCP(dcp);
            asset->addReel(reel);
            reel->addAsset(asset);
            dcp->addAsset(asset);
        }
        dcp->syncToDatabase(&context.catalogue());
        context.catalogue().addDCP(dcp);

        int verified = 0;
        int failed = 0;
        for (Reel* reel : reels) {
            QObject::connect(reel, &Reel::downloadChecksummed, [&verified]() { ++verified; });
            QObject::connect(reel, &Reel::downloadCorrupted, [&failed]() { ++failed; });
        }
        const QByteArray pause = qgetenv("ORV_BENCH_PAUSE");
        if (!pause.isEmpty()) {
            std::fprintf(stderr, "ours starts in %s s (pid %d)\n", pause.constData(), int(getpid()));
            waitMs(pause.toInt() * 1000);
        }
        // Woken by the last verdict, not by polling: a poll every millisecond would count its own
        // wake-ups as the engine's CPU.
        QEventLoop verdicts;
        for (Reel* reel : reels) {
            const auto done = [&]() {
                if (verified + failed >= reelCount)
                    verdicts.quit();
            };
            QObject::connect(reel, &Reel::downloadChecksummed, &verdicts, done, Qt::QueuedConnection);
            QObject::connect(reel, &Reel::downloadCorrupted, &verdicts, done, Qt::QueuedConnection);
        }
        QTimer::singleShot(600000, &verdicts, &QEventLoop::quit);
        const double cpuBefore = processCpuSeconds() - serverCpu();
        QElapsedTimer clock;
        clock.start();
        engine->resumeDownloading();
        engine->assetsChanged();
        if (verified + failed < reelCount)
            verdicts.exec();
        sample.seconds = clock.elapsed() / 1000.0;
        sample.cpu = processCpuSeconds() - serverCpu() - cpuBefore;
        if (!pause.isEmpty()) {
            std::fprintf(stderr, "ours done\n");
            waitMs(pause.toInt() * 1000);
        }
        ok = failed == 0 && verified == reelCount;
        for (Asset* asset : dcp->getAssets())
            if (!asset->getDownloadChecksummed() ||
                qint64(asset->getSize()) != fileSize(asset->getFullPath()))
                ok = false;
        engine->pauseDownloading(true);
    }
    // The folder stays until every run is done (see main).
    return sample;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addOption({QStringLiteral("files"), QStringLiteral("Number of files."), QStringLiteral("n"),
                      QStringLiteral("500")});
    parser.addOption({QStringLiteral("reels"), QStringLiteral("Reels they are spread over."),
                      QStringLiteral("n"), QStringLiteral("10")});
    parser.addOption({QStringLiteral("min-kb"), QStringLiteral("Smallest file."), QStringLiteral("kb"),
                      QStringLiteral("10")});
    parser.addOption({QStringLiteral("max-kb"), QStringLiteral("Largest file."), QStringLiteral("kb"),
                      QStringLiteral("100")});
    parser.addOption(
        {QStringLiteral("runs"), QStringLiteral("Runs of each."), QStringLiteral("n"), QStringLiteral("5")});
    parser.addOption({QStringLiteral("servers"), QStringLiteral("standin, nginx or both."),
                      QStringLiteral("list"), QStringLiteral("standin,nginx")});
    parser.addOption({QStringLiteral("tools"), QStringLiteral("Peers beside ours (none for ours alone)."),
                      QStringLiteral("list"), QStringLiteral("curl,wget,aria2c")});
    parser.process(app);
    const int count = parser.value(QStringLiteral("files")).toInt();
    const int reelCount = std::max(1, std::min(count, parser.value(QStringLiteral("reels")).toInt()));
    const int runs = parser.value(QStringLiteral("runs")).toInt();
    const QStringList servers = parser.value(QStringLiteral("servers")).split(QLatin1Char(','));
    QStringList tools;
    for (const QString& tool : parser.value(QStringLiteral("tools")).split(QLatin1Char(',')))
        if (!QStandardPaths::findExecutable(tool).isEmpty())
            tools.append(tool);

    QTemporaryDir dir(QDir::currentPath() + QStringLiteral("/bench-XXXXXX"));
    const QString root = dir.path() + QStringLiteral("/server");
    const std::vector<SmallFile> files =
        makeFiles(root, count, parser.value(QStringLiteral("min-kb")).toInt(),
                  parser.value(QStringLiteral("max-kb")).toInt());
    qint64 total = 0;
    for (const SmallFile& f : files)
        total += f.size;
    std::printf("%d files, %.1f MB in all, over %d reels; %d runs of each\n", count, total / 1e6, reelCount,
                runs);

    StandInServer server;
    QThread serverThread;
    serverThread.start();
    server.moveToThread(&serverThread);
    QMetaObject::invokeMethod(
        &server, [&server]() { server.listen(); }, Qt::BlockingQueuedConnection);
    server.setAssetRoot(root);
    qputenv("ORV_NOTIFY_URL", server.notificationBaseUrl().toUtf8());
    qputenv("ORV_PORTAL_URL", server.portalBaseUrl().toUtf8());
    UserPrompt::setResponder([](const PromptRequest& request) {
        std::fprintf(stderr, "prompt: %s %s\n", qPrintable(request.text),
                     qPrintable(request.informativeText));
        PromptAnswer answer;
        answer.button = Prompt::Ok;
        return answer;
    });

    Nginx nginx;
    const bool haveNginx =
        servers.contains(QStringLiteral("nginx")) && nginx.start(dir.path() + QStringLiteral("/nginx"), root);
    if (servers.contains(QStringLiteral("nginx")) && !haveNginx)
        std::printf("nginx is not installed or did not start: its rows are left out\n");

    int runNumber = 0;
    for (const QString& serverName : servers) {
        std::function<QString(const QString&)> url;
        if (serverName == QLatin1String("standin"))
            url = [&server](const QString& name) {
                return server.assetUrl(name).toString();
            };
        else if (serverName == QLatin1String("nginx") && haveNginx)
            url = [&nginx](const QString& name) {
                return nginx.url(name);
            };
        else
            continue;

        // The peers' URL lists, each writing into its own folder.
        const QString out = dir.path() + QStringLiteral("/peer");
        const QString curlConfig = dir.path() + QStringLiteral("/curl.conf");
        const QString urlList = dir.path() + QStringLiteral("/urls.txt");
        {
            QFile conf(curlConfig);
            conf.open(QIODevice::WriteOnly);
            QFile list(urlList);
            list.open(QIODevice::WriteOnly);
            QTextStream c(&conf), l(&list);
            for (const SmallFile& f : files) {
                c << "url = \"" << url(f.name) << "\"\noutput = \"" << out << '/' << f.name << "\"\n";
                l << url(f.name) << '\n';
            }
        }
        const std::map<QString, QStringList> toolArgs = {
            {QStringLiteral("curl"),
             {QStringLiteral("-s"), QStringLiteral("-f"), QStringLiteral("-K"), curlConfig}},
            {QStringLiteral("wget"),
             {QStringLiteral("-q"), QStringLiteral("-i"), urlList, QStringLiteral("-P"), out}},
            {QStringLiteral("aria2c"),
             {QStringLiteral("-q"), QStringLiteral("-j1"), QStringLiteral("-i"), urlList,
              QStringLiteral("-d"), out, QStringLiteral("--allow-overwrite=true"),
              QStringLiteral("--auto-file-renaming=false")}},
        };

        std::map<QString, std::vector<double>> seconds, cpu;
        bool allOk = true;
        for (int run = 0; run < runs; ++run) {
            bool ok = false;
            const Sample ours =
                runOurs(server, serverThread, dir.path(), files, reelCount, url, ++runNumber, ok);
            allOk = allOk && ok;
            seconds[QStringLiteral("ours")].push_back(ours.seconds);
            cpu[QStringLiteral("ours")].push_back(ours.cpu);
            std::printf("%-8s run %d  ours    %6.3f s  cpu %6.3f s%s\n", qPrintable(serverName), run + 1,
                        ours.seconds, ours.cpu, ok ? "" : "  (NOT every file verified!)");
            for (const QString& tool : tools) {
                // Each run writes into an empty folder; the last run's is only moved aside. On
                // ext4 without a journal (this machine's disk) every file created within seconds
                // of a mass deletion scans past the freed inodes, so a folder removed just before
                // a run would make that run, ours or a peer's, pay for the one before.
                if (QFileInfo::exists(out))
                    QDir().rename(out, out + QStringLiteral("-%1-%2").arg(runNumber).arg(tool));
                QDir().mkpath(out);
                const Sample peer = runTool(tool, toolArgs.at(tool));
                seconds[tool].push_back(peer.seconds);
                cpu[tool].push_back(peer.cpu);
                std::printf("%-8s run %d  %-7s %6.3f s  cpu %6.3f s\n", qPrintable(serverName), run + 1,
                            qPrintable(tool), peer.seconds, peer.cpu);
            }
            std::fflush(stdout);
        }

        std::printf("%s medians (range):\n", qPrintable(serverName));
        for (const auto& [who, values] : seconds) {
            const auto [lo, hi] = std::minmax_element(values.begin(), values.end());
            std::printf("  %-7s %6.3f s (%.3f..%.3f)  cpu %6.3f s\n", qPrintable(who), median(values), *lo,
                        *hi, median(cpu[who]));
        }
        if (seconds.count(QStringLiteral("curl"))) {
            // Ratios run by run (ours beside the curl run that followed it), then their median and range.
            std::vector<double> wall, cpuRatio;
            for (int i = 0; i < runs; ++i) {
                wall.push_back(seconds[QStringLiteral("ours")][size_t(i)] /
                               seconds[QStringLiteral("curl")][size_t(i)]);
                cpuRatio.push_back(cpu[QStringLiteral("ours")][size_t(i)] /
                                   std::max(1e-3, cpu[QStringLiteral("curl")][size_t(i)]));
            }
            const auto [wlo, whi] = std::minmax_element(wall.begin(), wall.end());
            const auto [clo, chi] = std::minmax_element(cpuRatio.begin(), cpuRatio.end());
            std::printf("  ours / curl: wall %.2fx (%.2f..%.2f)  cpu %.2fx (%.2f..%.2f)\n", median(wall),
                        *wlo, *whi, median(cpuRatio), *clo, *chi);
            benchRow(QStringLiteral("%1 small files (%2-%3 KB), %4")
                         .arg(count)
                         .arg(parser.value(QStringLiteral("min-kb")), parser.value(QStringLiteral("max-kb")),
                              serverName == QLatin1String("nginx") ? QStringLiteral("nginx")
                                                                   : QStringLiteral("stand-in")),
                     QStringLiteral("%1 s, cpu %2 s")
                         .arg(benchNumber(median(seconds[QStringLiteral("ours")]), 2),
                              benchNumber(median(cpu[QStringLiteral("ours")]), 2)),
                     QStringLiteral("curl %1 s, cpu %2 s")
                         .arg(benchNumber(median(seconds[QStringLiteral("curl")]), 2),
                              benchNumber(median(cpu[QStringLiteral("curl")]), 2)),
                     QStringLiteral("%1x (%2-%3), cpu %4x (%5-%6)")
                         .arg(benchNumber(median(wall), 2), benchNumber(*wlo, 2), benchNumber(*whi, 2),
                              benchNumber(median(cpuRatio), 2), benchNumber(*clo, 2), benchNumber(*chi, 2)),
                     QStringLiteral("at most 1.5x curl, wall and cpu"));
        }
        if (!allOk)
            std::printf("  NOT every file of every run was verified at its size\n");
    }

    UserPrompt::setResponder({});
    QMetaObject::invokeMethod(
        &server, [&server]() { server.close(); }, Qt::BlockingQueuedConnection);
    serverThread.quit();
    serverThread.wait();
    return 0;
}
