#include "StandInListener.h"

#include <QFile>
#include <QSslConfiguration>
#include <QSslSocket>

StandInListener::StandInListener(QObject* parent) : QTcpServer(parent) {}

bool StandInListener::setCertificateFiles(const QString& certFile, const QString& keyFile, QString* error)
{
    const QList<QSslCertificate> chain = QSslCertificate::fromPath(certFile, QSsl::Pem);
    if (chain.isEmpty()) {
        *error = QStringLiteral("no PEM certificate in %1").arg(certFile);
        return false;
    }
    QFile file(keyFile);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("cannot read %1: %2").arg(keyFile, file.errorString());
        return false;
    }
    const QByteArray pem = file.readAll();
    QSslKey parsed(pem, QSsl::Rsa, QSsl::Pem);
    if (parsed.isNull())
        parsed = QSslKey(pem, QSsl::Ec, QSsl::Pem);
    if (parsed.isNull()) {
        *error = QStringLiteral("no RSA or EC private key in %1").arg(keyFile);
        return false;
    }
    certificate = chain;
    key = parsed;
    return true;
}

void StandInListener::incomingConnection(qintptr descriptor)
{
    if (!isEncrypted()) {
        QTcpServer::incomingConnection(descriptor);
        return;
    }
    auto* socket = new QSslSocket(this);
    if (!socket->setSocketDescriptor(descriptor)) {
        delete socket;
        return;
    }
    QSslConfiguration configuration = socket->sslConfiguration();
    configuration.setLocalCertificateChain(certificate);
    configuration.setPrivateKey(key);
    configuration.setPeerVerifyMode(QSslSocket::VerifyNone); // clients show no certificate
    socket->setSslConfiguration(configuration);
    // A client that refuses the certificate closes during the handshake; the connection
    // then goes away before any request, and the journal never sees it.
    socket->startServerEncryption();
    addPendingConnection(socket);
}
