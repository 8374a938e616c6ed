#include "import/DcpFolderAudit.h"

#include "import/PackagePathRules.h"
#include "import/SafeXml.h"
#include "model/Util.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QDomDocument>
#include <QDomElement>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QXmlStreamReader>

namespace {
// Larger files are not DCP documents; they are never read into memory whole.
constexpr qint64 kDocumentLimit = 64 * 1024 * 1024;

QString localName(const QString& tag)
{
    return tag.mid(tag.indexOf(QLatin1Char(':')) + 1);
}

// With namespace processing off, prefixed element names keep their prefix.
QList<QDomElement> children(const QDomElement& parent, const QString& name)
{
    QList<QDomElement> out;
    for (QDomElement e = parent.firstChildElement(); !e.isNull(); e = e.nextSiblingElement())
        if (localName(e.tagName()) == name)
            out.append(e);
    return out;
}

QDomElement child(const QDomElement& parent, const QString& name)
{
    const QList<QDomElement> found = children(parent, name);
    return found.isEmpty() ? QDomElement() : found.first();
}

QString text(const QDomElement& parent, const QString& name)
{
    return child(parent, name).text().trimmed();
}

bool readDocument(const QString& path, QDomDocument* document, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = file.errorString();
        return false;
    }
    if (file.size() > kDocumentLimit) {
        *error = QStringLiteral("too large for a DCP document");
        return false;
    }
    return SafeXml::parse(QString::fromUtf8(file.readAll()), document, error);
}

// The root element's name, read up to that element only: subtitle documents can be large.
QString rootOf(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    QXmlStreamReader xml(&file);
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement)
            return xml.name().toString();
    }
    return QString();
}

// What a Mac leaves on every drive it touches.
bool isMacFile(const QString& name)
{
    return name.startsWith(QLatin1String("._")) || name == QLatin1String(".DS_Store") ||
           name == QLatin1String(".Trashes") || name == QLatin1String(".fseventsd") ||
           name == QLatin1String(".Spotlight-V100");
}

struct Chunk
{
    QString path;
    QString offset; // as written; empty when absent
    QString length;
};

struct MapEntry
{
    QString id;
    bool packingList = false;
    QList<Chunk> chunks;
    bool usable = false; // exactly one chunk whose path stays inside the folder
    QString path() const { return chunks.isEmpty() ? QString() : chunks.first().path; }
};

struct PklEntry
{
    QString id;
    QString hash;
    quint64 size = 0;
    QString type;
    QString name;
};

class Reader
{
public:
    explicit Reader(const QString& folder) : root(folder) {}

    void read();
    DcpFolderAudit out;

private:
    void add(const QString& text, const QStringList& assets = QStringList())
    {
        out.findings.append({text, assets});
    }
    QString single(const QStringList& top, const QString& base, const QString& kinds);
    void checkId(const QString& document, const QString& id);
    bool readAssetMap(const QString& name);
    bool readVolumeIndex(const QString& name);
    void findDocuments();
    bool readPackingList();
    void checkChunks();
    void checkComposition(const QString& path);
    bool isOnDrive(const QString& id) const;
    void checkFiles();
    void checkLeftovers(const QStringList& topDocuments);

    const QDir root;
    QList<MapEntry> entries;
    QHash<QString, int> entryById;
    QString pklPath;
    QStringList cplPaths;
    QList<PklEntry> pkl;
    QHash<QString, int> pklById;
    QSet<QString> cplIds;
    QHash<QString, int> reportedWithReel; // files of reels named as missing -> that finding
};

QString Reader::single(const QStringList& top, const QString& base, const QString& kinds)
{
    QStringList found;
    for (const QString& name : top) {
        if (name.compare(base, Qt::CaseInsensitive) == 0 ||
            name.compare(base + QStringLiteral(".xml"), Qt::CaseInsensitive) == 0)
            found.append(name);
    }
    if (found.size() > 1)
        add(QCoreApplication::translate(
                "DcpFolderAudit", "The DCP folder holds %1 %2 (%3): a cinema server reads only one of them.")
                .arg(found.size())
                .arg(kinds, found.join(QStringLiteral(", "))));
    return found.contains(base) ? base : found.value(0);
}

