#pragma once

#include "StandInServer.h"

#include <QByteArray>
#include <QMutex>
#include <QString>
#include <QUrl>

class StandInConnection;

// The stand-in's portal: the login that hands out the decoding key, the version check
// with its installer, and the simple pages the program links to. Every member may be
// called from any thread; the answers from the thread of the connection.
class StandInPortal
{
public:
    using AuthenticateMode = StandInServer::AuthenticateMode;
    using JournalEntry = StandInServer::JournalEntry;

    // "/installer/": the installer's path starts with it.
    static QString installerPrefix();

    void setCredentials(const QString& user, const QString& password, const QByteArray& decodingKey);
    void setRefusalMessage(const QByteArray& body);
    void setAuthenticateMode(AuthenticateMode mode);
    void setVersion(qint64 version);
    void setVersionDescription(const QString& html);
    void setVersionCheckBody(const QByteArray& rawBody);
    void setInstaller(const QString& fileName, const QByteArray& bytes);
    QString installerName() const;

    // POST /authenticate.
    void answerAuthenticate(StandInConnection* connection, const JournalEntry& request);
    // GET /versioncheck; installer is the address the answer names.
    void answerVersionCheck(StandInConnection* connection, const QUrl& installer);
    // GET of the installer or of one of the pages; false when path is none of them.
    bool answerDownload(StandInConnection* connection, const QString& path);

private:
    QByteArray versionCheckAnswer(const QUrl& installer) const;

    mutable QMutex mutex;
    QString user = QStringLiteral("user");
    QString password = QStringLiteral("secret");
    QByteArray decodingKey = "0123456789abcdef0123456789abcdef";
    QByteArray refusalMessage = "Invalid username or password.";
    AuthenticateMode authenticateMode = AuthenticateMode::Normal;
    qint64 version = 20170101;
    QString versionDescription = QStringLiteral("<p>Bug fixes and improvements.</p>");
    QByteArray versionCheckBody;
    QString installer = QStringLiteral("ReelvaneDownloader-update.pkg");
    QByteArray installerBytes = "stand-in installer\n";
};
