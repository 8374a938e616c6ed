#pragma once

#include <QtGlobal>

#include <deque>

// The transfer rate over the newest stretch of at least one window (a second): a limited
// download reads one chunk per tick, so a shorter stretch holds one tick too many or too
// few and reads several per cent off the rate actually delivered.
class SpeedMeter
{
public:
    explicit SpeedMeter(qint64 windowMs = 1000) : window(windowMs) {}

    void reset() { samples.clear(); }
    // Bytes appended at time now (ms). After a gap longer than the window (a pause) the
    // measurement starts again rather than averaging the gap in.
    void add(qint64 now, quint64 bytes);
    // Bytes per second since the newest sample at least one window old, or since the first
    // sample while there is less history; -1 with no interval yet.
    double rate(qint64 now) const;

private:
    struct Sample
    {
        qint64 time;
        quint64 total; // bytes appended up to and including this sample
    };
    std::deque<Sample> samples;
    quint64 total = 0;
    const qint64 window;
};
