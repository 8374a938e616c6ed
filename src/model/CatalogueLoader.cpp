#include "model/CatalogueLoader.h"

#include "model/Asset.h"
#include "model/DCP.h"
#include "model/Reel.h"
#include "storage/DatabaseManager.h"
#include "storage/StoreRows.h"

#include <QDebug>
#include <QHash>
#include <QSet>
#include <QStringList>

#include <algorithm>
#include <vector>

namespace {

// One copy of each distinct text: objects that carry the same type, folder or user hold
// the same implicitly shared string instead of a copy each.
class TextPool
{
public:
    QString operator()(const QString& text)
    {
        const auto it = m_texts.constFind(text);
        if (it != m_texts.constEnd())
            return *it;
        m_texts.insert(text);
        return text;
    }

private:
    QSet<QString> m_texts;
};

// A key kept in a table must own its bytes: the raw text is SQLite's until the next row.
QByteArray owned(const QByteArray& raw)
{
    return QByteArray(raw.constData(), raw.size());
}

struct AssetRow
{
    qint64 id = 0;
    Asset* object = nullptr;
    bool linked = false;
};

struct DcpRow
{
    unsigned id = 0;
    QString uuid;
    QString title;
    QString friendly_title;
    QString image_url;
    QString download_path;
    QString user_uuid;
    unsigned long long campaign_dcp_id = 0;
    DCP* object = nullptr;
    // The DCP's asset rows by asset UUID: an asset row belongs to the DCP it names.
    QHash<QByteArray, AssetRow> assets;
};

struct ReelRow
{
    unsigned id = 0;
    QString uuid;
    unsigned reel_number = 0;
    Reel* object = nullptr;
};

struct Link
{
    DcpRow* dcp;
    ReelRow* reel;
    AssetRow* asset;
};

} // namespace

namespace {

DCP* newDCP(const DcpRow& row, DatabaseManager* store)
{
    auto* dcp = new DCP(row.uuid, row.title, row.image_url, row.download_path, store);
    dcp->setDbId(row.id);
    dcp->setUserUUID(row.user_uuid);
    dcp->setCampaignDCPId(row.campaign_dcp_id);
    dcp->setFriendlyTitle(row.friendly_title);
    return dcp;
}

// Reads the reel, asset and link rows (of the selected DCPs only, with selected) and joins
// them into objects: a DCP row with an object gets its reels and assets there, one without
// gets a new DCP, appended to created. Every object made is freed again on a failure.
void buildGraph(DatabaseManager* store, bool selected, TextPool& shared, QHash<QByteArray, DcpRow>& dcps,
                QList<DCP*>& created)
{
    using Table = DatabaseManager::CatalogueTable;
    QHash<QByteArray, ReelRow> reels;
    int asset_count = 0;

    const auto freeAll = [&]() {
        for (DcpRow& dcp : dcps) {
            for (const AssetRow& row : qAsConst(dcp.assets))
                delete row.object;
            dcp.assets.clear();
        }
        for (const ReelRow& row : qAsConst(reels))
            delete row.object;
        for (DCP* dcp : qAsConst(created)) {
            dcps[dcp->getUuid().toUtf8()].object = nullptr;
            delete dcp;
        }
        created.clear();
    };

    try {
        {
            const auto rows = store->getCatalogueRows(Table::Reels, selected);
            if (!selected)
                reels.reserve(dcps.size() * 8);
            while (rows->next()) {
                ReelRow& row = reels[owned(rows->rawText(1))];
                row.id = static_cast<unsigned>(rows->integer(0));
                row.uuid = rows->text(1);
                row.reel_number = static_cast<unsigned>(rows->integer(2));
            }
        }
        {
            const auto rows = store->getCatalogueRows(Table::Assets, selected);
            while (rows->next()) {
                const auto dcp = dcps.find(rows->rawText(2));
                // No DCP row: no link can reach this asset.
                if (dcp == dcps.end())
                    continue;
                // UNIQUE(uuid, dcp_uuid): never a second row under one key.
                AssetRow& row = dcp->assets[owned(rows->rawText(1))];
                row.id = rows->integer(0);
                auto* asset = new Asset(rows->text(1), rows->text(3), static_cast<quint64>(rows->integer(4)),
                                        shared(rows->text(5)), rows->text(6), rows->text(8));
                row.object = asset;
                asset->setDirectoryPath(shared(rows->text(7)));
                asset->setDownloadStarted(rows->integer(9) != 0);
                asset->setDownloadFinished(rows->integer(10) != 0);
                asset->setDownloadChecksummed(rows->integer(11) != 0);
                asset->setDownloadCorrupted(rows->integer(12) != 0);
                asset->setDownloadAttempts(static_cast<unsigned>(rows->integer(13)));
                ++asset_count;
            }
        }

        // No more inserts from here on, so pointers into the tables stay valid.
        std::vector<Link> links;
        links.reserve(static_cast<size_t>(asset_count));
        {
            const auto rows = store->getCatalogueRows(Table::Links, selected);
            while (rows->next()) {
                const auto dcp = dcps.find(rows->rawText(0));
                const auto reel = reels.find(rows->rawText(1));
                AssetRow* asset = nullptr;
                if (dcp != dcps.end()) {
                    const auto found = dcp->assets.find(rows->rawText(2));
                    asset = found != dcp->assets.end() ? &found.value() : nullptr;
                }
                // A link whose DCP, reel or asset row is gone would become an object with an
                // empty identity (a DCP whose folder is "/", an asset without a link to fetch);
                // such rows are left out instead.
                if (dcp == dcps.end() || reel == reels.end() || !asset) {
                    qDebug() << "[DCPManager] Warning: loadDCPs() skipping incomplete link row";
                    continue;
                }
                links.push_back(Link{&dcp.value(), &reel.value(), asset});
            }
        }
        // Newest DCP first, then the order the assets were stored; a stable sort keeps the
        // links of one asset in the order they were stored.
        std::stable_sort(links.begin(), links.end(), [](const Link& a, const Link& b) {
            if (a.dcp->id != b.dcp->id)
                return a.dcp->id > b.dcp->id;
            return a.asset->id < b.asset->id;
        });

        const AssetRow* previous_asset = nullptr;
        for (const Link& link : links) {
            Asset* asset = link.asset->object;
            link.asset->linked = true;

            Reel* reel = link.reel->object;
            if (!reel) {
                reel = new Reel(link.reel->uuid, link.reel->reel_number);
                reel->setDbId(link.reel->id);
                link.reel->object = reel;
            }

            DCP* dcp = link.dcp->object;
            if (!dcp) {
                dcp = newDCP(*link.dcp, store);
                link.dcp->object = dcp;
                created.append(dcp);
            }

            // The asset carries its DCP's own copy of the UUID from here on (its key).
            asset->setDCP(dcp);
            asset->addReel(reel);
            reel->addAsset(asset);
            reel->setDCP(dcp);
            if (!dcp->getReel(link.reel->uuid))
                dcp->addReel(reel);
            // The links of one (asset, DCP) pair are adjacent after the sort, and only that
            // DCP lists the asset: its first link adds it.
            if (link.asset != previous_asset)
                dcp->addAsset(asset);
            previous_asset = link.asset;
        }
    } catch (...) {
        freeAll();
        throw;
    }

    // Rows no link reaches are never loaded.
    for (DcpRow& dcp : dcps) {
        for (const AssetRow& row : qAsConst(dcp.assets)) {
            if (!row.linked)
                delete row.object;
        }
        dcp.assets.clear();
    }
}

} // namespace

