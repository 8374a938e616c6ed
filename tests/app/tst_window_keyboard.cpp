#include "ScriptedPrompts.h"
#include "TestSandbox.h"
#include "WindowUnderTest.h"
#include "model/DCP.h"
#include "model/DCPManager.h"
#include "model/Reel.h"
#include "storage/Setting.h"

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

private:
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

QTEST_MAIN(TestWindowKeyboard)
#include "tst_window_keyboard.moc"
