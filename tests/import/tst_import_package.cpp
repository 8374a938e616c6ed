// Reading a package file: path forms, decryption, the version gate, the user check and
// the error boxes that end an import.
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

#include <QProcess>
#include <QtTest>

#include <functional>

namespace {
const QString kRedownload = QStringLiteral("Would you like to redownload the file now?");
const QString kDecode =
    QStringLiteral("Could not decode the content of ORVDCP file. File might be damaged or its "
                   "content missing. Please redownload the file from OSKAN.");
const QString kMainData = QStringLiteral("Main data in the ORVDCP missing. File might be damaged. Please "
                                         "redownload the file from OSKAN.");
const QString kPortal = QStringLiteral("https://portal.test/");

struct PackageCase
{
    std::function<void(QJsonObject&)> editDocument;
    std::function<QByteArray(const QByteArray&)> editBytes;
    QByteArray readerKey = testKey();
};
} // namespace
Q_DECLARE_METATYPE(PackageCase)

class TestImportPackage : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void refusedPackages_data();
    void refusedPackages();
    void yesOpensTheLink_data();
    void yesOpensTheLink();
    void pathForms_data();
    void pathForms();
    void oversizedFileIsNotRead();
    void packageWithoutDcpsAsksNothing_data();
    void packageWithoutDcpsAsksNothing();
    void programsMakeAnImportablePackage();
};

void TestImportPackage::initTestCase()
{
    qputenv("ORV_PORTAL_URL", kPortal.toUtf8());
}

void TestImportPackage::refusedPackages_data()
{
    QTest::addColumn<PackageCase>("testCase");
    QTest::addColumn<QString>("question");
    QTest::addColumn<QString>("explanation");
    QTest::addColumn<QString>("link");

    const QString newer =
        QStringLiteral("Your software is out of date. Unfortunately an update is required in "
                       "order to load the DCP.");
    const QString older =
        QStringLiteral("Your ORVDCP file is out of date. Unfortunately an update is required in "
                       "order to load this DCP.");
    const QString update = QStringLiteral("Would you like to download new version?");

    auto bytes = [](std::function<QByteArray(const QByteArray&)> f) {
        PackageCase c;
        c.editBytes = std::move(f);
        return c;
    };
    auto doc = [](std::function<void(QJsonObject&)> f) {
        PackageCase c;
        c.editDocument = std::move(f);
        return c;
    };
    PackageCase wrongKey;
    wrongKey.readerKey = QByteArrayLiteral("fedcba9876543210fedcba9876543210");
    PackageCase shortKey;
    shortKey.readerKey = testKey().left(31);
    PackageCase keyCutAtNul;
    keyCutAtNul.readerKey = testKey().left(20) + QByteArray(1, '\0') + testKey().mid(21);

    QTest::newRow("wrong key") << wrongKey << kRedownload << kDecode << kPortal;
    QTest::newRow("31-byte key") << shortKey << kRedownload << kDecode << kPortal;
    QTest::newRow("key cut short by a NUL") << keyCutAtNul << kRedownload << kDecode << kPortal;
    QTest::newRow("truncated") << bytes([](const QByteArray& b) { return b.left(b.size() / 2); })
                               << kRedownload << kDecode << kPortal;
    QTest::newRow("16 bytes") << bytes([](const QByteArray& b) { return b.left(16); }) << kRedownload
                              << kDecode << kPortal;
    QTest::newRow("empty file") << bytes([](const QByteArray&) { return QByteArray(); }) << kRedownload
                                << kDecode << kPortal;
    QTest::newRow("garbage") << bytes([](const QByteArray& b) { return QByteArray(b.size(), '\x42'); })
                             << kRedownload << kDecode << kPortal;

    QTest::newRow("version 20170614") << doc([](QJsonObject& d) { d[QStringLiteral("version")] = 20170614; })
                                      << update << newer << kPortal + QStringLiteral("updates");
    QTest::newRow("version -1") << doc([](QJsonObject& d) { d[QStringLiteral("version")] = -1; }) << update
                                << newer << kPortal + QStringLiteral("updates");
    QTest::newRow("version 20170612") << doc([](QJsonObject& d) { d[QStringLiteral("version")] = 20170612; })
                                      << kRedownload << older << kPortal;
    QTest::newRow("version 0") << doc([](QJsonObject& d) { d[QStringLiteral("version")] = 0; }) << kRedownload
                               << older << kPortal;
    QTest::newRow("version missing") << doc([](QJsonObject& d) { d.remove(QStringLiteral("version")); })
                                     << kRedownload << older << kPortal;
    QTest::newRow("version as text") << doc([](QJsonObject& d) {
        d[QStringLiteral("version")] = QStringLiteral("20170613");
    }) << kRedownload << older << kPortal;

    QTest::newRow("user uuid of 35") << doc([](QJsonObject& d) {
        d[QStringLiteral("user_uuid")] = testUser().left(35);
    }) << kRedownload << kMainData << kPortal;
    QTest::newRow("user uuid of 37") << doc([](QJsonObject& d) {
        d[QStringLiteral("user_uuid")] = QString(testUser() + QLatin1Char('x'));
    }) << kRedownload << kMainData << kPortal;
    QTest::newRow("user uuid missing") << doc([](QJsonObject& d) { d.remove(QStringLiteral("user_uuid")); })
                                       << kRedownload << kMainData << kPortal;
}

