#include "StandInServer.h"

#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
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

#include <memory>

namespace {

struct Answer
{
    int status = 0;
    QByteArray body;
    QNetworkReply::NetworkError error = QNetworkReply::NoError;
    QByteArray contentRange;
    QByteArray location;
    QString contentType;
};

QByteArray patternBytes(int size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i)
        bytes[i] = char((i * 7 + i / 251) & 0xFF);
    return bytes;
}

int differingBytes(const QByteArray& a, const QByteArray& b)
{
    int differing = a.size() == b.size() ? 0 : -1;
    for (int i = 0; i < std::min(a.size(), b.size()); ++i)
        differing += a[i] != b[i] ? 1 : 0;
    return differing;
}

} // namespace

// The stand-in every network test, benchmark and the demo rely on: exact ranges, each
// asset fault, the portal and notification answers, the journal and the program.
class TestStandInServer : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void assetAnswers_data();
    void assetAnswers();
    void dropConnection_data();
    void dropConnection();
    void stallAndThrottle();
    void hostileAnswers();
    void corruptionCountsOnlyWhenReached();
    void notifications();
    void portal();
    void malformedRequests_data();
    void malformedRequests();
    void concurrentTransfersInOwnThread();
    void journalRecordsInOrder();
    void program();

private:
    Answer fetch(const QUrl& url, const QByteArray& range = QByteArray());
    Answer wait(QNetworkReply* reply, int timeoutMs = 10000);
    QByteArray rawExchange(const QByteArray& request);
    QUrl url(const QString& pathAndQuery) const { return server->baseUrl().resolved(QUrl(pathAndQuery)); }
    QUrl asset() const { return server->assetUrl(QStringLiteral("reel/a.mxf")); }
    void setFault(const StandInServer::AssetFault& fault)
    {
        server->setAssetFault(QStringLiteral("reel/a.mxf"), fault);
    }

    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<StandInServer> server;
    std::unique_ptr<QNetworkAccessManager> client;
    const QByteArray data = patternBytes(300000); // content of "reel/a.mxf"
    QTemporaryDir outside;
};

