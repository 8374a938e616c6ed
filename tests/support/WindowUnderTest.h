#pragma once

#include <QList>
#include <QQmlApplicationEngine>
#include <QString>
#include <QStringList>

class DCPManager;
class DownloadManager;
class QQuickItem;
class QQuickWindow;
class Setting;
class TestSandbox;

// What the main window works on.
struct WindowManagers
{
    DownloadManager* engine = nullptr;
    DCPManager* catalogue = nullptr;
    Setting* settings = nullptr;
};

// The main window in the test process, loaded as the program loads it, against the
// managers of a sandbox. Every QML warning while it lives is kept (warnings()). Items are
// found by object name; a click lands on the middle of the item, as a user's would.
class WindowUnderTest
{
public:
    // The one place window tests get their managers: the engine first (so the sandbox can
    // shorten its timers), the catalogue, whose first load starts it, the notification
    // queue sending every notifyMs, and the settings.
    static WindowManagers managers(TestSandbox& sandbox, int notifyMs = 50);

    WindowUnderTest();
    ~WindowUnderTest();
    WindowUnderTest(const WindowUnderTest&) = delete;
    WindowUnderTest& operator=(const WindowUnderTest&) = delete;

    // Loads main.qml and waits until the window is exposed; false when it could not.
    bool load(const WindowManagers& managers);
    QQuickWindow* window() const { return m_window; }
    QStringList warnings() const;

    // Items named so, below under (the whole scene by default), in scene order.
    QList<QQuickItem*> items(const QString& name, QQuickItem* under = nullptr) const;
    // The first of them that is visible, or nullptr.
    QQuickItem* item(const QString& name, QQuickItem* under = nullptr) const;
    // Clicks at a point of the item given as fractions of its size (the middle by default).
    void click(QQuickItem* item, qreal fx = 0.5, qreal fy = 0.5) const;
    // Types the text into the item that has the keyboard focus.
    void type(const QString& text) const;
    // Saves what the scene shows as <dir>/<name>.png.
    bool screenshot(const QString& dir, const QString& name) const;

private:
    QQmlApplicationEngine m_qml;
    QQuickWindow* m_window = nullptr;
};
