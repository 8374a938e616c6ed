#pragma once

#include <QLocalServer>
#include <QObject>
#include <QString>

// Passes a package path from a second start to the running instance over a local socket
// named per user, so that a double-click on a package while the program runs imports it
// there instead of being refused.
class PackageHandOff : public QObject
{
    Q_OBJECT

public:
    explicit PackageHandOff(QObject* parent = nullptr);

    // Per user: two accounts on one computer never meet.
    static QString serverName();

    // The running instance: listens for paths. A socket left behind by a killed instance is
    // removed first, so call this only once this process is known to be the only instance.
    bool listen();

    // A connection that has not delivered its path within this time is closed (5 s): a
    // peer that connects and stays silent must not hold memory for the rest of the run.
    // Tests shorten it.
    int connectionTimeout() const { return connectionTimeoutMs; }
    void setConnectionTimeout(int milliseconds) { connectionTimeoutMs = milliseconds; }

    // Longest message accepted (64 KiB: no path is longer); a longer one closes the
    // connection at once.
    static constexpr qint64 MaxMessageBytes = 64 * 1024;

    // A second start: sends path and waits until the running instance confirmed it.
    // False when no instance listens or it did not answer within timeoutMs.
    static bool handOver(const QString& path, int timeoutMs = 5000);

signals:
    void packageReceived(const QString& path);

private:
    void onNewConnection();

    QLocalServer server;
    int connectionTimeoutMs = 5000;
};
