#include "FakeClock.h"
#include "ScriptedPrompts.h"
#include "TestSandbox.h"
#include "WindowUnderTest.h"
#include "app/AppContext.h"
#include "download/DownloadManager.h"
#include "download/WeekSchedule.h"
#include "model/DCP.h"
#include "model/DCPManager.h"
#include "model/Reel.h"
#include "storage/Setting.h"

#include <QQuickItem>
#include <QQuickWindow>
#include <QtTest>

namespace {

QStringList titles(const QList<DCP*>& dcps)
{
    QStringList names;
    for (const DCP* dcp : dcps)
        names << dcp->getTitle();
    return names;
}

} // namespace

// The main window in process: the bandwidth schedule's dialog and status line, a tile's menu
// with a DCP's own pause and place in the order, and a drive that lacks room. Screenshots go to
// artefacts/queue.
class TestWindowQueue : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        FakeClock::useZone("Europe/Berlin");
        m_sandbox = std::make_unique<TestSandbox>();
        m_prompts = std::make_unique<ScriptedPrompts>();
        m_window = std::make_unique<WindowUnderTest>();
    }
    void cleanup()
    {
        const QStringList warnings = m_window->warnings();
        m_window.reset();
        m_prompts.reset();
        m_sandbox.reset();
        QVERIFY2(warnings.isEmpty(), qPrintable(warnings.join(QLatin1Char('\n'))));
    }
    void scheduleIsPaintedSavedAndFollowed();
    void tileMenuPageAndDriveRoom();

private:
    QQuickItem* item(const QString& name, QQuickItem* under = nullptr) const
    {
        return m_window->item(name, under);
    }
    QString text(const QString& name, QQuickItem* under = nullptr) const
    {
        QQuickItem* found = item(name, under);
        return found ? found->property("text").toString() : QStringLiteral("<missing>");
    }
    QQuickItem* tile(const QString& title) const
    {
        for (QQuickItem* candidate : m_window->items(QStringLiteral("dcpTile"))) {
            const QObject* dcp = candidate->property("dcp").value<QObject*>();
            if (candidate->isVisible() && dcp && dcp->property("title").toString() == title)
                return candidate;
        }
        return nullptr;
    }
    QString tileStatus(const QString& title) const
    {
        return tile(title) ? text(QStringLiteral("tileStatus"), tile(title)) : QStringLiteral("<no tile>");
    }
    // On the tile as laid out now: a sort after the load may still move the tiles.
    void rightClick(const QString& title) const
    {
        m_window->settle();
        QQuickItem* target = tile(title);
        QVERIFY(target);
        const QPoint point = target->mapToScene(QPointF(target->width() / 2, target->height() / 3)).toPoint();
        QTest::mouseClick(m_window->window(), Qt::RightButton, Qt::NoModifier, point);
    }
    void shot(const QString& name) const
    {
        m_window->screenshot(QStringLiteral(ORV_ARTEFACTS_DIR "/queue"), name);
    }

    std::unique_ptr<TestSandbox> m_sandbox;
    std::unique_ptr<ScriptedPrompts> m_prompts;
    std::unique_ptr<WindowUnderTest> m_window;
};

