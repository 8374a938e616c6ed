#pragma once

#include <QSet>
#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>

// Reads a DCP folder back from the drive the way a cinema server's ingest would: the four
// XML documents parse, the ASSETMAP lists every file with the PKL's size, every listed file
// is there, no hidden file is left, and every file's SHA-1 matches the PKL. Runs on a worker
// thread; it touches no catalogue object.
class DcpIngestCheck
{
public:
    struct Result
    {
        QStringList problems;        // one line each, in the order found
        QStringList corruptedAssets; // asset UUIDs whose SHA-1 differs from the PKL
        int files = 0;               // files checked, documents included
        quint64 bytes = 0;           // bytes read for the SHA-1
        bool cancelled = false;
    };
    using Progress = std::function<void(quint64 done, quint64 total)>;

    // wanted: the asset UUIDs that were downloaded (the chosen reels); PKL entries of reels
    // not chosen are not expected on the drive.
    static Result run(const QString& dcpFolder, const QSet<QString>& wanted, const std::atomic<bool>& cancel,
                      const Progress& progress = Progress());

    // SHA-1 of the file as it is on the medium (its cached pages are dropped first); empty
    // when it cannot be read or the check was cancelled.
    static QByteArray sha1FromMedium(const QString& path, const std::atomic<bool>& cancel,
                                     const std::function<void(qint64 read)>& onRead);
};
