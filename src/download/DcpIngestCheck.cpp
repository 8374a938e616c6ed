#include "download/DcpIngestCheck.h"

#include "download/ChecksumWorker.h"
#include "import/AssetMap.h"
#include "import/CompositionPlaylist.h"
#include "import/PackingList.h"
#include "import/SafeXml.h"

#include <QDir>
#include <QDirIterator>
#include <QDomDocument>
#include <QFile>
#include <QFileInfo>
#include <QXmlStreamReader>

#include <cerrno>
#include <cryptopp/sha.h>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

namespace {
QByteArray readDocument(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

// The root element's name, or empty when the text is not well-formed XML.
QString rootElement(const QByteArray& xml, QString* error)
{
    QDomDocument document;
    if (!SafeXml::parse(QString::fromUtf8(xml), &document, error))
        return QString();
    const QString name = document.documentElement().tagName();
    return name.mid(name.indexOf(QLatin1Char(':')) + 1);
}

QString sizeText(quint64 bytes)
{
    return QStringLiteral("%1 bytes").arg(bytes);
}
} // namespace

DcpIngestCheck::Result DcpIngestCheck::run(const QString& dcpFolder, const QSet<QString>& wanted,
                                           const std::atomic<bool>& cancel, const Progress& progress)
{
    Result result;
    const QDir root(dcpFolder);
    if (!root.exists()) {
        result.problems << QStringLiteral("The DCP folder %1 is not on the drive.")
                               .arg(QDir::toNativeSeparators(dcpFolder));
        return result;
    }

    // --- The documents ---
    QString error;
    const QByteArray assetMapXml = readDocument(root.filePath(QStringLiteral("ASSETMAP")));
    const AssetMap assetMap = AssetMap::fromBytes(assetMapXml);
    if (assetMapXml.isEmpty())
        result.problems << QStringLiteral("ASSETMAP is missing.");
    else if (!assetMap.isValid())
        result.problems
            << QStringLiteral("ASSETMAP cannot be read: %1").arg(assetMap.getProblem().getMessage());
    const QByteArray volIndexXml = readDocument(root.filePath(QStringLiteral("VOLINDEX")));
    if (volIndexXml.isEmpty())
        result.problems << QStringLiteral("VOLINDEX is missing.");
    else if (rootElement(volIndexXml, &error) != QLatin1String("VolumeIndex"))
        result.problems << QStringLiteral("VOLINDEX cannot be read: %1")
                               .arg(error.isEmpty() ? QStringLiteral("not a volume index") : error);
    if (!assetMap.isValid())
        return result;
    result.files += 2;

    // The PKL and the CPL are found through the ASSETMAP, as an ingest finds them.
    PackingList pkl;
    QString pklPath, cplPath;
    QSet<QString> listedPaths;
    const QMap<QString, QStringList>& chunks = assetMap.getChunkPaths();
    for (auto it = chunks.cbegin(); it != chunks.cend(); ++it) {
        for (const QString& path : it.value()) {
            listedPaths.insert(path);
            if (!path.endsWith(QLatin1String(".xml"), Qt::CaseInsensitive))
                continue;
            const QByteArray xml = readDocument(root.filePath(path));
            const QString kind = rootElement(xml, &error);
            if (kind == QLatin1String("PackingList")) {
                pkl = PackingList::fromBytes(xml);
                pklPath = path;
                if (!pkl.isValid())
                    result.problems << QStringLiteral("The PKL %1 cannot be read: %2")
                                           .arg(path, pkl.getProblem().getMessage());
            } else if (kind == QLatin1String("CompositionPlaylist")) {
                cplPath = path;
                const CompositionPlaylist cpl = CompositionPlaylist::fromBytes(xml);
                if (!cpl.isValid())
                    result.problems << QStringLiteral("The CPL %1 cannot be read: %2")
                                           .arg(path, cpl.getProblem().getMessage());
            }
        }
    }
    if (pklPath.isEmpty())
        result.problems << QStringLiteral("The PKL listed in the ASSETMAP is missing or cannot be read.");
    if (cplPath.isEmpty())
        result.problems << QStringLiteral("The CPL listed in the ASSETMAP is missing or cannot be read.");
    if (pklPath.isEmpty() || !pkl.isValid())
        return result;
    ++result.files;

    // --- Every file: listed, there, of the PKL's size ---
    struct ToHash
    {
        QString uuid;
        QString path;
        QByteArray digest;
    };
    QList<ToHash> toHash;
    quint64 total = 0;
    for (const PackingList::AssetEntry& entry : pkl.getAssets()) {
        const bool isCpl = chunks.value(entry.uuid).contains(cplPath);
        if (!isCpl && !wanted.contains(entry.uuid))
            continue; // a reel that was not chosen
        const QStringList paths = chunks.value(entry.uuid);
        if (paths.isEmpty()) {
            result.problems
                << QStringLiteral("%1 is in the PKL but not in the ASSETMAP.").arg(entry.originalFileName);
            continue;
        }
        const QString& path = paths.first();
        const QFileInfo info(root.filePath(path));
        if (!info.isFile()) {
            result.problems
                << QStringLiteral("%1 is listed in the ASSETMAP but missing from the drive.").arg(path);
            continue;
        }
        if (quint64(info.size()) != entry.size) {
            result.problems << QStringLiteral("%1 holds %2, the PKL says %3.")
                                   .arg(path, sizeText(quint64(info.size())), sizeText(entry.size));
            result.corruptedAssets << entry.uuid;
            continue;
        }
        toHash.append({entry.uuid, path, QByteArray::fromBase64(entry.hash.toLatin1())});
        total += entry.size;
    }

    // --- Nothing hidden or left over ---
    QDirIterator files(dcpFolder, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString relative = root.relativeFilePath(files.next());
        if (relative.split(QLatin1Char('/')).constLast().startsWith(QLatin1Char('.')))
            result.problems << QStringLiteral("A hidden file is left: %1").arg(relative);
    }

    // --- The SHA-1 of every file, read from the drive ---
    quint64 done = 0;
    for (const ToHash& file : toHash) {
        const QByteArray digest = sha1FromMedium(root.filePath(file.path), cancel, [&](qint64 read) {
            done += quint64(read);
            if (progress)
                progress(done, total);
        });
        if (cancel) {
            result.cancelled = true;
            return result;
        }
        ++result.files;
        if (digest.isEmpty()) {
            result.problems << QStringLiteral("%1 cannot be read from the drive.").arg(file.path);
            result.corruptedAssets << file.uuid;
        } else if (digest != file.digest) {
            result.problems
                << QStringLiteral("%1 is corrupted: its SHA-1 differs from the PKL.").arg(file.path);
            result.corruptedAssets << file.uuid;
        } else {
            result.bytes += quint64(QFileInfo(root.filePath(file.path)).size());
        }
    }
    return result;
}

QByteArray DcpIngestCheck::sha1FromMedium(const QString& path, const std::atomic<bool>& cancel,
                                          const std::function<void(qint64)>& onRead)
{
    // Cached pages would tell what was written, not what the drive holds.
    ChecksumWorker::flushToMedium(path);
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return QByteArray();
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
    CryptoPP::SHA1 sha1;
    constexpr size_t blockSize = 4 * 1024 * 1024;
    std::vector<unsigned char> buffer(blockSize);
    bool ok = true;
    off_t offset = 0;
    for (;;) {
        if (cancel) {
            ok = false;
            break;
        }
        const ssize_t got = ::read(fd, buffer.data(), blockSize);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            ok = false;
            break;
        }
        if (got == 0)
            break;
        sha1.Update(buffer.data(), size_t(got));
        // What was read is not needed again: the check must not push the user's work out of memory.
        ::posix_fadvise(fd, offset, got, POSIX_FADV_DONTNEED);
        offset += got;
        if (onRead)
            onRead(got);
    }
    ::close(fd);
    if (!ok)
        return QByteArray();
    QByteArray digest(int(CryptoPP::SHA1::DIGESTSIZE), Qt::Uninitialized);
    sha1.Final(reinterpret_cast<CryptoPP::byte*>(digest.data()));
    return digest;
}
