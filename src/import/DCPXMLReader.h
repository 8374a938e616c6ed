#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonObject>
#include <QString>

#include <functional>

class DCPXMLReaderException;
struct ImportTarget;

// Imports one package file: decrypts it, checks its version and user, asks for a
// download folder, and hands each DCP entry to a PackageEntryImporter. Every outcome is
// told to the user inside loadPackage.
class DCPXMLReader
{
    Q_DECLARE_TR_FUNCTIONS(DCPXMLReader)

public:
    DCPXMLReader(const QString& decodingKey, const ImportTarget& target);
    DCPXMLReader(const DCPXMLReader&) = delete;
    DCPXMLReader& operator=(const DCPXMLReader&) = delete;

    // The format version this program reads.
    static constexpr int PackageVersion = 20170613;
    // Larger files are not packages (those carry only XML), so they are never read in.
    static constexpr qint64 MaxPackageFileSize = 64 * 1024 * 1024;

    // Runs the whole import of one package file; every outcome is reported to the user inside.
    void loadPackage(const QString& path);

private:
    void importPackage(const QByteArray& content);
    // The download folder for the DCPs the catalogue does not know; false ends the import.
    bool chooseDownloadFolder(const QJsonArray& dcps, const QJsonObject& root);
    bool isEnoughDiskSpace(const QString& path, qint64 size) const;
    void showPackageError(const DCPXMLReaderException& error) const;

    const QString decodingKey;
    const ImportTarget& target;
    QString userUuid;
    QString downloadFolder;
};
