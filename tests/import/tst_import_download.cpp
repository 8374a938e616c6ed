// A package made with the tools, imported, downloaded by the real engine from the stand-in
// server, verified, reported and revealed: the imported paths, links and hashes are the
// ones that work, and the pieces hand over to each other.
#include "PackageWriter.h"
#include "SampleDcp.h"
#include "ScriptedPrompts.h"
#include "StandInServer.h"
#include "TestPackages.h"
#include "TestSandbox.h"
#include "core/FileManager.h"
#include "download/ChecksumWorker.h"
#include "download/DownloadManager.h"
#include "import/DCPXMLReader.h"
#include "import/VolumeInfo.h"
#include "model/Asset.h"
#include "model/DCP.h"
#include "model/DCPManager.h"
#include "model/Reel.h"
#include "notify/NotificationManager.h"
#include "storage/DatabaseManager.h"
#include "storage/Setting.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSqlQuery>
#include <QVariant>
#include <QtTest>

class TestImportDownload : public QObject
{
    Q_OBJECT

private slots:
    void packageToRevealedFiles_data();
    void packageToRevealedFiles();
};

void TestImportDownload::packageToRevealedFiles_data()
{
    QTest::addColumn<bool>("corruptOnce");
    QTest::newRow("clean delivery") << false;
    QTest::newRow("one corrupted delivery") << true;
}

// The whole road of a package: import, download, verification (with a re-download when a
// delivery arrives corrupted), reporting, and the reveal once the service acknowledged.
void TestImportDownload::packageToRevealedFiles()
{
    QFETCH(bool, corruptOnce);

    TestSandbox sandbox(TestSandbox::WithServer);
    StandInServer& server = sandbox.server;
    const QString serverRoot = server.assetRoot();
    sandbox.engine(); // imports reach the real engine from here on
    sandbox.notifications(20);

    SampleDcp::Options o = sampleOptions(60, 3, QStringLiteral("End to end Ü"));
    o.subtitles = true;
    o.pictureSize = 300 * 1024 + 5;
    o.soundSize = 70 * 1024;
    DcpDescription d;
    QVERIFY(SampleDcp::generate(o, serverRoot + QLatin1Char('/') + o.title, &d));
    const QList<DcpAssetInfo> expected = d.assetsOfReels({1, 3});
    DcpAssetInfo corrupted;
    for (const DcpAssetInfo& info : expected) {
        if (info.kind == DcpAssetInfo::Picture && info.reel == 3)
            corrupted = info;
    }
    QVERIFY(!corrupted.uuid.isEmpty());
    if (corruptOnce) {
        StandInServer::AssetFault fault;
        fault.corruptFirstDeliveries = 1;
        server.setAssetFault(o.title + QLatin1Char('/') + corrupted.path, fault);
    }

    PackageWriter::EntryOptions e;
    e.reels = {1, 3};
    e.assetBaseUrl = server.assetUrl(o.title + QLatin1Char('/')).toString();
    const QString path = sandbox.writePackage(
        PackageWriter::document(testUser(), QJsonArray{PackageWriter::entry(d, e)}, 1000));

    ScriptedPrompts prompts;
    prompts.answerPath(sandbox.downloads());
    sandbox.import(path);
    DCP* dcp = sandbox.catalogue()->getDCP(d.cplUuid);
    QVERIFY(dcp);
    QCOMPARE(dcp->getAssets().size(), expected.size());

    // Revealed means: visible name in memory, in the store and on disk, the hidden file gone.
    for (const Asset* a : dcp->getAssets())
        QTRY_VERIFY2_WITH_TIMEOUT(!a->getOriginalFileName().startsWith(QLatin1Char('.')),
                                  qPrintable(a->getFullPath()), 30000);
    for (const DcpAssetInfo& info : expected) {
        const Asset* a = dcp->getAsset(info.uuid);
        QVERIFY(a);
        QVERIFY(a->getDownloadChecksummed());
        QVERIFY(!a->getDownloadCorrupted());
        QCOMPARE(a->getDownloadAttempts(), (corruptOnce && info.uuid == corrupted.uuid) ? 1u : 0u);
        QVERIFY2(!QFileInfo::exists(FileManager::nixGetHiddenPath(a->getFullPath())), qPrintable(info.path));
        QFile downloaded(a->getFullPath());
        QFile source(serverRoot + QLatin1Char('/') + o.title + QLatin1Char('/') + info.path);
        QVERIFY(downloaded.open(QIODevice::ReadOnly) && source.open(QIODevice::ReadOnly));
        QVERIFY2(downloaded.readAll() == source.readAll(), qPrintable(info.path));
    }
    for (const Reel* reel : dcp->getReels())
        QVERIFY(reel->isSynced());

    // Each reel reported start, finish, verification start and success; a failed
    // verification only for the reel whose delivery was corrupted.
    QMap<int, QSet<int>> events;
    for (const StandInServer::QueryItems& items : server.notificationsReceived()) {
        QMap<QString, QString> q;
        for (const auto& item : items)
            q.insert(item.first, item.second);
        QCOMPARE(q.value(QStringLiteral("user_uuid")), testUser());
        events[q.value(QStringLiteral("reel_number")).toInt()].insert(
            q.value(QStringLiteral("event")).toInt());
    }
    QCOMPARE(events.keys(), QList<int>({1, 3}));
    for (int reel : {1, 3}) {
        for (int event : {1, 2, 6, 8})
            QVERIFY2(events[reel].contains(event),
                     qPrintable(QStringLiteral("reel %1 event %2").arg(reel).arg(event)));
        QCOMPARE(events[reel].contains(7), corruptOnce && reel == 3);
    }
    QVERIFY(prompts.texts().isEmpty());
}

QTEST_MAIN(TestImportDownload)
#include "tst_import_download.moc"
