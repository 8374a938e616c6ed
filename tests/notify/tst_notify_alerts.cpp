// Alerts to a web address: what happens in the booth reaches the address once each, over
// HTTPS through the proxy; an address that fails is tried a bounded number of times, and one
// that never answers holds no download up. "Send a test alert" says whether it answered.
#include "LogCapture.h"
#include "ScriptedPrompts.h"
#include "TestCertificates.h"
#include "TestProxy.h"
#include "TestSandbox.h"
#include "app/AppContext.h"
#include "core/NetworkSetup.h"
#include "dialogs/AlertsDialog.h"
#include "download/DownloadManager.h"
#include "download/DriveWatch.h"
#include "model/Asset.h"
#include "model/DCP.h"
#include "model/DCPManager.h"
#include "model/Reel.h"
#include "notify/AttentionEvents.h"
#include "notify/WebAlerts.h"
#include "storage/Setting.h"

#include <QDialogButtonBox>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTcpServer>
#include <QtTest>

namespace {
QList<QJsonObject> alertsPosted(const StandInServer& server)
{
    QList<QJsonObject> posted;
    for (const StandInServer::JournalEntry& entry : server.journalFor(QStringLiteral("/alerts")))
        posted << QJsonDocument::fromJson(entry.body).object();
    return posted;
}

// A DCP already verified and acknowledged, its file under its final name.
DCP* completeDcp(TestSandbox& box, const QString& uuid, const QString& folder)
{
    DCP* dcp = box.newDCP(uuid, uuid, folder);
    Asset* asset = TestSandbox::addAssetOfSize(TestSandbox::addReel(dcp, uuid + QStringLiteral("-r"), 1),
                                               uuid + QStringLiteral("-a"), 0);
    asset->setDownloadFinished(true);
    asset->setDownloadChecksummed(true);
    writeFile(asset->getFullPath(), QByteArray());
    asset->reveal();
    return dcp;
}
} // namespace

class TestNotifyAlerts : public QObject
{
    Q_OBJECT

private slots:
    void fourEventsReachTheAddressOnce();
    void boundedRetries_data();
    void boundedRetries();
    void deadAddressDelaysNothing();
    void testAlert_data();
    void testAlert();
};

