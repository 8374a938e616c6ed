// Importing packages end to end: folder choice, free space, the DCP folder and its XML
// files, store rows, catalogue entries, merges, conflicts and refused entries.
#include "TestSandbox.h"
#include "TestPackages.h"
#include "PackageWriter.h"
#include "SampleDcp.h"
#include "import/DCPXMLReader.h"
#include "import/VolumeInfo.h"
#include "model/DCPManager.h"
#include "storage/DatabaseManager.h"
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSqlQuery>
#include <QVariant>
#include "model/Asset.h"
#include "model/DCP.h"
#include "model/Reel.h"

#include <QProcess>
#include <QSet>
#include <QStandardPaths>
#include <QtTest>

#include <csignal>
#include <functional>
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
const quint64 k4GiB = Q_UINT64_C(4294967296);

// Edits of one entry: first on the DCP's documents, then on the JSON object.
struct EntryCase
{
    SampleDcp::Options options = sampleOptions(3, 2);
    std::function<void(DcpDescription&)> editDcp;
    std::function<void(QJsonObject&)> editEntry;
};

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

bool touch(const QString& path, const QByteArray& data = "x")
{
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(data) == data.size();
}

QList<unsigned> reelNumbers(const DCP* dcp)
{
    QList<unsigned> out;
    for (const Reel* r : dcp->getReels())
        out.append(r->getReelNumber());
    return out;
}

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
} // namespace
Q_DECLARE_METATYPE(EntryCase)

class TestImportFlow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void importsNewDcp();
    void reelSelection_data();
    void reelSelection();
    void folderDialogCancelled();
    void diskSpace_data();
    void diskSpace();

    void refusedEntries_data();
    void refusedEntries();
    void secondEntryFailsAfterFirstImported();

    void mergeAddsOnlyNewReels();
    void mergedReelSharesCataloguedFile();
    void mergeLeavesCataloguedReelsAlone();
    void mixedPackageMergesIntoOwnFolder();
    void conflictingFiles_data();
    void conflictingFiles();
    void xmlFilesByteForByteAndNeverOverwritten();
    void partialXmlFileIsNotLeftBehind();

    void fatDrive_data();
    void fatDrive();
    void fatDriveStopsAfterEarlierEntries();
    void fatDriveRefusesMergeOfLargeReel();
    void fatDriveOnRealVfatImage();

    void failedNewDcpWriteCanBeRetried();
    void failedMergeRollsBack();

private:
    // Imports one package, choosing folder (the sandbox's download folder by default)
    // in the folder dialog; the boxes after it take the given answers, then their defaults.
    void importPackage(TestSandbox& sandbox, ScriptedPrompts& prompts, const QJsonObject& document,
                       const QList<Prompt::StandardButton>& answers = {}, QString folder = QString());
    QByteArray key = testKey();
};

void TestImportFlow::initTestCase()
{
    qputenv("ORV_PORTAL_URL", "https://portal.test/");
    QStandardPaths::setTestModeEnabled(true);
}

void TestImportFlow::init()
{
    // Plenty of room unless a test says otherwise (the real drive's free space moves).
    VolumeInfo::setAvailableBytesOverride([](const QString&) { return Q_INT64_C(1) << 50; });
    VolumeInfo::setFileSystemTypeOverride([](const QString&) { return QByteArray("ext4"); });
}

void TestImportFlow::importPackage(TestSandbox& sandbox, ScriptedPrompts& prompts,
                                   const QJsonObject& document,
                                   const QList<Prompt::StandardButton>& answers, QString folder)
{
    prompts.answerPath(folder.isEmpty() ? sandbox.downloads() : folder);
    for (Prompt::StandardButton b : answers)
        prompts.answer(b);
    TestSandbox::import(sandbox.writePackage(document), key);
}

void TestImportFlow::importsNewDcp()
{
    TestSandbox sandbox;
    SampleDcp::Options o = sampleOptions(1, 2);
    o.subtitles = true;
    const DcpDescription d = sampleDcp(o);

    ScriptedPrompts prompts;
    importPackage(sandbox, prompts, packageDocument({packageEntry(d, {1, 2}, 42)}));

    QCOMPARE(prompts.count(), 1);
    const PromptRequest dialog = prompts.asked().first();
    QCOMPARE(dialog.kind, PromptRequest::Directory);
    QCOMPARE(dialog.title, QStringLiteral("Select download location for your DCP"));
    QCOMPARE(dialog.acceptLabel, QStringLiteral("Select directory for DCP"));
    QCOMPARE(dialog.directory, QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));

    const QString folder = sandbox.downloads() + QLatin1Char('/') + d.title;
    QCOMPARE(readFile(folder + QLatin1Char('/') + d.cplFileName), d.cpl);
    QCOMPARE(readFile(folder + QLatin1Char('/') + d.pklFileName), d.pkl);
    QCOMPARE(readFile(folder + QStringLiteral("/ASSETMAP")), d.assetMap);
    QCOMPARE(readFile(folder + QStringLiteral("/VOLINDEX")), d.volIndex);
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
        const Reel* reel = dcp->getReels().at(r - 1);
        QVERIFY(reel->getAssets().contains(font));
        QCOMPARE(font->getReels(), QList<Reel*>{const_cast<Reel*>(reel)});
        QCOMPARE(font->getFullPath(), sandbox.downloads() + QLatin1Char('/') + d.title + QLatin1Char('/') +
                                          subtitle.uuid + QStringLiteral("/.font.ttf"));
    }

    QCOMPARE(TestSandbox::rowCount(QStringLiteral("dcp")), 1);
    QCOMPARE(TestSandbox::rowCount(QStringLiteral("reel")), 2);
    QCOMPARE(TestSandbox::rowCount(QStringLiteral("asset")), 8);
    QCOMPARE(TestSandbox::rowCount(QStringLiteral("dcp_reel_asset")), 8);
    QCOMPARE(sandbox.engineNotifications, 1);
}

