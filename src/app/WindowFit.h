#pragma once

#include <QMargins>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QSize>

class QScreen;
class QWindow;

// Keeps the main window within the screen it is on. Its minimum size is the preferred one
// (1200 x 750) where the screen's work area has room for it with the window manager's frame,
// otherwise what the work area leaves, so that a laptop with a panel, a 1024 x 600 netbook or
// a desktop scaled to 200 % can still show, move and maximise it. The scene reads the sizes
// before the window shows; once the window manager has framed the window they are worked out
// again with the real frame, and again whenever the window changes screens or a panel comes
// or goes.
class WindowFit : public QObject
{
    Q_OBJECT
    Q_PROPERTY(int minimumWidth READ minimumWidth NOTIFY changed)
    Q_PROPERTY(int minimumHeight READ minimumHeight NOTIFY changed)
    // The size the window opens with: the preferred size, or the room there is.
    Q_PROPERTY(int initialWidth READ initialWidth CONSTANT)
    Q_PROPERTY(int initialHeight READ initialHeight CONSTANT)

public:
    explicit WindowFit(const QSize& preferred, QObject* parent = nullptr);

    // The preferred size bounded by the work area less the frame.
    static QSize fitted(const QSize& preferred, const QRect& workArea, const QMargins& frame);

    int minimumWidth() const { return minimum.width(); }
    int minimumHeight() const { return minimum.height(); }
    int initialWidth() const { return initial.width(); }
    int initialHeight() const { return initial.height(); }

    // Follows the window from now on: its screen, that screen's work area and its frame.
    void follow(QWindow* window);

signals:
    void changed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void watchScreen(QScreen* screen);
    void apply();

    const QSize preferred;
    QSize minimum;
    QSize initial;
    QPointer<QWindow> window;
    QPointer<QScreen> screen;
};
