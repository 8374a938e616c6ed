#include "ScriptedPrompts.h"
#include "TestPackages.h"
#include "TestProxy.h"
#include "TestSandbox.h"
#include "WindowUnderTest.h"
#include "core/UserPrompt.h"
#include "download/DownloadManager.h"
#include "model/Asset.h"
#include "model/DCP.h"
#include "model/DCPManager.h"
#include "model/Reel.h"
#include "storage/Setting.h"

#include <QBuffer>
#include <QDir>
#include <QImage>
#include <QQmlContext>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QtTest>

// The main window in the test process, against real managers in a sandbox: tile and reel
// statuses, search, sort, the details page, the speed limit, pause, and the questions
// before a removal, answered from a script. Any QML warning fails the test; screenshots
// of the scene go to artefacts/mainwindow.
class TestWindow : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void statusesSearchSortAndDetails();
    void speedLimitAndNoLimitAreKept();
    void downloadPauseAndRemovals();
    void ejectFollowsEveryDcp();
    void coversComeThroughTheProxy();

private:
    bool load() { return m_window->load(*m_sandbox); }
    QString bodyState() const { return m_window->item(QStringLiteral("body"))->property("state").toString(); }
    QQuickItem* tile(const QString& title) const;
    QStringList tileTitles() const;
    QString tileStatus(const QString& title) const;
    // Reel number and status text of each row on the open details page.
    QStringList reelRows() const;
    void shot(const QString& name) const
    {
        m_window->screenshot(QStringLiteral(ORV_ARTEFACTS_DIR "/mainwindow"), name);
    }

    std::unique_ptr<TestSandbox> m_sandbox;
    std::unique_ptr<ScriptedPrompts> m_prompts;
    std::unique_ptr<UrlRecorder> m_links;
    std::unique_ptr<WindowUnderTest> m_window;
};

namespace {
QString uuid(char kind, int serial)
{
    return QString(2, QLatin1Char(kind)) +
           QStringLiteral("000000-0000-4000-8000-%1").arg(serial, 12, 10, QLatin1Char('0'));
}

// A stored DCP with its folder on the drive, one reel per letter of states: Done (verified,
// reported, revealed), Notifying (verified, still hidden), Corrupted or Pending.
void storeDcp(TestSandbox& sandbox, const QString& downloads, const QString& title, const char* states)
{
    static int serial = 0;
    DCP* dcp = sandbox.newDCP(uuid('d', ++serial), title, downloads);
    QDir().mkpath(dcp->getDCPPath());
    for (unsigned number = 1; *states; ++states, ++number) {
        Reel* reel = TestSandbox::addReel(dcp, uuid('e', ++serial), number);
        Asset* asset = TestSandbox::addAssetOfSize(reel, uuid('a', ++serial), 1024 * 1024);
        asset->setDownloadStarted(*states != 'P');
        asset->setDownloadFinished(*states != 'P');
        asset->setDownloadChecksummed(*states == 'D' || *states == 'N');
        asset->setDownloadCorrupted(*states == 'C');
        asset->setDownloadAttempts(*states == 'C' ? 2 : 0);
        if (*states == 'D')
            asset->setOriginalFileName(asset->getUuid() + QStringLiteral(".mxf"));
    }
    dcp->syncToDatabase(sandbox.catalogue());
}

QString textOf(QQuickItem* item)
{
    return item ? item->property("text").toString() : QStringLiteral("<missing>");
}
} // namespace

void TestWindow::init()
{
    m_sandbox = std::make_unique<TestSandbox>(TestSandbox::WithServer);
    m_prompts = std::make_unique<ScriptedPrompts>();
    m_links = std::make_unique<UrlRecorder>();
    m_window = std::make_unique<WindowUnderTest>();
}

void TestWindow::cleanup()
{
    const QStringList warnings = m_window->warnings();
    m_window.reset();
    m_links.reset();
    m_prompts.reset();
    m_sandbox.reset();
    QVERIFY2(warnings.isEmpty(), qPrintable(warnings.join(QLatin1Char('\n'))));
}

QQuickItem* TestWindow::tile(const QString& title) const
{
    for (QQuickItem* candidate : m_window->items(QStringLiteral("dcpTile"))) {
        const QObject* dcp = candidate->property("dcp").value<QObject*>();
        if (candidate->isVisible() && dcp && dcp->property("title").toString() == title)
            return candidate;
    }
    return nullptr;
}

