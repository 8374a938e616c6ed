#include "DcpFolder.h"
#include "SampleDcp.h"
#include "SizeText.h"
#include "import/AssetMap.h"
#include "import/CompositionPlaylist.h"
#include "import/Crypto.h"
#include "import/PackagePathRules.h"
#include "import/PackingList.h"
#include "import/SafeXml.h"

#include <QCryptographicHash>
#include <QDomDocument>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class TestImportUnits : public QObject
{
    Q_OBJECT

private slots:
    void cfb8MatchesPublishedVector();
    void decrypt_data();
    void decrypt();

    void pathRules_data();
    void pathRules();
    void xmlRefusesEntityDeclarations_data();
    void xmlRefusesEntityDeclarations();
    void documentValues();

    void sizeText_data();
    void sizeText();
    void sampleDcpGenerator();
};

// AES-256 CFB-8 from NIST SP 800-38A, F.3.17 (first 18 bytes).
void TestImportUnits::cfb8MatchesPublishedVector()
{
    const QByteArray key =
        QByteArray::fromHex("603deb1015ca71be2b73aef0857d77811f352c073b6108d72d9810a30914dff4");
    const QByteArray iv = QByteArray::fromHex("000102030405060708090a0b0c0d0e0f");
    const QByteArray plain = QByteArray::fromHex("6bc1bee22e409f96e93d7e117393172aae2d");
    const QByteArray cipher = QByteArray::fromHex("dc1f1a8520a64db55fcc8ac554844e889700");

    QCOMPARE(Crypto::encryptAES(key, iv, plain).toHex(), cipher.toHex());
    // The package layout: the initialisation vector as prefix, the decoder drops it.
    QCOMPARE(Crypto::decryptAES(key, iv + cipher).toHex(), plain.toHex());
}

void TestImportUnits::decrypt_data()
{
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QByteArray>("plain");
    const QByteArray key(32, 'k');
    const QByteArray json = QByteArrayLiteral("{\"version\":20170613,\"dcps\":[]}");
    const QByteArray prefix = QByteArrayLiteral("any sixteen byte");
    const QByteArray file = prefix + Crypto::encryptAES(key, prefix, json);

    QTest::newRow("prefix as IV") << key << file << json;
    // Producer form: 16 arbitrary bytes in front of the text, all encrypted under another IV.
    QTest::newRow("prefix encrypted with the text")
        << key << Crypto::encryptAES(key, QByteArray(16, '\x5a'), prefix + json) << json;
    QTest::newRow("one byte after the prefix")
        << key << prefix + Crypto::encryptAES(key, prefix, "{") << QByteArray("{");
    QTest::newRow("16 bytes of data") << key << prefix << QByteArray();
    QTest::newRow("empty data") << key << QByteArray() << QByteArray();
    QTest::newRow("31-byte key") << key.left(31) << file << QByteArray();
    QTest::newRow("empty key") << QByteArray() << file << QByteArray();
}

void TestImportUnits::decrypt()
{
    QFETCH(QByteArray, key);
    QFETCH(QByteArray, file);
    QFETCH(QByteArray, plain);
    // The decoder draws a fresh random IV every call; the text must come out each time.
    for (int i = 0; i < 3; ++i)
        QCOMPARE(Crypto::decryptAES(key, file), plain);
}

