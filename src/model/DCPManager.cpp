#include "model/DCPManager.h"

#include "core/FileManager.h"
#include "core/UserPrompt.h"
#include "model/CatalogueLoader.h"
#include "model/DCP.h"
#include "model/Reel.h"
#include "model/ScriptOwnership.h"
#include "storage/DatabaseManager.h"
#include "storage/StoreRows.h"

#include <QDebug>
#include <QSet>
#include <QSignalBlocker>

#include <algorithm>
#include <memory>
#include <stdexcept>
#include <vector>

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

void DCPManager::collectOwned(QSet<DCP*>& owned_dcps, QSet<Reel*>& owned_reels,
                              QSet<Asset*>& owned_assets) const
{
    owned_dcps.unite(QSet<DCP*>(dcps.cbegin(), dcps.cend()));
    owned_dcps.unite(QSet<DCP*>(removed_dcps.cbegin(), removed_dcps.cend()));
    owned_reels.unite(QSet<Reel*>(reels.cbegin(), reels.cend()));
    owned_reels.unite(QSet<Reel*>(removed_reels.cbegin(), removed_reels.cend()));
    owned_assets.unite(QSet<Asset*>(assets.cbegin(), assets.cend()));
    for (const DCP* dcp : qAsConst(owned_dcps)) {
        owned_reels.unite(QSet<Reel*>(dcp->loadedReels().cbegin(), dcp->loadedReels().cend()));
        owned_assets.unite(QSet<Asset*>(dcp->loadedAssets().cbegin(), dcp->loadedAssets().cend()));
    }
}

QSet<QString> DCPManager::withSharedReels(const QStringList& dcpUuids)
{
    // A reel listed by several DCPs is one object, so those DCPs are always loaded together.
    QSet<QString> closure(dcpUuids.cbegin(), dcpUuids.cend());
    QStringList added = dcpUuids;
    while (!added.isEmpty()) {
        store.selectForCatalogue(QStringList(closure.cbegin(), closure.cend()));
        added = store.getDCPsSharingReels();
        closure.unite(QSet<QString>(added.cbegin(), added.cend()));
    }
    return closure;
}

void DCPManager::loadReelsOf(DCP* dcp)
{
    // Reached from getters the window calls: nothing may unwind into the event loop.
    QList<DCP*> loaded;
    QHash<DCP*, bool> complete; // how each was listed, should the load fail
    try {
        for (const QString& uuid : withSharedReels({dcp->getUuid()})) {
            DCP* other =
                uuid == dcp->getUuid() ? dcp : dcps_by_uuid.value(uuid, unfiled.value(uuid, nullptr));
            if (other && !other->reelsLoaded())
                loaded.append(other);
        }
        // Silent while filled: the caller is often a binding that reads the reels, and the
        // change is announced once it is done.
        std::vector<std::unique_ptr<QSignalBlocker>> silence;
        for (DCP* other : loaded) {
            complete.insert(other, other->isListedComplete());
            other->takeReelLoader();
            silence.push_back(std::make_unique<QSignalBlocker>(other));
        }
        CatalogueLoader(&store).loadReels(loaded);
    } catch (const std::exception& e) {
        qDebug() << "[DCPManager] Unable to load the reels of DCP" << dcp->getUuid() << e.what();
        for (DCP* other : loaded) {
            if (other->loadedReels().isEmpty())
                other->setReelLoader([this](DCP* d) { loadReelsOf(d); }, complete.value(other));
        }
        return;
    }
    for (DCP* other : loaded) {
        // Listed complete: every event of its reels was acknowledged when the store was read,
        // and none can have been journalled since without these objects.
        if (complete.value(other)) {
            for (Reel* reel : other->loadedReels())
                reel->setEventsAcknowledged();
        }
        // A DCP still being filed at start registers its objects when it is filed.
        if (dcps_by_uuid.value(other->getUuid()) == other) {
            for (Asset* asset : other->loadedAssets())
                addAsset(asset);
            for (Reel* reel : other->loadedReels())
                addReel(reel);
        }
        QMetaObject::invokeMethod(other, &DCP::announceReelsChanged, Qt::QueuedConnection);
    }
}

