#pragma once

#include "download/ChecksumWorker.h"
#include "notify/NotificationType.h"

#include <QHash>
#include <QObject>

class Asset;
class DCPManager;
class DatabaseManager;
class DownloadManager;
class QThread;
class Reel;

// Runs the checksum worker on a thread of its own and applies its verdicts on the main
// thread, which owns the model, the store connection and the notification queue: asset
// flags, re-downloads (at most two per asset, the third mismatch marks it corrupted), the
// reel's outcome and its events.
class ChecksumVerdicts : public QObject
{
    Q_OBJECT

public:
    ChecksumVerdicts(DownloadManager* engine, const DCPManager& catalogue, DatabaseManager& store,
                     ReelEventSink events);
    // Stops the worker; verdicts still on their way are dropped.
    ~ChecksumVerdicts() override;

    ChecksumWorker* getWorker() const { return worker; }

    // Whether the reel's DCP is still in the catalogue and lists the reel.
    bool isListed(const Reel* reel) const;
    // Calls off the reel's validation: a waiting job leaves the queue, a running one is read
    // no further, and nothing of either is applied or reported.
    void withdraw(Reel* reel);

private slots:
    void jobStarted(quint64 id);
    void fileChecked(quint64 id, int index, ChecksumWorker::Verdict verdict, const FileIdentity& read);
    void jobFinished(quint64 id);
    void bytesChecked(quint64 id, quint64 done, quint64 total);

private:
    struct Progress
    {
        ChecksumJobPtr job;
        bool dropped = false;
        bool requeued = false;
        bool corrupted = false;
        bool recheck = false;   // a file was renamed while it was read
        bool driveGone = false; // read while the drive was pulled: says nothing about the file
    };

    // The job's reel if it is still listed, else null (and the job is dropped).
    Reel* liveReel(Progress& progress);
    void apply(Progress& progress, Reel* reel, int index, ChecksumWorker::Verdict verdict,
               const FileIdentity& read);
    void report(const Progress& progress, Reel* reel);
    void abort(Progress& progress, const std::exception& e);
    bool truncateForRedownload(Asset* asset);

    ChecksumWorker* worker;
    QThread* workerThread;
    DownloadManager* engine;
    const DCPManager& catalogue;
    DatabaseManager& store;
    const ReelEventSink events;
    QHash<quint64, Progress> running;
};
