#include "download/AssetTransfer.h"

#include "core/FileManager.h"
#include "core/NetworkSetup.h"
#include "download/TransferWatchdog.h"
#include "model/Asset.h"
#include "model/DCP.h"

#include <QDateTime>
#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <QNetworkAccessManager>
#include <QNetworkProxyFactory>
#include <QNetworkRequest>
#include <QRegularExpression>
#include <QTimer>
#include <QUrl>

#include <limits>

#include <sys/stat.h>

namespace {

int httpStatus(const QNetworkReply* reply)
{
    return reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
}

// First byte position and total (-1 for "*") of a "bytes first-last/total" Content-Range value.
bool contentRange(const QByteArray& value, qint64* start, qint64* total)
{
    static const QRegularExpression pattern(QStringLiteral("^\\s*bytes\\s+(\\d+)-(\\d+)/(\\d+|\\*)\\s*$"),
                                            QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = pattern.match(QString::fromLatin1(value));
    if (!match.hasMatch())
        return false;
    bool ok = false;
    *start = match.captured(1).toLongLong(&ok);
    if (!ok)
        return false;
    *total = match.captured(3) == QLatin1String("*") ? -1 : match.captured(3).toLongLong(&ok);
    return ok;
}

} // namespace

AssetTransfer::AssetTransfer(Asset* asset, QNetworkAccessManager* network, QObject* parent)
    : QObject(parent), target(asset), network(network), watchdog(new TransferWatchdog(this)),
      tickTimer(new QTimer(this))
{
    connect(watchdog, &TransferWatchdog::timedOut, this, &AssetTransfer::stalled);
    tickTimer->setTimerType(Qt::PreciseTimer);
    connect(tickTimer, &QTimer::timeout, this, &AssetTransfer::tick);
}

AssetTransfer::~AssetTransfer()
{
    // The asset may be gone by now: only the reply is released here; abort() closes the file.
    QNetworkReply* reply = currentReply;
    releaseReply();
    if (reply && reply->isRunning())
        reply->abort();
}

bool AssetTransfer::isBusy() const
{
    return currentReply && (currentReply->isRunning() || replyDone);
}

void AssetTransfer::setIntervals(int stallMs, int tickMs)
{
    watchdog->setStallInterval(stallMs);
    pacer.setTickInterval(tickMs);
}

void AssetTransfer::setSpeedFloor(quint32 bytesPerSecond, int windowMs)
{
    watchdog->setSpeedFloor(bytesPerSecond, windowMs);
}

void AssetTransfer::setLimit(quint32 chunk, bool off)
{
    pacer.setLimit(chunk, off);
    if (currentReply && connectionReady)
        currentReply->setReadBufferSize(replyBufferSize());
}

void AssetTransfer::start()
{
    QNetworkReply* previous = currentReply;
    releaseReply();
    if (previous && previous->isRunning())
        previous->abort();
    closeFile();

    watchdog->arm();
    tickTimer->setInterval(pacer.tickInterval());
    tickTimer->start(pacer.tickInterval());

    resumeOffset = FileManager::getFileSize(target->getFullPath());
    bodyChecked = false;
    bodyFlowing = false;
    finishDespiteError = false;
    pacer.forgetCarry();
    replyDone = false;
    fileLength = resumeOffset;
    lastLinkCheck = -1;
    watchdog->startRequest();
    ++serial;

    QNetworkRequest request(QUrl(target->getDownloadUrl(), QUrl::TolerantMode));
    request.setRawHeader("Range", "bytes=" + QByteArray::number(resumeOffset) + "-");
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    // Over HTTP/2 Qt does not honour the read-buffer cap, and memory grows with the file.
    request.setAttribute(QNetworkRequest::Http2AllowedAttribute, false);
    // Asked for, Qt would inflate a compressed body in memory (a bomb takes gigabytes) and
    // the Range would count bytes of the compressed body. Set here, Qt decodes nothing.
    request.setRawHeader("Accept-Encoding", "identity");

    currentReply = network->get(request);
    // Through a proxy's tunnel Qt may hand the request at once to a connection that still
    // waits for the tunnel; told of a buffer size then, it reads from a connection that
    // cannot be read yet, and its network thread crashes. Such a request gets its size once
    // the tunnel is encrypted (before the request goes out), any other at once.
    const bool tunnelled = request.url().scheme().compare(QLatin1String("https"), Qt::CaseInsensitive) == 0 &&
                           !proxyAddress(request.url()).isEmpty();
    connectionReady = !tunnelled;
    if (connectionReady)
        currentReply->setReadBufferSize(replyBufferSize());
    connect(currentReply, &QNetworkReply::finished, this, &AssetTransfer::replyFinished);
    connect(currentReply, &QNetworkReply::errorOccurred, this, &AssetTransfer::replyError);
    connect(currentReply, &QNetworkReply::encrypted, this, [this]() {
        connectionReady = true;
        if (currentReply)
            currentReply->setReadBufferSize(replyBufferSize());
    });
    connect(currentReply, &QNetworkReply::metaDataChanged, this, [this]() {
        if (!currentReply || currentReply->error() != QNetworkReply::NoError || httpStatus(currentReply) <= 0)
            return;
        connectionReady = true;
        currentReply->setReadBufferSize(replyBufferSize());
    });
    // Without a limit the reply is read once a piece has gathered; the tick timer takes the
    // rest. Over TLS Qt hands data over 4 KiB at a time, and a write for each costs dearly.
    connect(currentReply, &QNetworkReply::readyRead, this, [this]() {
        if (pacer.limitOff() && currentReply && currentReply->bytesAvailable() >= TransferPacer::noLimitPiece)
            tick();
    });
}

void AssetTransfer::abort()
{
    ++serial;
    watchdog->stop();
    tickTimer->stop();
    QNetworkReply* reply = currentReply;
    releaseReply();
    // A finished reply whose body is still being written is dropped with what it holds.
    if (reply && reply->isRunning())
        reply->abort();
    closeFile();
}

void AssetTransfer::releaseReply()
{
    QNetworkReply* reply = currentReply;
    currentReply = nullptr;
    replyDone = false;
    if (!reply)
        return;
    reply->disconnect(this);
    reply->deleteLater();
}

void AssetTransfer::closeFile()
{
    file = nullptr;
    target->closeFileHandle();
}

void AssetTransfer::failRequest()
{
    tickTimer->stop();
    closeFile();
    QNetworkReply* reply = currentReply;
    releaseReply();
    if (reply && reply->isRunning())
        reply->abort();
}

void AssetTransfer::abandon()
{
    watchdog->stop();
    failRequest();
}

bool AssetTransfer::fileLost(const QFile* open) const
{
    const DCP* dcp = target->getDCP();
    if (dcp && !QFileInfo(dcp->getDCPPath()).isDir())
        return true;
#ifdef Q_OS_UNIX
    // Deleted while open: the handle still takes bytes, but no name leads to them.
    struct stat info;
    if (open && open->handle() >= 0 && ::fstat(open->handle(), &info) == 0 && info.st_nlink == 0)
        return true;
#endif
    return false;
}

void AssetTransfer::stopForLostFile()
{
    const QString path = target->getFullPath();
    qDebug() << "[DownloadManager] The file being downloaded or its folder is gone:" << path;
    abandon();
    emit failed(Failure::FileLost, path);
}

void AssetTransfer::serverFault(const QString& reason)
{
    ++faultsInARow;
    qDebug() << "[DownloadManager] Failed attempt" << faultsInARow << "in a row:" << reason;
    emit failed(Failure::ServerFault, reason);
}

void AssetTransfer::stalled()
{
    qDebug() << "[DownloadManager] Timeout reached...";
    const bool slow = watchdog->takeCrawling();
    QUrl flooded;
    if (currentReply && currentReply->isRunning()) {
        const int stallMs = watchdog->stallInterval();
        if (slow) {
            watchdog->markSlowStreak();
            serverFault(QStringLiteral("Less than %1 bytes/s for %2 s")
                            .arg(watchdog->speedFloor())
                            .arg(watchdog->speedWindow() / 1000.0));
        } else if (!currentReply->attribute(QNetworkRequest::HttpStatusCodeAttribute).isValid()) {
            flooded = currentReply->url();
            serverFault(QStringLiteral("Headers incomplete after %1 s").arg(stallMs / 1000.0));
        } else {
            serverFault(QStringLiteral("No data for %1 s").arg(stallMs / 1000.0));
        }
    }
    if (currentReply) {
        qDebug() << "[DownloadManager] Aborting download";
        abort();
        qDebug() << "[DownloadManager] Finished Aborting download";
    }
    if (flooded.isValid())
        watchdog->cutFloodedConnections(flooded);
    emit restartDue();
}

void AssetTransfer::tick()
{
    if (inTick || !currentReply)
        return;
    inTick = true;
    bool drained = false;
    try {
        // Without a limit the reply is emptied in pieces of TransferPacer::noLimitPiece: the kernel copies
        // such a write into the page cache far more cheaply than one of several megabytes.
        do {
            pieceLeft = false;
            drained = readTick();
        } while (pieceLeft && !drained);
    } catch (const std::exception& e) {
        qDebug() << "[DownloadManager] Unable to read the download:" << e.what();
        failRequest();
    }
    inTick = false;
    if (drained)
        conclude();
}

bool AssetTransfer::checkBodyStart(QFile* open)
{
    bodyChecked = true;
    const QByteArray encoding = currentReply->rawHeader("Content-Encoding").trimmed().toLower();
    if (!encoding.isEmpty() && encoding != "identity") {
        qDebug() << "[DownloadManager] Body sent with Content-Encoding" << encoding
                 << "although not asked for,"
                 << "nothing written:" << currentReply->url().toString();
        failRequest();
        serverFault(
            QStringLiteral("The server sent an encoded body (%1)").arg(QString::fromLatin1(encoding)));
        return false;
    }
    const qint64 have = open->size();
    fileLength = have;
    // The file's full length: Content-Length of a whole body, the total of a Content-Range.
    const bool whole = httpStatus(currentReply) == 200;
    qint64 start = 0;
    qint64 total = -1;
    if (whole) {
        const QVariant length = currentReply->header(QNetworkRequest::ContentLengthHeader);
        if (length.isValid())
            total = length.toLongLong();
    } else if (!contentRange(currentReply->rawHeader("Content-Range"), &start, &total)) {
        return true;
    }
    if (total >= 0 && quint64(total) != target->getSize())
        return refuseOtherSize(total);
    mismatchesInARow = 0;

    if (whole) {
        if (have > 0) {
            // The server ignored the Range header and sends the whole file: appending it
            // would corrupt the file, so start it again from its first byte.
            qDebug() << "[DownloadManager] Whole file sent for a resumed request, restarting from byte 0:"
                     << target->getUuid();
            if (!open->resize(0)) {
                qDebug() << "[DownloadManager] Unable to empty" << target->getFullPath();
                failRequest();
                emit failed(Failure::Interrupted, target->getFullPath());
                return false;
            }
            fileLength = 0;
        }
        return true;
    }
    if (start == have)
        return true;
    if (start < have) {
        qDebug() << "[DownloadManager] Content-Range starts at" << start << "before the file's length" << have
                 << ", cutting the file back";
        if (open->resize(start)) {
            fileLength = start;
            return true;
        }
        qDebug() << "[DownloadManager] Unable to cut" << target->getFullPath();
    } else {
        qDebug() << "[DownloadManager] Content-Range starts at" << start << "after the file's length" << have
                 << ", nothing written";
    }
    failRequest();
    // A server that keeps answering from the wrong byte is as stuck as one that does not
    // answer: counted, so the user hears of it at the third time.
    serverFault(QStringLiteral("The server answered from byte %1 instead of %2").arg(start).arg(have));
    return false;
}

bool AssetTransfer::refuseOtherSize(qint64 total)
{
    const QString url = currentReply->url().toString();
    qDebug() << "[DownloadManager] The server's file has" << total << "bytes, the asset" << target->getSize()
             << ", nothing written";
    failRequest();
    if (++mismatchesInARow < mismatchesBeforeWaiting) {
        serverFault(QStringLiteral("The server announced a file of %1 bytes instead of %2")
                        .arg(total)
                        .arg(target->getSize()));
        return false;
    }
    // Asking again will not change the file: the asset waits until the user or a new
    // package asks for it.
    mismatchesInARow = 0;
    qDebug() << "[DownloadManager] The server's file at" << url << "has" << total << "bytes, the package says"
             << target->getSize() << ", downloads of asset" << target->getUuid() << "wait";
    abandon();
    emit failed(Failure::SizeMismatch, QString::number(total));
    return false;
}

bool AssetTransfer::readTick()
{
    QNetworkReply* const reply = currentReply;
    const quint64 request = serial;
    const quint32 buffer = pacer.replyBufferSize();
    const bool limitOff = pacer.limitOff();
    const qint64 available = reply->bytesAvailable();
    const int status = httpStatus(reply);
    // An errored reply still holds the body that arrived before the error: write it.
    const bool body =
        (status == 206 || status == 200) && reply->error() != QNetworkReply::OperationCanceledError;
    if (available <= 0 || !body) {
        if (available <= 0 && bodyFlowing && !replyDone)
            pacer.ranDry();
        return replyDone;
    }

    if (watchdog->isCrawling())
        return false; // the stall timer restarts it at once
    watchdog->arm();

    QFile* open = nullptr;
    try {
        open = target->getFileHandle();
    } catch (const std::exception& e) {
        // Typically the drive was removed: stop and let the user decide, rather than retry.
        const QString path = target->getFullPath();
        qDebug() << "[DownloadManager] Unable to open" << path << e.what();
        abandon();
        emit failed(Failure::Unwritable, path);
        return false;
    }
    file = open;

    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    const qint64 elapsed = pacer.sinceSample(now);
    if (lastLinkCheck < 0 || now - lastLinkCheck >= linkCheckInterval || replyDone) {
        lastLinkCheck = now;
        if (fileLost(open)) {
            stopForLostFile();
            return false;
        }
    }

    if (!bodyChecked && !checkBodyStart(open))
        return false;

    // Never more than the asset still lacks: a body that goes on past it is refused.
    const qint64 room = qMax<qint64>(0, qint64(target->getSize()) - fileLength);
    const quint64 carryBefore = pacer.carried();
    const quint64 allowance = pacer.allowance(available, replyDone);
    const qint64 take = qMin(qMin<qint64>(qint64(qMin<quint64>(allowance, quint64(available))), room),
                             qint64(std::numeric_limits<int>::max()));
    if (readBuffer.size() < take)
        readBuffer.resize(int(take));
    const qint64 got = take > 0 ? reply->read(readBuffer.data(), take) : 0;
    pacer.afterRead(allowance, got, replyDone);

    const bool firstData = !bodyFlowing;
    qint64 written = 0;
    bool flushed = true;
    if (got > 0) {
        bodyFlowing = true;
        written = open->write(readBuffer.constData(), got);
        if (written > 0)
            fileLength += written;
        flushed = open->flush();
    }
    if (tickObserver)
        tickObserver({written, pacer.chunk(), carryBefore, pacer.carried(), buffer, replyDone});

    if (written != got || !flushed) {
        if (written != got)
            qDebug() << "[DownloadManager] Warning: dropped bytes" << written << "of" << got;
        if (!flushed)
            qDebug() << "[DownloadManager] Warning: flush() failed.";
        if (fileLost(open)) {
            stopForLostFile();
            return false;
        }
        // The reply cannot give these bytes again: end this request so that the next one
        // resumes from what the file really holds.
        failRequest();
        emit failed(Failure::WriteFailed, target->getFullPath());
        return false;
    }
    if (available > room) {
        qDebug() << "[DownloadManager] Body goes on past the asset's size" << target->getSize()
                 << ", transfer ended at" << fileLength << "for asset:" << target->getUuid();
        failRequest();
        emit failed(Failure::ServerFault,
                    QStringLiteral("The server sent more than the file's %1 bytes").arg(target->getSize()));
        return false;
    }

    if (got > 0 && !watchdog->inSlowStreak())
        faultsInARow = 0;
    if (watchdog->countWritten(written, target->getUuid()))
        faultsInARow = 0;
    emit progress(written, firstData, pacer.sample(now, elapsed, written));
    // The engine may have stopped this request while handling the progress.
    if (request != serial || currentReply != reply)
        return false;
    pieceLeft = limitOff && got == TransferPacer::noLimitPiece && reply->bytesAvailable() > 0;
    return replyDone && reply->bytesAvailable() <= 0;
}

QString AssetTransfer::failureReason(const QNetworkReply* reply)
{
    const int status = httpStatus(reply);
    if (status > 0 && status != 200 && status != 206)
        return QStringLiteral("The server answered %1 %2")
            .arg(status)
            .arg(reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString());
    return NetworkSetup::failureText(reply);
}

QString AssetTransfer::proxyAddress(const QUrl& url) const
{
    QList<QNetworkProxy> proxies;
    if (QNetworkProxyFactory* factory = network->proxyFactory())
        proxies = factory->queryProxy(QNetworkProxyQuery(url));
    else
        proxies << network->proxy();
    for (const QNetworkProxy& proxy : proxies)
        if (proxy.type() != QNetworkProxy::NoProxy && proxy.type() != QNetworkProxy::DefaultProxy)
            return proxy.hostName() + QLatin1Char(':') + QString::number(proxy.port());
    return QString();
}

void AssetTransfer::replyError(QNetworkReply::NetworkError code)
{
    auto* reply = qobject_cast<QNetworkReply*>(sender());
    if (!reply || reply != currentReply)
        return;
    const int status = httpStatus(reply);
    qDebug() << "[DownloadManager] Error" << code << "HTTP status code:" << status;
    if (code == QNetworkReply::OperationCanceledError)
        return;

    if (status == 400 || status == 403 || status == 404) {
        // Aborting a reply from inside its own error signal upsets Qt's network layer:
        // hold the transfer now and report once the signal has returned.
        watchdog->stop();
        const quint64 request = serial;
        const Failure failure = status == 400 ? Failure::LinkExpired : Failure::FileMissing;
        QMetaObject::invokeMethod(
            this,
            [this, request, failure]() {
                if (request != serial)
                    return;
                abandon();
                emit failed(failure, QString());
            },
            Qt::QueuedConnection);
    } else if (status == 416 &&
               quint64(FileManager::getFileSize(target->getFullPath())) >= target->getSize()) {
        // Nothing left to ask for: the file is complete as far as its size goes, and the
        // digest check decides whether it is right.
        qDebug() << "[DownloadManager] Range not satisfiable for a complete file, finishing asset:"
                 << target->getUuid();
        finishDespiteError = true;
    }
}

void AssetTransfer::replyFinished()
{
    auto* reply = qobject_cast<QNetworkReply*>(sender());
    if (!reply || reply != currentReply)
        return;
    // What the reply still holds is written at the limit by the following ticks, not all at
    // once; the transfer is concluded once it is drained.
    replyDone = true;
    pacer.forgetCarry();
    tick();
}

void AssetTransfer::conclude()
{
    QNetworkReply* const reply = currentReply;
    if (!reply)
        return;
    if (reply->error() == QNetworkReply::ProxyAuthenticationRequiredError) {
        // Asking again at once gets the same answer: the stall timer brings the next request.
        const QString proxy = proxyAddress(reply->url());
        qDebug() << "[DownloadManager] The proxy" << proxy << "requires authentication";
        closeFile();
        releaseReply();
        tickTimer->stop();
        emit failed(Failure::ProxyRefused, proxy);
        return;
    }
    if (reply->error() != QNetworkReply::NoError && !finishDespiteError) {
        const int status = httpStatus(reply);
        const bool counted = reply->error() != QNetworkReply::OperationCanceledError && status != 400 &&
                             status != 403 && status != 404;
        const QString reason = failureReason(reply);
        closeFile();
        releaseReply();
        tickTimer->stop();
        // The stall timer stays armed: it brings the next request.
        if (counted)
            serverFault(reason);
        return;
    }

    const QVariant redirect = reply->attribute(QNetworkRequest::RedirectionTargetAttribute);
    bool redirectsSpent = false;
    if (redirect.isValid() && !finishDespiteError) {
        closeFile();
        redirectsSpent = target->getRemainingRedirects() <= 0;
        if (redirectsSpent)
            qDebug() << "[DownloadManager] Reached max redirects for asset:" << target->getUuid();
        else if (followRedirect(redirect.toUrl()))
            return;
    }

    // Never record as finished a file that is no longer there.
    const bool hadFile = bodyFlowing || resumeOffset > 0;
    if (fileLost(file) || (hadFile && !FileManager::fileExists(target->getFullPath()))) {
        stopForLostFile();
        return;
    }
    closeFile();
    // Qt takes a connection closed mid-body for the body's end, and may even send the same
    // request again behind our back: only the file's length, read once every received byte
    // is written, says whether the asset is whole.
    if (!holdsWholeAsset()) {
        const qint64 length = FileManager::getFileSize(target->getFullPath());
        qDebug() << "[DownloadManager] Transfer ended at" << length << "of" << target->getSize()
                 << "bytes, not finished, for asset:" << target->getUuid();
        releaseReply();
        tickTimer->stop();
        // The stall timer stays armed: it brings the next request, from the file's length.
        serverFault(redirectsSpent ? QStringLiteral("Too many redirects")
                                   : QStringLiteral("The connection closed after %1 of %2 bytes")
                                         .arg(length)
                                         .arg(target->getSize()));
        return;
    }
    releaseReply();
    watchdog->stop();
    tickTimer->stop();
    ++serial;
    emit finished();
}

bool AssetTransfer::holdsWholeAsset()
{
    const QString path = target->getFullPath();
    const qint64 length = FileManager::getFileSize(path);
    const qint64 size = qint64(target->getSize());
    if (length == size)
        return true;
    if (length < size)
        return false;
    // Longer than the asset (left by someone else): the digest decides on its first bytes.
    qDebug() << "[DownloadManager] File holds" << length << "bytes, more than the asset's" << size
             << ", cutting it back:" << path;
    return QFile::resize(path, size);
}

bool AssetTransfer::followRedirect(const QUrl& location)
{
    QUrl url = location;
    if (url.isRelative())
        url = QUrl(target->getDownloadUrl(), QUrl::TolerantMode).resolved(url);
    const QString scheme = url.scheme().toLower();
    if (scheme != QLatin1String("http") && scheme != QLatin1String("https")) {
        // Nothing the program can fetch: the same case as a missing file.
        qDebug() << "[DownloadManager] Redirect to an unsupported address" << url
                 << "for asset:" << target->getUuid();
        abandon();
        emit failed(Failure::FileMissing, url.toString());
        return true;
    }
    target->setRemainingRedirects(target->getRemainingRedirects() - 1);
    qDebug() << "[DownloadManager] Redirect URL (" << url << ") for asset:" << target->getUuid();
    target->setDownloadUrl(url.toString());
    releaseReply();
    tickTimer->stop();
    emit restartDue();
    return true;
}
