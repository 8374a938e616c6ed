// Importing packages end to end: folder choice, free space, the DCP folder and its XML
// files, store rows, catalogue entries, merges, conflicts and refused entries.
#include "LogCapture.h"
#include "SampleDcp.h"
#include "ScriptedPrompts.h"
#include "TestPackages.h"
#include "TestSandbox.h"
#include "core/MediumSync.h"
#include "import/VolumeInfo.h"
#include "model/Asset.h"
#include "model/DCP.h"
#include "model/DCPManager.h"
#include "model/Reel.h"

#include <QDir>
#include <QJsonArray>
#include <QProcess>
#include <QSet>
#include <QStandardPaths>
#include <QtTest>

#include <csignal>
#include <stdexcept>
#include <sys/resource.h>

namespace {
const QString kRedownload = QStringLiteral("Would you like to redownload the file now?");
const QString kMainData = QStringLiteral("Main data in the ORVDCP missing. File might be damaged. Please "
                                         "redownload the file from OSKAN.");
const QString kNoReels =
    QStringLiteral("No reels detected in ORVDCP file. Select at least one reel to download. "
                   "Please redownload the file from OSKAN.");
const QString kFatText = QStringLiteral("The selected drive cannot hold this DCP");
const QString kFatInfo = QStringLiteral(
    "The drive uses the FAT32 file system, which cannot store files of 4 GB or more, and this "
    "DCP contains such files.\r\n\r\nPlease choose a drive formatted as ext2, ext3, exFAT or NTFS.");
const QString kUnparsed =
    QStringLiteral("[DCPXMLReader] One of the XML assets could not be parsed, aborting...");
const quint64 k4GiB = Q_UINT64_C(4294967296);

void replaceIn(QByteArray& xml, const QString& from, const QString& to)
{
    QVERIFY2(xml.contains(from.toUtf8()), qPrintable(from));
    xml.replace(from.toUtf8(), to.toUtf8());
}

// Gives the PKL asset with this file name another Size text.
void setPklSize(DcpDescription& d, const QString& fileName, quint64 size)
{
    const int name = d.pkl.indexOf(QStringLiteral("<OriginalFileName>%1<").arg(fileName).toUtf8());
    const int start = d.pkl.lastIndexOf("<Size>", name);
    const int end = d.pkl.indexOf("</Size>", start);
    QVERIFY(name > 0 && start > 0 && end > start);
    d.pkl.replace(start, end - start, "<Size>" + QByteArray::number(size));
}

QList<unsigned> reelNumbers(const DCP* dcp)
{
    QList<unsigned> out;
    for (const Reel* r : dcp->getReels())
        out.append(r->getReelNumber());
    return out;
}

// A sandbox with plenty of room on an ext4 drive unless a test says otherwise (the real
// drive's free space moves).
struct ImportSandbox : TestSandbox
{
    ImportSandbox()
    {
        volumes().setAvailableBytesOverride([](const QString&) { return Q_INT64_C(1) << 50; });
        volumes().setFileSystemTypeOverride([](const QString&) { return QByteArray("ext4"); });
    }
};

DCP* catalogued(const DcpDescription& d)
{
    return DCPManager::getInstance()->getDCP(d.cplUuid);
}

// Every reel and asset that a catalogued object points at is itself catalogued, so the
// engine never follows a pointer into an object the import let go. Pointers are only compared.
bool catalogueIsClosed()
{
    QSet<const Reel*> reels;
    QSet<const Asset*> assets;
    for (const DCP* dcp : DCPManager::getInstance()->getAllDCPs()) {
        for (const Reel* reel : dcp->getReels())
            reels.insert(reel);
        for (const Asset* asset : dcp->getAssets())
            assets.insert(asset);
    }
    for (const Reel* reel : reels) {
        for (const Asset* asset : reel->getAssets()) {
            if (!assets.contains(asset))
                return false;
        }
    }
    for (const Asset* asset : assets) {
        for (const Reel* reel : asset->getReels()) {
            if (!reels.contains(reel))
                return false;
        }
    }
    return true;
}

// Makes the link rows of one asset fail, as a full disk or a damaged store would, once the
// assets stored before it have registered in the catalogue. An empty uuid lifts it.
void failLinkInserts(const QString& assetUuid)
{
    QVERIFY(TestSandbox::exec(
        assetUuid.isEmpty() ? QStringLiteral("DROP TRIGGER orv_test_fail")
                            : QStringLiteral("CREATE TRIGGER orv_test_fail BEFORE INSERT ON dcp_reel_asset "
                                             "WHEN NEW.asset_uuid = '%1' BEGIN "
                                             "SELECT RAISE(ABORT, 'refused by test'); END;")
                                  .arg(assetUuid)));
}
} // namespace

class TestImportFlow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void importsNewDcp();
    void reelSelection_data();
    void reelSelection();
    void folderAndSpace_data();
    void folderAndSpace();

    void refusedEntries_data();
    void refusedEntries();
    void laterEntryEndsPackage_data();
    void laterEntryEndsPackage();

    void mergeAddsOnlyNewReels();
    void mergeSharesCataloguedFiles_data();
    void mergeSharesCataloguedFiles();
    void conflictingFiles_data();
    void conflictingFiles();
    void partialXmlFileIsNotLeftBehind();

    void fatDrive_data();
    void fatDrive();
    void fatDriveOnRealVfatImage();

    void failedWriteLeavesNoTrace_data();
    void failedWriteLeavesNoTrace();

