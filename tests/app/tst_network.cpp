// TLS and proxies as the program meets them: connections refused by a certificate or a
// proxy, at the login and at an asset, before a byte goes out; and the proxy rules.
#include "LogCapture.h"
#include "TestCertificates.h"
#include "TestProxy.h"
#include "TestSandbox.h"
#include "core/EnvironmentProxyFactory.h"
#include "core/NetworkSetup.h"
#include "dialogs/LoginDialog.h"
#include "download/DownloadManager.h"
#include "model/Asset.h"
#include "model/Reel.h"
#include "storage/Setting.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSslConfiguration>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <QtTest>

#include <atomic>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

class TestNetwork : public QObject
{
    Q_OBJECT

private slots:
    void refusedConnections_data();
    void refusedConnections();
    void proxyRules();
    void proxyWantsCredentials_data();
    void proxyWantsCredentials();
    void authorityFiles();
};

namespace {
// A company proxy that the program has no (right) password for: every request is answered
// 407. It runs on a thread of its own, as a real proxy would answer while the program is busy.
class PasswordProxy : public QTcpServer
{
public:
    std::atomic<int> requests{0};

protected:
    void incomingConnection(qintptr handle) override
    {
        auto* socket = new QTcpSocket(this);
        socket->setSocketDescriptor(handle);
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
            QByteArray pending = socket->property("pending").toByteArray() + socket->readAll();
            for (int end; (end = pending.indexOf("\r\n\r\n")) >= 0; pending.remove(0, end + 4)) {
                ++requests;
                socket->write("HTTP/1.1 407 Proxy Authentication Required\r\nProxy-Authenticate: Basic "
                              "realm=\"corp\"\r\nContent-Type: text/html\r\nContent-Length: 6\r\n\r\ndenied");
            }
            socket->setProperty("pending", pending);
        });
    }
};
} // namespace

void TestNetwork::refusedConnections_data()
{
    QTest::addColumn<int>("certificate");
    QTest::addColumn<QString>("proxyConfig"); // tinyproxy's extra lines; "-": no proxy
    QTest::addColumn<QString>("credentials");
    QTest::addColumn<QString>(
        "reason"); // in the log and the "not answering" details; empty: all goes through
    QTest::newRow("trusted, proxy with credentials") << int(TestCertificates::Good) << "BasicAuth orv s3cret"
                                                     << "orv:s3cret@"
                                                     << "";
    QTest::newRow("untrusted") << int(TestCertificates::Untrusted) << "-"
                               << ""
                               << "issuer certificate";
    QTest::newRow("expired") << int(TestCertificates::Expired) << "-"
                             << ""
                             << "certificate has expired";
    QTest::newRow("another host") << int(TestCertificates::OtherHost) << "-"
                                  << ""
                                  << "host name did not match";
    QTest::newRow("proxy credentials missing") << int(TestCertificates::Good) << "BasicAuth orv s3cret"
                                               << ""
                                               << "Proxy requires authentication";
    QTest::newRow("proxy refuses the port") << int(TestCertificates::Good) << "ConnectPort 1"
                                            << ""
                                            << "Proxy denied connection";
}