void TestImportUnits::pathRules_data()
{
    QTest::addColumn<int>("rule"); // 0 plain name, 1 relative path, 2 download address
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("accepted");

    QTest::newRow("name") << 0 << "picture_r1.mxf" << true;
    QTest::newRow("name with blanks and accents") << 0 << "Film Ü – 1.xml" << true;
    QTest::newRow("name starting with dot") << 0 << ".hidden" << true;
    QTest::newRow("empty name") << 0 << "" << false;
    QTest::newRow("dot") << 0 << "." << false;
    QTest::newRow("dot dot") << 0 << ".." << false;
    QTest::newRow("slash") << 0 << "a/b" << false;
    QTest::newRow("backslash") << 0 << "a\\b" << false;
    QTest::newRow("NUL") << 0 << QString(QStringLiteral("a") + QChar(0) + QStringLiteral("b")) << false;

    QTest::newRow("bare file") << 1 << "font.ttf" << true;
    QTest::newRow("sub-folder") << 1 << "0a1b/font.ttf" << true;
    QTest::newRow("dots inside a name") << 1 << "a..b/c..d" << true;
    QTest::newRow("absolute") << 1 << "/etc/passwd" << false;
    QTest::newRow("parent") << 1 << "../x" << false;
    QTest::newRow("parent in the middle") << 1 << "a/../../x" << false;
    QTest::newRow("parent with backslashes") << 1 << "a\\..\\x" << false;
    QTest::newRow("drive letter") << 1 << "C:/x" << false;
    QTest::newRow("NUL in path") << 1 << QString(QStringLiteral("a") + QChar(0)) << false;

    QTest::newRow("http") << 2 << "http://127.0.0.1:8080/a/b.mxf" << true;
    QTest::newRow("https") << 2 << "https://cdn.example/a.mxf?sig=1" << true;
    QTest::newRow("blanks and accents unencoded") << 2 << "http://127.0.0.1/End to end Ü/a.mxf" << true;
    QTest::newRow("upper-case scheme") << 2 << "HTTPS://cdn.example/a.mxf" << true;
    QTest::newRow("file") << 2 << "file:///etc/passwd" << false;
    QTest::newRow("ftp") << 2 << "ftp://host/a.mxf" << false;
    QTest::newRow("no scheme") << 2 << "host/a.mxf" << false;
    QTest::newRow("no host") << 2 << "http:///a.mxf" << false;
    QTest::newRow("empty address") << 2 << "" << false;
}

void TestImportUnits::pathRules()
{
    QFETCH(int, rule);
    QFETCH(QString, text);
    QFETCH(bool, accepted);
    switch (rule) {
    case 0:
        QCOMPARE(PackagePathRules::isPlainName(text), accepted);
        break;
    case 1:
        QCOMPARE(PackagePathRules::isRelativeInside(text), accepted);
        break;
    default:
        QCOMPARE(PackagePathRules::isDownloadAddress(text), accepted);
        break;
    }
}

void TestImportUnits::xmlRefusesEntityDeclarations_data()
{
    QTest::addColumn<QString>("xml");
    QTest::addColumn<bool>("accepted");

    QString bomb = QStringLiteral("<?xml version=\"1.0\"?>\n<!DOCTYPE lolz [\n<!ENTITY lol \"lol\">\n");
    for (int i = 1; i < 10; ++i) {
        bomb += QStringLiteral("<!ENTITY lol%1 \"").arg(i);
        for (int j = 0; j < 10; ++j)
            bomb += i == 1 ? QStringLiteral("&lol;") : QStringLiteral("&lol%1;").arg(i - 1);
        bomb += QStringLiteral("\">\n");
    }
    bomb += QStringLiteral(
        "]>\n<CompositionPlaylist><AnnotationText>&lol9;</AnnotationText></CompositionPlaylist>");

    QTest::newRow("nested entities") << bomb << false;
    QTest::newRow("parameter entity")
        << "<!DOCTYPE a [<!ENTITY % p \"<!ENTITY x 'y'>\"> %p;]><a>&x;</a>" << false;
    QTest::newRow("doctype without entities") << "<!DOCTYPE a><a><b>1</b></a>" << true;
    QTest::newRow("plain document") << "<?xml version=\"1.0\"?><a xmlns:p=\"u\"><p:b/></a>" << true;
    QTest::newRow("not well-formed") << "<a><b></a>" << false;
    QTest::newRow("empty") << "" << false;
}

void TestImportUnits::xmlRefusesEntityDeclarations()
{
    QFETCH(QString, xml);
    QFETCH(bool, accepted);
    QDomDocument document;
    QString error;
    QElapsedTimer timer;
    timer.start();
    QCOMPARE(SafeXml::parse(xml, &document, &error), accepted);
    QVERIFY(timer.elapsed() < 2000);
    QCOMPARE(error.isEmpty(), accepted);
}

