#include "PackageWriter.h"
#include "SampleDcp.h"
#include "ScriptedPrompts.h"
#include "TestPackages.h"
#include "TestSandbox.h"
#include "WindowUnderTest.h"
#include "app/MainWindow.h"
#include "download/DownloadManager.h"
#include "model/DCP.h"
#include "model/DCPManager.h"
#include "model/Reel.h"
#include "storage/Setting.h"

#include <QAccessible>
#include <QQuickItem>
#include <QQuickWindow>
#include <QtTest>

// The main window in process, on a sandbox's managers, used the way a keyboard user uses it.
class TestWindowKeyboard : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void boxClosedByKeyKeepsThePage();
    void notificationClickShowsItsDcp();
    void wholeJobFromTheKeyboard();
    void tabOrderAndAccessibleNames();

private:
    void key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) const
    {
        QTest::keyClick(m_window->window(), key, modifiers);
    }
    // What a screen reader calls the item with the keyboard focus.
    QString focusName() const;
    // Presses Tab until the focus is on an item whose accessible name starts with name, at
    // most limit times; the names the focus went through.
    QStringList tabTo(const QString& name, int limit = 20) const;
    // Stored DCPs Film_1_FTR ... Film_<count>_FTR of two reels each, downloads paused.
    void storeFilms(int count);
    QQuickItem* tile(const QString& title) const;
    QObject* shownDcp() const;
    QString shownTitle() const;

    std::unique_ptr<TestSandbox> m_sandbox;
    std::unique_ptr<ScriptedPrompts> m_prompts;
    std::unique_ptr<WindowUnderTest> m_window;
};

void TestWindowKeyboard::init()
{
    m_sandbox = std::make_unique<TestSandbox>(TestSandbox::WithServer);
    m_prompts = std::make_unique<ScriptedPrompts>();
    m_window = std::make_unique<WindowUnderTest>();
}

void TestWindowKeyboard::cleanup()
{
    const QStringList warnings = m_window->warnings();
    m_window.reset();
    m_prompts.reset();
    m_sandbox.reset();
    QVERIFY2(warnings.isEmpty(), qPrintable(warnings.join(QLatin1Char('\n'))));
}

void TestWindowKeyboard::storeFilms(int count)
{
    for (int i = 1; i <= count; ++i) {
        DCP* dcp = m_sandbox->makeDCP(QStringLiteral("dcp-%1").arg(i), QStringLiteral("Film_%1_FTR").arg(i));
        for (unsigned n = 1; n <= 2; ++n)
            TestSandbox::addAssetOfSize(
                TestSandbox::addReel(dcp, QStringLiteral("%1-reel-%2").arg(i).arg(n), n),
                QStringLiteral("%1-asset-%2").arg(i).arg(n), 1000);
        m_sandbox->store(dcp);
    }
    Setting::getInstance()->set(QStringLiteral("download_paused"), QStringLiteral("1"));
    m_prompts->answer(Prompt::No); // the start's question whether to resume
}

QQuickItem* TestWindowKeyboard::tile(const QString& title) const
{
    for (QQuickItem* candidate : m_window->items(QStringLiteral("dcpTile"))) {
        const QObject* dcp = candidate->property("dcp").value<QObject*>();
        if (candidate->isVisible() && dcp && dcp->property("title").toString() == title)
            return candidate;
    }
    return nullptr;
}

QObject* TestWindowKeyboard::shownDcp() const
{
    QQuickItem* page = m_window->item(QStringLiteral("dcpPage"));
    return page ? page->property("dcp").value<QObject*>() : nullptr;
}

QString TestWindowKeyboard::shownTitle() const
{
    const QObject* dcp = shownDcp();
    return dcp ? dcp->property("title").toString() : QStringLiteral("<no page>");
}

