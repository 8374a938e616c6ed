#pragma once

#include <QCoreApplication>
#include <QNetworkProxyFactory>
#include <QString>
#include <QStringList>

#include <functional>

// Chooses each request's proxy from the environment the way curl does, so a cinema's
// proxy settings work for this program as they do for its other tools:
// - http:// addresses use http_proxy (lower case only, as curl: a CGI-set HTTP_PROXY
//   must not redirect traffic), https:// addresses https_proxy or HTTPS_PROXY; either
//   falls back to all_proxy or ALL_PROXY;
// - no_proxy or NO_PROXY lists hosts reached directly, separated by commas or spaces:
//   "*" for all, a name that matches itself and its subdomains (a leading "." is
//   ignored), an IP address or a CIDR range such as 10.0.0.0/8;
// - a proxy is "[http://][user:password@]host[:port]" (port 1080 by default) or a
//   socks5:// or socks5h:// address; its user and password answer the proxy's request
//   for credentials.
// Sockets that are not URL requests (servers, local sockets) never go through a proxy.
class EnvironmentProxyFactory : public QNetworkProxyFactory
{
    Q_DECLARE_TR_FUNCTIONS(EnvironmentProxyFactory)

public:
    // Reads a variable; the default reads the process environment.
    using Lookup = std::function<QString(const QString& name)>;
    explicit EnvironmentProxyFactory(const Lookup& lookup = Lookup());

    QList<QNetworkProxy> queryProxy(const QNetworkProxyQuery& query = QNetworkProxyQuery()) override;

    // Empty when every proxy variable set can be used; otherwise the first that cannot, for
    // the user.
    QString problem() const { return unusable; }
    // The proxies in force, for the log ("https via http://host:port, direct for ...").
    QString describe() const;
    bool bypasses(const QString& host) const;

private:
    QNetworkProxy readProxy(const QStringList& names);

    QNetworkProxy httpProxy;
    QNetworkProxy httpsProxy;
    QStringList noProxy;
    QString unusable;
    Lookup lookup;
};
