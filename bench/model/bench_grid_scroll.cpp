// Usage: bench_model_grid_scroll STORE_DIR [--rows-per-step N] [--idle SECONDS] [--max-rows N]
//
// The main window's grid against a large catalogue: a copy of the store in STORE_DIR (built by
// bench_model_catalogue_load --build-into, downloads paused) is opened in a temporary folder,
// the window is built as the program builds it (MainWindow on the context's managers) and
// shown, then the grid is scrolled from the top to the bottom one row of tiles per frame
// and back to the top. Prints the CPU time of each way, the resident memory before, at the
// bottom and back at the top (after the scene has collected its garbage and a malloc_trim, so
// what stays is live). --idle then leaves the window alone for SECONDS and prints its CPU
// share and its wake-ups a second (context switches of every thread). --max-rows stops after
// that many rows down (a quick look at a slow build). Needs a display (xvfb-run).

#include "app/AppContext.h"
#include "app/MainWindow.h"
#include "model/BenchStore.h"
#include "model/ScriptOwnership.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTemporaryDir>
#include <QTimer>

#include <malloc.h>

#include <cstdio>
#include <fstream>
#include <string>

namespace {

// Voluntary and involuntary context switches of every thread of this process so far.
long long contextSwitches()
{
    long long total = 0;
    const QDir tasks(QStringLiteral("/proc/self/task"));
    for (const QString& task : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        std::ifstream status(QStringLiteral("/proc/self/task/%1/status").arg(task).toStdString());
        std::string line;
        while (std::getline(status, line)) {
            if (line.rfind("voluntary_ctxt_switches:", 0) == 0 || line.rfind("nonvoluntary_ctxt_switches:", 0) == 0)
                total += std::stoll(line.substr(line.find(':') + 1));
        }
    }
    return total;
}

// Runs the event loop until the window has drawn a frame (or a second has passed).
void waitForFrame(QQuickWindow* window)
{
    QEventLoop loop;
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, &loop, &QEventLoop::quit);
    const auto connection = QObject::connect(window, &QQuickWindow::frameSwapped, &loop, &QEventLoop::quit);
    window->update();
    guard.start(1000);
    loop.exec();
    QObject::disconnect(connection);
}

void settle(QQmlEngine& engine, QQuickWindow* window)
{
    for (int i = 0; i < 5; ++i) {
        QCoreApplication::processEvents();
        waitForFrame(window);
    }
    engine.collectGarbage();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    malloc_trim(0);
}

double mb(long kb)
{
    return kb / 1024.0;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    Q_INIT_RESOURCE(qml);
    ScriptOwnership::setMarker(
        [](QObject* object) { QQmlEngine::setObjectOwnership(object, QQmlEngine::CppOwnership); });
    QStringList args = app.arguments();
    const auto option = [&args](const QString& name, int fallback) {
        const int at = args.indexOf(name);
        if (at < 0 || at + 1 >= args.size())
            return fallback;
        const int value = args.at(at + 1).toInt();
        args.erase(args.begin() + at, args.begin() + at + 2);
        return value;
    };
    const int rowsPerStep = qMax(1, option(QStringLiteral("--rows-per-step"), 1));
    const int idleSeconds = option(QStringLiteral("--idle"), 0);
    const int maxRows = option(QStringLiteral("--max-rows"), 0);
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: %s STORE_DIR [--rows-per-step N] [--idle SECONDS] [--max-rows N]\n", argv[0]);
        return 2;
    }
    QTemporaryDir work;
    const QString storeName = QStringLiteral("orvdownloader.4.sqlite");
    if (!QFile::copy(args.at(1) + QLatin1Char('/') + storeName, work.path() + QLatin1Char('/') + storeName)) {
        std::fprintf(stderr, "no store in %s\n", qPrintable(args.at(1)));
        return 2;
    }

    const long startKb = benchStatusKb("VmRSS");
    AppContext context(work.path());
    context.catalogue();
    context.notifications();
    context.engine();
    MainWindow window(context, QDBusConnection::systemBus());
    if (!window.load()) {
        std::fprintf(stderr, "the window did not load\n");
        return 1;
    }
    QQuickWindow* shown = window.window();
    shown->show();
    auto* grid = shown->findChild<QQuickItem*>(QStringLiteral("grid"));
    if (!grid) {
        std::fprintf(stderr, "no grid\n");
        return 1;
    }
    settle(window.qml(), shown);
    const long topKb = benchStatusKb("VmRSS");

    const qreal step = grid->property("cellHeight").toReal() * rowsPerStep;
    const auto bottom = [grid] {
        return grid->property("contentHeight").toReal() - grid->height() + grid->property("originY").toReal();
    };
    int rows = 0;
    const double downStart = benchCpuMs();
    QElapsedTimer wall;
    wall.start();
    for (qreal y = step; ; y += step) {
        grid->setProperty("contentY", qMin(y, bottom()));
        waitForFrame(shown);
        rows += rowsPerStep;
        if (y >= bottom() || (maxRows > 0 && rows >= maxRows))
            break;
    }
    const double downCpu = benchCpuMs() - downStart;
    const qint64 downWall = wall.elapsed();
    settle(window.qml(), shown);
    const long bottomKb = benchStatusKb("VmRSS");

    const double upStart = benchCpuMs();
    for (qreal y = grid->property("contentY").toReal() - step; ; y -= step) {
        grid->setProperty("contentY", qMax(y, 0.0));
        waitForFrame(shown);
        if (y <= 0)
            break;
    }
    const double upCpu = benchCpuMs() - upStart;
    settle(window.qml(), shown);
    const long backKb = benchStatusKb("VmRSS");

    std::printf("rows %d; down %.0f ms CPU (%lld ms wall); up %.0f ms CPU; resident: before the window %.1f MB, "
                "top %.1f MB, bottom %.1f MB, back at the top %.1f MB, peak %.1f MB\n",
                rows, downCpu, static_cast<long long>(downWall), upCpu, mb(startKb), mb(topKb), mb(bottomKb),
                mb(backKb), mb(benchStatusKb("VmHWM")));

    if (idleSeconds > 0) {
        // Let the scroll's leftovers (deferred deletes, timers) pass first.
        QEventLoop calm;
        QTimer::singleShot(3000, &calm, &QEventLoop::quit);
        calm.exec();
        const double idleStart = benchCpuMs();
        const long long switchesStart = contextSwitches();
        QElapsedTimer idleWall;
        idleWall.start();
        QEventLoop idle;
        QTimer::singleShot(idleSeconds * 1000, &idle, &QEventLoop::quit);
        idle.exec();
        const double seconds = idleWall.elapsed() / 1000.0;
        // The bench's own two timers above cost two wake-ups; left in, they change nothing.
        std::printf("idle %.0f s: CPU %.3f%%, %.2f wake-ups a second\n", seconds,
                    (benchCpuMs() - idleStart) / (seconds * 10.0),
                    (contextSwitches() - switchesStart) / seconds);
    }
    return 0;
}
