#pragma once

#include <QDateTime>
#include <QString>

// A week of bandwidth rules, one per hour of local time, Monday 00:00 first. Stored as text
// of 168 letters (N no limit, L the slider's limit, A the alternative limit, P paused), so
// the settings table keeps it as one value.
class WeekSchedule
{
public:
    enum class Mode : char
    {
        NoLimit = 'N',
        Limit = 'L',
        Alternative = 'A',
        Paused = 'P'
    };
    static constexpr int Hours = 7 * 24;

    // Every hour under the slider's limit: what the program does without a schedule.
    WeekSchedule();
    // Text that is not 168 known letters gives the default week; ok says whether it was read.
    static WeekSchedule fromText(const QString& text, bool* ok = nullptr);
    QString toText() const { return hours; }

    // "night": no limit from 22:00 to 08:00, the limit by day. "weekdays": the limit from
    // Monday to Friday 08:00-22:00, no limit otherwise. Anything else: the default week.
    static WeekSchedule preset(const QString& name);

    // day: 1 (Monday) to 7 (Sunday), as QDate::dayOfWeek; hour 0 to 23.
    Mode at(int day, int hour) const;
    void set(int day, int hour, Mode mode);

    // The rule of the local hour the instant falls in.
    Mode modeAt(const QDateTime& instant) const;
    // The first start of a local hour after the instant. Across a daylight-saving change it is
    // one hour of real time later all the same; zones a quarter or half hour off UTC are met.
    static QDateTime nextBoundary(const QDateTime& instant);
    // The first hour boundary after the instant whose rule differs from the rule at the
    // instant, or an invalid time when the whole week has one rule.
    QDateTime nextChange(const QDateTime& instant) const;

    bool operator==(const WeekSchedule& other) const { return hours == other.hours; }
    bool operator!=(const WeekSchedule& other) const { return hours != other.hours; }

private:
    QString hours;
};
