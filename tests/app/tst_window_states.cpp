#include "TestSandbox.h"
#include "app/UserPrompt.h"
#include "app/WidgetPrompts.h"
#include "app/WindowActions.h"
#include "download/DownloadManager.h"
#include "model/Asset.h"
#include "model/DCP.h"
#include "model/DCPManager.h"
#include "model/Reel.h"
#include "model/ScriptOwnership.h"
#include "storage/Setting.h"

#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QPushButton>
#include <QQmlApplicationEngine>
#include <QQmlContext>
#include <QQuickItem>
#include <QQuickWindow>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <memory>

namespace {
QStringList g_warnings;
QtMessageHandler g_previous = nullptr;

// Any warning while the window runs (a QML one above all) fails the test.
void recordWarnings(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    // The platform's notes (the offscreen one on what it cannot do, X errors of focus
    // requests without a window manager) are no fault of the window.
    const bool platform = message.startsWith(QLatin1String("This plugin does not support")) ||
                          qstrcmp(context.category, "qt.qpa.xcb") == 0;
    if (type != QtDebugMsg && type != QtInfoMsg && !platform)
        g_warnings << message;
    if (type != QtDebugMsg || qEnvironmentVariableIsSet("ORV_TEST_VERBOSE"))
        g_previous(type, context, message);
}

// Real boxes, and a desktop without a handler for any link.
class NoDesktopPrompts : public WidgetPrompts
{
public:
    bool openUrl(const QUrl& url) override
    {
        opened << url;
        return false;
    }
    QList<QUrl> opened;
};

QString artefact(const QString& name)
{
    const QString dir = QStringLiteral(ORV_ARTEFACTS_DIR "/window-states");
    QDir().mkpath(dir);
    return dir + QLatin1Char('/') + name + QStringLiteral(".png");
}
} // namespace

// The main window in process, on the real managers of a sandbox: the states a user meets
// that once went wrong (removal boxes answering Yes to a stray Return, titles cut without a
// sign, a status bar saying "Ready." while work goes on, a speed above the limit). Every
// state is kept as a screenshot under artefacts/window-states.
class TestWindowStates : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();

    void removalBoxesDefaultToCancel();
    void longTitlesElidedInTheMiddle();
    void statusWhileConfirmingAndPaused();
    void speedNeverAboveTheLimit();
    void desktopWithoutHandlerShowsWhereToGo();

private:
    QQuickWindow* open(TestSandbox& sandbox);
    // Before the sandbox's managers go.
    void closeWindow();
    QQuickItem* item(const QString& name, bool visibleOnly = true) const;
    QString statusText() const { return item(QStringLiteral("statusLabel"))->property("text").toString(); }
    void shoot(const QString& name);
    // Answers the next box with a key or a button once it shows, after keeping it as a screenshot.
    void answerNextBox(const QString& shot, std::function<void(QMessageBox*)> answer);

    std::unique_ptr<WindowActions> m_actions;
    std::unique_ptr<QQmlApplicationEngine> m_qml;
    QQuickWindow* m_window = nullptr;
    NoDesktopPrompts m_prompts;
    QList<QMessageBox*> m_boxesSeen;
    QList<int> m_defaultButtons;
};

void TestWindowStates::initTestCase()
{
    Q_INIT_RESOURCE(qml);
    qRegisterMetaType<Reel*>("Reel*");
    ScriptOwnership::setMarker(
        [](QObject* object) { QQmlEngine::setObjectOwnership(object, QQmlEngine::CppOwnership); });
    g_previous = qInstallMessageHandler(&recordWarnings);
    UserPrompt::setPresenter(&m_prompts);
}

void TestWindowStates::closeWindow()
{
    m_qml.reset();
    m_window = nullptr;
    m_actions.reset();
}

void TestWindowStates::cleanup()
{
    closeWindow();
    m_prompts.opened.clear();
    m_defaultButtons.clear();
    const QStringList warnings = g_warnings;
    g_warnings.clear();
    QVERIFY2(warnings.isEmpty(), qPrintable(warnings.join(QLatin1Char('\n'))));
}

