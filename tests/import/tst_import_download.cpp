// A package made with the tools, imported and then downloaded by the real engine from
// the stand-in server: the imported paths, links and hashes are the ones that work.
#include "ImportTestSupport.h"
#include "StandInServer.h"
#include "download/ChecksumWorker.h"
#include "download/DownloadManager.h"
#include "model/Asset.h"
#include "model/DCP.h"
#include "notify/NotificationManager.h"
#include "storage/Setting.h"

#include <QtTest>

class TestImportDownload : public QObject
{
    Q_OBJECT

private slots:
    void importedDcpDownloadsAndVerifies();
};

void TestImportDownload::importedDcpDownloadsAndVerifies()
{
    StandInServer server;
    QVERIFY(server.listen());
    QTemporaryDir serverDir;
    server.setAssetRoot(serverDir.path());
    qputenv("ORV_NOTIFY_URL", server.notificationBaseUrl().toUtf8());
    qputenv("ORV_PORTAL_URL", server.portalBaseUrl().toUtf8());

    ImportSandbox sandbox;
    DCPXMLReader::setEngineNotifierForTesting(nullptr); // the real engine this time
    Setting::resetForTesting();
    NotificationManager::resetForTesting();
    DownloadManager::resetForTesting();
    DownloadManager::getInstance()->getChecksumWorker()->setPollInterval(20);

    SampleDcp::Options o = sampleOptions(60, 3, QStringLiteral("End to end Ü"));
    o.subtitles = true;
    o.pictureSize = 300 * 1024 + 5;
    o.soundSize = 70 * 1024;
    DcpDescription d;
    QVERIFY(SampleDcp::generate(o, serverDir.path() + QLatin1Char('/') + o.title, &d));
    PackageWriter::EntryOptions e;
    e.reels = {1, 3};
    e.assetBaseUrl = server.assetUrl(o.title + QLatin1Char('/')).toString();
    const QString path = sandbox.writePackage(
        PackageWriter::document(testUser(), QJsonArray{PackageWriter::entry(d, e)}, 1000));

    ScriptedPrompts prompts;
    prompts.answerPath(sandbox.downloads());
    ImportSandbox::import(path);
    const DCP* dcp = DCPManager::getInstance()->getDCP(d.cplUuid);
    QVERIFY(dcp);
    QCOMPARE(dcp->getAssets().size(), 8);

    for (const Asset* a : dcp->getAssets())
        QTRY_VERIFY2_WITH_TIMEOUT(a->getDownloadChecksummed(), qPrintable(a->getFullPath()), 30000);
    for (const DcpAssetInfo& info : d.assetsOfReels({1, 3})) {
        const Asset* a = dcp->getAsset(info.uuid);
        QVERIFY(a);
        QFile downloaded(a->getFullPath());
        QFile source(serverDir.path() + QLatin1Char('/') + o.title + QLatin1Char('/') + info.path);
        QVERIFY(downloaded.open(QIODevice::ReadOnly) && source.open(QIODevice::ReadOnly));
        QVERIFY2(downloaded.readAll() == source.readAll(), qPrintable(info.path));
    }
    QVERIFY(prompts.texts().isEmpty());

    DownloadManager::resetForTesting();
    NotificationManager::resetForTesting();
    Setting::resetForTesting();
}

QTEST_MAIN(TestImportDownload)
#include "tst_import_download.moc"
