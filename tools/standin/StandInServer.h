#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QMetaType>
#include <QMutex>
#include <QObject>
#include <QPair>
#include <QString>
#include <QUrl>

#include <memory>

class QFile;
class StandInAssets;
class StandInConnection;
class StandInListener;
class StandInNotifications;
class StandInPortal;

// A small HTTP/1.1 server on 127.0.0.1 that takes the place of the portal, the
// notification service and the asset servers in tests, benchmarks and the demo.
//
// Every answer is sent with "Connection: close"; several connections are served at
// once. Asset bodies are streamed from disk in chunks as the socket drains, so memory
// stays flat whatever the file size.
//
// Paths answered:
//   POST /authenticate            form fields "username" and "password"; 200 with the
//                                 decoding key as the whole body, 403 with an explanatory
//                                 body, or 500 in AuthenticateMode::ServerError.
//   GET  /versioncheck            JSON {"version", "description", "mac_url"}.
//   GET  /installer/<name>        the installer bytes given to setInstaller().
//   GET  /notification/dcp        "ok" (see NotifyFault for the fault modes); a request
//                                 lacking one of "user_uuid", "campaign_dcp_id",
//                                 "reel_number", "event" (numbers; event 1 to 8) gets 400.
//   POST /alerts                  an alert of the program's "Alerts…" address (JSON body):
//                                 200 "ok", or 503 for the first K (setAlertFailures()).
//   GET  /assets/<relative path>  a file under the asset root (or in-memory data set by
//                                 setAssetData()); Range "bytes=N-", "bytes=N-M" and
//                                 "bytes=-N" answer 206 with Content-Range, no Range
//                                 answers 200, a start at or past the end answers 416,
//                                 a malformed or multi-part Range answers 400. A
//                                 zero-length file answers 200 with an empty body
//                                 whatever the Range, so a fresh download of it finishes.
//                                 An asset's status fault is checked first, then its
//                                 redirects, then whether the file exists.
//   GET  /, /updates, /user/password/reset/, /user/forgot-username
//                                 a simple HTML page.
// Anything else answers 404 (unknown path), 405 (method) or 400 (malformed request).
// HEAD is accepted wherever GET is.
//
// Thread use: the object and its sockets live in one thread, usually the test's main
// thread. To keep a fast client and the server from sharing one event loop, move it to a
// QThread and then call listen(), answerHeldNotifications() and its destruction in that
// thread (QMetaObject::invokeMethod with Qt::BlockingQueuedConnection; deleteLater()).
// The other setters, the URL accessors and the journal accessors are guarded by a mutex
// and may be called from any thread.
class StandInServer : public QObject
{
    Q_OBJECT
public:
    enum class AuthenticateMode
    {
        Normal,      // accepted credentials 200 + key, anything else 403
        ServerError, // every request answers 500
        NeverAnswer, // requests are read but never answered (the connection stays open)
    };

    struct NotifyFault
    {
        int failFirst = 0;        // the first K notification requests answer 503 "unavailable"
        QByteArray body = "ok";   // body of every other answer (status 200); "OK" or "ok\n" fail
        bool neverAnswer = false; // hold every request open without answering (overrides the above)
    };

    enum class RedirectStyle
    {
        Absolute,     // Location: http://127.0.0.1:<port>/assets/<path>?hop=N
        RootRelative, // Location: /assets/<path>?hop=N
        PathRelative, // Location: <file name>?hop=N (resolved against the request's path)
    };

    // Fault modes of one asset. A "delivery" is one answer (200 or 206) of which at least
    // one body byte reached the client. "Times" fields count the deliveries the fault was
    // applied to, starting after setAssetFault(); -1 means every delivery. A fault counts
    // only once the client got the bytes up to it, so a request that the client drops
    // early (Qt's network layer sometimes re-sends a cut request and drops it) uses up none.
    struct AssetFault
    {
        // Cut the connection after this many body bytes of a delivery (-1: off): the client
        // gets exactly that many body bytes, fewer than Content-Length announced. The cut is
        // an orderly close (FIN); dropWithReset sends a reset (RST) instead, once the client's
        // side holds every byte before it. Beware: Qt 5's network layer takes a connection
        // closed during the body as the body's end, so a QNetworkReply may finish WITHOUT an
        // error (seen with either kind of cut); only its length tells it was cut short.
        qint64 dropAfterBytes = -1;
        int dropTimes = 1;
        bool dropWithReset = false;

