#include "SampleDcp.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUuid>
#include <QXmlStreamWriter>

#include <vector>

namespace {
const char kIssueDate[] = "2017-06-13T12:00:00+00:00";
const char kIssuer[] = "Reelvane sample generator";
constexpr int kBlock = 1 << 20;

QString urn(const QString& uuid)
{
    return QStringLiteral("urn:uuid:") + uuid;
}

quint64 contentSeed(const QString& uuid)
{
    const QByteArray digest = QCryptographicHash::hash(uuid.toLatin1(), QCryptographicHash::Sha1);
    quint64 seed = 0;
    for (int i = 0; i < 8; ++i)
        seed = (seed << 8) | static_cast<quint8>(digest.at(i));
    return seed ? seed : 0x9E3779B97F4A7C15ULL;
}

QByteArray buildCpl(const SampleDcp::Options& o, const DcpDescription& d)
{
    QByteArray xml;
    QXmlStreamWriter w(&xml);
    w.setAutoFormatting(true);
    w.writeStartDocument();
    w.writeStartElement(QStringLiteral("CompositionPlaylist"));
    w.writeDefaultNamespace(QStringLiteral("http://www.digicine.com/PROTO-ASDCP-CPL-20040511#"));
    if (o.stereoscopic)
        w.writeNamespace(QStringLiteral("http://www.digicine.com/schemas/437-Y/2007/Main-Stereo-Picture-CPL"),
                         QStringLiteral("msp-cpl"));
    w.writeTextElement(QStringLiteral("Id"), urn(d.cplUuid));
    w.writeTextElement(QStringLiteral("AnnotationText"), d.title);
    w.writeTextElement(QStringLiteral("IssueDate"), QLatin1String(kIssueDate));
    w.writeTextElement(QStringLiteral("Issuer"), QLatin1String(kIssuer));
    w.writeTextElement(QStringLiteral("Creator"), QLatin1String(kIssuer));
    w.writeTextElement(QStringLiteral("ContentTitleText"), d.title);
    w.writeTextElement(QStringLiteral("ContentKind"), QStringLiteral("feature"));
    w.writeStartElement(QStringLiteral("ReelList"));
    for (int r = 1; r <= o.reels; ++r) {
        w.writeStartElement(QStringLiteral("Reel"));
        w.writeTextElement(QStringLiteral("Id"),
                           urn(SampleDcp::uuidFor(o.seed, QStringLiteral("reel%1").arg(r))));
        w.writeStartElement(QStringLiteral("AssetList"));
        const struct
        {
            DcpAssetInfo::Kind kind;
            const char* element;
        } tracks[] = {{DcpAssetInfo::Picture, nullptr},
                      {DcpAssetInfo::Sound, "MainSound"},
                      {DcpAssetInfo::Subtitle, "MainSubtitle"}};
        for (const auto& track : tracks) {
            const DcpAssetInfo a = d.find(track.kind, r);
            if (a.uuid.isEmpty())
                continue;
            QString element = QLatin1String(track.element);
            if (track.kind == DcpAssetInfo::Picture)
                element = o.stereoscopic ? QStringLiteral("msp-cpl:MainStereoscopicPicture")
                                         : QStringLiteral("MainPicture");
            w.writeStartElement(element);
            w.writeTextElement(QStringLiteral("Id"), urn(a.uuid));
            w.writeTextElement(QStringLiteral("EditRate"), QStringLiteral("24 1"));
            w.writeTextElement(QStringLiteral("IntrinsicDuration"), QStringLiteral("240"));
            w.writeTextElement(QStringLiteral("EntryPoint"), QStringLiteral("0"));
            w.writeTextElement(QStringLiteral("Duration"), QStringLiteral("240"));
            w.writeEndElement();
        }
        w.writeEndElement(); // AssetList
        w.writeEndElement(); // Reel
    }
    w.writeEndElement(); // ReelList
    w.writeEndElement();
    w.writeEndDocument();
    return xml;
}

QByteArray buildPkl(const DcpDescription& d)
{
    QByteArray xml;
    QXmlStreamWriter w(&xml);
    w.setAutoFormatting(true);
    w.writeStartDocument();
    w.writeStartElement(QStringLiteral("PackingList"));
    w.writeDefaultNamespace(QStringLiteral("http://www.digicine.com/PROTO-ASDCP-PKL-20040311#"));
    w.writeTextElement(QStringLiteral("Id"), urn(d.pklUuid));
    w.writeTextElement(QStringLiteral("AnnotationText"), d.title);
    w.writeTextElement(QStringLiteral("IssueDate"), QLatin1String(kIssueDate));
    w.writeTextElement(QStringLiteral("Issuer"), QLatin1String(kIssuer));
    w.writeTextElement(QStringLiteral("Creator"), QLatin1String(kIssuer));
    w.writeStartElement(QStringLiteral("AssetList"));
    for (const DcpAssetInfo& a : d.assets) {
        if (a.kind == DcpAssetInfo::Pkl)
            continue;
        w.writeStartElement(QStringLiteral("Asset"));
        w.writeTextElement(QStringLiteral("Id"), urn(a.uuid));
        w.writeTextElement(QStringLiteral("Hash"), a.hash);
        w.writeTextElement(QStringLiteral("Size"), QString::number(a.size));
        w.writeTextElement(QStringLiteral("Type"), a.type);
        w.writeTextElement(QStringLiteral("OriginalFileName"), a.path.section(QLatin1Char('/'), -1));
        w.writeEndElement();
    }
    w.writeEndElement();
    w.writeEndElement();
    w.writeEndDocument();
    return xml;
}

QByteArray buildAssetMap(quint32 seed, const DcpDescription& d)
{
    QByteArray xml;
    QXmlStreamWriter w(&xml);
    w.setAutoFormatting(true);
    w.writeStartDocument();
    w.writeStartElement(QStringLiteral("AssetMap"));
    w.writeDefaultNamespace(QStringLiteral("http://www.digicine.com/PROTO-ASDCP-AM-20040311#"));
    w.writeTextElement(QStringLiteral("Id"), urn(SampleDcp::uuidFor(seed, QStringLiteral("assetmap"))));
    w.writeTextElement(QStringLiteral("Creator"), QLatin1String(kIssuer));
    w.writeTextElement(QStringLiteral("VolumeCount"), QStringLiteral("1"));
    w.writeTextElement(QStringLiteral("IssueDate"), QLatin1String(kIssueDate));
    w.writeTextElement(QStringLiteral("Issuer"), QLatin1String(kIssuer));
    w.writeStartElement(QStringLiteral("AssetList"));
    for (const DcpAssetInfo& a : d.assets) {
        w.writeStartElement(QStringLiteral("Asset"));
        w.writeTextElement(QStringLiteral("Id"), urn(a.uuid));
        if (a.kind == DcpAssetInfo::Pkl)
            w.writeTextElement(QStringLiteral("PackingList"), QStringLiteral("true"));
        w.writeStartElement(QStringLiteral("ChunkList"));
        w.writeStartElement(QStringLiteral("Chunk"));
        w.writeTextElement(QStringLiteral("Path"), a.path);
        w.writeTextElement(QStringLiteral("VolumeIndex"), QStringLiteral("1"));
        w.writeTextElement(QStringLiteral("Offset"), QStringLiteral("0"));
        w.writeTextElement(QStringLiteral("Length"), QString::number(a.size));
        w.writeEndElement();
        w.writeEndElement();
        w.writeEndElement();
    }
    w.writeEndElement();
    w.writeEndElement();
    w.writeEndDocument();
    return xml;
}

QByteArray buildVolIndex()
{
    return QByteArrayLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                             "<VolumeIndex xmlns=\"http://www.digicine.com/PROTO-ASDCP-AM-20040311#\">\n"
                             "  <Index>1</Index>\n"
                             "</VolumeIndex>\n");
}