QQuickWindow* TestWindowStates::open(TestSandbox& sandbox)
{
    DownloadManager* engine = sandbox.engine();
    DCPManager* catalogue = DCPManager::getInstance();
    m_actions.reset(new WindowActions);
    m_qml.reset(new QQmlApplicationEngine);
    QQmlContext* context = m_qml->rootContext();
    context->setContextProperty(QStringLiteral("download_mgr"), engine);
    context->setContextProperty(QStringLiteral("dcp_mgr"), catalogue);
    context->setContextProperty(QStringLiteral("settings_mgr"), Setting::getInstance());
    context->setContextProperty(QStringLiteral("portal_url"), QStringLiteral("http://127.0.0.1:9/portal/"));
    context->setContextProperty(QStringLiteral("window_actions"), m_actions.get());
    m_qml->load(QUrl(QStringLiteral("qrc:///main.qml")));
    if (m_qml->rootObjects().isEmpty())
        return nullptr;
    m_window = qobject_cast<QQuickWindow*>(m_qml->rootObjects().constFirst());
    if (m_window && !QTest::qWaitForWindowExposed(m_window))
        return nullptr;
    // The window finishes its start after the first turn of the event loop; a start with
    // downloads paused asks whether to resume, which these tests leave unanswered.
    QTest::qWait(50);
    if (QObject* resume = m_window->findChild<QObject*>(QStringLiteral("resumeDialog")))
        QMetaObject::invokeMethod(resume, "close");
    return m_window;
}

QQuickItem* TestWindowStates::item(const QString& name, bool visibleOnly) const
{
    std::function<QQuickItem*(QQuickItem*)> find = [&](QQuickItem* parent) -> QQuickItem* {
        for (QQuickItem* child : parent->childItems()) {
            if (child->objectName() == name && (!visibleOnly || child->isVisible()))
                return child;
            if (QQuickItem* found = find(child))
                return found;
        }
        return nullptr;
    };
    return m_window ? find(m_window->contentItem()) : nullptr;
}

void TestWindowStates::shoot(const QString& name)
{
    QTest::qWait(30); // let the scene take the last changes
    const QImage image = m_window->grabWindow();
    // The offscreen platform renders nothing to grab; the states are checked all the same.
    if (image.isNull() && QGuiApplication::platformName() == QLatin1String("offscreen"))
        return;
    QVERIFY(!image.isNull());
    QVERIFY(image.save(artefact(name)));
}

void TestWindowStates::answerNextBox(const QString& shot, std::function<void(QMessageBox*)> answer)
{
    auto* poll = new QTimer(this);
    poll->setInterval(10);
    connect(poll, &QTimer::timeout, this, [=]() {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        poll->deleteLater();
        poll->stop();
        m_defaultButtons << (box->defaultButton() ? int(box->standardButton(box->defaultButton())) : 0);
        box->grab().save(artefact(shot));
        answer(box);
    });
    poll->start();
}

