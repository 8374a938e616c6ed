// TLS and proxies as the program meets them: which proxy each address takes, certificates
// refused at the login and at an asset before a byte goes out, and logins through a real
// tinyproxy on loopback.
#include "LogCapture.h"
#include "TestCertificates.h"
#include "TestProxy.h"
#include "TestSandbox.h"
#include "app/EnvironmentProxyFactory.h"
#include "app/NetworkSetup.h"
#include "dialogs/LoginDialog.h"
#include "download/DownloadManager.h"
#include "model/Asset.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

namespace {
const QString kConnectionMessage = QStringLiteral("Error. Please check your internet connection.");

QString proxyText(const QNetworkProxy& proxy)
{
    if (proxy.type() == QNetworkProxy::NoProxy)
        return QStringLiteral("direct");
    const QString scheme =
        proxy.type() == QNetworkProxy::Socks5Proxy ? QStringLiteral("socks5") : QStringLiteral("http");
    const QString user = proxy.user().isEmpty() ? QString() : proxy.user() + ':' + proxy.password() + '@';
    return QStringLiteral("%1://%2%3:%4").arg(scheme, user, proxy.hostName()).arg(proxy.port());
}

// Variables as "name=value;name=value".
EnvironmentProxyFactory::Lookup variables(const QString& text)
{
    QHash<QString, QString> values;
    for (const QString& item : text.split(';', Qt::SkipEmptyParts))
        values.insert(item.section('=', 0, 0), item.section('=', 1));
    return [values](const QString& name) {
        return values.value(name);
    };
}

// Logs in with the stand-in's default account; returns the dialog's message, or "accepted".
QString logIn()
{
    LoginDialog dialog;
    dialog.findChild<QLineEdit*>(QStringLiteral("line_edit_username"))->setText(QStringLiteral("user"));
    dialog.findChild<QLineEdit*>(QStringLiteral("line_edit_password"))->setText(QStringLiteral("secret"));
    auto* const button = dialog.findChild<QPushButton*>(QStringLiteral("btn_login"));
    button->click();
    if (!QTest::qWaitFor([&] { return button->text() == QLatin1String("LOG IN"); }, 20000))
        return QStringLiteral("no answer");
    return dialog.result() == QDialog::Accepted
               ? QStringLiteral("accepted")
               : dialog.findChild<QLabel*>(QStringLiteral("label_error"))->text();
}
} // namespace

class TestNetwork : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup()
    {
        qunsetenv("https_proxy");
        qunsetenv("no_proxy");
    }
    void proxyRules_data();
    void proxyRules();
    void refusedCertificates_data();
    void refusedCertificates();
    void loginThroughProxy_data();
    void loginThroughProxy();

private:
    TestCertificates m_certificates;
};

void TestNetwork::initTestCase()
{
    QVERIFY2(m_certificates.isValid(), qPrintable(m_certificates.error()));
    QCOMPARE(NetworkSetup::addTrustedAuthorities(m_certificates.authorityFile()), QString());
}

