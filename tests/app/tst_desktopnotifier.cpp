// Desktop notifications through the freedesktop notification service, against
// python3-dbusmock's notification daemon on a bus of the test's own; the tray, or only the
// log, where no service answers.
#include "PrivateBus.h"
#include "app/DesktopNotifier.h"

#include <QDBusArgument>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QSignalSpy>
#include <QtTest>

namespace {
AttentionEvent happening(AttentionEvent::Kind kind, const QString& dcp, const QString& text)
{
    AttentionEvent made;
    made.kind = kind;
    made.dcpUuid = dcp;
    made.dcpTitle = dcp;
    made.time = QDateTime::currentDateTimeUtc();
    made.headline =
        kind == AttentionEvent::DcpReady ? QStringLiteral("DCP ready") : QStringLiteral("Reel corrupted");
    made.text = text;
    return made;
}

// What the notification daemon does when the user clicks or closes a notification.
void emitFromDaemon(const QDBusConnection& bus, const char* signal, const char* signature,
                    const QVariantList& arguments)
{
    QVariantList wrapped;
    for (const QVariant& argument : arguments)
        wrapped << QVariant::fromValue(QDBusVariant(argument));
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("/org/freedesktop/Notifications"),
        QStringLiteral("org.freedesktop.DBus.Mock"), QStringLiteral("EmitSignal"));
    call << QStringLiteral("org.freedesktop.Notifications") << QString::fromLatin1(signal)
         << QString::fromLatin1(signature) << wrapped;
    const QDBusMessage reply = bus.call(call);
    QVERIFY2(reply.type() == QDBusMessage::ReplyMessage, qPrintable(reply.errorMessage()));
}
} // namespace

class TestDesktopNotifier : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void notifiesReplacesAndRaises();
    void plainTextService();
    void withoutTheService_data();
    void withoutTheService();

private:
    PrivateBus bus;
};

void TestDesktopNotifier::initTestCase()
{
    Q_INIT_RESOURCE(qml); // the tray's icon
    if (!bus.isRunning())
        QSKIP("dbus-daemon or python3-dbusmock missing (scripts/install-deps.sh installs them)");
}

// One notification per DCP, replaced by the DCP's next event, even one close behind; a click on it asks for
// the window on that DCP; once the user closed it, the DCP's next event is a new one.
void TestDesktopNotifier::notifiesReplacesAndRaises()
{
    const std::unique_ptr<QProcess> daemon =
        bus.startMock(QStringLiteral("org.freedesktop.Notifications"),
                      {QStringLiteral("-t"), QStringLiteral("notification_daemon")});
    QVERIFY(daemon);
    DesktopNotifier notifier(bus.connection(), false);
    QSignalSpy shown(&notifier, &DesktopNotifier::notified);
    QSignalSpy activated(&notifier, &DesktopNotifier::activated);

    // The second event comes before the service has answered the first: it still replaces it.
    notifier.show(happening(AttentionEvent::DcpReady, QStringLiteral("d1"),
                            QStringLiteral("Tom & Jerry <3> is ready")));
    notifier.show(happening(AttentionEvent::ReelCorrupted, QStringLiteral("d1"),
                            QStringLiteral("reel 2 is corrupted")));
    QTRY_COMPARE_WITH_TIMEOUT(shown.count(), 2, 10000);
    notifier.show(happening(AttentionEvent::ReelCorrupted, QStringLiteral("d2"),
                            QStringLiteral("reel 1 is corrupted")));
    QVERIFY(shown.wait(10000));
    for (const QList<QVariant>& one : shown)
        QCOMPARE(one.at(0).value<DesktopNotifier::Route>(), DesktopNotifier::Desktop);

    const QString call = QStringLiteral(
        R"(Notify "Reelvane Downloader" %1 "reelvane-downloader" "%2" "%3" ["default", "Show"] )"
        R"({"desktop-entry": "reelvane-downloader", "urgency": %4} -1)");
    const QStringList expected{
        QStringLiteral("GetCapabilities"),
        call.arg(0)
            .arg(QStringLiteral("DCP ready"), QStringLiteral("Tom &amp; Jerry &lt;3&gt; is ready"))
            .arg(1),
        call.arg(1).arg(QStringLiteral("Reel corrupted"), QStringLiteral("reel 2 is corrupted")).arg(2),
        call.arg(0).arg(QStringLiteral("Reel corrupted"), QStringLiteral("reel 1 is corrupted")).arg(2)};
    QCOMPARE(PrivateBus::calls(daemon.get()), expected);

    emitFromDaemon(bus.connection(), "ActionInvoked", "us", {uint(2), QStringLiteral("default")});
    QVERIFY(activated.wait(10000));
    QCOMPARE(activated.takeFirst().at(0).toString(), QStringLiteral("d2"));

    emitFromDaemon(bus.connection(), "NotificationClosed", "uu", {uint(1), uint(2)});
    QTest::qWait(200); // the signal travels through the bus
    notifier.show(happening(AttentionEvent::DcpReady, QStringLiteral("d1"), QStringLiteral("ready")));
    QVERIFY(shown.wait(10000));
    QVERIFY2(PrivateBus::calls(daemon.get())
                 .last()
                 .startsWith(QStringLiteral(R"(Notify "Reelvane Downloader" 0 )")),
             qPrintable(PrivateBus::calls(daemon.get()).last()));
}