void TestNetwork::refusedConnections()
{
    QFETCH(int, certificate);
    QFETCH(QString, proxyConfig);
    QFETCH(QString, credentials);
    QFETCH(QString, reason);
    static TestCertificates certificates;
    QVERIFY(certificates.isValid());
    static const QString trustProblem = NetworkSetup::addTrustedAuthorities(certificates.authorityFile());
    QCOMPARE(trustProblem, QString());
    TestSandbox box(TestSandbox::WithServer);
    QString error;
    QVERIFY(box.server.setTlsFiles(certificates.certificateFile(TestCertificates::Kind(certificate)),
                                   certificates.keyFile(), &error));
    qputenv("ORV_PORTAL_URL", box.server.portalBaseUrl().toUtf8());
    std::unique_ptr<TestProxy> proxy;
    qunsetenv("https_proxy");
    if (proxyConfig != QLatin1String("-")) {
        proxy = std::make_unique<TestProxy>(proxyConfig);
        QVERIFY(proxy->isRunning());
        qputenv("https_proxy",
                ("http://" + credentials + "127.0.0.1:" + QString::number(proxy->port())).toUtf8());
    }
    LogCapture log;

    LoginDialog dialog(*Setting::getInstance());
    dialog.findChild<QLineEdit*>(QStringLiteral("line_edit_username"))->setText(QStringLiteral("user"));
    dialog.findChild<QLineEdit*>(QStringLiteral("line_edit_password"))->setText(QStringLiteral("secret"));
    auto* const button = dialog.findChild<QPushButton*>(QStringLiteral("btn_login"));
    button->click();
    QTRY_COMPARE_WITH_TIMEOUT(button->text(), QStringLiteral("LOG IN"), 20000);
    QCOMPARE(dialog.result(), reason.isEmpty() ? int(QDialog::Accepted) : int(QDialog::Rejected));

    const QByteArray content = patternBytes(200000, 4);
    Asset* asset =
        box.addAsset(box.addReel(box.makeDCP("dcp-1", "Film"), "reel-1", 1), "asset-1", "a.mxf", content);
    box.store(asset->getDCP());
    QStringList details;
    connect(box.engine(), &DownloadManager::serverNotAnswering, this,
            [&](const QString& why) { details << why; });
    // A proxy that wants a password is named at once rather than after three attempts.
    connect(box.engine(), &DownloadManager::proxyRefused, this, [&](const QString& why) { details << why; });
    box.engine()->assetsChanged();
    if (reason.isEmpty()) {
        QTRY_VERIFY_WITH_TIMEOUT(asset->getDownloadChecksummed(), 10000);
        QVERIFY(proxy->log().contains(QStringLiteral("): CONNECT 127.0.0.1:%1 ").arg(box.server.port())));
        return;
    }
    QCOMPARE(dialog.findChild<QLabel*>(QStringLiteral("label_error"))->text(),
             QStringLiteral("Error. Please check your internet connection."));
    QVERIFY2(log.lines().filter(QStringLiteral("[LoginDialog] No answer")).join('\n').contains(reason),
             qPrintable(log.lines().join('\n')));
    QTRY_VERIFY_WITH_TIMEOUT(!details.isEmpty(), 10000);
    QVERIFY2(details.first().contains(reason), qPrintable(details.first()));
    QVERIFY(box.server.journal().isEmpty()); // nothing reached the server
    QVERIFY(QFileInfo(asset->getFullPath()).size() == 0);
}

// Which addresses go through the proxy, as curl decides.
void TestNetwork::proxyRules()
{
    const auto via = [](const QString& variables, const char* url) {
        QHash<QString, QString> values;
        for (const QString& item : variables.split(QLatin1Char(';')))
            values.insert(item.section(QLatin1Char('='), 0, 0), item.section(QLatin1Char('='), 1));
        EnvironmentProxyFactory factory([values](const QString& name) { return values.value(name); });
        const QNetworkProxy proxy =
            factory.queryProxy(QNetworkProxyQuery(QUrl(QString::fromLatin1(url)))).first();
        if (!factory.problem().isEmpty())
            return QStringLiteral("refused");
        return proxy.type() == QNetworkProxy::NoProxy
                   ? QStringLiteral("direct")
                   : proxy.hostName() + ':' + QString::number(proxy.port());
    };
    const QString env = QStringLiteral("HTTPS_PROXY=p;http_proxy=q:8080;NO_PROXY=.example.com 10.0.0.0/8");
    QCOMPARE(via(env, "https://a.example.com/"), QStringLiteral("direct"));
    QCOMPARE(via(env, "https://badexample.com/"), QStringLiteral("p:1080"));
    QCOMPARE(via(env, "https://10.2.3.4/"), QStringLiteral("direct"));
    QCOMPARE(via(env, "http://11.0.0.1/"), QStringLiteral("q:8080"));
    QCOMPARE(via(QStringLiteral("HTTP_PROXY=q:1;https_proxy=p:1;HTTPS_PROXY=r:1"), "http://a/"),
             QStringLiteral("direct"));
    QCOMPARE(via(QStringLiteral("https_proxy=p:1;HTTPS_PROXY=r:1"), "https://a/"), QStringLiteral("p:1"));
    QCOMPARE(via(QStringLiteral("https_proxy=ftp://p"), "https://a/"), QStringLiteral("refused"));
    // "*" sends every host directly, names and addresses alike.
    for (const char* url : {"https://portal.example.com/", "https://10.1.2.3/", "https://[::1]:8443/"})
        QCOMPARE(via(QStringLiteral("https_proxy=p:1;no_proxy=*"), url), QStringLiteral("direct"));
}

void TestNetwork::proxyWantsCredentials_data()
{
    QTest::addColumn<QString>("scheme");
    QTest::addColumn<QString>("credentials");
    QTest::newRow("https, none") << "https"
                                 << "";
    QTest::newRow("https, wrong") << "https"
                                  << "orv:wrong@";
    QTest::newRow("http, wrong") << "http"
                                 << "orv:wrong@";
}

