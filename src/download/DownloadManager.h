#pragma once

#include "model/Asset.h"
#include "model/DCP.h"

#include <QList>
#include <QMap>
#include <QNetworkReply>
#include <QObject>
#include <QString>

#include <functional>

class ChecksumWorker;
class QFile;
class QNetworkAccessManager;
class QThread;
class QTimer;
class Reel;

// The download engine: one queue of assets over every DCP of the catalogue, transferred
// one at a time over HTTP with resumption and a bandwidth limit, and handed reel by reel
// to the checksum worker once downloaded. Lives on the main thread.
class DownloadManager : public QObject
{
    Q_OBJECT
    Q_PROPERTY(
        unsigned read_chunk_size READ getReadChunkSize WRITE setReadChunkSize NOTIFY readChunkSizeChanged)
    Q_PROPERTY(bool paused READ isPaused NOTIFY pausedChanged)
    Q_PROPERTY(DCP* current_dcp READ getCurrentDownloadingDCP NOTIFY currentDcpChanged)
    Q_PROPERTY(bool limit_off READ isLimitOff WRITE setLimitOff NOTIFY limitOffChanged)

public:
    static DownloadManager* getInstance();

    // Rebuilds the queue from the catalogue after it changed.
    void assetsChanged();
    // Starts the head of the queue if nothing runs and downloads are not paused.
    void startDownloading();
    // Aborts the running transfer, if any; the asset stays current.
    void stopDownloading();
    bool isEnoughDiskSpace(const QString& path, qint64 size);
    void addDownloadItem(Asset* asset, bool force = false);
    Asset* getDownloadItem(const Asset* asset) const;
    void handleExpiredLinks(DCP* dcp, const QString& message);

    unsigned getReadChunkSize() const { return readChunkSize; }
    void setReadChunkSize(unsigned value);
    bool isPaused() const { return paused; }
    // No-limit mode: the body is read as it arrives instead of one chunk per tick.
    bool isLimitOff() const { return limitOff; }
    void setLimitOff(bool value);

    Q_INVOKABLE void startDownloading(DCP* dcp);
    Q_INVOKABLE void pauseDownloading(bool force);
    Q_INVOKABLE void pauseDownloading() { pauseDownloading(false); }
    Q_INVOKABLE void resumeDownloading();
    Q_INVOKABLE void removeDownloadReel(Reel* reel);
    Q_INVOKABLE bool removeDownload(DCP* dcp);
    Q_INVOKABLE DCP* getCurrentDownloadingDCP() const;

    // Read-only views for the tests and the benchmarks.
    const QList<Asset*>& getDownloadQueue() const { return downloadQueue; }
    Asset* getCurrentAsset() const { return currentAsset; }
    QNetworkReply* getCurrentReply() const { return currentReply; }
    ChecksumWorker* getChecksumWorker() const { return checksumWorker; }

    // Timer intervals: product values by default; tests shorten them.
    int getTimeoutInterval() const { return timeoutInterval; }
    void setTimeoutInterval(int ms) { timeoutInterval = ms; }
    int getReadInterval() const { return readInterval; }
    void setReadInterval(int ms) { readInterval = ms; }
    quint32 getReadBufferSize() const { return readBufferSize; }
    // What the network layer may read ahead of the file for the current limit.
    quint32 replyBufferSize() const;

    // What one read of the body did, for tests of the limit that need no clock.
    struct TickRecord
    {
        qint64 written = 0;      // bytes appended to the file
        quint32 chunk = 0;       // the per-tick chunk in force
        quint64 carryBefore = 0; // unused allowance brought into the read
        quint64 carryAfter = 0;  // unused allowance kept for the next read
        quint32 buffer = 0;      // the reply's read-buffer size
        bool replyFinished = false;
    };
    void setTickObserver(std::function<void(const TickRecord&)> observer)
    {
        tickObserver = std::move(observer);
    }

    // Tests only: replaces the free-space lookup of the disk check (bytes available on
    // the volume holding the path); an empty function restores the real one.
    void setFreeSpaceProbe(std::function<qint64(const QString&)> probe) { freeSpaceProbe = std::move(probe); }

