#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// One file of a DCP folder as the tools see it.
struct DcpAssetInfo
{
    enum Kind
    {
        Picture,
        Sound,
        Subtitle,
        Font,
        Cpl,
        Pkl
    };

    Kind kind = Picture;
    QString uuid; // bare UUID
    QString path; // relative to the DCP folder, "/" separated
    quint64 size = 0;
    QString hash; // Base64 SHA-1 as written in the PKL (empty for the PKL itself)
    QString type; // PKL type text
    int reel = 0; // 1-based CPL position of the reel that plays it; 0 for CPL and PKL
};

// A DCP's four XML documents and its files: what a package is built from.
struct DcpDescription
{
    QString title; // CPL AnnotationText, the DCP folder's name
    QString cplUuid;
    QString pklUuid;
    QString cplFileName;
    QString pklFileName;
    QByteArray cpl;
    QByteArray pkl;
    QByteArray assetMap;
    QByteArray volIndex;
    int reelCount = 0;
    QList<DcpAssetInfo> assets;

    // Files the given reels play (fonts included), in asset order.
    QList<DcpAssetInfo> assetsOfReels(const QList<int>& reelNumbers) const
    {
        QList<DcpAssetInfo> out;
        for (const DcpAssetInfo& a : assets) {
            if (a.reel > 0 && reelNumbers.contains(a.reel))
                out.append(a);
        }
        return out;
    }

    quint64 sizeOfReels(const QList<int>& reelNumbers) const
    {
        quint64 total = 0;
        for (const DcpAssetInfo& a : assetsOfReels(reelNumbers))
            total += a.size;
        return total;
    }

    // The file of the given kind in the given reel, or a default entry (empty uuid).
    DcpAssetInfo find(DcpAssetInfo::Kind kind, int reelNumber = 0) const
    {
        for (const DcpAssetInfo& a : assets) {
            if (a.kind == kind && a.reel == reelNumber)
                return a;
        }
        return DcpAssetInfo();
    }
};