private:
    // Imports one package, choosing folder (the sandbox's download folder by default)
    // in the folder dialog; the boxes after it take the given answers, then their defaults.
    void importPackage(TestSandbox& sandbox, ScriptedPrompts& prompts, const QJsonObject& document,
                       const QList<Prompt::StandardButton>& answers = {}, QString folder = QString());
    // Imports reel 1 of d into the download folder, every box at its default.
    void importReel1(TestSandbox& sandbox, const DcpDescription& d);
};

void TestImportFlow::initTestCase()
{
    qputenv("ORV_PORTAL_URL", "https://portal.test/");
    QStandardPaths::setTestModeEnabled(true);
}

void TestImportFlow::importPackage(TestSandbox& sandbox, ScriptedPrompts& prompts,
                                   const QJsonObject& document, const QList<Prompt::StandardButton>& answers,
                                   QString folder)
{
    prompts.answerPath(folder.isEmpty() ? sandbox.downloads() : folder);
    for (Prompt::StandardButton b : answers)
        prompts.answer(b);
    sandbox.import(sandbox.writePackage(document));
}

void TestImportFlow::importReel1(TestSandbox& sandbox, const DcpDescription& d)
{
    ScriptedPrompts prompts;
    importPackage(sandbox, prompts, packageDocument({packageEntry(d, {1})}));
}

// A non-ASCII title, subtitles with their fonts, and a VOLINDEX already in the folder.
void TestImportFlow::importsNewDcp()
{
    ImportSandbox sandbox;
    SampleDcp::Options o = sampleOptions(1, 2, QStringLiteral("Film Ü – 日本語 «1»"));
    o.subtitles = true;
    const DcpDescription d = sampleDcp(o);
    QVERIFY(d.cpl.contains("Film \xc3\x9c"));
    const QString folder = sandbox.downloads() + QLatin1Char('/') + d.title;
    QVERIFY(writeFile(folder + QStringLiteral("/VOLINDEX"), "kept as it was"));

    // The three new documents reach the drive, then the DCP folder and the folder holding it.
    QStringList flushes;
    MediumSync::setObserver([&](const QString& kind, const QString& path) {
        flushes.append(kind + QLatin1Char(' ') + QFileInfo(path).fileName());
    });
    ScriptedPrompts prompts;
    importPackage(sandbox, prompts, packageDocument({packageEntry(d, {1, 2}, 42)}));
    MediumSync::setObserver(nullptr);
    QCOMPARE(flushes, (QStringList{"file " + d.cplFileName, "file " + d.pklFileName, "file ASSETMAP",
                                   "folder " + d.title, "folder downloads"}));

    QCOMPARE(prompts.count(), 1);
    const PromptRequest dialog = prompts.asked().first();
    QCOMPARE(dialog.kind, PromptRequest::Directory);
    QCOMPARE(dialog.title, QStringLiteral("Select download location for your DCP: Friendly ") + d.title);
    QCOMPARE(dialog.acceptLabel, QStringLiteral("Select directory for DCP"));
    QCOMPARE(dialog.directory, UserPrompt::startFolder());

    // Byte for byte as they came; a file already there is never rewritten.
    QCOMPARE(readFile(folder + QLatin1Char('/') + d.cplFileName), d.cpl);
    QCOMPARE(readFile(folder + QLatin1Char('/') + d.pklFileName), d.pkl);
    QCOMPARE(readFile(folder + QStringLiteral("/ASSETMAP")), d.assetMap);
    QCOMPARE(readFile(folder + QStringLiteral("/VOLINDEX")), QByteArray("kept as it was"));
    QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden).size(), 4);

    DCP* dcp = catalogued(d);
    QVERIFY(dcp);
    QCOMPARE(dcp->getTitle(), d.title);
    QCOMPARE(dcp->getFriendlyTitle(), QStringLiteral("Friendly ") + d.title);
    QCOMPARE(dcp->getDownloadPath(), sandbox.downloads());
    QCOMPARE(dcp->getUserUUID(), testUser());
    QCOMPARE(dcp->getCampaignDCPId(), 42ULL);
    QCOMPARE(dcp->getImageUrl(), QStringLiteral("http://127.0.0.1:9/poster.jpg"));
    QCOMPARE(reelNumbers(dcp), (QList<unsigned>{1, 2}));
    QCOMPARE(dcp->getAssets().size(), 8); // picture, sound, subtitle, font per reel

    const DcpAssetInfo picture = d.find(DcpAssetInfo::Picture, 1);
    Asset* a = dcp->getAsset(picture.uuid);
    QVERIFY(a);
    QCOMPARE(a->getOriginalFileName(), QStringLiteral(".picture_r1.mxf"));
    QCOMPARE(a->getDownloadUrl(), QStringLiteral("http://127.0.0.1:9/assets/picture_r1.mxf"));
    QCOMPARE(a->getHash(), picture.hash);
    QCOMPARE(a->getSize(), picture.size);
    QCOMPARE(a->getDirectoryPath(), QString());

    // The font follows its subtitle: same folder, same reel, downloaded with it.
    for (int r = 1; r <= 2; ++r) {
        const DcpAssetInfo subtitle = d.find(DcpAssetInfo::Subtitle, r);
        Asset* font = dcp->getAsset(d.find(DcpAssetInfo::Font, r).uuid);
        QVERIFY(font);
        QCOMPARE(font->getDirectoryPath(), subtitle.uuid);
        QCOMPARE(dcp->getAsset(subtitle.uuid)->getDirectoryPath(), subtitle.uuid);
        Reel* reel = dcp->getReels().at(r - 1);
        QVERIFY(reel->getAssets().contains(font));
        QCOMPARE(font->getReels(), QList<Reel*>{reel});
        QCOMPARE(font->getFullPath(),
                 folder + QLatin1Char('/') + subtitle.uuid + QStringLiteral("/.font.ttf"));
    }

    QCOMPARE(TestSandbox::rowCount(QStringLiteral("dcp")), 1);
    QCOMPARE(TestSandbox::rowCount(QStringLiteral("reel")), 2);
    QCOMPARE(TestSandbox::rowCount(QStringLiteral("asset")), 8);
    QCOMPARE(TestSandbox::rowCount(QStringLiteral("dcp_reel_asset")), 8);
    QCOMPARE(sandbox.engineNotifications, 1);

    // The next package's folder dialog opens where this DCP went.
    const DcpDescription next = sampleDcp(sampleOptions(2, 1, QStringLiteral("Next_FTR")));
    importPackage(sandbox, prompts, packageDocument({packageEntry(next, {1})}));
    QCOMPARE(prompts.last().title, QStringLiteral("Select download location for your DCP: Friendly Next_FTR"));
    QCOMPARE(prompts.last().directory, sandbox.downloads());
}

