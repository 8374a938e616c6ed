#include "app/PackageHandOff.h"

#include <QDataStream>
#include <QDebug>
#include <QElapsedTimer>
#include <QLocalSocket>
#include <QTimer>
#include <QtEndian>

#include <unistd.h>

namespace {
const char kAcknowledgement[] = "ok";

// A QString goes as its byte length, then the bytes: one longer than a path can be is
// refused from its length already, before its bytes are waited for.
bool tooLong(QLocalSocket* socket)
{
    quint32 length = 0;
    if (socket->bytesAvailable() > qint64(sizeof(length)) + PackageHandOff::MaxMessageBytes)
        return true;
    if (socket->peek(reinterpret_cast<char*>(&length), sizeof(length)) != qint64(sizeof(length)))
        return false;
    length = qFromBigEndian(length);
    return length != 0xffffffffu &&
           length > quint32(PackageHandOff::MaxMessageBytes); // all ones: a null text
}
} // namespace

PackageHandOff::PackageHandOff(QObject* parent) : QObject(parent)
{
    connect(&server, &QLocalServer::newConnection, this, &PackageHandOff::onNewConnection);
}

QString PackageHandOff::serverName()
{
    return QStringLiteral("reelvane-downloader-%1").arg(getuid());
}

bool PackageHandOff::listen()
{
    // The process runs with umask 0: without this the socket would accept every user.
    server.setSocketOptions(QLocalServer::UserAccessOption);
    QLocalServer::removeServer(serverName());
    if (!server.listen(serverName())) {
        qDebug() << "[PackageHandOff] Cannot listen for packages from other starts:" << server.errorString();
        return false;
    }
    return true;
}

bool PackageHandOff::handOver(const QString& path, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    const auto left = [&clock, timeoutMs]() {
        return qMax(0, timeoutMs - int(clock.elapsed()));
    };

    QLocalSocket socket;
    socket.connectToServer(serverName());
    if (!socket.waitForConnected(left()))
        return false;
    QByteArray message;
    QDataStream stream(&message, QIODevice::WriteOnly);
    stream << path;
    socket.write(message);
    if (!socket.waitForBytesWritten(left()))
        return false;
    QByteArray answer;
    while (answer.size() < int(sizeof(kAcknowledgement)) - 1 && socket.waitForReadyRead(left()))
        answer += socket.readAll();
    return answer == kAcknowledgement;
}

void PackageHandOff::onNewConnection()
{
    while (QLocalSocket* socket = server.nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        // A message arrives in one go from handOver(); anything slower is not one of ours.
        auto* const deadline = new QTimer(socket);
        deadline->setSingleShot(true);
        connect(deadline, &QTimer::timeout, socket, [socket]() {
            qDebug() << "[PackageHandOff] Connection closed: no message in time";
            socket->abort();
        });
        deadline->start(connectionTimeoutMs);
        // Only a little more than one message is ever buffered.
        socket->setReadBufferSize(MaxMessageBytes + 64);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket, deadline]() {
            if (tooLong(socket)) {
                qDebug() << "[PackageHandOff] Connection closed: message longer than" << MaxMessageBytes
                         << "bytes";
                socket->abort();
                return;
            }
            QDataStream stream(socket);
            stream.startTransaction();
            QString path;
            stream >> path;
            if (!stream.commitTransaction())
                return; // the rest is still on its way
            deadline->stop();
            socket->write(kAcknowledgement);
            socket->flush();
            socket->disconnectFromServer();
            qDebug() << "[PackageHandOff] Package handed over by another start:" << path;
            emit packageReceived(path);
        });
    }
}
