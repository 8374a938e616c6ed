#include "core/NetworkSetup.h"

#include "core/EnvironmentProxyFactory.h"

#include <QCoreApplication>
#include <QDebug>
#include <QFile>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QSslError>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
const char kTlsReasons[] = "orvTlsReasons";
constexpr qint64 kMaxAuthorityFileBytes = 1024 * 1024;

class IdentityNetworkAccessManager : public QNetworkAccessManager
{
public:
    using QNetworkAccessManager::QNetworkAccessManager;

protected:
    QNetworkReply* createRequest(Operation op, const QNetworkRequest& original, QIODevice* data) override
    {
        QNetworkRequest request(original);
        if (!request.hasRawHeader("Accept-Encoding"))
            request.setRawHeader("Accept-Encoding", "identity");
        return QNetworkAccessManager::createRequest(op, request, data);
    }
};
} // namespace

void NetworkSetup::chooseEventLoop()
{
    if (!qEnvironmentVariableIsSet("QT_NO_GLIB"))
        qputenv("QT_NO_GLIB", "1");
}

QString NetworkSetup::applyEnvironment()
{
    const QString caFile = qEnvironmentVariable("ORV_EXTRA_CA_FILE");
    if (!caFile.isEmpty()) {
        const QString problem = addTrustedAuthorities(caFile);
        if (!problem.isEmpty())
            return problem;
    }
    const EnvironmentProxyFactory proxies;
    if (proxies.problem().isEmpty())
        qDebug() << "[Network] Proxies:" << proxies.describe();
    return proxies.problem();
}

QString NetworkSetup::addTrustedAuthorities(const QString& pemFile)
{
    // Without blocking: a FIFO or a device named here must not hold the start for ever.
    const int fd = ::open(QFile::encodeName(pemFile).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return QCoreApplication::translate(
                   "NetworkSetup", "The certificate authority file \"%1\" (ORV_EXTRA_CA_FILE) cannot be "
                                   "read: %2")
            .arg(pemFile, QString::fromLocal8Bit(std::strerror(errno)));
    }
    QFile file;
    file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle);
    struct stat info;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        return QCoreApplication::translate(
                   "NetworkSetup", "The certificate authority file \"%1\" (ORV_EXTRA_CA_FILE) is not a "
                                   "regular file.")
            .arg(pemFile);
    }
    // Certificate bundles are a few hundred kilobytes; anything far larger is not one.
    if (info.st_size > kMaxAuthorityFileBytes) {
        return QCoreApplication::translate(
                   "NetworkSetup", "The certificate authority file \"%1\" (ORV_EXTRA_CA_FILE) holds %2 "
                                   "bytes; a certificate bundle is well under 1 MB.")
            .arg(pemFile)
            .arg(qint64(info.st_size));
    }
    const QByteArray pem = file.read(kMaxAuthorityFileBytes);
    const QList<QSslCertificate> extra = QSslCertificate::fromData(pem, QSsl::Pem);
    if (extra.isEmpty()) {
        return QCoreApplication::translate(
                   "NetworkSetup", "The certificate authority file \"%1\" (ORV_EXTRA_CA_FILE) holds no "
                                   "PEM certificate.")
            .arg(pemFile);
    }
    // Setting the list ends Qt's loading of the system's authorities on demand, so the
    // system's are read here once and kept beside the extra ones.
    QSslConfiguration configuration = QSslConfiguration::defaultConfiguration();
    QList<QSslCertificate> authorities = configuration.caCertificates();
    if (authorities.isEmpty())
        authorities = QSslConfiguration::systemCaCertificates();
    configuration.setCaCertificates(authorities + extra);
    QSslConfiguration::setDefaultConfiguration(configuration);
    qDebug() << "[Network] Trusting" << extra.size() << "extra certificate authorities from" << pemFile;
    return QString();
}

void NetworkSetup::prepare(QNetworkAccessManager* manager)
{
    manager->setProxyFactory(new EnvironmentProxyFactory()); // the manager owns it
    QObject::connect(manager, &QNetworkAccessManager::sslErrors, manager,
                     [](QNetworkReply* reply, const QList<QSslError>& errors) {
                         QStringList reasons;
                         for (const QSslError& error : errors)
                             reasons << error.errorString();
                         reply->setProperty(kTlsReasons, reasons.join(QStringLiteral("; ")));
                         qDebug() << "[Network] Certificate of" << reply->url().host()
                                  << "refused:" << reasons;
                     });
}

QNetworkAccessManager* NetworkSetup::createManager(QObject* parent)
{
    auto* manager = new IdentityNetworkAccessManager(parent);
    prepare(manager);
    return manager;
}

QString NetworkSetup::failureText(const QNetworkReply* reply)
{
    const QString reasons = reply->property(kTlsReasons).toString();
    return reasons.isEmpty() ? reply->errorString() : reply->errorString() + QStringLiteral(": ") + reasons;
}
