#include "TestProxy.h"

#include <QFile>
#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

#include <csignal>

TestProxy::TestProxy(const QString& extraConfig)
{
    // A port that was free a moment ago; tinyproxy binds it right after.
    quint16 port = 0;
    {
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost);
        port = probe.serverPort();
    }
    QFile config(m_dir.filePath(QStringLiteral("tinyproxy.conf")));
    if (!m_dir.isValid() || !config.open(QIODevice::WriteOnly))
        return;
    config.write(QStringLiteral("Port %1\nListen 127.0.0.1\nTimeout 60\nLogLevel Info\nMaxClients 20\n"
                                "LogFile \"%2\"\nPidFile \"%3\"\nAllow 127.0.0.1\n%4\n")
                     .arg(port)
                     .arg(m_dir.filePath(QStringLiteral("tinyproxy.log")),
                          m_dir.filePath(QStringLiteral("tinyproxy.pid")), extraConfig)
                     .toUtf8());
    config.close();
    // -d keeps it in the foreground, so it is this object's child and dies with it.
    if (!QProcess::startDetached(QStringLiteral("tinyproxy"),
                                 {QStringLiteral("-d"), QStringLiteral("-c"), config.fileName()}, QString(),
                                 &m_pid))
        return;
    QTcpSocket socket;
    for (int attempt = 0; attempt < 100 && m_port == 0; ++attempt) {
        socket.connectToHost(QHostAddress::LocalHost, port);
        if (socket.waitForConnected(100))
            m_port = port;
        socket.abort();
        if (m_port == 0)
            QTest::qWait(50);
    }
}

TestProxy::~TestProxy()
{
    if (m_pid > 0)
        ::kill(pid_t(m_pid), SIGTERM);
}

QString TestProxy::log() const
{
    QFile file(m_dir.filePath(QStringLiteral("tinyproxy.log")));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}
