#pragma once

#include "download/SpeedMeter.h"

#include <QtGlobal>

// How much of a reply one read of a transfer may take, and the speed it shows. At a limit
// a read takes one chunk per tick, plus what earlier ticks could not use while the reply
// ran dry, and never lets the network layer read further ahead than a fifth of a second
// of the limit. Without one a read takes what has arrived, in pieces of noLimitPiece.
class TransferPacer
{
public:
    // Without a limit, the most one write takes: the kernel copies such a write into the
    // page cache far more cheaply than one of several megabytes.
    static constexpr qint64 noLimitPiece = 512 * 1024;

    void setTickInterval(int ms) { tickMs = ms; }
    int tickInterval() const { return tickMs; }
    void setBufferCap(quint32 bytes) { cap = bytes; }
    void setLimit(quint32 chunk, bool off);
    quint32 chunk() const { return chunkSize; }
    bool limitOff() const { return off; }
    quint64 carried() const { return carriedAllowance; }
    quint32 replyBufferSize() const { return bufferSizeFor(chunkSize, off, cap); }
    // What the network layer may read ahead of the file for a limit.
    static quint32 bufferSizeFor(quint32 chunk, bool limitOff, quint32 cap);

    // A new request, or a finished reply whose rest drains tick by tick: nothing carried.
    void forgetCarry() { carriedAllowance = 0; }
    // The reply buffer ran dry while the body flows: this tick's allowance is kept for the
    // ticks after the refill, so that the average rate reaches the limit.
    void ranDry();
    // Bytes one read may take of what the reply holds.
    quint64 allowance(qint64 available, bool replyDone) const;
    // What a read of got bytes under that allowance leaves for the next.
    void afterRead(quint64 allowance, qint64 got, bool replyDone);

    // Milliseconds since the last speed sample, taken as a read begins (the first read of
    // all starts the clock).
    qint64 sinceSample(qint64 now);
    // Counts written bytes; the rate over the last second, never above the limit, when a
    // sample is due (elapsed: what sinceSample said), otherwise -1.
    double sample(qint64 now, qint64 elapsed, qint64 written);
    // Tests only: the next transfer starts a fresh speed sample.
    static void resetSampleClock();

private:
    int tickMs = 20;
    quint32 cap = 1048576;
    quint32 chunkSize = 20971520;
    bool off = false;
    quint64 carriedAllowance = 0; // read allowance earlier ticks could not use
    // Time of the last speed sample and the rate measured, shared by all transfers.
    static qint64 lastSample;
    static SpeedMeter meter;

    static constexpr quint32 noLimitBufferSize = 4 * 1048576;
    static constexpr quint32 minReplyBufferSize = 16384;
};
