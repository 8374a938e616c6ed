#include "download/TransferWatchdog.h"

#include "download/ConnectionCutter.h"

#include <QDebug>
#include <QSet>
#include <QTimer>
#include <QUrl>

TransferWatchdog::TransferWatchdog(QObject* parent) : QObject(parent), stallTimer(new QTimer(this))
{
    stallTimer->setTimerType(Qt::PreciseTimer);
    stallTimer->setSingleShot(true);
    connect(stallTimer, &QTimer::timeout, this, &TransferWatchdog::timedOut);
}

void TransferWatchdog::arm()
{
    stallTimer->start(stallMs);
}

void TransferWatchdog::stop()
{
    stallTimer->stop();
}

void TransferWatchdog::startRequest()
{
    crawling = false;
    window.start();
    windowBytes = 0;
}

bool TransferWatchdog::countWritten(qint64 bytes, const QString& what)
{
    windowBytes += quint64(qMax<qint64>(bytes, 0));
    const qint64 elapsed = window.elapsed();
    if (elapsed < windowLength)
        return false;
    bool sane = false;
    if (windowBytes * 1000 < quint64(floor) * quint64(elapsed)) {
        qDebug() << "[DownloadManager]" << windowBytes << "bytes in" << elapsed << "ms, below" << floor
                 << "bytes/s, restarting:" << what;
        crawling = true;
        stallTimer->start(0); // restarted like a stall, outside this read
    } else {
        slowStreak = false;
        sane = true;
    }
    window.restart();
    windowBytes = 0;
    return sane;
}

bool TransferWatchdog::takeCrawling()
{
    const bool slow = crawling;
    crawling = false;
    return slow;
}

void TransferWatchdog::cutFloodedConnections(const QUrl& flooded)
{
    // The next request opens a new connection. A thread caught between two reads shows no
    // backlog, so it is looked at again; the connections of the next request are not among
    // those known now.
    const QSet<quint64> known = ConnectionCutter::connectionsTo(flooded);
    const int cut = ConnectionCutter::cutBacklogged(flooded, known);
    qDebug() << "[DownloadManager] Headers incomplete after" << stallMs << "ms, connections cut:" << cut;
    for (const int delay : {20, 100, 500})
        QTimer::singleShot(delay, this,
                           [flooded, known]() { ConnectionCutter::cutBacklogged(flooded, known); });
}
