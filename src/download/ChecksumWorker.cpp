#include "download/ChecksumWorker.h"

#include "core/FileManager.h"
#include "model/Reel.h"

#include <QDebug>
#include <QElapsedTimer>
#include <QFile>
#include <QMutexLocker>

#include <QSet>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

ChecksumWorker::ChecksumWorker() : QObject(nullptr)
{
    qRegisterMetaType<ChecksumWorker::Verdict>("ChecksumWorker::Verdict");
    qRegisterMetaType<FileIdentity>("FileIdentity");
}

void ChecksumWorker::addToWorker(Reel* reel)
{
    QMutexLocker locker(&queueLock);
    for (int i = reelQueue.size() - 1; i >= 0; --i) {
        Entry& entry = reelQueue[i];
        if (entry.job->reel() != reel)
            continue;
        if (entry.state == State::Waiting && !entry.cancelled) {
            entry.job = ChecksumJob::forReel(reel, entry.job->id());
            return;
        }
        break;
    }
    Entry entry;
    entry.job = ChecksumJob::forReel(reel, nextId++);
    reelQueue.append(entry);
    queued.wakeAll();
}

bool ChecksumWorker::haveReel(const Reel* reel) const
{
    QMutexLocker locker(&queueLock);
    for (const Entry& entry : reelQueue)
        if (entry.job->reel() == reel)
            return true;
    return false;
}

int ChecksumWorker::queuedReelCount() const
{
    QMutexLocker locker(&queueLock);
    return reelQueue.size();
}

int ChecksumWorker::indexOf(quint64 id) const
{
    for (int i = 0; i < reelQueue.size(); ++i)
        if (reelQueue.at(i).job->id() == id)
            return i;
    return -1;
}

ChecksumJobPtr ChecksumWorker::job(quint64 id) const
{
    QMutexLocker locker(&queueLock);
    const int at = indexOf(id);
    return at < 0 ? ChecksumJobPtr() : reelQueue.at(at).job;
}

void ChecksumWorker::release(quint64 id)
{
    QMutexLocker locker(&queueLock);
    const int at = indexOf(id);
    if (at >= 0)
        reelQueue.removeAt(at);
}

void ChecksumWorker::begin(quint64 id)
{
    QMutexLocker locker(&queueLock);
    const int at = indexOf(id);
    if (at >= 0)
        reelQueue[at].begun = true;
    queued.wakeAll();
}

void ChecksumWorker::cancel(quint64 id)
{
    QMutexLocker locker(&queueLock);
    const int at = indexOf(id);
    if (at >= 0)
        reelQueue[at].cancelled = true;
    queued.wakeAll();
}

void ChecksumWorker::awaitBegin(quint64 id)
{
    QMutexLocker locker(&queueLock);
    for (;;) {
        const int at = indexOf(id);
        if (stopRequested || at < 0 || reelQueue.at(at).begun || reelQueue.at(at).cancelled)
            return;
        queued.wait(&queueLock, qMax(1, int(pollInterval)));
    }
}

bool ChecksumWorker::isCancelled(quint64 id) const
{
    QMutexLocker locker(&queueLock);
    const int at = indexOf(id);
    return at < 0 || reelQueue.at(at).cancelled;
}

void ChecksumWorker::setPollInterval(int ms)
{
    QMutexLocker locker(&queueLock);
    pollInterval = ms;
    queued.wakeAll();
}

void ChecksumWorker::hold(bool value)
{
    QMutexLocker locker(&queueLock);
    held = value;
    queued.wakeAll();
}

void ChecksumWorker::requestStop()
{
    QMutexLocker locker(&queueLock);
    stopRequested = true;
    queued.wakeAll();
}

bool ChecksumWorker::flushToMedium(const QString& path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    bool ok = true;
    if (::fdatasync(fd) != 0) {
        qDebug() << "[ChecksumWorker] fdatasync failed for:" << path;
        ok = false;
    }
    if (::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED) != 0) {
        qDebug() << "[ChecksumWorker] posix_fadvise failed for:" << path;
        ok = false;
    }
    ::close(fd);
    return ok;
}

QList<quint64> ChecksumWorker::jobsOf(const Reel* reel) const
{
    QMutexLocker locker(&queueLock);
    QList<quint64> ids;
    for (const Entry& entry : reelQueue)
        if (entry.job->reel() == reel)
            ids.append(entry.job->id());
    return ids;
}

