#pragma once

#include "model/Asset.h"

#include <QList>
#include <QMap>

// The assets still to transfer, in order, with an index by asset key that keeps an asset
// listed by several reels from being queued twice. Not owning: the catalogue owns them.
class DownloadQueue
{
public:
    const QList<Asset*>& assets() const { return queue; }
    bool isEmpty() const { return queue.isEmpty(); }
    int size() const { return queue.size(); }
    Asset* head() const { return queue.isEmpty() ? nullptr : queue.first(); }

    void clear();
    // With force, appended with no duplicate check and no index entry.
    void add(Asset* asset, bool force = false);
    // The queued asset with the same key, or null.
    Asset* find(const Asset* asset) const;
    // Every eligible asset of the DCP, its reels and their assets in order.
    void addEligible(const DCP* dcp);
    void remove(Asset* asset);

private:
    QList<Asset*> queue;
    QMap<AssetKey, Asset*> index;
};