void TestWindowStates::removalBoxesDefaultToCancel()
{
    TestSandbox sandbox;
    const auto closer = qScopeGuard([this] { closeWindow(); });
    Setting::getInstance()->set(QStringLiteral("download_paused"), QStringLiteral("1"));
    DCP* dcp = sandbox.makeDCP(QStringLiteral("dcp-1"), QStringLiteral("Film_FTR"));
    for (unsigned n = 1; n <= 12; ++n) {
        Reel* reel = TestSandbox::addReel(dcp, QStringLiteral("reel-%1").arg(n), n);
        TestSandbox::addAssetOfSize(reel, QStringLiteral("asset-%1").arg(n), 1000000);
    }
    TestSandbox::store(dcp);
    QVERIFY(open(sandbox));
    QVERIFY(QMetaObject::invokeMethod(m_window, "showDetails", Q_ARG(QVariant, 0)));

    // DELETE stays where it is when START DOWNLOAD goes: a double click never reaches it.
    QQuickItem* start = item(QStringLiteral("startButton"));
    QVERIFY(start);
    const QPointF deleteBefore = item(QStringLiteral("deleteButton"))->mapToScene(QPointF());
    shoot(QStringLiteral("details-before-start"));
    QVERIFY(QMetaObject::invokeMethod(start, "click"));
    QTRY_VERIFY(!start->isVisible());
    QCOMPARE(item(QStringLiteral("deleteButton"))->mapToScene(QPointF()), deleteBefore);
    shoot(QStringLiteral("details-after-start"));

    // Return in either box keeps the files.
    answerNextBox(QStringLiteral("box-delete-dcp"),
                  [](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Return); });
    QVERIFY(QMetaObject::invokeMethod(item(QStringLiteral("deleteButton")), "click"));
    QObject* removeReel = item(QStringLiteral("removeReelButton"));
    QVERIFY(removeReel);
    answerNextBox(QStringLiteral("box-remove-reel"),
                  [](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Return); });
    QVERIFY(QMetaObject::invokeMethod(removeReel, "clicked"));
    QCOMPARE(m_defaultButtons, QList<int>({int(QMessageBox::Cancel), int(QMessageBox::Cancel)}));
    QCOMPARE(dcp->getReels().size(), 12);
    QCOMPARE(DCPManager::getInstance()->getDCPs().size(), 1);

    // Yes still removes.
    answerNextBox(QStringLiteral("box-remove-reel-yes"),
                  [](QMessageBox* box) { box->button(QMessageBox::Yes)->click(); });
    QVERIFY(QMetaObject::invokeMethod(removeReel, "clicked"));
    QTRY_COMPARE(dcp->getReels().size(), 11);
    answerNextBox(QStringLiteral("box-delete-dcp-yes"),
                  [](QMessageBox* box) { box->button(QMessageBox::Yes)->click(); });
    QVERIFY(QMetaObject::invokeMethod(item(QStringLiteral("deleteButton")), "click"));
    QTRY_VERIFY(DCPManager::getInstance()->getDCPs().isEmpty());
}

void TestWindowStates::longTitlesElidedInTheMiddle()
{
    TestSandbox sandbox;
    const auto closer = qScopeGuard([this] { closeWindow(); });
    Setting::getInstance()->set(QStringLiteral("download_paused"), QStringLiteral("1"));
    const QString longTitle = QStringLiteral(
        "The Extraordinarily Long Title Of A Film Whose Distributor Never Heard Of Brevity Ends Here");
    for (int i = 0; i < 12; ++i) {
        DCP* dcp = sandbox.makeDCP(QStringLiteral("dcp-%1").arg(i), QStringLiteral("Film_%1_FTR").arg(i));
        dcp->setFriendlyTitle(i == 11 ? longTitle : QStringLiteral("Short %1").arg(i));
        TestSandbox::addAssetOfSize(TestSandbox::addReel(dcp, QStringLiteral("reel-%1").arg(i), 1),
                                    QStringLiteral("asset-%1").arg(i), 1000);
        TestSandbox::store(dcp);
    }
    QVERIFY(open(sandbox));
    QStringList titles;
    std::function<void(QQuickItem*)> collect = [&](QQuickItem* parent) {
        for (QQuickItem* child : parent->childItems()) {
            if (child->objectName() == QLatin1String("tileTitle")) {
                titles << child->property("text").toString();
                QVERIFY(child->property("lineCount").toInt() <= 2);
                QVERIFY(!child->property("truncated").toBool());
            }
            collect(child);
        }
    };
    collect(m_window->contentItem());
    QVERIFY(titles.contains(QStringLiteral("Short 3")));
    const QStringList elided = titles.filter(QStringLiteral("\u2026"));
    QCOMPARE(elided.size(), 1);
    QVERIFY2(elided.first().startsWith(QStringLiteral("The Extraordinarily")), qPrintable(elided.first()));
    QVERIFY2(elided.first().endsWith(QStringLiteral("Ends Here")), qPrintable(elided.first()));
    QVERIFY(elided.first().size() < longTitle.size());
    // The grid overflows: its scroll bar shows.
    shoot(QStringLiteral("grid-long-title-scroll-bar"));
}

