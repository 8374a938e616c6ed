#include "ScriptedPrompts.h"
#include "TestSandbox.h"
#include "WindowUnderTest.h"
#include "model/DCP.h"
#include "model/Reel.h"
#include "storage/Setting.h"

#include <QQuickItem>
#include <QQuickWindow>
#include <QScreen>
#include <QtTest>

// The main window on small and scaled screens: it never asks for more room than the screen
// has, and at the sizes of a laptop with a panel, a netbook and a desktop at 200 % every
// control of the grid and of the details page lies whole inside the window.
//
// scripts/window-shots.sh runs it on virtual screens of those sizes under a window manager
// and keeps screenshots (ORV_SHOTS_DIR, named after ORV_SHOTS_NAME).
class TestWindowFit : public QObject
{
    Q_OBJECT

private slots:
    void everyControlInView();

private:
    // Names of the items not wholly inside the window and every clipping item around them.
    QStringList cutOff(const QStringList& names) const;
    void shot(const QString& what) const;
    // On the grid and on the details page, with the status bar's longest line.
    void checkControls(const QString& at);

    WindowUnderTest* m_window = nullptr;
};

QStringList TestWindowFit::cutOff(const QStringList& names) const
{
    QStringList cut;
    const QRectF window(QPointF(), m_window->window()->size());
    for (const QString& name : names) {
        const QList<QQuickItem*> found = m_window->items(name);
        bool seen = false;
        for (QQuickItem* item : found) {
            if (!item->isVisible())
                continue;
            seen = true;
            const QRectF rect = item->mapRectToScene(QRectF(0, 0, item->width(), item->height()));
            bool inside = rect.width() > 0 && rect.height() > 0 && window.contains(rect);
            for (QQuickItem* parent = item->parentItem(); parent && inside; parent = parent->parentItem()) {
                if (parent->clip())
                    inside = parent->mapRectToScene(QRectF(0, 0, parent->width(), parent->height()))
                                 .adjusted(-0.5, -0.5, 0.5, 0.5)
                                 .contains(rect);
            }
            if (!inside)
                cut << QStringLiteral("%1 at (%2,%3 %4x%5)")
                           .arg(name)
                           .arg(rect.x())
                           .arg(rect.y())
                           .arg(rect.width())
                           .arg(rect.height());
        }
        if (!seen)
            cut << name + QStringLiteral(" (not shown)");
    }
    return cut;
}

void TestWindowFit::shot(const QString& what) const
{
    const QString dir = qEnvironmentVariable("ORV_SHOTS_DIR");
    if (dir.isEmpty())
        return;
    const QString name = qEnvironmentVariable("ORV_SHOTS_NAME", QStringLiteral("window")) + '-' + what;
    QTest::qWait(300); // covers and icons drawn
    QVERIFY(m_window->screenshot(dir, name));
    // The whole screen too: the window's frame and the panel's room.
    QVERIFY(
        m_window->window()->screen()->grabWindow(0).save(dir + '/' + name + QStringLiteral("-screen.png")));
}

void TestWindowFit::checkControls(const QString& at)
{
    static const QStringList grid = {"loadButton", "pauseButton",   "portalButton", "searchField",
                                     "sortByDate", "sortByName",    "tileStatus",   "limitSlider",
                                     "limitLabel", "noLimitSwitch", "noLimitLabel", "statusLabel"};
    static const QStringList page = {"closeDetails", "startButton",      "deleteButton",
                                     "filesButton",  "removeReelButton", "reelStatus",
                                     "limitSlider",  "noLimitLabel",     "statusLabel"};
    m_window->item(QStringLiteral("statusLabel"))
        ->setProperty("text", QStringLiteral("Remaining time:  123h 59m 59s (199.99  Mbps)"));
    QTRY_VERIFY2(cutOff(grid).isEmpty(), qPrintable(at + ": " + cutOff(grid).join(", ")));
    shot(at + QStringLiteral("-grid"));
    QVERIFY(QMetaObject::invokeMethod(m_window->window(), "showDetails", Q_ARG(QVariant, 0)));
    QTRY_VERIFY2(cutOff(page).isEmpty(), qPrintable(at + ": " + cutOff(page).join(", ")));
    shot(at + QStringLiteral("-details"));
    m_window->click(m_window->item(QStringLiteral("closeDetails")));
}

