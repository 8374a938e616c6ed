// "Check drive" reads a good DCP folder back, then the folder broken one way at a time: each
// row names the exact problem the user is shown. (The details page's flow is in
// tests/app/tst_drivecheck_screens.cpp.)
#include "SampleDcp.h"
#include "TestSandbox.h"
#include "download/DcpIngestCheck.h"

#include <QFile>
#include <QRegularExpression>
#include <QtTest>

class TestDownloadDriveCheck : public QObject
{
    Q_OBJECT

private slots:
    void problems_data();
    void problems();
};

void TestDownloadDriveCheck::problems_data()
{
    QTest::addColumn<QString>("breakage");  // "<what> <file>"
    QTest::addColumn<QStringList>("found"); // exact texts; a trailing "*" matches a prefix
    QTest::addColumn<int>("corrupted");     // files offered for a new download
    QTest::newRow("good") << "" << QStringList() << 0;
    QTest::newRow("byte flipped")
        << "flip picture_r2.mxf"
        << QStringList{"picture_r2.mxf is corrupted: its SHA-1 differs from the PKL."} << 1;
    QTest::newRow("cut short") << "cut sound_r1.mxf"
                               << QStringList{"sound_r1.mxf holds 69999 bytes, the PKL says 70000 bytes."}
                               << 1;
    QTest::newRow("missing")
        << "remove sound_r1.mxf"
        << QStringList{"sound_r1.mxf is listed in the ASSETMAP but missing from the drive."} << 0;
    QTest::newRow("hidden file left")
        << "add .picture_r1.mxf.part" << QStringList{"A hidden file is left: .picture_r1.mxf.part"} << 0;
    QTest::newRow("ASSETMAP not XML") << "garble ASSETMAP" << QStringList{"ASSETMAP cannot be read: *"} << 0;
    QTest::newRow("VOLINDEX missing") << "remove VOLINDEX" << QStringList{"VOLINDEX is missing."} << 0;
    QTest::newRow("PKL not XML")
        << "garble PKL" << QStringList{"The PKL listed in the ASSETMAP is missing or cannot be read."} << 0;
    QTest::newRow("CPL not XML")
        << "garble CPL"
        << QStringList{"The CPL listed in the ASSETMAP is missing or cannot be read.", "CPL_*"} << 1;
    QTest::newRow("not in the ASSETMAP")
        << "unlist sound_r1.mxf" << QStringList{"sound_r1.mxf is in the PKL but not in the ASSETMAP."} << 0;
}

void TestDownloadDriveCheck::problems()
{
    QFETCH(QString, breakage);
    QFETCH(QStringList, found);
    QFETCH(int, corrupted);
    QTemporaryDir dir;
    SampleDcp::Options o;
    o.title = QStringLiteral("Check_FTR");
    o.reels = 2;
    o.pictureSize = 300000;
    o.soundSize = 70000;
    o.subtitles = true;
    DcpDescription d;
    QVERIFY(SampleDcp::generate(o, dir.path(), &d));
    QSet<QString> uuids;
    for (const DcpAssetInfo& a : d.assets)
        uuids.insert(a.uuid);

    const QString what = breakage.section(QLatin1Char(' '), 0, 0);
    QString name = breakage.section(QLatin1Char(' '), 1);
    name = name == QLatin1String("PKL") ? d.pklFileName : name == QLatin1String("CPL") ? d.cplFileName : name;
    const QString path = dir.path() + QLatin1Char('/') + name;
    QString uuid;
    for (const DcpAssetInfo& a : d.assets)
        uuid = a.path == name ? a.uuid : uuid;
    if (what == QLatin1String("flip")) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite) && file.seek(123456) && file.putChar('!'));
    } else if (what == QLatin1String("cut")) {
        QVERIFY(QFile::resize(path, QFileInfo(path).size() - 1));
    } else if (what == QLatin1String("remove") || what == QLatin1String("garble")) {
        QVERIFY(QFile::remove(path) && (what == QLatin1String("remove") || writeFile(path, "<Broken")));
    } else if (what == QLatin1String("add")) {
        QVERIFY(writeFile(path, "x"));
    } else if (what == QLatin1String("unlist")) {
        const QString map = QString::fromUtf8(readFile(dir.path() + QStringLiteral("/ASSETMAP")));
        const QRegularExpression entry(QStringLiteral("<Asset>\\s*<Id>urn:uuid:%1</Id>.*?</Asset>").arg(uuid),
                                       QRegularExpression::DotMatchesEverythingOption);
        QVERIFY(writeFile(dir.path() + QStringLiteral("/ASSETMAP"), QString(map).remove(entry).toUtf8()));
    }

    QList<quint64> reported;
    const std::atomic<bool> cancel{false};
    const DcpIngestCheck::Result result =
        DcpIngestCheck::run(dir.path(), uuids, cancel, [&](quint64 done, quint64) { reported.append(done); });
    QCOMPARE(result.problems.size(), found.size());
    for (int i = 0; i < found.size(); ++i) {
        const QString& text = found.at(i);
        QVERIFY2(text.endsWith(QLatin1Char('*')) ? result.problems.at(i).startsWith(text.chopped(1))
                                                 : result.problems.at(i) == text,
                 qPrintable(result.problems.at(i)));
    }
    QCOMPARE(result.corruptedAssets.size(), corrupted);
    if (corrupted == 1 && what != QLatin1String("garble"))
        QCOMPARE(result.corruptedAssets.first(), uuid);
    if (found.isEmpty()) // every file, the PKL (not in its own list), ASSETMAP and VOLINDEX
        QVERIFY(result.files == d.assets.size() + 2 && !reported.isEmpty() &&
                reported.last() == result.bytes);
}

QTEST_GUILESS_MAIN(TestDownloadDriveCheck)
#include "tst_download_drivecheck.moc"
