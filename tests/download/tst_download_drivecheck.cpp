// "Check drive": a good DCP folder read back from the drive, then broken one way at a time;
// each row names the exact problem the user is shown. Then the details page's flow: ready
// result, a corrupted file sent back to the queue under its hidden name.
#include "SampleDcp.h"
#include "TestSandbox.h"
#include "download/DcpIngestCheck.h"
#include "download/DriveVerifier.h"
#include "model/Asset.h"
#include "model/DCP.h"
#include "model/Reel.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QtTest>

namespace {
SampleDcp::Options sample()
{
    SampleDcp::Options o;
    o.title = QStringLiteral("Check_FTR");
    o.reels = 2;
    o.pictureSize = 300000;
    o.soundSize = 70000;
    o.subtitles = true;
    o.seed = 11;
    return o;
}

QSet<QString> uuidsOf(const DcpDescription& d)
{
    QSet<QString> out;
    for (const DcpAssetInfo& a : d.assets)
        out.insert(a.uuid);
    return out;
}

void flipByte(const QString& path, qint64 at)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite) && file.seek(at));
    char c = 0;
    file.getChar(&c);
    file.seek(at);
    file.putChar(char(c ^ 0x20));
}
} // namespace

class TestDownloadDriveCheck : public QObject
{
    Q_OBJECT

private slots:
    void problems_data();
    void problems();
    void detailsPageFlow();
};

void TestDownloadDriveCheck::problems_data()
{
    QTest::addColumn<QString>("breakage");
    QTest::addColumn<QString>("problem"); // exact text; a trailing "*" matches a prefix
    QTest::addColumn<int>("corrupted");   // files offered for a new download
    QTest::addColumn<int>("count");       // problems found
    QTest::newRow("good") << ""
                          << "" << 0 << 0;
    QTest::newRow("picture byte flipped") << "flip picture"
                                          << "picture_r2.mxf is corrupted: its SHA-1 differs "
                                             "from the PKL."
                                          << 1 << 1;
    QTest::newRow("sound cut short") << "cut sound"
                                     << "sound_r1.mxf holds 69999 bytes, the PKL says 70000 bytes." << 1 << 1;
    QTest::newRow("sound missing") << "remove sound"
                                   << "sound_r1.mxf is listed in the ASSETMAP but missing from the drive."
                                   << 0 << 1;
    QTest::newRow("hidden file left") << "hide"
                                      << "A hidden file is left: .picture_r1.mxf.part" << 0 << 1;
    QTest::newRow("ASSETMAP not XML") << "garble ASSETMAP"
                                      << "ASSETMAP cannot be read: *" << 0 << 1;
    QTest::newRow("VOLINDEX missing") << "remove VOLINDEX"
                                      << "VOLINDEX is missing." << 0 << 1;
    QTest::newRow("PKL not XML") << "garble PKL"
                                 << "The PKL listed in the ASSETMAP is missing or cannot be read." << 0 << 1;
    QTest::newRow("CPL not XML") << "garble CPL"
                                 << "The CPL listed in the ASSETMAP is missing or cannot be read." << 1
                                 << 2; // and it is not the PKL's size
    QTest::newRow("sound not in the ASSETMAP") << "unlist sound"
                                               << "sound_r1.mxf is in the PKL but not in the "
                                                  "ASSETMAP."
                                               << 0 << 1;
}