void TestNetwork::proxyRules_data()
{
    QTest::addColumn<QString>("environment");
    QTest::addColumn<QString>("url");
    QTest::addColumn<QString>("expected"); // proxyText(), or "refused" for a start-up problem
    const QString p = QStringLiteral("https_proxy=http://p:3128;");
    QTest::newRow("https via https_proxy") << p << "https://a.example/x"
                                           << "http://p:3128";
    QTest::newRow("upper case, default port") << "HTTPS_PROXY=p"
                                              << "https://a.example/"
                                              << "http://p:1080";
    QTest::newRow("lower case first") << p + "HTTPS_PROXY=q:1"
                                      << "https://a.example/"
                                      << "http://p:3128";
    QTest::newRow("http ignores https_proxy") << p << "http://a.example/"
                                              << "direct";
    QTest::newRow("HTTP_PROXY ignored, as curl") << "HTTP_PROXY=p:1"
                                                 << "http://a.example/"
                                                 << "direct";
    QTest::newRow("http_proxy") << "http_proxy=p:8080"
                                << "http://a.example/"
                                << "http://p:8080";
    QTest::newRow("all_proxy fallback") << "ALL_PROXY=socks5://s:9"
                                        << "https://a.example/"
                                        << "socks5://s:9";
    QTest::newRow("credentials decoded") << "https_proxy=http://u%40x:p%3Aw@p:3128"
                                         << "https://a/"
                                         << "http://u@x:p:w@p:3128";
    QTest::newRow("no_proxy subdomain") << p + "no_proxy=.example.com"
                                        << "https://a.example.com/"
                                        << "direct";
    QTest::newRow("no_proxy is no substring") << p + "no_proxy=example.com"
                                              << "https://badexample.com/"
                                              << "http://p:3128";
    QTest::newRow("NO_PROXY CIDR, space separated") << p + "NO_PROXY=localhost 10.0.0.0/8"
                                                    << "https://10.2.3.4/"
                                                    << "direct";
    QTest::newRow("outside the CIDR") << p + "no_proxy=10.0.0.0/8"
                                      << "https://11.0.0.1/"
                                      << "http://p:3128";
    QTest::newRow("no_proxy *") << p + "no_proxy=*"
                                << "https://a.example/"
                                << "direct";
    QTest::newRow("proxy of an unknown kind") << "https_proxy=ftp://p"
                                              << "https://a/"
                                              << "refused";
}

void TestNetwork::proxyRules()
{
    QFETCH(QString, environment);
    QFETCH(QString, url);
    QFETCH(QString, expected);
    EnvironmentProxyFactory factory(variables(environment));
    if (expected == QLatin1String("refused")) {
        QVERIFY(factory.problem().contains(QStringLiteral("cannot be used")));
        return;
    }
    QCOMPARE(factory.problem(), QString());
    const QList<QNetworkProxy> proxies = factory.queryProxy(QNetworkProxyQuery(QUrl(url)));
    QCOMPARE(proxies.size(), 1);
    QCOMPARE(proxyText(proxies.first()), expected);
    // Servers and other sockets never take a proxy.
    QCOMPARE(proxyText(factory.queryProxy(QNetworkProxyQuery(quint16(8080))).first()),
             QStringLiteral("direct"));
}

// A certificate the program must not trust stops the login and the download before the
// request: the server never sees one, and no file is written.
void TestNetwork::refusedCertificates_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("reason"); // in the log and in the "not answering" details
    QTest::newRow("trusted through the extra authority") << int(TestCertificates::Good) << "";
    QTest::newRow("untrusted") << int(TestCertificates::Untrusted) << "issuer certificate";
    QTest::newRow("expired") << int(TestCertificates::Expired) << "expired";
    QTest::newRow("another host") << int(TestCertificates::OtherHost) << "host name did not match";
}

void TestNetwork::refusedCertificates()
{
    QFETCH(int, kind);
    QFETCH(QString, reason);
    TestSandbox box(TestSandbox::WithServer);
    QString error;
    QVERIFY2(box.server.setTlsFiles(m_certificates.certificateFile(TestCertificates::Kind(kind)),
                                    m_certificates.keyFile(), &error),
             qPrintable(error));
    qputenv("ORV_PORTAL_URL", box.server.portalBaseUrl().toUtf8());
    LogCapture log;

    QCOMPARE(logIn(), reason.isEmpty() ? QStringLiteral("accepted") : kConnectionMessage);
    const QByteArray content = patternBytes(200000, 4);
    Asset* asset =
        box.addAsset(box.addReel(box.makeDCP(QStringLiteral("dcp-1"), QStringLiteral("Film")), "reel-1", 1),
                     QStringLiteral("asset-1"), QStringLiteral("a.mxf"), content);
    QVERIFY(asset->getDownloadUrl().startsWith(QLatin1String("https://")));
    box.store(asset->getDCP());
    QStringList details;
    connect(box.engine(), &DownloadManager::serverNotAnswering, this,
            [&](const QString& why) { details << why; });
    box.engine()->assetsChanged();
    if (reason.isEmpty()) {
        QTRY_VERIFY_WITH_TIMEOUT(asset->getDownloadChecksummed(), 10000);
        QCOMPARE(readFile(asset->getFullPath()), content);
        return;
    }
    QTRY_COMPARE_WITH_TIMEOUT(details.size(), 1, 10000);
    QVERIFY2(details.first().contains(reason, Qt::CaseInsensitive), qPrintable(details.first()));
    const QString logged = log.lines().filter(QStringLiteral("[LoginDialog] ")).join('\n');
    QVERIFY2(logged.contains(reason, Qt::CaseInsensitive), qPrintable(log.lines().join('\n')));
    QVERIFY(box.server.journal().isEmpty());
    QVERIFY(!QFileInfo::exists(asset->getFullPath()) || QFileInfo(asset->getFullPath()).size() == 0);
}