// Each refusal: one Warning box, Yes/No with Yes as default, the question as text and the
// explanation below it; answering No opens nothing; nothing is written anywhere.
void TestImportPackage::refusedPackages()
{
    QFETCH(PackageCase, testCase);
    QFETCH(QString, question);
    QFETCH(QString, explanation);

    TestSandbox sandbox;
    UrlRecorder urls;
    QJsonObject document = packageDocument({packageEntry(sampleDcp(sampleOptions(1)), {1})});
    if (testCase.editDocument)
        testCase.editDocument(document);
    QByteArray bytes = PackageWriter::encrypt(testKey(), QJsonDocument(document).toJson());
    if (testCase.editBytes)
        bytes = testCase.editBytes(bytes);
    const QString path = sandbox.writePackage(bytes);
    const auto before = sandbox.snapshot();

    ScriptedPrompts prompts;
    prompts.answer(Prompt::No);
    TestSandbox::import(path, testCase.readerKey);

    QCOMPARE(prompts.count(), 1); // no folder dialog before the refusal
    const PromptRequest box = prompts.last();
    QCOMPARE(box.kind, PromptRequest::Message);
    QCOMPARE(box.icon, Prompt::Warning);
    QCOMPARE(box.text, question);
    QCOMPARE(box.informativeText, explanation);
    QCOMPARE(box.buttons, Prompt::Yes | Prompt::No);
    QCOMPARE(box.defaultButton, Prompt::Yes);
    QVERIFY(urls.opened.isEmpty());

    QCOMPARE(sandbox.snapshot(), before);
    QCOMPARE(TestSandbox::rowCount(QStringLiteral("dcp")), 0);
    QVERIFY(DCPManager::getInstance()->getDCPs().isEmpty());
}

void TestImportPackage::yesOpensTheLink_data()
{
    refusedPackages_data();
}

void TestImportPackage::yesOpensTheLink()
{
    QFETCH(PackageCase, testCase);
    QFETCH(QString, link);

    TestSandbox sandbox;
    UrlRecorder urls;
    QJsonObject document = packageDocument({packageEntry(sampleDcp(sampleOptions(1)), {1})});
    if (testCase.editDocument)
        testCase.editDocument(document);
    QByteArray bytes = PackageWriter::encrypt(testKey(), QJsonDocument(document).toJson());
    if (testCase.editBytes)
        bytes = testCase.editBytes(bytes);

    ScriptedPrompts prompts;
    prompts.answer(Prompt::Yes);
    TestSandbox::import(sandbox.writePackage(bytes), testCase.readerKey);
    QCOMPARE(urls.opened, QList<QUrl>{QUrl(link)});
}

void TestImportPackage::pathForms_data()
{
    QTest::addColumn<QString>("form");
    QTest::addColumn<bool>("opens");
    QTest::newRow("plain path") << "%1" << true;
    QTest::newRow("file URL") << "file://%1" << true;
    // cleanPath folds the dot segments before the scheme is looked at.
    QTest::newRow("file URL with dot segments") << "file://%2/sub/../p.orvdcp" << true;
    QTest::newRow("capital FILE URL") << "FILE://%1" << false;
    QTest::newRow("missing file") << "%1.missing" << false;
}

void TestImportPackage::pathForms()
{
    QFETCH(QString, form);
    QFETCH(bool, opens);

    TestSandbox sandbox;
    const QString path = sandbox.writePackage(packageDocument({}));
    const QString given =
        QString(form).replace(QLatin1String("%1"), path).replace(QLatin1String("%2"), sandbox.packages());

    ScriptedPrompts prompts;
    TestSandbox::import(given);
    if (opens) {
        QCOMPARE(prompts.count(), 0); // no DCPs in the package: nothing to ask
        return;
    }
    QCOMPARE(prompts.count(), 1);
    QCOMPARE(prompts.last().icon, Prompt::Warning);
    QCOMPARE(prompts.last().text, QStringLiteral("Could not open the ORVDCP file."));
    QCOMPARE(prompts.last().informativeText,
             QStringLiteral("Please check to see if you have read permission for the file."));
    QCOMPARE(prompts.last().buttons, Prompt::StandardButtons(Prompt::Ok));
}

