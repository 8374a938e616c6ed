#pragma once

#include "DcpDescription.h"

#include <QIODevice>
#include <QString>

// Generates sample DCPs: N reels of picture, sound and optionally a subtitle whose font
// lies in a folder named after the subtitle's UUID, with ASSETMAP, PKL, CPL and VOLINDEX.
// Asset contents are a cheap pseudo-random stream, written and hashed block by block,
// so files of many gigabytes never sit in memory. UUIDs and contents follow from the seed.
class SampleDcp
{
public:
    struct Options
    {
        QString title = QStringLiteral("Sample_FTR");
        int reels = 1;
        quint64 pictureSize = 1024 * 1024;
        quint64 soundSize = 256 * 1024;
        bool subtitles = false;
        quint64 subtitleSize = 4 * 1024;
        quint64 fontSize = 8 * 1024;
        bool stereoscopic = false; // picture as msp-cpl:MainStereoscopicPicture
        quint32 seed = 1;
        // Without hashes every Hash is the digest of nothing: for declared sizes (say
        // above 4 GiB) that are never generated. Files written always get their true hash.
        bool computeHashes = true;
    };

    // Describes the DCP and, when folder is not empty, writes it there (the folder is
    // the DCP folder itself; it is created). False with error set when writing failed.
    static bool generate(const Options& options, const QString& folder, DcpDescription* out,
                         QString* error = nullptr);

    // The asset content for a seed: writes size bytes to device (may be null) and
    // returns their SHA-1 in Base64.
    static QString streamContent(quint64 seed, quint64 size, QIODevice* device, bool* ok = nullptr);

    static QString uuidFor(quint32 seed, const QString& name);
};
