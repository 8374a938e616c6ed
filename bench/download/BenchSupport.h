#pragma once

// Shared set-up of the download benchmarks: a sandboxed store, the stand-in server on its
// own thread (so that serving does not compete with the engine's event loop), the engine,
// and samplers that run on plain threads.

#include "StandInServer.h"
#include "app/AppContext.h"
#include "core/UserPrompt.h"
#include "download/ChecksumWorker.h"
#include "download/DownloadManager.h"
#include "model/Asset.h"
#include "model/DCP.h"
#include "model/DCPManager.h"
#include "model/Reel.h"
#include "notify/NotificationManager.h"
#include "storage/DatabaseManager.h"
#include "storage/Setting.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <memory>
#include <sys/resource.h>
#include <sys/stat.h>
#include <thread>
#include <time.h>
#include <vector>

namespace bench {

inline void waitMs(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

inline qint64 fileSize(const QString& path)
{
    struct stat st;
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? qint64(st.st_size) : 0;
}

// Resident set size of this process in bytes.
inline qint64 residentBytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLongLong() * 1024;
    return -1;
}

inline double seconds(const timeval& t)
{
    return double(t.tv_sec) + double(t.tv_usec) / 1e6;
}

// CPU time (user + system) of this process, of its waited-for children, and of the
// calling thread.
inline double processCpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

inline double childrenCpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// Voluntary and involuntary context switches of this process, and of its waited-for children.
inline long processContextSwitches()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_nvcsw + usage.ru_nivcsw;
}

inline long childrenContextSwitches()
{
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    return usage.ru_nvcsw + usage.ru_nivcsw;
}

// Largest resident set of any waited-for child, in bytes.
inline qint64 childrenPeakResident()
{
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    return qint64(usage.ru_maxrss) * 1024;
}

inline double threadCpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

// Samples a value every period on its own thread: sample i is taken at start + i*period.
class Sampler
{
public:
    template <typename F> Sampler(int periodMs, F probe)
    {
        thread = std::thread([this, periodMs, probe]() {
            auto next = std::chrono::steady_clock::now();
            while (!stop) {
                values.push_back(probe());
                next += std::chrono::milliseconds(periodMs);
                std::this_thread::sleep_until(next);
            }
        });
    }
    ~Sampler() { finish(); }
    const std::vector<qint64>& finish()
    {
        stop = true;
        if (thread.joinable())
            thread.join();
        return values;
    }

private:
    std::atomic<bool> stop{false};
    std::vector<qint64> values;
    std::thread thread;
};

// Everything the engine needs, in a temporary folder.
class Environment
{
public:
    Environment()
    {
        serverThread.start();
        server.moveToThread(&serverThread);
        QMetaObject::invokeMethod(
            &server, [this]() { server.listen(); }, Qt::BlockingQueuedConnection);
        server.setAssetRoot(dir.path() + QStringLiteral("/server"));
        QDir().mkpath(server.assetRoot());
        qputenv("ORV_NOTIFY_URL", server.notificationBaseUrl().toUtf8());
        qputenv("ORV_PORTAL_URL", server.portalBaseUrl().toUtf8());
        UserPrompt::setResponder([](const PromptRequest& request) {
            std::fprintf(stderr, "prompt: %s %s\n", qPrintable(request.text),
                         qPrintable(request.informativeText));
            PromptAnswer answer;
            answer.button = Prompt::Ok;
            return answer;
        });
        context = std::make_unique<AppContext>(dir.path());
        context->engine();
    }
    ~Environment()
    {
        context.reset();
        UserPrompt::setResponder({});
        QMetaObject::invokeMethod(
            &server, [this]() { server.close(); }, Qt::BlockingQueuedConnection);
        serverThread.quit();
        serverThread.wait();
    }

    DownloadManager* engine() const { return &context->engine(); }

