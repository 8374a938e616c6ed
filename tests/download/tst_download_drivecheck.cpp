// "Check drive" judges a DCP folder as a cinema server's ingest would: a good folder, then the
// folder broken one way at a time, each row with the exact findings the user is shown and the
// files a new download would mend; the same folder through "reelvane-downloader --check-dcp",
// with its printed lines and exit code. (The details page's flow is in
// tests/app/tst_drivecheck_screens.cpp.)
#include "SampleDcp.h"
#include "TestSandbox.h"
#include "download/DcpIngestCheck.h"
#include "download/DriveVerifier.h"
#include "model/Asset.h"
#include "model/DCP.h"
#include "model/Reel.h"
#include "notify/NotificationManager.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QtTest>

namespace {
QString text(const QString& path)
{
    return QString::fromUtf8(readFile(path));
}

// Replaces the first match in a document, "\\1" and "\\2" by the groups; false when nothing matched.
bool edit(const QString& path, const QString& pattern, QString replacement)
{
    QString document = text(path);
    const QRegularExpressionMatch match =
        QRegularExpression(pattern, QRegularExpression::DotMatchesEverythingOption).match(document);
    if (!match.hasMatch())
        return false;
    for (int group = match.lastCapturedIndex(); group > 0; --group)
        replacement.replace(QStringLiteral("\\%1").arg(group), match.captured(group));
    document.replace(match.capturedStart(), match.capturedLength(), replacement);
    return writeFile(path, document.toUtf8());
}

// "<Asset><Id>urn:uuid:<uuid></Id>...</Asset>" of one file, shortest match.
QString assetElement(const QString& uuid)
{
    return QStringLiteral("<Asset>\\s*<Id>urn:uuid:%1</Id>.*?</Asset>\\s*").arg(uuid);
}
} // namespace

class TestDownloadDriveCheck : public QObject
{
    Q_OBJECT

private slots:
    void findings_data();
    void findings();
    void commandLine_data();
    void commandLine();
    void downloadAgainForgetsBeforeEmptying();
};

namespace {
// One row of the table: the findings separated by " | ", the files a new download mends
// separated by blanks.
void row(const char* name, const QString& breakage, const QString& found, const QString& damaged = QString())
{
    QTest::newRow(name) << breakage << found.split(QStringLiteral(" | "), Qt::SkipEmptyParts)
                        << damaged.split(QLatin1Char(' '), Qt::SkipEmptyParts);
}
} // namespace