void TestImportFlow::reelSelection_data()
{
    QTest::addColumn<QList<int>>("selected");
    QTest::addColumn<QList<unsigned>>("made");
    QTest::newRow("1 and 3 of 3") << QList<int>{1, 3} << QList<unsigned>{1, 3};
    QTest::newRow("2 and 3 of 3") << QList<int>{3, 2} << QList<unsigned>{2, 3};
    QTest::newRow("beyond the last reel") << QList<int>{1, 7} << QList<unsigned>{1};
}

// Reel numbers are CPL positions; only the chosen reels' files (fonts included) come along.
void TestImportFlow::reelSelection()
{
    QFETCH(QList<int>, selected);
    QFETCH(QList<unsigned>, made);
    TestSandbox sandbox;
    SampleDcp::Options o = sampleOptions(2, 3);
    o.subtitles = true;
    const DcpDescription d = sampleDcp(o);

    ScriptedPrompts prompts;
    importPackage(sandbox, prompts, packageDocument({packageEntry(d, selected)}));
    DCP* dcp = catalogued(d);
    QVERIFY(dcp);
    QCOMPARE(reelNumbers(dcp), made);
    QList<int> madeInts;
    for (unsigned n : made)
        madeInts.append(int(n));
    QCOMPARE(dcp->getAssets().size(), d.assetsOfReels(madeInts).size());
    for (const DcpAssetInfo& a : d.assetsOfReels(madeInts))
        QVERIFY2(dcp->getAsset(a.uuid), qPrintable(a.path));
}

void TestImportFlow::folderDialogCancelled()
{
    TestSandbox sandbox;
    const QString path =
        sandbox.writePackage(packageDocument({packageEntry(sampleDcp(sampleOptions(5)), {1})}));
    const auto before = sandbox.snapshot();
    ScriptedPrompts prompts;
    prompts.answerPath(QString());
    TestSandbox::import(path, key);
    QCOMPARE(prompts.count(), 1);
    QCOMPARE(sandbox.snapshot(), before);
    QCOMPARE(TestSandbox::rowCount(QStringLiteral("dcp")), 0);
}

void TestImportFlow::diskSpace_data()
{
    QTest::addColumn<qint64>("extra"); // available bytes minus project size
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("asked");
    QTest::addColumn<bool>("imported");
    QTest::newRow("one byte more than needed") << qint64(1) << int(Prompt::No) << false << true;
    QTest::newRow("exactly the size, declined") << qint64(0) << int(Prompt::No) << true << false;
    QTest::newRow("exactly the size, accepted") << qint64(0) << int(Prompt::Yes) << true << true;
    QTest::newRow("less than the size, declined") << qint64(-1) << int(Prompt::No) << true << false;
}

void TestImportFlow::diskSpace()
{
    QFETCH(qint64, extra);
    QFETCH(int, answer);
    QFETCH(bool, asked);
    QFETCH(bool, imported);
    TestSandbox sandbox;
    const qint64 projectSize = 123456789;
    QString probed;
    VolumeInfo::setAvailableBytesOverride([&](const QString& path) {
        probed = path;
        return projectSize + extra;
    });
    const DcpDescription d = sampleDcp(sampleOptions(6));
    const QString path = sandbox.writePackage(packageDocument({packageEntry(d, {1})}, projectSize));
    const auto before = sandbox.snapshot();

    ScriptedPrompts prompts;
    prompts.answerPath(sandbox.downloads());
    prompts.answer(Prompt::StandardButton(answer));
    TestSandbox::import(path, key);

    QCOMPARE(probed, sandbox.downloads());
    QCOMPARE(prompts.texts().contains(QStringLiteral("Not enough disk space")), asked);
    if (asked) {
        const PromptRequest box = prompts.asked().at(1);
        QCOMPARE(box.icon, Prompt::Warning);
        QCOMPARE(box.informativeText,
                 QStringLiteral("You don't have enough disk space to download full DCP.\r\n\r\n"
                                "Do you want to continue anyway?"));
        QCOMPARE(box.buttons, Prompt::Yes | Prompt::No);
        QCOMPARE(box.defaultButton, Prompt::No);
    }
    QCOMPARE(catalogued(d) != nullptr, imported);
    if (!imported)
        QCOMPARE(sandbox.snapshot(), before);
}

