#include "download/SpeedMeter.h"

void SpeedMeter::add(qint64 now, quint64 bytes)
{
    if (!samples.empty() && (now - samples.back().time > window || now < samples.back().time))
        samples.clear();
    total += bytes;
    samples.push_back({now, total});
    // The base is the newest sample that is still at least one window old.
    while (samples.size() > 2 && samples[1].time <= now - window)
        samples.pop_front();
}

double SpeedMeter::rate(qint64 now) const
{
    if (samples.empty() || now <= samples.front().time)
        return -1;
    const Sample& base = samples.front();
    return double(total - base.total) * 1000.0 / double(now - base.time);
}
