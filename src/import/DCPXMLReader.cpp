#include "import/DCPXMLReader.h"

#include "core/Services.h"
#include "core/UserPrompt.h"
#include "import/Crypto.h"
#include "import/DCPXMLReaderException.h"
#include "import/DriveCheck.h"
#include "import/PackageEntryImporter.h"
#include "import/VolumeInfo.h"
#include "model/DCP.h"
#include "model/DCPManager.h"
#include "model/Util.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonParseError>
#include <QJsonValue>
#include <QUrl>
#include <QVariant>

namespace {
// The key bytes: the key text's UTF-8 encoding up to its first NUL byte.
QByteArray keyBytes(const QString& key)
{
    QByteArray bytes = key.toUtf8();
    const int nul = bytes.indexOf('\0');
    if (nul >= 0)
        bytes.truncate(nul);
    return bytes;
}
} // namespace

DCPXMLReader::DCPXMLReader(const QString& decodingKey, const ImportTarget& target)
    : decodingKey(decodingKey), target(target)
{
}

void DCPXMLReader::loadPackage(const QString& path)
{
    QString filePath = QDir::cleanPath(path);
    // A file URL from the window's dialog: "file:///x" folds to "file:/x".
    if (filePath.startsWith(QLatin1String("file:/")))
        filePath = filePath.mid(5);

    QFile file(filePath);
    if (!file.open(QIODevice::ReadOnly)) {
        qDebug() << "[DCPXMLReader] Could not open JSON package: " << filePath;
        UserPrompt::message(Prompt::Warning, tr("Could not open the ORVDCP file."),
                            tr("Please check to see if you have read permission for the file."), Prompt::Ok);
        return;
    }

    try {
        if (file.size() > MaxPackageFileSize) {
            qDebug() << "[DCPXMLReader] Cannot parse the JSON package: "
                     << "file too large," << file.size() << "bytes";
            throw DCPXMLReaderException::decodeFailure();
        }
        const QByteArray content = file.readAll();
        file.close();
        importPackage(content);
    } catch (const DCPXMLReaderException& error) {
        showPackageError(error);
    }
}

void DCPXMLReader::importPackage(const QByteArray& content)
{
    const QByteArray key = keyBytes(decodingKey);
    if (key.size() < Crypto::KeyLength) {
        // AES-256 needs 32 key bytes; a shorter key cannot have made this package.
        qDebug() << "[DCPXMLReader] Cannot parse the JSON package: "
                 << "decoding key has only" << key.size() << "bytes";
        throw DCPXMLReaderException::decodeFailure();
    }

    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(Crypto::decryptAES(key, content), &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        qDebug() << "[DCPXMLReader] Cannot parse the JSON package: " << parseError.errorString();
        throw DCPXMLReaderException::decodeFailure();
    }
    const QJsonObject root = document.object();

    const int version = root.value(QStringLiteral("version")).toInt(0);
    if (version != PackageVersion) {
        // Compared unsigned, so a negative version counts as a newer format.
        if (static_cast<quint32>(version) > static_cast<quint32>(PackageVersion)) {
            throw DCPXMLReaderException(
                tr("Your software is out of date. Unfortunately an update is required in order to "
                   "load the DCP."),
                tr("Would you like to download new version?"),
                Services::portalBaseUrl() + QStringLiteral("updates"));
        }
        throw DCPXMLReaderException(tr("Your ORVDCP file is out of date. Unfortunately an update is "
                                       "required in order to load this DCP."),
                                    tr("Would you like to redownload the file now?"),
                                    Services::portalBaseUrl());
    }

    userUuid = root.value(QStringLiteral("user_uuid")).toString();
    if (userUuid.length() != 36) {
        qDebug() << "[DCPXMLReader] No User UUID found, aborting...";
        throw DCPXMLReaderException::mainDataMissing();
    }

    const QJsonArray dcps = root.value(QStringLiteral("dcps")).toArray();
    if (!chooseDownloadFolder(dcps, root))
        return;

    // One importer per entry: nothing of an entry outlives it but what the catalogue took.
    for (const QJsonValue& entry : dcps) {
        PackageEntryImporter importer(entry.toObject(), userUuid, downloadFolder, target);
        if (!importer.run())
            return;
    }
}

void DCPXMLReader::showPackageError(const DCPXMLReaderException& error) const
{
    const Prompt::StandardButton answer = UserPrompt::message(
        Prompt::Warning, error.question, error.explanation, Prompt::Yes | Prompt::No, Prompt::Yes);
    if (answer == Prompt::Yes)
        UserPrompt::openUrl(QUrl(error.link));
}

bool DCPXMLReader::chooseDownloadFolder(const QJsonArray& dcps, const QJsonObject& root)
{
    const DCPManager* catalogue = &target.catalogue;
    for (const QJsonValue& value : dcps) {
        const QString uuid = Util::cleanUUID(value.toObject().value(QStringLiteral("dcp_uuid")).toString());
        if (catalogue->getDCP(uuid))
            continue;

        // Titled with the film it is for; opened where the last DCP went (the drive taken to
        // the cinema, as a rule) while that folder is there.
        PromptRequest request;
        const QString film = value.toObject().value(QStringLiteral("friendly_title")).toString();
        request.title = tr("Select download location for your DCP");
        if (!film.isEmpty())
            request.title += QStringLiteral(": ") + film;
        request.acceptLabel = tr("Select directory for DCP");
        request.directory = UserPrompt::startFolder();
        const DCP* newest = nullptr;
        for (const DCP* known : catalogue->getAllDCPs()) {
            if (!newest || known->getDbId() > newest->getDbId())
                newest = known;
        }
        if (newest && QFileInfo(newest->getDownloadPath()).isDir())
            request.directory = newest->getDownloadPath();
        // Asked again for as long as the user turns a drive down after its check.
        do {
            downloadFolder = UserPrompt::selectDirectory(request);
            if (downloadFolder.isEmpty()) {
                qDebug()
                    << "[DCPXMLReader] Canceled importing dcp (user did not select any download location)";
                return false;
            }
        } while (!DriveCheck::confirm(downloadFolder, target.volumes.driveRoots()));

        qDebug().noquote() << "[DCPXMLReader] Download location:" << downloadFolder;
        const qint64 projectSize = root.value(QStringLiteral("project_size")).toVariant().toLongLong();
        if (!isEnoughDiskSpace(downloadFolder, projectSize)) {
            qDebug() << "[DCPXMLReader] Canceled importing dcp (not enough space on disk, aborted by user) "
                     << downloadFolder;
            return false;
        }
        break;
    }
    return true;
}

bool DCPXMLReader::isEnoughDiskSpace(const QString& path, qint64 size) const
{
    const qint64 available = target.volumes.availableBytes(path);
    qDebug() << "[DCPXMLReader] Project size: " << size;
    qDebug() << "[DCPXMLReader] Available Disk space: " << available;
    if (available > size)
        return true;

    const Prompt::StandardButton answer = UserPrompt::message(
        Prompt::Warning, tr("Not enough disk space"),
        tr("You don't have enough disk space to download full DCP.\r\n\r\nDo you want to continue "
           "anyway?"),
        Prompt::Yes | Prompt::No, Prompt::No);
    return answer == Prompt::Yes;
}