void TestImportFlow::reelSelection_data()
{
    QTest::addColumn<QList<int>>("selected");
    QTest::addColumn<QList<int>>("made");
    QTest::newRow("1 and 3 of 3") << QList<int>{1, 3} << QList<int>{1, 3};
    QTest::newRow("2 and 3 of 3") << QList<int>{3, 2} << QList<int>{2, 3};
    QTest::newRow("beyond the last reel") << QList<int>{1, 7} << QList<int>{1};
}

// Reel numbers are CPL positions; only the chosen reels' files (fonts included) come along.
void TestImportFlow::reelSelection()
{
    QFETCH(QList<int>, selected);
    QFETCH(QList<int>, made);
    ImportSandbox sandbox;
    SampleDcp::Options o = sampleOptions(2, 3);
    o.subtitles = true;
    const DcpDescription d = sampleDcp(o);

    ScriptedPrompts prompts;
    importPackage(sandbox, prompts, packageDocument({packageEntry(d, selected)}));
    DCP* dcp = catalogued(d);
    QVERIFY(dcp);
    QList<int> numbers;
    for (unsigned n : reelNumbers(dcp))
        numbers.append(int(n));
    QCOMPARE(numbers, made);
    QCOMPARE(dcp->getAssets().size(), d.assetsOfReels(made).size());
    for (const DcpAssetInfo& a : d.assetsOfReels(made))
        QVERIFY2(dcp->getAsset(a.uuid), qPrintable(a.path));
}

void TestImportFlow::folderAndSpace_data()
{
    QTest::addColumn<bool>("cancel");  // the folder dialog
    QTest::addColumn<qint64>("extra"); // available bytes minus project size
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("asked");
    QTest::addColumn<bool>("imported");
    QTest::newRow("folder dialog cancelled") << true << qint64(-1) << int(Prompt::Yes) << false << false;
    QTest::newRow("one byte more than needed") << false << qint64(1) << int(Prompt::No) << false << true;
    QTest::newRow("exactly the size, declined") << false << qint64(0) << int(Prompt::No) << true << false;
    QTest::newRow("exactly the size, accepted") << false << qint64(0) << int(Prompt::Yes) << true << true;
}

void TestImportFlow::folderAndSpace()
{
    QFETCH(bool, cancel);
    QFETCH(qint64, extra);
    QFETCH(int, answer);
    QFETCH(bool, asked);
    QFETCH(bool, imported);
    ImportSandbox sandbox;
    const qint64 projectSize = 123456789;
    QString probed;
    sandbox.volumes().setAvailableBytesOverride([&](const QString& path) {
        probed = path;
        return projectSize + extra;
    });
    const DcpDescription d = sampleDcp(sampleOptions(6));
    const QString path = sandbox.writePackage(packageDocument({packageEntry(d, {1})}, projectSize));
    const auto before = sandbox.snapshot();

    ScriptedPrompts prompts;
    prompts.answerPath(cancel ? QString() : sandbox.downloads());
    prompts.answer(Prompt::StandardButton(answer));
    sandbox.import(path);

    QCOMPARE(probed, cancel ? QString() : sandbox.downloads());
    QCOMPARE(prompts.count(), asked ? 2 : 1);
    if (asked) {
        const PromptRequest box = prompts.last();
        QCOMPARE(box.icon, Prompt::Warning);
        QCOMPARE(box.text, QStringLiteral("Not enough disk space"));
        QCOMPARE(box.informativeText,
                 QStringLiteral("You don't have enough disk space to download full DCP.\r\n\r\n"
                                "Do you want to continue anyway?"));
        QCOMPARE(box.buttons, Prompt::Yes | Prompt::No);
        QCOMPARE(box.defaultButton, Prompt::No);
    }
    QCOMPARE(catalogued(d) != nullptr, imported);
    if (!imported) {
        QCOMPARE(sandbox.snapshot(), before);
        QCOMPARE(TestSandbox::rowCount(QStringLiteral("dcp")), 0);
    }
}

