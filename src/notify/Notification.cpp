#include "notify/Notification.h"

Notification::Notification(const QString& user_uuid, quint64 campaign_dcp_id, const QString& reel_uuid,
                           const QString& reel_assets_hash, uint reel_number, NotificationType::Value event,
                           bool synced)
    : user_uuid(user_uuid), campaign_dcp_id(campaign_dcp_id), reel_uuid(reel_uuid),
      reel_assets_hash(reel_assets_hash), reel_number(reel_number), event(event), synced(synced)
{
}

QString Notification::getHash() const
{
    return QStringLiteral("%1-%2-%3-%4")
        .arg(campaign_dcp_id)
        .arg(reel_number)
        .arg(static_cast<int>(event))
        .arg(reel_assets_hash);
}
