#include "import/DCPXMLReader.h"

#include "app/Services.h"
#include "app/UserPrompt.h"
#include "download/DownloadManager.h"
#include "download/FileManager.h"
#include "import/Crypto.h"
#include "import/DCPXMLReaderException.h"
#include "import/PackagePathRules.h"
#include "import/SafeXml.h"
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
#include <QDomNodeList>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonParseError>
#include <QJsonValue>
#include <QStandardPaths>
#include <QUrl>
#include <QVariant>

namespace {
const char kRedownloadQuestion[] = "Would you like to redownload the file now?";

std::function<void()>& engineNotifier()
{
    static std::function<void()> notifier;
    return notifier;
}

DCPXMLReaderException decodeFailure()
{
    return DCPXMLReaderException(
        QStringLiteral("Could not decode the content of ORVDCP file. File might be damaged or its content "
                       "missing. Please redownload the file from OSKAN."),
        QLatin1String(kRedownloadQuestion), Services::portalBaseUrl());
}

DCPXMLReaderException mainDataMissing()
{
    return DCPXMLReaderException(
        QStringLiteral("Main data in the ORVDCP missing. File might be damaged. Please redownload the file "
                       "from OSKAN."),
        QLatin1String(kRedownloadQuestion), Services::portalBaseUrl());
}

bool selectionContains(const QJsonArray& selection, int number)
{
    for (const QJsonValue& value : selection) {
        if (value.isDouble() && value.toDouble() == number)
            return true;
    }
    return false;
}

QString cleanedChildId(const QDomElement& element)
{
    return Util::cleanUUID(element.firstChildElement(QStringLiteral("Id")).text());
}

QList<QDomElement> elementsNamed(const QDomNodeList& nodes)
{
    QList<QDomElement> out;
    out.reserve(nodes.size());
    for (int i = 0; i < nodes.size(); ++i)
        out.append(nodes.at(i).toElement());
    return out;
}

QStringList chunkPaths(const QDomElement& assetMapEntry)
{
    QStringList out;
    const QDomElement chunkList = assetMapEntry.firstChildElement(QStringLiteral("ChunkList"));
    for (const QDomElement& chunk : elementsNamed(chunkList.elementsByTagName(QStringLiteral("Chunk"))))
        out.append(chunk.firstChildElement(QStringLiteral("Path")).text());
    return out;
}

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

DCPXMLReader::DCPXMLReader(const QString& decodingKey) : decodingKey(decodingKey) {}

DCPXMLReader::~DCPXMLReader()
{
    releaseEntryObjects();
}

void DCPXMLReader::setEngineNotifierForTesting(std::function<void()> notifier)
{
    engineNotifier() = std::move(notifier);
}

// ---------------------------------------------------------------------------------------
// Reading the package

void DCPXMLReader::loadPackage(const QString& path)
{
    QString filePath = QDir::cleanPath(path);
    // A file URL from the window's dialog: "file:///x" folds to "file:/x".
    if (filePath.startsWith(QLatin1String("file:/")))
        filePath = filePath.mid(5);

    QFile file(filePath);
    if (!file.open(QIODevice::ReadOnly)) {
        qDebug() << "[DCPXMLReader] Could not open JSON package: " << filePath;
        UserPrompt::message(Prompt::Warning, QStringLiteral("Could not open the ORVDCP file."),
                            QStringLiteral("Please check to see if you have read permission for the file."),
                            Prompt::Ok);
        return;
    }

    try {
        if (file.size() > MaxPackageFileSize) {
            qDebug() << "[DCPXMLReader] Cannot parse the JSON package: "
                     << "file too large," << file.size() << "bytes";
            throw decodeFailure();
        }
        const QByteArray content = file.readAll();
        file.close();
        importPackage(content);
    } catch (const DCPXMLReaderException& error) {
        showPackageError(error);
    }
    releaseEntryObjects();
}

void DCPXMLReader::importPackage(const QByteArray& content)
{
    const QByteArray key = keyBytes(decodingKey);
    if (key.size() < Crypto::KeyLength) {
        // AES-256 needs 32 key bytes; a shorter key cannot have made this package.
        qDebug() << "[DCPXMLReader] Cannot parse the JSON package: "
                 << "decoding key has only" << key.size() << "bytes";
        throw decodeFailure();
    }

    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(Crypto::decryptAES(key, content), &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        qDebug() << "[DCPXMLReader] Cannot parse the JSON package: " << parseError.errorString();
        throw decodeFailure();
    }
    const QJsonObject root = document.object();

    const int version = root.value(QStringLiteral("version")).toInt(0);
    if (version != PackageVersion) {
        // Compared unsigned, so a negative version counts as a newer format.
        if (static_cast<quint32>(version) > static_cast<quint32>(PackageVersion)) {
            throw DCPXMLReaderException(
                QStringLiteral(
                    "Your software is out of date. Unfortunately an update is required in order to "
                    "load the DCP."),
                QStringLiteral("Would you like to download new version?"),
                Services::portalBaseUrl() + QStringLiteral("updates"));
        }
        throw DCPXMLReaderException(
            QStringLiteral("Your ORVDCP file is out of date. Unfortunately an update is "
                           "required in order to load this DCP."),
            QLatin1String(kRedownloadQuestion), Services::portalBaseUrl());
    }

    user_uuid = root.value(QStringLiteral("user_uuid")).toString();
    if (user_uuid.length() != 36) {
        qDebug() << "[DCPXMLReader] No User UUID found, aborting...";
        throw mainDataMissing();
    }

    const QJsonArray dcps = root.value(QStringLiteral("dcps")).toArray();
    if (!chooseDownloadFolder(dcps, root))
        return;

    for (const QJsonValue& entry : dcps) {
        if (!importEntry(entry.toObject()))
            return;
    }
}

void DCPXMLReader::showPackageError(const DCPXMLReaderException& error) const
{
    const Prompt::StandardButton answer =
        UserPrompt::message(Prompt::Warning, error.question, error.explanation,
                            Prompt::Yes | Prompt::No, Prompt::Yes);
    if (answer == Prompt::Yes)
        UserPrompt::openUrl(QUrl(error.link));
}

// ---------------------------------------------------------------------------------------
// Import flow

bool DCPXMLReader::chooseDownloadFolder(const QJsonArray& dcps, const QJsonObject& root)
{
    const DCPManager* catalogue = DCPManager::getInstance();
    for (const QJsonValue& value : dcps) {
        const QString uuid = Util::cleanUUID(value.toObject().value(QStringLiteral("dcp_uuid")).toString());
        if (catalogue->getDCP(uuid))
            continue;

        PromptRequest request;
        request.title = QStringLiteral("Select download location for your DCP");
        request.acceptLabel = QStringLiteral("Select directory for DCP");
        request.directory = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        download_folder = UserPrompt::selectDirectory(request);
        if (download_folder.isEmpty()) {
            qDebug() << "[DCPXMLReader] Canceled importing dcp (user did not select any download location)";
            return false;
        }

        project_size = root.value(QStringLiteral("project_size")).toVariant().toLongLong();
        if (!isEnoughDiskSpace(download_folder, project_size)) {
            qDebug() << "[DCPXMLReader] Canceled importing dcp (not enough space on disk, aborted by user) "
                     << download_folder;
            return false;
        }
        break;
    }
    return true;
}

bool DCPXMLReader::isEnoughDiskSpace(const QString& path, qint64 size)
{
    const qint64 available = VolumeInfo::availableBytes(path);
    qDebug() << "[DCPXMLReader] Project size: " << size;
    qDebug() << "[DCPXMLReader] Available Disk space: " << available;
    if (available > size)
        return true;

    const Prompt::StandardButton answer = UserPrompt::message(
        Prompt::Warning, QStringLiteral("Not enough disk space"),
        QStringLiteral(
            "You don't have enough disk space to download full DCP.\r\n\r\nDo you want to continue "
            "anyway?"),
        Prompt::Yes | Prompt::No, Prompt::No);
    return answer == Prompt::Yes;
}

bool DCPXMLReader::importEntry(const QJsonObject& entry)
{
    asset_links = entry.value(QStringLiteral("assets")).toArray();
    reels_selection = entry.value(QStringLiteral("reels")).toArray();
    if (reels_selection.isEmpty()) {
        qDebug() << "[DCPXMLReader] No Reel(s) selected, aborting...";
        throw DCPXMLReaderException(
            QStringLiteral("No reels detected in ORVDCP file. Select at least one reel to "
                           "download. Please redownload the file from OSKAN."),
            QLatin1String(kRedownloadQuestion), Services::portalBaseUrl());
    }

    const int campaignId = entry.value(QStringLiteral("campaign_dcp_id")).toInt(0);
    if (campaignId == 0) {
        qDebug() << "[DCPXMLReader] No Campaign DCP ID found, aborting..." << campaignId;
        throw mainDataMissing();
    }
    campaign_dcp_id = static_cast<unsigned long long>(campaignId);

    friendly_title = entry.value(QStringLiteral("friendly_title")).toString();
    cpl_xml = Util::decodeBase64(entry.value(QStringLiteral("cpl_xml")).toString());
    cpl_xml_name = entry.value(QStringLiteral("cpl_xml_name")).toString();
    pkl_xml = Util::decodeBase64(entry.value(QStringLiteral("pkl_xml")).toString());
    pkl_xml_name = entry.value(QStringLiteral("pkl_xml_name")).toString();
    asset_map_xml = Util::decodeBase64(entry.value(QStringLiteral("asset_map_xml")).toString());
    volindex_xml = Util::decodeBase64(entry.value(QStringLiteral("volindex_xml")).toString());
    image_url = entry.value(QStringLiteral("dcp_image_url")).toString();

    if (cpl_xml.isEmpty() || pkl_xml.isEmpty() || asset_map_xml.isEmpty() || volindex_xml.isEmpty() ||
        image_url.isEmpty()) {
        qDebug() << "[DCPXMLReader] Missing Data, aborting...";
        throw mainDataMissing();
    }

    clearAll();
    if (!parseAssetMapXML(QString::fromUtf8(asset_map_xml)) || !loadCPLXML(QString::fromUtf8(cpl_xml)) ||
        !loadPKLXML(QString::fromUtf8(pkl_xml)) || !entryIsSafe(entry)) {
        qDebug() << "[DCPXMLReader] One of the XML assets could not be parsed, aborting...";
        throw mainDataMissing();
    }

    const DCPManager* catalogue = DCPManager::getInstance();
    if (const DCP* known = catalogue->getDCP(cpl_uuid)) {
        if (!known->isDriveConnected()) {
            // Merging would create the DCP folder where the drive is mounted, on another disk.
            qDebug() << "[DCPXMLReader] Drive not connected, not merging into " << known->getDCPPath();
            UserPrompt::message(
                Prompt::Warning, QStringLiteral("Drive not connected"),
                QStringLiteral("The DCP %1 is downloaded to %2, which is not connected. Connect "
                               "the drive, start the Reelvane Downloader again and open the "
                               "file once more.")
                    .arg(friendly_title, QDir::toNativeSeparators(known->getDownloadPath())));
            return false;
        }
        download_path = known->getDownloadPath();
        UserPrompt::message(
            Prompt::NoIcon,
            QStringLiteral("The DCP %1 already exist and will be merged.").arg(friendly_title), QString(),
            Prompt::Ok);
    } else {
        download_path = download_folder;
    }
    if (download_path.isEmpty()) {
        // Only possible when the catalogue changed while a box was open: never write
        // a DCP folder relative to the root.
        qDebug() << "[DCPXMLReader] No download location for the DCP, aborting... " << cpl_uuid;
        throw mainDataMissing();
    }

    mapPKLToCPL();
    mapDownloadLinks();
    mapAssetMapXML();

    if (!driveCanHoldEntry())
        return false;
    syncToDatabase();
    return true;
}

bool DCPXMLReader::entryIsSafe(const QJsonObject& entry) const
{
    const QStringList names{cpl_xml_name, pkl_xml_name, QStringLiteral("ASSETMAP"),
                            QStringLiteral("VOLINDEX")};
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
    if (dcpUuid != cpl_uuid) {
        qDebug() << "[DCPXMLReader] dcp_uuid does not match the CPL Id: " << dcpUuid << cpl_uuid;
        return false;
    }

    for (const QJsonValue& link : asset_links) {
        const QJsonArray pair = link.toArray();
        const QString address = pair.size() > 1 ? pair.at(1).toString() : QString();
        if (!PackagePathRules::isDownloadAddress(address)) {
            qDebug() << "[DCPXMLReader] Download address is not http or https: " << address;
            return false;
        }
    }
    return true;
}

QString DCPXMLReader::dcpFolder() const
{
    return download_path + QLatin1Char('/') + cpl_title;
}

QList<Asset*> DCPXMLReader::assetsAddedByEntry() const
{
    QList<Asset*> out;
    if (!current_dcp)
        return out;
    const DCP* known = DCPManager::getInstance()->getDCP(current_dcp->getUuid());
    if (!known)
        return current_dcp->getAssets();
    for (const Reel* reel : reels) {
        if (known->getReel(reel->getUuid()))
            continue;
        for (Asset* asset : reel->getAssets()) {
            if (!known->getAsset(asset->getUuid()) && !out.contains(asset))
                out.append(asset);
        }
    }
    return out;
}

bool DCPXMLReader::driveCanHoldEntry()
{
    if (!current_dcp || !VolumeInfo::isFat(download_path))
        return true;
    for (const Asset* asset : assetsAddedByEntry()) {
        if (asset->getSize() >= VolumeInfo::FatFileSizeLimit) {
            qDebug()
                << "[DCPXMLReader] Canceled importing dcp (FAT32 drive cannot hold a file of 4 GB or more) "
                << download_path << asset->getOriginalFileName() << asset->getSize();
            UserPrompt::message(
                Prompt::Warning, QStringLiteral("The selected drive cannot hold this DCP"),
                QStringLiteral("The drive uses the FAT32 file system, which cannot store files of "
                               "4 GB or more, and this DCP contains such files.\r\n\r\nPlease "
                               "choose a drive formatted as ext2, ext3, exFAT or NTFS."),
                Prompt::Ok);
            return false;
        }
    }
    return true;
}

void DCPXMLReader::syncToDatabase()
{
    if (!current_dcp)
        return;
    DCP* known = DCPManager::getInstance()->getDCP(current_dcp->getUuid());
    if (known) {
        mergeInto(known);
        return;
    }

    if (!createDCPDirectory()) {
        qDebug() << "[DCPXMLReader] failed to createDCPDirectory. aborting...";
        return;
    }
    if (!createDCPXMLFiles()) {
        qDebug() << "[DCPXMLReader] failed to createDCPXMLFiles. aborting...";
        return;
    }
    if (!removeConflictingFiles())
        return;
    storeNewDCP();
    notifyDownloadEngine();
}

void DCPXMLReader::storeNewDCP()
{
    DCPManager* catalogue = DCPManager::getInstance();
    try {
        current_dcp->syncToDatabase();
        catalogue->addDCP(current_dcp);
    } catch (...) {
        // The rows were rolled back; assets stored before the failure had already
        // registered themselves and would make a later import skip their rows.
        forgetUnstoredAssets(current_dcp->getAssets());
        throw;
    }
    adopted.insert(current_dcp);
    adopt(current_dcp->getReels());
}

void DCPXMLReader::mergeInto(DCP* known)
{
    DCPManager* catalogue = DCPManager::getInstance();
    qDebug() << "[DCPXMLReader] DCP exists.. Trying to merge... " << known->getUuid();
    if (!removeConflictingFiles())
        return;
    createDCPXMLFiles();

    QList<Reel*> merged;
    QList<Asset*> unregistered;
    for (Reel* reel : reels) {
        if (known->getReel(reel->getUuid()))
            continue;
        bool repeated = false;
        for (const Reel* other : merged)
            repeated = repeated || other->getUuid() == reel->getUuid();
        if (repeated)
            continue;
        merged.append(reel);
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
        Transaction transaction;
        for (Reel* reel : merged) {
            qDebug() << "[DCPXMLREADER] Merging Reel... " << reel->getUuid();
            reel->setDCP(known);
            for (Asset* asset : reel->getAssets())
                asset->setDCP(known);
            reel->syncToDatabase();
        }
        for (const auto& link : sharedFiles)
            DatabaseManager::getInstance()->insertDCPReelAsset(link.first, link.second);
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
    adopt(merged);

    if (!merged.isEmpty())
        notifyDownloadEngine();
}

void DCPXMLReader::forgetUnstoredAssets(const QList<Asset*>& candidates) const
{
    DCPManager* catalogue = DCPManager::getInstance();
    for (Asset* asset : candidates) {
        if (asset->getDCP() && catalogue->getAsset(asset->getUuid(), asset->getDCP()->getUuid()) == asset)
            catalogue->removeAsset(asset);
    }
}

void DCPXMLReader::adopt(const QList<Reel*>& adoptedReels)
{
    for (const Reel* reel : adoptedReels) {
        adopted.insert(reel);
        for (const Asset* asset : reel->getAssets())
            adopted.insert(asset);
    }
}

void DCPXMLReader::notifyDownloadEngine()
{
    if (engineNotifier())
        engineNotifier()();
    else
        DownloadManager::getInstance()->assetsChanged();
}

bool DCPXMLReader::createDCPDirectory()
{
    return FileManager::createDirectory(dcpFolder());
}

bool DCPXMLReader::createDCPXMLFiles()
{
    const QString folder = dcpFolder();
    if (!FileManager::directoryExists(folder))
        return false;

    const QList<QPair<QString, QByteArray>> documents{{cpl_xml_name, cpl_xml},
                                                      {pkl_xml_name, pkl_xml},
                                                      {QStringLiteral("ASSETMAP"), asset_map_xml},
                                                      {QStringLiteral("VOLINDEX"), volindex_xml}};
    for (const auto& document : documents) {
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
    }
    return true;
}

QStringList DCPXMLReader::getConflictingFiles() const
{
    QStringList out;
    if (!current_dcp)
        return out;
    const DCP* known = DCPManager::getInstance()->getDCP(current_dcp->getUuid());
    for (const Asset* asset : current_dcp->getAssets()) {
        if (known && known->getAsset(asset->getUuid()))
            continue;
        const QString hidden = asset->getFullPath();
        const QString visible = FileManager::nixGetUnhiddenPath(hidden);
        if (FileManager::fileExists(hidden) && !FileManager::directoryExists(hidden))
            out.append(hidden);
        if (visible != hidden && FileManager::fileExists(visible) && !FileManager::directoryExists(visible))
            out.append(visible);
    }
    return out;
}

bool DCPXMLReader::removeConflictingFiles()
{
    const QStringList files = getConflictingFiles();
    if (files.isEmpty())
        return true;

    QString list;
    for (int i = 0; i < files.size(); ++i)
        list += QStringLiteral("\r\n   %1. %2").arg(i + 1).arg(FileManager::getFilenameFromPath(files.at(i)));

    const Prompt::StandardButton answer =
        UserPrompt::message(Prompt::Warning, QStringLiteral("Remove conflicting files?"),
                            QStringLiteral("The following files will be removed...\r\n") + list,
                            Prompt::Yes | Prompt::No, Prompt::No);
    if (answer != Prompt::Yes)
        return false;
    for (const QString& file : files)
        FileManager::removeFile(file);
    return true;
}

// ---------------------------------------------------------------------------------------
// DCP XML documents

void DCPXMLReader::clearAll()
{
    releaseEntryObjects();
    reels.clear();
    reels_by_id.clear();
    assets.clear();
    assets_by_key.clear();
    asset_map_entries.clear();
    asset_map_document = QDomDocument();
    current_dcp = nullptr;
    adopted.clear();
}

void DCPXMLReader::releaseEntryObjects()
{
    if (reels.isEmpty() && assets.isEmpty() && !current_dcp)
        return;

    // Keep whatever the catalogue holds, and everything reachable from it: an asset's
    // reel list and a reel's asset list are followed by the download engine.
    const DCPManager* catalogue = DCPManager::getInstance();
    QSet<const void*> keep = adopted;
    for (const Asset* asset : assets) {
        if (asset->getDCP() && catalogue->getAsset(asset->getUuid(), asset->getDCP()->getUuid()) == asset)
            keep.insert(asset);
    }
    for (const Reel* reel : reels) {
        if (catalogue->getReel(reel->getUuid()) == reel)
            keep.insert(reel);
    }
    if (current_dcp && catalogue->getDCP(current_dcp->getUuid()) == current_dcp)
        keep.insert(current_dcp);

    bool grown = true;
    while (grown) {
        const int before = keep.size();
        for (const Asset* asset : assets) {
            if (!keep.contains(asset))
                continue;
            for (const Reel* reel : asset->getReels())
                keep.insert(reel);
            keep.insert(asset->getDCP());
        }
        for (const Reel* reel : reels) {
            if (!keep.contains(reel))
                continue;
            for (const Asset* asset : reel->getAssets())
                keep.insert(asset);
            keep.insert(reel->getDCP());
        }
        grown = keep.size() != before;
    }

    for (Asset* asset : assets) {
        if (!keep.contains(asset))
            delete asset;
    }
    QSet<const Reel*> deleted;
    for (Reel* reel : reels) {
        if (!keep.contains(reel) && !deleted.contains(reel)) {
            deleted.insert(reel);
            delete reel;
        }
    }
    if (current_dcp && !keep.contains(current_dcp))
        delete current_dcp;

    reels.clear();
    reels_by_id.clear();
    assets.clear();
    assets_by_key.clear();
    current_dcp = nullptr;
    adopted.clear();
}

void DCPXMLReader::addReel(Reel* reel)
{
    reels.append(reel);
    reels_by_id.insert(reel->getUuid(), reel);
}

void DCPXMLReader::addAsset(Asset* asset)
{
    assets.append(asset);
    assets_by_key.insert(qMakePair(asset->getUuid(), cpl_uuid), asset);
}

Asset* DCPXMLReader::getAsset(const QString& uuid, const QString& cplUuid) const
{
    return assets_by_key.value(qMakePair(uuid, cplUuid), nullptr);
}

bool DCPXMLReader::parseAssetMapXML(const QString& xml)
{
    QString error;
    if (!SafeXml::parse(xml, &asset_map_document, &error)) {
        qDebug() << "[DCPXMLReader] Could not load ASSETMAP XML file";
        qDebug() << "[DCPXMLReader] " << error;
        return false;
    }

    const QList<QDomElement> entries =
        elementsNamed(asset_map_document.elementsByTagName(QStringLiteral("Asset")));
    if (entries.isEmpty()) {
        qDebug() << "[DCPXMLReader] no Asset(s) found in ASSETMAP";
        return false;
    }
    for (const QDomElement& entry : entries) {
        for (const QString& path : chunkPaths(entry)) {
            if (!PackagePathRules::isRelativeInside(path)) {
                qDebug() << "[DCPXMLReader] ASSETMAP chunk path leaves the DCP folder: " << path;
                return false;
            }
        }
        asset_map_entries.insert(cleanedChildId(entry), entry);
    }
    return true;
}

bool DCPXMLReader::loadCPLXML(const QString& xml)
{
    QDomDocument document;
    QString error;
    if (!SafeXml::parse(xml, &document, &error)) {
        qDebug() << "[DCPXMLReader] Could not load CPL XML file";
        qDebug() << "[DCPXMLReader] " << error;
        return false;
    }

    const QDomElement root = document.documentElement();
    cpl_uuid = cleanedChildId(root);
    cpl_title = root.firstChildElement(QStringLiteral("AnnotationText")).text();

    const QList<QDomElement> reelElements = elementsNamed(document.elementsByTagName(QStringLiteral("Reel")));
    if (reelElements.isEmpty()) {
        qDebug() << "[DCPXMLReader] no Reels found.";
        return false;
    }
    // The title names the DCP's folder inside the download folder.
    if (!PackagePathRules::isPlainName(cpl_title)) {
        qDebug() << "[DCPXMLReader] CPL AnnotationText cannot name a folder: " << cpl_title;
        return false;
    }

    for (int i = 0; i < reelElements.size(); ++i) {
        const int number = i + 1;
        if (!selectionContains(reels_selection, number))
            continue;
        const QDomElement& element = reelElements.at(i);
        const QDomElement assetList = element.firstChildElement(QStringLiteral("AssetList"));
        QDomElement picture = assetList.firstChildElement(QStringLiteral("MainPicture"));
        if (picture.isNull())
            picture = assetList.firstChildElement(QStringLiteral("msp-cpl:MainStereoscopicPicture"));
        const QDomElement sound = assetList.firstChildElement(QStringLiteral("MainSound"));
        const QDomElement subtitle = assetList.firstChildElement(QStringLiteral("MainSubtitle"));

        auto* reel = new Reel(cleanedChildId(element), cleanedChildId(picture), cleanedChildId(sound),
                              cleanedChildId(subtitle), static_cast<unsigned>(number));
        addReel(reel);
        qDebug() << "[DCPXMLReader] adding Reel " << reel->getUuid();
    }
    return true;
}

bool DCPXMLReader::loadPKLXML(const QString& xml)
{
    QDomDocument document;
    QString error;
    if (!SafeXml::parse(xml, &document, &error)) {
        qDebug() << "[DCPXMLReader] Could not load KPL XML file";
        qDebug() << "[DCPXMLReader] " << error;
        return false;
    }

    const QList<QDomElement> elements = elementsNamed(document.elementsByTagName(QStringLiteral("Asset")));
    if (elements.isEmpty()) {
        qDebug() << "[DCPXMLReader] no Asset(s) found in PKL";
        return false;
    }
    for (const QDomElement& element : elements) {
        const QDomElement id = element.firstChildElement(QStringLiteral("Id"));
        const QDomElement hash = element.firstChildElement(QStringLiteral("Hash"));
        const QDomElement size = element.firstChildElement(QStringLiteral("Size"));
        const QDomElement type = element.firstChildElement(QStringLiteral("Type"));
        const QDomElement name = element.firstChildElement(QStringLiteral("OriginalFileName"));
        if (id.isNull() || hash.isNull() || size.isNull() || type.isNull() || name.isNull())
            continue;
        // The name becomes a file in the DCP folder.
        if (!PackagePathRules::isPlainName(name.text())) {
            qDebug() << "[DCPXMLReader] PKL OriginalFileName is not a plain file name: " << name.text();
            return false;
        }

        bool isNumber = false;
        quint64 bytes = size.text().toULongLong(&isNumber);
        if (!isNumber)
            bytes = 0;
        auto* asset = new Asset(Util::cleanUUID(id.text()), hash.text(), bytes, type.text(),
                                QLatin1Char('.') + name.text(), QString());
        addAsset(asset);
        qDebug() << "[DCPXMLReader] adding Asset " << name.text();
    }
    return true;
}

void DCPXMLReader::mapPKLToCPL()
{
    current_dcp = new DCP(cpl_uuid, cpl_title, image_url, download_path);
    current_dcp->setUserUUID(user_uuid);
    current_dcp->setCampaignDCPId(campaign_dcp_id);
    current_dcp->setFriendlyTitle(friendly_title);

    for (Reel* reel : reels) {
        reel->setDCP(current_dcp);
        const QStringList ids{reel->getMainPictureId(), reel->getMainSoundId(), reel->getMainSubtitleId()};
        for (const QString& id : ids) {
            if (id.isEmpty())
                continue;
            Asset* asset = getAsset(id, cpl_uuid);
            if (!asset || !asset_map_entries.contains(asset->getUuid()))
                continue;
            asset->setDCP(current_dcp);
            if (!asset->getReels().contains(reel))
                asset->addReel(reel);
            reel->addAsset(asset);
            if (!current_dcp->getAsset(asset->getUuid()))
                current_dcp->addAsset(asset);
        }
        if (!reel->getAssets().isEmpty())
            current_dcp->addReel(reel);
    }
}

void DCPXMLReader::mapDownloadLinks()
{
    if (!current_dcp)
        return;
    for (const QJsonValue& value : asset_links) {
        const QJsonArray link = value.toArray();
        if (link.size() < 2)
            continue;
        Asset* asset = getAsset(Util::cleanUUID(link.at(0).toString()), current_dcp->getUuid());
        if (asset)
            asset->setDownloadUrl(link.at(1).toString());
    }
}

void DCPXMLReader::mapAssetMapXML()
{
    if (!current_dcp)
        return;
    const QString dcpUuid = current_dcp->getUuid();
    for (auto entry = asset_map_entries.cbegin(); entry != asset_map_entries.cend(); ++entry) {
        Asset* asset = getAsset(entry.key(), dcpUuid);
        // Entries for files outside the packing list name nothing to download.
        if (!asset)
            continue;
        for (const QString& path : chunkPaths(entry.value())) {
            const int slash = path.lastIndexOf(QLatin1Char('/'));
            const QString directory = slash < 0 ? QStringLiteral(".") : path.left(slash);
            if (directory.isEmpty() || directory == QLatin1String("."))
                continue;
            asset->setDirectoryPath(directory);
            if (directory == entry.key())
                continue;

            // A folder named after another asset (a subtitle's fonts): the file follows
            // that asset into its DCP and reels.
            const Asset* owner = getAsset(directory, dcpUuid);
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