// Painted with a preset, a drag and the keyboard, saved; the status line and the switch then
// follow the rule of the hour, and the switch moved by hand overrides it without being stored.
void TestWindowQueue::scheduleIsPaintedSavedAndFollowed()
{
    // A Wednesday, 23:00 in Berlin.
    m_sandbox->context().setClock(std::make_unique<FakeClock>(
        QDateTime::fromString(QStringLiteral("2026-01-07T23:00:00"), Qt::ISODate).toUTC()));
    QVERIFY(m_window->load(*m_sandbox));
    QVERIFY(!item(QStringLiteral("scheduleStatus")));
    m_window->click(item(QStringLiteral("scheduleButton")));
    QVERIFY(item(QStringLiteral("scheduleDialog")));

    m_window->click(item(QStringLiteral("presetNight")));
    m_window->click(item(QStringLiteral("brushP")));
    // Dragged over Tuesday 12:00 to 14:00.
    QQuickItem* grid = item(QStringLiteral("scheduleGrid"));
    const int side = grid->property("cell").toInt();
    const int row = grid->property("rowHeight").toInt();
    const auto cell = [&](int day, int hour) {
        return grid->mapToScene(QPointF(60 + hour * side + side / 2, (day + 1) * row + row / 2)).toPoint();
    };
    QQuickWindow* window = m_window->window();
    QTest::mousePress(window, Qt::LeftButton, Qt::NoModifier, cell(1, 12));
    QTest::mouseMove(window, cell(1, 13));
    QTest::mouseMove(window, cell(1, 14));
    QTest::mouseRelease(window, Qt::LeftButton, Qt::NoModifier, cell(1, 14));
    // From the cell pressed: "2" takes the limit, up a day and nine hours left, Space paints.
    QTest::keyClick(window, Qt::Key_2);
    QTest::keyClick(window, Qt::Key_Up);
    for (int i = 0; i < 9; ++i)
        QTest::keyClick(window, Qt::Key_Left);
    QTest::keyClick(window, Qt::Key_Space);
    m_window->click(item(QStringLiteral("scheduleOnSwitch")));
    QTest::qWait(250); // for the picture only: the switch's handle slides over
    shot(QStringLiteral("schedule-dialog"));
    m_window->click(item(QStringLiteral("scheduleSave")));
    QVERIFY(!item(QStringLiteral("scheduleDialog")));

    QString expected = WeekSchedule::preset(QStringLiteral("night")).toText();
    expected.replace(24 + 12, 3, QStringLiteral("PPP"));
    expected[3] = QLatin1Char('L');
    Setting* settings = Setting::getInstance();
    QCOMPARE(settings->get(QStringLiteral("schedule_week")), expected);
    QCOMPARE(settings->get(QStringLiteral("schedule_on")), QStringLiteral("1"));

    // Night: no limit, and the switch shows it without storing it.
    DownloadManager* engine = m_sandbox->engine();
    QVERIFY(engine->isLimitOff());
    QTRY_VERIFY(item(QStringLiteral("noLimitSwitch"))->property("checked").toBool());
    QCOMPARE(text(QStringLiteral("scheduleStatus")), QStringLiteral("Schedule: no limit until 08:00"));
    shot(QStringLiteral("schedule-status"));

    m_window->click(item(QStringLiteral("noLimitLabel")));
    QTRY_VERIFY(!engine->isLimitOff());
    QCOMPARE(text(QStringLiteral("scheduleStatus")),
             QStringLiteral("Schedule overridden by hand until 08:00"));
    QCOMPARE(settings->get(QStringLiteral("download_limit_off")), QString());
}

