#include "download/DownloadQueue.h"

#include "model/DCP.h"
#include "model/Reel.h"

void DownloadQueue::clear()
{
    queue.clear();
    index.clear();
}

void DownloadQueue::add(Asset* asset, bool force)
{
    if (force) {
        queue.append(asset);
        return;
    }
    if (find(asset))
        return;
    queue.append(asset);
    index.insert(asset->key(), asset);
}

Asset* DownloadQueue::find(const Asset* asset) const
{
    return index.value(asset->key(), nullptr);
}

void DownloadQueue::addEligible(const DCP* dcp)
{
    for (const Reel* reel : dcp->getReels())
        for (Asset* asset : reel->getAssets())
            if (!asset->isComplete())
                add(asset);
}

void DownloadQueue::remove(Asset* asset)
{
    queue.removeAll(asset);
    const AssetKey key = asset->key();
    if (index.value(key) == asset)
        index.remove(key);
}
