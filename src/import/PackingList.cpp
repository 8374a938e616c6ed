#include "import/PackingList.h"

#include "import/PackagePathRules.h"
#include "import/SafeXml.h"
#include "model/Util.h"

#include <QDomDocument>
#include <QDomElement>
#include <QDomNodeList>

PackingList PackingList::fromBytes(const QByteArray& xml)
{
    PackingList out;
    QDomDocument document;
    QString error;
    if (!SafeXml::parse(QString::fromUtf8(xml), &document, &error)) {
        out.problem =
            DocumentProblem(DocumentProblem::NotXml, QStringLiteral("Could not load KPL XML file"), error);
        return out;
    }

    const QDomNodeList elements = document.elementsByTagName(QStringLiteral("Asset"));
    if (elements.isEmpty()) {
        out.problem =
            DocumentProblem(DocumentProblem::NoElements, QStringLiteral("no Asset(s) found in PKL"));
        return out;
    }
    for (int i = 0; i < elements.size(); ++i) {
        const QDomElement element = elements.at(i).toElement();
        const QDomElement id = element.firstChildElement(QStringLiteral("Id"));
        const QDomElement hash = element.firstChildElement(QStringLiteral("Hash"));
        const QDomElement size = element.firstChildElement(QStringLiteral("Size"));
        const QDomElement type = element.firstChildElement(QStringLiteral("Type"));
        const QDomElement name = element.firstChildElement(QStringLiteral("OriginalFileName"));
        if (id.isNull() || hash.isNull() || size.isNull() || type.isNull() || name.isNull())
            continue;
        // The name becomes a file in the DCP folder.
        if (!PackagePathRules::isPlainName(name.text())) {
            out.problem = DocumentProblem(DocumentProblem::Unsafe,
                                          QStringLiteral("PKL OriginalFileName is not a plain file name: "),
                                          name.text());
            out.assets.clear();
            return out;
        }

        AssetEntry asset;
        asset.uuid = Util::cleanUUID(id.text());
        asset.hash = hash.text();
        bool isNumber = false;
        asset.size = size.text().toULongLong(&isNumber);
        if (!isNumber)
            asset.size = 0;
        asset.type = type.text();
        asset.originalFileName = name.text();
        out.assets.append(asset);
    }
    return out;
}
