#pragma once

#include "DcpDescription.h"

#include <QByteArray>
#include <QJsonArray>
#include <QJsonObject>
#include <QList>
#include <QString>

// Builds ".orvdcp" package files: a JSON document naming one or more DCPs, their XML
// documents in Base64, the chosen reels and a download link per asset, encrypted with
// AES-256 CFB-8 behind a 16-byte prefix.
class PackageWriter
{
public:
    PackageWriter() = delete;

    static constexpr int CurrentVersion = 20170613;

    struct EntryOptions
    {
        QList<int> reels{1};
        // Asset links are this address followed by the file's path in the DCP folder.
        QString assetBaseUrl = QStringLiteral("http://127.0.0.1:9/");
        int campaignDcpId = 1;
        QString friendlyTitle;
        QString imageUrl = QStringLiteral("http://127.0.0.1:9/poster.jpg");
    };

    // One object of the "dcps" array.
    static QJsonObject entry(const DcpDescription& dcp, const EntryOptions& options);
    // The whole document; projectSize is the disk space the download needs, in bytes.
    static QJsonObject document(const QString& userUuid, const QJsonArray& dcps, qint64 projectSize,
                                int version = CurrentVersion);

    // prefix (16 bytes) becomes the file's first bytes and the cipher's initialisation
    // vector; an empty prefix draws a random one. Empty result when key has fewer than 32 bytes.
    static QByteArray encrypt(const QByteArray& key, const QByteArray& plaintext,
                              const QByteArray& prefix = QByteArray());
    static bool write(const QString& path, const QByteArray& key, const QJsonObject& document,
                      const QByteArray& prefix = QByteArray(), QString* error = nullptr);
    static bool writeBytes(const QString& path, const QByteArray& bytes, QString* error = nullptr);
};
