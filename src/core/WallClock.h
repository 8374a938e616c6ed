#pragma once

#include <QDateTime>
#include <QObject>

class QSocketNotifier;
class QTimer;

// The time of day, and one alarm at a time of day. Tests put a clock of their own in its
// place and move it through a week in no time.
class WallClock : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;
    // Now, in UTC.
    virtual QDateTime now() const = 0;
    // Replaces the alarm: woke() once the wall clock reaches the time (at once when it has).
    // An invalid time sets none.
    virtual void wakeAt(const QDateTime& at) = 0;

signals:
    void woke();
    // The wall clock was set (forward or back) or the machine woke from sleep: whatever was
    // computed from the time is stale.
    void jumped();
};

// The system's clock. The alarm is a timer on the wall clock itself (timerfd on
// CLOCK_REALTIME), so it fires at the time of day also after a suspend, and the kernel tells
// when the clock is set. Where that is not available, a plain timer that knows neither.
class SystemClock : public WallClock
{
    Q_OBJECT

public:
    explicit SystemClock(QObject* parent = nullptr);
    ~SystemClock() override;

    QDateTime now() const override { return QDateTime::currentDateTimeUtc(); }
    void wakeAt(const QDateTime& at) override;

private:
    void timerReady();

    int fd = -1;
    QSocketNotifier* notifier = nullptr;
    QTimer* fallback = nullptr;
};
