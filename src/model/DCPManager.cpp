#include "model/DCPManager.h"

#include "core/FileManager.h"
#include "core/UserPrompt.h"
#include "model/DCP.h"
#include "model/Reel.h"
#include "model/ScriptOwnership.h"
#include "storage/DatabaseManager.h"

#include <QDebug>
#include <QSet>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>

#include <algorithm>
#include <stdexcept>

namespace {
DCPManager* g_catalogue = nullptr;
}

DCPManager* DCPManager::getInstance()
{
    return g_catalogue;
}

DCPManager::DCPManager(DatabaseManager& store) : QObject(nullptr), store(store)
{
    ScriptOwnership::keepOwnedByProgram(this);
    m_loaded_data = loadDCPs();
    g_catalogue = this;
}

DCPManager::~DCPManager()
{
    if (g_catalogue == this)
        g_catalogue = nullptr;
    // Shared reels and assets are listed more than once; each is freed once.
    QSet<DCP*> all_dcps;
    QSet<Reel*> all_reels;
    QSet<Asset*> all_assets;
    collectOwned(all_dcps, all_reels, all_assets);
    qDeleteAll(all_assets);
    qDeleteAll(all_reels);
    qDeleteAll(all_dcps);
}

void DCPManager::collectOwned(QSet<DCP*>& owned_dcps, QSet<Reel*>& owned_reels, QSet<Asset*>& owned_assets) const
{
    owned_dcps.unite(QSet<DCP*>(dcps.cbegin(), dcps.cend()));
    owned_dcps.unite(QSet<DCP*>(removed_dcps.cbegin(), removed_dcps.cend()));
    owned_reels.unite(QSet<Reel*>(reels.cbegin(), reels.cend()));
    owned_reels.unite(QSet<Reel*>(removed_reels.cbegin(), removed_reels.cend()));
    owned_assets.unite(QSet<Asset*>(assets.cbegin(), assets.cend()));
    for (const DCP* dcp : qAsConst(owned_dcps)) {
        owned_reels.unite(QSet<Reel*>(dcp->getReels().cbegin(), dcp->getReels().cend()));
        owned_assets.unite(QSet<Asset*>(dcp->getAssets().cbegin(), dcp->getAssets().cend()));
    }
}

