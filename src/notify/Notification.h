#pragma once

#include "notify/NotificationType.h"

#include <QString>

// One reel event, journalled in the store and sent until acknowledged.
class Notification
{
public:
    Notification(const QString& user_uuid, quint64 campaign_dcp_id, const QString& reel_uuid,
                 const QString& reel_assets_hash, uint reel_number, NotificationType::Value event,
                 bool synced);

    // Identity for deduplication: "campaign-reelnumber-event-reelassetshash".
    QString getHash() const;

    quint64 getDbId() const { return db_id; }
    QString getUserUuid() const { return user_uuid; }
    quint64 getCampaignDcpId() const { return campaign_dcp_id; }
    QString getReelUuid() const { return reel_uuid; }
    QString getReelAssetsHash() const { return reel_assets_hash; }
    uint getReelNumber() const { return reel_number; }
    NotificationType::Value getEvent() const { return event; }
    bool getSynced() const { return synced; }

    void setDbId(quint64 value) { db_id = value; }
    void setSynced(bool value) { synced = value; }

private:
    quint64 db_id = 0;
    QString user_uuid;
    quint64 campaign_dcp_id = 0;
    QString reel_uuid;
    QString reel_assets_hash;
    uint reel_number = 0;
    NotificationType::Value event = NotificationType::DownloadStarted;
    bool synced = false;
};
