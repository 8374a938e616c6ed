#include "StandInServer.h"

#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QProcess>
#include <QSignalSpy>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QUrlQuery>

#include <memory>

namespace {

struct Answer
{
    int status = 0;
    QByteArray body;
    QNetworkReply::NetworkError error = QNetworkReply::NoError;
    QByteArray contentRange;
    QByteArray location;
    bool finished = false;
};

QByteArray patternBytes(int size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i)
        bytes[i] = char((i * 7 + i / 251) & 0xFF);
    return bytes;
}

} // namespace

class TestStandInServer : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void ranges_data();
    void ranges();
    void dropConnection_data();
    void dropConnection();
    void stall();
    void ignoreRangeAndStatusFaults_data();
    void ignoreRangeAndStatusFaults();
    void redirects_data();
    void redirects();
    void wrongContentRange_data();
    void wrongContentRange();
    void corruptFirstDeliveries();
    void faultCountsOnlyWhenReached();
    void throttle();
    void notificationFaults_data();
    void notificationFaults();
    void notificationNeverAnswered();
    void authenticate_data();
    void authenticate();
    void versionCheckAndInstaller();
    void pagesAndUnknownPaths();
    void malformedRequests_data();
    void malformedRequests();
    void simultaneousConnections();
    void journalRecordsInOrder();
    void runsInOwnThread();
    void program();

private:
    Answer fetch(const QUrl& url, const QByteArray& range = QByteArray(), int timeoutMs = 10000);
    Answer post(const QUrl& url, const QByteArray& body);
    Answer wait(QNetworkReply* reply, int timeoutMs);
    QByteArray rawExchange(const QByteArray& request);
    QUrl url(const QString& path) const;

    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<StandInServer> server;
    std::unique_ptr<QNetworkAccessManager> client;
    QByteArray data; // content of "reel/a.mxf"
    QTemporaryDir outside;
};

