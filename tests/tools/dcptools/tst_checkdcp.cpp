// orv-checkdcp judges a DCP folder alike whether it is named by a relative or an absolute path.
#include "SampleDcp.h"
#include "TestSandbox.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

class TestCheckDcp : public QObject
{
    Q_OBJECT

private slots:
    void relativeAndAbsolutePaths_data();
    void relativeAndAbsolutePaths();
};

void TestCheckDcp::relativeAndAbsolutePaths_data()
{
    QTest::addColumn<QString>("folder"); // as given on the command line, run from the parent
    QTest::addColumn<bool>("stray");     // a file the ASSETMAP does not list
    QTest::newRow("relative") << "Film" << false;
    QTest::newRow("relative, dot") << "./Film/" << false;
    QTest::newRow("absolute") << "<abs>" << false;
    QTest::newRow("relative, stray file") << "Film" << true;
}

void TestCheckDcp::relativeAndAbsolutePaths()
{
    QFETCH(QString, folder);
    QFETCH(bool, stray);
    QTemporaryDir dir;
    const QString dcp = dir.filePath(QStringLiteral("Film"));
    SampleDcp::Options options;
    options.pictureSize = 4096;
    options.soundSize = 1024;
    DcpDescription description;
    QVERIFY(SampleDcp::generate(options, dcp, &description));
    if (stray)
        QVERIFY(writeFile(dcp + QStringLiteral("/notes.txt"), "left behind"));

    QProcess check;
    check.setWorkingDirectory(dir.path());
    check.start(QStringLiteral(ORV_CHECKDCP_PROGRAM), {folder == QLatin1String("<abs>") ? dcp : folder});
    QVERIFY(check.waitForFinished(30000));
    const QString out = QString::fromUtf8(check.readAllStandardOutput());
    QCOMPARE(check.exitCode(), stray ? 1 : 0);
    QCOMPARE(out.count(QStringLiteral("PROBLEM: ")), stray ? 1 : 0);
    QVERIFY2(out.contains(stray ? QStringLiteral("unexpected file: notes.txt") : QStringLiteral("DCP OK")),
             qPrintable(out));
}

QTEST_GUILESS_MAIN(TestCheckDcp)
#include "tst_checkdcp.moc"
