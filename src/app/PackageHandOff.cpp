#include "app/PackageHandOff.h"

#include <QDataStream>
#include <QDebug>
#include <QElapsedTimer>
#include <QLocalSocket>

#include <unistd.h>

namespace {
const char kAcknowledgement[] = "ok";
}

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
        connect(socket, &QLocalSocket::readyRead, this, [this, socket]() {
            QDataStream stream(socket);
            stream.startTransaction();
            QString path;
            stream >> path;
            if (!stream.commitTransaction())
                return; // the rest is still on its way
            socket->write(kAcknowledgement);
            socket->flush();
            socket->disconnectFromServer();
            qDebug() << "[PackageHandOff] Package handed over by another start:" << path;
            emit packageReceived(path);
        });
    }
}
