#include "model/DCP.h"

#include "model/Reel.h"
#include "storage/DatabaseManager.h"

#include <QDebug>
#include <QQmlEngine>
#include <QSqlError>

#include <stdexcept>

namespace {
// Runs a multi-row write as one unit: committed when it succeeds, rolled back before
// the error goes on when it does not. When the caller already holds a transaction,
// the write joins it and the caller decides.
template <typename Write> void inTransaction(const char* what, Write write)
{
    QSqlDatabase& db = DatabaseManager::getInstance()->db;
    const bool own = db.transaction();
    try {
        write();
    } catch (...) {
        if (own) {
            db.rollback();
        }
        throw;
    }
    if (own && !db.commit()) {
        qDebug() << "[DCP] Unable to commit" << what << db.lastError().text();
        db.rollback();
        throw std::runtime_error(std::string("Unable to commit ") + what);
    }
}
} // namespace

DCP::DCP(const QString& uuid, const QString& title, const QString& image_url, const QString& download_path)
    : uuid(uuid), title(title), image_url(image_url), download_path(download_path)
{
    // QML receives DCPs in lists and must never delete one.
    QQmlEngine::setObjectOwnership(this, QQmlEngine::CppOwnership);
}

void DCP::addReel(Reel* reel)
{
    reels.append(reel);
    reels_by_uuid.insert(reel->getUuid(), reel);
    emit reelsChanged();
    emit finishedChanged();
}

Reel* DCP::getReel(const QString& uuid) const
{
    return reels_by_uuid.value(uuid, nullptr);
}

void DCP::removeReel(Reel* reel)
{
    inTransaction("removeReel", [reel] { reel->removeFromDb(); });

    reels.removeOne(reel);
    if (reels_by_uuid.value(reel->getUuid()) == reel) {
        reels_by_uuid.remove(reel->getUuid());
    }
    for (Asset* asset : reel->getAssets()) {
        assets.removeOne(asset);
        const AssetKey key = asset->key();
        if (assets_by_key.value(key) == asset) {
            assets_by_key.remove(key);
        }
    }
}

QList<QObject*> DCP::getReelsQML() const
{
    QList<QObject*> list;
    list.reserve(reels.size());
    for (Reel* reel : reels) {
        list.append(reel);
    }
    return list;
}

void DCP::addAsset(Asset* asset)
{
    assets.append(asset);
    assets_by_key.insert(AssetKey(asset->getUuid(), uuid), asset);
}

Asset* DCP::getAsset(const QString& asset_uuid) const
{
    return assets_by_key.value(AssetKey(asset_uuid, uuid), nullptr);
}

QString DCP::getDCPPath() const
{
    return download_path + QLatin1Char('/') + title;
}

void DCP::syncToDatabase()
{
    qDebug() << "Syncing DCP..." << uuid;
    inTransaction("syncToDatabase", [this] {
        DatabaseManager::getInstance()->insertDcp(this);
        for (Reel* reel : reels) {
            reel->syncToDatabase();
        }
    });
}

qulonglong DCP::getTotalSize() const
{
    qulonglong total = 0;
    for (const Reel* reel : reels) {
        total += reel->getTotalSize();
    }
    return total;
}

qulonglong DCP::getDownloadedSize() const
{
    qulonglong total = 0;
    for (const Reel* reel : reels) {
        total += reel->getDownloadedSize();
    }
    return total;
}

qulonglong DCP::getDownloadedSizeUI() const
{
    qulonglong total = 0;
    for (const Reel* reel : reels) {
        // A reel that is corrupted, verified or fully downloaded shows as full without
        // asking the disk.
        if (reel->isCorrupted() || reel->isChecksummed() || reel->isDownloaded()) {
            total += reel->getTotalSize();
        } else {
            total += reel->getDownloadedSize();
        }
    }
    return total;
}

bool DCP::isFinished() const
{
    for (const Reel* reel : reels) {
        if (!reel->isFinished()) {
            return false;
        }
    }
    return true;
}

bool DCP::isDownloaded() const
{
    for (const Reel* reel : reels) {
        if (!reel->isDownloaded()) {
            return false;
        }
    }
    return true;
}
