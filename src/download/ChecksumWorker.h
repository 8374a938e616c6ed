#pragma once

#include <QList>
#include <QMutex>
#include <QObject>
#include <QString>

#include <atomic>
#include <functional>

class Asset;
class DownloadManager;
class Reel;

// Validates downloaded reels on a thread of its own: every poll interval it takes the
// head of its reel queue and compares each asset file's SHA-1 with the packing list.
// Everything that touches the store, the notification queue or the model's signals is
// handed to the main thread, which owns the database connection.
class ChecksumWorker : public QObject
{
    Q_OBJECT

public:
    explicit ChecksumWorker(DownloadManager* engine);

    // Main thread: queues a reel for validation. A reel already waiting is not queued
    // twice; the reel under validation is, because its files may have changed since.
    void addToWorker(Reel* reel);
    // Whether the reel is waiting or being validated.
    bool haveReel(Reel* reel) const;
    int queuedReelCount() const;

    int getPollInterval() const { return pollInterval; }
    void setPollInterval(int ms) { pollInterval = ms; }
    // Engine teardown only (tests): the loop ends after its current job and emits
    // finished(), after which the worker deletes itself.
    void requestStop() { stopRequested = true; }

    // Writes the file's dirty pages through to the medium and drops its cached pages,
    // so that the next read comes from the drive rather than from memory.
    static bool flushToMedium(const QString& path);

    // Main thread only: whether the reel's DCP is still in the catalogue and lists the reel.
    static bool isListed(const Reel* reel);

signals:
    void finished();

public slots:
    void process();

private:
    void validateReel(Reel* reel);
    bool truncateForRedownload(Asset* asset);
    // Runs the work on the main thread and waits for it; a std::exception thrown there
    // comes back as a std::runtime_error here.
    void onMainThread(const std::function<void()>& work);

    QList<Reel*> reelQueue;
    mutable QMutex queueLock;
    Reel* validating = nullptr; // head of reelQueue while its validation runs
    DownloadManager* engine;
    std::atomic<int> pollInterval{1000};
    std::atomic<bool> stopRequested{false};
};