void TestImportFlow::refusedEntries_data()
{
    QTest::addColumn<EntryCase>("testCase");
    QTest::addColumn<QString>("explanation");

    auto dcpEdit = [](std::function<void(DcpDescription&)> f) {
        EntryCase c;
        c.editDcp = std::move(f);
        return c;
    };
    auto entryEdit = [](std::function<void(QJsonObject&)> f) {
        EntryCase c;
        c.editEntry = std::move(f);
        return c;
    };
    auto titled = [](const QString& title) {
        EntryCase c;
        c.options.title = title;
        return c;
    };
    auto member = [entryEdit](const char* key, const QJsonValue& value) {
        const QString k = QLatin1String(key);
        return entryEdit([k, value](QJsonObject& e) { e[k] = value; });
    };
    auto link = [entryEdit](const QString& address) {
        return entryEdit([address](QJsonObject& e) {
            QJsonArray links = e[QStringLiteral("assets")].toArray();
            QJsonArray first = links.at(0).toArray();
            first[1] = address;
            links[0] = first;
            e[QStringLiteral("assets")] = links;
        });
    };
    auto fileName = [dcpEdit](const QString& name) {
        return dcpEdit([name](DcpDescription& d) {
            replaceIn(d.pkl, QStringLiteral("<OriginalFileName>picture_r1.mxf<"),
                      QStringLiteral("<OriginalFileName>%1<").arg(name.toHtmlEscaped()));
        });
    };
    auto chunk = [dcpEdit](const QString& path) {
        return dcpEdit([path](DcpDescription& d) {
            replaceIn(d.assetMap, QStringLiteral("<Path>picture_r1.mxf<"),
                      QStringLiteral("<Path>%1<").arg(path));
        });
    };

    // Failures of the entry's own fields.
    QTest::newRow("reels empty") << member("reels", QJsonArray()) << kNoReels;
    QTest::newRow("campaign id 0") << member("campaign_dcp_id", 0) << kMainData;
    QTest::newRow("campaign id missing")
        << entryEdit([](QJsonObject& e) { e.remove(QStringLiteral("campaign_dcp_id")); }) << kMainData;
    for (const char* key : {"cpl_xml", "pkl_xml", "asset_map_xml", "volindex_xml", "dcp_image_url"})
        QTest::newRow(qPrintable(QStringLiteral("%1 empty").arg(QLatin1String(key))))
            << member(key, QString()) << kMainData;
    QTest::newRow("cpl_xml not Base64 of anything") << member("cpl_xml", QStringLiteral("!!!")) << kMainData;

    // Documents that cannot be parsed or hold no Asset / Reel elements.
    QTest::newRow("CPL not XML") << dcpEdit([](DcpDescription& d) { d.cpl = "<CompositionPlaylist><Reel>"; })
                                 << kMainData;
    QTest::newRow("CPL without Reel")
        << dcpEdit([](DcpDescription& d) { d.cpl.replace("<Reel>", "<Roll>").replace("</Reel>", "</Roll>"); })
        << kMainData;
    QTest::newRow("PKL without Asset") << dcpEdit([](DcpDescription& d) {
        d.pkl.replace("<Asset>", "<Item>").replace("</Asset>", "</Item>");
    }) << kMainData;
    QTest::newRow("ASSETMAP not XML") << dcpEdit([](DcpDescription& d) { d.assetMap.chop(20); }) << kMainData;
    QTest::newRow("CPL entity bomb") << dcpEdit([](DcpDescription& d) {
        QByteArray dtd =
            "<!DOCTYPE CompositionPlaylist [\n<!ENTITY a \"aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa\">\n";
        for (int i = 1; i < 12; ++i) {
            dtd += "<!ENTITY " + QByteArray(1, char('a' + i)) + " \"";
            for (int j = 0; j < 16; ++j)
                dtd += "&" + QByteArray(1, char('a' + i - 1)) + ";";
            dtd += "\">\n";
        }
        dtd += "]>\n";
        d.cpl.insert(d.cpl.indexOf("<CompositionPlaylist"), dtd);
        d.cpl.replace("<ContentKind>feature", "<ContentKind>&l;");
    }) << kMainData;

    // Texts that would name places outside the DCP folder, or not on the web.
    QTest::newRow("title empty") << titled(QString()) << kMainData;
    QTest::newRow("title dot") << titled(QStringLiteral(".")) << kMainData;
    QTest::newRow("title dot dot") << titled(QStringLiteral("..")) << kMainData;
    QTest::newRow("title climbing out") << titled(QStringLiteral("../../escaped")) << kMainData;
    QTest::newRow("title with slash") << titled(QStringLiteral("a/b")) << kMainData;
    QTest::newRow("title with backslash") << titled(QStringLiteral("a\\b")) << kMainData;
    QTest::newRow("cpl name empty") << member("cpl_xml_name", QString()) << kMainData;
    QTest::newRow("cpl name climbing out")
        << member("cpl_xml_name", QStringLiteral("../../cpl.xml")) << kMainData;
    QTest::newRow("cpl name dot dot") << member("cpl_xml_name", QStringLiteral("..")) << kMainData;
    QTest::newRow("pkl name with folder")
        << member("pkl_xml_name", QStringLiteral("sub/pkl.xml")) << kMainData;
    QTest::newRow("pkl name dot") << member("pkl_xml_name", QStringLiteral(".")) << kMainData;
    QTest::newRow("pkl name is ASSETMAP") << member("pkl_xml_name", QStringLiteral("ASSETMAP")) << kMainData;
    QTest::newRow("file name climbing out") << fileName(QStringLiteral("../../evil.mxf")) << kMainData;
    QTest::newRow("file name dot") << fileName(QStringLiteral(".")) << kMainData;
    QTest::newRow("file name with folder") << fileName(QStringLiteral("sub/evil.mxf")) << kMainData;
    QTest::newRow("chunk path absolute") << chunk(QStringLiteral("/tmp/escaped/picture_r1.mxf")) << kMainData;
    QTest::newRow("chunk path climbing out")
        << chunk(QStringLiteral("../../escaped/picture_r1.mxf")) << kMainData;
    QTest::newRow("chunk path climbing out midway")
        << chunk(QStringLiteral("a/../../../x/picture_r1.mxf")) << kMainData;
    QTest::newRow("link file scheme") << link(QStringLiteral("file:///etc/passwd")) << kMainData;
    QTest::newRow("link ftp") << link(QStringLiteral("ftp://127.0.0.1/picture_r1.mxf")) << kMainData;
    QTest::newRow("link without scheme") << link(QStringLiteral("127.0.0.1/picture_r1.mxf")) << kMainData;
    QTest::newRow("dcp_uuid not the CPL Id")
        << member("dcp_uuid", SampleDcp::uuidFor(99, QStringLiteral("cpl"))) << kMainData;
}

