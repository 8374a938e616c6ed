#include "DcpCheck.h"

#include "DcpFolder.h"
#include "core/FileManager.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QMap>
#include <QSet>
#include <QUrlQuery>

#include <stdexcept>

DcpCheck::Result DcpCheck::checkFolder(const QString& folder, const QList<int>& reels)
{
    // Absolute, so that the paths the folder walk finds compare with the documents' ones.
    const QString dcpFolder = QFileInfo(folder).absoluteFilePath();
    Result result;
    DcpDescription description;
    QString error;
    if (!DcpFolder::read(dcpFolder, &description, &error)) {
        result.problems << QStringLiteral("cannot read the DCP's documents: %1").arg(error);
        return result;
    }

    QList<int> chosen = reels;
    if (chosen.isEmpty())
        chosen = reelsOf(dcpFolder);

    QSet<QString> expected; // relative paths that may exist
    const QStringList documents = {QStringLiteral("ASSETMAP"), QStringLiteral("VOLINDEX"),
                                   description.cplFileName, description.pklFileName};
    for (const QString& name : documents) {
        expected.insert(name);
        if (!QFileInfo(dcpFolder + QLatin1Char('/') + name).isFile())
            result.problems << QStringLiteral("document missing: %1").arg(name);
    }

    for (const DcpAssetInfo& asset : description.assetsOfReels(chosen)) {
        expected.insert(asset.path);
        const QString path = dcpFolder + QLatin1Char('/') + asset.path;
        const QFileInfo info(path);
        if (!info.isFile()) {
            result.problems << QStringLiteral("file missing under its visible name: %1").arg(asset.path);
            continue;
        }
        if (static_cast<quint64>(info.size()) != asset.size) {
            result.problems << QStringLiteral("%1: %2 bytes, the PKL says %3")
                                   .arg(asset.path)
                                   .arg(info.size())
                                   .arg(asset.size);
            continue;
        }
        try {
            const QString digest = QString::fromLatin1(FileManager::getFileSHA1(path).toBase64());
            if (digest != asset.hash) {
                result.problems
                    << QStringLiteral("%1: SHA-1 %2, the PKL says %3").arg(asset.path, digest, asset.hash);
                continue;
            }
        } catch (const std::exception& e) {
            result.problems << QStringLiteral("%1: %2").arg(asset.path, QString::fromUtf8(e.what()));
            continue;
        }
        ++result.filesVerified;
        result.bytesVerified += asset.size;
    }

    const QDir root(dcpFolder);
    QDirIterator it(dcpFolder, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString relative = root.relativeFilePath(it.next());
        if (it.fileName().startsWith(QLatin1Char('.')))
            result.problems << QStringLiteral("hidden file left: %1").arg(relative);
        else if (!expected.contains(relative))
            result.problems << QStringLiteral("unexpected file: %1").arg(relative);
    }
    return result;
}

QList<int> DcpCheck::reelsOf(const QString& dcpFolder)
{
    DcpDescription description;
    QList<int> reels;
    if (DcpFolder::read(dcpFolder, &description))
        for (int reel = 1; reel <= description.reelCount; ++reel)
            reels << reel;
    return reels;
}

void DcpCheck::checkAcknowledged(const QStringList& journalLines, const QList<int>& reels, Result* result)
{
    // reel number -> events answered 200
    QMap<int, QSet<int>> acknowledged;
    for (const QString& line : journalLines) {
        const QStringList fields = line.split(QLatin1Char(' '));
        if (fields.size() < 7 || fields.at(2) != QLatin1String("/notification/dcp") ||
            fields.at(5) != QLatin1String("200"))
            continue;
        const QUrlQuery query(fields.at(3));
        acknowledged[query.queryItemValue(QStringLiteral("reel_number")).toInt()].insert(
            query.queryItemValue(QStringLiteral("event")).toInt());
    }
    for (int reel : reels) {
        QStringList missing;
        // The 25/50/75 % milestones depend on when progress was sampled and a failed
        // checksum on the delivery, so only these four are certain for a verified reel.
        for (int event : {1, 2, 6, 8}) {
            if (!acknowledged.value(reel).contains(event))
                missing << QString::number(event);
        }
        if (missing.isEmpty())
            ++result->reelsAcknowledged;
        else
            result->problems << QStringLiteral("reel %1: events %2 not acknowledged")
                                    .arg(reel)
                                    .arg(missing.join(QLatin1Char(',')));
    }
}
