#include "import/AssetMap.h"

#include "import/PackagePathRules.h"
#include "import/SafeXml.h"
#include "model/Util.h"

#include <QDomDocument>
#include <QDomElement>
#include <QDomNodeList>

AssetMap AssetMap::fromBytes(const QByteArray& xml)
{
    AssetMap out;
    QDomDocument document;
    QString error;
    if (!SafeXml::parse(QString::fromUtf8(xml), &document, &error)) {
        out.problem = DocumentProblem(DocumentProblem::NotXml,
                                      QStringLiteral("Could not load ASSETMAP XML file"), error);
        return out;
    }

    const QDomNodeList entries = document.elementsByTagName(QStringLiteral("Asset"));
    if (entries.isEmpty()) {
        out.problem =
            DocumentProblem(DocumentProblem::NoElements, QStringLiteral("no Asset(s) found in ASSETMAP"));
        return out;
    }
    for (int i = 0; i < entries.size(); ++i) {
        const QDomElement entry = entries.at(i).toElement();
        QStringList paths;
        const QDomNodeList chunkNodes =
            entry.firstChildElement(QStringLiteral("ChunkList")).elementsByTagName(QStringLiteral("Chunk"));
        for (int c = 0; c < chunkNodes.size(); ++c) {
            const QString path =
                chunkNodes.at(c).toElement().firstChildElement(QStringLiteral("Path")).text();
            if (!PackagePathRules::isRelativeInside(path)) {
                out.problem =
                    DocumentProblem(DocumentProblem::Unsafe,
                                    QStringLiteral("ASSETMAP chunk path leaves the DCP folder: "), path);
                out.chunks.clear();
                return out;
            }
            paths.append(path);
        }
        out.chunks.insert(Util::cleanUUID(entry.firstChildElement(QStringLiteral("Id")).text()), paths);
    }
    return out;
}
