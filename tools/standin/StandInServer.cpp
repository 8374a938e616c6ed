#include "StandInServer.h"

#include "StandInAssets.h"
#include "StandInConnection.h"
#include "StandInListener.h"
#include "StandInNotifications.h"
#include "StandInPortal.h"

#include <QFile>
#include <QHostAddress>
#include <QMutexLocker>
#include <QTcpSocket>

namespace {

QString dashIfEmpty(const QString& text)
{
    return text.isEmpty() ? QStringLiteral("-") : text;
}

} // namespace

QString StandInServer::JournalEntry::toLine() const
{
    const QString encodedPath = QString::fromLatin1(QUrl::toPercentEncoding(path, "/"));
    const QString encodedRange =
        QString::fromLatin1(QUrl::toPercentEncoding(QString::fromLatin1(range), "=-,"));
    return QStringList{time.toUTC().toString(Qt::ISODateWithMs),
                       dashIfEmpty(QString::fromLatin1(method)),
                       dashIfEmpty(encodedPath),
                       dashIfEmpty(query),
                       dashIfEmpty(encodedRange),
                       QString::number(status),
                       QString::number(bytesSent)}
        .join(QLatin1Char(' '));
}

StandInServer::StandInServer(QObject* parent)
    : QObject(parent), tcpServer(new StandInListener(this)), portal(std::make_unique<StandInPortal>()),
      notificationService(std::make_unique<StandInNotifications>()), assets(std::make_unique<StandInAssets>())
{
    qRegisterMetaType<StandInServer::JournalEntry>();
    connect(tcpServer, &QTcpServer::newConnection, this, &StandInServer::onNewConnection);
}

StandInServer::~StandInServer()
{
    // Connections are children; delete them first so none reports into a half-destroyed server.
    const auto connections = findChildren<StandInConnection*>(QString(), Qt::FindDirectChildrenOnly);
    qDeleteAll(connections);
    delete journalFile;
}

bool StandInServer::setTlsFiles(const QString& certFile, const QString& keyFile, QString* error)
{
    return tcpServer->setCertificateFiles(certFile, keyFile, error);
}

bool StandInServer::isTls() const
{
    return tcpServer->isEncrypted();
}

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
    QUrl url;
    url.setScheme(isTls() ? QStringLiteral("https") : QStringLiteral("http"));
    url.setHost(QStringLiteral("127.0.0.1"));
    url.setPort(port());
    return url;
}

QString StandInServer::portalBaseUrl() const
{
    return baseUrl().toString() + QLatin1Char('/');
}

QString StandInServer::notificationBaseUrl() const
{
    return baseUrl().toString();
}

void StandInServer::setCredentials(const QString& user, const QString& password, const QByteArray& key)
{
    portal->setCredentials(user, password, key);
}

void StandInServer::setRefusalMessage(const QByteArray& body)
{
    portal->setRefusalMessage(body);
}

void StandInServer::setAuthenticateMode(AuthenticateMode mode)
{
    portal->setAuthenticateMode(mode);
}

void StandInServer::setVersion(qint64 version)
{
    portal->setVersion(version);
}

void StandInServer::setVersionDescription(const QString& html)
{
    portal->setVersionDescription(html);
}

void StandInServer::setVersionCheckBody(const QByteArray& rawBody)
{
    portal->setVersionCheckBody(rawBody);
}

void StandInServer::setInstaller(const QString& fileName, const QByteArray& bytes)
{
    portal->setInstaller(fileName, bytes);
}

QUrl StandInServer::installerUrl() const
{
    QUrl url = baseUrl();
    url.setPath(StandInPortal::installerPrefix() + portal->installerName(), QUrl::DecodedMode);
    return url;
}

void StandInServer::setNotificationFault(const NotifyFault& fault)
{
    notificationService->setFault(fault);
}

QList<StandInServer::QueryItems> StandInServer::notificationsReceived() const
{
    return notificationService->received();
}

void StandInServer::answerHeldNotifications()
{
    notificationService->answerHeld();
}

void StandInServer::setAlertFailures(int failFirst)
{
    notificationService->setAlertFailures(failFirst);
}

void StandInServer::setAssetRoot(const QString& dir)
{
    assets->setRoot(dir);
}

QString StandInServer::assetRoot() const
{
    return assets->root();
}

void StandInServer::setAssetData(const QString& relativePath, const QByteArray& data)
{
    assets->setData(relativePath, data);
}

QUrl StandInServer::assetUrl(const QString& relativePath) const
{
    return StandInAssets::urlOf(baseUrl(), relativePath);
}

