#include "download/ChecksumJob.h"

#include "model/DCP.h"
#include "model/Reel.h"
#include "model/Util.h"

QSharedPointer<const ChecksumJob> ChecksumJob::forReel(const Reel* reel, quint64 id)
{
    QSharedPointer<ChecksumJob> job(new ChecksumJob());
    job->jobId = id;
    job->reelObject = reel;
    job->dcpObject = reel->getDCP();
    job->reelId = reel->getUuid();
    job->dcpId = reel->getDCP() ? reel->getDCP()->getUuid() : QString();
    for (const Asset* asset : reel->getAssets()) {
        File file;
        file.asset = asset;
        file.key = asset->getDCP() ? asset->key() : AssetKey(asset->getUuid(), QString());
        file.path = asset->getFullPath();
        file.size = asset->getSize();
        file.digest = Util::decodeBase64(asset->getHash());
        file.verified = asset->getDownloadChecksummed();
        file.finished = asset->getDownloadFinished();
        file.attempts = asset->getDownloadAttempts();
        job->fileList.append(file);
    }
    return job;
}