QString sha1Base64(const QByteArray& data)
{
    return QString::fromLatin1(QCryptographicHash::hash(data, QCryptographicHash::Sha1).toBase64());
}

bool writeFile(const QString& path, const QByteArray& data, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(data) != data.size()) {
        if (error)
            *error = QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}
} // namespace

QString SampleDcp::uuidFor(quint32 seed, const QString& name)
{
    static const QUuid ns(QStringLiteral("{6c1b5e0e-4f0a-4a56-9d1e-2a7f3b0c9e11}"));
    return QUuid::createUuidV5(ns, QStringLiteral("%1/%2").arg(seed).arg(name))
        .toString(QUuid::WithoutBraces);
}

QString SampleDcp::streamContent(quint64 seed, quint64 size, QIODevice* device, bool* ok)
{
    // xorshift64: a few cycles per 8 bytes, far faster than the disk and SHA-1.
    quint64 state = seed ? seed : 1;
    std::vector<quint64> block(kBlock / sizeof(quint64));
    QCryptographicHash hash(QCryptographicHash::Sha1);
    quint64 left = size;
    if (ok)
        *ok = true;
    while (left > 0) {
        for (quint64& word : block) {
            state ^= state << 13;
            state ^= state >> 7;
            state ^= state << 17;
            word = state;
        }
        const qint64 n = static_cast<qint64>(qMin<quint64>(left, kBlock));
        const char* bytes = reinterpret_cast<const char*>(block.data());
        hash.addData(bytes, static_cast<int>(n));
        if (device && device->write(bytes, n) != n) {
            if (ok)
                *ok = false;
            break;
        }
        left -= static_cast<quint64>(n);
    }
    return QString::fromLatin1(hash.result().toBase64());
}

