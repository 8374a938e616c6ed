#include "core/EnvironmentProxyFactory.h"

#include <QHostAddress>
#include <QRegularExpression>
#include <QUrl>

namespace {
QString proxyText(const QNetworkProxy& proxy)
{
    if (proxy.type() == QNetworkProxy::NoProxy)
        return QStringLiteral("direct");
    const QString scheme =
        proxy.type() == QNetworkProxy::Socks5Proxy ? QStringLiteral("socks5") : QStringLiteral("http");
    // The password never reaches the log.
    const QString user = proxy.user().isEmpty() ? QString() : proxy.user() + QStringLiteral(":***@");
    return QStringLiteral("%1://%2%3:%4").arg(scheme, user, proxy.hostName()).arg(proxy.port());
}

QString stripBrackets(QString host)
{
    if (host.startsWith(QLatin1Char('[')) && host.endsWith(QLatin1Char(']')))
        host = host.mid(1, host.size() - 2);
    return host;
}
} // namespace

EnvironmentProxyFactory::EnvironmentProxyFactory(const Lookup& variables) : lookup(variables)
{
    if (!lookup)
        lookup = [](const QString& name) {
            return qEnvironmentVariable(name.toLocal8Bit().constData());
        };
    const QStringList all{QStringLiteral("all_proxy"), QStringLiteral("ALL_PROXY")};
    httpProxy = readProxy(QStringList{QStringLiteral("http_proxy")} + all);
    httpsProxy = readProxy(QStringList{QStringLiteral("https_proxy"), QStringLiteral("HTTPS_PROXY")} + all);
    QString list = lookup(QStringLiteral("no_proxy"));
    if (list.trimmed().isEmpty())
        list = lookup(QStringLiteral("NO_PROXY"));
    for (QString entry : list.split(QRegularExpression(QStringLiteral("[,\\s]+")), Qt::SkipEmptyParts)) {
        while (entry.startsWith(QLatin1Char('.')))
            entry.remove(0, 1);
        if (!entry.isEmpty())
            noProxy << stripBrackets(entry).toLower();
    }
}

QNetworkProxy EnvironmentProxyFactory::readProxy(const QStringList& names)
{
    for (const QString& name : names) {
        QString value = lookup(name).trimmed();
        if (value.isEmpty())
            continue;
        if (!value.contains(QStringLiteral("://")))
            value.prepend(QStringLiteral("http://"));
        const QUrl url(value, QUrl::StrictMode);
        const QString scheme = url.scheme().toLower();
        QNetworkProxy::ProxyType type = QNetworkProxy::HttpProxy;
        if (scheme == QLatin1String("socks5") || scheme == QLatin1String("socks5h"))
            type = QNetworkProxy::Socks5Proxy;
        else if (scheme != QLatin1String("http"))
            type = QNetworkProxy::NoProxy;
        if (!url.isValid() || url.host().isEmpty() || type == QNetworkProxy::NoProxy) {
            if (unusable.isEmpty())
                unusable = tr("The proxy \"%1\" (%2) cannot be used. It must be "
                              "[http://][user:password@]host[:port] or a socks5:// address.")
                               .arg(lookup(name).trimmed(), name);
            return QNetworkProxy(QNetworkProxy::NoProxy);
        }
        return QNetworkProxy(type, url.host(), quint16(url.port(1080)), url.userName(QUrl::FullyDecoded),
                             url.password(QUrl::FullyDecoded));
    }
    return QNetworkProxy(QNetworkProxy::NoProxy);
}

bool EnvironmentProxyFactory::bypasses(const QString& rawHost) const
{
    const QString host = stripBrackets(rawHost).toLower();
    const QHostAddress address(host);
    for (const QString& entry : noProxy) {
        if (entry == QLatin1String("*") || entry == host)
            return true;
        if (!address.isNull()) {
            const QPair<QHostAddress, int> subnet = QHostAddress::parseSubnet(entry);
            if (entry.contains(QLatin1Char('/')) && subnet.second >= 0 && address.isInSubnet(subnet))
                return true;
            if (QHostAddress(entry) == address)
                return true;
        } else if (host.endsWith(QLatin1Char('.') + entry)) {
            return true;
        }
    }
    return false;
}

QList<QNetworkProxy> EnvironmentProxyFactory::queryProxy(const QNetworkProxyQuery& query)
{
    const QNetworkProxy direct(QNetworkProxy::NoProxy);
    if (query.queryType() != QNetworkProxyQuery::UrlRequest)
        return {direct};
    const QUrl url = query.url();
    const QString scheme = url.scheme().toLower();
    const QNetworkProxy& proxy = scheme == QLatin1String("https")  ? httpsProxy
                                 : scheme == QLatin1String("http") ? httpProxy
                                                                   : direct;
    if (proxy.type() == QNetworkProxy::NoProxy || bypasses(url.host()))
        return {direct};
    return {proxy};
}

QString EnvironmentProxyFactory::describe() const
{
    return QStringLiteral("http %1, https %2, direct for: %3")
        .arg(proxyText(httpProxy), proxyText(httpsProxy),
             noProxy.isEmpty() ? QStringLiteral("-") : noProxy.join(QLatin1Char(',')));
}
