#pragma once

#include "core/WallClock.h"

#include <QDateTime>

#include <ctime>

// A wall clock that moves only when the test says; an alarm goes off exactly at its time.
class FakeClock : public WallClock
{
public:
    explicit FakeClock(const QDateTime& at = QDateTime()) : t(at) {}
    QDateTime now() const override { return t; }
    void wakeAt(const QDateTime& at) override
    {
        alarm = at;
        ++requests;
    }
    // Alarms due on the way go off at their own time.
    void advanceTo(const QDateTime& to)
    {
        while (alarm.isValid() && alarm <= to) {
            t = alarm;
            alarm = QDateTime();
            emit woke();
        }
        t = to;
    }
    void jump(const QDateTime& to)
    {
        t = to;
        emit jumped();
    }
    // Local times read in this zone from now on.
    static void useZone(const char* zone)
    {
        qputenv("TZ", zone);
        tzset();
    }

    QDateTime t;
    QDateTime alarm;
    int requests = 0;
};
