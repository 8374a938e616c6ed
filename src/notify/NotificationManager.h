#pragma once

#include "notify/NotificationType.h"

#include <QMap>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class DCPManager;
class DatabaseManager;
class Notification;
class QNetworkAccessManager;
class QNetworkReply;
class QTimer;
class Reel;
class ReelReveal;

// Journals reel events and sends them to the notification service until acknowledged;
// each acknowledgement lets ReelReveal give the reel's files their final names once all of
// its events are acknowledged.
//
// Lives on the main thread, which alone touches the maps and the store connection;
// addToQueue may be called from any thread and is handed over to the main thread.
class NotificationManager : public QObject
{
    Q_OBJECT

public:
    static constexpr int kConsumerIntervalMs = 5000;
    // A request that never finishes would stall every later report and reveal.
    static constexpr int kRequestTimeoutMs = 30000;

    // Loads the journal from the store and starts sending.
    NotificationManager(DatabaseManager& store, DCPManager& catalogue);
    // The running program's queue, or nullptr before it is loaded.
    static NotificationManager* getInstance();

    // Records one event of the reel. Safe from any thread: calls from other threads are
    // handed to the main thread, which owns the store connection and the maps.
    // Store failures propagate to the caller (on the caller's own thread).
    void addToQueue(Reel* reel, NotificationType::Value event);

    // Whether the event with that identity is queued or was acknowledged (asked of the journal
    // when this run has not seen it).
    bool hasNotification(const QString& reelUuid, const QString& hash);

    // Sends the first notification of the queue (the smallest hash).
    void consumeQueue();

    // Reveals again every checksummed reel whose events are all acknowledged while files of
    // it are still hidden (a stop during the renames, a drive that refused them). Runs once
    // when the event loop starts, looking at the disk too, and after every acknowledgement.
    // A rename that keeps failing is shown to the user once per run.
    void reconcileReveals(bool checkDisk = false);

    // Stops the start-up look through the folders and waits for its thread; no other starts
    // afterwards. Runs when the application is about to quit: the thread must not be inside a
    // folder listing while the process ends.
    void stopFolderScan();
    // Tests: called on the scan's thread before each folder is looked through.
    static void setFolderScanHook(std::function<void(const QString& folder)> hook);

    // Period of the consumer timer; tests shorten it.
    int getConsumerInterval() const;
    void setConsumerInterval(int ms);
    // Inactivity time-out of one request, after which it counts as unacknowledged.
    int getRequestTimeout() const { return requestTimeout; }
    void setRequestTimeout(int ms) { requestTimeout = ms; }

    // Read access for the user interface and tests (main thread only).
    const QMap<QString, Notification*>& getQueue() const { return queue; }
    // Acknowledged events in the journal (years of them: never all held in memory).
    int acknowledgedCount() const;
    bool isRequestInFlight() const { return currentNotification != nullptr; }

    ~NotificationManager() override;

signals:
    // Files of the reel are not the ones whose digests passed (a drive swapped for another,
    // a file changed or emptied since): they are marked unverified and must be verified again
    // before anything of the reel is revealed.
    void verificationNeeded(Reel* reel);

private slots:
    void consumerTimerTimeout();
    void requestFinished();

private:
    void loadNotifications();
    void addToQueueHere(Reel* reel, NotificationType::Value event);
    // Whether the reel's event in its present state is queued or acknowledged.
    bool isJournaled(const Reel* reel, NotificationType::Value event);
    // At start: a reel verified before a stop that came ahead of its ChecksumOk gets it now.
    void reportVerifiedReels();
    std::unique_ptr<QNetworkAccessManager> networkManager;
    QMap<QString, Notification*> queue; // unacknowledged, sent in key order
    QSet<QString> acknowledged;         // hashes this run knows to be acknowledged
    std::unique_ptr<QTimer> consumerTimer;
    Notification* currentNotification = nullptr;
    QPointer<QNetworkReply> currentReply;
    int requestTimeout = kRequestTimeoutMs;

    DatabaseManager& store;
    DCPManager& catalogue;
    // Gives the reels their final names as their events are acknowledged.
    const std::unique_ptr<ReelReveal> reveals;
};