void TestStandInServer::init()
{
    dir = std::make_unique<QTemporaryDir>();
    QVERIFY(dir->isValid());
    QVERIFY(QDir(dir->path()).mkpath(QStringLiteral("reel")));
    data = patternBytes(300000);
    QFile file(dir->filePath(QStringLiteral("reel/a.mxf")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(data);
    file.close();
    // A link that leads out of the asset root must not be served.
    QVERIFY(outside.isValid());
    QFile secret(outside.filePath(QStringLiteral("secret")));
    QVERIFY(secret.open(QIODevice::WriteOnly));
    secret.write("secret");
    secret.close();
    QFile::remove(dir->filePath(QStringLiteral("reel/link.mxf")));
    QVERIFY(QFile::link(secret.fileName(), dir->filePath(QStringLiteral("reel/link.mxf"))));
    QFile empty(dir->filePath(QStringLiteral("empty.mxf")));
    QVERIFY(empty.open(QIODevice::WriteOnly));
    empty.close();

    server = std::make_unique<StandInServer>();
    server->setAssetRoot(dir->path());
    QVERIFY(server->listen());
    QVERIFY(server->port() != 0);
    client = std::make_unique<QNetworkAccessManager>();
}

void TestStandInServer::cleanup()
{
    client.reset();
    server.reset();
    dir.reset();
}

QUrl TestStandInServer::url(const QString& path) const
{
    QUrl result = server->baseUrl();
    const int question = path.indexOf(QLatin1Char('?'));
    result.setPath(question < 0 ? path : path.left(question));
    if (question >= 0)
        result.setQuery(path.mid(question + 1));
    return result;
}

Answer TestStandInServer::wait(QNetworkReply* reply, int timeoutMs)
{
    Answer answer;
    QSignalSpy finished(reply, &QNetworkReply::finished);
    if (!reply->isFinished() && !finished.wait(timeoutMs)) {
        reply->abort();
        reply->deleteLater();
        return answer;
    }
    answer.finished = true;
    answer.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    answer.body = reply->isOpen() ? reply->readAll() : QByteArray();
    answer.error = reply->error();
    answer.contentRange = reply->rawHeader("Content-Range");
    answer.location = reply->rawHeader("Location");
    reply->deleteLater();
    return answer;
}

Answer TestStandInServer::fetch(const QUrl& target, const QByteArray& range, int timeoutMs)
{
    QNetworkRequest request(target);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    if (!range.isEmpty())
        request.setRawHeader("Range", range);
    return wait(client->get(request), timeoutMs);
}

Answer TestStandInServer::post(const QUrl& target, const QByteArray& body)
{
    QNetworkRequest request(target);
    request.setHeader(QNetworkRequest::ContentTypeHeader,
                      QStringLiteral("application/x-www-form-urlencoded"));
    return wait(client->post(request, body), 10000);
}

// Sends raw bytes on a fresh socket and returns everything the server answers.
QByteArray TestStandInServer::rawExchange(const QByteArray& request)
{
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, server->port());
    if (!socket.waitForConnected(5000))
        return QByteArray();
    socket.write(request);
    QByteArray answer;
    QElapsedTimer clock;
    clock.start();
    while (socket.state() == QAbstractSocket::ConnectedState && clock.elapsed() < 5000) {
        QSignalSpy readable(&socket, &QTcpSocket::readyRead);
        QSignalSpy closed(&socket, &QTcpSocket::disconnected);
        if (socket.bytesAvailable() == 0 && !readable.wait(200) && closed.isEmpty())
            continue;
        answer += socket.readAll();
    }
    return answer + socket.readAll();
}

void TestStandInServer::ranges_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("range");
    QTest::addColumn<int>("status");
    QTest::addColumn<qint64>("from"); // expected body: file bytes [from, from + length)
    QTest::addColumn<qint64>("length");
    QTest::addColumn<QByteArray>("contentRange");

    const QString a = QStringLiteral("reel/a.mxf");
    QTest::newRow("no range: whole file") << a << QByteArray() << 200 << 0LL << 300000LL << QByteArray();
    QTest::newRow("fresh download") << a << QByteArray("bytes=0-") << 206 << 0LL << 300000LL
                                    << QByteArray("bytes 0-299999/300000");
    QTest::newRow("resume: exactly the rest") << a << QByteArray("bytes=123457-") << 206 << 123457LL
                                              << 176543LL << QByteArray("bytes 123457-299999/300000");
    QTest::newRow("last byte") << a << QByteArray("bytes=299999-") << 206 << 299999LL << 1LL
                               << QByteArray("bytes 299999-299999/300000");
    QTest::newRow("closed range") << a << QByteArray("bytes=10-19") << 206 << 10LL << 10LL
                                  << QByteArray("bytes 10-19/300000");
    QTest::newRow("suffix range") << a << QByteArray("bytes=-5") << 206 << 299995LL << 5LL
                                  << QByteArray("bytes 299995-299999/300000");
    QTest::newRow("offset at the end")
        << a << QByteArray("bytes=300000-") << 416 << 0LL << -1LL << QByteArray("bytes */300000");
    QTest::newRow("offset past the end")
        << a << QByteArray("bytes=999999-") << 416 << 0LL << -1LL << QByteArray("bytes */300000");
    QTest::newRow("letters") << a << QByteArray("bytes=abc-") << 400 << 0LL << -1LL << QByteArray();
    QTest::newRow("end before start") << a << QByteArray("bytes=20-10") << 400 << 0LL << -1LL << QByteArray();
    QTest::newRow("several ranges") << a << QByteArray("bytes=0-1,5-6") << 400 << 0LL << -1LL << QByteArray();
    QTest::newRow("other unit") << a << QByteArray("items=0-") << 400 << 0LL << -1LL << QByteArray();
    QTest::newRow("huge number") << a << QByteArray("bytes=99999999999999999999999-") << 400 << 0LL << -1LL
                                 << QByteArray();
    QTest::newRow("empty file, fresh download")
        << QStringLiteral("empty.mxf") << QByteArray("bytes=0-") << 200 << 0LL << 0LL << QByteArray();
    QTest::newRow("missing file") << QStringLiteral("reel/none.mxf") << QByteArray("bytes=0-") << 404 << 0LL
                                  << -1LL << QByteArray();
    QTest::newRow("link out of the root")
        << QStringLiteral("reel/link.mxf") << QByteArray() << 404 << 0LL << -1LL << QByteArray();
    QTest::newRow("escape from the root")
        << QStringLiteral("../outside") << QByteArray() << 404 << 0LL << -1LL << QByteArray();
}

void TestStandInServer::ranges()
{
    QFETCH(QString, file);
    QFETCH(QByteArray, range);
    QFETCH(int, status);
    QFETCH(qint64, from);
    QFETCH(qint64, length);
    QFETCH(QByteArray, contentRange);

    // Built by hand so ".." reaches the server unresolved.
    const Answer answer =
        fetch(QUrl(server->baseUrl().toString() + QStringLiteral("/assets/") + file), range);
    QVERIFY(answer.finished);
    QCOMPARE(answer.status, status);
    QCOMPARE(answer.contentRange, contentRange);
    if (length >= 0)
        QVERIFY(answer.body == data.mid(int(from), int(length)));
    const auto entries = server->journal();
    QCOMPARE(entries.size(), 1);
    QCOMPARE(entries[0].range, range);
    QCOMPARE(entries[0].status, status);
    QCOMPARE(entries[0].bytesSent, qint64(answer.body.size()));
}

void TestStandInServer::dropConnection_data()
{
    QTest::addColumn<int>("dropTimes");
    QTest::addColumn<bool>("reset");
    QTest::addColumn<bool>("secondCut");
    QTest::newRow("once, FIN") << 1 << false << false;
    QTest::newRow("every time, FIN") << -1 << false << true;
    QTest::newRow("once, reset") << 1 << true << false;
    QTest::newRow("every time, reset") << -1 << true << true;
}