        // Send nothing more for stallSeconds after this many body bytes (-1: off), then go
        // on with the rest. A negative stallSeconds stalls until the client gives up.
        qint64 stallAfterBytes = -1;
        double stallSeconds = 20.0;
        int stallTimes = 1;

        // Answer every request 200 with the whole body, whatever its Range.
        bool ignoreRange = false;

        // Answer this status (e.g. 400, 403, 404, 500) with a short text body instead of
        // the file (0: off). statusTimes counts requests, not deliveries.
        int status = 0;
        int statusTimes = -1;

        // Redirect every request of the asset's own address through a chain of K
        // redirects ("?hop=1" .. "?hop=K"); the request with hop=K gets the file. The
        // chain is stateless: each new request of the plain address starts it again.
        int redirects = 0;
        RedirectStyle redirectStyle = RedirectStyle::RootRelative;
        int redirectStatus = 302;

        // Answer a Range request 206 with the body and Content-Range starting at
        // (requested offset + delta) instead of the requested offset (0: off). The start
        // is clamped to [0, size].
        qint64 contentRangeDelta = 0;

        // Flip every bit of the byte at corruptOffset (-1: the middle byte, size / 2) in
        // the first K deliveries whose range contains that byte.
        int corruptFirstDeliveries = 0;
        qint64 corruptOffset = -1;

        // Send the body at no more than this many bytes per second (0: unlimited).
        qint64 throttleBytesPerSecond = 0;

        // Send this many filler bytes after the body (0: off; -1: without end), announced
        // in Content-Length. A body without end has no Content-Length, and a request from
        // byte 0 gets it as 200 without Content-Range. With overrunInRange a 206 answer's
        // Content-Range claims the filler too, so its total exceeds the file's size.
        // overrunTimes counts the answers planned with it.
        qint64 overrunBytes = 0;
        bool overrunInRange = false;
        int overrunTimes = 1;

        // Answer 200 with "Content-Encoding: gzip" and a small gzip body that inflates to
        // this many zero bytes, whatever was asked (0: off): a decompression bomb.
        qint64 gzipBombBytes = 0;

        // Answer with a status line and then header lines without end (never a blank line).
        bool headerFlood = false;
    };

    using QueryItems = QList<QPair<QString, QString>>;

    // One request. Journal entries are kept in the order the requests arrived; an entry
    // is updated in place while its answer is sent and is complete once finished is set.
    struct JournalEntry
    {
        int index = -1;    // sequence number since the server started; clearJournal() does not reset it
        QDateTime time;    // arrival (UTC)
        QByteArray method; // "GET", "POST", ...; empty for an unparsable request
        QString path;      // decoded path, without the query
        QString query;     // query as received (still percent-encoded), no "?"
        QByteArray range;  // value of the Range header, empty when absent
        QList<QPair<QByteArray, QByteArray>> headers; // request headers as received
        QByteArray body;                              // request body (POST)
        int status = 0;                               // 0 until the answer's head is sent (or never answered)
        qint64 bytesSent = 0;                         // body bytes written to the socket
        bool finished = false;                        // the answer is done or the connection is gone
        bool complete = false;                        // the whole announced body was sent

        // One line, fields separated by single spaces, "-" for an empty field, path and
        // Range percent-encoded so no field holds a space:
        // "2024-01-01T12:00:00.123Z GET /assets/a.mxf - bytes=100- 206 4096"
        // (time, method, path, query, Range, status, body bytes sent).
        QString toLine() const;
    };

    explicit StandInServer(QObject* parent = nullptr);
    ~StandInServer() override;

    // Serves HTTPS with this PEM certificate (chain) and key from the next connection on;
    // call before listen(). Returns false with the reason in error.
    bool setTlsFiles(const QString& certFile, const QString& keyFile, QString* error);
    bool isTls() const;
    // Binds 127.0.0.1 only; port 0 picks a free port. Returns false when binding fails.
    bool listen(quint16 port = 0);
    void close();
    bool isListening() const;
    quint16 port() const;
    // "http://127.0.0.1:<port>" ("https://" with TLS), no trailing slash.
    QUrl baseUrl() const;
    // baseUrl() + "/" as text: the form the program expects of the portal address.
    QString portalBaseUrl() const;
    // baseUrl() as text: the notification service's base address.
    QString notificationBaseUrl() const;

