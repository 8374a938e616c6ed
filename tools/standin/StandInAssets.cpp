#include "StandInAssets.h"

#include "StandInConnection.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutexLocker>
#include <QUrlQuery>

#include <algorithm>
#include <limits>
#include <memory>

#include <zlib.h>

namespace {

// Whether the counted fault still applies: times -1 means always.
bool stillApplies(int times, int used)
{
    return times < 0 || used < times;
}

// A gzip member of `inflated` zero bytes. One block of zeros, compressed once and ended on
// a byte boundary, decodes the same wherever it stands, so it is simply repeated.
QByteArray gzipBomb(qint64 inflated)
{
    static QMutex cacheMutex;
    static QHash<qint64, QByteArray> cache;
    QMutexLocker lock(&cacheMutex);
    if (cache.contains(inflated))
        return cache.value(inflated);

    constexpr qint64 blockBytes = 1 << 20;
    const QByteArray zeros(int(blockBytes), '\0');
    QByteArray block(int(blockBytes), '\0');
    z_stream stream{};
    deflateInit2(&stream, 9, Z_DEFLATED, -15, 9, Z_DEFAULT_STRATEGY); // raw deflate
    const auto compress = [&](qint64 bytes, int flush) {
        stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(zeros.constData()));
        stream.avail_in = uInt(bytes);
        stream.next_out = reinterpret_cast<Bytef*>(block.data());
        stream.avail_out = uInt(block.size());
        deflate(&stream, flush);
        return block.left(block.size() - int(stream.avail_out));
    };
    const QByteArray whole = compress(blockBytes, Z_FULL_FLUSH);
    const QByteArray tail = compress(inflated % blockBytes, Z_FINISH);
    deflateEnd(&stream);

    uLong crc = crc32(0L, Z_NULL, 0);
    const uLong blockCrc = crc32(0L, reinterpret_cast<const Bytef*>(zeros.constData()), uInt(blockBytes));
    QByteArray body("\x1f\x8b\x08\0\0\0\0\0\0\xff", 10);
    for (qint64 i = 0; i < inflated / blockBytes; ++i) {
        body += whole;
        crc = crc32_combine(crc, blockCrc, blockBytes);
    }
    body += tail;
    crc = crc32_combine(
        crc, crc32(0L, reinterpret_cast<const Bytef*>(zeros.constData()), uInt(inflated % blockBytes)),
        inflated % blockBytes);
    for (const quint32 word : {quint32(crc), quint32(inflated & 0xffffffff)})
        for (int shift = 0; shift < 32; shift += 8)
            body += char((word >> shift) & 0xff);
    cache.insert(inflated, body);
    return body;
}

} // namespace

QString StandInAssets::pathPrefix()
{
    return QStringLiteral("/assets/");
}

QUrl StandInAssets::urlOf(const QUrl& base, const QString& relativePath)
{
    QUrl url = base;
    url.setPath(pathPrefix() + QDir::cleanPath(relativePath), QUrl::DecodedMode);
    return url;
}

