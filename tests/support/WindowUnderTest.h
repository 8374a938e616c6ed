#pragma once

#include <QList>
#include <QQmlApplicationEngine>

#include <QString>
#include <QStringList>
#include <memory>

class MainWindow;
class QQuickItem;
class QQuickWindow;
class Setting;
class TestSandbox;

// The main window in the test process, loaded as the program loads it, against the
// managers of a sandbox. Every QML warning while it lives is kept (warnings()). Items are
// found by object name; a click lands on the middle of the item, as a user's would.
class WindowUnderTest
{
public:
    WindowUnderTest();
    ~WindowUnderTest();
    WindowUnderTest(const WindowUnderTest&) = delete;
    WindowUnderTest& operator=(const WindowUnderTest&) = delete;

    // Builds the window as the program does on the sandbox's managers (the engine, and the
    // notification queue sending every notifyMs), with no UDisks2 or logind to talk to, and
    // waits until it is exposed; false when it could not.
    bool load(TestSandbox& sandbox, int notifyMs = 50);
    QQuickWindow* window() const { return m_window; }
    MainWindow* scene() const { return m_scene.get(); }
    QStringList warnings() const;

    // Items named so, below under (the whole scene by default), in scene order.
    QList<QQuickItem*> items(const QString& name, QQuickItem* under = nullptr) const;
    // The first of them that is visible, or nullptr.
    QQuickItem* item(const QString& name, QQuickItem* under = nullptr) const;
    // Waits until the scene has been laid out and drawn.
    void settle() const;
    // Clicks at a point of the item given as fractions of its size (the middle by default),
    // once the scene is laid out.
    void click(QQuickItem* item, qreal fx = 0.5, qreal fy = 0.5) const;
    // Types the text into the item that has the keyboard focus.
    void type(const QString& text) const;
    // Saves what the scene shows as <dir>/<name>.png.
    bool screenshot(const QString& dir, const QString& name) const;

private:
    std::unique_ptr<MainWindow> m_scene;
    QQuickWindow* m_window = nullptr;
};