void DCPManager::readListedSummaries(DCP* dcp)
{
    // The grid asks tile by tile, in the order shown: one read covers the DCPs after this one
    // (and before it, near the end), so scrolling costs a read per screenful or so, not a read
    // per tile.
    constexpr int kBatch = 200;
    QHash<QString, DCP*> wanted;
    wanted.insert(dcp->getUuid(), dcp);
    const int at = qMax(0, dcps.indexOf(dcp));
    for (int i = at; i < dcps.size() && wanted.size() < kBatch; ++i) {
        if (!dcps.at(i)->reelsLoaded() && !dcps.at(i)->hasListedSummary())
            wanted.insert(dcps.at(i)->getUuid(), dcps.at(i));
    }
    for (int i = at - 1; i >= 0 && wanted.size() < kBatch; --i) {
        if (!dcps.at(i)->reelsLoaded() && !dcps.at(i)->hasListedSummary())
            wanted.insert(dcps.at(i)->getUuid(), dcps.at(i));
    }
    try {
        store.selectForCatalogue(wanted.keys());
        const auto rows = store.getCatalogueRows(DatabaseManager::CatalogueTable::Summaries, true);
        while (rows->next()) {
            if (DCP* listed = wanted.take(rows->text(0)))
                listed->setListedSummary(int(rows->integer(1)), qulonglong(rows->integer(2)));
        }
    } catch (const std::exception& e) {
        // Reached from the window's bindings: the tile shows no reels rather than unwinding.
        qDebug() << "[DCPManager] Unable to read the summaries of listed DCPs" << e.what();
        return;
    }
    // Listed DCPs have a whole link each; one the read missed has nothing to show.
    for (DCP* listed : qAsConst(wanted))
        listed->setListedSummary(0, 0);
}

bool DCPManager::loadDCPs()
{
    // DCPs that are complete or not started yet are listed without their reels and assets,
    // which a long history holds by the hundred thousand; the engine reads a DCP not started
    // when its turn comes. The DCPs being worked on are loaded whole. When most DCPs are being
    // worked on, one pass over whole tables is the cheaper read.
    const QStringList working = store.getDCPsInProgress();
    const bool listSome = working.size() * 2 <= store.getDCPCount();
    const QStringList unsettled = listSome ? store.getUnsettledDCPs() : QStringList();
    const QSet<QString> not_complete(unsettled.cbegin(), unsettled.cend());
    const QSet<QString> with_reels = listSome ? withSharedReels(working) : QSet<QString>();
    const QList<DCP*> dcp_order = CatalogueLoader(&store).load(listSome ? &with_reels : nullptr);
    for (DCP* dcp : dcp_order) {
        unfiled.insert(dcp->getUuid(), dcp);
        if (listSome && !with_reels.contains(dcp->getUuid())) {
            dcp->setReelLoader([this](DCP* d) { loadReelsOf(d); }, !not_complete.contains(dcp->getUuid()));
            dcp->setSummaryLoader([this](DCP* d) { readListedSummaries(d); });
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

    // The rows of a dropped DCP go, so its reels are needed (and those of any DCP sharing one).
    for (DCP* dcp : dropped)
        dcp->getReels();

    // A reel listed under several DCPs is one object; it must outlive a dropped DCP
    // as long as a kept one still lists it.
    QSet<Reel*> kept_reels;
    for (const DCP* dcp : kept) {
        for (Reel* reel : dcp->loadedReels()) {
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

    unfiled.clear();
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
    Reel* reel = reels_by_uuid.value(uuid, nullptr);
    if (reel)
        return reel;
    // Perhaps a reel of a DCP listed without its reels.
    try {
        const DCP* dcp = dcps_by_uuid.value(store.getDCPListingReel(uuid), nullptr);
        if (dcp && !dcp->reelsLoaded()) {
            dcp->getReels();
            return reels_by_uuid.value(uuid, nullptr);
        }
    } catch (const std::exception& e) {
        qDebug() << "[DCPManager] Unable to look up reel" << uuid << e.what();
    }
    return nullptr;
}

Asset* DCPManager::getAsset(const QString& uuid, const QString& dcp_uuid) const
{
    if (const DCP* dcp = dcps_by_uuid.value(dcp_uuid, nullptr))
        dcp->getAssets(); // loads a DCP listed without its reels
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
    for (Asset* asset : dcp->loadedAssets()) {
        addAsset(asset);
    }
    for (Reel* reel : dcp->loadedReels()) {
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
        UserPrompt::message(Prompt::Warning, tr("The ORVDCP file could not be loaded."),
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
