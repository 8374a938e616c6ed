#pragma once

#include <QCoreApplication>
#include <QString>
#include <QUrl>

// Addresses of the services outside the program. The defaults are the production
// services; ORV_PORTAL_URL and ORV_NOTIFY_URL override them (tests and the demo point
// them at the local stand-in server). An override is a scheme, a host and an optional
// port, with or without a trailing "/".
class Services
{
    Q_DECLARE_TR_FUNCTIONS(Services)

public:
    // The portal's base address, always ending in "/". Error boxes link to it, the
    // software-update link appends "updates".
    static QString portalBaseUrl();
    // The notification service's base address without a trailing "/";
    // requests go to notificationBaseUrl() + "/notification/dcp".
    static QString notificationBaseUrl();

    // A page or endpoint of the portal, e.g. portalUrl("authenticate").
    static QUrl portalUrl(const QString& path);
    static QUrl notificationUrl(const QString& path);
    // base + "/" + path with exactly one "/" between them, whatever either side carries.
    static QString joinUrl(const QString& base, const QString& path);

    // Empty when both addresses may be used; otherwise the reason, for the user. The
    // portal carries the password, the decoding key and the installer, so it must be
    // HTTPS, or plain HTTP on this computer only.
    static QString addressProblem();
    // 127.0.0.0/8, ::1 or "localhost".
    static bool isLoopbackHost(const QString& host);
    // https anywhere, http on a loopback host only: for addresses whose answers are trusted.
    static bool isTrustedTransport(const QUrl& url);
};
