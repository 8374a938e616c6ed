#pragma once

#include "import/AssetMap.h"
#include "import/CompositionPlaylist.h"
#include "import/PackingList.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonObject>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

class Asset;
class DCP;
class DCPManager;
class DcpFolderWriter;
class Reel;
class VolumeInfo;

// Where an import files what it builds, and whom it tells: the catalogue, what is known of
// the volumes, and the call that hands new work to the download engine.
struct ImportTarget
{
    DCPManager& catalogue;
    const VolumeInfo& volumes;
    std::function<void()> assetsAdded;
    // Files already on the drive that the user chose to check and keep, under their hidden
    // names, filed: to be verified as downloaded files are. Called before assetsAdded.
    std::function<void(const QList<Asset*>&)> filesKept;
};

// Imports one DCP entry of a package: checks its fields, reads its documents, builds the
// DCP with the chosen reels and their assets, writes the DCP folder with its XML files and
// files the result in the store and the catalogue (as a new DCP, or merged into the one
// the catalogue holds). The objects it builds are its own until the catalogue takes them;
// whatever the catalogue did not take goes with the importer.
class PackageEntryImporter
{
    Q_DECLARE_TR_FUNCTIONS(PackageEntryImporter)

public:
    // userUuid and downloadFolder come from the package.
    PackageEntryImporter(const QJsonObject& entry, const QString& userUuid, const QString& downloadFolder,
                         const ImportTarget& target);
    ~PackageEntryImporter();
    PackageEntryImporter(const PackageEntryImporter&) = delete;
    PackageEntryImporter& operator=(const PackageEntryImporter&) = delete;

    // Runs the import of the entry. Package problems are thrown as DCPXMLReaderException;
    // false ends the package without a further message (the user was told, or said no).
    bool run();

private:
    void readFields();
    void readDocuments();
    // Logs what is wrong and refuses the entry with the package error.
    [[noreturn]] void refuseDocuments(const DocumentProblem& problem) const;
    // Refuses entries whose texts would reach outside the DCP folder or the web.
    bool isSafe() const;
    void buildObjects(const DCP* known);
    void linkReels();
    void linkDownloads();
    void placeFiles();

    bool driveCanHoldEntry() const;
    QList<Asset*> assetsAddedByEntry() const;
    void syncToDatabase();
    void storeNewDCP();
    void mergeInto(DCP* known);
    // Takes assets that a failed write had already registered out of the catalogue again.
    void forgetUnstoredAssets(const QList<Asset*>& candidates) const;
    // The catalogue took these: they are no longer this importer's to delete.
    void handOver(const QList<Reel*>& handedReels);

    DcpFolderWriter folderWriter() const;
    // Asks what becomes of files of the entry's new assets already on the drive: removed,
    // checked and kept, or the entry stops (false).
    bool settleExistingFiles(const DcpFolderWriter& folder);
    // After "Check and keep", once filed: each new asset whose file on the drive has its size
    // keeps it, under its hidden name; the filing target is told.
    void keepExistingFiles(const QList<Asset*>& added);

    const QJsonObject entry;
    const QString userUuid;
    const QString downloadFolder;
    const ImportTarget& target;

    // Fields of the entry
    QJsonArray reelSelection;
    QJsonArray assetLinks;
    unsigned long long campaignDcpId = 0;
    QString friendlyTitle;
    QByteArray cplXml;
    QString cplXmlName;
    QByteArray pklXml;
    QString pklXmlName;
    QByteArray assetMapXml;
    QByteArray volindexXml;
    QString imageUrl;
    QString downloadPath;
    bool keepingFiles = false; // "Check and keep" was chosen

    AssetMap assetMap;
    CompositionPlaylist cpl;
    PackingList pkl;

    // The objects under construction, and lookups into them.
    std::unique_ptr<DCP> dcp;
    std::vector<std::unique_ptr<Reel>> reels;   // chosen reels in CPL order
    std::vector<std::unique_ptr<Asset>> assets; // PKL order
    QMap<QString, Asset*> assetsById;           // a later PKL entry with the same Id wins
};