// Titles of the tiles shown, in reading order.
QStringList TestWindow::tileTitles() const
{
    QMap<QPair<qreal, qreal>, QString> byPlace;
    for (QQuickItem* t : m_window->items(QStringLiteral("dcpTile"))) {
        if (const QObject* dcp = t->isVisible() ? t->property("dcp").value<QObject*>() : nullptr)
            byPlace.insert(qMakePair(t->y(), t->x()), dcp->property("title").toString());
    }
    return byPlace.values();
}

QString TestWindow::tileStatus(const QString& title) const
{
    QQuickItem* t = tile(title);
    return t ? textOf(m_window->item(QStringLiteral("tileStatus"), t)) : QStringLiteral("<no tile>");
}

QStringList TestWindow::reelRows() const
{
    QStringList rows;
    QQuickItem* page = m_window->item(QStringLiteral("dcpPage"));
    for (QQuickItem* row : m_window->items(QStringLiteral("reelRow"), page)) {
        const QObject* reel = row->property("reel").value<QObject*>();
        if (row->isVisible() && reel)
            rows << QStringLiteral("%1 %2")
                        .arg(reel->property("reel_number").toUInt())
                        .arg(textOf(m_window->item(QStringLiteral("reelStatus"), row)));
    }
    return rows;
}

