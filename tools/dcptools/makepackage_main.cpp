// orv-makepackage: encrypts one or more DCP folders' XML into a ".orvdcp" package.
#include "DcpFolder.h"
#include "PackageWriter.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QJsonDocument>
#include <QTextStream>
#include <QUrl>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("orv-makepackage"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Builds a \".orvdcp\" package from DCP folders (for example those of orv-makedcp): the folders'\n"
        "ASSETMAP, PKL, CPL and VOLINDEX, the chosen reels and a download link per file (asset base\n"
        "address + the file's path in the DCP folder), encrypted with AES-256 CFB-8 under the key\n"
        "behind a 16-byte prefix. The key is the decoding key text (at least 32 bytes of UTF-8)."));
    parser.addHelpOption();
    const QCommandLineOption dcp(QStringLiteral("dcp"),
                                 QStringLiteral("DCP folder; repeat for several DCPs."),
                                 QStringLiteral("folder"));
    const QCommandLineOption output(QStringLiteral("output"), QStringLiteral("Package file to write."),
                                    QStringLiteral("file"));
    const QCommandLineOption key(QStringLiteral("key"), QStringLiteral("Decoding key text."),
                                 QStringLiteral("key"));
    const QCommandLineOption user(QStringLiteral("user-uuid"),
                                  QStringLiteral("Portal user UUID (36 characters)."),
                                  QStringLiteral("uuid"));
    const QCommandLineOption campaign(
        QStringLiteral("campaign-id"),
        QStringLiteral("Campaign DCP id of the first DCP; the next ones count up "
                       "(default 1)."),
        QStringLiteral("n"), QStringLiteral("1"));
    const QCommandLineOption reels(
        QStringLiteral("reels"), QStringLiteral("Chosen reels, 1-based and comma-separated (default: all)."),
        QStringLiteral("list"));
    const QCommandLineOption baseUrl(QStringLiteral("base-url"),
                                     QStringLiteral("Asset base address; the DCP folder name is appended "
                                                    "(default http://127.0.0.1:8080/)."),
                                     QStringLiteral("url"), QStringLiteral("http://127.0.0.1:8080/"));
    const QCommandLineOption version(QStringLiteral("version"),
                                     QStringLiteral("Package format version (default 20170613)."),
                                     QStringLiteral("n"), QString::number(PackageWriter::CurrentVersion));
    const QCommandLineOption friendly(QStringLiteral("friendly-title"),
                                      QStringLiteral("Title shown to the user (default: the CPL title)."),
                                      QStringLiteral("text"));
    const QCommandLineOption image(QStringLiteral("image-url"), QStringLiteral("Poster image address."),
                                   QStringLiteral("url"), QStringLiteral("http://127.0.0.1:8080/poster.jpg"));
    const QCommandLineOption projectSize(
        QStringLiteral("project-size"),
        QStringLiteral("Bytes needed on disk (default: the chosen reels' files)."), QStringLiteral("bytes"));
    const QCommandLineOption prefix(QStringLiteral("prefix"),
                                    QStringLiteral("The 16 prefix bytes as 32 hex digits (default: random)."),
                                    QStringLiteral("hex"));
    const QCommandLineOption json(QStringLiteral("print-json"),
                                  QStringLiteral("Also print the JSON document."));
    parser.addOptions({dcp, output, key, user, campaign, reels, baseUrl, version, friendly, image,
                       projectSize, prefix, json});
    parser.process(app);

    QTextStream err(stderr);
    QTextStream out(stdout);
    if (parser.values(dcp).isEmpty() || !parser.isSet(output) || !parser.isSet(key) || !parser.isSet(user)) {
        err << "orv-makepackage: --dcp, --output, --key and --user-uuid are required (see --help)\n";
        return 2;
    }

    bool ok = true;
    const int firstCampaign = parser.value(campaign).toInt(&ok);
    const int formatVersion = ok ? parser.value(version).toInt(&ok) : 0;
    QList<int> chosen;
    if (ok && parser.isSet(reels)) {
        for (const QString& part : parser.value(reels).split(QLatin1Char(','), Qt::SkipEmptyParts)) {
            chosen.append(part.trimmed().toInt(&ok));
            if (!ok)
                break;
        }
    }
    const QByteArray prefixBytes = QByteArray::fromHex(parser.value(prefix).toLatin1());
    if (!ok || (parser.isSet(prefix) && prefixBytes.size() != 16)) {
        err << "orv-makepackage: invalid number, reel list or prefix (see --help)\n";
        return 2;
    }

    QJsonArray entries;
    quint64 total = 0;
    int index = 0;
    for (const QString& folder : parser.values(dcp)) {
        DcpDescription description;
        QString error;
        if (!DcpFolder::read(folder, &description, &error)) {
            err << "orv-makepackage: " << error << "\n";
            return 1;
        }
        PackageWriter::EntryOptions options;
        options.reels = chosen;
        if (options.reels.isEmpty()) {
            for (int r = 1; r <= description.reelCount; ++r)
                options.reels.append(r);
        }
        QString base = parser.value(baseUrl);
        if (!base.endsWith(QLatin1Char('/')))
            base += QLatin1Char('/');
        options.assetBaseUrl =
            base + QString::fromLatin1(QUrl::toPercentEncoding(description.title)) + QLatin1Char('/');
        options.campaignDcpId = firstCampaign + index++;
        options.friendlyTitle = parser.value(friendly);
        options.imageUrl = parser.value(image);
        entries.append(PackageWriter::entry(description, options));
        total += description.sizeOfReels(options.reels);
    }

    qint64 size = static_cast<qint64>(total);
    if (parser.isSet(projectSize))
        size = parser.value(projectSize).toLongLong();
    const QJsonObject document = PackageWriter::document(parser.value(user), entries, size, formatVersion);
    QString error;
    if (!PackageWriter::write(parser.value(output), parser.value(key).toUtf8(), document, prefixBytes,
                              &error)) {
        err << "orv-makepackage: " << error << "\n";
        return 1;
    }
    if (parser.isSet(json))
        out << QJsonDocument(document).toJson(QJsonDocument::Indented);
    out << "Package: " << parser.value(output) << " (" << entries.size() << " DCP(s), project size " << size
        << " bytes)\n";
    return 0;
}
