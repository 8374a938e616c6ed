#pragma once

#include <QString>

class QNetworkAccessManager;
class QNetworkReply;
class QObject;

// What every request of the program shares. At start, once: the certificate authorities
// it trusts (the system's plus those of ORV_EXTRA_CA_FILE, a PEM file, for a
// TLS-inspecting company proxy or a test authority) and a check of the proxy variables.
// Then every network access manager is prepared: its proxies follow the environment
// (EnvironmentProxyFactory; Qt's application-wide factory would send loopback addresses
// past any proxy, curl does not), and a refused certificate's reasons are logged and kept
// for the failure's text. Certificates are always checked; no TLS error is waved through.
class NetworkSetup
{
public:
    // Before the application object exists: Qt's own event loop rather than GLib's. Qt's
    // network thread hands each decrypted piece of a body (4 KiB) to the main thread as an
    // event; GLib's loop writes its wake-up descriptor for every one of them, Qt's once per
    // wake-up. Left as it is when QT_NO_GLIB is set already.
    static void chooseEventLoop();
    // Installs the authorities and checks the proxies. Empty on success; otherwise why the
    // start must stop, naming the file or variable, for the user.
    static QString applyEnvironment();
    // Adds the certificates of a PEM file to the authorities every new request trusts.
    // Empty on success; otherwise the reason, naming the file.
    static QString addTrustedAuthorities(const QString& pemFile);
    // Gives the manager the environment's proxies and the logging of refused certificates.
    static void prepare(QNetworkAccessManager* manager);
    // A prepared manager whose requests also ask for bodies as they are (no compression Qt
    // would inflate in memory), for callers that build requests they cannot set it on.
    static QNetworkAccessManager* createManager(QObject* parent);
    // The reply's error text, with the certificate's reasons when TLS refused the server.
    static QString failureText(const QNetworkReply* reply);
};
