#pragma once

#include "download/AssetTransfer.h"
#include "download/DownloadDrives.h"
#include "download/DownloadOrder.h"
#include "download/DownloadQueue.h"
#include "model/Asset.h"
#include "model/DCP.h"
#include "notify/NotificationType.h"

#include <QList>
#include <QNetworkReply>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class ChecksumVerdicts;
class ChecksumWorker;
class DCPManager;
class DatabaseManager;
class DriveWatch;
class KeptFiles;
class QNetworkAccessManager;
class Reel;
class Setting;
class TransferOutcomes;

// The download engine: one queue of assets over every DCP of the catalogue, transferred
// one at a time over HTTP with resumption and a bandwidth limit, and handed reel by reel
// to the checksum worker once downloaded. Lives on the main thread. This class walks the
// queue (which asset is next, the transfer under way, pauses, the order, the schedule's
// hold); its drives, the outcomes of its transfers and the files kept from an import are
// parts it owns.
class DownloadManager : public QObject
{
    Q_OBJECT
    Q_PROPERTY(
        unsigned read_chunk_size READ getReadChunkSize WRITE setReadChunkSize NOTIFY readChunkSizeChanged)
    Q_PROPERTY(bool paused READ isPaused NOTIFY pausedChanged)
    Q_PROPERTY(DCP* current_dcp READ getCurrentDownloadingDCP NOTIFY currentDcpChanged)
    Q_PROPERTY(bool limit_off READ isLimitOff WRITE setLimitOff NOTIFY limitOffChanged)
    // The first DCP in download order whose drive lacks room for it, said for the status bar.
    Q_PROPERTY(QString room_warning READ roomWarning NOTIFY roomChanged)

public:
    // Reads the paused and limit settings and starts the checksum worker; the queue stays
    // empty until assetsChanged().
    DownloadManager(Setting& settings, DCPManager& catalogue, DatabaseManager& store, ReelEventSink events);
    ~DownloadManager() override;
    // The running program's engine, or nullptr before it is created.
    static DownloadManager* getInstance();

    // Rebuilds the queue from the catalogue after it changed.
    void assetsChanged();
    // Starts the head of the queue if nothing runs and downloads are not paused.
    void startDownloading();
    // Aborts the running transfer, if any; the asset stays current.
    void stopDownloading();
    void addDownloadItem(Asset* asset, bool force = false);
    Asset* getDownloadItem(const Asset* asset) const;

    unsigned getReadChunkSize() const { return readChunkSize; }
    void setReadChunkSize(unsigned value);
    // Paused by the user, or held by the schedule.
    bool isPaused() const { return paused || held; }
    // Held by the schedule: nothing is transferred, as in a pause, but the user's pause
    // setting is left alone and the schedule lifts it again.
    void setHeld(bool value);
    bool isHeld() const { return held; }
    // Data is moving or being verified: a transfer is under way (not paused) or a reel is
    // waiting for or under verification.
    bool isActive() const { return active; }
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
    // For the DCP's tile: why one of its files waits (the server's file has another size),
    // or an empty text.
    Q_INVOKABLE QString sizeDisagreement(DCP* dcp) const;

    // One DCP at a time: paused on its own (skipped by the queue, also after a restart),
    // downloaded next (first in the order, after the file being transferred), or moved one
    // place up or down among the DCPs with work left.
    Q_INVOKABLE void pauseDcp(DCP* dcp);
    Q_INVOKABLE void resumeDcp(DCP* dcp);
    Q_INVOKABLE bool isDcpPaused(DCP* dcp) const { return order.isPaused(dcp); }
    Q_INVOKABLE void downloadNext(DCP* dcp);
    Q_INVOKABLE void moveUp(DCP* dcp);
    Q_INVOKABLE void moveDown(DCP* dcp);
    // The DCP's place among the DCPs with work left (0 first), or -1 when it has none.
    Q_INVOKABLE int queuePlace(DCP* dcp) const { return waitingDCPs().indexOf(dcp); }
    Q_INVOKABLE int queueLength() const { return waitingDCPs().size(); }
    // Every catalogued DCP with work left, in download order (paused ones keep their place).
    QList<DCP*> waitingDCPs() const;

    // Room on the drives. For a DCP that does not fit in what its drive holds besides the DCPs
    // before it: "Needs 120 GB more" for its tile, the whole sentence for its page; such
    // a DCP waits, and the others go on.
    Q_INVOKABLE QString roomNeeded(DCP* dcp) const { return drives->room().needed(dcp); }
    Q_INVOKABLE QString roomWarningFor(DCP* dcp) const { return drives->room().warning(dcp); }
    QString roomWarning() const { return drives->room().firstWarning(orderedDCPs()); }
    // The drive a DCP is on and its free space, for its page.
    Q_INVOKABLE QString driveText(DCP* dcp) const { return drives->room().describe(dcp); }
    // Looks at the drives' free space again; a DCP that fits now rejoins the queue.
    void refreshRoom();
    DriveRoom& driveRoom() { return drives->room(); }

    // Read-only views for the tests and the benchmarks.
    const QList<Asset*>& getDownloadQueue() const { return downloadQueue.assets(); }
    Asset* getCurrentAsset() const { return currentAsset; }
    QNetworkReply* getCurrentReply() const { return transfer ? transfer->reply() : nullptr; }
    ChecksumWorker* getChecksumWorker() const { return checksumWorker; }

