#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

class Asset;

// The folder of one imported DCP on the drive: the folder itself, its four XML documents,
// and the files of the DCP's new assets that are already there, which the user has
// removed or checked and kept. It knows paths and files only; the catalogue and the store
// are the importer's.
class DcpFolderWriter
{
public:
    struct Documents
    {
        QString cplName;
        QByteArray cpl;
        QString pklName;
        QByteArray pkl;
        QByteArray assetMap;
        QByteArray volindex;
    };

    // What the user chose for files of new assets already on the drive.
    enum class ExistingFiles
    {
        Removed, // none were there, or they were removed
        Kept,    // "Check and keep": they are verified instead of downloaded
        Refused, // the user said no: the entry stops
    };

    // The folder is downloadPath/dcpTitle; friendlyTitle names the DCP to the user.
    DcpFolderWriter(const QString& downloadPath, const QString& dcpTitle, const QString& friendlyTitle,
                    const Documents& documents);

    QString path() const;
    bool createFolder() const;
    // Writes the documents the folder does not hold yet and flushes them to the medium;
    // false when the folder is missing or a write fails (no partial document is left).
    bool writeDocuments() const;
    // Without a word the user would take the DCP for imported: nothing is queued, nothing
    // shows in the window.
    void tellNotWritable() const;
    // Asks what becomes of files of newAssets already on the drive, under their hidden or
    // visible names, and removes them when told to.
    ExistingFiles settleExistingFiles(const QList<const Asset*>& newAssets) const;
    // After "Check and keep", once filed: of these assets, those whose file on the drive has
    // the asset's size, under its hidden name (a visible one is hidden first).
    static QList<Asset*> keepExistingFiles(const QList<Asset*>& filed);

private:
    static QStringList existingFiles(const QList<const Asset*>& newAssets);

    const QString downloadPath;
    const QString folder;
    const QString friendlyTitle;
    const Documents documents;
};
