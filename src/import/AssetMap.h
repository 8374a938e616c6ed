#pragma once

#include "import/DocumentProblem.h"

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>

// The ASSETMAP of a DCP: for every asset, the paths of its chunks inside the DCP folder.
class AssetMap
{
public:
    // Parses the document. Ids are cleaned of "urn:uuid:"; a later entry with the same Id
    // replaces an earlier one. Chunk paths that would leave the DCP folder are refused.
    static AssetMap fromBytes(const QByteArray& xml);

    bool isValid() const { return problem.isNone(); }
    const DocumentProblem& getProblem() const { return problem; }

    bool contains(const QString& uuid) const { return chunks.contains(uuid); }
    // Asset ids in key order, each with the chunk paths of its entry.
    const QMap<QString, QStringList>& getChunkPaths() const { return chunks; }

private:
    DocumentProblem problem;
    QMap<QString, QStringList> chunks;
};