// A server that stays silent, a reel that keeps arriving corrupted, a pulled drive and a
// film that completes: one alert each, with its fields, over HTTPS through the proxy. A
// complete DCP is not announced again, nor is its drive being pulled.
void TestNotifyAlerts::fourEventsReachTheAddressOnce()
{
    TestCertificates certificates;
    QVERIFY(certificates.isValid());
    QCOMPARE(NetworkSetup::addTrustedAuthorities(certificates.authorityFile()), QString());
    StandInServer hook;
    QString error;
    QVERIFY(hook.setTlsFiles(certificates.certificateFile(TestCertificates::Good), certificates.keyFile(),
                             &error));
    QVERIFY(hook.listen());
    TestProxy proxy;
    QVERIFY(proxy.isRunning());

    TestSandbox box(TestSandbox::WithServer);
    ScriptedPrompts prompts;
    DCP* film = box.makeDCP(QStringLiteral("d-film"), QStringLiteral("Film"));
    Asset* filmAsset = box.addAsset(box.addReel(film, QStringLiteral("film-r1"), 1), QStringLiteral("fa"),
                                    QStringLiteral("f.mxf"), patternBytes(100000, 1));
    DCP* bad = box.makeDCP(QStringLiteral("d-bad"), QStringLiteral("Bad"));
    box.addAsset(box.addReel(bad, QStringLiteral("bad-r2"), 2), QStringLiteral("ba"), QStringLiteral("b.mxf"),
                 patternBytes(100000, 2));
    StandInServer::AssetFault failing;
    failing.status = 500;
    box.server.setAssetFault(QStringLiteral("f.mxf"), failing);
    StandInServer::AssetFault corrupt;
    corrupt.corruptFirstDeliveries = 3;
    box.server.setAssetFault(QStringLiteral("b.mxf"), corrupt);
    DCP* onUsb =
        box.newDCP(QStringLiteral("d-usb"), QStringLiteral("Usb"), box.root() + QStringLiteral("/usb"));
    TestSandbox::addAssetOfSize(TestSandbox::addReel(onUsb, QStringLiteral("usb-r1"), 1),
                                QStringLiteral("ua"), 10);
    DCP* done = completeDcp(box, QStringLiteral("d-done"), box.root() + QStringLiteral("/usb2"));
    QVERIFY(QDir().mkpath(onUsb->getDCPPath()));
    box.store(onUsb);
    box.store(done);

    DownloadManager* engine = box.engine();
    box.notifications(50);
    qputenv("https_proxy", QByteArray("http://127.0.0.1:") + QByteArray::number(proxy.port()));
    WebAlerts alerts(box.context().settings());
    qunsetenv("https_proxy");
    QVERIFY(alerts.setAddress(hook.baseUrl().toString() + QStringLiteral("/alerts")));
    AttentionEvents attention(box.catalogue(), engine);
    attention.setServerSilenceMs(300);
    connect(&attention, &AttentionEvents::raised, &alerts, &WebAlerts::send);
    DriveWatch drives([] { return DCPManager::getInstance()->getAllDCPs(); });
    attention.followDrives(&drives);
    QSignalSpy delivered(&alerts, &WebAlerts::delivered);
    const QDateTime start = QDateTime::currentDateTimeUtc().addSecs(-1);

    QVERIFY(QDir(box.root() + QStringLiteral("/usb")).removeRecursively());
    QVERIFY(QDir(box.root() + QStringLiteral("/usb2")).removeRecursively());
    drives.checkNow();
    box.publish(film);
    box.publish(bad);
    emit bad->reelsChanged(); // followed once, however often the DCP announces its reels
    const auto deliveredEvents = [&] {
        QStringList names;
        for (const QList<QVariant>& one : delivered)
            names << one.at(0).toString();
        return names;
    };
    QTRY_VERIFY_WITH_TIMEOUT(deliveredEvents().contains(QStringLiteral("server_not_answering")), 15000);
    box.server.clearAssetFault(QStringLiteral("f.mxf"));
    QTRY_COMPARE_WITH_TIMEOUT(delivered.count(), 4, 15000);
    QVERIFY(filmAsset->getDownloadChecksummed());
    emit film->statusChanged();
    QTest::qWait(300);

    QHash<QString, QJsonObject> byEvent;
    for (const QJsonObject& alert : alertsPosted(hook))
        byEvent.insert(alert.value(QStringLiteral("event")).toString(), alert);
    QCOMPARE(alertsPosted(hook).size(), 4);
    const auto expect = [&](const char* event, const QString& uuid, const QJsonValue& reel,
                            const QString& text) {
        const QJsonObject alert = byEvent.value(QString::fromLatin1(event));
        const QJsonObject dcp = alert.value(QStringLiteral("dcp")).toObject();
        QCOMPARE(dcp.value(QStringLiteral("uuid")).toString(), uuid);
        QVERIFY(text.startsWith(dcp.value(QStringLiteral("title")).toString() + QStringLiteral(" ")) ||
                text.startsWith(dcp.value(QStringLiteral("title")).toString() + QStringLiteral(":")));
        QCOMPARE(alert.value(QStringLiteral("reel")), reel);
        QVERIFY2(alert.value(QStringLiteral("text")).toString().startsWith(text),
                 qPrintable(alert.value(QStringLiteral("text")).toString()));
        const QDateTime time =
            QDateTime::fromString(alert.value(QStringLiteral("time")).toString(), Qt::ISODate);
        QVERIFY(time.timeSpec() == Qt::UTC && time >= start && time <= QDateTime::currentDateTimeUtc());
    };
    expect("drive_not_connected", QStringLiteral("d-usb"), QJsonValue::Null,
           QStringLiteral("Usb (friendly): the drive is not connected"));
    expect("server_not_answering", QStringLiteral("d-film"), QJsonValue::Null,
           QStringLiteral("Film (friendly): the server has not answered since "));
    expect("reel_corrupted", QStringLiteral("d-bad"), 2,
           QStringLiteral("Bad (friendly): reel 2 is corrupted"));
    expect("dcp_ready", QStringLiteral("d-film"), QJsonValue::Null,
           QStringLiteral("Film (friendly) is ready: every reel verified"));
    for (const StandInServer::JournalEntry& entry : hook.journalFor(QStringLiteral("/alerts"))) {
        QVERIFY(entry.method == "POST");
        QVERIFY(entry.headers.contains({QByteArray("Content-Type"), QByteArray("application/json")}));
    }
    // Every alert through the proxy (the network layer may open a connection it then drops).
    QVERIFY(proxy.log().count(QStringLiteral("CONNECT 127.0.0.1:%1 ").arg(hook.port())) >= 4);
    QCOMPARE(prompts.count(), 0);
}