void TestStandInServer::init()
{
    dir = std::make_unique<QTemporaryDir>();
    QVERIFY(dir->isValid() && outside.isValid());
    QVERIFY(QDir(dir->path()).mkpath(QStringLiteral("reel")));
    const auto write = [](const QString& path, const QByteArray& bytes) {
        QFile file(path);
        return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
    };
    QVERIFY(write(dir->filePath(QStringLiteral("reel/a.mxf")), data));
    QVERIFY(write(dir->filePath(QStringLiteral("empty.mxf")), QByteArray()));
    // A link that leads out of the asset root must not be served.
    QVERIFY(write(outside.filePath(QStringLiteral("secret")), "secret"));
    QFile::remove(dir->filePath(QStringLiteral("reel/link.mxf")));
    QVERIFY(QFile::link(outside.filePath(QStringLiteral("secret")),
                        dir->filePath(QStringLiteral("reel/link.mxf"))));

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

Answer TestStandInServer::wait(QNetworkReply* reply, int timeoutMs)
{
    Answer answer;
    if (!reply->isFinished() && !QSignalSpy(reply, &QNetworkReply::finished).wait(timeoutMs)) {
        reply->abort();
        reply->deleteLater();
        return answer; // status 0
    }
    answer.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    answer.body = reply->isOpen() ? reply->readAll() : QByteArray();
    answer.error = reply->error();
    answer.contentRange = reply->rawHeader("Content-Range");
    answer.location = reply->rawHeader("Location");
    answer.contentType = reply->header(QNetworkRequest::ContentTypeHeader).toString();
    reply->deleteLater();
    return answer;
}

Answer TestStandInServer::fetch(const QUrl& target, const QByteArray& range)
{
    QNetworkRequest request(target);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    if (!range.isEmpty())
        request.setRawHeader("Range", range);
    return wait(client->get(request));
}

// Sends raw bytes on a fresh socket and returns everything the server answers until it
// closes the connection.
QByteArray TestStandInServer::rawExchange(const QByteArray& request)
{
    QTcpSocket socket;
    QByteArray answer;
    connect(&socket, &QTcpSocket::readyRead, this, [&]() { answer += socket.readAll(); });
    QSignalSpy closed(&socket, &QTcpSocket::disconnected);
    socket.connectToHost(QHostAddress::LocalHost, server->port());
    socket.write(request);
    closed.wait(5000);
    return answer + socket.readAll();
}

// Range handling and the faults that change whole answers, given in the item syntax of
// the program's --asset-fault. Each row sends its requests in turn, following redirects by
// hand as the download engine does; every 2xx answer holds the file bytes
// [from, from + length); Content-Range is checked on the answers with the last status.
void TestStandInServer::assetAnswers_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QByteArray>("range");
    QTest::addColumn<QList<int>>("statuses");
    QTest::addColumn<qint64>("from");
    QTest::addColumn<qint64>("length");
    QTest::addColumn<QByteArray>("contentRange");
    QTest::addColumn<QString>("location"); // of the first redirect; "ABS" stands for the asset's address

    const auto row = [](const char* name, const char* file, const char* fault, const char* range,
                        const QList<int>& statuses, qint64 from, qint64 length, const char* contentRange,
                        const char* location = "") {
        QTest::newRow(name) << QString::fromUtf8(file) << QString::fromUtf8(fault) << QByteArray(range)
                            << statuses << from << length << QByteArray(contentRange)
                            << QString::fromUtf8(location);
    };
    const char* a = "reel/a.mxf";
    row("no range: whole file", a, "", "", {200}, 0, 300000, "");
    row("fresh download", a, "", "bytes=0-", {206}, 0, 300000, "bytes 0-299999/300000");
    row("resume: exactly the rest", a, "", "bytes=123457-", {206}, 123457, 176543,
        "bytes 123457-299999/300000");
    row("last byte", a, "", "bytes=299999-", {206}, 299999, 1, "bytes 299999-299999/300000");
    row("closed range", a, "", "bytes=10-19", {206}, 10, 10, "bytes 10-19/300000");
    row("suffix range", a, "", "bytes=-5", {206}, 299995, 5, "bytes 299995-299999/300000");
    row("offset at the end", a, "", "bytes=300000-", {416}, 0, 0, "bytes */300000");
    row("offset past the end", a, "", "bytes=999999-", {416}, 0, 0, "bytes */300000");
    row("letters", a, "", "bytes=abc-", {400}, 0, 0, "");
    row("end before start", a, "", "bytes=20-10", {400}, 0, 0, "");
    row("several ranges", a, "", "bytes=0-1,5-6", {400}, 0, 0, "");
    row("other unit", a, "", "items=0-", {400}, 0, 0, "");
    row("huge number", a, "", "bytes=99999999999999999999999-", {400}, 0, 0, "");
    row("empty file, fresh download", "empty.mxf", "", "bytes=0-", {200}, 0, 0, "");
    row("missing file", "reel/none.mxf", "", "bytes=0-", {404}, 0, 0, "");
    row("link out of the root", "reel/link.mxf", "", "", {404}, 0, 0, "");
    row("fault: ignore Range", a, "ignore-range", "bytes=100-", {200, 200}, 0, 300000, "");
    row("fault: 403 every time", a, "status=403", "bytes=100-", {403, 403, 403}, 0, 0, "");
    row("fault: 500 twice, then the file", a, "status=500,status-times=2", "bytes=100-", {500, 500, 206}, 100,
        299900, "bytes 100-299999/300000");
    row("fault: range before the offset", a, "range-delta=-100", "bytes=1000-", {206}, 900, 299100,
        "bytes 900-299999/300000");
    row("fault: range after the offset", a, "range-delta=100", "bytes=1000-", {206}, 1100, 298900,
        "bytes 1100-299999/300000");
    row("fault: range clamped at the start", a, "range-delta=-5000", "bytes=1000-", {206}, 0, 300000,
        "bytes 0-299999/300000");
    // A closed range moves whole instead of ending before it starts.
    row("fault: closed range moved on", a, "range-delta=100", "bytes=1000-1009", {206}, 1100, 10,
        "bytes 1100-1109/300000");
    row("fault: absolute redirects", a, "redirects=3,redirect-style=absolute", "bytes=10-",
        {302, 302, 302, 206}, 10, 299990, "bytes 10-299999/300000", "ABS?hop=1");
    row("fault: root-relative redirects", a, "redirects=3,redirect-style=root,redirect-status=301",
        "bytes=10-", {301, 301, 301, 206}, 10, 299990, "bytes 10-299999/300000", "/assets/reel/a.mxf?hop=1");
    row("fault: path-relative redirects", a, "redirects=3,redirect-style=path", "bytes=10-",
        {302, 302, 302, 206}, 10, 299990, "bytes 10-299999/300000", "a.mxf?hop=1");
}

