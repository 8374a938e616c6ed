#pragma once

#include <QString>
#include <QTemporaryDir>

// Throw-away certificates made with the openssl command: an authority, server
// certificates for 127.0.0.1 and localhost signed by it (good and expired), one for
// another host name, and one signed by an authority nobody trusts. One EC key serves all.
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

    // Makes everything; isValid() says whether openssl did. error() tells what failed.
    TestCertificates();
    bool isValid() const { return m_error.isEmpty(); }
    QString error() const { return m_error; }
    QString authorityFile() const { return m_dir.filePath(QStringLiteral("ca.pem")); }
    QString certificateFile(Kind kind) const;
    QString keyFile() const { return m_dir.filePath(QStringLiteral("server.key")); }

private:
    bool openssl(const QStringList& arguments);

    QTemporaryDir m_dir;
    QString m_error;
};
