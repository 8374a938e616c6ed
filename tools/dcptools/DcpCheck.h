#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// Checks a downloaded DCP the way an ingest would see it: the four XML documents, every
// file of the chosen reels under its visible name with the PKL's size and SHA-1, no
// hidden file left, nothing that the ASSETMAP does not list; and, given the stand-in's
// journal, that every reel's download and checksum events were acknowledged.
class DcpCheck
{
public:
    struct Result
    {
        QStringList problems; // empty when the DCP is good
        int filesVerified = 0;
        quint64 bytesVerified = 0;
        int reelsAcknowledged = 0;
        bool ok() const { return problems.isEmpty(); }
    };

    // reels: 1-based CPL positions to check; empty means every reel of the CPL.
    static Result checkFolder(const QString& dcpFolder, const QList<int>& reels = {});
    // Every reel number of the DCP's CPL (1..n); empty when the documents cannot be read.
    static QList<int> reelsOf(const QString& dcpFolder);
    // journalLines: the stand-in's journal (one request a line). Every reel in reels must
    // have events 1 (started), 2 (downloaded), 6 (checksum started) and 8 (checksum
    // passed) answered with status 200 on /notification/dcp.
    static void checkAcknowledged(const QStringList& journalLines, const QList<int>& reels, Result* result);
};
