#include "PackageWriter.h"

#include "import/Crypto.h"

#include <QFile>
#include <QJsonDocument>
#include <QRandomGenerator>
#include <QUrl>

namespace {
QString base64(const QByteArray& bytes)
{
    return QString::fromLatin1(bytes.toBase64());
}
} // namespace

QJsonObject PackageWriter::entry(const DcpDescription& dcp, const EntryOptions& options)
{
    QString base = options.assetBaseUrl;
    if (!base.endsWith(QLatin1Char('/')))
        base += QLatin1Char('/');

    QJsonArray links;
    for (const DcpAssetInfo& a : dcp.assets) {
        if (a.kind == DcpAssetInfo::Pkl || a.kind == DcpAssetInfo::Cpl)
            continue;
        const QString encoded = QString::fromLatin1(QUrl::toPercentEncoding(a.path, QByteArrayLiteral("/")));
        links.append(QJsonArray{a.uuid, QString(base + encoded)});
    }
    QJsonArray reels;
    for (int r : options.reels)
        reels.append(r);

    QJsonObject o;
    o.insert(QStringLiteral("dcp_uuid"), dcp.cplUuid);
    o.insert(QStringLiteral("campaign_dcp_id"), options.campaignDcpId);
    o.insert(QStringLiteral("friendly_title"),
             options.friendlyTitle.isEmpty() ? dcp.title : options.friendlyTitle);
    o.insert(QStringLiteral("cpl_xml"), base64(dcp.cpl));
    o.insert(QStringLiteral("cpl_xml_name"), dcp.cplFileName);
    o.insert(QStringLiteral("pkl_xml"), base64(dcp.pkl));
    o.insert(QStringLiteral("pkl_xml_name"), dcp.pklFileName);
    o.insert(QStringLiteral("asset_map_xml"), base64(dcp.assetMap));
    o.insert(QStringLiteral("volindex_xml"), base64(dcp.volIndex));
    o.insert(QStringLiteral("dcp_image_url"), options.imageUrl);
    o.insert(QStringLiteral("reels"), reels);
    o.insert(QStringLiteral("assets"), links);
    return o;
}

QJsonObject PackageWriter::document(const QString& userUuid, const QJsonArray& dcps, qint64 projectSize,
                                    int version)
{
    QJsonObject o;
    o.insert(QStringLiteral("version"), version);
    o.insert(QStringLiteral("user_uuid"), userUuid);
    o.insert(QStringLiteral("project_size"), static_cast<double>(projectSize));
    o.insert(QStringLiteral("dcps"), dcps);
    return o;
}

QByteArray PackageWriter::encrypt(const QByteArray& key, const QByteArray& plaintext,
                                  const QByteArray& prefix)
{
    QByteArray iv = prefix.left(Crypto::BlockLength);
    if (iv.size() < Crypto::BlockLength) {
        iv.resize(Crypto::BlockLength);
        QRandomGenerator::system()->generate(reinterpret_cast<quint32*>(iv.data()),
                                             reinterpret_cast<quint32*>(iv.data() + iv.size()));
    }
    const QByteArray cipher = Crypto::encryptAES(key, iv, plaintext);
    if (cipher.isEmpty() && !plaintext.isEmpty())
        return QByteArray();
    return iv + cipher;
}

bool PackageWriter::writeBytes(const QString& path, const QByteArray& bytes, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size()) {
        if (error)
            *error = QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

bool PackageWriter::write(const QString& path, const QByteArray& key, const QJsonObject& document,
                          const QByteArray& prefix, QString* error)
{
    const QByteArray bytes = encrypt(key, QJsonDocument(document).toJson(QJsonDocument::Compact), prefix);
    if (bytes.isEmpty()) {
        if (error)
            *error = QStringLiteral("the key must have at least 32 bytes");
        return false;
    }
    return writeBytes(path, bytes, error);
}
