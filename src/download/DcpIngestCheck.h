#pragma once

#include "import/DcpFolderAudit.h"
#include "import/DriveProbe.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>

// Reads a DCP folder back from the drive the way a cinema server's ingest would: what the
// drive itself means for the server, the documents and what they say of every file (see
// DcpFolderAudit), and every file's SHA-1 against the PKL, read from the medium. Runs on a
// worker thread or on the command line; it touches no catalogue object.
class DcpIngestCheck
{
public:
    using Finding = DcpFolderAudit::Finding;
    struct Result
    {
        QList<Finding> findings; // one each, the drive's first, then in the order found
        int files = 0;           // documents read and files hashed
        quint64 bytes = 0;       // bytes of the files that matched
        bool cancelled = false;
        bool readable = true; // false when the folder itself cannot be read

        QStringList problems() const;
        // The files a new download mends (corrupted, cut short, missing), each once.
        QStringList damagedAssets() const;
    };
    using Progress = std::function<void(quint64 done, quint64 total)>;

    // drive: where the mount table, sysfs and devices are read for the drive's own findings.
    static Result run(const QString& dcpFolder, const std::atomic<bool>& cancel,
                      const Progress& progress = Progress(),
                      const DriveProbe::Roots& drive = DriveProbe::Roots());

    // "Ready for the cinema: N files, X GB"
    static QString readyText(int files, quint64 bytes);

    // SHA-1 of the file as it is on the medium (its cached pages are dropped first); empty
    // when it cannot be read or the check was cancelled.
    static QByteArray sha1FromMedium(const QString& path, const std::atomic<bool>& cancel,
                                     const std::function<void(qint64 read)>& onRead);
};