void TestDownloadDriveCheck::findings_data()
{
    QTest::addColumn<QString>("breakage");    // "<what> <file> [<value>]"; %CPL%, %PKL% and %SUB2% name those
    QTest::addColumn<QStringList>("found");   // exact texts; a "*" stands for any text
    QTest::addColumn<QStringList>("damaged"); // files a new download mends
    const QString notPart =
        QStringLiteral(" is not part of the DCP (the ASSETMAP does not list it): cinema servers "
                       "copy it or refuse the folder. Remove it.");
    row("good", "", "");
    row("reel removed", "remove-reel 2", "Reel 2 of 3 is not on the drive: this composition will not play.",
        "picture_r2.mxf sound_r2.mxf %SUB2%/subtitle_r2.xml %SUB2%/font.ttf");
    row("one file missing", "remove sound_r1.mxf",
        "sound_r1.mxf is listed in the ASSETMAP but missing from the drive.", "sound_r1.mxf");
    row("byte flipped", "flip picture_r2.mxf", "picture_r2.mxf is corrupted: its SHA-1 differs from the PKL.",
        "picture_r2.mxf");
    row("cut short", "cut sound_r1.mxf", "sound_r1.mxf holds 69999 bytes, the PKL says 70000 bytes.",
        "sound_r1.mxf");
    row("hidden file left", "add .picture_r1.mxf.part", "A hidden file is left: .picture_r1.mxf.part");
    row("a Mac's file", "add .DS_Store", ".DS_Store" + notPart);
    row("a report in a folder", "add extras/report.txt", "extras/report.txt" + notPart);
    row("empty folder", "mkdir extras", "The folder extras is empty and not part of the DCP: remove it.");
    row("CPL not in the PKL", "pkl-drop %CPL%",
        "The CPL %CPL% is not listed in the PKL: a cinema server does not ingest it.");
    row("PKL hash not the CPL's", "pkl-hash %CPL%",
        "The PKL's hash for the CPL %CPL% does not match it: a cinema server refuses the composition.");
    row("version file", "pkl-drop sound_r1.mxf",
        "The composition Check_FTR plays 1 file that this package does not carry: it needs its original "
        "version on the cinema server.");
    row("path with ..", "map-path sound_r1.mxf ../sound_r1.mxf",
        "The ASSETMAP's path ../sound_r1.mxf leaves the DCP folder. | sound_r1.mxf" + notPart);
    row("two chunks", "map-chunks picture_r1.mxf",
        "The ASSETMAP splits picture_r1.mxf into 2 chunks: cinema servers expect one.");
    row("offset not 0", "map-offset picture_r1.mxf 512",
        "The ASSETMAP gives picture_r1.mxf an offset of 512: cinema servers expect 0.");
    row("length differs", "map-length picture_r1.mxf 300001",
        "The ASSETMAP gives picture_r1.mxf a length of 300001 bytes, the PKL says 300000 bytes.");
    row("PKL's own length", "map-length %PKL% 17",
        "The ASSETMAP gives %PKL% a length of 17 bytes; it holds *");
    row("two ASSETMAPs", "copy ASSETMAP ASSETMAP.xml",
        "The DCP folder holds 2 asset maps (ASSETMAP, ASSETMAP.xml): a cinema server reads only one of "
        "them.");
    row("two VOLINDEXes", "copy VOLINDEX volindex.xml",
        "The DCP folder holds 2 volume indexes (VOLINDEX, volindex.xml): a cinema server reads only one of "
        "them.");
    row("malformed identifier", "map-id urn:uuid:1234",
        "ASSETMAP has a malformed identifier \"urn:uuid:1234\": cinema servers expect urn:uuid: followed by "
        "a "
        "UUID.");
    row("not in the ASSETMAP", "unlist sound_r1.mxf",
        "sound_r1.mxf is in the PKL but not in the ASSETMAP. | sound_r1.mxf" + notPart);
    row("ASSETMAP not XML", "garble ASSETMAP", "ASSETMAP cannot be read: *");
    row("VOLINDEX missing", "remove VOLINDEX", "VOLINDEX is missing.");
    row("PKL not XML", "garble %PKL%", "The PKL listed in the ASSETMAP is missing or cannot be read.");
    row("folder gone", "rmdir .", "The DCP folder * is not on the drive.");
}

