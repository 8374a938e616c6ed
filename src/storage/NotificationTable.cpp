#include "storage/NotificationTable.h"

#include "notify/Notification.h"
#include "storage/StoreQuery.h"

#include <QVariant>

using namespace StoreQuery;

QSqlQuery NotificationTable::getNotificationQuery()
{
    // Through the index of what is still to be sent: for the sake of the order SQLite would
    // otherwise step through every event ever acknowledged.
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.exec(
            QStringLiteral("SELECT id,user_uuid,campaign_dcp_id,reel_uuid,reel_assets_hash,reel_number,"
                           "event,synced FROM notification INDEXED BY notification_unsynced WHERE synced = 0 "
                           "ORDER BY id ASC")))
        fail(query, "[DatabaseManager] Unable to run Notification query", "Unable to run Notification query");
    return query;
}

QSqlQuery NotificationTable::getReelNotificationsQuery(const QString& reelUuid)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    query.prepare(
        QStringLiteral("SELECT id,user_uuid,campaign_dcp_id,reel_uuid,reel_assets_hash,reel_number,"
                       "event,synced FROM notification WHERE reel_uuid = :reel_uuid ORDER BY id ASC"));
    query.bindValue(QStringLiteral(":reel_uuid"), reelUuid);
    execOrFail(query, "[DatabaseManager] Unable to run getReelNotificationsQuery query",
               "Unable to run getReelNotificationsQuery query");
    return query;
}

int NotificationTable::getSyncedNotificationCount()
{
    return StoreQuery::count(db, "SELECT COUNT(*) FROM notification WHERE synced != 0");
}

int NotificationTable::getUnsyncedReelNotificationsCount(const QString& reelUuid)
{
    QSqlQuery query(db);
    query.prepare(
        QStringLiteral("SELECT COUNT(*) FROM notification WHERE reel_uuid = :reel_uuid AND synced = 0"));
    query.bindValue(QStringLiteral(":reel_uuid"), reelUuid);
    execOrFail(query, "[DatabaseManager] Unable to run getReelNotificationsQuery query",
               "Unable to run getReelNotificationsQuery query");
    return query.next() ? query.value(0).toInt() : -1;
}

bool NotificationTable::insertNotification(Notification* notification)
{
    QSqlQuery query(db);
    query.prepare(QStringLiteral("INSERT INTO notification (user_uuid,  campaign_dcp_id,  reel_uuid,  "
                                 "reel_assets_hash,  reel_number,  "
                                 "event,  synced) VALUES                  (:user_uuid, :campaign_dcp_id, "
                                 ":reel_uuid, :reel_assets_hash, "
                                 ":reel_number, :event, :synced)"));
    query.bindValue(QStringLiteral(":user_uuid"), notNullText(notification->getUserUuid()));
    query.bindValue(QStringLiteral(":campaign_dcp_id"),
                    static_cast<qulonglong>(notification->getCampaignDcpId()));
    query.bindValue(QStringLiteral(":reel_uuid"), notNullText(notification->getReelUuid()));
    query.bindValue(QStringLiteral(":reel_assets_hash"), notNullText(notification->getReelAssetsHash()));
    query.bindValue(QStringLiteral(":reel_number"), notification->getReelNumber());
    query.bindValue(QStringLiteral(":event"), static_cast<int>(notification->getEvent()));
    query.bindValue(QStringLiteral(":synced"), notification->getSynced());
    execOrFail(query, "[DatabaseManager] Unable to run insertNotification query:",
               "Unable to run insertNotification query");
    notification->setDbId(static_cast<quint64>(query.lastInsertId().toLongLong()));
    return true;
}

bool NotificationTable::updateNotificationSynced(Notification* notification)
{
    QSqlQuery query(db);
    query.prepare(QStringLiteral("UPDATE notification SET synced = :synced WHERE id = :db_id"));
    query.bindValue(QStringLiteral(":synced"), notification->getSynced());
    query.bindValue(QStringLiteral(":db_id"), static_cast<qulonglong>(notification->getDbId()));
    execOrFail(query, "[DatabaseManager] Unable to run updateNotificationSynced:",
               "Unable to run updateNotificationSynced");
    return true;
}
