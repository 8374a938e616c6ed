#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// Reads a DCP folder the way a cinema server's ingest does before it reads any file's
// content: one asset map and one volume index at the top, well-formed identifiers, what
// the asset map says of every file (one chunk, a path inside the folder, offset 0, the
// PKL's length), every composition's reels against what lies on the drive, the sizes the
// PKL gives, and anything in the folder that is not part of the DCP. Hashing the files is
// left to the caller, from the list it gives. Touches no catalogue object.
class DcpFolderAudit
{
public:
    struct Finding
    {
        QString text;       // one line, in the user's words
        QStringList assets; // UUIDs of the files it concerns that a new download mends
    };
    struct File
    {
        QString uuid;
        QString path; // relative to the DCP folder
        quint64 size = 0;
        QByteArray digest;     // SHA-1 the PKL gives, raw bytes
        bool document = false; // a composition: downloading it again would not mend it
    };

    static DcpFolderAudit run(const QString& dcpFolder);

    // False when the folder itself is missing or cannot be listed.
    bool readable = true;
    QList<Finding> findings;
    QList<File> toHash;
    int documentsRead = 0; // the asset map, the volume index and the PKL, when they could be read

    // "urn:uuid:" and a UUID, as every identifier of the documents must be.
    static bool isWellFormedId(const QString& text);
};