void TestStandInServer::dropConnection()
{
    QFETCH(int, dropTimes);
    QFETCH(bool, reset);
    QFETCH(bool, secondCut);
    StandInServer::AssetFault fault;
    fault.dropAfterBytes = 70000;
    fault.dropTimes = dropTimes;
    fault.dropWithReset = reset;
    server->setAssetFault(QStringLiteral("reel/a.mxf"), fault);

    // Qt may report the cut as an error or as the end of the body; the bytes are exact.
    const Answer first = fetch(server->assetUrl(QStringLiteral("reel/a.mxf")), "bytes=1000-");
    QVERIFY(first.error == QNetworkReply::NoError || first.error == QNetworkReply::RemoteHostClosedError);
    QVERIFY(first.body == data.mid(1000, 70000));

    // The resumed request continues from what arrived, on the wire as well.
    const QByteArray raw = rawExchange("GET /assets/reel/a.mxf HTTP/1.1\r\nRange: bytes=71000-\r\n\r\n");
    const int headEnd = raw.indexOf("\r\n\r\n") + 4;
    QVERIFY(raw.startsWith("HTTP/1.1 206 "));
    QVERIFY(raw.contains("\r\nContent-Length: 229000\r\n"));
    QVERIFY(raw.mid(headEnd) == data.mid(71000, secondCut ? 70000 : -1));

    // Qt's client may quietly send the cut request again on a new connection and drop it,
    // at any moment; the journal shows such repeats, so only the two real ones are checked.
    const auto resumed = [this]() {
        const auto entries = server->journal();
        for (const auto& entry : entries) {
            if (entry.range == "bytes=71000-")
                return entry;
        }
        return StandInServer::JournalEntry();
    };
    QTRY_VERIFY(resumed().finished);
    QCOMPARE(resumed().complete, !secondCut);
    const auto entries = server->journal();
    QCOMPARE(entries.first().bytesSent, 70000);
    QVERIFY(!entries.first().complete);
    for (const auto& entry : entries)
        QVERIFY(entry.range == "bytes=1000-" || entry.range == "bytes=71000-");
}

void TestStandInServer::stall()
{
    StandInServer::AssetFault fault;
    fault.stallAfterBytes = 5000;
    fault.stallSeconds = 1.0;
    server->setAssetFault(QStringLiteral("reel/a.mxf"), fault);

    // While stalled only the first bytes have arrived; then the rest follows.
    QNetworkReply* reply = client->get(QNetworkRequest(server->assetUrl(QStringLiteral("reel/a.mxf"))));
    QElapsedTimer clock;
    clock.start();
    QTRY_COMPARE_WITH_TIMEOUT(reply->bytesAvailable(), qint64(5000), 2000);
    QTest::qWait(200);
    QCOMPARE(reply->bytesAvailable(), qint64(5000));
    const Answer answer = wait(reply, 5000);
    QVERIFY(answer.body == data);
    QVERIFY2(clock.elapsed() >= 950, qPrintable(QString::number(clock.elapsed())));

    // A stall for good: the client's own timeout ends it with the first bytes only.
    fault.stallSeconds = -1;
    server->setAssetFault(QStringLiteral("reel/a.mxf"), fault);
    QNetworkRequest request(server->assetUrl(QStringLiteral("reel/a.mxf")));
    request.setTransferTimeout(500);
    const Answer stuck = wait(client->get(request), 5000);
    QCOMPARE(stuck.error, QNetworkReply::OperationCanceledError);
    QCOMPARE(server->journal().last().bytesSent, 5000);
}

void TestStandInServer::ignoreRangeAndStatusFaults_data()
{
    QTest::addColumn<bool>("ignoreRange");
    QTest::addColumn<int>("status");
    QTest::addColumn<int>("statusTimes");
    QTest::addColumn<QList<int>>("statuses"); // of three requests "bytes=100-"

    QTest::newRow("ignore Range") << true << 0 << -1 << QList<int>{200, 200, 200};
    QTest::newRow("400") << false << 400 << -1 << QList<int>{400, 400, 400};
    QTest::newRow("403") << false << 403 << -1 << QList<int>{403, 403, 403};
    QTest::newRow("404") << false << 404 << -1 << QList<int>{404, 404, 404};
    QTest::newRow("500 twice, then the file") << false << 500 << 2 << QList<int>{500, 500, 206};
}