// The menu of a tile pauses its DCP (the tile says so) and moves another to the front; the
// details page moves it up and resumes it. A DCP its drive cannot hold says so on its tile, in
// the status bar and on its page, which also names the drive and its free space.
void TestWindowQueue::tileMenuPageAndDriveRoom()
{
    constexpr qint64 GiB = qint64(1) << 30;
    // Three tiles: one row also on a small screen.
    for (int i = 1; i <= 2; ++i) {
        DCP* dcp = m_sandbox->makeDCP(QStringLiteral("dcp-%1").arg(i), QStringLiteral("Film_%1").arg(i));
        TestSandbox::addAssetOfSize(TestSandbox::addReel(dcp, QStringLiteral("reel-%1").arg(i), 1),
                                    QStringLiteral("asset-%1").arg(i), 1000);
        m_sandbox->store(dcp);
    }
    DCP* harbour = m_sandbox->newDCP(QStringLiteral("dcp-3"), QStringLiteral("HARBOUR_FTR"),
                                     m_sandbox->downloads() + QStringLiteral("/one"));
    harbour->setFriendlyTitle(QStringLiteral("Harbour Lights"));
    TestSandbox::addAssetOfSize(TestSandbox::addReel(harbour, QStringLiteral("reel-3"), 1),
                                QStringLiteral("asset-3"), quint64(130 * GiB));
    m_sandbox->store(harbour);
    Setting::getInstance()->set(QStringLiteral("download_paused"), QStringLiteral("1"));
    m_prompts->answer(Prompt::No); // the start's question whether to resume
    DownloadManager* engine = m_sandbox->engine();
    engine->driveRoom().setProbe([](const QString& path) {
        return path.endsWith(QStringLiteral("/one"))
                   ? DriveSpace{QStringLiteral("/media/CINEMA1"), QStringLiteral("CINEMA1"), 10 * GiB}
                   : DriveSpace{QStringLiteral("/"), QStringLiteral("/"), 100 * GiB};
    });
    engine->refreshRoom();
    QVERIFY(m_window->load(*m_sandbox));

    QTRY_COMPARE(m_prompts->count(), 1);
    DCP* film2 = m_sandbox->catalogue()->getDCP(QStringLiteral("dcp-2"));

    rightClick(QStringLiteral("Film_2"));
    QVERIFY(item(QStringLiteral("menuUp"))->isEnabled() && item(QStringLiteral("menuDown"))->isEnabled());
    shot(QStringLiteral("tile-menu"));
    m_window->click(item(QStringLiteral("menuPause")));
    QVERIFY(!item(QStringLiteral("dcpMenu")));
    QVERIFY(engine->isDcpPaused(film2));
    QTRY_COMPARE(tileStatus(QStringLiteral("Film_2")), QStringLiteral("Paused"));
    QCOMPARE(tileStatus(QStringLiteral("Film_1")),
             QStringLiteral("Paused, 1 reel left")); // with all the others

    rightClick(QStringLiteral("Film_1"));
    m_window->click(item(QStringLiteral("menuNext")));
    QCOMPARE(titles(engine->waitingDCPs()), (QStringList{"Film_1", "HARBOUR_FTR", "Film_2"}));
    // First now: it cannot move up; Escape closes the menu.
    rightClick(QStringLiteral("Film_1"));
    QVERIFY(!item(QStringLiteral("menuUp"))->isEnabled());
    QTest::keyClick(m_window->window(), Qt::Key_Escape);
    QVERIFY(!item(QStringLiteral("dcpMenu")));

    const QString warning = QStringLiteral("Harbour Lights needs 120 GB more than the drive CINEMA1 holds");
    QCOMPARE(tileStatus(QStringLiteral("HARBOUR_FTR")), QStringLiteral("Needs 120 GB more"));
    QCOMPARE(text(QStringLiteral("roomStatus")), warning);
    shot(QStringLiteral("paused-tile-and-drive-room"));

    m_window->click(item(QStringLiteral("openDetails"), tile(QStringLiteral("Film_2"))));
    QQuickItem* page = item(QStringLiteral("dcpPage"));
    QVERIFY(page);
    QCOMPARE(text(QStringLiteral("pauseDcpButton"), page), QStringLiteral("RESUME THIS DCP"));
    QVERIFY(!item(QStringLiteral("moveDownButton"), page)->isEnabled());
    m_window->click(item(QStringLiteral("moveUpButton"), page));
    QCOMPARE(titles(engine->waitingDCPs()), (QStringList{"Film_1", "Film_2", "HARBOUR_FTR"}));
    m_window->click(item(QStringLiteral("pauseDcpButton"), page));
    QVERIFY(!engine->isDcpPaused(film2));
    QTRY_COMPARE(text(QStringLiteral("pauseDcpButton"), page), QStringLiteral("PAUSE THIS DCP"));
    m_window->click(item(QStringLiteral("closeDetails")));

    m_window->click(item(QStringLiteral("openDetails"), tile(QStringLiteral("HARBOUR_FTR"))));
    QTRY_COMPARE(text(QStringLiteral("driveLine")),
                 QStringLiteral("On CINEMA1 (/media/CINEMA1): 10 GB free"));
    QCOMPARE(text(QStringLiteral("roomLine")), warning);
    shot(QStringLiteral("drive-room-page"));
}

QTEST_MAIN(TestWindowQueue)
#include "tst_window_queue.moc"