bool DCPManager::loadDCPs()
{
    QSqlQuery query = store.getDCPQuery();

    QMap<AssetKey, Asset*> loaded_assets;
    QMap<QString, Reel*> loaded_reels;
    QMap<QString, DCP*> loaded_dcps;
    QList<DCP*> dcp_order;

    // Resolve every column name once; a by-name lookup per value is a linear search.
    const QSqlRecord record = query.record();
    const auto column = [&record](const char* name) {
        return record.indexOf(QLatin1String(name));
    };
    const int c_asset_directory_path = column("asset_directory_path");
    const int c_asset_download_attempts = column("asset_download_attempts");
    const int c_asset_download_checksummed = column("asset_download_checksummed");
    const int c_asset_download_corrupted = column("asset_download_corrupted");
    const int c_asset_download_finished = column("asset_download_finished");
    const int c_asset_download_started = column("asset_download_started");
    const int c_asset_download_url = column("asset_download_url");
    const int c_asset_hash = column("asset_hash");
    const int c_asset_original_filename = column("asset_original_filename");
    const int c_asset_size = column("asset_size");
    const int c_asset_type = column("asset_type");
    const int c_asset_uuid = column("asset_uuid");
    const int c_dcp_campaign_dcp_id = column("dcp_campaign_dcp_id");
    const int c_dcp_db_id = column("dcp_db_id");
    const int c_dcp_download_path = column("dcp_download_path");
    const int c_dcp_friendly_title = column("dcp_friendly_title");
    const int c_dcp_image_url = column("dcp_image_url");
    const int c_dcp_title = column("dcp_title");
    const int c_dcp_user_uuid = column("dcp_user_uuid");
    const int c_dcp_uuid = column("dcp_uuid");
    const int c_reel_db_id = column("reel_db_id");
    const int c_reel_reel_number = column("reel_reel_number");
    const int c_reel_uuid = column("reel_uuid");

    while (query.next()) {
        // A link whose DCP, reel or asset row is gone would become an object with an
        // empty identity (a DCP whose folder is "/", an asset without a link to fetch);
        // such rows are left out instead.
        if (query.value(c_dcp_db_id).isNull() || query.value(c_reel_db_id).isNull() ||
            query.value(c_asset_uuid).isNull()) {
            qDebug() << "[DCPManager] Warning: loadDCPs() skipping incomplete link row";
            continue;
        }

        const QString dcp_uuid = query.value(c_dcp_uuid).toString();
        const QString reel_uuid = query.value(c_reel_uuid).toString();
        const unsigned reel_number = query.value(c_reel_reel_number).toUInt();
        const QString asset_uuid = query.value(c_asset_uuid).toString();

        const AssetKey asset_key(asset_uuid, dcp_uuid);
        Asset* asset = loaded_assets.value(asset_key, nullptr);
        if (!asset) {
            asset = new Asset(asset_uuid, query.value(c_asset_hash).toString(),
                              query.value(c_asset_size).toULongLong(), query.value(c_asset_type).toString(),
                              query.value(c_asset_original_filename).toString(),
                              query.value(c_asset_download_url).toString());
            asset->setDirectoryPath(query.value(c_asset_directory_path).toString());
            asset->setDownloadStarted(query.value(c_asset_download_started).toBool());
            asset->setDownloadFinished(query.value(c_asset_download_finished).toBool());
            asset->setDownloadChecksummed(query.value(c_asset_download_checksummed).toBool());
            asset->setDownloadCorrupted(query.value(c_asset_download_corrupted).toBool());
            asset->setDownloadAttempts(query.value(c_asset_download_attempts).toUInt());
            loaded_assets.insert(asset_key, asset);
        }

        Reel* reel = loaded_reels.value(reel_uuid, nullptr);
        if (!reel) {
            reel = new Reel(reel_uuid, reel_number);
            reel->setDbId(query.value(c_reel_db_id).toUInt());
            loaded_reels.insert(reel_uuid, reel);
        }

        DCP* dcp = loaded_dcps.value(dcp_uuid, nullptr);
        if (!dcp) {
            dcp =
                new DCP(dcp_uuid, query.value(c_dcp_title).toString(),
                        query.value(c_dcp_image_url).toString(), query.value(c_dcp_download_path).toString());
            dcp->setDbId(query.value(c_dcp_db_id).toUInt());
            dcp->setUserUUID(query.value(c_dcp_user_uuid).toString());
            dcp->setCampaignDCPId(query.value(c_dcp_campaign_dcp_id).toULongLong());
            dcp->setFriendlyTitle(query.value(c_dcp_friendly_title).toString());
            loaded_dcps.insert(dcp_uuid, dcp);
            dcp_order.append(dcp);
        }

        asset->addReel(reel);
        asset->setDCP(dcp);
        reel->addAsset(asset);
        reel->setDCP(dcp);
        if (!dcp->getReel(reel_uuid)) {
            dcp->addReel(reel);
        }
        if (!dcp->getAsset(asset_uuid)) {
            dcp->addAsset(asset);
        }
    }

    QList<DCP*> kept;
    QList<DCP*> dropped;
    for (DCP* dcp : dcp_order) {
        if (FileManager::directoryExists(dcp->getDCPPath())) {
            kept.append(dcp);
        } else if (!FileManager::directoryExists(dcp->getDownloadPath())) {
            // The chosen folder itself is gone: its drive is not plugged in. The downloads are
            // still on it, so the rows stay and the DCP waits for a start that finds the drive.
            qDebug() << "[DCPManager] Drive not connected, keeping dcp" << dcp->getDCPPath();
            dcp->setDriveConnected(false);
            kept.append(dcp);
        } else {
            // The drive is there but the DCP folder is not: the user removed it.
            dropped.append(dcp);
        }
    }

    // A reel listed under several DCPs is one object; it must outlive a dropped DCP
    // as long as a kept one still lists it.
    QSet<Reel*> kept_reels;
    for (const DCP* dcp : kept) {
        for (Reel* reel : dcp->getReels()) {
            kept_reels.insert(reel);
        }
    }

    for (DCP* dcp : dropped) {
        qDebug() << "[DCPManager] Warning: loadDCPs() removing dcp" << dcp->getDCPPath();
        store.removeDCP(dcp);
        for (Reel* reel : dcp->getReels()) {
            if (!kept_reels.contains(reel)) {
                continue;
            }
            for (Asset* asset : dcp->getAssets()) {
                reel->removeAsset(asset);
            }
            if (reel->getDCP() == dcp) {
                for (DCP* other : kept) {
                    if (other->getReel(reel->getUuid()) == reel) {
                        reel->setDCP(other);
                        break;
                    }
                }
            }
        }
    }

    // Destroyed only once every dropped DCP is out of the store: a reel shared by
    // several dropped DCPs is still read through each of their lists until then, and
    // is destroyed once.
    QSet<Reel*> deleted_reels;
    for (DCP* dcp : dropped) {
        qDeleteAll(dcp->getAssets());
        for (Reel* reel : dcp->getReels()) {
            if (!kept_reels.contains(reel) && !deleted_reels.contains(reel)) {
                deleted_reels.insert(reel);
                delete reel;
            }
        }
        delete dcp;
    }

    bool connected = false;
    for (DCP* dcp : kept) {
        fileDCP(dcp);
        connected = connected || dcp->isDriveConnected();
    }
    return connected;
}