bool StandInAssets::parseFault(const QString& text, AssetFault* fault, QString* error)
{
    AssetFault result;
    const QStringList items = text.split(QLatin1Char(','), Qt::SkipEmptyParts);
    for (const QString& rawItem : items) {
        const QString item = rawItem.trimmed();
        const int equals = item.indexOf(QLatin1Char('='));
        const QString key = equals < 0 ? item : item.left(equals);
        const QString value = equals < 0 ? QString() : item.mid(equals + 1);
        bool ok = true;
        const auto number = [&]() {
            return value.toLongLong(&ok);
        };
        const auto small = [&]() {
            const qint64 n = value.toLongLong(&ok);
            ok = ok && n >= std::numeric_limits<int>::min() && n <= std::numeric_limits<int>::max();
            return static_cast<int>(n);
        };
        if (key == QLatin1String("drop")) {
            result.dropAfterBytes = number();
        } else if (key == QLatin1String("drop-times")) {
            result.dropTimes = small();
        } else if (key == QLatin1String("drop-reset") && value.isEmpty()) {
            result.dropWithReset = true;
        } else if (key == QLatin1String("stall")) {
            result.stallAfterBytes = number();
        } else if (key == QLatin1String("stall-seconds")) {
            result.stallSeconds = value.toDouble(&ok);
        } else if (key == QLatin1String("stall-times")) {
            result.stallTimes = small();
        } else if (key == QLatin1String("ignore-range") && value.isEmpty()) {
            result.ignoreRange = true;
        } else if (key == QLatin1String("status")) {
            result.status = small();
            ok = ok && result.status >= 100 && result.status <= 599;
        } else if (key == QLatin1String("status-times")) {
            result.statusTimes = small();
        } else if (key == QLatin1String("redirects")) {
            result.redirects = small();
        } else if (key == QLatin1String("redirect-style")) {
            if (value == QLatin1String("absolute"))
                result.redirectStyle = RedirectStyle::Absolute;
            else if (value == QLatin1String("root"))
                result.redirectStyle = RedirectStyle::RootRelative;
            else if (value == QLatin1String("path"))
                result.redirectStyle = RedirectStyle::PathRelative;
            else
                ok = false;
        } else if (key == QLatin1String("redirect-status")) {
            result.redirectStatus = small();
            ok = ok && result.redirectStatus >= 300 && result.redirectStatus <= 399;
        } else if (key == QLatin1String("range-delta")) {
            result.contentRangeDelta = number();
        } else if (key == QLatin1String("corrupt")) {
            result.corruptFirstDeliveries = small();
        } else if (key == QLatin1String("corrupt-offset")) {
            result.corruptOffset = number();
        } else if (key == QLatin1String("overrun")) {
            result.overrunBytes = value == QLatin1String("endless") ? -1 : number();
            ok = ok && result.overrunBytes >= -1;
        } else if (key == QLatin1String("overrun-in-range") && value.isEmpty()) {
            result.overrunInRange = true;
        } else if (key == QLatin1String("overrun-times")) {
            result.overrunTimes = small();
        } else if (key == QLatin1String("gzip")) {
            result.gzipBombBytes = value.isEmpty() ? qint64(1) << 30 : number();
            ok = ok && result.gzipBombBytes > 0;
        } else if (key == QLatin1String("header-flood") && value.isEmpty()) {
            result.headerFlood = true;
        } else if (key == QLatin1String("drip")) {
            result.throttleBytesPerSecond = value.isEmpty() ? 1 : number();
            ok = ok && result.throttleBytesPerSecond > 0;
        } else if (key == QLatin1String("throttle")) {
            result.throttleBytesPerSecond = number();
            ok = ok && result.throttleBytesPerSecond >= 0;
        } else {
            if (error)
                *error = QStringLiteral("unknown fault item \"%1\"").arg(item);
            return false;
        }
        if (!ok) {
            if (error)
                *error = QStringLiteral("bad value in fault item \"%1\"").arg(item);
            return false;
        }
    }
    *fault = result;
    return true;
}

void StandInAssets::setRoot(const QString& dir)
{
    QMutexLocker lock(&mutex);
    rootDir = QDir(dir).absolutePath();
}

QString StandInAssets::root() const
{
    QMutexLocker lock(&mutex);
    return rootDir;
}

void StandInAssets::setData(const QString& relativePath, const QByteArray& bytes)
{
    QMutexLocker lock(&mutex);
    data.insert(QDir::cleanPath(relativePath), bytes);
}

void StandInAssets::setFault(const QString& relativePath, const AssetFault& fault)
{
    QMutexLocker lock(&mutex);
    AssetState state;
    state.fault = fault;
    states.insert(QDir::cleanPath(relativePath), state);
}

void StandInAssets::clearFault(const QString& relativePath)
{
    QMutexLocker lock(&mutex);
    AssetState& state = states[QDir::cleanPath(relativePath)];
    state.fault = AssetFault();
}

void StandInAssets::clearAllFaults()
{
    QMutexLocker lock(&mutex);
    for (AssetState& state : states)
        state.fault = AssetFault();
}

int StandInAssets::deliveries(const QString& relativePath) const
{
    QMutexLocker lock(&mutex);
    return states.value(QDir::cleanPath(relativePath)).deliveries;
}