void Reader::checkId(const QString& document, const QString& id)
{
    if (!DcpFolderAudit::isWellFormedId(id))
        add(QCoreApplication::translate(
                "DcpFolderAudit", "%1 has a malformed identifier \"%2\": cinema servers expect urn:uuid: "
                                  "followed by a UUID.")
                .arg(document, id));
}

bool Reader::readAssetMap(const QString& name)
{
    if (name.isEmpty()) {
        add(QCoreApplication::translate("DcpFolderAudit", "ASSETMAP is missing."));
        return false;
    }
    QDomDocument document;
    QString error;
    if (!readDocument(root.filePath(name), &document, &error)) {
        add(QCoreApplication::translate("DcpFolderAudit", "%1 cannot be read: %2").arg(name, error));
        return false;
    }
    const QDomElement map = document.documentElement();
    if (localName(map.tagName()) != QLatin1String("AssetMap")) {
        add(QCoreApplication::translate("DcpFolderAudit", "%1 cannot be read: not an asset map").arg(name));
        return false;
    }
    checkId(name, text(map, QStringLiteral("Id")));
    for (const QDomElement& asset :
         children(child(map, QStringLiteral("AssetList")), QStringLiteral("Asset"))) {
        MapEntry entry;
        const QString id = text(asset, QStringLiteral("Id"));
        checkId(name, id);
        entry.id = Util::cleanUUID(id);
        entry.packingList = text(asset, QStringLiteral("PackingList")) == QLatin1String("true");
        for (const QDomElement& chunk :
             children(child(asset, QStringLiteral("ChunkList")), QStringLiteral("Chunk")))
            entry.chunks.append({text(chunk, QStringLiteral("Path")), text(chunk, QStringLiteral("Offset")),
                                 text(chunk, QStringLiteral("Length"))});
        entry.usable = entry.chunks.size() == 1 && !entry.path().isEmpty() &&
                       PackagePathRules::isRelativeInside(entry.path());
        entryById.insert(entry.id, entries.size());
        entries.append(entry);
    }
    ++out.documentsRead;
    return true;
}

bool Reader::readVolumeIndex(const QString& name)
{
    if (name.isEmpty()) {
        add(QCoreApplication::translate("DcpFolderAudit", "VOLINDEX is missing."));
        return false;
    }
    QDomDocument document;
    QString error;
    if (!readDocument(root.filePath(name), &document, &error)) {
        add(QCoreApplication::translate("DcpFolderAudit", "%1 cannot be read: %2").arg(name, error));
        return false;
    }
    if (localName(document.documentElement().tagName()) != QLatin1String("VolumeIndex")) {
        add(QCoreApplication::translate("DcpFolderAudit", "%1 cannot be read: not a volume index").arg(name));
        return false;
    }
    ++out.documentsRead;
    return true;
}

// The PKL and the compositions are found through the asset map, as an ingest finds them.
void Reader::findDocuments()
{
    for (const MapEntry& entry : entries) {
        if (!entry.usable ||
            !(entry.packingList || entry.path().endsWith(QLatin1String(".xml"), Qt::CaseInsensitive)))
            continue;
        const QString kind = rootOf(root.filePath(entry.path()));
        if (kind == QLatin1String("PackingList") && (pklPath.isEmpty() || entry.packingList))
            pklPath = entry.path();
        else if (kind == QLatin1String("CompositionPlaylist"))
            cplPaths.append(entry.path());
    }
}

