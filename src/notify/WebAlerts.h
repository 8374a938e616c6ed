#pragma once

#include "notify/AttentionEvents.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>
#include <QUrl>

#include <memory>

class QNetworkAccessManager;
class QNetworkReply;
class Setting;

// Posts the staff's attention events as JSON to the web address the user gave ("Alerts…"),
// for a chat channel, a phone gateway or the cinema's own monitoring:
//   {"event": "dcp_ready", "dcp": {"title": ..., "uuid": ...}, "reel": 2 or null,
//    "text": "... in the user's language", "time": "2024-05-17T16:02:11Z"}
// Sent through the program's network set-up like every request, each alert on its own, tried
// again a bounded number of times. Nothing waits for it and nothing fails with it: an address
// that does not answer costs the downloads nothing. Only the address is stored (setting
// "alert_url"); logs name its scheme and host, never its path, query or credentials.
class WebAlerts : public QObject
{
    Q_OBJECT

public:
    static const char kSettingKey[];

    explicit WebAlerts(Setting& settings, QObject* parent = nullptr);
    ~WebAlerts() override;

    QString address() const;
    // Stores the address (empty: no alerts). False, with nothing stored, when the address is
    // not one; addressProblem() says why.
    bool setAddress(const QString& address);
    // Empty when the address can take alerts; otherwise why not, for the user.
    static QString addressProblem(const QString& address);

    // Posts the event to the stored address, if any; retried later when it fails.
    void send(const AttentionEvent& event);
    // Posts a test alert to the address, once; testFinished() tells whether it answered.
    void sendTest(const QString& address);

    // The JSON document posted for the event.
    static QByteArray document(const AttentionEvent& event);
    // The address as logs show it: scheme, host and port.
    static QString shownAddress(const QUrl& url);

    // Alerts sent or being retried.
    int outstanding() const { return m_outstanding; }
    // Waits between attempts (product: 10 s, then 60 s: three attempts in all); the time one
    // attempt may take without a byte moving. Tests shorten them.
    QList<int> retryDelaysMs{10000, 60000};
    int timeoutMs = 15000;

signals:
    void delivered(const QString& event);
    void gaveUp(const QString& event);
    void testFinished(bool answered, const QString& message);

private:
    void post(const QByteArray& body, const QString& name, int attempt);
    QNetworkReply* postTo(const QUrl& url, const QByteArray& body);
    // Why the reply failed, for the user, without the address's path or credentials.
    static QString failure(const QNetworkReply* reply);
    static bool succeeded(const QNetworkReply* reply);

    Setting& m_settings;
    std::unique_ptr<QNetworkAccessManager> m_network;
    int m_outstanding = 0;
};
