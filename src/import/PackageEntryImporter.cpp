#include "import/PackageEntryImporter.h"

#include "core/Services.h"
#include "core/UserPrompt.h"
#include "import/DCPXMLReaderException.h"
#include "import/DcpFolderWriter.h"
#include "import/PackagePathRules.h"
#include "import/VolumeInfo.h"
#include "model/Asset.h"
#include "model/DCP.h"
#include "model/DCPManager.h"
#include "model/Reel.h"
#include "model/Util.h"
#include "storage/DatabaseManager.h"
#include "storage/Transaction.h"

#include <QDebug>
#include <QDir>
#include <QJsonValue>
#include <QPair>
#include <QSet>

#include <algorithm>

namespace {
bool selectionContains(const QJsonArray& selection, unsigned number)
{
    for (const QJsonValue& value : selection) {
        if (value.isDouble() && value.toDouble() == number)
            return true;
    }
    return false;
}

// Gives up ownership of the object the catalogue took; objects not owned here are left alone.
template <typename T> void release(std::vector<std::unique_ptr<T>>& owned, const T* object)
{
    const auto it = std::find_if(owned.begin(), owned.end(),
                                 [object](const std::unique_ptr<T>& p) { return p.get() == object; });
    if (it != owned.end())
        it->release();
}
} // namespace

PackageEntryImporter::PackageEntryImporter(const QJsonObject& entry, const QString& userUuid,
                                           const QString& downloadFolder, const ImportTarget& target)
    : entry(entry), userUuid(userUuid), downloadFolder(downloadFolder), target(target)
{
}

PackageEntryImporter::~PackageEntryImporter() = default;

bool PackageEntryImporter::run()
{
    readFields();
    readDocuments();

    const DCPManager* catalogue = &target.catalogue;
    if (const DCP* known = catalogue->getDCP(cpl.getUuid())) {
        if (!known->isDriveConnected()) {
            // Merging would create the DCP folder where the drive is mounted, on another disk.
            qDebug() << "[DCPXMLReader] Drive not connected, not merging into " << known->getDCPPath();
            UserPrompt::message(Prompt::Warning, tr("Drive not connected"),
                                tr("The DCP %1 is downloaded to %2, which is not connected. Connect "
                                   "the drive, start the Reelvane Downloader again and open the "
                                   "file once more.")
                                    .arg(friendlyTitle, QDir::toNativeSeparators(known->getDownloadPath())));
            return false;
        }
        downloadPath = known->getDownloadPath();
        UserPrompt::message(Prompt::NoIcon,
                            tr("The DCP %1 already exist and will be merged.").arg(friendlyTitle), QString(),
                            Prompt::Ok);
    } else {
        downloadPath = downloadFolder;
    }
    if (downloadPath.isEmpty()) {
        // Only possible when the catalogue changed while a box was open: never write
        // a DCP folder relative to the root.
        qDebug() << "[DCPXMLReader] No download location for the DCP, aborting... " << cpl.getUuid();
        throw DCPXMLReaderException::mainDataMissing();
    }

    // Looked up again: the box above let the event loop run.
    buildObjects(catalogue->getDCP(cpl.getUuid()));
    linkReels();
    linkDownloads();
    placeFiles();

    if (!driveCanHoldEntry())
        return false;
    syncToDatabase();
    return true;
}

// ---------------------------------------------------------------------------------------
// The entry and its documents