bool StandInAssets::claimFault(const QString& asset, FaultKind kind)
{
    QMutexLocker lock(&mutex);
    AssetState& state = states[asset];
    switch (kind) {
    case FaultKind::Delivery:
        ++state.deliveries;
        return true;
    case FaultKind::Drop:
        if (!stillApplies(state.fault.dropTimes, state.drops))
            return false;
        ++state.drops;
        return true;
    case FaultKind::Stall:
        if (!stillApplies(state.fault.stallTimes, state.stalls))
            return false;
        ++state.stalls;
        return true;
    case FaultKind::Corruption:
        if (state.corruptions >= state.fault.corruptFirstDeliveries)
            return false;
        ++state.corruptions;
        return true;
    }
    return false;
}

void StandInAssets::refundFault(const QString& asset, FaultKind kind)
{
    QMutexLocker lock(&mutex);
    AssetState& state = states[asset];
    int& counter = kind == FaultKind::Drop         ? state.drops
                   : kind == FaultKind::Stall      ? state.stalls
                   : kind == FaultKind::Corruption ? state.corruptions
                                                   : state.deliveries;
    counter = std::max(0, counter - 1);
}

void StandInAssets::answer(StandInConnection* connection, const JournalEntry& request, const QUrl& base)
{
    const QString relative = request.path.mid(pathPrefix().size());
    const QString cleaned = QDir::cleanPath(relative);
    if (relative.isEmpty() || cleaned.startsWith(QLatin1String("..")) || QDir::isAbsolutePath(cleaned) ||
        relative.contains(QLatin1Char('\\')))
        return connection->sendSimple(404, "text/plain", "no such asset\n");

    QMutexLocker lock(&mutex);
    AssetState& state = states[cleaned];
    const AssetFault fault = state.fault;

    if (fault.status != 0 && stillApplies(fault.statusTimes, state.statusAnswers)) {
        ++state.statusAnswers;
        lock.unlock();
        return connection->sendSimple(fault.status, "text/plain",
                                      "asset refused by fault setting: " + QByteArray::number(fault.status) +
                                          '\n');
    }

    const int hop = QUrlQuery(request.query).queryItemValue(QStringLiteral("hop")).toInt();
    if (hop < fault.redirects) {
        lock.unlock();
        const QString nextQuery = QStringLiteral("hop=%1").arg(hop + 1);
        QString location;
        switch (fault.redirectStyle) {
        case RedirectStyle::Absolute: {
            QUrl url = urlOf(base, cleaned);
            url.setQuery(nextQuery);
            location = url.toString(QUrl::FullyEncoded);
            break;
        }
        case RedirectStyle::RootRelative:
            location = QString::fromLatin1(QUrl::toPercentEncoding(pathPrefix() + cleaned, "/")) +
                       QLatin1Char('?') + nextQuery;
            break;
        case RedirectStyle::PathRelative:
            location = QString::fromLatin1(QUrl::toPercentEncoding(cleaned.section(QLatin1Char('/'), -1))) +
                       QLatin1Char('?') + nextQuery;
            break;
        }
        return connection->sendSimple(fault.redirectStatus, "text/plain", "moved\n",
                                      {{"Location", location.toLatin1()}});
    }

    if (fault.headerFlood) {
        lock.unlock();
        return connection->sendHeaderFlood();
    }
    if (fault.gzipBombBytes > 0) {
        lock.unlock();
        return connection->sendSimple(200, "application/octet-stream", gzipBomb(fault.gzipBombBytes),
                                      {{"Content-Encoding", "gzip"}});
    }

    std::unique_ptr<QIODevice> device;
    if (data.contains(cleaned)) {
        auto buffer = std::make_unique<QBuffer>();
        buffer->setData(data.value(cleaned));
        device = std::move(buffer);
    } else {
        if (rootDir.isEmpty())
            return lock.unlock(), connection->sendSimple(404, "text/plain", "no asset root\n");
        const QString filePath = rootDir + QLatin1Char('/') + cleaned;
        // Refuse symbolic links that lead out of the root.
        const QString canonical = QFileInfo(filePath).canonicalFilePath();
        const QString canonicalRoot = QFileInfo(rootDir).canonicalFilePath();
        if (canonical.isEmpty() || !canonical.startsWith(canonicalRoot + QLatin1Char('/')) ||
            !QFileInfo(canonical).isFile())
            return lock.unlock(), connection->sendSimple(404, "text/plain", "no such asset\n");
        device = std::make_unique<QFile>(canonical);
    }
    if (!device->open(QIODevice::ReadOnly))
        return lock.unlock(), connection->sendSimple(403, "text/plain", "asset not readable\n");
    const qint64 size = device->size();

    // Range: "bytes=N-", "bytes=N-M" or "bytes=-N"; one range only.
    qint64 first = 0;
    qint64 last = size - 1;
    bool partial = false;
    if (!request.range.isEmpty() && !fault.ignoreRange && size > 0) {
        const QByteArray range = request.range.trimmed();
        const int dash = range.indexOf('-');
        if (!range.startsWith("bytes=") || dash < 0 || range.contains(','))
            return lock.unlock(), connection->sendSimple(400, "text/plain", "malformed Range\n");
        const QByteArray from = range.mid(6, dash - 6).trimmed();
        const QByteArray to = range.mid(dash + 1).trimmed();
        qint64 a = 0;
        qint64 b = 0;
        const bool hasFrom = !from.isEmpty();
        const bool hasTo = !to.isEmpty();
        if ((hasFrom && !StandInConnection::parseDigits(from, &a)) ||
            (hasTo && !StandInConnection::parseDigits(to, &b)) || (!hasFrom && !hasTo) ||
            (hasFrom && hasTo && b < a))
            return lock.unlock(), connection->sendSimple(400, "text/plain", "malformed Range\n");
        if (hasFrom) {
            if (a >= size) {
                lock.unlock();
                return connection->sendSimple(416, "text/plain", "range not satisfiable\n",
                                              {{"Content-Range", "bytes */" + QByteArray::number(size)}});
            }
            first = a;
            last = hasTo ? std::min(b, size - 1) : size - 1;
        } else {
            if (b == 0) {
                lock.unlock();
                return connection->sendSimple(416, "text/plain", "range not satisfiable\n",
                                              {{"Content-Range", "bytes */" + QByteArray::number(size)}});
            }
            first = std::max<qint64>(0, size - b);
        }
        partial = true;
        if (fault.contentRangeDelta != 0) {
            // A closed range moves as a whole, so the answer never has a negative length.
            if (hasFrom && hasTo)
                last = std::clamp<qint64>(last + fault.contentRangeDelta, 0, size - 1);
            first = std::clamp<qint64>(first + fault.contentRangeDelta, 0, last);
        }
    }
    const qint64 length = size == 0 ? 0 : last - first + 1;

    // Only the offsets are planned here; each fault is counted when it happens on the wire.
    StandInConnection::Delivery delivery;
    if (length > 0 && !connection->isHead()) {
        delivery.asset = cleaned;
        if (fault.dropAfterBytes >= 0 && fault.dropAfterBytes < length &&
            stillApplies(fault.dropTimes, state.drops)) {
            delivery.dropAfter = fault.dropAfterBytes;
            delivery.dropWithReset = fault.dropWithReset;
        }
        if (fault.stallAfterBytes >= 0 && fault.stallAfterBytes < length &&
            stillApplies(fault.stallTimes, state.stalls)) {
            delivery.stallAfter = fault.stallAfterBytes;
            delivery.stallMs = fault.stallSeconds < 0 ? -1 : qRound64(fault.stallSeconds * 1000.0);
        }
        const qint64 corruptAt = fault.corruptOffset >= 0 ? fault.corruptOffset : size / 2;
        if (state.corruptions < fault.corruptFirstDeliveries && corruptAt >= first && corruptAt <= last)
            delivery.corruptAt = corruptAt - first;
        delivery.bytesPerSecond = fault.throttleBytesPerSecond;
        if (fault.overrunBytes != 0 && stillApplies(fault.overrunTimes, state.overruns)) {
            ++state.overruns;
            delivery.overrun = fault.overrunBytes;
        }
    }
    lock.unlock();

    StandInConnection::Headers headers = {{"Content-Type", "application/octet-stream"},
                                          {"Accept-Ranges", "bytes"}};
    if (delivery.overrun < 0 && first == 0)
        partial = false; // as a server that ignores the Range would answer
    if (partial) {
        const qint64 claimed = delivery.overrun > 0 && fault.overrunInRange ? delivery.overrun : 0;
        headers.append({"Content-Range", "bytes " + QByteArray::number(first) + '-' +
                                             QByteArray::number(last + claimed) + '/' +
                                             QByteArray::number(size + claimed)});
    }
    connection->sendBody(partial ? 206 : 200, headers, std::move(device), first, length, delivery);
}
