#include "app/WindowFit.h"

#include <QDebug>
#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWindow>

WindowFit::WindowFit(const QSize& preferred, QObject* parent) : QObject(parent), preferred(preferred)
{
    const QScreen* const primary = QGuiApplication::primaryScreen();
    // No frame is known before the window manager has framed the window.
    minimum = primary ? fitted(preferred, primary->availableGeometry(), QMargins()) : preferred;
    initial = minimum;
}

QSize WindowFit::fitted(const QSize& preferred, const QRect& workArea, const QMargins& frame)
{
    return preferred.boundedTo(workArea.size().shrunkBy(frame)).expandedTo(QSize(1, 1));
}

void WindowFit::follow(QWindow* followed)
{
    if (window)
        window->removeEventFilter(this);
    window = followed;
    if (!window)
        return;
    window->installEventFilter(this);
    connect(window, &QWindow::screenChanged, this, [this](QScreen* next) {
        watchScreen(next);
        apply();
    });
    watchScreen(window->screen());
    apply();
}

void WindowFit::watchScreen(QScreen* next)
{
    if (screen)
        screen->disconnect(this);
    screen = next;
    if (screen)
        connect(screen, &QScreen::availableGeometryChanged, this, &WindowFit::apply);
}

bool WindowFit::eventFilter(QObject* watched, QEvent* event)
{
    // The frame is known once the window manager has framed the window: it is shown, then
    // moved into its frame.
    if (watched == window && (event->type() == QEvent::Expose || event->type() == QEvent::Move))
        apply();
    return QObject::eventFilter(watched, event);
}

void WindowFit::apply()
{
    if (!window || !screen)
        return;
    const QRect workArea = screen->availableGeometry();
    const QSize next = fitted(preferred, workArea, window->frameMargins());
    if (next != minimum) {
        qDebug() << "[MainWindow] Minimum size" << next << "for a work area of" << workArea.size();
        minimum = next;
        window->setMinimumSize(minimum);
        emit changed();
    }
    // A window larger than the work area (opened before the frame was known, or moved from a
    // larger screen) is brought within it; the user's own size is kept otherwise.
    const QSize room = workArea.size().shrunkBy(window->frameMargins());
    if (window->width() > room.width() || window->height() > room.height())
        window->resize(window->size().boundedTo(room));
}