bool Reader::readPackingList()
{
    if (pklPath.isEmpty()) {
        add(QCoreApplication::translate("DcpFolderAudit",
                                        "The PKL listed in the ASSETMAP is missing or cannot be read."));
        return false;
    }
    QDomDocument document;
    QString error;
    if (!readDocument(root.filePath(pklPath), &document, &error)) {
        add(QCoreApplication::translate("DcpFolderAudit", "The PKL %1 cannot be read: %2")
                .arg(pklPath, error));
        return false;
    }
    const QDomElement list = document.documentElement();
    checkId(pklPath, text(list, QStringLiteral("Id")));
    for (const QDomElement& asset :
         children(child(list, QStringLiteral("AssetList")), QStringLiteral("Asset"))) {
        PklEntry entry;
        const QString id = text(asset, QStringLiteral("Id"));
        checkId(pklPath, id);
        entry.id = Util::cleanUUID(id);
        entry.hash = text(asset, QStringLiteral("Hash"));
        entry.size = text(asset, QStringLiteral("Size")).toULongLong();
        entry.type = text(asset, QStringLiteral("Type"));
        entry.name = text(asset, QStringLiteral("OriginalFileName"));
        pklById.insert(entry.id, pkl.size());
        pkl.append(entry);
    }
    ++out.documentsRead;
    return true;
}

void Reader::checkChunks()
{
    for (const MapEntry& entry : entries) {
        if (entry.chunks.isEmpty() || entry.path().isEmpty()) {
            add(QCoreApplication::translate("DcpFolderAudit", "The ASSETMAP gives no path for %1.")
                    .arg(entry.id));
            continue;
        }
        const QString path = entry.path();
        if (entry.chunks.size() > 1)
            add(QCoreApplication::translate(
                    "DcpFolderAudit", "The ASSETMAP splits %1 into %2 chunks: cinema servers expect one.")
                    .arg(path)
                    .arg(entry.chunks.size()));
        for (const Chunk& chunk : entry.chunks) {
            if (!PackagePathRules::isRelativeInside(chunk.path))
                add(QCoreApplication::translate("DcpFolderAudit",
                                                "The ASSETMAP's path %1 leaves the DCP folder.")
                        .arg(chunk.path));
        }
        const Chunk& chunk = entry.chunks.first();
        if (!chunk.offset.isEmpty() && chunk.offset != QLatin1String("0"))
            add(QCoreApplication::translate("DcpFolderAudit",
                                            "The ASSETMAP gives %1 an offset of %2: cinema servers expect 0.")
                    .arg(path, chunk.offset));
        if (!entry.usable || chunk.length.isEmpty())
            continue;
        if (pklById.contains(entry.id)) {
            const quint64 size = pkl.at(pklById.value(entry.id)).size;
            if (chunk.length != QString::number(size))
                add(QCoreApplication::translate(
                        "DcpFolderAudit",
                        "The ASSETMAP gives %1 a length of %2 bytes, the PKL says %3 bytes.")
                        .arg(path, chunk.length)
                        .arg(size));
        } else if (path == pklPath) {
            // The PKL is not in its own list: the asset map is the only place that gives its size.
            const qint64 size = QFileInfo(root.filePath(path)).size();
            if (chunk.length != QString::number(size))
                add(QCoreApplication::translate(
                        "DcpFolderAudit", "The ASSETMAP gives %1 a length of %2 bytes; it holds %3 bytes.")
                        .arg(path, chunk.length)
                        .arg(size));
        }
    }
}

bool Reader::isOnDrive(const QString& id) const
{
    const auto at = entryById.constFind(id);
    if (at == entryById.cend())
        return false;
    const MapEntry& entry = entries.at(*at);
    return entry.usable && QFileInfo(root.filePath(entry.path())).isFile();
}

