#include "StandInServer.h"

#include "StandInConnection.h"
#include "StandInListener.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHostAddress>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMutexLocker>
#include <QTcpSocket>
#include <QUrlQuery>

#include <algorithm>
#include <limits>

#include <zlib.h>

namespace {

const QString assetPrefix = QStringLiteral("/assets/");
const QString installerPrefix = QStringLiteral("/installer/");

QString dashIfEmpty(const QString& text)
{
    return text.isEmpty() ? QStringLiteral("-") : text;
}

// Parses an unsigned decimal number made only of digits; false on anything else or overflow.
bool parseDigits(const QByteArray& text, qint64* value)
{
    if (text.isEmpty() || text.size() > 18)
        return false;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return false;
    }
    *value = text.toLongLong();
    return true;
}

// Whether the counted fault still applies: times -1 means always.
bool stillApplies(int times, int used)
{
    return times < 0 || used < times;
}

// A gzip member of `inflated` zero bytes. One block of zeros, compressed once and ended on
// a byte boundary, decodes the same wherever it stands, so it is simply repeated.
QByteArray gzipBomb(qint64 inflated)
{
    static QMutex cacheMutex;
    static QHash<qint64, QByteArray> cache;
    QMutexLocker lock(&cacheMutex);
    if (cache.contains(inflated))
        return cache.value(inflated);

    constexpr qint64 blockBytes = 1 << 20;
    const QByteArray zeros(int(blockBytes), '\0');
    QByteArray block(int(blockBytes), '\0');
    z_stream stream{};
    deflateInit2(&stream, 9, Z_DEFLATED, -15, 9, Z_DEFAULT_STRATEGY); // raw deflate
    const auto compress = [&](qint64 bytes, int flush) {
        stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(zeros.constData()));
        stream.avail_in = uInt(bytes);
        stream.next_out = reinterpret_cast<Bytef*>(block.data());
        stream.avail_out = uInt(block.size());
        deflate(&stream, flush);
        return block.left(block.size() - int(stream.avail_out));
    };
    const QByteArray whole = compress(blockBytes, Z_FULL_FLUSH);
    const QByteArray tail = compress(inflated % blockBytes, Z_FINISH);
    deflateEnd(&stream);

    uLong crc = crc32(0L, Z_NULL, 0);
    const uLong blockCrc = crc32(0L, reinterpret_cast<const Bytef*>(zeros.constData()), uInt(blockBytes));
    QByteArray body("\x1f\x8b\x08\0\0\0\0\0\0\xff", 10);
    for (qint64 i = 0; i < inflated / blockBytes; ++i) {
        body += whole;
        crc = crc32_combine(crc, blockCrc, blockBytes);
    }
    body += tail;
    crc = crc32_combine(
        crc, crc32(0L, reinterpret_cast<const Bytef*>(zeros.constData()), uInt(inflated % blockBytes)),
        inflated % blockBytes);
    for (const quint32 word : {quint32(crc), quint32(inflated & 0xffffffff)})
        for (int shift = 0; shift < 32; shift += 8)
            body += char((word >> shift) & 0xff);
    cache.insert(inflated, body);
    return body;
}

