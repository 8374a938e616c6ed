#include "download/WeekSchedule.h"

namespace {
const QString kModes = QStringLiteral("NLAP");
}

WeekSchedule::WeekSchedule() : hours(Hours, QLatin1Char(char(Mode::Limit))) {}

WeekSchedule WeekSchedule::fromText(const QString& text, bool* ok)
{
    bool valid = text.size() == Hours;
    for (int i = 0; valid && i < text.size(); ++i)
        valid = kModes.contains(text.at(i));
    if (ok)
        *ok = valid;
    WeekSchedule week;
    if (valid)
        week.hours = text;
    return week;
}

WeekSchedule WeekSchedule::preset(const QString& name)
{
    WeekSchedule week;
    for (int day = 1; day <= 7; ++day) {
        for (int hour = 0; hour < 24; ++hour) {
            const bool byDay = hour >= 8 && hour < 22;
            if (name == QLatin1String("night"))
                week.set(day, hour, byDay ? Mode::Limit : Mode::NoLimit);
            else if (name == QLatin1String("weekdays"))
                week.set(day, hour, byDay && day <= 5 ? Mode::Limit : Mode::NoLimit);
        }
    }
    return week;
}

WeekSchedule::Mode WeekSchedule::at(int day, int hour) const
{
    if (day < 1 || day > 7 || hour < 0 || hour > 23)
        return Mode::Limit;
    return Mode(hours.at((day - 1) * 24 + hour).toLatin1());
}

void WeekSchedule::set(int day, int hour, Mode mode)
{
    if (day >= 1 && day <= 7 && hour >= 0 && hour <= 23)
        hours[(day - 1) * 24 + hour] = QLatin1Char(char(mode));
}

WeekSchedule::Mode WeekSchedule::modeAt(const QDateTime& instant) const
{
    const QDateTime local = instant.toLocalTime();
    return at(local.date().dayOfWeek(), local.time().hour());
}

QDateTime WeekSchedule::nextBoundary(const QDateTime& instant)
{
    // Every zone's offset is a whole number of quarter hours, so a local hour starts on a
    // quarter hour of UTC: the first quarter after the instant whose local minute is 0.
    constexpr qint64 quarter = 15 * 60;
    const qint64 secs = instant.toSecsSinceEpoch();
    qint64 candidate = (secs >= 0 ? secs / quarter : (secs - quarter + 1) / quarter) * quarter + quarter;
    for (int i = 0; i < 4; ++i, candidate += quarter) {
        const QDateTime at = QDateTime::fromSecsSinceEpoch(candidate, Qt::UTC);
        if (at.toLocalTime().time().minute() == 0)
            return at;
    }
    return QDateTime::fromSecsSinceEpoch(candidate, Qt::UTC);
}

QDateTime WeekSchedule::nextChange(const QDateTime& instant) const
{
    const Mode now = modeAt(instant);
    QDateTime at = instant;
    // A week and a day of boundaries, a daylight-saving hour included.
    for (int i = 0; i < Hours + 26; ++i) {
        at = nextBoundary(at);
        if (modeAt(at) != now)
            return at;
    }
    return QDateTime();
}
