#pragma once

#include <QString>

// Addresses of the services outside the program. The defaults are the production
// services; ORV_PORTAL_URL and ORV_NOTIFY_URL override them (tests and the demo point
// them at the local stand-in server).
class Services
{
public:
    // The portal's base address, always ending in "/". Error boxes link to it, the
    // software-update link appends "updates", the login posts to "authenticate".
    static QString portalBaseUrl();
    // The notification service's base address without a trailing "/";
    // requests go to notificationBaseUrl() + "/notification/dcp".
    static QString notificationBaseUrl();
};
