#pragma once

#include <QString>
#include <QTemporaryDir>

// Throw-away certificates made with the openssl command: an authority, certificates for
// 127.0.0.1 and localhost signed by it (good and expired), one for another host name, one
// signed by an authority nobody trusts. One EC key serves them all.
class TestCertificates
{
public:
    enum Kind
    {
        Good,
        Expired,
        OtherHost,
        Untrusted
    };

    TestCertificates();
    bool isValid() const { return m_valid; }
    QString authorityFile() const { return m_dir.filePath(QStringLiteral("ca.pem")); }
    QString certificateFile(Kind kind) const;
    QString keyFile() const { return m_dir.filePath(QStringLiteral("server.key")); }

private:
    QTemporaryDir m_dir;
    bool m_valid = false;
};
