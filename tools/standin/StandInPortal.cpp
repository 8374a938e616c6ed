#include "StandInPortal.h"

#include "StandInConnection.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QList>
#include <QMutexLocker>
#include <QPair>
#include <QUrlQuery>

namespace {

QByteArray htmlPage(const QString& title, const QString& text)
{
    return QStringLiteral("<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>%1</title></head>"
                          "<body><h1>%1</h1><p>%2</p><p>This is the local stand-in of the OSKAN portal.</p>"
                          "</body></html>\n")
        .arg(title.toHtmlEscaped(), text.toHtmlEscaped())
        .toUtf8();
}

} // namespace

QString StandInPortal::installerPrefix()
{
    return QStringLiteral("/installer/");
}

void StandInPortal::setCredentials(const QString& newUser, const QString& newPassword, const QByteArray& key)
{
    QMutexLocker lock(&mutex);
    user = newUser;
    password = newPassword;
    decodingKey = key;
}

void StandInPortal::setRefusalMessage(const QByteArray& body)
{
    QMutexLocker lock(&mutex);
    refusalMessage = body;
}

void StandInPortal::setAuthenticateMode(AuthenticateMode mode)
{
    QMutexLocker lock(&mutex);
    authenticateMode = mode;
}

void StandInPortal::setVersion(qint64 newVersion)
{
    QMutexLocker lock(&mutex);
    version = newVersion;
}

void StandInPortal::setVersionDescription(const QString& html)
{
    QMutexLocker lock(&mutex);
    versionDescription = html;
}

void StandInPortal::setVersionCheckBody(const QByteArray& rawBody)
{
    QMutexLocker lock(&mutex);
    versionCheckBody = rawBody;
}

void StandInPortal::setInstaller(const QString& fileName, const QByteArray& bytes)
{
    QMutexLocker lock(&mutex);
    installer = fileName;
    installerBytes = bytes;
}

QString StandInPortal::installerName() const
{
    QMutexLocker lock(&mutex);
    return installer;
}

void StandInPortal::answerAuthenticate(StandInConnection* connection, const JournalEntry& request)
{
    // Form encoding writes spaces as "+"; QUrlQuery would keep them literally.
    QByteArray form = request.body;
    form.replace('+', "%20");
    const QUrlQuery query(QString::fromLatin1(form));
    const QString givenUser = query.queryItemValue(QStringLiteral("username"), QUrl::FullyDecoded);
    const QString givenPassword = query.queryItemValue(QStringLiteral("password"), QUrl::FullyDecoded);

    QMutexLocker lock(&mutex);
    switch (authenticateMode) {
    case AuthenticateMode::NeverAnswer:
        connection->hold();
        return;
    case AuthenticateMode::ServerError:
        lock.unlock();
        return connection->sendSimple(500, "text/plain", "Internal Server Error\n");
    case AuthenticateMode::Normal:
        break;
    }
    const bool accepted = query.hasQueryItem(QStringLiteral("username")) &&
                          query.hasQueryItem(QStringLiteral("password")) && givenUser == user &&
                          givenPassword == password;
    const QByteArray body = accepted ? decodingKey : refusalMessage;
    lock.unlock();
    connection->sendSimple(accepted ? 200 : 403, "text/plain; charset=utf-8", body);
}

void StandInPortal::answerVersionCheck(StandInConnection* connection, const QUrl& installerUrl)
{
    connection->sendSimple(200, "application/json", versionCheckAnswer(installerUrl));
}

QByteArray StandInPortal::versionCheckAnswer(const QUrl& installerUrl) const
{
    QMutexLocker lock(&mutex);
    if (!versionCheckBody.isEmpty())
        return versionCheckBody;
    QJsonObject answer;
    answer.insert(QStringLiteral("version"), version);
    answer.insert(QStringLiteral("description"), versionDescription);
    answer.insert(QStringLiteral("mac_url"), installerUrl.toString(QUrl::FullyEncoded));
    return QJsonDocument(answer).toJson(QJsonDocument::Compact);
}

bool StandInPortal::answerDownload(StandInConnection* connection, const QString& path)
{
    if (path.startsWith(installerPrefix())) {
        QMutexLocker lock(&mutex);
        if (path.mid(installerPrefix().size()) == installer) {
            const QByteArray bytes = installerBytes;
            lock.unlock();
            connection->sendSimple(200, "application/octet-stream", bytes);
            return true;
        }
    }

    static const QList<QPair<QString, QString>> pages = {
        {QStringLiteral("/"), QStringLiteral("OSKAN portal")},
        {QStringLiteral("/updates"), QStringLiteral("Software updates")},
        {QStringLiteral("/user/password/reset/"), QStringLiteral("Reset your password")},
        {QStringLiteral("/user/password/reset"), QStringLiteral("Reset your password")},
        {QStringLiteral("/user/forgot-username"), QStringLiteral("Forgot your user name")},
    };
    for (const auto& page : pages) {
        if (path == page.first) {
            connection->sendSimple(200, "text/html; charset=utf-8", htmlPage(page.second, page.first));
            return true;
        }
    }
    return false;
}