void PackageEntryImporter::readFields()
{
    assetLinks = entry.value(QStringLiteral("assets")).toArray();
    reelSelection = entry.value(QStringLiteral("reels")).toArray();
    if (reelSelection.isEmpty()) {
        qDebug() << "[DCPXMLReader] No Reel(s) selected, aborting...";
        throw DCPXMLReaderException(tr("No reels detected in ORVDCP file. Select at least one reel to "
                                       "download. Please redownload the file from OSKAN."),
                                    tr("Would you like to redownload the file now?"),
                                    Services::portalBaseUrl());
    }

    const int campaignId = entry.value(QStringLiteral("campaign_dcp_id")).toInt(0);
    if (campaignId == 0) {
        qDebug() << "[DCPXMLReader] No Campaign DCP ID found, aborting..." << campaignId;
        throw DCPXMLReaderException::mainDataMissing();
    }
    campaignDcpId = static_cast<unsigned long long>(campaignId);

    friendlyTitle = entry.value(QStringLiteral("friendly_title")).toString();
    cplXml = Util::decodeBase64(entry.value(QStringLiteral("cpl_xml")).toString());
    cplXmlName = entry.value(QStringLiteral("cpl_xml_name")).toString();
    pklXml = Util::decodeBase64(entry.value(QStringLiteral("pkl_xml")).toString());
    pklXmlName = entry.value(QStringLiteral("pkl_xml_name")).toString();
    assetMapXml = Util::decodeBase64(entry.value(QStringLiteral("asset_map_xml")).toString());
    volindexXml = Util::decodeBase64(entry.value(QStringLiteral("volindex_xml")).toString());
    imageUrl = entry.value(QStringLiteral("dcp_image_url")).toString();

    if (cplXml.isEmpty() || pklXml.isEmpty() || assetMapXml.isEmpty() || volindexXml.isEmpty() ||
        imageUrl.isEmpty()) {
        qDebug() << "[DCPXMLReader] Missing Data, aborting...";
        throw DCPXMLReaderException::mainDataMissing();
    }
}

void PackageEntryImporter::readDocuments()
{
    // In this order; the first document that fails stops the entry.
    assetMap = AssetMap::fromBytes(assetMapXml);
    if (!assetMap.isValid())
        refuseDocuments(assetMap.getProblem());

    cpl = CompositionPlaylist::fromBytes(cplXml);
    if (!cpl.isValid())
        refuseDocuments(cpl.getProblem());
    for (const CompositionPlaylist::ReelEntry& reel : cpl.getReels()) {
        if (selectionContains(reelSelection, reel.number))
            qDebug() << "[DCPXMLReader] adding Reel " << reel.uuid;
    }

    pkl = PackingList::fromBytes(pklXml);
    if (!pkl.isValid())
        refuseDocuments(pkl.getProblem());
    for (const PackingList::AssetEntry& asset : pkl.getAssets())
        qDebug() << "[DCPXMLReader] adding Asset " << asset.originalFileName;

    if (!isSafe())
        refuseDocuments(DocumentProblem());
}

void PackageEntryImporter::refuseDocuments(const DocumentProblem& problem) const
{
    problem.log();
    qDebug() << "[DCPXMLReader] One of the XML assets could not be parsed, aborting...";
    throw DCPXMLReaderException::mainDataMissing();
}

bool PackageEntryImporter::isSafe() const
{
    const QStringList names{cplXmlName, pklXmlName, QStringLiteral("ASSETMAP"), QStringLiteral("VOLINDEX")};
    for (const QString& name : names) {
        if (!PackagePathRules::isPlainName(name) || names.count(name) > 1) {
            qDebug() << "[DCPXMLReader] XML file name is not usable: " << name;
            return false;
        }
    }

    // The catalogue lookups before the documents were read used "dcp_uuid"; the DCP
    // itself is known by its CPL Id. Were they different, an entry taken for a merge
    // could be written as a new DCP with no download folder chosen for it.
    const QString dcpUuid = Util::cleanUUID(entry.value(QStringLiteral("dcp_uuid")).toString());
    if (dcpUuid != cpl.getUuid()) {
        qDebug() << "[DCPXMLReader] dcp_uuid does not match the CPL Id: " << dcpUuid << cpl.getUuid();
        return false;
    }

    for (const QJsonValue& link : assetLinks) {
        const QJsonArray pair = link.toArray();
        const QString address = pair.size() > 1 ? pair.at(1).toString() : QString();
        if (!PackagePathRules::isDownloadAddress(address)) {
            qDebug() << "[DCPXMLReader] Download address is not http or https: " << address;
            return false;
        }
    }
    return true;
}

// ---------------------------------------------------------------------------------------
// Building and linking the objects