void TestWindowFit::everyControlInView()
{
    TestSandbox sandbox(TestSandbox::WithServer);
    ScriptedPrompts prompts;
    // Titles that fill their lines, and reels up to #12.
    DCP* dcp = sandbox.makeDCP(QStringLiteral("dcp-long"),
                               QStringLiteral("A_Very_Long_Title_Of_A_Feature_FTR_F_51"));
    dcp->setFriendlyTitle(
        QStringLiteral("The Extraordinarily Long Title Of A Film Whose Distributor Never Heard Of Brevity"));
    for (unsigned n = 10; n <= 12; ++n)
        TestSandbox::addAssetOfSize(TestSandbox::addReel(dcp, QStringLiteral("reel-%1").arg(n), n),
                                    QStringLiteral("asset-%1").arg(n), 1536u * 1024 * 1024);
    sandbox.store(dcp);
    Setting::getInstance()->set(QStringLiteral("download_paused"), QStringLiteral("1"));
    prompts.answer(Prompt::No);

    // Goes before the sandbox's managers it shows.
    WindowUnderTest shown;
    m_window = &shown;
    QVERIFY(m_window->load(sandbox));
    QQuickWindow* const window = m_window->window();
    QTRY_COMPARE(prompts.count(), 1);

    // Never more than the screen has room for, never more than 1200 x 750.
    const QRect workArea = window->screen()->availableGeometry();
    const QSize room = workArea.size().shrunkBy(window->frameMargins());
    QVERIFY2(window->minimumWidth() == qMin(1200, room.width()) &&
                 window->minimumHeight() == qMin(750, room.height()),
             qPrintable(QStringLiteral("minimum %1x%2 in %3x%4")
                            .arg(window->minimumWidth())
                            .arg(window->minimumHeight())
                            .arg(room.width())
                            .arg(room.height())));
    QVERIFY(window->width() <= room.width() && window->height() <= room.height());

    // Where the program opened, and the work areas of the screens that once cut it: 1366 x 768
    // with a panel and a title bar, 1024 x 600 with both, 1920 x 1080 at 200 %.
    if (qEnvironmentVariableIsEmpty("ORV_SHOTS_DIR")) {
        for (const QSize& size : {window->size(), QSize(1366, 713), QSize(1024, 545), QSize(960, 515)}) {
            window->setMinimumSize(size.boundedTo(window->minimumSize()));
            window->resize(size);
            QTRY_COMPARE(window->size(), size);
            checkControls(QStringLiteral("%1x%2").arg(size.width()).arg(size.height()));
        }
    } else {
        // On the real screen: as opened, then maximised by the window manager.
        checkControls(QStringLiteral("opened"));
        const QSize opened = window->size();
        window->showMaximized();
        QTRY_VERIFY(window->size() != opened);
        QTest::qWait(500); // the frame settles
        checkControls(QStringLiteral("maximised"));
        // A scaled frame may round to one pixel more.
        QVERIFY2(workArea.adjusted(-1, -1, 1, 1).contains(window->frameGeometry()),
                 qPrintable(QStringLiteral("frame %1,%2 %3x%4")
                                .arg(window->frameGeometry().x())
                                .arg(window->frameGeometry().y())
                                .arg(window->frameGeometry().width())
                                .arg(window->frameGeometry().height())));
    }
    QVERIFY2(m_window->warnings().isEmpty(), qPrintable(m_window->warnings().join('\n')));
}

QTEST_MAIN(TestWindowFit)
#include "tst_window_fit.moc"