namespace {

// Writes through every dirty page of the drives that hold the files, one drive at a time: for
// a reel of thousands of subtitle images one cache flush of the drive instead of one per file.
// False when a drive could not be flushed.
bool flushDrivesOf(const QVector<ChecksumJob::File>& files)
{
    QSet<dev_t> flushed;
    bool ok = true;
    for (const ChecksumJob::File& file : files) {
        if (file.verified || !file.finished)
            continue;
        const QByteArray path = QFile::encodeName(file.path);
        struct stat info;
        if (::stat(path.constData(), &info) != 0 || flushed.contains(info.st_dev))
            continue;
        const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
        if (fd < 0 || ::syncfs(fd) != 0) {
            qDebug() << "[ChecksumWorker] Unable to flush the drive of:" << file.path;
            ok = false;
        } else {
            flushed.insert(info.st_dev);
        }
        if (fd >= 0)
            ::close(fd);
    }
    return ok;
}

// Drops the file's cached pages, written through already.
void dropCachedPages(const QString& path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return;
    if (::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED) != 0)
        qDebug() << "[ChecksumWorker] posix_fadvise failed for:" << path;
    ::close(fd);
}

} // namespace

ChecksumWorker::Verdict ChecksumWorker::examine(const ChecksumJob::File& file,
                                                const std::function<void(qint64)>& onRead, FileIdentity* read,
                                                bool written)
{
    if (file.verified)
        return Match;
    if (!file.finished)
        return NotExamined;
    if (written)
        dropCachedPages(file.path);
    else
        flushToMedium(file.path);
    // Taken before the first byte: a file changed while it is read then differs from it.
    if (read)
        *read = FileIdentity::of(file.path);
    Verdict verdict = Mismatch;
    try {
        verdict = FileManager::getFileSHA1(file.path, onRead) == file.digest ? Match : Mismatch;
    } catch (const std::exception& e) {
        qDebug() << "[ChecksumWorker] Unable to read:" << file.path << e.what();
    }
    if (verdict == Mismatch)
        qDebug() << "[ChecksumWorker] Digest differs for:" << file.path << "holding"
                 << FileManager::getFileSize(file.path) << "of" << file.size << "bytes";
    return verdict;
}

ChecksumJobPtr ChecksumWorker::takeNext()
{
    QMutexLocker locker(&queueLock);
    while (!stopRequested) {
        for (Entry& entry : reelQueue) {
            if (entry.state == State::Waiting && !entry.cancelled && !held) {
                entry.state = State::Validating;
                return entry.job;
            }
        }
        queued.wait(&queueLock, qMax(1, int(pollInterval)));
    }
    return ChecksumJobPtr();
}

void ChecksumWorker::process()
{
    while (const ChecksumJobPtr job = takeNext()) {
        qDebug() << "[ChecksumWorker] Found a job!";
        emit jobStarted(job->id());
        awaitBegin(job->id());
        const QVector<ChecksumJob::File>& files = job->files();
        quint64 total = 0;
        int toRead = 0;
        for (const ChecksumJob::File& file : files) {
            if (file.finished && !file.verified) {
                total += file.size;
                ++toRead;
            }
        }
        quint64 done = 0;
        // A drive that could not be flushed whole is flushed file by file.
        const bool written = toRead >= manyFiles && flushDrivesOf(files);
        QElapsedTimer sinceReport;
        sinceReport.start();
        const auto onRead = [&](qint64 bytes) {
            done += quint64(bytes);
            if (sinceReport.elapsed() >= progressInterval) {
                sinceReport.restart();
                emit bytesChecked(job->id(), done, total);
            }
        };
        for (int i = 0; i < files.size() && !stopRequested; ++i) {
            if (isCancelled(job->id()))
                break;
            FileIdentity read;
            const Verdict verdict = examine(files.at(i), onRead, &read, written);
            emit fileChecked(job->id(), i, verdict, read);
        }
        emit jobFinished(job->id());
        QMutexLocker locker(&queueLock);
        const int at = indexOf(job->id());
        if (at >= 0)
            reelQueue[at].state = State::Reported;
    }
    emit finished();
}
