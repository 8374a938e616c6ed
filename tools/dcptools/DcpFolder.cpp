#include "DcpFolder.h"

#include <QDomDocument>
#include <QFile>
#include <QMap>

namespace {
QString clean(const QString& id)
{
    const QString prefix = QStringLiteral("urn:uuid:");
    return id.trimmed().startsWith(prefix) ? id.trimmed().mid(prefix.size()) : id.trimmed();
}

bool readFile(const QString& path, QByteArray* out)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    *out = file.readAll();
    return true;
}

bool parse(const QByteArray& xml, QDomDocument* doc)
{
    return doc->setContent(QString::fromUtf8(xml), false);
}

QDomElement child(const QDomElement& e, const char* name)
{
    return e.firstChildElement(QLatin1String(name));
}

QString fail(QString* error, const QString& message)
{
    if (error)
        *error = message;
    return message;
}
} // namespace

bool DcpFolder::read(const QString& folder, DcpDescription* out, QString* error)
{
    DcpDescription d;
    const QString base = folder + QLatin1Char('/');
    if (!readFile(base + QStringLiteral("ASSETMAP"), &d.assetMap) &&
        !readFile(base + QStringLiteral("ASSETMAP.xml"), &d.assetMap)) {
        fail(error, QStringLiteral("no ASSETMAP in %1").arg(folder));
        return false;
    }
    if (!readFile(base + QStringLiteral("VOLINDEX"), &d.volIndex) &&
        !readFile(base + QStringLiteral("VOLINDEX.xml"), &d.volIndex))
        d.volIndex =
            QByteArrayLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<VolumeIndex><Index>1</Index>"
                              "</VolumeIndex>\n");

    QDomDocument assetMap;
    if (!parse(d.assetMap, &assetMap)) {
        fail(error, QStringLiteral("ASSETMAP is not XML"));
        return false;
    }
    QMap<QString, QString> paths; // uuid -> relative path
    QString pklId;
    const QDomNodeList mapAssets = assetMap.elementsByTagName(QStringLiteral("Asset"));
    for (int i = 0; i < mapAssets.size(); ++i) {
        const QDomElement a = mapAssets.at(i).toElement();
        const QString id = clean(child(a, "Id").text());
        const QDomElement chunk = child(child(a, "ChunkList"), "Chunk");
        paths.insert(id, child(chunk, "Path").text().trimmed());
        if (child(a, "PackingList").text().trimmed() == QLatin1String("true"))
            pklId = id;
    }

    // The PKL is the ASSETMAP entry flagged as packing list, or else the first XML file
    // whose root element is a PackingList.
    QDomDocument pkl;
    for (auto it = paths.cbegin(); it != paths.cend() && d.pkl.isEmpty(); ++it) {
        if (!pklId.isEmpty() && it.key() != pklId)
            continue;
        QByteArray bytes;
        QDomDocument doc;
        if (readFile(base + it.value(), &bytes) && parse(bytes, &doc) &&
            doc.documentElement().tagName().endsWith(QLatin1String("PackingList"))) {
            d.pkl = bytes;
            d.pklUuid = it.key();
            d.pklFileName = it.value();
            pkl = doc;
        }
    }
    if (d.pkl.isEmpty()) {
        fail(error, QStringLiteral("no PKL found in %1").arg(folder));
        return false;
    }

    QMap<QString, DcpAssetInfo> byId;
    QStringList order;
    const QDomNodeList pklAssets = pkl.elementsByTagName(QStringLiteral("Asset"));
    for (int i = 0; i < pklAssets.size(); ++i) {
        const QDomElement e = pklAssets.at(i).toElement();
        DcpAssetInfo a;
        a.uuid = clean(child(e, "Id").text());
        a.hash = child(e, "Hash").text().trimmed();
        a.size = child(e, "Size").text().trimmed().toULongLong();
        a.type = child(e, "Type").text().trimmed();
        a.path = paths.value(a.uuid, child(e, "OriginalFileName").text().trimmed());
        a.kind = DcpAssetInfo::Font; // until a CPL names it
        byId.insert(a.uuid, a);
        order.append(a.uuid);

        QByteArray bytes;
        QDomDocument doc;
        if (d.cpl.isEmpty() && a.type.contains(QLatin1String("xml")) && readFile(base + a.path, &bytes) &&
            parse(bytes, &doc) &&
            doc.documentElement().tagName().endsWith(QLatin1String("CompositionPlaylist"))) {
            d.cpl = bytes;
            d.cplUuid = a.uuid;
            d.cplFileName = a.path;
            d.title = child(doc.documentElement(), "AnnotationText").text();
        }
    }
    if (d.cpl.isEmpty()) {
        fail(error, QStringLiteral("no CPL found in %1").arg(folder));
        return false;
    }
    byId[d.cplUuid].kind = DcpAssetInfo::Cpl;

    QDomDocument cpl;
    parse(d.cpl, &cpl);
    const QDomNodeList reels = cpl.elementsByTagName(QStringLiteral("Reel"));
    d.reelCount = reels.size();
    QMap<QString, int> subtitleReel; // subtitle uuid -> reel
    for (int i = 0; i < reels.size(); ++i) {
        const QDomElement list = child(reels.at(i).toElement(), "AssetList");
        for (QDomElement e = list.firstChildElement(); !e.isNull(); e = e.nextSiblingElement()) {
            const QString id = clean(child(e, "Id").text());
            if (!byId.contains(id))
                continue;
            DcpAssetInfo& a = byId[id];
            a.reel = i + 1;
            if (e.tagName().contains(QLatin1String("Picture")))
                a.kind = DcpAssetInfo::Picture;
            else if (e.tagName().contains(QLatin1String("Sound")))
                a.kind = DcpAssetInfo::Sound;
            else if (e.tagName().contains(QLatin1String("Subtitle"))) {
                a.kind = DcpAssetInfo::Subtitle;
                subtitleReel.insert(id, i + 1);
            }
        }
    }
    for (const QString& id : order) {
        DcpAssetInfo a = byId.value(id);
        if (a.kind == DcpAssetInfo::Font && a.reel == 0) {
            const QString owner = a.path.section(QLatin1Char('/'), 0, 0);
            if (a.path.contains(QLatin1Char('/')) && subtitleReel.contains(owner))
                a.reel = subtitleReel.value(owner);
        }
        d.assets.append(a);
    }
    DcpAssetInfo pklInfo;
    pklInfo.kind = DcpAssetInfo::Pkl;
    pklInfo.uuid = d.pklUuid;
    pklInfo.path = d.pklFileName;
    pklInfo.size = static_cast<quint64>(d.pkl.size());
    pklInfo.type = QStringLiteral("text/xml;asdcpKind=PKL");
    d.assets.append(pklInfo);

    *out = d;
    return true;
}