QList<DCP*> DCPManager::getDCPs() const
{
    QList<DCP*> connected;
    connected.reserve(dcps.size());
    for (DCP* dcp : dcps) {
        if (dcp->isDriveConnected()) {
            connected.append(dcp);
        }
    }
    return connected;
}

DCP* DCPManager::getDCP(const QString& uuid) const
{
    return dcps_by_uuid.value(uuid, nullptr);
}

Reel* DCPManager::getReel(const QString& uuid) const
{
    return reels_by_uuid.value(uuid, nullptr);
}

Asset* DCPManager::getAsset(const QString& uuid, const QString& dcp_uuid) const
{
    return assets_by_key.value(AssetKey(uuid, dcp_uuid), nullptr);
}

QList<QObject*> DCPManager::getDCPsQML()
{
    qml_dcps.clear();
    for (DCP* dcp : dcps) {
        if (search_filter.isEmpty() || dcp->getDbId() == 0 ||
            dcp->getTitle().contains(search_filter, Qt::CaseInsensitive) ||
            dcp->getFriendlyTitle().contains(search_filter, Qt::CaseInsensitive)) {
            qml_dcps.append(dcp);
        }
    }
    return qml_dcps;
}

void DCPManager::addDCP(DCP* dcp)
{
    const QString folder = dcp->getDCPPath();
    if (!FileManager::directoryExists(folder) && !FileManager::createDirectory(folder)) {
        qDebug() << "[DcpManager] Unable to create directory for the DCP: " << folder;
        throw std::runtime_error("Unable to create directory for the DCP");
    }
    fileDCP(dcp);
}

void DCPManager::fileDCP(DCP* dcp)
{
    dcps.append(dcp);
    dcps_by_uuid.insert(dcp->getUuid(), dcp);
    for (Asset* asset : dcp->getAssets()) {
        addAsset(asset);
    }
    for (Reel* reel : dcp->getReels()) {
        addReel(reel);
    }
    emit dcpsChanged();
}

void DCPManager::addReel(Reel* reel)
{
    reels.append(reel);
    reels_by_uuid.insert(reel->getUuid(), reel);
}

void DCPManager::addAsset(Asset* asset)
{
    assets.append(asset);
    assets_by_key.insert(asset->key(), asset);
}