void TestStandInServer::assetAnswers()
{
    QFETCH(QString, file);
    QFETCH(QString, fault);
    QFETCH(QByteArray, range);
    QFETCH(QList<int>, statuses);
    QFETCH(qint64, from);
    QFETCH(qint64, length);
    QFETCH(QByteArray, contentRange);
    QFETCH(QString, location);
    if (!fault.isEmpty()) {
        StandInServer::AssetFault parsed;
        QString error;
        QVERIFY2(StandInServer::parseAssetFault(fault, &parsed, &error), qPrintable(error));
        server->setAssetFault(file, parsed);
    }

    const QUrl address = server->assetUrl(file);
    QUrl target = address;
    for (int i = 0; i < statuses.size(); ++i) {
        const Answer answer = fetch(target, range);
        QCOMPARE(answer.status, statuses[i]);
        QCOMPARE(answer.error == QNetworkReply::NoError, statuses[i] < 400);
        QCOMPARE(answer.contentRange, statuses[i] == statuses.last() ? contentRange : QByteArray());
        if (statuses[i] < 300)
            QVERIFY(answer.body == data.mid(int(from), int(length)));
        const auto entries = server->journal();
        QCOMPARE(entries.size(), i + 1);
        QCOMPARE(entries[i].path, QStringLiteral("/assets/") + file);
        QCOMPARE(entries[i].query, target.query(QUrl::FullyEncoded));
        QCOMPARE(entries[i].range, range);
        QCOMPARE(entries[i].status, statuses[i]);
        QCOMPARE(entries[i].bytesSent, qint64(answer.body.size()));
        if (statuses[i] >= 300 && statuses[i] < 400) {
            if (i == 0)
                QCOMPARE(QString::fromLatin1(answer.location),
                         location.replace(QStringLiteral("ABS"), address.toString()));
            target = target.resolved(QUrl::fromEncoded(answer.location));
        }
    }
    // A redirect chain starts again for a new request of the plain address.
    if (!location.isEmpty())
        QCOMPARE(fetch(address, range).status, statuses.first());
}

void TestStandInServer::dropConnection_data()
{
    QTest::addColumn<int>("dropTimes");
    QTest::addColumn<bool>("reset");
    QTest::newRow("once, FIN") << 1 << false;
    QTest::newRow("every time, FIN") << -1 << false;
    QTest::newRow("once, reset") << 1 << true;
    QTest::newRow("every time, reset") << -1 << true;
}

