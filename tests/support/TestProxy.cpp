#include "TestProxy.h"

#include <QFile>
#include <QTcpServer>
#include <QTest>

TestProxy::TestProxy(const QString& extraConfig)
{
    QTcpServer probe; // a port free a moment ago; tinyproxy binds it right after
    probe.listen(QHostAddress::LocalHost);
    const quint16 port = probe.serverPort();
    probe.close();
    QFile config(m_dir.filePath(QStringLiteral("tinyproxy.conf")));
    if (!config.open(QIODevice::WriteOnly))
        return;
    config.write(
        QStringLiteral("Port %1\nListen 127.0.0.1\nAllow 127.0.0.1\nLogLevel Info\nLogFile \"%2\"\n%3\n")
            .arg(port)
            .arg(m_dir.filePath(QStringLiteral("tinyproxy.log")), extraConfig)
            .toUtf8());
    config.close();
    m_process.setStandardOutputFile(QProcess::nullDevice());
    m_process.setStandardErrorFile(QProcess::nullDevice());
    m_process.start(QStringLiteral("tinyproxy"),
                    {QStringLiteral("-d"), QStringLiteral("-c"), config.fileName()});
    if (QTest::qWaitFor([this] { return log().contains(QLatin1String("Accepting connections")); }, 10000))
        m_port = port;
}

TestProxy::~TestProxy()
{
    m_process.terminate();
    m_process.waitForFinished(5000);
}

QString TestProxy::log() const
{
    QFile file(m_dir.filePath(QStringLiteral("tinyproxy.log")));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}
