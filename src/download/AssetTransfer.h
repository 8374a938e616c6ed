#pragma once

#include "download/TransferPacer.h"

#include <QByteArray>
#include <QNetworkReply>
#include <QObject>
#include <QString>

#include <functional>

class Asset;
class QFile;
class QNetworkAccessManager;
class QTimer;
class TransferWatchdog;

// The transfer of one asset into its hidden file: each request resumes from the file's
// length, the body is read by a timer tick at the bandwidth limit (or as it arrives in
// no-limit mode; TransferPacer says how much) and never past the asset's size, redirects are
// followed within the asset's budget, and a stall timer (TransferWatchdog) ends a silent or
// crawling request and asks for a new one. The engine decides whether and when a new request
// starts; dialogs and the queue are its business too.
class AssetTransfer : public QObject
{
    Q_OBJECT

public:
    enum class Failure
    {
        ServerFault,  // network error or a misbehaving server: one more of failuresInARow()
        Interrupted,  // this request cannot go on; the stall timer asks for a new one
        LinkExpired,  // status 400
        FileMissing,  // status 403 or 404, or a redirect to an address that cannot be fetched
        Unwritable,   // the asset's file cannot be opened (reason: its path)
        FileLost,     // the file or its DCP folder vanished while being written (reason: its path)
        WriteFailed,  // a write or a flush fell short; the disk may be full (reason: its path)
        SizeMismatch, // the server's file keeps having another size (reason: that size); no retry
        ProxyRefused, // the proxy wants credentials it was not given (reason: its address)
    };
    Q_ENUM(Failure)

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

    AssetTransfer(Asset* asset, QNetworkAccessManager* network, QObject* parent);
    ~AssetTransfer() override;

    Asset* asset() const { return target; }
    QNetworkReply* reply() const { return currentReply; }
    // A reply is receiving, or finished and still being written.
    bool isBusy() const;
    // Requests that failed through the server or the network since data last arrived.
    int failuresInARow() const { return faultsInARow; }

    void setIntervals(int stallMs, int tickMs);
    void setBufferCap(quint32 bytes) { pacer.setBufferCap(bytes); }
    // A request that moves less than bytesPerSecond on average over windowMs is restarted
    // like a stalled one: a server that drips keeps the stall timer quiet for ever.
    void setSpeedFloor(quint32 bytesPerSecond, int windowMs);
    void setLimit(quint32 chunk, bool off);
    void setTickObserver(std::function<void(const TickRecord&)> observer)
    {
        tickObserver = std::move(observer);
    }
    quint32 replyBufferSize() const { return pacer.replyBufferSize(); }
    // What the network layer may read ahead of the file for a limit.
    static quint32 bufferSizeFor(quint32 chunk, bool limitOff, quint32 cap)
    {
        return TransferPacer::bufferSizeFor(chunk, limitOff, cap);
    }

    // Tests only: the next transfer starts a fresh speed sample.
    static void resetSampleClock() { TransferPacer::resetSampleClock(); }

    // Requests the rest of the asset, from the length of its file on disk.
    void start();
    // Stops everything, the stall timer included, and drops the reply without a signal.
    void abort();

signals:
    // One read appended bytes to the file (firstData: the first of this request). At most
    // every 200 ms it carries a speed sample in bytes per second, the rate over the last
    // second, never above the limit; otherwise a negative speed.
    void progress(qint64 written, bool firstData, double speed);
    // The file holds the whole body; the timers are stopped.
    void finished();
    void failed(AssetTransfer::Failure failure, const QString& reason);
    // The stall timer fired or a redirect was taken: the asset wants a new request.
    void restartDue();

private:
    void tick();
    // One read of the body; true when a finished reply has nothing left to write.
    bool readTick();
    bool checkBodyStart(QFile* file);
    // The server's file has another size than the asset: refused, and at the third time in a
    // row the transfer gives up.
    bool refuseOtherSize(qint64 total);
    void replyError(QNetworkReply::NetworkError code);
    void replyFinished();
    void conclude();
    bool followRedirect(const QUrl& target);
    // The file on disk holds exactly the asset's size (a longer one is cut back first).
    bool holdsWholeAsset();
    void stalled();
    void serverFault(const QString& reason);
    bool fileLost(const QFile* file) const;
    void stopForLostFile();
    // Ends this request; the stall timer stays armed and brings the retry.
    void failRequest();
    // Ends this request and the stall timer with it: the engine decides what follows.
    void abandon();
    void releaseReply();
    void closeFile();
    static QString failureReason(const QNetworkReply* reply);
    // host:port of the proxy the request went through, or an empty text.
    QString proxyAddress(const QUrl& url) const;

    Asset* const target;
    QNetworkAccessManager* const network;
    QNetworkReply* currentReply = nullptr;
    TransferWatchdog* watchdog;
    QTimer* tickTimer;
    TransferPacer pacer;

    // State of the running request.
    qint64 resumeOffset = 0;  // file length the request asked to continue from
    bool bodyChecked = false; // status and Content-Range of this reply validated
    bool bodyFlowing = false; // this reply has delivered data to the file
    // The request went out (or its answer came). Before that Qt may still be connecting (a
    // proxy's tunnel, a TLS handshake) and must not be told of a new buffer size: it would
    // read from a connection that cannot be read yet, and crash in its network thread.
    bool connectionReady = false;
    bool finishDespiteError = false; // 416 for a file that already holds the whole asset
    bool replyDone = false;          // the reply finished; what it holds drains tick by tick
    qint64 fileLength = 0;           // length of the open file, kept as bytes are appended
    QFile* file = nullptr;           // the asset's open file, while a read holds it
    qint64 lastLinkCheck = -1;       // when the open file's link and folder were last checked
    quint64 serial = 0;              // changes with every start and stop, to spot stale calls
    bool inTick = false;
    bool pieceLeft = false; // without a limit, the last read left more of the reply to write
    int faultsInARow = 0;
    int mismatchesInARow = 0;
    static constexpr int mismatchesBeforeWaiting = 3;
    QByteArray readBuffer;
    std::function<void(const TickRecord&)> tickObserver;

    static constexpr qint64 linkCheckInterval = 250; // ms
};
