#include "core/Services.h"

#include <QHostAddress>

namespace {
const char kDefaultPortal[] = "https://portal.oskan.example";
const char kDefaultNotify[] = "http://notify.oskan.example";

QString fromEnv(const char* name, const char* fallback)
{
    const QString value = qEnvironmentVariable(name).trimmed();
    return value.isEmpty() ? QString::fromLatin1(fallback) : value;
}

QString withoutTrailingSlashes(QString url)
{
    while (url.endsWith(QLatin1Char('/')))
        url.chop(1);
    return url;
}

// An http or https address with a host, nothing after the path.
bool isServiceAddress(const QUrl& url)
{
    const QString scheme = url.scheme();
    return url.isValid() && (scheme == QLatin1String("http") || scheme == QLatin1String("https")) &&
           !url.host().isEmpty() && !url.hasQuery() && !url.hasFragment();
}
} // namespace

QString Services::portalBaseUrl()
{
    return withoutTrailingSlashes(fromEnv("ORV_PORTAL_URL", kDefaultPortal)) + QLatin1Char('/');
}

QString Services::notificationBaseUrl()
{
    return withoutTrailingSlashes(fromEnv("ORV_NOTIFY_URL", kDefaultNotify));
}

QUrl Services::portalUrl(const QString& path)
{
    return QUrl(joinUrl(portalBaseUrl(), path));
}

QUrl Services::notificationUrl(const QString& path)
{
    return QUrl(joinUrl(notificationBaseUrl(), path));
}

QString Services::joinUrl(const QString& base, const QString& path)
{
    QString tail = path;
    while (tail.startsWith(QLatin1Char('/')))
        tail.remove(0, 1);
    return withoutTrailingSlashes(base) + QLatin1Char('/') + tail;
}

bool Services::isLoopbackHost(const QString& host)
{
    if (host.compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0)
        return true;
    const QHostAddress address(host);
    return !address.isNull() && address.isLoopback();
}

bool Services::isTrustedTransport(const QUrl& url)
{
    if (!url.isValid() || url.host().isEmpty())
        return false;
    return url.scheme() == QLatin1String("https") ||
           (url.scheme() == QLatin1String("http") && isLoopbackHost(url.host()));
}

QString Services::addressProblem()
{
    const QString portal = fromEnv("ORV_PORTAL_URL", kDefaultPortal);
    if (!isServiceAddress(QUrl(portal)) || !isTrustedTransport(QUrl(portal))) {
        return tr("The portal address \"%1\" (ORV_PORTAL_URL) is refused. It must be an "
                  "https:// address, or http:// on this computer (127.0.0.1, ::1 or "
                  "localhost) only, since the password, the decoding key and the "
                  "installer travel over it.")
            .arg(portal);
    }
    const QString notify = fromEnv("ORV_NOTIFY_URL", kDefaultNotify);
    if (!isServiceAddress(QUrl(notify))) {
        return tr("The notification service address \"%1\" (ORV_NOTIFY_URL) is refused. It "
                  "must be an http:// or https:// address with a host name.")
            .arg(notify);
    }
    return QString();
}