void TestDownloadDriveCheck::problems()
{
    QFETCH(QString, breakage);
    QFETCH(QString, problem);
    QFETCH(int, corrupted);
    QFETCH(int, count);
    QTemporaryDir dir;
    const QString folder = dir.path() + QStringLiteral("/Check_FTR");
    DcpDescription d;
    QVERIFY(SampleDcp::generate(sample(), folder, &d));
    const auto at = [&](const QString& name) -> QString {
        return folder + QLatin1Char('/') + name;
    };
    const DcpAssetInfo sound = d.find(DcpAssetInfo::Sound, 1);

    if (breakage == QLatin1String("flip picture"))
        flipByte(at(d.find(DcpAssetInfo::Picture, 2).path), 123456);
    else if (breakage == QLatin1String("cut sound"))
        QVERIFY(QFile::resize(at(sound.path), qint64(sound.size) - 1));
    else if (breakage == QLatin1String("remove sound"))
        QVERIFY(QFile::remove(at(sound.path)));
    else if (breakage == QLatin1String("hide"))
        QVERIFY(writeFile(at(QStringLiteral(".picture_r1.mxf.part")), "x"));
    else if (breakage.startsWith(QLatin1String("garble ")) || breakage == QLatin1String("remove VOLINDEX")) {
        const QString what = breakage.section(QLatin1Char(' '), 1);
        const QString name = what == QLatin1String("PKL")   ? d.pklFileName
                             : what == QLatin1String("CPL") ? d.cplFileName
                                                            : what;
        QVERIFY(QFile::remove(at(name)));
        if (breakage.startsWith(QLatin1String("garble ")))
            QVERIFY(writeFile(at(name), "<Broken"));
    } else if (breakage == QLatin1String("unlist sound")) {
        QByteArray map = readFile(at(QStringLiteral("ASSETMAP")));
        const QRegularExpression entry(
            QStringLiteral("<Asset>\\s*<Id>urn:uuid:%1</Id>.*?</Asset>").arg(sound.uuid),
            QRegularExpression::DotMatchesEverythingOption);
        const QString text = QString::fromUtf8(map).remove(entry);
        QVERIFY(text.size() < map.size());
        QVERIFY(writeFile(at(QStringLiteral("ASSETMAP")), text.toUtf8()));
    }

    const std::atomic<bool> cancel{false};
    QList<quint64> reported;
    const DcpIngestCheck::Result result = DcpIngestCheck::run(
        folder, uuidsOf(d), cancel, [&](quint64 done, quint64) { reported.append(done); });
    QVERIFY(!result.cancelled);
    if (problem.isEmpty()) {
        QCOMPARE(result.problems, QStringList());
        QCOMPARE(result.files, d.assets.size() + 2); // the PKL is not in its own list; ASSETMAP, VOLINDEX
        QVERIFY(!reported.isEmpty());
        return;
    }
    QCOMPARE(result.problems.size(), count);
    if (problem.endsWith(QLatin1Char('*')))
        QVERIFY2(result.problems.first().startsWith(problem.chopped(1)), qPrintable(result.problems.first()));
    else
        QCOMPARE(result.problems.first(), problem);
    QCOMPARE(result.corruptedAssets.size(), corrupted);
}

void TestDownloadDriveCheck::detailsPageFlow()
{
    TestSandbox box;
    DcpDescription d;
    QVERIFY(SampleDcp::generate(sample(), box.downloads() + QStringLiteral("/Check_FTR"), &d));
    DCP* dcp = box.makeDCP(d.cplUuid, d.title);
    Reel* reel = box.addReel(dcp, QStringLiteral("reel-1"), 1);
    for (const DcpAssetInfo& a : d.assets) {
        if (a.reel == 0)
            continue;
        Asset* asset = TestSandbox::addAssetOfSize(reel, a.uuid, a.size, a.hash);
        asset->setOriginalFileName(a.path.section(QLatin1Char('/'), -1));
        if (a.path.contains(QLatin1Char('/')))
            asset->setDirectoryPath(a.path.section(QLatin1Char('/'), 0, -2));
        asset->setDownloadFinished(true);
        asset->setDownloadChecksummed(true);
    }
    TestSandbox::store(dcp);

    QList<Asset*> requeued;
    DriveVerifier verifier([&](Asset* asset) { requeued.append(asset); });
    QSignalSpy finished(&verifier, &DriveVerifier::finished);
    verifier.start(dcp);
    QVERIFY(verifier.isRunning());
    QVERIFY(finished.wait(20000));
    QVERIFY2(QRegularExpression(
                 QStringLiteral("^Ready for the cinema: 12 files, 0\\.001 GB checked at \\d\\d:\\d\\d$"))
                 .match(verifier.getResult())
                 .hasMatch(),
             qPrintable(verifier.getResult()));
    QCOMPARE(verifier.getProgress(), 1.0);

    Asset* picture = dcp->getAsset(d.find(DcpAssetInfo::Picture, 1).uuid);
    const QString visible = picture->getFullPath();
    flipByte(visible, 1000);
    verifier.start(dcp);
    QVERIFY(finished.wait(20000));
    QCOMPARE(verifier.getResult(), QStringLiteral("1 problem found on the drive:"));
    QCOMPARE(verifier.getProblems(),
             QStringList{"picture_r1.mxf is corrupted: its SHA-1 differs from the PKL."});
    QCOMPARE(verifier.corruptedCount(), 1);

    verifier.redownloadCorrupted();
    QCOMPARE(requeued, QList<Asset*>{picture});
    QCOMPARE(picture->getOriginalFileName(), QStringLiteral(".picture_r1.mxf"));
    QVERIFY(!QFile::exists(visible));
    QCOMPARE(QFileInfo(picture->getFullPath()).size(), 0);
    QVERIFY(!picture->getDownloadFinished() && !picture->getDownloadChecksummed());
    QCOMPARE(picture->getDownloadAttempts(), 1u);
    QCOMPARE(verifier.corruptedCount(), 0);
}

QTEST_GUILESS_MAIN(TestDownloadDriveCheck)
#include "tst_download_drivecheck.moc"