// A refused entry: the folder dialog, then the package error box, and nothing written
// inside or outside the chosen folder, no rows, no catalogue entry.
void TestImportFlow::refusedEntries()
{
    QFETCH(EntryCase, testCase);
    QFETCH(QString, explanation);

    TestSandbox sandbox;
    UrlRecorder urls;
    DcpDescription d = sampleDcp(testCase.options);
    if (testCase.editDcp)
        testCase.editDcp(d);
    QJsonObject entry = packageEntry(d, {1, 2});
    if (testCase.editEntry)
        testCase.editEntry(entry);
    const QString path = sandbox.writePackage(packageDocument({entry}));
    const auto before = sandbox.snapshot();

    ScriptedPrompts prompts;
    prompts.answerPath(sandbox.downloads());
    prompts.answer(Prompt::No);
    TestSandbox::import(path, key);

    QCOMPARE(prompts.count(), 2);
    QCOMPARE(prompts.asked().first().kind, PromptRequest::Directory);
    const PromptRequest box = prompts.last();
    QCOMPARE(box.icon, Prompt::Warning);
    QCOMPARE(box.text, kRedownload);
    QCOMPARE(box.informativeText, explanation);
    QCOMPARE(box.buttons, Prompt::Yes | Prompt::No);
    QCOMPARE(box.defaultButton, Prompt::Yes);
    QVERIFY(urls.opened.isEmpty());

    QCOMPARE(sandbox.snapshot(), before);
    QVERIFY(!QFileInfo::exists(QStringLiteral("/tmp/escaped")));
    QCOMPARE(TestSandbox::rowCount(QStringLiteral("dcp")), 0);
    QCOMPARE(TestSandbox::rowCount(QStringLiteral("asset")), 0);
    QVERIFY(DCPManager::getInstance()->getDCPs().isEmpty());
    QCOMPARE(sandbox.engineNotifications, 0);
}

void TestImportFlow::secondEntryFailsAfterFirstImported()
{
    TestSandbox sandbox;
    const DcpDescription first = sampleDcp(sampleOptions(10));
    const DcpDescription second = sampleDcp(sampleOptions(11));
    QJsonObject bad = packageEntry(second, {1});
    bad[QStringLiteral("reels")] = QJsonArray();

    ScriptedPrompts prompts;
    importPackage(sandbox, prompts, packageDocument({packageEntry(first, {1}), bad}), {Prompt::No});

    QCOMPARE(prompts.last().informativeText, kNoReels);
    QVERIFY(catalogued(first));
    QVERIFY(!catalogued(second));
    QVERIFY(QFileInfo::exists(sandbox.downloads() + QLatin1Char('/') + first.title +
                              QStringLiteral("/VOLINDEX")));
    QVERIFY(!QFileInfo::exists(sandbox.downloads() + QLatin1Char('/') + second.title));
    QCOMPARE(TestSandbox::rowCount(QStringLiteral("dcp")), 1);
    QCOMPARE(sandbox.engineNotifications, 1);
}

