#include "download/ChecksumVerdicts.h"

#include "core/FileManager.h"
#include "download/DownloadManager.h"
#include "model/Asset.h"
#include "model/DCP.h"
#include "model/DCPManager.h"
#include "model/Reel.h"
#include "storage/DatabaseManager.h"

#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <QThread>

ChecksumVerdicts::ChecksumVerdicts(DownloadManager* engine, const DCPManager& catalogue,
                                   DatabaseManager& store, ReelEventSink events)
    : QObject(engine), worker(new ChecksumWorker()), workerThread(new QThread()), engine(engine),
      catalogue(catalogue), store(store), events(std::move(events))
{
    worker->moveToThread(workerThread);
    connect(workerThread, &QThread::started, worker, &ChecksumWorker::process);
    connect(worker, &ChecksumWorker::finished, workerThread, &QThread::quit);
    connect(worker, &ChecksumWorker::finished, worker, &QObject::deleteLater);
    connect(workerThread, &QThread::finished, workerThread, &QObject::deleteLater);
    connect(worker, &ChecksumWorker::jobStarted, this, &ChecksumVerdicts::jobStarted, Qt::QueuedConnection);
    connect(worker, &ChecksumWorker::fileChecked, this, &ChecksumVerdicts::fileChecked, Qt::QueuedConnection);
    connect(worker, &ChecksumWorker::jobFinished, this, &ChecksumVerdicts::jobFinished, Qt::QueuedConnection);
    connect(worker, &ChecksumWorker::bytesChecked, this, &ChecksumVerdicts::bytesChecked,
            Qt::QueuedConnection);
    workerThread->start(QThread::InheritPriority);
}

ChecksumVerdicts::~ChecksumVerdicts()
{
    // Only reached when the engine is destroyed, in tests: the program never stops the worker.
    worker->disconnect(this);
    worker->requestStop();
    // Directly: the queued quit of the worker's finished() would need this thread's loop.
    workerThread->quit();
    workerThread->wait();
}

bool ChecksumVerdicts::isListed(const Reel* reel) const
{
    const DCP* dcp = reel->getDCP();
    return dcp && catalogue.getDCPs().contains(const_cast<DCP*>(dcp)) &&
           dcp->getReels().contains(const_cast<Reel*>(reel));
}

void ChecksumVerdicts::withdraw(Reel* reel)
{
    for (const quint64 id : worker->jobsOf(reel)) {
        const auto found = running.find(id);
        if (found == running.end()) {
            worker->release(id); // not started here yet: it never will be
            continue;
        }
        found->dropped = true;
        worker->cancel(id);
    }
    if (isListed(reel))
        reel->setCheckProgress(0);
}

void ChecksumVerdicts::bytesChecked(quint64 id, quint64 done, quint64 total)
{
    const auto found = running.find(id);
    if (found == running.end() || total == 0)
        return;
    if (Reel* reel = liveReel(*found))
        reel->setCheckProgress(qMin(1.0, double(done) / double(total)));
}

Reel* ChecksumVerdicts::liveReel(Progress& progress)
{
    if (progress.dropped)
        return nullptr;
    // Only pointers found in the catalogue are followed: the reel may have been destroyed.
    const ChecksumJob& job = *progress.job;
    DCP* dcp = nullptr;
    for (DCP* listed : catalogue.getDCPs())
        if (listed == job.dcp() && listed->getUuid() == job.dcpUuid())
            dcp = listed;
    Reel* reel = nullptr;
    if (dcp)
        for (Reel* listed : dcp->getReels())
            if (listed == job.reel() && listed->getUuid() == job.reelUuid())
                reel = listed;
    if (reel)
        return reel;
    // Its DCP or the reel was removed while it waited or was read. Its files stay on disk for
    // the user then, so nothing of it may be emptied, queued again or reported any more.
    qDebug() << "[ChecksumWorker] Reel no longer listed, validation dropped for:" << job.reelUuid();
    progress.dropped = true;
    worker->cancel(job.id());
    return nullptr;
}

void ChecksumVerdicts::abort(Progress& progress, const std::exception& e)
{
    // The reel is dropped from the queue rather than retried; it stays downloaded but
    // unverified, so the next start hands it over again.
    qDebug() << "[ChecksumWorker] validation aborted for:" << progress.job->reelUuid() << e.what();
    Reel* reel = liveReel(progress);
    progress.dropped = true;
    worker->cancel(progress.job->id());
    if (reel && reel->getDCP())
        reel->getDCP()->announceStatus();
}

void ChecksumVerdicts::jobStarted(quint64 id)
{
    const ChecksumJobPtr job = worker->job(id);
    if (!job)
        return;
    Progress& progress = running[id];
    progress.job = job;
    try {
        if (Reel* reel = liveReel(progress))
            events(reel, NotificationType::ChecksumStarted);
    } catch (const std::exception& e) {
        abort(progress, e);
    }
    worker->begin(id);
}