void TestNotifyAlerts::boundedRetries_data()
{
    QTest::addColumn<int>("failures");
    QTest::addColumn<int>("posts");
    QTest::addColumn<bool>("delivered");
    QTest::newRow("fails once") << 1 << 2 << true;
    QTest::newRow("fails twice") << 2 << 3 << true;
    QTest::newRow("keeps failing") << 50 << 3 << false;
}

// Three attempts at most; only the address is logged, never its path, query or credentials.
void TestNotifyAlerts::boundedRetries()
{
    QFETCH(int, failures);
    QFETCH(int, posts);
    QFETCH(bool, delivered);
    TestSandbox box(TestSandbox::WithServer);
    box.server.setAlertFailures(failures);
    LogCapture log;
    WebAlerts alerts(box.context().settings());
    alerts.retryDelaysMs = {50, 50};
    QUrl address = box.server.baseUrl();
    address.setUserInfo(QStringLiteral("staff:s3cret"));
    address.setPath(QStringLiteral("/alerts"));
    address.setQuery(QStringLiteral("token=t0ken"));
    QVERIFY(alerts.setAddress(address.toString()));
    QSignalSpy done(&alerts, delivered ? &WebAlerts::delivered : &WebAlerts::gaveUp);
    AttentionEvent event;
    event.kind = AttentionEvent::ReelCorrupted;
    alerts.send(event);
    QCOMPARE(alerts.outstanding(), 1);
    QVERIFY(done.wait(10000));
    QTest::qWait(200);
    QCOMPARE(box.server.journalFor(QStringLiteral("/alerts")).size(), posts);
    QCOMPARE(alerts.outstanding(), 0);
    QVERIFY(log.contains(box.server.baseUrl().toString()));
    for (const char* secret : {"s3cret", "t0ken", "/alerts"})
        QVERIFY2(!log.lines().join('\n').contains(QLatin1String(secret)), secret);
}

// An address that takes the connection and never answers: the downloads go on and finish
// as if there were no alerts, while the alert still waits.
void TestNotifyAlerts::deadAddressDelaysNothing()
{
    QTcpServer dead;
    QVERIFY(dead.listen(QHostAddress::LocalHost));
    TestSandbox box(TestSandbox::WithServer);
    ScriptedPrompts prompts;
    StandInServer::AssetFault corrupt;
    corrupt.corruptFirstDeliveries = 3;
    box.server.setAssetFault(QStringLiteral("a.mxf"), corrupt);
    DCP* first = box.makeDCP(QStringLiteral("d-1"), QStringLiteral("First"));
    box.addAsset(box.addReel(first, QStringLiteral("r-1"), 1), QStringLiteral("a"), QStringLiteral("a.mxf"),
                 patternBytes(200000, 1));
    DCP* second = box.makeDCP(QStringLiteral("d-2"), QStringLiteral("Second"));
    Asset* secondAsset = box.addAsset(box.addReel(second, QStringLiteral("r-2"), 1), QStringLiteral("b"),
                                      QStringLiteral("b.mxf"), patternBytes(2000000, 2));
    DownloadManager* engine = box.engine();
    WebAlerts alerts(box.context().settings());
    alerts.timeoutMs = 60000;
    QVERIFY(alerts.setAddress(QStringLiteral("http://127.0.0.1:%1/hook").arg(dead.serverPort())));
    AttentionEvents attention(box.catalogue(), engine);
    connect(&attention, &AttentionEvents::raised, &alerts, &WebAlerts::send);
    QSignalSpy raised(&attention, &AttentionEvents::raised);
    box.publish(first);
    QVERIFY(raised.wait(10000)); // the first DCP's reel is corrupted
    QCOMPARE(alerts.outstanding(), 1);
    box.publish(second);
    QTRY_VERIFY_WITH_TIMEOUT(secondAsset->getDownloadChecksummed(), 10000);
    QCOMPARE(alerts.outstanding(), 1);
    QCOMPARE(prompts.count(), 0);
}