void TestImportFlow::mergeAddsOnlyNewReels()
{
    TestSandbox sandbox;
    const DcpDescription d = sampleDcp(sampleOptions(20, 3));
    {
        ScriptedPrompts prompts;
        importPackage(sandbox, prompts, packageDocument({packageEntry(d, {1})}));
    }
    DCP* known = catalogued(d);
    QVERIFY(known);
    QCOMPARE(sandbox.engineNotifications, 1);

    // The same DCP with reels 1 and 3: no folder dialog, the merge box, reel 3 added.
    ScriptedPrompts prompts;
    TestSandbox::import(sandbox.writePackage(packageDocument({packageEntry(d, {1, 3})})), key);
    QCOMPARE(prompts.count(), 1);
    QCOMPARE(prompts.last().icon, Prompt::NoIcon);
    QCOMPARE(prompts.last().text,
             QStringLiteral("The DCP Friendly %1 already exist and will be merged.").arg(d.title));
    QCOMPARE(prompts.last().buttons, Prompt::StandardButtons(Prompt::Ok));
    QCOMPARE(catalogued(d), known);
    QCOMPARE(reelNumbers(known), (QList<unsigned>{1, 3}));
    QCOMPARE(known->getAssets().size(), 4);
    Reel* third = known->getReels().last();
    QCOMPARE(third->getDCP(), known);
    QCOMPARE(DCPManager::getInstance()->getReel(third->getUuid()), third);
    for (Asset* a : third->getAssets()) {
        QCOMPARE(a->getDCP(), known);
        QCOMPARE(DCPManager::getInstance()->getAsset(a->getUuid(), d.cplUuid), a);
    }
    QCOMPARE(TestSandbox::rowCount(QStringLiteral("reel")), 2);
    QCOMPARE(TestSandbox::rowCount(QStringLiteral("asset")), 4);
    QCOMPARE(TestSandbox::rowCount(QStringLiteral("dcp_reel_asset")), 4);
    QCOMPARE(sandbox.engineNotifications, 2);

    // Nothing new: the box again, but no rows and no work for the engine.
    prompts.answer(Prompt::Ok);
    TestSandbox::import(sandbox.writePackage(packageDocument({packageEntry(d, {3, 1})})), key);
    QCOMPARE(reelNumbers(known), (QList<unsigned>{1, 3}));
    QCOMPARE(TestSandbox::rowCount(QStringLiteral("reel")), 2);
    QCOMPARE(sandbox.engineNotifications, 2);
    QVERIFY(catalogueIsClosed());
}

// Reel 2 plays reel 1's sound file: after the merge both reels list the one catalogued
// object, and the store links reel 2 to it, so a restart finds the file in both reels.
void TestImportFlow::mergedReelSharesCataloguedFile()
{
    TestSandbox sandbox;
    DcpDescription d = sampleDcp(sampleOptions(24, 2));
    const QString sound1 = d.find(DcpAssetInfo::Sound, 1).uuid;
    replaceIn(d.cpl, d.find(DcpAssetInfo::Sound, 2).uuid, sound1);
    {
        ScriptedPrompts prompts;
        importPackage(sandbox, prompts, packageDocument({packageEntry(d, {1})}));
    }
    DCP* known = catalogued(d);
    QVERIFY(known);
    Asset* sound = known->getAsset(sound1);
    QVERIFY(sound);

    ScriptedPrompts prompts;
    TestSandbox::import(sandbox.writePackage(packageDocument({packageEntry(d, {1, 2})})), key);
    QCOMPARE(reelNumbers(known), (QList<unsigned>{1, 2}));
    Reel* first = known->getReels().first();
    Reel* second = known->getReels().last();
    QVERIFY(second->getAssets().contains(sound));
    QCOMPARE(sound->getReels(), (QList<Reel*>{first, second}));
    QCOMPARE(known->getAsset(sound1), sound);
    QCOMPARE(DCPManager::getInstance()->getAsset(sound1, d.cplUuid), sound);
    for (Asset* a : second->getAssets())
        QCOMPARE(known->getAsset(a->getUuid()), a);

    QSqlQuery q(DatabaseManager::getInstance()->db);
    QVERIFY(q.exec(QStringLiteral("SELECT COUNT(*) FROM dcp_reel_asset WHERE reel_uuid = '%1' AND "
                                  "asset_uuid = '%2'")
                       .arg(second->getUuid(), sound1)));
    QVERIFY(q.next());
    QCOMPARE(q.value(0).toInt(), 1);
    QCOMPARE(TestSandbox::rowCount(QStringLiteral("asset WHERE uuid = '%1'").arg(sound1)), 1);
    QVERIFY(catalogueIsClosed());
}

// The package's copy of a catalogued reel now plays a file the catalogue does not know,
// which a new reel plays too: only the new reel gets the file, in memory and in the store.
void TestImportFlow::mergeLeavesCataloguedReelsAlone()
{
    TestSandbox sandbox;
    DcpDescription d = sampleDcp(sampleOptions(25, 2));
    const QString sound2 = d.find(DcpAssetInfo::Sound, 2).uuid;
    {
        ScriptedPrompts prompts;
        importPackage(sandbox, prompts, packageDocument({packageEntry(d, {1})}));
    }
    DCP* known = catalogued(d);
    QVERIFY(known);
    Reel* first = known->getReels().first();
    const QList<Asset*> firstAssets = first->getAssets();

    replaceIn(d.cpl, d.find(DcpAssetInfo::Sound, 1).uuid, sound2);
    ScriptedPrompts prompts;
    TestSandbox::import(sandbox.writePackage(packageDocument({packageEntry(d, {1, 2})})), key);

    QCOMPARE(reelNumbers(known), (QList<unsigned>{1, 2}));
    QCOMPARE(known->getReels().first(), first);
    QCOMPARE(first->getAssets(), firstAssets);
    Asset* sound = known->getAsset(sound2);
    QVERIFY(sound);
    QCOMPARE(sound->getReels(), QList<Reel*>{known->getReels().last()});
    QCOMPARE(TestSandbox::rowCount(QStringLiteral("dcp_reel_asset WHERE asset_uuid = '%1'").arg(sound2)), 1);
    QCOMPARE(TestSandbox::rowCount(QStringLiteral("dcp_reel_asset WHERE reel_uuid = '%1'").arg(first->getUuid())),
             firstAssets.size());
    QVERIFY(catalogueIsClosed());
}