// A store of DCPs in every state, paused by the last run: the start asks to resume (No),
// the tiles and the reel rows say where each stands, search and sort rearrange the grid.
void TestWindow::statusesSearchSortAndDetails()
{
    const QString downloads = m_sandbox->downloads();
    // Names hold "#", "?", "%" and blanks, for the files button.
    const QString oddFolder = m_sandbox->root() + QStringLiteral("/Drive #1 ?50% off");
    storeDcp(*m_sandbox, downloads, QStringLiteral("Complete_FTR"), "DD");
    storeDcp(*m_sandbox, downloads, QStringLiteral("Waiting_FTR"), "PP");
    storeDcp(*m_sandbox, m_sandbox->root() + QStringLiteral("/Unplugged"), QStringLiteral("Away_FTR"), "P");
    storeDcp(*m_sandbox, downloads, QStringLiteral("Reporting_FTR"), "DN");
    storeDcp(*m_sandbox, oddFolder, QStringLiteral("Mixed_FTR"), "DCNP");
    QVERIFY(QDir(m_sandbox->root() + QStringLiteral("/Unplugged")).removeRecursively());
    Setting::getInstance()->set(QStringLiteral("download_paused"), QStringLiteral("1"));
    Setting::getInstance()->save();
    m_sandbox->restart(); // storing made a catalogue; the window's start loads its own
    m_prompts->answer(Prompt::No);

    QVERIFY(load());
    QTRY_COMPARE(m_prompts->count(), 1);
    QCOMPARE(m_prompts->last().title, QStringLiteral("Downloads are paused"));
    QCOMPARE(m_prompts->last().text, QStringLiteral("Your downloads are paused."));
    QCOMPARE(m_prompts->last().informativeText, QStringLiteral("Would you like to resume?"));
    QVERIFY(m_sandbox->engine()->isPaused());

    // Newest first.
    const QStringList byDate = {QStringLiteral("Mixed_FTR"), QStringLiteral("Reporting_FTR"),
                                QStringLiteral("Away_FTR"), QStringLiteral("Waiting_FTR"),
                                QStringLiteral("Complete_FTR")};
    QTRY_COMPARE(tileTitles(), byDate);
    QVERIFY2(tileStatus(QStringLiteral("Complete_FTR")).startsWith(QStringLiteral("Completed 2.00 MB")),
             qPrintable(tileStatus(QStringLiteral("Complete_FTR"))));
    QCOMPARE(tileStatus(QStringLiteral("Waiting_FTR")), QStringLiteral("Paused, 2 reels left"));
    QCOMPARE(tileStatus(QStringLiteral("Away_FTR")), QStringLiteral("Drive not connected"));
    QCOMPARE(tileStatus(QStringLiteral("Reporting_FTR")), QStringLiteral("Notifying reel 2"));
    QCOMPARE(tileStatus(QStringLiteral("Mixed_FTR")), QStringLiteral("Failed"));
    // Complete and unstarted DCPs are listed without their reels, and their tiles read none.
    for (const QString& listed : {QStringLiteral("Complete_FTR"), QStringLiteral("Waiting_FTR")})
        QVERIFY(!qobject_cast<DCP*>(tile(listed)->property("dcp").value<QObject*>())->reelsLoaded());
    QCOMPARE(textOf(m_window->item(QStringLiteral("pauseButton"))), QStringLiteral("RESUME"));
    shot(QStringLiteral("01-tiles-every-state"));

    // A search without match, then one that matches a friendly title only.
    m_window->window()->requestActivate();
    QVERIFY(QTest::qWaitForWindowActive(m_window->window()));
    m_window->click(m_window->item(QStringLiteral("searchField")));
    m_window->type(QStringLiteral("zzz"));
    QTRY_COMPARE(tileTitles(), QStringList());
    QTRY_VERIFY(
        textOf(m_window->item(QStringLiteral("emptyText"))).contains(QStringLiteral("No DCP(s) found")));
    shot(QStringLiteral("02-search-no-match"));
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(m_window->window(), Qt::Key_Backspace);
    m_window->type(QStringLiteral("ing_ftr (FRIEND"));
    QTRY_COMPARE(tileTitles(), QStringList({QStringLiteral("Reporting_FTR"), QStringLiteral("Waiting_FTR")}));
    for (int i = 0; i < 15; ++i)
        QTest::keyClick(m_window->window(), Qt::Key_Backspace);
    QTRY_COMPARE(tileTitles(), byDate);

    // A-Z, then back to the date.
    m_window->click(m_window->item(QStringLiteral("sortByName")));
    QStringList byName = byDate;
    byName.sort();
    QTRY_COMPARE(tileTitles(), byName);
    m_window->click(m_window->item(QStringLiteral("sortByDate")));
    QTRY_COMPARE(tileTitles(), byDate);

    // The details page of the DCP whose reels are in every state.
    m_window->click(m_window->item(QStringLiteral("openDetails"), tile(QStringLiteral("Mixed_FTR"))));
    QTRY_COMPARE(bodyState(), QStringLiteral("details"));
    QTRY_COMPARE(reelRows(),
                 QStringList({QStringLiteral("1 Completed"), QStringLiteral("2 Corrupted"),
                              QStringLiteral("3 Notifying, please wait"), QStringLiteral("4 Pending")}));
    shot(QStringLiteral("03-details-reel-rows"));
    // Its files button opens the folder whose name holds "#", "?", "%" and blanks.
    m_window->click(m_window->item(QStringLiteral("filesButton")));
    QTRY_COMPARE(m_links->opened.size(), 1);
    QCOMPARE(m_links->opened.first().toLocalFile(), oddFolder + QStringLiteral("/Mixed_FTR"));
    m_window->click(m_window->item(QStringLiteral("closeDetails")));
    QTRY_COMPARE(bodyState(), QStringLiteral("all"));

    // "LAUNCH OSKAN" opens the portal.
    m_window->click(m_window->item(QStringLiteral("portalButton")));
    QTRY_COMPARE(m_links->opened.size(), 2);
    QCOMPARE(m_links->opened.last().toString(), m_sandbox->server.portalBaseUrl());

    // The DCP without a drive: its page says so and offers no start.
    m_window->click(m_window->item(QStringLiteral("openDetails"), tile(QStringLiteral("Away_FTR"))));
    QTRY_VERIFY(m_window->item(QStringLiteral("dcpPage")));
    QVERIFY(!m_window->item(QStringLiteral("startButton"), m_window->item(QStringLiteral("dcpPage"))));
    QCOMPARE(m_prompts->count(), 1);
}

