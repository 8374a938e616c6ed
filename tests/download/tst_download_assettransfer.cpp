// One asset's transfer on its own, without the engine: what it signals while a server
// fails once, its stall timer brings the retry, and the rest of a partial file arrives.

#include "TestSandbox.h"
#include "download/AssetTransfer.h"
#include "model/Asset.h"
#include "model/DCP.h"

#include <QFileInfo>
#include <QNetworkAccessManager>
#include <QSignalSpy>
#include <QtTest>

class TestAssetTransfer : public QObject
{
    Q_OBJECT

private slots:
    void failureStallAndResumeFlow();
};

void TestAssetTransfer::failureStallAndResumeFlow()
{
    TestSandbox box(TestSandbox::WithServer);
    const QByteArray content = patternBytes(400000, 3);
    StandInServer::AssetFault fault;
    fault.status = 500;
    fault.statusTimes = 1;
    box.server.setAssetFault(QStringLiteral("a.mxf"), fault);
    DCP* dcp = box.makeDCP(QStringLiteral("dcp-1"), QStringLiteral("Film"));
    Reel* reel = box.addReel(dcp, QStringLiteral("reel-1"), 1);
    Asset* asset = box.addAsset(reel, QStringLiteral("a"), QStringLiteral("a.mxf"), content);
    QVERIFY(writeFile(asset->getFullPath(), content.left(1000)));

    qRegisterMetaType<AssetTransfer::Failure>();
    QNetworkAccessManager network;
    AssetTransfer transfer(asset, &network, nullptr);
    transfer.setIntervals(300, 20);
    transfer.setLimit(4000, false); // 200 kB/s: several progress samples
    QSignalSpy failed(&transfer, &AssetTransfer::failed);
    QSignalSpy restarts(&transfer, &AssetTransfer::restartDue);
    QSignalSpy finished(&transfer, &AssetTransfer::finished);
    int firsts = 0;
    int samples = 0;
    qint64 written = 0;
    connect(&transfer, &AssetTransfer::progress, this, [&](qint64 bytes, bool first, double speed) {
        written += bytes;
        firsts += first ? 1 : 0;
        samples += speed >= 0 ? 1 : 0;
    });
    // The engine's part: a restart is a new request for the same asset.
    connect(&transfer, &AssetTransfer::restartDue, &transfer, &AssetTransfer::start);

    transfer.start();
    QVERIFY(transfer.isBusy());
    QVERIFY(failed.wait(3000));
    QCOMPARE(failed.first().at(0).value<AssetTransfer::Failure>(), AssetTransfer::Failure::ServerFault);
    QVERIFY2(failed.first().at(1).toString().contains(QStringLiteral("500")),
             qPrintable(failed.first().at(1).toString()));
    QCOMPARE(transfer.failuresInARow(), 1);
    QCOMPARE(transfer.reply(), nullptr); // waits for the stall timer, not for the server

    QVERIFY(finished.wait(5000));
    QCOMPARE(restarts.count(), 1);
    QCOMPARE(failed.count(), 1);
    QCOMPARE(transfer.failuresInARow(), 0);
    QCOMPARE(firsts, 1);
    QVERIFY2(samples >= 2, qPrintable(QString::number(samples)));
    QCOMPARE(written, qint64(content.size() - 1000));
    QCOMPARE(readFile(asset->getFullPath()), content);
    QCOMPARE(box.rangesFor(QStringLiteral("a.mxf")),
             QStringList() << QStringLiteral("bytes=1000-") << QStringLiteral("bytes=1000-"));
    QVERIFY(!transfer.isBusy());

    // Aborted, a transfer says nothing more, the stall timer included.
    QVERIFY(QFile::resize(asset->getFullPath(), 2000));
    transfer.start();
    transfer.abort();
    QVERIFY(!restarts.wait(600));
    QCOMPARE(failed.count(), 1);
    QCOMPARE(finished.count(), 1);
    QCOMPARE(QFileInfo(asset->getFullPath()).size(), qint64(2000));
}

QTEST_MAIN(TestAssetTransfer)
#include "tst_download_assettransfer.moc"
