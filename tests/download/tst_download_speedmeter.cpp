#include "download/SpeedMeter.h"

#include <QtTest>

// The rate the window shows: what a limited download delivers, read at the 200 ms cadence
// of the progress signal, from reads of one chunk per 20 ms tick.
class TestSpeedMeter : public QObject
{
    Q_OBJECT

private slots:
    void limitedReadsNeverAboveTheLimit_data();
    void limitedReadsNeverAboveTheLimit();
    void pauseStartsAfresh();
};

void TestSpeedMeter::limitedReadsNeverAboveTheLimit_data()
{
    QTest::addColumn<quint64>("chunk"); // bytes per 20 ms tick
    QTest::addColumn<int>("jitterMs");  // every third tick this much late
    QTest::newRow("6 Mbit/s") << quint64(15000) << 0;
    QTest::newRow("200 Mbit/s") << quint64(500000) << 0;
    QTest::newRow("200 Mbit/s, late ticks") << quint64(500000) << 3;
}

void TestSpeedMeter::limitedReadsNeverAboveTheLimit()
{
    QFETCH(quint64, chunk);
    QFETCH(int, jitterMs);
    const double limit = double(chunk) * 50;
    SpeedMeter meter;
    qint64 now = 1000000;
    qint64 lastSample = now;
    meter.add(now, chunk);
    double highest = 0;
    double last = 0;
    for (int tick = 1; tick <= 500; ++tick) {
        now += 20 + (tick % 3 == 0 ? jitterMs : 0);
        meter.add(now, chunk);
        if (now - lastSample > 199) {
            lastSample = now;
            last = meter.rate(now);
            // Once a second is in the window the reading is the delivered rate.
            if (tick > 50)
                highest = qMax(highest, last);
        }
    }
    // The old 200 ms sample read 11 chunks over 200 ms: 10% above the limit.
    QVERIFY2(highest <= limit * 1.001, qPrintable(QString::number(highest / limit)));
    QVERIFY2(last >= limit * (jitterMs ? 0.94 : 0.999), qPrintable(QString::number(last / limit)));
}

void TestSpeedMeter::pauseStartsAfresh()
{
    SpeedMeter meter;
    QCOMPARE(meter.rate(0), -1.0);
    meter.add(0, 1000);
    meter.add(500, 1000);
    QCOMPARE(meter.rate(500), 2000.0);
    // A minute paused is not averaged in: the reading starts again with the new data.
    meter.add(60500, 1000);
    QCOMPARE(meter.rate(60500), -1.0);
    meter.add(61000, 1000);
    QCOMPARE(meter.rate(61000), 2000.0);
}

QTEST_APPLESS_MAIN(TestSpeedMeter)
#include "tst_download_speedmeter.moc"