void StandInServer::setAssetFault(const QString& relativePath, const AssetFault& fault)
{
    assets->setFault(relativePath, fault);
}

void StandInServer::clearAssetFault(const QString& relativePath)
{
    assets->clearFault(relativePath);
}

void StandInServer::clearAllAssetFaults()
{
    assets->clearAllFaults();
}

int StandInServer::assetDeliveries(const QString& relativePath) const
{
    return assets->deliveries(relativePath);
}

bool StandInServer::parseAssetFault(const QString& text, AssetFault* fault, QString* error)
{
    return StandInAssets::parseFault(text, fault, error);
}

QList<StandInServer::JournalEntry> StandInServer::journal() const
{
    QMutexLocker lock(&mutex);
    return entries;
}

QList<StandInServer::JournalEntry> StandInServer::journalFor(const QString& path) const
{
    QMutexLocker lock(&mutex);
    QList<JournalEntry> matching;
    for (const JournalEntry& entry : entries) {
        if (entry.path == path)
            matching.append(entry);
    }
    return matching;
}

void StandInServer::clearJournal()
{
    {
        QMutexLocker lock(&mutex);
        entries.clear();
    }
    notificationService->clearReceived();
}

bool StandInServer::setJournalFile(const QString& path)
{
    QMutexLocker lock(&mutex);
    delete journalFile;
    journalFile = nullptr;
    if (path.isEmpty())
        return true;
    auto* file = new QFile(path);
    if (!file->open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text)) {
        delete file;
        return false;
    }
    journalFile = file;
    return true;
}

void StandInServer::onNewConnection()
{
    while (QTcpSocket* socket = tcpServer->nextPendingConnection())
        new StandInConnection(socket, this); // owned by this server, deletes itself when closed
}

int StandInServer::addJournalEntry(const JournalEntry& entry)
{
    QMutexLocker lock(&mutex);
    JournalEntry stored = entry;
    stored.index = nextIndex++;
    stored.time = QDateTime::currentDateTimeUtc();
    entries.append(stored);
    return stored.index;
}

StandInServer::JournalEntry* StandInServer::findEntry(int index)
{
    // Entries are appended in index order; clearJournal() only drops a prefix of them.
    if (entries.isEmpty())
        return nullptr;
    const int position = index - entries.first().index;
    if (position < 0 || position >= entries.size())
        return nullptr;
    return &entries[position];
}

void StandInServer::updateJournalProgress(int index, int status, qint64 bytesSent)
{
    QMutexLocker lock(&mutex);
    if (JournalEntry* entry = findEntry(index)) {
        entry->status = status;
        entry->bytesSent = bytesSent;
    }
}

void StandInServer::finishJournalEntry(const JournalEntry& entry)
{
    JournalEntry done;
    {
        QMutexLocker lock(&mutex);
        JournalEntry* stored = findEntry(entry.index);
        if (stored) {
            stored->status = entry.status;
            stored->bytesSent = entry.bytesSent;
            stored->finished = true;
            stored->complete = entry.complete;
            done = *stored;
        } else {
            done = entry; // the journal was cleared meanwhile
        }
        if (journalFile) {
            journalFile->write(done.toLine().toUtf8() + '\n');
            journalFile->flush();
        }
    }
    emit requestServed(done);
}

void StandInServer::route(StandInConnection* connection, const JournalEntry& request)
{
    const bool get = request.method == "GET" || request.method == "HEAD";
    const bool post = request.method == "POST";
    const QString& path = request.path;

    if (path == QLatin1String("/authenticate")) {
        if (!post)
            return connection->sendSimple(405, "text/plain", "use POST\n", {{"Allow", "POST"}});
        return portal->answerAuthenticate(connection, request);
    }
    if (path == QLatin1String("/alerts")) {
        if (!post)
            return connection->sendSimple(405, "text/plain", "use POST\n", {{"Allow", "POST"}});
        return notificationService->answerAlert(connection);
    }
    if (!get)
        return connection->sendSimple(405, "text/plain", "method not allowed\n", {{"Allow", "GET, HEAD"}});

    if (path == QLatin1String("/notification/dcp"))
        return notificationService->answerNotification(connection, request);
    if (path.startsWith(StandInAssets::pathPrefix()))
        return assets->answer(connection, request, baseUrl());
    if (path == QLatin1String("/versioncheck"))
        return portal->answerVersionCheck(connection, installerUrl());
    if (!portal->answerDownload(connection, path))
        connection->sendSimple(404, "text/plain", "no such page\n");
}