void Reader::checkComposition(const QString& path)
{
    QDomDocument document;
    QString error;
    if (!readDocument(root.filePath(path), &document, &error)) {
        add(QCoreApplication::translate("DcpFolderAudit", "The CPL %1 cannot be read: %2").arg(path, error));
        return;
    }
    const QDomElement cpl = document.documentElement();
    const QString id = text(cpl, QStringLiteral("Id"));
    checkId(path, id);
    cplIds.insert(Util::cleanUUID(id));
    if (!pklById.contains(Util::cleanUUID(id)))
        add(QCoreApplication::translate(
                "DcpFolderAudit", "The CPL %1 is not listed in the PKL: a cinema server does not ingest it.")
                .arg(path));

    const QList<QDomElement> reels = children(child(cpl, QStringLiteral("ReelList")), QStringLiteral("Reel"));
    int notCarried = 0;
    for (int i = 0; i < reels.size(); ++i) {
        checkId(path, text(reels.at(i), QStringLiteral("Id")));
        QStringList carried, missing;
        for (QDomElement asset = child(reels.at(i), QStringLiteral("AssetList")).firstChildElement();
             !asset.isNull(); asset = asset.nextSiblingElement()) {
            // Markers live inside the composition; they have no file.
            const QString assetId = text(asset, QStringLiteral("Id"));
            if (assetId.isEmpty() || localName(asset.tagName()) == QLatin1String("MainMarkers"))
                continue;
            checkId(path, assetId);
            const QString uuid = Util::cleanUUID(assetId);
            if (!pklById.contains(uuid)) {
                ++notCarried;
                continue;
            }
            carried.append(uuid);
            if (!isOnDrive(uuid))
                missing.append(uuid);
        }
        if (carried.isEmpty() || missing.size() != carried.size())
            continue; // single missing files are named one by one
        add(QCoreApplication::translate("DcpFolderAudit",
                                        "Reel %1 of %2 is not on the drive: this composition will not play.")
                .arg(i + 1)
                .arg(reels.size()),
            missing);
        for (const QString& uuid : missing)
            reportedWithReel.insert(uuid, out.findings.size() - 1);
    }
    if (notCarried > 0) {
        const QString title = text(cpl, QStringLiteral("ContentTitleText"));
        add(QCoreApplication::translate(
                "DcpFolderAudit",
                "The composition %1 plays %2 that this package does not carry: it needs its "
                "original version on the cinema server.")
                .arg(title.isEmpty() ? path : title,
                     notCarried == 1
                         ? QCoreApplication::translate("DcpFolderAudit", "1 file")
                         : QCoreApplication::translate("DcpFolderAudit", "%1 files").arg(notCarried)));
    }
}

void Reader::checkFiles()
{
    for (const PklEntry& asset : pkl) {
        const auto at = entryById.constFind(asset.id);
        if (at == entryById.cend()) {
            add(QCoreApplication::translate("DcpFolderAudit", "%1 is in the PKL but not in the ASSETMAP.")
                    .arg(asset.name.isEmpty() ? asset.id : asset.name));
            continue;
        }
        const MapEntry& entry = entries.at(*at);
        if (!entry.usable)
            continue; // said with the asset map's entry
        const QString& path = entry.path();
        if (reportedWithReel.contains(asset.id))
            continue;
        // A file in a folder named after a file of a missing reel (a subtitle's font) went with it.
        const QString folder = path.section(QLatin1Char('/'), -2, -2);
        if (!folder.isEmpty() && reportedWithReel.contains(folder)) {
            if (!isOnDrive(asset.id))
                out.findings[reportedWithReel.value(folder)].assets.append(asset.id);
            continue;
        }
        const bool document = cplIds.contains(asset.id) ||
                              asset.type.contains(QLatin1String("asdcpKind=CPL"), Qt::CaseInsensitive);
        const QStringList mends = document ? QStringList() : QStringList{asset.id};
        const QFileInfo info(root.filePath(path));
        if (!info.isFile()) {
            add(QCoreApplication::translate("DcpFolderAudit",
                                            "%1 is listed in the ASSETMAP but missing from the drive.")
                    .arg(path),
                mends);
            continue;
        }
        if (quint64(info.size()) != asset.size) {
            add(QCoreApplication::translate("DcpFolderAudit", "%1 holds %2 bytes, the PKL says %3 bytes.")
                    .arg(path)
                    .arg(info.size())
                    .arg(asset.size),
                mends);
            continue;
        }
        out.toHash.append(
            {asset.id, path, asset.size, QByteArray::fromBase64(asset.hash.toLatin1()), document});
    }
}