void TestImportFlow::refusedEntries_data()
{
    // where: a document, whose text "from" becomes "to", or an entry member, set to "to"
    // (removed when undefined); log: beginnings of lines the refusal must write.
    QTest::addColumn<QString>("where");
    QTest::addColumn<QString>("from");
    QTest::addColumn<QJsonValue>("to");
    QTest::addColumn<QString>("explanation");
    QTest::addColumn<QStringList>("log");

    const QStringList missing{QStringLiteral("[DCPXMLReader] Missing Data, aborting...")};
    const QStringList noCampaign{QStringLiteral("[DCPXMLReader] No Campaign DCP ID found, aborting...")};
    const QStringList unsafe{kUnparsed};
    auto unparsed = [](const char* line) {
        return QStringList{QLatin1String("[DCPXMLReader] ") + QLatin1String(line), kUnparsed};
    };
    auto field = [](const char* name, const char* key, const QJsonValue& value, const QStringList& log,
                    const QString& explanation = kMainData) {
        QTest::newRow(name) << QString::fromLatin1(key) << QString() << value << explanation << log;
    };
    auto document = [](const char* name, const char* which, const char* from, const char* to,
                       const QStringList& log) {
        QTest::newRow(name) << QString::fromLatin1(which) << QString::fromLatin1(from)
                            << QJsonValue(QString::fromLatin1(to)) << kMainData << log;
    };

    // The entry's own fields.
    field("reels empty", "reels", QJsonArray(),
          {QStringLiteral("[DCPXMLReader] No Reel(s) selected, aborting...")}, kNoReels);
    field("campaign id 0", "campaign_dcp_id", 0, noCampaign);
    field("campaign id missing", "campaign_dcp_id", QJsonValue::Undefined, noCampaign);
    for (const char* key : {"cpl_xml", "pkl_xml", "asset_map_xml", "volindex_xml", "dcp_image_url"})
        field(qPrintable(QStringLiteral("%1 empty").arg(QLatin1String(key))), key, QString(), missing);
    field("cpl_xml not Base64 of anything", "cpl_xml", QStringLiteral("!!!"), missing);

    // Documents, read in the order ASSETMAP, CPL, PKL: not XML (entity declarations count
    // as not XML), or without the elements they exist for.
    document("ASSETMAP not XML", "ASSETMAP", "</AssetMap>", "", unparsed("Could not load ASSETMAP XML file"));
    document("ASSETMAP without Asset", "ASSETMAP", "Asset>", "Item>",
             unparsed("no Asset(s) found in ASSETMAP"));
    document("CPL not XML", "CPL", "</CompositionPlaylist>", "", unparsed("Could not load CPL XML file"));
    document("CPL declares an entity", "CPL", "<CompositionPlaylist",
             "<!DOCTYPE CompositionPlaylist [<!ENTITY t \"x\">]><CompositionPlaylist",
             unparsed("Could not load CPL XML file"));
    document("CPL without Reel", "CPL", "Reel>", "Roll>", unparsed("no Reels found."));
    document("PKL not XML", "PKL", "</PackingList>", "", unparsed("Could not load KPL XML file"));
    document("PKL without Asset", "PKL", "Asset>", "Item>", unparsed("no Asset(s) found in PKL"));

    // Texts that would name places outside the DCP folder, or not on the web: one row per
    // place they are checked (the rules' own cases are in tst_import_units).
    document("title with slash", "CPL", "<AnnotationText>Sample_3<", "<AnnotationText>a/b<", unsafe);
    document("file name with folder", "PKL", "<OriginalFileName>picture_r1.mxf<",
             "<OriginalFileName>sub/evil.mxf<", unsafe);
    document("chunk path climbing out midway", "ASSETMAP", "<Path>picture_r1.mxf<",
             "<Path>a/../../../x/picture_r1.mxf<", unsafe);
    field("cpl name empty", "cpl_xml_name", QString(), unsafe);
    field("pkl name with folder", "pkl_xml_name", QStringLiteral("sub/pkl.xml"), unsafe);
    field("pkl name is ASSETMAP", "pkl_xml_name", QStringLiteral("ASSETMAP"), unsafe);
    field("link file scheme", "assets",
          QJsonArray{QJsonValue(QJsonArray{QStringLiteral("x"), QStringLiteral("file:///etc/passwd")})},
          unsafe);
    field("dcp_uuid not the CPL Id", "dcp_uuid", SampleDcp::uuidFor(99, QStringLiteral("cpl")), unsafe);
}

// A refused entry: the folder dialog, then the package error box, and nothing written
// inside or outside the chosen folder, no rows, no catalogue entry.
void TestImportFlow::refusedEntries()
{
    QFETCH(QString, where);
    QFETCH(QString, from);
    QFETCH(QJsonValue, to);
    QFETCH(QString, explanation);
    QFETCH(QStringList, log);

    ImportSandbox sandbox;
    UrlRecorder urls;
    DcpDescription d = sampleDcp(sampleOptions(3, 2));
    const QMap<QString, QByteArray*> documents{{QStringLiteral("ASSETMAP"), &d.assetMap},
                                               {QStringLiteral("CPL"), &d.cpl},
                                               {QStringLiteral("PKL"), &d.pkl}};
    if (documents.contains(where))
        replaceIn(*documents.value(where), from, to.toString());
    QJsonObject entry = packageEntry(d, {1, 2});
    if (!documents.contains(where) && to.isUndefined())
        entry.remove(where);
    else if (!documents.contains(where))
        entry[where] = to;
    const QString path = sandbox.writePackage(packageDocument({entry}));
    const auto before = sandbox.snapshot();

    ScriptedPrompts prompts;
    prompts.answerPath(sandbox.downloads());
    prompts.answer(Prompt::No);
    LogCapture logged;
    sandbox.import(path);

    QCOMPARE(prompts.count(), 2);
    QCOMPARE(prompts.asked().first().kind, PromptRequest::Directory);
    const PromptRequest box = prompts.last();
    QCOMPARE(box.icon, Prompt::Warning);
    QCOMPARE(box.text, kRedownload);
    QCOMPARE(box.informativeText, explanation);
    QCOMPARE(box.buttons, Prompt::Yes | Prompt::No);
    QCOMPARE(box.defaultButton, Prompt::Yes);
    QVERIFY(urls.opened.isEmpty());
    for (const QString& line : log)
        QVERIFY2(logged.hasLineStartingWith(line), qPrintable(line));

    QCOMPARE(sandbox.snapshot(), before);
    QCOMPARE(TestSandbox::rowCount(QStringLiteral("dcp")), 0);
    QCOMPARE(TestSandbox::rowCount(QStringLiteral("asset")), 0);
    QVERIFY(sandbox.catalogue()->getDCPs().isEmpty());
    QCOMPARE(sandbox.engineNotifications, 0);
}