// A file far larger than any package (say a picture track picked by mistake) gets the
// decode-failure box without being read into memory.
void TestImportPackage::oversizedFileIsNotRead()
{
    TestSandbox sandbox;
    const QString path = sandbox.packages() + QStringLiteral("/huge.orvdcp");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QVERIFY(file.resize(DCPXMLReader::MaxPackageFileSize + 1)); // sparse
    file.close();

    ScriptedPrompts prompts;
    prompts.answer(Prompt::No);
    TestSandbox::import(path);
    QCOMPARE(prompts.count(), 1);
    QCOMPARE(prompts.last().informativeText, kDecode);
}

void TestImportPackage::packageWithoutDcpsAsksNothing_data()
{
    QTest::addColumn<bool>("withArray");
    QTest::newRow("no dcps member") << false;
    QTest::newRow("empty dcps array") << true;
}

void TestImportPackage::packageWithoutDcpsAsksNothing()
{
    QFETCH(bool, withArray);
    TestSandbox sandbox;
    QJsonObject document = packageDocument({});
    if (!withArray)
        document.remove(QStringLiteral("dcps"));
    const QString path = sandbox.writePackage(document);
    const auto before = sandbox.snapshot();

    ScriptedPrompts prompts;
    TestSandbox::import(path);
    QCOMPARE(prompts.count(), 0);
    QCOMPARE(sandbox.snapshot(), before);
    QCOMPARE(sandbox.engineNotifications, 0);
}

// orv-makedcp and orv-makepackage as the demo uses them: a DCP folder on disk, a package
// of two of its reels behind a chosen prefix, imported with the same key.
void TestImportPackage::programsMakeAnImportablePackage()
{
    TestSandbox sandbox;
    const QString source = sandbox.root() + QStringLiteral("/source");
    auto run = [](const QString& program, const QStringList& arguments) {
        QProcess p;
        p.start(program, arguments);
        return p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    };
    for (const char* program : {ORV_MAKEDCP_PROGRAM, ORV_MAKEPACKAGE_PROGRAM}) {
        QProcess help;
        help.start(QString::fromLocal8Bit(program), {QStringLiteral("--help")});
        QVERIFY(help.waitForFinished(30000));
        QVERIFY(help.readAllStandardOutput().contains("Usage:"));
    }
    QVERIFY(run(QStringLiteral(ORV_MAKEDCP_PROGRAM),
                {QStringLiteral("--reels"), QStringLiteral("3"), QStringLiteral("--subtitles"),
                 QStringLiteral("--title"), QStringLiteral("Made Ü"), QStringLiteral("--picture-size"),
                 QStringLiteral("2K"), source}));
    const QString package = sandbox.packages() + QStringLiteral("/made.orvdcp");
    QVERIFY(run(QStringLiteral(ORV_MAKEPACKAGE_PROGRAM),
                {QStringLiteral("--dcp"), source + QStringLiteral("/Made Ü"), QStringLiteral("--output"),
                 package, QStringLiteral("--key"), QString::fromLatin1(testKey()),
                 QStringLiteral("--user-uuid"), testUser(), QStringLiteral("--reels"), QStringLiteral("2,3"),
                 QStringLiteral("--campaign-id"), QStringLiteral("9"), QStringLiteral("--prefix"),
                 QStringLiteral("000102030405060708090a0b0c0d0e0f")}));
    QFile file(package);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.read(16).toHex(), QByteArray("000102030405060708090a0b0c0d0e0f"));
    file.close();

    VolumeInfo::setAvailableBytesOverride([](const QString&) { return Q_INT64_C(1) << 50; });
    ScriptedPrompts prompts;
    prompts.answerPath(sandbox.downloads());
    TestSandbox::import(package);
    QCOMPARE(prompts.count(), 1);
    QCOMPARE(DCPManager::getInstance()->getDCPs().size(), 1);
    const DCP* dcp = DCPManager::getInstance()->getDCPs().first();
    QCOMPARE(dcp->getTitle(), QStringLiteral("Made Ü"));
    QCOMPARE(dcp->getCampaignDCPId(), 9ULL);
    QCOMPARE(dcp->getReels().size(), 2);
    QCOMPARE(dcp->getAssets().size(), 8);
    for (const Asset* a : dcp->getAssets())
        QVERIFY2(a->getDownloadUrl().startsWith(QStringLiteral("http://127.0.0.1:8080/Made%20%C3%9C/")),
                 qPrintable(a->getDownloadUrl()));
}

QTEST_MAIN(TestImportPackage)
#include "tst_import_package.moc"
