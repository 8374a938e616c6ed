#include "core/WallClock.h"

#include <QDebug>
#include <QSocketNotifier>
#include <QTimer>

#include <cerrno>
#include <cstdint>
#include <limits>
#include <sys/timerfd.h>
#include <unistd.h>

SystemClock::SystemClock(QObject* parent) : WallClock(parent)
{
    fd = ::timerfd_create(CLOCK_REALTIME, TFD_NONBLOCK | TFD_CLOEXEC);
    if (fd >= 0) {
        notifier = new QSocketNotifier(fd, QSocketNotifier::Read, this);
        connect(notifier, &QSocketNotifier::activated, this, &SystemClock::timerReady);
        return;
    }
    qDebug() << "[SystemClock] No wall-clock timer, clock changes go unnoticed:" << strerror(errno);
    fallback = new QTimer(this);
    fallback->setSingleShot(true);
    fallback->setTimerType(Qt::PreciseTimer);
    connect(fallback, &QTimer::timeout, this, &WallClock::woke);
}

SystemClock::~SystemClock()
{
    if (fd >= 0)
        ::close(fd);
}

void SystemClock::wakeAt(const QDateTime& at)
{
    if (fallback) {
        fallback->stop();
        if (at.isValid()) {
            const qint64 ms = qMax<qint64>(0, now().msecsTo(at));
            fallback->start(int(qMin<qint64>(ms, std::numeric_limits<int>::max())));
        }
        return;
    }
    // Without an alarm of its own the timer is still armed, a year ahead, so that the kernel
    // keeps telling when the clock is set.
    const qint64 ms = at.isValid() ? at.toMSecsSinceEpoch() : now().addDays(366).toMSecsSinceEpoch();
    itimerspec expiry{};
    expiry.it_value.tv_sec = time_t(qMax<qint64>(0, ms / 1000));
    expiry.it_value.tv_nsec = long(qMax<qint64>(0, ms % 1000) * 1000000);
    if (expiry.it_value.tv_sec == 0 && expiry.it_value.tv_nsec == 0)
        expiry.it_value.tv_nsec = 1; // zero would disarm it
    if (::timerfd_settime(fd, TFD_TIMER_ABSTIME | TFD_TIMER_CANCEL_ON_SET, &expiry, nullptr) != 0)
        qDebug() << "[SystemClock] Unable to set the alarm:" << strerror(errno);
}

void SystemClock::timerReady()
{
    std::uint64_t expirations = 0;
    const ssize_t got = ::read(fd, &expirations, sizeof expirations);
    if (got < 0 && errno == ECANCELED) {
        emit jumped();
        return;
    }
    if (got == ssize_t(sizeof expirations))
        emit woke();
}