    // Timer intervals: product values by default; tests shorten them.
    int getTimeoutInterval() const { return timeoutInterval; }
    void setTimeoutInterval(int ms) { timeoutInterval = ms; }
    int getReadInterval() const { return readInterval; }
    void setReadInterval(int ms) { readInterval = ms; }
    quint32 getReadBufferSize() const { return readBufferSize; }
    // Below this average speed over the window a transfer is restarted like a stalled one.
    void setSpeedFloor(quint32 bytesPerSecond, int windowMs)
    {
        speedFloor = bytesPerSecond;
        speedWindowMs = windowMs;
    }
    // What the network layer may read ahead of the file for the current limit.
    quint32 replyBufferSize() const
    {
        return AssetTransfer::bufferSizeFor(readChunkSize, limitOff, readBufferSize);
    }

    using TickRecord = AssetTransfer::TickRecord;
    void setTickObserver(std::function<void(const TickRecord&)> observer)
    {
        tickObserver = std::move(observer);
        if (transfer)
            transfer->setTickObserver(tickObserver);
    }

    // Follows the watch's drives: a DCP whose drive goes leaves the queue without a box while
    // the other drives' downloads go on; it rejoins the queue when its drive is back.
    void followDrives(DriveWatch* watch) { drives->follow(watch); }

    // Tests only: replaces the free-space lookup of the disk check (bytes available on
    // the volume holding the path); an empty function restores the real one.
    void setFreeSpaceProbe(std::function<qint64(const QString&)> probe)
    {
        drives->setFreeSpaceProbe(std::move(probe));
    }

    // A verified file came out wrong: it is fetched again, later on the event loop.
    void redownload(Asset* asset);
    // Files of a downloaded reel are no longer known to be the verified ones: the reel goes to
    // the checksum worker again.
    void verifyAgain(Reel* reel);

    // Files the import found on the drive and the user chose to check and keep (see KeptFiles).
    void keepFiles(const QList<Asset*>& assets);
    // Kept files of the DCP still waiting for or under verification.
    Q_INVOKABLE int keptUnchecked(DCP* dcp) const;
    // After the user's yes, those are downloaded from the server instead.
    Q_INVOKABLE void stopCheckingKept(DCP* dcp);

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
    // An attempt failed on the server's side (no answer, an error, no data within the stall
    // time); the next one follows. Raised at every such failure, the first included.
    void serverFault(const QString& reason);
    // The proxy refused the request for want of credentials; message names it for the status line.
    void proxyRefused(const QString& message);
    void activeChanged(bool active);
    // The server's file of an asset of dcp keeps having another size than the package says;
    // that asset waits, the others go on.
    void serverFileDiffers(DCP* dcp, const QString& message);
    // The user resumed while the schedule held the downloads.
    void holdLiftedByHand();
    // The download order or a DCP's own pause changed.
    void orderChanged();
    void roomChanged();

private slots:
    void retryAssetDownload(Asset* asset);

private:
    // Reacts to its transfers' outcomes on the queue and the current transfer.
    friend class TransferOutcomes;

    void startTransfer();
    // Refills the queue from the DCPs in download order, the current asset kept at its head;
    // chosen (the DCP the user starts) first whatever the room. handOver: reels downloaded but
    // never verified go to the worker (only where the catalogue changed).
    void rebuildQueue(bool handOver, const DCP* chosen = nullptr);
    // After the order, a DCP's pause or the room changed: the queue follows, and an idle engine
    // starts what is now first.
    void requeue();
    // Applies a change of the order or of a DCP's pause (true when something changed), then
    // requeues; a store failure is shown and changes nothing.
    void reorder(DCP* dcp, const std::function<bool()>& change);
    QList<DCP*> orderedDCPs() const;
    void liftHold();
    // Downloads go on after the user's resume or choice of a DCP.
    void unpause();
    // Reels and the status bar learn that the downloads are paused or held.
    void tellPaused();
    // Lets go of the current asset and its transfer; the asset stays queued.
    void dropCurrent();
    // The next asset starts, or the status bar says that nothing is left.
    void startNextOrStandBy();
    // Aborts and lets go of the transfer object; the asset it wrote to must still exist.
    void dropTransfer();
    void abortTransfer();
    void advanceQueue(Asset* done);
    // Leaves the queue for good (its DCP or reel is being removed), aborting it if current.
    void forgetRemoved(Asset* asset);
    void handOverToWorker(Reel* reel);
    // Whether the reel is still one of its DCP's reels.
    static bool isLive(const Reel* reel);
    void persistPaused(bool value);
    // what: the failure in English (QT_TR_NOOP), logged as it is and shown translated.
    void reportFailure(const char* what, const std::exception& e);
    void updateActive();
    // The DCP's drive went or came back.
    void driveChanged(DCP* dcp);

    Setting& settings;
    DCPManager& catalogue;
    DatabaseManager& store;
    const ReelEventSink events;
    DownloadQueue downloadQueue;
    DownloadOrder order;
    const std::unique_ptr<DownloadDrives> drives;
    Asset* currentAsset = nullptr;
    QNetworkAccessManager* networkManager = nullptr;
    AssetTransfer* transfer = nullptr; // of currentAsset, while one is set
    int timeoutInterval = 15000;
    int readInterval = 20;
    quint32 readBufferSize = 1048576;
    quint32 readChunkSize = 20971520;
    quint32 speedFloor = 1024;
    int speedWindowMs = 60000;
    bool paused = false;
    bool held = false;
    bool currentRemoved = false;
    // DCPs not started yet wait, listed without their reels, behind what is queued.
    bool listedWaiting = false;
    bool limitOff = false;
    bool active = false;
    ChecksumWorker* checksumWorker = nullptr;
    ChecksumVerdicts* verdicts = nullptr;
    std::unique_ptr<TransferOutcomes> outcomes;
    std::unique_ptr<KeptFiles> kept;
    std::function<void(const TickRecord&)> tickObserver;
};
