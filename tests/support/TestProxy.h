#pragma once

#include <QString>
#include <QTemporaryDir>

// A tinyproxy on a free loopback port with its own configuration and log, for as long as
// the object lives. extraConfig is appended to the configuration (e.g. "BasicAuth u p").
class TestProxy
{
public:
    explicit TestProxy(const QString& extraConfig = QString());
    ~TestProxy();
    bool isRunning() const { return m_port != 0; }
    quint16 port() const { return m_port; }
    // The proxy's log so far.
    QString log() const;

private:
    QTemporaryDir m_dir;
    qint64 m_pid = 0;
    quint16 m_port = 0;
};