void DCPManager::forgetReel(Reel* reel)
{
    reels.removeAll(reel);
    // Only forget the lookup entry when it is this very object.
    if (reels_by_uuid.value(reel->getUuid()) == reel) {
        reels_by_uuid.remove(reel->getUuid());
    }
}

void DCPManager::forgetAsset(Asset* asset)
{
    assets.removeAll(asset);
    const AssetKey key = asset->key();
    if (assets_by_key.value(key) == asset) {
        assets_by_key.remove(key);
    }
}

void DCPManager::removeDCP(DCP* dcp)
{
    store.removeDCP(dcp);
    emit assetsRemoved(dcp->getAssets());
    for (Reel* reel : dcp->getReels()) {
        forgetReel(reel);
    }
    for (Asset* asset : dcp->getAssets()) {
        forgetAsset(asset);
    }
    dcps.removeOne(dcp);
    if (dcps_by_uuid.value(dcp->getUuid()) == dcp) {
        dcps_by_uuid.remove(dcp->getUuid());
    }
    if (!removed_dcps.contains(dcp)) {
        removed_dcps.append(dcp);
    }
    emit dcpsChanged();
    emit filterChanged();
}

DCP* DCPManager::removeReel(Reel* reel)
{
    DCP* dcp = reel->getDCP();
    const QList<Asset*> listed = reel->getAssets();
    // The rows go first, in one transaction; on failure nothing else has changed.
    dcp->removeReel(reel);

    // An asset that another reel still lists keeps its object, its file and its place in
    // the download queue: that reel still needs it.
    const auto isLive = [](const Reel* other) {
        return other->getDCP() && other->getDCP()->getReels().contains(const_cast<Reel*>(other));
    };
    QList<Asset*> orphaned;
    for (Asset* asset : listed) {
        const QList<Reel*>& listing = asset->getReels();
        if (std::none_of(listing.cbegin(), listing.cend(),
                         [&](const Reel* other) { return other != reel && isLive(other); })) {
            orphaned.append(asset);
        }
    }
    emit assetsRemoved(orphaned);
    for (Asset* asset : orphaned) {
        asset->removeFromFileSystem();
        forgetAsset(asset);
        // Reels removed earlier may still list it: none is left pointing at a freed object.
        for (Reel* listing : asset->getReels()) {
            listing->removeAsset(asset);
        }
        delete asset;
    }
    forgetReel(reel);
    removed_reels.append(reel);
    return dcp;
}

void DCPManager::loadDCPFromFile(const QString& path)
{
    // Reached from the window and from start-up: errors end here, never in the event loop.
    try {
        if (decoding_key.isEmpty()) {
            throw std::runtime_error("Can not load DCP when decoding key is empty");
        }
        if (path.isEmpty() || !package_reader) {
            return;
        }
        package_reader(decoding_key, path);
    } catch (const std::exception& e) {
        qDebug() << "[DCPManager] Unable to load DCP file" << path << e.what();
        UserPrompt::message(Prompt::Warning, QStringLiteral("The ORVDCP file could not be loaded."),
                            QString::fromUtf8(e.what()));
    }
}

void DCPManager::sortDCPsBy(const QString& key)
{
    if (key == QLatin1String("date")) {
        std::sort(dcps.begin(), dcps.end(), dateSorterLessThan);
    } else if (key == QLatin1String("name")) {
        std::sort(dcps.begin(), dcps.end(), nameSorterLessThan);
    } else {
        return;
    }
    emit dcpsChanged();
}

void DCPManager::setSearchFilter(const QString& text)
{
    search_filter = text.trimmed();
    emit dcpsChanged();
    emit filterChanged();
}

bool dateSorterLessThan(const DCP* a, const DCP* b)
{
    return a->getDbId() > b->getDbId();
}

bool nameSorterLessThan(const DCP* a, const DCP* b)
{
    // Code-unit order: every capital letter sorts before every small one.
    return a->getTitle() < b->getTitle();
}
