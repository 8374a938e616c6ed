#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

// A tinyproxy on a free loopback port with its own configuration and log, for as long as
// the object lives. extraConfig is added to the configuration (e.g. "BasicAuth user pw").
class TestProxy
{
public:
    explicit TestProxy(const QString& extraConfig = QString());
    ~TestProxy();
    bool isRunning() const { return m_port != 0; }
    quint16 port() const { return m_port; }
    QString log() const;

private:
    QTemporaryDir m_dir;
    QProcess m_process;
    quint16 m_port = 0;
};