// Asked for a password it does not have, the proxy is named on the status line and asked
// again at the stall pace. Changing the speed limit meanwhile, as the window does when it
// opens, must not touch the connection Qt is still setting up through the proxy.
void TestNetwork::proxyWantsCredentials()
{
    QFETCH(QString, scheme);
    QFETCH(QString, credentials);
    QThread proxyThread;
    auto* proxy = new PasswordProxy;
    proxy->moveToThread(&proxyThread);
    connect(&proxyThread, &QThread::finished, proxy, &QObject::deleteLater);
    proxyThread.start();
    quint16 port = 0;
    QMetaObject::invokeMethod(
        proxy, [&] { port = proxy->listen(QHostAddress::LocalHost) ? proxy->serverPort() : 0; },
        Qt::BlockingQueuedConnection);
    QVERIFY(port != 0);
    const QByteArray address = "http://" + credentials.toUtf8() + "127.0.0.1:" + QByteArray::number(port);
    qputenv("http_proxy", address);
    qputenv("https_proxy", address);

    TestSandbox box;
    box.stallMs = 300;
    LogCapture log;
    Reel* reel = box.addReel(box.makeDCP("dcp-1", "Film"), "reel-1", 1);
    TestSandbox::addAssetAt(reel, "asset-1", scheme + "://127.0.0.1:9/a.mxf", patternBytes(1000, 1));
    box.store(reel->getDCP());
    QStringList shown;
    connect(box.engine(), &DownloadManager::proxyRefused, this, [&](const QString& line) { shown << line; });
    box.engine()->assetsChanged();
    QElapsedTimer clock;
    clock.start();
    for (unsigned mbit = 1; clock.elapsed() < 800; ++mbit) {
        box.engine()->setReadChunkSize(mbit * 125000);
        QTest::qWait(5);
    }
    const int requests = proxy->requests;
    qunsetenv("http_proxy");
    qunsetenv("https_proxy");
    proxyThread.quit();
    proxyThread.wait();

    QVERIFY2(!shown.isEmpty(), qPrintable(log.lines().join('\n')));
    QCOMPARE(shown.first(),
             QStringLiteral("Proxy requires authentication (127.0.0.1:%1), retrying\u2026").arg(port));
    // One attempt per stall interval (Qt tries the credentials it has once more per attempt).
    const int perAttempt = credentials.isEmpty() ? 1 : 2;
    QVERIFY2(requests <= perAttempt * (800 / box.stallMs + 1), qPrintable(QString::number(requests)));
}

// ORV_EXTRA_CA_FILE is read only when it names a regular file of a bundle's size, never
// waiting on a FIFO or reading a device; what it holds is added to the system's authorities.
void TestNetwork::authorityFiles()
{
    QTemporaryDir dir;
    const QString fifo = dir.filePath(QStringLiteral("fifo.pem"));
    QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    static TestCertificates certificates;
    QVERIFY(certificates.isValid());
    const QByteArray authority = readFile(certificates.authorityFile());
    const QString large = dir.filePath(QStringLiteral("large.pem"));
    QVERIFY(writeFile(large, authority.repeated(2 * 1024 * 1024 / authority.size() + 1)));
    const QString notes = dir.filePath(QStringLiteral("notes.txt"));
    QVERIFY(writeFile(notes, "not a certificate\n"));
    const QList<QPair<QString, QString>> refused = {
        {fifo, QStringLiteral("is not a regular file.")},
        {QStringLiteral("/dev/zero"), QStringLiteral("is not a regular file.")},
        {large, QStringLiteral("holds %1 bytes; a certificate bundle is well under 1 MB.")
                    .arg(QFileInfo(large).size())},
        {notes, QStringLiteral("holds no PEM certificate.")},
    };
    for (const auto& file : refused) {
        QString problem;
        std::unique_ptr<QThread> reading(
            QThread::create([&] { problem = NetworkSetup::addTrustedAuthorities(file.first); }));
        reading->start();
        if (!reading->wait(3000)) {
            // Held by the FIFO: a writer that closes at once lets the read end.
            ::close(::open(QFile::encodeName(fifo).constData(), O_WRONLY | O_NONBLOCK));
            reading->wait();
            QFAIL(qPrintable(file.first + QStringLiteral(" held the start")));
        }
        QCOMPARE(
            problem,
            QStringLiteral("The certificate authority file \"%1\" (ORV_EXTRA_CA_FILE) ").arg(file.first) +
                file.second);
    }

    const QList<QSslCertificate> system = QSslConfiguration::systemCaCertificates();
    QVERIFY(!system.isEmpty());
    QCOMPARE(NetworkSetup::addTrustedAuthorities(certificates.authorityFile()), QString());
    const QList<QSslCertificate> trusted = QSslConfiguration::defaultConfiguration().caCertificates();
    const QSet<QSslCertificate> trustedSet(trusted.cbegin(), trusted.cend());
    for (const QSslCertificate& certificate : system)
        QVERIFY2(trustedSet.contains(certificate), qPrintable(certificate.subjectDisplayName()));
    QVERIFY(trustedSet.contains(QSslCertificate::fromData(authority, QSsl::Pem).first()));
}

QTEST_MAIN(TestNetwork)
#include "tst_network.moc"