// A service that shows the body as plain text gets it as written.
void TestDesktopNotifier::plainTextService()
{
    const QString service = QStringLiteral("org.freedesktop.Notifications");
    QTRY_VERIFY(
        !bus.connection().interface()->isServiceRegistered(service).value()); // the last test's daemon
    const std::unique_ptr<QProcess> daemon =
        bus.startMock(service, {QStringLiteral("-t"), QStringLiteral("notification_daemon"),
                                QStringLiteral("-p"), QStringLiteral(R"({"capabilities": "body actions"})")});
    QVERIFY(daemon);
    DesktopNotifier notifier(bus.connection(), false);
    QSignalSpy shown(&notifier, &DesktopNotifier::notified);
    notifier.show(
        happening(AttentionEvent::DcpReady, QStringLiteral("d1"), QStringLiteral("Tom & Jerry is ready")));
    QVERIFY(shown.wait(10000));
    QVERIFY2(PrivateBus::calls(daemon.get())
                 .last()
                 .contains(QStringLiteral(R"("DCP ready" "Tom & Jerry is ready")")),
             qPrintable(PrivateBus::calls(daemon.get()).last()));
}

void TestDesktopNotifier::withoutTheService_data()
{
    QTest::addColumn<bool>("onBus");
    QTest::addColumn<bool>("withTray");
    QTest::addColumn<DesktopNotifier::Route>("route");
    QTest::newRow("no service, tray") << true << true << DesktopNotifier::Tray;
    QTest::newRow("no service, no tray") << true << false << DesktopNotifier::LogOnly;
    QTest::newRow("no bus, tray") << false << true << DesktopNotifier::Tray;
}

void TestDesktopNotifier::withoutTheService()
{
    QFETCH(bool, onBus);
    QFETCH(bool, withTray);
    QFETCH(DesktopNotifier::Route, route);
    DesktopNotifier notifier(onBus ? bus.connection() : QDBusConnection(QStringLiteral("none")), withTray);
    QCOMPARE(notifier.hasTray(), withTray);
    QSignalSpy shown(&notifier, &DesktopNotifier::notified);
    notifier.show(happening(AttentionEvent::DcpReady, QStringLiteral("d1"), QStringLiteral("Film is ready")));
    QTRY_COMPARE_WITH_TIMEOUT(shown.count(), 1, 10000);
    QCOMPARE(shown.at(0).at(0).value<DesktopNotifier::Route>(), route);
    QCOMPARE(shown.at(0).at(1).toString(), QStringLiteral("Film is ready"));
}

QTEST_MAIN(TestDesktopNotifier)
#include "tst_desktopnotifier.moc"