void TestNotifyAlerts::testAlert_data()
{
    QTest::addColumn<QString>("address"); // {server}: the stand-in, {closed}: a port that takes no connection
    QTest::addColumn<bool>("answered");
    QTest::addColumn<QString>("message");
    QTest::newRow("answers") << "{server}/alerts" << true
                             << "The address answered: alerts will arrive there.";
    QTest::newRow("refuses alerts")
        << "{server}/updates" << false
        << "The address did not answer: the server answered 405 Method Not Allowed";
    QTest::newRow("nobody there") << "http://127.0.0.1:{closed}/alerts" << false
                                  << "The address did not answer: Connection refused";
    QTest::newRow("not an address") << "mailto:staff@example.com" << false
                                    << "Enter a web address that starts with https:// or http://.";
}

// The button sends one alert to the address typed, saved or not, and says what came back;
// Save keeps only an address that can take alerts.
void TestNotifyAlerts::testAlert()
{
    QFETCH(QString, address);
    QFETCH(bool, answered);
    QFETCH(QString, message);
    TestSandbox box(TestSandbox::WithServer);
    QTcpServer closed;
    QVERIFY(closed.listen(QHostAddress::LocalHost));
    const quint16 closedPort = closed.serverPort();
    closed.close();
    QString typed = address;
    typed.replace(QStringLiteral("{server}"), box.server.baseUrl().toString())
        .replace(QStringLiteral("{closed}"), QString::number(closedPort));
    WebAlerts alerts(box.context().settings());
    AlertsDialog dialog(alerts);
    auto* field = dialog.findChild<QLineEdit*>(QStringLiteral("alert_address"));
    auto* button = dialog.findChild<QPushButton*>(QStringLiteral("btn_test_alert"));
    auto* result = dialog.findChild<QLabel*>(QStringLiteral("label_alert_result"));
    field->setText(typed);
    QSignalSpy finished(&alerts, &WebAlerts::testFinished);
    button->click();
    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 10000);
    QCOMPARE(finished.at(0).at(0).toBool(), answered);
    QVERIFY2(result->text().startsWith(message), qPrintable(result->text()));
    QCOMPARE(result->styleSheet().isEmpty(), answered); // red when it did not answer
    QVERIFY(button->isEnabled());
    const QList<StandInServer::JournalEntry> posted = box.server.journal();
    QCOMPARE(posted.size(), address.startsWith(QLatin1String("{server}")) ? 1 : 0);
    if (!posted.isEmpty())
        QCOMPARE(
            QJsonDocument::fromJson(posted.first().body).object().value(QStringLiteral("event")).toString(),
            QStringLiteral("test"));

    // Nothing stored by the test; Save stores a good address and refuses anything else.
    QCOMPARE(alerts.address(), QString());
    dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Save)->click();
    const bool valid = WebAlerts::addressProblem(typed).isEmpty();
    QCOMPARE(alerts.address(), valid ? typed : QString());
    QCOMPARE(dialog.result(), valid ? int(QDialog::Accepted) : int(QDialog::Rejected));
}

QTEST_MAIN(TestNotifyAlerts)
#include "tst_notify_alerts.moc"