// The slider's position and the "No limit" switch reach the engine and the settings at
// once, and come back at the next start.
void TestWindow::speedLimitAndNoLimitAreKept()
{
    QVERIFY(load());
    DownloadManager* engine = m_sandbox->engine();
    QQuickItem* slider = m_window->item(QStringLiteral("limitSlider"));
    QVERIFY(slider);
    QCOMPARE(slider->property("value").toInt(), 200);
    QVERIFY(textOf(m_window->item(QStringLiteral("emptyText"))).contains(QStringLiteral("Load File")));

    // A press on the middle of the groove moves the handle there; the release stores it.
    m_window->click(slider, 0.5, 0.5);
    const int limit = slider->property("value").toInt();
    QVERIFY2(limit > 50 && limit < 150, qPrintable(QString::number(limit)));
    QTRY_COMPARE(Setting::getInstance()->get(QStringLiteral("download_limit")), QString::number(limit));
    // The engine reads its share of the limit on every tick.
    const unsigned perTick = unsigned(limit * 125000 / (1000 / engine->getReadInterval()));
    QCOMPARE(engine->getReadChunkSize(), perTick);
    QCOMPARE(textOf(m_window->item(QStringLiteral("limitLabel"))).trimmed(),
             QStringLiteral("%1.00 Mbps").arg(limit));

    m_window->click(m_window->item(QStringLiteral("noLimitSwitch")));
    QTRY_VERIFY(engine->isLimitOff());
    QCOMPARE(Setting::getInstance()->get(QStringLiteral("download_limit_off")), QStringLiteral("1"));
    QVERIFY(!slider->isEnabled());
    shot(QStringLiteral("04-limit-and-no-limit-set"));

    // The next start: both back in place.
    QVERIFY2(m_window->warnings().isEmpty(), qPrintable(m_window->warnings().join(QLatin1Char('\n'))));
    m_window.reset();
    m_sandbox->restart();
    m_window = std::make_unique<WindowUnderTest>();
    QVERIFY(load());
    QCOMPARE(m_window->item(QStringLiteral("limitSlider"))->property("value").toInt(), limit);
    QVERIFY(m_window->item(QStringLiteral("noLimitSwitch"))->property("checked").toBool());
    QVERIFY(m_sandbox->engine()->isLimitOff());

    // Off again, through its label: the slider's limit applies.
    m_window->click(m_window->item(QStringLiteral("noLimitLabel")));
    QTRY_VERIFY(!m_sandbox->engine()->isLimitOff());
    QCOMPARE(m_sandbox->engine()->getReadChunkSize(), perTick);
    QCOMPARE(Setting::getInstance()->get(QStringLiteral("download_limit_off")), QStringLiteral("0"));
}

