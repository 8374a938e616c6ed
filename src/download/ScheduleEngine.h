#pragma once

#include "download/WeekSchedule.h"

#include <QDateTime>
#include <QObject>
#include <QString>

class DownloadManager;
class Setting;
class WallClock;

// Applies the weekly bandwidth schedule to the download engine: at each change of the rule
// (one alarm on the wall clock, set again when the clock jumps) it sets the limit, lifts it,
// or holds the downloads. A change by hand (the slider, the "No limit" switch, resuming
// while held) lasts until the next change of the rule. Off, it does nothing: the slider and
// the switch rule alone, as they did before there was a schedule.
//
// Settings: "schedule_on" ("1" on), "schedule_week" (WeekSchedule's text),
// "schedule_alt_limit" (the alternative limit, 1 to 200 Mbit/s, like "download_limit").
class ScheduleEngine : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool enabled READ isEnabled NOTIFY settingsChanged)
    Q_PROPERTY(QString week READ weekText NOTIFY settingsChanged)
    Q_PROPERTY(int alternative_limit READ alternativeLimit NOTIFY settingsChanged)
    // What the slider and the switch show while the schedule is on.
    Q_PROPERTY(int shown_limit READ shownLimit NOTIFY applied)
    Q_PROPERTY(bool shown_no_limit READ shownNoLimit NOTIFY applied)
    // "Schedule: no limit until 08:00"; empty while the schedule is off.
    Q_PROPERTY(QString status READ status NOTIFY statusChanged)

public:
    ScheduleEngine(Setting& settings, DownloadManager& engine, WallClock& clock, QObject* parent = nullptr);

    bool isEnabled() const { return enabled; }
    QString weekText() const { return week.toText(); }
    const WeekSchedule& schedule() const { return week; }
    int alternativeLimit() const { return altLimit; }
    int shownLimit() const { return shown; }
    bool shownNoLimit() const { return shownOff; }
    QString status() const { return statusText; }
    bool isOverridden() const { return overridden; }
    // The rule of the week now, whatever was changed by hand.
    WeekSchedule::Mode ruling() const;

    // From the schedule dialog: stores the three settings and applies them now; a change by
    // hand ends with it.
    Q_INVOKABLE void save(bool on, const QString& weekText, int alternativeMbit);
    Q_INVOKABLE QString presetWeek(const QString& name) const { return WeekSchedule::preset(name).toText(); }
    // The slider was moved by hand (Mbit/s); under the "Limit" rule it is also the new limit.
    Q_INVOKABLE void limitSetByHand(int mbit);
    Q_INVOKABLE void noLimitSetByHand(bool on);

    // The slider's limit in Mbit/s: the setting "download_limit", 200 when absent or not
    // a number from 1 to 200.
    static int limitSetting(const Setting& settings, const QString& key);

signals:
    void settingsChanged();
    void applied();
    void statusChanged();

private:
    void load();
    // Applies what rules now and sets the alarm for the next change. jumped: the clock was set
    // since the last look, so a change by hand made after the new time ends too.
    void update(bool jumped);
    void apply(WeekSchedule::Mode mode);
    void applyByHandSettings();
    void startOverride();
    void refreshStatus();
    QString timeText(const QDateTime& at) const;

    Setting& settings;
    DownloadManager& engine;
    WallClock& clock;
    bool enabled = false;
    WeekSchedule week;
    int altLimit = 10;
    bool overridden = false;
    QDateTime overrideSince;
    QDateTime overrideUntil;
    QDateTime nextChange;
    int shown = 200;
    bool shownOff = false;
    QString statusText;
};
