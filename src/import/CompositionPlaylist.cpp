#include "import/CompositionPlaylist.h"

#include "import/PackagePathRules.h"
#include "import/SafeXml.h"
#include "model/Util.h"

#include <QDomDocument>
#include <QDomElement>
#include <QDomNodeList>

namespace {
QString cleanedChildId(const QDomElement& element)
{
    return Util::cleanUUID(element.firstChildElement(QStringLiteral("Id")).text());
}
} // namespace

CompositionPlaylist CompositionPlaylist::fromBytes(const QByteArray& xml)
{
    CompositionPlaylist out;
    QDomDocument document;
    QString error;
    if (!SafeXml::parse(QString::fromUtf8(xml), &document, &error)) {
        out.problem =
            DocumentProblem(DocumentProblem::NotXml, QStringLiteral("Could not load CPL XML file"), error);
        return out;
    }

    const QDomElement root = document.documentElement();
    out.uuid = cleanedChildId(root);
    out.title = root.firstChildElement(QStringLiteral("AnnotationText")).text();

    const QDomNodeList reelNodes = document.elementsByTagName(QStringLiteral("Reel"));
    if (reelNodes.isEmpty()) {
        out.problem = DocumentProblem(DocumentProblem::NoElements, QStringLiteral("no Reels found."));
        return out;
    }
    if (!PackagePathRules::isPlainName(out.title)) {
        out.problem = DocumentProblem(DocumentProblem::Unsafe,
                                      QStringLiteral("CPL AnnotationText cannot name a folder: "), out.title);
        return out;
    }

    for (int i = 0; i < reelNodes.size(); ++i) {
        const QDomElement element = reelNodes.at(i).toElement();
        const QDomElement assetList = element.firstChildElement(QStringLiteral("AssetList"));
        QDomElement picture = assetList.firstChildElement(QStringLiteral("MainPicture"));
        if (picture.isNull())
            picture = assetList.firstChildElement(QStringLiteral("msp-cpl:MainStereoscopicPicture"));

        ReelEntry reel;
        reel.uuid = cleanedChildId(element);
        reel.pictureId = cleanedChildId(picture);
        reel.soundId = cleanedChildId(assetList.firstChildElement(QStringLiteral("MainSound")));
        reel.subtitleId = cleanedChildId(assetList.firstChildElement(QStringLiteral("MainSubtitle")));
        reel.number = static_cast<unsigned>(i + 1);
        out.reels.append(reel);
    }
    return out;
}