void TestStandInServer::ignoreRangeAndStatusFaults()
{
    QFETCH(bool, ignoreRange);
    QFETCH(int, status);
    QFETCH(int, statusTimes);
    QFETCH(QList<int>, statuses);
    StandInServer::AssetFault fault;
    fault.ignoreRange = ignoreRange;
    fault.status = status;
    fault.statusTimes = statusTimes;
    server->setAssetFault(QStringLiteral("reel/a.mxf"), fault);

    for (const int expected : statuses) {
        const Answer answer = fetch(server->assetUrl(QStringLiteral("reel/a.mxf")), "bytes=100-");
        QCOMPARE(answer.status, expected);
        if (expected == 200)
            QVERIFY(answer.body == data);
        else if (expected == 206)
            QVERIFY(answer.body == data.mid(100));
        else
            QVERIFY(answer.error != QNetworkReply::NoError);
    }
}

void TestStandInServer::redirects_data()
{
    QTest::addColumn<int>("style");
    QTest::addColumn<QString>("firstLocation");
    QTest::newRow("absolute") << int(StandInServer::RedirectStyle::Absolute) << QStringLiteral("ABS?hop=1");
    QTest::newRow("root relative") << int(StandInServer::RedirectStyle::RootRelative)
                                   << QStringLiteral("/assets/reel/a.mxf?hop=1");
    QTest::newRow("path relative") << int(StandInServer::RedirectStyle::PathRelative)
                                   << QStringLiteral("a.mxf?hop=1");
}

void TestStandInServer::redirects()
{
    QFETCH(int, style);
    QFETCH(QString, firstLocation);
    firstLocation.replace(QStringLiteral("ABS"), server->assetUrl(QStringLiteral("reel/a.mxf")).toString());
    StandInServer::AssetFault fault;
    fault.redirects = 3;
    fault.redirectStyle = StandInServer::RedirectStyle(style);
    server->setAssetFault(QStringLiteral("reel/a.mxf"), fault);

    // Follow by hand as the download engine does, resolving relative targets.
    QUrl current = server->assetUrl(QStringLiteral("reel/a.mxf"));
    Answer answer = fetch(current, "bytes=10-");
    QCOMPARE(answer.status, 302);
    QCOMPARE(QString::fromLatin1(answer.location), firstLocation);
    int hops = 0;
    while (answer.status == 302 && hops < 10) {
        current = current.resolved(QUrl::fromEncoded(answer.location));
        answer = fetch(current, "bytes=10-");
        ++hops;
    }
    QCOMPARE(hops, 3);
    QCOMPARE(answer.status, 206);
    QVERIFY(answer.body == data.mid(10));
    QCOMPARE(current.path(), QStringLiteral("/assets/reel/a.mxf"));

    const auto entries = server->journal();
    QCOMPARE(entries.size(), 4);
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(entries[i].query, i == 0 ? QString() : QStringLiteral("hop=%1").arg(i));
        QCOMPARE(entries[i].range, QByteArray("bytes=10-"));
    }
    // The chain starts again for a new request of the plain address.
    QCOMPARE(fetch(server->assetUrl(QStringLiteral("reel/a.mxf"))).status, 302);
}

void TestStandInServer::wrongContentRange_data()
{
    QTest::addColumn<QByteArray>("range");
    QTest::addColumn<qint64>("delta");
    QTest::addColumn<qint64>("start");
    QTest::addColumn<qint64>("end");
    QTest::newRow("before the offset") << QByteArray("bytes=1000-") << -100LL << 900LL << 299999LL;
    QTest::newRow("after the offset") << QByteArray("bytes=1000-") << 100LL << 1100LL << 299999LL;
    QTest::newRow("clamped at the start") << QByteArray("bytes=1000-") << -5000LL << 0LL << 299999LL;
    // A closed range moves whole instead of ending before it starts.
    QTest::newRow("closed range moved on") << QByteArray("bytes=1000-1009") << 100LL << 1100LL << 1109LL;
}

void TestStandInServer::wrongContentRange()
{
    QFETCH(QByteArray, range);
    QFETCH(qint64, delta);
    QFETCH(qint64, start);
    QFETCH(qint64, end);
    StandInServer::AssetFault fault;
    fault.contentRangeDelta = delta;
    server->setAssetFault(QStringLiteral("reel/a.mxf"), fault);

    const Answer answer = fetch(server->assetUrl(QStringLiteral("reel/a.mxf")), range);
    QCOMPARE(answer.status, 206);
    QCOMPARE(answer.contentRange,
             "bytes " + QByteArray::number(start) + '-' + QByteArray::number(end) + "/300000");
    QVERIFY(answer.body == data.mid(int(start), int(end - start + 1)));
}

void TestStandInServer::corruptFirstDeliveries()
{
    StandInServer::AssetFault fault;
    fault.corruptFirstDeliveries = 2;
    server->setAssetFault(QStringLiteral("reel/a.mxf"), fault);
    const QUrl asset = server->assetUrl(QStringLiteral("reel/a.mxf"));

    // A delivery that does not hold the byte is untouched and does not count.
    QVERIFY(fetch(asset, "bytes=160000-").body == data.mid(160000));
    for (int delivery = 0; delivery < 3; ++delivery) {
        const QByteArray body = fetch(asset).body;
        QCOMPARE(body.size(), data.size());
        int differing = 0;
        for (int i = 0; i < body.size(); ++i)
            differing += body[i] != data[i] ? 1 : 0;
        QCOMPARE(differing, delivery < 2 ? 1 : 0);
        if (delivery < 2)
            QVERIFY(body[150000] != data[150000]);
    }
    QCOMPARE(server->assetDeliveries(QStringLiteral("reel/a.mxf")), 4);
}

