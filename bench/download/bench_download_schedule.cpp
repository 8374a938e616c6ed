// The limit's accuracy right after the bandwidth schedule changes its rule at an hour's
// boundary: from "No limit" to a limit (10 Mbit/s by default) and back, each change's first
// seconds measured from the boundary itself. Beside it the same change made by hand with the
// slider and the switch (what the window does), measured the same way.
//
//   bench_download_schedule [--mbit 10] [--seconds 10] [--back-seconds 5] [--runs 3]
//
// The schedule follows a clock set a little before an hour: its alarm goes off at a real
// boundary, through the engine's own timers. File sizes are sampled every 100 ms on a thread
// of their own, each with the time it was read; every one-second window within the first
// seconds is looked at. ORV_BENCH_TRACE=1 prints every sample to stderr.

#include "BenchSupport.h"
#include "BenchTable.h"
#include "core/WallClock.h"
#include "download/ScheduleEngine.h"
#include "download/WeekSchedule.h"

#include <QCommandLineParser>
#include <QDateTime>

#include <algorithm>
#include <cmath>

using namespace bench;

namespace {

// The system's time shifted so that a chosen instant is now; alarms on a plain timer.
class ShiftedClock : public WallClock
{
public:
    ShiftedClock()
    {
        alarm.setSingleShot(true);
        alarm.setTimerType(Qt::PreciseTimer);
        connect(&alarm, &QTimer::timeout, this, &WallClock::woke);
    }
    QDateTime now() const override { return QDateTime::currentDateTimeUtc().addMSecs(offset); }
    void wakeAt(const QDateTime& at) override
    {
        alarm.stop();
        // A millisecond late rather than early: the timer counts whole milliseconds.
        if (at.isValid())
            alarm.start(int(qBound<qint64>(0, now().msecsTo(at) + 1, 3600 * 1000)));
    }
    // From now on, the clock reads `at`; the schedule is told that the clock was set.
    void set(const QDateTime& at)
    {
        offset = QDateTime::currentDateTimeUtc().msecsTo(at);
        emit jumped();
    }
    QTimer alarm;
    qint64 offset = 0;
};

struct Window
{
    double average = 0; // bytes per second over the whole span
    double worst = 0;   // largest |rate / target - 1| of any one-second window (limited)
    double slowest = 0; // lowest one-second rate (unlimited)
};

// File sizes with the time each was read (ms since the run's start): a sampler thread that a
// busy machine starves reads late, so windows go by the times, not by the count of samples.
struct Trace
{
    std::vector<qint64> ms;
    std::vector<qint64> bytes;