void TestWindowStates::statusWhileConfirmingAndPaused()
{
    TestSandbox sandbox;
    const auto closer = qScopeGuard([this] { closeWindow(); });
    DCP* dcp = sandbox.makeDCP(QStringLiteral("dcp-1"), QStringLiteral("Film_FTR"));
    for (unsigned n = 1; n <= 3; ++n) {
        Asset* asset =
            TestSandbox::addAssetOfSize(TestSandbox::addReel(dcp, QStringLiteral("reel-%1").arg(n), n),
                                        QStringLiteral("asset-%1").arg(n), 1000);
        // Reels 1 and 2 checked and waiting for the portal; reel 3 still to download.
        asset->setDownloadFinished(n < 3);
        asset->setDownloadChecksummed(n < 3);
    }
    Setting::getInstance()->set(QStringLiteral("download_paused"), QStringLiteral("1"));
    TestSandbox::store(dcp);
    QVERIFY(open(sandbox));
    QCOMPARE(statusText(), QStringLiteral("Paused."));
    shoot(QStringLiteral("status-paused"));

    // Reel 3 leaves; what is left waits for the portal.
    sandbox.engine()->removeDownloadReel(dcp->getReels().last());
    sandbox.engine()->resumeDownloading();
    QTRY_COMPARE(statusText(), QStringLiteral("Confirming 2 reels with the portal\u2026"));
    shoot(QStringLiteral("status-confirming"));

    // The portal acknowledges reel 1: its files get their names.
    Asset* first = dcp->getReels().first()->getAssets().first();
    first->setOriginalFileName(first->getOriginalFileName().mid(1));
    emit dcp->statusChanged();
    QTRY_COMPARE(statusText(), QStringLiteral("Confirming 1 reel with the portal\u2026"));
    sandbox.engine()->pauseDownloading(true);
    QTRY_COMPARE(statusText(), QStringLiteral("Paused."));
}

void TestWindowStates::speedNeverAboveTheLimit()
{
    TestSandbox sandbox(TestSandbox::WithServer);
    const auto closer = qScopeGuard([this] { closeWindow(); });
    Setting::getInstance()->set(QStringLiteral("download_limit"), QStringLiteral("6"));
    DCP* dcp = sandbox.makeDCP(QStringLiteral("dcp-1"), QStringLiteral("Film_FTR"));
    dcp->setFriendlyTitle(QStringLiteral("Limited Film"));
    // About three seconds at 6 Mbit/s.
    sandbox.addAsset(TestSandbox::addReel(dcp, QStringLiteral("reel-1"), 1), QStringLiteral("asset-1"),
                     QStringLiteral("a.mxf"), patternBytes(2200000));
    TestSandbox::store(dcp);
    QVERIFY(open(sandbox));

    QList<double> speeds;
    QStringList titles;
    connect(sandbox.engine(), &DownloadManager::downloadProgress, this, [&]() {
        static const QRegularExpression shown(QStringLiteral("\\(([0-9.]+) *Mbps\\)"));
        const QRegularExpressionMatch match = shown.match(statusText());
        if (match.hasMatch())
            speeds << match.captured(1).toDouble();
        titles << m_window->title();
    });
    sandbox.engine()->startDownloading(dcp);
    QTRY_VERIFY_WITH_TIMEOUT(speeds.size() >= 10, 20000);
    shoot(QStringLiteral("downloading-limited"));
    for (double speed : speeds)
        QVERIFY2(speed <= 6.0, qPrintable(QString::number(speed)));
    QVERIFY2(speeds.last() >= 5.4, qPrintable(QString::number(speeds.last())));
    QVERIFY2(QRegularExpression(QStringLiteral("^Reelvane Downloader 1\\.4\\.0 \u2014 Limited Film \\d+%$"))
                 .match(titles.last())
                 .hasMatch(),
             qPrintable(titles.last()));

    // No limit: the slider and its value go grey together.
    QQuickItem* noLimit = item(QStringLiteral("noLimitSwitch"));
    QVERIFY(noLimit->setProperty("checked", true));
    QCOMPARE(item(QStringLiteral("limitLabel"))->property("color").value<QColor>(),
             QColor(QStringLiteral("#555555")));
    shoot(QStringLiteral("no-limit"));
    QVERIFY(noLimit->setProperty("checked", false));
}

