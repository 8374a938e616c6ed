// The weekly bandwidth schedule on the real engine, its clock replaced: a week's boundaries,
// the clock set forward and back, daylight-saving nights, and changes by hand.

#include "FakeClock.h"
#include "TestSandbox.h"
#include "download/DownloadManager.h"
#include "download/ScheduleEngine.h"
#include "storage/Setting.h"

#include <QSignalSpy>
#include <QtTest>

namespace {

QDateTime local(const QString& text)
{
    return QDateTime::fromString(text, Qt::ISODate).toUTC();
}

// The engine's state as a schedule letter; limit and alternative are told apart by their value.
QChar state(const DownloadManager* engine, int limit, int alternative)
{
    const unsigned perMbit = 125000u * unsigned(engine->getReadInterval()) / 1000u;
    if (engine->isHeld())
        return QLatin1Char('P');
    if (engine->isLimitOff())
        return QLatin1Char('N');
    if (engine->getReadChunkSize() == unsigned(alternative) * perMbit)
        return QLatin1Char('A');
    if (engine->getReadChunkSize() == unsigned(limit) * perMbit)
        return QLatin1Char('L');
    return QLatin1Char('?');
}

} // namespace

class TestDownloadSchedule : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        FakeClock::useZone("Europe/Berlin");
        m_box = std::make_unique<TestSandbox>();
        m_engine = m_box->engine();
        Setting::getInstance()->set(QStringLiteral("download_limit"), QStringLiteral("7"));
        m_clock.requests = 0;
        m_clock.alarm = QDateTime();
    }
    void cleanup()
    {
        m_schedule.reset();
        m_box.reset();
    }
    void weekTextAndPresets();
    void everyBoundaryOfAWeek();
    void clockSetForwardAndBack();
    void daylightSavingNights_data();
    void daylightSavingNights();
    void changesByHandLastUntilTheNextChange();
    void systemClockWakes();

private:
    ScheduleEngine* start(const QDateTime& at, const QString& week)
    {
        m_clock.t = at;
        m_schedule = std::make_unique<ScheduleEngine>(*Setting::getInstance(), *m_engine, m_clock);
        m_schedule->save(true, week, 3);
        return m_schedule.get();
    }

    std::unique_ptr<TestSandbox> m_box;
    FakeClock m_clock;
    std::unique_ptr<ScheduleEngine> m_schedule;
    DownloadManager* m_engine = nullptr;
};

void TestDownloadSchedule::weekTextAndPresets()
{
    bool ok = true;
    QCOMPARE(WeekSchedule::fromText(QStringLiteral("N").repeated(167), &ok), WeekSchedule());
    QVERIFY(!ok);
    const WeekSchedule night = WeekSchedule::preset(QStringLiteral("night"));
    QCOMPARE(night.toText().left(24), QStringLiteral("NNNNNNNNLLLLLLLLLLLLLLNN"));
    QCOMPARE(night.toText(), night.toText().left(24).repeated(7));
    const QString weekdays = WeekSchedule::preset(QStringLiteral("weekdays")).toText();
    QCOMPARE(weekdays.mid(4 * 24, 24), QStringLiteral("NNNNNNNNLLLLLLLLLLLLLLNN")); // Friday
    QCOMPARE(weekdays.mid(5 * 24), QStringLiteral("N").repeated(48));

    // Off by default: a fresh store has no schedule and the engine keeps the slider's limit.
    ScheduleEngine fresh(*Setting::getInstance(), *m_engine, m_clock);
    QVERIFY(!fresh.isEnabled());
    QCOMPARE(fresh.status(), QString());
    QCOMPARE(m_engine->getReadChunkSize(), 20971520u);
    QCOMPARE(m_clock.requests, 0);
}

// Every boundary of a week applied exactly when it comes, and the alarm set only for the
// changes: no look at the clock in between.
void TestDownloadSchedule::everyBoundaryOfAWeek()
{
    QString week;
    for (int h = 0; h < WeekSchedule::Hours; ++h)
        week += QStringLiteral("NLAP").at((h * h + h / 5) % 4);
    const QDateTime monday = local(QStringLiteral("2026-01-05T00:00:00"));
    QCOMPARE(monday.toLocalTime().date().dayOfWeek(), 1);
    start(monday, week);
    QCOMPARE(state(m_engine, 7, 3), week.at(0));

    int changes = 0;
    for (int h = 1; h <= WeekSchedule::Hours; ++h) {
        const QDateTime boundary = monday.addSecs(qint64(h) * 3600);
        const QChar before = week.at(h - 1);
        const QChar after = week.at(h % WeekSchedule::Hours);
        changes += before != after;
        m_clock.advanceTo(boundary.addSecs(-1));
        QVERIFY2(state(m_engine, 7, 3) == before, qPrintable(QStringLiteral("hour %1").arg(h)));
        m_clock.advanceTo(boundary);
        QVERIFY2(state(m_engine, 7, 3) == after, qPrintable(QStringLiteral("hour %1").arg(h)));
    }
    QCOMPARE(m_clock.requests, changes + 1);
}

