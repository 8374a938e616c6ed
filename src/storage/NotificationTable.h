#pragma once

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QStringList>

class Notification;

// The journal of events for the notification service (table notification).
// The statements only: DatabaseManager decides when their writes reach the disk.
class NotificationTable
{
public:
    explicit NotificationTable(QSqlDatabase& db) : db(db) {}

    QSqlQuery getNotificationQuery();
    QSqlQuery getReelNotificationsQuery(const QString& reelUuid);
    int getSyncedNotificationCount();
    int getUnsyncedReelNotificationsCount(const QString& reelUuid);
    bool insertNotification(Notification* notification);
    bool updateNotificationSynced(Notification* notification);

private:
    QSqlDatabase& db;
};
