#pragma once

#include "core/FileIdentity.h"
#include "download/ChecksumJob.h"

#include <QList>
#include <QMutex>
#include <QObject>
#include <QString>
#include <QWaitCondition>

#include <atomic>
#include <functional>

class Reel;

// Validates downloaded reels on a thread of its own. Each queued reel is an immutable job;
// the worker hashes its files and reports every verdict through queued signals, and the
// main thread applies them to the model, the store and the notification queue. A job leaves
// the queue when the main thread has applied its outcome (release).
class ChecksumWorker : public QObject
{
    Q_OBJECT

public:
    enum Verdict
    {
        Match,
        Mismatch,
        NotExamined, // the file was on its way down again when the reel was queued
    };
    Q_ENUM(Verdict)

    ChecksumWorker();

    // Main thread: queues a reel for validation. A reel already waiting gets a fresh job in
    // its place; the reel under validation is queued again, as its files may have changed.
    void addToWorker(Reel* reel);
    // Whether the reel is waiting, being validated, or its outcome is not yet applied.
    bool haveReel(const Reel* reel) const;
    int queuedReelCount() const;
    // The queued job with this id, or null once released.
    ChecksumJobPtr job(quint64 id) const;
    // Main thread: the job's start is recorded; its files may be read now.
    void begin(quint64 id);
    // Main thread: the job's outcome is applied (or dropped); its reel leaves the queue.
    void release(quint64 id);
    // Any thread: stops reading the files of a job whose reel is gone.
    void cancel(quint64 id);

    // Upper bound of an idle wait; a queued reel wakes the worker at once.
    int getPollInterval() const { return pollInterval; }
    void setPollInterval(int ms);
    // Least time between two bytesChecked() of a job; tests shorten it.
    void setProgressInterval(int ms) { progressInterval = ms; }
    // Benchmarks: a held worker takes no new job until it is released.
    void hold(bool held);
    // Engine teardown only (tests): the loop ends after its current file and emits
    // finished(), after which the worker deletes itself.
    void requestStop();

    // Writes the file's dirty pages through to the medium and drops its cached pages,
    // so that the next read comes from the drive rather than from memory.
    static bool flushToMedium(const QString& path);
    // The verdict for one file of a job, reading it back from the medium; onRead is told the
    // bytes of each block read; read, the identity of the file as it was before its first byte
    // was read (invalid when it was not read).
    // written: the file's drive was flushed whole after the file was finished, so that only its
    // cached pages are dropped.
    static Verdict examine(const ChecksumJob::File& file,
                           const std::function<void(qint64)>& onRead = std::function<void(qint64)>(),
                           FileIdentity* read = nullptr, bool written = false);
    // A job of at least this many files to read flushes each of their drives once before the
    // first is read, instead of flushing file by file.
    static constexpr int manyFiles = 16;
    // Main thread: the ids of the reel's jobs still in the queue.
    QList<quint64> jobsOf(const Reel* reel) const;

signals:
    void jobStarted(quint64 id);
    void fileChecked(quint64 id, int index, ChecksumWorker::Verdict verdict, const FileIdentity& read);
    // Bytes of the job's files read so far, of those it has to read; a few times a second.
    void bytesChecked(quint64 id, quint64 done, quint64 total);
    void jobFinished(quint64 id);
    void finished();

public slots:
    void process();

private:
    enum class State
    {
        Waiting,
        Validating,
        Reported,
    };
    struct Entry
    {
        ChecksumJobPtr job;
        State state = State::Waiting;
        bool begun = false;
        bool cancelled = false;
    };

    // Next waiting job, marked as being validated; null when stopping. Waits meanwhile.
    ChecksumJobPtr takeNext();
    // Until the main thread has recorded the job's start: its store write would otherwise
    // queue behind the flush of the files to the drive, holding up the user interface.
    void awaitBegin(quint64 id);
    bool isCancelled(quint64 id) const;
    int indexOf(quint64 id) const; // with queueLock held

    QList<Entry> reelQueue;
    mutable QMutex queueLock;
    QWaitCondition queued;
    quint64 nextId = 1;
    std::atomic<int> pollInterval{1000};
    std::atomic<int> progressInterval{250};
    std::atomic<bool> stopRequested{false};
    bool held = false; // under queueLock
};