void TestImportFlow::mixedPackageMergesIntoOwnFolder()
{
    TestSandbox sandbox;
    const DcpDescription a = sampleDcp(sampleOptions(21, 2));
    const DcpDescription b = sampleDcp(sampleOptions(22, 1));
    {
        ScriptedPrompts prompts;
        importPackage(sandbox, prompts, packageDocument({packageEntry(a, {1})}));
    }
    const QString other = sandbox.root() + QStringLiteral("/other");
    QDir().mkpath(other);
    ScriptedPrompts prompts;
    importPackage(sandbox, prompts, packageDocument({packageEntry(a, {2}), packageEntry(b, {1})}), {}, other);

    QCOMPARE(prompts.count(), 2); // folder dialog for b, merge box for a
    QCOMPARE(prompts.asked().first().kind, PromptRequest::Directory);
    QCOMPARE(catalogued(a)->getDownloadPath(), sandbox.downloads());
    QCOMPARE(catalogued(a)->getReels().size(), 2);
    QCOMPARE(catalogued(b)->getDownloadPath(), other);
    QVERIFY(!QFileInfo::exists(other + QLatin1Char('/') + a.title));
    QVERIFY(QFileInfo::exists(other + QLatin1Char('/') + b.title + QStringLiteral("/ASSETMAP")));
}

void TestImportFlow::conflictingFiles_data()
{
    QTest::addColumn<int>("answer");
    QTest::newRow("declined") << int(Prompt::No);
    QTest::newRow("accepted") << int(Prompt::Yes);
}

void TestImportFlow::conflictingFiles()
{
    QFETCH(int, answer);
    TestSandbox sandbox;
    const DcpDescription d = sampleDcp(sampleOptions(30));
    const QString folder = sandbox.downloads() + QLatin1Char('/') + d.title;
    const QStringList files{folder + QStringLiteral("/.picture_r1.mxf"),
                            folder + QStringLiteral("/picture_r1.mxf"),
                            folder + QStringLiteral("/sound_r1.mxf")};
    for (const QString& f : files)
        QVERIFY(touch(f));

    ScriptedPrompts prompts;
    importPackage(sandbox, prompts, packageDocument({packageEntry(d, {1})}),
                  {Prompt::StandardButton(answer)});

    const PromptRequest box = prompts.last();
    QCOMPARE(box.icon, Prompt::Warning);
    QCOMPARE(box.text, QStringLiteral("Remove conflicting files?"));
    QCOMPARE(box.informativeText, QStringLiteral("The following files will be removed...\r\n"
                                                 "\r\n   1. .picture_r1.mxf\r\n   2. picture_r1.mxf"
                                                 "\r\n   3. sound_r1.mxf"));
    QCOMPARE(box.buttons, Prompt::Yes | Prompt::No);
    QCOMPARE(box.defaultButton, Prompt::No);

    const bool accepted = answer == Prompt::Yes;
    for (const QString& f : files)
        QCOMPARE(QFileInfo::exists(f), !accepted);
    // Declining keeps the folder and its XML files but stores nothing.
    QCOMPARE(readFile(folder + QLatin1Char('/') + d.cplFileName), d.cpl);
    QCOMPARE(readFile(folder + QStringLiteral("/VOLINDEX")), d.volIndex);
    QCOMPARE(catalogued(d) != nullptr, accepted);
    QCOMPARE(TestSandbox::rowCount(QStringLiteral("dcp")), accepted ? 1 : 0);
    QCOMPARE(TestSandbox::rowCount(QStringLiteral("asset")), accepted ? 2 : 0);
    QCOMPARE(sandbox.engineNotifications, accepted ? 1 : 0);
}

void TestImportFlow::xmlFilesByteForByteAndNeverOverwritten()
{
    TestSandbox sandbox;
    const DcpDescription d = sampleDcp(sampleOptions(31, 1, QStringLiteral("Film Ü – 日本語 «1»")));
    QVERIFY(d.cpl.contains("Film \xc3\x9c"));
    const QString folder = sandbox.downloads() + QLatin1Char('/') + d.title;
    QVERIFY(touch(folder + QStringLiteral("/VOLINDEX"), "kept as it was"));

    ScriptedPrompts prompts;
    importPackage(sandbox, prompts, packageDocument({packageEntry(d, {1})}));
    QVERIFY(catalogued(d));
    QCOMPARE(readFile(folder + QLatin1Char('/') + d.cplFileName), d.cpl);
    QCOMPARE(readFile(folder + QStringLiteral("/VOLINDEX")), QByteArray("kept as it was"));
}