void PackageEntryImporter::buildObjects(const DCP* known)
{
    for (const PackingList::AssetEntry& entry : pkl.getAssets()) {
        assets.push_back(std::make_unique<Asset>(entry.uuid, entry.hash, entry.size, entry.type,
                                                 QLatin1Char('.') + entry.originalFileName, QString()));
        assetsById.insert(entry.uuid, assets.back().get());
    }

    // Only reels that will be filed are made: a reel listed twice is taken once, and one
    // the catalogued DCP already has stays as it is. Nothing filed can then point at an
    // object that goes with this importer.
    QSet<QString> made;
    for (const CompositionPlaylist::ReelEntry& entry : cpl.getReels()) {
        if (!selectionContains(reelSelection, entry.number) || made.contains(entry.uuid))
            continue;
        if (known && known->getReel(entry.uuid))
            continue;
        made.insert(entry.uuid);
        reels.push_back(std::make_unique<Reel>(entry.uuid, entry.pictureId, entry.soundId, entry.subtitleId,
                                               entry.number));
    }
}

void PackageEntryImporter::linkReels()
{
    dcp = std::make_unique<DCP>(cpl.getUuid(), cpl.getTitle(), imageUrl, downloadPath,
                                &target.catalogue.getStore());
    dcp->setUserUUID(userUuid);
    dcp->setCampaignDCPId(campaignDcpId);
    dcp->setFriendlyTitle(friendlyTitle);

    for (const std::unique_ptr<Reel>& owned : reels) {
        Reel* reel = owned.get();
        reel->setDCP(dcp.get());
        const QStringList ids{reel->getMainPictureId(), reel->getMainSoundId(), reel->getMainSubtitleId()};
        for (const QString& id : ids) {
            if (id.isEmpty())
                continue;
            Asset* asset = assetsById.value(id);
            if (!asset || !assetMap.contains(asset->getUuid()))
                continue;
            asset->setDCP(dcp.get());
            if (!asset->getReels().contains(reel))
                asset->addReel(reel);
            reel->addAsset(asset);
            if (!dcp->getAsset(asset->getUuid()))
                dcp->addAsset(asset);
        }
        if (!reel->getAssets().isEmpty())
            dcp->addReel(reel);
    }
}

void PackageEntryImporter::linkDownloads()
{
    for (const QJsonValue& value : assetLinks) {
        const QJsonArray link = value.toArray();
        if (link.size() < 2)
            continue;
        if (Asset* asset = assetsById.value(Util::cleanUUID(link.at(0).toString())))
            asset->setDownloadUrl(link.at(1).toString());
    }
}

void PackageEntryImporter::placeFiles()
{
    const QMap<QString, QStringList>& entries = assetMap.getChunkPaths();
    for (auto entry = entries.cbegin(); entry != entries.cend(); ++entry) {
        Asset* asset = assetsById.value(entry.key());
        // Entries for files outside the packing list name nothing to download.
        if (!asset)
            continue;
        for (const QString& path : entry.value()) {
            const int slash = path.lastIndexOf(QLatin1Char('/'));
            const QString directory = slash < 0 ? QStringLiteral(".") : path.left(slash);
            if (directory.isEmpty() || directory == QLatin1String("."))
                continue;
            asset->setDirectoryPath(directory);
            if (directory == entry.key())
                continue;

            // A folder named after another asset (a subtitle's fonts): the file follows
            // that asset into its DCP and reels.
            const Asset* owner = assetsById.value(directory);
            if (!owner)
                continue;
            if (DCP* ownerDcp = owner->getDCP()) {
                asset->setDCP(ownerDcp);
                if (!ownerDcp->getAsset(asset->getUuid()))
                    ownerDcp->addAsset(asset);
            }
            for (Reel* reel : owner->getReels()) {
                reel->addAsset(asset);
                if (!asset->getReels().contains(reel))
                    asset->addReel(reel);
            }
        }
    }
}

// ---------------------------------------------------------------------------------------
// Filing the DCP