// A box closed with Escape or Return hands the key's release to the window. That once
// re-filtered the grid under the open page, which then showed the grid's first DCP: the
// next removal hit another film.
// A click on a desktop notification: the window comes up, from the task bar too, on the page
// of the notification's DCP; a DCP removed meanwhile leaves the page as it is.
void TestWindowKeyboard::notificationClickShowsItsDcp()
{
    storeFilms(3);
    QVERIFY(m_window->load(*m_sandbox));
    QTRY_COMPARE(m_prompts->count(), 1);
    m_window->scene()->showDcp(QStringLiteral("dcp-2"));
    QTRY_COMPARE(shownTitle(), QStringLiteral("Film_2_FTR"));
    QQuickWindow* window = m_window->window();
    window->showMinimized();
    m_window->scene()->showDcp(QStringLiteral("dcp-3"));
    QTRY_COMPARE(shownTitle(), QStringLiteral("Film_3_FTR"));
    QVERIFY(!(window->windowStates() & Qt::WindowMinimized));
    QVERIFY(window->isVisible());
    m_window->scene()->showDcp(QStringLiteral("removed-meanwhile"));
    QCOMPARE(shownTitle(), QStringLiteral("Film_3_FTR"));
}

void TestWindowKeyboard::boxClosedByKeyKeepsThePage()
{
    storeFilms(3);
    QVERIFY(m_window->load(*m_sandbox));
    QTRY_COMPARE(m_prompts->count(), 1);
    QQuickWindow* window = m_window->window();
    window->requestActivate();
    QVERIFY(QTest::qWaitForWindowActive(window));

    // Film_3 is first in the grid (newest first); the page of Film_1 is the one to keep.
    m_window->click(m_window->item(QStringLiteral("openDetails"), tile(QStringLiteral("Film_2_FTR"))));
    QCOMPARE(shownTitle(), QStringLiteral("Film_2_FTR"));
    m_window->click(m_window->item(QStringLiteral("closeDetails")));
    m_window->click(m_window->item(QStringLiteral("openDetails"), tile(QStringLiteral("Film_1_FTR"))));
    QCOMPARE(shownTitle(), QStringLiteral("Film_1_FTR"));
    DCP* film1 = m_sandbox->catalogue()->getDCP(QStringLiteral("dcp-1"));
    QVERIFY(film1);

    for (const char* button : {"removeReelButton", "deleteButton"}) {
        for (const Qt::Key key : {Qt::Key_Escape, Qt::Key_Return}) {
            m_prompts->answerByKey(Prompt::Cancel, window, key);
            m_window->click(m_window->item(QLatin1String(button), m_window->item(QStringLiteral("dcpPage"))));
            QTest::qWait(50); // the release, and whatever it sets off, arrive
            QCOMPARE(shownTitle(), QStringLiteral("Film_1_FTR"));
        }
    }
    QCOMPARE(m_prompts->count(), 5);

    // The next removal takes Film_1's reel, and only that.
    m_prompts->answerByKey(Prompt::Yes, window, Qt::Key_Return);
    m_window->click(
        m_window->item(QStringLiteral("removeReelButton"), m_window->item(QStringLiteral("dcpPage"))));
    QTRY_COMPARE(film1->getReels().size(), 1);
    QCOMPARE(shownTitle(), QStringLiteral("Film_1_FTR"));
    QCOMPARE(TestSandbox::rowCount(QStringLiteral("reel")), 5);
}

QString TestWindowKeyboard::focusName() const
{
    QQuickItem* focus = m_window->window()->activeFocusItem();
    // A text field's focus is on its inner text input.
    while (focus && !QAccessible::queryAccessibleInterface(focus))
        focus = focus->parentItem();
    QAccessibleInterface* const named = focus ? QAccessible::queryAccessibleInterface(focus) : nullptr;
    return named ? named->text(QAccessible::Name) : QStringLiteral("<none>");
}

QStringList TestWindowKeyboard::tabTo(const QString& name, int limit) const
{
    QStringList visited{focusName()};
    for (int i = 0; i < limit && !visited.constLast().startsWith(name); ++i) {
        key(Qt::Key_Tab);
        visited << focusName();
    }
    return visited;
}