void TestDownloadSchedule::clockSetForwardAndBack()
{
    ScheduleEngine* schedule =
        start(local(QStringLiteral("2026-01-07T12:00:00")), WeekSchedule::preset("night").toText());
    QCOMPARE(state(m_engine, 7, 3), QLatin1Char('L'));
    QCOMPARE(schedule->status(), QStringLiteral("Schedule: 7 Mbps until 22:00"));

    // Forward past the evening's change: the new rule at once, without waiting for the alarm.
    m_clock.jump(local(QStringLiteral("2026-01-07T23:30:00")));
    QCOMPARE(state(m_engine, 7, 3), QLatin1Char('N'));
    QCOMPARE(schedule->status(), QStringLiteral("Schedule: no limit until 08:00"));
    QCOMPARE(m_clock.alarm, local(QStringLiteral("2026-01-08T08:00:00")));

    // Back to the afternoon: the limit again, and the alarm for 22:00 once more.
    m_clock.jump(local(QStringLiteral("2026-01-07T21:59:00")));
    QCOMPARE(state(m_engine, 7, 3), QLatin1Char('L'));
    QCOMPARE(m_clock.alarm, local(QStringLiteral("2026-01-07T22:00:00")));
    m_clock.advanceTo(local(QStringLiteral("2026-01-07T22:00:00")));
    QCOMPARE(state(m_engine, 7, 3), QLatin1Char('N'));
}

void TestDownloadSchedule::daylightSavingNights_data()
{
    QTest::addColumn<QByteArray>("zone");
    // UTC time "=" letter now ruling, in order.
    QTest::addColumn<QStringList>("changes");
    QTest::addColumn<QString>("neverApplied");

    // The Sunday's hour 1 is L, hour 2 P, hour 3 A, every other hour of the weekend N.
    QTest::newRow("Berlin, clocks forward")
        << QByteArray("Europe/Berlin")
        << QStringList{"2026-03-29T00:00:00Z=L", "2026-03-29T01:00:00Z=A", "2026-03-29T02:00:00Z=N"} << "P";
    QTest::newRow("Berlin, clocks back") << QByteArray("Europe/Berlin")
                                         << QStringList{"2026-10-24T23:00:00Z=L", "2026-10-25T00:00:00Z=P",
                                                        "2026-10-25T02:00:00Z=A", "2026-10-25T03:00:00Z=N"}
                                         << "";
    QTest::newRow("New York, clocks forward")
        << QByteArray("America/New_York")
        << QStringList{"2026-03-08T06:00:00Z=L", "2026-03-08T07:00:00Z=A", "2026-03-08T08:00:00Z=N"} << "P";
    // The hour repeated is 01:00 here, under the limit for two hours.
    QTest::newRow("New York, clocks back")
        << QByteArray("America/New_York")
        << QStringList{"2026-11-01T05:00:00Z=L", "2026-11-01T07:00:00Z=P", "2026-11-01T08:00:00Z=A"} << "";
    QTest::newRow("Kathmandu, quarter-hour offset")
        << QByteArray("Asia/Kathmandu")
        << QStringList{"2026-03-28T19:15:00Z=L", "2026-03-28T20:15:00Z=P", "2026-03-28T21:15:00Z=A",
                       "2026-03-28T22:15:00Z=N"}
        << "";
}

void TestDownloadSchedule::daylightSavingNights()
{
    QFETCH(QByteArray, zone);
    QFETCH(QStringList, changes);
    QFETCH(QString, neverApplied);
    FakeClock::useZone(zone.constData());
    WeekSchedule week = WeekSchedule::preset(QStringLiteral("weekdays"));
    week.set(7, 1, WeekSchedule::Mode::Limit);
    week.set(7, 2, WeekSchedule::Mode::Paused);
    week.set(7, 3, WeekSchedule::Mode::Alternative);

    const QDateTime first = QDateTime::fromString(changes.first().section('=', 0, 0), Qt::ISODate);
    start(first.addSecs(-2 * 3600), week.toText());
    QString applied;
    connect(m_schedule.get(), &ScheduleEngine::applied, this, [&] { applied += state(m_engine, 7, 3); });
    QChar ruling = state(m_engine, 7, 3);
    QCOMPARE(ruling, QLatin1Char('N'));
    for (const QString& change : qAsConst(changes)) {
        const QDateTime at = QDateTime::fromString(change.section('=', 0, 0), Qt::ISODate);
        m_clock.advanceTo(at.addSecs(-1));
        QVERIFY2(state(m_engine, 7, 3) == ruling, qPrintable(change));
        m_clock.advanceTo(at);
        ruling = change.section('=', 1).at(0);
        QVERIFY2(state(m_engine, 7, 3) == ruling, qPrintable(change));
    }
    if (!neverApplied.isEmpty())
        QVERIFY2(!applied.contains(neverApplied), qPrintable(applied));
}

