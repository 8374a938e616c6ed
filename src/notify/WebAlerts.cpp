#include "notify/WebAlerts.h"

#include "core/NetworkSetup.h"
#include "storage/Setting.h"

#include <QDebug>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMetaEnum>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>

namespace {
// More than this many alerts in flight means the address is gone; newer ones are dropped
// rather than piled up.
const int kMaxOutstanding = 32;
} // namespace

const char WebAlerts::kSettingKey[] = "alert_url";

WebAlerts::WebAlerts(Setting& settings, QObject* parent)
    : QObject(parent), m_settings(settings), m_network(std::make_unique<QNetworkAccessManager>())
{
    NetworkSetup::prepare(m_network.get());
}

WebAlerts::~WebAlerts()
{
    // Alerts still under way end here, without their replies calling back.
    for (QNetworkReply* reply : m_network->findChildren<QNetworkReply*>()) {
        reply->disconnect(this);
        reply->abort();
    }
}

QString WebAlerts::address() const
{
    return m_settings.get(QString::fromLatin1(kSettingKey));
}

bool WebAlerts::setAddress(const QString& address)
{
    const QString trimmed = address.trimmed();
    if (!trimmed.isEmpty() && !addressProblem(trimmed).isEmpty())
        return false;
    m_settings.set(QString::fromLatin1(kSettingKey), trimmed);
    m_settings.save();
    qDebug() << "[WebAlerts] Alerts go to"
             << (trimmed.isEmpty() ? QStringLiteral("nowhere") : shownAddress(QUrl(trimmed)));
    return true;
}

QString WebAlerts::addressProblem(const QString& address)
{
    const QUrl url(address.trimmed(), QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || url.host().isEmpty() ||
        (scheme != QLatin1String("https") && scheme != QLatin1String("http")))
        return tr("Enter a web address that starts with https:// or http://.");
    return QString();
}

QString WebAlerts::shownAddress(const QUrl& url)
{
    return url.adjusted(QUrl::RemoveUserInfo | QUrl::RemovePath | QUrl::RemoveQuery | QUrl::RemoveFragment)
        .toString();
}

QByteArray WebAlerts::document(const AttentionEvent& event)
{
    QJsonObject json;
    json.insert(QStringLiteral("event"), event.name());
    if (event.dcpUuid.isEmpty()) {
        json.insert(QStringLiteral("dcp"), QJsonValue::Null);
    } else {
        json.insert(QStringLiteral("dcp"), QJsonObject{{QStringLiteral("title"), event.dcpTitle},
                                                       {QStringLiteral("uuid"), event.dcpUuid}});
    }
    json.insert(QStringLiteral("reel"),
                event.reelNumber ? QJsonValue(int(event.reelNumber)) : QJsonValue::Null);
    json.insert(QStringLiteral("text"), event.text);
    json.insert(QStringLiteral("time"), event.time.toUTC().toString(Qt::ISODate));
    return QJsonDocument(json).toJson(QJsonDocument::Compact);
}

void WebAlerts::send(const AttentionEvent& event)
{
    if (address().isEmpty())
        return;
    if (m_outstanding >= kMaxOutstanding) {
        qDebug() << "[WebAlerts] Too many alerts waiting, dropped" << event.name();
        return;
    }
    ++m_outstanding;
    post(document(event), event.name(), 1);
}

void WebAlerts::post(const QByteArray& body, const QString& name, int attempt)
{
    // The address of the moment: a retry after the user changed it goes to the new one.
    const QUrl url(address());
    if (!addressProblem(url.toString()).isEmpty()) {
        --m_outstanding;
        return;
    }
    QNetworkReply* const reply = postTo(url, body);
    connect(reply, &QNetworkReply::finished, this, [this, reply, body, name, attempt, url] {
        reply->deleteLater();
        if (succeeded(reply)) {
            --m_outstanding;
            qDebug() << "[WebAlerts] Alert" << name << "delivered to" << shownAddress(url);
            emit delivered(name);
            return;
        }
        const int attempts = retryDelaysMs.size() + 1;
        qDebug() << "[WebAlerts] Alert" << name << "not delivered to" << shownAddress(url) << "attempt"
                 << attempt << "of" << attempts << ":" << reply->error()
                 << reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        if (attempt >= attempts) {
            --m_outstanding;
            emit gaveUp(name);
            return;
        }
        QTimer::singleShot(retryDelaysMs.at(attempt - 1), this,
                           [this, body, name, attempt] { post(body, name, attempt + 1); });
    });
}

void WebAlerts::sendTest(const QString& address)
{
    const QString problem = addressProblem(address);
    if (!problem.isEmpty()) {
        emit testFinished(false, problem);
        return;
    }
    AttentionEvent event;
    event.kind = AttentionEvent::Test;
    event.time = QDateTime::currentDateTimeUtc();
    event.text = tr("Test alert from Reelvane Downloader: alerts reach this address.");
    const QUrl url(address.trimmed());
    QNetworkReply* const reply = postTo(url, document(event));
    connect(reply, &QNetworkReply::finished, this, [this, reply, url] {
        reply->deleteLater();
        const bool answered = succeeded(reply);
        qDebug() << "[WebAlerts] Test alert to" << shownAddress(url)
                 << (answered ? "delivered" : "not delivered") << reply->error()
                 << reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        emit testFinished(answered, answered ? tr("The address answered: alerts will arrive there.")
                                             : tr("The address did not answer: %1").arg(failure(reply)));
    });
}

QNetworkReply* WebAlerts::postTo(const QUrl& url, const QByteArray& body)
{
    QNetworkRequest request(url);
    request.setHeader(QNetworkRequest::ContentTypeHeader, QByteArrayLiteral("application/json"));
    request.setRawHeader("Accept-Encoding", "identity");
    request.setTransferTimeout(timeoutMs);
    return m_network->post(request, body);
}

bool WebAlerts::succeeded(const QNetworkReply* reply)
{
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    return reply->error() == QNetworkReply::NoError && status >= 200 && status < 300;
}

QString WebAlerts::failure(const QNetworkReply* reply)
{
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (status != 0) {
        return tr("the server answered %1 %2")
            .arg(status)
            .arg(reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString())
            .trimmed();
    }
    if (reply->error() == QNetworkReply::OperationCanceledError)
        return tr("nothing came back within %1 seconds").arg((reply->request().transferTimeout() + 999) / 1000);
    // Qt's texts name the whole address; the user sees its scheme and host only.
    QString text = NetworkSetup::failureText(reply);
    const QUrl url = reply->url();
    for (const QString& full : {url.toString(), url.toString(QUrl::FullyEncoded), url.toDisplayString()})
        text.replace(full, shownAddress(url));
    return text;
}
