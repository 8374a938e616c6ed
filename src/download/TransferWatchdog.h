#pragma once

#include <QElapsedTimer>
#include <QObject>

class QTimer;
class QUrl;

// Watches one transfer's requests: the stall timer fires when a request stays silent, and
// a request that moves less than the speed floor on average over a window is ended like a
// stalled one (a server that drips keeps the stall timer quiet for ever). The transfer
// decides what a timeout means and brings the next request.
class TransferWatchdog : public QObject
{
    Q_OBJECT

public:
    explicit TransferWatchdog(QObject* parent);

    void setStallInterval(int ms) { stallMs = ms; }
    int stallInterval() const { return stallMs; }
    void setSpeedFloor(quint32 bytesPerSecond, int windowMs)
    {
        floor = bytesPerSecond;
        windowLength = windowMs;
    }
    quint32 speedFloor() const { return floor; }
    int speedWindow() const { return windowLength; }

    // (Re)arms the stall timer: a request started or data arrived.
    void arm();
    void stop();
    // A new request: its speed is measured from now.
    void startRequest();
    // The request fell below the floor; the stall timer ends it at once.
    bool isCrawling() const { return crawling; }
    // Counts bytes written and judges the window once it is over: true when a window of
    // sane speed cleared the slow streak (the transfer's count of faults with it).
    bool countWritten(qint64 bytes, const QString& what);
    // Requests fell below the floor since a sane window.
    bool inSlowStreak() const { return slowStreak; }
    // At a timeout: whether it came from the floor, cleared for the next request.
    bool takeCrawling();
    // Data that only trickles keeps counting until a window of sane speed clears it.
    void markSlowStreak() { slowStreak = true; }

    // Headers without end keep Qt's network thread reading them byte by byte, deaf to the
    // abort just sent: the connections to url that hold a backlog are cut (after the
    // abort, so that Qt cannot send the request again on them).
    void cutFloodedConnections(const QUrl& url);

signals:
    void timedOut();

private:
    QTimer* stallTimer;
    int stallMs = 15000;
    quint32 floor = 1024;
    int windowLength = 60000;
    QElapsedTimer window;    // since the start of the current speed window
    quint64 windowBytes = 0; // bytes written in it
    bool crawling = false;   // this request fell below the floor; the stall timer ends it
    bool slowStreak = false; // requests fell below the floor since a sane window
};