void TestImportFlow::laterEntryEndsPackage_data()
{
    QTest::addColumn<bool>("fat"); // the drive is FAT32 and the second DCP has a 4 GiB file
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("informative");
    QTest::newRow("second entry without reels") << false << kRedownload << kNoReels;
    QTest::newRow("second DCP too large for FAT32") << true << kFatText << kFatInfo;
}

// The first DCP stays imported; the failing one and those after it leave nothing behind.
void TestImportFlow::laterEntryEndsPackage()
{
    QFETCH(bool, fat);
    QFETCH(QString, text);
    QFETCH(QString, informative);
    ImportSandbox sandbox;
    if (fat)
        sandbox.volumes().setFileSystemTypeOverride([](const QString&) { return QByteArray("vfat"); });
    const DcpDescription first = sampleDcp(sampleOptions(10));
    DcpDescription second = sampleDcp(sampleOptions(11));
    const DcpDescription after = sampleDcp(sampleOptions(12));
    if (fat)
        setPklSize(second, QStringLiteral("sound_r1.mxf"), k4GiB);
    QJsonObject bad = packageEntry(second, {1});
    if (!fat)
        bad[QStringLiteral("reels")] = QJsonArray();

    ScriptedPrompts prompts;
    importPackage(sandbox, prompts,
                  packageDocument({packageEntry(first, {1}), bad, packageEntry(after, {1})}), {Prompt::No});

    QCOMPARE(prompts.texts(), QStringList{text});
    QCOMPARE(prompts.last().informativeText, informative);
    QVERIFY(catalogued(first));
    QVERIFY(!catalogued(second));
    QVERIFY(!catalogued(after));
    QVERIFY(QFileInfo::exists(sandbox.downloads() + QLatin1Char('/') + first.title +
                              QStringLiteral("/VOLINDEX")));
    QVERIFY(!QFileInfo::exists(sandbox.downloads() + QLatin1Char('/') + second.title));
    QCOMPARE(TestSandbox::rowCount(QStringLiteral("dcp")), 1);
    QCOMPARE(sandbox.engineNotifications, 1);
}

// A catalogued DCP merges into its own folder, whatever folder a new DCP of the same
// package gets; only reels it lacks are added, and without new reels the engine is not told.
void TestImportFlow::mergeAddsOnlyNewReels()
{
    ImportSandbox sandbox;
    const DcpDescription a = sampleDcp(sampleOptions(20, 3));
    const DcpDescription b = sampleDcp(sampleOptions(22, 1));
    importReel1(sandbox, a);
    DCP* known = catalogued(a);
    QVERIFY(known);
    QCOMPARE(sandbox.engineNotifications, 1);

    // a with reels 1 and 3 beside the new b: the folder dialog for b, the merge box for a.
    const QString other = sandbox.root() + QStringLiteral("/other");
    QDir().mkpath(other);
    ScriptedPrompts prompts;
    importPackage(sandbox, prompts, packageDocument({packageEntry(a, {1, 3}), packageEntry(b, {1})}), {},
                  other);
    QCOMPARE(prompts.count(), 2);
    QCOMPARE(prompts.asked().first().kind, PromptRequest::Directory);
    QCOMPARE(prompts.last().icon, Prompt::NoIcon);
    QCOMPARE(prompts.last().text,
             QStringLiteral("The DCP Friendly %1 already exist and will be merged.").arg(a.title));
    QCOMPARE(prompts.last().buttons, Prompt::StandardButtons(Prompt::Ok));
    QCOMPARE(catalogued(a), known);
    QCOMPARE(known->getDownloadPath(), sandbox.downloads());
    QVERIFY(!QFileInfo::exists(other + QLatin1Char('/') + a.title));
    QVERIFY(catalogued(b));
    QCOMPARE(catalogued(b)->getDownloadPath(), other);
    QVERIFY(QFileInfo::exists(other + QLatin1Char('/') + b.title + QStringLiteral("/ASSETMAP")));

    QCOMPARE(reelNumbers(known), (QList<unsigned>{1, 3}));
    QCOMPARE(known->getAssets().size(), 4);
    Reel* third = known->getReels().last();
    QCOMPARE(third->getDCP(), known);
    QCOMPARE(sandbox.catalogue()->getReel(third->getUuid()), third);
    for (Asset* asset : third->getAssets()) {
        QCOMPARE(asset->getDCP(), known);
        QCOMPARE(sandbox.catalogue()->getAsset(asset->getUuid(), a.cplUuid), asset);
    }
    const QString ofA = QStringLiteral("dcp_uuid = '%1'").arg(a.cplUuid);
    QCOMPARE(TestSandbox::rowCount(QStringLiteral("reel"), ofA), 2);
    QCOMPARE(TestSandbox::rowCount(QStringLiteral("asset"), ofA), 4);
    QCOMPARE(TestSandbox::rowCount(QStringLiteral("dcp_reel_asset"), ofA), 4);
    QCOMPARE(sandbox.engineNotifications, 3); // the merge and b

    // Every DCP catalogued and nothing new: no folder dialog, the box again, no rows, no work.
    UserPrompt::clearHistory();
    sandbox.import(sandbox.writePackage(packageDocument({packageEntry(a, {3, 1})})));
    QCOMPARE(prompts.count(), 1);
    QCOMPARE(prompts.last().kind, PromptRequest::Message);
    QCOMPARE(reelNumbers(known), (QList<unsigned>{1, 3}));
    QCOMPARE(TestSandbox::rowCount(QStringLiteral("reel"), ofA), 2);
    QCOMPARE(sandbox.engineNotifications, 3);
    QVERIFY(catalogueIsClosed());
}

