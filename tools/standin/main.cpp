#include "StandInServer.h"

#include <QCoreApplication>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    StandInServer server;
    if (!server.listen())
        return 1;
    return app.exec();
}
