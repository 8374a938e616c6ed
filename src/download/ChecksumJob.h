#pragma once

#include "model/Asset.h"

#include <QByteArray>
#include <QSharedPointer>
#include <QString>
#include <QVector>

class DCP;
class Reel;

// What the checksum worker needs to validate one reel, copied on the main thread when the
// reel is queued. The worker reads nothing else: the model's objects may change or go away
// while it hashes, so their pointers here only identify them and are dereferenced on the
// main thread alone, after checking that they are still in the catalogue.
class ChecksumJob
{
public:
    struct File
    {
        const Asset* asset = nullptr; // identity only
        AssetKey key;
        QString path;
        quint64 size = 0;
        QByteArray digest; // expected SHA-1, raw bytes
        bool verified = false;
        bool finished = false;
        unsigned attempts = 0; // when the job was made; a later value means a new download
    };

    // Main thread only.
    static QSharedPointer<const ChecksumJob> forReel(const Reel* reel, quint64 id);

    quint64 id() const { return jobId; }
    const Reel* reel() const { return reelObject; }
    const DCP* dcp() const { return dcpObject; }
    QString reelUuid() const { return reelId; }
    QString dcpUuid() const { return dcpId; }
    const QVector<File>& files() const { return fileList; }

private:
    ChecksumJob() = default;

    quint64 jobId = 0;
    const Reel* reelObject = nullptr;
    const DCP* dcpObject = nullptr;
    QString reelId;
    QString dcpId;
    QVector<File> fileList;
};

using ChecksumJobPtr = QSharedPointer<const ChecksumJob>;