// The slider, the switch and a resume by hand each hold until the rule next changes; under
// the "Limit" rule the slider also sets the limit itself. Off, the user's own settings rule.
void TestDownloadSchedule::changesByHandLastUntilTheNextChange()
{
    ScheduleEngine* schedule =
        start(local(QStringLiteral("2026-01-07T21:00:00")), WeekSchedule::preset("night").toText());
    Setting* settings = Setting::getInstance();
    schedule->limitSetByHand(50);
    QCOMPARE(state(m_engine, 50, 3), QLatin1Char('L'));
    QCOMPARE(settings->get(QStringLiteral("download_limit")), QStringLiteral("50"));
    QCOMPARE(schedule->status(), QStringLiteral("Schedule overridden by hand until 22:00"));
    m_clock.advanceTo(local(QStringLiteral("2026-01-07T21:59:59")));
    QCOMPARE(state(m_engine, 50, 3), QLatin1Char('L'));
    m_clock.advanceTo(local(QStringLiteral("2026-01-07T22:00:00")));
    QCOMPARE(state(m_engine, 50, 3), QLatin1Char('N'));
    QCOMPARE(schedule->status(), QStringLiteral("Schedule: no limit until 08:00"));

    // The switch by hand at night: limited until the morning's change, which is not stored.
    m_clock.advanceTo(local(QStringLiteral("2026-01-07T23:00:00")));
    schedule->noLimitSetByHand(false);
    QCOMPARE(state(m_engine, 50, 3), QLatin1Char('L'));
    QCOMPARE(schedule->status(), QStringLiteral("Schedule overridden by hand until 08:00"));
    QCOMPARE(settings->get(QStringLiteral("download_limit_off")), QString());
    // A clock set back to before the change by hand ends it.
    m_clock.jump(local(QStringLiteral("2026-01-07T22:30:00")));
    QCOMPARE(state(m_engine, 50, 3), QLatin1Char('N'));

    // Held from 10:00 to 12:00; resumed by hand, it stays resumed until 12:00.
    WeekSchedule week;
    week.set(4, 10, WeekSchedule::Mode::Paused);
    week.set(4, 11, WeekSchedule::Mode::Paused);
    schedule->save(true, week.toText(), 3);
    m_clock.advanceTo(local(QStringLiteral("2026-01-08T10:00:00")));
    QVERIFY(m_engine->isPaused());
    QCOMPARE(schedule->status(), QStringLiteral("Schedule: paused until 12:00"));
    m_engine->resumeDownloading();
    QVERIFY(!m_engine->isPaused());
    QCOMPARE(schedule->status(), QStringLiteral("Schedule overridden by hand until 12:00"));
    m_clock.advanceTo(local(QStringLiteral("2026-01-15T10:00:00")));
    QVERIFY(m_engine->isHeld()); // a week later, held again
    QCOMPARE(settings->get(QStringLiteral("download_paused")), QStringLiteral("0"));

    // Off: the slider and the switch as the user left them, nothing held, no alarm.
    settings->set(QStringLiteral("download_limit_off"), QStringLiteral("1"));
    schedule->save(false, week.toText(), 3);
    QVERIFY(!m_engine->isHeld());
    QVERIFY(m_engine->isLimitOff());
    QCOMPARE(schedule->status(), QString());
    QVERIFY(!m_clock.alarm.isValid());

    // Kept across a restart, and held again at once.
    schedule->save(true, week.toText(), 12);
    m_schedule.reset();
    m_box->restart();
    m_engine = m_box->engine();
    ScheduleEngine again(*Setting::getInstance(), *m_engine, m_clock);
    QVERIFY(again.isEnabled() && m_engine->isHeld());
    QCOMPARE(again.weekText() + QString::number(again.alternativeLimit()), week.toText() + "12");
}

void TestDownloadSchedule::systemClockWakes()
{
    SystemClock clock;
    QSignalSpy woke(&clock, &WallClock::woke);
    // A new alarm replaces the one set before: one goes off, once.
    clock.wakeAt(clock.now().addSecs(3600));
    clock.wakeAt(clock.now().addMSecs(200));
    QVERIFY(woke.wait(3000));
    QVERIFY(!woke.wait(300));
}

QTEST_MAIN(TestDownloadSchedule)
#include "tst_download_schedule.moc"