void TestImportUnits::documentValues()
{
    const AssetMap map = AssetMap::fromBytes(
        "<AssetMap><AssetList><Asset><Id>urn:uuid:a</Id><ChunkList><Chunk><Path>a.mxf</Path></Chunk>"
        "</ChunkList></Asset><Asset><Id>b</Id></Asset><Asset><Id>a</Id><ChunkList><Chunk><Path>b/a.ttf"
        "</Path></Chunk></ChunkList></Asset></AssetList></AssetMap>");
    QVERIFY(map.isValid());
    // Ids cleaned; the later entry for "a" replaces the earlier one.
    QCOMPARE(map.getChunkPaths().keys(), (QStringList{"a", "b"}));
    QCOMPARE(map.getChunkPaths().value("a"), QStringList{"b/a.ttf"});

    const CompositionPlaylist cpl = CompositionPlaylist::fromBytes(
        "<CompositionPlaylist><Id>urn:uuid:c</Id><AnnotationText>Film</AnnotationText><ReelList>"
        "<Reel><Id>urn:uuid:r1</Id><AssetList><MainPicture><Id>urn:uuid:p1</Id></MainPicture>"
        "<MainSound><Id>s1</Id></MainSound></AssetList></Reel>"
        "<Reel><Id>r2</Id><AssetList><msp-cpl:MainStereoscopicPicture><Id>p2</Id>"
        "</msp-cpl:MainStereoscopicPicture><MainSubtitle><Id>t2</Id></MainSubtitle></AssetList></Reel>"
        "<Reel><Id>r3</Id><AssetList><x:MainStereoscopicPicture><Id>p3</Id></x:MainStereoscopicPicture>"
        "</AssetList></Reel></ReelList></CompositionPlaylist>");
    QVERIFY(cpl.isValid());
    QCOMPARE(cpl.getUuid(), QStringLiteral("c"));
    QCOMPARE(cpl.getTitle(), QStringLiteral("Film"));
    QCOMPARE(cpl.getReels().size(), 3);
    const auto reel = [&cpl](int i) {
        const CompositionPlaylist::ReelEntry& r = cpl.getReels().at(i);
        return QStringList{r.uuid, r.pictureId, r.soundId, r.subtitleId, QString::number(r.number)};
    };
    QCOMPARE(reel(0), (QStringList{"r1", "p1", "s1", "", "1"}));
    QCOMPARE(reel(1), (QStringList{"r2", "p2", "", "t2", "2"}));
    QCOMPARE(reel(2), (QStringList{"r3", "", "", "", "3"})); // only the msp-cpl prefix is known

    const PackingList pkl = PackingList::fromBytes(
        "<PackingList><AssetList>"
        "<Asset><Id>urn:uuid:a</Id><Hash>h=</Hash><Size>12</Size><Type>t</Type>"
        "<OriginalFileName>a.mxf</OriginalFileName></Asset>"
        "<Asset><Id>b</Id><Hash>h</Hash><Size>12</Size><Type>t</Type></Asset>"
        "<Asset><Id>c</Id><Hash>h</Hash><Size>12 bytes</Size><Type>t</Type>"
        "<OriginalFileName>c.mxf</OriginalFileName></Asset></AssetList></PackingList>");
    QVERIFY(pkl.isValid());
    QCOMPARE(pkl.getAssets().size(), 2); // "b" lacks its file name
    const PackingList::AssetEntry& a = pkl.getAssets().first();
    QCOMPARE((QStringList{a.uuid, a.hash, a.type, a.originalFileName}),
             (QStringList{"a", "h=", "t", "a.mxf"}));
    QCOMPARE(a.size, Q_UINT64_C(12));
    QCOMPARE(pkl.getAssets().last().size, Q_UINT64_C(0));
}

