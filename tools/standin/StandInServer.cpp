#include "StandInServer.h"

#include "StandInConnection.h"

#include <QFile>
#include <QHostAddress>
#include <QTcpServer>

QString StandInServer::JournalEntry::toLine() const
{
    return QString();
}

StandInServer::StandInServer(QObject* parent) : QObject(parent), tcpServer(new QTcpServer(this))
{
    qRegisterMetaType<StandInServer::JournalEntry>();
}

StandInServer::~StandInServer() = default;

bool StandInServer::listen(quint16 port)
{
    return tcpServer->listen(QHostAddress::LocalHost, port);
}
void StandInServer::close()
{
    tcpServer->close();
}
bool StandInServer::isListening() const
{
    return tcpServer->isListening();
}
quint16 StandInServer::port() const
{
    return tcpServer->serverPort();
}
QUrl StandInServer::baseUrl() const
{
    return QUrl(QStringLiteral("http://127.0.0.1:%1").arg(port()));
}
QString StandInServer::portalBaseUrl() const
{
    return baseUrl().toString() + QLatin1Char('/');
}
QString StandInServer::notificationBaseUrl() const
{
    return baseUrl().toString();
}
void StandInServer::setCredentials(const QString&, const QString&, const QByteArray&) {}
void StandInServer::setRefusalMessage(const QByteArray&) {}
void StandInServer::setAuthenticateMode(AuthenticateMode) {}
void StandInServer::setVersion(qint64) {}
void StandInServer::setVersionDescription(const QString&) {}
void StandInServer::setVersionCheckBody(const QByteArray&) {}
void StandInServer::setInstaller(const QString&, const QByteArray&) {}
QUrl StandInServer::installerUrl() const
{
    return QUrl();
}
void StandInServer::setNotificationFault(const NotifyFault&) {}
QList<StandInServer::QueryItems> StandInServer::notificationsReceived() const
{
    return {};
}
void StandInServer::answerHeldNotifications() {}
void StandInServer::setAssetRoot(const QString&) {}
QString StandInServer::assetRoot() const
{
    return QString();
}
void StandInServer::setAssetData(const QString&, const QByteArray&) {}
QUrl StandInServer::assetUrl(const QString&) const
{
    return QUrl();
}
void StandInServer::setAssetFault(const QString&, const AssetFault&) {}
void StandInServer::clearAssetFault(const QString&) {}
void StandInServer::clearAllAssetFaults() {}
int StandInServer::assetDeliveries(const QString&) const
{
    return 0;
}
QList<StandInServer::JournalEntry> StandInServer::journal() const
{
    return {};
}
QList<StandInServer::JournalEntry> StandInServer::journalFor(const QString&) const
{
    return {};
}
void StandInServer::clearJournal() {}
bool StandInServer::setJournalFile(const QString&)
{
    return true;
}
void StandInServer::onNewConnection() {}
int StandInServer::addJournalEntry(const JournalEntry&)
{
    return 0;
}
void StandInServer::updateJournalEntry(const JournalEntry&) {}
void StandInServer::finishJournalEntry(const JournalEntry&) {}