void TestImportFlow::mergeSharesCataloguedFiles_data()
{
    QTest::addColumn<bool>("sharedFromStart");
    // Reel 2 plays reel 1's sound file: both reels list the one catalogued object, and the
    // store links reel 2 to it, so a restart finds the file in both reels.
    QTest::newRow("new reel plays a catalogued file") << true;
    // The package's copy of catalogued reel 1 now plays reel 2's sound, unknown to the
    // catalogue: only the new reel gets the file, in memory and in the store.
    QTest::newRow("catalogued reel names a new file") << false;
}

void TestImportFlow::mergeSharesCataloguedFiles()
{
    QFETCH(bool, sharedFromStart);
    ImportSandbox sandbox;
    DcpDescription d = sampleDcp(sampleOptions(24, 2));
    const QString sound1 = d.find(DcpAssetInfo::Sound, 1).uuid;
    const QString sound2 = d.find(DcpAssetInfo::Sound, 2).uuid;
    const QString shared = sharedFromStart ? sound1 : sound2;
    if (sharedFromStart)
        replaceIn(d.cpl, sound2, sound1);
    importReel1(sandbox, d);
    DCP* known = catalogued(d);
    QVERIFY(known);
    Reel* first = known->getReels().first();
    const QList<Asset*> firstAssets = first->getAssets();
    Asset* const cataloguedSound = known->getAsset(sound1);
    if (!sharedFromStart)
        replaceIn(d.cpl, sound1, sound2);

    ScriptedPrompts prompts;
    sandbox.import(sandbox.writePackage(packageDocument({packageEntry(d, {1, 2})})));
    QCOMPARE(reelNumbers(known), (QList<unsigned>{1, 2}));
    QCOMPARE(known->getReels().first(), first);
    QCOMPARE(first->getAssets(), firstAssets);
    Reel* second = known->getReels().last();
    for (Asset* a : second->getAssets())
        QCOMPARE(known->getAsset(a->getUuid()), a);
    Asset* sound = known->getAsset(shared);
    QVERIFY(sound && second->getAssets().contains(sound));
    QCOMPARE(sandbox.catalogue()->getAsset(shared, d.cplUuid), sound);
    QCOMPARE(sound->getReels(), sharedFromStart ? (QList<Reel*>{first, second}) : QList<Reel*>{second});
    if (sharedFromStart)
        QCOMPARE(sound, cataloguedSound);

    const QString links = QStringLiteral("dcp_reel_asset");
    QCOMPARE(TestSandbox::rowCount(links, QStringLiteral("asset_uuid = '%1'").arg(shared)),
             sharedFromStart ? 2 : 1);
    QCOMPARE(TestSandbox::rowCount(links, QStringLiteral("reel_uuid = '%1'").arg(first->getUuid())),
             firstAssets.size());
    QCOMPARE(TestSandbox::rowCount(QStringLiteral("asset"), QStringLiteral("uuid = '%1'").arg(shared)), 1);
    QVERIFY(catalogueIsClosed());
}

void TestImportFlow::conflictingFiles_data()
{
    QTest::addColumn<int>("answer");
    QTest::newRow("declined") << int(Prompt::No);
    QTest::newRow("accepted") << int(Prompt::Yes);
    // Files of another size are not kept, nor removed: they are downloaded over.
    QTest::newRow("checked and kept") << int(Prompt::Apply);
}