// Open a package, start, pause, open the DCP, remove a reel and close the page, without a
// mouse.
void TestWindowKeyboard::wholeJobFromTheKeyboard()
{
    // The package dialog opens in the Downloads folder of the desktop's own settings.
    const QString configHome = qEnvironmentVariable("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_sandbox->root() + "/config"));
    QDir().mkpath(m_sandbox->root() + "/config");
    QVERIFY(writeFile(m_sandbox->root() + "/config/user-dirs.dirs",
                      "XDG_DOWNLOAD_DIR=\"" + QFile::encodeName(m_sandbox->packages()) + "\"\n"));
    QDir().mkpath(m_sandbox->packages());

    SampleDcp::Options o = sampleOptions(29, 2, QStringLiteral("Keys_FTR"));
    o.pictureSize = 200000;
    DcpDescription d;
    QVERIFY(SampleDcp::generate(o, m_sandbox->server.assetRoot() + "/Keys_FTR", &d));
    PackageWriter::EntryOptions e;
    e.reels = {1, 2};
    e.assetBaseUrl = m_sandbox->server.baseUrl().toString() + "/assets/Keys_FTR/";
    e.friendlyTitle = QStringLiteral("Keys");
    const QString package =
        m_sandbox->writePackage(PackageWriter::document(testUser(), {PackageWriter::entry(d, e)}, 1000));
    StandInServer::AssetFault slow;
    slow.throttleBytesPerSecond = 20 * 1024; // still downloading while the keys are pressed
    for (const DcpAssetInfo& a : d.assetsOfReels({1}))
        m_sandbox->server.setAssetFault(QStringLiteral("Keys_FTR/") + a.path, slow);
    m_sandbox->catalogue()->setDecodingKey(QString::fromLatin1(testKey()));
    Setting::getInstance()->set(QStringLiteral("download_paused"), QStringLiteral("1"));
    QVERIFY(m_window->load(*m_sandbox));
    QQuickWindow* const window = m_window->window();
    window->requestActivate();
    QVERIFY(QTest::qWaitForWindowActive(window));
    DownloadManager* const engine = m_sandbox->engine();

    // Ctrl+O: the package, then the folder for it.
    m_prompts->answerPath(package);
    m_prompts->answerPath(m_sandbox->downloads());
    key(Qt::Key_O, Qt::ControlModifier);
    QTRY_COMPARE(m_sandbox->catalogue()->getDCPs().size(), 1);
    const PromptRequest chooser = m_prompts->asked().value(0);
    QCOMPARE(chooser.kind, PromptRequest::OpenFile);
    QCOMPARE(chooser.directory, m_sandbox->packages());
    qputenv("XDG_CONFIG_HOME", configHome.toUtf8());
    DCP* const dcp = m_sandbox->catalogue()->getDCPs().constFirst();

    // To the tile; Space starts the paused downloads, Space again pauses them.
    {
        const QStringList visited = tabTo(QStringLiteral("Keys, "));
        QVERIFY2(visited.constLast().startsWith(QStringLiteral("Keys, ")), qPrintable(visited.join(" > ")));
    }
    key(Qt::Key_Space);
    QTRY_VERIFY(!engine->isPaused());
    QTRY_COMPARE(engine->getCurrentDownloadingDCP(), dcp);
    key(Qt::Key_Space);
    QTRY_VERIFY(engine->isPaused());

    // Return opens it; on its page Tab reaches the reels, Down the second, Delete asks.
    key(Qt::Key_Return);
    QTRY_COMPARE(shownDcp(), dcp);
    {
        const QStringList visited = tabTo(QStringLiteral("Reel #1"));
        QVERIFY2(visited.constLast().startsWith(QStringLiteral("Reel #1")), qPrintable(visited.join(" > ")));
    }
    key(Qt::Key_Down);
    QVERIFY2(focusName().startsWith(QStringLiteral("Reel #2")), qPrintable(focusName()));
    m_prompts->answerByKey(Prompt::Yes, window, Qt::Key_Return);
    key(Qt::Key_Delete);
    QTRY_COMPARE(dcp->getReels().size(), 1);
    QCOMPARE(dcp->getReels().constFirst()->getReelNumber(), 1u);
    QCOMPARE(m_prompts->last().text.left(30), QStringLiteral("You are about to delete a Reel"));

    // Escape closes the page; the keyboard is back on the tile.
    key(Qt::Key_Escape);
    QTRY_COMPARE(shownDcp(), static_cast<QObject*>(nullptr));
    QVERIFY2(focusName().startsWith(QStringLiteral("Keys, ")), qPrintable(focusName()));
    QQuickItem* const current =
        m_window->item(QStringLiteral("grid"))->property("currentItem").value<QQuickItem*>();
    QCOMPARE(current ? current->property("dcp").value<QObject*>() : nullptr, static_cast<QObject*>(dcp));
    QCOMPARE(m_window->item(QStringLiteral("body"))->property("state").toString(), QStringLiteral("all"));
}

namespace {
// Role and name of every control a screen reader lists below iface, in tree order.
void walk(QAccessibleInterface* iface, QList<QPair<QAccessible::Role, QString>>* found)
{
    for (int i = 0; i < iface->childCount(); ++i) {
        QAccessibleInterface* const child = iface->child(i);
        if (!child || child->state().invisible)
            continue;
        found->append(qMakePair(child->role(), child->text(QAccessible::Name)));
        walk(child, found);
    }
}

// The names of the interactive controls shown; an unnamed one as "<unnamed role>".
QStringList controlNames(QQuickWindow* window)
{
    static const QList<QAccessible::Role> interactive = {
        QAccessible::Button,   QAccessible::PushButton,   QAccessible::CheckBox, QAccessible::RadioButton,
        QAccessible::Slider,   QAccessible::EditableText, QAccessible::List,     QAccessible::ListItem,
        QAccessible::ComboBox, QAccessible::SpinBox,      QAccessible::Link,     QAccessible::MenuItem};
    QList<QPair<QAccessible::Role, QString>> found;
    walk(QAccessible::queryAccessibleInterface(window), &found);
    QStringList names;
    for (const auto& control : qAsConst(found)) {
        if (interactive.contains(control.first))
            names << (control.second.isEmpty() ? QStringLiteral("<unnamed %1>").arg(control.first)
                                               : control.second);
        else if (control.first == QAccessible::StaticText && control.second.isEmpty())
            continue;
    }
    return names;
}
} // namespace

// Tab goes round every control in reading order, on the grid and on the page, and a screen
// reader finds a name for each of them, for the tiles, the reel rows and the status text.
void TestWindowKeyboard::tabOrderAndAccessibleNames()
{
    storeFilms(1);
    QVERIFY(m_window->load(*m_sandbox));
    QQuickWindow* const window = m_window->window();
    QTRY_COMPARE(m_prompts->count(), 1);
    window->requestActivate();
    QVERIFY(QTest::qWaitForWindowActive(window));

    QCOMPARE(focusName(), QStringLiteral("Search DCPs"));
    QStringList round{focusName()};
    for (int i = 0; i < 9; ++i) {
        key(Qt::Key_Tab);
        round << focusName();
    }
    const QString tile = round.value(3);
    QVERIFY2(tile.startsWith(QStringLiteral("Film_1_FTR")) &&
                 tile.endsWith(QStringLiteral(", Paused, 2 reels left")),
             qPrintable(tile));
    QCOMPARE(round, (QStringList{"Search DCPs", "Sort by date", "Sort by name", tile, "Speed limit",
                                 "No limit", "Schedule\u2026", "LOAD FILE", "RESUME", "LAUNCH OSKAN"}));
    QStringList names = controlNames(window);
    QVERIFY2(names.filter(QStringLiteral("<unnamed")).isEmpty(), qPrintable(names.join(", ")));
    for (const QString& name : {QStringLiteral("DCPs"), tile, QStringLiteral("File")})
        QVERIFY2(names.contains(name), qPrintable(name + " not in " + names.join(", ")));

    // The page, from the tile: Return.
    QVERIFY(tabTo(tile).constLast() == tile);
    key(Qt::Key_Return);
    QTRY_VERIFY(shownDcp());
    // These in this order, whatever other buttons the page shows between them.
    round = tabTo(QStringLiteral("Remove reel 2"));
    const QStringList page = {"Close details",
                              "START DOWNLOAD",
                              "DELETE",
                              "GO TO FILES",
                              "Reel #1: Pending",
                              "Remove reel 1 and delete its files (Delete)",
                              "Remove reel 2 and delete its files (Delete)"};
    int at = -1;
    for (const QString& name : page) {
        const int next = round.indexOf(name, at + 1);
        QVERIFY2(next > at, qPrintable(name + " out of order in " + round.join(" > ")));
        at = next;
    }
    QCOMPARE(round.first(), page.first());
    names = controlNames(window);
    QVERIFY2(names.filter(QStringLiteral("<unnamed")).isEmpty(), qPrintable(names.join(", ")));
    for (const QString& name : QStringList{"Close details", "Reels", "Reel #2: Pending", "GO TO FILES"})
        QVERIFY2(names.contains(name), qPrintable(name + " not in " + names.join(", ")));
    // The schedule's dialog over the page: its controls named, Tab kept inside it, Escape
    // closes the dialog alone.
    QVERIFY(tabTo(QStringLiteral("Schedule")).constLast().startsWith(QStringLiteral("Schedule")));
    key(Qt::Key_Return);
    QTRY_VERIFY(m_window->item(QStringLiteral("scheduleDialog")));
    names = controlNames(window);
    QVERIFY2(names.filter(QStringLiteral("<unnamed")).isEmpty(), qPrintable(names.join(", ")));
    QVERIFY2(names.contains(QStringLiteral("Alternative limit")) &&
                 names.contains(QStringLiteral("3  Alternative limit")),
             qPrintable(names.join(", ")));
    const QString hours = focusName();
    QVERIFY2(hours.startsWith(QStringLiteral("Monday 00:00, ")), qPrintable(hours));
    key(Qt::Key_Right);
    QCOMPARE(focusName(), QString(hours).replace(QStringLiteral("00:00"), QStringLiteral("01:00")));
    round = tabTo(QStringLiteral("Bandwidth schedule"));
    round += tabTo(QStringLiteral("Monday"));
    QCOMPARE(round.constLast(), focusName());
    QVERIFY2(round.contains(QStringLiteral("SAVE")) && !round.contains(QStringLiteral("Search DCPs")) &&
                 !round.contains(QStringLiteral("Close details")),
             qPrintable(round.join(" > ")));
    key(Qt::Key_Escape);
    QTRY_VERIFY(!m_window->item(QStringLiteral("scheduleDialog")));
    QVERIFY(shownDcp());

    // The limit moved with the keys is kept like one moved with the mouse.
    QVERIFY(tabTo(QStringLiteral("Speed limit")).constLast() == QStringLiteral("Speed limit"));
    for (int i = 0; i < 5; ++i)
        key(Qt::Key_Left);
    QCOMPARE(Setting::getInstance()->get(QStringLiteral("download_limit")), QStringLiteral("195"));
    QCOMPARE(m_sandbox->engine()->getReadChunkSize(),
             unsigned(195 * 125000 / (1000 / m_sandbox->engine()->getReadInterval())));

    // Alt with a letter opens the menu; it never types into the search field.
    key(Qt::Key_Escape);
    QTRY_VERIFY(!shownDcp());
    QVERIFY(tabTo(QStringLiteral("Search DCPs")).constLast() == QStringLiteral("Search DCPs"));
    key(Qt::Key_F, Qt::AltModifier);
    QCOMPARE(m_window->item(QStringLiteral("searchField"))->property("text").toString(), QString());
}

QTEST_MAIN(TestWindowKeyboard)
#include "tst_window_keyboard.moc"
