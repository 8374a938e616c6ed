#include "TestCertificates.h"

#include <QFile>
#include <QProcess>

TestCertificates::TestCertificates()
{
    const QStringList ecKey{QStringLiteral("-newkey"), QStringLiteral("ec"), QStringLiteral("-pkeyopt"),
                            QStringLiteral("ec_paramgen_curve:prime256v1"), QStringLiteral("-nodes")};
    const auto path = [this](const QString& name) {
        return m_dir.filePath(name);
    };
    const auto authority = [&](const QString& name) {
        return openssl(QStringList{QStringLiteral("req"), QStringLiteral("-x509")} + ecKey +
                       QStringList{QStringLiteral("-keyout"), path(name + QStringLiteral(".key")),
                                   QStringLiteral("-out"), path(name + QStringLiteral(".pem")),
                                   QStringLiteral("-days"), QStringLiteral("2"), QStringLiteral("-subj"),
                                   QStringLiteral("/CN=Reelvane test ") + name});
    };
    // One request per host set; each certificate is the request signed by an authority.
    const auto request = [&](const QString& name, const QString& names) {
        return openssl(QStringList{QStringLiteral("req"), QStringLiteral("-new"), QStringLiteral("-key"),
                                   keyFile(), QStringLiteral("-out"), path(name + QStringLiteral(".csr")),
                                   QStringLiteral("-subj"), QStringLiteral("/CN=stand-in"),
                                   QStringLiteral("-addext"), QStringLiteral("subjectAltName=") + names});
    };
    const auto sign = [&](const QString& csr, const QString& ca, const QString& days, Kind kind) {
        return openssl({QStringLiteral("x509"), QStringLiteral("-req"), QStringLiteral("-in"),
                        path(csr + QStringLiteral(".csr")), QStringLiteral("-CA"),
                        path(ca + QStringLiteral(".pem")), QStringLiteral("-CAkey"),
                        path(ca + QStringLiteral(".key")), QStringLiteral("-CAcreateserial"),
                        QStringLiteral("-copy_extensions"), QStringLiteral("copy"), QStringLiteral("-days"),
                        days, QStringLiteral("-out"), certificateFile(kind)});
    };
    const QString local = QStringLiteral("IP:127.0.0.1,DNS:localhost");
    const QString one = QStringLiteral("1");
    const bool made = m_dir.isValid() && authority(QStringLiteral("ca")) &&
                      authority(QStringLiteral("rogue")) &&
                      openssl({QStringLiteral("genpkey"), QStringLiteral("-algorithm"), QStringLiteral("EC"),
                               QStringLiteral("-pkeyopt"), QStringLiteral("ec_paramgen_curve:prime256v1"),
                               QStringLiteral("-out"), keyFile()}) &&
                      request(QStringLiteral("local"), local) &&
                      request(QStringLiteral("other"), QStringLiteral("DNS:portal.elsewhere.example")) &&
                      sign(QStringLiteral("local"), QStringLiteral("ca"), one, Good) &&
                      sign(QStringLiteral("local"), QStringLiteral("ca"), QStringLiteral("-1"), Expired) &&
                      sign(QStringLiteral("other"), QStringLiteral("ca"), one, OtherHost) &&
                      sign(QStringLiteral("local"), QStringLiteral("rogue"), one, Untrusted);
    if (!made && m_error.isEmpty())
        m_error = QStringLiteral("no temporary folder");
}

QString TestCertificates::certificateFile(Kind kind) const
{
    static const char* const names[] = {"good.pem", "expired.pem", "other-host.pem", "untrusted.pem"};
    return m_dir.filePath(QString::fromLatin1(names[kind]));
}

bool TestCertificates::openssl(const QStringList& arguments)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(QStringLiteral("openssl"), arguments);
    if (process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit &&
        process.exitCode() == 0)
        return true;
    m_error = QStringLiteral("openssl %1: %2")
                  .arg(arguments.join(QLatin1Char(' ')), QString::fromLocal8Bit(process.readAll()));
    return false;
}
