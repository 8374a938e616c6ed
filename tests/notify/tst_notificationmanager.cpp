#include "LogCapture.h"
#include "ScriptedPrompts.h"
#include "TestSandbox.h"
#include "app/AppContext.h"
#include "core/MediumSync.h"
#include "core/UserPrompt.h"
#include "download/DownloadManager.h"
#include "model/Asset.h"
#include "model/DCP.h"
#include "model/DCPManager.h"
#include "model/Reel.h"
#include "notify/Notification.h"
#include "notify/NotificationManager.h"
#include "storage/DatabaseManager.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <QUuid>
#include <QtTest>

#include <algorithm>
#include <atomic>
#include <dlfcn.h>
#include <memory>
#include <stdexcept>

namespace {

QString newUuid()
{
    return QUuid::createUuid().toString(QUuid::WithoutBraces);
}

struct StoredRow
{
    int event;
    bool synced;
    QString reelAssetsHash;
};

QList<StoredRow> storedRows()
{
    QList<StoredRow> rows;
    QSqlQuery query(DatabaseManager::getInstance()->db);
    query.exec(QStringLiteral("SELECT event, synced, reel_assets_hash FROM notification ORDER BY id"));
    while (query.next()) {
        rows.append({query.value(QStringLiteral("event")).toInt(),
                     query.value(QStringLiteral("synced")).toBool(),
                     query.value(QStringLiteral("reel_assets_hash")).toString()});
    }
    return rows;
}

QString storedFileName(const QString& assetUuid)
{
    QSqlQuery query = DatabaseManager::getInstance()->getDCPQuery();
    while (query.next()) {
        if (query.value(QStringLiteral("asset_uuid")).toString() == assetUuid)
            return query.value(QStringLiteral("asset_original_filename")).toString();
    }
    return QString();
}

// One stored, catalogued reel with two asset files on disk under their hidden names
// (the second one in a sub-folder).
struct ReelFixture
{
    DCP* dcp = nullptr;
    Reel* reel = nullptr;
    QList<Asset*> assets;
    QStringList hiddenPaths;
    QStringList visiblePaths;

    bool allHidden() const
    {
        for (int i = 0; i < hiddenPaths.size(); ++i) {
            if (!QFileInfo::exists(hiddenPaths[i]) || QFileInfo::exists(visiblePaths[i]))
                return false;
        }
        return true;
    }
    bool allVisible() const
    {
        for (int i = 0; i < hiddenPaths.size(); ++i) {
            if (QFileInfo::exists(hiddenPaths[i]) || !QFileInfo::exists(visiblePaths[i]))
                return false;
        }
        return true;
    }
};

QList<int> eventsSent(const StandInServer& server)
{
    QList<int> events;
    for (const StandInServer::QueryItems& items : server.notificationsReceived()) {
        for (const auto& item : items) {
            if (item.first == QLatin1String("event"))
                events.append(item.second.toInt());
        }
    }
    return events;
}

const QList<NotificationType::Value> kCompleteReel = {
    NotificationType::DownloadStarted,    NotificationType::DownloadFinished,
    NotificationType::DownloadProgress25, NotificationType::DownloadProgress50,
    NotificationType::DownloadProgress75, NotificationType::ChecksumStarted,
    NotificationType::ChecksumOk};

constexpr int kNeverMs = 3600 * 1000;

// The folders really flushed: every fsync of this process, by the path of its descriptor.
QMutex fsyncedLock;
QStringList fsynced;

} // namespace

extern "C" int fsync(int fd)
{
    using Real = int (*)(int);
    static const Real real = reinterpret_cast<Real>(dlsym(RTLD_NEXT, "fsync"));
    const QString path = QFile::symLinkTarget(QStringLiteral("/proc/self/fd/%1").arg(fd));
    {
        QMutexLocker locker(&fsyncedLock);
        fsynced.append(path);
    }
    return real(fd);
}

