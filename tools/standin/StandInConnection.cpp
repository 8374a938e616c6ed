#include "StandInConnection.h"

#include "StandInAssets.h"

#include <QIODevice>
#include <QSslSocket>
#include <QTcpSocket>
#include <QTimer>
#include <QUrl>

#include <algorithm>
#include <limits>

#ifdef Q_OS_LINUX
#include <linux/sockios.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#endif

namespace {

// Requests are small; anything bigger is a broken or hostile client.
constexpr int maxHeadBytes = 64 * 1024;
constexpr qint64 maxBodyBytes = 1024 * 1024;
// Body bytes are read from the device in chunks of this size and handed to the socket
// while less than highWater bytes wait in its buffer, so memory stays flat.
constexpr qint64 chunkBytes = 256 * 1024;
constexpr qint64 highWater = 1024 * 1024;

QByteArray reasonPhrase(int status)
{
    switch (status) {
    case 200:
        return "OK";
    case 206:
        return "Partial Content";
    case 301:
        return "Moved Permanently";
    case 302:
        return "Found";
    case 303:
        return "See Other";
    case 307:
        return "Temporary Redirect";
    case 308:
        return "Permanent Redirect";
    case 400:
        return "Bad Request";
    case 403:
        return "Forbidden";
    case 404:
        return "Not Found";
    case 405:
        return "Method Not Allowed";
    case 411:
        return "Length Required";
    case 413:
        return "Payload Too Large";
    case 416:
        return "Range Not Satisfiable";
    case 431:
        return "Request Header Fields Too Large";
    case 500:
        return "Internal Server Error";
    case 501:
        return "Not Implemented";
    case 503:
        return "Service Unavailable";
    case 505:
        return "HTTP Version Not Supported";
    default:
        return "Status";
    }
}

bool isToken(const QByteArray& text)
{
    if (text.isEmpty())
        return false;
    for (const char c : text) {
        if (c <= 32 || c >= 127 || c == '(' || c == ')' || c == ',' || c == '/' || c == ':' || c == ';' ||
            c == '<' || c == '=' || c == '>' || c == '?' || c == '@' || c == '[' || c == '\\' || c == ']' ||
            c == '{' || c == '}' || c == '"')
            return false;
    }
    return true;
}

} // namespace

bool StandInConnection::parseDigits(const QByteArray& text, qint64* value)
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

StandInConnection::StandInConnection(QTcpSocket* socket, StandInServer* server)
    : QObject(server), socket(socket), server(server)
{
    socket->setParent(this);
    connect(socket, &QTcpSocket::readyRead, this, &StandInConnection::onReadyRead);
    connect(socket, &QTcpSocket::bytesWritten, this, &StandInConnection::onBytesWritten);
    connect(socket, &QTcpSocket::disconnected, this, &StandInConnection::onDisconnected);
    // Over TLS, written bytes are encrypted into a second buffer at once; the body goes on
    // as that one drains.
    if (auto* tls = qobject_cast<QSslSocket*>(socket))
        connect(tls, &QSslSocket::encryptedBytesWritten, this, &StandInConnection::pump);
    // Data that arrived with the connection is there before readyRead is connected.
    if (socket->bytesAvailable() > 0)
        QTimer::singleShot(0, this, &StandInConnection::onReadyRead);
}

StandInConnection::~StandInConnection()
{
    socket->disconnect(this);
    if (waitTimer)
        waitTimer->stop();
}

void StandInConnection::onReadyRead()
{
    if (finished)
        return;
    if (dispatched) {
        socket->readAll(); // one request per connection; anything after it is dropped unread
        return;
    }
    input.append(socket->readAll());

    if (expectedBody < 0) {
        const int headEnd = input.indexOf("\r\n\r\n");
        if (headEnd < 0) {
            if (input.size() > maxHeadBytes)
                rejectRequest(431, "request head too large\n");
            return;
        }
        if (!parseHead(headEnd))
            return;
    }
    if (input.size() < expectedBody)
        return;
    entry.body = input.left(static_cast<int>(expectedBody));
    input.clear();
    dispatched = true;
    entry.index = server->addJournalEntry(entry);
    emit server->requestReceived(entry);
    server->route(this, entry);
}