    // The size at a time, on the straight line between the samples around it.
    double at(double t) const
    {
        for (size_t i = 1; i < ms.size(); ++i) {
            if (ms[i] >= t) {
                const double span = double(ms[i] - ms[i - 1]);
                const double f = span > 0 ? (t - double(ms[i - 1])) / span : 1.0;
                return double(bytes[i - 1]) + f * double(bytes[i] - bytes[i - 1]);
            }
        }
        return bytes.empty() ? 0 : double(bytes.back());
    }
    // The first sample read after the time.
    double firstAfter(qint64 t) const
    {
        for (size_t i = 0; i < ms.size(); ++i)
            if (ms[i] > t)
                return double(ms[i]);
        return -1;
    }
};

// From the first sample after the change (so that no window holds bytes written before it):
// the average over the seconds, and every one-second window starting at a sample in them.
Window measure(const Trace& trace, qint64 changeMs, int seconds, double target)
{
    Window w;
    const double from = trace.firstAfter(changeMs);
    const double to = from + seconds * 1000.0;
    if (from < 0 || trace.ms.empty() || double(trace.ms.back()) < to)
        return w;
    w.average = (trace.at(to) - trace.at(from)) / seconds;
    w.slowest = 1e18;
    for (size_t i = 0; i < trace.ms.size(); ++i) {
        const double t = double(trace.ms[i]);
        if (t < from || t + 1000.0 > to)
            continue;
        const double rate = trace.at(t + 1000.0) - double(trace.bytes[i]);
        if (target > 0)
            w.worst = std::max(w.worst, std::fabs(rate / target - 1.0));
        w.slowest = std::min(w.slowest, rate);
    }
    return w;
}

struct Run
{
    Window limited;
    Window back;
    double before = 0;     // no limit, bytes per second before the change
    double appliedMs = -1; // from the boundary to the engine's new limit
};

// One download of a large sparse file: no limit for warm-up seconds, then the change to the
// limit (at a boundary of the schedule, or by hand), then back to no limit.
Run runOnce(Environment& env, bool scheduled, int mbit, int seconds, int backSeconds)
{
    DownloadManager* engine = env.engine();
    Setting* settings = Setting::getInstance();
    settings->set(QStringLiteral("download_limit"), QString::number(mbit));
    settings->set(QStringLiteral("download_limit_off"), QStringLiteral("1"));
    settings->save();
    engine->setLimitOff(true);

    // The next hour in local time, and the clock 3 s before it.
    const QDateTime boundary =
        WeekSchedule::nextBoundary(QDateTime::currentDateTimeUtc().addSecs(3600 * 24 * 3));
    const QDateTime after = WeekSchedule::nextBoundary(boundary);
    WeekSchedule week = WeekSchedule::fromText(QStringLiteral("N").repeated(WeekSchedule::Hours));
    const QDateTime local = boundary.toLocalTime();
    week.set(local.date().dayOfWeek(), local.time().hour(), WeekSchedule::Mode::Limit);
    ShiftedClock clock;
    std::unique_ptr<ScheduleEngine> schedule;
    double appliedMs = -1;
    if (scheduled) {
        clock.offset = QDateTime::currentDateTimeUtc().msecsTo(boundary.addSecs(-3));
        schedule = std::make_unique<ScheduleEngine>(*settings, *engine, clock);
        // The first rule with a limit is the boundary's.
        QObject::connect(schedule.get(), &ScheduleEngine::applied, [&] {
            if (appliedMs < 0 && !engine->isLimitOff())
                appliedMs = double(boundary.msecsTo(clock.now()));
        });
        schedule->save(true, week.toText(), mbit);
    }

    static int serial = 0;
    const QString name = QStringLiteral("schedule.bin");
    Asset* asset = env.addDownload(QStringLiteral("schedule-%1").arg(++serial), name,
                                   quint64(fileSize(env.serverFile(name))));
    engine->resumeDownloading();
    engine->assetsChanged();
    const QString path = asset->getFullPath();
    QElapsedTimer waited;
    waited.start();
    while (fileSize(path) == 0 && waited.elapsed() < 10000)
        waitMs(1);

    QElapsedTimer since;
    since.start();
    Trace trace;
    Sampler sampler(100, [path, &since, &trace]() {
        trace.ms.push_back(since.elapsed());
        trace.bytes.push_back(fileSize(path));
        return trace.bytes.back();
    });
    // The change comes 3 s after the clock was set (scheduled), or by hand after 3 s.
    const qint64 untilBoundary = scheduled ? clock.now().msecsTo(boundary) : 3000;
    waitMs(int(qMax<qint64>(0, untilBoundary - 2)));
    while (scheduled ? clock.now() < boundary : since.elapsed() < untilBoundary)
        std::this_thread::yield();
    const qint64 changeMs = since.elapsed();
    if (!scheduled) {
        // What the window does when the switch is turned off: the slider's limit applies.
        QElapsedTimer took;
        took.start();
        engine->setReadChunkSize(unsigned(mbit) * 125000u);
        engine->setLimitOff(false);
        appliedMs = took.nsecsElapsed() / 1e6;
    }
    // The windows start at the first sample after the change, up to 100 ms later (more when
    // the machine is busy): the way back waits until all of them are over.
    waitMs(seconds * 1000 + 600);

    // Back to no limit: the schedule's clock set to just before the next hour, or by hand.
    qint64 backMs = 0;
    if (scheduled) {
        clock.set(after.addMSecs(-500));
        waitMs(int(qMax<qint64>(0, clock.now().msecsTo(after) - 2)));
        while (clock.now() < after)
            std::this_thread::yield();
        backMs = since.elapsed();
    } else {
        backMs = since.elapsed();
        engine->setLimitOff(true);
    }
    waitMs(backSeconds * 1000 + 300);
    sampler.finish();
    if (qEnvironmentVariableIsSet("ORV_BENCH_TRACE"))
        for (size_t i = 0; i < trace.ms.size(); ++i)
            std::fprintf(stderr, "trace %s %lld %lld (change %lld, back %lld)\n", scheduled ? "s" : "h",
                         trace.ms[i], trace.bytes[i], changeMs, backMs);

    Run run;
    // A window that would reach past the way back is not measured (left at 0).
    if (trace.firstAfter(changeMs) + seconds * 1000.0 <= double(backMs))
        run.limited = measure(trace, changeMs, seconds, double(mbit) * 125000.0);
    run.back = measure(trace, backMs, backSeconds, 0);
    run.before = (trace.at(double(changeMs)) - trace.at(double(changeMs) - 2000.0)) / 2.0;
    run.appliedMs = appliedMs;
    schedule.reset();
    env.removeDownload(asset);
    return run;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addOption({QStringLiteral("mbit"), QStringLiteral("The limit in Mbit/s."), QStringLiteral("n"),
                      QStringLiteral("10")});
    parser.addOption({QStringLiteral("seconds"), QStringLiteral("Seconds measured under the limit."),
                      QStringLiteral("s"), QStringLiteral("10")});
    parser.addOption({QStringLiteral("back-seconds"), QStringLiteral("Seconds measured back without it."),
                      QStringLiteral("s"), QStringLiteral("5")});
    parser.addOption({QStringLiteral("runs"), QStringLiteral("Rounds of both kinds of change."),
                      QStringLiteral("n"), QStringLiteral("3")});
    parser.process(app);
    const int mbit = parser.value(QStringLiteral("mbit")).toInt();
    const int seconds = parser.value(QStringLiteral("seconds")).toInt();
    const int backSeconds = parser.value(QStringLiteral("back-seconds")).toInt();

    Environment env;
    env.engine()->getChecksumWorker()->hold(true);
    // Large enough that no run reaches its end at the engine's no-limit speed.
    env.sparseAsset(QStringLiteral("schedule.bin"), 400LL * 1000 * 1000 * (seconds + backSeconds + 10));

    const double target = double(mbit) * 125000.0;
    std::printf("limit %d Mbit/s (%.0f B/s); first %d s under it, first %d s back without it\n", mbit, target,
                seconds, backSeconds);
    std::printf("%-10s %12s %10s %12s %12s %14s %12s\n", "change", "avg B/s", "avg err", "worst 1 s",
                "applied ms", "back avg MB/s", "slowest 1 s");
    const int rounds = parser.value(QStringLiteral("runs")).toInt();
    std::vector<Run> byKind[2];
    // The two kinds in turn within every round, so that they meet the same machine load.
    for (int round = 0; round < rounds; ++round) {
        for (int kind = 0; kind < 2; ++kind) {
            const bool scheduled = kind == 0;
            const Run r = runOnce(env, scheduled, mbit, seconds, backSeconds);
            byKind[kind].push_back(r);
            std::printf("%-10s %12.0f %9.2f%% %11.2f%% %12.2f %14.1f %12.1f   (no limit before: %.1f MB/s)\n",
                        scheduled ? "schedule" : "by hand", r.limited.average,
                        100.0 * (r.limited.average / target - 1.0), 100.0 * r.limited.worst, r.appliedMs,
                        r.back.average / 1e6, r.back.slowest / 1e6, r.before / 1e6);
            std::fflush(stdout);
        }
    }
    // Median with the range, of one figure of every run of a kind.
    const auto figure = [&](int kind, double (*of)(const Run&, double), double scale, int decimals,
                            const QString& unit) -> QString {
        std::vector<double> values;
        for (const Run& r : byKind[kind])
            values.push_back(of(r, target) * scale);
        std::sort(values.begin(), values.end());
        if (values.empty())
            return QStringLiteral("-");
        const QString median = benchNumber(values[values.size() / 2], decimals) + unit;
        if (values.size() == 1)
            return median;
        return median + QStringLiteral(" (") + benchNumber(values.front(), decimals) +
               QStringLiteral("\u2013") + benchNumber(values.back(), decimals) + QStringLiteral(")");
    };
    const auto error = [](const Run& r, double t) {
        return r.limited.average / t - 1.0;
    };
    const auto worst = [](const Run& r, double) {
        return r.limited.worst;
    };
    const auto applied = [](const Run& r, double) {
        return r.appliedMs;
    };
    const auto back = [](const Run& r, double) {
        return r.back.average;
    };
    const auto slowest = [](const Run& r, double) {
        return r.back.slowest;
    };
    const auto before = [](const Run& r, double) {
        return r.before;
    };
    benchRow(
        QStringLiteral("Scheduled change No limit to %1 Mbit/s at an hour's boundary, first %2 s: average "
                       "error; worst 1 s window; applied after")
            .arg(mbit)
            .arg(seconds),
        figure(0, error, 100, 2, "%") + "; " + figure(0, worst, 100, 2, "%") + "; " +
            figure(0, applied, 1, 1, " ms"),
        QStringLiteral("slider by hand: ") + figure(1, error, 100, 2, "%") + "; " +
            figure(1, worst, 100, 2, "%"),
        QStringLiteral("-"), QStringLiteral("average within 1%, applied within 1 s"));
    benchRow(QStringLiteral("Scheduled change back to No limit, first %1 s: average; slowest 1 s window")
                 .arg(backSeconds),
             figure(0, back, 1e-6, 1, " MB/s") + "; " + figure(0, slowest, 1e-6, 1, " MB/s"),
             QStringLiteral("by hand: ") + figure(1, back, 1e-6, 1, " MB/s") + "; " +
                 figure(1, slowest, 1e-6, 1, " MB/s") + QStringLiteral(". No limit before: ") +
                 figure(0, before, 1e-6, 1, " MB/s"),
             QStringLiteral("-"), QStringLiteral("-"));
    return 0;
}
