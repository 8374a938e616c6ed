#include "notify/NotificationManager.h"

#include "core/NetworkSetup.h"
#include "core/Services.h"
#include "model/Asset.h"
#include "model/DCP.h"
#include "model/DCPManager.h"
#include "model/Reel.h"
#include "notify/Notification.h"
#include "notify/ReelReveal.h"
#include "storage/DatabaseManager.h"

#include <QCoreApplication>
#include <QDebug>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QThread>
#include <QTimer>
#include <QUrl>

#include <algorithm>
#include <exception>
#include <functional>

namespace {

// Runs fn on the thread of context and waits for it. An exception thrown there is carried
// back and rethrown here, so it reaches the caller instead of the other thread's event loop.
void runBlockingOn(QObject* context, const std::function<void()>& fn)
{
    std::exception_ptr error;
    QMetaObject::invokeMethod(
        context,
        [&] {
            try {
                fn();
            } catch (...) {
                error = std::current_exception();
            }
        },
        Qt::BlockingQueuedConnection);
    if (error)
        std::rethrow_exception(error);
}

bool onThreadOf(const QObject* object)
{
    return QThread::currentThread() == object->thread();
}

// Files n under its hash; a row loaded earlier under the same hash is replaced and freed.
void putUnderHash(QMap<QString, Notification*>& map, Notification* n)
{
    const QString hash = n->getHash();
    Notification* previous = map.value(hash, nullptr);
    map.insert(hash, n);
    if (previous != n)
        delete previous;
}

QString encodedQueryValue(const QString& value)
{
    return QString::fromLatin1(QUrl::toPercentEncoding(value));
}

} // namespace

namespace {
NotificationManager* g_notifications = nullptr;
}

NotificationManager* NotificationManager::getInstance()
{
    return g_notifications;
}

NotificationManager::NotificationManager(DatabaseManager& store, DCPManager& catalogue)
    : QObject(nullptr), store(store), catalogue(catalogue),
      reveals(std::make_unique<ReelReveal>(store, catalogue))
{
    connect(reveals.get(), &ReelReveal::verificationNeeded, this, &NotificationManager::verificationNeeded);
    try {
        loadNotifications();
    } catch (...) {
        qDeleteAll(queue);
        throw;
    }

    networkManager = std::make_unique<QNetworkAccessManager>();
    NetworkSetup::prepare(networkManager.get());
    currentNotification = nullptr;

    consumerTimer = std::make_unique<QTimer>();
    consumerTimer->setTimerType(Qt::PreciseTimer);
    connect(consumerTimer.get(), &QTimer::timeout, this, &NotificationManager::consumerTimerTimeout);
    consumerTimer->setInterval(kConsumerIntervalMs);
    consumerTimer->start();

    // Quitting while the start-up look through the folders runs: the thread stops first.
    if (QCoreApplication* app = QCoreApplication::instance())
        connect(app, &QCoreApplication::aboutToQuit, this, &NotificationManager::stopFolderScan);
    // Once start-up is done (the catalogue is loaded by then): reels a stopped run left
    // hidden although the service has acknowledged them.
    QTimer::singleShot(0, this, [this] {
        reportVerifiedReels();
        reconcileReveals(true);
    });
    g_notifications = this;
}

NotificationManager::~NotificationManager()
{
    if (g_notifications == this)
        g_notifications = nullptr;
    stopFolderScan();
    if (currentReply) {
        currentReply->disconnect(this);
        currentReply->abort();
    }
    consumerTimer.reset();
    networkManager.reset();
    qDeleteAll(queue);
}

void NotificationManager::loadNotifications()
{
    qDebug() << "[NotificationManager] Loading Notifications...";
    // Only what is still to be sent: the acknowledged ones are asked of the journal when needed.
    QSqlQuery query = store.getNotificationQuery();
    // Columns by position (a lookup by name per value is a search), and one copy of the texts
    // that repeat on every event of a reel or a user.
    const QSqlRecord record = query.record();
    const int c_id = record.indexOf(QStringLiteral("id"));
    const int c_user_uuid = record.indexOf(QStringLiteral("user_uuid"));
    const int c_campaign_dcp_id = record.indexOf(QStringLiteral("campaign_dcp_id"));
    const int c_reel_uuid = record.indexOf(QStringLiteral("reel_uuid"));
    const int c_reel_assets_hash = record.indexOf(QStringLiteral("reel_assets_hash"));
    const int c_reel_number = record.indexOf(QStringLiteral("reel_number"));
    const int c_event = record.indexOf(QStringLiteral("event"));
    const int c_synced = record.indexOf(QStringLiteral("synced"));
    QSet<QString> texts;
    const auto shared = [&texts](const QString& text) {
        const auto it = texts.constFind(text);
        return it != texts.constEnd() ? *it : *texts.insert(text);
    };
    while (query.next()) {
        auto* notification = new Notification(
            shared(query.value(c_user_uuid).toString()), query.value(c_campaign_dcp_id).toULongLong(),
            shared(query.value(c_reel_uuid).toString()), shared(query.value(c_reel_assets_hash).toString()),
            query.value(c_reel_number).toUInt(),
            static_cast<NotificationType::Value>(query.value(c_event).toUInt()),
            query.value(c_synced).toBool());
        notification->setDbId(query.value(c_id).toULongLong());
        putUnderHash(queue, notification);
    }
}

