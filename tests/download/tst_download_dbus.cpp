// The desktop services on the bus: ejecting a drive through UDisks2 and keeping the machine
// awake through logind, against python3-dbusmock on a bus of the test's own.

#include "PrivateBus.h"
#include "ScriptedPrompts.h"
#include "TestSandbox.h"
#include "core/UserPrompt.h"
#include "download/DownloadManager.h"
#include "download/DriveEject.h"
#include "download/EjectAction.h"
#include "download/SleepInhibitor.h"
#include "model/DCP.h"
#include "model/DCPManager.h"

#include <QDBusArgument>
#include <QDBusConnectionInterface>
#include <QProcess>
#include <QSignalSpy>
#include <QStorageInfo>
#include <QtTest>

#include <memory>

namespace {

PrivateBus* g_bus = nullptr;

QDBusConnection bus()
{
    return g_bus->connection();
}

std::unique_ptr<QProcess> startMock(const QString& service, const QStringList& arguments)
{
    return g_bus->startMock(service, arguments);
}

QStringList calls(QProcess* mock)
{
    return PrivateBus::calls(mock);
}

bool lockHeld()
{
    const QDBusMessage reply =
        bus().call(QDBusMessage::createMethodCall("org.freedesktop.login1", "/org/freedesktop/login1",
                                                  "org.freedesktop.login1.Manager", "ListInhibitors"));
    const QDBusArgument locks = reply.arguments().value(0).value<QDBusArgument>();
    locks.beginArray();
    return !locks.atEnd();
}

} // namespace

class TestDownloadDBus : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void eject_data();
    void eject();
    void awakeWhileTransferring();

private:
    PrivateBus privateBus;
};

void TestDownloadDBus::initTestCase()
{
    if (!privateBus.isRunning())
        QSKIP("dbus-daemon or python3-dbusmock missing (scripts/install-deps.sh installs them)");
    g_bus = &privateBus;
}

void TestDownloadDBus::eject_data()
{
    QTest::addColumn<QString>("refuse"); // stand-in's refusals (JSON), or "-" for no disk service at all
    QTest::addColumn<QStringList>("expectCalls");
    QTest::addColumn<QString>("expectText");

    const QStringList both{"Unmount {}", "PowerOff {}"}, unmount{"Unmount {}"};
    const QString safe = "It is now safe to remove the drive",
                  error = "{\"%1\": \"org.freedesktop.UDisks2.Error.%2\"}";
    QTest::newRow("ejected") << QString("{}") << both << safe;
    QTest::newRow("busy") << error.arg("Unmount", "DeviceBusy") << unmount << QString("it is busy");
    QTest::newRow("not permitted") << error.arg("Unmount", "NotAuthorizedCanObtain") << unmount
                                   << QString("not permitted");
    // Once unmounted all is written: a drive that cannot be powered off is still safe to pull.
    QTest::newRow("power-off refused") << error.arg("PowerOff", "Failed") << both << safe;
    QTest::newRow("no disk service") << QString("-") << QStringList() << QString("no disk service (UDisks2)");
}

// The window's action, offered for a DCP on a removable volume with nothing moving, unmounts
// and then powers off the drive holding the DCP and says so, or says why not.
void TestDownloadDBus::eject()
{
    QFETCH(QString, refuse);
    QFETCH(QStringList, expectCalls);
    QFETCH(QString, expectText);
    TestSandbox box;
    ScriptedPrompts prompts;
    DCP* dcp = box.makeDCP("dcp-1", "Film");
    box.store(dcp);
    QVERIFY(QDir().mkpath(box.downloads()));

    std::unique_ptr<QProcess> udisks;
    if (refuse != "-") {
        const QString mountPoint = QStorageInfo(box.downloads()).rootPath();
        const QString parameters = QString(R"({"mount_point": "%1", "refuse": %2})").arg(mountPoint, refuse);
        QVERIFY(udisks = startMock("org.freedesktop.UDisks2", {"-t", UDISKS2_STUB, "-p", parameters}));
    }

    DriveEject ejector(bus());
    EjectAction action(&ejector, box.engine(), []() { return DCPManager::getInstance()->getAllDCPs(); });
    QVERIFY(!action.canEject(dcp)); // the test's folder is on the system disk
    action.setFixedVolumes({});
    action.eject(dcp);
    QVERIFY(!action.canEject(dcp)); // one eject at a time
    QTRY_COMPARE_WITH_TIMEOUT(prompts.count(), 1, 15000);
    QVERIFY2(prompts.last().text.contains(expectText), qPrintable(prompts.last().text));
    if (udisks)
        QTRY_COMPARE(calls(udisks.get()), expectCalls);
    QVERIFY(action.canEject(dcp));
}

// The lock is taken when a transfer starts, released on pause, and held again until the
// resumed download is verified; while data moves the drive is not offered for ejection.
void TestDownloadDBus::awakeWhileTransferring()
{
    const std::unique_ptr<QProcess> logind = startMock("org.freedesktop.login1", {"-t", "logind"});
    QVERIFY(logind);
    TestSandbox box(TestSandbox::WithServer);
    ScriptedPrompts prompts;
    StandInServer::AssetFault slow;
    slow.throttleBytesPerSecond = 200000;
    box.server.setAssetFault("a.mxf", slow);
    DCP* dcp = box.makeDCP("dcp-1", "Film");
    box.addAsset(box.addReel(dcp, "reel-1", 1), "a", "a.mxf", patternBytes(2000000, 1));
    DownloadManager* engine = box.engine();
    engine->pauseDownloading(true);
    SleepInhibitor inhibitor(bus());
    connect(engine, &DownloadManager::activeChanged, &inhibitor,
            [&](bool on) { inhibitor.hold("transfer", on); });
    DriveEject ejector(bus());
    EjectAction action(&ejector, engine, []() { return DCPManager::getInstance()->getAllDCPs(); });
    action.setFixedVolumes({});
    QSignalSpy held(&inhibitor, &SleepInhibitor::heldChanged);
    box.publish(dcp);

    engine->resumeDownloading();
    QVERIFY(held.wait(10000));
    QVERIFY(lockHeld());
    QVERIFY(!action.canEject(dcp));

    engine->pauseDownloading();
    QVERIFY(!inhibitor.isHeld());
    QTRY_VERIFY(!lockHeld());
    QVERIFY(action.canEject(dcp));

    box.server.clearAllAssetFaults();
    engine->resumeDownloading();
    QTRY_VERIFY_WITH_TIMEOUT(dcp->getAssets().first()->getDownloadChecksummed(), 15000);
    QTRY_VERIFY(!inhibitor.isHeld()); // held through the verification, until the reel was verified
    QCOMPARE(held.count(), 4);
    QTRY_VERIFY(!lockHeld());
    const QString inhibit = R"(Inhibit "sleep:idle" "Reelvane Downloader" "Downloading DCP" "block")";
    QCOMPARE(calls(logind.get()), QStringList({inhibit, inhibit}));
    QCOMPARE(prompts.count(), 0);
}

QTEST_GUILESS_MAIN(TestDownloadDBus)
#include "tst_download_dbus.moc"