class TestNotificationManager : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestSandbox> sandbox;
    StandInServer* server = nullptr;
    // Made per test: QtTest installs its own message handler when the run starts.
    std::unique_ptr<LogCapture> log;
    int fixtureCount = 0;

    int logLinesContaining(const QString& text, const QString& also = QString()) const
    {
        const QStringList lines = log->lines();
        return int(std::count_if(lines.begin(), lines.end(), [&](const QString& line) {
            return line.contains(text) && (also.isEmpty() || line.contains(also));
        }));
    }

    ReelFixture makeReel(quint64 campaignDcpId, uint reelNumber)
    {
        ReelFixture f;
        const QString tag = QString::number(++fixtureCount);
        f.dcp = sandbox->newDCP(newUuid(), QStringLiteral("Film_") + tag, sandbox->root());
        f.dcp->setUserUUID(newUuid());
        f.dcp->setCampaignDCPId(campaignDcpId);
        f.reel = new Reel(newUuid(), reelNumber);
        f.reel->setDCP(f.dcp);
        for (int i = 0; i < 2; ++i) {
            const QString name = QStringLiteral("reel%1_%2.mxf").arg(reelNumber).arg(i);
            auto* asset = new Asset(newUuid(), QStringLiteral("2jmj7l5rSw0yVb/vlWAYkK/YBwk="), 4,
                                    QStringLiteral("application/mxf"), QLatin1Char('.') + name,
                                    QStringLiteral("http://127.0.0.1/assets/") + name);
            asset->setDCP(f.dcp);
            if (i == 1)
                asset->setDirectoryPath(QStringLiteral("sub"));
            asset->addReel(f.reel);
            f.reel->addAsset(asset);
            f.dcp->addAsset(asset);
            f.assets.append(asset);
        }
        f.dcp->addReel(f.reel);
        f.dcp->syncToDatabase(sandbox->catalogue());
        sandbox->catalogue()->addDCP(f.dcp);

        for (Asset* asset : qAsConst(f.assets)) {
            const QString hidden = asset->getFullPath();
            QDir().mkpath(QFileInfo(hidden).path());
            QFile file(hidden);
            if (file.open(QIODevice::WriteOnly))
                file.write("data");
            file.close();
            // Verified as it is: only a reel whose files passed is ever revealed.
            TestSandbox::markVerified(asset);
            f.hiddenPaths.append(hidden);
            f.visiblePaths.append(QFileInfo(hidden).path() + QLatin1Char('/') +
                                  QFileInfo(hidden).fileName().mid(1));
        }
        return f;
    }

    static void queueAll(NotificationManager* m, Reel* reel, const QList<NotificationType::Value>& events)
    {
        for (NotificationType::Value event : events)
            m->addToQueue(reel, event);
    }