bool StandInConnection::parseHead(int headEnd)
{
    const QByteArray head = input.left(headEnd);
    input.remove(0, headEnd + 4);
    QList<QByteArray> lines = head.split('\n');
    for (QByteArray& line : lines) {
        if (line.endsWith('\r'))
            line.chop(1);
    }

    const QList<QByteArray> parts = lines.takeFirst().split(' ');
    if (parts.size() != 3 || !isToken(parts[0]) || parts[1].isEmpty()) {
        entry.method = parts.value(0).left(16);
        rejectRequest(400, "malformed request line\n");
        return false;
    }
    entry.method = parts[0];
    if (!parts[2].startsWith("HTTP/1.")) {
        rejectRequest(505, "only HTTP/1.x is spoken here\n");
        return false;
    }

    const QByteArray& target = parts[1];
    const int question = target.indexOf('?');
    const QByteArray rawPath = question < 0 ? target : target.left(question);
    entry.query = question < 0 ? QString() : QString::fromLatin1(target.mid(question + 1));
    if (!rawPath.startsWith('/')) {
        rejectRequest(400, "request target must be an absolute path\n");
        return false;
    }
    entry.path = QUrl::fromPercentEncoding(rawPath);

    qint64 contentLength = 0;
    for (const QByteArray& line : qAsConst(lines)) {
        const int colon = line.indexOf(':');
        if (colon <= 0 || !isToken(line.left(colon))) {
            rejectRequest(400, "malformed header line\n");
            return false;
        }
        const QByteArray name = line.left(colon);
        const QByteArray value = line.mid(colon + 1).trimmed();
        entry.headers.append({name, value});
        const QByteArray lower = name.toLower();
        if (lower == "range") {
            entry.range = value;
        } else if (lower == "content-length") {
            bool ok = false;
            contentLength = value.toLongLong(&ok);
            if (!ok || contentLength < 0) {
                rejectRequest(400, "bad Content-Length\n");
                return false;
            }
        } else if (lower == "transfer-encoding") {
            rejectRequest(501, "chunked request bodies are not supported\n");
            return false;
        }
    }
    if (contentLength > maxBodyBytes) {
        rejectRequest(413, "request body too large\n");
        return false;
    }
    expectedBody = contentLength;
    return true;
}

void StandInConnection::rejectRequest(int status, const QByteArray& reason)
{
    dispatched = true;
    input.clear();
    entry.index = server->addJournalEntry(entry);
    emit server->requestReceived(entry);
    sendSimple(status, "text/plain", reason);
}

void StandInConnection::writeHead(int status, const Headers& headers, qint64 contentLength)
{
    QByteArray head = "HTTP/1.1 " + QByteArray::number(status) + ' ' + reasonPhrase(status) + "\r\n";
    for (const auto& header : headers)
        head += header.first + ": " + header.second + "\r\n";
    if (contentLength >= 0)
        head += "Content-Length: " + QByteArray::number(contentLength) + "\r\n";
    head += "Connection: close\r\n\r\n";
    headBytes = head.size();
    announced = contentLength;
    entry.status = status;
    server->updateJournalProgress(entry.index, status, 0);
    socket->write(head);
}

void StandInConnection::sendSimple(int status, const QByteArray& contentType, const QByteArray& body,
                                   const Headers& extraHeaders)
{
    Headers headers = extraHeaders;
    if (!contentType.isEmpty())
        headers.prepend({"Content-Type", contentType});
    writeHead(status, headers, body.size());
    if (!isHead()) {
        socket->write(body);
        bodyQueued = body.size();
    }
    bodyLength = bodyQueued;
    endAnswer();
}