// A document cut short by a failing write is taken away again; otherwise it would be
// kept for good, since XML files already present are never rewritten.
void TestImportFlow::partialXmlFileIsNotLeftBehind()
{
    TestSandbox sandbox;
    const DcpDescription d = sampleDcp(sampleOptions(32));
    const QString path = sandbox.writePackage(packageDocument({packageEntry(d, {1})}));
    const QString cpl = sandbox.downloads() + QLatin1Char('/') + d.title + QLatin1Char('/') + d.cplFileName;
    DCPManager::getInstance(); // the store exists before the file-size limit comes

    rlimit previous{};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &previous), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = previous;
    small.rlim_cur = 100;
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
    {
        ScriptedPrompts prompts;
        prompts.answerPath(sandbox.downloads());
        TestSandbox::import(path, key);
    }
    setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, oldHandler);

    QVERIFY(!QFileInfo::exists(cpl));
    QVERIFY(!catalogued(d));
    QCOMPARE(TestSandbox::rowCount(QStringLiteral("dcp")), 0);

    ScriptedPrompts prompts;
    prompts.answerPath(sandbox.downloads());
    TestSandbox::import(path, key);
    QCOMPARE(readFile(cpl), d.cpl);
    QVERIFY(catalogued(d));
}

void TestImportFlow::fatDrive_data()
{
    QTest::addColumn<QByteArray>("fileSystem");
    QTest::addColumn<quint64>("size");
    QTest::addColumn<bool>("refused");
    QTest::newRow("vfat, 4 GiB") << QByteArray("vfat") << k4GiB << true;
    QTest::newRow("msdos, 4 GiB") << QByteArray("msdos") << k4GiB << true;
    QTest::newRow("FAT, 5 GiB") << QByteArray("FAT") << k4GiB + k4GiB / 4 << true;
    QTest::newRow("vfat, 4 GiB less a byte") << QByteArray("vfat") << k4GiB - 1 << false;
    QTest::newRow("exfat, 4 GiB") << QByteArray("exfat") << k4GiB << false;
    QTest::newRow("ext4, 4 GiB") << QByteArray("ext4") << k4GiB << false;
}

void TestImportFlow::fatDrive()
{
    QFETCH(QByteArray, fileSystem);
    QFETCH(quint64, size);
    QFETCH(bool, refused);
    TestSandbox sandbox;
    QString probed;
    VolumeInfo::setFileSystemTypeOverride([&](const QString& path) {
        probed = path;
        return fileSystem;
    });
    DcpDescription d = sampleDcp(sampleOptions(40, 2));
    setPklSize(d, QStringLiteral("picture_r2.mxf"), size);
    const QString path = sandbox.writePackage(packageDocument({packageEntry(d, {1, 2})}));
    const auto before = sandbox.snapshot();

    ScriptedPrompts prompts;
    prompts.answerPath(sandbox.downloads());
    TestSandbox::import(path, key);

    QCOMPARE(probed, sandbox.downloads());
    QCOMPARE(prompts.texts().contains(kFatText), refused);
    QCOMPARE(catalogued(d) == nullptr, refused);
    if (refused) {
        const PromptRequest box = prompts.last();
        QCOMPARE(box.icon, Prompt::Warning);
        QCOMPARE(box.informativeText,
                 QStringLiteral(
                     "The drive uses the FAT32 file system, which cannot store files of 4 GB or more, "
                     "and this DCP contains such files.\r\n\r\nPlease choose a drive formatted as ext2, "
                     "ext3, exFAT or NTFS."));
        QCOMPARE(box.buttons, Prompt::StandardButtons(Prompt::Ok));
        QCOMPARE(sandbox.snapshot(), before);
        QCOMPARE(TestSandbox::rowCount(QStringLiteral("dcp")), 0);
    }
}

void TestImportFlow::fatDriveStopsAfterEarlierEntries()
{
    TestSandbox sandbox;
    VolumeInfo::setFileSystemTypeOverride([](const QString&) { return QByteArray("vfat"); });
    const DcpDescription small = sampleDcp(sampleOptions(41));
    DcpDescription big = sampleDcp(sampleOptions(42));
    setPklSize(big, QStringLiteral("sound_r1.mxf"), k4GiB);
    const DcpDescription after = sampleDcp(sampleOptions(43));

    ScriptedPrompts prompts;
    importPackage(
        sandbox, prompts,
        packageDocument({packageEntry(small, {1}), packageEntry(big, {1}), packageEntry(after, {1})}));
    QCOMPARE(prompts.texts(), QStringList{kFatText});
    QVERIFY(catalogued(small));
    QVERIFY(!catalogued(big));
    QVERIFY(!catalogued(after));
    QVERIFY(!QFileInfo::exists(sandbox.downloads() + QLatin1Char('/') + big.title));
}