void TestStandInServer::faultCountsOnlyWhenReached()
{
    StandInServer::AssetFault fault;
    fault.corruptFirstDeliveries = 1;
    fault.corruptOffset = 250000;
    fault.throttleBytesPerSecond = 1000000;
    server->setAssetFault(QStringLiteral("reel/a.mxf"), fault);
    const QUrl asset = server->assetUrl(QStringLiteral("reel/a.mxf"));

    // The client gives up long before the corrupted byte: the corruption is still due.
    QNetworkReply* early = client->get(QNetworkRequest(asset));
    QTRY_VERIFY(early->bytesAvailable() > 10000);
    early->abort();
    early->deleteLater();
    QTRY_VERIFY(server->journal().last().finished);
    QVERIFY(server->journal().last().bytesSent < 250000);

    const QByteArray corrupted = fetch(asset, "bytes=200000-").body;
    QCOMPARE(corrupted.size(), 100000);
    QVERIFY(corrupted[50000] != data[250000]);
    QVERIFY(fetch(asset, "bytes=200000-").body == data.mid(200000));
    QCOMPARE(server->assetDeliveries(QStringLiteral("reel/a.mxf")), 3);
}

void TestStandInServer::throttle()
{
    StandInServer::AssetFault fault;
    fault.throttleBytesPerSecond = 200000;
    server->setAssetFault(QStringLiteral("reel/a.mxf"), fault);
    QElapsedTimer clock;
    clock.start();
    const Answer answer = fetch(server->assetUrl(QStringLiteral("reel/a.mxf")), "bytes=200000-");
    const qint64 elapsed = clock.elapsed();
    QVERIFY(answer.body == data.mid(200000));
    // 100000 bytes at 200000 B/s: about half a second (less the small initial burst).
    QVERIFY2(elapsed >= 420 && elapsed < 3000, qPrintable(QString::number(elapsed)));
}

void TestStandInServer::notificationFaults_data()
{
    QTest::addColumn<int>("failFirst");
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QList<QByteArray>>("answers"); // bodies of three requests

    QTest::newRow("accepted") << 0 << QByteArray("ok") << QList<QByteArray>{"ok", "ok", "ok"};
    QTest::newRow("first two fail") << 2 << QByteArray("ok") << QList<QByteArray>{"", "", "ok"};
    QTest::newRow("upper case") << 0 << QByteArray("OK") << QList<QByteArray>{"OK", "OK", "OK"};
    QTest::newRow("line break") << 0 << QByteArray("ok\n") << QList<QByteArray>{"ok\n", "ok\n", "ok\n"};
}

void TestStandInServer::notificationFaults()
{
    QFETCH(int, failFirst);
    QFETCH(QByteArray, body);
    QFETCH(QList<QByteArray>, answers);
    server->setNotificationFault({failFirst, body, false});

    for (int i = 0; i < answers.size(); ++i) {
        QUrlQuery query;
        query.addQueryItem(QStringLiteral("user_uuid"), QStringLiteral("a b&c"));
        query.addQueryItem(QStringLiteral("campaign_dcp_id"), QStringLiteral("77"));
        query.addQueryItem(QStringLiteral("reel_number"), QString::number(i + 1));
        query.addQueryItem(QStringLiteral("event"), QStringLiteral("8"));
        QUrl target = url(QStringLiteral("/notification/dcp"));
        target.setQuery(query);
        const Answer answer = fetch(target);
        QCOMPARE(answer.status, answers[i].isEmpty() ? 503 : 200);
        if (!answers[i].isEmpty())
            QCOMPARE(answer.body, answers[i]);
    }
    const auto received = server->notificationsReceived();
    QCOMPARE(received.size(), 3);
    for (int i = 0; i < 3; ++i) {
        const StandInServer::QueryItems expected = {{QStringLiteral("user_uuid"), QStringLiteral("a b&c")},
                                                    {QStringLiteral("campaign_dcp_id"), QStringLiteral("77")},
                                                    {QStringLiteral("reel_number"), QString::number(i + 1)},
                                                    {QStringLiteral("event"), QStringLiteral("8")}};
        QCOMPARE(received[i], expected);
    }

    // A request without the four items is refused, not acknowledged.
    QCOMPARE(fetch(url(QStringLiteral("/notification/dcp?user_uuid=x&event=2"))).status, 400);
    QCOMPARE(
        fetch(url(QStringLiteral("/notification/dcp?user_uuid=x&campaign_dcp_id=1&reel_number=1&event=9")))
            .status,
        400);
}