// A DCP imported while the window is open downloads with its progress in the tile, the
// reel row, the status bar and the title; pause and resume; it completes once reported.
// Removing a reel and a DCP asks first: Cancel keeps them, Yes removes them.
void TestWindow::downloadPauseAndRemovals()
{
    QVERIFY(load());
    const QString title = QStringLiteral("Reelvane Downloader 1.4.0");
    QCOMPARE(m_window->window()->title(), title);

    DCP* dcp = m_sandbox->makeDCP(uuid('d', 901), QStringLiteral("Running_FTR"));
    Reel* first = TestSandbox::addReel(dcp, uuid('e', 902), 1);
    m_sandbox->addAsset(first, uuid('a', 903), QStringLiteral("run/r1.mxf"),
                        patternBytes(2 * 1024 * 1024, 1));
    Reel* second = TestSandbox::addReel(dcp, uuid('e', 904), 2);
    m_sandbox->addAsset(second, uuid('a', 905), QStringLiteral("run/r2.mxf"), patternBytes(64 * 1024, 2));
    StandInServer::AssetFault slow;
    slow.throttleBytesPerSecond = 256 * 1024; // slow enough to watch, however busy the machine
    m_sandbox->server.setAssetFault(QStringLiteral("run/r1.mxf"), slow);
    m_sandbox->publish(dcp);

    QTRY_COMPARE(tileStatus(QStringLiteral("Running_FTR")), QStringLiteral("Downloading reel 1"));
    QTRY_VERIFY2(m_window->window()->title().contains(QStringLiteral(" \u2014 ")),
                 qPrintable(m_window->window()->title()));
    QTRY_VERIFY(
        textOf(m_window->item(QStringLiteral("statusLabel"))).startsWith(QStringLiteral("Remaining time: ")));
    m_window->click(m_window->item(QStringLiteral("openDetails"), tile(QStringLiteral("Running_FTR"))));
    QTRY_VERIFY2(reelRows().value(0).startsWith(QStringLiteral("1 Downloading ")),
                 qPrintable(reelRows().join(',')));
    shot(QStringLiteral("05-details-reel-downloading"));
    m_window->click(m_window->item(QStringLiteral("closeDetails")));

    // Paused: the plain title, the button offers to resume, the choice is stored.
    m_window->click(m_window->item(QStringLiteral("pauseButton")));
    QTRY_VERIFY(m_sandbox->engine()->isPaused());
    QTRY_COMPARE(m_window->window()->title(), title);
    QCOMPARE(textOf(m_window->item(QStringLiteral("statusLabel"))), QStringLiteral("Paused."));
    QCOMPARE(textOf(m_window->item(QStringLiteral("pauseButton"))), QStringLiteral("RESUME"));
    QCOMPARE(Setting::getInstance()->get(QStringLiteral("download_paused")), QStringLiteral("1"));
    QTRY_COMPARE(tileStatus(QStringLiteral("Running_FTR")), QStringLiteral("Paused, 2 reels left"));
    shot(QStringLiteral("06-paused-grid"));
    m_sandbox->server.clearAllAssetFaults(); // the rest at full speed
    m_window->click(m_window->item(QStringLiteral("pauseButton")));
    QTRY_VERIFY(!m_sandbox->engine()->isPaused());
    QCOMPARE(textOf(m_window->item(QStringLiteral("pauseButton"))), QStringLiteral("PAUSE"));

    // Downloaded, verified, reported and revealed.
    QTRY_VERIFY_WITH_TIMEOUT(
        tileStatus(QStringLiteral("Running_FTR")).startsWith(QStringLiteral("Completed")), 30000);
    shot(QStringLiteral("07-grid-completed"));

    // A second DCP, paused while it downloads: one reel removed from its page, then the
    // DCP deleted.
    DCP* waiting = m_sandbox->makeDCP(uuid('d', 911), QStringLiteral("Waiting_FTR"));
    Reel* w1 = TestSandbox::addReel(waiting, uuid('e', 912), 1);
    m_sandbox->addAsset(w1, uuid('a', 913), QStringLiteral("wait/w1.mxf"), patternBytes(1024 * 1024, 3));
    slow.throttleBytesPerSecond = 64 * 1024;
    m_sandbox->server.setAssetFault(QStringLiteral("wait/w1.mxf"), slow);
    Reel* w2 = TestSandbox::addReel(waiting, uuid('e', 914), 2);
    m_sandbox->addAsset(w2, uuid('a', 915), QStringLiteral("wait/w2.mxf"), patternBytes(1024, 4));
    m_sandbox->publish(waiting);
    QTRY_COMPARE(tileStatus(QStringLiteral("Waiting_FTR")), QStringLiteral("Downloading reel 1"));
    m_window->click(m_window->item(QStringLiteral("pauseButton")));
    QTRY_COMPARE(tileStatus(QStringLiteral("Waiting_FTR")), QStringLiteral("Paused, 2 reels left"));
    m_window->click(m_window->item(QStringLiteral("openDetails"), tile(QStringLiteral("Waiting_FTR"))));
    QTRY_COMPARE(reelRows(), QStringList({QStringLiteral("1 Pending"), QStringLiteral("2 Pending")}));

    m_prompts->answer(Prompt::Cancel);
    m_prompts->answer(Prompt::Yes);
    const int asked = m_prompts->count();
    QQuickItem* page = m_window->item(QStringLiteral("dcpPage"));
    m_window->click(m_window->item(QStringLiteral("removeReelButton"),
                                   m_window->items(QStringLiteral("reelRow"), page).last()));
    QCOMPARE(m_prompts->count(), asked + 1);
    QCOMPARE(m_prompts->last().title, QStringLiteral("Warning..."));
    QCOMPARE(m_prompts->last().text,
             QStringLiteral(
                 "You are about to delete a Reel.\r\n\r\nThis will DELETE the files on your hard drive. "
                 "The Reel and all of it's assets will be removed."));
    QCOMPARE(m_prompts->last().informativeText, QStringLiteral("Would you like to continue ?"));
    QCOMPARE(m_prompts->last().buttons, Prompt::Yes | Prompt::Cancel);
    QCOMPARE(reelRows().size(), 2);
    m_window->click(m_window->item(QStringLiteral("removeReelButton"),
                                   m_window->items(QStringLiteral("reelRow"), page).last()));
    QTRY_COMPARE(reelRows(), QStringList{QStringLiteral("1 Pending")});
    QCOMPARE(TestSandbox::rowCount(QStringLiteral("reel"), QStringLiteral("uuid = '%1'").arg(uuid('e', 914))),
             0);
    shot(QStringLiteral("08-details-after-reel-removed"));

    m_prompts->answer(Prompt::Cancel);
    m_prompts->answer(Prompt::Yes);
    m_window->click(
        m_window->item(QStringLiteral("deleteButton"), m_window->item(QStringLiteral("dcpPage"))));
    QCOMPARE(m_prompts->last().text,
             QStringLiteral(
                 "You are about to delete a DCP.\r\n\r\nThis will NOT DELETE the files on your hard drive "
                 "but simply remove the DCP from the Reelvane Downloader."));
    QCOMPARE(bodyState(), QStringLiteral("details"));
    QCOMPARE(TestSandbox::rowCount(QStringLiteral("dcp")), 2);
    m_window->click(
        m_window->item(QStringLiteral("deleteButton"), m_window->item(QStringLiteral("dcpPage"))));
    QTRY_COMPARE(tileTitles(), QStringList{QStringLiteral("Running_FTR")});
    QCOMPARE(bodyState(), QStringLiteral("all"));
    QCOMPARE(TestSandbox::rowCount(QStringLiteral("dcp")), 1);
    shot(QStringLiteral("09-grid-after-delete"));
}

