#pragma once

#include <QSslCertificate>
#include <QSslKey>
#include <QTcpServer>

// The stand-in's listening socket. Plain TCP by default; once a certificate and key are
// set, every accepted connection is a QSslSocket that starts the server side of the TLS
// handshake at once, and the connection code above reads and writes plain HTTP as before.
class StandInListener : public QTcpServer
{
    Q_OBJECT
public:
    explicit StandInListener(QObject* parent = nullptr);

    // Reads a PEM certificate (the first of the file is the server's, the rest its chain)
    // and its PEM key (RSA or EC). Returns false with the reason in error.
    bool setCertificateFiles(const QString& certFile, const QString& keyFile, QString* error);
    bool isEncrypted() const { return !certificate.isEmpty(); }

protected:
    void incomingConnection(qintptr descriptor) override;

private:
    QList<QSslCertificate> certificate;
    QSslKey key;
};
