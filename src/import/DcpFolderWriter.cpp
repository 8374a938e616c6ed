#include "import/DcpFolderWriter.h"

#include "core/FileManager.h"
#include "core/MediumSync.h"
#include "core/UserPrompt.h"
#include "model/Asset.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPair>

DcpFolderWriter::DcpFolderWriter(const QString& downloadPath, const QString& dcpTitle,
                                 const QString& friendlyTitle, const Documents& documents)
    : downloadPath(downloadPath), folder(downloadPath + QLatin1Char('/') + dcpTitle),
      friendlyTitle(friendlyTitle), documents(documents)
{
}

QString DcpFolderWriter::path() const
{
    return folder;
}

bool DcpFolderWriter::createFolder() const
{
    return FileManager::createDirectory(folder);
}

bool DcpFolderWriter::writeDocuments() const
{
    if (!FileManager::directoryExists(folder))
        return false;

    const QList<QPair<QString, QByteArray>> named{{documents.cplName, documents.cpl},
                                                  {documents.pklName, documents.pkl},
                                                  {QStringLiteral("ASSETMAP"), documents.assetMap},
                                                  {QStringLiteral("VOLINDEX"), documents.volindex}};
    bool written = false;
    for (const auto& document : named) {
        const QString path = folder + QLatin1Char('/') + document.first;
        if (FileManager::fileExists(path))
            continue;
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return false;
        // A document cut short would never be written again (existing files are kept),
        // so a failed write takes the partial file away and fails the step.
        if (file.write(document.second) != document.second.size() || !file.flush()) {
            qDebug() << "[DCPXMLReader] Could not write XML file: " << path << file.errorString();
            file.close();
            file.remove();
            return false;
        }
        file.close();
        MediumSync::syncFile(path);
        written = true;
    }
    // The documents and the DCP folder's own entry are on the drive before anything is queued.
    if (written) {
        MediumSync::syncFolder(folder);
        MediumSync::syncFolder(downloadPath);
    }
    return true;
}

// The boxes keep the importer's translation context: they are what an import says to the user.
void DcpFolderWriter::tellNotWritable() const
{
    UserPrompt::message(
        Prompt::Warning,
        QCoreApplication::translate("PackageEntryImporter", "The DCP %1 could not be saved")
            .arg(friendlyTitle),
        QCoreApplication::translate("PackageEntryImporter",
                                    "Unable to write the DCP folder %1.\r\n\r\nPlease check that the "
                                    "drive is connected, writable and has free space, then open the "
                                    "file again.")
            .arg(QDir::toNativeSeparators(folder)),
        Prompt::Ok);
}

QStringList DcpFolderWriter::existingFiles(const QList<const Asset*>& newAssets)
{
    QStringList out;
    for (const Asset* asset : newAssets) {
        const QString hidden = asset->getFullPath();
        const QString visible = FileManager::nixGetUnhiddenPath(hidden);
        if (FileManager::fileExists(hidden) && !FileManager::directoryExists(hidden))
            out.append(hidden);
        if (visible != hidden && FileManager::fileExists(visible) && !FileManager::directoryExists(visible))
            out.append(visible);
    }
    return out;
}

DcpFolderWriter::ExistingFiles
DcpFolderWriter::settleExistingFiles(const QList<const Asset*>& newAssets) const
{
    const QStringList files = existingFiles(newAssets);
    if (files.isEmpty())
        return ExistingFiles::Removed;

    QString list;
    for (int i = 0; i < files.size(); ++i)
        list += QStringLiteral("\r\n   %1. %2").arg(i + 1).arg(FileManager::getFilenameFromPath(files.at(i)));

    PromptRequest request;
    request.icon = Prompt::Warning;
    request.text = QCoreApplication::translate("PackageEntryImporter", "Remove conflicting files?");
    request.informativeText =
        QCoreApplication::translate("PackageEntryImporter", "The following files will be removed...\r\n") +
        list;
    request.buttons = Prompt::Yes | Prompt::No | Prompt::Apply;
    request.defaultButton = Prompt::No;
    // A feature already on the drive (another computer, a lost store, a colleague's half-done
    // drive) need not come down again: its files are verified instead, nothing is deleted.
    request.buttonTexts.insert(Prompt::Apply,
                               QCoreApplication::translate("PackageEntryImporter", "&Check and keep"));
    const Prompt::StandardButton answer = UserPrompt::message(request);
    if (answer == Prompt::Apply) {
        qDebug() << "[DCPXMLReader] Checking and keeping the files already on the drive:" << files.size();
        return ExistingFiles::Kept;
    }
    if (answer != Prompt::Yes)
        return ExistingFiles::Refused;
    for (const QString& file : files)
        FileManager::removeFile(file);
    return ExistingFiles::Removed;
}

QList<Asset*> DcpFolderWriter::keepExistingFiles(const QList<Asset*>& filed)
{
    QList<Asset*> kept;
    for (Asset* asset : filed) {
        const QString hidden = asset->getFullPath();
        const QString visible = FileManager::nixGetUnhiddenPath(hidden);
        const QFileInfo hiddenFile(hidden);
        const QFileInfo visibleFile(visible);
        // Another size is not this file; it is downloaded (a shorter hidden file resumes).
        if (hiddenFile.isFile()) {
            if (quint64(hiddenFile.size()) == asset->getSize())
                kept.append(asset);
        } else if (visible != hidden && visibleFile.isFile() &&
                   quint64(visibleFile.size()) == asset->getSize()) {
            // Hidden until verified and reported, as a download would be.
            if (FileManager::rename(visible, hidden))
                kept.append(asset);
            else
                qDebug() << "[DCPXMLReader] Unable to hide a kept file, downloading it:" << visible;
        }
    }
    return kept;
}