void Reader::checkLeftovers(const QStringList& topDocuments)
{
    QSet<QString> listed(topDocuments.cbegin(), topDocuments.cend());
    QSet<QString> listedFolders;
    for (const MapEntry& entry : entries) {
        for (const Chunk& chunk : entry.chunks) {
            const QString path = QDir::cleanPath(chunk.path);
            listed.insert(path);
            for (QString folder = QFileInfo(path).path(); folder != QLatin1String(".") && !folder.isEmpty();
                 folder = QFileInfo(folder).path())
                listedFolders.insert(folder);
        }
    }
    QStringList found;
    QDirIterator it(root.path(), QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        found.append(root.relativeFilePath(it.next()));
    found.sort();
    for (const QString& relative : found) {
        const QFileInfo info(root.filePath(relative));
        if (info.isDir() && !info.isSymLink()) {
            if (!listedFolders.contains(relative) &&
                QDir(info.filePath())
                    .isEmpty(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot))
                add(QCoreApplication::translate("DcpFolderAudit",
                                                "The folder %1 is empty and not part of the DCP: remove it.")
                        .arg(relative));
            continue;
        }
        if (listed.contains(relative))
            continue;
        const QString name = info.fileName();
        if (name.startsWith(QLatin1Char('.')) && !isMacFile(name))
            add(QCoreApplication::translate("DcpFolderAudit", "A hidden file is left: %1").arg(relative));
        else
            add(QCoreApplication::translate(
                    "DcpFolderAudit",
                    "%1 is not part of the DCP (the ASSETMAP does not list it): cinema servers "
                    "copy it or refuse the folder. Remove it.")
                    .arg(relative));
    }
}

void Reader::read()
{
    const QFileInfo folder(root.path());
    if (!folder.isDir() || !folder.isReadable() || !folder.isExecutable()) {
        out.readable = false;
        add(folder.exists()
                ? QCoreApplication::translate("DcpFolderAudit", "The DCP folder %1 cannot be read.")
                      .arg(QDir::toNativeSeparators(root.path()))
                : QCoreApplication::translate("DcpFolderAudit", "The DCP folder %1 is not on the drive.")
                      .arg(QDir::toNativeSeparators(root.path())));
        return;
    }
    const QStringList top = root.entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    const QString assetMapName =
        single(top, QStringLiteral("ASSETMAP"), QCoreApplication::translate("DcpFolderAudit", "asset maps"));
    const QString volumeIndexName = single(top, QStringLiteral("VOLINDEX"),
                                           QCoreApplication::translate("DcpFolderAudit", "volume indexes"));
    const bool haveMap = readAssetMap(assetMapName);
    readVolumeIndex(volumeIndexName);
    if (!haveMap)
        return;

    findDocuments();
    const bool havePkl = readPackingList();
    checkChunks();
    if (!havePkl)
        return;
    if (cplPaths.isEmpty())
        add(QCoreApplication::translate("DcpFolderAudit",
                                        "The CPL listed in the ASSETMAP is missing or cannot be read."));
    for (const QString& path : qAsConst(cplPaths))
        checkComposition(path);
    checkFiles();

    QStringList topDocuments;
    for (const QString& name : top) {
        const QString upper = name.toUpper();
        if (upper == QLatin1String("ASSETMAP") || upper == QLatin1String("ASSETMAP.XML") ||
            upper == QLatin1String("VOLINDEX") || upper == QLatin1String("VOLINDEX.XML"))
            topDocuments.append(name);
    }
    checkLeftovers(topDocuments);
}
} // namespace

DcpFolderAudit DcpFolderAudit::run(const QString& dcpFolder)
{
    Reader reader(dcpFolder);
    reader.read();
    return reader.out;
}

bool DcpFolderAudit::isWellFormedId(const QString& text)
{
    static const QRegularExpression urn(QStringLiteral(
        "^urn:uuid:[0-9a-fA-F]{8}-[0-9a-fA-F]{4}-[0-9a-fA-F]{4}-[0-9a-fA-F]{4}-[0-9a-fA-F]{12}$"));
    return urn.match(text).hasMatch();
}