QList<Asset*> PackageEntryImporter::assetsAddedByEntry() const
{
    const DCP* known = target.catalogue.getDCP(dcp->getUuid());
    if (!known)
        return dcp->getAssets();
    QList<Asset*> out;
    for (const std::unique_ptr<Reel>& reel : reels) {
        if (known->getReel(reel->getUuid()))
            continue;
        for (Asset* asset : reel->getAssets()) {
            if (!known->getAsset(asset->getUuid()) && !out.contains(asset))
                out.append(asset);
        }
    }
    return out;
}

bool PackageEntryImporter::driveCanHoldEntry() const
{
    if (!target.volumes.isFat(downloadPath))
        return true;
    for (const Asset* asset : assetsAddedByEntry()) {
        if (asset->getSize() >= VolumeInfo::FatFileSizeLimit) {
            qDebug()
                << "[DCPXMLReader] Canceled importing dcp (FAT32 drive cannot hold a file of 4 GB or more) "
                << downloadPath << asset->getOriginalFileName() << asset->getSize();
            UserPrompt::message(Prompt::Warning, tr("The selected drive cannot hold this DCP"),
                                tr("The drive uses the FAT32 file system, which cannot store files of "
                                   "4 GB or more, and this DCP contains such files.\r\n\r\nPlease "
                                   "choose a drive formatted as ext2, ext3, exFAT or NTFS."),
                                Prompt::Ok);
            return false;
        }
    }
    return true;
}

void PackageEntryImporter::syncToDatabase()
{
    DCP* known = target.catalogue.getDCP(dcp->getUuid());
    if (known) {
        mergeInto(known);
        return;
    }

    const DcpFolderWriter folder = folderWriter();
    if (!folder.createFolder()) {
        qDebug() << "[DCPXMLReader] failed to createDCPDirectory. aborting...";
        folder.tellNotWritable();
        return;
    }
    if (!folder.writeDocuments()) {
        qDebug() << "[DCPXMLReader] failed to createDCPXMLFiles. aborting...";
        folder.tellNotWritable();
        return;
    }
    if (!settleExistingFiles(folder))
        return;
    const QList<Asset*> added = dcp->getAssets();
    storeNewDCP();
    keepExistingFiles(added);
    target.assetsAdded();
}

void PackageEntryImporter::storeNewDCP()
{
    DCPManager* catalogue = &target.catalogue;
    try {
        dcp->syncToDatabase(catalogue);
        catalogue->addDCP(dcp.get());
    } catch (...) {
        // The rows were rolled back; assets stored before the failure had already
        // registered themselves and would make a later import skip their rows.
        forgetUnstoredAssets(dcp->getAssets());
        throw;
    }
    for (Asset* asset : dcp->getAssets())
        release(assets, asset);
    handOver(dcp->getReels());
    static_cast<void>(dcp.release()); // the catalogue's now
}

