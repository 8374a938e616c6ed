// The desktop services on the bus: ejecting a drive through UDisks2 and keeping the machine
// awake through logind, each against python3-dbusmock on a private bus of the test's own.

#include "TestSandbox.h"
#include "app/UserPrompt.h"
#include "download/DownloadManager.h"
#include "download/DriveEject.h"
#include "download/EjectAction.h"
#include "download/SleepInhibitor.h"
#include "model/DCP.h"
#include "model/DCPManager.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QProcess>
#include <QSignalSpy>
#include <QStorageInfo>
#include <QtTest>

#include <memory>

namespace {

const QString Python = QStringLiteral("/usr/bin/python3"); // Debian's, where python3-dbusmock lives

// A message bus of the test's own with stand-in services on it; everything stops with it.
class PrivateBus
{
public:
    PrivateBus()
    {
        daemon.start(QStringLiteral("dbus-daemon"), {QStringLiteral("--session"), QStringLiteral("--nofork"),
                                                     QStringLiteral("--print-address=1")});
        if (daemon.waitForReadyRead(10000))
            address = QString::fromUtf8(daemon.readLine()).trimmed();
    }
    ~PrivateBus()
    {
        QDBusConnection::disconnectFromBus(name);
        for (auto& mock : mocks) {
            mock->kill();
            mock->waitForFinished();
        }
        daemon.kill();
        daemon.waitForFinished();
    }
    QDBusConnection bus() { return QDBusConnection::connectToBus(address, name); }
    // Starts a dbusmock template serving busName; its call log is on the process's output.
    QProcess* startMock(const QString& busName, const QString& templ, const QString& parameters = QString())
    {
        auto mock = std::make_unique<QProcess>();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), address);
        mock->setProcessEnvironment(env);
        QStringList args{QStringLiteral("-m"), QStringLiteral("dbusmock"), QStringLiteral("--session"),
                         QStringLiteral("-t"), templ};
        if (!parameters.isEmpty())
            args << QStringLiteral("-p") << parameters;
        mock->start(Python, args);
        mocks.push_back(std::move(mock));
        QDBusConnection connection = bus();
        const bool up = QTest::qWaitFor(
            [&]() { return connection.interface()->isServiceRegistered(busName).value(); }, 15000);
        return up ? mocks.back().get() : nullptr;
    }

    QString address;

private:
    QProcess daemon;
    std::vector<std::unique_ptr<QProcess>> mocks;
    QString name = QStringLiteral("test-bus-%1").arg(quintptr(this));
};

// The methods a mock was called with so far, in order (its log: "<time> <method> <args>",
// and "<time> <method> raised: <error>" for a refusal).
QStringList calls(QProcess* mock, const QStringList& wanted)
{
    const QByteArray log = mock->property("log").toByteArray() + mock->readAllStandardOutput();
    mock->setProperty("log", log);
    QStringList seen;
    for (const QByteArray& line : log.split('\n')) {
        const QString method = QString::fromUtf8(line).section(QLatin1Char(' '), 1, 1);
        if (wanted.contains(method) && !line.contains(" raised: ")) // an answer, not a call
            seen << method;
    }
    return seen;
}

QDBusMessage mockCall(QDBusConnection bus, const QString& service, const QString& path, const QString& iface,
                      const QString& method, const QVariantList& args)
{
    QDBusMessage call = QDBusMessage::createMethodCall(service, path, iface, method);
    call.setArguments(args);
    return bus.call(call);
}

// logind's list of inhibitor locks, as "what|who|why|mode".
QStringList inhibitors(QDBusConnection bus)
{
    const QDBusMessage reply =
        mockCall(bus, QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
                 QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("ListInhibitors"), {});
    QStringList locks;
    if (reply.type() != QDBusMessage::ReplyMessage)
        return {QStringLiteral("error: ") + reply.errorMessage()};
    const QDBusArgument list = reply.arguments().at(0).value<QDBusArgument>();
    list.beginArray();
    while (!list.atEnd()) {
        QString what, who, why, mode;
        uint uid, pid;
        list.beginStructure();
        list >> what >> who >> why >> mode >> uid >> pid;
        list.endStructure();
        locks << QStringList{what, who, why, mode}.join(QLatin1Char('|'));
    }
    list.endArray();
    return locks;
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
};