QList<DCP*> CatalogueLoader::load(const QSet<QString>* withReels)
{
    TextPool shared;
    // Keyed by the UUIDs' stored UTF-8 bytes, so that the links are matched without a
    // string made for every one of their values.
    QHash<QByteArray, DcpRow> dcps;
    // Listed without reels: linked, but not in withReels.
    QList<DCP*> listed;
    QList<DCP*> created;
    try {
        {
            const auto rows = m_store->getCatalogueRows(DatabaseManager::CatalogueTable::Dcps);
            while (rows->next()) {
                DcpRow& row = dcps[owned(rows->rawText(1))];
                row.id = static_cast<unsigned>(rows->integer(0));
                row.uuid = rows->text(1);
                row.title = rows->text(2);
                row.friendly_title = rows->text(3);
                row.image_url = rows->text(4);
                row.download_path = shared(rows->text(5));
                row.user_uuid = shared(rows->text(6));
                row.campaign_dcp_id = static_cast<unsigned long long>(rows->integer(7));
                if (withReels && !withReels->contains(row.uuid) && rows->integer(8) != 0) {
                    row.object = newDCP(row, m_store);
                    listed.append(row.object);
                }
            }
        }
        if (!withReels) {
            buildGraph(m_store, false, shared, dcps, created);
        } else if (!withReels->isEmpty()) {
            m_store->selectForCatalogue(QStringList(withReels->cbegin(), withReels->cend()));
            buildGraph(m_store, true, shared, dcps, created);
        }
    } catch (...) {
        qDeleteAll(listed);
        throw;
    }
    // Newest first, as the links of a full load would have them.
    QList<DCP*> order = created + listed;
    std::stable_sort(order.begin(), order.end(),
                     [](const DCP* a, const DCP* b) { return a->getDbId() > b->getDbId(); });
    return order;
}

void CatalogueLoader::loadReels(const QList<DCP*>& dcps)
{
    if (dcps.isEmpty())
        return;
    TextPool shared;
    QHash<QByteArray, DcpRow> rows;
    QStringList uuids;
    for (DCP* dcp : dcps) {
        DcpRow& row = rows[dcp->getUuid().toUtf8()];
        row.id = dcp->getDbId();
        row.uuid = dcp->getUuid();
        row.object = dcp;
        uuids.append(dcp->getUuid());
    }
    m_store->selectForCatalogue(uuids);
    QList<DCP*> created;
    buildGraph(m_store, true, shared, rows, created);
    // Every link of a selected DCP names a DCP object given above.
    Q_ASSERT(created.isEmpty());
}
