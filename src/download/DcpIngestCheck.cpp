#include "download/DcpIngestCheck.h"

#include "download/ChecksumWorker.h"
#include "import/DriveCheck.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>

#include <cerrno>
#include <cryptopp/sha.h>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

QStringList DcpIngestCheck::Result::problems() const
{
    QStringList out;
    for (const Finding& finding : findings)
        out.append(finding.text);
    return out;
}

QStringList DcpIngestCheck::Result::damagedAssets() const
{
    QStringList out;
    for (const Finding& finding : findings) {
        for (const QString& uuid : finding.assets) {
            if (!out.contains(uuid))
                out.append(uuid);
        }
    }
    return out;
}

DcpIngestCheck::Result DcpIngestCheck::run(const QString& dcpFolder, const std::atomic<bool>& cancel,
                                           const Progress& progress, const DriveProbe::Roots& drive)
{
    Result result;
    // The drive goes to the cinema with the folder: what the folder choice said of it belongs here too.
    const QString chosen = QFileInfo(QDir::cleanPath(dcpFolder)).path();
    if (QFileInfo(chosen).isDir()) {
        for (const DriveCheck::Finding& finding : DriveCheck::assess(DriveProbe(drive).probe(chosen)))
            result.findings.append({finding.text, QStringList()});
    }

    const DcpFolderAudit audit = DcpFolderAudit::run(dcpFolder);
    result.findings += audit.findings;
    result.readable = audit.readable;
    result.files = audit.documentsRead;

    quint64 total = 0;
    for (const DcpFolderAudit::File& file : audit.toHash)
        total += file.size;
    const QDir root(dcpFolder);
    quint64 done = 0;
    for (const DcpFolderAudit::File& file : audit.toHash) {
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
        const QStringList mends = file.document ? QStringList() : QStringList{file.uuid};
        if (digest.isEmpty())
            result.findings.append(
                {QCoreApplication::translate("DcpIngestCheck", "%1 cannot be read from the drive.")
                     .arg(file.path),
                 mends});
        else if (digest == file.digest)
            result.bytes += file.size;
        else if (file.document)
            result.findings.append(
                {QCoreApplication::translate("DcpIngestCheck",
                                             "The PKL's hash for the CPL %1 does not match it: a cinema "
                                             "server refuses the composition.")
                     .arg(file.path),
                 mends});
        else
            result.findings.append({QCoreApplication::translate(
                                        "DcpIngestCheck", "%1 is corrupted: its SHA-1 differs from the PKL.")
                                        .arg(file.path),
                                    mends});
    }
    return result;
}

QString DcpIngestCheck::readyText(int files, quint64 bytes)
{
    return QCoreApplication::translate("DcpIngestCheck", "Ready for the cinema: %1 files, %2 GB")
        .arg(files)
        .arg(QLocale().toString(double(bytes) / 1e9, 'f', bytes < 100000000 ? 3 : 1));
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
