#include "WindowUnderTest.h"
#include "TestSandbox.h"
#include "app/MainWindow.h"
#include "download/DownloadManager.h"
#include "model/DCPManager.h"
#include "model/ScriptOwnership.h"
#include "storage/Setting.h"

#include <QDir>
#include <QMutex>
#include <QMutexLocker>
#include <QQuickItem>
#include <QQuickItemGrabResult>
#include <QQuickWindow>
#include <QRegularExpression>
#include <QtTest>

namespace {
QMutex g_mutex;
QStringList g_warnings;
QtMessageHandler g_previous = nullptr;

// Scene errors arrive as warnings, script errors (console.error) as critical lines.
void keepQmlWarnings(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    static const QRegularExpression qml(QStringLiteral("(qrc:/|\\.qml:|QML |Qt Quick)"));
    const QLatin1String category(context.category ? context.category : "");
    if (type != QtDebugMsg && type != QtInfoMsg &&
        (category == QLatin1String("qml") || category == QLatin1String("js") ||
         qml.match(message).hasMatch())) {
        QMutexLocker lock(&g_mutex);
        g_warnings << message;
    }
    // The program's own log stays out of the test output unless asked for.
    if (g_previous && (type != QtDebugMsg || qEnvironmentVariableIsSet("ORV_TEST_VERBOSE")))
        g_previous(type, context, message);
}

void collect(QQuickItem* item, const QString& name, QList<QQuickItem*>* found)
{
    if (item->objectName() == name)
        found->append(item);
    for (QQuickItem* child : item->childItems())
        collect(child, name, found);
}
} // namespace

// Outside any namespace: the resource's initialiser is a global function.
static void initResources()
{
    Q_INIT_RESOURCE(qml);
}

WindowUnderTest::WindowUnderTest()
{
    initResources();
    // Without a display there is no OpenGL: the scene is drawn in software then (settable
    // once per process).
    static const bool software = [] {
        if (qEnvironmentVariableIsEmpty("DISPLAY"))
            QQuickWindow::setSceneGraphBackend(QSGRendererInterface::Software);
        return true;
    }();
    Q_UNUSED(software)
    ScriptOwnership::setMarker(
        [](QObject* object) { QQmlEngine::setObjectOwnership(object, QQmlEngine::CppOwnership); });
    QMutexLocker lock(&g_mutex);
    g_warnings.clear();
    g_previous = qInstallMessageHandler(&keepQmlWarnings);
}

WindowUnderTest::~WindowUnderTest()
{
    // The scene goes before the handler and the marker it relies on.
    m_scene.reset();
    qInstallMessageHandler(g_previous);
    ScriptOwnership::setMarker(nullptr);
}

bool WindowUnderTest::load(TestSandbox& sandbox, int notifyMs)
{
    sandbox.engine();
    sandbox.notifications(notifyMs);
    m_scene = std::make_unique<MainWindow>(sandbox.context(), QDBusConnection(QStringLiteral("no-bus")));
    if (!m_scene->load())
        return false;
    m_window = m_scene->window();
    return m_window && QTest::qWaitForWindowExposed(m_window);
}

QStringList WindowUnderTest::warnings() const
{
    QMutexLocker lock(&g_mutex);
    return g_warnings;
}

QList<QQuickItem*> WindowUnderTest::items(const QString& name, QQuickItem* under) const
{
    QList<QQuickItem*> found;
    if (QQuickItem* root = under ? under : (m_window ? m_window->contentItem() : nullptr))
        collect(root, name, &found);
    return found;
}

QQuickItem* WindowUnderTest::item(const QString& name, QQuickItem* under) const
{
    for (QQuickItem* candidate : items(name, under)) {
        if (candidate->isVisible())
            return candidate;
    }
    return nullptr;
}

void WindowUnderTest::settle() const
{
    // A frame drawn means the scene was laid out: items are where the user sees them.
    QSignalSpy drawn(m_window, &QQuickWindow::frameSwapped);
    m_window->update();
    drawn.wait(1000);
}

void WindowUnderTest::click(QQuickItem* item, qreal fx, qreal fy) const
{
    QVERIFY(item);
    settle();
    const QPointF point = item->mapToScene(QPointF(item->width() * fx, item->height() * fy));
    QTest::mouseMove(m_window, point.toPoint());
    QTest::mouseClick(m_window, Qt::LeftButton, Qt::NoModifier, point.toPoint());
}

void WindowUnderTest::type(const QString& text) const
{
    for (const QChar c : text)
        QTest::keyClick(m_window, c.toLatin1());
}

bool WindowUnderTest::screenshot(const QString& dir, const QString& name) const
{
    QDir().mkpath(dir);
    const QString path = dir + QLatin1Char('/') + name + QStringLiteral(".png");
    if (!m_window)
        return false;
    QImage image = m_window->grabWindow();
    if (image.isNull()) {
        // The software renderer cannot read its window back; the scene renders the item.
        const QSharedPointer<QQuickItemGrabResult> grab = m_window->contentItem()->grabToImage();
        QSignalSpy ready(grab.data(), &QQuickItemGrabResult::ready);
        if (grab && ready.wait(5000))
            image = grab->image();
    }
    const bool saved = image.save(path);
    if (saved)
        qInfo("screenshot: %s", qPrintable(path));
    return saved;
}