void TestNetwork::loginThroughProxy_data()
{
    QTest::addColumn<QString>("proxyConfig");
    QTest::addColumn<QString>("credentials");
    QTest::addColumn<QString>("portalHost");
    QTest::addColumn<QString>("expected"); // "accepted" or the dialog's message
    QTest::addColumn<QString>("logged");   // in the log line of a refused login
    QTest::newRow("through the proxy") << ""
                                       << ""
                                       << "127.0.0.1"
                                       << "accepted"
                                       << "";
    QTest::newRow("no_proxy host reached directly") << ""
                                                    << ""
                                                    << "localhost"
                                                    << "accepted"
                                                    << "";
    QTest::newRow("credentials from the proxy URL") << "BasicAuth orv s3cret"
                                                    << "orv:s3cret@"
                                                    << "127.0.0.1"
                                                    << "accepted"
                                                    << "";
    QTest::newRow("credentials missing")
        << "BasicAuth orv s3cret"
        << ""
        << "127.0.0.1" << kConnectionMessage << "ProxyAuthenticationRequiredError";
    QTest::newRow("proxy refuses the port") << "ConnectPort 1"
                                            << ""
                                            << "127.0.0.1" << kConnectionMessage << "Proxy";
}

// The login through a tinyproxy: the proxy's log shows the tunnel, the stand-in's journal
// the request; a refusal by the proxy is the connection message, with a clear log line.
void TestNetwork::loginThroughProxy()
{
    QFETCH(QString, proxyConfig);
    QFETCH(QString, credentials);
    QFETCH(QString, portalHost);
    QFETCH(QString, expected);
    QFETCH(QString, logged);
    TestProxy proxy(proxyConfig);
    QVERIFY2(proxy.isRunning(), "tinyproxy did not start");
    TestSandbox box(TestSandbox::WithServer);
    QString error;
    QVERIFY(box.server.setTlsFiles(m_certificates.certificateFile(TestCertificates::Good),
                                   m_certificates.keyFile(), &error));
    qputenv("ORV_PORTAL_URL",
            QStringLiteral("https://%1:%2/").arg(portalHost).arg(box.server.port()).toUtf8());
    qputenv("https_proxy", ("http://" + credentials + "127.0.0.1:" + QString::number(proxy.port())).toUtf8());
    qputenv("no_proxy", "localhost");
    LogCapture log;

    QCOMPARE(logIn(), expected);
    QCOMPARE(box.server.journalFor(QStringLiteral("/authenticate")).size(), expected == "accepted" ? 1 : 0);
    const QString tunnel = QStringLiteral("): CONNECT 127.0.0.1:%1 ").arg(box.server.port());
    QTRY_COMPARE_WITH_TIMEOUT(proxy.log().contains(tunnel), portalHost == "127.0.0.1", 5000);
    QVERIFY2(!proxy.log().contains(QStringLiteral("): CONNECT localhost")), qPrintable(proxy.log()));
    const QString lines = log.lines().filter(QStringLiteral("[LoginDialog] ")).join('\n');
    QVERIFY2(lines.contains(logged), qPrintable(log.lines().join('\n') + proxy.log()));
}

QTEST_MAIN(TestNetwork)
#include "tst_network.moc"