void TestWindowStates::desktopWithoutHandlerShowsWhereToGo()
{
    TestSandbox sandbox;
    const auto closer = qScopeGuard([this] { closeWindow(); });
    Setting::getInstance()->set(QStringLiteral("download_paused"), QStringLiteral("1"));
    DCP* dcp = sandbox.makeDCP(QStringLiteral("dcp-1"), QStringLiteral("Film_FTR"));
    TestSandbox::addAssetOfSize(TestSandbox::addReel(dcp, QStringLiteral("reel-1"), 1),
                                QStringLiteral("asset-1"), 1000);
    TestSandbox::store(dcp);
    QVERIFY(open(sandbox));

    // A package dragged over the window is announced.
    QQuickItem* drop = item(QStringLiteral("packageDrop"));
    QVERIFY(drop);
    QVERIFY(drop->setProperty("enteredUrl", QStringLiteral("file:///tmp/Film.orvdcp")));
    QVERIFY(item(QStringLiteral("dropHighlight")));
    shoot(QStringLiteral("drag-highlight"));
    QVERIFY(drop->setProperty("enteredUrl", QString()));

    QString shownText;
    QString shownTitle;
    int shortfall = 0; // how much narrower than its title a box is
    auto readAndClose = [&](QMessageBox* box) {
        shownText = box->text() + QLatin1Char('\n') + box->informativeText();
        shownTitle = box->windowTitle();
        shortfall = box->fontMetrics().horizontalAdvance(shownTitle) + 100 - box->width();
        box->button(QMessageBox::Ok)->click();
    };
    answerNextBox(QStringLiteral("box-about"), readAndClose);
    m_actions->showAbout();
    QCOMPARE(shownText, QStringLiteral("Reelvane Downloader\nVersion 1.4.0\n"));
    QVERIFY2(shortfall <= 0, qPrintable(QString::number(shortfall)));

    QVERIFY(QMetaObject::invokeMethod(m_window, "showDetails", Q_ARG(QVariant, 0)));
    answerNextBox(QStringLiteral("box-go-to-files"), readAndClose);
    QVERIFY(QMetaObject::invokeMethod(item(QStringLiteral("filesButton")), "click"));
    const QString folder = sandbox.downloads() + QStringLiteral("/Film_FTR");
    QCOMPARE(m_prompts.opened, QList<QUrl>({QUrl::fromLocalFile(folder)}));
    QVERIFY2(shownText.endsWith(QLatin1Char('\n') + folder), qPrintable(shownText));
    QCOMPARE(shownTitle, QStringLiteral("Reelvane Downloader"));

    answerNextBox(QStringLiteral("box-launch-oskan"), readAndClose);
    QVERIFY(QMetaObject::invokeMethod(m_window, "openPage",
                                      Q_ARG(QVariant, QStringLiteral("http://127.0.0.1:9/portal/"))));
    QVERIFY2(shownText.endsWith(QStringLiteral("\nhttp://127.0.0.1:9/portal/")), qPrintable(shownText));
}

int main(int argc, char** argv)
{
    // Rendered in software; with a display (xvfb-run) on the window system, where the scene
    // can be grabbed for the screenshots.
    if (qEnvironmentVariableIsEmpty("QT_QUICK_BACKEND"))
        qputenv("QT_QUICK_BACKEND", "software");
    if (!qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    TestWindowStates test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_window_states.moc"
