#include "download/DriveWatch.h"

#include "model/DCP.h"

#include <QDebug>
#include <QFileInfo>

DriveWatch::DriveWatch(std::function<QList<DCP*>()> dcps, QObject* parent)
    : QObject(parent), dcps(std::move(dcps))
{
    timer.setInterval(2000);
    connect(&timer, &QTimer::timeout, this, &DriveWatch::checkNow);
}

void DriveWatch::start()
{
    timer.start();
}

void DriveWatch::checkNow()
{
    const QList<DCP*> all = dcps();
    for (DCP* dcp : all) {
        const bool present = QFileInfo(dcp->getDownloadPath()).isDir();
        if (present == dcp->isDriveConnected())
            continue;
        if (!present) {
            // The line the start-up load writes for a drive it does not find.
            qDebug() << "[DCPManager] Drive not connected, keeping dcp" << dcp->getDCPPath();
            dcp->setDriveConnected(false);
            emit driveLost(dcp);
        } else {
            qDebug() << "[DriveWatch] Drive connected again for dcp" << dcp->getDCPPath();
            dcp->setDriveConnected(true);
            emit driveBack(dcp);
        }
    }
}

bool DriveWatch::isGone(DCP* dcp)
{
    checkNow();
    return dcp && !dcp->isDriveConnected();
}