void TestDownloadDriveCheck::findings()
{
    QFETCH(QString, breakage);
    QFETCH(QStringList, found);
    QFETCH(QStringList, damaged);
    const int exitCode = breakage.startsWith(QLatin1String("rmdir")) ? 2 : found.isEmpty() ? 0 : 1;
    // Under the build folder: the command line reads the real mount table, and a scratch folder
    // on a RAM disk would be a finding of its own.
    QVERIFY(QDir().mkpath(QStringLiteral(ORV_SCRATCH_DIR)));
    QTemporaryDir scratch(QStringLiteral(ORV_SCRATCH_DIR "/drivecheck-XXXXXX"));
    const QString folder = scratch.path() + QStringLiteral("/Check_FTR");
    SampleDcp::Options o;
    o.title = QStringLiteral("Check_FTR");
    o.reels = 3;
    o.pictureSize = 300000;
    o.soundSize = 70000;
    o.subtitles = true;
    DcpDescription d;
    QVERIFY(SampleDcp::generate(o, folder, &d));
    const auto names = [&](QString line) {
        return line.replace(QStringLiteral("%CPL%"), d.cplFileName)
            .replace(QStringLiteral("%PKL%"), d.pklFileName)
            .replace(QStringLiteral("%SUB2%"), d.find(DcpAssetInfo::Subtitle, 2).uuid);
    };
    QString uuid; // of the file the row breaks
    const QStringList args = names(breakage).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    const QString what = args.value(0), name = args.value(1), value = args.value(2);
    for (const DcpAssetInfo& a : d.assets)
        uuid = a.path == name ? a.uuid : uuid;
    const QString path = folder + QLatin1Char('/') + name;
    const QString assetMap = folder + QStringLiteral("/ASSETMAP"), pkl = folder + '/' + d.pklFileName;
    const QString chunkOf =
        QStringLiteral("(<Path>%1</Path>.*?<Offset>)0(</Offset>\\s*<Length>)\\d+").arg(name);
    if (what == QLatin1String("remove-reel")) {
        for (const DcpAssetInfo& a : d.assetsOfReels({name.toInt()}))
            QVERIFY(QFile::remove(folder + '/' + a.path));
    } else if (what == QLatin1String("flip")) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite) && file.seek(123456) && file.putChar('!'));
    } else if (what == QLatin1String("cut")) {
        QVERIFY(QFile::resize(path, QFileInfo(path).size() - 1));
    } else if (what == QLatin1String("remove") || what == QLatin1String("garble")) {
        QVERIFY(QFile::remove(path) && (what == QLatin1String("remove") || writeFile(path, "<Broken")));
    } else if (what == QLatin1String("add")) {
        QVERIFY(writeFile(path, "x"));
    } else if (what == QLatin1String("mkdir")) {
        QVERIFY(QDir().mkpath(path));
    } else if (what == QLatin1String("rmdir")) {
        QVERIFY(QDir(folder).removeRecursively());
    } else if (what == QLatin1String("copy")) {
        QVERIFY(QFile::copy(path, folder + '/' + value));
    } else if (what == QLatin1String("unlist")) {
        QVERIFY(edit(assetMap, assetElement(uuid), QString()));
    } else if (what == QLatin1String("pkl-drop") || what == QLatin1String("pkl-hash")) {
        const QString hash =
            QString::fromLatin1(QCryptographicHash::hash("other", QCryptographicHash::Sha1).toBase64());
        QVERIFY(
            what == QLatin1String("pkl-drop")
                ? edit(pkl, assetElement(uuid), QString())
                : edit(pkl, QStringLiteral("(<Id>urn:uuid:%1</Id>\\s*<Hash>)[^<]+").arg(uuid), "\\1" + hash));
        // Only the one thing broken: the asset map keeps giving the PKL's true length.
        QVERIFY(edit(assetMap, QStringLiteral("(<Path>%1</Path>.*?<Length>)\\d+").arg(d.pklFileName),
                     "\\1" + QString::number(QFileInfo(pkl).size())));
    } else if (what == QLatin1String("map-path")) {
        QVERIFY(edit(assetMap, QStringLiteral("<Path>%1</Path>").arg(name), "<Path>" + value + "</Path>"));
    } else if (what == QLatin1String("map-chunks")) {
        QVERIFY(
            edit(assetMap, QStringLiteral("(<Chunk>\\s*<Path>%1</Path>.*?</Chunk>)").arg(name), "\\1\\1"));
    } else if (what == QLatin1String("map-offset")) {
        QVERIFY(edit(assetMap, chunkOf,
                     "\\1" + value + "\\2" + QString::number(d.find(DcpAssetInfo::Picture, 1).size)));
    } else if (what == QLatin1String("map-length")) {
        QVERIFY(edit(assetMap, QStringLiteral("(<Path>%1</Path>.*?<Length>)\\d+").arg(name), "\\1" + value));
    } else if (what == QLatin1String("map-id")) {
        QVERIFY(edit(assetMap, QStringLiteral("<Id>[^<]+</Id>"), "<Id>" + name + "</Id>"));
    }

    // In process: fixtures without a mount table, so the drive under the build folder says nothing.
    QTemporaryDir noDrive;
    const DriveProbe::Roots roots{noDrive.path() + "/mountinfo", noDrive.path() + "/sys",
                                  noDrive.path() + "/dev"};
    QList<quint64> reported;
    const std::atomic<bool> cancel{false};
    const DcpIngestCheck::Result result = DcpIngestCheck::run(
        folder, cancel, [&](quint64 done, quint64) { reported.append(done); }, roots);
    const QStringList problems = result.problems();
    QCOMPARE(problems.size(), found.size());
    const auto matches = [&](const QString& line, QString expected) {
        expected = names(expected);
        const int star = expected.indexOf(QLatin1Char('*'));
        return star < 0 ? line == expected
                        : line.startsWith(expected.left(star)) && line.endsWith(expected.mid(star + 1)) &&
                              line.size() >= expected.size() - 1;
    };
    for (int i = 0; i < found.size(); ++i)
        QVERIFY2(matches(problems.at(i), found.at(i)), qPrintable(problems.at(i)));
    QStringList damagedPaths;
    for (const QString& id : result.damagedAssets())
        for (const DcpAssetInfo& a : d.assets)
            if (a.uuid == id)
                damagedPaths << a.path;
    QStringList expectedDamaged;
    for (const QString& file : damaged)
        expectedDamaged << names(file);
    QCOMPARE(damagedPaths, expectedDamaged);
    if (found.isEmpty()) // every file, the CPL among them, and the PKL, ASSETMAP and VOLINDEX
        QVERIFY(result.files == d.assets.size() + 2 && !reported.isEmpty() &&
                reported.last() == result.bytes);

    // The command line prints the same findings, then its verdict.
    QProcess program;
    program.start(QStringLiteral(ORV_PROGRAM_PATH), {QStringLiteral("--check-dcp"), folder});
    QVERIFY(program.waitForFinished(60000));
    QStringList lines = QString::fromUtf8(program.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    QCOMPARE(program.exitCode(), exitCode);
    QVERIFY(!lines.isEmpty());
    const QString verdict = lines.takeLast();
    QCOMPARE(lines.size(), found.size());
    for (int i = 0; i < found.size(); ++i)
        QVERIFY2(matches(lines.at(i), found.at(i)), qPrintable(lines.at(i)));
    QCOMPARE(verdict, found.isEmpty()     ? DcpIngestCheck::readyText(result.files, result.bytes)
                      : found.size() == 1 ? QStringLiteral("1 problem")
                                          : QStringLiteral("%1 problems").arg(found.size()));
}