void ChecksumVerdicts::fileChecked(quint64 id, int index, ChecksumWorker::Verdict verdict,
                                   const FileIdentity& read)
{
    const auto found = running.find(id);
    if (found == running.end() || index < 0 || index >= found->job->files().size())
        return;
    try {
        if (Reel* reel = liveReel(*found))
            apply(*found, reel, index, verdict, read);
    } catch (const std::exception& e) {
        abort(*found, e);
    }
}

void ChecksumVerdicts::apply(Progress& progress, Reel* reel, int index, ChecksumWorker::Verdict verdict,
                             const FileIdentity& read)
{
    const ChecksumJob::File& file = progress.job->files().at(index);
    Asset* asset = nullptr;
    for (Asset* listed : reel->getAssets())
        if (listed == file.asset)
            asset = listed;
    if (!asset)
        return; // dropped from the reel meanwhile (its DCP went, the reel lives on elsewhere)

    if (verdict == ChecksumWorker::NotExamined || !asset->getDownloadFinished() ||
        asset->getDownloadAttempts() != file.attempts) {
        // Shared with another reel whose validation already sent it back: it is on its way
        // down again and will be checked when it arrives.
        progress.requeued = true;
        return;
    }
    if (verdict == ChecksumWorker::Mismatch && asset->getDCP() &&
        !QFileInfo(asset->getDCP()->getDownloadPath()).isDir()) {
        // The drive went while the file was read: the reel is verified when the drive is back,
        // rather than its good files being thrown away.
        qDebug() << "[ChecksumWorker] Drive gone while reading:" << file.path;
        progress.driveGone = true;
        return;
    }
    if (verdict == ChecksumWorker::Mismatch && asset->getFullPath() != file.path) {
        // Renamed while it was read: what was read says nothing; read it again.
        progress.recheck = true;
        return;
    }

    if (verdict == ChecksumWorker::Match) {
        // What was read, so that only this very file is ever given its final name. A file
        // verified before (not read now) keeps the record of its own reading.
        if (read.isValid())
            store.recordVerifiedFile(asset, read);
        asset->setDownloadChecksummed(true);
        asset->setDownloadCorrupted(false);
    } else if (asset->getDownloadAttempts() >= 2) {
        progress.corrupted = true;
        asset->setDownloadCorrupted(true);
    } else {
        progress.requeued = true;
        // Emptied while still marked finished, so no transfer can have it.
        truncateForRedownload(asset);
        asset->setDownloadAttempts(asset->getDownloadAttempts() + 1);
        asset->setDownloadFinished(false);
    }
    store.updateAssetDownloadFields(asset);
    if (!asset->getDownloadFinished())
        engine->redownload(asset);
}

void ChecksumVerdicts::jobFinished(quint64 id)
{
    const auto found = running.find(id);
    if (found == running.end()) {
        worker->release(id);
        return;
    }
    Progress progress = *found;
    running.erase(found);
    worker->release(id);
    try {
        Reel* reel = liveReel(progress);
        if (reel)
            reel->setCheckProgress(0);
        if (!reel || progress.driveGone)
            return;
        if (progress.recheck && !progress.requeued)
            worker->addToWorker(reel);
        else
            report(progress, reel);
    } catch (const std::exception& e) {
        abort(progress, e);
    }
}

void ChecksumVerdicts::report(const Progress& progress, Reel* reel)
{
    if (progress.requeued) {
        qDebug() << "[ChecksumWorker] failed checksum for:" << reel->getUuid() << "requeued...";
        reel->announceRequeued();
    } else if (progress.corrupted) {
        qDebug() << "[ChecksumWorker] failed checksum for:" << reel->getUuid();
        reel->announceCorrupted();
    } else {
        qDebug() << "[ChecksumWorker] checksum OK for:" << reel->getUuid();
        reel->announceChecksummed();
    }
    events(reel, (progress.requeued || progress.corrupted) ? NotificationType::ChecksumFailed
                                                           : NotificationType::ChecksumOk);
}

bool ChecksumVerdicts::truncateForRedownload(Asset* asset)
{
    try {
        QFile* file = asset->getFileHandle();
        const bool truncated = file->resize(0);
        asset->closeFileHandle();
        if (truncated)
            return true;
    } catch (const std::exception& e) {
        qDebug() << "[ChecksumWorker] Unable to open for truncation:" << asset->getFullPath() << e.what();
    }
    // A file that cannot be emptied is removed instead: the new download then starts at
    // byte 0 either way. If the drive is gone, the transfer reports it to the user.
    FileManager::removeFile(asset->getFullPath());
    return !FileManager::fileExists(asset->getFullPath());
}