QByteArray htmlPage(const QString& title, const QString& text)
{
    return QStringLiteral("<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>%1</title></head>"
                          "<body><h1>%1</h1><p>%2</p><p>This is the local stand-in of the OSKAN portal.</p>"
                          "</body></html>\n")
        .arg(title.toHtmlEscaped(), text.toHtmlEscaped())
        .toUtf8();
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

StandInServer::StandInServer(QObject* parent) : QObject(parent), tcpServer(new StandInListener(this))
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

void StandInServer::setCredentials(const QString& newUser, const QString& newPassword, const QByteArray& key)
{
    QMutexLocker lock(&mutex);
    user = newUser;
    password = newPassword;
    decodingKey = key;
}

void StandInServer::setRefusalMessage(const QByteArray& body)
{
    QMutexLocker lock(&mutex);
    refusalMessage = body;
}

void StandInServer::setAuthenticateMode(AuthenticateMode mode)
{
    QMutexLocker lock(&mutex);
    authenticateMode = mode;
}

void StandInServer::setVersion(qint64 newVersion)
{
    QMutexLocker lock(&mutex);
    version = newVersion;
}

void StandInServer::setVersionDescription(const QString& html)
{
    QMutexLocker lock(&mutex);
    versionDescription = html;
}

void StandInServer::setVersionCheckBody(const QByteArray& rawBody)
{
    QMutexLocker lock(&mutex);
    versionCheckBody = rawBody;
}

void StandInServer::setInstaller(const QString& fileName, const QByteArray& bytes)
{
    QMutexLocker lock(&mutex);
    installerName = fileName;
    installerBytes = bytes;
}

QUrl StandInServer::installerUrl() const
{
    QString name;
    {
        QMutexLocker lock(&mutex);
        name = installerName;
    }
    QUrl url = baseUrl();
    url.setPath(installerPrefix + name, QUrl::DecodedMode);
    return url;
}

void StandInServer::setAlertFailures(int failFirst)
{
    QMutexLocker lock(&mutex);
    alertFailures = failFirst;
}

void StandInServer::setNotificationFault(const NotifyFault& fault)
{
    QMutexLocker lock(&mutex);
    notifyFault = fault;
    notificationsFailed = 0;
}

QList<StandInServer::QueryItems> StandInServer::notificationsReceived() const
{
    QMutexLocker lock(&mutex);
    return notifications;
}

void StandInServer::answerHeldNotifications()
{
    QList<QPointer<StandInConnection>> held;
    QByteArray body;
    {
        QMutexLocker lock(&mutex);
        held.swap(heldNotifications);
        body = notifyFault.body;
    }
    for (const auto& connection : qAsConst(held)) {
        if (connection)
            connection->sendSimple(200, "text/plain", body);
    }
}

void StandInServer::setAssetRoot(const QString& dir)
{
    QMutexLocker lock(&mutex);
    root = QDir(dir).absolutePath();
}

QString StandInServer::assetRoot() const
{
    QMutexLocker lock(&mutex);
    return root;
}

void StandInServer::setAssetData(const QString& relativePath, const QByteArray& data)
{
    QMutexLocker lock(&mutex);
    assetData.insert(QDir::cleanPath(relativePath), data);
}

QUrl StandInServer::assetUrl(const QString& relativePath) const
{
    QUrl url = baseUrl();
    url.setPath(assetPrefix + QDir::cleanPath(relativePath), QUrl::DecodedMode);
    return url;
}

void StandInServer::setAssetFault(const QString& relativePath, const AssetFault& fault)
{
    QMutexLocker lock(&mutex);
    AssetState state;
    state.fault = fault;
    assetStates.insert(QDir::cleanPath(relativePath), state);
}

void StandInServer::clearAssetFault(const QString& relativePath)
{
    QMutexLocker lock(&mutex);
    AssetState& state = assetStates[QDir::cleanPath(relativePath)];
    state.fault = AssetFault();
}

void StandInServer::clearAllAssetFaults()
{
    QMutexLocker lock(&mutex);
    for (AssetState& state : assetStates)
        state.fault = AssetFault();
}

int StandInServer::assetDeliveries(const QString& relativePath) const
{
    QMutexLocker lock(&mutex);
    return assetStates.value(QDir::cleanPath(relativePath)).deliveries;
}

bool StandInServer::parseAssetFault(const QString& text, AssetFault* fault, QString* error)
{
    AssetFault result;
    const QStringList items = text.split(QLatin1Char(','), Qt::SkipEmptyParts);
    for (const QString& rawItem : items) {
        const QString item = rawItem.trimmed();
        const int equals = item.indexOf(QLatin1Char('='));
        const QString key = equals < 0 ? item : item.left(equals);
        const QString value = equals < 0 ? QString() : item.mid(equals + 1);
        bool ok = true;
        const auto number = [&]() {
            return value.toLongLong(&ok);
        };
        const auto small = [&]() {
            const qint64 n = value.toLongLong(&ok);
            ok = ok && n >= std::numeric_limits<int>::min() && n <= std::numeric_limits<int>::max();
            return static_cast<int>(n);
        };
        if (key == QLatin1String("drop")) {
            result.dropAfterBytes = number();
        } else if (key == QLatin1String("drop-times")) {
            result.dropTimes = small();
        } else if (key == QLatin1String("drop-reset") && value.isEmpty()) {
            result.dropWithReset = true;
        } else if (key == QLatin1String("stall")) {
            result.stallAfterBytes = number();
        } else if (key == QLatin1String("stall-seconds")) {
            result.stallSeconds = value.toDouble(&ok);
        } else if (key == QLatin1String("stall-times")) {
            result.stallTimes = small();
        } else if (key == QLatin1String("ignore-range") && value.isEmpty()) {
            result.ignoreRange = true;
        } else if (key == QLatin1String("status")) {
            result.status = small();
            ok = ok && result.status >= 100 && result.status <= 599;
        } else if (key == QLatin1String("status-times")) {
            result.statusTimes = small();
        } else if (key == QLatin1String("redirects")) {
            result.redirects = small();
        } else if (key == QLatin1String("redirect-style")) {
            if (value == QLatin1String("absolute"))
                result.redirectStyle = RedirectStyle::Absolute;
            else if (value == QLatin1String("root"))
                result.redirectStyle = RedirectStyle::RootRelative;
            else if (value == QLatin1String("path"))
                result.redirectStyle = RedirectStyle::PathRelative;
            else
                ok = false;
        } else if (key == QLatin1String("redirect-status")) {
            result.redirectStatus = small();
            ok = ok && result.redirectStatus >= 300 && result.redirectStatus <= 399;
        } else if (key == QLatin1String("range-delta")) {
            result.contentRangeDelta = number();
        } else if (key == QLatin1String("corrupt")) {
            result.corruptFirstDeliveries = small();
        } else if (key == QLatin1String("corrupt-offset")) {
            result.corruptOffset = number();
        } else if (key == QLatin1String("overrun")) {
            result.overrunBytes = value == QLatin1String("endless") ? -1 : number();
            ok = ok && result.overrunBytes >= -1;
        } else if (key == QLatin1String("overrun-in-range") && value.isEmpty()) {
            result.overrunInRange = true;
        } else if (key == QLatin1String("overrun-times")) {
            result.overrunTimes = small();
        } else if (key == QLatin1String("gzip")) {
            result.gzipBombBytes = value.isEmpty() ? qint64(1) << 30 : number();
            ok = ok && result.gzipBombBytes > 0;
        } else if (key == QLatin1String("header-flood") && value.isEmpty()) {
            result.headerFlood = true;
        } else if (key == QLatin1String("drip")) {
            result.throttleBytesPerSecond = value.isEmpty() ? 1 : number();
            ok = ok && result.throttleBytesPerSecond > 0;
        } else if (key == QLatin1String("throttle")) {
            result.throttleBytesPerSecond = number();
            ok = ok && result.throttleBytesPerSecond >= 0;
        } else {
            if (error)
                *error = QStringLiteral("unknown fault item \"%1\"").arg(item);
            return false;
        }
        if (!ok) {
            if (error)
                *error = QStringLiteral("bad value in fault item \"%1\"").arg(item);
            return false;
        }
    }
    *fault = result;
    return true;
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
    QMutexLocker lock(&mutex);
    entries.clear();
    notifications.clear();
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

bool StandInServer::claimFault(const QString& asset, FaultKind kind)
{
    QMutexLocker lock(&mutex);
    AssetState& state = assetStates[asset];
    switch (kind) {
    case FaultKind::Delivery:
        ++state.deliveries;
        return true;
    case FaultKind::Drop:
        if (!stillApplies(state.fault.dropTimes, state.drops))
            return false;
        ++state.drops;
        return true;
    case FaultKind::Stall:
        if (!stillApplies(state.fault.stallTimes, state.stalls))
            return false;
        ++state.stalls;
        return true;
    case FaultKind::Corruption:
        if (state.corruptions >= state.fault.corruptFirstDeliveries)
            return false;
        ++state.corruptions;
        return true;
    }
    return false;
}

void StandInServer::refundFault(const QString& asset, FaultKind kind)
{
    QMutexLocker lock(&mutex);
    AssetState& state = assetStates[asset];
    int& counter = kind == FaultKind::Drop         ? state.drops
                   : kind == FaultKind::Stall      ? state.stalls
                   : kind == FaultKind::Corruption ? state.corruptions
                                                   : state.deliveries;
    counter = std::max(0, counter - 1);
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
        return routeAuthenticate(connection, request);
    }
    if (path == QLatin1String("/alerts")) {
        if (!post)
            return connection->sendSimple(405, "text/plain", "use POST\n", {{"Allow", "POST"}});
        QMutexLocker lock(&mutex);
        const bool fail = alertFailures > 0;
        alertFailures = qMax(0, alertFailures - 1);
        lock.unlock();
        return fail ? connection->sendSimple(503, "text/plain", "unavailable\n")
                    : connection->sendSimple(200, "text/plain", "ok");
    }
    if (!get)
        return connection->sendSimple(405, "text/plain", "method not allowed\n", {{"Allow", "GET, HEAD"}});

    if (path == QLatin1String("/notification/dcp"))
        return routeNotification(connection, request);
    if (path.startsWith(assetPrefix))
        return routeAsset(connection, request);
    if (path == QLatin1String("/versioncheck"))
        return connection->sendSimple(200, "application/json", versionCheckAnswer());
    if (path.startsWith(installerPrefix)) {
        QMutexLocker lock(&mutex);
        if (path.mid(installerPrefix.size()) == installerName) {
            const QByteArray bytes = installerBytes;
            lock.unlock();
            return connection->sendSimple(200, "application/octet-stream", bytes);
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
        if (path == page.first)
            return connection->sendSimple(200, "text/html; charset=utf-8", htmlPage(page.second, page.first));
    }
    connection->sendSimple(404, "text/plain", "no such page\n");
}

void StandInServer::routeAuthenticate(StandInConnection* connection, const JournalEntry& request)
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

void StandInServer::routeNotification(StandInConnection* connection, const JournalEntry& request)
{
    const QUrlQuery query(request.query);
    const QueryItems items = query.queryItems(QUrl::FullyDecoded);

    // The service needs all four items, the last three as numbers and a known event.
    bool wellFormed = true;
    for (const char* key : {"user_uuid", "campaign_dcp_id", "reel_number", "event"})
        wellFormed = wellFormed && query.hasQueryItem(QLatin1String(key));
    qint64 number = 0;
    for (const char* key : {"campaign_dcp_id", "reel_number", "event"})
        wellFormed = wellFormed && parseDigits(query.queryItemValue(QLatin1String(key)).toLatin1(), &number);
    wellFormed = wellFormed && number >= 1 && number <= 8; // the last one read is the event

    QMutexLocker lock(&mutex);
    notifications.append(items);
    if (notifyFault.neverAnswer) {
        heldNotifications.append(connection);
        connection->hold();
        return;
    }
    if (!wellFormed) {
        lock.unlock();
        return connection->sendSimple(400, "text/plain", "missing or bad query item\n");
    }
    if (notificationsFailed < notifyFault.failFirst) {
        ++notificationsFailed;
        lock.unlock();
        return connection->sendSimple(503, "text/plain", "unavailable");
    }
    const QByteArray body = notifyFault.body;
    lock.unlock();
    connection->sendSimple(200, "text/plain", body);
}

QByteArray StandInServer::versionCheckAnswer() const
{
    {
        QMutexLocker lock(&mutex);
        if (!versionCheckBody.isEmpty())
            return versionCheckBody;
    }
    const QString installer = installerUrl().toString(QUrl::FullyEncoded);
    QMutexLocker lock(&mutex);
    QJsonObject answer;
    answer.insert(QStringLiteral("version"), version);
    answer.insert(QStringLiteral("description"), versionDescription);
    answer.insert(QStringLiteral("mac_url"), installer);
    return QJsonDocument(answer).toJson(QJsonDocument::Compact);
}

void StandInServer::routeAsset(StandInConnection* connection, const JournalEntry& request)
{
    const QString relative = request.path.mid(assetPrefix.size());
    const QString cleaned = QDir::cleanPath(relative);
    if (relative.isEmpty() || cleaned.startsWith(QLatin1String("..")) || QDir::isAbsolutePath(cleaned) ||
        relative.contains(QLatin1Char('\\')))
        return connection->sendSimple(404, "text/plain", "no such asset\n");

    QMutexLocker lock(&mutex);
    AssetState& state = assetStates[cleaned];
    const AssetFault fault = state.fault;

    if (fault.status != 0 && stillApplies(fault.statusTimes, state.statusAnswers)) {
        ++state.statusAnswers;
        lock.unlock();
        return connection->sendSimple(fault.status, "text/plain",
                                      "asset refused by fault setting: " + QByteArray::number(fault.status) +
                                          '\n');
    }

    const int hop = QUrlQuery(request.query).queryItemValue(QStringLiteral("hop")).toInt();
    if (hop < fault.redirects) {
        lock.unlock();
        const QString nextQuery = QStringLiteral("hop=%1").arg(hop + 1);
        QString location;
        switch (fault.redirectStyle) {
        case RedirectStyle::Absolute: {
            QUrl url = assetUrl(cleaned);
            url.setQuery(nextQuery);
            location = url.toString(QUrl::FullyEncoded);
            break;
        }
        case RedirectStyle::RootRelative:
            location = QString::fromLatin1(QUrl::toPercentEncoding(assetPrefix + cleaned, "/")) +
                       QLatin1Char('?') + nextQuery;
            break;
        case RedirectStyle::PathRelative:
            location = QString::fromLatin1(QUrl::toPercentEncoding(cleaned.section(QLatin1Char('/'), -1))) +
                       QLatin1Char('?') + nextQuery;
            break;
        }
        return connection->sendSimple(fault.redirectStatus, "text/plain", "moved\n",
                                      {{"Location", location.toLatin1()}});
    }

    if (fault.headerFlood) {
        lock.unlock();
        return connection->sendHeaderFlood();
    }
    if (fault.gzipBombBytes > 0) {
        lock.unlock();
        return connection->sendSimple(200, "application/octet-stream", gzipBomb(fault.gzipBombBytes),
                                      {{"Content-Encoding", "gzip"}});
    }

    std::unique_ptr<QIODevice> device;
    if (assetData.contains(cleaned)) {
        auto buffer = std::make_unique<QBuffer>();
        buffer->setData(assetData.value(cleaned));
        device = std::move(buffer);
    } else {
        if (root.isEmpty())
            return lock.unlock(), connection->sendSimple(404, "text/plain", "no asset root\n");
        const QString filePath = root + QLatin1Char('/') + cleaned;
        // Refuse symbolic links that lead out of the root.
        const QString canonical = QFileInfo(filePath).canonicalFilePath();
        const QString canonicalRoot = QFileInfo(root).canonicalFilePath();
        if (canonical.isEmpty() || !canonical.startsWith(canonicalRoot + QLatin1Char('/')) ||
            !QFileInfo(canonical).isFile())
            return lock.unlock(), connection->sendSimple(404, "text/plain", "no such asset\n");
        device = std::make_unique<QFile>(canonical);
    }
    if (!device->open(QIODevice::ReadOnly))
        return lock.unlock(), connection->sendSimple(403, "text/plain", "asset not readable\n");
    const qint64 size = device->size();

    // Range: "bytes=N-", "bytes=N-M" or "bytes=-N"; one range only.
    qint64 first = 0;
    qint64 last = size - 1;
    bool partial = false;
    if (!request.range.isEmpty() && !fault.ignoreRange && size > 0) {
        const QByteArray range = request.range.trimmed();
        const int dash = range.indexOf('-');
        if (!range.startsWith("bytes=") || dash < 0 || range.contains(','))
            return lock.unlock(), connection->sendSimple(400, "text/plain", "malformed Range\n");
        const QByteArray from = range.mid(6, dash - 6).trimmed();
        const QByteArray to = range.mid(dash + 1).trimmed();
        qint64 a = 0;
        qint64 b = 0;
        const bool hasFrom = !from.isEmpty();
        const bool hasTo = !to.isEmpty();
        if ((hasFrom && !parseDigits(from, &a)) || (hasTo && !parseDigits(to, &b)) || (!hasFrom && !hasTo) ||
            (hasFrom && hasTo && b < a))
            return lock.unlock(), connection->sendSimple(400, "text/plain", "malformed Range\n");
        if (hasFrom) {
            if (a >= size) {
                lock.unlock();
                return connection->sendSimple(416, "text/plain", "range not satisfiable\n",
                                              {{"Content-Range", "bytes */" + QByteArray::number(size)}});
            }
            first = a;
            last = hasTo ? std::min(b, size - 1) : size - 1;
        } else {
            if (b == 0) {
                lock.unlock();
                return connection->sendSimple(416, "text/plain", "range not satisfiable\n",
                                              {{"Content-Range", "bytes */" + QByteArray::number(size)}});
            }
            first = std::max<qint64>(0, size - b);
        }
        partial = true;
        if (fault.contentRangeDelta != 0) {
            // A closed range moves as a whole, so the answer never has a negative length.
            if (hasFrom && hasTo)
                last = std::clamp<qint64>(last + fault.contentRangeDelta, 0, size - 1);
            first = std::clamp<qint64>(first + fault.contentRangeDelta, 0, last);
        }
    }
    const qint64 length = size == 0 ? 0 : last - first + 1;

    // Only the offsets are planned here; each fault is counted when it happens on the wire.
    StandInConnection::Delivery delivery;
    if (length > 0 && !connection->isHead()) {
        delivery.asset = cleaned;
        if (fault.dropAfterBytes >= 0 && fault.dropAfterBytes < length &&
            stillApplies(fault.dropTimes, state.drops)) {
            delivery.dropAfter = fault.dropAfterBytes;
            delivery.dropWithReset = fault.dropWithReset;
        }
        if (fault.stallAfterBytes >= 0 && fault.stallAfterBytes < length &&
            stillApplies(fault.stallTimes, state.stalls)) {
            delivery.stallAfter = fault.stallAfterBytes;
            delivery.stallMs = fault.stallSeconds < 0 ? -1 : qRound64(fault.stallSeconds * 1000.0);
        }
        const qint64 corruptAt = fault.corruptOffset >= 0 ? fault.corruptOffset : size / 2;
        if (state.corruptions < fault.corruptFirstDeliveries && corruptAt >= first && corruptAt <= last)
            delivery.corruptAt = corruptAt - first;
        delivery.bytesPerSecond = fault.throttleBytesPerSecond;
        if (fault.overrunBytes != 0 && stillApplies(fault.overrunTimes, state.overruns)) {
            ++state.overruns;
            delivery.overrun = fault.overrunBytes;
        }
    }
    lock.unlock();

    StandInConnection::Headers headers = {{"Content-Type", "application/octet-stream"},
                                          {"Accept-Ranges", "bytes"}};
    if (delivery.overrun < 0 && first == 0)
        partial = false; // as a server that ignores the Range would answer
    if (partial) {
        const qint64 claimed = delivery.overrun > 0 && fault.overrunInRange ? delivery.overrun : 0;
        headers.append({"Content-Range", "bytes " + QByteArray::number(first) + '-' +
                                             QByteArray::number(last + claimed) + '/' +
                                             QByteArray::number(size + claimed)});
    }
    connection->sendBody(partial ? 206 : 200, headers, std::move(device), first, length, delivery);
}
