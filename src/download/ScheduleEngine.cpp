#include "download/ScheduleEngine.h"

#include "core/WallClock.h"
#include "download/DownloadManager.h"
#include "storage/Setting.h"

#include <QDebug>
#include <QLocale>

namespace {
constexpr unsigned kMegaBit = 125000; // bytes per second in 1 Mbit/s
const QString kOn = QStringLiteral("schedule_on");
const QString kWeek = QStringLiteral("schedule_week");
const QString kAlternative = QStringLiteral("schedule_alt_limit");
const QString kLimit = QStringLiteral("download_limit");
const QString kLimitOff = QStringLiteral("download_limit_off");

int clampLimit(int mbit)
{
    return qBound(1, mbit, 200);
}
} // namespace

ScheduleEngine::ScheduleEngine(Setting& settings, DownloadManager& engine, WallClock& clock, QObject* parent)
    : QObject(parent), settings(settings), engine(engine), clock(clock)
{
    connect(&clock, &WallClock::woke, this, [this] { update(false); });
    connect(&clock, &WallClock::jumped, this, [this] {
        qDebug() << "[Schedule] The clock was set; looking again";
        update(true);
    });
    // Resuming by hand while the schedule holds the downloads lasts until the next change.
    connect(&engine, &DownloadManager::holdLiftedByHand, this, [this] {
        if (enabled)
            startOverride();
    });
    load();
    if (enabled)
        update(false);
}

int ScheduleEngine::limitSetting(const Setting& settings, const QString& key)
{
    bool ok = false;
    const int value = settings.get(key).toInt(&ok);
    return ok && value >= 1 && value <= 200 ? value : 200;
}

void ScheduleEngine::load()
{
    enabled = settings.get(kOn) == QLatin1String("1");
    bool ok = true;
    const QString stored = settings.get(kWeek);
    week = WeekSchedule::fromText(stored, &ok);
    if (!ok && !stored.isEmpty())
        qDebug() << "[Schedule] Stored week unreadable, every hour under the limit:" << stored;
    bool numeric = false;
    const int alternative = settings.get(kAlternative).toInt(&numeric);
    altLimit = numeric ? clampLimit(alternative) : 10;
}

WeekSchedule::Mode ScheduleEngine::ruling() const
{
    return week.modeAt(clock.now());
}

void ScheduleEngine::update(bool jumped)
{
    if (!enabled) {
        clock.wakeAt(QDateTime());
        refreshStatus();
        return;
    }
    const QDateTime now = clock.now();
    if (overridden &&
        ((overrideUntil.isValid() && now >= overrideUntil) || (jumped && now < overrideSince))) {
        qDebug() << "[Schedule] The change by hand ends";
        overridden = false;
    }
    nextChange = week.nextChange(now);
    if (!overridden)
        apply(week.modeAt(now));
    clock.wakeAt(overridden ? overrideUntil : nextChange);
    refreshStatus();
}

void ScheduleEngine::apply(WeekSchedule::Mode mode)
{
    const int limit = limitSetting(settings, kLimit);
    const int mbit = mode == WeekSchedule::Mode::Alternative ? altLimit : limit;
    const bool off = mode == WeekSchedule::Mode::NoLimit;
    qDebug() << "[Schedule] Applying" << QString(QLatin1Char(char(mode))) << "limit" << mbit << "Mbit/s"
             << (off ? "(no limit)" : "");
    // The limit first: lifting a hold starts a transfer at once.
    engine.setReadChunkSize(unsigned(mbit) * kMegaBit);
    engine.setLimitOff(off);
    engine.setHeld(mode == WeekSchedule::Mode::Paused);
    shown = mbit;
    shownOff = off;
    emit applied();
}

void ScheduleEngine::applyByHandSettings()
{
    shown = limitSetting(settings, kLimit);
    shownOff = settings.get(kLimitOff) == QLatin1String("1");
    engine.setReadChunkSize(unsigned(shown) * kMegaBit);
    engine.setLimitOff(shownOff);
    engine.setHeld(false);
    emit applied();
}

void ScheduleEngine::save(bool on, const QString& weekText, int alternativeMbit)
{
    bool ok = false;
    const WeekSchedule edited = WeekSchedule::fromText(weekText, &ok);
    if (!ok) {
        qDebug() << "[Schedule] Refusing an unreadable week:" << weekText;
        return;
    }
    const bool wasOn = enabled;
    enabled = on;
    week = edited;
    altLimit = clampLimit(alternativeMbit);
    overridden = false;
    settings.set(kOn, on ? QStringLiteral("1") : QStringLiteral("0"));
    settings.set(kWeek, week.toText());
    settings.set(kAlternative, QString::number(altLimit));
    settings.save();
    qDebug() << "[Schedule] Saved:" << (on ? "on" : "off") << week.toText() << "alternative" << altLimit;
    emit settingsChanged();
    if (wasOn && !on)
        applyByHandSettings(); // back to the slider and the switch as the user left them
    update(false);
}

void ScheduleEngine::limitSetByHand(int mbit)
{
    if (!enabled)
        return;
    const int limit = clampLimit(mbit);
    engine.setReadChunkSize(unsigned(limit) * kMegaBit);
    // Under the "Limit" rule the slider is the limit itself; under another it only overrides.
    if (ruling() == WeekSchedule::Mode::Limit) {
        settings.set(kLimit, QString::number(limit));
        settings.save();
    }
    shown = limit;
    startOverride();
}

void ScheduleEngine::noLimitSetByHand(bool on)
{
    if (!enabled)
        return;
    engine.setLimitOff(on);
    shownOff = on;
    startOverride();
}

void ScheduleEngine::startOverride()
{
    overridden = true;
    overrideSince = clock.now();
    overrideUntil = week.nextChange(overrideSince);
    qDebug() << "[Schedule] Changed by hand until" << overrideUntil.toString(Qt::ISODate);
    clock.wakeAt(overrideUntil);
    refreshStatus();
}

QString ScheduleEngine::timeText(const QDateTime& at) const
{
    const QDateTime local = at.toLocalTime();
    // Within a day the hour says it; further off, the day too.
    if (clock.now().secsTo(at) < 24 * 3600)
        return local.toString(QStringLiteral("HH:mm"));
    return QLocale().toString(local, QStringLiteral("ddd HH:mm"));
}

void ScheduleEngine::refreshStatus()
{
    QString text;
    if (enabled && overridden) {
        text = overrideUntil.isValid()
                   ? tr("Schedule overridden by hand until %1").arg(timeText(overrideUntil))
                   : tr("Schedule overridden by hand");
    } else if (enabled) {
        QString rule;
        switch (week.modeAt(clock.now())) {
        case WeekSchedule::Mode::NoLimit:
            rule = tr("no limit");
            break;
        case WeekSchedule::Mode::Limit:
            rule = tr("%1 Mbps").arg(limitSetting(settings, kLimit));
            break;
        case WeekSchedule::Mode::Alternative:
            rule = tr("%1 Mbps (alternative)").arg(altLimit);
            break;
        case WeekSchedule::Mode::Paused:
            rule = tr("paused");
            break;
        }
        text = nextChange.isValid() ? tr("Schedule: %1 until %2").arg(rule, timeText(nextChange))
                                    : tr("Schedule: %1").arg(rule);
    }
    if (text == statusText)
        return;
    statusText = text;
    emit statusChanged();
}