void StandInConnection::sendBody(int status, const Headers& headers, std::unique_ptr<QIODevice> source,
                                 qint64 offset, qint64 length, const Delivery& faults)
{
    writeHead(status, headers,
              faults.overrun < 0 ? -1 : length + (length > 0 && !isHead() ? faults.overrun : 0));
    if (isHead() || length == 0) {
        endAnswer();
        return;
    }
    device = std::move(source);
    if (!device->seek(offset)) {
        // The file changed under us; closing early tells the client the body is short.
        endAnswer();
        return;
    }
    bodyLength = length;
    delivery = faults;
    throttleClock.start();
    pump();
}

qint64 StandInConnection::answerLength() const
{
    if (delivery.overrun < 0)
        return std::numeric_limits<qint64>::max();
    return bodyLength + delivery.overrun;
}

void StandInConnection::sendHeaderFlood()
{
    flooding = true;
    headBytes = 0;
    entry.status = 200;
    server->updateJournalProgress(entry.index, 200, 0);
    socket->write("HTTP/1.1 200 OK\r\nContent-Type: application/octet-stream\r\n");
    pump();
}

void StandInConnection::hold()
{
    held = true;
}

void StandInConnection::pump()
{
    if (flooding && !finished) {
        static const QByteArray lines = QByteArray("X-Flood: " + QByteArray(1000, 'f') + "\r\n").repeated(64);
        while (socket->bytesToWrite() < highWater)
            socket->write(lines);
        return;
    }
    if (finished || closing || dropping || stalled || !device)
        return;
    const qint64 total = answerLength();
    while (bodyQueued < total && unsentBytes() < highWater) {
        if (delivery.dropAfter >= 0 && bodyQueued >= delivery.dropAfter &&
            !server->assets->claimFault(delivery.asset, StandInAssets::FaultKind::Drop))
            delivery.dropAfter = -1; // used up meanwhile by another request
        if (delivery.stallAfter >= 0 && bodyQueued >= delivery.stallAfter &&
            !server->assets->claimFault(delivery.asset, StandInAssets::FaultKind::Stall))
            delivery.stallAfter = -1;
        if (delivery.dropAfter >= 0 && bodyQueued >= delivery.dropAfter) {
            claimedDrop = delivery.dropAfter;
            if (delivery.dropWithReset) {
                dropping = true;
                resetWhenDrained();
            } else {
                endAnswer(); // FIN: the client sees fewer bytes than announced
            }
            return;
        }
        if (delivery.stallAfter >= 0 && bodyQueued >= delivery.stallAfter) {
            claimedStall = delivery.stallAfter;
            stalled = true;
            delivery.stallAfter = -1;
            if (delivery.stallMs >= 0) {
                QTimer::singleShot(static_cast<int>(delivery.stallMs), this, [this] {
                    stalled = false;
                    pump();
                });
            }
            return;
        }
        qint64 want = std::min(chunkBytes, total - bodyQueued);
        if (bodyQueued < bodyLength)
            want = std::min(want, bodyLength - bodyQueued);
        if (delivery.dropAfter >= 0)
            want = std::min(want, delivery.dropAfter - bodyQueued);
        if (delivery.stallAfter >= 0)
            want = std::min(want, delivery.stallAfter - bodyQueued);
        if (delivery.bytesPerSecond > 0) {
            // Allow what the rate permits since the start, plus a small burst so a slow
            // rate still sends something every few milliseconds.
            const qint64 burst = std::max<qint64>(1, delivery.bytesPerSecond / 50);
            const qint64 allowed =
                delivery.bytesPerSecond * throttleClock.elapsed() / 1000 + burst - bodyQueued;
            if (allowed <= 0) {
                const qint64 waitMs =
                    std::clamp<qint64>(-allowed * 1000 / delivery.bytesPerSecond + 1, 1, 50);
                if (!waitTimer) {
                    waitTimer = new QTimer(this);
                    waitTimer->setSingleShot(true);
                    connect(waitTimer, &QTimer::timeout, this, &StandInConnection::pump);
                }
                if (!waitTimer->isActive())
                    waitTimer->start(static_cast<int>(waitMs));
                return;
            }
            want = std::min(want, allowed);
        }

        if (bodyQueued >= bodyLength) {
            chunk.fill('Z', static_cast<int>(want)); // filler past the file's end
            socket->write(chunk);
            bodyQueued += want;
            continue;
        }
        chunk.resize(static_cast<int>(want));
        const qint64 got = device->read(chunk.data(), want);
        if (got <= 0) {
            endAnswer(); // the file shrank: the client sees fewer bytes than announced
            return;
        }
        chunk.resize(static_cast<int>(got));
        if (delivery.corruptAt >= bodyQueued && delivery.corruptAt < bodyQueued + got &&
            server->assets->claimFault(delivery.asset, StandInAssets::FaultKind::Corruption)) {
            chunk.data()[delivery.corruptAt - bodyQueued] ^= char(0xFF);
            claimedCorruption = delivery.corruptAt;
        }
        socket->write(chunk);
        bodyQueued += got;
    }
    if (bodyQueued >= total)
        endAnswer();
}