// Covers are fetched like every other request of the program: through the proxy the
// environment names, asking for the body as it is.
void TestWindow::coversComeThroughTheProxy()
{
    TestProxy proxy;
    QVERIFY(proxy.isRunning());
    qputenv("http_proxy", "http://127.0.0.1:" + QByteArray::number(proxy.port()));
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(Qt::red);
    QByteArray png;
    QBuffer buffer(&png);
    QVERIFY(buffer.open(QIODevice::WriteOnly) && image.save(&buffer, "PNG"));
    m_sandbox->server.setAssetData(QStringLiteral("cover.png"), png);
    const QString url = m_sandbox->server.assetUrl(QStringLiteral("cover.png")).toString();
    auto* dcp = new DCP(uuid('d', 900), QStringLiteral("Covered"), url, m_sandbox->downloads(),
                        &m_sandbox->catalogue()->getStore());
    QVERIFY(QDir().mkpath(dcp->getDCPPath()));
    TestSandbox::addAssetOfSize(TestSandbox::addReel(dcp, uuid('e', 900), 1), uuid('a', 900), 1024);
    m_sandbox->store(dcp);

    const bool loaded = load();
    QTRY_VERIFY_WITH_TIMEOUT(proxy.log().contains(QStringLiteral("GET ") + url), 10000);
    qunsetenv("http_proxy");
    QVERIFY(loaded);
    QVERIFY2(proxy.log().contains(QStringLiteral("HEAD ") + url), qPrintable(proxy.log()));
    // The proxy logs a request when it passes it on; the server's journal has it once answered.
    QTRY_COMPARE(m_sandbox->requestsFor(QStringLiteral("cover.png")).size(), 2);
    int covers = 0;
    for (const StandInServer::JournalEntry& entry : m_sandbox->requestsFor(QStringLiteral("cover.png"))) {
        ++covers;
        bool identity = false;
        for (const auto& header : entry.headers)
            identity =
                identity || (header.first.toLower() == "accept-encoding" && header.second == "identity");
        QVERIFY2(identity, entry.method.constData());
    }
    QCOMPARE(covers, 2);
}

// "Eject drive" and the unplug line are worked out again when any DCP's status changes, not
// only the page's own: the last other DCP on a drive completing makes the drive ejectable.
void TestWindow::ejectFollowsEveryDcp()
{
    const QString downloads = m_sandbox->downloads();
    storeDcp(*m_sandbox, downloads, QStringLiteral("Shown_FTR"), "D");
    storeDcp(*m_sandbox, downloads, QStringLiteral("Other_FTR"), "N");
    m_sandbox->restart();
    QVERIFY(load());
    QObject* const eject = QQmlEngine::contextForObject(m_window->window())
                               ->contextProperty(QStringLiteral("drive_eject"))
                               .value<QObject*>();
    QVERIFY(eject);
    QSignalSpy changed(eject, SIGNAL(changed()));
    DCPManager* const catalogue = m_sandbox->catalogue();
    for (DCP* dcp : catalogue->getAllDCPs()) {
        if (dcp->getTitle() == QLatin1String("Other_FTR"))
            dcp->announceStatus();
    }
    QTRY_COMPARE(changed.count(), 1);

    // One that arrives later is followed too.
    DCP* const later = m_sandbox->newDCP(uuid('d', 990), QStringLiteral("Later_FTR"), downloads);
    TestSandbox::addAssetOfSize(TestSandbox::addReel(later, uuid('e', 991), 1), uuid('a', 992), 1000);
    m_sandbox->store(later);
    QTRY_COMPARE(tileTitles().size(), 3);
    changed.clear();
    later->announceStatus();
    QTRY_COMPARE(changed.count(), 1);
}

QTEST_MAIN(TestWindow)
#include "tst_window.moc"