int NotificationManager::getConsumerInterval() const
{
    return consumerTimer->interval();
}

void NotificationManager::setConsumerInterval(int ms)
{
    consumerTimer->setInterval(ms);
}

int NotificationManager::acknowledgedCount() const
{
    return store.getSyncedNotificationCount();
}

bool NotificationManager::hasNotification(const QString& reelUuid, const QString& hash)
{
    if (queue.contains(hash) || acknowledged.contains(hash))
        return true;
    // Identities carry the reel's row id, so the reel's own rows are the only candidates.
    QSqlQuery query = store.getReelNotificationsQuery(reelUuid);
    while (query.next()) {
        if (!query.value(QStringLiteral("synced")).toBool())
            continue;
        const Notification recorded(
            query.value(QStringLiteral("user_uuid")).toString(),
            query.value(QStringLiteral("campaign_dcp_id")).toULongLong(), reelUuid,
            query.value(QStringLiteral("reel_assets_hash")).toString(),
            query.value(QStringLiteral("reel_number")).toUInt(),
            static_cast<NotificationType::Value>(query.value(QStringLiteral("event")).toUInt()), true);
        acknowledged.insert(recorded.getHash());
    }
    return acknowledged.contains(hash);
}

void NotificationManager::addToQueue(Reel* reel, NotificationType::Value event)
{
    if (onThreadOf(this)) {
        addToQueueHere(reel, event);
        return;
    }
    // The checksum worker: the maps and the store connection are the main thread's.
    runBlockingOn(this, [=] { addToQueueHere(reel, event); });
}

bool NotificationManager::isJournaled(const Reel* reel, NotificationType::Value event)
{
    const DCP* dcp = reel->getDCP();
    const Notification notification(dcp->getUserUUID(), dcp->getCampaignDCPId(), reel->getUuid(),
                                    QString::number(reel->getDbId()) + QLatin1Char('-') +
                                        reel->getAssetsRetryHash(),
                                    reel->getReelNumber(), event, false);
    return hasNotification(reel->getUuid(), notification.getHash());
}

void NotificationManager::reportVerifiedReels()
{
    // A stop between a reel's last verdict reaching the store and its ChecksumOk being journaled
    // leaves the reel verified, hidden and unreported, and nothing would verify it again. Its
    // ChecksumStarted in the journal tells it from a reel that never reached the worker.
    try {
        for (DCP* dcp : catalogue.getDCPs()) {
            if (!dcp->reelsLoaded())
                continue;
            for (Reel* reel : dcp->getReels()) {
                const QList<Asset*>& assets = reel->getAssets();
                const bool hidden = std::any_of(assets.cbegin(), assets.cend(), [](const Asset* asset) {
                    return asset->getOriginalFileName().startsWith(QLatin1Char('.'));
                });
                if (!hidden || !reel->isChecksummed() ||
                    !isJournaled(reel, NotificationType::ChecksumStarted) ||
                    isJournaled(reel, NotificationType::ChecksumOk) ||
                    isJournaled(reel, NotificationType::ChecksumFailed))
                    continue;
                qDebug() << "[NotificationManager] Verified before a stop, reporting it now:"
                         << reel->getUuid();
                addToQueueHere(reel, NotificationType::ChecksumOk);
            }
        }
    } catch (const std::exception& e) {
        qDebug() << "[NotificationManager] Unable to look for verified reels not reported:" << e.what();
    }
}