    // CPU time the server's thread has used, so that it can be taken out of the process's.
    double serverCpuSeconds()
    {
        double value = 0;
        QMetaObject::invokeMethod(
            &server, [&value]() { value = threadCpuSeconds(); }, Qt::BlockingQueuedConnection);
        return value;
    }
    QString downloads() const { return dir.path() + QStringLiteral("/downloads"); }
    QString serverFile(const QString& name) const { return server.assetRoot() + QLatin1Char('/') + name; }

    // A sparse file of the given size on the server side: content does not matter for
    // throughput, and nothing is written to disk.
    QString sparseAsset(const QString& name, qint64 size) const
    {
        QFile file(serverFile(name));
        file.open(QIODevice::WriteOnly);
        file.resize(size);
        return file.fileName();
    }

    // A one-reel, one-asset DCP downloading the server's file (or the file at url).
    Asset* addDownload(const QString& uuid, const QString& serverName, quint64 size,
                       const QString& hash = QString(), const QString& url = QString())
    {
        auto* dcp = new DCP(uuid, uuid, QString(), downloads(), &context->store());
        dcp->setFriendlyTitle(uuid);
        auto* reel = new Reel(uuid + QStringLiteral("-reel"), QString(), QString(), QString(), 1);
        reel->setDCP(dcp);
        dcp->addReel(reel);
        auto* asset = new Asset(uuid + QStringLiteral("-asset"), hash, size,
                                QStringLiteral("application/mxf"), QStringLiteral(".") + serverName,
                                url.isEmpty() ? server.assetUrl(serverName).toString() : url);
        asset->setDCP(dcp);
        asset->addReel(reel);
        reel->addAsset(asset);
        dcp->addAsset(asset);
        dcp->syncToDatabase(&context->catalogue());
        context->catalogue().addDCP(dcp);
        return asset;
    }

    void removeDownload(Asset* asset)
    {
        const QString path = asset->getFullPath();
        engine()->pauseDownloading(true);
        engine()->removeDownload(asset->getDCP());
        QFile::remove(path);
    }

    QTemporaryDir dir{QDir::currentPath() + QStringLiteral("/bench-XXXXXX")};
    StandInServer server;
    QThread serverThread;
    std::unique_ptr<AppContext> context;
};

// One run of an external program: file size each second from its first byte on, and the
// bytes it wrote and the time it took from that first byte to its end (or to the limit).
struct ToolRun
{
    std::vector<qint64> samples;
    qint64 bytes = 0;
    double seconds = 0;
    bool started = false;
    double cpuSeconds = 0; // user + system time of the program
    long contextSwitches = 0;
    qint64 peakResident = 0; // its largest resident set
};

inline ToolRun runTool(const QString& program, const QStringList& args, const QString& outFile, int limitMs)
{
    ToolRun run;
    QFile::remove(outFile);
    const double cpuBefore = childrenCpuSeconds();
    const long switchesBefore = childrenContextSwitches();
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.setStandardOutputFile(QProcess::nullDevice());
    process.start(program, args);
    if (!process.waitForStarted(5000))
        return run;
    run.started = true;
    // Measured from the first byte on, as the engine is.
    QElapsedTimer clock;
    clock.start();
    while (fileSize(outFile) == 0 && process.state() == QProcess::Running && clock.elapsed() < 10000)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    clock.restart();
    Sampler sampler(1000, [outFile]() { return fileSize(outFile); });
    const bool ended = process.waitForFinished(limitMs);
    run.seconds = clock.elapsed() / 1000.0;
    run.bytes = fileSize(outFile);
    run.samples = sampler.finish();
    if (!ended) {
        process.kill();
        process.waitForFinished();
    } else if (process.exitCode() != 0) {
        std::fprintf(stderr, "%s ended with code %d\n", qPrintable(program), process.exitCode());
    }
    run.cpuSeconds = childrenCpuSeconds() - cpuBefore;
    run.contextSwitches = childrenContextSwitches() - switchesBefore;
    run.peakResident = childrenPeakResident();
    QFile::remove(outFile);
    return run;
}

} // namespace bench
