#pragma once

#include <QObject>

class QTcpSocket;
class StandInServer;

// One accepted connection of StandInServer: reads one request, answers it, closes.
class StandInConnection : public QObject
{
    Q_OBJECT
public:
    StandInConnection(QTcpSocket* socket, StandInServer* server);

private:
    QTcpSocket* socket;
    StandInServer* server;
};