    // --- portal -----------------------------------------------------------------------
    // Accepted login (default "user" / "secret", key "0123456789abcdef0123456789abcdef").
    void setCredentials(const QString& user, const QString& password, const QByteArray& decodingKey);
    // Body of a refused login (default "Invalid username or password.").
    void setRefusalMessage(const QByteArray& body);
    void setAuthenticateMode(AuthenticateMode mode);
    // Published version (default 20170101, below the update threshold).
    void setVersion(qint64 version);
    void setVersionDescription(const QString& html);
    // Replaces the whole version-check answer body (for malformed answers); empty restores
    // the generated JSON.
    void setVersionCheckBody(const QByteArray& rawBody);
    // Installer served at "/installer/<fileName>" (file name percent-encoded in mac_url).
    // Default "ReelvaneDownloader-update.pkg" with a few bytes of text.
    void setInstaller(const QString& fileName, const QByteArray& bytes);
    QUrl installerUrl() const;

    // --- notification service ---------------------------------------------------------
    void setNotificationFault(const NotifyFault& fault);
    // The query items (decoded) of every notification request received, in order,
    // including failed and never-answered ones. clearJournal() empties it too.
    QList<QueryItems> notificationsReceived() const;
    // Answers the requests held by NotifyFault::neverAnswer with the current body.
    void answerHeldNotifications();

    // --- alerts -----------------------------------------------------------------------
    // The next K alerts answer 503; their bodies are in the journal like every request's.
    void setAlertFailures(int failFirst);

    // --- assets -----------------------------------------------------------------------
    // Files below dir are served at "/assets/<path relative to dir>". Paths that leave the
    // root ("..") answer 404.
    void setAssetRoot(const QString& dir);
    QString assetRoot() const;
    // Serves data at "/assets/<relativePath>" instead of a file (takes precedence).
    void setAssetData(const QString& relativePath, const QByteArray& data);
    // Full address of an asset: baseUrl() + "/assets/" + relativePath (percent-encoded).
    QUrl assetUrl(const QString& relativePath) const;
    // Sets (replaces) the faults of one asset and resets its delivery counters.
    void setAssetFault(const QString& relativePath, const AssetFault& fault);
    void clearAssetFault(const QString& relativePath);
    void clearAllAssetFaults();
    // Number of deliveries (answers of which the client got body bytes) of an asset so far.
    int assetDeliveries(const QString& relativePath) const;

    // Reads fault settings written as comma-separated items, e.g.
    // "drop=1000,drop-times=-1,drop-reset,stall=500,stall-seconds=2,stall-times=1,ignore-range,status=404,
    //  status-times=1,redirects=2,redirect-style=absolute|root|path,redirect-status=301,
    //  range-delta=-10,corrupt=1,corrupt-offset=5,throttle=100000,overrun=4096|endless,overrun-in-range,
    //  overrun-times=1,gzip[=inflated bytes, default 1 GiB],header-flood,drip[=bytes per second, default 1]".
    // "drip" is a throttle that keeps a body trickling: too slow to use, never silent.
    // Returns false with a message in error for an unknown item or a bad number.
    static bool parseAssetFault(const QString& text, AssetFault* fault, QString* error);

    // --- journal ----------------------------------------------------------------------
    QList<JournalEntry> journal() const;
    // Journal entries whose path equals path, in order.
    QList<JournalEntry> journalFor(const QString& path) const;
    void clearJournal();
    // Appends each finished request as one toLine() line to this file (empty: off).
    bool setJournalFile(const QString& path);

signals:
    // The request head (and body) were read; status and bytesSent are still 0.
    void requestReceived(const StandInServer::JournalEntry& entry);
    // The answer is done or the connection went away (entry.finished is true).
    void requestServed(const StandInServer::JournalEntry& entry);

private:
    // The connections route their requests, keep the journal and count the assets' faults.
    friend class StandInConnection;

    void onNewConnection();
    void route(StandInConnection* connection, const JournalEntry& request);
    int addJournalEntry(const JournalEntry& entry);
    void updateJournalProgress(int index, int status, qint64 bytesSent);
    void finishJournalEntry(const JournalEntry& entry);
    JournalEntry* findEntry(int index);

    StandInListener* tcpServer = nullptr;
    const std::unique_ptr<StandInPortal> portal;
    const std::unique_ptr<StandInNotifications> notificationService;
    const std::unique_ptr<StandInAssets> assets;

    mutable QMutex mutex; // guards the journal
    QList<JournalEntry> entries;
    int nextIndex = 0;
    QFile* journalFile = nullptr;
};

Q_DECLARE_METATYPE(StandInServer::JournalEntry)