void TestImportUnits::sizeText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<quint64>("bytes");
    QTest::newRow("digits") << "1234" << true << quint64(1234);
    QTest::newRow("K") << "4K" << true << quint64(4096);
    QTest::newRow("MB") << "10MB" << true << quint64(10485760);
    QTest::newRow("G lower case") << "4g" << true << Q_UINT64_C(4294967296);
    QTest::newRow("T") << "2T" << true << Q_UINT64_C(2199023255552);
    QTest::newRow("overflow") << "99999999999T" << false << quint64(0);
    QTest::newRow("suffix only") << "M" << false << quint64(0);
    QTest::newRow("negative") << "-1" << false << quint64(0);
    QTest::newRow("unknown suffix") << "5X" << false << quint64(0);
}

void TestImportUnits::sizeText()
{
    QFETCH(QString, text);
    QFETCH(bool, ok);
    QFETCH(quint64, bytes);
    quint64 value = 0;
    QCOMPARE(SizeText::parse(text, &value), ok);
    if (ok)
        QCOMPARE(value, bytes);
}

// The generator behind every test package: deterministic per seed, its files match the
// PKL, and reading its folder back gives the same description.
void TestImportUnits::sampleDcpGenerator()
{
    QTemporaryDir dir;
    SampleDcp::Options o;
    o.reels = 2;
    o.subtitles = true;
    o.pictureSize = 3 * 1024 * 1024 + 17; // more than one block, not a multiple of it
    o.soundSize = 0;
    o.title = QStringLiteral("Gen Ü");
    const QString folder = dir.path() + QStringLiteral("/Gen Ü");
    DcpDescription made, again, other;
    QVERIFY(SampleDcp::generate(o, folder, &made));
    QVERIFY(SampleDcp::generate(o, QString(), &again));
    o.seed = 2;
    QVERIFY(SampleDcp::generate(o, QString(), &other));
    QCOMPARE(again.cpl, made.cpl);
    QCOMPARE(again.pkl, made.pkl);
    QVERIFY(other.cplUuid != made.cplUuid);
    QVERIFY(other.find(DcpAssetInfo::Picture, 1).hash != made.find(DcpAssetInfo::Picture, 1).hash);

    for (const DcpAssetInfo& a : made.assets) {
        QFile file(folder + QLatin1Char('/') + a.path);
        QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(a.path));
        const QByteArray bytes = file.readAll();
        QCOMPARE(quint64(bytes.size()), a.size);
        if (a.kind != DcpAssetInfo::Pkl)
            QCOMPARE(
                QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha1).toBase64()),
                a.hash);
    }
    // Each font lies in the folder named after its reel's subtitle.
    for (int r = 1; r <= 2; ++r) {
        const DcpAssetInfo subtitle = made.find(DcpAssetInfo::Subtitle, r);
        QCOMPARE(made.find(DcpAssetInfo::Font, r).path, subtitle.uuid + QStringLiteral("/font.ttf"));
    }

    DcpDescription read;
    QString error;
    QVERIFY2(DcpFolder::read(folder, &read, &error), qPrintable(error));
    QCOMPARE((QStringList{read.title, read.cplUuid}), (QStringList{made.title, made.cplUuid}));
    QCOMPARE((QList<QByteArray>{read.cpl, read.pkl, read.assetMap}),
             (QList<QByteArray>{made.cpl, made.pkl, made.assetMap}));
    QCOMPARE(read.reelCount, 2);
    const auto describe = [](const QList<DcpAssetInfo>& assets) {
        QStringList out;
        for (const DcpAssetInfo& a : assets)
            out << QStringLiteral("%1 %2 %3 %4 %5")
                       .arg(a.uuid, a.path)
                       .arg(a.size)
                       .arg(a.reel)
                       .arg(int(a.kind));
        out.sort();
        return out;
    };
    QCOMPARE(describe(read.assets), describe(made.assets));
    QCOMPARE(read.sizeOfReels({2}), made.sizeOfReels({2}));
}

QTEST_GUILESS_MAIN(TestImportUnits)
#include "tst_import_units.moc"