void TestImportFlow::conflictingFiles()
{
    QFETCH(int, answer);
    ImportSandbox sandbox;
    const DcpDescription d = sampleDcp(sampleOptions(30));
    const QString folder = sandbox.downloads() + QLatin1Char('/') + d.title;
    const QStringList files{folder + QStringLiteral("/.picture_r1.mxf"),
                            folder + QStringLiteral("/picture_r1.mxf"),
                            folder + QStringLiteral("/sound_r1.mxf")};
    for (const QString& f : files)
        QVERIFY(writeFile(f, "x"));

    ScriptedPrompts prompts;
    importPackage(sandbox, prompts, packageDocument({packageEntry(d, {1})}),
                  {Prompt::StandardButton(answer)});

    const PromptRequest box = prompts.last();
    QCOMPARE(box.icon, Prompt::Warning);
    QCOMPARE(box.text, QStringLiteral("Remove conflicting files?"));
    QCOMPARE(box.informativeText, QStringLiteral("The following files will be removed...\r\n"
                                                 "\r\n   1. .picture_r1.mxf\r\n   2. picture_r1.mxf"
                                                 "\r\n   3. sound_r1.mxf"));
    QCOMPARE(box.buttons, Prompt::Yes | Prompt::No | Prompt::Apply);
    QCOMPARE(box.buttonTexts.value(Prompt::Apply), QStringLiteral("&Check and keep"));
    QCOMPARE(box.defaultButton, Prompt::No);

    for (const QString& f : files)
        QCOMPARE(QFileInfo::exists(f), answer != Prompt::Yes);
    const bool accepted = answer != Prompt::No;
    // Declining keeps the folder and its XML files but stores nothing.
    QCOMPARE(readFile(folder + QLatin1Char('/') + d.cplFileName), d.cpl);
    QCOMPARE(readFile(folder + QStringLiteral("/VOLINDEX")), d.volIndex);
    QCOMPARE(catalogued(d) != nullptr, accepted);
    QCOMPARE(TestSandbox::rowCount(QStringLiteral("dcp")), accepted ? 1 : 0);
    QCOMPARE(TestSandbox::rowCount(QStringLiteral("asset")), accepted ? 2 : 0);
    QCOMPARE(sandbox.engineNotifications, accepted ? 1 : 0);
}

// A document cut short by a failing write is taken away again; otherwise it would be
// kept for good, since XML files already present are never rewritten.
void TestImportFlow::partialXmlFileIsNotLeftBehind()
{
    ImportSandbox sandbox;
    const DcpDescription d = sampleDcp(sampleOptions(32));
    const QString path = sandbox.writePackage(packageDocument({packageEntry(d, {1})}));
    const QString folder = sandbox.downloads() + QLatin1Char('/') + d.title;
    const QString cpl = folder + QLatin1Char('/') + d.cplFileName;
    sandbox.catalogue(); // the store exists before the file-size limit comes
    const auto toldNotSaved = [&](const ScriptedPrompts& prompts) {
        return prompts.count() == 2 && prompts.last().icon == Prompt::Warning &&
               prompts.last().text == QStringLiteral("The DCP Friendly %1 could not be saved").arg(d.title) &&
               prompts.last().informativeText.contains(folder);
    };

    // A file where the DCP folder goes: the user is told, nothing is stored or queued.
    QVERIFY(writeFile(folder, "in the way"));
    {
        ScriptedPrompts prompts;
        prompts.answerPath(sandbox.downloads());
        sandbox.import(path);
        QVERIFY(toldNotSaved(prompts));
    }
    QVERIFY(QFile::remove(folder));
    QCOMPARE(TestSandbox::rowCount(QStringLiteral("dcp")), 0);
    QCOMPARE(sandbox.engineNotifications, 0);

    // A document cut short by a full drive is taken away again.
    rlimit previous{};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &previous), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = previous;
    small.rlim_cur = 100;
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
    bool told = false;
    {
        ScriptedPrompts prompts;
        prompts.answerPath(sandbox.downloads());
        sandbox.import(path);
        told = toldNotSaved(prompts);
    }
    setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, oldHandler);

    QVERIFY(told);
    QVERIFY(!QFileInfo::exists(cpl));
    QVERIFY(!catalogued(d));
    QCOMPARE(TestSandbox::rowCount(QStringLiteral("dcp")), 0);

    ScriptedPrompts prompts;
    prompts.answerPath(sandbox.downloads());
    sandbox.import(path);
    QCOMPARE(readFile(cpl), d.cpl);
    QVERIFY(catalogued(d));
}

void TestImportFlow::fatDrive_data()
{
    QTest::addColumn<QByteArray>("fileSystem");
    QTest::addColumn<quint64>("size"); // of reel 2's picture
    QTest::addColumn<bool>("merge");   // reel 1 is catalogued first; the package adds reel 2
    QTest::addColumn<bool>("refused");
    QTest::newRow("vfat, 4 GiB") << QByteArray("vfat") << k4GiB << false << true;
    QTest::newRow("msdos, 4 GiB") << QByteArray("msdos") << k4GiB << false << true;
    QTest::newRow("FAT, 5 GiB") << QByteArray("FAT") << k4GiB + k4GiB / 4 << false << true;
    QTest::newRow("vfat, 4 GiB, merged reel") << QByteArray("vfat") << k4GiB << true << true;
    QTest::newRow("vfat, 4 GiB less a byte") << QByteArray("vfat") << k4GiB - 1 << false << false;
    QTest::newRow("exfat, 4 GiB") << QByteArray("exfat") << k4GiB << false << false;
    QTest::newRow("ext4, 4 GiB") << QByteArray("ext4") << k4GiB << false << false;
}