void TestStandInServer::notificationNeverAnswered()
{
    server->setNotificationFault({0, "ok", true});
    const QUrl target =
        url(QStringLiteral("/notification/dcp?user_uuid=u&campaign_dcp_id=1&reel_number=1&event=1"));
    QNetworkReply* held = client->get(QNetworkRequest(target));
    QSignalSpy received(server.get(), &StandInServer::requestReceived);
    QVERIFY(received.wait(5000));

    // A held request does not stop the server from answering others.
    QCOMPARE(fetch(url(QStringLiteral("/versioncheck"))).status, 200);
    QVERIFY(!held->isFinished());
    QCOMPARE(server->journal().first().status, 0);

    server->setNotificationFault({0, "ok", false});
    server->answerHeldNotifications();
    const Answer answer = wait(held, 5000);
    QCOMPARE(answer.body, QByteArray("ok"));
}

void TestStandInServer::authenticate_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("password");
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("body");

    const int normal = int(StandInServer::AuthenticateMode::Normal);
    const QString odd = QStringLiteral("p&s=w%rd +ü");
    QTest::newRow("accepted") << normal << QStringLiteral("anna") << odd << 200 << QByteArray("KEY-123");
    QTest::newRow("wrong password") << normal << QStringLiteral("anna") << QStringLiteral("p") << 403
                                    << QByteArray("Wrong login.");
    QTest::newRow("wrong user") << normal << QStringLiteral("bob") << odd << 403
                                << QByteArray("Wrong login.");
    QTest::newRow("server error") << int(StandInServer::AuthenticateMode::ServerError)
                                  << QStringLiteral("anna") << odd << 500 << QByteArray();
}

void TestStandInServer::authenticate()
{
    QFETCH(int, mode);
    QFETCH(QString, user);
    QFETCH(QString, password);
    QFETCH(int, status);
    QFETCH(QByteArray, body);
    server->setCredentials(QStringLiteral("anna"), QStringLiteral("p&s=w%rd +ü"), "KEY-123");
    server->setRefusalMessage("Wrong login.");
    server->setAuthenticateMode(StandInServer::AuthenticateMode(mode));

    // Encoded as an HTML form would be, with "+" for spaces.
    QByteArray form = "username=" + QUrl::toPercentEncoding(user, " ") +
                      "&password=" + QUrl::toPercentEncoding(password, " ");
    form.replace(' ', '+');
    const Answer answer = post(url(QStringLiteral("/authenticate")), form);
    QCOMPARE(answer.status, status);
    if (!body.isEmpty())
        QCOMPARE(answer.body, body);
    QCOMPARE(server->journal().first().body, form);
    QCOMPARE(fetch(url(QStringLiteral("/authenticate"))).status, 405);
}

void TestStandInServer::versionCheckAndInstaller()
{
    const auto version = [this]() {
        const Answer answer = fetch(url(QStringLiteral("/versioncheck")));
        return QJsonDocument::fromJson(answer.body).object();
    };
    QJsonObject answer = version();
    QVERIFY(answer.value(QStringLiteral("version")).toInt() < 20170614);
    QVERIFY(answer.contains(QStringLiteral("description")));

    server->setVersion(20170614);
    server->setInstaller(QStringLiteral("Reelvane 2.pkg"), "installer bytes");
    answer = version();
    QCOMPARE(answer.value(QStringLiteral("version")).toInt(), 20170614);
    const QUrl installer(answer.value(QStringLiteral("mac_url")).toString());
    QCOMPARE(installer.fileName(), QStringLiteral("Reelvane 2.pkg"));
    QCOMPARE(fetch(installer).body, QByteArray("installer bytes"));

    server->setVersionCheckBody("{\"version\": \"new\"");
    QCOMPARE(fetch(url(QStringLiteral("/versioncheck"))).body, QByteArray("{\"version\": \"new\""));
}

void TestStandInServer::pagesAndUnknownPaths()
{
    for (const char* page : {"/", "/updates", "/user/password/reset/", "/user/forgot-username"}) {
        QNetworkReply* reply = client->get(QNetworkRequest(url(QLatin1String(page))));
        const QString type = (QSignalSpy(reply, &QNetworkReply::finished).wait(5000),
                              reply->header(QNetworkRequest::ContentTypeHeader).toString());
        const Answer answer = wait(reply, 5000);
        QCOMPARE(answer.status, 200);
        QVERIFY(type.startsWith(QStringLiteral("text/html")));
        QVERIFY(answer.body.contains("<html>"));
    }
    QCOMPARE(fetch(url(QStringLiteral("/nothing/here"))).status, 404);

    // HEAD announces the length but sends no body and is no delivery.
    QNetworkReply* head = client->head(QNetworkRequest(server->assetUrl(QStringLiteral("reel/a.mxf"))));
    QVERIFY(QSignalSpy(head, &QNetworkReply::finished).wait(5000));
    QCOMPARE(head->header(QNetworkRequest::ContentLengthHeader).toLongLong(), qint64(data.size()));
    head->deleteLater();
    QCOMPARE(server->journal().last().bytesSent, 0);
    QCOMPARE(server->assetDeliveries(QStringLiteral("reel/a.mxf")), 0);
    QCOMPARE(fetch(url(QStringLiteral("/installer/other.pkg"))).status, 404);
}