void TestStandInServer::dropConnection()
{
    QFETCH(int, dropTimes);
    QFETCH(bool, reset);
    const bool secondCut = dropTimes < 0;
    StandInServer::AssetFault fault;
    fault.dropAfterBytes = 70000;
    fault.dropTimes = dropTimes;
    fault.dropWithReset = reset;
    setFault(fault);

    // Qt may report the cut as an error or as the end of the body; the bytes are exact.
    const Answer first = fetch(asset(), "bytes=1000-");
    QVERIFY(first.error == QNetworkReply::NoError || first.error == QNetworkReply::RemoteHostClosedError);
    QVERIFY(first.body == data.mid(1000, 70000));

    // The resumed request continues from what arrived, on the wire as well.
    const QByteArray raw = rawExchange("GET /assets/reel/a.mxf HTTP/1.1\r\nRange: bytes=71000-\r\n\r\n");
    QVERIFY(raw.startsWith("HTTP/1.1 206 "));
    QVERIFY(raw.contains("\r\nContent-Length: 229000\r\n"));
    QVERIFY(raw.mid(raw.indexOf("\r\n\r\n") + 4) == data.mid(71000, secondCut ? 70000 : -1));

    // Qt's client may quietly send the cut request again on a new connection and drop it,
    // at any moment; the journal shows such repeats, so only the two real ones are checked.
    const auto resumed = [this]() {
        for (const auto& entry : server->journal()) {
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

// Pacing faults: a stall holds the rest back for its time or for good; a throttle keeps
// to its rate.
void TestStandInServer::stallAndThrottle()
{
    StandInServer::AssetFault fault;
    fault.stallAfterBytes = 5000;
    fault.stallSeconds = 1.0;
    setFault(fault);
    QNetworkReply* reply = client->get(QNetworkRequest(asset()));
    QElapsedTimer clock;
    clock.start();
    QTRY_COMPARE_WITH_TIMEOUT(reply->bytesAvailable(), qint64(5000), 2000);
    QTest::qWait(200);
    QCOMPARE(reply->bytesAvailable(), qint64(5000));
    QVERIFY(wait(reply, 5000).body == data);
    QVERIFY2(clock.elapsed() >= 950, qPrintable(QString::number(clock.elapsed())));

    // A stall for good: the client's own timeout ends it with the first bytes only.
    fault.stallSeconds = -1;
    setFault(fault);
    QNetworkRequest request(asset());
    request.setTransferTimeout(500);
    QCOMPARE(wait(client->get(request), 5000).error, QNetworkReply::OperationCanceledError);
    QCOMPARE(server->journal().last().bytesSent, 5000);

    fault = StandInServer::AssetFault();
    fault.throttleBytesPerSecond = 200000;
    setFault(fault);
    clock.start();
    QVERIFY(fetch(asset(), "bytes=200000-").body == data.mid(200000));
    // 100000 bytes at 200000 B/s: about half a second (less the small initial burst).
    const qint64 elapsed = clock.elapsed();
    QVERIFY2(elapsed >= 420 && elapsed < 3000, qPrintable(QString::number(elapsed)));
}

// Deliveries that stop before the byte or do not hold it use none of the corruption up;
// then exactly K deliveries carry it, at the right offset of a ranged body.
// Faults aimed at the client itself, seen from a plain client.
void TestStandInServer::hostileAnswers()
{
    StandInServer::AssetFault fault;
    QVERIFY(StandInServer::parseAssetFault(QStringLiteral("gzip=3000000"), &fault, nullptr));
    setFault(fault);
    // Qt checks the gzip trailer while it inflates.
    QCOMPARE(fetch(asset(), "bytes=100-").body, QByteArray(3000000, '\0'));
    QVERIFY(server->journal().last().bytesSent < 10000);

    QVERIFY(StandInServer::parseAssetFault(QStringLiteral("header-flood"), &fault, nullptr));
    setFault(fault);
    QTcpSocket socket;
    QByteArray answer;
    connect(&socket, &QTcpSocket::readyRead, this, [&]() { answer += socket.readAll(); });
    socket.connectToHost(QHostAddress::LocalHost, server->port());
    socket.write("GET /assets/reel/a.mxf HTTP/1.1\r\nHost: x\r\n\r\n");
    QTRY_VERIFY_WITH_TIMEOUT(answer.size() > (4 << 20), 5000);
    QVERIFY(answer.startsWith("HTTP/1.1 200 OK\r\n"));
    QCOMPARE(answer.indexOf("\r\n\r\n"), -1);
}

void TestStandInServer::corruptionCountsOnlyWhenReached()
{
    StandInServer::AssetFault fault;
    fault.corruptFirstDeliveries = 2; // the middle byte, 150000
    fault.throttleBytesPerSecond = 1000000;
    setFault(fault);

    QNetworkReply* early = client->get(QNetworkRequest(asset()));
    QTRY_VERIFY(early->bytesAvailable() > 10000);
    early->abort();
    early->deleteLater();
    QTRY_VERIFY(server->journal().last().finished);
    QVERIFY(server->journal().last().bytesSent < 150000);
    QVERIFY(fetch(asset(), "bytes=160000-").body == data.mid(160000));

    const QByteArray ranged = fetch(asset(), "bytes=100000-").body;
    QCOMPARE(differingBytes(ranged, data.mid(100000)), 1);
    QVERIFY(ranged[50000] != data[150000]);
    const QByteArray whole = fetch(asset()).body;
    QCOMPARE(differingBytes(whole, data), 1);
    QVERIFY(whole[150000] != data[150000]);
    QVERIFY(fetch(asset()).body == data);
    QCOMPARE(server->assetDeliveries(QStringLiteral("reel/a.mxf")), 5);

    fault = StandInServer::AssetFault();
    fault.corruptFirstDeliveries = 1;
    fault.corruptOffset = 250000;
    setFault(fault);
    const QByteArray tail = fetch(asset(), "bytes=200000-").body;
    QCOMPARE(differingBytes(tail, data.mid(200000)), 1);
    QVERIFY(tail[50000] != data[250000]);
}

// Failures first, then the configured body; every request is recorded decoded; incomplete
// ones are refused; held ones wait for a word while others are answered.
void TestStandInServer::notifications()
{
    server->setNotificationFault({2, "ok\n", false});
    QList<StandInServer::QueryItems> sent;
    for (int i = 0; i < 3; ++i) {
        const QString reel = QString::number(i + 1);
        sent.append({{QStringLiteral("user_uuid"), QStringLiteral("a b&c")},
                     {QStringLiteral("campaign_dcp_id"), QStringLiteral("77")},
                     {QStringLiteral("reel_number"), reel},
                     {QStringLiteral("event"), QStringLiteral("8")}});
        const Answer answer = fetch(
            url(QStringLiteral("/notification/dcp?user_uuid=a%20b%26c&campaign_dcp_id=77&reel_number=") +
                reel + QStringLiteral("&event=8")));
        QCOMPARE(answer.status, i < 2 ? 503 : 200);
        QCOMPARE(answer.body, QByteArray(i < 2 ? "unavailable" : "ok\n"));
    }
    QCOMPARE(server->notificationsReceived(), sent);
    QCOMPARE(fetch(url(QStringLiteral("/notification/dcp?user_uuid=x&event=2"))).status, 400);
    QCOMPARE(
        fetch(url(QStringLiteral("/notification/dcp?user_uuid=x&campaign_dcp_id=1&reel_number=1&event=9")))
            .status,
        400);

    server->clearJournal();
    server->setNotificationFault({0, "OK", true});
    QNetworkReply* held = client->get(QNetworkRequest(
        url(QStringLiteral("/notification/dcp?user_uuid=u&campaign_dcp_id=1&reel_number=1&event=1"))));
    QVERIFY(QSignalSpy(server.get(), &StandInServer::requestReceived).wait(5000));
    QCOMPARE(fetch(url(QStringLiteral("/versioncheck"))).status, 200);
    QVERIFY(!held->isFinished());
    QCOMPARE(server->journal().first().status, 0);
    server->answerHeldNotifications();
    QCOMPARE(wait(held, 5000).body, QByteArray("OK"));
}

// Logins (each refusal condition, a password an HTML form must encode, the error mode),
// version check and installer, HTML pages, unknown paths, and HEAD, which announces the
// length but sends no body and is no delivery.
void TestStandInServer::portal()
{
    const QString odd = QStringLiteral("p&s=w%rd +ü");
    server->setCredentials(QStringLiteral("anna"), odd, "KEY-123");
    server->setRefusalMessage("Wrong login.");
    const auto login = [&](const QString& user, const QString& password) {
        QByteArray form = "username=" + QUrl::toPercentEncoding(user, " ") +
                          "&password=" + QUrl::toPercentEncoding(password, " ");
        form.replace(' ', '+');
        QNetworkRequest request(url(QStringLiteral("/authenticate")));
        request.setHeader(QNetworkRequest::ContentTypeHeader,
                          QStringLiteral("application/x-www-form-urlencoded"));
        const Answer answer = wait(client->post(request, form));
        return server->journal().last().body == form ? QByteArray::number(answer.status) + ' ' + answer.body
                                                     : QByteArray("form changed on the way");
    };
    QCOMPARE(login(QStringLiteral("anna"), odd), QByteArray("200 KEY-123"));
    QCOMPARE(login(QStringLiteral("anna"), QStringLiteral("p")), QByteArray("403 Wrong login."));
    QCOMPARE(login(QStringLiteral("bob"), odd), QByteArray("403 Wrong login."));
    server->setAuthenticateMode(StandInServer::AuthenticateMode::ServerError);
    QVERIFY(login(QStringLiteral("anna"), odd).startsWith("500 "));
    QCOMPARE(fetch(url(QStringLiteral("/authenticate"))).status, 405);

    const auto version = [this]() {
        return QJsonDocument::fromJson(fetch(url(QStringLiteral("/versioncheck"))).body).object();
    };
    QVERIFY(version().value(QStringLiteral("version")).toInt() < 20170614);
    QVERIFY(version().contains(QStringLiteral("description")));
    server->setVersion(20170614);
    server->setInstaller(QStringLiteral("Reelvane 2.pkg"), "installer bytes");
    const QJsonObject published = version();
    QCOMPARE(published.value(QStringLiteral("version")).toInt(), 20170614);
    const QUrl installer(published.value(QStringLiteral("mac_url")).toString());
    QCOMPARE(installer.fileName(), QStringLiteral("Reelvane 2.pkg"));
    QCOMPARE(fetch(installer).body, QByteArray("installer bytes"));
    QCOMPARE(fetch(url(QStringLiteral("/installer/other.pkg"))).status, 404);
    server->setVersionCheckBody("{\"version\": \"new\"");
    QCOMPARE(fetch(url(QStringLiteral("/versioncheck"))).body, QByteArray("{\"version\": \"new\""));

    for (const char* page : {"/", "/updates", "/user/password/reset/", "/user/forgot-username"}) {
        const Answer html = fetch(url(QLatin1String(page)));
        QCOMPARE(html.status, 200);
        QVERIFY(html.contentType.startsWith(QStringLiteral("text/html")));
        QVERIFY(html.body.contains("<html>"));
    }
    QCOMPARE(fetch(url(QStringLiteral("/nothing/here"))).status, 404);

    QNetworkReply* head = client->head(QNetworkRequest(asset()));
    QVERIFY(QSignalSpy(head, &QNetworkReply::finished).wait(5000));
    QCOMPARE(head->header(QNetworkRequest::ContentLengthHeader).toLongLong(), qint64(data.size()));
    head->deleteLater();
    QCOMPARE(server->journal().last().bytesSent, 0);
    QCOMPARE(server->assetDeliveries(QStringLiteral("reel/a.mxf")), 0);
}

void TestStandInServer::malformedRequests_data()
{
    QTest::addColumn<QByteArray>("request");
    QTest::addColumn<QByteArray>("statusLine");
    const auto row = [](const char* name, const QByteArray& request, int status) {
        QTest::newRow(name) << request << "HTTP/1.1 " + QByteArray::number(status) + ' ';
    };
    row("garbage", "GARBAGE\r\n\r\n", 400);
    row("no version", "GET /\r\n\r\n", 400);
    row("HTTP/2", "GET / HTTP/2.0\r\n\r\n", 505);
    row("relative target", "GET assets HTTP/1.1\r\n\r\n", 400);
    row("bad header", "GET / HTTP/1.1\r\nno colon here\r\n\r\n", 400);
    row("bad length", "POST /authenticate HTTP/1.1\r\nContent-Length: -4\r\n\r\n", 400);
    row("huge body", "POST /authenticate HTTP/1.1\r\nContent-Length: 99999999\r\n\r\n", 413);
    row("endless head", "GET / HTTP/1.1\r\nX: " + QByteArray(70000, 'x'), 431);
    row("unknown method", "DELETE /assets/reel/a.mxf HTTP/1.1\r\n\r\n", 405);
    // The client's network layer would resolve "..", so these go raw; the secret lies beside the root.
    const QByteArray secret = QFileInfo(outside.path()).fileName().toUtf8() + "/secret";
    row("escape from the root", "GET /assets/../" + secret + " HTTP/1.1\r\n\r\n", 404);
    row("encoded escape", "GET /assets/%2e%2e/" + secret + " HTTP/1.1\r\n\r\n", 404);
}

void TestStandInServer::malformedRequests()
{
    QFETCH(QByteArray, request);
    QFETCH(QByteArray, statusLine);
    const QByteArray answer = rawExchange(request);
    QVERIFY2(answer.startsWith(statusLine), answer.left(60).constData());
    QTRY_VERIFY(!server->journal().isEmpty() && server->journal().last().finished);
    // The server keeps serving.
    QCOMPARE(fetch(asset(), "bytes=299990-").body, data.mid(299990));
}

// Served from its own thread, as the benchmarks run it: several large bodies at once,
// each streamed whole and counted as one delivery.
void TestStandInServer::concurrentTransfersInOwnThread()
{
    QThread thread;
    auto* threaded = new StandInServer;
    const QByteArray big = patternBytes(8 * 1024 * 1024);
    threaded->setAssetData(QStringLiteral("big.mxf"), big);
    threaded->moveToThread(&thread);
    thread.start();
    bool listening = false;
    QMetaObject::invokeMethod(
        threaded, [&]() { listening = threaded->listen(); }, Qt::BlockingQueuedConnection);
    QVERIFY(listening);

    QList<QNetworkReply*> replies;
    for (int i = 0; i < 4; ++i) {
        QNetworkRequest request(threaded->assetUrl(QStringLiteral("big.mxf")));
        request.setRawHeader("Range", "bytes=1000-");
        replies.append(client->get(request));
    }
    const QByteArray digest = QCryptographicHash::hash(big.mid(1000), QCryptographicHash::Sha1);
    for (QNetworkReply* reply : replies) {
        const Answer answer = wait(reply, 30000);
        QCOMPARE(answer.status, 206);
        QCOMPARE(QCryptographicHash::hash(answer.body, QCryptographicHash::Sha1), digest);
    }
    QTRY_COMPARE(threaded->journal().size(), 4);
    QCOMPARE(threaded->assetDeliveries(QStringLiteral("big.mxf")), 4);

    QMetaObject::invokeMethod(threaded, &QObject::deleteLater);
    thread.quit();
    QVERIFY(thread.wait(5000));
}

// Entries in arrival order, announced by requestServed, written to the journal file as
// one line each; clearing keeps counting.
void TestStandInServer::journalRecordsInOrder()
{
    const QString journalPath = dir->filePath(QStringLiteral("journal.log"));
    QVERIFY(server->setJournalFile(journalPath));
    QSignalSpy served(server.get(), &StandInServer::requestServed);

    fetch(asset(), "bytes=299000-");
    QNetworkRequest login(url(QStringLiteral("/authenticate")));
    login.setHeader(QNetworkRequest::ContentTypeHeader, QStringLiteral("application/x-www-form-urlencoded"));
    wait(client->post(login, QByteArray("username=user&password=secret")));
    fetch(url(QStringLiteral("/notification/dcp?user_uuid=u&campaign_dcp_id=5&reel_number=2&event=3")));
    fetch(url(QStringLiteral("/missing")));

    QTRY_COMPARE(served.size(), 4);
    const QStringList expected = {
        QStringLiteral(" GET /assets/reel/a.mxf - bytes=299000- 206 1000"),
        QStringLiteral(" POST /authenticate - - 200 32"),
        QStringLiteral(" GET /notification/dcp user_uuid=u&campaign_dcp_id=5&reel_number=2&event=3 - 200 2"),
        QStringLiteral(" GET /missing - - 404 13")};
    QFile file(journalPath);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = file.readAll().split('\n');
    QCOMPARE(lines.size(), 5); // four lines and the empty rest after the last line break
    const auto entries = server->journal();
    QCOMPARE(entries.size(), 4);
    for (int i = 0; i < 4; ++i) {
        QVERIFY2(entries[i].toLine().endsWith(expected[i]), qPrintable(entries[i].toLine()));
        QCOMPARE(lines[i], entries[i].toLine().toUtf8());
        QVERIFY(entries[i].finished);
        QVERIFY(i == 0 || entries[i].time >= entries[i - 1].time);
        QCOMPARE(served[i].first().value<StandInServer::JournalEntry>().index, entries[i].index);
    }

    server->clearJournal();
    QVERIFY(server->journal().isEmpty());
    fetch(url(QStringLiteral("/")));
    QCOMPARE(server->journal().size(), 1);
    QCOMPARE(server->journal().first().index, 4);
}

// The orv-standin program: port file, asset root, fault, journal, its own time bound,
// --help, and bad settings refused at once (among them a bound too long for a timer,
// which would wrap around and never stop the server).
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
    QCOMPARE(fetch(QUrl(QStringLiteral("http://127.0.0.1:%1/assets/reel/a.mxf").arg(port))).status, 403);
    QVERIFY(process.waitForFinished(10000));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 0);
    QFile journal(journalFile);
    QVERIFY(journal.open(QIODevice::ReadOnly));
    QVERIFY(journal.readAll().contains(" GET /assets/reel/a.mxf - - 403 "));

    const auto run = [](const QStringList& arguments) {
        QProcess other;
        other.start(QStringLiteral(ORV_STANDIN_PROGRAM), arguments);
        return other.waitForFinished(5000) && other.exitStatus() == QProcess::NormalExit
                   ? other.exitCode() == 0 ? other.readAllStandardOutput() : QByteArray("failed")
                   : QByteArray("did not end");
    };
    QVERIFY(run({QStringLiteral("--help")}).contains("--exit-after"));
    QCOMPARE(run({QStringLiteral("--asset-fault"), QStringLiteral("x:wobble=1")}), QByteArray("failed"));
    QCOMPARE(run({QStringLiteral("--exit-after"), QStringLiteral("2592000")}), QByteArray("failed"));
}

QTEST_GUILESS_MAIN(TestStandInServer)
#include "tst_standinserver.moc"
