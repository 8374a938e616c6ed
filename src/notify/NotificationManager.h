#pragma once

#include "notify/NotificationType.h"

#include <QObject>

class Reel;

// Journals reel events and sends them to the notification service until acknowledged;
// reveals a reel's files once all of its events are acknowledged.
// (Placeholder interface: the notification work fills this class in.)
class NotificationManager : public QObject
{
    Q_OBJECT

public:
    static NotificationManager* getInstance();

    // Records one event of the reel. Safe from any thread: calls from other threads are
    // handed to the main thread, which owns the store connection and the maps.
    void addToQueue(Reel* reel, NotificationType::Value event);

private:
    NotificationManager();
};
