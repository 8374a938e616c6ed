#pragma once

#include <QDateTime>
#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QString>
#include <QTimer>

#include <functional>

class DCP;
class DCPManager;
class DownloadManager;
class DriveWatch;
class Reel;

// One thing the staff should hear of even when nobody watches the booth computer.
struct AttentionEvent
{
    enum Kind
    {
        DcpReady,
        ReelCorrupted,
        DriveNotConnected,
        ServerNotAnswering,
        Test // "Send a test alert"
    };

    Kind kind = DcpReady;
    QString dcpUuid;
    QString dcpTitle;
    unsigned reelNumber = 0; // 0 when the event is not about one reel
    QDateTime time;          // UTC
    // For people, in the user's language.
    QString headline;
    QString text;

    // The event's name for machines ("dcp_ready", "reel_corrupted", ...).
    QString name() const;
    static QString nameOf(Kind kind);
};

Q_DECLARE_METATYPE(AttentionEvent)

// Follows the catalogue, the download engine and the drives and raises an event when a DCP
// becomes ready (every reel verified and acknowledged), a reel is found corrupted, the drive of
// a DCP with work left is pulled, and when the server has not answered for ten minutes. Each
// happening is raised once: a DCP complete when first seen was announced in an earlier run, and
// the server is announced again only after it answered in between.
class AttentionEvents : public QObject
{
    Q_OBJECT

public:
    AttentionEvents(DCPManager* catalogue, DownloadManager* engine, QObject* parent = nullptr);

    void followDrives(DriveWatch* drives);
    // The removable drive a ready DCP lies on when every DCP on it is ready too (it can be
    // unplugged then), else empty; the ready DCP's message says so, once.
    void setReadyDrive(std::function<QString(const DCP*)> lookup) { readyDrive = std::move(lookup); }

    // How long the server must stay silent before the staff hear of it: ten minutes in the
    // product; tests shorten it.
    int serverSilenceMs() const { return serverSilence.interval(); }
    void setServerSilenceMs(int ms) { serverSilence.setInterval(ms); }

signals:
    void raised(const AttentionEvent& event);

private:
    void followCatalogue();
    void followReels(DCP* dcp);
    void checkComplete(DCP* dcp);
    void reelCorrupted(Reel* reel);
    void driveLost(DCP* dcp);
    void serverFailing();
    void serverSilent();
    void raise(AttentionEvent::Kind kind, const DCP* dcp, unsigned reelNumber = 0);
    static bool isComplete(const DCP* dcp);

    DCPManager* catalogue;
    DownloadManager* engine;
    QSet<const QObject*> followed;
    // DCPs already complete, announced or complete when first seen.
    QSet<const DCP*> complete;
    QTimer serverSilence;
    QPointer<DCP> silentDcp;
    QDateTime silentSince;
    bool serverAnnounced = false;
    std::function<QString(const DCP*)> readyDrive;
};