void TestDownloadDBus::initTestCase()
{
    if (QStandardPaths::findExecutable(QStringLiteral("dbus-daemon")).isEmpty() ||
        QProcess::execute(Python, {QStringLiteral("-c"), QStringLiteral("import dbusmock")}) != 0)
        QSKIP("dbus-daemon or python3-dbusmock missing (scripts/install-deps.sh installs them)");
}

void TestDownloadDBus::eject_data()
{
    QTest::addColumn<QString>("refused"); // method made to refuse, with the error it answers
    QTest::addColumn<QString>("error");
    QTest::addColumn<QStringList>("expectCalls");
    QTest::addColumn<QString>("expectText"); // what the user is told (a part of it)

    const QStringList both{QStringLiteral("Unmount"), QStringLiteral("PowerOff")};
    const QStringList unmountOnly{QStringLiteral("Unmount")};
    const QString safe = QStringLiteral("It is now safe to remove the drive");
    QTest::newRow("ejected") << QString() << QString() << both << safe;
    QTest::newRow("busy") << "Unmount"
                          << "org.freedesktop.UDisks2.Error.DeviceBusy" << unmountOnly << "it is busy";
    QTest::newRow("not permitted") << "Unmount"
                                   << "org.freedesktop.UDisks2.Error.NotAuthorizedCanObtain" << unmountOnly
                                   << "not permitted";
    QTest::newRow("other refusal") << "Unmount"
                                   << "org.freedesktop.UDisks2.Error.Failed" << unmountOnly
                                   << "cannot be ejected: refused";
    // Unmounted is written: a drive that cannot be powered off is still safe to pull.
    QTest::newRow("power-off refused") << "PowerOff"
                                       << "org.freedesktop.UDisks2.Error.Failed" << both << safe;
    QTest::newRow("no disk service") << "-" << QString() << QStringList() << "no disk service (UDisks2)";
}

// Eject from the window's action: offered for a DCP on a removable volume with nothing moving,
// it unmounts and then powers off the drive holding the DCP and says so, or says why not.
void TestDownloadDBus::eject()
{
    QFETCH(QString, refused);
    QFETCH(QString, error);
    QFETCH(QStringList, expectCalls);
    QFETCH(QString, expectText);

    PrivateBus privateBus;
    QVERIFY(!privateBus.address.isEmpty());
    TestSandbox box;
    ScriptedPrompts prompts;
    DCP* dcp = box.makeDCP(QStringLiteral("dcp-1"), QStringLiteral("Film"));
    box.store(dcp);
    QDir().mkpath(box.downloads());
    const QString mountPoint = QStorageInfo(box.downloads()).rootPath();

    QProcess* udisks = nullptr;
    if (refused != QLatin1String("-")) {
        udisks = privateBus.startMock(QStringLiteral("org.freedesktop.UDisks2"), QStringLiteral(UDISKS2_STUB),
                                      QStringLiteral("{\"mount_point\": \"%1\"}").arg(mountPoint));
        QVERIFY(udisks);
    }
    if (!refused.isEmpty() && udisks) {
        const bool unmount = refused == QLatin1String("Unmount");
        const QDBusMessage added = mockCall(
            privateBus.bus(), QStringLiteral("org.freedesktop.UDisks2"),
            unmount ? QStringLiteral("/org/freedesktop/UDisks2/block_devices/sdz1")
                    : QStringLiteral("/org/freedesktop/UDisks2/drives/Cinema_Stick"),
            QStringLiteral("org.freedesktop.DBus.Mock"), QStringLiteral("AddMethod"),
            {unmount ? QStringLiteral("org.freedesktop.UDisks2.Filesystem")
                     : QStringLiteral("org.freedesktop.UDisks2.Drive"),
             refused, QStringLiteral("a{sv}"), QString(),
             QStringLiteral("raise dbus.exceptions.DBusException('refused', name='%1')").arg(error)});
        QCOMPARE(added.type(), QDBusMessage::ReplyMessage);
    }

    DriveEject ejector(privateBus.bus());
    EjectAction action(&ejector, box.engine(), []() { return DCPManager::getInstance()->getAllDCPs(); });
    QVERIFY(!action.canEject(dcp)); // the test's volume counts as the system disk by default
    action.setFixedVolumes({});
    QVERIFY(action.canEject(dcp));
    action.eject(dcp);
    QVERIFY(action.isEjecting());
    QVERIFY(!action.canEject(dcp)); // one eject at a time
    QTRY_COMPARE_WITH_TIMEOUT(prompts.count(), 1, 15000);
    QVERIFY2(prompts.last().text.contains(expectText), qPrintable(prompts.last().text));
    QCOMPARE(prompts.last().title, QStringLiteral("Eject drive"));
    QCOMPARE(prompts.last().icon,
             expectText.startsWith(QLatin1String("It is now")) ? Prompt::Information : Prompt::Warning);
    if (udisks)
        QTRY_COMPARE(calls(udisks, {QStringLiteral("Unmount"), QStringLiteral("PowerOff")}), expectCalls);
    QVERIFY(action.canEject(dcp));
}