void TestStandInServer::malformedRequests_data()
{
    QTest::addColumn<QByteArray>("request");
    QTest::addColumn<QByteArray>("statusLine");

    QTest::newRow("garbage") << QByteArray("GARBAGE\r\n\r\n") << QByteArray("HTTP/1.1 400 ");
    QTest::newRow("no version") << QByteArray("GET /\r\n\r\n") << QByteArray("HTTP/1.1 400 ");
    QTest::newRow("HTTP/2") << QByteArray("GET / HTTP/2.0\r\n\r\n") << QByteArray("HTTP/1.1 505 ");
    QTest::newRow("relative target") << QByteArray("GET assets HTTP/1.1\r\n\r\n")
                                     << QByteArray("HTTP/1.1 400 ");
    QTest::newRow("bad header") << QByteArray("GET / HTTP/1.1\r\nno colon here\r\n\r\n")
                                << QByteArray("HTTP/1.1 400 ");
    QTest::newRow("bad length") << QByteArray("POST /authenticate HTTP/1.1\r\nContent-Length: -4\r\n\r\n")
                                << QByteArray("HTTP/1.1 400 ");
    QTest::newRow("huge body") << QByteArray(
                                      "POST /authenticate HTTP/1.1\r\nContent-Length: 99999999\r\n\r\n")
                               << QByteArray("HTTP/1.1 413 ");
    QTest::newRow("endless head") << QByteArray("GET / HTTP/1.1\r\nX: " + QByteArray(70000, 'x'))
                                  << QByteArray("HTTP/1.1 431 ");
    QTest::newRow("unknown method") << QByteArray("DELETE /assets/reel/a.mxf HTTP/1.1\r\n\r\n")
                                    << QByteArray("HTTP/1.1 405 ");
    QTest::newRow("encoded escape") << QByteArray("GET /assets/%2e%2e/%2e%2e/etc/passwd HTTP/1.1\r\n\r\n")
                                    << QByteArray("HTTP/1.1 404 ");
}

void TestStandInServer::malformedRequests()
{
    QFETCH(QByteArray, request);
    QFETCH(QByteArray, statusLine);
    const QByteArray answer = rawExchange(request);
    QVERIFY2(answer.startsWith(statusLine), answer.left(60).constData());
    QTRY_VERIFY(!server->journal().isEmpty() && server->journal().last().finished);
    // The server keeps serving.
    QCOMPARE(fetch(server->assetUrl(QStringLiteral("reel/a.mxf")), "bytes=299990-").body, data.mid(299990));
}

void TestStandInServer::simultaneousConnections()
{
    const QByteArray big = patternBytes(16 * 1024 * 1024);
    server->setAssetData(QStringLiteral("big.mxf"), big);
    const QByteArray digest = QCryptographicHash::hash(big.mid(1000), QCryptographicHash::Sha1);

    QList<QNetworkReply*> replies;
    for (int i = 0; i < 4; ++i) {
        QNetworkRequest request(server->assetUrl(QStringLiteral("big.mxf")));
        request.setRawHeader("Range", "bytes=1000-");
        replies.append(client->get(request));
    }
    for (QNetworkReply* reply : replies) {
        const Answer answer = wait(reply, 30000);
        QCOMPARE(answer.status, 206);
        QCOMPARE(QCryptographicHash::hash(answer.body, QCryptographicHash::Sha1), digest);
    }
    QCOMPARE(server->assetDeliveries(QStringLiteral("big.mxf")), 4);
}