void NotificationManager::addToQueueHere(Reel* reel, NotificationType::Value event)
{
    const DCP* dcp = reel ? reel->getDCP() : nullptr;
    if (!dcp) {
        qDebug() << "[NotificationManager] Event without a reel or DCP dropped:" << static_cast<int>(event);
        return;
    }

    const QString reelAssetsHash =
        QString::number(reel->getDbId()) + QLatin1Char('-') + reel->getAssetsRetryHash();
    auto notification =
        std::make_unique<Notification>(dcp->getUserUUID(), dcp->getCampaignDCPId(), reel->getUuid(),
                                       reelAssetsHash, reel->getReelNumber(), event, false);
    // A reel verified again after its files were found changed reports the same state as
    // before, already acknowledged: its reveal is due now, not at the next acknowledgement.
    if (event == NotificationType::ChecksumOk)
        QTimer::singleShot(0, this, [this] { reveals->reconcile(false, nullptr); });

    // Answered from memory: the per-chunk "started" events never reach the store twice.
    const QString hash = notification->getHash();
    if (hasNotification(reel->getUuid(), hash))
        return;

    // Journal first, so nothing is sent that a restart would not know about.
    store.insertNotification(notification.get());
    reel->eventsChanged();
    queue.insert(hash, notification.release());
}

void NotificationManager::consumerTimerTimeout()
{
    if (queue.isEmpty() || currentNotification)
        return;
    consumerTimer->stop();
    consumeQueue();
}

void NotificationManager::consumeQueue()
{
    // One request at a time.
    if (queue.isEmpty() || currentNotification)
        return;

    currentNotification = queue.first();

    // Values are percent-encoded here: a user_uuid carrying "&", "+" or "%" must not
    // change the other items or be decoded into something else by the service.
    const QString query =
        QStringLiteral("user_uuid=") + encodedQueryValue(currentNotification->getUserUuid()) +
        QStringLiteral("&campaign_dcp_id=") + QString::number(currentNotification->getCampaignDcpId()) +
        QStringLiteral("&reel_number=") + QString::number(currentNotification->getReelNumber()) +
        QStringLiteral("&event=") + QString::number(static_cast<int>(currentNotification->getEvent()));
    QUrl url(Services::notificationBaseUrl() + QStringLiteral("/notification/dcp"));
    url.setQuery(query, QUrl::StrictMode);

    QNetworkRequest request(url);
    // Without it a service that accepts the connection and never answers would hold the
    // queue (and every reveal) for the rest of the run.
    request.setTransferTimeout(requestTimeout);
    // Qt would otherwise ask for gzip and inflate whatever comes back, however large.
    request.setRawHeader("Accept-Encoding", "identity");
    QNetworkReply* reply = networkManager->get(request);
    currentReply = reply;
    connect(reply, &QNetworkReply::finished, this, &NotificationManager::requestFinished);

    qDebug() << "[NotificationManager] Notify for: " << currentNotification->getCampaignDcpId() << " - "
             << currentNotification->getReelNumber()
             << "Event: " << static_cast<int>(currentNotification->getEvent());
}

void NotificationManager::requestFinished()
{
    auto* reply = qobject_cast<QNetworkReply*>(sender());
    if (!reply)
        return;
    if (reply != currentReply || !currentNotification) {
        reply->deleteLater();
        return;
    }

    Notification* notification = currentNotification;
    const bool answeredOk = reply->bytesAvailable() == 2 && reply->readAll() == QByteArrayLiteral("ok");

    if (!answeredOk) {
        qDebug() << "[NotificationManager] Failed Reel num: " << notification->getReelNumber()
                 << "Ev: " << static_cast<int>(notification->getEvent()) << "Sc: " << true;
    } else {
        qDebug() << "[NotificationManager] Sync Reel num: " << notification->getReelNumber()
                 << "Ev: " << static_cast<int>(notification->getEvent()) << "Sc: " << true;
        try {
            const QString reelUuid = notification->getReelUuid();
            Reel* reel = catalogue.getReel(reelUuid);

            notification->setSynced(true);
            try {
                store.updateNotificationSynced(notification);
            } catch (...) {
                // Not recorded: keep it queued so it is sent (and recorded) again.
                notification->setSynced(false);
                throw;
            }
            if (reel)
                reel->eventsChanged();
            const QString hash = notification->getHash();
            queue.remove(hash);
            acknowledged.insert(hash);
            delete notification;
            reveals->acknowledged(reelUuid, reel);
        } catch (const std::exception& e) {
            qDebug() << "[NotificationManager] Unable to record the acknowledgement:" << e.what();
        }
    }

    currentNotification = nullptr;
    currentReply = nullptr;
    consumerTimer->start();
    reply->deleteLater();
}

void NotificationManager::reconcileReveals(bool checkDisk)
{
    reveals->reconcileReveals(checkDisk);
}

void NotificationManager::stopFolderScan()
{
    reveals->stopFolderScan();
}

void NotificationManager::setFolderScanHook(std::function<void(const QString&)> hook)
{
    ReelReveal::setFolderScanHook(std::move(hook));
}
