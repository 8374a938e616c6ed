#include "app/Services.h"

namespace {
const char kDefaultPortal[] = "https://portal.oskan.example/";
const char kDefaultNotify[] = "http://notify.oskan.example";

QString fromEnv(const char* name, const char* fallback)
{
    const QString value = qEnvironmentVariable(name);
    return value.isEmpty() ? QString::fromLatin1(fallback) : value;
}
} // namespace

QString Services::portalBaseUrl()
{
    QString url = fromEnv("ORV_PORTAL_URL", kDefaultPortal);
    if (!url.endsWith(QLatin1Char('/')))
        url += QLatin1Char('/');
    return url;
}

QString Services::notificationBaseUrl()
{
    QString url = fromEnv("ORV_NOTIFY_URL", kDefaultNotify);
    while (url.endsWith(QLatin1Char('/')))
        url.chop(1);
    return url;
}