void TestImportFlow::fatDrive()
{
    QFETCH(QByteArray, fileSystem);
    QFETCH(quint64, size);
    QFETCH(bool, merge);
    QFETCH(bool, refused);
    ImportSandbox sandbox;
    QString probed;
    sandbox.volumes().setFileSystemTypeOverride([&](const QString& path) {
        probed = path;
        return fileSystem;
    });
    DcpDescription d = sampleDcp(sampleOptions(40, 2));
    setPklSize(d, QStringLiteral("picture_r2.mxf"), size);
    if (merge) {
        importReel1(sandbox, d); // small reel: fine
        QVERIFY(catalogued(d));
    }
    const QString path = sandbox.writePackage(packageDocument({packageEntry(d, {1, 2})}));
    const auto before = sandbox.snapshot();

    ScriptedPrompts prompts;
    if (!merge)
        prompts.answerPath(sandbox.downloads());
    sandbox.import(path);

    QCOMPARE(probed, sandbox.downloads());
    QCOMPARE(prompts.texts().contains(kFatText), refused);
    if (!refused) {
        QCOMPARE(reelNumbers(catalogued(d)), (QList<unsigned>{1, 2}));
        return;
    }
    const PromptRequest box = prompts.last();
    QCOMPARE(box.icon, Prompt::Warning);
    QCOMPARE(box.informativeText, kFatInfo);
    QCOMPARE(box.buttons, Prompt::StandardButtons(Prompt::Ok));
    QCOMPARE(sandbox.snapshot(), before);
    QCOMPARE(catalogued(d) ? reelNumbers(catalogued(d)) : QList<unsigned>(),
             merge ? QList<unsigned>{1} : QList<unsigned>());
    QCOMPARE(TestSandbox::rowCount(QStringLiteral("dcp")), merge ? 1 : 0);
    QCOMPARE(TestSandbox::rowCount(QStringLiteral("reel")), merge ? 1 : 0);
    QCOMPARE(sandbox.engineNotifications, merge ? 1 : 0);
}

// The same check against a real FAT file system, where the machine lets a test mount one.
void TestImportFlow::fatDriveOnRealVfatImage()
{
    QTemporaryDir dir;
    const QString image = dir.path() + QStringLiteral("/fat.img");
    const QString mountPoint = dir.path() + QStringLiteral("/mnt");
    QDir().mkpath(mountPoint);
    QFile file(image);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.resize(16 * 1024 * 1024));
    file.close();
    if (QProcess::execute(QStringLiteral("mkfs.vfat"),
                          {QStringLiteral("-n"), QStringLiteral("ORVTEST"), image}) != 0)
        QSKIP("mkfs.vfat is not available");
    if (QProcess::execute(QStringLiteral("mount"),
                          {QStringLiteral("-o"), QStringLiteral("loop"), image, mountPoint}) != 0)
        QSKIP("this machine does not let the test mount a loop device");
    struct Unmount
    {
        QString path;
        ~Unmount() { QProcess::execute(QStringLiteral("umount"), {path}); }
    } unmount{mountPoint};

    ImportSandbox sandbox;
    sandbox.volumes().setFileSystemTypeOverride(nullptr);
    DcpDescription d = sampleDcp(sampleOptions(45));
    setPklSize(d, QStringLiteral("picture_r1.mxf"), k4GiB);
    ScriptedPrompts prompts;
    importPackage(sandbox, prompts, packageDocument({packageEntry(d, {1})}), {}, mountPoint);
    QCOMPARE(prompts.texts().last(), kFatText);
    QVERIFY(!catalogued(d));
    QVERIFY(QDir(mountPoint).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty());
}

void TestImportFlow::failedWriteLeavesNoTrace_data()
{
    QTest::addColumn<bool>("merge"); // reel 1 is catalogued before the failing import of reels 1 and 2
    QTest::newRow("new DCP") << false;
    QTest::newRow("merge") << true;
}

// A store failure while filing the entry, after some of its assets were stored, leaves the
// rows and the catalogue as they were (no asset registered without its row), so importing
// the package again stores everything.
void TestImportFlow::failedWriteLeavesNoTrace()
{
    QFETCH(bool, merge);
    ImportSandbox sandbox;
    const DcpDescription d = sampleDcp(sampleOptions(50, 2));
    if (merge)
        importReel1(sandbox, d);
    const QString path = sandbox.writePackage(packageDocument({packageEntry(d, {1, 2})}));
    sandbox.catalogue();
    failLinkInserts(d.find(DcpAssetInfo::Sound, 2).uuid);
    {
        ScriptedPrompts prompts;
        prompts.answerPath(sandbox.downloads()); // the folder dialog, or the merge box
        QVERIFY_EXCEPTION_THROWN(sandbox.import(path), std::runtime_error);
    }
    failLinkInserts(QString());
    const QList<unsigned> kept = merge ? QList<unsigned>{1} : QList<unsigned>();
    QCOMPARE(catalogued(d) ? reelNumbers(catalogued(d)) : QList<unsigned>(), kept);
    if (merge)
        QCOMPARE(catalogued(d)->getAssets().size(), 2);
    for (int r = merge ? 2 : 1; r <= 2; ++r)
        QVERIFY(!sandbox.catalogue()->getAsset(d.find(DcpAssetInfo::Picture, r).uuid, d.cplUuid));
    QCOMPARE(TestSandbox::rowCount(QStringLiteral("reel")), kept.size());
    QCOMPARE(TestSandbox::rowCount(QStringLiteral("asset")), 2 * kept.size());
    QCOMPARE(sandbox.engineNotifications, kept.size());

    ScriptedPrompts prompts;
    prompts.answerPath(sandbox.downloads());
    sandbox.import(path);
    QCOMPARE(reelNumbers(catalogued(d)), (QList<unsigned>{1, 2}));
    QCOMPARE(TestSandbox::rowCount(QStringLiteral("asset")), 4);
    QCOMPARE(TestSandbox::rowCount(QStringLiteral("dcp_reel_asset")), 4);
}

QTEST_MAIN(TestImportFlow)
#include "tst_import_flow.moc"
