#include "TestCertificates.h"

#include <QProcess>

TestCertificates::TestCertificates()
{
    static const char script[] = R"(set -e
ec="-newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes"
for ca in ca rogue; do openssl req -x509 $ec -keyout $ca.key -out $ca.pem -days 2 -subj "/CN=test $ca"; done
openssl req $ec -keyout server.key -out local.csr -subj /CN=local -addext subjectAltName=IP:127.0.0.1,DNS:localhost
openssl req -new -key server.key -out other.csr -subj /CN=other -addext subjectAltName=DNS:portal.elsewhere.example
sign() { openssl x509 -req -in $1.csr -CA $2.pem -CAkey $2.key -CAcreateserial -copy_extensions copy -days $3 -out $4; }
sign local ca 1 good.pem; sign local ca -1 expired.pem; sign other ca 1 other-host.pem; sign local rogue 1 untrusted.pem
)";
    QProcess shell;
    shell.setWorkingDirectory(m_dir.path());
    shell.setProcessChannelMode(QProcess::MergedChannels);
    shell.start(QStringLiteral("sh"), {QStringLiteral("-c"), QString::fromLatin1(script)});
    m_valid = m_dir.isValid() && shell.waitForFinished(60000) && shell.exitCode() == 0;
}

QString TestCertificates::certificateFile(Kind kind) const
{
    static const char* const names[] = {"good.pem", "expired.pem", "other-host.pem", "untrusted.pem"};
    return m_dir.filePath(QString::fromLatin1(names[kind]));
}