qint64 StandInConnection::unsentBytes() const
{
    const auto* tls = qobject_cast<const QSslSocket*>(socket);
    return socket->bytesToWrite() + (tls ? tls->encryptedBytesToWrite() : 0);
}

void StandInConnection::endAnswer()
{
    if (closing)
        return;
    closing = true;
    device.reset();
    // Sends what is still buffered, then closes; disconnected() finishes the entry.
    socket->disconnectFromHost();
}

void StandInConnection::resetWhenDrained()
{
    if (closing)
        return;
    // A reset throws away whatever the kernel has not delivered yet, so wait until the
    // client's side holds every byte before the cut; then the client sees exactly the bytes
    // counted and a reset instead of an orderly end.
    bool drained = unsentBytes() == 0;
#ifdef Q_OS_LINUX
    int unsent = 0;
    if (drained && ::ioctl(int(socket->socketDescriptor()), SIOCOUTQ, &unsent) == 0)
        drained = unsent == 0;
#endif
    if (socket->state() != QAbstractSocket::ConnectedState) {
        closing = true;
        return;
    }
    if (!drained) {
        QTimer::singleShot(2, this, &StandInConnection::resetWhenDrained);
        return;
    }
    closing = true;
    device.reset();
#ifdef Q_OS_LINUX
    const linger noLinger = {1, 0};
    ::setsockopt(int(socket->socketDescriptor()), SOL_SOCKET, SO_LINGER, &noLinger, sizeof noLinger);
#endif
    socket->abort(); // emits disconnected(), which finishes the entry
}

void StandInConnection::onBytesWritten(qint64 bytes)
{
    written += bytes;
    if (!deliveryCounted && !delivery.asset.isEmpty() && written > headBytes) {
        deliveryCounted = true;
        server->assets->claimFault(delivery.asset, StandInAssets::FaultKind::Delivery);
    }
    if (entry.index >= 0)
        server->updateJournalProgress(entry.index, entry.status, std::max<qint64>(0, written - headBytes));
    pump();
}

void StandInConnection::onDisconnected()
{
    finish();
    deleteLater();
}

void StandInConnection::finish()
{
    if (finished)
        return;
    finished = true;
    if (waitTimer)
        waitTimer->stop();
    if (entry.index < 0)
        return; // the client went away before sending a request
    entry.bytesSent = std::max<qint64>(0, written - headBytes);
    // Faults whose point the client never reached were not applied after all.
    if (claimedDrop >= 0 && entry.bytesSent < claimedDrop)
        server->assets->refundFault(delivery.asset, StandInAssets::FaultKind::Drop);
    if (claimedStall >= 0 && entry.bytesSent < claimedStall)
        server->assets->refundFault(delivery.asset, StandInAssets::FaultKind::Stall);
    if (claimedCorruption >= 0 && entry.bytesSent <= claimedCorruption)
        server->assets->refundFault(delivery.asset, StandInAssets::FaultKind::Corruption);
    entry.finished = true;
    entry.complete = entry.status != 0 && (isHead() || entry.bytesSent == announced);
    server->finishJournalEntry(entry);
}