void TestStandInServer::journalRecordsInOrder()
{
    const QString journalPath = dir->filePath(QStringLiteral("journal.log"));
    QVERIFY(server->setJournalFile(journalPath));
    QSignalSpy served(server.get(), &StandInServer::requestServed);

    fetch(server->assetUrl(QStringLiteral("reel/a.mxf")), "bytes=299000-");
    post(url(QStringLiteral("/authenticate")), "username=user&password=secret");
    fetch(url(QStringLiteral("/notification/dcp?user_uuid=u&campaign_dcp_id=5&reel_number=2&event=3")));
    fetch(url(QStringLiteral("/missing")));

    QTRY_COMPARE(served.size(), 4);
    const auto entries = server->journal();
    QCOMPARE(entries.size(), 4);
    const QList<QByteArray> methods = {"GET", "POST", "GET", "GET"};
    const QStringList paths = {QStringLiteral("/assets/reel/a.mxf"), QStringLiteral("/authenticate"),
                               QStringLiteral("/notification/dcp"), QStringLiteral("/missing")};
    const QList<int> statuses = {206, 200, 200, 404};
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(entries[i].method, methods[i]);
        QCOMPARE(entries[i].path, paths[i]);
        QCOMPARE(entries[i].status, statuses[i]);
        QVERIFY(entries[i].finished);
        QVERIFY(i == 0 || entries[i].time >= entries[i - 1].time);
        QCOMPARE(served[i].first().value<StandInServer::JournalEntry>().index, entries[i].index);
    }
    QCOMPARE(entries[0].bytesSent, 1000);
    QCOMPARE(entries[2].query, QStringLiteral("user_uuid=u&campaign_dcp_id=5&reel_number=2&event=3"));

    QFile file(journalPath);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = file.readAll().split('\n');
    QCOMPARE(lines.size(), 5); // four lines and the empty rest after the last line break
    QVERIFY(lines[0].endsWith(" GET /assets/reel/a.mxf - bytes=299000- 206 1000"));
    QVERIFY(lines[2].endsWith(
        " GET /notification/dcp user_uuid=u&campaign_dcp_id=5&reel_number=2&event=3 - 200 2"));

    server->clearJournal();
    QVERIFY(server->journal().isEmpty());
    fetch(url(QStringLiteral("/")));
    QCOMPARE(server->journal().size(), 1);
    QCOMPARE(server->journal().first().index, 4);
}

void TestStandInServer::runsInOwnThread()
{
    QThread thread;
    auto* threaded = new StandInServer;
    threaded->setAssetData(QStringLiteral("big.mxf"), patternBytes(8 * 1024 * 1024));
    threaded->moveToThread(&thread);
    thread.start();
    bool listening = false;
    QMetaObject::invokeMethod(
        threaded, [&]() { listening = threaded->listen(); }, Qt::BlockingQueuedConnection);
    QVERIFY(listening);

    const Answer answer = fetch(threaded->assetUrl(QStringLiteral("big.mxf")), "bytes=4194304-");
    QCOMPARE(answer.status, 206);
    QVERIFY(answer.body == patternBytes(8 * 1024 * 1024).mid(4194304));
    QCOMPARE(threaded->journal().size(), 1);

    QMetaObject::invokeMethod(threaded, &QObject::deleteLater);
    thread.quit();
    QVERIFY(thread.wait(5000));
}

void TestStandInServer::program()
{
    const QString portFile = dir->filePath(QStringLiteral("port"));
    const QString journalFile = dir->filePath(QStringLiteral("program.log"));
    QProcess process;
    process.start(QStringLiteral(ORV_STANDIN_PROGRAM),
                  {QStringLiteral("--port-file"), portFile, QStringLiteral("--asset-root"), dir->path(),
                   QStringLiteral("--journal"), journalFile, QStringLiteral("--exit-after"),
                   QStringLiteral("3"), QStringLiteral("--asset-fault"),
                   QStringLiteral("reel/a.mxf:status=403")});
    QVERIFY(process.waitForStarted(5000));
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(portFile), 5000);
    QFile file(portFile);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const int port = file.readAll().trimmed().toInt();
    QVERIFY(port > 0 && port != server->port());

    const QUrl asset(QStringLiteral("http://127.0.0.1:%1/assets/reel/a.mxf").arg(port));
    QCOMPARE(fetch(asset).status, 403);
    // It stops by itself within its bound.
    QVERIFY(process.waitForFinished(10000));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 0);
    QFile journal(journalFile);
    QVERIFY(journal.open(QIODevice::ReadOnly));
    QVERIFY(journal.readAll().contains(" GET /assets/reel/a.mxf - - 403 "));

    QProcess help;
    help.start(QStringLiteral(ORV_STANDIN_PROGRAM), {QStringLiteral("--help")});
    QVERIFY(help.waitForFinished(5000));
    QCOMPARE(help.exitCode(), 0);
    QVERIFY(help.readAllStandardOutput().contains("--exit-after"));

    // Bad settings are refused at once, among them a bound too long for a timer, which
    // would otherwise wrap around and never stop the server.
    for (const QStringList& arguments :
         {QStringList{QStringLiteral("--asset-fault"), QStringLiteral("x:wobble=1")},
          QStringList{QStringLiteral("--exit-after"), QStringLiteral("2592000")}}) {
        QProcess bad;
        bad.start(QStringLiteral(ORV_STANDIN_PROGRAM), arguments);
        QVERIFY(bad.waitForFinished(5000));
        QCOMPARE(bad.exitStatus(), QProcess::NormalExit);
        QVERIFY2(bad.exitCode() != 0, qPrintable(arguments.join(QLatin1Char(' '))));
    }
}

QTEST_GUILESS_MAIN(TestStandInServer)
#include "tst_standinserver.moc"