// The terminal's other answers: they start no window, so they need no display.
void TestDownloadDriveCheck::commandLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("printed"); // a line of what is printed
    QTest::addColumn<int>("exitCode");
    QTest::newRow("help") << QStringList{"--help"}
                          << "  --check-dcp FOLDER check one DCP folder as a cinema server's "
                             "ingest would: the drive,"
                          << 0;
    QTest::newRow("version") << QStringList{"--version"} << "Reelvane Downloader 1.4.0" << 0;
    QTest::newRow("no folder") << QStringList{"--check-dcp"}
                               << "reelvane-downloader: --check-dcp takes one DCP folder (see --help)" << 2;
    QTest::newRow("two folders") << QStringList{"--check-dcp", "a", "b"}
                                 << "reelvane-downloader: --check-dcp takes one DCP folder (see --help)" << 2;
}

void TestDownloadDriveCheck::commandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, printed);
    QFETCH(int, exitCode);
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(ORV_PROGRAM_PATH), arguments);
    QVERIFY(program.waitForFinished(20000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), exitCode);
    const QString output =
        QString::fromUtf8(program.readAllStandardOutput() + program.readAllStandardError());
    QVERIFY2(output.split('\n').contains(printed), qPrintable(output));
}

// DOWNLOAD AGAIN empties a damaged file only once the store and the journal no longer call it
// verified: a stop in between (the store refusing the new flags, as at a power cut) leaves the
// file's bytes as they were.
void TestDownloadDriveCheck::downloadAgainForgetsBeforeEmptying()
{
    TestSandbox box;
    SampleDcp::Options o;
    o.title = QStringLiteral("Again_FTR");
    o.pictureSize = 200000;
    o.soundSize = 50000;
    DcpDescription d;
    QVERIFY(SampleDcp::generate(o, box.downloads() + QLatin1Char('/') + o.title, &d));
    DCP* dcp = box.makeDCP(d.cplUuid, d.title);
    Reel* reel = box.addReel(dcp, QStringLiteral("reel-1"), 1);
    for (const DcpAssetInfo& a : d.assetsOfReels({1}))
        TestSandbox::addAssetOfSize(reel, a.uuid, a.size, a.hash)->setOriginalFileName(a.path);
    box.store(dcp);
    for (Asset* asset : reel->getAssets())
        TestSandbox::markVerified(asset);
    NotificationManager* reports = box.notifications(3600 * 1000);
    const DcpAssetInfo& broken = d.find(DcpAssetInfo::Picture, 1);
    Asset* picture = dcp->getAsset(broken.uuid);
    QFile file(picture->getFullPath());
    QVERIFY(file.open(QIODevice::ReadWrite) && file.seek(4096) && file.putChar('!'));
    file.close();

    QList<Asset*> requeued;
    DriveVerifier verifier([&](Asset* asset) { requeued.append(asset); },
                           [&](Reel* r, NotificationType::Value event) { reports->addToQueue(r, event); });
    QSignalSpy finished(&verifier, &DriveVerifier::finished);
    verifier.start(dcp);
    QVERIFY(finished.wait(10000));
    QCOMPARE(verifier.damagedCount(dcp), 1);
    QVERIFY(TestSandbox::exec(QStringLiteral("CREATE TRIGGER power_cut BEFORE UPDATE OF download_finished ON asset "
                                             "BEGIN SELECT RAISE(ABORT, 'power cut'); END")));
    verifier.redownloadDamaged(dcp);
    QVERIFY(TestSandbox::exec(QStringLiteral("DROP TRIGGER power_cut")));
    QVERIFY(requeued.isEmpty());
    QCOMPARE(QFileInfo(picture->getFullPath()).size(), qint64(broken.size));
    QCOMPARE(TestSandbox::events(reel), QList<int>());
}

QTEST_GUILESS_MAIN(TestDownloadDriveCheck)
#include "tst_download_drivecheck.moc"
