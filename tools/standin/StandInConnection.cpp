#include "StandInConnection.h"

#include "StandInServer.h"

#include <QTcpSocket>

StandInConnection::StandInConnection(QTcpSocket* socket, StandInServer* server)
    : QObject(server), socket(socket), server(server)
{
}
