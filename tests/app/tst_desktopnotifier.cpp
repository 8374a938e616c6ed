#include "TestSandbox.h"
#include "app/DesktopNotifier.h"
#include "model/Asset.h"
#include "model/DCP.h"
#include "model/DCPManager.h"
#include "model/Reel.h"
#include "storage/DatabaseManager.h"

#include <QSignalSpy>
#include <QtTest>

// Tray messages follow the catalogue: a DCP is announced once, when its last reel is
// verified and reported; a corrupted reel is announced whenever it is found; a DCP that
// was complete before the program started is not announced again; DCPs added later are
// followed too.
class TestDesktopNotifier : public QObject
{
    Q_OBJECT

private slots:
    void announcesReadyDcpsAndCorruptedReels();
};

void TestDesktopNotifier::announcesReadyDcpsAndCorruptedReels()
{
    TestSandbox sandbox;
    QVERIFY(sandbox.isValid());
    DCPManager* catalogue = sandbox.catalogue();

    DCP* done = sandbox.newDCP(QStringLiteral("d1"), QStringLiteral("Done_FTR"), sandbox.downloads());
    done->setFriendlyTitle(QStringLiteral("Done Before"));
    TestSandbox::addAssetOfSize(TestSandbox::addReel(done, QStringLiteral("r-done"), 1),
                                QStringLiteral("a-done"), 10)
        ->setDownloadChecksummed(true);
    DCP* film = sandbox.newDCP(QStringLiteral("d2"), QStringLiteral("Film_FTR"), sandbox.downloads());
    film->setFriendlyTitle(QStringLiteral("The Film"));
    Reel* first = TestSandbox::addReel(film, QStringLiteral("r-1"), 1);
    Asset* firstAsset = TestSandbox::addAssetOfSize(first, QStringLiteral("a-1"), 10);
    Reel* second = TestSandbox::addReel(film, QStringLiteral("r-2"), 2);
    Asset* secondAsset = TestSandbox::addAssetOfSize(second, QStringLiteral("a-2"), 10);
    for (DCP* dcp : {done, film}) {
        dcp->syncToDatabase();
        catalogue->addDCP(dcp);
    }

    // A reel counts as synced only once its files carry their visible names.
    const auto verifyAndReveal = [](Asset* asset) {
        asset->setDownloadChecksummed(true);
        QDir().mkpath(QFileInfo(asset->getFullPath()).path());
        QFile file(asset->getFullPath());
        return file.open(QIODevice::WriteOnly) && (file.close(), asset->reveal());
    };

    DesktopNotifier notifier(catalogue);
    QSignalSpy spy(&notifier, &DesktopNotifier::notified);
    emit done->statusChanged();
    QCOMPARE(spy.count(), 0);

    // One reel verified: not yet ready.
    QVERIFY(verifyAndReveal(firstAsset));
    emit first->downloadSynced();
    QCOMPARE(spy.count(), 0);
    QVERIFY(verifyAndReveal(secondAsset));
    emit second->downloadSynced();
    emit film->statusChanged();
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(1).toString(), QStringLiteral("The Film is ready: every reel verified"));

    emit second->downloadCorrupted();
    QCOMPARE(spy.count(), 2);
    QCOMPARE(spy.at(1).at(1).toString(), QStringLiteral("The Film: reel 2 is corrupted"));

    // A DCP imported while the program runs.
    DCP* later = sandbox.newDCP(QStringLiteral("d3"), QStringLiteral("Later_FTR"), sandbox.downloads());
    later->setFriendlyTitle(QStringLiteral("Later"));
    Reel* laterReel = TestSandbox::addReel(later, QStringLiteral("r-3"), 4);
    TestSandbox::addAssetOfSize(laterReel, QStringLiteral("a-3"), 10);
    later->syncToDatabase();
    catalogue->addDCP(later);
    emit laterReel->downloadCorrupted();
    QCOMPARE(spy.count(), 3);
    QCOMPARE(spy.at(2).at(1).toString(), QStringLiteral("Later: reel 4 is corrupted"));
}

QTEST_MAIN(TestDesktopNotifier)
#include "tst_desktopnotifier.moc"
