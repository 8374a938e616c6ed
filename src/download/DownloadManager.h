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

private slots:
    void downloadFinished();
    void downloadReadyRead();
    void error(QNetworkReply::NetworkError code);
    void metaDataChanged();
    void downloadTimedOut();
    void retryAssetDownload(Asset* asset);

private:
    DownloadManager();
    ~DownloadManager() override;

    void startTransfer();
    void readTick();
    bool checkBodyStart(QFile* file);
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
    bool inTick = false;

    QThread* workerThread = nullptr;
    std::function<qint64(const QString&)> freeSpaceProbe;

    static DownloadManager* m_instance;
};
