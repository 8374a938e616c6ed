#include "model/Asset.h"

#include "core/FileIdentity.h"
#include "core/FileManager.h"
#include "model/DCP.h"
#include "model/DCPManager.h"
#include "model/Reel.h"
#include "model/Util.h"
#include "storage/DatabaseManager.h"

#include <QDebug>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <stdexcept>

Asset::Asset(const QString& uuid, const QString& hash, quint64 size, const QString& type,
             const QString& original_filename, const QString& download_url)
    : uuid(uuid), hash(hash), size(size), type(type), original_filename(original_filename),
      download_url(download_url)
{
}

Asset::~Asset() = default;

AssetKey Asset::key() const
{
    return AssetKey(uuid, dcp ? dcp->getUuid() : QString());
}

bool Asset::isComplete() const
{
    if (download_finished) {
        return true;
    }
    if (!download_checksummed) {
        return false;
    }
    const unsigned attempts = download_attempts;
    return (download_corrupted && attempts >= 2) || attempts >= 3;
}

QString Asset::getFullPath() const
{
    // Without its DCP an asset has no place on disk; an empty path makes every file
    // operation on it fail harmlessly instead of touching the file system root.
    if (!dcp) {
        return QString();
    }
    QString path = dcp->getDCPPath();
    if (!directory_path.isEmpty()) {
        path += QLatin1Char('/') + directory_path;
    }
    path += QLatin1Char('/') + original_filename;
    return path;
}

QFile* Asset::getFileHandle()
{
    if (file_handle) {
        return file_handle.get();
    }
    const QString path = getFullPath();
    // The DCP folder exists from the import on. When it is gone the drive was unplugged or
    // the folder deleted: creating it again would silently write the film onto whatever
    // disk now holds the mount point, so refuse instead.
    if (dcp && !FileManager::directoryExists(dcp->getDCPPath())) {
        qDebug() << "[Asset] DCP folder is missing:" << dcp->getDCPPath();
        qDebug() << "[Asset] Unable to open Asset " << path;
        throw std::runtime_error("[Asset] Unable to open Asset");
    }
    QFile* handle = FileManager::getFileHandle(path, true, true);
    if (!handle) {
        qDebug() << "[Asset] Unable to open Asset " << path;
        throw std::runtime_error("[Asset] Unable to open Asset");
    }
    file_handle.reset(handle);
    return handle;
}

void Asset::closeFileHandle()
{
    if (file_handle) {
        file_handle->close();
        file_handle.reset();
    }
}

quint64 Asset::getDownloadedSize() const
{
    const qint64 size_on_disk = FileManager::getFileSize(getFullPath());
    return size_on_disk > 0 ? static_cast<quint64>(size_on_disk) : 0;
}

DatabaseManager& Asset::store() const
{
    if (!dcp)
        throw std::runtime_error("The asset belongs to no DCP");
    return dcp->getStore();
}

void Asset::syncToDatabase(DCPManager* catalogue)
{
    // Without a catalogue (a store filled ahead of a start) only the rows are written.
    const AssetKey asset_key = key();
    if (catalogue && catalogue->getAsset(asset_key.first, asset_key.second)) {
        qDebug() << "[Asset] Syncing asset (ignored exists)..." << uuid;
        return;
    }

    qDebug() << "[Asset] Syncing asset..." << uuid;
    DatabaseManager& db = store();
    db.insertAsset(this);
    for (Reel* reel : reels) {
        db.insertDCPReelAsset(reel, this);
    }
    if (catalogue) {
        catalogue->addAsset(this);
    }
}

bool Asset::validateChecksum()
{
    if (download_checksummed) {
        return true;
    }
    QByteArray digest;
    try {
        digest = FileManager::getFileSHA1(getFullPath());
    } catch (const FileDoesNotExistException&) {
        return false;
    }
    // Compare decoded bytes, not Base64 text: the packing list may wrap or pad differently.
    const QByteArray on_disk = digest.toHex();
    const QByteArray expected = Util::decodeBase64(hash).toHex();
    return on_disk == expected;
}