bool SampleDcp::generate(const Options& o, const QString& folder, DcpDescription* out, QString* error)
{
    DcpDescription d;
    d.title = o.title;
    d.reelCount = o.reels;
    d.cplUuid = uuidFor(o.seed, QStringLiteral("cpl"));
    d.pklUuid = uuidFor(o.seed, QStringLiteral("pkl"));
    d.cplFileName = QStringLiteral("CPL_%1.xml").arg(d.cplUuid);
    d.pklFileName = QStringLiteral("PKL_%1.xml").arg(d.pklUuid);

    for (int r = 1; r <= o.reels; ++r) {
        DcpAssetInfo picture;
        picture.kind = DcpAssetInfo::Picture;
        picture.uuid = uuidFor(o.seed, QStringLiteral("picture%1").arg(r));
        picture.path = QStringLiteral("picture_r%1.mxf").arg(r);
        picture.size = o.pictureSize;
        picture.type = QStringLiteral("application/mxf");
        picture.reel = r;
        d.assets.append(picture);

        DcpAssetInfo sound = picture;
        sound.kind = DcpAssetInfo::Sound;
        sound.uuid = uuidFor(o.seed, QStringLiteral("sound%1").arg(r));
        sound.path = QStringLiteral("sound_r%1.mxf").arg(r);
        sound.size = o.soundSize;
        d.assets.append(sound);

        if (o.subtitles) {
            DcpAssetInfo subtitle = picture;
            subtitle.kind = DcpAssetInfo::Subtitle;
            subtitle.uuid = uuidFor(o.seed, QStringLiteral("subtitle%1").arg(r));
            subtitle.path = subtitle.uuid + QStringLiteral("/subtitle_r%1.xml").arg(r);
            subtitle.size = o.subtitleSize;
            subtitle.type = QStringLiteral("text/xml");
            d.assets.append(subtitle);

            DcpAssetInfo font = subtitle;
            font.kind = DcpAssetInfo::Font;
            font.uuid = uuidFor(o.seed, QStringLiteral("font%1").arg(r));
            font.path = subtitle.uuid + QStringLiteral("/font.ttf");
            font.size = o.fontSize;
            font.type = QStringLiteral("application/ttf");
            d.assets.append(font);
        }
    }

    const bool writing = !folder.isEmpty();
    if (writing && !QDir().mkpath(folder)) {
        if (error)
            *error = QStringLiteral("cannot create %1").arg(folder);
        return false;
    }

    for (DcpAssetInfo& a : d.assets) {
        if (!o.computeHashes && !writing) {
            a.hash = sha1Base64(QByteArray());
            continue;
        }
        QFile file;
        if (writing) {
            const QString path = folder + QLatin1Char('/') + a.path;
            QDir().mkpath(QFileInfo(path).path());
            file.setFileName(path);
            if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
                if (error)
                    *error = QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
                return false;
            }
        }
        bool ok = true;
        a.hash = streamContent(contentSeed(a.uuid), a.size, writing ? &file : nullptr, &ok);
        if (!ok) {
            if (error)
                *error = QStringLiteral("cannot write %1: %2").arg(file.fileName(), file.errorString());
            return false;
        }
    }

    // The CPL is itself a PKL asset; the PKL is listed in the ASSETMAP only.
    d.cpl = buildCpl(o, d);
    DcpAssetInfo cpl;
    cpl.kind = DcpAssetInfo::Cpl;
    cpl.uuid = d.cplUuid;
    cpl.path = d.cplFileName;
    cpl.size = static_cast<quint64>(d.cpl.size());
    cpl.hash = sha1Base64(d.cpl);
    cpl.type = QStringLiteral("text/xml;asdcpKind=CPL");
    d.assets.append(cpl);

    d.pkl = buildPkl(d);
    DcpAssetInfo pkl;
    pkl.kind = DcpAssetInfo::Pkl;
    pkl.uuid = d.pklUuid;
    pkl.path = d.pklFileName;
    pkl.size = static_cast<quint64>(d.pkl.size());
    pkl.type = QStringLiteral("text/xml;asdcpKind=PKL");
    d.assets.append(pkl);

    d.assetMap = buildAssetMap(o.seed, d);
    d.volIndex = buildVolIndex();

    if (writing) {
        if (!writeFile(folder + QLatin1Char('/') + d.cplFileName, d.cpl, error) ||
            !writeFile(folder + QLatin1Char('/') + d.pklFileName, d.pkl, error) ||
            !writeFile(folder + QStringLiteral("/ASSETMAP"), d.assetMap, error) ||
            !writeFile(folder + QStringLiteral("/VOLINDEX"), d.volIndex, error))
            return false;
    }
    *out = d;
    return true;
}
