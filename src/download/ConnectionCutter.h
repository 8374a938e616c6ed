#pragma once

#include <QSet>
#include <QUrl>

#include <functional>

// Cuts this process's TCP connections to a server while they hold unread data.
// Qt's HTTP thread reads response headers one byte at a time, and a server that sends them
// without end keeps that thread in its read loop: an abort posted to it is not handled,
// and every later request of the same network manager waits behind it. Taking the socket
// away from under it ends the loop; Qt then handles the abort and drops the connection.
class ConnectionCutter
{
public:
    // The connections to url's port (and address, when url names one), by socket inode.
    static QSet<quint64> connectionsTo(const QUrl& url);
    // Cuts those of among that still hold unread data; returns how many.
    static int cutBacklogged(const QUrl& url, const QSet<quint64>& among);

private:
    static void forEachConnection(const QUrl& url, const std::function<void(int fd, quint64 inode)>& visit);
};
