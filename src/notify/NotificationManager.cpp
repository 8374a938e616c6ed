#include "notify/NotificationManager.h"

NotificationManager* NotificationManager::getInstance()
{
    static NotificationManager* instance = new NotificationManager();
    return instance;
}

NotificationManager::NotificationManager() : QObject(nullptr) {}

void NotificationManager::addToQueue(Reel* reel, NotificationType::Value event)
{
    Q_UNUSED(reel);
    Q_UNUSED(event);
}