void PackageEntryImporter::mergeInto(DCP* known)
{
    DCPManager* catalogue = &target.catalogue;
    qDebug() << "[DCPXMLReader] DCP exists.. Trying to merge... " << known->getUuid();
    const DcpFolderWriter folder = folderWriter();
    if (!settleExistingFiles(folder))
        return;
    folder.writeDocuments();
    const QList<Asset*> added = assetsAddedByEntry();

    // Reels the catalogued DCP has were never made (buildObjects), nor repeated ones.
    QList<Reel*> merged;
    QList<Asset*> unregistered;
    for (const std::unique_ptr<Reel>& reel : reels) {
        if (known->getReel(reel->getUuid()))
            continue;
        merged.append(reel.get());
        for (Asset* asset : reel->getAssets()) {
            if (!catalogue->getAsset(asset->getUuid(), known->getUuid()))
                unregistered.append(asset);
        }
    }

    // A new reel may play a file that a catalogued reel already plays. It gets the
    // catalogued object: a second object for the same file would be queued and written
    // to the same path, and the reel's link to it would never be stored (the asset's
    // own first storage skips a known asset).
    QList<QPair<Reel*, Asset*>> sharedFiles;
    for (Reel* reel : merged) {
        const QList<Asset*> reelAssets = reel->getAssets();
        for (Asset* asset : reelAssets) {
            Asset* catalogued = known->getAsset(asset->getUuid());
            if (catalogued && catalogued != asset && reel->replaceAsset(asset, catalogued))
                sharedFiles.append(qMakePair(reel, catalogued));
        }
    }

    // Rows first, in one transaction; the catalogued objects change only once it committed.
    try {
        DatabaseManager& store = known->getStore();
        Transaction transaction(store);
        for (Reel* reel : merged) {
            qDebug() << "[DCPXMLREADER] Merging Reel... " << reel->getUuid();
            reel->setDCP(known);
            for (Asset* asset : reel->getAssets())
                asset->setDCP(known);
            reel->syncToDatabase(catalogue);
        }
        for (const auto& link : sharedFiles)
            store.insertDCPReelAsset(link.first, link.second);
        transaction.commit();
    } catch (...) {
        forgetUnstoredAssets(unregistered);
        throw;
    }

    for (const auto& link : sharedFiles)
        link.second->addReel(link.first);

    for (Reel* reel : merged) {
        known->addReel(reel);
        catalogue->addReel(reel);
        for (Asset* asset : reel->getAssets()) {
            if (!known->getAsset(asset->getUuid()))
                known->addAsset(asset);
            // Stored assets registered themselves; one the catalogue already knew keeps
            // its catalogued object.
            if (!catalogue->getAsset(asset->getUuid(), known->getUuid()))
                catalogue->addAsset(asset);
        }
    }
    handOver(merged);

    keepExistingFiles(added);
    if (!merged.isEmpty())
        target.assetsAdded();
}

void PackageEntryImporter::forgetUnstoredAssets(const QList<Asset*>& candidates) const
{
    DCPManager* catalogue = &target.catalogue;
    for (Asset* asset : candidates) {
        if (asset->getDCP() && catalogue->getAsset(asset->getUuid(), asset->getDCP()->getUuid()) == asset)
            catalogue->forgetAsset(asset);
    }
}

void PackageEntryImporter::handOver(const QList<Reel*>& handedReels)
{
    for (const Reel* reel : handedReels) {
        for (const Asset* asset : reel->getAssets())
            release(assets, asset);
        release(reels, reel);
    }
}

// ---------------------------------------------------------------------------------------
// The DCP folder

DcpFolderWriter PackageEntryImporter::folderWriter() const
{
    return DcpFolderWriter(downloadPath, cpl.getTitle(), friendlyTitle,
                           {cplXmlName, cplXml, pklXmlName, pklXml, assetMapXml, volindexXml});
}

bool PackageEntryImporter::settleExistingFiles(const DcpFolderWriter& folder)
{
    // Files of assets the catalogue already has are its own, not in the way.
    const DCP* known = target.catalogue.getDCP(dcp->getUuid());
    QList<const Asset*> newAssets;
    for (const Asset* asset : dcp->getAssets()) {
        if (!known || !known->getAsset(asset->getUuid()))
            newAssets.append(asset);
    }
    const DcpFolderWriter::ExistingFiles answer = folder.settleExistingFiles(newAssets);
    if (answer == DcpFolderWriter::ExistingFiles::Kept)
        keepingFiles = true;
    return answer != DcpFolderWriter::ExistingFiles::Refused;
}

void PackageEntryImporter::keepExistingFiles(const QList<Asset*>& added)
{
    if (!keepingFiles)
        return;
    QList<Asset*> filed;
    for (Asset* asset : added) {
        // Filed under this DCP (a merged reel's file the catalogue already had is not this entry's).
        if (asset->getDCP() &&
            target.catalogue.getAsset(asset->getUuid(), asset->getDCP()->getUuid()) == asset)
            filed.append(asset);
    }
    const QList<Asset*> kept = DcpFolderWriter::keepExistingFiles(filed);
    qDebug() << "[DCPXMLReader] Files kept for checking:" << kept.size() << "of" << added.size();
    if (!kept.isEmpty() && target.filesKept)
        target.filesKept(kept);
}