bool Asset::isHidden(bool onDisk) const
{
    if (original_filename.startsWith(QLatin1Char('.'))) {
        return true;
    }
    if (!onDisk || !dcp) {
        return false;
    }
    const QString visible_path = getFullPath();
    return QFileInfo::exists(FileManager::nixGetHiddenPath(visible_path)) && !QFileInfo::exists(visible_path);
}

bool Asset::isVerifiedFileIntact() const
{
    if (!dcp)
        return false;
    const QString visible = getFullPath().chopped(original_filename.size()) +
                            FileManager::nixGetUnhiddenFileName(original_filename);
    const QString hidden = FileManager::nixGetHiddenPath(visible);
    const FileIdentity onDisk = FileIdentity::of(QFileInfo::exists(hidden) ? hidden : visible);
    if (!onDisk.isValid() || quint64(onDisk.size) != size)
        return false;
    return store().getVerifiedFile(this) == onDisk;
}

bool Asset::reveal(QString* reason)
{
    if (!dcp) {
        if (reason) {
            *reason = QStringLiteral("the asset belongs to no DCP");
        }
        return false;
    }
    const QString visible_name = FileManager::nixGetUnhiddenFileName(original_filename);
    QString visible_path = getFullPath();
    visible_path.chop(original_filename.size());
    visible_path += visible_name;
    const QString hidden_path = FileManager::nixGetHiddenPath(visible_path);

    // Only the visible file there: renamed by an earlier run that stopped before it could
    // record the name. Otherwise the hidden file has to move.
    const bool already_renamed = QFileInfo(visible_path).isFile() && !QFileInfo::exists(hidden_path);
    if (!already_renamed) {
        // What the store gathered about the file is on the disk before its name says more.
        store().commitPending();
        QString why;
        if (!QFileInfo::exists(hidden_path)) {
            why = QStringLiteral("the file is missing");
        } else if (QFileInfo::exists(visible_path)) {
            why = QStringLiteral("a file or folder with the final name is already there");
        } else if (std::rename(QFile::encodeName(hidden_path).constData(),
                               QFile::encodeName(visible_path).constData()) != 0) {
            // Plain rename(2): no copy fallback that would duplicate a film on a refusing drive.
            why = QString::fromLocal8Bit(std::strerror(errno));
        }
        if (!why.isEmpty()) {
            qDebug() << "[Asset] Unable to reveal Asset" << uuid << "- rename failed from" << hidden_path
                     << "to" << visible_path << "-" << why;
            if (reason) {
                *reason = why;
            }
            return false;
        }
    }

    if (original_filename != visible_name) {
        const QString previous = original_filename;
        original_filename = visible_name;
        try {
            store().updateAssetOriginalName(this);
        } catch (...) {
            // The file is visible but the row still says hidden; the next attempt finds the
            // file renamed and only records the name.
            original_filename = previous;
            throw;
        }
        try {
            // Revealed: what it was verified as is of no further use.
            store().forgetVerifiedFile(this);
        } catch (const std::exception& e) {
            qDebug() << "[Asset] Unable to forget the verified file of" << uuid << e.what();
        }
    }
    return true;
}

bool Asset::tryReveal(QString* reason)
{
    try {
        return reveal(reason);
    } catch (const std::exception& e) {
        if (reason) {
            *reason = QString::fromUtf8(e.what());
        }
        return false;
    }
}

void Asset::removeFromDb()
{
    qDebug() << "[Asset] Removing Asset from DB... " << uuid;
    store().removeAsset(this);
}

void Asset::removeFromFileSystem()
{
    qDebug() << "[Asset] Removing Asset from FileSystem..." << uuid;
    const QString path = getFullPath();
    if (!path.isEmpty()) {
        FileManager::removeFile(path);
    }
}