private slots:
    void init()
    {
        sandbox = std::make_unique<TestSandbox>(TestSandbox::WithServer);
        QVERIFY(sandbox->isValid() && sandbox->server.isListening());
        server = &sandbox->server;
        log = std::make_unique<LogCapture>();
    }

    void cleanup()
    {
        log.reset();
        sandbox.reset();
    }

    void eachEventIsRecordedOncePerRetryState()
    {
        ReelFixture f = makeReel(7, 1);
        NotificationManager* m = sandbox->notifications(kNeverMs);

        m->addToQueue(f.reel, NotificationType::DownloadStarted);
        m->addToQueue(f.reel, NotificationType::DownloadStarted);
        QCOMPARE(storedRows().size(), 1);
        QCOMPARE(m->getQueue().size(), 1);
        const QString firstHash = storedRows().at(0).reelAssetsHash;
        QCOMPARE(firstHash,
                 QString::number(f.reel->getDbId()) + QLatin1Char('-') + f.reel->getAssetsRetryHash());
        QCOMPARE(m->getQueue().firstKey(), QStringLiteral("7-1-1-") + firstHash);

        // A re-downloaded asset changes the reel's state: the same event is news again.
        f.assets[1]->setDownloadAttempts(1);
        m->addToQueue(f.reel, NotificationType::DownloadStarted);
        m->addToQueue(f.reel, NotificationType::DownloadStarted);
        const QList<StoredRow> rows = storedRows();
        QCOMPARE(rows.size(), 2);
        QCOMPARE(rows[1].event, 1);
        QVERIFY(rows[1].reelAssetsHash != firstHash);
        QCOMPARE(m->getQueue().size(), 2);

        // Known events are answered from memory: with the store gone they still pass,
        // while a new one fails and is not queued, so a later call can record it.
        DatabaseManager::getInstance()->db.close();
        m->addToQueue(f.reel, NotificationType::DownloadStarted);
        QVERIFY_EXCEPTION_THROWN(m->addToQueue(f.reel, NotificationType::DownloadFinished),
                                 std::runtime_error);
        QCOMPARE(m->getQueue().size(), 2);
        QVERIFY(DatabaseManager::getInstance()->db.open());
        m->addToQueue(f.reel, NotificationType::DownloadFinished);
        QCOMPARE(m->getQueue().size(), 3);
        QCOMPARE(storedRows().size(), 3);
    }

    void workerThreadCallsRunOnTheMainThread()
    {
        ReelFixture f = makeReel(7, 2);

        NotificationManager* fromWorker = sandbox->notifications(kNeverMs);

        std::unique_ptr<QThread> worker(QThread::create([&] {
            fromWorker->addToQueue(f.reel, NotificationType::ChecksumStarted);
            fromWorker->addToQueue(f.reel, NotificationType::ChecksumStarted);
            fromWorker->addToQueue(f.reel, NotificationType::ChecksumOk);
        }));
        worker->start();
        QTRY_VERIFY(worker->isFinished());
        const QList<StoredRow> rows = storedRows();
        QCOMPARE(rows.size(), 2);
        QCOMPARE(rows[0].event, 6);
        QCOMPARE(rows[1].event, 8);
        QCOMPARE(fromWorker->getQueue().size(), 2);

        // A store failure comes back to the worker that raised the event.
        DatabaseManager::getInstance()->db.close();
        std::atomic<int> failures{0};
        std::unique_ptr<QThread> failing(QThread::create([&] {
            try {
                fromWorker->addToQueue(f.reel, NotificationType::ChecksumFailed);
            } catch (const std::runtime_error&) {
                ++failures;
            }
        }));
        failing->start();
        QTRY_VERIFY(failing->isFinished());
        QCOMPARE(failures.load(), 1);
        QCOMPARE(fromWorker->getQueue().size(), 2);
    }

    void pendingEventsGoOutInOrder_data()
    {
        QTest::addColumn<QString>("userUuid");
        QTest::newRow("uuid") << QStringLiteral("5f3c1e2a-93b1-4c55-a0d4-7b2f9a6e8c01");
        QTest::newRow("query delimiters and escapes") << QStringLiteral("a&event=9 b+c%41#d/é");
    }

    void pendingEventsGoOutInOrder()
    {
        QFETCH(QString, userUuid);
        ReelFixture f = makeReel(42, 3);
        f.dcp->setUserUUID(userUuid);
        NotificationManager* m = sandbox->notifications(kNeverMs);

        queueAll(m, f.reel,
                 {NotificationType::DownloadStarted, NotificationType::DownloadProgress25,
                  NotificationType::DownloadFinished});
        m->setConsumerInterval(20);
        QTRY_COMPARE(m->acknowledgedCount(), 3);

        QCOMPARE(eventsSent(*server), (QList<int>{1, 2, 3}));
        const QList<StandInServer::QueryItems> received = server->notificationsReceived();
        const QStringList keys = {QStringLiteral("user_uuid"), QStringLiteral("campaign_dcp_id"),
                                  QStringLiteral("reel_number"), QStringLiteral("event")};
        for (const StandInServer::QueryItems& items : received) {
            QCOMPARE(items.size(), 4);
            for (int i = 0; i < 4; ++i)
                QCOMPARE(items[i].first, keys[i]);
            QCOMPARE(items[0].second, userUuid);
            QCOMPARE(items[1].second, QStringLiteral("42"));
            QCOMPARE(items[2].second, QStringLiteral("3"));
        }
        for (const StandInServer::JournalEntry& entry :
             server->journalFor(QStringLiteral("/notification/dcp")))
            QVERIFY(entry.method == "GET" && entry.headers.contains({"Accept-Encoding", "identity"}));
        for (const StoredRow& row : storedRows())
            QVERIFY(row.synced);
        QCOMPARE(logLinesContaining(QStringLiteral("[NotificationManager] Sync Reel num:")), 3);
    }

    void onlyTheExactAnswerOkAcknowledges_data()
    {
        QTest::addColumn<int>("failFirst");
        QTest::addColumn<QByteArray>("body");
        QTest::newRow("upper case") << 0 << QByteArray("OK");
        QTest::newRow("trailing line break") << 0 << QByteArray("ok\n");
        QTest::newRow("empty") << 0 << QByteArray();
        QTest::newRow("longer word") << 0 << QByteArray("okay");
        QTest::newRow("service unavailable twice") << 2 << QByteArray("ok");
    }

    void onlyTheExactAnswerOkAcknowledges()
    {
        QFETCH(int, failFirst);
        QFETCH(QByteArray, body);
        StandInServer::NotifyFault fault;
        fault.failFirst = failFirst;
        fault.body = body;
        server->setNotificationFault(fault);

        ReelFixture f = makeReel(3, 1);
        NotificationManager* m = sandbox->notifications(100);
        m->addToQueue(f.reel, NotificationType::DownloadStarted);

        if (body != "ok") {
            QTRY_VERIFY(server->notificationsReceived().size() >= 3);
            QCOMPARE(m->getQueue().size(), 1);
            QCOMPARE(m->acknowledgedCount(), 0);
            QVERIFY(!storedRows().at(0).synced);
            QVERIFY(logLinesContaining(QStringLiteral("[NotificationManager] Failed Reel num:")) >= 2);
            server->setNotificationFault(StandInServer::NotifyFault());
        }
        QTRY_COMPARE(m->acknowledgedCount(), 1);
        QVERIFY(m->getQueue().isEmpty());
        QVERIFY(storedRows().at(0).synced);
        if (failFirst > 0)
            QCOMPARE(server->notificationsReceived().size(), failFirst + 1);

        // One request at a time, the next a full period after the previous answer.
        const QList<StandInServer::JournalEntry> entries =
            server->journalFor(QStringLiteral("/notification/dcp"));
        for (int i = 1; i < entries.size(); ++i)
            QVERIFY2(entries[i - 1].time.msecsTo(entries[i].time) >= 90, "retried before a full period");
    }

    void unansweredRequestTimesOutAndIsRetried()
    {
        StandInServer::NotifyFault silent;
        silent.neverAnswer = true;
        server->setNotificationFault(silent);

        ReelFixture f = makeReel(3, 1);
        NotificationManager* m = sandbox->notifications(20);
        m->setRequestTimeout(200);
        m->addToQueue(f.reel, NotificationType::DownloadStarted);

        QTRY_VERIFY(server->notificationsReceived().size() >= 2);
        QCOMPARE(m->getQueue().size(), 1);
        QVERIFY(logLinesContaining(QStringLiteral("[NotificationManager] Failed Reel num:")) >= 1);

        server->setNotificationFault(StandInServer::NotifyFault());
        QTRY_COMPARE(m->acknowledgedCount(), 1);
        QVERIFY(storedRows().at(0).synced);
    }

    void reelIsRevealedWhenItsLastRowIsAcknowledged()
    {
        ReelFixture f = makeReel(5, 1);
        QSignalSpy synced(f.reel, &Reel::downloadSynced);
        QSignalSpy status(f.dcp, &DCP::statusChanged);
        NotificationManager* m = sandbox->notifications(20);

        queueAll(m, f.reel, kCompleteReel.mid(0, 6));
        QTRY_COMPARE(m->acknowledgedCount(), 6);
        QCOMPARE(synced.count(), 0);
        QVERIFY(f.allHidden());

        // The checksum report is acknowledged while a newer row of the same import waits.
        StandInServer::NotifyFault silent;
        silent.neverAnswer = true;
        server->setNotificationFault(silent);
        m->addToQueue(f.reel, NotificationType::ChecksumOk);
        QTRY_VERIFY(m->isRequestInFlight() && server->notificationsReceived().size() == 7);
        f.assets[0]->setDownloadAttempts(1);
        m->addToQueue(f.reel, NotificationType::DownloadStarted);
        m->setConsumerInterval(kNeverMs);
        server->setNotificationFault(StandInServer::NotifyFault());
        server->answerHeldNotifications();
        QTRY_COMPARE(m->acknowledgedCount(), 7);
        QVERIFY(!m->isRequestInFlight());
        QCOMPARE(synced.count(), 0);
        QVERIFY(f.allHidden());
        QCOMPARE(logLinesContaining(QStringLiteral("[NotificationManager] Revealing ...")), 0);

        // Both folders holding the reel's files are flushed after the renames and before
        // the reel is reported completed.
        QStringList flushes;
        MediumSync::setObserver([&](const QString& kind, const QString& path) {
            flushes.append(kind + QLatin1Char(' ') + path + (f.allVisible() ? "" : " too early"));
        });
        connect(f.reel, &Reel::downloadSynced, this, [&] { flushes.append(QStringLiteral("synced")); });
        fsyncedLock.lock();
        fsynced.clear();
        fsyncedLock.unlock();
        m->setConsumerInterval(20);
        QTRY_COMPARE(m->acknowledgedCount(), 8);
        MediumSync::setObserver(nullptr);
        QCOMPARE(flushes, (QStringList{"folder " + f.dcp->getDCPPath(),
                                       "folder " + f.dcp->getDCPPath() + "/sub", "synced"}));
        // Told to the observer and done: the folders went through fsync.
        QMutexLocker locker(&fsyncedLock);
        QVERIFY2(fsynced.contains(f.dcp->getDCPPath()) && fsynced.contains(f.dcp->getDCPPath() + "/sub"),
                 qPrintable(fsynced.join('\n')));
        QCOMPARE(synced.count(), 1);
        QCOMPARE(status.count(), 1);
        QVERIFY(f.allVisible());
        for (Asset* asset : qAsConst(f.assets)) {
            QVERIFY(!asset->getOriginalFileName().startsWith(QLatin1Char('.')));
            QCOMPARE(storedFileName(asset->getUuid()), asset->getOriginalFileName());
        }
        QCOMPARE(logLinesContaining(QStringLiteral("[NotificationManager] Revealing ...")), 1);
        QCOMPARE(logLinesContaining(QStringLiteral("[NotificationManager] Reveal files for reel:"),
                                    f.reel->getUuid()),
                 1);
    }

    void rowsOfAnEarlierImportAreIgnored_data()
    {
        QTest::addColumn<int>("oldEvent");
        QTest::addColumn<bool>("oldSynced");
        QTest::addColumn<QString>("oldPrefixSuffix"); // appended to the current db_id
        QTest::addColumn<bool>("currentChecksumOk");
        QTest::addColumn<bool>("revealed");

        QTest::newRow("old unsynced row does not block")
            << 1 << false << QStringLiteral("000") << true << true;
        QTest::newRow("old checksum ok does not allow")
            << 8 << true << QStringLiteral("000") << false << false;
        QTest::newRow("db_id sharing leading digits does not block")
            << 2 << false << QStringLiteral("5") << true << true;
    }

    void rowsOfAnEarlierImportAreIgnored()
    {
        QFETCH(int, oldEvent);
        QFETCH(bool, oldSynced);
        QFETCH(QString, oldPrefixSuffix);
        QFETCH(bool, currentChecksumOk);
        QFETCH(bool, revealed);

        ReelFixture f = makeReel(5, 1);
        QSignalSpy synced(f.reel, &Reel::downloadSynced);
        NotificationManager* m = sandbox->notifications(kNeverMs);

        // Written by an earlier import of this reel UUID, already in the journal.
        Notification old(f.dcp->getUserUUID(), 5, f.reel->getUuid(),
                         QString::number(f.reel->getDbId()) + oldPrefixSuffix + QStringLiteral("-oldasset0"),
                         1, static_cast<NotificationType::Value>(oldEvent), oldSynced);
        DatabaseManager::getInstance()->insertNotification(&old);

        const QList<NotificationType::Value> events =
            currentChecksumOk ? kCompleteReel : kCompleteReel.mid(0, 6);
        queueAll(m, f.reel, events);
        m->setConsumerInterval(20);
        // The count is the journal's: an old row already acknowledged is in it too. Waiting for
        // the new events alone passed only in the moment before the last one was acknowledged.
        QTRY_COMPARE(m->acknowledgedCount(), events.size() + (oldSynced ? 1 : 0));
        QTRY_VERIFY(!m->isRequestInFlight());

        QCOMPARE(synced.count(), revealed ? 1 : 0);
        QCOMPARE(f.allVisible(), revealed);
        QCOMPARE(f.allHidden(), !revealed);
    }

    void verifiedReelWithoutItsChecksumOkIsReportedAfterARestart()
    {
        // Stopped after the reel's verdicts reached the store and before its ChecksumOk was
        // journaled: the next start reports it, once, or the reel stays hidden for ever.
        ReelFixture f = makeReel(6, 1);
        const QString reelUuid = f.reel->getUuid();
        sandbox->notifications(kNeverMs)->addToQueue(f.reel, NotificationType::ChecksumStarted);
        const QList<int> reported{NotificationType::ChecksumStarted, NotificationType::ChecksumOk};
        for (int start = 0; start < 2; ++start) {
            sandbox->restart();
            sandbox->context().notifications();
            QTRY_COMPARE(TestSandbox::events(sandbox->catalogue()->getReel(reelUuid)), reported);
            QCoreApplication::processEvents();
        }
        QCOMPARE(TestSandbox::events(sandbox->catalogue()->getReel(reelUuid)), reported);
    }

    void unsyncedRowsAreSentAgainAfterARestart()
    {
        ReelFixture f = makeReel(9, 4);
        NotificationManager* m = sandbox->notifications(20);
        m->addToQueue(f.reel, NotificationType::DownloadStarted);
        QTRY_COMPARE(m->acknowledgedCount(), 1);
        m->setConsumerInterval(kNeverMs);
        m->addToQueue(f.reel, NotificationType::DownloadFinished);
        const QString pendingHash = m->getQueue().firstKey();

        sandbox->restart();
        m = &sandbox->context().notifications();
        QCOMPARE(m->getQueue().keys(), QStringList{pendingHash});
        QCOMPARE(m->acknowledgedCount(), 1);
        // A fresh start runs on the product timings; nothing goes out before the first tick.
        QCOMPARE(m->getConsumerInterval(), 5000);
        QCOMPARE(m->getRequestTimeout(), 30000);
        QVERIFY(!m->isRequestInFlight());

        m->addToQueue(f.reel, NotificationType::DownloadStarted);
        m->addToQueue(f.reel, NotificationType::DownloadFinished);
        QCOMPARE(storedRows().size(), 2);

        m->setConsumerInterval(20);
        QTRY_COMPARE(m->acknowledgedCount(), 2);
        QCOMPARE(eventsSent(*server), (QList<int>{1, 2}));
    }

    void refusedRenameKeepsReelUnsyncedUntilARestartRevealsIt()
    {
        // Downloaded and verified, so that the restart below gives the engine nothing to fetch.
        const auto verified = [](const ReelFixture& fixture) {
            for (Asset* asset : fixture.assets) {
                asset->setDownloadFinished(true);
                asset->setDownloadChecksummed(true);
                DatabaseManager::getInstance()->updateAssetDownloadFields(asset);
            }
        };
        ReelFixture f = makeReel(3, 1);
        verified(f);
        // The final name of the first file is taken by a folder: its rename fails.
        QVERIFY(QDir().mkpath(f.visiblePaths[0]));
        ScriptedPrompts prompts;
        QSignalSpy synced(f.reel, &Reel::downloadSynced);
        NotificationManager* m = sandbox->notifications(20);
        queueAll(m, f.reel, kCompleteReel);
        QTRY_COMPARE(m->acknowledgedCount(), kCompleteReel.size());
        QTRY_VERIFY(!m->isRequestInFlight());

        QVERIFY(QFileInfo::exists(f.hiddenPaths[0]));
        QVERIFY(QFileInfo::exists(f.visiblePaths[1]) && !QFileInfo::exists(f.hiddenPaths[1]));
        QCOMPARE(storedFileName(f.assets[0]->getUuid()), QFileInfo(f.hiddenPaths[0]).fileName());
        QCOMPARE(storedFileName(f.assets[1]->getUuid()), QFileInfo(f.visiblePaths[1]).fileName());
        QCOMPARE(synced.count(), 0);
        QVERIFY(!f.reel->isSynced());
        QTRY_COMPARE(prompts.count(), 1);
        QVERIFY(prompts.last().informativeText.contains(f.hiddenPaths[0]));
        QVERIFY(prompts.last().informativeText.contains(QStringLiteral("already there")));

        // Tried again at the next acknowledgement, but the user is not asked twice.
        ReelFixture other = makeReel(4, 1);
        verified(other);
        m->addToQueue(other.reel, NotificationType::DownloadStarted);
        QTRY_COMPARE(m->acknowledgedCount(), kCompleteReel.size() + 1);
        QTRY_VERIFY(!m->isRequestInFlight());
        QCOMPARE(logLinesContaining(QStringLiteral("revealing again reel:"), f.reel->getUuid()), 1);
        QCOMPARE(prompts.count(), 1);

        // The folder goes; the next start finds the reel hidden and reveals it.
        QVERIFY(QDir(f.visiblePaths[0]).removeRecursively());
        sandbox->restart();
        Reel* reel = sandbox->catalogue()->getReel(f.reel->getUuid());
        QVERIFY(reel && reel != f.reel);
        QVERIFY(!reel->isSynced());
        QSignalSpy syncedAfterRestart(reel, &Reel::downloadSynced);
        sandbox->context().notifications();
        QTRY_COMPARE(syncedAfterRestart.count(), 1);
        QVERIFY(f.allVisible());
        QCOMPARE(storedFileName(f.assets[0]->getUuid()), QFileInfo(f.visiblePaths[0]).fileName());
        QVERIFY(reel->isSynced());
        QCOMPARE(prompts.count(), 1);

        // The store names the file visible, but the disk holds it under its hidden name only
        // (a rename an older version never checked). The DCP is complete, so it is listed
        // without its reels at the next start; the start still finds the file and names it.
        QVERIFY(QFile::rename(f.visiblePaths[0], f.hiddenPaths[0]));
        sandbox->restart();
        QVERIFY(!sandbox->catalogue()->getDCP(f.dcp->getUuid())->reelsLoaded());
        sandbox->context().notifications();
        QTRY_VERIFY(f.allVisible());
        QCOMPARE(prompts.count(), 1);
    }

    // Quitting while the start looks through the folders of a long history: the look stops
    // and its thread is joined before the event loop returns.
    void quitStopsTheFolderScan()
    {
        ReelFixture f = makeReel(8, 1);
        for (Asset* asset : qAsConst(f.assets))
            QVERIFY(asset->reveal()); // complete: listed without its reels at the next start
        std::atomic<bool> inside{false};
        std::atomic<bool> left{false};
        NotificationManager::setFolderScanHook([&](const QString&) {
            inside = true;
            QElapsedTimer waited;
            waited.start();
            while (!QThread::currentThread()->isInterruptionRequested() && waited.elapsed() < 5000)
                QThread::msleep(5);
            left = true;
        });
        sandbox->restart();
        QVERIFY(!sandbox->catalogue()->getDCP(f.dcp->getUuid())->reelsLoaded());
        sandbox->context().notifications();
        QTRY_VERIFY(inside);
        QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        QCoreApplication::exec();
        const bool joined = left;
        sandbox->context().notifications().stopFolderScan(); // before the hook's variables go
        NotificationManager::setFolderScanHook(nullptr);
        QVERIFY(joined);
    }

    void removedReelIsAcknowledgedButNotRevealed()
    {
        ReelFixture f = makeReel(6, 2);
        QSignalSpy synced(f.reel, &Reel::downloadSynced);
        NotificationManager* m = sandbox->notifications(kNeverMs);
        queueAll(m, f.reel, kCompleteReel);
        sandbox->catalogue()->removeDCP(f.dcp);

        m->setConsumerInterval(20);
        QTRY_COMPARE(m->acknowledgedCount(), kCompleteReel.size());
        QTRY_VERIFY(!m->isRequestInFlight());
        for (const StoredRow& row : storedRows())
            QVERIFY(row.synced);
        QCOMPARE(logLinesContaining(
                     QStringLiteral("[NotificationManager] Reveal files failed! Reel with uuid not found:"),
                     f.reel->getUuid()),
                 0);
        QCOMPARE(synced.count(), 0);
        QVERIFY(f.allHidden());
    }
};

QTEST_MAIN(TestNotificationManager)
#include "tst_notificationmanager.moc"