    // Tests only: stops the checksum thread, aborts any transfer and destroys the engine,
    // so that the next getInstance() builds a fresh one from the current settings.
    static void resetForTesting();

signals:
    void downloadProgress(double speed);
    void downloadPaused();
    void downloadStandBy();
    void bufferSizeChanged();
    void pausedChanged();
    void readChunkSizeChanged();
    void assetNeedsRedownloading(Asset* asset);
    void currentDcpChanged();
    void limitOffChanged();
    // Three attempts in a row for one asset failed; reason says how the last one did.
    void serverNotAnswering(const QString& reason);

private slots:
    void downloadFinished();
    void downloadReadyRead();
    void error(QNetworkReply::NetworkError code);
    void metaDataChanged();
    void downloadTimedOut();
    void retryAssetDownload(Asset* asset);
    void replyReadyRead();

private:
    DownloadManager();
    ~DownloadManager() override;

    void startTransfer();
    // One read of the body; true when a finished reply has nothing left to write.
    bool readTick();
    void concludeReply();
    void showUnwritableFile(const QString& path);
    static QString failureReason(const QNetworkReply* reply);
    bool checkBodyStart(QFile* file);
    bool fileLost(const QFile* file) const;
    void stopForLostFile();
    void stopForStoreFailure(const std::exception& e);
    void closeFile();
    void noteFailedAttempt(const QString& reason);
    void failTransfer();
    void releaseReply();
    void abandonTransfer();
    void completeTransfer();
    void advanceQueue(Asset* done);
    void forgetQueued(Asset* asset);
    // Leaves the queue for good (its DCP or reel is being removed), aborting it if current.
    void forgetRemoved(Asset* asset);
    void handOverToWorker(Reel* reel);
    void persistPaused(bool value);
    void reportFailure(const QString& what, const std::exception& e);
    qint64 freeSpace(const QString& path) const;

    QList<Asset*> downloadQueue;
    QMap<AssetKey, Asset*> downloadItems;
    Asset* currentAsset = nullptr;
    quint64 bytesSinceSample = 0;
    QNetworkAccessManager* networkManager = nullptr;
    QNetworkReply* currentReply = nullptr;
    QTimer* timeoutTimer = nullptr;
    int timeoutInterval = 15000;
    QTimer* readTimer = nullptr;
    int readInterval = 20;
    quint32 readBufferSize = 1048576;
    quint32 readChunkSize = 20971520;
    bool paused = false;
    bool currentRemoved = false;
    ChecksumWorker* checksumWorker = nullptr;

    // State of the running request.
    qint64 resumeOffset = 0;         // file length the request asked to continue from
    bool bodyChecked = false;        // status and Content-Range of this reply validated
    bool bodyFlowing = false;        // this reply has delivered data to the file
    bool finishDespiteError = false; // 416 for a file that already holds the whole asset
    quint64 carriedAllowance = 0;    // read allowance earlier ticks could not use
    bool replyDone = false;          // the reply finished; what it holds drains tick by tick
    qint64 fileLength = 0;           // length of the open file, kept as bytes are appended
    QFile* transferFile = nullptr;   // the current asset's open file, while a read holds it
    qint64 lastLinkCheck = -1;       // when the open file's link and folder were last checked
    quint64 transferSerial = 0;      // counts started requests, to spot stale deferred calls
    bool inTick = false;
    bool limitOff = false;
    QByteArray readBuffer;

    // Failed attempts in a row for one asset.
    const Asset* failingAsset = nullptr;
    int failedAttempts = 0;

    static constexpr quint32 noLimitBufferSize = 4 * 1048576;
    static constexpr quint32 minReplyBufferSize = 16384;
    static constexpr qint64 linkCheckInterval = 250; // ms

    QThread* workerThread = nullptr;
    std::function<qint64(const QString&)> freeSpaceProbe;
    std::function<void(const TickRecord&)> tickObserver;

    static DownloadManager* m_instance;
};
