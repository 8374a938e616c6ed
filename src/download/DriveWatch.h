#pragma once

#include <QList>
#include <QObject>
#include <QTimer>

#include <functional>

class DCP;

// Follows the drives the DCPs are downloaded to while the program runs. The folder the user
// chose for a DCP missing means its drive was pulled: the DCP is marked "Drive not connected"
// (as the start-up load does) until the folder is there again. Looking every couple of seconds
// costs one stat per DCP.
class DriveWatch : public QObject
{
    Q_OBJECT

public:
    // dcps: every catalogued DCP, drive connected or not.
    explicit DriveWatch(std::function<QList<DCP*>()> dcps, QObject* parent = nullptr);

    void start();
    // Product value 2 s; tests shorten it.
    int interval() const { return timer.interval(); }
    void setInterval(int ms) { timer.setInterval(ms); }

    // Looks at every DCP's folder now; the changes are signalled before it returns.
    void checkNow();
    // Whether the DCP's drive is gone, looked at now (a failed write may be the first sign).
    bool isGone(DCP* dcp);

signals:
    void driveLost(DCP* dcp);
    void driveBack(DCP* dcp);

private:
    std::function<QList<DCP*>()> dcps;
    QTimer timer;
};
