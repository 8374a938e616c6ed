#include "download/ConnectionCutter.h"

#include <QDir>
#include <QFile>
#include <QHostAddress>
#include <QRegularExpression>

#ifdef Q_OS_LINUX
#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <netinet/in.h>
#endif

void ConnectionCutter::forEachConnection(const QUrl& url, const std::function<void(int, quint64)>& visit)
{
#ifdef Q_OS_LINUX
    static const QRegularExpression socketLink(QStringLiteral("^socket:\\[(\\d+)\\]$"));
    const int port = url.port(url.scheme().toLower() == QLatin1String("https") ? 443 : 80);
    const QHostAddress host(url.host()); // null for a name: the port alone decides
    const QString fdDir = QStringLiteral("/proc/self/fd/");
    const QStringList fds = QDir(fdDir).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& name : fds) {
        const QRegularExpressionMatch link =
            socketLink.match(QFile::symLinkTarget(fdDir + name).section('/', -1));
        bool ok = false;
        const int fd = name.toInt(&ok);
        if (!ok || !link.hasMatch())
            continue;
        sockaddr_storage peer{};
        socklen_t length = sizeof peer;
        if (::getpeername(fd, reinterpret_cast<sockaddr*>(&peer), &length) != 0)
            continue;
        QHostAddress address;
        int peerPort = -1;
        if (peer.ss_family == AF_INET) {
            const auto* in = reinterpret_cast<const sockaddr_in*>(&peer);
            address.setAddress(ntohl(in->sin_addr.s_addr));
            peerPort = ntohs(in->sin_port);
        } else if (peer.ss_family == AF_INET6) {
            const auto* in6 = reinterpret_cast<const sockaddr_in6*>(&peer);
            address.setAddress(in6->sin6_addr.s6_addr);
            peerPort = ntohs(in6->sin6_port);
        }
        if (peerPort == port && (host.isNull() || address.isEqual(host, QHostAddress::TolerantConversion)))
            visit(fd, link.captured(1).toULongLong());
    }
#else
    Q_UNUSED(url)
    Q_UNUSED(visit)
#endif
}

QSet<quint64> ConnectionCutter::connectionsTo(const QUrl& url)
{
    QSet<quint64> found;
    forEachConnection(url, [&found](int, quint64 inode) { found.insert(inode); });
    return found;
}

int ConnectionCutter::cutBacklogged(const QUrl& url, const QSet<quint64>& among)
{
    int cut = 0;
#ifdef Q_OS_LINUX
    forEachConnection(url, [&](int fd, quint64 inode) {
        if (!among.contains(inode))
            return;
        // Work on a copy of the descriptor that is checked to be that very socket: the
        // number may have been closed and given to another file meanwhile.
        const int mine = ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
        if (mine < 0)
            return;
        struct stat info;
        int backlog = 0;
        if (::fstat(mine, &info) == 0 && quint64(info.st_ino) == inode &&
            ::ioctl(mine, FIONREAD, &backlog) == 0 && backlog > 0) {
            // A shutdown would still let the thread read the whole backlog byte by byte;
            // a disconnect drops it and resets the connection, and the next read fails.
            sockaddr unspecified{};
            unspecified.sa_family = AF_UNSPEC;
            if (::connect(mine, &unspecified, sizeof unspecified) == 0)
                ++cut;
        }
        ::close(mine);
    });
#else
    Q_UNUSED(url)
    Q_UNUSED(among)
#endif
    return cut;
}
