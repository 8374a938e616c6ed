// Reading a package file: path forms, decryption, the version gate, the user check and
// the error boxes that end an import.
#include "ScriptedPrompts.h"
#include "TestPackages.h"
#include "TestSandbox.h"
#include "import/DCPXMLReader.h"
#include "import/VolumeInfo.h"
#include "model/Asset.h"
#include "model/DCP.h"
#include "model/DCPManager.h"

#include <QJsonDocument>
#include <QProcess>
#include <QtTest>

namespace {
const QString kRedownload = QStringLiteral("Would you like to redownload the file now?");
const QString kDecode =
    QStringLiteral("Could not decode the content of ORVDCP file. File might be damaged or its "
                   "content missing. Please redownload the file from OSKAN.");
const QString kMainData = QStringLiteral("Main data in the ORVDCP missing. File might be damaged. Please "
                                         "redownload the file from OSKAN.");
const QString kPortal = QStringLiteral("https://portal.test/");
} // namespace

class TestImportPackage : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void refusedPackages_data();
    void refusedPackages();
    void pathForms_data();
    void pathForms();
    void oversizedFileIsNotRead();
    void programsMakeAnImportablePackage();
};

void TestImportPackage::initTestCase()
{
    qputenv("ORV_PORTAL_URL", kPortal.toUtf8());
}

void TestImportPackage::refusedPackages_data()
{
    QTest::addColumn<QByteArray>("key"); // the reader's
    QTest::addColumn<int>("keep");       // bytes of the file kept; -1 all
    QTest::addColumn<QString>("member"); // of the document, set to value (removed when undefined)
    QTest::addColumn<QJsonValue>("value");
    QTest::addColumn<QString>("question");
    QTest::addColumn<QString>("explanation");
    QTest::addColumn<QString>("link");

    const QString newer =
        QStringLiteral("Your software is out of date. Unfortunately an update is required in "
                       "order to load the DCP.");
    const QString older =
        QStringLiteral("Your ORVDCP file is out of date. Unfortunately an update is required "
                       "in order to load this DCP.");
    const QString update = QStringLiteral("Would you like to download new version?");
    const QString updates = kPortal + QStringLiteral("updates");
    auto decode = [](const char* name, const QByteArray& key, int keep) {
        QTest::newRow(name) << key << keep << QString() << QJsonValue() << kRedownload << kDecode << kPortal;
    };
    auto member = [](const char* name, const char* key, const QJsonValue& value, const QString& question,
                     const QString& explanation, const QString& link) {
        QTest::newRow(name) << testKey() << -1 << QString::fromLatin1(key) << value << question << explanation
                            << link;
    };

    decode("wrong key", QByteArrayLiteral("fedcba9876543210fedcba9876543210"), -1);
    decode("31-byte key", testKey().left(31), -1);
    decode("truncated", testKey(), 200);
    decode("16 bytes", testKey(), 16);
    member("version 20170614", "version", 20170614, update, newer, updates);
    member("version -1", "version", -1, update, newer, updates);
    member("version 20170612", "version", 20170612, kRedownload, older, kPortal);
    member("version missing", "version", QJsonValue::Undefined, kRedownload, older, kPortal);
    member("version as text", "version", QStringLiteral("20170613"), kRedownload, older, kPortal);
    member("user uuid of 35", "user_uuid", testUser().left(35), kRedownload, kMainData, kPortal);
    member("user uuid of 37", "user_uuid", QString(testUser() + QLatin1Char('x')), kRedownload, kMainData,
           kPortal);
}

// Each refusal: one Warning box, Yes/No with Yes as default, the question as text and the
// explanation below it; answering No opens nothing and nothing is written anywhere;
// answering Yes opens the link.
void TestImportPackage::refusedPackages()
{
    QFETCH(QByteArray, key);
    QFETCH(int, keep);
    QFETCH(QString, member);
    QFETCH(QJsonValue, value);
    QFETCH(QString, question);
    QFETCH(QString, explanation);
    QFETCH(QString, link);

    TestSandbox sandbox;
    UrlRecorder urls;
    QJsonObject document = packageDocument({packageEntry(sampleDcp(sampleOptions(1)), {1})});
    if (!member.isEmpty() && value.isUndefined())
        document.remove(member);
    else if (!member.isEmpty())
        document[member] = value;
    QByteArray bytes = encryptPackage(QJsonDocument(document).toJson());
    if (keep >= 0)
        bytes.truncate(keep);
    const QString path = sandbox.writePackage(bytes);
    const auto before = sandbox.snapshot();

    ScriptedPrompts prompts;
    prompts.answer(Prompt::No);
    sandbox.import(path, key);

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
    QVERIFY(sandbox.catalogue()->getDCPs().isEmpty());

    prompts.answer(Prompt::Yes);
    sandbox.import(path, key);
    QCOMPARE(urls.opened, QList<QUrl>{QUrl(link)});
}

void TestImportPackage::pathForms_data()
{
    QTest::addColumn<QString>("form");
    QTest::addColumn<bool>("withDcps"); // an empty "dcps" array, or no such member
    QTest::addColumn<bool>("opens");
    QTest::newRow("plain path") << "%1" << true << true;
    QTest::newRow("plain path, no dcps member") << "%1" << false << true;
    QTest::newRow("file URL") << "file://%1" << true << true;
    // cleanPath folds the dot segments before the scheme is looked at.
    QTest::newRow("file URL with dot segments") << "file://%2/sub/../p.orvdcp" << true << true;
    QTest::newRow("capital FILE URL") << "FILE://%1" << true << false;
    QTest::newRow("missing file") << "%1.missing" << true << false;
}

// A package without DCPs opens, asks nothing and changes nothing; one that cannot be
// opened gets the OK box.
void TestImportPackage::pathForms()
{
    QFETCH(QString, form);
    QFETCH(bool, withDcps);
    QFETCH(bool, opens);

    TestSandbox sandbox;
    QJsonObject document = packageDocument({});
    if (!withDcps)
        document.remove(QStringLiteral("dcps"));
    const QString path = sandbox.writePackage(document);
    const QString given =
        QString(form).replace(QLatin1String("%1"), path).replace(QLatin1String("%2"), sandbox.packages());
    const auto before = sandbox.snapshot();

    ScriptedPrompts prompts;
    sandbox.import(given);
    QCOMPARE(sandbox.snapshot(), before);
    QCOMPARE(sandbox.engineNotifications, 0);
    if (opens) {
        QCOMPARE(prompts.count(), 0);
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
    sandbox.import(path);
    QCOMPARE(prompts.count(), 1);
    QCOMPARE(prompts.last().informativeText, kDecode);
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

    sandbox.volumes().setAvailableBytesOverride([](const QString&) { return Q_INT64_C(1) << 50; });
    ScriptedPrompts prompts;
    prompts.answerPath(sandbox.downloads());
    sandbox.import(package);
    QCOMPARE(prompts.count(), 1);
    QCOMPARE(sandbox.catalogue()->getDCPs().size(), 1);
    const DCP* dcp = sandbox.catalogue()->getDCPs().first();
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
