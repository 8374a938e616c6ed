#include "core/FileManager.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cryptopp/sha.h>

#include <memory>
#include <vector>

namespace {
// Large sequential reads keep the hash fed at disk speed while memory stays flat.
constexpr qint64 kHashBlockSize = 4 * 1024 * 1024;
constexpr qint64 kMinHashBlockSize = 64 * 1024;

// Splits "dir/name" into its parent ("." for a bare name) and its last component.
void splitPath(const QString& path, QString& parent, QString& name)
{
    const int slash = path.lastIndexOf(QLatin1Char('/'));
    if (slash < 0) {
        parent = QStringLiteral(".");
        name = path;
    } else {
        parent = path.left(slash);
        name = path.mid(slash + 1);
    }
}
} // namespace

qint64 FileManager::getFileSize(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists()) {
        return 0;
    }
    return info.size();
}

bool FileManager::fileExists(const QString& path)
{
    return !path.isEmpty() && QFileInfo::exists(path);
}

bool FileManager::directoryExists(const QString& path)
{
    if (path.isEmpty()) {
        return false;
    }
    const QFileInfo info(path);
    return info.exists() && info.isDir();
}

QFile* FileManager::getFileHandle(const QString& path, bool createMissingDirectories, bool unused)
{
    Q_UNUSED(unused)
    if (!fileExists(path)) {
        if (!createMissingDirectories) {
            qDebug() << "[FileManager] directory does not exist:" << path;
            return nullptr;
        }
        const QString parent = QFileInfo(path).path();
        if (!parent.isEmpty() && !QDir().mkpath(parent)) {
            qDebug() << "[FileManager] cannot create directory:" << parent;
            return nullptr;
        }
    }

    auto file = std::make_unique<QFile>(path);
    // Append mode: every write lands at the end, and opening never truncates.
    if (!file->open(QIODevice::ReadWrite | QIODevice::Append)) {
        qDebug() << "[FileManager] cannot open directory:" << path;
        return nullptr;
    }
    return file.release();
}

QByteArray FileManager::getFileSHA1(const QString& path)
{
    return getFileSHA1(path, std::function<void(qint64)>());
}

QByteArray FileManager::getFileSHA1(const QString& path, const std::function<void(qint64)>& onRead)
{
    if (!fileExists(path)) {
        qDebug() << "[FileManager] getFileSHA1 does not exist:" << path;
        throw FileDoesNotExistException("File does not exist for SHA1");
    }

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        qDebug() << "[FileManager] getFileSHA1 could not open:" << path;
        throw FileDoesNotExistException("Unable to open file for SHA1");
    }

    CryptoPP::SHA1 sha1;
    // Sized to the file and left unfilled: a zeroed 4 MiB buffer for each of a reel's thousands
    // of subtitle images cost more than reading them. A file grown meanwhile is still read to
    // its end, a block at a time.
    const qint64 block = qBound<qint64>(kMinHashBlockSize, file.size() + 1, kHashBlockSize);
    const std::unique_ptr<char[]> buffer(new char[static_cast<size_t>(block)]);
    for (;;) {
        const qint64 got = file.read(buffer.get(), block);
        if (got < 0) {
            // A digest of part of the file would pass for a verdict on the whole file.
            qDebug() << "[FileManager] getFileSHA1 could not read:" << path << file.errorString();
            throw std::runtime_error("Unable to read file for SHA1");
        }
        if (got == 0) {
            break;
        }
        sha1.Update(reinterpret_cast<const CryptoPP::byte*>(buffer.get()), static_cast<size_t>(got));
        if (onRead) {
            onRead(got);
        }
    }

    QByteArray digest(static_cast<int>(CryptoPP::SHA1::DIGESTSIZE), Qt::Uninitialized);
    sha1.Final(reinterpret_cast<CryptoPP::byte*>(digest.data()));
    return digest;
}

void FileManager::removeFile(const QString& path)
{
    QFile::remove(path);
}

bool FileManager::createDirectory(const QString& path)
{
    if (path.isEmpty()) {
        return false;
    }
    return QDir().mkpath(path);
}

bool FileManager::rename(const QString& oldPath, const QString& newPath)
{
    return QFile::rename(oldPath, newPath);
}

QString FileManager::getFilenameFromPath(const QString& path)
{
    return QFileInfo(path).fileName();
}

QString FileManager::nixGetHiddenPath(const QString& path)
{
    QString parent;
    QString name;
    splitPath(path, parent, name);
    if (name.startsWith(QLatin1Char('.'))) {
        return path;
    }
    return parent + QLatin1String("/.") + name;
}

QString FileManager::nixGetUnhiddenPath(const QString& path)
{
    QString parent;
    QString name;
    splitPath(path, parent, name);
    if (!name.startsWith(QLatin1Char('.'))) {
        return path;
    }
    return parent + QLatin1Char('/') + name.mid(1);
}

QString FileManager::nixGetUnhiddenFileName(const QString& name)
{
    if (name.startsWith(QLatin1Char('.'))) {
        return name.mid(1);
    }
    return name;
}