void TestImportFlow::fatDriveRefusesMergeOfLargeReel()
{
    TestSandbox sandbox;
    VolumeInfo::setFileSystemTypeOverride([](const QString&) { return QByteArray("vfat"); });
    DcpDescription d = sampleDcp(sampleOptions(44, 2));
    setPklSize(d, QStringLiteral("picture_r2.mxf"), k4GiB);
    {
        ScriptedPrompts prompts;
        importPackage(sandbox, prompts, packageDocument({packageEntry(d, {1})})); // small reel: fine
    }
    QVERIFY(catalogued(d));

    ScriptedPrompts prompts;
    TestSandbox::import(sandbox.writePackage(packageDocument({packageEntry(d, {1, 2})})), key);
    QCOMPARE(prompts.texts().last(), kFatText);
    QCOMPARE(reelNumbers(catalogued(d)), QList<unsigned>{1});
    QCOMPARE(TestSandbox::rowCount(QStringLiteral("reel")), 1);
    QCOMPARE(sandbox.engineNotifications, 1);
}

// The same check against a real FAT file system, where the machine lets a test mount one.
void TestImportFlow::fatDriveOnRealVfatImage()
{
    VolumeInfo::setFileSystemTypeOverride(nullptr);
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

    TestSandbox sandbox;
    DcpDescription d = sampleDcp(sampleOptions(45));
    setPklSize(d, QStringLiteral("picture_r1.mxf"), k4GiB);
    ScriptedPrompts prompts;
    importPackage(sandbox, prompts, packageDocument({packageEntry(d, {1})}), {}, mountPoint);
    QCOMPARE(prompts.texts().last(), kFatText);
    QVERIFY(!catalogued(d));
    QVERIFY(QDir(mountPoint).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty());
}

namespace {
// Makes every new link row fail, as a full disk or a damaged store would.
void failLinkInserts(bool on)
{
    QSqlQuery q(DatabaseManager::getInstance()->db);
    if (on)
        QVERIFY(q.exec(QStringLiteral("CREATE TRIGGER orv_test_fail BEFORE INSERT ON dcp_reel_asset "
                                      "BEGIN SELECT RAISE(ABORT, 'refused by test'); END;")));
    else
        QVERIFY(q.exec(QStringLiteral("DROP TRIGGER orv_test_fail")));
}
} // namespace

// A store failure while writing a new DCP leaves no rows and no catalogue entries
// behind, so importing the package again stores everything.
void TestImportFlow::failedNewDcpWriteCanBeRetried()
{
    TestSandbox sandbox;
    const DcpDescription d = sampleDcp(sampleOptions(50, 2));
    const QString path = sandbox.writePackage(packageDocument({packageEntry(d, {1, 2})}));
    DCPManager::getInstance();
    failLinkInserts(true);
    {
        ScriptedPrompts prompts;
        prompts.answerPath(sandbox.downloads());
        QVERIFY_EXCEPTION_THROWN(TestSandbox::import(path, key), std::runtime_error);
    }
    failLinkInserts(false);
    QVERIFY(!catalogued(d));
    QVERIFY(!DCPManager::getInstance()->getAsset(d.find(DcpAssetInfo::Picture, 1).uuid, d.cplUuid));
    QCOMPARE(TestSandbox::rowCount(QStringLiteral("asset")), 0);

    ScriptedPrompts prompts;
    prompts.answerPath(sandbox.downloads());
    TestSandbox::import(path, key);
    QVERIFY(catalogued(d));
    QCOMPARE(TestSandbox::rowCount(QStringLiteral("asset")), 4);
    QCOMPARE(TestSandbox::rowCount(QStringLiteral("dcp_reel_asset")), 4);
}

void TestImportFlow::failedMergeRollsBack()
{
    TestSandbox sandbox;
    const DcpDescription d = sampleDcp(sampleOptions(51, 2));
    {
        ScriptedPrompts prompts;
        importPackage(sandbox, prompts, packageDocument({packageEntry(d, {1})}));
    }
    DCP* known = catalogued(d);
    QVERIFY(known);
    failLinkInserts(true);
    {
        ScriptedPrompts prompts;
        QVERIFY_EXCEPTION_THROWN(
            TestSandbox::import(sandbox.writePackage(packageDocument({packageEntry(d, {1, 2})})), key),
            std::runtime_error);
    }
    failLinkInserts(false);
    QCOMPARE(reelNumbers(known), QList<unsigned>{1});
    QCOMPARE(known->getAssets().size(), 2);
    QVERIFY(!DCPManager::getInstance()->getAsset(d.find(DcpAssetInfo::Picture, 2).uuid, d.cplUuid));
    QCOMPARE(TestSandbox::rowCount(QStringLiteral("reel")), 1);
    QCOMPARE(TestSandbox::rowCount(QStringLiteral("asset")), 2);
    QCOMPARE(sandbox.engineNotifications, 1);

    ScriptedPrompts prompts;
    TestSandbox::import(sandbox.writePackage(packageDocument({packageEntry(d, {1, 2})})), key);
    QCOMPARE(reelNumbers(known), (QList<unsigned>{1, 2}));
    QCOMPARE(TestSandbox::rowCount(QStringLiteral("dcp_reel_asset")), 4);
}

QTEST_MAIN(TestImportFlow)
#include "tst_import_flow.moc"
