#include "download/TransferPacer.h"

qint64 TransferPacer::lastSample = -1;
SpeedMeter TransferPacer::meter;

quint32 TransferPacer::bufferSizeFor(quint32 chunk, bool limitOff, quint32 cap)
{
    if (limitOff)
        return noLimitBufferSize;
    // A fifth of a second of the limit: what the network layer reads ahead of the file
    // stays bounded by the limit too, so the server is held to it as well.
    const quint64 ahead = quint64(chunk) * 10;
    return quint32(qBound<quint64>(minReplyBufferSize, ahead, cap));
}

void TransferPacer::setLimit(quint32 chunk, bool limitOff)
{
    if (limitOff != off)
        carriedAllowance = 0;
    chunkSize = chunk;
    off = limitOff;
    carriedAllowance = qMin<quint64>(carriedAllowance, replyBufferSize());
}

void TransferPacer::ranDry()
{
    if (!off)
        carriedAllowance = qMin<quint64>(carriedAllowance + chunkSize, replyBufferSize());
}

quint64 TransferPacer::allowance(qint64 available, bool replyDone) const
{
    if (off)
        return qMin<quint64>(quint64(available), quint64(noLimitPiece));
    return replyDone ? chunkSize : quint64(chunkSize) + carriedAllowance;
}

void TransferPacer::afterRead(quint64 allowance, qint64 got, bool replyDone)
{
    if (!off && !replyDone)
        carriedAllowance = qMin<quint64>(allowance - quint64(qMax<qint64>(got, 0)), replyBufferSize());
    else
        carriedAllowance = 0;
}

qint64 TransferPacer::sinceSample(qint64 now)
{
    if (lastSample < 0)
        lastSample = now;
    return qAbs(now - lastSample);
}

double TransferPacer::sample(qint64 now, qint64 elapsed, qint64 written)
{
    double speed = -1;
    meter.add(now, quint64(qMax<qint64>(written, 0)));
    if (elapsed > 199) {
        speed = qMax(0.0, meter.rate(now));
        // The limiter never lets more through than the limit over time; a reading above it
        // is a tick counted at the window's edge, and users read it as a broken limit.
        if (!off)
            speed = qMin(speed, double(chunkSize) * 1000.0 / double(qMax(1, tickMs)));
        lastSample = now;
    }
    return speed;
}

void TransferPacer::resetSampleClock()
{
    lastSample = -1;
    meter.reset();
}