// The lock is taken when a transfer starts, released on pause, and held again until the
// resumed download is verified; while data moves the drive is not offered for ejection.
void TestDownloadDBus::awakeWhileTransferring()
{
    PrivateBus privateBus;
    QVERIFY(!privateBus.address.isEmpty());
    QProcess* logind =
        privateBus.startMock(QStringLiteral("org.freedesktop.login1"), QStringLiteral("logind"));
    QVERIFY(logind);

    TestSandbox box(TestSandbox::WithServer);
    ScriptedPrompts prompts;
    StandInServer::AssetFault slow;
    slow.throttleBytesPerSecond = 200000;
    box.server.setAssetFault(QStringLiteral("a.mxf"), slow);
    DCP* dcp = box.makeDCP(QStringLiteral("dcp-1"), QStringLiteral("Film"));
    box.addAsset(box.addReel(dcp, QStringLiteral("reel-1"), 1), QStringLiteral("a"), QStringLiteral("a.mxf"),
                 patternBytes(2000000, 1));
    DownloadManager* engine = box.engine();
    engine->pauseDownloading(true);
    SleepInhibitor inhibitor(privateBus.bus());
    connect(engine, &DownloadManager::activeChanged, &inhibitor,
            [&inhibitor](bool on) { inhibitor.hold(QStringLiteral("transfer"), on); });
    DriveEject ejector(privateBus.bus());
    EjectAction action(&ejector, engine, []() { return DCPManager::getInstance()->getAllDCPs(); });
    action.setFixedVolumes({});
    QSignalSpy held(&inhibitor, &SleepInhibitor::heldChanged);

    box.publish(dcp);
    QVERIFY(!engine->isActive());
    engine->resumeDownloading();
    QVERIFY(engine->isActive());
    QVERIFY(held.wait(10000));
    QVERIFY(inhibitor.isHeld());
    QCOMPARE(inhibitors(privateBus.bus()),
             QStringList{QStringLiteral("sleep:idle|Reelvane Downloader|Downloading DCP|block")});
    QVERIFY(!action.canEject(dcp));

    engine->pauseDownloading();
    QVERIFY(!engine->isActive());
    QVERIFY(!inhibitor.isHeld());
    QTRY_COMPARE_WITH_TIMEOUT(inhibitors(privateBus.bus()), QStringList(), 5000);
    QVERIFY(action.canEject(dcp));
    QCOMPARE(calls(logind, {QStringLiteral("Inhibit")}), QStringList{QStringLiteral("Inhibit")});

    // Resumed to the end: held through the verification, released once the reel is verified.
    box.server.clearAllAssetFaults();
    engine->resumeDownloading();
    QTRY_VERIFY_WITH_TIMEOUT(inhibitor.isHeld(), 10000);
    QTRY_VERIFY_WITH_TIMEOUT(dcp->getAssets().first()->getDownloadChecksummed(), 15000);
    QTRY_VERIFY(!engine->isActive());
    QTRY_COMPARE_WITH_TIMEOUT(inhibitors(privateBus.bus()), QStringList(), 5000);
    QCOMPARE(held.count(), 4);
    QCOMPARE(prompts.count(), 0);
}

QTEST_GUILESS_MAIN(TestDownloadDBus)
#include "tst_download_dbus.moc"
